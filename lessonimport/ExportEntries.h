#pragma once
// The entries of a lesson as the trainer reads them, for export: one per row of the lesson, in
// its order, texts in UTF-8 and a reference to the recording, whose bytes are read from the
// lesson when they are written out, one at a time, so that a lesson of any size exports in the
// memory of its texts.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "data/Mp3Recording.h"

namespace verbaro::lessonimport {

struct ExportEntry {
  int row = 0;  // from 1, as the trainer's messages number rows
  std::string grammar;
  std::string number;
  std::string word;
  std::string info1;
  std::string info2;
  std::string info3;
  std::vector<std::string> translations;  // the non-empty ones, in the lesson's order
  Mp3Recording recording;                 // null or of size 0 when the row has no sound

  bool HasRecording() const { return !recording.IsNull() && recording.Size() > 0; }
  // The bytes, or nothing with `error` set when they can no longer be read.
  std::optional<std::vector<uint8_t>> ReadRecording(std::string& error) const;
};

// Nothing, with `error` set to what the trainer would say (Russian), when the trainer would not
// open the lesson whole.
std::optional<std::vector<ExportEntry>> ReadExportEntries(const std::filesystem::path& lesson,
                                                          std::string& error);

// "0007_maison.mp3": the entry's place and its word in letters that every file system and
// Anki's media folder take (accents dropped, anything else '_'), unique by the place.
std::string RecordingFileName(size_t place, size_t placeCount, std::string_view word);

}  // namespace verbaro::lessonimport
