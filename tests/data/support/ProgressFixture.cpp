#include "ProgressFixture.h"

#include "data/Text.h"

namespace verbaro::test {

std::vector<progress::EntryKey> Words(int count, int first) {
  std::vector<progress::EntryKey> keys;
  for (int i = first; i < first + count; ++i) {
    keys.push_back({u"mot" + ToU16(i), u"m", u"s", 0});
  }
  return keys;
}

progress::TypingResult Typed(int wrongKeystrokes, int64_t milliseconds) {
  progress::TypingResult result;
  result.characters = 4;
  result.wrongKeystrokes = wrongKeystrokes;
  result.milliseconds = milliseconds;
  for (int i = 0; i < wrongKeystrokes; ++i) result.misses.push_back({u"é", u"e"});
  return result;
}

}  // namespace verbaro::test
