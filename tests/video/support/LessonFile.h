#pragma once
// Writes real lesson files for the Video tests: an SQLite database with the table FrRuDict,
// columns in the order the reader takes them by position, rowids 1..N in row order.
#include <cstdint>
#include <string>
#include <vector>

namespace verbaro::test {

struct LessonRow {
  std::u16string gram;    // grammar code, position 2
  std::u16string number;  // number code, position 3
  std::u16string key;     // the foreign word or phrase, position 4
  std::vector<std::u16string> translations;  // up to five, positions 8 to 12
  std::vector<uint8_t> mp3;                  // the Mp3Word BLOB
};

// Creates (or replaces) the lesson file at path; fails the current test on any SQLite error.
void WriteLesson(const std::string& path, const std::vector<LessonRow>& rows);

// The bytes of a file; fails the current test when it cannot be read.
std::vector<uint8_t> ReadBytes(const std::string& path);
// A recording of the shared test fixtures (tests/fixtures/mp3).
std::vector<uint8_t> SharedMp3(const std::string& name);
// A recording of this folder's fixtures (tests/video/fixtures).
std::vector<uint8_t> VideoMp3(const std::string& name);

}  // namespace verbaro::test
