#pragma once
// Live keyboard state read when a key is translated: Shift held, Ctrl held, CapsLock on.

namespace verbaro {

class KeyboardState {
 public:
  virtual ~KeyboardState() = default;
  virtual bool IsShiftHeld() const = 0;
  virtual bool IsCtrlHeld() const = 0;
  virtual bool IsCapsLockOn() const = 0;
  // Every key-down the views see is reported here, with its Windows virtual-key code, so that an
  // implementation without a CapsLock indicator can track CapsLock itself.
  virtual void NoteKeyDown(int /*virtualKey*/) {}
};

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
