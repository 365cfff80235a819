#include "data/UntrustedDatabase.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace verbaro {

namespace {

// A database in write-ahead-log mode whose log has been folded back into the file: the file alone
// holds everything, and reading it as immutable keeps SQLite from creating -wal and -shm files
// beside it.
bool IsSelfContainedWalDatabase(const std::string& utf8Path, const std::string& header) {
  static constexpr char kMagic[] = "SQLite format 3";
  const bool isDatabase = header.size() >= kDatabaseHeaderBytes &&
                          header.compare(0, sizeof kMagic, kMagic, sizeof kMagic) == 0;
  const bool isWal = isDatabase && header[18] == 2 && header[19] == 2;  // write and read versions
  if (!isWal) return false;
  struct stat wal {};
  return ::stat((utf8Path + "-wal").c_str(), &wal) != 0;  // looked at, never opened
}

// Sets an on/off option of the connection and confirms SQLite took it.
bool SetOption(sqlite3* db, int option, int wanted) {
  int now = -1;
  return sqlite3_db_config(db, option, wanted, &now) == SQLITE_OK && now == wanted;
}

// SQL in the file (a view, a trigger, a default value) must not load a shared library:
// load_extension() is refused. The C call that would allow it is never made either.
bool ForbidExtensions(sqlite3* db) {
  return SetOption(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0);
}

// Nor may it hand full-text search a tokenizer by its address (fts3_tokenizer with two
// arguments), which would run code at that address.
bool ForbidTokenizerPointers(sqlite3* db) {
  return SetOption(db, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, 0);
}

// The schema is the file's, not ours: functions with side effects and virtual tables not marked
// harmless cannot be used from views, triggers, defaults, generated columns or index expressions.
bool DistrustSchema(sqlite3* db) { return SetOption(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0); }

// Refuses everything that could deliberately damage a database through the connection
// (writable_schema, journal_mode=OFF, writes to shadow tables), should any statement try.
bool BeDefensive(sqlite3* db) { return SetOption(db, SQLITE_DBCONFIG_DEFENSIVE, 1); }

// A lesson is one plain table. A view or a trigger would run SQL written by whoever made the
// file, so neither is honoured: a lesson that is a view cannot be queried.
bool IgnoreViewsAndTriggers(sqlite3* db) {
  return SetOption(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0) &&
         SetOption(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0);
}

// Bounds what one value or one statement of the file can cost: a huge value fails its row with
// an error instead of taking all memory, and an absurdly long schema entry is refused.
void LimitSizes(sqlite3* db) {
  sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
  sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, kMaxSqlBytes);
}

// A file another program holds locked fails at once rather than making the learner wait.
bool NeverWaitForLocks(sqlite3* db) { return sqlite3_busy_timeout(db, 0) == SQLITE_OK; }

// Every b-tree page is checked as it is read, so a damaged page is reported as an error rather
// than read past its end. This pragma only sets a flag of the connection.
bool CheckPagesAsRead(sqlite3* db) {
  return sqlite3_exec(db, "PRAGMA cell_size_check=ON;", nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool Harden(sqlite3* db) {
  LimitSizes(db);
  return ForbidExtensions(db) && ForbidTokenizerPointers(db) && DistrustSchema(db) &&
         BeDefensive(db) && IgnoreViewsAndTriggers(db) && NeverWaitForLocks(db) &&
         CheckPagesAsRead(db);
}

}  // namespace

std::string FileUri(const std::string& utf8Path) {
  std::string uri = utf8Path.starts_with('/') ? "file://" : "file:";
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : utf8Path) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '%' || c == '?' || c == '#' || byte < 0x20) {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0x0F];
    } else {
      uri += c;
    }
  }
  return uri;
}

std::string ReadFileStart(const std::string& utf8Path, size_t maxBytes) {
  // Non-blocking, so that opening a named pipe returns at once; it is then refused as not a
  // regular file.
  const int fd = ::open(utf8Path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return {};
  std::string start;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    start.resize(maxBytes);
    size_t got = 0;
    while (got < maxBytes) {
      const ssize_t n = ::read(fd, start.data() + got, maxBytes - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    start.resize(got);
  }
  ::close(fd);
  return start;
}

int OpenUntrustedDatabase(const std::string& utf8Path, const std::string& header, sqlite3** db) {
  *db = nullptr;
  sqlite3* handle = nullptr;
  // Read-only: reading a lesson must never create, change or recover the file. A connection is
  // used by one thread only (the one that reads the lesson and sounds its recordings), so it
  // goes without SQLite's per-connection lock, which every column read would otherwise take.
  const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
  int rc = IsSelfContainedWalDatabase(utf8Path, header)
               ? sqlite3_open_v2((FileUri(utf8Path) + "?immutable=1").c_str(), &handle,
                                 flags | SQLITE_OPEN_URI, nullptr)
               : sqlite3_open_v2(utf8Path.c_str(), &handle, flags, nullptr);
  if (rc == SQLITE_OK && !Harden(handle)) rc = SQLITE_ERROR;
  if (rc != SQLITE_OK) {
    sqlite3_close(handle);  // a failed open still allocates a handle
    return rc;
  }
  *db = handle;
  return SQLITE_OK;
}

int64_t StoredBytes(sqlite3* db) {
  auto bytesOf = [db](int whichFile) -> int64_t {
    sqlite3_file* file = nullptr;
    sqlite3_int64 size = 0;
    if (sqlite3_file_control(db, "main", whichFile, &file) != SQLITE_OK || file == nullptr ||
        file->pMethods == nullptr || file->pMethods->xFileSize(file, &size) != SQLITE_OK) {
      return 0;
    }
    return size;
  };
  // The journal pointer names the write-ahead log in that mode; a rollback journal is never
  // opened by a read-only connection.
  return bytesOf(SQLITE_FCNTL_FILE_POINTER) + bytesOf(SQLITE_FCNTL_JOURNAL_POINTER);
}

}  // namespace verbaro
