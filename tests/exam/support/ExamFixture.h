#pragma once
// The common ground of the exam tests: a Qt application, the fake platform, the Filters menu the
// views fill, a scratch folder for lesson files, exam views made the way the frame makes them
// (window created, 1000 x 600 client area) and control over the second that seeds the draws.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ExamLessons.h"
#include "tests/fakes/FakeFilterMenu.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "views/Exam1View.h"
#include "views/Exam2View.h"

namespace verbaro::examtest {

// The value every draw of a question yields in the given second (before the modulo).
int DrawValueAt(int64_t second);

// Makes the application before any widget member of the fixture exists.
struct ApplicationFirst {
  ApplicationFirst() { test::EnsureApplication(); }
};

class ExamTest : public ::testing::Test, private ApplicationFirst {
 protected:
  template <class View>
  std::unique_ptr<View> MakeView() {
    auto view = std::make_unique<View>(fake.Get());
    view->SetFilterMenu(&menu);
    view->resize(1000, 600);
    view->Create();
    view->m_bIsSound = 0;  // the logic tests do not decode their recordings
    return view;
  }

  // Writes the rows as a lesson file and runs the view's Open command on it.
  bool Open(CExam1View& view, const std::vector<LessonRow>& rows);

  // Moves the fake clock to the first second, from now on, whose draw value satisfies the
  // predicate, and returns that value.
  int UseDraw(const std::function<bool(int)>& predicate);

  std::vector<QString> Messages() const { return fake.messages.Texts(); }

  // The texts of the answer cells of the current question.
  static std::vector<std::u16string> Cells(const CExam1View& view) { return view.m_vwsAltWords; }
  static int RightCell(const CExam1View& view) { return view.m_trueCellIndex + 1; }
  // Some numbered cell other than the right one (0 when there is none).
  static int WrongCell(const CExam1View& view);
  // A digit key pressed on the view, through its key event handling.
  static void Press(CExam1View& view, int digit);
  // A left click at (x, y) of the view, through its mouse event handling.
  static void Click(CExam1View& view, int x, int y);
  // The statistics line under the answer cells.
  static std::u16string StatusLine(const CExam1View& view);
  // The error counter of the right answer of the current question in the working copy.
  static int RightAnswerErrors(const CExam1View& view);
  // Index in the view's records of the record whose key word is given (-1 when absent).
  static int RecordIndex(const CExam1View& view, const std::u16string& keyWord);

  FakePlatform fake;
  FakeFilterMenu menu;
  QTemporaryDir dir;
  int lessonsWritten = 0;
};

}  // namespace verbaro::examtest
