// Letters of keys in real xkb keymaps compiled from the system's layouts: which keysyms are Latin
// letters, and the letter a key gives in the first Latin layout of a keymap.
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>
#include <string>

#include "platform/XkbLetters.h"
#include "tests/support/TestKeyboard.h"

namespace verbaro {
namespace {

using test::TestKeyboard;

uint32_t Sym(const char* name) { return xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS); }
constexpr uint32_t Keycode(uint32_t evdev) { return evdev + TestKeyboard::kX11Offset; }

// Linux evdev codes of keys, named by their US caps.
constexpr uint32_t kQ = 16, kO = 24, kBracketLeft = 26, kA = 30, kS = 31, kSemicolon = 39, kM = 50,
                   kEsc = 1;

TEST(XkbLetters, KeysymsOfLatinLettersAndOfOtherScripts) {
  const struct {
    const char* name;
    int latin;
    bool otherScript;
  } cases[] = {
      {"a", 'A', false},
      {"O", 'O', false},
      {"z", 'Z', false},
      {"eacute", 0, false},
      {"ccedilla", 0, false},
      {"ssharp", 0, false},
      {"Cyrillic_shcha", 0, true},
      {"Cyrillic_EF", 0, true},
      {"Greek_alpha", 0, true},
      {"hebrew_aleph", 0, true},
      {"apostrophe", 0, false},
      {"2", 0, false},
      {"F4", 0, false},
      {"Control_L", 0, false},
      {"NoSymbol", 0, false},
      // Keysyms named by their Unicode code point, as tools that type any character send them.
      {"U006F", 'O', false},
      {"U0449", 0, true},
      {"U00E9", 0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(xkb::LatinLetterOfKeysym(Sym(c.name)), c.latin) << c.name;
    EXPECT_EQ(xkb::IsOtherScriptLetter(Sym(c.name)), c.otherScript) << c.name;
  }
}

TEST(XkbLetters, KeysOfTheFirstLatinLayout) {
  const struct {
    const char* layouts;
    uint32_t evdev;
    int letter;
  } cases[] = {
      {"us", kO, 'O'},
      {"us", kEsc, 0},  // no letter on the key
      {"ru", kO, 0},    // no Latin layout at all
      {"gr", kA, 0},
      {"us,ru", kO, 'O'},
      {"ru,us", kO, 'O'},  // the Latin layout need not come first
      {"ru,fr", kQ, 'A'},  // AZERTY: the letter on the key, not its US place
      {"ru,fr", kA, 'Q'},
      {"ru,fr", kSemicolon, 'M'},
      {"ru,fr", kM, 0},  // AZERTY gives a comma there
      {"ru,us(dvorak)", kS, 'O'},
      {"ru,us(dvorak)", kQ, 0},       // Dvorak gives an apostrophe there
      {"ru,fr,us(dvorak)", kQ, 'A'},  // the first Latin layout wins
      {"ru,us(dvorak),fr", kQ, 0},
      {"us,ru", kBracketLeft, 0},
  };
  for (const auto& c : cases) {
    TestKeyboard keyboard(c.layouts);
    EXPECT_EQ(xkb::FirstLatinLayoutLetter(keyboard.Keymap(), Keycode(c.evdev)), c.letter)
        << c.layouts << " key " << c.evdev;
  }
  EXPECT_EQ(xkb::FirstLatinLayoutLetter(nullptr, Keycode(kO)), 0);
  // A keycode the keymap does not know.
  TestKeyboard us("us");
  EXPECT_EQ(xkb::FirstLatinLayoutLetter(us.Keymap(), 700), 0);
  EXPECT_EQ(xkb::FirstLatinLayoutLetter(us.Keymap(), 0), 0);
}

TEST(XkbLetters, KeymapFromTheTextACompositorHandsOut) {
  TestKeyboard french("ru,fr");
  char* text = xkb_keymap_get_as_string(french.Keymap(), XKB_KEYMAP_FORMAT_TEXT_V1);
  ASSERT_NE(text, nullptr);
  const std::string keymapText(text);
  std::free(text);

  // With or without the terminating NUL in the size.
  for (const std::size_t size : {keymapText.size(), keymapText.size() + 1}) {
    const xkb::Keymap keymap = xkb::KeymapFromText(keymapText.c_str(), size);
    ASSERT_NE(keymap, nullptr) << size;
    EXPECT_EQ(xkb::FirstLatinLayoutLetter(keymap.get(), Keycode(kQ)), 'A');
  }
  // Whatever follows a NUL inside the text is no part of it.
  const std::string padded = keymapText + std::string(1, '\0') + "garbage";
  EXPECT_NE(xkb::KeymapFromText(padded.c_str(), padded.size()), nullptr);
  // Cut short, or garbage: no keymap, and no crash.
  EXPECT_EQ(xkb::KeymapFromText(keymapText.c_str(), keymapText.size() / 2), nullptr);
  const std::string garbage = "xkb_keymap { \"\x01\xff";
  EXPECT_EQ(xkb::KeymapFromText(garbage.c_str(), garbage.size()), nullptr);
  EXPECT_EQ(xkb::KeymapFromText("", 0), nullptr);
}

}  // namespace
}  // namespace verbaro
