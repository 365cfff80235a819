#pragma once
// `verbaro-lesson check`: tells whether the trainer reads a lesson file whole and can use it in
// every mode, and lists the filters it will offer. The file is opened read-only.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "tools/LessonRules.h"

namespace verbaro::lesson {

struct CheckReport {
  std::vector<std::string> errors;    // anything that stops loading, playing or a mode
  std::vector<std::string> warnings;  // the lesson works, but not quite as a learner expects
  size_t entries = 0;
  bool filtersKnown = false;          // every row was read: the filter lists below are valid
  std::vector<FilterCount> directFilters;    // Conspect-1, Video-1
  std::vector<FilterCount> reversedFilters;  // Conspect-2, Video-2 (empty when they cannot build)
};

CheckReport CheckLesson(const std::filesystem::path& lesson);

// Prints the report; returns the exit status: 0 only when there is no error.
int PrintCheck(const std::filesystem::path& lesson, const CheckReport& report, std::ostream& out);

}  // namespace verbaro::lesson
