// Mode backgrounds: a dark diagonal gradient, coloured light from two corners, silky bands of
// fine lines across the picture, a faint motif of the mode's kind, and a shade over the middle
// so that light text stays readable where the entry grid is drawn.
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "Art.h"
#include "Soft.h"

namespace {

void Glow(QPainter& p, QPointF centre, double radius, const QColor& colour, double strength) {
  QRadialGradient g(centre, radius);
  g.setColorAt(0.0, WithAlpha(colour, strength));
  g.setColorAt(0.45, WithAlpha(colour, strength * 0.45));
  g.setColorAt(1.0, WithAlpha(colour, 0.0));
  p.fillRect(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), g);
}

// A band of thin curves that flow across the picture, each a little apart from the next; the
// band is strongest in its middle and fades towards both ends.
void SilkBand(QPainter& p, int w, bool mirror, double y0, double y1, double spread, double lift,
              const QColor& colour, double alpha, int lines) {
  for (int i = 0; i < lines; ++i) {
    const double t = lines > 1 ? static_cast<double>(i) / (lines - 1) : 0.5;
    const double off = (t - 0.5) * spread;
    QPainterPath path;
    auto X = [&](double fx) { return mirror ? w * (1.0 - fx) : w * fx; };
    // The lines run close together at the ends and fan out in the middle.
    path.moveTo(X(-0.05), y0 + off * 0.3);
    path.cubicTo(X(0.28), y0 - lift + off * 2.2, X(0.60), y1 + lift - off * 0.8, X(1.05),
                 y1 + off * 1.4);
    QLinearGradient fade(X(0.0), 0, X(1.0), 0);
    const double a = alpha * (0.55 + 0.45 * std::sin(t * M_PI));
    fade.setColorAt(0.0, WithAlpha(colour, 0.0));
    fade.setColorAt(0.35, WithAlpha(colour, a));
    fade.setColorAt(0.7, WithAlpha(colour, a * 0.8));
    fade.setColorAt(1.0, WithAlpha(colour, 0.0));
    p.setPen(QPen(QBrush(fade), 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  }
}

// A broad translucent band under the silk lines, so that the band reads as a soft shape.
void VeilBand(QPainter& p, int w, bool mirror, double y0, double y1, double lift, double thick,
              const QColor& colour, double alpha) {
  auto X = [&](double fx) { return mirror ? w * (1.0 - fx) : w * fx; };
  QPainterPath path;
  path.moveTo(X(-0.05), y0);
  path.cubicTo(X(0.30), y0 - lift, X(0.62), y1 + lift, X(1.05), y1);
  path.lineTo(X(1.05), y1 + thick);
  path.cubicTo(X(0.62), y1 + lift + thick * 1.4, X(0.30), y0 - lift + thick * 0.6, X(-0.05),
               y0 + thick * 0.8);
  path.closeSubpath();
  QLinearGradient fade(X(0.0), 0, X(1.0), 0);
  fade.setColorAt(0.0, WithAlpha(colour, alpha * 0.2));
  fade.setColorAt(0.45, WithAlpha(colour, alpha));
  fade.setColorAt(1.0, WithAlpha(colour, 0.0));
  p.setPen(Qt::NoPen);
  p.setBrush(fade);
  p.drawPath(path);
}

// Soft round shapes, as of lights out of focus, scattered away from the middle.
void Bokeh(QPainter& p, int w, int h, bool mirror, const QColor& colour, unsigned seed) {
  unsigned state = seed;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / static_cast<double>(1u << 24);
  };
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 14; ++i) {
    double fx = next();
    double fy = next();
    // Keep the middle, where the grid is, clear.
    if (std::abs(fx - 0.5) < 0.3 && std::abs(fy - 0.55) < 0.3) {
      fy = fy < 0.55 ? fy * 0.4 : 1.0 - (1.0 - fy) * 0.4;
    }
    const double r = 24.0 + 110.0 * next() * next();
    const double a = 0.035 + 0.05 * next();
    const QPointF c(mirror ? w * (1.0 - fx) : w * fx, h * fy);
    QRadialGradient g(c, r);
    g.setColorAt(0.0, WithAlpha(colour, a));
    g.setColorAt(0.8, WithAlpha(colour, a * 0.8));
    g.setColorAt(1.0, WithAlpha(colour, 0.0));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
  }
}

// Conspect: the ruled lines and margin of an exercise book, barely there.
void NotebookMotif(QPainter& p, int w, int h, bool mirror, const QColor& accent) {
  p.setPen(QPen(WithAlpha(QColor(255, 255, 255), 0.05), 1.0));
  for (double y = 60.0; y < h; y += 44.0) p.drawLine(QPointF(0, y), QPointF(w, y));
  const double margin = mirror ? w * 0.93 : w * 0.07;
  p.setPen(QPen(WithAlpha(accent, 0.10), 2.0));
  p.drawLine(QPointF(margin, 0), QPointF(margin, h));
}

// Video: the perforated edges of a film strip along the top and bottom.
void FilmMotif(QPainter& p, int w, int h, const QColor& accent) {
  p.setPen(Qt::NoPen);
  p.setBrush(WithAlpha(accent, 0.09));
  for (double x = 14.0; x < w; x += 44.0) {
    p.drawRoundedRect(QRectF(x, 14.0, 22.0, 16.0), 4.0, 4.0);
    p.drawRoundedRect(QRectF(x, h - 30.0, 22.0, 16.0), 4.0, 4.0);
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(WithAlpha(accent, 0.07), 1.5));
  p.drawLine(QPointF(0, 40), QPointF(w, 40));
  p.drawLine(QPointF(0, h - 40), QPointF(w, h - 40));
}

// Exam: rings of a target around one lower corner.
void TargetMotif(QPainter& p, int w, int h, bool mirror, const QColor& accent) {
  const QPointF centre(mirror ? w * 0.1 : w * 0.9, h * 0.86);
  p.setBrush(Qt::NoBrush);
  for (int i = 1; i <= 7; ++i) {
    p.setPen(QPen(WithAlpha(accent, 0.20 - i * 0.02), i % 2 ? 3.0 : 1.5));
    p.drawEllipse(centre, 48.0 * i, 48.0 * i);
  }
}

}  // namespace

QImage PaintBackground(const Theme& t, int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  const bool m = t.reversed;
  auto X = [&](double fx) { return m ? w * (1.0 - fx) : w * fx; };
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient base(QPointF(X(0.0), 0), QPointF(X(1.0), h));
    base.setColorAt(0.0, t.mid);
    base.setColorAt(0.55, t.deep);
    base.setColorAt(1.0, Mix(t.deep, t.mid, 0.7));
    p.fillRect(image.rect(), base);

    Glow(p, QPointF(X(0.04), h * 0.0), w * 0.70, t.glow1, 0.75);
    Glow(p, QPointF(X(0.98), h * 1.02), w * 0.60, t.glow2, 0.60);
    Glow(p, QPointF(X(0.80), h * 0.04), w * 0.32, Mix(t.glow1, t.glow2, 0.5), 0.30);
    Glow(p, QPointF(X(0.12), h * 0.98), w * 0.30, t.glow1, 0.25);

    QImage layer(w, h, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
      QPainter l(&layer);
      l.setRenderHint(QPainter::Antialiasing);
      Bokeh(l, w, h, m, t.accent, static_cast<unsigned>(qHash(t.fileStem)) | 1u);
      VeilBand(l, w, m, h * 0.78, h * 0.42, h * 0.26, h * 0.16, t.glow2, 0.16);
      VeilBand(l, w, m, h * 0.20, h * 0.06, h * 0.12, h * 0.10, t.glow1, 0.12);
      switch (t.kind) {
        case ModeKind::Conspect: NotebookMotif(l, w, h, m, t.accent); break;
        case ModeKind::Video: FilmMotif(l, w, h, t.accent); break;
        case ModeKind::Exam: TargetMotif(l, w, h, m, t.accent); break;
      }
    }
    Blur(layer, 3);
    p.drawImage(0, 0, layer);

    // The silk lines are softened a little: the program stretches the picture without
    // smoothing, and crisp hairlines would then break up into a moire.
    QImage silk(w, h, QImage::Format_ARGB32_Premultiplied);
    silk.fill(Qt::transparent);
    {
      QPainter l(&silk);
      l.setRenderHint(QPainter::Antialiasing);
      SilkBand(l, w, m, h * 0.80, h * 0.46, h * 0.09, h * 0.26, t.accent, 0.42, 14);
      SilkBand(l, w, m, h * 0.22, h * 0.08, h * 0.05, h * 0.12, Mix(t.accent, Qt::white, 0.4), 0.30,
               9);
    }
    Blur(silk, 1);
    p.drawImage(0, 0, silk);

    // The shade that keeps the middle, where the entry grid goes, dark.
    QRadialGradient shade(QPointF(w * 0.5, h * 0.55), w * 0.58);
    shade.setColorAt(0.0, QColor(0, 0, 0, 90));
    shade.setColorAt(0.55, QColor(0, 0, 0, 55));
    shade.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(image.rect(), shade);
  }
  QImage opaque = image.convertToFormat(QImage::Format_RGB32);
  AddGrain(opaque, 2, static_cast<unsigned>(qHash(t.fileStem)));
  return opaque;
}
