#pragma once
// Progress that follows the learner to the other machines, through the folder kept in the
// settings ([sync] folder=): a pass merges the journals of the other machines into the store and
// writes this machine's own. Passes run on a thread of their own with a store connection of its
// own, never on a keystroke: when the trainer starts, when a lesson opens, when a file in the
// folder changes (a moment after, so that an engine's burst of changes makes one pass), every
// five minutes and at the end. What a pass brought, and a folder that cannot be used (said once
// until it can be used again), comes as a status text.
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "data/progress/FolderSync.h"

class QFileSystemWatcher;
class QThread;

namespace verbaro {

class Clock;
class UserSettings;

// «Получено 3 ответа с "ноутбук"», one such part per machine that sent answers; empty when none.
QString ArrivalText(const std::vector<progress::SyncArrival>& arrivals);
// Why the folder cannot be used, and that study goes on; empty for a usable folder.
QString FolderProblemText(progress::SyncReport::Folder folder, const QString& path);

class ProgressSync : public QObject {
  Q_OBJECT

 public:
  // The store file the trainer writes (opened again by the pass's thread).
  ProgressSync(std::string storePath, const Clock& clock, UserSettings* settings);
  ~ProgressSync() override;  // waits for a pass under way

  QString Folder() const;
  // Keeps the folder (empty: none) and runs a pass in it.
  void SetFolder(const QString& folder);
  // Starts watching the folder and the five-minute timer, with a first pass.
  void Start();
  // A pass as soon as the one under way, if any, is done.
  void Request();
  // The last pass, waited for: what the learner did last also reaches the folder.
  void Finish();
  // This machine's id in the store (empty before the store has one).
  QString MachineId() const { return m_machineId; }

  static constexpr int kPeriodMs = 5 * 60 * 1000;
  static constexpr int kSettleMs = 2000;

 signals:
  // A text for the status bar.
  void Status(const QString& text);
  // Answers or exam results of another machine arrived: the review lists may have changed.
  void Arrived();

 private:
  void Watch();
  void Done(const progress::SyncReport& report, const QString& folder, const QString& machineId);
  // Runs on the pass's thread.
  void RunPass(const QString& folder);

  std::string m_storePath;
  const Clock& m_clock;
  UserSettings* m_settings;
  QThread* m_thread = nullptr;
  QObject* m_worker = nullptr;  // lives on m_thread
  QFileSystemWatcher* m_watcher = nullptr;
  QTimer m_period;
  QTimer m_settle;
  bool m_running = false;
  bool m_pending = false;
  bool m_started = false;
  progress::SyncReport::Folder m_told = progress::SyncReport::Folder::Ok;
  QString m_machineId;
  // Owned by the pass's thread, made there on the first pass.
  std::unique_ptr<progress::ProgressStore> m_store;
  std::unique_ptr<progress::FolderSync> m_sync;
};

}  // namespace verbaro
