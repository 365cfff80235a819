#include "views/Exam2View.h"

namespace verbaro {

CExam2View::CExam2View(const Platform& platform, QWidget* parent) : CExam1View(platform, parent) {}

std::u16string CExam2View::GetModeName() const { return u"Модуль \"Экзамен-2\""; }

void CExam2View::OnCreate() {
  LoadPictures(610, QStringLiteral("Res/Exam2.jpg"), 611, QStringLiteral("Res/Exam2Logo.png"));
  m_bIsSound = 1;
  m_bExamMode = 1;
  m_bContraVersa = 1;
}

bool CExam2View::PrepareExamData() { return SetAltWordsData(); }

bool CExam2View::SetAltWordsData() {
  if (m_vWordsData.empty()) return false;
  // The merged records are made with empty text lines, so they are appended as they are.
  const ExamEntries entries = MergeRowsByTranslation(m_vWordsData, Log());
  return RebuildExamRecords(entries, {u"Множество слов-оригиналов пусто!",
                                      u"nCountFrWords > m_nMaxAltWords"});
}

}  // namespace verbaro
