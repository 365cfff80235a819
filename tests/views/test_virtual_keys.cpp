// Key events to Windows virtual-key codes: by physical position from the scan code, by Qt key
// without one; CapsLock from the native modifiers of each key event. The two readings are checked
// against each other through real xkb keymaps (what each key gives on a US keyboard and on
// others), not against a copy of their tables.
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include <QKeyEvent>

#include "data/KeyTranslation.h"
#include "platform/QtKeyboardState.h"
#include "support/ViewsTestSupport.h"
#include "tests/support/TestKeyboard.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

// Qt keeps the keyboard device of key events in the application: every case runs inside one,
// also when it runs alone.
[[maybe_unused]] const bool kApplication = test::EnsureApplicationForEveryTest();

int FromEvent(int qtKey, Qt::KeyboardModifiers modifiers, quint32 x11Keycode) {
  const QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, x11Keycode, 0, 0);
  return vk::FromKeyEvent(event);
}

// The Qt key and modifiers of the event of a key that gave this keysym, as Qt builds them from
// xkb: a printing key is its character in capitals, a keypad keysym carries the keypad modifier.
// Keys that print nothing (dead keys, Tab, F1) are Qt::Key_unknown here.
struct QtKeyPress {
  int key = Qt::Key_unknown;
  Qt::KeyboardModifiers modifiers;
};

bool Prints(uint32_t keysym) {
  const uint32_t character = xkb_keysym_to_utf32(keysym);
  return character >= 0x20 && character != 0x7F && character <= 0xFFFF;
}

QtKeyPress QtKeyOf(uint32_t keysym, bool shift) {
  QtKeyPress press;
  press.modifiers = shift ? Qt::ShiftModifier : Qt::NoModifier;
  if (keysym >= XKB_KEY_KP_Space && keysym <= XKB_KEY_KP_9) press.modifiers |= Qt::KeypadModifier;
  if (Prints(keysym))
    press.key = QChar::toUpper(static_cast<char32_t>(xkb_keysym_to_utf32(keysym)));
  return press;
}

constexpr uint32_t kX11 = test::TestKeyboard::kX11Offset;

// Keypad keys whose keysym follows NumLock: their scan code alone does not tell the key.
bool FollowsNumLock(uint32_t evdev) {
  return (evdev >= 71 && evdev <= 73) || (evdev >= 75 && evdev <= 77) ||
         (evdev >= 79 && evdev <= 83);
}

// The extra key left of Z (evdev 86) gives "<" and ">" on a US layout, as Shift with the comma
// and period keys do: without a scan code the two cannot be told apart.
constexpr uint32_t kLessGreaterKey = 86;

TEST(VirtualKeys, EveryKeyOfAUsKeyboardReadsTheSameByScanCodeAndByQtKey) {
  const test::TestKeyboard us("us");
  int printing = 0;
  for (uint32_t evdev = 1; evdev < 128; ++evdev) {
    if (FollowsNumLock(evdev)) continue;
    const int byPlace = vk::FromX11Keycode(evdev + kX11);
    for (const bool shift : {false, true}) {
      const uint32_t keysym = us.Keysym(evdev, shift);
      // Above 99 only the extra keypad keys of some keyboards print ("=", "±", ","); a Windows
      // keyboard has no such keys.
      if (Prints(keysym) && evdev < 100) {
        ++printing;
        EXPECT_NE(byPlace, 0) << "evdev " << evdev;
        EXPECT_FALSE(vk::StandsForNoCharacter(byPlace)) << "evdev " << evdev;
        if (evdev == kLessGreaterKey) continue;
        const QtKeyPress press = QtKeyOf(keysym, shift);
        EXPECT_EQ(vk::FromQtKey(press.key, press.modifiers), byPlace)
            << "evdev " << evdev << (shift ? " with Shift" : "");
      } else if (byPlace != 0 && !shift && !Prints(keysym)) {
        EXPECT_TRUE(vk::StandsForNoCharacter(byPlace)) << "evdev " << evdev;
        if (keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F12) {
          EXPECT_EQ(byPlace, vk::kF1 + static_cast<int>(keysym - XKB_KEY_F1)) << "evdev " << evdev;
        }
      }
    }
  }
  // The digit row, three letter rows, the extra key, Space and four keypad operators, twice.
  EXPECT_EQ(printing, 2 * (12 + 12 + 12 + 11 + 1 + 1 + 4));
}

TEST(VirtualKeys, OnAnyLayoutAKeyReadsAsTheUsKeyInItsPlace) {
  const test::TestKeyboard us("us");
  for (const char* layout : {"fr", "de", "us(dvorak)", "ru", "be", "ch(fr)"}) {
    const test::TestKeyboard keyboard(layout);
    for (uint32_t evdev = 2; evdev <= 57; ++evdev) {
      if (evdev == kLessGreaterKey || !Prints(us.Keysym(evdev))) continue;
      for (const bool shift : {false, true}) {
        const QtKeyPress usPress = QtKeyOf(us.Keysym(evdev, shift), shift);
        const QtKeyPress press = QtKeyOf(keyboard.Keysym(evdev, shift), shift);
        EXPECT_EQ(FromEvent(press.key, press.modifiers, evdev + kX11),
                  vk::FromQtKey(usPress.key, usPress.modifiers))
            << layout << ", evdev " << evdev << (shift ? " with Shift" : "");
      }
    }
  }
}

TEST(VirtualKeys, KeypadDigitsFollowNumLockAndOtherKeysTheirMeaning) {
  // The keypad 1 gives a digit with NumLock on, End with it off; both by the same scan code.
  EXPECT_EQ(FromEvent(Qt::Key_1, Qt::KeypadModifier, 87), vk::kNumpad0 + 1);
  EXPECT_FALSE(vk::StandsForNoCharacter(vk::kNumpad0 + 1));
  EXPECT_EQ(FromEvent(Qt::Key_End, Qt::KeypadModifier, 87), vk::kEnd);
  EXPECT_EQ(FromEvent(Qt::Key_Comma, Qt::KeypadModifier, 91), vk::kDecimal);
  EXPECT_FALSE(vk::StandsForNoCharacter(vk::kDecimal));
  EXPECT_EQ(FromEvent(Qt::Key_7, Qt::KeypadModifier, 0), vk::kNumpad0 + 7);
  EXPECT_EQ(FromEvent(Qt::Key_Home, Qt::KeypadModifier, 0), vk::kHome);
  // Shift+Tab arrives as Backtab and is still the Tab key; a letter no US key gives is no key.
  EXPECT_EQ(FromEvent(Qt::Key_Backtab, Qt::ShiftModifier, 23), vk::kTab);
  EXPECT_EQ(FromEvent(Qt::Key_Backtab, Qt::ShiftModifier, 0), vk::kTab);
  EXPECT_EQ(FromEvent(Qt::Key_Eacute, Qt::NoModifier, 0), 0);
}

TEST(VirtualKeys, AltCombinationsAndF10AreSystemKeys) {
  EXPECT_TRUE(vk::IsSystemKey(QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier)));
  EXPECT_TRUE(vk::IsSystemKey(QKeyEvent(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier)));
  EXPECT_TRUE(vk::IsSystemKey(QKeyEvent(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier)));
  EXPECT_FALSE(vk::IsSystemKey(QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier)));
}

TEST(QtKeyboardState, CapsLockIsTheLockBitOfTheKeyEventsOwnModifiers) {
  QtKeyboardState keyboard;
  EXPECT_FALSE(keyboard.IsCapsLockOn());
  const std::pair<uint32_t, bool> cases[] = {
      {0x02, true},     // Lock
      {0x12, true},     // Lock with NumLock (Mod2)
      {0x03, true},     // Lock with Shift held
      {0x01, false},    // Shift alone
      {0x04, false},    // Control alone
      {0x2000, false},  // X11: second layout group, as CapsLock gives with grp:caps_toggle
      {0x2002, true},   // the same with a real lock
      {0x00, false},    // CapsLock turned off while another window had the keys
  };
  for (const auto& [mods, on] : cases) {
    keyboard.NoteKeyDown(mods);
    EXPECT_EQ(keyboard.IsCapsLockOn(), on) << std::hex << mods;
  }
}

}  // namespace
}  // namespace verbaro
