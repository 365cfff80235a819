#pragma once
// The SQLite collection inside an Anki package (schema 11), written to a file for export.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "lessonimport/ExportEntries.h"

namespace verbaro::lessonimport {

// `mediaNames[i]` is the name entry i's recording has in the package; `cards` is set to the
// number of cards made. False with `error`.
bool WriteAnkiCollection(const std::filesystem::path& file, const std::vector<ExportEntry>& entries,
                         const std::vector<std::string>& mediaNames, const std::string& deckName,
                         int64_t nowMs, size_t& cards, std::string& error);

}  // namespace verbaro::lessonimport
