#pragma once
// The tables of the progress store and their upgrades. PRAGMA user_version names the schema;
// each version has one upgrade step from the one before, run in a transaction of its own.
#include <sqlite3.h>

namespace verbaro::progress {

inline constexpr int kSchemaVersion = 4;

// PRAGMA user_version, or -1 when it cannot be read.
int UserVersion(sqlite3* db);
// Brings the database (version 0: empty) to kSchemaVersion, step by step. Returns the SQLite
// result code of the first step that failed, SQLITE_OK when all went well.
int UpgradeSchema(sqlite3* db);

}  // namespace verbaro::progress
