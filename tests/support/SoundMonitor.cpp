#include "SoundMonitor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStandardPaths>
#include <cstring>
#include <optional>

#include "tests/support/Application.h"
#include "tests/support/SoundFixtures.h"

namespace verbaro::test {

namespace {

// Runs pactl; its trimmed output, or nothing when it fails.
std::optional<QString> Pactl(const QStringList& arguments) {
  QProcess pactl;
  pactl.start(QStringLiteral("pactl"), arguments);
  if (!pactl.waitForFinished(5000)) {
    pactl.kill();
    pactl.waitForFinished();
    return std::nullopt;
  }
  if (pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0) return std::nullopt;
  return QString::fromUtf8(pactl.readAllStandardOutput()).trimmed();
}

}  // namespace

bool SoundServerAnswers() {
  if (QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty()) return false;
  return Pactl({QStringLiteral("info")}).has_value();
}

PrivateNullSink::PrivateNullSink()
    : m_name(QStringLiteral("verbaro_test_%1").arg(QCoreApplication::applicationPid())) {}

PrivateNullSink::~PrivateNullSink() {
  if (!m_module.isEmpty()) Pactl({QStringLiteral("unload-module"), m_module});
}

bool PrivateNullSink::Load(QString* reason) {
  const std::optional<QString> module =
      Pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
             QStringLiteral("sink_name=") + m_name});
  if (!module) {
    *reason = QStringLiteral("the sound server does not load a null sink");
    return false;
  }
  m_module = *module;
  // The server has made the sink by the time it answers.
  return true;
}

MonitorRecorder::~MonitorRecorder() {
  if (m_process.state() != QProcess::NotRunning) {
    m_process.kill();
    m_process.waitForFinished(5000);
  }
}

bool MonitorRecorder::Start(const QString& source, QString* reason) {
  m_process.start(
      QStringLiteral("parec"),
      {QStringLiteral("--device=") + source, QStringLiteral("--raw"),
       QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(kRate),
       QStringLiteral("--channels=%1").arg(m_channels), QStringLiteral("--latency-msec=20")});
  if (!m_process.waitForStarted(5000)) {
    *reason = QStringLiteral("parec does not start: ") + m_process.errorString();
    return false;
  }
  // The monitor delivers silence while nothing plays; the first bytes show that it records.
  const QDeadlineTimer deadline(8000);
  while (m_process.bytesAvailable() == 0 && !deadline.hasExpired()) {
    if (m_process.state() == QProcess::NotRunning) {
      *reason = QStringLiteral("parec ended: ") +
                QString::fromLocal8Bit(m_process.readAllStandardError());
      return false;
    }
    m_process.waitForReadyRead(100);
  }
  if (m_process.bytesAvailable() == 0) {
    *reason = QStringLiteral("the sink monitor delivers nothing");
    return false;
  }
  return true;
}

std::vector<int16_t> MonitorRecorder::Samples() {
  m_data += m_process.readAllStandardOutput();
  const size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(m_channels);
  std::vector<int16_t> samples(static_cast<size_t>(m_data.size()) / frameBytes *
                               static_cast<size_t>(m_channels));
  if (!samples.empty()) {
    std::memcpy(samples.data(), m_data.constData(), samples.size() * sizeof(int16_t));
  }
  return samples;
}

void MonitorRecorder::Forget() {
  m_process.readAllStandardOutput();
  m_data.clear();
}

std::vector<int16_t> MonitorRecorder::Stop() {
  m_data += m_process.readAllStandardOutput();
  m_process.terminate();
  m_process.waitForFinished(5000);
  return Samples();
}

std::vector<int16_t> MonitorRecorder::WaitForSoundThenSilence(int threshold,
                                                              double trailingSilence) {
  const auto arrived = [&] {
    const std::vector<int16_t> samples = Samples();
    const Span span = AudibleSpan(samples, threshold);
    return span.Frames() > 0 &&
           static_cast<double>(samples.size() / 2 - span.end) / kRate >= trailingSilence;
  };
  WaitFor(arrived, 15000);
  return Samples();
}

}  // namespace verbaro::test
