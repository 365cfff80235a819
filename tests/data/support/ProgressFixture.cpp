#include "ProgressFixture.h"

#include <sqlite3.h>

#include "data/Text.h"

namespace verbaro::test {

std::vector<progress::EntryKey> Words(int count, int first) {
  std::vector<progress::EntryKey> keys;
  for (int i = first; i < first + count; ++i) {
    keys.push_back({u"mot" + ToU16(i), u"m", u"s", 0});
  }
  return keys;
}

progress::TypingResult Typed(int wrongKeystrokes, int64_t milliseconds) {
  progress::TypingResult result;
  result.characters = 4;
  result.wrongKeystrokes = wrongKeystrokes;
  result.milliseconds = milliseconds;
  for (int i = 0; i < wrongKeystrokes; ++i) result.misses.push_back({u"é", u"e"});
  return result;
}

std::string Rows(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  std::string rows;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    while (stmt != nullptr && sqlite3_step(stmt) == SQLITE_ROW) {
      for (int column = 0; column < sqlite3_column_count(stmt); ++column) {
        const unsigned char* text = sqlite3_column_text(stmt, column);
        rows += text ? reinterpret_cast<const char*>(text) : "NULL";
        rows += column + 1 < sqlite3_column_count(stmt) ? ' ' : '\n';
      }
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return rows;
}

void ToThirdVersion(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  // The third version kept the Filters menu's item of an exam's filter.
  sqlite3_exec(db,
               "ALTER TABLE exams ADD COLUMN filter_id INTEGER NOT NULL DEFAULT 0; "
               "UPDATE exams SET filter_id = CASE filter_kind WHEN 0 THEN 800 + filter_index "
               "ELSE 835 + filter_kind END; "
               "ALTER TABLE exams DROP COLUMN filter_kind; "
               "ALTER TABLE exams DROP COLUMN filter_index; PRAGMA user_version = 3",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

void ToSecondVersion(const std::string& path) {
  ToThirdVersion(path);
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_exec(db,
               "DROP INDEX answers_by_origin; DROP INDEX exams_by_origin; DROP TABLE machines; "
               "ALTER TABLE answers DROP COLUMN origin; ALTER TABLE answers DROP COLUMN seq; "
               "ALTER TABLE answers DROP COLUMN typed_on; "
               "ALTER TABLE answers DROP COLUMN event_first; "
               "ALTER TABLE exams DROP COLUMN origin; ALTER TABLE exams DROP COLUMN seq; "
               "PRAGMA user_version = 2",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

std::string MemoryTable(const std::string& path) {
  return Rows(path,
              "SELECT direction, entry_id, printf('%!.17g %!.17g', stability, difficulty), "
              "first_day, last_day, due_day, reps, lapses, misses, missed, last_miss_at "
              "FROM memory ORDER BY direction, entry_id");
}

}  // namespace verbaro::test
