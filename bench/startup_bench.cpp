// Start-up: constructing CMainFrame (which constructs the six study views with their
// work-area-sized surfaces) and CreateFrame (menu, toolbar, status bar, the Conspect-1 view's
// window with its pictures), on fake desktop services with a 1920 x 1040 work area, against
// constructing a bare QMainWindow of the same size. The first start-up of the process, with
// Qt's one-time costs (fonts, styles, pictures), is timed once on its own, together with
// showing the frame and the resident memory it took.
#include <QCoreApplication>
#include <QMainWindow>
#include <memory>

#include "app/MainFrame.h"
#include "app/Run.h"
#include "tests/fakes/FakePlatform.h"
#include "support/BenchTiming.h"
#include "support/ProcessMemory.h"

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

}  // namespace

BENCHMARK(FirstStartUp)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUp)->Unit(benchmark::kMillisecond);

}  // namespace verbaro::bench
