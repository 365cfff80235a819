#pragma once
// An exam's mode and filter as the store's rows and the sync journal keep them: the mode by its
// index, the filter by its kind and place. A value outside the known ones (a damaged or newer
// store) reads as the nearest sound one instead of an undefined enum.
#include <cstdint>

#include "data/progress/ProgressTypes.h"

namespace verbaro::progress {

inline StudyMode StoredMode(int64_t index) {
  // Only the exams are recorded; an unknown index counts as the first exam.
  if (index < 0 || index >= kModeCount) return StudyMode::Exam1;
  return static_cast<StudyMode>(index);
}

inline ExamFilter StoredFilter(int64_t kind, int64_t index) {
  if (kind < 0 || kind > static_cast<int64_t>(ExamFilter::Kind::Hard)) return {};
  const auto filterKind = static_cast<ExamFilter::Kind>(kind);
  if (filterKind != ExamFilter::Kind::Lesson) return {filterKind, 0};
  return {filterKind, index < 0 || index > INT32_MAX ? 0 : static_cast<int>(index)};
}

}  // namespace verbaro::progress
