// The statistics window (F8) of a lesson of 10 000 entries with a year of history (about 16 000
// answers in both directions, typing slips, exams): gathering the numbers from the progress
// store and making, showing and painting the window, in wall time (the learner waits for it),
// against making, showing and painting an empty dialog of the same size.
#include <QCoreApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <memory>

#include "data/Clock.h"
#include "data/StudyStatistics.h"
#include "data/Text.h"
#include "data/progress/ProgressStore.h"
#include "progressview/StatisticsWindow.h"
#include "support/BenchTiming.h"
#include "support/YearOfHistory.h"

namespace verbaro::bench {

namespace {

constexpr int kEntries = 10'000;
const char16_t* const kGrammar[] = {u"m", u"f", u"v", u"adj,m", u"~"};

struct YearOfStudy {
  QTemporaryDir folder;
  SystemClock clock;
  std::vector<progress::EntryKey> keys;
  std::vector<WordsData> records;
  std::unique_ptr<progress::ProgressStore> store;
  std::unique_ptr<progress::LessonProgress> lesson;
  int answers = 0;

  YearOfStudy() {
    for (int i = 0; i < kEntries; ++i) {
      WordsData record;
      record.wsKeyWord = u"mot" + ToU16(i);
      record.wsFrGram = kGrammar[i % 5];
      record.wsFrNumber = i % 5 < 2 ? u"s" : u"";
      record.vwsAltWords = {u"слово",
                            u"перевод " + std::u16string(1, static_cast<char16_t>(u'а' + i % 32))};
      keys.push_back({record.wsKeyWord, record.wsFrGram, record.wsFrNumber, 0});
      records.push_back(std::move(record));
    }
    const std::string path = folder.filePath(QStringLiteral("progress.sqlite")).toStdString();
    answers = WriteYearOfHistory(path, keys, "/lessons/big.db", clock.NowSeconds());
    store = progress::ProgressStore::Open(path, clock);
    lesson = store->OpenLesson(keys, "/lessons/big.db");
  }
};

YearOfStudy& Study() {
  static YearOfStudy study;
  return study;
}

// Shows the window and lets it paint once, then closes it.
void ShowAndPaint(QDialog& dialog) {
  dialog.show();
  QCoreApplication::processEvents();
  dialog.close();
}

void StatisticsWindowOpen(benchmark::State& state) {
  YearOfStudy& study = Study();
  double gatherSeconds = 0, windowSeconds = 0, bareSeconds = 0, cpuSeconds = 0;
  for (auto _ : state) {
    const double cpuStart = ProcessCpuSeconds();
    const double start = WallSeconds();
    const LessonStatistics statistics =
        GatherStatistics(*study.lesson, TranslationsOf(study.records, false), u"big.db");
    const double gathered = WallSeconds();
    {
      StatisticsWindow window(statistics, progress::Direction::Forward, nullptr);
      ShowAndPaint(window);
    }
    const double shown = WallSeconds();
    cpuSeconds += ProcessCpuSeconds() - cpuStart;
    gatherSeconds += gathered - start;
    windowSeconds += shown - gathered;

    state.PauseTiming();
    const double bareStart = WallSeconds();
    {
      QDialog bare;
      bare.resize(1240, 700);
      ShowAndPaint(bare);
    }
    bareSeconds += WallSeconds() - bareStart;
    state.ResumeTiming();
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["answers"] = study.answers;
  state.counters["gather_ms"] = gatherSeconds / n * 1e3;
  state.counters["window_ms"] = windowSeconds / n * 1e3;
  state.counters["open_ms"] = (gatherSeconds + windowSeconds) / n * 1e3;
  // CPU time of the process: what the opening costs, whatever else the machine runs meanwhile.
  state.counters["open_cpu_ms"] = cpuSeconds / n * 1e3;
  state.counters["bare_ms"] = bareSeconds / n * 1e3;
  state.counters["vs_bare"] = bareSeconds > 0 ? (gatherSeconds + windowSeconds) / bareSeconds : 0;
}
BENCHMARK(StatisticsWindowOpen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace

}  // namespace verbaro::bench
