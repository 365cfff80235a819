#pragma once
// Reads a source of words with the reader its format needs: by the file's extension, else by
// its first bytes.
#include <filesystem>
#include <optional>
#include <string>

#include "lessonimport/ImportSource.h"

namespace verbaro::lessonimport {

std::optional<Source> ReadSource(const std::filesystem::path& file, std::string& error);

}  // namespace verbaro::lessonimport
