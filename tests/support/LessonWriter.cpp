#include "LessonWriter.h"

#include <sqlite3.h>

#include <stdexcept>

#include "Files.h"
#include "data/LessonTable.h"
#include "lessonwriter/LessonWriter.h"

namespace verbaro::test {

namespace {

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

}  // namespace

void WriteDatabase(const std::filesystem::path& file, const std::string& sql) {
  Database(file).Execute(sql);
}

namespace {

void Write(const std::filesystem::path& file, const std::vector<LessonRow>& rows, bool inPlace) {
  lesson::LessonWriter writer(file);
  std::string error;
  if (!(inPlace ? writer.OpenInPlace(error) : writer.Open(error))) throw std::runtime_error(error);
  for (const LessonRow& row : rows) {
    if (row.translations.size() > size_t{lesson::kTranslationColumnCount}) {
      throw std::invalid_argument("a lesson row holds at most five translations");
    }
    lesson::LessonRow written;
    written.rowid = row.rowid;
    written.Text(lesson::kTopicColumn) = std::u16string(u"topic");
    if (!row.nullTexts) {
      written.Text(lesson::kGrammarColumn) = row.gram;
      written.Text(lesson::kNumberColumn) = row.number;
      written.Text(lesson::kWordColumn) = row.key;
      written.Text(lesson::kFirstInfoColumn) = row.info1;
      written.Text(lesson::kFirstInfoColumn + 1) = row.info2;
      written.Text(lesson::kFirstInfoColumn + 2) = row.info3;
      for (int i = 0; i < lesson::kTranslationColumnCount; ++i) {
        const auto at = static_cast<size_t>(i);
        written.Text(lesson::kFirstTranslationColumn + i) =
            at < row.translations.size() ? row.translations[at] : std::u16string();
      }
    }
    written.recordingKind = row.recordingKind;
    written.recording = row.recording;
    if (!writer.AddRow(written, error)) throw std::runtime_error(error);
  }
  if (!writer.Commit(true, error)) throw std::runtime_error(error);
}

}  // namespace

void WriteLesson(const std::filesystem::path& file, const std::vector<LessonRow>& rows) {
  Write(file, rows, true);
}

void RebuildLesson(const std::filesystem::path& file, const std::vector<LessonRow>& rows) {
  Write(file, rows, false);
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
