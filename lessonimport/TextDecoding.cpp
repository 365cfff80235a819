#include "lessonimport/TextDecoding.h"

#include <algorithm>
#include <cstdint>

#include "data/Text.h"

namespace verbaro::lessonimport {
namespace {

size_t LineAt(std::string_view text, size_t offset) {
  return 1 + static_cast<size_t>(
                 std::count(text.begin(), text.begin() + static_cast<ptrdiff_t>(offset), '\n'));
}

// The offset of the first byte that does not begin a well-formed UTF-8 character (overlong
// forms, surrogates and code points past U+10FFFF included), or npos.
size_t FirstInvalidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    size_t length = 0;
    uint32_t code = 0;
    uint32_t least = 0;
    if ((b & 0xE0) == 0xC0) length = 2, code = b & 0x1Fu, least = 0x80;
    else if ((b & 0xF0) == 0xE0) length = 3, code = b & 0x0Fu, least = 0x800;
    else if ((b & 0xF8) == 0xF0) length = 4, code = b & 0x07u, least = 0x10000;
    else return i;
    if (i + length > text.size()) return i;
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return i;
      code = (code << 6) | (next & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return i;
    i += length;
  }
  return std::string_view::npos;
}

std::optional<std::string> FromUtf16(std::string_view bytes, bool littleEndian,
                                     std::string& error) {
  if (bytes.size() % 2 != 0) {
    error = "файл в UTF-16 оборван: в нём нечётное число байт";
    return std::nullopt;
  }
  auto unit = [&](size_t i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    return static_cast<uint32_t>(littleEndian ? first | second << 8 : second | first << 8);
  };
  std::string out;
  out.reserve(bytes.size());
  const size_t units = bytes.size() / 2;
  for (size_t i = 0; i < units; ++i) {
    uint32_t code = unit(i);
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
      ++i;
    } else if ((code >= 0xD800 && code <= 0xDFFF) || code == 0) {
      error = "строка " + std::to_string(LineAt(out, out.size())) +
              (code == 0 ? ": нулевой символ в тексте"
                         : ": текст UTF-16 испорчен (одиночный суррогат)");
      return std::nullopt;
    }
    AppendUtf8(out, code);
  }
  return out;
}

// Without a byte order mark: UTF-16 when zero bytes are frequent and nearly all on one side of
// each pair (the high bytes of Latin letters, digits, separators and line ends).
std::optional<bool> GuessUtf16LittleEndian(std::string_view bytes) {
  const size_t sample = std::min<size_t>(bytes.size(), 8192) & ~size_t{1};
  size_t evenZeros = 0;
  size_t oddZeros = 0;
  for (size_t i = 0; i < sample; ++i)
    if (bytes[i] == '\0') (i % 2 == 0 ? evenZeros : oddZeros) += 1;
  const size_t pairs = sample / 2;
  if (pairs == 0) return std::nullopt;
  if (oddZeros >= 2 && oddZeros * 10 >= pairs && evenZeros * 20 <= oddZeros) return true;
  if (evenZeros >= 2 && evenZeros * 10 >= pairs && oddZeros * 20 <= evenZeros) return false;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> DecodeTextToUtf8(std::string_view bytes, std::string& error) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  else if (bytes.starts_with("\xFF\xFE")) return FromUtf16(bytes.substr(2), true, error);
  else if (bytes.starts_with("\xFE\xFF")) return FromUtf16(bytes.substr(2), false, error);
  else if (const std::optional<bool> little = GuessUtf16LittleEndian(bytes))
    return FromUtf16(bytes, *little, error);

  if (const size_t zero = bytes.find('\0'); zero != std::string_view::npos) {
    error =
        "строка " + std::to_string(LineAt(bytes, zero)) + ": нулевой байт — это не текстовый файл";
    return std::nullopt;
  }
  if (const size_t bad = FirstInvalidUtf8(bytes); bad != std::string_view::npos) {
    error = "строка " + std::to_string(LineAt(bytes, bad)) +
            ": текст не в кодировке UTF-8; сохраните таблицу в UTF-8 или UTF-16";
    return std::nullopt;
  }
  return std::string(bytes);
}

}  // namespace verbaro::lessonimport
