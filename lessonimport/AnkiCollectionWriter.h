#pragma once
// The SQLite collection inside an Anki package (schema 11), written to a file for export.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "lessonimport/ExportEntries.h"

namespace verbaro::lessonimport {

// `mediaNames[i]` is the name entry i's recording has in the package. False with `error`.
bool WriteAnkiCollection(const std::filesystem::path& file, const std::vector<ExportEntry>& entries,
                         const std::vector<std::string>& mediaNames, const std::string& deckName,
                         int64_t nowMs, std::string& error);

}  // namespace verbaro::lessonimport
