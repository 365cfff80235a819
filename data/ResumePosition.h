#pragma once
// Finding again the entry a view was left at, in a filter whose order may have changed since
// (a review filter is computed afresh at each opening, a lesson may have been rebuilt). An entry
// is known by its head word and, as a lesson may hold the same head word on several rows, by
// its occurrence: how many records with that head word come before it in the lesson.
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/WordsData.h"

namespace verbaro {

// How many records before `record` have its head word; -1 when `record` is not a record.
int32_t HeadWordOccurrence(const std::vector<WordsData>& records, int32_t record);

// The position in `filter` (indexes into `records`) of the entry left at `position` with head
// word `keyWord`, its occurrence being `occurrence` (-1: not known, as in a place kept before
// occurrences were). The same record first: at `position` when it is still there, else where it
// is now. Then the head word alone: at `position`, else its first row in the filter. Else 0.
int32_t ResumePosition(const std::vector<WordsData>& records, const std::vector<int32_t>& filter,
                       int32_t position, std::u16string_view keyWord, int32_t occurrence);

}  // namespace verbaro
