#pragma once
// How the exam views turn keys and clicks into choices. A choice is 0 (a refusal: show the
// right answer) or k from 1 to 5 (the answer cell numbered k). Nothing is chosen when the
// result is empty.
#include <optional>

namespace verbaro {

inline constexpr int kVkDigit0 = 0x30;   // '0'; '1'..'5' follow
inline constexpr int kVkNumpad0 = 0x60;  // keypad 0; keypad 1..5 follow
inline constexpr int kExamCells = 5;

// Digit keys and keypad digits 0..5; a cell k only when at least k cells are numbered.
std::optional<int> ExamChoiceForKey(int virtualKey, int numberedCells);

// A left click at (x, y) in a client area of the given size, on the grid of the word views:
// cells start at 5 % of the width, are 90 % wide, one twelfth of the height high, and answer
// cell k lies in grid row 5 + k. A click outside the cell area is a refusal, a click on an
// empty row inside it chooses nothing, and nothing is chosen while no cell is numbered.
std::optional<int> ExamChoiceAtPoint(int clientWidth, int clientHeight, int x, int y,
                                     int numberedCells);

}  // namespace verbaro
