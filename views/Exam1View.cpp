#include "views/Exam1View.h"

#include "platform/DiagnosticLog.h"

namespace verbaro {

CExam1View::CExam1View(const Platform& platform, QWidget* parent) : CWordsView(platform, parent) {}

std::u16string CExam1View::GetModeName() const { return u"Модуль \"Экзамен-1\""; }

void CExam1View::OnCreate() {
  LoadPictures(608, QStringLiteral("Res/Exam1.jpg"), 609, QStringLiteral("Res/Exam1Logo.png"));
  m_bIsSound = 1;
  m_bExamMode = 1;
  m_bContraVersa = 0;
}

bool CExam1View::LoadLesson() {
  if (!ResetExamData()) return false;
  return PrepareExamData();
}

bool CExam1View::ResetExamData() {
  m_mapExtAltWordsToVINT.clear();
  m_mapCopyExtGramKeysToMapIndToVWS.clear();
  m_vCopyWordsData.clear();
  m_bShowTrueAnswer = 0;
  m_bQuestionReady = false;
  m_bPlayOnPaint = 1;
  return ReloadData(false);
}

bool CExam1View::PrepareExamData() { return SetWordsData(); }

bool CExam1View::SetWordsData() {
  if (m_vWordsData.empty()) {
    ShowError(u"Нет данных!");
    return false;
  }
  const ExamEntries entries = MergeRowsByWord(m_vWordsData, Log());
  for (const auto& entry : entries) {
    if (entry.second.vwsAltWords.empty()) {
      ShowError(u"CExam1View::SetWordsData() : Множество слов-переводов пусто!");
      return false;
    }
  }
  return RebuildExamRecords(entries, {u"Множество переводов пусто!",
                                      u"nCountAltWords > m_nMaxAltWords"});
}

bool CExam1View::RebuildExamRecords(const ExamEntries& entries, const PreparationTexts& texts) {
  StopSound();
  for (const auto& [key, record] : entries) {
    const size_t count = record.vwsAltWords.size();
    if (count == 0) {
      ShowError(texts.emptyAnswers);
      return false;
    }
    if (count > static_cast<size_t>(m_nMaxAltWords)) {
      ShowInfo(texts.tooManyAnswers);
      return false;
    }
    m_vWordsData.push_back(record);
    if (Logging()) {
      Log()->Write(static_cast<int64_t>(m_vWordsData.size() - 1), u" : [");
      for (int32_t size : record.nvMp3WordSize) Log()->Write(u" ", size);
      Log()->Write(u" ] ", key, u" : ", record.wsKeyWord, u" :");
      for (const std::u16string& answer : record.vwsAltWords) Log()->Write(u" ", answer, u";");
      Log()->Line();
    }
  }
  if (!CreateUserFilters() || !BuildFilterMenu()) return false;

  m_mapExtAltWordsToVINT = BuildAltWordsIndex(m_vWordsData);
  for (const auto& [answer, indexes] : m_mapExtAltWordsToVINT) {
    if (Logging()) {
      Log()->Write(answer, u" :");
      for (int32_t k : indexes) Log()->Write(u" ", k);
      Log()->Line();
    }
    if (indexes.empty()) {
      ShowError(u"CExam1View::SetWordsData() : Множество индексов для переводов пусто!");
      return false;
    }
  }
  SelectUserFilter(kFirstFilterCommand, u"");
  return true;
}

}  // namespace verbaro
