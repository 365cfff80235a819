#pragma once
// What each kNoLetterMark of a typed text stands for. The typed text keeps the one mark
// character, so that it never matches and one Backspace removes it; the learner sees the accent
// and the key that made it ("´l" for Ctrl + apostrophe key, then L), in the typing line and in
// the characters the progress store keeps.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace verbaro {

// The accent armed (one of ` ' , ^ ~ : @ / &) in its spacing form, followed by the key's own
// character: "´l", "`l", "^l", "¨l", "¸l", "~n", "˚e", "/e", "&e".
std::u16string NoLetterText(char16_t accent, char16_t key);

class NoLetterMarks {
 public:
  // A mark is appended to `typedBefore`, the typed text without it.
  void Add(std::u16string_view typedBefore, char16_t accent, char16_t key);
  void Clear() { m_texts.clear(); }

  // The typed text as the learner sees it: each mark replaced by its text.
  std::u16string Shown(std::u16string_view typed) const;
  // Where unit `index` of the typed text starts in Shown(typed), and how many units it takes
  // there (two for a mark, else one).
  size_t ShownIndex(std::u16string_view typed, size_t index) const;
  size_t ShownLength(std::u16string_view typed, size_t index) const;
  // Unit `index` of the typed text as the learner sees it.
  std::u16string TextAt(std::u16string_view typed, size_t index) const;

 private:
  // The text of the n-th mark of a typed text; one that was never told (a mark typed before
  // this object knew of it) shows as a question mark.
  std::u16string_view TextOfMark(size_t n) const;

  // One text per mark of the typed text, in order. Typing only appends and removes at the end,
  // so the marks still in the typed text are always the first ones here.
  std::vector<std::u16string> m_texts;
};

}  // namespace verbaro
