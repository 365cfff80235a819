#pragma once
// The word list a lesson is built from: UTF-8 text, one entry a line, fields separated by tabs:
//   grammar, number, word, info1, info2, info3, translation 1 [..translation 5] [, file.mp3]
// Lines starting with '#' and blank lines are skipped. The last field is taken as the recording
// when it ends in ".mp3"; a relative path is resolved against the folder of the list.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/LessonTable.h"

namespace verbaro::lesson {

// As many as the lesson table has columns for.
inline constexpr size_t kMaxTranslations = kTranslationColumnCount;

struct LessonEntry {
  int lineNumber = 0;
  std::string grammar;
  std::string number;
  std::string word;
  std::string info1;
  std::string info2;
  std::string info3;
  std::vector<std::string> translations;  // 1 to 5, none of them empty
  std::filesystem::path mp3Path;          // empty: the word is spoken by the French voice
};

struct LineProblem {
  int lineNumber = 0;
  std::string message;  // in Russian, without the line number
};

struct WordList {
  std::vector<LessonEntry> entries;
  std::vector<LineProblem> problems;
};

// Parses the whole list. Every bad line is reported; good lines are kept in order.
WordList ParseWordList(std::string_view text, const std::filesystem::path& listFolder);

// "строка N: message", the form in which problems are shown to the learner.
std::string FormatProblem(const LineProblem& problem);

}  // namespace verbaro::lesson
