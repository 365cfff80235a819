#pragma once
// The rules of the two exams, apart from any widget: turning the lesson rows into exam records,
// building a question (the record asked, its right answer, wrong answers of the same group, the
// cell of the right answer), scoring the choices and ending the test with its statistics.
//
// The rules work on the lesson of an exam view (its records, filters, records in play, counters
// and current record) and reach the screen only through the lesson's hooks: ShowMessage for the
// boxes, Repaint for a new question. Draws are seeded by the given clock, one reseed per draw.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "data/CandidatePool.h"
#include "data/ExamPreparation.h"
#include "data/SmallVector.h"
#include "data/WordsData.h"

namespace verbaro {

class LessonState;
class Clock;

// What a choice did; the view adds the error signal of a wrong choice.
enum class AnswerOutcome {
  Ignored,   // nothing to answer, or a cell the question does not have
  AfterEnd,  // the test was over: "Данные закончились!" was shown
  Hint,      // a refusal: the right answer was highlighted
  PaidBack,  // right, but the answer still owed errors: one was taken off
  Learnt,    // right at the first try: the answer left play
  Wrong,     // a wrong cell: the right answer owes one more error
  Lost,      // the record of a learnt last answer was not in play (a message was shown)
};

class ExamRules {
 public:
  // clock may be null: the system clock is used then.
  ExamRules(LessonState& lesson, const Clock* clock);
  ExamRules(const ExamRules&) = delete;
  ExamRules& operator=(const ExamRules&) = delete;

  // ---- preparation ----
  // The exam reset that precedes reading the lesson again: the exam structures are emptied and
  // the answer highlight cleared.
  void Reset();
  // Foreign word -> translations (Exam-1): merges the lesson rows into exam records, rebuilds
  // the filters and the reverse index, and selects the filter of all records.
  bool SetWordsData();
  // Translation -> foreign words (Exam-2), the same steps with the reversed merge.
  bool SetAltWordsData();

  // ---- filters ----
  // Puts the records of a chosen filter into play. Answers already learnt stay learnt: only the
  // records with answers left are in play, and only those answers are counted as left. A filter
  // whose answers are all learnt starts afresh: its records get back their answers, without
  // errors.
  void TakeFilter(const std::vector<int32_t>& records);

  // ---- questions ----
  // Builds one question from the records in play, or keeps the current one for the repaint that
  // highlights its right answer. False when no question could be built.
  bool SetUserExamData();
  // True while the question built by the last repaint can be answered.
  bool HasQuestion() const;
  // Counts the questions built so far: a new number for each question put on screen, the same
  // number while a refusal keeps the question. 0 before the first one.
  uint64_t QuestionNumber() const { return m_questionNumber; }

  // ---- answers ----
  // Choice 0 refuses (highlights the right answer, and that answer owes one more right choice),
  // 1..5 choose the answer cell with that number.
  AnswerOutcome OnAnswer(int nChoice);

  // ---- exam state ----
  // The candidates of the question being built, drawn from the lesson's own group (which no
  // question changes, so the group is read where the filters keep it, not copied).
  CandidatePool m_mapIndexToVAltWords;
  AltWordsIndex m_mapExtAltWordsToVINT;  // answer -> records
  // The working copy consumed by the test: of each record (same index as in the lesson) only
  // what a test changes, which of its answers are still owed and their error counters; the
  // answers' texts are read from the lesson's record.
  struct ExamProgress {
    SmallVector<uint8_t, kMaxAltWords> answers;       // indexes into the record's vwsAltWords
    SmallVector<int32_t, kMaxAltWords> vnWordErrors;  // one per owed answer, same order
  };
  std::vector<ExamProgress> m_vCopyWordsData;
  int32_t m_nTrueRandIndex = 0;  // record asked, index in m_vCopyWordsData
  std::u16string m_wsExtFrGram;  // its group key
  std::u16string m_wsTrueAltWord;

 private:
  // The messages that differ between the two preparations.
  struct PreparationTexts {
    std::u16string_view emptyAnswers;
    std::u16string_view tooManyAnswers;
  };
  // Common tail of both preparations: the view reset, the records in key order, the filters,
  // the reverse index and the selection of the filter of all records.
  bool RebuildExamRecords(ExamEntries& entries, const PreparationTexts& texts);

  bool Logging() const;
  // A fresh working copy of the lesson's records: all answers, no errors.
  void CopyWordsData();
  // Every answer of `record` owed again, none with an error.
  static void OweAll(ExamProgress& progress, const WordsData& record);
  // Whether record `index` is both in the lesson and in the working copy.
  bool IsKnownRecord(int index) const;
  int Draw(int n) const;
  bool DrawWrongAnswers();
  bool IsCandidateDiscarded(const std::u16string& wsFalseAltWord,
                            const std::u16string& wsFalseExtAltWord) const;
  void Refuse();
  AnswerOutcome AnswerRight();
  void AnswerWrong();
  void ShowStatistics();
  void ShowError(std::u16string_view text);
  void ShowInfo(std::u16string_view text);
  void LogPool(std::u16string_view title) const;

  LessonState& m_lesson;
  const Clock* m_clock;
  // Set by a question build that succeeded, cleared by one that did not; a choice needs it.
  bool m_questionReady = false;
  uint64_t m_questionNumber = 0;
  // The current question was refused once: its right answer owes its error already.
  bool m_refused = false;
};

}  // namespace verbaro
