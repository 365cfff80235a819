#pragma once
// Opening an SQLite file that may come from anywhere: read-only, and with every SQLite feature
// that lets a file's content run code, touch other files or grow without bound switched off.
#include <cstddef>
#include <cstdint>
#include <string>

struct sqlite3;

namespace verbaro {

// The bytes needed to recognise an SQLite file and its journal mode.
inline constexpr size_t kDatabaseHeaderBytes = 20;

// A file: URI naming the path exactly, for opening with URI parameters such as immutable=1.
std::string FileUri(const std::string& utf8Path);

// The first bytes (up to maxBytes) of a regular file. Empty for a missing or unreadable path, a
// zero-length file, and anything that is not a regular file (a folder, a named pipe, a device),
// whose reading could block or never end.
std::string ReadFileStart(const std::string& utf8Path, size_t maxBytes);

// Opens the file read-only (as immutable when it is a self-contained write-ahead-log database,
// so that no -wal or -shm file appears beside it) and hardens the connection. `header` is the
// file's start as read by ReadFileStart. Returns the SQLite result code; *db is the connection
// on success and null otherwise.
int OpenUntrustedDatabase(const std::string& utf8Path, const std::string& header, sqlite3** db);

// The bytes of the connection's database as it is stored: its file and, in write-ahead-log mode,
// the log; 0 for what cannot be found. No value read from it can be larger.
int64_t StoredBytes(sqlite3* db);

// The largest text or BLOB value a connection opened here reads: a recording of tens of
// megabytes still loads, a larger value fails its row instead of exhausting memory.
inline constexpr int kMaxValueBytes = 64 * 1024 * 1024;
// The longest SQL statement it compiles, the file's own schema included: lesson tables are
// declared in a few hundred bytes.
inline constexpr int kMaxSqlBytes = 64 * 1024;

}  // namespace verbaro
