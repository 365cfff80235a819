#pragma once
// The error signal, counted.
#include "platform/ErrorSignal.h"

namespace verbaro {

class FakeErrorSignal : public ErrorSignal {
 public:
  int plays = 0;
  void Play() override { ++plays; }
};

}  // namespace verbaro
