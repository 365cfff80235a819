#pragma once
// Lesson files for the exam tests: real SQLite files with the table FrRuDict (columns by
// position: id, topic, grammar, number, word, three information lines, five translations,
// Mp3Word), written row by row into a scratch folder.
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace verbaro::examtest {

struct LessonRow {
  std::u16string grammar;
  std::u16string number;
  std::u16string word;
  std::vector<std::u16string> answers;  // up to five; empty texts leave a column empty
  std::u16string info1, info2, info3;
  std::vector<uint8_t> recording;       // empty: a few bytes that name the word
};

// A row with default information lines and a recording of its own bytes.
LessonRow Row(std::u16string word, std::u16string grammar, std::u16string number,
              std::vector<std::u16string> answers);

// The bytes a row gets when it brings no recording: distinct for every word, so tests can tell
// which row a recording came from. Sound stays off in the logic tests, so they are never decoded.
std::vector<uint8_t> RecordingOf(const std::u16string& word);

// The bytes of a real MP3 file from the test fixtures (tests/fixtures/mp3).
std::vector<uint8_t> Mp3Fixture(const std::string& name);

// Writes the lesson (rowids 1..N in row order) and returns its path. Throws on SQLite errors.
QString WriteLesson(const QString& path, const std::vector<LessonRow>& rows);

}  // namespace verbaro::examtest
