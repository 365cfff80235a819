#include "data/progress/FolderSync.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "data/progress/MachineIdentity.h"
#include "data/progress/OwnJournal.h"
#include "data/progress/ProgressStore.h"
#include "data/progress/StoreDatabase.h"

namespace verbaro::progress {

namespace {

constexpr std::string_view kPrefix = "verbaro-progress-";
constexpr std::string_view kSuffix = ".vbsync";
// Years of daily study fit in a few megabytes; anything far larger is no journal of ours.
constexpr int64_t kLargestJournal = int64_t{512} << 20;

struct FileInfo {
  bool regular = false;
  int64_t size = 0;
  int64_t modified = 0;
};

FileInfo InfoOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return {S_ISREG(info.st_mode), static_cast<int64_t>(info.st_size),
          static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The whole file, or nothing when it cannot be read or is too large to be a journal.
bool ReadWhole(const std::string& path, int64_t size, std::string& bytes) {
  if (size > kLargestJournal) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bytes.assign(static_cast<size_t>(size), '\0');
  size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = false;  // shorter than it was a moment ago: the engine is replacing it
      break;
    }
    done += static_cast<size_t>(got);
  }
  ::close(fd);
  return ok;
}

// The journal files of the folder, by name, so that every machine merges in the same order.
std::vector<std::string> JournalNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    std::string name = it->path().filename().string();
    if (IsJournalFileName(name)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string OwnId(StoreDatabase& db) {
  Statement& select = db.Sql("SELECT id FROM machines WHERE own = 2");
  std::string id = select.Step() ? select.Utf8(0) : std::string();
  select.Reset();
  return id;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}

}  // namespace

std::string JournalFileName(std::string_view machineId) {
  std::string name;
  name.reserve(kPrefix.size() + machineId.size() + kSuffix.size());
  name.append(kPrefix).append(machineId).append(kSuffix);
  return name;
}

bool IsJournalFileName(std::string_view name) {
  return name.size() > kPrefix.size() + kSuffix.size() && name.starts_with(kPrefix) &&
         name.ends_with(kSuffix);
}

std::vector<FolderMachine> ScanFolder(const std::string& folder) {
  std::vector<FolderMachine> machines;
  for (const std::string& name : JournalNames(folder)) {
    const std::string path = folder + "/" + name;
    const FileInfo info = InfoOf(path);
    if (!info.regular) continue;
    FolderMachine machine;
    machine.file = name;
    std::string bytes;
    SyncJournal header;
    if (ReadWhole(path, info.size, bytes)) machine.state = DecodeJournalHeader(bytes, header);
    if (machine.state == JournalState::Whole) {
      machine.id = header.machineId;
      machine.name = header.machineName;
      machine.writtenAt = header.writtenAt;
    }
    machines.push_back(std::move(machine));
  }
  return machines;
}

bool ReplaceFile(const std::string& folder, const std::string& name, std::string_view bytes,
                 const std::string& temporaryName) {
  const std::string temporary = folder + "/" + temporaryName;
  const std::string target = folder + "/" + name;
  const int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename itself reaches the disk with the folder.
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

FolderSync::FolderSync(ProgressStore& store) : m_store(store) {}

SyncReport FolderSync::Run(const std::string& folder) {
  SyncReport report;
  if (folder.empty() || !IsFolder(folder)) {
    report.folder = SyncReport::Folder::Missing;
    return report;
  }
  StoreDatabase& db = *m_store.m_db;
  report.storeWritable = db.CanWrite();
  if (!report.storeWritable) return report;
  MergeFiles(folder, report);
  if (!WriteOwn(folder)) report.folder = SyncReport::Folder::ReadOnly;
  return report;
}

std::string FolderSync::MachineId() const {
  StoreDatabase& db = *m_store.m_db;
  return db.CanRead() ? OwnId(db) : std::string();
}

void FolderSync::MergeFiles(const std::string& folder, SyncReport& report) {
  StoreDatabase& db = *m_store.m_db;
  for (const std::string& name : JournalNames(folder)) {
    const std::string path = folder + "/" + name;
    const FileInfo info = InfoOf(path);
    if (!info.regular) continue;
    const Stamp stamp{info.size, info.modified};
    if (const auto found = m_merged.find(path); found != m_merged.end() && found->second == stamp) {
      continue;
    }
    std::string bytes;
    SyncJournal journal;
    if (!ReadWhole(path, info.size, bytes) ||
        DecodeJournal(bytes, journal) != JournalState::Whole) {
      ++report.skipped;  // read again next time: the engine may still be copying it
      continue;
    }
    MergeCounts counts;
    if (!MergeJournal(db, journal, counts)) {
      report.storeWritable = false;
      return;
    }
    m_merged[path] = stamp;
    if (counts.answers > 0 || counts.exams > 0) {
      report.arrivals.push_back({journal.machineName, counts.answers, counts.exams});
    }
  }
}

bool FolderSync::WriteOwn(const std::string& folder) {
  StoreDatabase& db = *m_store.m_db;
  const int64_t now = db.GetClock().NowSeconds();
  bool changed = false;
  if (!RefreshOwnJournal(db, HostName(), now, m_own, changed)) return true;  // no id yet
  const std::string name = JournalFileName(m_own.journal.machineId);
  const std::string path = folder + "/" + name;
  const FileInfo present = InfoOf(path);
  const auto written = m_merged.find(path);
  // Nothing new, and the file written last is still there as written.
  if (!changed && m_writtenPath == path && present.regular && written != m_merged.end() &&
      written->second == Stamp{present.size, present.modified}) {
    return true;
  }
  std::string temporary = ".verbaro-";
  temporary.append(m_own.journal.machineId).append(".tmp");
  if (!ReplaceFile(folder, name, EncodeJournal(m_own.journal), temporary)) return false;
  db.Write([&] {
    return db.Sql("UPDATE machines SET written_at = ?1 WHERE own = 2").Bind(1, now).Run();
  });
  m_writtenPath = path;
  const FileInfo afterWriting = InfoOf(path);
  m_merged[path] = {afterWriting.size, afterWriting.modified};
  return true;
}

}  // namespace verbaro::progress
