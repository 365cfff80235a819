#pragma once
// Which entries of the progress store the records of a lesson in play stand for, and the review
// lists made of those records: a mode shows records (a row, the rows of one word, or a reversed
// record of the "-2" modes), while the store keeps entries.
#include <cstdint>
#include <vector>

#include "data/LessonState.h"
#include "data/StudyMode.h"
#include "data/progress/LessonEntries.h"

namespace verbaro::progress {

class LessonProgress;

// The entries a record of `lesson` stands for: a reversed record its French entries, a record of
// the exams (which merge the rows of one word) every row of its word, any other record its row.
// Empty for an index outside the records.
std::vector<int> EntriesOfRecord(const LessonEntries& entries, const LessonState& lesson,
                                 int32_t record);

// The entries of the record the lesson shows now, at its place in its filter.
std::vector<int> ShownEntries(const LessonEntries& entries, const LessonState& lesson);

// The records of `records` ordered as their entries are in `ordered` (the store's order): a
// record takes the place of its best-placed entry; a record with none of them is left out.
std::vector<int32_t> RankRecords(const LessonEntries& entries, const LessonState& lesson,
                                 const std::vector<int32_t>& records,
                                 const std::vector<int>& ordered);

// The review filters of a lesson: its records (indexes in m_vWordsData) in the order the learner
// should meet them.
struct ReviewRecords {
  std::vector<int32_t> missed;
  std::vector<int32_t> due;
  std::vector<int32_t> hard;  // the hardest entries, hardest first
};

// The review lists of `mode` over the lesson's records (its filter «Все»), in the direction the
// mode's answers count for, which answering them pays back. Only a lesson with history has them:
// without it «На сегодня» would merely be the first new entries.
ReviewRecords ReviewOf(const LessonEntries& entries, const LessonProgress& progress,
                       const LessonState& lesson, StudyMode mode);

}  // namespace verbaro::progress
