// The learner's progress store on a lesson of 10 000 entries (the reading lesson: 10 000 rows
// with 8 KB recordings) after a simulated year of daily study of «На сегодня» in both
// directions (about 20 new entries and all due ones a day, typing one way, exam the other).
//
//   ProgressEvent     one typing answer recorded (its own transaction: answer log, memory
//                     state, day totals, missed characters); wall time per event, with the
//                     median, 99th percentile and slowest of the run
//   DueToday          «На сегодня» of one direction (DueEntries), with its size
//   MissedList        «Слова с ошибками» of one direction (MissedEntries)
//   Statistics        every query of the statistics window for one direction (counts, 90 days,
//                     streaks, 14-day forecast, hardest 20, missed characters, exam history)
//   StoreOpen         opening the store file at start-up (with its quick check of every page)
//   LessonOpen        opening the lesson as the trainer does (LoadWordsData, CreateUserFilters,
//                     the entry keys, OpenLesson, the view's two review lists; the store open
//                     since start-up) with the year of history (subject) against a store that
//                     knows the lesson but holds no answers (bare): vs_bare; and against no store
//                     at all: vs_no_store. Process CPU time, three in turn per iteration.
//   EntryIndex        the store's view of a lesson of 100 000 rows (generated from the starter
//                     lesson, 64-byte recordings) as the trainer makes it at every opening: the
//                     entry keys and their index (LessonEntries) with the records of the reversed
//                     modes and the entries each stands for (ReversedRecords), against reading
//                     the lesson (LoadWordsData): vs_bare.
//   FirstOpening      a lesson of 100 000 entries opened in a store that has never seen it
//                     (its entries and the lesson recorded: subject_ms) against opening it again
//                     once the store knows it (bare_ms), in a fresh store file each iteration;
//                     and the same first opening in a store that already knows another
//                     100 000-entry lesson sharing none of its entries (crowded_ms).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/Clock.h"
#include "data/Text.h"
#include "data/progress/LessonEntries.h"
#include "data/progress/ProgressStore.h"
#include "support/BenchLessons.h"
#include "support/BenchTiming.h"
#include "support/PlainLesson.h"

namespace verbaro::bench {

namespace {

namespace fs = std::filesystem;
using progress::Direction;
using progress::ExamAnswer;
using progress::LessonProgress;
using progress::ProgressStore;

constexpr int64_t kDay = 86'400;
constexpr int kYear = 365;

class BenchClock : public Clock {
 public:
  int64_t seconds = 1'735'732'800;  // 2025-01-01 12:00 UTC
  int64_t NowSeconds() const override { return seconds; }
};

class Scratch {
 public:
  Scratch()
      : m_path(fs::temp_directory_path() / ("verbaro-bench-progress-" + std::to_string(getpid()))) {
    fs::create_directories(m_path);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
  }
  std::string File(const std::string& name) const {
    return (m_path / name / "progress.sqlite").string();
  }

 private:
  fs::path m_path;
};

progress::TypingResult Typing(std::mt19937& random) {
  progress::TypingResult result;
  result.characters = 6;
  const int roll = std::uniform_int_distribution<int>(0, 99)(random);
  result.wrongKeystrokes = roll < 75 ? 0 : roll < 92 ? 1 + roll % 2 : 3 + roll % 4;
  for (int i = 0; i < result.wrongKeystrokes; ++i) result.misses.push_back({u"é", u"e"});
  result.milliseconds = std::uniform_int_distribution<int>(1500, 9000)(random);
  return result;
}

// Everything the benchmarks share, made once: the lesson's keys and two stores.
struct World {
  Scratch scratch;
  BenchClock clock;
  std::string lessonPath = ReadingLessonPath();
  std::vector<progress::EntryKey> keys;
  std::string yearStore = scratch.File("year");
  std::string emptyStore = scratch.File("empty");
  int64_t events = 0;

  World() {
    PlainLesson lesson(lessonPath);
    lesson.LoadWordsData();
    keys = progress::LessonEntries(lesson.m_vWordsData).Keys();
    ProgressStore::Open(emptyStore, clock)->OpenLesson(keys, lessonPath);
    SimulateYear();
    clock.seconds += kDay;  // the day after the year
  }

  void SimulateYear() {
    std::mt19937 random(2025);
    auto store = ProgressStore::Open(yearStore, clock);
    auto lesson = store->OpenLesson(keys, lessonPath);
    for (int day = 0; day < kYear; ++day) {
      for (const int entry : lesson->DueEntries(Direction::Forward)) {
        lesson->RecordTyping(Direction::Forward, std::vector{entry}, Typing(random));
        ++events;
      }
      for (const int entry : lesson->DueEntries(Direction::Reverse)) {
        const bool right = std::uniform_int_distribution<int>(0, 9)(random) < 8;
        lesson->RecordExamAnswer(Direction::Reverse, std::vector{entry},
                                 right ? ExamAnswer::RightFirstTry : ExamAnswer::Wrong);
        ++events;
      }
      lesson->RecordExamResult({StudyMode::Exam2, {}, u"&0 - Все слова и фразы", 30, 3, 1});
      clock.seconds += kDay;
    }
  }
};

World& TheWorld() {
  static World world;
  return world;
}

void SetMedianAndTail(benchmark::State& state, std::vector<double>& seconds) {
  if (seconds.empty()) return;
  std::sort(seconds.begin(), seconds.end());
  state.counters["median_ms"] = seconds[seconds.size() / 2] * 1e3;
  state.counters["p99_ms"] = seconds[seconds.size() * 99 / 100] * 1e3;
  state.counters["max_ms"] = seconds.back() * 1e3;
}

void ProgressEvent(benchmark::State& state) {
  World& world = TheWorld();
  auto store = ProgressStore::Open(world.yearStore, world.clock);
  auto lesson = store->OpenLesson(world.keys, world.lessonPath);
  std::mt19937 random(7);
  std::vector<double> seconds;
  int entry = 0;
  for (auto _ : state) {
    const progress::TypingResult typing = Typing(random);
    const double start = WallSeconds();
    lesson->RecordTyping(Direction::Forward, std::vector{entry}, typing);
    seconds.push_back(WallSeconds() - start);
    entry = (entry + 7) % static_cast<int>(world.keys.size());
  }
  if (!store->IsSaving()) state.SkipWithError("the store did not save");
  state.counters["history_events"] = static_cast<double>(world.events);
  SetMedianAndTail(state, seconds);
}

void DueToday(benchmark::State& state) {
  World& world = TheWorld();
  auto lesson =
      ProgressStore::Open(world.yearStore, world.clock)->OpenLesson(world.keys, world.lessonPath);
  size_t due = 0;
  for (auto _ : state) due = lesson->DueEntries(Direction::Forward).size();
  state.counters["entries"] = static_cast<double>(due);
}

void MissedList(benchmark::State& state) {
  World& world = TheWorld();
  auto lesson =
      ProgressStore::Open(world.yearStore, world.clock)->OpenLesson(world.keys, world.lessonPath);
  size_t missed = 0;
  for (auto _ : state) missed = lesson->MissedEntries(Direction::Forward).size();
  state.counters["entries"] = static_cast<double>(missed);
}

void Statistics(benchmark::State& state) {
  World& world = TheWorld();
  auto lesson =
      ProgressStore::Open(world.yearStore, world.clock)->OpenLesson(world.keys, world.lessonPath);
  for (auto _ : state) {
    benchmark::DoNotOptimize(lesson->Counts(Direction::Forward));
    benchmark::DoNotOptimize(lesson->Activity(Direction::Forward, 182));
    benchmark::DoNotOptimize(lesson->Streaks(Direction::Forward));
    benchmark::DoNotOptimize(lesson->DueForecast(Direction::Forward, 14));
    benchmark::DoNotOptimize(lesson->HardestEntries(Direction::Forward, 20));
    benchmark::DoNotOptimize(lesson->MissedCharacters(Direction::Forward));
    benchmark::DoNotOptimize(lesson->ExamHistory());
  }
  const auto counts = lesson->Counts(Direction::Forward);
  state.counters["learnt"] = counts.learnt;
  state.counters["learning"] = counts.learning;
  state.counters["answers"] = counts.answers;
}

void StoreOpen(benchmark::State& state) {
  World& world = TheWorld();
  for (auto _ : state) benchmark::DoNotOptimize(ProgressStore::Open(world.yearStore, world.clock));
  state.counters["store_mb"] = static_cast<double>(FileBytes(world.yearStore)) / 1e6;
}

// What opening a lesson costs the trainer, with its store (none when null) open since start-up.
void OpenAsTheTrainer(const World& world, ProgressStore* store) {
  PlainLesson rows(world.lessonPath);
  rows.LoadWordsData();
  rows.CreateUserFilters();
  if (store == nullptr) return;
  auto lesson =
      store->OpenLesson(progress::LessonEntries(rows.m_vWordsData).Keys(), world.lessonPath);
  // a view studies one direction: the counts of its two review filters
  benchmark::DoNotOptimize(lesson->DueEntries(Direction::Forward));
  benchmark::DoNotOptimize(lesson->MissedEntries(Direction::Forward));
}

void LessonOpen(benchmark::State& state) {
  World& world = TheWorld();
  auto year = ProgressStore::Open(world.yearStore, world.clock);
  auto empty = ProgressStore::Open(world.emptyStore, world.clock);
  double yearSeconds = 0, emptySeconds = 0, noStoreSeconds = 0;
  const auto timed = [](double& seconds, auto&& open) {
    const double start = ProcessCpuSeconds();
    open();
    seconds += ProcessCpuSeconds() - start;
  };
  for (auto _ : state) {
    timed(yearSeconds, [&] { OpenAsTheTrainer(world, year.get()); });
    timed(emptySeconds, [&] { OpenAsTheTrainer(world, empty.get()); });
    timed(noStoreSeconds, [&] { OpenAsTheTrainer(world, nullptr); });
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["subject_ms"] = yearSeconds / n * 1e3;
  state.counters["bare_ms"] = emptySeconds / n * 1e3;
  state.counters["no_store_ms"] = noStoreSeconds / n * 1e3;
  state.counters["vs_bare"] = yearSeconds / emptySeconds;
  state.counters["vs_no_store"] = yearSeconds / noStoreSeconds;
}

// The starter lesson's keys repeated up to `count` entries, each repetition's words numbered
// (`tag` before the number), as a large lesson built from it is.
std::vector<progress::EntryKey> ManyKeys(size_t count, const std::u16string& tag) {
  PlainLesson starter(StarterLessonPath());
  starter.LoadWordsData();
  const std::vector<progress::EntryKey> base = progress::LessonEntries(starter.m_vWordsData).Keys();
  std::vector<progress::EntryKey> keys;
  keys.reserve(count);
  for (size_t i = 0; keys.size() < count; ++i) {
    progress::EntryKey key = base[i % base.size()];
    key.word += tag + FromUtf8(std::to_string(i / base.size()));
    keys.push_back(std::move(key));
  }
  return keys;
}

void EntryIndex(benchmark::State& state) {
  PlainLesson lesson(GeneratedLessonPath(static_cast<int>(state.range(0)), 64));
  double indexSeconds = 0, readSeconds = 0;
  size_t records = 0;
  for (auto _ : state) {
    double start = ProcessCpuSeconds();
    lesson.LoadWordsData();
    readSeconds += ProcessCpuSeconds() - start;
    start = ProcessCpuSeconds();
    const progress::LessonEntries entries(lesson.m_vWordsData);
    records = entries.ReversedRecords(lesson.m_vWordsData).size();
    indexSeconds += ProcessCpuSeconds() - start;
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["subject_ms"] = indexSeconds / n * 1e3;
  state.counters["bare_ms"] = readSeconds / n * 1e3;
  state.counters["vs_bare"] = indexSeconds / readSeconds;
  state.counters["reversed_records"] = static_cast<double>(records);
}

void FirstOpening(benchmark::State& state) {
  const size_t count = static_cast<size_t>(state.range(0));
  const std::vector<progress::EntryKey> keys = ManyKeys(count, u" ");
  const std::vector<progress::EntryKey> others = ManyKeys(count, u" autre ");
  Scratch scratch;
  BenchClock clock;
  double firstSeconds = 0, knownSeconds = 0, crowdedSeconds = 0;
  bool known = true;
  int run = 0;
  for (auto _ : state) {
    const std::string path = scratch.File("first-" + std::to_string(run));
    const std::string crowdedPath = scratch.File("crowded-" + std::to_string(run++));
    auto store = ProgressStore::Open(path, clock);
    auto crowded = ProgressStore::Open(crowdedPath, clock);
    crowded->OpenLesson(others, "/lessons/other.db");
    double start = ProcessCpuSeconds();
    const int64_t id = store->OpenLesson(keys, "/lessons/big.db")->Id();
    firstSeconds += ProcessCpuSeconds() - start;
    start = ProcessCpuSeconds();
    known = store->OpenLesson(keys, "/lessons/big.db")->Id() == id && id != 0 && known;
    knownSeconds += ProcessCpuSeconds() - start;
    start = ProcessCpuSeconds();
    known = crowded->OpenLesson(keys, "/lessons/big.db")->Id() != 0 && known;
    crowdedSeconds += ProcessCpuSeconds() - start;
  }
  if (!known) state.SkipWithError("the lesson was not recorded");
  const auto n = static_cast<double>(state.iterations());
  state.counters["subject_ms"] = firstSeconds / n * 1e3;
  state.counters["bare_ms"] = knownSeconds / n * 1e3;
  state.counters["crowded_ms"] = crowdedSeconds / n * 1e3;
  state.counters["vs_bare"] = firstSeconds / knownSeconds;
}

}  // namespace

BENCHMARK(EntryIndex)
    ->Name("EntryIndex/generated_100000_rows")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(FirstOpening)
    ->Name("FirstOpening/new_lesson_vs_known")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(ProgressEvent)
    ->Name("ProgressEvent/year_of_history_10000_entries")
    ->Iterations(2000)
    ->UseRealTime();
BENCHMARK(DueToday)->Name("DueToday/year_of_history_10000_entries")->Unit(benchmark::kMillisecond);
BENCHMARK(MissedList)
    ->Name("MissedList/year_of_history_10000_entries")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Statistics)
    ->Name("Statistics/year_of_history_10000_entries")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(StoreOpen)
    ->Name("StoreOpen/year_of_history_10000_entries")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(LessonOpen)
    ->Name("LessonOpen/year_of_history_vs_empty_store")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8);

}  // namespace verbaro::bench

BENCHMARK_MAIN();
