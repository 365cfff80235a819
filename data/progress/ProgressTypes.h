#pragma once
// The plain values that pass between the trainer and the learner's progress store: which entry,
// which way it is studied and what the learner did.
#include <cstdint>
#include <string>
#include <vector>

#include "data/StudyMode.h"

namespace verbaro::progress {

// Which way an entry is studied. The "-1" modes go from the French word to its translation; the
// "-2" modes from a translation to the French words that share it, and what the learner does
// there counts for each of those French entries in the Reverse direction.
enum class Direction : int { Forward = 1, Reverse = 2 };

// A mode's own direction: the "-2" modes study in reverse.
Direction DirectionOfMode(StudyMode mode);

// What an answer was worth, as the program grades it; the learner never grades.
enum class Grade : int { Again = 1, Hard = 2, Good = 3, Easy = 4 };

// An entry of a lesson, known by its content wherever the lesson file lies: the French word with
// its grammar and number codes; a second entry with the same three gets occurrence 1, and so on.
struct EntryKey {
  std::u16string word;
  std::u16string gram;
  std::u16string number;
  int occurrence = 0;
  bool operator==(const EntryKey&) const = default;
};

// One wrong keystroke while typing: the character the entry wanted and the one typed.
struct MissedCharacter {
  std::u16string expected;
  std::u16string typed;
  bool operator==(const MissedCharacter&) const = default;
};

// An entry typed through to its end in a Conspect mode.
struct TypingResult {
  int characters = 0;                   // length of the typed text
  int wrongKeystrokes = 0;              // keystrokes that turned the line red
  std::vector<MissedCharacter> misses;  // the wrong keystrokes that typed a character
  int64_t milliseconds = 0;             // from the entry shown to its last character typed
  // Typed from memory: the word block stayed hidden from the entry's showing to its last
  // character, and the translations, which the word is recalled from, were in sight. Only such
  // typing is graded; typed with the word in sight (a peek included) it is practice.
  bool fromMemory = false;
};

// An answer to one exam question.
enum class ExamAnswer { RightFirstTry, Wrong, Refused };

// The records an exam asked: one of the lesson's own filters by its place among them (0 is the
// first), or one of the review lists.
struct ExamFilter {
  enum class Kind : int { Lesson = 0, Missed = 1, Due = 2, Hard = 3 };
  Kind kind = Kind::Lesson;
  int index = 0;  // the lesson filter's place; 0 for a review list
  bool operator==(const ExamFilter&) const = default;
};

// A finished exam: the numbers of its statistics box, with its mode and filter.
struct ExamResult {
  StudyMode mode = StudyMode::Conspect1;
  ExamFilter filter;
  std::u16string filterName;  // the filter's menu text
  int right = 0;
  int wrong = 0;
  int hints = 0;
};

// A finished exam as kept, with the second it ended.
struct ExamRecord {
  int64_t at = 0;
  ExamResult result;
};

}  // namespace verbaro::progress
