#pragma once
// `verbaro-lesson build`: a word list in, a lesson file out.
#include <filesystem>
#include <ostream>

namespace verbaro::lesson {

struct BuildRequest {
  std::filesystem::path wordList;
  std::filesystem::path lesson;
  bool replace = false;  // overwrite an existing lesson file
};

// Validates the whole list first and writes nothing when any line is bad. Progress and the
// result go to `out`, problems to `err`. Returns the exit status: 0 when the lesson was written.
int BuildLesson(const BuildRequest& request, std::ostream& out, std::ostream& err);

}  // namespace verbaro::lesson
