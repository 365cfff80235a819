#pragma once
// What one repaint shows of the current entry, decided before anything is drawn: the cells of
// the entry grid in drawing order with their texts, fills, colours and numbers, the typing line
// with the marks over it, and what sounds once the grid is drawn. Plain functions of the lesson
// state: the drawing takes their result as it stands.
#include <QRgb>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "views/EntryGrid.h"

namespace verbaro {

class LessonState;
class NoLetterMarks;

namespace grid {

// One cell: its row, its text (drawn only with a text colour), the fill under it, the number
// left of it (0: none), whether it is framed, and the percent of the fitted size its text takes.
struct Cell {
  int row = 0;
  std::u16string text;
  std::optional<QRgb> fill;
  std::optional<QRgb> textColor;
  int number = 0;
  bool frame = false;
  int percent = kFullSize;
};

// The marks over the typing line: a tick once the word is typed through, else the units of the
// shown text boxed as the first wrong character (none while the line matches).
struct TypingMarks {
  bool typedThrough = false;
  std::optional<size_t> wrongIndex;
  size_t wrongLength = 0;
};

// The typing line after the typing check: the typed text as the learner sees it (each mark as
// its accent and key), whether it matches, and its marks.
struct TypingLine {
  std::u16string shown;
  bool matches = true;
  TypingMarks marks;
};

// `matches` is the verdict of the typing check; `marks` tells what the marks of `typed` show.
TypingLine TypingLineOf(std::u16string_view expected, std::u16string_view typed, bool matches,
                        const NoLetterMarks& marks);

// The fill a cell is drawn with: the answer highlight instead of the given fill for the cell
// numbered as the right answer, while an Exam view shows it after a refusal.
std::optional<QRgb> CellFill(const LessonState& state, std::optional<QRgb> fill, int number);

struct EntryPicture {
  std::vector<Cell> cells;  // in drawing order
  // The marks over the cell of the typing row; only with a typing line.
  std::optional<TypingMarks> typingMarks;
  // The status line's text; none when the entry has no translations.
  std::optional<std::u16string> status;
  bool errorSignal = false;  // the typed text does not match
  bool soundEntry = false;   // the entry's recording is sounded
};

// The grid of the record SetUserData made current, with the typing line of a Conspect view.
// `silent`: a repaint that only redraws what was typed does not sound the entry again.
EntryPicture PictureOf(const LessonState& state, const std::optional<TypingLine>& typing,
                       bool silent);

// The fill of each row of the picture.
using RowFills = std::array<std::optional<QRgb>, kRows>;
RowFills FillsOf(const EntryPicture& picture);

}  // namespace grid
}  // namespace verbaro
