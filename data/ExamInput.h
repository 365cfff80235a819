#pragma once
// How the exam views turn keys into choices (clicks are the entry grid's, views/EntryGrid). A
// choice is 0 (a refusal: show the right answer) or k from 1 to 5 (the answer cell numbered k).
// Nothing is chosen when the result is empty.
#include <optional>

namespace verbaro {

inline constexpr int kVkDigit0 = 0x30;   // '0'; '1'..'5' follow
inline constexpr int kVkNumpad0 = 0x60;  // keypad 0; keypad 1..5 follow

// Digit keys and keypad digits 0..5; a cell k only when at least k cells are numbered.
std::optional<int> ExamChoiceForKey(int virtualKey, int numberedCells);

}  // namespace verbaro
