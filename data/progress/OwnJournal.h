#pragma once
// This machine's journal: every answer and exam result recorded under its ids, oldest first,
// with the lessons and entries they name. Kept between writings, so that a new writing reads
// only the rows recorded since (the rows of a store only grow, but for a forgotten lesson:
// then it is read whole again).
#include <cstdint>
#include <string>
#include <unordered_map>

#include "data/progress/SyncFile.h"

namespace verbaro::progress {

class StoreDatabase;

struct OwnJournal {
  SyncJournal journal;
  // Where the store's rows stand in the journal's tables.
  std::unordered_map<int64_t, uint32_t> originIndex;
  std::unordered_map<int64_t, uint32_t> entryIndex;
  std::unordered_map<int64_t, uint32_t> lessonIndex;
  int64_t origin = 0;   // the store's current id's origin when read; 0: not read yet
  int64_t lastSeq = 0;  // the highest number of that origin in the journal
  int64_t rows = 0;     // answers and exam results in the journal
};

// Brings `own` up to the store's rows, with this header; `changed` tells whether rows came or
// went. False when the store cannot be read (or has no id yet).
bool RefreshOwnJournal(StoreDatabase& db, const std::string& machineName, int64_t writtenAt,
                       OwnJournal& own, bool& changed);

// The whole journal, read afresh.
bool BuildOwnJournal(StoreDatabase& db, const std::string& machineName, int64_t writtenAt,
                     SyncJournal& journal);

}  // namespace verbaro::progress
