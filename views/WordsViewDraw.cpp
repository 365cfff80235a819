// CWordsView: the repaint pipeline, the 12-row entry grid and the fitting of texts to cells.
// A repaint is a sequence of steps: the scene composed, the entry chosen and what the grid shows
// decided, the grid drawn, the entry sounded. The drawing functions draw what they are given.
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QtMath>
#include <algorithm>

#include "data/DiagnosticLog.h"
#include "data/KeyTranslation.h"
#include "image/FCObjImage.h"
#include "platform/QtText.h"
#include "views/AnswerMarks.h"
#include "views/EntryGrid.h"
#include "views/FilledScene.h"
#include "views/SurfaceRows.h"
#include "views/WordsView.h"

namespace verbaro {

namespace {

using namespace grid;

constexpr int kLogoLeft = 10;
constexpr int kLogoTop = 10;

// The scene with the fills of the grid, one for all views: only one view is on screen at a time,
// and each surface it holds is as large as the work area. It knows whose scene it was composed
// from and composes again for another one.
FilledScene& SharedFilledScene() {
  static FilledScene scene;
  return scene;
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

int CWordsView::FittedPoints(std::u16string_view text, int width, int height, int percent) {
  // Natural proportions of the text, measured one UTF-16 unit at a time.
  const TextExtent extent = TextFont().Measure(text);
  return FittedPointSize(width, height, extent.sumWidth, extent.maxHeight, percent);
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

  ComposeScene(client);
  const std::optional<EntryPicture> picture = ChooseEntry();
  DrawBackBuffer(client, picture ? &*picture : nullptr);
  update();
  if (picture) SoundEntry(*picture);
  ReportShownEntry();
}

void CWordsView::ComposeScene(const QRect& client) {
  // Stretching the background was most of the cost of a repaint, and its result only changes
  // with the client size or the pictures, so the scene is composed again only then. The scene
  // is not cleared first. The built-in backgrounds are opaque JPEGs, which makes this the same
  // picture as composing at every repaint; a background file with transparency (a PNG in Res)
  // is blended over the old scene once per size instead of once per repaint.
  if (m_sceneSize == client.size()) return;
  QPainter scene(&m_sceneSurface);
  m_background->Draw(scene, QRect(0, 0, m_surfaceWidth, m_surfaceHeight));
  m_logo->Draw(scene, QRect(kLogoLeft, kLogoTop, m_logo->Width() / m_logoPixelRatio,
                            m_logo->Height() / m_logoPixelRatio));
  m_sceneSize = client.size();
}

std::optional<EntryPicture> CWordsView::ChooseEntry() {
  QScopedValueRollback<bool> choosing(m_choosingEntry, true);
  if (!SetUserData()) return std::nullopt;
  AdvanceRecording();
  m_expectedText = m_wsKeyWord;
  std::optional<TypingLine> typing;
  if (m_bConspectMode) typing = CheckTyping();
  EntryPicture picture = PictureOf(*this, typing, m_silentRepaint);
  if (picture.status && m_mainLog) m_mainLog->Line(u"\nТекущая позиция : ", *picture.status);
  CountNumberedCells(picture);
  return picture;
}

TypingLine CWordsView::CheckTyping() {
  CheckTypedText();
  // A key that did not combine with an armed accent leaves a mark that no key text may match.
  if (m_typedText.find(kNoLetterMark) != std::u16string::npos) m_typedMatches = 0;
  TypingLine line = TypingLineOf(m_expectedText, m_typedText, m_typedMatches != 0, m_noLetterMarks);
  if (m_mainLog) {
    m_mainLog->Line(u"Набрано: \"", line.shown, u"\"", line.matches ? u"" : u" : ошибка");
  }
  return line;
}

void CWordsView::CountNumberedCells(const EntryPicture& picture) {
  // A numbered cell whose text has no width shows no number and does not count.
  for (const Cell& cell : picture.cells) {
    if (cell.number > 0 && TextFont().Measure(cell.text).sumWidth > 0) {
      m_numberedCells = cell.number;
    }
  }
}

void CWordsView::DrawBackBuffer(const QRect& client, const EntryPicture* picture) {
  const int rows = DeviceRect().height();
  if (!picture) {
    CopyTopRows(m_sceneSurface, m_backBuffer, rows);
    return;
  }
  const Geometry grid = Geometry::Of(client);
  const bool fillsKept = TextsStayInTheirRows(*picture, grid);
  if (fillsKept) {
    CopyTopRows(SharedFilledScene().Compose(m_sceneSurface, grid, FillsOf(*picture), rows),
                m_backBuffer, rows);
  } else {
    CopyTopRows(m_sceneSurface, m_backBuffer, rows);
  }
  QPainter back(&m_backBuffer);
  DrawUserData(back, client, *picture, fillsKept);
}

bool CWordsView::TextsStayInTheirRows(const EntryPicture& picture, const Geometry& grid) {
  int lastFilledRow = -1;
  for (const Cell& cell : picture.cells) {
    if (cell.fill) lastFilledRow = std::max(lastFilledRow, cell.row);
  }
  const QSize cellSize(grid.width, grid.rowHeight);
  const QSize numberSize(grid.rowHeight / 2, grid.rowHeight);
  const qreal clearance = marks::MarkReach(QRect(QPoint(0, 0), cellSize));
  for (const Cell& cell : picture.cells) {
    if (cell.row >= lastFilledRow) continue;
    const int points = FittedPoints(cell.text, grid.width, grid.rowHeight, cell.percent);
    if (points <= 0) continue;
    if (cell.textColor &&
        !TextFont().EndsInside(cell.text, points, cellSize, clearance, &m_backBuffer)) {
      return false;
    }
    if (cell.number > 0 && !TextFont().EndsInside(FromQ(QString::number(cell.number)), points,
                                                  numberSize, 0, &m_backBuffer)) {
      return false;
    }
  }
  return true;
}

void CWordsView::SoundEntry(const EntryPicture& picture) {
  if (picture.errorSignal) PlayErrorSignal();
  if (picture.soundEntry) PlayCurrentSound();
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

QImage CWordsView::BackBuffer() const { return m_backBuffer.copy(DeviceRect()); }

void CWordsView::DrawUserData(QPainter& painter, const QRect& client, const EntryPicture& picture,
                              bool fillsDrawn) {
  const Geometry grid = Geometry::Of(client);
  for (const Cell& cell : picture.cells) {
    const int y = grid.RowY(cell.row);
    const std::optional<QRgb> fill = fillsDrawn ? std::nullopt : cell.fill;
    if (cell.row == kTypingRow && picture.typingMarks) {
      DrawTypedText(painter, grid.x, y, grid.width, grid.rowHeight, cell.text, fill, cell.textColor,
                    *picture.typingMarks);
    } else {
      DrawCellText(painter, cell.text, grid.x, y, grid.width, grid.rowHeight, fill, cell.textColor,
                   cell.number, cell.frame, cell.percent);
    }
  }
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

void CWordsView::DrawCellText(QPainter& painter, std::u16string_view text, int x, int y, int width,
                              int height, std::optional<QRgb> fill, std::optional<QRgb> textColor,
                              int number, bool frame, int percent) {
  const QRect cell(x, y, width, height);
  if (fill) painter.fillRect(cell, QColor::fromRgba(*fill));

  const int points = FittedPoints(text, width, height, percent);
  if (points > 0) {
    // The surfaces are 96 dpi: s points are s x 96 / 72 pixels.
    painter.setFont(TextFont().AtPoints(points));
    if (textColor) {
      painter.setPen(QColor::fromRgba(*textColor));
      painter.drawText(cell, kTextFlags, ToQ(text));
    }
    if (number > 0) {
      painter.setPen(QColor::fromRgba(kCellFill));
      painter.drawText(QRect(x - height / 2, y, height / 2, height), kTextFlags,
                       QString::number(number));
    }
  }

  if (frame) DrawFrame(painter, x, y, width, height);
}

void CWordsView::DrawTypedText(QPainter& painter, int x, int y, int width, int height,
                               std::u16string_view shown, std::optional<QRgb> fill,
                               std::optional<QRgb> textColor, const TypingMarks& marks) {
  DrawCellText(painter, shown, x, y, width, height, fill, textColor, 0, true, kFullSize);
  DrawTypingMarks(painter, shown, QRect(x, y, width, height), marks);
}

void CWordsView::DrawTypingMarks(QPainter& painter, std::u16string_view shown, const QRect& cell,
                                 const TypingMarks& marks) {
  if (marks.typedThrough) {
    marks::DrawTick(painter, cell);
    return;
  }
  if (!marks.wrongIndex) return;
  const int points = FittedPoints(shown, cell.width(), cell.height(), kFullSize);
  if (points <= 0) return;
  painter.setFont(TextFont().AtPoints(points));
  marks::BoxCharacter(painter, cell, ToQ(shown), static_cast<int>(*marks.wrongIndex),
                      static_cast<int>(marks.wrongLength));
}

}  // namespace verbaro
