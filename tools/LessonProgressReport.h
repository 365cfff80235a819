#pragma once
// `verbaro-lesson progress LESSON.db [--csv]`: what the learner's progress store holds about a
// lesson, without starting the trainer and without writing anything. The lesson is read as the
// trainer reads it, so that it is found by its content wherever the file lies; the store is
// opened for reading only.
#include <filesystem>
#include <ostream>
#include <string>

namespace verbaro {
class Clock;
}

namespace verbaro::lesson {

struct ProgressRequest {
  std::filesystem::path lesson;
  std::string storePath;  // the learner's store (ProgressStore::DefaultPath() from the command)
  bool csv = false;       // the answer log instead of the counts
};

// Plain text: both directions' counts and up to twenty hardest entries; with csv, the answer log
// of the lesson's entries, oldest first. Returns 0, or 1 when the lesson cannot be read.
int PrintProgress(const ProgressRequest& request, const Clock& clock, std::ostream& out,
                  std::ostream& err);

// A CSV field: quoted (with inner quotes doubled) when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

}  // namespace verbaro::lesson
