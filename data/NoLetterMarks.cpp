#include "data/NoLetterMarks.h"

#include <algorithm>

#include "data/KeyTranslation.h"

namespace verbaro {

namespace {

// The accent as a character of its own, as a keyboard's dead key shows it when the next key
// does not combine.
char16_t SpacingAccent(char16_t accent) {
  switch (accent) {
    case u'\'': return u'\u00B4';  // acute accent
    case u',': return u'\u00B8';   // cedilla
    case u':': return u'\u00A8';   // diaeresis
    case u'@': return u'\u02DA';   // ring above
    default: return accent;        // ` ^ ~ / & stand for themselves
  }
}

size_t MarksBefore(std::u16string_view typed, size_t index) {
  const std::u16string_view head = typed.substr(0, std::min(index, typed.size()));
  return static_cast<size_t>(std::count(head.begin(), head.end(), kNoLetterMark));
}

}  // namespace

std::u16string NoLetterText(char16_t accent, char16_t key) {
  return std::u16string{SpacingAccent(accent), key};
}

void NoLetterMarks::Add(std::u16string_view typedBefore, char16_t accent, char16_t key) {
  // Marks removed by Backspace, or the text cleared, leave their texts behind: they go first.
  // (A mark this object was never told of keeps an empty text.)
  m_texts.resize(MarksBefore(typedBefore, typedBefore.size()));
  m_texts.push_back(NoLetterText(accent, key));
}

std::u16string_view NoLetterMarks::TextOfMark(size_t n) const {
  if (n < m_texts.size() && !m_texts[n].empty()) return m_texts[n];
  return u"?";
}

std::u16string NoLetterMarks::Shown(std::u16string_view typed) const {
  std::u16string shown;
  shown.reserve(typed.size() * 2);
  size_t mark = 0;
  for (const char16_t unit : typed) {
    if (unit == kNoLetterMark) {
      shown += TextOfMark(mark++);
    } else {
      shown += unit;
    }
  }
  return shown;
}

size_t NoLetterMarks::ShownIndex(std::u16string_view typed, size_t index) const {
  const size_t end = std::min(index, typed.size());
  size_t shown = 0;
  size_t mark = 0;
  for (size_t i = 0; i < end; ++i) {
    shown += typed[i] == kNoLetterMark ? TextOfMark(mark++).size() : 1;
  }
  return shown + (index - end);
}

size_t NoLetterMarks::ShownLength(std::u16string_view typed, size_t index) const {
  return TextAt(typed, index).size();
}

std::u16string NoLetterMarks::TextAt(std::u16string_view typed, size_t index) const {
  if (index >= typed.size()) return {};
  if (typed[index] != kNoLetterMark) return std::u16string(1, typed[index]);
  return std::u16string(TextOfMark(MarksBefore(typed, index)));
}

}  // namespace verbaro
