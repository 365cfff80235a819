// Anki packages: any bytes as a package file, read as the import reads one, with every
// recording a note names read back; and the same bytes as a field's markup, a plain cell and a
// cloze field. The reader must refuse what it cannot read with a message, never more.
#include <algorithm>
#include <string>
#include <string_view>

#include "data/Text.h"
#include "fuzz/FuzzChecks.h"
#include "fuzz/FuzzSupport.h"
#include "lessonimport/AnkiPackage.h"
#include "lessonimport/ClozeText.h"
#include "lessonimport/MarkupText.h"

namespace {

using namespace verbaro::lessonimport;
using verbaro::fuzz::Require;

void CheckLines(const MarkupText& reduced, bool validInput) {
  const std::string& text = reduced.text;
  Require(text.find("\n\n") == std::string::npos, "no empty line");
  Require(text.empty() || (text.front() != ' ' && text.back() != ' ' && text.front() != '\n' &&
                           text.back() != '\n'),
          "trimmed");
  Require(text.find(" \n") == std::string::npos && text.find("\n ") == std::string::npos,
          "lines trimmed");
  Require(!validInput || verbaro::IsValidUtf8(text), "valid UTF-8 in, valid UTF-8 out");
  for (const std::string& sound : reduced.sounds) Require(!sound.empty(), "a recording has a name");
}

void ReadPackage(const uint8_t* data, size_t size) {
  const std::string file = verbaro::fuzz::ScratchFolder() + "/input.apkg";
  verbaro::fuzz::WriteFileBytes(file, data, size);
  std::string error;
  const std::optional<Source> source = ReadAnkiPackage(file, error);
  if (!source) {
    Require(!error.empty(), "a refusal says why");
    return;
  }
  Require(!source->notes.empty() || !source->problems.empty(), "something read or reported");
  int reads = 0;
  for (const SourceNote& note : source->notes) {
    Require(note.cells.size() == source->columns.size(), "a cell per column");
    Require(note.sounds.size() == source->columns.size(), "a recording slot per column");
    Require(note.place.starts_with("заметка "), "the place of a note");
    for (const std::string& cell : note.cells)
      Require(cell.size() <= kMaxCellBytes, "cells within the limit");
    for (const std::string& sound : note.sounds) {
      if (sound.empty() || ++reads > 8) continue;
      Require(source->media != nullptr, "recordings named, media there");
      std::string why;
      const auto bytes = source->media->Read(sound, why);
      Require(bytes ? bytes->size() <= kMaxMediaBytes : !why.empty(),
              "a recording within the limit or a reason");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadPackage(data, size);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool valid = verbaro::IsValidUtf8(text);
  CheckLines(ReduceMarkup(text), valid);
  CheckLines(ReduceSoundTags(text), valid);
  Require(FillClozeGaps(text).size() <= size, "gaps filled take no more room");
  return 0;
}
