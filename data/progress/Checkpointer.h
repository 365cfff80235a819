#pragma once
// Folds the store's write-ahead log back into its file on a thread of its own, so that no
// event waits for the file to reach the disk: an event's commit only appends to the log.
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
