#include "data/ExamInput.h"

namespace verbaro {

namespace {

std::optional<int> DigitOfKey(int virtualKey) {
  if (virtualKey >= kVkDigit0 && virtualKey <= kVkDigit0 + kExamCells) return virtualKey - kVkDigit0;
  if (virtualKey >= kVkNumpad0 && virtualKey <= kVkNumpad0 + kExamCells)
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

std::optional<int> ExamChoiceAtPoint(int clientWidth, int clientHeight, int x, int y,
                                     int numberedCells) {
  if (numberedCells == 0) return std::nullopt;
  const int x0 = clientWidth * 5 / 100;
  const int cellWidth = clientWidth * 90 / 100;
  const int rowHeight = clientHeight / 12;
  const int firstRow = 6;  // answer cell 1
  if (x < x0 || x > x0 + cellWidth || y < firstRow * rowHeight ||
      y > (firstRow + kExamCells) * rowHeight)
    return 0;
  // The lower border of a cell belongs to the cell above it.
  for (int k = 1; k <= kExamCells; ++k) {
    if (y <= (firstRow + k) * rowHeight) {
      if (k <= numberedCells) return k;
      return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace verbaro
