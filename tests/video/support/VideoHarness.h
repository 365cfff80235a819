#pragma once
// A Video view on fake desktop services with a lesson file of its own, and a record of which
// entry each recording submitted to the (fake) wave output belonged to.
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "tests/fakes/FakeFilterMenu.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Files.h"
#include "tests/support/LessonWriter.h"
#include "views/Video1View.h"
#include "views/VirtualKeys.h"

namespace verbaro::test {

class VideoHarness {
 public:
  enum class Mode { Video1, Video2 };
  explicit VideoHarness(Mode mode = Mode::Video1);
  ~VideoHarness();
  VideoHarness(const VideoHarness&) = delete;
  VideoHarness& operator=(const VideoHarness&) = delete;

  // Writes the rows as a lesson and opens it in the view, whose first repaint sounds entry 1.
  bool Open(const std::vector<LessonRow>& rows);
  // Fires the end-of-sound timer when it runs; false when it was not running.
  bool Tick();
  // Fires the timer until it no longer runs, at most `limit` times; returns the firings.
  int RunUntilHalt(int limit = 200);
  void Key(int virtualKey);

  // Key words of the entries sounded so far, one per recording submitted, in order.
  const std::vector<std::u16string>& Sounded();
  std::vector<QString> Messages() const { return fake.messages.Texts(); }
  FakeViewTimer& Timer() const;
  CVideo1View& View() const { return *m_view; }
  int32_t Position() const { return m_view->m_nUserFilterIndex; }

  FakePlatform fake;

 private:
  size_t TotalWrites() const;

  QTemporaryDir m_dir;
  FakeFilterMenu m_menu;  // the Filters menu the view fills
  std::unique_ptr<CVideo1View> m_view;
  std::vector<std::u16string> m_sounded;
  size_t m_writesSeen = 0;
};

}  // namespace verbaro::test
