#pragma once
// Which column of a source gives the French word, which the Russian translations, and which the
// three information lines, the grammar and the number codes.
#include <optional>
#include <string>
#include <vector>

#include "lessonimport/ImportSource.h"
#include "lessonimport/Languages.h"

namespace verbaro::lessonimport {

// The learner's choice of sides: a column's name or its number from 1; empty: found by the
// source's own language tags, else by the letters of the texts.
struct SideChoice {
  std::string french;
  std::string russian;
};

struct ColumnRoles {
  int french = -1;
  int russian = -1;
  int transcription = -1;  // information line 1
  int comment = -1;        // information line 2
  int example = -1;        // information line 3
  int grammar = -1;
  int number = -1;
  // Another column could as well be the French or the Russian side: the choice is the
  // learner's to check.
  bool ambiguous = false;
  std::vector<Language> languages;  // per column, as found
};

// The roles, or nothing with `error` (Russian) when the source has no French or no Russian side
// (the message names the languages it found) or a choice names no column.
std::optional<ColumnRoles> AssignColumns(const Source& source, const SideChoice& choice,
                                         std::string& error);

}  // namespace verbaro::lessonimport
