#include "views/Exam1View.h"

#include <QPainter>

#include "data/ExamInput.h"
#include "views/AnswerMarks.h"
#include "views/EntryGrid.h"

namespace verbaro {

CExam1View::CExam1View(const Platform& platform, QWidget* parent)
    : CWordsView(platform, parent), m_rules(*this, platform.clock) {}

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
  m_rules.Reset();
  m_bPlayOnPaint = 1;
  return ReloadData(false);
}

void CExam1View::OnKeyDown(int virtualKey) {
  MarkWrongChoice(0);
  if (const std::optional<int> choice = ExamChoiceForKey(virtualKey, m_nNumberedCells))
    OnAnswer(*choice);
}

void CExam1View::OnLButtonDown(int x, int y) {
  MarkWrongChoice(0);
  if (const std::optional<int> choice = ExamChoiceAtPoint(width(), height(), x, y, m_nNumberedCells))
    OnAnswer(*choice);
}

void CExam1View::OnAnswer(int nChoice) {
  if (m_rules.OnAnswer(nChoice) != AnswerOutcome::Wrong) return;
  // The screen keeps the question; the mark shows which choice was wrong, also with sound off.
  MarkWrongChoice(nChoice);
  PlayErrorSignal();
}

void CExam1View::Repaint() {
  m_wrongChoice = 0;
  CWordsView::Repaint();
}

void CExam1View::MarkWrongChoice(int choice) {
  if (choice == m_wrongChoice) return;
  m_wrongChoice = choice;
  update();
}

void CExam1View::paintEvent(QPaintEvent* event) {
  CWordsView::paintEvent(event);
  if (m_wrongChoice <= 0) return;
  const grid::Geometry cells = grid::Geometry::Of(rect());
  QPainter painter(this);
  marks::DrawWrongChoice(painter, QRect(cells.x, cells.RowY(grid::kFirstTranslationRow + m_wrongChoice - 1),
                                        cells.width, cells.rowHeight));
}

}  // namespace verbaro
