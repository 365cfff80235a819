#pragma once
// Lesson rows for the exam tests, written with the shared lesson writer: every row brings
// information lines and a recording of its own, so that tests can tell rows apart.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/Files.h"
#include "tests/support/LessonWriter.h"

namespace verbaro::examtest {

using test::LessonRow;
using test::Mp3Fixture;

// A row with the information lines "[word]", "info2", "info3" and the recording RecordingOf(word).
LessonRow Row(std::u16string word, std::u16string grammar, std::u16string number,
              std::vector<std::u16string> answers);

// A few bytes that name the word: distinct for every word, so tests can tell which row a
// recording came from. Sound stays off in the logic tests, so they are never decoded.
std::vector<uint8_t> RecordingOf(const std::u16string& word);

}  // namespace verbaro::examtest
