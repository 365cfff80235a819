#include "VideoHarness.h"

#include <gtest/gtest.h>

#include "tests/support/Application.h"
#include "views/Video2View.h"

namespace verbaro::test {

// Every Video test works with widgets: the application is there before the first test.
[[maybe_unused]] const bool kApplicationForEveryTest = EnsureApplicationForEveryTest();

VideoHarness::VideoHarness(Mode mode) {
  // The repeat counter is shared by every view of the process: start each test afresh.
  CWordsView::SharedRepeatCounter() = 0;
  if (mode == Mode::Video1) {
    m_view = std::make_unique<CVideo1View>(fake.Get());
  } else {
    m_view = std::make_unique<CVideo2View>(fake.Get());
  }
  m_view->SetFilterMenu(&m_menu);
  m_view->resize(800, 600);
  m_view->Create();
  m_view->show();
}

VideoHarness::~VideoHarness() = default;

bool VideoHarness::Open(const std::vector<LessonRow>& rows) {
  const QString path = m_dir.filePath(QStringLiteral("lesson.db"));
  WriteLesson(path.toStdString(), rows);
  fake.files.answers.push_back(path);
  const bool opened = m_view->OpenLesson();
  Sounded();
  return opened;
}

FakeViewTimer& VideoHarness::Timer() const {
  auto* timer = dynamic_cast<FakeViewTimer*>(&m_view->Timer());
  EXPECT_NE(timer, nullptr);
  return *timer;
}

bool VideoHarness::Tick() {
  const bool fired = Timer().Fire();
  Sounded();
  return fired;
}

int VideoHarness::RunUntilHalt(int limit) {
  int fired = 0;
  while (fired < limit && Tick()) ++fired;
  return fired;
}

void VideoHarness::Key(int virtualKey) {
  m_view->OnKeyDown(virtualKey);
  Sounded();
}

size_t VideoHarness::TotalWrites() const {
  size_t total = 0;
  for (const FakeWaveOut* out : fake.waveOuts) total += out->writes.size();
  return total;
}

const std::vector<std::u16string>& VideoHarness::Sounded() {
  // Every action sounds at most the entry it has just drawn, whose key word the view holds.
  for (const size_t total = TotalWrites(); m_writesSeen < total; ++m_writesSeen) {
    m_sounded.push_back(m_view->m_wsKeyWord);
  }
  return m_sounded;
}

}  // namespace verbaro::test
