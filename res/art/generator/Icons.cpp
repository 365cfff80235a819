// The program icon (a "V" under a French acute accent on a teal-to-indigo tile) and the
// toolbar's 16 x 16 pictures. Shapes sit on half pixels so that one-pixel lines stay sharp.
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "Art.h"
#include "Soft.h"

namespace {

const QColor kInk(0x2a, 0x2a, 0x36);
const QColor kPaper(0xff, 0xfb, 0xea);

// 3 x 5 pixel digits 1 and 2, one row per string.
const char* const kDigit1[5] = {".#.", "##.", ".#.", ".#.", "###"};
const char* const kDigit2[5] = {"##.", "..#", ".#.", "#..", "###"};

// A small dark badge with the white digit in the lower right corner.
void DigitBadge(QPainter& p, int digit, const QColor& badge) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(11, 9, 5, 7, badge);
  const char* const* rows = digit == 1 ? kDigit1 : kDigit2;
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 3; ++x) {
      if (rows[y][x] == '#') p.fillRect(12 + x, 10 + y, 1, 1, QColor(0xff, 0xff, 0xff));
    }
  }
  p.restore();
}

QImage Blank(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void Folder(QPainter& p) {
  const QColor edge(0x8a, 0x62, 0x0e);
  QLinearGradient back(0, 2, 0, 14);
  back.setColorAt(0, QColor(0xf2, 0xc2, 0x4a));
  back.setColorAt(1, QColor(0xd8, 0x9a, 0x20));
  QPainterPath rear;
  rear.moveTo(1.5, 13.5);
  rear.lineTo(1.5, 2.5);
  rear.lineTo(6.0, 2.5);
  rear.lineTo(7.5, 4.5);
  rear.lineTo(13.5, 4.5);
  rear.lineTo(13.5, 13.5);
  rear.closeSubpath();
  p.setPen(QPen(edge, 1.0));
  p.setBrush(back);
  p.drawPath(rear);
  QLinearGradient front(0, 6, 0, 14);
  front.setColorAt(0, QColor(0xff, 0xe8, 0x96));
  front.setColorAt(1, QColor(0xf4, 0xc0, 0x40));
  QPainterPath flap;
  flap.moveTo(1.5, 13.5);
  flap.lineTo(4.0, 7.5);
  flap.lineTo(15.5, 7.5);
  flap.lineTo(13.5, 13.5);
  flap.closeSubpath();
  p.setBrush(front);
  p.drawPath(flap);
}

void ExitDoor(QPainter& p) {
  QLinearGradient wood(2, 0, 10, 0);
  wood.setColorAt(0, QColor(0xb0, 0x74, 0x3c));
  wood.setColorAt(1, QColor(0x7c, 0x48, 0x20));
  p.setPen(QPen(QColor(0x4a, 0x2a, 0x10), 1.0));
  p.setBrush(wood);
  p.drawRect(QRectF(2.5, 1.5, 7.0, 13.0));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xff, 0xe0, 0x90));
  p.drawEllipse(QPointF(8.0, 8.5), 0.9, 0.9);
  // The arrow out of the door.
  const QColor red(0xd0, 0x24, 0x24);
  p.setPen(QPen(red, 2.0, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(6.0, 8.0), QPointF(12.0, 8.0));
  QPainterPath head;
  head.moveTo(15.5, 8.0);
  head.lineTo(11.0, 4.0);
  head.lineTo(11.0, 12.0);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(red);
  p.drawPath(head);
}

void Speaker(QPainter& p) {
  QPainterPath cone;
  cone.moveTo(1.5, 5.5);
  cone.lineTo(4.5, 5.5);
  cone.lineTo(8.5, 1.5);
  cone.lineTo(8.5, 14.5);
  cone.lineTo(4.5, 10.5);
  cone.lineTo(1.5, 10.5);
  cone.closeSubpath();
  QLinearGradient body(0, 2, 0, 14);
  body.setColorAt(0, QColor(0x7a, 0x8a, 0xa8));
  body.setColorAt(1, QColor(0x3a, 0x48, 0x66));
  p.setPen(QPen(QColor(0x22, 0x2a, 0x3c), 1.0));
  p.setBrush(body);
  p.drawPath(cone);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x1e, 0x6a, 0xd0), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(6.0, 5.0, 6.0, 6.0), -60 * 16, 120 * 16);
  p.drawArc(QRectF(5.0, 2.0, 10.0, 12.0), -55 * 16, 110 * 16);
}

void ModePencil(QPainter& p, const QColor& colour) {
  p.save();
  p.translate(6.5, 7.5);
  p.rotate(-45);
  QLinearGradient body(0, -2, 0, 2);
  body.setColorAt(0, colour.lighter(140));
  body.setColorAt(1, colour.darker(120));
  p.setPen(QPen(QColor(0x1a, 0x2a, 0x2a), 0.9));
  p.setBrush(body);
  p.drawRect(QRectF(-6.0, -2.0, 8.5, 4.0));
  QPainterPath tip;
  tip.moveTo(2.5, -2.0);
  tip.lineTo(6.5, 0.0);
  tip.lineTo(2.5, 2.0);
  tip.closeSubpath();
  p.setBrush(QColor(0xf0, 0xd8, 0xa8));
  p.drawPath(tip);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawEllipse(QPointF(6.0, 0.0), 0.7, 0.7);
  p.restore();
}

void ModeScreen(QPainter& p, const QColor& colour) {
  QLinearGradient fill(0, 2, 0, 12);
  fill.setColorAt(0, colour.lighter(130));
  fill.setColorAt(1, colour.darker(130));
  p.setPen(QPen(QColor(0x14, 0x18, 0x30), 1.0));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(0.5, 1.5, 12.0, 10.0), 1.5, 1.5);
  QPainterPath play;
  play.moveTo(4.5, 3.8);
  play.lineTo(9.2, 6.5);
  play.lineTo(4.5, 9.2);
  play.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawPath(play);
}

void ModeCheck(QPainter& p, const QColor& colour) {
  QLinearGradient fill(0, 1, 0, 12);
  fill.setColorAt(0, colour.lighter(130));
  fill.setColorAt(1, colour.darker(130));
  p.setPen(QPen(QColor(0x30, 0x10, 0x14), 1.0));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(0.5, 1.5, 11.0, 11.0), 2.0, 2.0);
  QPainterPath tick;
  tick.moveTo(2.8, 7.0);
  tick.lineTo(5.0, 9.4);
  tick.lineTo(9.4, 4.0);
  p.setPen(QPen(kPaper, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
}

// Three rising bars on a sheet with its base line: the lesson's statistics.
void BarChart(QPainter& p) {
  QLinearGradient sheet(0, 1, 0, 15);
  sheet.setColorAt(0, kPaper);
  sheet.setColorAt(1, QColor(0xe6, 0xe0, 0xc8));
  p.setPen(QPen(QColor(0x6a, 0x64, 0x50), 1.0));
  p.setBrush(sheet);
  p.drawRoundedRect(QRectF(0.5, 0.5, 15.0, 15.0), 2.0, 2.0);
  const struct {
    double left, top;
    QColor colour;
  } bars[] = {{3.0, 9.0, QColor(0x2f, 0x6f, 0xc4)},
              {6.5, 5.5, QColor(0x1c, 0x9a, 0x38)},
              {10.0, 2.5, QColor(0xe0, 0x8a, 0x1e)}};
  for (const auto& bar : bars) {
    p.setPen(QPen(bar.colour.darker(140), 1.0));
    p.setBrush(bar.colour);
    p.drawRect(QRectF(bar.left + 0.5, bar.top + 0.5, 2.0, 12.0 - bar.top));
  }
  p.setPen(QPen(kInk, 1.0));
  p.drawLine(QPointF(2.0, 13.5), QPointF(14.0, 13.5));
}

void RoundSign(QPainter& p, const QString& sign) {
  QRadialGradient fill(QPointF(5.5, 4.5), 10.0);
  fill.setColorAt(0, QColor(0x6a, 0xaa, 0xff));
  fill.setColorAt(1, QColor(0x1a, 0x4c, 0xb0));
  p.setPen(QPen(QColor(0x10, 0x30, 0x78), 1.0));
  p.setBrush(fill);
  p.drawEllipse(QRectF(0.5, 0.5, 15.0, 15.0));
  QFont font("DejaVu Sans");
  font.setBold(true);
  font.setPixelSize(12);
  p.setFont(font);
  p.setPen(QColor(0xff, 0xff, 0xff));
  p.drawText(QRectF(0.0, 0.5, 16.0, 15.0), Qt::AlignCenter, sign);
}

const Theme& ThemeOf(const QString& stem) {
  for (const Theme& t : Themes()) {
    if (t.fileStem == stem) return t;
  }
  return Themes().front();
}

}  // namespace

QImage PaintProgramIcon(int size) {
  QImage image = Blank(size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  const double inset = size <= 16 ? 0.5 : 1.0;
  QLinearGradient tile(0, 0, s, s);
  tile.setColorAt(0.0, QColor(0x2c, 0x92, 0x8a));
  tile.setColorAt(1.0, QColor(0x1c, 0x2a, 0x6c));
  p.setPen(QPen(QColor(0x10, 0x1c, 0x40), 1.0));
  p.setBrush(tile);
  p.drawRoundedRect(QRectF(inset, inset, s - 2 * inset, s - 2 * inset), s * 0.2, s * 0.2);

  const double stroke = std::max(2.0, s * 0.13);
  QPainterPath v;
  v.moveTo(s * 0.25, s * 0.34);
  v.lineTo(s * 0.50, s * 0.80);
  v.lineTo(s * 0.75, s * 0.34);
  p.setPen(QPen(kPaper, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(v);

  const double accent = std::max(1.6, s * 0.09);
  p.setPen(QPen(QColor(0xff, 0xc8, 0x57), accent, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(s * 0.47, s * 0.24), QPointF(s * 0.62, s * 0.11));
  return image;
}

QImage PaintToolPicture(ToolPicture which, int scale) {
  QImage image = Blank(16 * scale);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(scale, scale);  // drawn on the 16 x 16 grid whatever the pixels
  switch (which) {
    case ToolPicture::Open: Folder(p); break;
    case ToolPicture::Exit: ExitDoor(p); break;
    case ToolPicture::RepeatSound: Speaker(p); break;
    case ToolPicture::Conspect1:
      ModePencil(p, ThemeOf("Conspect1").glow1);
      DigitBadge(p, 1, ThemeOf("Conspect1").deep);
      break;
    case ToolPicture::Conspect2:
      ModePencil(p, ThemeOf("Conspect2").glow1);
      DigitBadge(p, 2, ThemeOf("Conspect2").deep);
      break;
    case ToolPicture::Video1:
      ModeScreen(p, ThemeOf("Video1").glow1);
      DigitBadge(p, 1, ThemeOf("Video1").deep);
      break;
    case ToolPicture::Video2:
      ModeScreen(p, ThemeOf("Video2").glow1);
      DigitBadge(p, 2, ThemeOf("Video2").deep);
      break;
    case ToolPicture::Exam1:
      ModeCheck(p, ThemeOf("Exam1").glow1);
      DigitBadge(p, 1, ThemeOf("Exam1").deep);
      break;
    case ToolPicture::Exam2:
      ModeCheck(p, ThemeOf("Exam2").glow1);
      DigitBadge(p, 2, ThemeOf("Exam2").deep);
      break;
    case ToolPicture::Help: RoundSign(p, "?"); break;
    case ToolPicture::About: RoundSign(p, "i"); break;
    case ToolPicture::Statistics: BarChart(p); break;
  }
  return image;
}
