#pragma once
// The two charts of the statistics window, made with Qt Charts: the answers of the last days with
// the share right at the first try, and the entries due on each of the next days.
#include <cstdint>
#include <vector>

#include "data/progress/ProgressStatistics.h"

class QWidget;

namespace verbaro {

// days: oldest first, one element per day.
QWidget* MakeAnswersChart(const std::vector<progress::DayActivity>& days, QWidget* parent);
// due[i]: the entries due on today + i.
QWidget* MakeForecastChart(const std::vector<int>& due, int64_t today, QWidget* parent);

}  // namespace verbaro
