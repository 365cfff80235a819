#pragma once
// The live keyboard state on the desktop: Shift and Ctrl as Qt last saw them with an input event
// (the state that belongs to the key being handled), CapsLock from the key event itself.
//
// CapsLock is the xkb Lock modifier in the event's native modifiers, which X11 and Wayland both
// carry: it is the state of the moment the key was pressed, whatever happened while another
// window had the keys, and a CapsLock key that switches layouts (grp:caps_toggle) sets no lock.
#include "data/KeyboardState.h"

namespace verbaro {

class QtKeyboardState : public KeyboardState {
 public:
  bool IsShiftHeld() const override;
  bool IsCtrlHeld() const override;
  bool IsCapsLockOn() const override { return m_capsLock; }
  void NoteKeyDown(uint32_t nativeModifiers) override;

  // xkb places the eight core modifiers first, in X11's order: Shift, Lock, Control, Mod1..Mod5.
  // The X11 key event state has the same bits below its layout group bits.
  static constexpr uint32_t kXkbLockMask = 1u << 1;

 private:
  bool m_capsLock = false;
};

}  // namespace verbaro
