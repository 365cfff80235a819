// The one lesson writer: the columns it keeps, the rowids and odd cells it stores, and what it
// leaves behind when a write is not committed.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "lessonwriter/LessonWriter.h"
#include "tests/support/TempFolder.h"

namespace verbaro::lesson {
namespace {

namespace fs = std::filesystem;
using verbaro::test::TempFolder;

// Every row of a query as texts, each cell "type:value" ("null" for NULL).
std::vector<std::string> Query(const fs::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  std::vector<std::string> cells;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    ADD_FAILURE() << "cannot open " << file;
    return cells;
  }
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
  }
  while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
    for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
      // The type first: reading a cell as text turns it into text.
      const int type = sqlite3_column_type(stmt, c);
      const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
      switch (type) {
        case SQLITE_NULL: cells.push_back("null"); break;
        case SQLITE_INTEGER: cells.push_back(std::string("int:") + text); break;
        case SQLITE_BLOB: cells.push_back(std::string("blob:") + (text ? text : "")); break;
        default: cells.push_back(std::string("text:") + text); break;
      }
    }
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return cells;
}

void Execute(const fs::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  sqlite3_close(db);
}

LessonRow Row(std::string word, const std::vector<uint8_t>& recording) {
  LessonRow row;
  row.Text(4) = std::move(word);
  row.recording = recording;
  return row;
}

class LessonWriterTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string error;
  const std::vector<uint8_t> sound{'I', 'D', '3'};
};

TEST_F(LessonWriterTest, ColumnsKeepTheirPositionsAndNames) {
  EXPECT_EQ(CreateLessonTableSql(),
            "CREATE TABLE FrRuDict (Nr INTEGER PRIMARY KEY, Topic TEXT, FrGram TEXT, "
            "FrNumber TEXT, FrWord TEXT, Info1 TEXT, Info2 TEXT, Info3 TEXT, Ru1 TEXT, Ru2 TEXT, "
            "Ru3 TEXT, Ru4 TEXT, Ru5 TEXT, Mp3Word BLOB)");
  EXPECT_EQ(CreateLessonTableSql({4, 13}), "CREATE TABLE FrRuDict (FrWord TEXT, Mp3Word BLOB)");
  EXPECT_THROW(CreateLessonTableSql({4, 4}), std::invalid_argument);
  EXPECT_THROW(CreateLessonTableSql({14}), std::invalid_argument);
  EXPECT_THROW(CreateLessonTableSql({-1}), std::invalid_argument);
}

TEST_F(LessonWriterTest, CellsKeepTheirTypesAndRowidsTheirGaps) {
  const fs::path file = folder.Path() / "cells.db";
  LessonWriter writer(file);
  ASSERT_TRUE(writer.OpenInPlace(error)) << error;
  LessonRow utf16 = Row("", sound);
  utf16.Text(4) = std::u16string(u"мот");
  utf16.Text(12) = std::string("пять");
  ASSERT_TRUE(writer.AddRow(utf16, error)) << error;
  LessonRow gap = Row("gap", {});
  gap.rowid = 10;
  gap.recordingKind = RecordingKind::Integer;
  ASSERT_TRUE(writer.AddRow(gap, error)) << error;
  LessonRow next = Row("next", sound);  // the third row written: rowid 3, not 11
  next.recordingKind = RecordingKind::Text;
  ASSERT_TRUE(writer.AddRow(next, error)) << error;
  LessonRow nothing = Row("none", sound);
  nothing.rowid = -5;
  nothing.recordingKind = RecordingKind::Null;
  ASSERT_TRUE(writer.AddRow(nothing, error)) << error;
  ASSERT_TRUE(writer.Commit(false, error)) << error;

  EXPECT_EQ(
      Query(file, "SELECT rowid, Nr, FrWord, FrGram, Ru5, Mp3Word FROM FrRuDict ORDER BY rowid"),
      (std::vector<std::string>{"int:-5", "int:-5", "text:none", "null", "null",      "null",
                                "int:1",  "int:1",  "text:мот",  "null", "text:пять", "blob:ID3",
                                "int:3",  "int:3",  "text:next", "null", "null",      "text:ID3",
                                "int:10", "int:10", "text:gap",  "null", "null",      "int:42"}));
  // An empty recording is still a blob, never NULL.
  LessonWriter again(file);
  ASSERT_TRUE(again.OpenInPlace(error)) << error;
  ASSERT_TRUE(again.AddRow(Row("silent", {}), error)) << error;
  ASSERT_TRUE(again.Commit(false, error)) << error;
  EXPECT_EQ(Query(file, "SELECT typeof(Mp3Word), length(Mp3Word) FROM FrRuDict"),
            (std::vector<std::string>{"text:blob", "int:0"}));
}

TEST_F(LessonWriterTest, RepeatedRowidFailsUnlessSkipped) {
  const fs::path file = folder.Path() / "repeat.db";
  LessonRow first = Row("a", sound);
  first.rowid = 2;
  LessonRow second = Row("b", sound);  // its place is 2 as well
  {
    LessonWriter writer(file);
    ASSERT_TRUE(writer.OpenInPlace(error));
    ASSERT_TRUE(writer.AddRow(first, error));
    EXPECT_FALSE(writer.AddRow(second, error));
    EXPECT_NE(error.find("строку 2"), std::string::npos) << error;
  }
  LessonWriterOptions options;
  options.skipRepeatedRowids = true;
  LessonWriter writer(file, options);
  ASSERT_TRUE(writer.OpenInPlace(error));
  ASSERT_TRUE(writer.AddRow(first, error));
  ASSERT_TRUE(writer.AddRow(second, error)) << error;
  ASSERT_TRUE(writer.Commit(false, error));
  EXPECT_EQ(Query(file, "SELECT rowid, FrWord FROM FrRuDict"),
            (std::vector<std::string>{"int:2", "text:a"}));
}

TEST_F(LessonWriterTest, ChosenColumnsAndPageSize) {
  const fs::path file = folder.Path() / "narrow.db";
  LessonWriterOptions options;
  options.columns = {1, 4, 13};  // no entry number: rowids are still the ones asked for
  options.pageSize = 512;
  LessonWriter writer(file, options);
  ASSERT_TRUE(writer.OpenInPlace(error)) << error;
  LessonRow row = Row("chat", sound);
  row.rowid = 7;
  row.Text(1) = std::string("topic");
  row.Text(8) = std::string("кот");  // a column the table lacks: left out
  ASSERT_TRUE(writer.AddRow(row, error)) << error;
  ASSERT_TRUE(writer.Commit(false, error)) << error;
  EXPECT_EQ(Query(file, "SELECT rowid, * FROM FrRuDict"),
            (std::vector<std::string>{"int:7", "text:topic", "text:chat", "blob:ID3"}));
  EXPECT_EQ(Query(file, "PRAGMA page_size"), (std::vector<std::string>{"int:512"}));

  LessonWriterOptions bad;
  bad.columns = {13, 13};
  LessonWriter refused(folder.Path() / "bad.db", bad);
  EXPECT_FALSE(refused.Open(error));
  EXPECT_FALSE(refused.AddRow(row, error));
}

TEST_F(LessonWriterTest, InPlaceKeepsTheRestOfTheFileAndDropsUncommittedRows) {
  const fs::path file = folder.Path() / "kept.db";
  Execute(file,
          "PRAGMA journal_mode=WAL; CREATE TABLE Notes (a); INSERT INTO Notes VALUES ('n');"
          "CREATE TABLE FrRuDict (x); INSERT INTO FrRuDict VALUES ('old');");
  {
    LessonWriter abandoned(file);
    ASSERT_TRUE(abandoned.OpenInPlace(error)) << error;
    ASSERT_TRUE(abandoned.AddRow(Row("lost", sound), error));
  }
  EXPECT_EQ(Query(file, "SELECT * FROM FrRuDict"), (std::vector<std::string>{"text:old"}));

  LessonWriter writer(file);
  ASSERT_TRUE(writer.OpenInPlace(error)) << error;
  ASSERT_TRUE(writer.AddRow(Row("new", sound), error));
  ASSERT_TRUE(writer.Commit(false, error)) << error;
  EXPECT_EQ(Query(file, "SELECT FrWord FROM FrRuDict"), (std::vector<std::string>{"text:new"}));
  EXPECT_EQ(Query(file, "SELECT a FROM Notes"), (std::vector<std::string>{"text:n"}));
  EXPECT_EQ(Query(file, "PRAGMA journal_mode"), (std::vector<std::string>{"text:wal"}));
}

TEST_F(LessonWriterTest, UncommittedTemporaryFileLeavesNothingBehind) {
  const fs::path file = folder.Path() / "lesson.db";
  {
    LessonWriter writer(file);
    ASSERT_TRUE(writer.Open(error)) << error;
    ASSERT_TRUE(writer.AddRow(Row("a", sound), error));
  }
  EXPECT_TRUE(fs::is_empty(folder.Path()));
}

}  // namespace
}  // namespace verbaro::lesson
