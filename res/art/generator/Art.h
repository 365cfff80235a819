#pragma once
// The pictures the generator paints.
#include <QImage>

#include "Themes.h"

QImage PaintBackground(const Theme& theme, int width, int height);
QImage PaintLogo(const Theme& theme);
QImage PaintProgramIcon(int size);

// The eleven toolbar pictures, 16 x 16, named by the command each button sends.
enum class ToolPicture { Open, Exit, RepeatSound, Conspect1, Conspect2, Video1, Video2, Exam1,
                         Exam2, Help, About };
QImage PaintToolPicture(ToolPicture which);
