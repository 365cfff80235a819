#pragma once
// A keyboard with the xkb layouts a desktop could have ("us", "fr", "us(dvorak)", "us,ru"),
// compiled from the system's xkb data, one of its layouts active: what the keys give, as the
// X server or the Wayland compositor would report it with a key event.
#include <cstdint>

struct xkb_keymap;
struct xkb_state;

namespace verbaro::test {

class TestKeyboard {
 public:
  // Fails the current test when the layouts do not compile.
  explicit TestKeyboard(const char* layouts, int activeLayout = 0);
  ~TestKeyboard();
  TestKeyboard(const TestKeyboard&) = delete;
  TestKeyboard& operator=(const TestKeyboard&) = delete;

  xkb_keymap* Keymap() const { return m_keymap; }
  // The keysym of the key with this Linux evdev code in the active layout, Shift held or not.
  uint32_t Keysym(uint32_t evdev, bool shift = false) const;
  // The X11/Wayland modifier state of a key event: Ctrl, Shift and the active layout's bits.
  uint32_t NativeModifiers(bool ctrl, bool shift) const;

  static constexpr uint32_t kX11Offset = 8;

 private:
  xkb_keymap* m_keymap = nullptr;
  xkb_state* m_state = nullptr;
  int m_activeLayout = 0;
};

}  // namespace verbaro::test
