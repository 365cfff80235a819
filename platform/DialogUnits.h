#pragma once
// Dialog units, the measure the program's dialogs are laid out in: x in quarters of the dialog
// font's average letter width, y in eighths of its line height. Each length is turned into pixels
// on its own and rounded to the nearest pixel, halves away from zero, as a dialog template's
// units have always been mapped.
#include <QRect>
#include <QSize>

class QFont;

namespace verbaro {

class DialogUnits {
 public:
  // The base units of the font: the average width of the 52 Latin letters and the line height.
  explicit DialogUnits(const QFont& font);
  DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}

  int X(int units) const;
  int Y(int units) const;
  QSize Size(int width, int height) const { return {X(width), Y(height)}; }
  QRect Rect(int x, int y, int width, int height) const {
    return {X(x), Y(y), X(width), Y(height)};
  }

 private:
  int m_baseX;
  int m_baseY;
};

}  // namespace verbaro
