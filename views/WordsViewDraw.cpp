// CWordsView: the repaint pipeline, the 12-row entry grid and the fitting of texts to cells.
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QtMath>
#include <algorithm>
#include <cstring>

#include "image/FCObjImage.h"
#include "data/DiagnosticLog.h"
#include "platform/QtText.h"
#include "views/EntryGrid.h"
#include "data/KeyTranslation.h"
#include "data/TypingCheck.h"
#include "views/AnswerMarks.h"
#include "views/WordsView.h"

namespace verbaro {

namespace {

using namespace grid;

constexpr int kLogoLeft = 10;
constexpr int kLogoTop = 10;

// Copies the top `rows` rows of `from` to `to`, two surfaces of one size and format, as one
// block: whole rows, also right of the client area, where the back buffer is never shown. One
// large copy runs several times faster than one copy per client row.
void CopyTopRows(const QImage& from, QImage& to, int rows) {
  if (from.isNull() || to.size() != from.size() || to.format() != from.format()) return;
  rows = std::clamp(rows, 0, from.height());
  std::memcpy(to.bits(), from.constBits(), static_cast<size_t>(from.bytesPerLine()) * rows);
}

// The 1-pixel outline of a cell, with its right and bottom edges on x + width and y + height as
// a 1-pixel pen draws them, as four solid fills: stroking the outline cost as much as filling
// the cell.
void DrawFrame(QPainter& painter, int x, int y, int width, int height) {
  const QColor pen = QColor::fromRgb(kFramePen);
  painter.fillRect(QRect(x, y, 1, height + 1), pen);
  painter.fillRect(QRect(x + width, y, 1, height + 1), pen);
  painter.fillRect(QRect(x, y, width + 1, 1), pen);
  painter.fillRect(QRect(x, y + height, width + 1, 1), pen);
}

}  // namespace

CellFont& CWordsView::TextFont() {
  if (!m_textFont) m_textFont = std::make_unique<CellFont>();
  return *m_textFont;
}

void CWordsView::Repaint() {
  if (!m_created) return;
  // A message box shown while drawing runs a nested event loop; a repaint asked for from there
  // (a resize, a timer) would paint into the surfaces the outer one is still drawing.
  if (m_inRepaint) return;
  QScopedValueRollback<bool> inRepaint(m_inRepaint, true);

  const QRect client = rect();
  m_surfaceWidth = client.width();
  m_surfaceHeight = client.height();
  if (m_sceneSurface.isNull()) {
    ShowError(u"Невозмодно отобразить данные!");
    return;
  }

  // Stretching the background was most of the cost of a repaint, and its result only changes
  // with the client size or the pictures, so the scene is composed again only then. The scene
  // is not cleared first. The built-in backgrounds are opaque JPEGs, which makes this the same
  // picture as composing at every repaint; a background file with transparency (a PNG in Res)
  // is blended over the old scene once per size instead of once per repaint.
  if (m_sceneSize != client.size()) {
    QPainter scene(&m_sceneSurface);
    m_background->Draw(scene, QRect(0, 0, m_surfaceWidth, m_surfaceHeight));
    m_logo->Draw(scene, QRect(kLogoLeft, kLogoTop, m_logo->Width() / m_logoPixelRatio,
                               m_logo->Height() / m_logoPixelRatio));
    m_sceneSize = client.size();
  }

  CopyTopRows(m_sceneSurface, m_backBuffer, DeviceRect().height());
  QPainter back(&m_backBuffer);
  DrawUserData(back, client);
  back.end();
  update();
  ReportShownEntry();
}

void CWordsView::RepaintSilently() {
  QScopedValueRollback<bool> silent(m_silentRepaint, true);
  Repaint();
}

void CWordsView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_backBuffer, DeviceRect());
}

QRect CWordsView::DeviceRect() const {
  return QRect(0, 0, qCeil(m_surfaceWidth * m_surfaceRatio),
               qCeil(m_surfaceHeight * m_surfaceRatio));
}

void CWordsView::resizeEvent(QResizeEvent* /*event*/) { Repaint(); }

QImage CWordsView::BackBuffer() const {
  return m_backBuffer.copy(DeviceRect());
}

void CWordsView::DrawUserData(QPainter& painter, const QRect& client) {
  if (!SetUserData()) return;
  m_expectedText = m_wsKeyWord;

  const Geometry grid = Geometry::Of(client);
  const int x = grid.x;
  const int w = grid.width;
  const int h = grid.rowHeight;

  if (!m_bHideHeader) {
    DrawCellText(painter, GrammarText(m_wsFrGram, m_wsFrNumber), x, 0, w, h, std::nullopt,
                 kLightText, 0, false, kFullSize);
    DrawCellText(painter, m_wsKeyWord, x, h, w, h, kCellFill, kBlueText, 0, true, kFullSize);
    DrawCellText(painter, m_wsInfo1, x, 2 * h, w, h, kCellFill, kRedText, 0, true, kFullSize);
    DrawCellText(painter, m_wsInfo2, x, 3 * h, w, h, kCellFill, kBlueText, 0, true, kFullSize);
    DrawCellText(painter, m_wsInfo3, x, 4 * h, w, h, kCellFill, kRedText, 0, true, kFullSize);
  }
  if (m_bConspectMode) DrawTypedText(painter, x, grid.RowY(kTypingRow), w, h);

  if (m_vwsAltWords.empty()) return;
  if (!m_bHidePerevod) {
    const int shown = std::min<int>(m_nMaxAltWords, static_cast<int>(m_vwsAltWords.size()));
    for (int i = 0; i < shown; ++i) {
      DrawCellText(painter, m_vwsAltWords[i], x, grid.RowY(kFirstTranslationRow + i), w, h,
                   kTranslationFill, kLightText, i + 1, true, kFullSize);
    }
  }
  const std::u16string status = StatusText(*this);
  if (m_mainLog) m_mainLog->Line(u"\nТекущая позиция : ", status);
  DrawCellText(painter, status, x, grid.RowY(kFirstTranslationRow + m_nMaxAltWords), w, h,
               std::nullopt, kCellFill, 0, false, kStatusSize);
  if (!m_silentRepaint) PlayCurrentSound();
}

void CWordsView::PrepareTextDrawing() {
  // The letters of both alphabets and the usual punctuation, at the size that a short text takes
  // in a cell of this window, which most cells are drawn at: the font's file, its glyphs at that
  // size and the measuring table of the cells are ready afterwards, whatever the lesson.
  static constexpr std::u16string_view kLetters =
      u"abcdefghijklmnopqrstuvwxyzàâæçéèêëîïôœùûüÿ ABCDEFGHIJKLMNOPQRSTUVWXYZÀÂÇÉÈÊËÎÏÔŒÙÛÜ "
      u"абвгдеёжзийклмнопрстуфхцчшщъыьэюя АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ ,.;:!?-'()0123456789";
  constexpr int kUnsizedPoints = 20;  // a window not sized yet
  const Geometry grid = Geometry::Of(rect());
  const int fitted = FittedPointSize(grid.width, grid.rowHeight, 1, 1, kFullSize);
  TextFont().Measure(kLetters);
  QImage scratch(64, 32, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&scratch);
  painter.setFont(TextFont().AtPoints(fitted > 0 ? fitted : kUnsizedPoints));
  painter.drawText(scratch.rect(), Qt::AlignCenter, ToQ(kLetters));
}

void CWordsView::DrawCellText(QPainter& painter, std::u16string_view text, int x, int y,
                              int width, int height, std::optional<QRgb> fill,
                              std::optional<QRgb> textColor, int number, bool frame,
                              int percent) {
  const QRect cell(x, y, width, height);
  if (m_showTrueAnswer && m_bExamMode && number == m_trueCellIndex + 1) {
    fill = kAnswerHighlight;
  }
  if (fill) painter.fillRect(cell, QColor::fromRgba(*fill));

  // Natural proportions of the text, measured one UTF-16 unit at a time.
  const TextExtent extent = TextFont().Measure(text);

  if (extent.sumWidth > 0) {
    const int points =
        FittedPointSize(width, height, extent.sumWidth, extent.maxHeight, percent);
    if (points > 0) {
      // The surfaces are 96 dpi: s points are s x 96 / 72 pixels.
      painter.setFont(TextFont().AtPoints(points));
      const int flags = Qt::AlignCenter | Qt::TextSingleLine;
      if (textColor) {
        painter.setPen(QColor::fromRgba(*textColor));
        painter.drawText(cell, flags, ToQ(text));
      }
      if (number > 0) {
        painter.setPen(QColor::fromRgba(kCellFill));
        painter.drawText(QRect(x - height / 2, y, height / 2, height), flags,
                         QString::number(number));
      }
    }
    if (number > 0) m_numberedCells = number;
  }

  if (frame) DrawFrame(painter, x, y, width, height);
}

void CWordsView::DrawTypedText(QPainter& painter, int x, int y, int width, int height) {
  CheckTypedText();
  // A key that did not combine with an armed accent leaves a mark that no key text may match.
  if (m_typedText.find(kNoLetterMark) != std::u16string::npos) m_typedMatches = 0;
  // A mark shows as the accent and the key that made it.
  std::u16string shown = m_noLetterMarks.Shown(m_typedText);
  if (m_mainLog) {
    m_mainLog->Line(u"Набрано: \"", shown, u"\"", m_typedMatches ? u"" : u" : ошибка");
  }
  shown += u'|';
  if (!m_typedMatches) PlayErrorSignal();
  DrawCellText(painter, shown, x, y, width, height, kTypingFill,
               m_typedMatches ? kTypedText : kTypingError, 0, true, kFullSize);
  DrawTypingMarks(painter, shown, QRect(x, y, width, height));
}

void CWordsView::DrawTypingMarks(QPainter& painter, const std::u16string& shown,
                                 const QRect& cell) {
  if (IsTypedThrough(m_expectedText, m_typedText)) {
    marks::DrawTick(painter, cell);
    return;
  }
  if (m_typedMatches) return;
  size_t wrong = FirstWrongUnit(m_expectedText, m_typedText);
  // A key that did not combine matches no text, also where it stands inside the typed word.
  if (wrong == std::u16string::npos) wrong = m_typedText.find(kNoLetterMark);
  if (wrong == std::u16string::npos) return;
  const size_t wrongLength = m_noLetterMarks.ShownLength(m_typedText, wrong);
  wrong = m_noLetterMarks.ShownIndex(m_typedText, wrong);
  const TextExtent extent = TextFont().Measure(shown);
  const int points =
      FittedPointSize(cell.width(), cell.height(), extent.sumWidth, extent.maxHeight, kFullSize);
  if (points <= 0) return;
  painter.setFont(TextFont().AtPoints(points));
  marks::BoxCharacter(painter, cell, ToQ(shown), static_cast<int>(wrong),
                      static_cast<int>(std::max<size_t>(wrongLength, 1)));
}

}  // namespace verbaro
