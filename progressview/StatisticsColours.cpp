#include "progressview/StatisticsColours.h"

#include <algorithm>

namespace verbaro::colours {

QColor CalendarLevel(int level) {
  static const QColor levels[] = {QColor(0xE4, 0xE8, 0xEE), QColor(0xB9, 0xD3, 0xF2),
                                  QColor(0x7D, 0xAE, 0xE8), QColor(0x3F, 0x80, 0xD4),
                                  QColor(0x17, 0x4E, 0x9C)};
  return levels[std::clamp(level, 0, 4)];
}

QColor MissHeat(double heat) {
  heat = std::clamp(heat, 0.0, 1.0);
  // From a pale key to a strong red, through orange.
  const QColor pale(0xF6, 0xF6, 0xF6);
  const QColor hot(0xD0, 0x10, 0x10);
  const auto mix = [heat](int a, int b) { return static_cast<int>(a + (b - a) * heat + 0.5); };
  return QColor(mix(pale.red(), hot.red()), mix(pale.green(), hot.green()),
                mix(pale.blue(), hot.blue()));
}

}  // namespace verbaro::colours
