// Mode logos, 176 x 36 with alpha (and twice that for screens at a scale of 2), low enough to
// stay above the first framed row of the grid on a 1366 x 768 screen: a dark translucent plate, a
// round emblem of the mode's kind (pencil for typing, play sign for watching, check mark for the
// exam) and the mode's name with its direction underneath.
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "Art.h"
#include "Soft.h"

namespace {

constexpr int kWidth = 176;
constexpr int kHeight = 36;

void Pencil(QPainter& p, QPointF c, double s) {
  p.save();
  p.translate(c);
  p.rotate(135);  // writing pose: the point down and to the left
  const double len = s * 1.45, thick = s * 0.30;
  const double back = -len * 0.5, shoulder = len * 0.22, point = len * 0.5;
  const QColor paper(255, 255, 246);
  p.setPen(Qt::NoPen);
  // Body, then the sharpened wood, then the lead.
  p.setBrush(paper);
  p.drawRect(QRectF(back + thick * 0.55, -thick / 2, shoulder - back - thick * 0.55, thick));
  p.setBrush(QColor(255, 255, 246, 170));
  p.drawRoundedRect(QRectF(back, -thick / 2, thick * 0.45, thick), thick * 0.18, thick * 0.18);
  QPainterPath wood;
  wood.moveTo(shoulder, -thick / 2);
  wood.lineTo(point, 0);
  wood.lineTo(shoulder, thick / 2);
  wood.closeSubpath();
  p.setBrush(QColor(0xf4, 0xdc, 0xb0));
  p.drawPath(wood);
  QPainterPath lead;
  const double leadStart = shoulder + (point - shoulder) * 0.62;
  const double leadHalf = thick / 2 * (1.0 - 0.62);
  lead.moveTo(leadStart, -leadHalf);
  lead.lineTo(point, 0);
  lead.lineTo(leadStart, leadHalf);
  lead.closeSubpath();
  p.setBrush(QColor(0x30, 0x30, 0x38));
  p.drawPath(lead);
  p.restore();
}

void PlaySign(QPainter& p, QPointF c, double s) {
  QPainterPath tri;
  tri.moveTo(c.x() - s * 0.30, c.y() - s * 0.48);
  tri.lineTo(c.x() + s * 0.50, c.y());
  tri.lineTo(c.x() - s * 0.30, c.y() + s * 0.48);
  tri.closeSubpath();
  p.setPen(QPen(QColor(255, 255, 246), s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(255, 255, 246));
  p.drawPath(tri);
}

void CheckMark(QPainter& p, QPointF c, double s) {
  QPainterPath tick;
  tick.moveTo(c.x() - s * 0.45, c.y() + s * 0.02);
  tick.lineTo(c.x() - s * 0.12, c.y() + s * 0.34);
  tick.lineTo(c.x() + s * 0.48, c.y() - s * 0.36);
  p.setPen(QPen(QColor(255, 255, 246), s * 0.20, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
}

void Emblem(QPainter& p, const Theme& t, QPointF c, double r) {
  QRadialGradient fill(c - QPointF(r * 0.35, r * 0.45), r * 1.5);
  fill.setColorAt(0.0, t.glow2.lighter(130));
  fill.setColorAt(0.6, t.glow1);
  fill.setColorAt(1.0, t.mid);
  p.setPen(QPen(WithAlpha(t.accent, 0.9), 1.2));
  p.setBrush(fill);
  p.drawEllipse(c, r, r);
  switch (t.kind) {
    case ModeKind::Conspect: Pencil(p, c, r); break;
    case ModeKind::Video: PlaySign(p, c + QPointF(r * 0.06, 0), r); break;
    case ModeKind::Exam: CheckMark(p, c, r); break;
  }
}

// The largest bold size up to `limit` pixels at which `text` fits into `width`.
QFont FittedFont(const QString& family, const QString& text, double width, int limit, bool bold) {
  QFont font(family);
  font.setBold(bold);
  for (int px = limit; px > 8; --px) {
    font.setPixelSize(px);
    if (QFontMetricsF(font).horizontalAdvance(text) <= width) break;
  }
  return font;
}

}  // namespace

QImage PaintLogo(const Theme& t, int scale) {
  QImage image(kWidth * scale, kHeight * scale, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);

  const double textLeft = 40.0;
  const double textWidth = kWidth - textLeft - 7.0;
  const QFont titleFont = FittedFont("DejaVu Sans", t.title, textWidth, 15, true);
  const QFont lineFont = FittedFont("DejaVu Sans", t.direction, textWidth, 10, false);

  // A soft dark halo behind the plate lifts it off any background.
  QImage halo(kWidth * scale, kHeight * scale, QImage::Format_ARGB32_Premultiplied);
  halo.fill(Qt::transparent);
  {
    QPainter h(&halo);
    h.setRenderHint(QPainter::Antialiasing);
    h.scale(scale, scale);
    h.setPen(Qt::NoPen);
    h.setBrush(QColor(0, 0, 0, 120));
    h.drawRoundedRect(QRectF(3, 3.5, kWidth - 6, kHeight - 5.5), 10, 10);
  }
  Blur(halo, 2 * scale);

  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.drawImage(0, 0, halo);
  // Everything below is laid out in the pixels of the 1x picture.
  p.scale(scale, scale);

  const QRectF plate(1.5, 1.5, kWidth - 3.0, kHeight - 3.0);
  QLinearGradient plateFill(plate.topLeft(), plate.bottomLeft());
  plateFill.setColorAt(0.0, WithAlpha(Mix(t.deep, Qt::black, 0.2), 0.82));
  plateFill.setColorAt(1.0, WithAlpha(Mix(t.deep, Qt::black, 0.5), 0.72));
  p.setPen(QPen(WithAlpha(t.accent, 0.55), 1.0));
  p.setBrush(plateFill);
  p.drawRoundedRect(plate, 9, 9);

  Emblem(p, t, QPointF(19.5, kHeight / 2.0), 13.0);

  const double titleBaseline = 17.0;
  QPainterPath title;
  title.addText(textLeft, titleBaseline, titleFont, t.title);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 150));
  p.drawPath(title.translated(0.8, 1.0));
  p.setBrush(QColor(0xff, 0xfb, 0xea));
  p.drawPath(title);

  p.setFont(lineFont);
  p.setPen(WithAlpha(t.accent, 0.95));
  p.drawText(QPointF(textLeft + 0.5, titleBaseline + 12.0), t.direction);
  p.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}
