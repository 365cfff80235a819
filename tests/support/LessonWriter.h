#pragma once
// Lesson files for the tests: real SQLite files with the table FrRuDict, written row by row by
// the lesson writer so that each row can carry exactly the flaw a test is about. Plain C++ and
// SQLite, no Qt.
//
// The table has the lesson's own shape (data/LessonTable.h). Tables of any other shape (fewer
// columns, other names or order) are made with WriteDatabase.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "lessonwriter/LessonWriter.h"

namespace verbaro::test {

// What the Mp3Word column of a row holds: Bytes, Null, Integer (42) or Text.
using RecordingKind = lesson::RecordingKind;

// Brace-initialised in this order: {gram, number, key, {translations...}, recording}; the
// members left out keep the defaults given here.
struct LessonRow {
  std::u16string gram{};
  std::u16string number{};
  std::u16string key{};
  std::vector<std::u16string> translations{};  // up to five, from position 8; the rest stay empty
  std::vector<uint8_t> recording{};
  std::u16string info1{};
  std::u16string info2{};
  std::u16string info3{};
  RecordingKind recordingKind = RecordingKind::Bytes;
  bool nullTexts = false;  // every text column, positions 2 to 12, NULL
  std::optional<int64_t>
      rowid{};  // by default the row's place in the list, from 1 (id is the same)
};

// Creates the file if need be and (re)creates FrRuDict in it with the rows, in list order.
// Anything else in the file, such as its journal mode, is kept. Throws on any SQLite error.
void WriteLesson(const std::filesystem::path& file, const std::vector<LessonRow>& rows);

// Writes a new lesson beside the file and renames it over the file, as `verbaro-lesson build
// --replace` does: a program that has the old file open keeps the old file.
void RebuildLesson(const std::filesystem::path& file, const std::vector<LessonRow>& rows);

// Creates the file if need be and runs the SQL statements on it. Throws on any SQLite error.
void WriteDatabase(const std::filesystem::path& file, const std::string& sql);

// n bytes derived from seed: a recording that tests compare but never decode.
std::vector<uint8_t> Recording(size_t n, uint8_t seed);

// Rows "mot1".."motN", each a masculine singular noun with the one translation "слово1".. and
// the short real recording.
std::vector<LessonRow> NumberedRows(int count);

}  // namespace verbaro::test
