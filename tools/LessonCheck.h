#pragma once
// `verbaro-lesson check`: tells whether the trainer reads a lesson file whole and can use it in
// every mode, and lists the filters it will offer. The lesson is read by the trainer's own code
// (the core's hardened connection, LoadWordsData, the filters, the reversal and the exam
// preparations), so what check accepts is exactly what the trainer loads; a second pass over
// the table explains what stops the reading and what a learner would meet.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace verbaro::lesson {

struct FilterCount {
  std::u16string name;  // the Filters menu text without the count
  size_t count = 0;
};

struct CheckReport {
  std::vector<std::string> errors;    // anything that stops the trainer reading or a mode
  std::vector<std::string> warnings;  // the lesson works, but not quite as a learner expects
  size_t entries = 0;
  bool filtersKnown = false;                 // every row was read: the filter lists below are valid
  std::vector<FilterCount> directFilters;    // Conspect-1, Video-1
  std::vector<FilterCount> reversedFilters;  // Conspect-2, Video-2 (empty when they cannot build)
};

CheckReport CheckLesson(const std::filesystem::path& lesson);

// Prints the report; returns the exit status: 0 only when there is no error.
int PrintCheck(const std::filesystem::path& lesson, const CheckReport& report, std::ostream& out);

}  // namespace verbaro::lesson
