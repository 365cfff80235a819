// Reading a lesson: LessonState::LoadWordsData, against a bare sqlite3 loop that steps the same
// query, reads the same text columns (as UTF-16) and takes every row's recording from the row
// (sqlite3_column_blob) into one reused buffer.
//
// LessonReading gives the three reading figures of a 10 000-row lesson with 8 KB recordings from
// one run:
//   vs_bare          LoadWordsData against that bare loop; vs_bare_kept against the same loop
//                    copying each recording into a buffer of its own that it keeps, as a reader
//                    that holds the lesson must;
//   index_ms         building the index each kind of view builds on a freshly loaded lesson:
//                    CreateUserFilters (direct views, filters_ms) plus BuildContraVersaData
//                    (reversed views, reversal_ms);
//   held_vs_content  the heap the loaded lesson holds once the file is closed, against the bytes
//                    of its recordings and of its texts as UTF-16.
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

// Where the bare loop takes each recording from, and where it puts it.
enum class BlobSource {
  Column,  // sqlite3_column_blob of the row the query returned
  Handle,  // the BLOB interface by rowid, as the reader does: one handle moved from row to row
};
enum class BlobTarget {
  Reused,  // one buffer, reused for every recording
  Kept,    // a new buffer per recording, kept, as any reader holding the lesson must
};

// The baseline: everything the reader takes from the file, with no records built.
size_t BareRead(const std::string& path, BlobSource source, BlobTarget target,
                std::vector<uint8_t>& recording, std::vector<std::vector<uint8_t>>& kept) {
  sqlite3* db = nullptr;
  size_t bytes = 0;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_blob* handle = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM FrRuDict;", -1, &stmt, nullptr);
    for (int rowid = 1; stmt && sqlite3_step(stmt) == SQLITE_ROW; ++rowid) {
      for (int column = kFirstTextColumn; column <= kLastTextColumn; ++column) {
        benchmark::DoNotOptimize(sqlite3_column_text16(stmt, column));
        bytes += static_cast<size_t>(sqlite3_column_bytes16(stmt, column));
      }
      const uint8_t* blob = nullptr;
      size_t size = 0;
      if (source == BlobSource::Column) {
        blob = static_cast<const uint8_t*>(sqlite3_column_blob(stmt, kRecordingColumn));
        size = static_cast<size_t>(sqlite3_column_bytes(stmt, kRecordingColumn));
      } else {
        const int rc =
            handle ? sqlite3_blob_reopen(handle, rowid)
                   : sqlite3_blob_open(db, "main", "FrRuDict", "Mp3Word", rowid, 0, &handle);
        if (rc != SQLITE_OK) break;
        size = static_cast<size_t>(sqlite3_blob_bytes(handle));
      }
      uint8_t* into = nullptr;
      if (target == BlobTarget::Kept) {
        into = kept.emplace_back(size).data();
      } else {
        if (recording.size() < size) recording.resize(size);
        into = recording.data();
      }
      if (size > 0 && blob != nullptr) std::memcpy(into, blob, size);
      if (size > 0 && blob == nullptr) sqlite3_blob_read(handle, into, static_cast<int>(size), 0);
      benchmark::DoNotOptimize(into);
      bytes += size;
    }
    sqlite3_blob_close(handle);
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

  // Process CPU seconds of each timed part, summed over the iterations.
  double load = 0, filters = 0, reversal = 0, bareColumn = 0, bareHandle = 0, bareKept = 0;
  auto timed = [](double& sum, auto&& work) {
    const double start = ProcessCpuSeconds();
    work();
    sum += ProcessCpuSeconds() - start;
  };
  std::vector<std::vector<uint8_t>> kept;
  auto bare = [&](BlobSource source, BlobTarget target) {
    benchmark::DoNotOptimize(BareRead(path, source, target, recording, kept));
  };
  bool ok = true;
  for (auto _ : state) {
    state.PauseTiming();
    lesson.StopSound();
    state.ResumeTiming();
    timed(load, [&] { ok = lesson.LoadWordsData() && ok; });
    timed(filters, [&] { ok = lesson.CreateUserFilters() && ok; });
    // Each kind of view indexes a freshly loaded lesson: the reversal finds no direct filters.
    state.PauseTiming();
    lesson.m_mapUserFilters.clear();
    lesson.m_mapExtGramKeysToMapIndToVWS.clear();
    state.ResumeTiming();
    timed(reversal, [&] { ok = lesson.BuildContraVersaData() && ok; });
    timed(bareColumn, [&] { bare(BlobSource::Column, BlobTarget::Reused); });
    timed(bareHandle, [&] { bare(BlobSource::Handle, BlobTarget::Reused); });
    // The kept recordings take the memory the lesson gives back, as the next load does.
    state.PauseTiming();
    lesson.StopSound();
    state.ResumeTiming();
    timed(bareKept, [&] { bare(BlobSource::Handle, BlobTarget::Kept); });
    state.PauseTiming();
    kept.clear();
    state.ResumeTiming();
  }
  if (!ok || lesson.messages > 0) state.SkipWithError("the lesson did not load or index");
  const auto n = static_cast<double>(state.iterations());
  auto ms = [n](double seconds) { return seconds / n * 1e3; };
  state.counters["subject_ms"] = ms(load);
  state.counters["bare_ms"] = ms(bareHandle);
  state.counters["vs_bare"] = load / bareHandle;
  state.counters["bare_column_ms"] = ms(bareColumn);
  state.counters["vs_bare_column"] = load / bareColumn;
  state.counters["bare_kept_ms"] = ms(bareKept);
  state.counters["vs_bare_kept"] = load / bareKept;
  state.counters["index_ms"] = ms(filters + reversal);
  state.counters["filters_ms"] = ms(filters);
  state.counters["reversal_ms"] = ms(reversal);
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
  std::vector<std::vector<uint8_t>> unused;
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
      [&] {
        benchmark::DoNotOptimize(
            BareRead(path, BlobSource::Column, BlobTarget::Reused, recording, unused));
      });
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
BENCHMARK(LessonReading)
    ->Name("LessonReading/generated_10000_rows_8KB")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LessonLoad, starter_227_rows, &StarterLessonPath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LessonLoad, generated_5000_rows, &LargeLessonPath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ContraVersa, generated_5000_rows, &LargeLessonPath)
    ->Unit(benchmark::kMillisecond);

}  // namespace verbaro::bench

BENCHMARK_MAIN();
