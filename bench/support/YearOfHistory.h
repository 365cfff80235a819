#pragma once
// A year of study written into a progress store, as the trainer would have written it: most days
// studied (with gaps, and a streak up to now), typing with the usual accent and letter slips in
// both directions, exam answers and finished exams. Deterministic: the same seed gives the same
// history. For the statistics benchmark and the screenshots of the statistics window.
#include <cstdint>
#include <string>
#include <vector>

#include "data/progress/ProgressTypes.h"

namespace verbaro::bench {

struct HistorySize {
  int days = 365;
  int newEntriesPerDay = 30;
  int answersPerDay = 60;  // on average, on a day studied
};

// Writes the history of the lesson with these keys into the store at storePath, ending on the
// day of `now` (seconds since 1970); returns the number of answers written.
int WriteYearOfHistory(const std::string& storePath, const std::vector<progress::EntryKey>& keys,
                       const std::string& lessonPath, int64_t now, HistorySize size = {});

}  // namespace verbaro::bench
