#pragma once
// The live keyboard state on the desktop: Shift and Ctrl as Qt last saw them with an input event
// (the state that belongs to the key being handled), CapsLock from the X server's keyboard
// indicator when the program runs on X11, else tracked from the CapsLock key-downs seen.
#include "platform/KeyboardState.h"

namespace verbaro {

class QtKeyboardState : public KeyboardState {
 public:
  QtKeyboardState();
  ~QtKeyboardState() override;
  QtKeyboardState(const QtKeyboardState&) = delete;
  QtKeyboardState& operator=(const QtKeyboardState&) = delete;

  bool IsShiftHeld() const override;
  bool IsCtrlHeld() const override;
  bool IsCapsLockOn() const override;
  void NoteKeyDown(int virtualKey) override;

  // True when CapsLock is read from the X server rather than tracked.
  bool ReadsCapsLockFromServer() const { return m_pDisplay != nullptr; }

 private:
  void* m_pDisplay = nullptr;  // Xlib Display, not owned (Qt's own connection)
  bool m_bTrackedCapsLock = false;
};

}  // namespace verbaro
