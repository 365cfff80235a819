#include "views/EntryGrid.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QRawFont>
#include <QTextLayout>
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
// The answers of EndsInside kept at most: the texts of a few hundred entries.
constexpr size_t kKeptReaches = 2048;

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

bool CellFont::EndsInside(std::u16string_view text, int points, QSize size, qreal clearance,
                          const QPaintDevice* device) {
  const qreal ratio = device ? device->devicePixelRatioF() : 1.0;
  ReachKey key{std::u16string(text), points, size.width(), size.height(), clearance, ratio};
  if (const auto known = m_endsInside.find(key); known != m_endsInside.end()) return known->second;

  const QFont font = AtPoints(points);
  QString shown = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
  // The line as the drawing lays it out in the rectangle.
  const QRectF line = QFontMetricsF(font, device)
                          .boundingRect(QRectF(QPointF(0, 0), QSizeF(size)), kTextFlags, shown);
  // The same text shaped on one line, as the drawing shapes it (line breaks are spaces there):
  // every glyph where shaping placed it, marks below their letters included, and the line as
  // deep as the deepest of the fonts its glyphs come from.
  shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
  shown.replace(QChar::LineSeparator, QLatin1Char(' '));
  QTextLayout layout(shown, font, device);
  layout.beginLayout();
  const QTextLine shaped = layout.createLine();
  layout.endLayout();
  qreal inkBelowBaseline = 0;
  if (shaped.isValid()) {
    const qreal baselineY = shaped.y() + shaped.ascent();
    for (const QGlyphRun& run : layout.glyphRuns()) {
      const QRawFont glyphs = run.rawFont();
      const QList<quint32> indexes = run.glyphIndexes();
      const QList<QPointF> positions = run.positions();
      for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
        inkBelowBaseline = std::max(inkBelowBaseline, positions[i].y() - baselineY +
                                                          glyphs.boundingRect(indexes[i]).bottom());
      }
    }
  }
  const qreal baseline = line.bottom() - (shaped.isValid() ? shaped.descent() : 0);
  // One pixel more for the smoothing of glyph edges.
  const qreal lowest = std::max(line.bottom() + clearance, baseline + inkBelowBaseline + 1);
  const bool inside = lowest <= size.height();

  if (m_endsInside.size() >= kKeptReaches) m_endsInside.clear();
  m_endsInside.emplace(std::move(key), inside);
  return inside;
}

}  // namespace verbaro::grid
