// A lesson given on the command line: opened in every mode as the mode is first shown, exactly
// as Ctrl+O with that file would open it there; without one, nothing opens by itself.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/StartLesson.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "views/VirtualKeys.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

const QString kLesson = QStringLiteral(VERBARO_SOURCE_DIR "/lessons/03-accents.db");

struct Box {
  QString caption;
  QString text;
  bool operator==(const Box&) const = default;
};

class StartLessonTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureApplication(); }

  // A frame shown on the screen, after the events of its showing have run.
  static std::unique_ptr<CMainFrame> ShowFrame(FakePlatform& fake, const QString& startLesson) {
    auto frame = std::make_unique<CMainFrame>(fake.Get());
    EXPECT_TRUE(frame->CreateFrame(QRect(0, 0, 1000, 700)));
    frame->SetStartLesson(startLesson);
    frame->show();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 200) QApplication::processEvents();
    return frame;
  }
  static std::vector<Box> Boxes(const FakePlatform& fake) {
    std::vector<Box> boxes;
    for (const auto& shown : fake.messages.shown) boxes.push_back({shown.caption, shown.text});
    return boxes;
  }
};

TEST_F(StartLessonTest, OpensInEveryModeOnceAsTheModeIsFirstShown) {
  FakePlatform fake;
  auto frame = ShowFrame(fake, kLesson);
  EXPECT_EQ(frame->View(0)->m_vWordsData.size(), 30u);
  EXPECT_EQ(frame->View(0)->m_szDataFile, kLesson.toStdU16String());
  frame->View(0)->OnKeyDown(vk::kDown);
  const int position = frame->View(0)->m_nUserFilterIndex;
  ASSERT_EQ(position, 1);

  for (int mode : {1, 2, 3, 5, 4}) {
    EXPECT_TRUE(frame->View(mode)->m_vWordsData.empty()) << "opened before it was shown: " << mode;
    frame->OnCommand(cmd::kFirstMode + mode);
    EXPECT_FALSE(frame->View(mode)->m_vWordsData.empty()) << mode;
    EXPECT_EQ(frame->View(mode)->m_szDataFile, kLesson.toStdU16String()) << mode;
  }
  EXPECT_EQ(fake.files.requests, 0);  // no dialog was shown for it
  EXPECT_TRUE(fake.messages.shown.empty());

  // Coming back opens nothing again: the position in Conspect-1 is kept.
  frame->OnCommand(cmd::kFirstMode);
  EXPECT_EQ(frame->View(0)->m_nUserFilterIndex, position);
  // Ctrl+O after that shows the dialog as always (cancelled here: nothing changes).
  frame->OnCommand(cmd::kOpen);
  EXPECT_EQ(fake.files.requests, 1);
}

TEST_F(StartLessonTest, MissingOrForeignFileGivesWhatCtrlOGivesInEachMode) {
  QTemporaryDir dir;
  const QString notALesson = dir.filePath(QStringLiteral("notes.db"));
  QFile text(notALesson);
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("Not a lesson at all, just some words.\n");
  text.close();

  for (const QString& path : {dir.filePath(QStringLiteral("missing.db")), notALesson}) {
    FakePlatform started;
    auto fromCommandLine = ShowFrame(started, path);
    fromCommandLine->OnCommand(702);  // Video-1
    fromCommandLine->OnCommand(705);  // Exam-2

    FakePlatform opened;
    auto byHand = ShowFrame(opened, QString());
    for (int mode : {700, 702, 705}) {
      byHand->OnCommand(mode);
      opened.files.answers.push_back(path);
      byHand->OnCommand(cmd::kOpen);
    }
    EXPECT_FALSE(Boxes(started).empty()) << path.toStdString();
    EXPECT_EQ(Boxes(started), Boxes(opened)) << path.toStdString();
    for (int mode : {0, 2, 5}) EXPECT_TRUE(fromCommandLine->View(mode)->m_vWordsData.empty());
  }
}

TEST_F(StartLessonTest, WithoutAPathNothingOpensByItself) {
  FakePlatform fake;
  auto frame = ShowFrame(fake, QString());
  frame->OnCommand(701);
  EXPECT_TRUE(frame->View(0)->m_vWordsData.empty());
  EXPECT_TRUE(frame->View(1)->m_vWordsData.empty());
  EXPECT_EQ(fake.files.requests, 0);
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST(StartLessonPath, RelativePathIsTakenFromTheCurrentFolderAndEachModeArmsOnce) {
  FakeFileChooser dialog;
  StartLesson start(&dialog);
  EXPECT_FALSE(start.ArmFor(0));  // no path
  start.SetPath(QStringLiteral("lessons/x.db"));
  EXPECT_EQ(start.Path(), QDir::current().absoluteFilePath(QStringLiteral("lessons/x.db")));
  EXPECT_TRUE(start.ArmFor(3));
  EXPECT_FALSE(start.ArmFor(3));
  EXPECT_EQ(start.ChooseLessonFile(nullptr), start.Path());
  EXPECT_EQ(dialog.requests, 0);
  EXPECT_EQ(start.ChooseLessonFile(nullptr), std::nullopt);  // the dialog's answer: cancelled
  EXPECT_EQ(dialog.requests, 1);
  EXPECT_TRUE(start.ArmFor(0));
  start.Disarm();
  start.ChooseLessonFile(nullptr);
  EXPECT_EQ(dialog.requests, 2);
  EXPECT_FALSE(start.ArmFor(6));
}

}  // namespace
}  // namespace verbaro
