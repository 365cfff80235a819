#pragma once
// The colour theme of each study mode: one family of colours per kind of mode (Conspect teal,
// Video indigo, Exam wine and amber), shifted a little for the reversed "-2" modes.
#include <QColor>
#include <QString>
#include <vector>

enum class ModeKind { Conspect, Video, Exam };

struct Theme {
  QString fileStem;   // "Conspect1": Conspect1.jpg, Conspect1Logo.png
  QString title;      // the mode's name on its logo
  QString direction;  // the line under the name
  ModeKind kind;
  bool reversed;  // the "-2" modes mirror the light and lean the hue
  QColor deep;    // darkest tone, the middle of the picture
  QColor mid;     // the general tone
  QColor glow1;   // light from one corner
  QColor glow2;   // light from the opposite corner
  QColor accent;  // highlights: emblem rim, subtitle
};

const std::vector<Theme>& Themes();
