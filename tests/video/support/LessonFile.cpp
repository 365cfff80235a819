#include "LessonFile.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace verbaro::test {

namespace {

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
  ~Statement() { sqlite3_finalize(m_stmt); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return m_stmt; }

 private:
  sqlite3_stmt* m_stmt = nullptr;
};

void BindText(sqlite3_stmt* stmt, int index, const std::u16string& text) {
  sqlite3_bind_text16(stmt, index, text.data(), static_cast<int>(text.size() * sizeof(char16_t)),
                      SQLITE_TRANSIENT);
}

}  // namespace

void WriteLesson(const std::string& path, const std::vector<LessonRow>& rows) {
  std::filesystem::remove(path);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK) << path;
  const char* create =
      "CREATE TABLE FrRuDict (Id INTEGER PRIMARY KEY, Lesson TEXT, FrGram TEXT, FrNumber TEXT,"
      " FrWord TEXT, Info1 TEXT, Info2 TEXT, Info3 TEXT, Ru1 TEXT, Ru2 TEXT, Ru3 TEXT, Ru4 TEXT,"
      " Ru5 TEXT, Mp3Word BLOB);";
  EXPECT_EQ(sqlite3_exec(db, create, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  {
    Statement insert(db,
                     "INSERT INTO FrRuDict VALUES (?1, 'test', ?2, ?3, ?4, '', '', '', ?5, ?6, ?7,"
                     " ?8, ?9, ?10);");
    ASSERT_NE(insert.get(), nullptr) << sqlite3_errmsg(db);
    int64_t rowid = 1;
    for (const LessonRow& row : rows) {
      sqlite3_reset(insert.get());
      sqlite3_bind_int64(insert.get(), 1, rowid++);
      BindText(insert.get(), 2, row.gram);
      BindText(insert.get(), 3, row.number);
      BindText(insert.get(), 4, row.key);
      for (int i = 0; i < 5; ++i) {
        const std::u16string text = i < static_cast<int>(row.translations.size())
                                        ? row.translations[static_cast<size_t>(i)]
                                        : std::u16string();
        BindText(insert.get(), 5 + i, text);
      }
      sqlite3_bind_blob(insert.get(), 10, row.mp3.data(), static_cast<int>(row.mp3.size()),
                        SQLITE_TRANSIENT);
      EXPECT_EQ(sqlite3_step(insert.get()), SQLITE_DONE) << sqlite3_errmsg(db);
    }
  }
  sqlite3_close(db);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> SharedMp3(const std::string& name) {
  return ReadBytes(std::string(VERBARO_TEST_FIXTURES) + "/mp3/" + name);
}

std::vector<uint8_t> VideoMp3(const std::string& name) {
  return ReadBytes(std::string(VERBARO_SOURCE_DIR) + "/tests/video/fixtures/" + name);
}

}  // namespace verbaro::test
