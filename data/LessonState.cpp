#include "data/LessonState.h"

#include "data/DiagnosticLog.h"

namespace verbaro {

bool LessonState::IsLogging() const { return m_mainLog != nullptr && m_mainLog->IsAttached(); }

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
  if (m_mainLog) {
    m_mainLog->Line(
        u"CWordsView::StopSound() : Очистка вектора переводов : m_vwsAltWords.size() = ",
        m_vwsAltWords.size());
  }

  ClearTypingLine();
  m_nTotalCountAltWords = 0;
  m_rightAnswers = 0;
  m_wrongAnswers = 0;
  m_hints = 0;
}

void LessonState::ClearTypingLine() {
  m_expectedText.clear();
  m_expectedLength = 0;
  ClearTypedText();
}

void LessonState::ClearTypedText() {
  m_typedText.clear();
  m_noLetterMarks.Clear();
  m_typedLength = 0;
}

void LessonState::CheckTypedText() {
  m_expectedText = m_wsKeyWord;
  m_expectedLength = static_cast<int32_t>(m_expectedText.size());
  m_typedLength = static_cast<int32_t>(m_typedText.size());
  // A prefix of the expected text (equal texts included) matches, code unit for code unit.
  m_typedMatches = m_expectedText.starts_with(m_typedText) ? 1 : 0;
}

}  // namespace verbaro
