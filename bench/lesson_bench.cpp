// Reading a lesson: CLessonState::LoadWordsData followed by CreateUserFilters, against a bare
// sqlite3 loop that steps the same query and reads the same text columns (as UTF-16) and the
// recording of every row into one reused buffer; filters_ms is the CreateUserFilters share.
// Also the reversal of a large lesson (BuildContraVersaData), in absolute time.
#include <sqlite3.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/BenchLessons.h"
#include "support/BenchTiming.h"
#include "support/PlainLesson.h"

namespace verbaro::bench {

namespace {

constexpr int kFirstTextColumn = 2;  // grammar, number, word, three information lines,
constexpr int kLastTextColumn = 12;  // five translations
constexpr int kRecordingColumn = 13;

// The baseline: everything the reader takes from the file, with no records built.
size_t BareRead(const std::string& path, std::vector<uint8_t>& recording) {
  sqlite3* db = nullptr;
  size_t bytes = 0;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM FrRuDict;", -1, &stmt, nullptr);
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
      for (int column = kFirstTextColumn; column <= kLastTextColumn; ++column) {
        benchmark::DoNotOptimize(sqlite3_column_text16(stmt, column));
        bytes += static_cast<size_t>(sqlite3_column_bytes16(stmt, column));
      }
      const void* blob = sqlite3_column_blob(stmt, kRecordingColumn);
      const auto size = static_cast<size_t>(sqlite3_column_bytes(stmt, kRecordingColumn));
      if (recording.size() < size) recording.resize(size);
      if (size > 0) std::memcpy(recording.data(), blob, size);
      benchmark::DoNotOptimize(recording.data());
      bytes += size;
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return bytes;
}

void SetLessonCounters(benchmark::State& state, const std::string& path,
                       const PlainLesson& lesson) {
  state.counters["rows"] = static_cast<double>(lesson.m_vWordsData.size());
  state.counters["file_MB"] = static_cast<double>(FileBytes(path)) / (1 << 20);
}

// Lessons are named by functions so that the large one is made only when a benchmark runs.
using LessonSource = std::string (*)();

void LessonLoad(benchmark::State& state, LessonSource source) {
  const std::string path = source();
  if (path.empty()) {
    state.SkipWithError("the lesson could not be made");
    return;
  }
  PlainLesson lesson(path);
  std::vector<uint8_t> recording;
  bool loaded = true;
  double filterSeconds = 0;  // the CreateUserFilters share of the subject's time
  MeasureAgainstBaseline(
      state, [&] { lesson.StopSound(); },
      [&] {
        loaded = lesson.LoadWordsData() && loaded;
        const double read = ProcessCpuSeconds();
        loaded = lesson.CreateUserFilters() && loaded;
        filterSeconds += ProcessCpuSeconds() - read;
      },
      [&] { benchmark::DoNotOptimize(BareRead(path, recording)); });
  if (!loaded || lesson.messages > 0) state.SkipWithError("the lesson did not load");
  SetLessonCounters(state, path, lesson);
  state.counters["filters_ms"] = filterSeconds / static_cast<double>(state.iterations()) * 1e3;
}

void ContraVersa(benchmark::State& state, LessonSource source) {
  const std::string path = source();
  PlainLesson lesson(path);
  if (path.empty() || !lesson.LoadWordsData()) {
    state.SkipWithError("the lesson did not load");
    return;
  }
  const std::vector<WordsData> direct = lesson.m_vWordsData;
  bool built = true;
  for (auto _ : state) {
    state.PauseTiming();
    lesson.StopSound();
    lesson.m_vWordsData = direct;
    state.ResumeTiming();
    built = lesson.BuildContraVersaData() && built;
  }
  if (!built || lesson.messages > 0) state.SkipWithError("the reversal failed");
  state.counters["rows"] = static_cast<double>(direct.size());
  state.counters["reversed"] = static_cast<double>(lesson.m_vWordsData.size());
}

}  // namespace

BENCHMARK_CAPTURE(LessonLoad, starter_227_rows, &StarterLessonPath)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LessonLoad, generated_5000_rows, &LargeLessonPath)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ContraVersa, generated_5000_rows, &LargeLessonPath)
    ->Unit(benchmark::kMillisecond);

}  // namespace verbaro::bench

BENCHMARK_MAIN();
