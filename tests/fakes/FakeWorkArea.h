#pragma once
// A work area of a chosen size (1920 x 1040 unless the test sets another).
#include "platform/WorkArea.h"

namespace verbaro {

class FakeWorkArea : public WorkArea {
 public:
  QRect rect{0, 0, 1920, 1040};
  QRect Get() const override { return rect; }
};

}  // namespace verbaro
