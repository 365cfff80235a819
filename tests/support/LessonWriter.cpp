#include "LessonWriter.h"

#include <sqlite3.h>

#include <stdexcept>

#include "Files.h"

namespace verbaro::test {

namespace {

constexpr size_t kTranslationColumns = 5;

class Database {
 public:
  explicit Database(const std::filesystem::path& file) {
    if (sqlite3_open_v2(file.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
      const std::string why = m_db ? sqlite3_errmsg(m_db) : "out of memory";
      sqlite3_close(m_db);
      throw std::runtime_error("cannot create " + file.string() + ": " + why);
    }
  }
  ~Database() { sqlite3_close(m_db); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  sqlite3* get() const { return m_db; }

  void Check(int rc, const char* what) const {
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
      throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(m_db));
    }
  }

  void Execute(const std::string& sql) const {
    char* error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    if (rc != SQLITE_OK) throw std::runtime_error("sql failed: " + message);
  }

 private:
  sqlite3* m_db = nullptr;
};

class Statement {
 public:
  Statement(const Database& db, const char* sql) {
    db.Check(sqlite3_prepare_v2(db.get(), sql, -1, &m_stmt, nullptr), "prepare");
  }
  ~Statement() { sqlite3_finalize(m_stmt); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return m_stmt; }

 private:
  sqlite3_stmt* m_stmt = nullptr;
};

void BindText(sqlite3_stmt* stmt, int parameter, const std::u16string& text, bool null) {
  if (null) {
    sqlite3_bind_null(stmt, parameter);
  } else {
    sqlite3_bind_text16(stmt, parameter, text.data(),
                        static_cast<int>(text.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
  }
}

void BindRecording(sqlite3_stmt* stmt, int parameter, const LessonRow& row) {
  const std::vector<uint8_t>& bytes = row.recording;
  switch (row.recordingKind) {
    case RecordingKind::Bytes:
      // A null pointer would bind NULL: an empty recording still goes in as a BLOB.
      sqlite3_bind_blob(stmt, parameter, bytes.empty() ? "" : static_cast<const void*>(bytes.data()),
                        static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
      break;
    case RecordingKind::Null:
      sqlite3_bind_null(stmt, parameter);
      break;
    case RecordingKind::Integer:
      sqlite3_bind_int(stmt, parameter, 42);
      break;
    case RecordingKind::Text:
      sqlite3_bind_text(stmt, parameter, reinterpret_cast<const char*>(bytes.data()),
                        static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
      break;
  }
}

}  // namespace

void WriteDatabase(const std::filesystem::path& file, const std::string& sql) {
  Database(file).Execute(sql);
}

void WriteLesson(const std::filesystem::path& file, const std::vector<LessonRow>& rows) {
  const Database db(file);
  db.Execute(
      "DROP TABLE IF EXISTS FrRuDict;"
      "CREATE TABLE FrRuDict (id INTEGER, topic TEXT, FrGram TEXT, FrNumber TEXT, FrWord TEXT, "
      "Info1 TEXT, Info2 TEXT, Info3 TEXT, Ru1 TEXT, Ru2 TEXT, Ru3 TEXT, Ru4 TEXT, Ru5 TEXT, "
      "Mp3Word BLOB);");
  const Statement insert(db,
                         "INSERT INTO FrRuDict (rowid, id, topic, FrGram, FrNumber, FrWord, Info1, "
                         "Info2, Info3, Ru1, Ru2, Ru3, Ru4, Ru5, Mp3Word) VALUES "
                         "(?1, ?1, 'topic', ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13);");
  sqlite3_stmt* stmt = insert.get();
  int64_t place = 0;
  for (const LessonRow& row : rows) {
    ++place;
    if (row.translations.size() > kTranslationColumns) {
      throw std::invalid_argument("a lesson row holds at most five translations");
    }
    sqlite3_reset(stmt);
    sqlite3_bind_int64(stmt, 1, row.rowid.value_or(place));
    const bool null = row.nullTexts;
    BindText(stmt, 2, row.gram, null);
    BindText(stmt, 3, row.number, null);
    BindText(stmt, 4, row.key, null);
    BindText(stmt, 5, row.info1, null);
    BindText(stmt, 6, row.info2, null);
    BindText(stmt, 7, row.info3, null);
    for (size_t i = 0; i < kTranslationColumns; ++i) {
      const int parameter = 8 + static_cast<int>(i);
      BindText(stmt, parameter, i < row.translations.size() ? row.translations[i] : u"", null);
    }
    BindRecording(stmt, 13, row);
    db.Check(sqlite3_step(stmt), "insert");
  }
}

std::vector<uint8_t> Recording(size_t n, uint8_t seed) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
  return bytes;
}

std::vector<LessonRow> NumberedRows(int count) {
  std::vector<LessonRow> rows;
  for (int i = 1; i <= count; ++i) {
    const std::string digits = std::to_string(i);
    const std::u16string n(digits.begin(), digits.end());
    rows.push_back({u"m", u"s", u"mot" + n, {u"слово" + n}, ShortMp3()});
  }
  return rows;
}

}  // namespace verbaro::test
