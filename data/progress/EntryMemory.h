#pragma once
// What the store derives from the answer log for one entry in one direction, and how one graded
// answer moves it. The answer log alone is the record: RebuildMemory derives it all again.
#include <cstdint>
#include <optional>

#include "data/progress/Fsrs.h"

namespace verbaro::progress {

class StoreDatabase;

struct EntryMemory {
  MemoryState state;
  int64_t firstDay = 0;  // of the first graded answer
  int64_t lastDay = 0;   // of the last one
  int64_t dueDay = 0;
  int64_t reps = 0;
  int64_t lapses = 0;   // Again after the first answer
  int64_t misses = 0;   // answers with an error
  bool missed = false;  // the last answer had an error
  int64_t lastMissAt = 0;
  bool operator==(const EntryMemory&) const = default;
};

// After a graded answer at second `at` of day `day`. An answer is right at the first try exactly
// when its grade is Good or Easy (typed without error, or right in an exam).
EntryMemory AfterAnswer(const Fsrs& fsrs, const std::optional<EntryMemory>& before, Grade grade,
                        int64_t day, int64_t at);

// The stored memory; nullopt for an entry never graded, and *ok false when it cannot be read.
std::optional<EntryMemory> ReadEntryMemory(StoreDatabase& db, int direction, int64_t entryId,
                                           bool* ok);
bool WriteEntryMemory(StoreDatabase& db, int direction, int64_t entryId, const EntryMemory& memory);

// The answers of the log are taken in time order, then by the machine that recorded them and its
// sequence, so that every machine derives the same memory from the same answers whatever order
// they arrived in.
// Replaces every memory state by the one the answer log gives, in the caller's transaction.
bool RederiveMemory(StoreDatabase& db);
// Derives the memory of one entry in one direction again from its answers, in the caller's
// transaction (an entry without graded answers has none).
bool ReplayEntryMemory(StoreDatabase& db, int direction, int64_t entryId);

}  // namespace verbaro::progress
