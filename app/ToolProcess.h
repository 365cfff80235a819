#pragma once
// One run of the lesson tool, without waiting for it: what it prints comes line by line as the
// event loop runs, and its end once, with the message that tells the learner why it failed.
#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "app/ImportToolCommand.h"

class QTimer;

namespace verbaro {

struct ToolOutcome {
  bool ok = false;       // ended with exit code 0
  bool stopped = false;  // ended otherwise after Stop() asked it to end
  QByteArray output;     // all it printed on its standard output
  QString message;       // why it failed, in Russian; empty when ok or stopped
};

class ToolProcess : public QObject {
  Q_OBJECT

 public:
  explicit ToolProcess(QString program, QObject* parent = nullptr);
  // A run still going is killed: nothing is left waiting for it.
  ~ToolProcess() override;

  void Start(const QStringList& arguments);
  // Asks the tool to end (SIGTERM), and kills it when it has not ended a few seconds later.
  // Finished comes as for any end, with `stopped` set.
  void Stop();

 signals:
  void LineRead(const QString& line);
  void Finished(const ToolOutcome& outcome);

 private:
  void ReadOutput();
  void OnFinished(int exitCode, QProcess::ExitStatus status);
  void OnError(QProcess::ProcessError error);
  void Finish(ToolOutcome outcome);

  QString m_program;
  QProcess* m_process;
  QTimer* m_killTimer;
  OutputLines m_lines;
  QByteArray m_output;
  bool m_running = false;
  bool m_stopping = false;
};

}  // namespace verbaro
