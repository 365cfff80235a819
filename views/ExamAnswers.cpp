// Answers of the exam views: keys and clicks become choices; a right answer at the first try
// is learnt and leaves play, every wrong choice adds an error to the right answer (which then
// has to be chosen right that many times more), and a refusal highlights the right answer.
#include <algorithm>

#include "platform/Text.h"
#include "views/Exam1View.h"
#include "views/ExamInput.h"

namespace verbaro {

void CExam1View::OnKeyDown(int virtualKey) {
  if (const std::optional<int> choice = ExamChoiceForKey(virtualKey, m_nNumberedCells))
    OnAnswer(*choice);
}

void CExam1View::OnLButtonDown(int x, int y) {
  if (const std::optional<int> choice = ExamChoiceAtPoint(width(), height(), x, y, m_nNumberedCells))
    OnAnswer(*choice);
}

bool CExam1View::HasQuestion() const {
  if (!m_bQuestionReady) return false;
  if (m_nTrueRandIndex < 0 || m_nTrueRandIndex >= static_cast<int>(m_vCopyWordsData.size()))
    return false;
  const WordsData& asked = m_vCopyWordsData[m_nTrueRandIndex];
  const int answers = static_cast<int>(asked.vwsAltWords.size());
  return m_nTrueInd >= 0 && m_nTrueInd < answers &&
         asked.vnWordErrors.size() == asked.vwsAltWords.size() && m_nTrueCellIndex >= 0 &&
         m_nTrueCellIndex < static_cast<int>(m_vwsAltWords.size());
}

void CExam1View::OnAnswer(int nChoice) {
  if (m_nTotalCountAltWords == 0) {
    ShowInfo(u"Данные закончились!");
    return;
  }
  // Nothing to answer (no record left in play, a failed build, or a cell that the current
  // question does not have, as while the cells are hidden): the choice is ignored.
  if (!HasQuestion() || nChoice > static_cast<int>(m_vwsAltWords.size())) return;

  if (nChoice == 0) {
    if (Logging()) Log()->Line(u"Подсказка: ", m_wsTrueAltWord);
    m_bShowTrueAnswer = 1;
    Repaint();
    m_bShowTrueAnswer = 0;
    ++m_nHints;
    return;
  }
  if (nChoice - 1 == m_nTrueCellIndex)
    AnswerRight();
  else
    AnswerWrong();
}

void CExam1View::AnswerRight() {
  WordsData& asked = m_vCopyWordsData[m_nTrueRandIndex];
  int32_t& errors = asked.vnWordErrors[m_nTrueInd];
  if (Logging())
    Log()->Line(u"Правильно: ", m_wsTrueAltWord, u"; ошибок было ", errors);
  if (errors > 0) {
    --errors;
  } else {
    asked.vwsAltWords.erase(asked.vwsAltWords.begin() + m_nTrueInd);
    asked.vnWordErrors.erase(asked.vnWordErrors.begin() + m_nTrueInd);
    if (asked.vwsAltWords.empty()) {
      const auto found = std::find(m_vUserIndexes.begin(), m_vUserIndexes.end(), m_nTrueRandIndex);
      if (found == m_vUserIndexes.end()) {
        // The answer is gone from the working copy, so this question can no longer be read.
        m_bQuestionReady = false;
        ShowInfo(u"Данные неожиданно закончились!");
        return;
      }
      m_vUserIndexes.erase(found);
    }
    ++m_nRightAnswers;
    --m_nTotalCountAltWords;
  }
  Repaint();
  if (m_nTotalCountAltWords == 0) ShowStatistics();
}

void CExam1View::AnswerWrong() {
  int32_t& errors = m_vCopyWordsData[m_nTrueRandIndex].vnWordErrors[m_nTrueInd];
  ++errors;
  ++m_nWrongAnswers;
  if (Logging()) Log()->Line(u"Неправильно; правильный ответ: ", m_wsTrueAltWord, u"; ошибок ", errors);
  PlayErrorSignal();
}

void CExam1View::ShowStatistics() {
  const std::u16string text = u"Данные закончились! Ваша статистика:\nПравильно: " +
                              ToU16(m_nRightAnswers) + u"; Неправильно: " +
                              ToU16(m_nWrongAnswers) + u"; Подсказок: " + ToU16(m_nHints);
  if (Logging()) Log()->Line(text);
  ShowInfo(text);
}

}  // namespace verbaro
