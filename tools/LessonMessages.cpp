#include "tools/LessonMessages.h"

#include <cstdio>
#include <optional>

#include "data/GrammarCodes.h"
#include "data/LessonState.h"
#include "data/Text.h"
#include "data/Typable.h"

namespace verbaro::lesson {
namespace {

std::string PlaceWord(Place place, bool several) {
  if (place == Place::Line) return several ? "строки" : "строка";
  return several ? "записи" : "запись";
}

}  // namespace

std::string JoinNumbers(const std::vector<int>& numbers) {
  std::string joined;
  for (int number : numbers) {
    if (!joined.empty()) joined += ", ";
    joined += std::to_string(number);
  }
  return joined;
}

std::string DescribeOverflow(const MergeOverflow& overflow, Place place) {
  const std::string where =
      PlaceWord(place, overflow.entryNumbers.size() > 1) + " " + JoinNumbers(overflow.entryNumbers);
  const std::string key = "«" + ToUtf8(overflow.key) + "»";
  const std::string count = std::to_string(overflow.answers);
  if (overflow.reversed) {
    return where + ": перевод " + key + " общий у " + count +
           " слов, а в режимах «Конспект-2», «Видео-2» и «Экзамен-2» у записи не больше пяти "
           "ответов";
  }
  return where + ": слово " + key + " собирает " + count +
         " переводов, а в режиме «Экзамен-1» у записи не больше пяти ответов";
}

std::string DescribeUnaskable(const EntryText& entry, Place place) {
  return PlaceWord(place, false) + " " + std::to_string(entry.entryNumber) + ": группа «" +
         ToUtf8(GroupKey(AsRecord(entry))) + "» (грамматика «" + ToUtf8(entry.grammar) +
         "», число «" + ToUtf8(entry.number) +
         "») не совпадает ни с одной группой фильтров: в режимах «Экзамен» вопрос по этой записи "
         "не строится";
}

std::string DescribeInfoGivingAnswer(const InfoGivingAnswer& found, Place place) {
  const std::u16string* infos[] = {&found.entry->info1, &found.entry->info2, &found.entry->info3};
  return PlaceWord(place, false) + " " + std::to_string(found.entry->entryNumber) +
         ": строка пояснений " + std::to_string(found.infoLine) + " «" +
         ToUtf8(*infos[found.infoLine - 1]) + "» содержит перевод «" + ToUtf8(found.translation) +
         "»: в режиме «Экзамен-1» она подсказывает ответ";
}

std::string DescribeSmallExamGroup(const SmallExamGroup& group, Place place) {
  return PlaceWord(place, group.entryNumbers.size() > 1) + " " + JoinNumbers(group.entryNumbers) +
         ": в группе «" + ToUtf8(group.group) + "» мало " +
         (group.reversed ? "слов" : "переводов") + ": в режиме «Экзамен-" +
         (group.reversed ? "2" : "1") + "» вопрос этой группы покажет только " +
         std::to_string(group.choices) + " из " + std::to_string(kMaxAltWords) +
         " вариантов ответа";
}

std::vector<std::string> DescribeUntypable(const EntryText& entry) {
  std::vector<std::string> found;
  const auto check = [&](const std::u16string& text, const char* what, TypingTable table,
                         const char* mode) {
    const std::optional<size_t> at = FindUntypable(text, table);
    if (!at) return;
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(text[*at]));
    found.push_back(std::string(what) + " «" + ToUtf8(text) + "»: символ «" +
                    ToUtf8(std::u16string(1, text[*at])) + "» (" + code +
                    ") не набирается на клавиатуре режима «" + mode + "»");
  };
  check(entry.word, "слово", TypingTable::Latin, "Конспект-1");
  if (!IsLeftOutGram(entry.grammar)) {
    for (const std::u16string& translation : entry.translations)
      check(translation, "перевод", TypingTable::Cyrillic, "Конспект-2");
  }
  return found;
}

}  // namespace verbaro::lesson
