// The key a Ctrl or Alt shortcut press stands for, from the physical key and the keysym the
// active layout gives: the Latin letter where there is one, the place only on other scripts.
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include <QKeyEvent>

#include "app/ShortcutKey.h"
#include "tests/support/Application.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

uint32_t Sym(const char* name) { return xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS); }

TEST(ShortcutKey, LatinLetterFirstThenTheFirstLatinLayoutThenThePlace) {
  const struct {
    int physical;
    const char* keysym;
    int latinLayoutLetter;  // what the keymap lookup gives, when asked
    int expected;
    bool asksKeymap;
  } cases[] = {
      {'O', "o", 0, 'O', false},                 // US
      {'S', "o", 0, 'O', false},                 // Dvorak: the key S gives "o"
      {'O', "r", 0, 'R', false},                 // Dvorak: the key O gives "r"
      {'Q', "A", 0, 'A', false},                 // AZERTY, Shift or CapsLock held
      {0, "o", 0, 'O', false},                   // a tool's spare keycode that types "o"
      {'O', "Cyrillic_shcha", 0, 'O', true},     // Russian only: the US place
      {'O', "Cyrillic_shcha", 'R', 'R', true},   // Russian + Dvorak: Dvorak's letter
      {'Q', "Cyrillic_shorti", 'A', 'A', true},  // Russian + AZERTY
      {'A', "Greek_alpha", 0, 'A', true},
      {0, "Cyrillic_shcha", 0, 0, true},  // a spare keycode: no place to fall back to
      {'Q', "apostrophe", 0, 0, false},   // Dvorak's Q key is no letter
      {'2', "eacute", 0, '2', false},     // AZERTY's 2 key keeps its place
      {vk::kOem1, "m", 0, 'M', false},    // AZERTY's M beside L
      {vk::kF1 + 3, "F4", 0, vk::kF1 + 3, false},
      {'O', "NoSymbol", 0, 'O', false},  // no keysym (offscreen): the place
  };
  for (const auto& c : cases) {
    bool asked = false;
    const int key = ShortcutKey(c.physical, Sym(c.keysym), [&] {
      asked = true;
      return c.latinLayoutLetter;
    });
    EXPECT_EQ(key, c.expected) << c.keysym << " on " << c.physical;
    EXPECT_EQ(asked, c.asksKeymap) << c.keysym << " on " << c.physical;
  }
  // Without a keymap lookup a non-Latin layout goes by the place.
  EXPECT_EQ(ShortcutKey('O', Sym("Cyrillic_shcha"), {}), 'O');
}

TEST(ShortcutKey, OnlyCtrlOrAltPressesFollowTheLayout) {
  test::EnsureApplication();  // key events need the application's keyboard device
  int asked = 0;
  const LatinLayoutLetter lookup = [&](uint32_t keycode) {
    ++asked;
    return keycode == 32 ? 'R' : 0;
  };
  auto press = [&](int qtKey, Qt::KeyboardModifiers modifiers, quint32 keycode, const char* sym) {
    const QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, keycode, Sym(sym), 0);
    return ShortcutKeyOfEvent(event, lookup);
  };
  // Typing (no Ctrl or Alt) keeps the physical key and never reads the keymap.
  EXPECT_EQ(press(Qt::Key_O, Qt::NoModifier, 39, "o"), 'S');
  EXPECT_EQ(press(0x0429, Qt::ShiftModifier, 32, "Cyrillic_SHCHA"), 'O');
  EXPECT_EQ(press(Qt::Key_F6, Qt::NoModifier, 72, "F6"), vk::kF1 + 5);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(press(Qt::Key_O, Qt::ControlModifier, 39, "o"), 'O');
  EXPECT_EQ(press(Qt::Key_O, Qt::AltModifier, 39, "o"), 'O');
  EXPECT_EQ(asked, 0);
  // The keycode of the key goes to the lookup.
  EXPECT_EQ(press(0x0429, Qt::ControlModifier, 32, "Cyrillic_shcha"), 'R');
  EXPECT_EQ(press(0x0424, Qt::ControlModifier, 38, "Cyrillic_ef"), 'A');
  EXPECT_EQ(asked, 2);
  // No keycode (a platform without one): nothing to look up, the Qt key's US place.
  EXPECT_EQ(press(0x0429, Qt::ControlModifier, 0, "Cyrillic_shcha"), 0);
  EXPECT_EQ(press(Qt::Key_O, Qt::ControlModifier, 0, "NoSymbol"), 'O');
  EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace verbaro
