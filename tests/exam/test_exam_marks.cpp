// A wrong choice is marked on its row, so that the learner sees it with the sound off; the mark
// goes with the next key or click and never stands on a new question.
#include <QCoreApplication>
#include <QImage>

#include "support/ExamFixture.h"
#include "views/AnswerMarks.h"

namespace verbaro::examtest {
namespace {

using ExamMarks = ExamTest;

std::vector<LessonRow> FourNouns() {
  return {Row(u"a", u"m", u"s", {u"А"}), Row(u"b", u"m", u"s", {u"Б"}),
          Row(u"c", u"m", u"s", {u"В"}), Row(u"d", u"m", u"s", {u"Г"})};
}

// The answer row k of a 1000 x 600 client area.
QRect Row(int k) { return QRect(50, (5 + k) * 50, 900, 50); }

// Pixels of answer row k that the widget shows red where the question itself is not.
bool Marked(CExam1View& view, int k) {
  const QImage shown = view.grab().toImage();
  const QImage question = view.BackBuffer();
  int red = 0;
  const QRect row = Row(k);
  for (int y = row.top(); y <= row.bottom(); ++y) {
    for (int x = row.left(); x <= row.right(); ++x) {
      const QRgb pixel = shown.pixel(x, y);
      if (pixel != question.pixel(x, y) && qRed(pixel) > 150 && qGreen(pixel) < 80) ++red;
    }
  }
  return red > 100;
}

std::unique_ptr<CExam1View> Shown(std::unique_ptr<CExam1View> view) {
  view->show();
  QCoreApplication::processEvents();
  return view;
}

TEST_F(ExamMarks, AWrongChoiceIsMarkedOnItsRowUntilTheNextKey) {
  auto view = Shown(MakeView<CExam1View>());
  ASSERT_TRUE(Open(*view, FourNouns()));
  const int wrong = WrongCell(*view);
  ASSERT_GT(wrong, 0);
  const QImage before = view->BackBuffer();
  for (int k = 1; k <= 4; ++k) EXPECT_FALSE(Marked(*view, k));

  Press(*view, wrong);
  EXPECT_EQ(view->MarkedWrongChoice(), wrong);
  EXPECT_EQ(view->BackBuffer(), before) << "the question stays as it was";
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(Marked(*view, k), k == wrong) << "row " << k;

  view->OnKeyDown('A');  // no choice, but a key: the mark goes
  EXPECT_EQ(view->MarkedWrongChoice(), 0);
  EXPECT_FALSE(Marked(*view, wrong));
}

TEST_F(ExamMarks, TheMarkMovesWithTheNextWrongChoiceAndGoesWithAClickOrANewQuestion) {
  auto view = Shown(MakeView<CExam1View>());
  ASSERT_TRUE(Open(*view, FourNouns()));
  std::vector<int> wrongCells;
  for (int k = 1; k <= 4; ++k)
    if (k != RightCell(*view)) wrongCells.push_back(k);

  Press(*view, wrongCells[0]);
  Press(*view, wrongCells[1]);
  EXPECT_FALSE(Marked(*view, wrongCells[0]));
  EXPECT_TRUE(Marked(*view, wrongCells[1]));

  Click(*view, 5, 5);  // outside the answers: a hint, which repaints the question
  EXPECT_EQ(view->MarkedWrongChoice(), 0);

  Press(*view, wrongCells[2]);
  EXPECT_TRUE(Marked(*view, wrongCells[2]));
  Press(*view, RightCell(*view));
  EXPECT_EQ(view->MarkedWrongChoice(), 0) << "a right choice leaves no mark on the next question";
  for (int k = 1; k <= 4; ++k) EXPECT_FALSE(Marked(*view, k));
}

}  // namespace
}  // namespace verbaro::examtest
