// Drawing: CWordsView::Repaint of a Conspect-1 view with its built-in pictures, the starter
// lesson loaded, one right letter typed and sound off, against one plain full-surface copy of a
// QImage of the same size (every repaint makes one such copy, from the composed scene with the
// fills of the grid's rows to the back buffer, besides drawing the texts and frames). A typed
// letter is one repaint: the keystroke benchmark times OnKeyDown of a right letter until the back
// buffer holds the new line.
#include <QDir>
#include <QImage>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <vector>

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

QSize ClientSize(const benchmark::State& state) {
  return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

// The view is to draw the pictures built into the program: a folder Res in the working folder
// would replace them, and a view without pictures draws a plain surface.
bool ShowsBuiltInPictures(benchmark::State& state, const BenchView& bench) {
  if (QDir(QStringLiteral("Res")).exists()) {
    state.SkipWithError("a folder Res in the working folder replaces the built-in pictures");
    return false;
  }
  const QImage frame = bench.View().BackBuffer();
  QSet<QRgb> colours;
  for (int y = 0; y < frame.height(); y += 16) {
    for (int x = 0; x < frame.width(); x += 16) colours.insert(frame.pixel(x, y));
  }
  if (colours.size() > 100) return true;
  state.SkipWithError("the view shows no background picture");
  return false;
}

bool OpenStarter(benchmark::State& state, BenchView& bench) {
  if (bench.Open(StarterLessonPath())) return true;
  state.SkipWithError("the starter lesson did not open");
  return false;
}

// Letter keys are their upper-case ASCII codes as virtual keys.
int VirtualKeyOf(char16_t letter) {
  return letter >= u'a' && letter <= u'z' ? letter - u'a' + 'A' : 0;
}

// The key of the first letter of the current entry; 0 (and the benchmark skipped) when the
// entry does not start with a plain letter.
int FirstLetterKey(benchmark::State& state, const CWordsView& view) {
  const int key = view.m_wsKeyWord.empty() ? 0 : VirtualKeyOf(view.m_wsKeyWord.front());
  if (key == 0) state.SkipWithError("the first entry does not start with a plain letter");
  return key;
}

bool TypedOneRightLetter(benchmark::State& state, const BenchView& bench) {
  const CWordsView& view = bench.View();
  if (view.m_typedText.size() != 1 || !view.m_typedMatches) {
    state.SkipWithError("the typed letter was not taken as right");
    return false;
  }
  if (bench.fake.errorSignal.plays != 0) {
    state.SkipWithError("an error signal sounded");
    return false;
  }
  return true;
}

// The repaint as a typed key causes it: the whole grid with a typed letter on the typing line.
void ConspectRepaint(benchmark::State& state) {
  const QSize size = ClientSize(state);
  BenchView bench(&BenchView::Make<CConspect1View>, size);
  if (!ShowsBuiltInPictures(state, bench) || !OpenStarter(state, bench)) return;
  const int key = FirstLetterKey(state, bench.View());
  if (key == 0) return;
  bench.View().OnKeyDown(key);
  if (!TypedOneRightLetter(state, bench)) return;
  const QImage from = Surface(size, Qt::darkBlue);
  QImage to = Surface(size, Qt::black);
  MeasureAgainstBaseline(
      state, [] {}, [&] { bench.View().Repaint(); }, [&] { CopySurface(from, to); });
}

// The same view before any lesson is opened: the composed background and logo copied, no entry
// drawn. The difference to the repaint above is the drawing of the entry grid.
void EmptyViewRepaint(benchmark::State& state) {
  const QSize size = ClientSize(state);
  BenchView bench(&BenchView::Make<CConspect1View>, size);
  if (!ShowsBuiltInPictures(state, bench)) return;
  const QImage from = Surface(size, Qt::darkBlue);
  QImage to = Surface(size, Qt::black);
  MeasureAgainstBaseline(
      state, [] {}, [&] { bench.View().Repaint(); }, [&] { CopySurface(from, to); });
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// Key press to back buffer; besides the mean of the counters, median_ms is the median of the
// single keystrokes of the run.
void ConspectKeystroke(benchmark::State& state) {
  const QSize size = ClientSize(state);
  BenchView bench(&BenchView::Make<CConspect1View>, size);
  if (!ShowsBuiltInPictures(state, bench) || !OpenStarter(state, bench)) return;
  CWordsView& view = bench.View();
  const int key = FirstLetterKey(state, view);
  if (key == 0) return;
  const QImage from = Surface(size, Qt::darkBlue);
  QImage to = Surface(size, Qt::black);
  std::vector<double> keystrokes;
  keystrokes.reserve(static_cast<size_t>(state.max_iterations));
  MeasureAgainstBaseline(
      state, [&] { view.OnKeyDown(vk::kBack); },
      [&] {
        const double start = ProcessCpuSeconds();
        view.OnKeyDown(key);
        keystrokes.push_back(ProcessCpuSeconds() - start);
      },
      [&] { CopySurface(from, to); });
  if (!TypedOneRightLetter(state, bench)) return;
  state.counters["median_ms"] = Median(std::move(keystrokes)) * 1e3;
}

constexpr benchmark::TimeUnit kMs = benchmark::kMillisecond;

}  // namespace

BENCHMARK(ConspectRepaint)->Args({1280, 800})->Args({1920, 1040})->Unit(kMs);
BENCHMARK(EmptyViewRepaint)->Args({1280, 800})->Args({1920, 1040})->Unit(kMs);
BENCHMARK(ConspectKeystroke)->Args({1280, 800})->Args({1920, 1040})->Unit(kMs);

}  // namespace verbaro::bench
