#pragma once
// The connection to the progress store file, what it may do (nothing, read, read and write),
// the one notice for the learner, and the transactions every event runs in.
#include <sqlite3.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "data/Clock.h"
#include "data/Sql.h"
#include "data/progress/Checkpointer.h"
#include "data/progress/Fsrs.h"

namespace verbaro::progress {

class StoreDatabase {
 public:
  enum class Use { None, Read, ReadWrite };

  // Opens the file as ProgressStore::Open describes; never fails (Use says what works).
  StoreDatabase(const std::string& path, const Clock& clock, bool readOnly);
  ~StoreDatabase();
  StoreDatabase(const StoreDatabase&) = delete;
  StoreDatabase& operator=(const StoreDatabase&) = delete;

  bool CanRead() const { return m_use != Use::None; }
  bool CanWrite() const { return m_use == Use::ReadWrite; }
  bool IsSaving() const { return CanWrite() && !m_writeFailed; }
  std::u16string TakeNotice();

  // The statement for this SQL, prepared once.
  Statement& Sql(std::string_view sql);
  // Runs `body` in one write transaction and commits it; a failure (of body or commit) rolls
  // back and is told to the learner once. Does nothing when the store cannot be written.
  bool Write(const std::function<bool()>& body);

  sqlite3* Handle() const { return m_db; }
  const Clock& GetClock() const { return m_clock; }
  const Fsrs& Scheduler() const { return m_fsrs; }
  const std::string& Path() const { return m_path; }

 private:
  enum class Health { Sound, Damaged, Unreadable };
  void OpenToRead();
  void OpenToStudy();
  // Opens anew a store that could not be used as it was: a write-ahead-log store on a read-only
  // disk as it stands, a damaged one set aside for a new one. The health of what is then open.
  Health Recover(Health health, bool& readOnlyFile);
  // Brings the schema up to date and starts writing; on failure the store is only read.
  void StartWriting();
  bool Connect(bool readOnly, bool immutable = false);
  void Close();
  Health Check();
  bool SetAsideDamaged();
  void Configure();
  void Fail(std::u16string_view reason);
  void ReportWriteFailure(int rc);

  std::string m_path;
  const Clock& m_clock;
  Fsrs m_fsrs;
  sqlite3* m_db = nullptr;
  Use m_use = Use::None;
  bool m_writeFailed = false;
  bool m_noticeTold = false;
  std::u16string m_notice;
  std::unordered_map<std::string, Statement> m_statements;
  std::unique_ptr<Checkpointer> m_checkpointer;  // while the store is written
};

}  // namespace verbaro::progress
