// Another machine's journal file: any bytes as its body, inside a header and a check that hold,
// so that the reader's bounds are what is tried (a file whose check fails is refused before
// its body is read). A journal read whole must come out of the writer and the reader again the
// same, with every index inside its table.
#include <string>

#include "data/progress/SyncFile.h"
#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace verbaro::progress;
  using verbaro::fuzz::Require;
  const std::string body(reinterpret_cast<const char*>(data), size);
  std::string file = "VERBSYNC";
  file.push_back(static_cast<char>(kJournalVersion));
  for (int i = 0; i < 8; ++i) file.push_back(static_cast<char>((uint64_t{size} >> (8 * i)) & 0xFF));
  file += body;
  const uint32_t crc = Crc32(file);
  for (int i = 0; i < 4; ++i) file.push_back(static_cast<char>((crc >> (8 * i)) & 0xFF));

  SyncJournal journal;
  const JournalState state = DecodeJournal(file, journal);
  SyncJournal header;
  Require(DecodeJournalHeader(file, header) == JournalState::Whole || state != JournalState::Whole,
          "a whole journal has a whole header");
  // Any bytes as the whole file, too: never more than a refusal.
  SyncJournal raw;
  DecodeJournal(body, raw);
  if (state != JournalState::Whole) return 0;

  for (const JournalAnswer& answer : journal.answers) {
    Require(answer.origin < journal.origins.size(), "an answer's origin is in the table");
    Require(answer.entry < journal.entries.size(), "an answer's entry is in the table");
    Require(answer.lesson < journal.lessons.size(), "an answer's lesson is in the table");
  }
  for (const JournalLesson& lesson : journal.lessons) {
    for (const uint32_t entry : lesson.entries)
      Require(entry < journal.entries.size(), "lesson entry");
  }
  SyncJournal again;
  Require(DecodeJournal(EncodeJournal(journal), again) == JournalState::Whole,
          "written again, read");
  Require(again.answers == journal.answers && again.exams == journal.exams &&
              again.entries == journal.entries && again.origins == journal.origins &&
              again.machineName == journal.machineName && again.writtenAt == journal.writtenAt,
          "the same journal after writing and reading");
  return 0;
}
