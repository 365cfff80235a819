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

}  // namespace verbaro
