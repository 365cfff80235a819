// Answers of the exams: a right answer at the first try is learnt and leaves play; every wrong
// choice and a refusal add an error to the right answer, which then has to be chosen right that
// many times more before it counts; a refusal also highlights the right answer and counts a hint.
#include <algorithm>

#include "data/DiagnosticLog.h"
#include "data/ExamRules.h"
#include "data/LessonState.h"
#include "data/Text.h"

namespace verbaro {

bool ExamRules::HasQuestion() const {
  if (!m_questionReady) return false;
  if (!IsKnownRecord(m_nTrueRandIndex)) return false;
  const ExamProgress& asked = m_vCopyWordsData[m_nTrueRandIndex];
  const int answers = static_cast<int>(asked.answers.size());
  return m_lesson.m_nTrueInd >= 0 && m_lesson.m_nTrueInd < answers &&
         asked.vnWordErrors.size() == asked.answers.size() && m_lesson.m_trueCellIndex >= 0 &&
         m_lesson.m_trueCellIndex < static_cast<int>(m_lesson.m_vwsAltWords.size());
}

AnswerOutcome ExamRules::OnAnswer(int nChoice) {
  if (m_lesson.m_nTotalCountAltWords == 0) {
    ShowInfo(u"Данные закончились!");
    return AnswerOutcome::AfterEnd;
  }
  // Nothing to answer (no record left in play, a failed build, or a cell that the current
  // question does not have, as while the cells are hidden): the choice is ignored.
  if (nChoice < 0 || !HasQuestion() || nChoice > static_cast<int>(m_lesson.m_vwsAltWords.size()))
    return AnswerOutcome::Ignored;

  if (nChoice == 0) {
    Refuse();
    return AnswerOutcome::Hint;
  }
  if (nChoice - 1 == m_lesson.m_trueCellIndex) return AnswerRight();
  AnswerWrong();
  return AnswerOutcome::Wrong;
}

void ExamRules::Refuse() {
  // Seeing the answer is not knowing it: the answer owes one more right choice, once per
  // question however often it is shown.
  int32_t& errors = m_vCopyWordsData[m_nTrueRandIndex].vnWordErrors[m_lesson.m_nTrueInd];
  if (!m_refused) {
    ++errors;
    m_refused = true;
  }
  if (Logging()) m_lesson.Log()->Line(u"Подсказка: ", m_wsTrueAltWord, u"; ошибок ", errors);
  m_lesson.m_showTrueAnswer = 1;
  m_lesson.Repaint();
  m_lesson.m_showTrueAnswer = 0;
  ++m_lesson.m_hints;
}

AnswerOutcome ExamRules::AnswerRight() {
  ExamProgress& asked = m_vCopyWordsData[m_nTrueRandIndex];
  const int32_t nTrueInd = m_lesson.m_nTrueInd;
  int32_t& errors = asked.vnWordErrors[nTrueInd];
  if (Logging()) m_lesson.Log()->Line(u"Правильно: ", m_wsTrueAltWord, u"; ошибок было ", errors);
  AnswerOutcome outcome = AnswerOutcome::PaidBack;
  if (errors > 0) {
    --errors;
  } else {
    asked.answers.erase(asked.answers.begin() + nTrueInd);
    asked.vnWordErrors.erase(asked.vnWordErrors.begin() + nTrueInd);
    if (asked.answers.empty()) {
      std::vector<int32_t>& inPlay = m_lesson.m_vUserIndexes;
      const auto found = std::find(inPlay.begin(), inPlay.end(), m_nTrueRandIndex);
      if (found == inPlay.end()) {
        // The answer is gone from the working copy, so this question can no longer be read.
        m_questionReady = false;
        ShowInfo(u"Данные неожиданно закончились!");
        return AnswerOutcome::Lost;
      }
      inPlay.erase(found);
    }
    ++m_lesson.m_rightAnswers;
    --m_lesson.m_nTotalCountAltWords;
    outcome = AnswerOutcome::Learnt;
  }
  m_lesson.Repaint();
  if (m_lesson.m_nTotalCountAltWords == 0) ShowStatistics();
  return outcome;
}

void ExamRules::AnswerWrong() {
  int32_t& errors = m_vCopyWordsData[m_nTrueRandIndex].vnWordErrors[m_lesson.m_nTrueInd];
  ++errors;
  ++m_lesson.m_wrongAnswers;
  if (Logging())
    m_lesson.Log()->Line(u"Неправильно; правильный ответ: ", m_wsTrueAltWord, u"; ошибок ", errors);
}

void ExamRules::ShowStatistics() {
  const std::u16string text = u"Данные закончились! Ваша статистика:\nПравильно: " +
                              ToU16(m_lesson.m_rightAnswers) + u"; Неправильно: " +
                              ToU16(m_lesson.m_wrongAnswers) + u"; Подсказок: " +
                              ToU16(m_lesson.m_hints);
  if (Logging()) m_lesson.Log()->Line(text);
  ShowInfo(text);
}

}  // namespace verbaro
