#include "data/progress/Days.h"

#include <ctime>

namespace verbaro::progress {

int64_t LocalDay(int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm local{};
  int64_t offset = 0;
  if (localtime_r(&time, &local) != nullptr) offset = local.tm_gmtoff;
  const int64_t shifted = seconds + offset;
  // floor division: a second before 1970 belongs to day -1
  return shifted >= 0 ? shifted / 86400 : -((-shifted + 86399) / 86400);
}

}  // namespace verbaro::progress
