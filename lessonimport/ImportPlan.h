#pragma once
// The lesson entries that a source gives, once its columns have their roles: one entry per note
// with a French word and a Russian translation; notes of the same word merged; what cannot be
// studied (nothing to type, a character no key gives) set aside with the reason and the note.
#include <string>
#include <vector>

#include "lessonimport/ColumnRoles.h"
#include "lessonimport/ImportSource.h"

namespace verbaro::lessonimport {

struct ImportedEntry {
  std::string place;  // the first note it came from: "заметка 7"
  std::string grammar;
  std::string number;
  std::string word;
  std::string info1;                      // transcription
  std::string info2;                      // comment
  std::string info3;                      // example
  std::vector<std::string> translations;  // 1 to 5
  std::string sound;  // the recording the source gives (a media reference), or empty
};

struct ImportPlan {
  std::vector<ImportedEntry> entries;
  size_t merged = 0;                 // notes folded into an earlier entry of the same word
  std::vector<std::string> skipped;  // "заметка 7: нет французского слова"
  std::vector<std::string> warnings;  // kept entries the learner should know about
};

ImportPlan PlanEntries(const Source& source, const ColumnRoles& roles);

}  // namespace verbaro::lessonimport
