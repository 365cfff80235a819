#pragma once
// Paired timing: every iteration runs the code under test and then its bare baseline, so that
// both see the same machine conditions (other processes share the two cores). The benchmark's
// own time covers the code under test only; the counters give both means and their ratio.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace verbaro::bench {

inline double WallSeconds() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

// CPU time of the whole process, Qt's worker threads included. Steadier than the wall clock on
// a shared machine: time spent waiting for a core is not counted.
inline double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Runs `reset` (untimed), `subject` (timed) and `baseline` (untimed by the benchmark, timed
// apart) once per iteration, then sets the counters subject_ms, bare_ms and vs_bare.
// Wall-clock time: Qt may spread image work over threads, which a thread CPU clock would miss.
template <typename Reset, typename Subject, typename Baseline>
void MeasureAgainstBaseline(benchmark::State& state, Reset reset, Subject subject,
                            Baseline baseline) {
  double subjectSeconds = 0;
  double baselineSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    reset();
    state.ResumeTiming();
    const double start = ProcessCpuSeconds();
    subject();
    subjectSeconds += ProcessCpuSeconds() - start;
    state.PauseTiming();
    const double bareStart = ProcessCpuSeconds();
    baseline();
    baselineSeconds += ProcessCpuSeconds() - bareStart;
    state.ResumeTiming();
  }
  const auto n = static_cast<double>(state.iterations());
  if (n == 0) return;
  state.counters["subject_ms"] = subjectSeconds / n * 1e3;
  state.counters["bare_ms"] = baselineSeconds / n * 1e3;
  state.counters["vs_bare"] = baselineSeconds > 0 ? subjectSeconds / baselineSeconds : 0;
}

}  // namespace verbaro::bench
