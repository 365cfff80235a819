#include "data/TypingCheck.h"

#include <algorithm>

namespace verbaro {

size_t FirstWrongUnit(std::u16string_view expected, std::u16string_view typed) {
  const auto [inExpected, inTyped] =
      std::mismatch(expected.begin(), expected.end(), typed.begin(), typed.end());
  if (inTyped == typed.end()) return std::u16string_view::npos;
  return static_cast<size_t>(inTyped - typed.begin());
}

bool IsTypedThrough(std::u16string_view expected, std::u16string_view typed) {
  return !expected.empty() && expected == typed;
}

}  // namespace verbaro
