#include "tools/LessonProgressReport.h"

#include <cmath>
#include <ctime>
#include <iomanip>
#include <sstream>

#include "data/Clock.h"
#include "data/PlainLessonState.h"
#include "data/StudyStatistics.h"
#include "data/Text.h"
#include "data/progress/LessonEntries.h"
#include "data/progress/ProgressStore.h"

namespace verbaro::lesson {

namespace {

using progress::Direction;

std::string DaysText(int days) {
  const int lastTwo = days % 100;
  const int last = lastTwo % 10;
  std::string word = "дней";
  if (lastTwo < 11 || lastTwo > 14) {
    if (last == 1) word = "день";
    else if (last >= 2 && last <= 4) word = "дня";
  }
  return std::to_string(days) + " " + word;
}

// Seconds since 1970 as "2026-12-07T17:53:00Z".
std::string UtcTime(int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  std::ostringstream text;
  text << std::put_time(&parts, "%Y-%m-%dT%H:%M:%SZ");
  return text.str();
}

void PrintDirection(const DirectionStatistics& statistics, const char* title, std::ostream& out) {
  const progress::EntryCounts& counts = statistics.counts;
  out << "\n" << title << "\n";
  out << "  Записей: новых " << counts.fresh << ", изучается " << counts.learning << ", выучено "
      << counts.learnt << "; на сегодня " << ToUtf8(DueTodayText(counts)) << "\n";
  out << "  Серия: " << DaysText(statistics.streaks.current)
      << " подряд; самая длинная: " << DaysText(statistics.streaks.longest) << "\n";
  out << "  ответов " << counts.answers;
  if (counts.answers > 0)
    out << ", верно с первой попытки " << std::lround(100 * Accuracy(counts)) << " %";
  out << "\n";
  if (statistics.hardest.empty()) {
    out << "  Трудных записей нет.\n";
    return;
  }
  out << "  Самые трудные:\n";
  int number = 0;
  for (const HardEntryText& entry : statistics.hardest) {
    out << "  " << std::setw(3) << ++number << ". " << ToUtf8(entry.word);
    if (!entry.translation.empty()) out << " — " << ToUtf8(entry.translation);
    out << " (забыто: " << entry.lapses << ", ошибок: " << entry.misses << ")\n";
  }
}

void PrintAnswerLog(const progress::LessonProgress& progress, std::ostream& out) {
  out << "time,direction,kind,grade,wrong_keystrokes,milliseconds,word,grammar,number\n";
  const std::vector<progress::EntryKey>& keys = progress.Keys();
  for (const progress::AnswerLogRow& row : progress.AnswerLog()) {
    if (row.entry < 0 || row.entry >= static_cast<int>(keys.size())) continue;
    const progress::EntryKey& key = keys[static_cast<size_t>(row.entry)];
    out << UtcTime(row.at) << ',' << (row.direction == 2 ? "ru-fr" : "fr-ru") << ','
        << ToUtf8(row.kind) << ',' << row.grade << ',' << row.wrongKeystrokes << ','
        << row.milliseconds << ',' << CsvField(ToUtf8(key.word)) << ','
        << CsvField(ToUtf8(key.gram)) << ',' << CsvField(ToUtf8(key.number)) << '\n';
  }
}

}  // namespace

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

int PrintProgress(const ProgressRequest& request, const Clock& clock, std::ostream& out,
                  std::ostream& err) {
  PlainLessonState lesson(u"Модуль \"Конспект-1\"");
  lesson.m_szDataFile = FromUtf8(request.lesson.string());
  if (!lesson.LoadWordsData()) {
    err << "Урок не прочитан: " << request.lesson.string();
    for (const PlainLessonState::Message& message : lesson.Messages())
      err << "; «" << ToUtf8(message.text) << "»";
    err << "\n";
    return 1;
  }
  auto store = progress::ProgressStore::Open(request.storePath, clock,
                                             progress::ProgressStore::Access::ReadOnly);
  const std::u16string notice = store->TakeNotice();
  if (!notice.empty()) err << ToUtf8(notice) << "\n";
  const progress::LessonEntries entries(lesson.m_vWordsData);
  const auto progress = store->OpenLesson(entries.Keys(), request.lesson.string());
  progress->SetModeRecords(Direction::Reverse, entries.ReversedRecords(lesson.m_vWordsData));

  if (request.csv) {
    PrintAnswerLog(*progress, out);
    return 0;
  }
  const LessonStatistics statistics =
      GatherStatistics(*progress, TranslationsOf(lesson.m_vWordsData, false),
                       FromUtf8(request.lesson.filename().string()));
  out << "Урок: " << request.lesson.string() << "\n";
  out << "Записей: " << entries.Keys().size() << "\n";
  out << "Память тренажёра: " << request.storePath << "\n";
  if (progress->Id() == 0) out << "По этому уроку занятий ещё не было.\n";
  // Each direction with the modes that grade it: typing from memory goes the other way than the
  // Conspect mode's own direction.
  PrintDirection(statistics.forward,
                 "Французский → русский («Экзамен-1», «Видео-1», «Конспект-2» по памяти):", out);
  PrintDirection(statistics.reverse,
                 "Русский → французский («Экзамен-2», «Видео-2», «Конспект-1» по памяти):", out);
  return 0;
}

}  // namespace verbaro::lesson
