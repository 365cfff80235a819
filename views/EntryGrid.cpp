#include "views/EntryGrid.h"

#include <QFontMetrics>
#include <algorithm>

#include "data/LessonState.h"
#include "data/Text.h"

namespace verbaro::grid {

Geometry Geometry::Of(const QRect& client) {
  return {client.width() * 5 / 100, client.width() * 90 / 100, client.height() / kRows};
}

std::optional<int> Geometry::ExamChoiceAt(int px, int py, int numberedCells) const {
  if (numberedCells == 0) return std::nullopt;
  if (px < x || px > x + width || py < RowY(kFirstTranslationRow) ||
      py > RowY(kFirstTranslationRow + kMaxAltWords))
    return 0;
  for (int k = 1; k <= kMaxAltWords; ++k) {
    if (py <= RowY(kFirstTranslationRow + k)) {
      if (k <= numberedCells) return k;
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::u16string GrammarText(const std::u16string& gram, const std::u16string& number) {
  return number == u"p" ? gram + u", pl" : gram;
}

std::u16string StatusText(const LessonState& state) {
  if (state.m_bExamMode) {
    return u"Правильно: " + ToU16(state.m_rightAnswers) + u"; Неправильно: " +
           ToU16(state.m_wrongAnswers) + u"; Осталось: " + ToU16(state.m_nTotalCountAltWords) +
           u"; Подсказок: " + ToU16(state.m_hints);
  }
  return ToU16(state.m_nUserFilterIndex + 1) + u" / " + ToU16(state.m_vUserIndexes.size());
}

int FittedPointSize(int width, int height, int64_t sumWidth, int maxHeight, int percent) {
  if (sumWidth <= 0) return 0;
  int64_t size = std::min<int64_t>(height, int64_t{width} * maxHeight / sumWidth) * 46 / 100;
  if (percent != kFullSize) size = size * percent / 100;
  return static_cast<int>(std::max<int64_t>(size, 0));
}

namespace {

// Any fixed reference size serves for measuring: only the proportions of a text count.
constexpr int kMeasuringPixelSize = 16;

}  // namespace

CellFont::CellFont() : m_family(QStringLiteral("Arial")) {
  m_family.setStyleHint(QFont::SansSerif);  // when the family is missing
  QFont reference = m_family;
  reference.setPixelSize(kMeasuringPixelSize);
  m_metrics = std::make_unique<QFontMetrics>(reference);
  m_unitWidths.fill(-1);
}

CellFont::~CellFont() = default;

QFont CellFont::AtPoints(int points) const {
  QFont font = m_family;
  font.setPointSize(points);
  return font;
}

int CellFont::UnitWidth(char16_t unit) {
  if (unit >= kTabledUnits) return m_metrics->horizontalAdvance(QChar(unit));
  int32_t& width = m_unitWidths[unit];
  if (width < 0) width = m_metrics->horizontalAdvance(QChar(unit));
  return width;
}

TextExtent CellFont::Measure(std::u16string_view text) {
  TextExtent extent;
  for (char16_t unit : text) extent.sumWidth += UnitWidth(unit);
  // Every unit is as high as the font.
  if (!text.empty()) extent.maxHeight = m_metrics->height();
  return extent;
}

}  // namespace verbaro::grid
