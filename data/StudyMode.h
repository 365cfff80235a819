#pragma once
// The six study modes, in the order of the frame's views and of their settings. A mode's index
// (0..kModeCount-1) is what the trainer's settings and the progress store keep.
#include <optional>

namespace verbaro {

enum class StudyMode : int { Conspect1, Conspect2, Video1, Video2, Exam1, Exam2 };

inline constexpr int kModeCount = 6;

constexpr int IndexOf(StudyMode mode) { return static_cast<int>(mode); }

// The mode at this index, or nothing for an index outside the six.
constexpr std::optional<StudyMode> ModeOfIndex(int index) {
  if (index < 0 || index >= kModeCount) return std::nullopt;
  return static_cast<StudyMode>(index);
}

// The "-2" modes go from a translation to the French words.
constexpr bool IsReverseMode(StudyMode mode) { return IndexOf(mode) % 2 == 1; }
constexpr bool IsConspectMode(StudyMode mode) {
  return mode == StudyMode::Conspect1 || mode == StudyMode::Conspect2;
}

}  // namespace verbaro
