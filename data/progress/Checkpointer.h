#pragma once
// Folds the store's write-ahead log back into its file on a thread of its own, so that no
// event waits for the file to reach the disk: an event's commit only appends to the log.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace verbaro::progress {

class Checkpointer {
 public:
  explicit Checkpointer(std::string path);
  ~Checkpointer();  // waits for a checkpoint under way
  Checkpointer(const Checkpointer&) = delete;
  Checkpointer& operator=(const Checkpointer&) = delete;

  // One more transaction was committed; every kCommitsPerCheckpoint of them a checkpoint runs.
  void Committed();

  static constexpr int kCommitsPerCheckpoint = 100;
  // A checkpoint that a reader or a commit under way kept from copying the whole log is tried
  // again this many times, this far apart, unless the next one falls due first.
  static constexpr int kRetries = 10;
  static constexpr std::chrono::milliseconds kRetryDelay{200};

 private:
  void Run();

  std::string m_path;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  int m_commits = 0;
  bool m_due = false;
  bool m_stop = false;
  std::thread m_thread;
};

}  // namespace verbaro::progress
