// Key events to Windows virtual-key codes: by physical position from the scan code, by Qt key
// without one; CapsLock from the native modifiers of each key event.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "platform/QtKeyboardState.h"
#include "support/ViewsTestSupport.h"
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

TEST(VirtualKeys, ScanCodeGivesThePhysicalUsKeyWhateverTheLayout) {
  // A French AZERTY layout: the key left of W produces Qt::Key_A, and so on.
  EXPECT_EQ(FromEvent(Qt::Key_A, Qt::NoModifier, 24), 'Q');
  EXPECT_EQ(FromEvent(Qt::Key_Q, Qt::NoModifier, 38), 'A');
  EXPECT_EQ(FromEvent(Qt::Key_W, Qt::NoModifier, 52), 'Z');
  EXPECT_EQ(FromEvent(Qt::Key_M, Qt::NoModifier, 47), vk::kOem1);
  EXPECT_EQ(FromEvent(Qt::Key_Comma, Qt::NoModifier, 58), 'M');
  EXPECT_EQ(FromEvent(Qt::Key_Ampersand, Qt::NoModifier, 10), '1');
  EXPECT_EQ(FromEvent(Qt::Key_twosuperior, Qt::NoModifier, 49), vk::kOem3);
  EXPECT_EQ(FromEvent(Qt::Key_Less, Qt::NoModifier, 94), vk::kOem102);
  EXPECT_EQ(FromEvent(Qt::Key_Shift, Qt::NoModifier, 62), vk::kShift);
  EXPECT_EQ(FromEvent(Qt::Key_Control, Qt::NoModifier, 105), vk::kControl);
  EXPECT_EQ(FromEvent(Qt::Key_Backtab, Qt::ShiftModifier, 23), vk::kTab);
  EXPECT_EQ(FromEvent(Qt::Key_PageDown, Qt::NoModifier, 117), vk::kNext);
  EXPECT_EQ(FromEvent(Qt::Key_Slash, Qt::KeypadModifier, 106), vk::kDivide);
  // Keypad keys follow NumLock, as the key they produced tells.
  EXPECT_EQ(FromEvent(Qt::Key_1, Qt::KeypadModifier, 87), vk::kNumpad0 + 1);
  EXPECT_EQ(FromEvent(Qt::Key_End, Qt::KeypadModifier, 87), vk::kEnd);
  EXPECT_EQ(FromEvent(Qt::Key_Comma, Qt::KeypadModifier, 91), vk::kDecimal);
}

TEST(VirtualKeys, QtKeyWithoutScanCodeReadsAsUsKeyboard) {
  EXPECT_EQ(FromEvent(Qt::Key_A, Qt::NoModifier, 0), 'A');
  EXPECT_EQ(FromEvent(Qt::Key_Exclam, Qt::ShiftModifier, 0), '1');
  EXPECT_EQ(FromEvent(Qt::Key_AsciiCircum, Qt::ShiftModifier, 0), '6');
  EXPECT_EQ(FromEvent(Qt::Key_QuoteDbl, Qt::ShiftModifier, 0), vk::kOem7);
  EXPECT_EQ(FromEvent(Qt::Key_AsciiTilde, Qt::ShiftModifier, 0), vk::kOem3);
  EXPECT_EQ(FromEvent(Qt::Key_Question, Qt::ShiftModifier, 0), vk::kOem2);
  EXPECT_EQ(FromEvent(Qt::Key_Slash, Qt::KeypadModifier, 0), vk::kDivide);
  EXPECT_EQ(FromEvent(Qt::Key_7, Qt::KeypadModifier, 0), vk::kNumpad0 + 7);
  EXPECT_EQ(FromEvent(Qt::Key_Home, Qt::KeypadModifier, 0), vk::kHome);
  EXPECT_EQ(FromEvent(Qt::Key_Tab, Qt::NoModifier, 0), vk::kTab);
  EXPECT_EQ(FromEvent(Qt::Key_Return, Qt::NoModifier, 0), vk::kReturn);
  EXPECT_EQ(FromEvent(Qt::Key_F5, Qt::NoModifier, 0), vk::kF1 + 4);
  EXPECT_EQ(FromEvent(Qt::Key_CapsLock, Qt::NoModifier, 0), vk::kCapital);
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

TEST(VirtualKeys, EveryKeyOfTheTypingRowsAndTheKeypadGivesACharacter) {
  // Evdev codes of a 105-key keyboard: the digit row, the three letter rows with their
  // punctuation, Space, the extra key left of Z, and the keypad digits and operators.
  std::vector<int> typing;
  for (uint32_t evdev = 2; evdev <= 13; ++evdev) typing.push_back(vk::FromX11Keycode(evdev + 8));
  for (uint32_t evdev = 16; evdev <= 27; ++evdev) typing.push_back(vk::FromX11Keycode(evdev + 8));
  for (uint32_t evdev = 30; evdev <= 41; ++evdev) typing.push_back(vk::FromX11Keycode(evdev + 8));
  for (uint32_t evdev = 43; evdev <= 53; ++evdev) typing.push_back(vk::FromX11Keycode(evdev + 8));
  for (uint32_t evdev : {55u, 57u, 74u, 78u, 86u, 98u}) typing.push_back(vk::FromX11Keycode(evdev + 8));
  for (int digit = 0; digit <= 9; ++digit) typing.push_back(vk::kNumpad0 + digit);
  typing.push_back(vk::kDecimal);
  for (const int key : typing) {
    EXPECT_NE(key, 0);
    EXPECT_FALSE(vk::StandsForNoCharacter(key)) << "key 0x" << std::hex << key;
  }
  for (const int key : {vk::kLeft, vk::kRight, vk::kInsert, vk::kDelete, vk::kEscape, vk::kLWin,
                        vk::kRWin, vk::kApps, vk::kPause, vk::kSnapshot, vk::kNumLock, vk::kScroll,
                        vk::kClear, vk::kF1, vk::kF1 + 11, vk::kF1 + 23}) {
    EXPECT_TRUE(vk::StandsForNoCharacter(key)) << "key 0x" << std::hex << key;
  }
}

}  // namespace
}  // namespace verbaro
