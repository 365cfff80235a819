// A key that did not combine with an armed accent reaches the progress store as the learner saw
// it, the accent and the key, so that the statistics show it: a real store and a real lesson.
#include <gtest/gtest.h>

#include <QApplication>
#include <initializer_list>
#include <memory>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "data/progress/ProgressStore.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/Files.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/TempFolder.h"
#include "views/VirtualKeys.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

TEST(AccentMarkKept, TheMissedCharacterIsTheAccentAndTheKey) {
  test::EnsureApplication();
  test::TempFolder folder;
  test::WriteLesson(folder.Path() / "mots.db",
                    {{u"m", u"s", u"chat", {u"кот"}, test::ShortMp3()},
                     {u"m", u"s", u"chien", {u"собака"}, test::ShortMp3()}});
  FakePlatform fake;
  auto store =
      progress::ProgressStore::Open((folder.Path() / "progress.sqlite").string(), fake.clock);
  auto frame = std::make_unique<CMainFrame>(fake.Get());
  frame->UseProgressStore(store.get());
  ASSERT_TRUE(frame->CreateFrame(QRect(0, 0, 900, 650)));
  fake.files.answers.push_back(QString::fromStdString((folder.Path() / "mots.db").string()));
  frame->OnCommand(cmd::kOpen);

  CWordsView& view = *frame->CurrentView();
  // c, h, then Ctrl + apostrophe key and L: no acute l, a mark that turns the line red.
  const std::initializer_list<int> keys = {'C', 'H', vk::kControl, vk::kOem7, 'L', vk::kBack,
                                           'A', 'T'};
  for (int key : keys) {
    view.OnKeyDown(key);
  }
  ASSERT_EQ(view.m_typedText, u"chat");
  QApplication::processEvents();

  progress::LessonProgress* progress = frame->LessonProgressOf(0);
  ASSERT_NE(progress, nullptr);
  const auto missed = progress->MissedCharacters(progress::Direction::Forward);
  ASSERT_EQ(missed.size(), 1u);
  EXPECT_EQ(missed[0].expected, u"a");
  EXPECT_EQ(missed[0].typed, u"´l");
  frame.reset();
}

}  // namespace
}  // namespace verbaro
