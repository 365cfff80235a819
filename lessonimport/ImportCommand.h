#pragma once
// `verbaro-lesson import`: a source of words in, a lesson file out, with a report of what came
// in, what was merged, skipped, converted and voiced.
#include <filesystem>
#include <ostream>

#include "lessonimport/ColumnRoles.h"
#include "lessonimport/ImportSource.h"

namespace verbaro::lessonimport {

struct ImportRequest {
  std::filesystem::path source;
  std::filesystem::path lesson;  // empty: beside the source, its name with ".db"
  bool replace = false;          // overwrite an existing lesson file
  SideChoice sides;
  bool preview = false;   // print what the import would give (JSON) and write nothing
  bool progress = false;  // print "@progress DONE TOTAL" lines while recordings are made
};

// The lesson file an import writes to when none is named.
std::filesystem::path DefaultLessonPath(const std::filesystem::path& source);

// Reads the source and imports it. Returns the exit status: 0 when the lesson was written (or
// the preview printed), 1 otherwise, with the reason on `err`.
int ImportLesson(const ImportRequest& request, std::ostream& out, std::ostream& err);

// The same for a source already read.
int ImportSourceAsLesson(const Source& source, const ImportRequest& request, std::ostream& out,
                         std::ostream& err);

}  // namespace verbaro::lessonimport
