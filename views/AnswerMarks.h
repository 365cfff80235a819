#pragma once
// Marks drawn over the entry grid at the moment of an answer, so that it shows with the sound
// off: the first wrong character of the typing line, a tick when the whole word is typed, and
// the exam choice that was wrong. They add to the grid's colours and texts, never change them.
#include <QRect>
#include <QRgb>
#include <QString>

class QPainter;

namespace verbaro::marks {

inline constexpr QRgb kWrongMark = 0xFFC40000;  // the red of a wrong typing line
inline constexpr QRgb kRightMark = 0xFF1C9A38;

// The box around `count` units of `text` from unit `index` on (one character as the learner
// sees it), as the painter's current font draws the text centred on one line in `cell`.
QRectF CharacterBox(QPainter& painter, const QRect& cell, const QString& text, int index,
                    int count = 1);
// Draws that box in the wrong mark's colour.
void BoxCharacter(QPainter& painter, const QRect& cell, const QString& text, int index,
                  int count = 1);
// How far below the line of the text under them the marks of `cell` may reach: half the box's
// stroke and a pixel of smoothing. The tick stays inside the middle of the cell.
qreal MarkReach(const QRect& cell);
// A tick at the right end of the cell.
void DrawTick(QPainter& painter, const QRect& cell);
// A frame around the cell and a cross at its right end.
void DrawWrongChoice(QPainter& painter, const QRect& cell);

}  // namespace verbaro::marks
