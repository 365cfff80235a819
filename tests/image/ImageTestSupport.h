#pragma once
// Small helpers shared by the picture tests.
#include <QColor>
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

#include "image/FCObjImage.h"

namespace verbaro::test {

// The blue, green, red (and alpha) bytes of one pixel.
inline std::array<int, 4> Bgra(const FCObjImage& image, int x, int y) {
  const uint8_t* p = image.GetBits(x, y);
  return {p[0], p[1], p[2], image.ColorBits() == 32 ? p[3] : 255};
}

// A picture of one colour per quadrant (top left red, top right green, bottom left blue,
// bottom right white), so that orientation mistakes show.
inline QImage Quadrants(int width, int height, QImage::Format format) {
  QImage image(width, height, format);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool right = x >= width / 2;
      const bool bottom = y >= height / 2;
      QColor c = !bottom ? (right ? QColor(0, 255, 0) : QColor(255, 0, 0))
                         : (right ? QColor(255, 255, 255) : QColor(0, 0, 255));
      image.setPixelColor(x, y, c);
    }
  }
  return image;
}

inline QString Fixture(const char* name) {
  return QStringLiteral(VERBARO_TEST_FIXTURES "/images/") + QString::fromUtf8(name);
}

}  // namespace verbaro::test
