#include "app/ToolProcess.h"

#include <QDir>
#include <QTimer>
#include <utility>

namespace verbaro {

namespace {
// How long the tool has to clean up after SIGTERM before it is killed.
constexpr int kStopGraceMilliseconds = 3000;
}  // namespace

ToolProcess::ToolProcess(QString program, QObject* parent)
    : QObject(parent),
      m_program(std::move(program)),
      m_process(new QProcess(this)),
      m_killTimer(new QTimer(this)) {
  m_process->setProcessChannelMode(QProcess::SeparateChannels);
  m_killTimer->setSingleShot(true);
  m_killTimer->setInterval(kStopGraceMilliseconds);
  connect(m_killTimer, &QTimer::timeout, m_process, &QProcess::kill);
  connect(m_process, &QProcess::readyReadStandardOutput, this, &ToolProcess::ReadOutput);
  connect(m_process, &QProcess::finished, this, &ToolProcess::OnFinished);
  connect(m_process, &QProcess::errorOccurred, this, &ToolProcess::OnError);
}

ToolProcess::~ToolProcess() {
  if (!m_running) return;
  m_process->disconnect(this);
  m_process->kill();
  m_process->waitForFinished(kStopGraceMilliseconds);
}

void ToolProcess::Start(const QStringList& arguments) {
  if (m_running) return;
  m_running = true;
  m_stopping = false;
  m_output.clear();
  m_lines = OutputLines();
  m_process->start(m_program, arguments, QIODevice::ReadOnly);
}

void ToolProcess::Stop() {
  if (!m_running || m_stopping) return;
  m_stopping = true;
  m_process->terminate();
  m_killTimer->start();
}

void ToolProcess::ReadOutput() {
  const QByteArray bytes = m_process->readAllStandardOutput();
  m_output += bytes;
  for (const QString& line : m_lines.Add(bytes)) emit LineRead(line);
}

void ToolProcess::OnFinished(int exitCode, QProcess::ExitStatus status) {
  ReadOutput();
  if (const QString rest = m_lines.Rest(); !rest.isEmpty()) {
    m_lines = OutputLines();
    emit LineRead(rest);
  }
  ToolOutcome outcome;
  outcome.output = m_output;
  // A run that ended well before the request to stop reached it counts as done.
  outcome.ok = status == QProcess::NormalExit && exitCode == 0;
  outcome.stopped = m_stopping && !outcome.ok;
  if (!outcome.ok && !outcome.stopped) {
    const QString said = QString::fromUtf8(m_process->readAllStandardError()).trimmed();
    if (status != QProcess::NormalExit) {
      outcome.message = QStringLiteral("Программа verbaro-lesson завершилась аварийно.");
      if (!said.isEmpty()) outcome.message += QLatin1Char('\n') + said;
    } else if (!said.isEmpty()) {
      outcome.message = said;
    } else {
      outcome.message =
          QStringLiteral("Программа verbaro-lesson завершилась с кодом %1, ничего не сообщив.")
              .arg(exitCode);
    }
  }
  Finish(std::move(outcome));
}

void ToolProcess::OnError(QProcess::ProcessError error) {
  // Every other error ends in finished() as well.
  if (error != QProcess::FailedToStart) return;
  ToolOutcome outcome;
  outcome.stopped = m_stopping;
  outcome.message = QStringLiteral("Не удалось запустить программу %1: %2")
                        .arg(QDir::toNativeSeparators(m_program), m_process->errorString());
  Finish(std::move(outcome));
}

void ToolProcess::Finish(ToolOutcome outcome) {
  if (!m_running) return;
  m_running = false;
  m_killTimer->stop();
  emit Finished(outcome);
}

}  // namespace verbaro
