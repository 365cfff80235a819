// Start-up: constructing CMainFrame (which constructs the six study views with their
// work-area-sized surfaces) and CreateFrame (menu, toolbar, status bar, the Conspect-1 view's
// window with its pictures), on fake desktop services with a 1920 x 1040 work area, against
// constructing a bare QMainWindow of the same size. The first start-up of the process, with
// Qt's one-time costs (fonts, styles, pictures), is timed once on its own, together with
// showing the frame and the resident memory it took.
//
// ModeSwitch: with the starter lesson given as on the command line and open in Конспект-1, the
// first switch to each other mode (its window made, the lesson opened in it, drawn once), as
// the learner's key would make it; wall time of each switch with the slowest (max_ms), the
// bound a switch must stay under without a visible pause, and the process CPU time of each.
#include <QCoreApplication>
#include <QMainWindow>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/Run.h"
#include "support/BenchLessons.h"
#include "support/BenchTiming.h"
#include "support/ProcessMemory.h"
#include "tests/fakes/FakePlatform.h"
#include "views/WordsView.h"

namespace verbaro::bench {

namespace {

QRect FrameRect(const FakePlatform& fake) { return InitialFrameRect(fake.workArea.Get()); }

// Registered first, so that it runs before anything else in this process has warmed Qt up.
void FirstStartUp(benchmark::State& state) {
  for (auto _ : state) {
    FakePlatform fake;
    const int64_t residentBefore = ResidentBytes();
    const double start = WallSeconds();
    auto frame = std::make_unique<CMainFrame>(fake.Get());
    const double constructed = WallSeconds();
    const bool created = frame->CreateFrame(FrameRect(fake));
    const double ready = WallSeconds();
    frame->show();
    QCoreApplication::processEvents();
    const double shown = WallSeconds();
    if (!created) state.SkipWithError("CreateFrame failed");
    state.counters["construct_ms"] = (constructed - start) * 1e3;
    state.counters["create_ms"] = (ready - constructed) * 1e3;
    state.counters["show_ms"] = (shown - ready) * 1e3;
    state.counters["rss_delta_MB"] = Mebibytes(ResidentBytes() - residentBefore);
    state.PauseTiming();
    frame.reset();
    state.ResumeTiming();
  }
}

void StartUp(benchmark::State& state) {
  FakePlatform fake;
  const QRect rect = FrameRect(fake);
  std::unique_ptr<CMainFrame> frame;
  std::unique_ptr<QMainWindow> bare;
  bool created = true;
  MeasureAgainstBaseline(
      state,
      [&] {
        frame.reset();
        bare.reset();
      },
      [&] {
        frame = std::make_unique<CMainFrame>(fake.Get());
        created = frame->CreateFrame(rect) && created;
      },
      [&] {
        bare = std::make_unique<QMainWindow>();
        bare->setGeometry(rect);
      });
  frame.reset();
  if (!created) state.SkipWithError("CreateFrame failed");
}

void ModeSwitch(benchmark::State& state) {
  std::vector<double> seconds, cpuSeconds;
  bool opened = true;
  for (auto _ : state) {
    state.PauseTiming();
    FakePlatform fake;
    auto frame = std::make_unique<CMainFrame>(fake.Get());
    frame->SetStartLesson(QString::fromStdString(StarterLessonPath()));
    frame->CreateFrame(FrameRect(fake));
    frame->show();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    for (int mode = 1; mode < 6; ++mode) {
      const double start = WallSeconds(), cpu = ProcessCpuSeconds();
      frame->OnCommand(cmd::kFirstMode + mode);
      frame->View(mode)->repaint();
      QCoreApplication::processEvents();
      seconds.push_back(WallSeconds() - start);
      cpuSeconds.push_back(ProcessCpuSeconds() - cpu);
      opened = opened && !frame->View(mode)->m_szDataFile.empty();
    }
    state.PauseTiming();
    frame.reset();
    state.ResumeTiming();
  }
  if (!opened) state.SkipWithError("the lesson did not open in every mode");
  std::sort(seconds.begin(), seconds.end());
  std::sort(cpuSeconds.begin(), cpuSeconds.end());
  state.counters["median_ms"] = seconds[seconds.size() / 2] * 1e3;
  state.counters["cpu_median_ms"] = cpuSeconds[cpuSeconds.size() / 2] * 1e3;
  state.counters["cpu_max_ms"] = cpuSeconds.back() * 1e3;
  state.counters["max_ms"] = seconds.back() * 1e3;
}

}  // namespace

BENCHMARK(FirstStartUp)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUp)->Unit(benchmark::kMillisecond);
BENCHMARK(ModeSwitch)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace verbaro::bench
