#include "ExamFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "views/EntryGrid.h"

#include "data/ExamRandom.h"

namespace verbaro::examtest {

int DrawValueAt(int64_t second) {
  ExamRandom generator(static_cast<uint32_t>(second));
  return generator.Next();
}

bool ExamTest::Open(CExam1View& view, const std::vector<LessonRow>& rows) {
  const QString path = dir.filePath(QStringLiteral("lesson%1.db").arg(++lessonsWritten));
  test::WriteLesson(path.toStdString(), rows);
  fake.files.answers.push_back(path);
  return view.OpenLesson();
}

int ExamTest::UseDraw(const std::function<bool(int)>& predicate) {
  for (int64_t second = fake.clock.seconds; second < fake.clock.seconds + 100000; ++second) {
    if (predicate(DrawValueAt(second))) {
      fake.clock.seconds = second;
      return DrawValueAt(second);
    }
  }
  ADD_FAILURE() << "no second gives the wanted draw";
  return -1;
}

void ExamTest::Press(CExam1View& view, int digit) {
  QKeyEvent event(QEvent::KeyPress, Qt::Key_0 + digit, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
}

void ExamTest::Click(CExam1View& view, int x, int y) {
  const QPointF at(x, y);
  QMouseEvent event(QEvent::MouseButtonPress, at, view.mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
}

std::u16string ExamTest::StatusLine(const CExam1View& view) { return grid::StatusText(view); }

int ExamTest::WrongCell(const CExam1View& view) {
  for (int k = 1; k <= static_cast<int>(view.m_vwsAltWords.size()); ++k)
    if (k != RightCell(view)) return k;
  return 0;
}

int ExamTest::RightAnswerErrors(const CExam1View& view) {
  return view.Rules()
      .m_vCopyWordsData.at(view.Rules().m_nTrueRandIndex)
      .vnWordErrors.at(view.m_nTrueInd);
}

int ExamTest::RecordIndex(const CExam1View& view, const std::u16string& keyWord) {
  for (size_t i = 0; i < view.m_vWordsData.size(); ++i)
    if (view.m_vWordsData[i].wsKeyWord == keyWord) return static_cast<int>(i);
  return -1;
}

}  // namespace verbaro::examtest
