#pragma once
// CExam1View ("Экзамен-1"): a multiple-choice test that shows a foreign word and asks for its
// translation. The view draws the question and turns keys and clicks into choices; the rules of
// the test (preparation, questions, scoring) are ExamRules, which this view drives.
#include <memory>
#include <set>
#include <string>

#include "data/ExamRules.h"
#include "views/WordsView.h"

namespace verbaro {

class CExam1View : public CWordsView {
  Q_OBJECT

 public:
  explicit CExam1View(const Platform& platform, QWidget* parent = nullptr);

  std::u16string GetModeName() const override;
  // The end-of-sound timer only runs out here: an exam never moves on by itself.
  bool HandlesTimer() const override { return false; }

  // ---- lesson opening ----
  // Loading the chosen file: the exam reset, then the preparation of this view.
  bool LoadLesson() override;
  // Empties the exam structures, clears the answer highlight and reads the lesson rows again
  // without building filters. True when the rows were read.
  bool ResetExamData();

  // ---- questions and answers ----
  bool SetUserExamData() override { return m_rules.SetUserExamData(); }
  // A chosen filter starts a new exam for the record, whatever the rules keep of the old one's
  // learnt answers and errors.
  void TakeFilterRecords(const std::vector<int32_t>& records) override;
  void OnKeyDown(int virtualKey) override;
  void OnLButtonDown(int x, int y) override;
  // Choice 0 refuses (shows the right answer as a hint), 1..5 choose an answer cell.
  void OnAnswer(int nChoice);
  // True while a question built by the last repaint can be answered.
  bool HasQuestion() const { return m_rules.HasQuestion(); }
  // The wrong choice marked on its row (1..5) until the next key, click or repaint; 0: none.
  int MarkedWrongChoice() const { return m_wrongChoice; }
  // A repaint shows a new question: the mark of the old one goes.
  void Repaint() override;

  ExamRules& Rules() { return m_rules; }
  const ExamRules& Rules() const { return m_rules; }

 protected:
  void OnCreate() override;
  // The back buffer, with the mark of a wrong choice over it.
  void paintEvent(QPaintEvent* event) override;
  // The preparation that follows the exam reset: foreign word -> translations here.
  virtual bool PrepareExamData() { return m_rules.SetWordsData(); }

 private:
  void MarkWrongChoice(int choice);
  // Tells the study events the first choice of each question, and the end of the exam.
  // `question` is the number of the question the choice answered (ExamRules::QuestionNumber).
  void ReportAnswer(const AskedEntry& asked, uint64_t question, AnswerOutcome outcome);

  ExamRules m_rules;
  int m_wrongChoice = 0;
  // The number of the last question whose first choice was told; a question gets a new number
  // whenever a repaint builds it (a right answer, a filter, a resize, a switch of the header or
  // the translations), so its first choice is told whatever brought it.
  uint64_t m_answeredQuestion = 0;
  // The words (head, grammar, number, answer) missed or refused in this exam: answered right
  // later, when the exam asks them again, they were still not right at the first try.
  std::set<std::u16string> m_missedInExam;
};

}  // namespace verbaro
