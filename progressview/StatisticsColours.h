#pragma once
// The colours of the statistics window: one blue scale for study days, one red scale for missed
// characters, and the series of the charts.
#include <QColor>

namespace verbaro::colours {

// Level 0 (no answers) to 4 (the busiest days).
QColor CalendarLevel(int level);
// heat 0 (never missed) to 1 (missed most).
QColor MissHeat(double heat);

inline QColor Answers() { return QColor(0x2F, 0x6F, 0xC4); }
inline QColor FirstTryShare() { return QColor(0x1C, 0x9A, 0x38); }
inline QColor Due() { return QColor(0xE0, 0x8A, 0x1E); }

}  // namespace verbaro::colours
