#include "data/LessonRowTexts.h"

#include <sqlite3.h>

#include <optional>
#include <string_view>

namespace verbaro::lesson {

namespace {

// The number of UTF-16 units of `text` when it is well-formed UTF-8 that SQLite's own conversion
// would carry over unchanged; nothing otherwise. SQLite replaces overlong forms, surrogates,
// U+FFFE and U+FFFF and reads malformed sequences in its own way, so such a text is left to it.
std::optional<size_t> PlainUtf16Length(std::string_view text) {
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};  // below: an overlong form
  size_t units = 0;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++units;
      ++i;
      continue;
    }
    size_t extra = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      c = lead & 0x07;
    } else {
      return std::nullopt;
    }
    if (text.size() - i <= extra) return std::nullopt;
    for (size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    if (c < kLeast[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF || c == 0xFFFE ||
        c == 0xFFFF) {
      return std::nullopt;
    }
    units += c >= 0x10000 ? 2 : 1;
    i += extra + 1;
  }
  return units;
}

// `text`, checked by PlainUtf16Length, as `units` UTF-16 units.
std::u16string PlainUtf16(std::string_view text, size_t units) {
  std::u16string out(units, u'\0');
  size_t o = 0;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out[o++] = lead;
      ++i;
      continue;
    }
    const size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t c = lead & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    if (c >= 0x10000) {
      c -= 0x10000;
      out[o++] = static_cast<char16_t>(0xD800 + (c >> 10));
      out[o++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out[o++] = static_cast<char16_t>(c);
    }
    i += extra + 1;
  }
  return out;
}

std::u16string ColumnText(sqlite3_stmt* statement, int column, bool storedAsUtf8) {
  if (column >= sqlite3_column_count(statement)) return {};
  // Texts stored as UTF-8 are taken as they are stored and converted here: that costs no
  // conversion buffer of SQLite's, which most of the reading time went to. A text that SQLite
  // would convert in its own way is converted by SQLite, so both read the same.
  if (storedAsUtf8) {
    const auto* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (utf8 == nullptr) return {};
    std::string_view stored(utf8, static_cast<size_t>(sqlite3_column_bytes(statement, column)));
    stored = stored.substr(0, stored.find('\0'));
    if (const std::optional<size_t> units = PlainUtf16Length(stored)) return PlainUtf16(stored, *units);
  }

  const void* text = sqlite3_column_text16(statement, column);
  if (text == nullptr) return {};
  const int bytes = sqlite3_column_bytes16(statement, column);
  const std::u16string_view view(static_cast<const char16_t*>(text),
                                 static_cast<size_t>(bytes) / sizeof(char16_t));
  return std::u16string(view.substr(0, view.find(u'\0')));
}

}  // namespace

bool StoresTextAsUtf8(sqlite3* db) {
  sqlite3_stmt* statement = nullptr;
  bool utf8 = false;
  if (sqlite3_prepare_v2(db, "PRAGMA encoding;", -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    utf8 = name != nullptr && std::string_view(name) == "UTF-8";
  }
  sqlite3_finalize(statement);
  return utf8;
}

LessonRowTexts ReadLessonRowTexts(sqlite3_stmt* statement, int grammarColumn, RowReading reading) {
  const auto at = [&](int position) {
    return ColumnText(statement, grammarColumn + position - kGrammarColumn, reading.storedAsUtf8);
  };
  LessonRowTexts texts;
  texts.grammar = at(kGrammarColumn);
  texts.number = at(kNumberColumn);
  texts.word = at(kWordColumn);
  if (reading.infoLines) {
    texts.info1 = at(kFirstInfoColumn);
    texts.info2 = at(kFirstInfoColumn + 1);
    texts.info3 = at(kFirstInfoColumn + 2);
  }
  for (int position = kFirstTranslationColumn; position <= kLastTranslationColumn; ++position) {
    std::u16string translation = at(position);
    if (!translation.empty()) texts.translations.push_back(std::move(translation));
  }
  return texts;
}

}  // namespace verbaro::lesson
