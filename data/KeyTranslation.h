#pragma once
// Turning virtual-key codes into the characters the learner types, whatever the system layout:
// Latin letters as on a US keyboard with accented letters composed from Ctrl-prefixed accent
// keys (Conspect-1), and Cyrillic letters as on the standard Russian keyboard (Conspect-2).
#include <optional>

#include "data/KeyboardState.h"

namespace verbaro {

// Stands in the typed text for a key that did not combine with an armed accent. No key produces
// it otherwise, so a typed text holding it never matches; one Backspace removes it. The learner
// sees the accent and the key in its place (data/NoLetterMarks.h).
inline constexpr char16_t kNoLetterMark = u'\uFFFD';

namespace vk {
// Keys that stand for no character on a keyboard: the control keys (Escape, Pause, Clear and
// the like), the arrows and the editing block (Insert, Delete, PrintScreen), the Windows and
// Menu keys, the function keys, NumLock and ScrollLock, the left/right modifiers and the browser
// and media keys. Typing one gives nothing; every other key gives a character.
bool StandsForNoCharacter(int virtualKey);
}  // namespace vk

// The Latin translation of Conspect-1: a two-state machine (idle / accent armed) with two sticky
// flags, Shift and Ctrl, that a key-down of the key sets and the next character consumes.
class LatinKeyTranslator {
 public:
  enum class Outcome {
    Character,  // `character` is to be appended
    Armed,      // an accent was armed: nothing to append, no repaint
    NoLetter,   // the key did not combine with the armed accent: append kNoLetterMark
  };
  struct Result {
    Outcome outcome;
    // Character: the character to append. NoLetter: the key's own character (a letter small
    // or capital by the Shift flag, as a composed letter would be), shown after the accent.
    char16_t character = 0;
    char16_t accent = 0;  // NoLetter: the accent that was armed
  };

  void NoteShiftDown() { m_shiftFlag = true; }
  void NoteCtrlDown() { m_ctrlFlag = true; }

  // The live Shift and CapsLock states come from `keyboard`; the flags from the key-downs noted.
  Result Translate(int virtualKey, const KeyboardState& keyboard);

  char16_t ArmedAccent() const { return m_armedAccent; }
  bool ShiftFlag() const { return m_shiftFlag; }

 private:
  std::optional<Result> TranslateOwnKey(int virtualKey);
  Result Compose(int virtualKey, const KeyboardState& keyboard);
  Result Append(char16_t character);

  char16_t m_armedAccent = 0;
  bool m_shiftFlag = false;
  bool m_ctrlFlag = false;
};

// The US mapping of plain keys; `shifted` is Shift held XOR CapsLock on.
char16_t UsCharacter(int virtualKey, bool shifted);

// The Cyrillic translation of Conspect-2: nothing while Ctrl is held.
std::optional<char16_t> TranslateCyrillic(int virtualKey, const KeyboardState& keyboard);

}  // namespace verbaro
