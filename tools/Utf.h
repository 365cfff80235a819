#pragma once
// UTF-8 / UTF-16 helpers of the lesson tool. The trainer reads every text of a lesson as
// UTF-16, so keys and names are compared as UTF-16 code units here too.
#include <string>
#include <string_view>

namespace verbaro::lesson {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

// Well-formed UTF-8 to UTF-16; malformed bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace verbaro::lesson
