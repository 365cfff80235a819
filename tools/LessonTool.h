#pragma once
// The command line of `verbaro-lesson`:
//   verbaro-lesson build WORDS.tsv LESSON.db [--replace]
//   verbaro-lesson check LESSON.db
//   verbaro-lesson progress LESSON.db [--csv]
#include <ostream>
#include <string>
#include <vector>

namespace verbaro::lesson {

// Exit status for wrong usage, apart from 1 for a failed build or a lesson with errors.
inline constexpr int kUsageStatus = 2;

// `arguments` excludes the program name.
int RunLessonTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace verbaro::lesson
