// Keys to characters: Latin with accent composition and sticky flags, and Cyrillic.
#include <gtest/gtest.h>

#include "data/KeyTranslation.h"
#include "data/KeyboardState.h"
#include "data/NoLetterMarks.h"
#include "data/VirtualKeyCodes.h"
#include "tests/fakes/core/FakeKeyboardState.h"

namespace verbaro {
namespace {

// Feeds key-downs to the Latin translation the way Conspect-1 does: Shift and Ctrl set the
// sticky flags, every other key is translated and its character appended.
struct LatinTyping {
  FakeKeyboardState keyboard;
  LatinKeyTranslator latin;
  std::u16string typed;
  NoLetterMarks marks;

  void Press(std::initializer_list<int> keys) {
    for (int key : keys) {
      if (key == vk::kShift) {
        latin.NoteShiftDown();
      } else if (key == vk::kControl) {
        latin.NoteCtrlDown();
      } else {
        const auto result = latin.Translate(key, keyboard);
        if (result.outcome == LatinKeyTranslator::Outcome::Character) typed += result.character;
        if (result.outcome == LatinKeyTranslator::Outcome::NoLetter) {
          marks.Add(typed, result.accent, result.character);
          typed += kNoLetterMark;
        }
      }
    }
  }
};

// Every letter of the accent table is checked against the user's manual (test_typing_sources);
// these are the rules around it: which key uses up Shift, replacing and dropping an accent.
TEST(LatinTranslation, AccentKeysUseUpShiftAndReplaceOrDropAnArmedAccent) {
  struct Case {
    std::initializer_list<int> keys;
    std::u16string expected;
  };
  const Case cases[] = {
      {{vk::kControl, vk::kShift, vk::kOem3, 'N'}, u"ñ"},  // Shift chose the tilde: used up
      {{vk::kControl, vk::kOem7, 'E', 'E'}, u"ée"},
      {{vk::kControl, vk::kDivide, 'O'}, u"ø"},
      // On the comma key Shift does not pick the accent, so it stays for the letter.
      {{vk::kShift, vk::kControl, vk::kOemComma, 'C'}, u"Ç"},
      // A second accent replaces the first; a character from the own-key table drops it.
      {{vk::kControl, vk::kOem3, vk::kControl, vk::kOem7, 'E'}, u"é"},
      {{vk::kControl, vk::kOem3, '1', 'A'}, u"1a"},
      {{vk::kControl, vk::kShift, vk::kOem7}, u"\""},
  };
  for (const Case& c : cases) {
    LatinTyping typing;
    typing.Press(c.keys);
    EXPECT_EQ(typing.typed, c.expected);
    EXPECT_EQ(typing.latin.ArmedAccent(), 0);
  }
}

TEST(LatinTranslation, KeyWithoutCompositionGivesNoLetterAndDropsTheAccent) {
  LatinTyping typing;
  typing.Press({vk::kControl, vk::kOem7});
  EXPECT_EQ(typing.latin.ArmedAccent(), u'\'');
  typing.Press({'B'});
  EXPECT_EQ(typing.typed, std::u16string(1, kNoLetterMark));
  EXPECT_EQ(typing.latin.ArmedAccent(), 0);
  typing.Press({'B'});
  EXPECT_EQ(typing.typed.back(), u'b');
}

// The learner sees a key that did not combine as the accent followed by the key, never as a
// replacement character; the typed text keeps its single mark.
TEST(LatinTranslation, KeyWithoutCompositionShowsTheAccentAndTheKey) {
  const std::u16string mark(1, kNoLetterMark);
  struct Case {
    std::initializer_list<int> keys;
    std::u16string shown;
  };
  const Case cases[] = {
      {{vk::kControl, vk::kOem7, 'L'}, u"´l"},
      {{vk::kControl, vk::kOem3, 'L'}, u"`l"},
      {{vk::kControl, vk::kShift, '6', 'L'}, u"^l"},
      {{vk::kControl, vk::kShift, vk::kOem1, 'L'}, u"¨l"},
      {{vk::kControl, vk::kOemComma, 'L'}, u"¸l"},
      {{vk::kControl, vk::kShift, vk::kOem3, 'E'}, u"~e"},
      {{vk::kControl, vk::kShift, '2', 'E'}, u"˚e"},
      {{vk::kControl, vk::kOem2, 'E'}, u"/e"},
      {{vk::kControl, vk::kShift, '7', 'E'}, u"&e"},
      // Shift before the letter asks for a capital, as it would for a composed letter.
      {{vk::kControl, vk::kOem7, vk::kShift, 'L'}, u"´L"},
      // Keys that are no letter show what they type.
      {{vk::kControl, vk::kOem7, '5'}, u"´5"},
      {{vk::kControl, vk::kOem7, vk::kSpace}, u"´ "},
  };
  for (const Case& c : cases) {
    LatinTyping typing;
    typing.Press(c.keys);
    EXPECT_EQ(typing.typed, mark);
    EXPECT_EQ(typing.marks.Shown(typing.typed), c.shown);
  }
}

TEST(LatinTranslation, StickyFlagsAndLiveShiftState) {
  LatinTyping typing;
  typing.Press({vk::kShift, '1'});  // Shift pressed and released before the digit
  EXPECT_EQ(typing.typed, u"!");
  EXPECT_FALSE(typing.latin.ShiftFlag());

  // Holding Shift capitalises only the first letter after the Shift key-down.
  typing.keyboard.shift = true;
  typing.Press({vk::kShift, 'A', 'B', '3', vk::kOemPlus});
  EXPECT_EQ(typing.typed, u"!Ab#+");

  // CapsLock alone never makes capitals; it turns the shifted US mapping around.
  typing.keyboard.shift = false;
  typing.keyboard.capsLock = true;
  typing.Press({'A', 'Z', '3', vk::kOem4});
  EXPECT_EQ(typing.typed, u"!Ab#+az#{");
}

TEST(LatinTranslation, UsMappingOfPlainKeys) {
  EXPECT_EQ(UsCharacter('5', true), u'%');
  EXPECT_EQ(UsCharacter(vk::kOemMinus, true), u'_');
  EXPECT_EQ(UsCharacter(vk::kOem102, false), u'\\');
  EXPECT_EQ(UsCharacter(vk::kOem102, true), u'|');
  EXPECT_EQ(UsCharacter(vk::kNumpad0 + 7, false), u'7');
  EXPECT_EQ(UsCharacter(vk::kNumpad0 + 1, true), u'a');  // shifted keypad passes its code
  EXPECT_EQ(UsCharacter(vk::kDecimal, false), u'.');
  EXPECT_EQ(UsCharacter(vk::kOem8, true), u'ß');
  EXPECT_EQ(UsCharacter(vk::kSpace, false), u' ');
  EXPECT_EQ(UsCharacter(vk::kLeft, false), u'%');  // keys without a character pass their code
}

TEST(CyrillicTranslation, RussianLayoutWithShiftAndCapsLock) {
  FakeKeyboardState keyboard;
  auto key = [&keyboard](int virtualKey, bool shift, bool caps) {
    keyboard.shift = shift;
    keyboard.capsLock = caps;
    return TranslateCyrillic(virtualKey, keyboard);
  };
  EXPECT_EQ(key('Q', false, false), u'й');
  EXPECT_EQ(key('Q', true, false), u'Й');
  EXPECT_EQ(key('Q', false, true), u'Й');
  EXPECT_EQ(key('Q', true, true), u'й');
  EXPECT_EQ(key('3', true, false), u'№');
  EXPECT_EQ(key('2', true, false), u'"');
  EXPECT_EQ(key(vk::kOem2, false, false), u'.');
  EXPECT_EQ(key(vk::kOem2, true, false), u',');
  EXPECT_EQ(key(0x3F, true, false), u',');
  EXPECT_EQ(key(vk::kOem3, true, false), u'Ё');
  EXPECT_EQ(key(vk::kOem7, false, false), u'э');
  EXPECT_EQ(key(vk::kOem102, true, false), u'>');
  EXPECT_EQ(key(vk::kNumpad0 + 5, false, false), u'5');
  EXPECT_EQ(key(vk::kDivide, true, false), char16_t(vk::kDivide));
  EXPECT_EQ(key(vk::kSpace, false, false), u' ');
}

TEST(CyrillicTranslation, NothingWhileCtrlIsHeld) {
  FakeKeyboardState keyboard;
  keyboard.ctrl = true;
  for (int virtualKey = 0; virtualKey < 0x100; ++virtualKey) {
    EXPECT_FALSE(TranslateCyrillic(virtualKey, keyboard).has_value()) << virtualKey;
  }
}

}  // namespace
}  // namespace verbaro
