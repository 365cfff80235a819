#include "data/LessonState.h"

#include "data/DiagnosticLog.h"

namespace verbaro {

bool LessonState::IsLogging() const { return m_pMainLog != nullptr && m_pMainLog->IsAttached(); }

void LessonState::StopSound() {
  m_bPlayOnPaint = 1;
  ClearLessonData();
}

void LessonState::ClearLessonData() {
  m_vWordsData.clear();
  m_mapUserFilters.clear();
  m_vUserIndexes.clear();
  m_mapExtGramKeysToMapIndToVWS.clear();
  m_nSelectedFilter = 0;

  // The other current-record texts stay until the next record is selected.
  m_vpMp3Word.clear();
  m_nvMp3WordSize.clear();
  m_pMp3Word = {};
  m_nMp3WordSize = 0;
  m_nUserFilterIndex = 0;
  m_nCurMp3Index = 0;

  m_vwsAltWords.clear();
  if (m_pMainLog) {
    m_pMainLog->Line(u"CWordsView::StopSound() : Очистка вектора переводов : m_vwsAltWords.size() = ",
                     m_vwsAltWords.size());
  }

  ClearTypingLine();
  m_nTotalCountAltWords = 0;
  m_nRightAnswers = 0;
  m_nWrongAnswers = 0;
  m_nHints = 0;
}

void LessonState::ClearTypingLine() {
  m_wsExpectedText.clear();
  m_nExpectedLength = 0;
  ClearTypedText();
}

void LessonState::ClearTypedText() {
  m_wsTypedText.clear();
  m_nTypedLength = 0;
}

void LessonState::CheckTypedText() {
  m_wsExpectedText = m_wsKeyWord;
  m_nExpectedLength = static_cast<int32_t>(m_wsExpectedText.size());
  m_nTypedLength = static_cast<int32_t>(m_wsTypedText.size());
  // A prefix of the expected text (equal texts included) matches, code unit for code unit.
  m_bTypedMatches = m_wsExpectedText.starts_with(m_wsTypedText) ? 1 : 0;
}

}  // namespace verbaro

