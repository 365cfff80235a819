#include "data/KeyboardRows.h"

#include <algorithm>
#include <array>
#include <set>

#include "data/KeyTranslation.h"
#include "data/StudyStatistics.h"
#include "data/VirtualKeyCodes.h"

namespace verbaro {

namespace {

// No modifier held, no lock: the plain character of every key.
class PlainKeyboard : public KeyboardState {
 public:
  bool IsShiftHeld() const override { return false; }
  bool IsCtrlHeld() const override { return false; }
  bool IsCapsLockOn() const override { return false; }
};

// The physical rows as virtual-key codes of a US keyboard.
const std::array<std::vector<int>, 4>& PhysicalRows() {
  static const std::array<std::vector<int>, 4> rows = {
      std::vector<int>{vk::kOem3, '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', vk::kOemMinus,
                       vk::kOemPlus},
      std::vector<int>{'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', vk::kOem4, vk::kOem6},
      std::vector<int>{'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', vk::kOem1, vk::kOem7},
      std::vector<int>{'Z', 'X', 'C', 'V', 'B', 'N', 'M', vk::kOemComma, vk::kOemPeriod,
                       vk::kOem2}};
  return rows;
}

// Every small accented letter that an accent key (with Ctrl, with or without Shift) composes
// with a letter key, in code order.
std::u16string ComposedLetters() {
  const PlainKeyboard keyboard;
  std::set<char16_t> letters;
  for (const bool shift : {false, true}) {
    for (int accentKey = 0x20; accentKey <= 0xFE; ++accentKey) {
      for (int letterKey = 'A'; letterKey <= 'Z'; ++letterKey) {
        LatinKeyTranslator translator;
        translator.NoteCtrlDown();
        if (shift) translator.NoteShiftDown();
        if (translator.Translate(accentKey, keyboard).outcome != LatinKeyTranslator::Outcome::Armed)
          break;
        const LatinKeyTranslator::Result result = translator.Translate(letterKey, keyboard);
        // A key shows its small letter; the capital is the same key.
        if (result.outcome == LatinKeyTranslator::Outcome::Character && result.character > 0x7F &&
            LowerLetter(result.character) == result.character)
          letters.insert(result.character);
      }
    }
  }
  return std::u16string(letters.begin(), letters.end());
}

}  // namespace

std::vector<std::u16string> KeyboardRows(Alphabet alphabet) {
  const PlainKeyboard keyboard;
  std::vector<std::u16string> rows;
  for (const std::vector<int>& keys : PhysicalRows()) {
    std::u16string row;
    for (const int key : keys) {
      if (alphabet == Alphabet::French) {
        // The accent keys type their own character when no Ctrl came before them.
        LatinKeyTranslator translator;
        const LatinKeyTranslator::Result result = translator.Translate(key, keyboard);
        if (result.outcome == LatinKeyTranslator::Outcome::Character) row += result.character;
      } else if (const std::optional<char16_t> c = TranslateCyrillic(key, keyboard)) {
        row += *c;
      }
    }
    rows.push_back(row);
  }
  if (alphabet == Alphabet::French) {
    // The composed letters go under the keyboard in rows no wider than its widest row.
    const std::u16string composed = ComposedLetters();
    size_t widest = 0;
    for (const std::u16string& row : rows) widest = std::max(widest, row.size());
    for (size_t start = 0; start < composed.size(); start += widest)
      rows.push_back(composed.substr(start, widest));
  }
  return rows;
}

}  // namespace verbaro
