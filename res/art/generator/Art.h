#pragma once
// The pictures the generator paints.
#include <QImage>

#include "Themes.h"

QImage PaintBackground(const Theme& theme, int width, int height);
// scale 1 paints the picture at its own size, 2 at twice as many pixels for screens at a scale
// factor of 2 (the same picture, drawn in the same place).
QImage PaintLogo(const Theme& theme, int scale);
QImage PaintProgramIcon(int size);

// The eleven toolbar pictures, 16 x 16 (times the scale), named by the command each button sends.
enum class ToolPicture {
  Open,
  Exit,
  RepeatSound,
  Conspect1,
  Conspect2,
  Video1,
  Video2,
  Exam1,
  Exam2,
  Help,
  About,
  Statistics
};
QImage PaintToolPicture(ToolPicture which, int scale);
