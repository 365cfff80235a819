// The frame with the learner's settings kept in a settings file of a temporary folder.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QStatusBar>
#include <QToolBar>
#include <memory>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/UserSettings.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/TempFolder.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

constexpr int kVideo1 = 2;
constexpr int kVideo2 = 3;

class FrameSettings : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureApplication(); }

  QString File() const { return QString::fromStdString((folder.Path() / "verbaro.conf").string()); }
  // One start of the program: a frame on the settings file as it is now.
  std::unique_ptr<CMainFrame> Start() {
    settings = std::make_unique<UserSettings>(File());
    auto frame = std::make_unique<CMainFrame>(fake.Get());
    frame->UseSettings(settings.get());
    EXPECT_TRUE(frame->CreateFrame(QRect(20, 20, 700, 500)));
    return frame;
  }

  test::TempFolder folder;
  FakePlatform fake;
  std::unique_ptr<UserSettings> settings;
};

TEST_F(FrameSettings, AFirstStartIsTodaysAndWritesNothingUntilTheLearnerChangesSomething) {
  auto frame = Start();
  EXPECT_FALSE(frame->ToolBar()->isHidden());
  EXPECT_FALSE(frame->statusBar()->isHidden());
  EXPECT_EQ(frame->size(), QSize(700, 500));
  for (int id = cmd::kFirstMode; id < cmd::kFirstMode + kModeCount; ++id) {
    frame->OnCommand(id);
    CWordsView* view = frame->CurrentView();
    EXPECT_EQ(view->m_bIsSound, 1) << id;
    EXPECT_EQ(view->m_nPhraseDelay, 0) << id;
    EXPECT_EQ(view->m_nPhraseRepeats, 1) << id;
  }
  EXPECT_FALSE(QFileInfo::exists(File()));
}

TEST_F(FrameSettings, SoundSwitchesOfEachModeAndTheBarsStayForTheNextStart) {
  {
    auto frame = Start();
    frame->OnCommand(cmd::kFirstMode + kVideo2);
    frame->OnCommand(cmd::kToggleSound);
    frame->OnCommand(cmd::kToggleToolbar);
    frame->OnCommand(cmd::kToggleStatusBar);
    frame->OnCommand(cmd::kToggleStatusBar);  // shown again: the last state counts
  }
  auto frame = Start();
  EXPECT_TRUE(frame->ToolBar()->isHidden());
  EXPECT_FALSE(frame->Action(cmd::kToggleToolbar)->isChecked());
  EXPECT_FALSE(frame->statusBar()->isHidden());
  frame->OnCommand(cmd::kFirstMode + kVideo1);
  EXPECT_EQ(frame->CurrentView()->m_bIsSound, 1);
  frame->OnCommand(cmd::kFirstMode + kVideo2);
  EXPECT_EQ(frame->CurrentView()->m_bIsSound, 0);
  // Switched back on: the next start has it on again.
  frame->OnCommand(cmd::kToggleSound);
  frame->OnCommand(cmd::kToggleToolbar);
  frame.reset();
  auto third = Start();
  EXPECT_FALSE(third->ToolBar()->isHidden());
  third->OnCommand(cmd::kFirstMode + kVideo2);
  EXPECT_EQ(third->CurrentView()->m_bIsSound, 1);
}

TEST_F(FrameSettings, EachVideoModeStartsWithItsOwnKeptPauseAndRepeats) {
  {
    UserSettings kept(File());
    kept.SetVideo(kVideo1, {1500, 4});
    kept.SetVideo(kVideo2, {20, 2});
  }
  auto frame = Start();
  frame->OnCommand(cmd::kFirstMode + kVideo2);
  EXPECT_EQ(frame->CurrentView()->m_nPhraseDelay, 20);
  EXPECT_EQ(frame->CurrentView()->m_nPhraseRepeats, 2);
  frame->OnCommand(cmd::kFirstMode + kVideo1);
  EXPECT_EQ(frame->CurrentView()->m_nPhraseDelay, 1500);
  EXPECT_EQ(frame->CurrentView()->m_nPhraseRepeats, 4);
}

TEST_F(FrameSettings, TheWindowComesBackWithItsSize) {
  {
    auto frame = Start();
    frame->resize(640, 430);
    frame->OnCommand(cmd::kToggleStatusBar);  // any change writes the window's place too
    frame->OnCommand(cmd::kToggleStatusBar);
  }
  auto frame = Start();
  EXPECT_EQ(frame->size(), QSize(640, 430));
}

}  // namespace
}  // namespace verbaro
