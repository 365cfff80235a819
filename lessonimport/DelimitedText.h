#pragma once
// CSV and TSV tables as spreadsheets save them and as Anki exports notes in plain text, as a
// Source: a column per field, named by Anki's "#columns:" header, by a first row of headings
// or by number; each record a note placed by the line where it starts.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "lessonimport/ImportSource.h"

namespace verbaro::lessonimport {

// Nothing, with `error` set (Russian), when the file cannot be read as text.
std::optional<Source> ReadDelimitedText(const std::filesystem::path& file, std::string& error);

// True when `text` is a single name of an audio file (".mp3", ".ogg", ".oga", ".opus", ".flac",
// ".wav", ".m4a", in any case): a cell holding only that names the column's recording.
bool IsAudioFileName(std::string_view text);

}  // namespace verbaro::lessonimport
