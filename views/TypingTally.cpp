#include "views/TypingTally.h"

namespace verbaro {

void TypingTally::Start() {
  m_result = {};
  m_told = false;
  m_wordSeen = false;
  m_translationsSeen = false;
  m_clock.start();
}

void TypingTally::Seen(bool word, bool translations) {
  m_wordSeen |= word;
  m_translationsSeen |= translations;
}

std::optional<progress::TypingResult> TypingTally::Key(const std::u16string& expected,
                                                       const std::u16string& typed,
                                                       bool matchedBefore, bool matchesNow) {
  if (!m_clock.isValid()) m_clock.start();
  if (matchedBefore && !matchesNow && !typed.empty()) {
    // Only the key that turns the line red is a mistake; the keys typed after it on a red line
    // follow from it.
    ++m_result.wrongKeystrokes;
    const size_t at = typed.size() - 1;
    m_result.misses.push_back({at < expected.size() ? expected.substr(at, 1) : std::u16string(),
                               m_marks.TextAt(typed, at)});
  }
  if (m_told || !matchesNow || typed.size() != expected.size() || expected.empty()) {
    return std::nullopt;
  }
  m_told = true;
  m_result.characters = static_cast<int>(typed.size());
  m_result.milliseconds = m_clock.elapsed();
  m_result.fromMemory = !m_wordSeen && m_translationsSeen;
  return m_result;
}

}  // namespace verbaro
