#include "data/LessonRowTexts.h"

#include <sqlite3.h>

#include <string_view>

#include "data/Sql.h"
#include "data/Text.h"

namespace verbaro::lesson {

namespace {

// Whether SQLite's own conversion carries `text` over unchanged: well-formed UTF-8 without
// U+FFFE or U+FFFF, which SQLite replaces (in well-formed UTF-8 their bytes mean nothing else).
// SQLite also reads malformed sequences in its own way, so such a text is left to it.
bool ConvertsPlainly(std::string_view text) {
  return IsValidUtf8(text) && text.find("\xEF\xBF\xBE") == std::string_view::npos &&
         text.find("\xEF\xBF\xBF") == std::string_view::npos;
}

// Well-formed UTF-8 as UTF-16, in a string of exactly its length: the records keep these
// strings, and growing one (as FromUtf8 does) would leave room unused in most of them.
std::u16string PlainUtf16(std::string_view text) {
  size_t units = 0;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if ((b & 0xC0) != 0x80) ++units;  // one unit per sequence
    if (b >= 0xF0) ++units;           // and a second for a four-byte one
  }
  std::u16string out(units, u'\0');
  size_t o = 0;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k)
      c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
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
    if (ConvertsPlainly(stored)) return PlainUtf16(stored);
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
  Statement encoding(db, "PRAGMA encoding;");
  return encoding.Step() && encoding.Utf8(0) == "UTF-8";
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
