#pragma once
// The recording of every imported entry: the source's own (kept or converted), else the French
// voice. A recording that cannot be used is replaced by the voice, and the entry is named.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lessonimport/ImportPlan.h"
#include "lessonimport/ImportSource.h"

namespace verbaro::lessonimport {

struct EntryRecordings {
  std::vector<std::vector<uint8_t>> mp3;  // per entry, in order
  size_t given = 0;                       // the source's MP3 as it was
  size_t converted = 0;                   // the source's audio encoded to MP3
  size_t voiced = 0;                      // the French voice
  std::vector<std::string>
      warnings;  // "заметка 7: запись «a.ogg» не принята (...); слово озвучено"
  std::vector<std::string> errors;  // entries left without any recording
};

// Called as each recording is ready: how many are, of how many.
using RecordingProgress = std::function<void(size_t done, size_t total)>;

// Reads and converts the given recordings on every core, then voices the rest in worker
// processes. `media` may be null when no entry has a sound.
EntryRecordings MakeEntryRecordings(const std::vector<ImportedEntry>& entries,
                                    const SourceMedia* media, const RecordingProgress& progress);

}  // namespace verbaro::lessonimport
