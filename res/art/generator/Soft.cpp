#include "Soft.h"

#include <algorithm>
#include <vector>

namespace {

// One horizontal box pass over every channel, reading from `in` and writing to `out`.
void BoxRows(const QImage& in, QImage& out, int radius) {
  const int w = in.width();
  const int window = 2 * radius + 1;
  for (int y = 0; y < in.height(); ++y) {
    const uchar* src = in.constScanLine(y);
    uchar* dst = out.scanLine(y);
    for (int c = 0; c < 4; ++c) {
      int sum = 0;
      for (int i = -radius; i <= radius; ++i) sum += src[std::clamp(i, 0, w - 1) * 4 + c];
      for (int x = 0; x < w; ++x) {
        dst[x * 4 + c] = static_cast<uchar>(sum / window);
        sum += src[std::min(x + radius + 1, w - 1) * 4 + c];
        sum -= src[std::max(x - radius, 0) * 4 + c];
      }
    }
  }
}

QImage Transposed(const QImage& image) {
  QImage out(image.height(), image.width(), image.format());
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) reinterpret_cast<QRgb*>(out.scanLine(x))[y] = src[x];
  }
  return out;
}

}  // namespace

void Blur(QImage& image, int radius) {
  if (radius < 1) return;
  QImage work = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QImage tmp(work.size(), work.format());
  for (int pass = 0; pass < 3; ++pass) {
    BoxRows(work, tmp, radius);
    work = tmp.copy();
  }
  work = Transposed(work);
  tmp = QImage(work.size(), work.format());
  for (int pass = 0; pass < 3; ++pass) {
    BoxRows(work, tmp, radius);
    work = tmp.copy();
  }
  image = Transposed(work);
}

void AddGrain(QImage& image, int amplitude, unsigned seed) {
  unsigned state = seed;
  for (int y = 0; y < image.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      state = state * 1664525u + 1013904223u;
      const int d =
          static_cast<int>((state >> 16) % static_cast<unsigned>(2 * amplitude + 1)) - amplitude;
      const QRgb p = row[x];
      row[x] = qRgba(std::clamp(qRed(p) + d, 0, 255), std::clamp(qGreen(p) + d, 0, 255),
                     std::clamp(qBlue(p) + d, 0, 255), qAlpha(p));
    }
  }
}

QColor Mix(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                          static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                          static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QColor WithAlpha(const QColor& c, double alpha) {
  QColor out = c;
  out.setAlphaF(static_cast<float>(alpha));
  return out;
}
