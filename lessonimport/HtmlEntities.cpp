#include "lessonimport/HtmlEntities.h"

#include <array>
#include <utility>

#include "data/Text.h"

namespace verbaro::lessonimport {
namespace {

// The named references that word lists written in an editor carry: markup escapes, spaces,
// quotes and dashes, and the Latin-1 and French letters.
constexpr std::array<std::pair<std::string_view, char32_t>, 128> kNamed = {{
    {"amp", U'&'},      {"lt", U'<'},      {"gt", U'>'},       {"quot", U'"'},
    {"apos", U'\''},    {"nbsp", 0xA0},    {"ensp", 0x2002},   {"emsp", 0x2003},
    {"thinsp", 0x2009}, {"shy", 0xAD},     {"zwnj", 0x200C},   {"zwj", 0x200D},
    {"lrm", 0x200E},    {"rlm", 0x200F},   {"laquo", 0xAB},    {"raquo", 0xBB},
    {"lsquo", 0x2018},  {"rsquo", 0x2019}, {"sbquo", 0x201A},  {"ldquo", 0x201C},
    {"rdquo", 0x201D},  {"bdquo", 0x201E}, {"lsaquo", 0x2039}, {"rsaquo", 0x203A},
    {"ndash", 0x2013},  {"mdash", 0x2014}, {"hellip", 0x2026}, {"bull", 0x2022},
    {"middot", 0xB7},   {"deg", 0xB0},     {"para", 0xB6},     {"sect", 0xA7},
    {"copy", 0xA9},     {"reg", 0xAE},     {"trade", 0x2122},  {"euro", 0x20AC},
    {"pound", 0xA3},    {"cent", 0xA2},    {"yen", 0xA5},      {"times", 0xD7},
    {"divide", 0xF7},   {"plusmn", 0xB1},  {"frac12", 0xBD},   {"frac14", 0xBC},
    {"frac34", 0xBE},   {"sup1", 0xB9},    {"sup2", 0xB2},     {"sup3", 0xB3},
    {"iexcl", 0xA1},    {"iquest", 0xBF},  {"ordf", 0xAA},     {"ordm", 0xBA},
    {"rarr", 0x2192},   {"larr", 0x2190},  {"harr", 0x2194},   {"micro", 0xB5},
    {"Agrave", 0xC0},   {"Aacute", 0xC1},  {"Acirc", 0xC2},    {"Atilde", 0xC3},
    {"Auml", 0xC4},     {"Aring", 0xC5},   {"AElig", 0xC6},    {"Ccedil", 0xC7},
    {"Egrave", 0xC8},   {"Eacute", 0xC9},  {"Ecirc", 0xCA},    {"Euml", 0xCB},
    {"Igrave", 0xCC},   {"Iacute", 0xCD},  {"Icirc", 0xCE},    {"Iuml", 0xCF},
    {"ETH", 0xD0},      {"Ntilde", 0xD1},  {"Ograve", 0xD2},   {"Oacute", 0xD3},
    {"Ocirc", 0xD4},    {"Otilde", 0xD5},  {"Ouml", 0xD6},     {"Oslash", 0xD8},
    {"Ugrave", 0xD9},   {"Uacute", 0xDA},  {"Ucirc", 0xDB},    {"Uuml", 0xDC},
    {"Yacute", 0xDD},   {"THORN", 0xDE},   {"szlig", 0xDF},    {"agrave", 0xE0},
    {"aacute", 0xE1},   {"acirc", 0xE2},   {"atilde", 0xE3},   {"auml", 0xE4},
    {"aring", 0xE5},    {"aelig", 0xE6},   {"ccedil", 0xE7},   {"egrave", 0xE8},
    {"eacute", 0xE9},   {"ecirc", 0xEA},   {"euml", 0xEB},     {"igrave", 0xEC},
    {"iacute", 0xED},   {"icirc", 0xEE},   {"iuml", 0xEF},     {"eth", 0xF0},
    {"ntilde", 0xF1},   {"ograve", 0xF2},  {"oacute", 0xF3},   {"ocirc", 0xF4},
    {"otilde", 0xF5},   {"ouml", 0xF6},    {"oslash", 0xF8},   {"ugrave", 0xF9},
    {"uacute", 0xFA},   {"ucirc", 0xFB},   {"uuml", 0xFC},     {"yacute", 0xFD},
    {"thorn", 0xFE},    {"yuml", 0xFF},    {"OElig", 0x152},   {"oelig", 0x153},
    {"Yuml", 0x178},    {"Scaron", 0x160}, {"scaron", 0x161},  {"circ", 0x2C6},
    {"tilde", 0x2DC},   {"acute", 0xB4},   {"uml", 0xA8},      {"cedil", 0xB8},
}};

bool IsAsciiLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<DecodedEntity> DecodeNumber(std::string_view text) {
  // text starts with "&#"
  size_t i = 2;
  const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
  if (hex) ++i;
  const size_t digitsStart = i;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit =
        hex ? HexValue(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (digit < 0) break;
    // Past U+10FFFF the value no longer matters: it names no character.
    if (value <= 0x10FFFF) value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
  }
  if (i == digitsStart || i >= text.size() || text[i] != ';') return std::nullopt;
  return DecodedEntity{Utf8Of(static_cast<char32_t>(value > 0x10FFFF ? 0xFFFD : value)), i + 1};
}

}  // namespace

std::string Utf8Of(char32_t cp) {
  if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
  std::string out;
  AppendUtf8(out, cp);
  return out;
}

std::optional<DecodedEntity> DecodeEntity(std::string_view text) {
  if (text.size() < 3 || text[0] != '&') return std::nullopt;
  if (text[1] == '#') return DecodeNumber(text);
  size_t end = 1;
  while (end < text.size() && end < 12 && IsAsciiLetterOrDigit(text[end])) ++end;
  if (end >= text.size() || text[end] != ';') return std::nullopt;
  const std::string_view name = text.substr(1, end - 1);
  for (const auto& [known, cp] : kNamed)
    if (known == name) return DecodedEntity{Utf8Of(cp), end + 1};
  return std::nullopt;
}

}  // namespace verbaro::lessonimport
