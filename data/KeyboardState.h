#pragma once
// Live keyboard state read when a key is translated: Shift held, Ctrl held, CapsLock on.
#include <cstdint>

namespace verbaro {

class KeyboardState {
 public:
  virtual ~KeyboardState() = default;
  virtual bool IsShiftHeld() const = 0;
  virtual bool IsCtrlHeld() const = 0;
  virtual bool IsCapsLockOn() const = 0;
  // Every key-down the views see is reported here before it is translated, with the native
  // modifier state that came with the key event (on X11 and Wayland the xkb modifier mask of the
  // moment the key was pressed).
  virtual void NoteKeyDown(uint32_t /*nativeModifiers*/) {}
};

}  // namespace verbaro
