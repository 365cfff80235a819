#pragma once
// An Anki package (.apkg, .colpkg) as a Source: a column per field name of its note types, a
// note per Anki note with its fields as plain text, its recordings and its tags.
#include <filesystem>
#include <optional>
#include <string>

#include "lessonimport/ImportSource.h"

namespace verbaro::lessonimport {

// Nothing, with `error` set (Russian), when the package cannot be read at all; notes that cannot
// be read are in the Source's problems. Cloze gaps are filled with their text ("le {{c1::chat}}"
// reads "le chat"). Reads the package only: nothing is written anywhere.
std::optional<Source> ReadAnkiPackage(const std::filesystem::path& package, std::string& error);

}  // namespace verbaro::lessonimport
