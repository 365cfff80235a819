#include "support/YearOfHistory.h"

#include <algorithm>
#include <random>

#include "data/Clock.h"
#include "data/FilterKinds.h"
#include "data/progress/ProgressStore.h"

namespace verbaro::bench {

namespace {

class MovingClock : public Clock {
 public:
  int64_t seconds = 0;
  int64_t NowSeconds() const override { return seconds; }
};

// Slips a learner makes while typing: the expected character and the one typed.
const progress::MissedCharacter kFrenchSlips[] = {
    {u"é", u"e"},
    {u"è", u"e"},
    {u"é", u"è"},
    {u"ç", u"c"},
    {u"à", u"a"},
    {u"ê", u"e"},
    {u"ô", u"o"},
    {u"ï", u"i"},
    {u"œ", u"o"},
    {u"u", u"i"},
    {u"s", u"z"},
    {u"q", u"a"},
    // an accent key before a letter that takes no accent types both
    {u"l", u"´l"}};
const progress::MissedCharacter kRussianSlips[] = {{u"ш", u"щ"}, {u"е", u"ё"}, {u"и", u"й"},
                                                   {u"ь", u"ъ"}, {u"а", u"о"}, {u"ы", u"и"},
                                                   {u"ж", u"ш"}, {u"э", u"е"}};

// The filters exams are taken in, by their menu texts, as the trainer keeps them.
const std::u16string_view kExamFilters[] = {kFilterAll, kFilterMasculineSingular, kFilterVerbs,
                                            kFilterFeminineAdjectives};

}  // namespace

int WriteYearOfHistory(const std::string& storePath, const std::vector<progress::EntryKey>& keys,
                       const std::string& lessonPath, int64_t now, HistorySize size) {
  if (keys.empty()) return 0;
  MovingClock clock;
  auto store = progress::ProgressStore::Open(storePath, clock);
  auto lesson = store->OpenLesson(keys, lessonPath);
  std::mt19937 random(20261207);
  const auto chance = [&random](double p) {
    return std::uniform_real_distribution<>(0, 1)(random) < p;
  };
  const auto pick = [&random](int count) {
    return std::uniform_int_distribution<>(0, count - 1)(random);
  };

  const int64_t firstDayStart = now - static_cast<int64_t>(size.days - 1) * 86'400 - 3 * 3'600;
  int introduced = 0;
  int answers = 0;
  for (int day = 0; day < size.days; ++day) {
    // A streak of twelve days up to today; before that about three days in four.
    if (day < size.days - 12 && chance(0.25)) continue;
    clock.seconds = firstDayStart + static_cast<int64_t>(day) * 86'400;
    introduced = std::min<int>(static_cast<int>(keys.size()), introduced + size.newEntriesPerDay);
    const int today = size.answersPerDay / 2 + pick(size.answersPerDay);
    int examRight = 0, examWrong = 0;
    for (int i = 0; i < today; ++i) {
      clock.seconds += 15 + pick(30);
      const int entry = pick(introduced);
      const progress::Direction direction =
          chance(0.65) ? progress::Direction::Forward : progress::Direction::Reverse;
      if (chance(0.6)) {
        progress::TypingResult typed;
        typed.characters = static_cast<int>(keys[static_cast<size_t>(entry)].word.size());
        typed.milliseconds = 2'000 + pick(9'000);
        if (chance(0.22)) {
          typed.wrongKeystrokes = 1 + pick(3);
          for (int k = 0; k < typed.wrongKeystrokes; ++k) {
            typed.misses.push_back(direction == progress::Direction::Forward
                                       ? kFrenchSlips[pick(std::size(kFrenchSlips))]
                                       : kRussianSlips[pick(std::size(kRussianSlips))]);
          }
        }
        lesson->RecordTyping(direction, std::vector{entry}, typed);
      } else {
        const bool right = chance(0.8);
        (right ? examRight : examWrong)++;
        lesson->RecordExamAnswer(
            direction, std::vector{entry},
            right ? progress::ExamAnswer::RightFirstTry
                  : (chance(0.7) ? progress::ExamAnswer::Wrong : progress::ExamAnswer::Refused));
      }
      ++answers;
    }
    if (examRight + examWrong > 0 && chance(0.3)) {
      const StudyMode mode = chance(0.6) ? StudyMode::Exam1 : StudyMode::Exam2;
      const int filter = pick(static_cast<int>(std::size(kExamFilters)));
      lesson->RecordExamResult({mode,
                                {progress::ExamFilter::Kind::Lesson, filter},
                                std::u16string(kExamFilters[filter]),
                                examRight,
                                examWrong,
                                pick(4)});
    }
  }
  return answers;
}

}  // namespace verbaro::bench
