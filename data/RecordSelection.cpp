// Turning the position in the working filter into the current record and its current recording.
#include "data/DiagnosticLog.h"
#include "data/LessonState.h"
#include "data/LogText.h"

namespace verbaro {

bool LessonState::SetUserData() {
  if (m_bExamMode && !SetUserExamData()) return false;
  if (m_vWordsData.empty()) {
    if (m_mainLog) m_mainLog->Line(u"CWordsView::SetUserData() : Множество исходных данных пусто!");
    return false;
  }
  if (m_vUserIndexes.empty()) {
    if (m_mainLog) m_mainLog->Line(u"CWordsView::SetUserData() : m_vUserIndexes.size() == 0");
    return false;
  }

  // The Exam override has already filled the current record with its question.
  if (!m_bExamMode) {
    const bool positionValid =
        m_nUserFilterIndex >= 0 && static_cast<size_t>(m_nUserFilterIndex) < m_vUserIndexes.size();
    const int32_t index = positionValid ? m_vUserIndexes[m_nUserFilterIndex] : -1;
    if (index < 0 || static_cast<size_t>(index) >= m_vWordsData.size()) {
      if (m_mainLog) {
        m_mainLog->Line(u"CWordsView::SetUserData() : m_nUserFilterIndex = ", m_nUserFilterIndex,
                        u" вне множества записей");
      }
      return false;
    }
    TakeCurrentRecord(m_vWordsData[index], true);
  }

  if (m_vwsAltWords.empty()) {
    if (m_mainLog) m_mainLog->Line(u"m_vwsAltWords.size() == 0!");
    ShowError(u"Множество переводов пусто!");
    return false;
  }

  const auto nRecordings = static_cast<int32_t>(m_vpMp3Word.size());
  const auto nSizes = static_cast<int32_t>(m_nvMp3WordSize.size());
  if (m_nCurMp3Index < 0 || m_nCurMp3Index >= nRecordings) {
    // Carried over from a record with more recordings: start this one from its first.
    if (m_mainLog) {
      m_mainLog->Line(u"m_nCurMp3Index (", m_nCurMp3Index, u") >= ", u"nvMp3WordSize (",
                      nRecordings, u")");
    }
    if (nRecordings == 0) {
      ShowError(u"Выход индекса за допустимые пределы, для звуковых данных!");
      return false;
    }
    m_nCurMp3Index = 0;
  }

  // Every recording needs its size, and the size may not exceed what the lesson stores.
  const bool sizeKnown = m_nCurMp3Index < nSizes;
  m_pMp3Word = m_vpMp3Word[m_nCurMp3Index];
  m_nMp3WordSize = sizeKnown ? m_nvMp3WordSize[m_nCurMp3Index] : 0;
  const bool sizeFitsBuffer =
      m_pMp3Word && m_nMp3WordSize >= 0 && m_nMp3WordSize <= m_pMp3Word.Size();
  if (sizeKnown && (!m_pMp3Word || m_nMp3WordSize == 0)) {
    ShowError(u"Нет данных для проигрывания звука!");
    return false;
  }
  if (nRecordings != nSizes) {
    if (m_mainLog) {
      m_mainLog->Line(u"nvMp3WordSize (", nRecordings, u") != ", u"nvMp3WordSizeSize (", nSizes,
                      u")");
    }
    ShowError(u"Некорректные значения для звуковых данных!");
    return false;
  }
  if (!sizeFitsBuffer) {
    if (m_mainLog) {
      m_mainLog->Line(u"m_nMp3WordSize (", m_nMp3WordSize, u") > ", u"mp3 buffer (",
                      m_pMp3Word.Size(), u")");
    }
    ShowError(u"Некорректные значения для звуковых данных!");
    return false;
  }

  if (IsLogging()) {
    DiagnosticLog& log = *m_mainLog;
    log.Line(u"\nCWordsView::SetUserData() : m_wsKeyWord = \"", m_wsKeyWord, u"\" : \"",
             JoinTexts(m_vwsAltWords), u"\"");
    log.Line();
    log.Line(u"m_nUserFilterIndex = ", m_nUserFilterIndex);
    log.Line(u"m_nCurMp3Index = ", m_nCurMp3Index);
    log.Line(u"m_nMp3WordSize = ", m_nMp3WordSize);
    log.Line(u"----------");
  }
  return true;
}

void LessonState::AdvanceRecording() {
  // The "-2" views play a merged record's recordings in turn, one per repaint.
  if (!m_bContraVersa) return;
  if (m_nCurMp3Index < static_cast<int32_t>(m_vpMp3Word.size()) - 1) {
    ++m_nCurMp3Index;
    if (m_mainLog) {
      m_mainLog->Line(u"// m_nUserFilterIndex = ", m_nUserFilterIndex);
      m_mainLog->Line(u"++m_nCurMp3Index = ", m_nCurMp3Index);
      m_mainLog->Line(u"----------");
    }
    return;
  }
  // After the last recording the entry starts over. The position stays: a repaint shows and
  // sounds the entry at the shown position, and only the Video-2 tick moves on.
  m_nCurMp3Index = 0;
}

void LessonState::TakeCurrentRecord(const WordsData& record, bool withAnswers) {
  m_vpMp3Word.assign(record.vpMp3Word.begin(), record.vpMp3Word.end());
  m_nvMp3WordSize.assign(record.nvMp3WordSize.begin(), record.nvMp3WordSize.end());
  m_wsFrGram = record.wsFrGram;
  m_wsFrNumber = record.wsFrNumber;
  m_wsKeyWord = record.wsKeyWord;
  m_wsInfo1 = record.wsInfo1;
  m_wsInfo2 = record.wsInfo2;
  m_wsInfo3 = record.wsInfo3;
  if (withAnswers) m_vwsAltWords.assign(record.vwsAltWords.begin(), record.vwsAltWords.end());
}

}  // namespace verbaro
