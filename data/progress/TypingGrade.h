#pragma once
// The grade of an entry typed through to its end, from its errors and its time.
#include <cstdint>

#include "data/progress/ProgressTypes.h"

namespace verbaro::progress {

// Typing is quick when it takes at most this long to begin plus this long per character.
inline constexpr int64_t kQuickStartMs = 1000;
inline constexpr int64_t kQuickPerCharacterMs = 400;

// No error and quick: Easy; no error: Good; one or two wrong keystrokes: Hard; more: Again.
Grade GradeOfTyping(const TypingResult& result);

// The direction the graded answers of a mode count for, and so its review filters. An entry
// typed from memory goes from what stays on screen to what is typed: «Конспект-1» types the
// French word from its translations (Reverse, as «Экзамен-2» asks), «Конспект-2» the translation
// from its French words (Forward, as «Экзамен-1»). The other modes keep their own direction.
Direction GradedDirectionOfMode(StudyMode mode);

}  // namespace verbaro::progress
