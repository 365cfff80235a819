#pragma once
// Character references of HTML: "&eacute;", "&#233;", "&#xE9;".
#include <optional>
#include <string>
#include <string_view>

namespace verbaro::lessonimport {

// The UTF-8 of the reference that starts `text` (at its '&'), with the number of bytes it takes
// (the ';' included); nothing when `text` does not start with a reference this reader knows, in
// which case the '&' is an ordinary character. A number naming no character (0, a surrogate,
// beyond U+10FFFF) gives U+FFFD.
struct DecodedEntity {
  std::string utf8;
  size_t length = 0;
};
std::optional<DecodedEntity> DecodeEntity(std::string_view text);

// The UTF-8 of one code point (U+FFFD for what is not one).
std::string Utf8Of(char32_t codePoint);

}  // namespace verbaro::lessonimport
