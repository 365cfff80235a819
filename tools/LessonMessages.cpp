#include "tools/LessonMessages.h"

#include "data/Text.h"

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

}  // namespace verbaro::lesson
