#pragma once
// Helpers of the view tests: a view on fake desktop services that opens real lesson files with
// real MP3 recordings, and pixel comparisons on the rendered back buffer.
#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/fakes/FakeFilterMenu.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/Files.h"
#include "tests/support/LessonWriter.h"
#include "views/WordsView.h"

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace verbaro::test {

// A view of type V on fake services, created, sized to a 1000 x 600 client area.
class ViewHarness {
 public:
  explicit ViewHarness(std::unique_ptr<CWordsView> (*make)(const Platform&));
  ~ViewHarness();

  template <typename V>
  static std::unique_ptr<CWordsView> Make(const Platform& platform) {
    return std::make_unique<V>(platform);
  }

  // Writes the rows as a lesson and opens it with the view's Open command.
  bool Open(const std::vector<LessonRow>& rows);
  // The file the last Open wrote.
  std::string LessonPath() const { return m_lessonPath; }
  void Key(int virtualKey) { m_view->OnKeyDown(virtualKey); }
  void Keys(std::initializer_list<int> virtualKeys) {
    for (int key : virtualKeys) Key(key);
  }

  CWordsView& View() const { return *m_view; }
  template <typename V>
  V& As() const {
    return static_cast<V&>(*m_view);
  }
  FakeViewTimer& Timer() const { return *fake.timers.back(); }
  FakeWaveOut& WaveOut() const { return *fake.waveOuts.back(); }
  // Recordings submitted to the wave output so far.
  size_t Plays() const { return WaveOut().writes.size(); }
  std::vector<QString> Messages() const { return fake.messages.Texts(); }
  std::string LogText() const { return fake.log.Text(); }
  std::u16string Typed() const { return m_view->m_typedText; }
  // The back buffer of the last repaint, and the same before any lesson was loaded
  // (background and logo only).
  QImage Frame() const { return m_view->BackBuffer(); }
  const QImage& Background() const { return m_background; }
  // The Filters menu the view fills, as the frame's would be.
  FakeFilterMenu& FilterMenu() { return m_filterMenu; }

  mutable FakePlatform fake;

 private:
  QTemporaryDir m_dir;
  FakeFilterMenu m_filterMenu;
  std::unique_ptr<CWordsView> m_view;
  QImage m_background;
  int m_lessons = 0;
  std::string m_lessonPath;
};

// c (0xAARRGGBB, straight alpha) blended source-over onto the opaque colour under it.
QRgb Over(QRgb c, QRgb under);
// Every channel within `tolerance`.
bool Near(QRgb a, QRgb b, int tolerance = 3);
// Pixels of `area` that differ from `reference` by more than `tolerance` in some channel.
int ChangedPixels(const QImage& image, const QImage& reference, const QRect& area,
                  int tolerance = 24);
// Bounding box of the pixels of `area` whose colour is within `tolerance` of `ink`.
QRect InkBox(const QImage& image, QRgb ink, const QRect& area, int tolerance = 60);

}  // namespace verbaro::test
