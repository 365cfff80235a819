#include "lessonimport/ClozeText.h"

#include <vector>

namespace verbaro::lessonimport {
namespace {

// The length of a gap's opening "{{c<digits>::" at `at`, or 0.
size_t GapOpening(std::string_view text, size_t at) {
  if (text.compare(at, 3, "{{c") != 0) return 0;
  size_t i = at + 3;
  const size_t digits = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  if (i == digits || text.compare(i, 2, "::") != 0) return 0;
  return i + 2 - at;
}

}  // namespace

std::string FillClozeGaps(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  // For each open gap: whether its hint is being read (and dropped).
  std::vector<bool> gaps;
  size_t i = 0;
  while (i < field.size()) {
    if (const size_t opening = GapOpening(field, i); opening > 0) {
      gaps.push_back(false);
      i += opening;
    } else if (!gaps.empty() && field.compare(i, 2, "}}") == 0) {
      gaps.pop_back();
      i += 2;
    } else if (!gaps.empty() && !gaps.back() && field.compare(i, 2, "::") == 0) {
      gaps.back() = true;
      i += 2;
    } else {
      const bool inHint = !gaps.empty() && gaps.back();
      if (!inHint) out += field[i];
      ++i;
    }
  }
  return out;
}

}  // namespace verbaro::lessonimport
