#include "data/LogText.h"

#include "data/Text.h"

namespace verbaro {

namespace {
constexpr std::u16string_view kSeparator = u"; ";
}

std::u16string JoinTexts(std::span<const std::u16string> texts) {
  std::u16string out;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) out += kSeparator;
    out += texts[i];
  }
  return out;
}

std::u16string JoinSizes(std::span<const int32_t> sizes) {
  std::u16string out;
  for (size_t i = 0; i < sizes.size(); ++i) {
    if (i > 0) out += kSeparator;
    out += ToU16(sizes[i]);
  }
  return out;
}

}  // namespace verbaro
