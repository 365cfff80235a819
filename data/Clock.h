#pragma once
// The current time in whole seconds, behind an interface so that tests choose the second that
// seeds the exam draws.
#include <cstdint>

namespace verbaro {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t NowSeconds() const = 0;
};

// Seconds since 1970-01-01 00:00 UTC from the system time.
class SystemClock : public Clock {
 public:
  int64_t NowSeconds() const override;
};

}  // namespace verbaro
