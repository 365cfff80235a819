// Drawing: CWordsView::Repaint of a Conspect-1 view with the starter lesson loaded and sound
// off, against one plain full-surface copy of a QImage of the same size (every repaint makes one
// such copy, from the composed scene to the back buffer, besides its drawing). A typed letter
// is one repaint: the keystroke benchmark times OnKeyDown of a right letter until the back
// buffer holds the new line.
#include <QImage>
#include <cstring>

#include "support/BenchLessons.h"
#include "support/BenchTiming.h"
#include "support/BenchView.h"
#include "views/Conspect1View.h"
#include "views/VirtualKeys.h"

namespace verbaro::bench {

namespace {

QImage Surface(QSize size, Qt::GlobalColor colour) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(colour);
  return image;
}

// The whole pixel buffer in one memcpy: the floor for anything that fills a surface. (A painter
// copy line by line varies several-fold with how the two buffers happen to be placed in
// memory, which would make the ratio say more about the allocator than about the repaint.)
void CopySurface(const QImage& from, QImage& to) {
  std::memcpy(to.bits(), from.constBits(), static_cast<size_t>(from.sizeInBytes()));
  benchmark::ClobberMemory();
}

bool OpenStarter(benchmark::State& state, BenchView& bench) {
  if (bench.Open(StarterLessonPath())) return true;
  state.SkipWithError("the starter lesson did not open");
  return false;
}

void ConspectRepaint(benchmark::State& state) {
  const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  BenchView bench(&BenchView::Make<CConspect1View>, size);
  if (!OpenStarter(state, bench)) return;
  const QImage from = Surface(size, Qt::darkBlue);
  QImage to = Surface(size, Qt::black);
  MeasureAgainstBaseline(
      state, [] {}, [&] { bench.View().Repaint(); }, [&] { CopySurface(from, to); });
}

// The same view before any lesson is opened: background and logo composed and copied, no
// entry drawn. The difference to the repaint above is the drawing of the entry grid.
void EmptyViewRepaint(benchmark::State& state) {
  const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  BenchView bench(&BenchView::Make<CConspect1View>, size);
  const QImage from = Surface(size, Qt::darkBlue);
  QImage to = Surface(size, Qt::black);
  MeasureAgainstBaseline(
      state, [] {}, [&] { bench.View().Repaint(); }, [&] { CopySurface(from, to); });
}

// Letter keys are their upper-case ASCII codes as virtual keys.
int VirtualKeyOf(char16_t letter) {
  return letter >= u'a' && letter <= u'z' ? letter - u'a' + 'A' : 0;
}

void ConspectKeystroke(benchmark::State& state) {
  const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  BenchView bench(&BenchView::Make<CConspect1View>, size);
  if (!OpenStarter(state, bench)) return;
  CWordsView& view = bench.View();
  const int key = view.m_wsKeyWord.empty() ? 0 : VirtualKeyOf(view.m_wsKeyWord.front());
  if (key == 0) {
    state.SkipWithError("the first entry does not start with a plain letter");
    return;
  }
  const QImage from = Surface(size, Qt::darkBlue);
  QImage to = Surface(size, Qt::black);
  MeasureAgainstBaseline(
      state, [&] { view.OnKeyDown(vk::kBack); }, [&] { view.OnKeyDown(key); },
      [&] { CopySurface(from, to); });
  if (view.m_wsTypedText.size() != 1 || !view.m_bTypedMatches) {
    state.SkipWithError("the typed letter was not taken as right");
  }
  if (bench.fake.errorSignal.plays != 0) state.SkipWithError("an error signal sounded");
}

constexpr benchmark::TimeUnit kMs = benchmark::kMillisecond;

}  // namespace

BENCHMARK(ConspectRepaint)->Args({1280, 800})->Args({1920, 1040})->Unit(kMs);
BENCHMARK(EmptyViewRepaint)->Args({1280, 800})->Args({1920, 1040})->Unit(kMs);
BENCHMARK(ConspectKeystroke)->Args({1280, 800})->Args({1920, 1040})->Unit(kMs);

}  // namespace verbaro::bench
