#pragma once
// CExam1View ("Экзамен-1"): a multiple-choice test that shows a foreign word and asks for its
// translation. The lesson rows are merged into exam records (one per word and grammatical
// group); every repaint asks a new question with up to five answer cells, wrong answers drawn
// from the same group; keys 0..5 and clicks answer it, and the score is shown at the end.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "data/WordsData.h"
#include "platform/DiagnosticLog.h"
#include "views/ExamPreparation.h"
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
  // Foreign word -> translations: merges the rows into exam records, rebuilds the filters and
  // the reverse index, and selects the filter of all records.
  bool SetWordsData();

  // ---- questions ----
  // Builds one question from the records still in play (or keeps it for the refusal repaint).
  bool SetUserExamData() override;

  // ---- answers ----
  void OnKeyDown(int virtualKey) override;
  void OnLButtonDown(int x, int y) override;
  // Choice 0 refuses (shows the right answer as a hint), 1..5 choose an answer cell.
  void OnAnswer(int nChoice);
  // True while a question built by the last repaint can be answered.
  bool HasQuestion() const;

  // ---- exam state ----
  std::map<int32_t, std::vector<std::u16string>> m_mapIndexToVAltWords;  // candidate pool
  AltWordsIndex m_mapExtAltWordsToVINT;                                  // answer -> records
  std::vector<WordsData> m_vCopyWordsData;  // working copy consumed by the test
  std::map<std::u16string, std::map<int32_t, std::vector<std::u16string>>>
      m_mapCopyExtGramKeysToMapIndToVWS;
  int32_t m_nTrueRandIndex = 0;  // record asked, index in m_vCopyWordsData
  std::u16string m_wsExtFrGram;  // its group key
  std::u16string m_wsTrueAltWord;

 protected:
  void OnCreate() override;
  // The preparation that follows the exam reset: SetWordsData here.
  virtual bool PrepareExamData();

  // The messages that differ between the two preparations.
  struct PreparationTexts {
    std::u16string_view emptyAnswers;
    std::u16string_view tooManyAnswers;
  };
  // Common tail of both preparations: the view reset, the records in key order, the filters,
  // the reverse index and the selection of the filter of all records.
  bool RebuildExamRecords(const ExamEntries& entries, const PreparationTexts& texts);

 private:
  bool Logging() const { return Log() != nullptr && Log()->IsAttached(); }
  int Draw(int n) const;
  bool DrawWrongAnswers();
  bool IsCandidateDiscarded(const std::u16string& wsFalseAltWord,
                            const std::u16string& wsFalseExtAltWord) const;
  void AnswerRight();
  void AnswerWrong();
  void ShowStatistics();
  void LogPool(std::u16string_view title) const;

  // Set by a question build that succeeded, cleared by one that did not; a choice needs it.
  bool m_bQuestionReady = false;
};

}  // namespace verbaro
