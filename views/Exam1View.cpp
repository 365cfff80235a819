#include "views/Exam1View.h"

#include <QPainter>
#include <iterator>
#include <optional>

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
  m_missedInExam.clear();
  if (!ResetExamData()) return false;
  return PrepareExamData();
}

void CExam1View::TakeFilterRecords(const std::vector<int32_t>& records) {
  // A word missed in the exam before is asked afresh: its first right choice now counts.
  m_missedInExam.clear();
  m_rules.TakeFilter(records);
}

bool CExam1View::ResetExamData() {
  m_rules.Reset();
  m_bPlayOnPaint = 1;
  return ReloadData(false);
}

void CExam1View::OnKeyDown(int virtualKey) {
  MarkWrongChoice(0);
  if (const std::optional<int> choice = ExamChoiceForKey(virtualKey, m_numberedCells))
    OnAnswer(*choice);
}

void CExam1View::OnLButtonDown(int x, int y) {
  MarkWrongChoice(0);
  if (const std::optional<int> choice =
          grid::Geometry::Of(rect()).ExamChoiceAt(x, y, m_numberedCells))
    OnAnswer(*choice);
}

void CExam1View::OnAnswer(int nChoice) {
  std::optional<AskedEntry> asked;
  const uint64_t question = m_rules.QuestionNumber();
  if (Events() && m_rules.HasQuestion()) {
    const WordsData& record = m_vWordsData[static_cast<size_t>(m_rules.m_nTrueRandIndex)];
    asked =
        AskedEntry{record.wsKeyWord, record.wsFrGram, record.wsFrNumber, m_rules.m_wsTrueAltWord};
  }
  const AnswerOutcome outcome = m_rules.OnAnswer(nChoice);
  if (asked) ReportAnswer(*asked, question, outcome);
  if (outcome != AnswerOutcome::Wrong) return;
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
  marks::DrawWrongChoice(painter,
                         QRect(cells.x, cells.RowY(grid::kFirstTranslationRow + m_wrongChoice - 1),
                               cells.width, cells.rowHeight));
}

void CExam1View::ReportAnswer(const AskedEntry& asked, uint64_t question, AnswerOutcome outcome) {
  using progress::ExamAnswer;
  std::optional<ExamAnswer> answer;
  switch (outcome) {
    case AnswerOutcome::Hint: answer = ExamAnswer::Refused; break;
    case AnswerOutcome::Wrong: answer = ExamAnswer::Wrong; break;
    case AnswerOutcome::Learnt:
    case AnswerOutcome::PaidBack: answer = ExamAnswer::RightFirstTry; break;
    default: return;
  }
  const std::u16string word =
      asked.keyWord + u'\n' + asked.gram + u'\n' + asked.number + u'\n' + asked.answer;
  const bool missedBefore = m_missedInExam.count(word) > 0;
  if (*answer != ExamAnswer::RightFirstTry) m_missedInExam.insert(word);
  // Only a question's first choice counts, and a word missed earlier in this exam that is paid
  // back later was not right at the first try: it stays among the missed words.
  const bool firstChoice = question != m_answeredQuestion;
  m_answeredQuestion = question;
  if (firstChoice && !(missedBefore && *answer == ExamAnswer::RightFirstTry)) {
    Events()->ExamAnswered(ModeIndex(), asked, *answer);
  }
  if (outcome != AnswerOutcome::Learnt || m_nTotalCountAltWords != 0) return;
  using Kind = progress::ExamFilter::Kind;
  progress::ExamResult result;  // the mode is the frame's to name
  const int filterId = kFirstFilterCommand + m_nSelectedFilter;
  if (m_nSelectedFilter >= 0 && static_cast<size_t>(m_nSelectedFilter) < m_mapUserFilters.size()) {
    result.filter = {Kind::Lesson, m_nSelectedFilter};
    result.filterName = std::next(m_mapUserFilters.begin(), m_nSelectedFilter)->first;
  } else if (filterId == kMissedFilterCommand) {
    result.filter.kind = Kind::Missed;
    result.filterName = kMissedFilterName;
  } else if (filterId == kDueFilterCommand) {
    result.filter.kind = Kind::Due;
    result.filterName = kDueFilterName;
  } else if (filterId == kHardFilterCommand) {
    result.filter.kind = Kind::Hard;
    result.filterName = kHardFilterName;
  }
  result.right = m_rightAnswers;
  result.wrong = m_wrongAnswers;
  result.hints = m_hints;
  Events()->ExamFinished(ModeIndex(), result);
}

}  // namespace verbaro
