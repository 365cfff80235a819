#pragma once
// A lesson driven by the exam rules the way an exam view drives them, without any widget: the
// repaint builds the question and numbers its cells, boxes are recorded, and the clock that
// seeds the draws is set by the test.
#include <functional>
#include <string>
#include <vector>

#include "RecordingLesson.h"
#include "data/ExamRules.h"
#include "tests/fakes/core/FakeClock.h"

namespace verbaro::test {

class ExamLesson : public RecordingLesson {
 public:
  // reversed: the Exam-2 direction (translation to foreign words).
  explicit ExamLesson(bool reversed);

  // The exam reset, the rows as read from a lesson, then the preparation of the direction.
  bool Open(std::vector<WordsData> rows);

  void Repaint() override;
  bool SetUserExamData() override { return rules.SetUserExamData(); }
  void TakeFilterRecords(const std::vector<int32_t>& records) override {
    rules.TakeFilter(records);
  }

  // Moves the clock to the first second from now whose draw value satisfies the predicate.
  void UseDraw(const std::function<bool(int)>& predicate);
  int RightCell() const { return m_trueCellIndex + 1; }
  // A numbered cell other than the right one, 0 when there is none.
  int WrongCell() const;
  int RightAnswerErrors() const;
  std::vector<std::u16string> Texts() const;

  FakeClock clock;
  ExamRules rules;
  bool reversed;
};

}  // namespace verbaro::test
