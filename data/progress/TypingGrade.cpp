#include "data/progress/TypingGrade.h"

#include <algorithm>

namespace verbaro::progress {

Grade GradeOfTyping(const TypingResult& result) {
  if (result.wrongKeystrokes > 2) return Grade::Again;
  if (result.wrongKeystrokes > 0) return Grade::Hard;
  const int64_t quick = kQuickStartMs + kQuickPerCharacterMs * std::max(result.characters, 1);
  return result.milliseconds <= quick ? Grade::Easy : Grade::Good;
}

Direction GradedDirectionOfMode(StudyMode mode) {
  const Direction own = DirectionOfMode(mode);
  if (!IsConspectMode(mode)) return own;
  return own == Direction::Forward ? Direction::Reverse : Direction::Forward;
}

}  // namespace verbaro::progress
