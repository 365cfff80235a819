#include "data/LessonRowTexts.h"

#include <sqlite3.h>

#include <string_view>

#include "data/LessonTable.h"

namespace verbaro::lesson {

namespace {

std::u16string ColumnText(sqlite3_stmt* statement, int column) {
  if (column >= sqlite3_column_count(statement)) return {};
  const void* text = sqlite3_column_text16(statement, column);
  if (text == nullptr) return {};
  const int bytes = sqlite3_column_bytes16(statement, column);
  const std::u16string_view view(static_cast<const char16_t*>(text),
                                 static_cast<size_t>(bytes) / sizeof(char16_t));
  return std::u16string(view.substr(0, view.find(u'\0')));
}

}  // namespace

LessonRowTexts ReadLessonRowTexts(sqlite3_stmt* statement, int grammarColumn) {
  const auto at = [&](int position) {
    return ColumnText(statement, grammarColumn + position - kGrammarColumn);
  };
  LessonRowTexts texts;
  texts.grammar = at(kGrammarColumn);
  texts.number = at(kNumberColumn);
  texts.word = at(kWordColumn);
  texts.info1 = at(kFirstInfoColumn);
  texts.info2 = at(kFirstInfoColumn + 1);
  texts.info3 = at(kFirstInfoColumn + 2);
  for (int position = kFirstTranslationColumn; position <= kLastTranslationColumn; ++position) {
    std::u16string translation = at(position);
    if (!translation.empty()) texts.translations.push_back(std::move(translation));
  }
  return texts;
}

}  // namespace verbaro::lesson
