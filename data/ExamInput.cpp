#include "data/ExamInput.h"

#include "data/LessonState.h"

namespace verbaro {

namespace {

std::optional<int> DigitOfKey(int virtualKey) {
  if (virtualKey >= kVkDigit0 && virtualKey <= kVkDigit0 + kMaxAltWords)
    return virtualKey - kVkDigit0;
  if (virtualKey >= kVkNumpad0 && virtualKey <= kVkNumpad0 + kMaxAltWords)
    return virtualKey - kVkNumpad0;
  return std::nullopt;
}

}  // namespace

std::optional<int> ExamChoiceForKey(int virtualKey, int numberedCells) {
  const std::optional<int> digit = DigitOfKey(virtualKey);
  if (!digit) return std::nullopt;
  if (*digit == 0) return 0;
  if (numberedCells < *digit) return std::nullopt;
  return digit;
}

}  // namespace verbaro
