#pragma once
// Shift, Ctrl and CapsLock as the test sets them.
#include "data/KeyboardState.h"

namespace verbaro {

class FakeKeyboardState : public KeyboardState {
 public:
  bool shift = false;
  bool ctrl = false;
  bool capsLock = false;
  bool IsShiftHeld() const override { return shift; }
  bool IsCtrlHeld() const override { return ctrl; }
  bool IsCapsLockOn() const override { return capsLock; }
};

}  // namespace verbaro
