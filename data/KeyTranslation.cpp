#include "data/KeyTranslation.h"

#include <string_view>

#include "data/VirtualKeyCodes.h"

namespace verbaro {

namespace {

bool IsLetterKey(int virtualKey) { return virtualKey >= 'A' && virtualKey <= 'Z'; }
bool IsDigitKey(int virtualKey) { return virtualKey >= '0' && virtualKey <= '9'; }
bool IsKeypadDigit(int virtualKey) {
  return virtualKey >= vk::kNumpad0 && virtualKey <= vk::kNumpad0 + 9;
}
bool IsShifted(const KeyboardState& keyboard) {
  return keyboard.IsShiftHeld() != keyboard.IsCapsLockOn();
}

// Letters composed with each accent: the letter key, then the small and the capital letter.
struct Composition {
  char16_t accent;
  char letter;
  char16_t small;
  char16_t capital;
};

// Grouped by accent key, as the table is read.
// clang-format off
constexpr Composition kCompositions[] = {
    {u'`', 'A', u'à', u'À'},  {u'`', 'E', u'è', u'È'},  {u'`', 'I', u'ì', u'Ì'},
    {u'`', 'O', u'ò', u'Ò'},  {u'`', 'U', u'ù', u'Ù'},
    {u'\'', 'A', u'á', u'Á'}, {u'\'', 'D', u'ð', u'Ð'}, {u'\'', 'E', u'é', u'É'},
    {u'\'', 'I', u'í', u'Í'}, {u'\'', 'O', u'ó', u'Ó'}, {u'\'', 'U', u'ú', u'Ú'},
    {u'\'', 'Y', u'ý', u'Ý'},
    {u',', 'C', u'ç', u'Ç'},
    {u'~', 'A', u'ã', u'Ã'},  {u'~', 'N', u'ñ', u'Ñ'},  {u'~', 'O', u'õ', u'Õ'},
    {u'^', 'A', u'â', u'Â'},  {u'^', 'E', u'ê', u'Ê'},  {u'^', 'I', u'î', u'Î'},
    {u'^', 'O', u'ô', u'Ô'},  {u'^', 'U', u'û', u'Û'},
    {u':', 'A', u'ä', u'Ä'},  {u':', 'E', u'ë', u'Ë'},  {u':', 'I', u'ï', u'Ï'},
    {u':', 'O', u'ö', u'Ö'},  {u':', 'U', u'ü', u'Ü'},  {u':', 'Y', u'ÿ', u'\u0178'},
    {u'@', 'A', u'å', u'Å'},
    {u'/', 'O', u'ø', u'Ø'},
    {u'&', 'A', u'æ', u'Æ'},  {u'&', 'O', u'\u0153', u'\u0152'}, {u'&', 'S', u'ß', u'\u1E9E'},
};
// clang-format on

// One cell of the table of keys with handling of their own: a character, or an accent to arm.
struct OwnKeyAction {
  char16_t value;
  bool arms;
};
constexpr OwnKeyAction Char(char16_t c) { return {c, false}; }
constexpr OwnKeyAction Arm(char16_t accent) { return {accent, true}; }

// Columns: neither flag, Shift flag only, Ctrl flag only, Shift and Ctrl flags.
struct OwnKey {
  int virtualKey;
  OwnKeyAction actions[4];
};

constexpr OwnKey kOwnKeys[] = {
    {'1', {Char(u'1'), Char(u'!'), Char(u'1'), Char(u'¡')}},
    {'2', {Char(u'2'), Char(u'@'), Char(u'2'), Arm(u'@')}},
    {'6', {Char(u'6'), Char(u'^'), Char(u'6'), Arm(u'^')}},
    {'7', {Char(u'7'), Char(u'&'), Char(u'7'), Arm(u'&')}},
    {vk::kOem1, {Char(u';'), Char(u':'), Char(u';'), Arm(u':')}},
    {vk::kOemComma, {Char(u','), Char(u'<'), Arm(u','), Arm(u',')}},
    {vk::kOem2, {Char(u'/'), Char(u'?'), Arm(u'/'), Char(u'¿')}},
    {vk::kDivide, {Char(u'/'), Char(u'?'), Arm(u'/'), Char(u'¿')}},
    {vk::kOem3, {Char(u'`'), Char(u'~'), Arm(u'`'), Arm(u'~')}},
    {vk::kOem7, {Char(u'\''), Char(u'"'), Arm(u'\''), Char(u'"')}},
};

}  // namespace

LatinKeyTranslator::Result LatinKeyTranslator::Translate(int virtualKey,
                                                         const KeyboardState& keyboard) {
  if (auto own = TranslateOwnKey(virtualKey)) return *own;
  if (m_armedAccent != 0) return Compose(virtualKey, keyboard);
  if (IsLetterKey(virtualKey) && !m_shiftFlag) {
    return Append(static_cast<char16_t>(virtualKey - 'A' + 'a'));
  }
  return Append(UsCharacter(virtualKey, IsShifted(keyboard)));
}

std::optional<LatinKeyTranslator::Result> LatinKeyTranslator::TranslateOwnKey(int virtualKey) {
  for (const OwnKey& key : kOwnKeys) {
    if (key.virtualKey != virtualKey) continue;
    const OwnKeyAction& action = key.actions[(m_shiftFlag ? 1 : 0) + (m_ctrlFlag ? 2 : 0)];
    if (!action.arms) return Append(action.value);
    m_armedAccent = action.value;
    // Shift picked the accent, so it is used up; on the comma key both columns arm the same
    // accent and Shift is left for the letter.
    if (virtualKey != vk::kOemComma) m_shiftFlag = false;
    m_ctrlFlag = false;
    return Result{Outcome::Armed};
  }
  return std::nullopt;
}

LatinKeyTranslator::Result LatinKeyTranslator::Compose(int virtualKey,
                                                       const KeyboardState& keyboard) {
  const char16_t accent = m_armedAccent;
  m_armedAccent = 0;
  for (const Composition& entry : kCompositions) {
    if (entry.accent == accent && entry.letter == virtualKey) {
      return Append(m_shiftFlag ? entry.capital : entry.small);
    }
  }
  // The key as it would have come out of the composition: a letter by the Shift flag alone.
  const char16_t own = IsLetterKey(virtualKey)
                           ? static_cast<char16_t>(virtualKey + (m_shiftFlag ? 0 : 'a' - 'A'))
                           : UsCharacter(virtualKey, IsShifted(keyboard));
  m_shiftFlag = false;
  m_ctrlFlag = false;
  return Result{Outcome::NoLetter, own, accent};
}

LatinKeyTranslator::Result LatinKeyTranslator::Append(char16_t character) {
  m_armedAccent = 0;
  m_shiftFlag = false;
  m_ctrlFlag = false;
  return Result{Outcome::Character, character};
}

char16_t UsCharacter(int virtualKey, bool shifted) {
  const auto passThrough = static_cast<char16_t>(virtualKey);
  if (IsLetterKey(virtualKey)) return shifted ? passThrough : passThrough - 'A' + 'a';
  if (IsDigitKey(virtualKey)) {
    constexpr std::u16string_view kShiftedDigits = u")!@#$%^&*(";
    return shifted ? kShiftedDigits[virtualKey - '0'] : passThrough;
  }
  if (IsKeypadDigit(virtualKey)) {
    return shifted ? passThrough : static_cast<char16_t>(u'0' + virtualKey - vk::kNumpad0);
  }
  switch (virtualKey) {
    case vk::kMultiply: return shifted ? passThrough : u'*';
    case vk::kAdd: return shifted ? passThrough : u'+';
    case vk::kSubtract: return shifted ? passThrough : u'-';
    case vk::kDecimal: return shifted ? passThrough : u'.';
    case vk::kOemPlus: return shifted ? u'+' : u'=';
    case vk::kOemMinus: return shifted ? u'_' : u'-';
    case vk::kOemPeriod: return shifted ? u'>' : u'.';
    case vk::kOem4: return shifted ? u'{' : u'[';
    case vk::kOem5:
    case vk::kOem102: return shifted ? u'|' : u'\\';
    case vk::kOem6: return shifted ? u'}' : u']';
    case vk::kOem8: return u'ß';
    default: return passThrough;
  }
}

std::optional<char16_t> TranslateCyrillic(int virtualKey, const KeyboardState& keyboard) {
  if (keyboard.IsCtrlHeld()) return std::nullopt;
  const bool shifted = IsShifted(keyboard);
  const auto passThrough = static_cast<char16_t>(virtualKey);
  auto pick = [shifted](char16_t plain, char16_t shiftedChar) {
    return shifted ? shiftedChar : plain;
  };
  if (IsLetterKey(virtualKey)) {
    constexpr std::u16string_view kLetters = u"ФИСВУАПРШОЛДЬТЩЗЙКЫЕГМЦЧНЯ";
    const char16_t capital = kLetters[virtualKey - 'A'];
    return shifted ? capital : static_cast<char16_t>(capital + 0x20);
  }
  if (IsDigitKey(virtualKey)) {
    constexpr std::u16string_view kShiftedDigits = u")!\"№;%:?*(";
    return shifted ? kShiftedDigits[virtualKey - '0'] : passThrough;
  }
  if (IsKeypadDigit(virtualKey)) {
    return shifted ? passThrough : static_cast<char16_t>(u'0' + virtualKey - vk::kNumpad0);
  }
  switch (virtualKey) {
    case vk::kMultiply: return pick(u'*', passThrough);
    case vk::kAdd: return pick(u'+', passThrough);
    case vk::kSubtract: return pick(u'-', passThrough);
    case vk::kDecimal: return pick(u'.', passThrough);
    case vk::kDivide: return pick(u'/', passThrough);
    case vk::kOem1: return pick(u'ж', u'Ж');
    case vk::kOemPlus: return pick(u'=', u'+');
    case vk::kOemComma: return pick(u'б', u'Б');
    case vk::kOemMinus: return pick(u'-', u'_');
    case vk::kOemPeriod: return pick(u'ю', u'Ю');
    case vk::kOem2:
    case 0x3F: return pick(u'.', u',');
    case vk::kOem3: return pick(u'ё', u'Ё');
    case vk::kOem4: return pick(u'х', u'Х');
    case vk::kOem5: return pick(u'/', u'|');
    case vk::kOem6: return pick(u'ъ', u'Ъ');
    case vk::kOem7: return pick(u'э', u'Э');
    case vk::kOem8: return u'ß';
    case vk::kOem102: return u'>';
    default: return passThrough;
  }
}

namespace vk {

bool StandsForNoCharacter(int virtualKey) {
  struct Range {
    int first;
    int last;
  };
  // Space (0x20) and the digit, letter, keypad and punctuation keys lie outside these ranges.
  constexpr Range kNoCharacter[] = {
      {0x00, 0x1F},  // Backspace, Tab, Enter, Shift, Ctrl, Alt, Pause, CapsLock, Escape, ...
      {0x21, 0x2F},  // PageUp ... Down, Select, Print, Execute, PrintScreen, Insert, Delete, Help
      {0x5B, 0x5F},  // the Windows keys, Menu, Sleep
      {0x70, 0x87},  // F1 - F24
      {0x90, 0x91},  // NumLock, ScrollLock
      {0xA0, 0xB7},  // left and right Shift, Ctrl, Alt; browser, volume, media and launch keys
      {0xF6, 0xFE},  // Attn, CrSel, ExSel, EraseEOF, Play, Zoom, PA1, Clear
  };
  for (const Range& range : kNoCharacter) {
    if (virtualKey >= range.first && virtualKey <= range.last) return true;
  }
  return false;
}

}  // namespace vk

}  // namespace verbaro
