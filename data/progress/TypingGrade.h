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

}  // namespace verbaro::progress
