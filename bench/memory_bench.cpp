// Memory: the resident set after the large lesson is loaded in a Conspect-1 view (1920 x 1040
// surfaces, sound off), and what the lesson added to it. The recordings are held in memory as
// read from the file, so the lesson's share is expected near the file's size.
#include <benchmark/benchmark.h>

#include "support/BenchLessons.h"
#include "support/BenchView.h"
#include "support/ProcessMemory.h"
#include "views/Conspect1View.h"

namespace verbaro::bench {

namespace {

void LessonInView(benchmark::State& state) {
  const std::string path = LargeLessonPath();
  for (auto _ : state) {
    BenchView bench(&BenchView::Make<CConspect1View>, QSize(1920, 1040));
    const int64_t withView = ResidentBytes();
    if (path.empty() || !bench.Open(path)) {
      state.SkipWithError("the lesson did not open");
      return;
    }
    const int64_t withLesson = ResidentBytes();
    state.counters["rss_MB"] = Mebibytes(withLesson);
    state.counters["lesson_MB"] = Mebibytes(withLesson - withView);
    state.counters["file_MB"] = Mebibytes(FileBytes(path));
    state.counters["peak_MB"] = Mebibytes(PeakResidentBytes());
    state.counters["rows"] = static_cast<double>(bench.View().m_vWordsData.size());
  }
}

}  // namespace

// Once, in a fresh heap: a repetition would reuse memory the previous one gave back.
BENCHMARK(LessonInView)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

}  // namespace verbaro::bench
