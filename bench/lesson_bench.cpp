// Reading a lesson: CLessonState::LoadWordsData, against a bare sqlite3 loop that steps the same
// query and reads the same text columns (as UTF-16) and the recording of every row into one
// reused buffer.
//
// LessonReading gives the three reading figures of a 10 000-row lesson with 8 KB recordings from
// one run: LoadWordsData against the bare loop (vs_bare), building both indexes of the loaded
// lesson, CreateUserFilters for the direct views plus BuildContraVersaData for the reversed ones
// (index_ms), and the heap memory the loaded lesson holds against the bytes of its recordings
// and texts (held_vs_content).
//
// LessonLoad times LoadWordsData followed by CreateUserFilters on the starter lesson and on the
// larger generated one (filters_ms is the CreateUserFilters share); ContraVersa the reversal of
// that lesson, in absolute time.
#include <malloc.h>
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

// Heap bytes in use by this process, small and large (mmapped) blocks together.
int64_t HeapBytesInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<int64_t>(info.uordblks + info.hblkhd);
}

// The bytes a lesson brings from its file: every recording, and every text as UTF-16.
int64_t ContentBytes(const std::vector<WordsData>& records) {
  int64_t bytes = 0;
  for (const WordsData& record : records) {
    for (const int32_t size : record.nvMp3WordSize) bytes += size;
    size_t units = record.wsFrGram.size() + record.wsFrNumber.size() + record.wsKeyWord.size() +
                   record.wsInfo1.size() + record.wsInfo2.size() + record.wsInfo3.size();
    for (const std::u16string& translation : record.vwsAltWords) units += translation.size();
    bytes += static_cast<int64_t>(units * sizeof(char16_t));
  }
  return bytes;
}

void LessonReading(benchmark::State& state) {
  const std::string path = ReadingLessonPath();
  if (path.empty()) {
    state.SkipWithError("the lesson could not be made");
    return;
  }
  PlainLesson lesson(path);
  std::vector<uint8_t> recording;

  // Memory first, on a load of its own: the heap the records hold once the file is closed.
  const int64_t heapBefore = HeapBytesInUse();
  if (!lesson.LoadWordsData() || lesson.messages > 0) {
    state.SkipWithError("the lesson did not load");
    return;
  }
  const int64_t held = HeapBytesInUse() - heapBefore;
  const int64_t content = ContentBytes(lesson.m_vWordsData);
  const size_t rows = lesson.m_vWordsData.size();

  double loadSeconds = 0;
  double bareSeconds = 0;
  double indexSeconds = 0;
  bool ok = true;
  for (auto _ : state) {
    state.PauseTiming();
    lesson.StopSound();
    state.ResumeTiming();
    const double loadStart = ProcessCpuSeconds();
    ok = lesson.LoadWordsData() && ok;
    const double indexStart = ProcessCpuSeconds();
    ok = lesson.CreateUserFilters() && ok;
    ok = lesson.BuildContraVersaData() && ok;
    const double bareStart = ProcessCpuSeconds();
    benchmark::DoNotOptimize(BareRead(path, recording));
    const double bareEnd = ProcessCpuSeconds();
    loadSeconds += indexStart - loadStart;
    indexSeconds += bareStart - indexStart;
    bareSeconds += bareEnd - bareStart;
  }
  if (!ok || lesson.messages > 0) state.SkipWithError("the lesson did not load or index");
  const auto n = static_cast<double>(state.iterations());
  state.counters["subject_ms"] = loadSeconds / n * 1e3;
  state.counters["bare_ms"] = bareSeconds / n * 1e3;
  state.counters["vs_bare"] = bareSeconds > 0 ? loadSeconds / bareSeconds : 0;
  state.counters["index_ms"] = indexSeconds / n * 1e3;
  state.counters["held_MB"] = static_cast<double>(held) / (1 << 20);
  state.counters["content_MB"] = static_cast<double>(content) / (1 << 20);
  state.counters["held_vs_content"] = static_cast<double>(held) / static_cast<double>(content);
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["file_MB"] = static_cast<double>(FileBytes(path)) / (1 << 20);
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

// The benchmark's own time is the whole iteration: reading, both indexes and the bare loop.
BENCHMARK(LessonReading)->Name("LessonReading/generated_10000_rows_8KB")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LessonLoad, starter_227_rows, &StarterLessonPath)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LessonLoad, generated_5000_rows, &LargeLessonPath)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ContraVersa, generated_5000_rows, &LargeLessonPath)
    ->Unit(benchmark::kMillisecond);

}  // namespace verbaro::bench

BENCHMARK_MAIN();
