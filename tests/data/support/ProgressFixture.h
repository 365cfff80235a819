#pragma once
// A progress store in a scratch folder, on a clock the test moves, with lessons of generated
// entries.
#include <memory>
#include <string>
#include <vector>

#include "data/progress/ProgressStore.h"
#include "tests/fakes/core/FakeClock.h"
#include "tests/support/TempFolder.h"

namespace verbaro::test {

// Noon UTC of a Monday, so that whole days added stay on one calendar date in any time zone
// within twelve hours of UTC.
inline constexpr int64_t kMondayNoon = 1'764'590'400;  // 2025-12-01 12:00 UTC
inline constexpr int64_t kDay = 86'400;

struct ProgressFixture {
  TempFolder folder;
  FakeClock clock;
  std::string path = (folder.Path() / "verbaro" / "progress.sqlite").string();

  ProgressFixture() { clock.seconds = kMondayNoon; }
  std::unique_ptr<progress::ProgressStore> Open() const {
    return progress::ProgressStore::Open(path, clock);
  }
  void NextDay(int days = 1) { clock.seconds += days * kDay; }
};

// Entries "mot0", "mot1", ... (masculine singular nouns), from `first` on.
std::vector<progress::EntryKey> Words(int count, int first = 0);

progress::TypingResult Typed(int wrongKeystrokes, int64_t milliseconds = 10'000);

// One query's rows read from the store's file, columns separated by spaces, rows by new lines.
std::string Rows(const std::string& path, const char* sql);
// Turns a store of this version back into the shape the trainer wrote before answers could
// travel between machines (schema version 2), history included.
void ToSecondVersion(const std::string& path);
// ... and into the shape before an exam's filter was named by its kind (schema version 3).
void ToThirdVersion(const std::string& path);
// Every memory row as text, with the stability and difficulty to the last bit.
std::string MemoryTable(const std::string& path);

}  // namespace verbaro::test
