#pragma once
// `verbaro-lesson export`: a lesson out to a word list with its recordings, or to an Anki package.
#include <filesystem>
#include <ostream>

namespace verbaro::lessonimport {

struct ExportRequest {
  std::filesystem::path lesson;
  std::filesystem::path wordList;     // --tsv FILE: the list, and beside it a folder of recordings
  std::filesystem::path ankiPackage;  // --anki DECK.apkg
  bool replace = false;               // overwrite existing output
};

// Writes what is asked (one or both); the result to `out`, problems to `err`. Returns the exit
// status: 0 when everything asked was written. Never leaves a half-written file.
int ExportLesson(const ExportRequest& request, std::ostream& out, std::ostream& err);

}  // namespace verbaro::lessonimport
