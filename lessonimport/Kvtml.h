#pragma once
// KVTML 2 vocabulary files as KWordQuiz and Parley write them, as a Source: per language its
// words, and its transcriptions, comments and examples where entries have them; the grammar and
// number codes from the word types; the recordings the translations name; the lessons as tags.
// Each entry is placed as "запись N", N counting the file's entries from 1.
#include <filesystem>
#include <optional>
#include <string>

#include "lessonimport/ImportSource.h"

namespace verbaro::lessonimport {

// Nothing, with `error` set (Russian), when the file cannot be read as KVTML 2.
std::optional<Source> ReadKvtml(const std::filesystem::path& file, std::string& error);

// The lesson grammar and number codes of a KVTML special word type: "noun/male" -> {"m", "s"},
// "verb" -> {"v", ""}; both empty for a type that gives none.
std::pair<std::string, std::string> GrammarOfWordType(std::string_view type);

}  // namespace verbaro::lessonimport
