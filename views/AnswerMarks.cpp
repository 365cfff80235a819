#include "views/AnswerMarks.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace verbaro::marks {

namespace {

constexpr int kTextFlags = Qt::AlignCenter | Qt::TextSingleLine;

// Strokes thick enough to see at a glance, thin enough to leave the text readable.
qreal StrokeFor(const QRect& cell) { return std::max(2.0, cell.height() / 14.0); }

// The box around a character is drawn thinner, over the text itself.
qreal BoxStroke(const QRect& cell) { return StrokeFor(cell) / 2; }

// The square at the right end of a cell where the tick and the cross go.
QRectF MarkSquare(const QRect& cell) {
  const qreal side = cell.height() * 0.5;
  return QRectF(cell.right() - cell.height() * 0.75, cell.center().y() - side / 2 + 0.5, side,
                side);
}

QPen RoundPen(QRgb colour, qreal width) {
  return QPen(QColor::fromRgba(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

QRectF CharacterBox(QPainter& painter, const QRect& cell, const QString& text, int index,
                    int count) {
  if (index < 0 || index >= text.size()) return {};
  const QFontMetricsF metrics(painter.font(), painter.device());
  const QRectF whole = painter.boundingRect(QRectF(cell), kTextFlags, text);
  const qreal left = whole.left() + metrics.horizontalAdvance(text.left(index));
  const qreal width = std::max(metrics.horizontalAdvance(text.mid(index, count)), 2.0);
  return QRectF(left, whole.top(), width, whole.height());
}

void BoxCharacter(QPainter& painter, const QRect& cell, const QString& text, int index, int count) {
  const QRectF box = CharacterBox(painter, cell, text, index, count);
  if (box.isEmpty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  const qreal stroke = BoxStroke(cell);
  painter.setPen(RoundPen(kWrongMark, stroke));
  painter.drawRect(box.adjusted(-stroke, 0, stroke, 0));
  painter.restore();
}

qreal MarkReach(const QRect& cell) { return BoxStroke(cell) / 2 + 1; }

void DrawTick(QPainter& painter, const QRect& cell) {
  const QRectF square = MarkSquare(cell);
  QPainterPath tick;
  tick.moveTo(square.left(), square.top() + square.height() * 0.55);
  tick.lineTo(square.left() + square.width() * 0.38, square.bottom());
  tick.lineTo(square.right(), square.top());
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(RoundPen(kRightMark, StrokeFor(cell)));
  painter.drawPath(tick);
  painter.restore();
}

void DrawWrongChoice(QPainter& painter, const QRect& cell) {
  const qreal stroke = StrokeFor(cell);
  const QRectF square = MarkSquare(cell);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(RoundPen(kWrongMark, stroke));
  painter.drawRect(QRectF(cell).adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2));
  painter.drawLine(square.topLeft(), square.bottomRight());
  painter.drawLine(square.topRight(), square.bottomLeft());
  painter.restore();
}

}  // namespace verbaro::marks
