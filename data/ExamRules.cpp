// The exam rules: reset, the two preparations and the records a chosen filter puts into play.
#include "data/ExamRules.h"

#include <algorithm>

#include "data/DiagnosticLog.h"
#include "data/LessonState.h"

namespace verbaro {

ExamRules::ExamRules(LessonState& lesson, const Clock* clock) : m_lesson(lesson), m_clock(clock) {}

bool ExamRules::Logging() const {
  return m_lesson.Log() != nullptr && m_lesson.Log()->IsAttached();
}

void ExamRules::ShowError(std::u16string_view text) {
  m_lesson.ShowMessage(MessageKind::Error, text);
}

void ExamRules::ShowInfo(std::u16string_view text) {
  m_lesson.ShowMessage(MessageKind::Information, text);
}

void ExamRules::Reset() {
  m_mapExtAltWordsToVINT.clear();
  m_mapIndexToVAltWords.clear();
  m_vCopyWordsData.clear();
  m_lesson.m_showTrueAnswer = 0;
  m_questionReady = false;
  m_refused = false;
}

bool ExamRules::SetWordsData() {
  if (m_lesson.m_vWordsData.empty()) {
    ShowError(u"Нет данных!");
    return false;
  }
  // The rows read are not needed after this: their texts move into the exam records.
  ExamEntries entries = MergeRowsByWord(std::move(m_lesson.m_vWordsData), m_lesson.Log());
  for (const WordsData& entry : entries.records) {
    if (entry.vwsAltWords.empty()) {
      ShowError(u"CExam1View::SetWordsData() : Множество слов-переводов пусто!");
      return false;
    }
  }
  return RebuildExamRecords(entries,
                            {u"Множество переводов пусто!", u"nCountAltWords > m_nMaxAltWords"});
}

bool ExamRules::SetAltWordsData() {
  if (m_lesson.m_vWordsData.empty()) return false;
  // The merged records are made with empty text lines, so they are appended as they are.
  ExamEntries entries = MergeRowsByTranslation(std::move(m_lesson.m_vWordsData), m_lesson.Log());
  return RebuildExamRecords(
      entries, {u"Множество слов-оригиналов пусто!", u"nCountFrWords > m_nMaxAltWords"});
}

bool ExamRules::RebuildExamRecords(ExamEntries& entries, const PreparationTexts& texts) {
  m_lesson.StopSound();
  // The records change, so the working copy and the candidates made from the old ones go.
  m_vCopyWordsData.clear();
  m_mapIndexToVAltWords.clear();
  m_questionReady = false;
  // The records up to the first one with no answer or too many are kept; that one ends the
  // preparation. The merged list becomes the lesson's as it is instead of record by record.
  const auto limit = static_cast<size_t>(m_lesson.m_nMaxAltWords);
  const auto failing =
      std::find_if(entries.records.begin(), entries.records.end(), [limit](const WordsData& r) {
        return r.vwsAltWords.empty() || r.vwsAltWords.size() > limit;
      });
  const bool noAnswer = failing != entries.records.end() && failing->vwsAltWords.empty();
  const size_t merged = entries.records.size();
  const auto kept = failing - entries.records.begin();
  std::vector<WordsData>& records = m_lesson.m_vWordsData;
  records = std::move(entries.records);
  records.erase(records.begin() + kept, records.end());
  DiagnosticLog* log = m_lesson.Log();
  if (Logging()) {
    for (size_t m = 0; m < records.size(); ++m) {
      const WordsData& kept = records[m];
      log->Write(static_cast<int64_t>(m), u" : [");
      for (int32_t size : kept.nvMp3WordSize) log->Write(u" ", size);
      log->Write(u" ] ", entries.Key(m), u" : ", kept.wsKeyWord, u" :");
      for (const std::u16string& answer : kept.vwsAltWords) log->Write(u" ", answer, u";");
      log->Line();
    }
  }
  if (records.size() < merged) {
    if (noAnswer) {
      ShowError(texts.emptyAnswers);
    } else {
      ShowInfo(texts.tooManyAnswers);
    }
    return false;
  }
  if (!m_lesson.CreateUserFilters() || !m_lesson.BuildFilterMenu()) return false;

  // Every key of the index is made with a record, so none has an empty list. Exam-1 tests its
  // wrong answers against it; Exam-2 never reads it, so it is made there only to be listed.
  m_mapExtAltWordsToVINT.Over(records);
  if (Logging()) {
    m_mapExtAltWordsToVINT.ForEach(
        [log](std::u16string_view answer, const std::vector<int32_t>& indexes) {
          log->Write(answer, u" :");
          for (int32_t k : indexes) log->Write(u" ", k);
          log->Line();
        });
  }
  m_lesson.SelectUserFilter(kFirstFilterCommand, u"");
  return true;
}

void ExamRules::OweAll(ExamProgress& progress, const WordsData& record) {
  const auto count = static_cast<uint8_t>(record.vwsAltWords.size());
  progress.answers.clear();
  for (uint8_t i = 0; i < count; ++i) progress.answers.push_back(i);
  progress.vnWordErrors.assign(count, 0);
}

void ExamRules::CopyWordsData() {
  const std::vector<WordsData>& lesson = m_lesson.m_vWordsData;
  m_vCopyWordsData.assign(lesson.size(), {});
  for (size_t r = 0; r < lesson.size(); ++r) OweAll(m_vCopyWordsData[r], lesson[r]);
}

bool ExamRules::IsKnownRecord(int index) const {
  return index >= 0 && static_cast<size_t>(index) < m_lesson.m_vWordsData.size() &&
         static_cast<size_t>(index) < m_vCopyWordsData.size();
}

void ExamRules::TakeFilter(const std::vector<int32_t>& records) {
  const std::vector<WordsData>& lesson = m_lesson.m_vWordsData;
  if (m_vCopyWordsData.empty()) CopyWordsData();
  const auto known = [&](int32_t r) { return IsKnownRecord(r); };
  bool anyLeft = false;
  for (const int32_t r : records) {
    if (known(r) && !m_vCopyWordsData[r].answers.empty()) anyLeft = true;
  }
  if (!anyLeft) {
    // Everything of this filter was learnt: the learner takes it again from the start.
    for (const int32_t r : records) {
      if (known(r)) OweAll(m_vCopyWordsData[r], lesson[r]);
    }
  }
  m_lesson.m_vUserIndexes.clear();
  m_lesson.m_nTotalCountAltWords = 0;
  for (const int32_t r : records) {
    if (!known(r) || m_vCopyWordsData[r].answers.empty()) continue;
    m_lesson.m_vUserIndexes.push_back(r);
    m_lesson.m_nTotalCountAltWords += static_cast<int32_t>(m_vCopyWordsData[r].answers.size());
  }
  if (Logging()) {
    m_lesson.Log()->Line(u"В игре записей: ", m_lesson.m_vUserIndexes.size(),
                         u"; осталось ответов: ", m_lesson.m_nTotalCountAltWords);
  }
}

}  // namespace verbaro
