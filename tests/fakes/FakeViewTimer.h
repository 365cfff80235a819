#pragma once
// The end-of-sound timer, fired by hand.
#include <vector>

#include "platform/ViewTimer.h"

namespace verbaro {

// A timer that tests fire by hand; it records every start.
class FakeViewTimer : public ViewTimer {
 public:
  std::vector<unsigned> starts;
  bool active = false;
  unsigned lastPeriod = 0;
  void Start(unsigned milliseconds) override {
    starts.push_back(milliseconds);
    lastPeriod = milliseconds;
    active = true;
  }
  void Kill() override { active = false; }
  bool IsActive() const override { return active; }
  // Fires the timer as the clock would when it is running; returns false when it was not running.
  // Single-shot like the real timer: it has stopped by the time its handler runs, so whatever
  // goes on afterwards must start it again.
  bool Fire() {
    if (!active) return false;
    active = false;
    if (onTimeout) onTimeout();
    return true;
  }
};

}  // namespace verbaro
