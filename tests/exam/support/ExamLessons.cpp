#include "ExamLessons.h"

#include "data/Text.h"

namespace verbaro::examtest {

LessonRow Row(std::u16string word, std::u16string grammar, std::u16string number,
              std::vector<std::u16string> answers) {
  LessonRow row{std::move(grammar), std::move(number), word, std::move(answers), RecordingOf(word)};
  row.info1 = u"[" + word + u"]";
  row.info2 = u"info2";
  row.info3 = u"info3";
  return row;
}

std::vector<uint8_t> RecordingOf(const std::u16string& word) {
  const std::string utf8 = "rec:" + ToUtf8(word);
  return std::vector<uint8_t>(utf8.begin(), utf8.end());
}

}  // namespace verbaro::examtest
