// Opening a lesson in the Exam views, on the large lesson with sound off: the exam reset that
// reads the rows again, then the view's preparation (merging rows into exam records, filters,
// the reverse answer index) and the first question, which the selection repaints. This is what
// the views' Open command does; the two halves are timed apart and given as counters.
#include "support/BenchLessons.h"
#include "support/BenchTiming.h"
#include "support/BenchView.h"
#include "views/Exam1View.h"
#include "views/Exam2View.h"

namespace verbaro::bench {

namespace {

// The preparation step of each exam view, reachable from here.
template <typename Exam>
class TimedExam : public Exam {
 public:
  using Exam::Exam;
  using Exam::PrepareExamData;
};

template <typename Exam>
void ExamOpen(benchmark::State& state) {
  const std::string path = LargeLessonPath();
  BenchView bench(&BenchView::Make<TimedExam<Exam>>, QSize(1920, 1040));
  if (path.empty() || !bench.Open(path)) {
    state.SkipWithError("the lesson did not open in the exam view");
    return;
  }
  auto& exam = bench.As<TimedExam<Exam>>();
  double readSeconds = 0, prepareSeconds = 0;
  bool prepared = true;
  for (auto _ : state) {
    // The reset reads the opened lesson again from its file.
    const double start = ProcessCpuSeconds();
    prepared = exam.ResetExamData() && prepared;
    const double read = ProcessCpuSeconds();
    prepared = exam.PrepareExamData() && prepared;
    readSeconds += read - start;
    prepareSeconds += ProcessCpuSeconds() - read;
  }
  if (!prepared || !exam.HasQuestion()) state.SkipWithError("the exam was not prepared");
  const auto n = static_cast<double>(state.iterations());
  state.counters["read_ms"] = readSeconds / n * 1e3;
  state.counters["prepare_ms"] = prepareSeconds / n * 1e3;
  state.counters["records"] = static_cast<double>(exam.m_vWordsData.size());
}

}  // namespace

BENCHMARK_TEMPLATE(ExamOpen, CExam1View)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(ExamOpen, CExam2View)->Unit(benchmark::kMillisecond);

}  // namespace verbaro::bench
