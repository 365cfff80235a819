#pragma once
// Progress that follows the learner through a folder that a file-sync engine (Syncthing,
// Nextcloud, a network share, a USB stick) keeps equal between machines. The live store never
// goes there: each machine writes only its own journal file, replaced whole in one rename, and
// merges the files of the others into its store.
//
//   progress::FolderSync sync(*store);          // a store connection of its own, off the UI
//   progress::SyncReport report = sync.Run("/home/me/Sync/verbaro");
//   for (const auto& arrival : report.arrivals) ...«Получено N ответов с "NAME"»...
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "data/progress/OwnJournal.h"
#include "data/progress/SyncFile.h"
#include "data/progress/SyncMerge.h"

namespace verbaro::progress {

class ProgressStore;

// "verbaro-progress-<id>.vbsync": the journal of one machine.
std::string JournalFileName(std::string_view machineId);
// A journal of some machine, or a sync engine's conflict copy of one; never a hidden or
// temporary file of an engine (".syncthing.*", "~syncthing~*", any dot-file).
bool IsJournalFileName(std::string_view name);

// A journal file found in the folder, by what its header says.
struct FolderMachine {
  std::string file;  // the file's name in the folder
  JournalState state = JournalState::Damaged;
  std::string id;  // when whole
  std::string name;
  int64_t writtenAt = 0;
};
// Every journal file of the folder, by name; empty when the folder cannot be read.
std::vector<FolderMachine> ScanFolder(const std::string& folder);

struct SyncArrival {
  std::string machineName;  // as its journal names it
  int64_t answers = 0;
  int64_t exams = 0;
};

struct SyncReport {
  enum class Folder {
    Ok,
    Missing,   // no such folder (not mounted, removed)
    ReadOnly,  // read, but this machine's journal cannot be written there
  };
  Folder folder = Folder::Ok;
  bool storeWritable = true;  // false: nothing could be merged (the store is not being saved)
  std::vector<SyncArrival> arrivals;  // what other machines' journals brought, in file order
  int skipped = 0;                    // journals left for the next time (cut short, damaged, newer)
};

class FolderSync {
 public:
  explicit FolderSync(ProgressStore& store);

  // Merges every journal in `folder` that changed since it was last merged, then writes this
  // machine's journal when it has rows the folder does not hold yet.
  SyncReport Run(const std::string& folder);
  // This machine's id (empty while the store has none).
  std::string MachineId() const;

 private:
  struct Stamp {
    int64_t size = 0;
    int64_t modified = 0;  // nanoseconds
    bool operator==(const Stamp&) const = default;
  };
  void MergeFiles(const std::string& folder, SyncReport& report);
  bool WriteOwn(const std::string& folder);

  ProgressStore& m_store;
  std::map<std::string, Stamp> m_merged;  // files merged whole, by path
  OwnJournal m_own;                       // this machine's journal as last written
  std::string m_writtenPath;
};

// Writes `bytes` to folder/name through a temporary dot-file beside it (flushed to the disk,
// then renamed over the old file), so that a reader or a sync engine sees the old file or the
// new one, never a part.
bool ReplaceFile(const std::string& folder, const std::string& name, std::string_view bytes,
                 const std::string& temporaryName);

}  // namespace verbaro::progress
