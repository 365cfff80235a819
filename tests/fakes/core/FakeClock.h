#pragma once
// A clock that shows the second the test chooses.
#include <cstdint>

#include "data/Clock.h"

namespace verbaro {

class FakeClock : public Clock {
 public:
  int64_t seconds = 1'700'000'000;
  int64_t NowSeconds() const override { return seconds; }
};

}  // namespace verbaro
