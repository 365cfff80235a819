#pragma once
// What every Source read from a text file keeps, whatever the bytes: a cell and a sound per
// column in every note, texts within the cell limit and in well-formed UTF-8, every note and
// problem placed, a reader for the recordings whenever a note names one; and a reason whenever
// nothing was read.
#include <optional>
#include <string>

#include "data/Text.h"
#include "fuzz/FuzzChecks.h"
#include "lessonimport/ImportSource.h"

namespace verbaro::fuzz {

inline void CheckTextSource(const std::optional<lessonimport::Source>& source,
                            const std::string& error, const std::string& placeWord) {
  if (!source) {
    Require(!error.empty() && IsValidUtf8(error), "a refusal gives its reason");
    return;
  }
  for (const lessonimport::SourceColumn& column : source->columns)
    Require(IsValidUtf8(column.name) && IsValidUtf8(column.language), "column names are UTF-8");
  bool anySound = false;
  for (const lessonimport::SourceNote& note : source->notes) {
    Require(note.cells.size() == source->columns.size(), "a cell per column");
    Require(note.sounds.size() == source->columns.size(), "a sound per column");
    Require(note.place.rfind(placeWord, 0) == 0, "every note is placed");
    for (const std::string& cell : note.cells) {
      Require(cell.size() <= lessonimport::kMaxCellBytes, "cells within the limit");
      Require(IsValidUtf8(cell), "cells are UTF-8");
    }
    for (const std::string& sound : note.sounds) anySound |= !sound.empty();
  }
  for (const std::string& problem : source->problems)
    Require(problem.rfind(placeWord, 0) == 0 && IsValidUtf8(problem), "every problem is placed");
  Require(!anySound || source->media != nullptr, "recordings named can be read");
}

}  // namespace verbaro::fuzz
