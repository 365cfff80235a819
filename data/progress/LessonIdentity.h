#pragma once
// Which lesson of the store a list of entries is: the same list (a copy, a moved file) by its
// fingerprint, a rebuilt lesson by the overlap of its entries with a known one.
#include <cstdint>
#include <string>
#include <vector>

#include "data/progress/ProgressTypes.h"

namespace verbaro::progress {

class StoreDatabase;

struct LessonIdentity {
  int64_t lessonId = 0;           // 0: not known and not recorded (the store cannot write)
  std::vector<int64_t> entryIds;  // per key; 0 for an entry the store does not know
};

// A hash of the ordered keys; equal lists give equal fingerprints.
int64_t LessonFingerprint(const std::vector<EntryKey>& keys);

// Finds the lesson (and records it, its entries and the path when the store can write).
// A known lesson is taken when more than half of the larger of the two entry lists is shared.
LessonIdentity IdentifyLesson(StoreDatabase& db, const std::vector<EntryKey>& keys,
                              const std::string& path);

// For the answers of another machine, in the caller's transaction: the entry's id, recorded
// when new (0 when it cannot be written), and the lesson of exactly these entries, recorded with
// no path when this machine has never opened it (0 on failure).
int64_t RecordEntry(StoreDatabase& db, const EntryKey& key);
int64_t RecordLessonFromElsewhere(StoreDatabase& db, const std::vector<EntryKey>& keys,
                                  const std::vector<int64_t>& entryIds);

}  // namespace verbaro::progress
