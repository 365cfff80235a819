#include "data/Typable.h"

#include <array>
#include <bitset>
#include <vector>

#include "data/KeyTranslation.h"
#include "data/KeyboardState.h"
#include "data/VirtualKeyCodes.h"

namespace verbaro {
namespace {

// The keys of a keyboard that reach the typing line (the others move, delete or are commands).
// Shift or CapsLock with a keypad key gives a letter in the translation tables (its key code
// read as a character), which no learner would look for: the keypad counts only without them.
std::vector<int> CharacterKeys() {
  std::vector<int> keys;
  for (int key = 'A'; key <= 'Z'; ++key) keys.push_back(key);
  for (int key = '0'; key <= '9'; ++key) keys.push_back(key);
  for (int n = 0; n <= 9; ++n) keys.push_back(vk::kNumpad0 + n);
  for (int key : {vk::kSpace, vk::kMultiply, vk::kAdd, vk::kSubtract, vk::kDecimal, vk::kDivide,
                  vk::kOem1, vk::kOemPlus, vk::kOemComma, vk::kOemMinus, vk::kOemPeriod, vk::kOem2,
                  vk::kOem3, vk::kOem4, vk::kOem5, vk::kOem6, vk::kOem7, vk::kOem8, vk::kOem102}) {
    keys.push_back(key);
  }
  return keys;
}

bool IsKeypadKey(int key) { return key >= vk::kNumpad0 && key <= vk::kDivide; }

class HeldKeys : public KeyboardState {
 public:
  HeldKeys(bool shift, bool capsLock) : m_shift(shift), m_capsLock(capsLock) {}
  bool IsShiftHeld() const override { return m_shift; }
  bool IsCtrlHeld() const override { return false; }
  bool IsCapsLockOn() const override { return m_capsLock; }

 private:
  bool m_shift;
  bool m_capsLock;
};

using CharacterSet = std::bitset<0x10000>;

void AddLatin(CharacterSet& set, const LatinKeyTranslator& start, int key, bool shift,
              bool capsLock, int depth) {
  LatinKeyTranslator translator = start;
  const LatinKeyTranslator::Result result = translator.Translate(key, HeldKeys(shift, capsLock));
  if (result.outcome == LatinKeyTranslator::Outcome::Character) set.set(result.character);
  if (result.outcome != LatinKeyTranslator::Outcome::Armed || depth > 0) return;
  // An armed accent composes with the next key, with or without the Shift flag.
  for (const int next : CharacterKeys()) {
    for (const bool shiftFlag : {false, IsKeypadKey(next) ? false : true}) {
      LatinKeyTranslator armed = translator;
      if (shiftFlag) armed.NoteShiftDown();
      AddLatin(set, armed, next, false, false, depth + 1);
    }
  }
}

CharacterSet LatinSet() {
  CharacterSet set;
  for (const int key : CharacterKeys()) {
    for (const int flags : {0, 1, 2, 3}) {
      for (const bool shift : {false, true}) {
        for (const bool capsLock : {false, true}) {
          if (IsKeypadKey(key) && (shift || capsLock || (flags & 1))) continue;
          LatinKeyTranslator translator;
          if (flags & 1) translator.NoteShiftDown();
          if (flags & 2) translator.NoteCtrlDown();
          AddLatin(set, translator, key, shift, capsLock, 0);
        }
      }
    }
  }
  return set;
}

CharacterSet CyrillicSet() {
  CharacterSet set;
  for (const int key : CharacterKeys()) {
    for (const bool shift : {false, true}) {
      for (const bool capsLock : {false, true}) {
        if (IsKeypadKey(key) && (shift || capsLock)) continue;
        if (const std::optional<char16_t> c = TranslateCyrillic(key, HeldKeys(shift, capsLock)))
          set.set(*c);
      }
    }
  }
  return set;
}

const CharacterSet& SetOf(TypingTable table) {
  static const CharacterSet latin = LatinSet();
  static const CharacterSet cyrillic = CyrillicSet();
  return table == TypingTable::Latin ? latin : cyrillic;
}

}  // namespace

bool IsTypable(char16_t c, TypingTable table) { return c != kNoLetterMark && SetOf(table).test(c); }

std::optional<size_t> FindUntypable(std::u16string_view text, TypingTable table) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (!IsTypable(text[i], table)) return i;
  }
  return std::nullopt;
}

std::u16string WithTypableApostrophesAndSpaces(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c == u'\u2019' || c == u'\u2018' || c == u'\u02BC') c = u'\'';
    if (c == u'\u00A0' || c == u'\u202F' || c == u'\u2007') c = u' ';
  }
  return out;
}

}  // namespace verbaro
