// The row reader converts texts stored as UTF-8 itself and leaves to SQLite every text that SQLite
// would convert in its own way: whatever the bytes, a text reads exactly as SQLite's UTF-16 of it,
// cut at its first NUL, in a UTF-8 lesson and in a UTF-16 one.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/LessonRowTexts.h"
#include "data/LessonTable.h"

namespace verbaro::test {
namespace {

using lesson::kGrammarColumn;
using lesson::kLastTextColumn;
using lesson::kWordColumn;

constexpr int kTextColumns = kLastTextColumn - kGrammarColumn + 1;
constexpr int kWordAt = kWordColumn - kGrammarColumn;

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

// An in-memory table of the eleven text columns, in the given text encoding.
Database TextTable(const char* encoding) {
  sqlite3* raw = nullptr;
  EXPECT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
  Database db(raw);
  const std::string pragma = std::string("PRAGMA encoding='") + encoding + "';";
  std::string create = "CREATE TABLE t(";
  for (int c = 0; c < kTextColumns; ++c) create += (c ? ",c" : "c") + std::to_string(c);
  create += ");";
  EXPECT_EQ(sqlite3_exec(raw, (pragma + create).c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  return db;
}

// Byte strings made of pieces that UTF-8 readers disagree on: stray and overlong leads,
// surrogates, U+FFFE and U+FFFF, code points beyond U+10FFFF, cut sequences, NULs.
std::vector<std::string> TrickyUtf8(size_t count) {
  const std::vector<std::string> pieces = {"a",
                                           "Z",
                                           " ",
                                           std::string(1, '\0'),
                                           "\x80",
                                           "\xBF",
                                           "\xC0\x80",
                                           "\xC1\xBF",
                                           "\xC2",
                                           "\xC3\xA9",
                                           "\xD0\xB4",
                                           "\xE0\x80\x80",
                                           "\xE0\xA0\x80",
                                           "\xED\xA0\x80",
                                           "\xED\x9F\xBF",
                                           "\xEF\xBF\xBE",
                                           "\xEF\xBF\xBF",
                                           "\xEF\xBF\xBD",
                                           "\xF0\x9F\x98\x80",
                                           "\xF0\x8F\xBF\xBF",
                                           "\xF4\x8F\xBF\xBF",
                                           "\xF4\x90\x80\x80",
                                           "\xF5\x80\x80\x80",
                                           "\xF8\x88\x80\x80\x80",
                                           "\xFE",
                                           "\xFF",
                                           "\xE2\x82",
                                           "\xC3\xA9\x80\x80"};
  std::mt19937 random(20261207);
  std::vector<std::string> texts;
  for (size_t i = 0; i < count; ++i) {
    std::string text;
    const size_t parts = random() % 6;
    for (size_t p = 0; p < parts; ++p) {
      if (random() % 5 == 0) {
        text += static_cast<char>(random() % 256);
      } else {
        text += pieces[random() % pieces.size()];
      }
    }
    texts.push_back(text);
  }
  return texts;
}

// What SQLite's own UTF-16 conversion makes of column `column`, cut at its first NUL.
std::u16string SqliteUtf16(sqlite3_stmt* statement, int column) {
  const void* text = sqlite3_column_text16(statement, column);
  if (text == nullptr) return {};
  const std::u16string whole(static_cast<const char16_t*>(text),
                             static_cast<size_t>(sqlite3_column_bytes16(statement, column)) / 2);
  return whole.substr(0, whole.find(u'\0'));
}

// Reads every row of t twice, once through the reader and once through a fresh statement with
// SQLite's conversion, and compares the word column.
void ExpectReadAsSqliteDoes(sqlite3* db, bool storedAsUtf8) {
  sqlite3_stmt* reading = nullptr;
  sqlite3_stmt* reference = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT * FROM t ORDER BY rowid;", -1, &reading, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT * FROM t ORDER BY rowid;", -1, &reference, nullptr),
            SQLITE_OK);
  int row = 0;
  while (sqlite3_step(reading) == SQLITE_ROW) {
    ASSERT_EQ(sqlite3_step(reference), SQLITE_ROW);
    ++row;
    const lesson::LessonRowTexts texts = lesson::ReadLessonRowTexts(reading, 0, {storedAsUtf8});
    EXPECT_EQ(texts.word, SqliteUtf16(reference, kWordAt)) << "row " << row;
  }
  EXPECT_GT(row, 0);
  sqlite3_finalize(reading);
  sqlite3_finalize(reference);
}

TEST(LessonRowTexts, AnyBytesReadExactlyAsSqlitesOwnConversionInAUtf8Lesson) {
  Database db = TextTable("UTF-8");
  ASSERT_TRUE(lesson::StoresTextAsUtf8(db.get()));
  sqlite3_stmt* insert = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db.get(), "INSERT INTO t(c2) VALUES (?);", -1, &insert, nullptr),
            SQLITE_OK);
  for (const std::string& text : TrickyUtf8(3000)) {
    sqlite3_bind_text(insert, 1, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  ExpectReadAsSqliteDoes(db.get(), true);
  ExpectReadAsSqliteDoes(db.get(), false);
}

TEST(LessonRowTexts, AUtf16LessonWithLoneSurrogatesReadsAsStored) {
  Database db = TextTable("UTF-16le");
  EXPECT_FALSE(lesson::StoresTextAsUtf8(db.get()));
  sqlite3_stmt* insert = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db.get(), "INSERT INTO t(c2) VALUES (?);", -1, &insert, nullptr),
            SQLITE_OK);
  const std::vector<std::u16string> texts = {u"maison",
                                             u"дом",
                                             u"\xD800x",
                                             u"a\xDC00",
                                             u"\xD83D\xDE00",
                                             u"\xD83D"
                                             u"b",
                                             u"\xFFFE",
                                             u"",
                                             u"a\0b"};
  for (const std::u16string& text : texts) {
    sqlite3_bind_text16(insert, 1, text.data(), static_cast<int>(text.size() * 2),
                        SQLITE_TRANSIENT);
    ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  ExpectReadAsSqliteDoes(db.get(), lesson::StoresTextAsUtf8(db.get()));
}

}  // namespace
}  // namespace verbaro::test
