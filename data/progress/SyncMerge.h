#pragma once
// The merge of another machine's journal (SyncFile.h) into the store.
//
// The merge is a union by global id (origin and sequence): whatever the order in which
// journals arrive and however often one is merged, every machine ends with the same rows. What
// is derived from the rows comes out as if they had been recorded here: the memory of every
// entry touched is derived again from all its answers in time order, the day's totals and the
// missed characters grow by the new rows.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/progress/SyncFile.h"

namespace verbaro::progress {

class StoreDatabase;

// What one journal brought.
struct MergeCounts {
  int64_t answers = 0;
  int64_t exams = 0;
};

// Adds to the store the rows of the journal it does not have yet, in transactions of at most
// `rowsPerTransaction` rows, so that the trainer's own answers, written by another connection,
// never wait long for one. Rows numbered at or below what the store already took from their
// origin are skipped: those it has, or forgot on purpose. False when the store cannot be
// written (the parts committed before stay; the next merge takes the rest).
inline constexpr size_t kRowsPerTransaction = 20000;
bool MergeJournal(StoreDatabase& db, const SyncJournal& journal, MergeCounts& counts,
                  size_t rowsPerTransaction = kRowsPerTransaction);

}  // namespace verbaro::progress
