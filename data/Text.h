#pragma once
// Conversions between the UTF-16 texts of the lesson data and the UTF-8 / Qt worlds,
// and decimal formatting of numbers as UTF-16.
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace verbaro {

std::string ToUtf8(std::u16string_view text);
// Appends one code point as UTF-8; the caller gives a scalar value (no surrogate, at most
// U+10FFFF).
void AppendUtf8(std::string& out, char32_t cp);
std::u16string FromUtf8(std::string_view text);
// True when the bytes are well-formed UTF-8: no truncated or overlong sequence, no surrogate,
// nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view text);

template <typename Int>
requires std::is_integral_v<Int> std::u16string ToU16(Int value) {
  const std::string s = std::to_string(value);
  return std::u16string(s.begin(), s.end());
}

}  // namespace verbaro
