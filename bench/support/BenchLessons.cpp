#include "BenchLessons.h"

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <system_error>
#include <utility>

#include "data/LessonTable.h"

namespace verbaro::bench {

namespace {

namespace fs = std::filesystem;

struct Closer {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Connection = std::unique_ptr<sqlite3, Closer>;

Connection Open(const std::string& path, int flags) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  Connection connection(db);
  if (rc != SQLITE_OK) connection.reset();
  return connection;
}

// A folder of this process's own, removed with everything in it when the process ends.
class ScratchFolder {
 public:
  ScratchFolder()
      : m_path(fs::temp_directory_path() / ("verbaro-bench-" + std::to_string(getpid()))) {
    fs::create_directories(m_path);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
  }
  const fs::path& Path() const { return m_path; }

 private:
  fs::path m_path;
};

ScratchFolder& Scratch() {
  static ScratchFolder folder;
  return folder;
}

// One INSERT ... SELECT: row i (0-based) copies starter row (i mod k) + 1 in repetition c = i / k
// (k starter rows), with rowids 1..rows in order as the reader expects. recordingBytes 0 keeps
// the starter recordings.
bool WriteGeneratedLesson(const std::string& path, int rows, int recordingBytes) {
  const Connection db = Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  if (!db) return false;
  std::string starter = StarterLessonPath();
  for (size_t at = starter.find('\''); at != std::string::npos; at = starter.find('\'', at + 2)) {
    starter.insert(at, 1, '\'');  // quoted for SQL
  }
  const std::string attach = "ATTACH DATABASE '" + starter + "' AS starter;";
  // A column's text with " <repetition>" added, unless it is empty or in the first repetition.
  auto suffix = [](const std::string& column) {
    std::string text = "CASE WHEN c = 0 OR COALESCE(%1, '') = '' THEN %1 ELSE %1 || ' ' || c END";
    for (size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1")) {
      text.replace(at, 2, column);
    }
    return text;
  };
  const std::string recording = recordingBytes > 0
                                    ? "randomblob(" + std::to_string(recordingBytes) + ")"
                                    : std::string("s.Mp3Word");
  const std::string sql =
      attach + lesson::CreateLessonTableSql() +
      ";BEGIN;"
      "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < " +
      std::to_string(rows) +
      "), total(k) AS (SELECT count(*) FROM starter.FrRuDict),"
      " plan(i, src, c) AS (SELECT i, i % k + 1, i / k FROM n, total)"
      " INSERT INTO FrRuDict SELECT plan.i + 1, s.Topic, s.FrGram, s.FrNumber, " +
      suffix("s.FrWord") + ", s.Info1, s.Info2, s.Info3, " + suffix("s.Ru1") + ", " +
      suffix("s.Ru2") + ", " + suffix("s.Ru3") + ", " + suffix("s.Ru4") + ", " + suffix("s.Ru5") +
      ", " + recording +
      " FROM plan JOIN starter.FrRuDict AS s ON s.rowid = plan.src ORDER BY plan.i;"
      "COMMIT;";
  return sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace

std::string StarterLessonPath() {
  return std::string(VERBARO_SOURCE_DIR) + "/lessons/01-premiers-mots.db";
}

std::string GeneratedLessonPath(int rows) { return GeneratedLessonPath(rows, 0); }

std::string GeneratedLessonPath(int rows, int recordingBytes) {
  static std::map<std::pair<int, int>, std::string> made;
  const std::pair key(rows, recordingBytes);
  if (auto found = made.find(key); found != made.end()) return found->second;
  const std::string path = (Scratch().Path() / ("lesson-" + std::to_string(rows) + "-" +
                                                std::to_string(recordingBytes) + ".db"))
                               .string();
  fs::remove(path);
  if (!WriteGeneratedLesson(path, rows, recordingBytes)) return {};
  made[key] = path;
  return path;
}

std::string CachedLessonPath(int rows, int recordingBytes) {
  const fs::path folder = VERBARO_BENCH_CACHE;
  const fs::path path =
      folder / ("lesson-" + std::to_string(rows) + "-" + std::to_string(recordingBytes) + ".db");
  std::error_code error;
  if (fs::exists(path, error)) return path.string();
  fs::create_directories(folder, error);
  const fs::path part = path.string() + ".part";
  fs::remove(part, error);
  if (!WriteGeneratedLesson(part.string(), rows, recordingBytes)) return {};
  fs::rename(part, path, error);
  return error ? std::string() : path.string();
}

std::vector<uint8_t> ReadRecording(const std::string& lessonPath, int rowid) {
  const Connection db = Open(lessonPath, SQLITE_OPEN_READONLY);
  if (!db) return {};
  sqlite3_stmt* stmt = nullptr;
  std::vector<uint8_t> bytes;
  if (sqlite3_prepare_v2(db.get(), "SELECT Mp3Word FROM FrRuDict WHERE rowid = ?1;", -1, &stmt,
                         nullptr) == SQLITE_OK) {
    sqlite3_bind_int(stmt, 1, rowid);
    if (sqlite3_step(stmt) == SQLITE_ROW) {
      const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(stmt, 0));
      bytes.assign(data, data + sqlite3_column_bytes(stmt, 0));
    }
  }
  sqlite3_finalize(stmt);
  return bytes;
}

int LongestRecordingRow(const std::string& lessonPath) {
  const Connection db = Open(lessonPath, SQLITE_OPEN_READONLY);
  if (!db) return 0;
  sqlite3_stmt* stmt = nullptr;
  int rowid = 0;
  if (sqlite3_prepare_v2(db.get(),
                         "SELECT rowid FROM FrRuDict ORDER BY length(Mp3Word) DESC LIMIT 1;", -1,
                         &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW) {
    rowid = sqlite3_column_int(stmt, 0);
  }
  sqlite3_finalize(stmt);
  return rowid;
}

int64_t FileBytes(const std::string& path) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  return error ? 0 : static_cast<int64_t>(size);
}

}  // namespace verbaro::bench
