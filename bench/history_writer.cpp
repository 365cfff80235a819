// verbaro_history LESSON.db STORE [DAYS]: writes a generated year (or DAYS days) of study of the
// lesson into the progress store at STORE (created when missing), ending today, so that the
// statistics window has something to show (scripts/screenshots_statistics.sh). Reads the lesson
// as the trainer does; writes nothing beside it.
#include <cstdlib>
#include <iostream>

#include "data/Clock.h"
#include "data/PlainLessonState.h"
#include "data/Text.h"
#include "data/progress/LessonEntries.h"
#include "support/YearOfHistory.h"

int main(int argc, char** argv) {
  const int days = argc == 4 ? std::atoi(argv[3]) : 365;
  if ((argc != 3 && argc != 4) || days < 1 || days > 3660) {
    std::cerr << "Использование: verbaro_history УРОК.db ПАМЯТЬ.sqlite [ДНЕЙ]\n";
    return 2;
  }
  verbaro::PlainLessonState lesson(u"Модуль \"Конспект-1\"");
  lesson.m_szDataFile = verbaro::FromUtf8(argv[1]);
  if (!lesson.LoadWordsData()) {
    std::cerr << "Урок не прочитан: " << argv[1] << "\n";
    return 1;
  }
  const verbaro::progress::LessonEntries entries(lesson.m_vWordsData);
  const verbaro::SystemClock clock;
  verbaro::bench::HistorySize size;
  size.newEntriesPerDay = 5;
  size.days = days;
  const int answers = verbaro::bench::WriteYearOfHistory(argv[2], entries.Keys(), argv[1],
                                                         clock.NowSeconds(), size);
  std::cout << answers << " answers written\n";
  return 0;
}
