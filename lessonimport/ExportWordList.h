#pragma once
// A lesson as the word list the builder reads (README "The word list"): one line per entry and a
// folder beside the list, "<list's stem>_mp3", with each entry's recording, named in the line's
// last field. Building the list again gives the same entries and the same recordings.
#include <filesystem>
#include <string>
#include <vector>

#include "lessonimport/ExportEntries.h"

namespace verbaro::lessonimport {

struct WordListCheck {
  std::vector<std::string> errors;  // entries the list cannot carry: "строка 7 урока: ..."
  std::vector<std::string> warnings;  // entries the builder will read differently
};

// What stands in the way of the list giving back exactly these entries.
WordListCheck CheckWordList(const std::vector<ExportEntry>& entries, const std::string& folderName);

// "<stem>_mp3" beside `list`.
std::string RecordingFolderName(const std::filesystem::path& list);

// The list's text; recording i is named RecordingFileName(i + 1, ...) inside `folderName`.
std::string WordListText(const std::vector<ExportEntry>& entries, const std::string& folderName,
                         const std::string& lessonName);

// Writes the list and its folder; false with `error` (Russian), and nothing left behind.
bool WriteWordList(const std::vector<ExportEntry>& entries, const std::filesystem::path& list,
                   const std::string& lessonName, bool replace, std::string& error);

}  // namespace verbaro::lessonimport
