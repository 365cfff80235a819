// Question building of the exam views: a record still in play, one of its answers not yet
// learnt as the right answer, up to four wrong answers from the same grammatical group, and
// the right answer put into a random cell.
#include <algorithm>
#include <iterator>

#include "data/Clock.h"
#include "data/DiagnosticLog.h"
#include "data/ExamRandom.h"
#include "data/ExamRules.h"
#include "data/LessonState.h"

namespace verbaro {

namespace {

int SizeOf(const auto& container) { return static_cast<int>(container.size()); }

bool IsIndexOf(int index, const auto& container) { return index >= 0 && index < SizeOf(container); }

}  // namespace

int ExamRules::Draw(int n) const {
  static const SystemClock systemClock;
  return DrawModulo(m_clock != nullptr ? *m_clock : static_cast<const Clock&>(systemClock), n);
}

bool ExamRules::SetUserExamData() {
  LessonState& lesson = m_lesson;
  m_mapIndexToVAltWords.clear();
  // The repaint after a refusal keeps the question and highlights its right answer.
  if (lesson.m_showTrueAnswer) return true;
  m_questionReady = false;
  m_refused = false;

  if (m_vCopyWordsData.empty()) CopyWordsData();
  lesson.m_vwsAltWords.clear();

  const std::vector<int32_t>& inPlay = lesson.m_vUserIndexes;
  if (inPlay.empty()) return false;
  if (m_vCopyWordsData.empty()) {
    ShowError(u"Пустая копия данных!");
    return false;
  }

  const int nTrueRandPos = Draw(SizeOf(inPlay));
  if (!IsIndexOf(nTrueRandPos, m_vCopyWordsData) || !IsKnownRecord(inPlay[nTrueRandPos])) {
    ShowError(u"Выход за пределы индекса!");
    return false;
  }
  m_nTrueRandIndex = inPlay[nTrueRandPos];
  m_wsExtFrGram = GroupKey(lesson.m_vWordsData[m_nTrueRandIndex]);

  // A record whose answers are all learnt is not in play (the filter choice sees to that); should
  // one be drawn all the same, the working copy starts again from the full lesson.
  if (m_vCopyWordsData[m_nTrueRandIndex].answers.empty()) {
    CopyWordsData();
    if (!IsKnownRecord(m_nTrueRandIndex)) {
      ShowError(u"Выход за пределы индекса!");
      return false;
    }
    m_wsExtFrGram = GroupKey(lesson.m_vWordsData[m_nTrueRandIndex]);
    if (m_vCopyWordsData[m_nTrueRandIndex].answers.empty()) {
      ShowError(u"Пустое множество переводов!");
      return false;
    }
  }
  const ExamProgress& asked = m_vCopyWordsData[m_nTrueRandIndex];
  const WordsData& askedRecord = lesson.m_vWordsData[m_nTrueRandIndex];

  lesson.m_nTrueInd = Draw(SizeOf(asked.answers));
  m_wsTrueAltWord = askedRecord.vwsAltWords[asked.answers[lesson.m_nTrueInd]];
  if (Logging()) {
    DiagnosticLog& log = *lesson.Log();
    const std::u16string wsTrueExtAltWord = m_wsTrueAltWord + u", " + m_wsExtFrGram;
    log.Write(u"nTrueRandPos = ", nTrueRandPos, u"; m_nTrueRandIndex = ", m_nTrueRandIndex,
              u"; m_nTrueInd = ", lesson.m_nTrueInd, u"; ", askedRecord.wsKeyWord, u" -> ",
              wsTrueExtAltWord, u"; vTrueIndexes:");
    for (int32_t k : m_mapExtAltWordsToVINT.Find(wsTrueExtAltWord)) log.Write(u" ", k);
    log.Line();
  }

  const auto group = lesson.m_mapExtGramKeysToMapIndToVWS.find(m_wsExtFrGram);
  if (group == lesson.m_mapExtGramKeysToMapIndToVWS.end() || group->second.empty()) return false;
  m_mapIndexToVAltWords.Fill(group->second, lesson.m_vWordsData);
  LogPool(u"Группа:");
  if (!m_mapIndexToVAltWords.Contains(m_nTrueRandIndex)) {
    ShowError(u"Пустая грамматическая группа!");
    return false;
  }
  // The asked record never supplies a wrong answer.
  m_mapIndexToVAltWords.Remove(m_nTrueRandIndex);
  LogPool(u"Группа без записи вопроса:");

  if (!DrawWrongAnswers()) return false;

  std::vector<std::u16string>& cells = lesson.m_vwsAltWords;
  lesson.m_trueCellIndex = Draw(SizeOf(cells) + 1);
  cells.insert(cells.begin() + lesson.m_trueCellIndex, m_wsTrueAltWord);
  if (Logging()) lesson.Log()->Line(u"Правильный ответ в ячейке ", lesson.m_trueCellIndex + 1);

  lesson.TakeCurrentRecord(askedRecord, false);
  m_questionReady = true;
  ++m_questionNumber;
  return true;
}

bool ExamRules::DrawWrongAnswers() {
  std::vector<std::u16string>& cells = m_lesson.m_vwsAltWords;
  for (int attempt = 0; attempt < m_lesson.m_nMaxAltWords - 1 && !m_mapIndexToVAltWords.empty();
       ++attempt) {
    const int nRandVertPos = Draw(SizeOf(m_mapIndexToVAltWords));
    if (!IsIndexOf(nRandVertPos, m_mapIndexToVAltWords)) {
      ShowError(u"Не найден элемент в уникальном пользовательском фильтре");
      return false;
    }
    const int32_t nRandVertIndex = m_mapIndexToVAltWords.IndexAt(static_cast<size_t>(nRandVertPos));
    const std::span<const std::u16string> candidates =
        m_mapIndexToVAltWords.TextsOf(nRandVertIndex);
    if (candidates.empty()) {
      ShowError(u"Множество переводов пусто!");
      return false;
    }
    const int nRandHorIndex = Draw(SizeOf(candidates));
    const std::u16string wsFalseAltWord = candidates[nRandHorIndex];
    if (!IsKnownRecord(nRandVertIndex)) {
      ShowError(u"Выход за пределы индекса!");
      return false;
    }
    const std::u16string wsFalseExtAltWord =
        wsFalseAltWord + u", " + GroupKey(m_lesson.m_vWordsData[nRandVertIndex]);

    const bool discarded = IsCandidateDiscarded(wsFalseAltWord, wsFalseExtAltWord);
    if (!discarded && !wsFalseAltWord.empty()) cells.push_back(wsFalseAltWord);
    if (Logging())
      m_lesson.Log()->Line(u"nRandVertIndex = ", nRandVertIndex, u"; nRandHorIndex = ",
                           nRandHorIndex, u"; ", wsFalseExtAltWord,
                           discarded ? u" : отброшен" : u" : принят");

    // A used or discarded candidate leaves the pool.
    if (!m_mapIndexToVAltWords.Contains(nRandVertIndex)) {
      ShowError(u"Нет данных в пользовательском субфильтре!");
      return false;
    }
    m_mapIndexToVAltWords.RemoveText(nRandVertIndex, static_cast<size_t>(nRandHorIndex));
  }
  return true;
}

bool ExamRules::IsCandidateDiscarded(const std::u16string& wsFalseAltWord,
                                     const std::u16string& wsFalseExtAltWord) const {
  if (m_lesson.m_bContraVersa) {
    // Foreign words: a candidate equal to the right answer or to a chosen cell would repeat.
    const std::vector<std::u16string>& cells = m_lesson.m_vwsAltWords;
    return wsFalseAltWord == m_wsTrueAltWord ||
           std::find(cells.begin(), cells.end(), wsFalseAltWord) != cells.end();
  }
  // Translations: a candidate that is also an answer of the asked record would be right too.
  return m_mapExtAltWordsToVINT.Contains(wsFalseExtAltWord, m_nTrueRandIndex);
}

void ExamRules::LogPool(std::u16string_view title) const {
  if (!Logging()) return;
  DiagnosticLog& log = *m_lesson.Log();
  log.Line(title);
  for (size_t position = 0; position < m_mapIndexToVAltWords.size(); ++position) {
    const int32_t index = m_mapIndexToVAltWords.IndexAt(position);
    log.Write(u"  ", index, u" :");
    for (const std::u16string& text : m_mapIndexToVAltWords.TextsOf(index))
      log.Write(u" ", text, u";");
    log.Line();
  }
}

}  // namespace verbaro
