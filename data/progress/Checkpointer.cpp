#include "data/progress/Checkpointer.h"

#include <sqlite3.h>

namespace verbaro::progress {

Checkpointer::Checkpointer(std::string path)
    : m_path(std::move(path)), m_thread([this] { Run(); }) {}

Checkpointer::~Checkpointer() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_wake.notify_one();
  m_thread.join();
}

void Checkpointer::Committed() {
  {
    std::lock_guard lock(m_mutex);
    if (++m_commits < kCommitsPerCheckpoint) return;
    m_commits = 0;
    m_due = true;
  }
  m_wake.notify_one();
}

// A passive checkpoint copies what no reader still needs and never blocks a writer; the log
// starts over at the next commit that finds all of it in the file (events come seconds apart).
// What a reader's snapshot or a commit under way held back is copied by a retry soon after, so
// that the log does not wait for the next hundred commits (the last of a session may never come).
void Checkpointer::Run() {
  sqlite3* db = nullptr;
  int retriesLeft = 0;
  for (;;) {
    {
      std::unique_lock lock(m_mutex);
      const auto woken = [this] { return m_due || m_stop; };
      if (retriesLeft > 0) {
        m_wake.wait_for(lock, kRetryDelay, woken);
      } else {
        m_wake.wait(lock, woken);
      }
      if (m_stop) break;
      if (m_due) {
        m_due = false;
        retriesLeft = kRetries;
      } else {
        --retriesLeft;
      }
    }
    if (db == nullptr) {
      // A connection sees the write-ahead log only once it has read the database.
      if (sqlite3_open_v2(m_path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW,
                          nullptr) != SQLITE_OK ||
          sqlite3_exec(db, "PRAGMA schema_version", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        db = nullptr;
        continue;
      }
    }
    int logFrames = 0;
    int copiedFrames = 0;
    const int rc =
        sqlite3_wal_checkpoint_v2(db, "main", SQLITE_CHECKPOINT_PASSIVE, &logFrames, &copiedFrames);
    if (rc == SQLITE_OK && copiedFrames >= logFrames) retriesLeft = 0;
  }
  sqlite3_close(db);
}

}  // namespace verbaro::progress
