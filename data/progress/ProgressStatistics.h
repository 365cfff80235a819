#pragma once
// The numbers behind the statistics of a lesson's progress, as plain values.
#include <cstdint>
#include <string>
#include <vector>

namespace verbaro::progress {

// The entries of a lesson in one direction by their memory state.
struct EntryCounts {
  int fresh = 0;     // asked in this direction and never answered there (with a grade)
  int learning = 0;  // answered, stability under 21 days
  int learnt = 0;    // stability of 21 days or more
  int due = 0;       // answered and due today or earlier
  // «На сегодня» in the records of the direction's modes, as the Filters menu counts it: the
  // records with an entry due, and those with only new entries (at most 20 new entries a day).
  int todayDue = 0;
  int todayNew = 0;
  int answers = 0;        // graded answers ever given in this direction in this lesson
  int firstTryRight = 0;  // of them, right at the first try (typed without error, exam right)
};

// Answers on one day (days are local calendar days, see LocalDay).
struct DayActivity {
  int64_t day = 0;
  int answers = 0;
  int firstTryRight = 0;
};

struct StudyStreaks {
  int current = 0;  // days in a row with answers up to today (or up to yesterday, today still open)
  int longest = 0;
};

// An entry that gives the learner trouble.
struct HardEntry {
  int entry = 0;   // index into the lesson's keys
  int lapses = 0;  // times forgotten (Again) after it was first answered
  int misses = 0;  // answers with an error
  double stability = 0;
};

// How often one character was typed for another.
struct CharacterMiss {
  std::u16string expected;
  std::u16string typed;
  int count = 0;
};

// One graded or exposure row of the answer log, for export.
struct AnswerLogRow {
  int64_t at = 0;       // seconds since 1970 UTC
  int entry = 0;        // index into the lesson's keys
  int direction = 1;    // 1 Forward, 2 Reverse
  std::u16string kind;  // "typing", "exam", "exposure", "practice" (typed with the word in sight)
  int grade = 0;        // 1..4, 0 for exposure and practice
  int wrongKeystrokes = 0;
  int64_t milliseconds = 0;
};

}  // namespace verbaro::progress
