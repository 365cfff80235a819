// Question building of the exam views: a record still in play, one of its answers not yet
// learnt as the right answer, up to four wrong answers from the same grammatical group, and
// the right answer put into a random cell.
#include <algorithm>
#include <iterator>

#include "platform/Desktop.h"
#include "views/Exam1View.h"
#include "views/ExamRandom.h"

namespace verbaro {

namespace {

int SizeOf(const auto& container) { return static_cast<int>(container.size()); }

bool IsIndexOf(int index, const auto& container) { return index >= 0 && index < SizeOf(container); }

}  // namespace

int CExam1View::Draw(int n) const {
  static const SystemClock systemClock;
  const Clock* clock = m_platform.clock;
  return DrawModulo(clock != nullptr ? *clock : static_cast<const Clock&>(systemClock), n);
}

bool CExam1View::SetUserExamData() {
  m_mapIndexToVAltWords.clear();
  // The repaint after a refusal keeps the question and highlights its right answer.
  if (m_bShowTrueAnswer) return true;
  m_bQuestionReady = false;

  if (m_mapCopyExtGramKeysToMapIndToVWS.empty())
    m_mapCopyExtGramKeysToMapIndToVWS = m_mapExtGramKeysToMapIndToVWS;
  if (m_vCopyWordsData.empty()) m_vCopyWordsData = m_vWordsData;
  m_vwsAltWords.clear();

  if (m_vUserIndexes.empty()) return false;
  if (m_vCopyWordsData.empty()) {
    ShowError(u"Пустая копия данных!");
    return false;
  }

  const int nTrueRandPos = Draw(SizeOf(m_vUserIndexes));
  if (!IsIndexOf(nTrueRandPos, m_vCopyWordsData) ||
      !IsIndexOf(m_vUserIndexes[nTrueRandPos], m_vCopyWordsData)) {
    ShowError(u"Выход за пределы индекса!");
    return false;
  }
  m_nTrueRandIndex = m_vUserIndexes[nTrueRandPos];
  m_wsExtFrGram = GroupKey(m_vCopyWordsData[m_nTrueRandIndex]);

  // All answers of this record were learnt and a filter selection put it back in play: start
  // again from the full lesson, which restores every learnt answer and clears the errors.
  if (m_vCopyWordsData[m_nTrueRandIndex].vwsAltWords.empty()) {
    m_vCopyWordsData = m_vWordsData;
    if (!IsIndexOf(m_nTrueRandIndex, m_vCopyWordsData)) {
      ShowError(u"Выход за пределы индекса!");
      return false;
    }
    m_wsExtFrGram = GroupKey(m_vCopyWordsData[m_nTrueRandIndex]);
    if (m_vCopyWordsData[m_nTrueRandIndex].vwsAltWords.empty()) {
      ShowError(u"Пустое множество переводов!");
      return false;
    }
  }
  const WordsData& asked = m_vCopyWordsData[m_nTrueRandIndex];

  m_nTrueInd = Draw(SizeOf(asked.vwsAltWords));
  m_wsTrueAltWord = asked.vwsAltWords[m_nTrueInd];
  if (Logging()) {
    const std::u16string wsTrueExtAltWord = m_wsTrueAltWord + u", " + m_wsExtFrGram;
    Log()->Write(u"nTrueRandPos = ", nTrueRandPos, u"; m_nTrueRandIndex = ", m_nTrueRandIndex,
                 u"; m_nTrueInd = ", m_nTrueInd, u"; ", asked.wsKeyWord, u" -> ", wsTrueExtAltWord,
                 u"; vTrueIndexes:");
    const auto found = m_mapExtAltWordsToVINT.find(wsTrueExtAltWord);
    if (found != m_mapExtAltWordsToVINT.end())
      for (int32_t k : found->second) Log()->Write(u" ", k);
    Log()->Line();
  }

  const auto group = m_mapCopyExtGramKeysToMapIndToVWS.find(m_wsExtFrGram);
  if (group == m_mapCopyExtGramKeysToMapIndToVWS.end() || group->second.empty()) return false;
  m_mapIndexToVAltWords = group->second;
  LogPool(u"Группа:");
  const auto self = m_mapIndexToVAltWords.find(m_nTrueRandIndex);
  if (self == m_mapIndexToVAltWords.end()) {
    ShowError(u"Пустая грамматическая группа!");
    return false;
  }
  // The asked record never supplies a wrong answer.
  m_mapIndexToVAltWords.erase(self);
  LogPool(u"Группа без записи вопроса:");

  if (!DrawWrongAnswers()) return false;

  const int nWrong = SizeOf(m_vwsAltWords);
  m_nTrueCellIndex = Draw(nWrong + 1);
  m_vwsAltWords.insert(m_vwsAltWords.begin() + m_nTrueCellIndex, m_wsTrueAltWord);
  if (Logging()) Log()->Line(u"Правильный ответ в ячейке ", m_nTrueCellIndex + 1);

  TakeCurrentRecord(m_vCopyWordsData[m_nTrueRandIndex], false);
  m_bQuestionReady = true;
  return true;
}

bool CExam1View::DrawWrongAnswers() {
  for (int attempt = 0; attempt < m_nMaxAltWords - 1 && !m_mapIndexToVAltWords.empty();
       ++attempt) {
    const int nRandVertPos = Draw(SizeOf(m_mapIndexToVAltWords));
    if (!IsIndexOf(nRandVertPos, m_mapIndexToVAltWords)) {
      ShowError(u"Не найден элемент в уникальном пользовательском фильтре");
      return false;
    }
    const auto entry = std::next(m_mapIndexToVAltWords.begin(), nRandVertPos);
    const int32_t nRandVertIndex = entry->first;
    if (entry->second.empty()) {
      ShowError(u"Множество переводов пусто!");
      return false;
    }
    const int nRandHorIndex = Draw(SizeOf(entry->second));
    const std::u16string wsFalseAltWord = entry->second[nRandHorIndex];
    if (!IsIndexOf(nRandVertIndex, m_vCopyWordsData)) {
      ShowError(u"Выход за пределы индекса!");
      return false;
    }
    const std::u16string wsFalseExtAltWord =
        wsFalseAltWord + u", " + GroupKey(m_vCopyWordsData[nRandVertIndex]);

    const bool discarded = IsCandidateDiscarded(wsFalseAltWord, wsFalseExtAltWord);
    if (!discarded && !wsFalseAltWord.empty()) m_vwsAltWords.push_back(wsFalseAltWord);
    if (Logging())
      Log()->Line(u"nRandVertIndex = ", nRandVertIndex, u"; nRandHorIndex = ", nRandHorIndex,
                  u"; ", wsFalseExtAltWord, discarded ? u" : отброшен" : u" : принят");

    // A used or discarded candidate leaves the pool.
    const auto used = m_mapIndexToVAltWords.find(nRandVertIndex);
    if (used == m_mapIndexToVAltWords.end()) {
      ShowError(u"Нет данных в пользовательском субфильтре!");
      return false;
    }
    if (used->second.empty()) {
      ShowError(u"Множество переводов пусто!");
      return false;
    }
    if (used->second.size() == 1)
      m_mapIndexToVAltWords.erase(used);
    else
      used->second.erase(used->second.begin() + nRandHorIndex);
  }
  return true;
}

bool CExam1View::IsCandidateDiscarded(const std::u16string& wsFalseAltWord,
                                      const std::u16string& wsFalseExtAltWord) const {
  if (m_bContraVersa) {
    // Foreign words: a candidate equal to the right answer or to a chosen cell would repeat.
    return wsFalseAltWord == m_wsTrueAltWord ||
           std::find(m_vwsAltWords.begin(), m_vwsAltWords.end(), wsFalseAltWord) !=
               m_vwsAltWords.end();
  }
  // Translations: a candidate that is also an answer of the asked record would be right too.
  const auto found = m_mapExtAltWordsToVINT.find(wsFalseExtAltWord);
  if (found == m_mapExtAltWordsToVINT.end()) return false;
  return std::find(found->second.begin(), found->second.end(), m_nTrueRandIndex) !=
         found->second.end();
}

void CExam1View::LogPool(std::u16string_view title) const {
  if (!Logging()) return;
  Log()->Line(title);
  for (const auto& [index, texts] : m_mapIndexToVAltWords) {
    Log()->Write(u"  ", index, u" :");
    for (const std::u16string& text : texts) Log()->Write(u" ", text, u";");
    Log()->Line();
  }
}

}  // namespace verbaro
