#include "app/ProgressSync.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QStringList>
#include <QThread>
#include <utility>

#include "app/UserSettings.h"
#include "data/progress/ProgressStore.h"

namespace verbaro {

namespace {

// «ответ», «ответа», «ответов» as the number asks.
QString Answers(int64_t count) {
  const int64_t lastTwo = count % 100;
  const int64_t last = count % 10;
  if (last == 1 && lastTwo != 11) return QStringLiteral("Получен %1 ответ").arg(count);
  if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) {
    return QStringLiteral("Получено %1 ответа").arg(count);
  }
  return QStringLiteral("Получено %1 ответов").arg(count);
}

std::string LocalPath(const QString& folder) { return QFile::encodeName(folder).toStdString(); }

}  // namespace

QString ArrivalText(const std::vector<progress::SyncArrival>& arrivals) {
  QStringList parts;
  for (const progress::SyncArrival& arrival : arrivals) {
    if (arrival.answers == 0) continue;
    parts << Answers(arrival.answers) +
                 QStringLiteral(" с \"%1\"").arg(QString::fromStdString(arrival.machineName));
  }
  return parts.join(QStringLiteral("; "));
}

QString FolderProblemText(progress::SyncReport::Folder folder, const QString& path) {
  switch (folder) {
    case progress::SyncReport::Folder::Missing:
      return QStringLiteral(
                 "Папка синхронизации прогресса недоступна: %1. Занятия продолжаются, "
                 "прогресс будет передан, когда папка появится.")
          .arg(path);
    case progress::SyncReport::Folder::ReadOnly:
      return QStringLiteral(
                 "В папку синхронизации прогресса нельзя записать: %1. Занятия "
                 "продолжаются, прогресс будет передан, когда запись станет возможна.")
          .arg(path);
    case progress::SyncReport::Folder::Ok: break;
  }
  return {};
}

ProgressSync::ProgressSync(std::string storePath, const Clock& clock, UserSettings* settings)
    : m_storePath(std::move(storePath)), m_clock(clock), m_settings(settings) {
  m_thread = new QThread(this);
  m_worker = new QObject;
  m_worker->moveToThread(m_thread);
  m_thread->start();
  m_period.setInterval(kPeriodMs);
  connect(&m_period, &QTimer::timeout, this, &ProgressSync::Request);
  m_settle.setSingleShot(true);
  m_settle.setInterval(kSettleMs);
  connect(&m_settle, &QTimer::timeout, this, &ProgressSync::Request);
}

ProgressSync::~ProgressSync() {
  m_thread->quit();
  m_thread->wait();
  // The thread is gone: its objects and its store go here.
  delete m_worker;
  m_sync.reset();
  m_store.reset();
}

QString ProgressSync::Folder() const { return m_settings ? m_settings->SyncFolder() : QString(); }

void ProgressSync::SetFolder(const QString& folder) {
  if (!m_settings) return;
  m_settings->SetSyncFolder(folder);
  m_told = progress::SyncReport::Folder::Ok;
  if (m_started) Watch();
  Request();
}

void ProgressSync::Start() {
  if (m_started) return;
  m_started = true;
  Watch();
  m_period.start();
  Request();
}

void ProgressSync::Watch() {
  if (!m_watcher) {
    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_settle.start(); });
  }
  if (const QStringList watched = m_watcher->directories(); !watched.isEmpty()) {
    m_watcher->removePaths(watched);
  }
  const QString folder = Folder();
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) m_watcher->addPath(folder);
}

void ProgressSync::Request() {
  if (!m_started || Folder().isEmpty()) return;
  if (m_running) {
    m_pending = true;
    return;
  }
  m_running = true;
  const QString folder = Folder();
  QMetaObject::invokeMethod(
      m_worker, [this, folder] { RunPass(folder); }, Qt::QueuedConnection);
}

void ProgressSync::Finish() {
  m_period.stop();
  m_settle.stop();
  const QString folder = Folder();
  if (!m_started || folder.isEmpty()) return;
  m_started = false;
  // After the pass under way, if any, on the pass's own thread.
  QMetaObject::invokeMethod(
      m_worker, [this, folder] { RunPass(folder); }, Qt::BlockingQueuedConnection);
}

void ProgressSync::RunPass(const QString& folder) {
  if (!m_store) {
    m_store = progress::ProgressStore::Open(m_storePath, m_clock);
    m_sync = std::make_unique<progress::FolderSync>(*m_store);
  }
  const progress::SyncReport report = m_sync->Run(LocalPath(folder));
  const QString machineId = QString::fromStdString(m_sync->MachineId());
  QMetaObject::invokeMethod(
      this, [this, report, folder, machineId] { Done(report, folder, machineId); },
      Qt::QueuedConnection);
}

void ProgressSync::Done(const progress::SyncReport& report, const QString& folder,
                        const QString& machineId) {
  m_running = false;
  m_machineId = machineId;
  if (folder == Folder()) {
    if (report.folder != progress::SyncReport::Folder::Ok) {
      if (m_told != report.folder) emit Status(FolderProblemText(report.folder, folder));
      m_told = report.folder;
    } else {
      // A folder that came back is watched from now on.
      if (m_told != progress::SyncReport::Folder::Ok && m_watcher) Watch();
      m_told = progress::SyncReport::Folder::Ok;
      if (const QString text = ArrivalText(report.arrivals); !text.isEmpty()) emit Status(text);
      if (!report.arrivals.empty()) emit Arrived();
    }
  }
  if (std::exchange(m_pending, false)) Request();
}

}  // namespace verbaro
