#include "data/Clock.h"

#include <ctime>

namespace verbaro {

int64_t SystemClock::NowSeconds() const { return static_cast<int64_t>(std::time(nullptr)); }

}  // namespace verbaro
