#pragma once
// The layout rules of the entry grid, as plain functions: the 12 rows of a client area, the
// texts of the grammar and status lines, the colours, and the size that fits a text to a cell;
// and the font its texts are measured and drawn in.
#include <QFont>
#include <QRect>
#include <QRgb>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

class QFontMetrics;
class QPaintDevice;

namespace verbaro {

class LessonState;

namespace grid {

// Colours as 0xAARRGGBB.
inline constexpr QRgb kCellFill = 0xCEFFFFEC;  // header cells; status text; answer numbers
inline constexpr QRgb kTypingFill = 0xE0FFFFFF;
inline constexpr QRgb kTranslationFill = 0x60000000;
inline constexpr QRgb kBlueText = 0xFF0000A4;   // rows 1 and 3
inline constexpr QRgb kRedText = 0xFF880000;    // rows 2 and 4
inline constexpr QRgb kLightText = 0xFFFFFFC4;  // row 0 and the translations
inline constexpr QRgb kAnswerHighlight = 0x600000C4;
inline constexpr QRgb kTypedText = 0xFF000000;
inline constexpr QRgb kTypingError = 0xFFC40000;
inline constexpr QRgb kFramePen = 0xFF444444;

inline constexpr int kRows = 12;
inline constexpr int kTypingRow = 5;
inline constexpr int kFirstTranslationRow = 6;
inline constexpr int kFullSize = 100;   // percent of the fitted size for the cells
inline constexpr int kStatusSize = 80;  // and for the status line
// Every text of the grid is centred in its rectangle on one line.
inline constexpr int kTextFlags = Qt::AlignCenter | Qt::TextSingleLine;

// Column 5 % from the left, 90 % wide; twelve rows of equal integer height.
struct Geometry {
  int x = 0;
  int width = 0;
  int rowHeight = 0;
  static Geometry Of(const QRect& client);
  bool operator==(const Geometry&) const = default;
  int RowY(int row) const { return row * rowHeight; }
  // The exam choice of a left click at (x, y): answer cell k (1 to 5) lies in row 5 + k, its
  // lower border belonging to it. A click outside the cells is a refusal (0); a click on a cell
  // that is not numbered, or any click while no cell is numbered, chooses nothing.
  std::optional<int> ExamChoiceAt(int x, int y, int numberedCells) const;
};

// Row 0: the grammar code, with ", pl" when the number code is exactly "p".
std::u16string GrammarText(const std::u16string& gram, const std::u16string& number);

// The status line: the score in an Exam view, else "position / count" in the filter.
std::u16string StatusText(const LessonState& state);

// Font size in points for a text whose units, measured in the reference font, add up to
// sumWidth and are at most maxHeight high: 46 % of the row height, less for a text too long
// for the cell width, scaled by percent. 0 means nothing to draw.
int FittedPointSize(int width, int height, int64_t sumWidth, int maxHeight, int percent);

// The natural proportions of a text in the reference font: the sum of the widths of its UTF-16
// units and the largest of their heights.
struct TextExtent {
  int64_t sumWidth = 0;
  int maxHeight = 0;
};

// The font of the grid texts, "Arial" (or the generic sans-serif family where it is missing),
// made once: drawn at a fitted point size and measured at a fixed reference size. A repaint
// measures every text of the grid unit by unit, so the widths of the common units (Latin, IPA,
// Greek, Cyrillic) are kept in a table once measured. Needs the Qt GUI application.
class CellFont {
 public:
  CellFont();
  ~CellFont();
  CellFont(const CellFont&) = delete;
  CellFont& operator=(const CellFont&) = delete;

  QFont AtPoints(int points) const;
  TextExtent Measure(std::u16string_view text);
  // Whether `text`, drawn centred on one line in a rectangle of `size` at `points` on `device`,
  // ends `clearance` pixels above the rectangle's lower edge with its line, and above that edge
  // with the ink of every glyph as shaping places it (fallback fonts and marks below letters
  // included). The answers are kept: a repaint asks for every text of the grid.
  bool EndsInside(std::u16string_view text, int points, QSize size, qreal clearance,
                  const QPaintDevice* device);

 private:
  static constexpr char16_t kTabledUnits = 0x530;
  int UnitWidth(char16_t unit);
  using ReachKey = std::tuple<std::u16string, int, int, int, qreal, qreal>;

  QFont m_family;
  std::unique_ptr<QFontMetrics> m_metrics;
  std::array<int32_t, kTabledUnits> m_unitWidths;  // -1: not measured yet
  std::map<ReachKey, bool> m_endsInside;
};

}  // namespace grid
}  // namespace verbaro
