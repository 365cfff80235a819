#include "data/progress/StoreDatabase.h"

#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "data/Text.h"
#include "data/UntrustedDatabase.h"
#include "data/progress/MachineIdentity.h"
#include "data/progress/StoreSchema.h"

namespace verbaro::progress {

namespace {

constexpr int kBusyTimeoutMs = 5000;  // a second trainer commits in well under a millisecond

constexpr std::u16string_view kNotSaving = u"Прогресс обучения не сохраняется: ";

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// "20261207-183005": the local time, for the name of a set-aside file.
std::string StampOf(int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&time, &local);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

}  // namespace

StoreDatabase::StoreDatabase(const std::string& path, const Clock& clock, bool readOnly)
    : m_path(path), m_clock(clock) {
  if (readOnly) {
    OpenToRead();
  } else {
    OpenToStudy();
  }
}

void StoreDatabase::OpenToRead() {
  // The lesson tool: a missing store is no news, and nothing is ever changed.
  if (!Exists(m_path) || !Connect(true)) return;
  if (Check() == Health::Unreadable) {
    Close();
    if (!Connect(true, true)) return;
  }
  if (Check() != Health::Sound || UserVersion(m_db) < 1) {
    Close();
    return;
  }
  m_use = Use::Read;
}

void StoreDatabase::OpenToStudy() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, error);
  if (error) {
    Fail(std::u16string(kNotSaving) + u"не удалось создать папку\n" + FromUtf8(folder.string()));
    return;
  }
  if (!Connect(false)) return;
  bool readOnlyFile = sqlite3_db_readonly(m_db, "main") == 1;
  const Health health = Recover(Check(), readOnlyFile);
  if (health != Health::Sound) {
    Close();
    Fail(std::u16string(kNotSaving) +
         (health == Health::Damaged ? u"файл повреждён\n" : u"не удалось прочитать файл\n") +
         FromUtf8(m_path));
    return;
  }
  const int version = UserVersion(m_db);
  if (version > kSchemaVersion) {
    // Read through a read-only connection: closing it never folds the log into the file.
    Close();
    m_use = Connect(true) ? Use::Read : Use::None;
    Fail(std::u16string(kNotSaving) +
         u"файл записан более новой версией программы и только читается\n" + FromUtf8(m_path));
    return;
  }
  if (readOnlyFile) {
    m_use = version == kSchemaVersion ? Use::Read : Use::None;
    Fail(std::u16string(kNotSaving) + u"файл доступен только для чтения\n" + FromUtf8(m_path));
    return;
  }
  StartWriting();
}

StoreDatabase::Health StoreDatabase::Recover(Health health, bool& readOnlyFile) {
  if (health == Health::Unreadable && readOnlyFile) {
    // A write-ahead-log store on a read-only disk: no shared-memory index can be made beside
    // it, but nobody can write it either, so it is read as it stands.
    Close();
    return Connect(true, true) ? Check() : Health::Unreadable;
  }
  if (health == Health::Damaged && !readOnlyFile) {
    Close();
    if (SetAsideDamaged() && Connect(false)) {
      readOnlyFile = sqlite3_db_readonly(m_db, "main") == 1;
      return Check();
    }
  }
  return health;
}

void StoreDatabase::StartWriting() {
  Configure();
  const int rc = UpgradeSchema(m_db);
  if (rc != SQLITE_OK) {
    ReportWriteFailure(rc);
    m_use = UserVersion(m_db) == kSchemaVersion ? Use::Read : Use::None;
    return;
  }
  m_use = Use::ReadWrite;
  sqlite3_exec(m_db, "PRAGMA wal_autocheckpoint=0", nullptr, nullptr, nullptr);
  // The id that names this machine's answers on the learner's other machines (made once: the
  // checkpoints count the learner's events only).
  Write([this] { return EnsureOwnMachine(*this, HostName()); });
  m_checkpointer = std::make_unique<Checkpointer>(m_path);
}

StoreDatabase::~StoreDatabase() { Close(); }

bool StoreDatabase::Connect(bool readOnly, bool immutable) {
  const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  const std::string name = immutable ? FileUri(m_path) + "?immutable=1" : m_path;
  const int rc =
      sqlite3_open_v2(name.c_str(), &m_db,
                      flags | SQLITE_OPEN_NOFOLLOW | (immutable ? SQLITE_OPEN_URI : 0), nullptr);
  if (rc != SQLITE_OK) {
    Close();
    if (!readOnly) {
      Fail(std::u16string(kNotSaving) + u"не удалось открыть файл\n" + FromUtf8(m_path));
    }
    return false;
  }
  sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
  sqlite3_extended_result_codes(m_db, 1);
  // The store is the program's own file, but it lives where anything can replace it.
  int now = 0;
  sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, &now);
  sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &now);
  sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, &now);
  return true;
}

// The last connection to close folds the whole log into the file and removes it.
void StoreDatabase::Close() {
  m_checkpointer.reset();
  m_statements.clear();
  if (m_db != nullptr) sqlite3_close(m_db);
  m_db = nullptr;
}

// A file that is not a database, or whose pages do not hold together, is damaged; reading the
// header and a quick check of every page finds both. Any other failure (no right to read, no
// index can be made beside it) says nothing about the file.
StoreDatabase::Health StoreDatabase::Check() {
  Statement check(m_db, "PRAGMA quick_check");
  if (check.Step()) {
    const bool ok = check.Utf8(0) == "ok";
    check.Reset();
    return ok ? Health::Sound : Health::Damaged;
  }
  switch (check.Result() & 0xFF) {
    case SQLITE_DONE:  // an empty new file has no pages to check
      return Health::Sound;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return Health::Damaged;
    default: return Health::Unreadable;
  }
}

// Renames the damaged file (with its write-ahead log and index) to a dated name beside it, so
// that nothing of it is lost and a new store can start.
bool StoreDatabase::SetAsideDamaged() {
  const std::string aside = m_path + ".damaged-" + StampOf(m_clock.NowSeconds());
  if (std::rename(m_path.c_str(), aside.c_str()) != 0) return false;
  for (const char* suffix : {"-wal", "-shm"}) {
    const std::string from = m_path + suffix;
    if (Exists(from)) std::rename(from.c_str(), (aside + suffix).c_str());
  }
  m_notice = u"Файл прогресса обучения был повреждён и отложен под именем\n" + FromUtf8(aside) +
             u"\nНачат новый файл прогресса.";
  return true;
}

// Write-ahead log: a reader never waits for a writer, and a commit needs no sync of the file;
// a power cut loses at most the last commits, never the file.
void StoreDatabase::Configure() {
  sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
  sqlite3_exec(m_db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
  // a log that started over is cut back to this size
  sqlite3_exec(m_db, "PRAGMA journal_size_limit=4194304", nullptr, nullptr, nullptr);
}

void StoreDatabase::Fail(std::u16string_view reason) {
  if (m_noticeTold || !m_notice.empty()) return;
  m_notice = reason;
}

std::u16string StoreDatabase::TakeNotice() {
  std::u16string notice;
  notice.swap(m_notice);
  if (!notice.empty()) m_noticeTold = true;
  return notice;
}

void StoreDatabase::ReportWriteFailure(int rc) {
  m_writeFailed = true;
  const std::u16string path = FromUtf8(m_path);
  switch (rc & 0xFF) {
    case SQLITE_FULL: Fail(std::u16string(kNotSaving) + u"на диске нет места\n" + path); break;
    case SQLITE_READONLY:
      Fail(std::u16string(kNotSaving) + u"файл доступен только для чтения\n" + path);
      break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      Fail(std::u16string(kNotSaving) + u"файл занят другой программой\n" + path);
      break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: Fail(std::u16string(kNotSaving) + u"файл повреждён\n" + path); break;
    default: Fail(std::u16string(kNotSaving) + u"ошибка записи в файл\n" + path); break;
  }
}

Statement& StoreDatabase::Sql(std::string_view sql) {
  auto found = m_statements.find(std::string(sql));
  if (found == m_statements.end()) {
    found =
        m_statements.emplace(std::string(sql), Statement(m_db, sql, Statement::Use::Kept)).first;
  }
  return found->second;
}

bool StoreDatabase::Write(const std::function<bool()>& body) {
  if (!CanWrite()) return false;
  int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) {
    if (!body()) {
      rc = sqlite3_extended_errcode(m_db);
      if (rc == SQLITE_OK) rc = SQLITE_ERROR;
    }
    if (rc == SQLITE_OK) rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
  }
  if (rc != SQLITE_OK) {
    const int failure = sqlite3_extended_errcode(m_db);
    if (sqlite3_get_autocommit(m_db) == 0) {
      sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    ReportWriteFailure(failure != SQLITE_OK ? failure : rc);
    return false;
  }
  m_writeFailed = false;
  if (m_checkpointer) m_checkpointer->Committed();
  return true;
}

}  // namespace verbaro::progress
