#pragma once
// A lesson as an Anki package (.apkg) that Anki imports: the legacy collection
// "collection.anki2" (schema 11) with one note type of the fields French, Russian,
// Transcription, Notes and Sound and two card templates (French → Russian, Russian → French),
// one deck named after the lesson, one note and two new cards per entry, and the recordings as
// the package's numbered media with their JSON map.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "lessonimport/ExportEntries.h"

namespace verbaro::lessonimport {

// Text as Anki's HTML fields hold it: &, < and > escaped, line breaks as <br>.
std::string AnkiFieldText(std::string_view text);

// Anki's note checksum: the first 8 hex digits of the SHA-1 of the first field's plain text.
int64_t AnkiChecksum(std::string_view plainText);

// Writes the package; `nowMs` (milliseconds since 1970) gives the ids and times, `cards` is set to
// the number of cards. False with `error` (Russian), and nothing left behind.
bool WriteAnkiPackage(const std::vector<ExportEntry>& entries, const std::filesystem::path& package,
                      const std::string& deckName, bool replace, int64_t nowMs, size_t& cards,
                      std::string& error);

}  // namespace verbaro::lessonimport
