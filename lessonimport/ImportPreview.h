#pragma once
// What an import would give, as one JSON object for the trainer's import window: the columns and
// which side is which, the counts, the first entries as they will be studied, the warnings.
#include <string>

#include "lessonimport/ColumnRoles.h"
#include "lessonimport/ImportPlan.h"
#include "lessonimport/ImportSource.h"

namespace verbaro::lessonimport {

// As many entries as the window shows before the import.
inline constexpr size_t kPreviewEntries = 50;

// How an entry's recording will be made, guessed without reading it: "given" (an MP3),
// "convert" (other audio) or "voice".
std::string RecordingKindOf(const ImportedEntry& entry);

std::string PreviewJson(const Source& source, const ColumnRoles& roles, const ImportPlan& plan);

}  // namespace verbaro::lessonimport
