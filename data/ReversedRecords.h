#pragma once
// The reversal that the "-2" views and Exam-2 share: each translation, under its extended key,
// becomes a record whose key word is the translation and whose answers are the foreign words of
// the rows that have it, with all their recordings, in row order.
#include <vector>

#include "data/ExtendedKeys.h"
#include "data/WordsData.h"

namespace verbaro {

// One record per run of equal keys of the sorted `keys` (made from `rows`, one per translation),
// in key order. Key, grammar and number are those of the first row of the run; the text lines
// stay empty. The rows are consumed: each translation and, at its last use, each row's foreign
// word and recordings are moved into the records, so that nothing is copied that need not be.
std::vector<WordsData> ReverseRows(std::vector<WordsData>& rows, const ExtendedKeys& keys,
                                   const std::vector<ExtendedKeys::Run>& runs);

}  // namespace verbaro
