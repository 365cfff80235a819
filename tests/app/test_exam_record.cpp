// Every exam keeps the first choice of each of its questions and its own result, however the
// exam was started: a filter chosen after an exam or in the middle of one, «Повторить их», the
// lesson reopened at the next start, a mode switch and back. A real store and lessons in a
// temporary folder; "a restart" is a new frame on the same store and settings.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <set>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/UserSettings.h"
#include "data/progress/ProgressStore.h"
#include "platform/QtText.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/Files.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/TempFolder.h"
#include "views/Exam1View.h"
#include "views/FilterMenu.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

using progress::Direction;

class ExamRecord : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    const std::u16string words[] = {u"chat", u"chien", u"lapin", u"mouton", u"cheval", u"canard"};
    const std::u16string russian[] = {u"кот", u"собака", u"кролик", u"баран", u"конь", u"утка"};
    std::vector<test::LessonRow> rows;
    for (int i = 0; i < 6; ++i)
      rows.push_back({u"m", u"s", words[i], {russian[i]}, test::ShortMp3()});
    test::WriteLesson(folder.Path() / "animaux.db", rows);
    lesson = QString::fromStdString((folder.Path() / "animaux.db").string());
    store = progress::ProgressStore::Open((folder.Path() / "data" / "progress.sqlite").string(),
                                          fake.clock);
    settings = std::make_unique<UserSettings>(
        QString::fromStdString((folder.Path() / "verbaro.conf").string()));
    Start();
  }
  // A start of the program on the same store and settings, shown, so that a mode reopens the
  // lesson it was left with.
  void Start() {
    frame.reset();
    frame = std::make_unique<CMainFrame>(fake.Get());
    frame->UseSettings(settings.get());
    frame->UseProgressStore(store.get());
    ASSERT_TRUE(frame->CreateFrame(QRect(0, 0, 900, 650)));
    frame->show();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 100) QApplication::processEvents();
  }
  int Mode() const { return GetParam(); }
  Direction Way() const { return Mode() == 4 ? Direction::Forward : Direction::Reverse; }
  CExam1View& Exam() { return static_cast<CExam1View&>(*frame->View(Mode())); }
  void OpenExam() {
    frame->OnCommand(cmd::kFirstMode + Mode());
    if (!Exam().m_vWordsData.empty()) return;  // reopened by itself
    fake.files.answers.push_back(lesson);
    frame->OnCommand(cmd::kOpen);
  }
  // The answers and finished exams the store holds for the lesson, once the queued writes ran.
  size_t Answers() {
    QApplication::processEvents();
    return frame->LessonProgressOf(Mode())->AnswerLog().size();
  }
  std::vector<progress::ExamRecord> Exams() {
    QApplication::processEvents();
    return frame->LessonProgressOf(Mode())->ExamHistory();
  }
  std::vector<int> Missed() {
    QApplication::processEvents();
    return frame->LessonProgressOf(Mode())->MissedEntries(Way());
  }
  // A choice a second after the one before, as a learner makes them.
  void Choose(int cell) {
    ++fake.clock.seconds;
    Exam().OnAnswer(cell);
  }
  void Right() { Choose(Exam().m_trueCellIndex + 1); }
  void Wrong() { Choose(Exam().m_trueCellIndex == 0 ? 2 : 1); }
  // Answers every question right at the first choice until the exam ends; the questions asked.
  int AnswerAllRight() {
    int questions = 0;
    for (int guard = 0; guard < 100 && Exam().m_nTotalCountAltWords > 0; ++guard) {
      if (!Exam().HasQuestion()) break;
      Right();
      ++questions;
    }
    EXPECT_EQ(Exam().m_nTotalCountAltWords, 0);
    return questions;
  }
  // A first exam with `misses` words answered wrongly once, run to its end.
  void ExamWithMisses(size_t misses) {
    OpenExam();
    std::set<std::u16string> missed;
    for (int guard = 0; guard < 100 && missed.size() < misses; ++guard) {
      if (missed.insert(Exam().m_wsKeyWord).second) Wrong();
      Right();  // pays a wrong choice back: the word stays in play and is asked again
    }
    AnswerAllRight();
    ASSERT_EQ(Missed().size(), misses);
  }
  // The Filters menu as the learner opens it: (id, text), separators left out.
  std::vector<std::pair<int, QString>> FiltersShown() {
    emit frame->FiltersMenu()->aboutToShow();
    std::vector<std::pair<int, QString>> items;
    for (QAction* item : frame->FiltersMenu()->actions()) {
      if (!item->isSeparator()) items.emplace_back(item->data().toInt(), item->text());
    }
    return items;
  }
  bool Offered(int id) {
    const auto items = FiltersShown();
    return std::any_of(items.begin(), items.end(),
                       [id](const auto& item) { return item.first == id; });
  }
  // «Повторить их» in the statistics window (F8) of the current mode.
  void ReviewFromStatistics() {
    bool clicked = false;
    QTimer::singleShot(0, [&] {
      QWidget* window = QApplication::activeModalWidget();
      if (!window) return;
      for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Повторить их") && button->isVisible() &&
            button->isEnabled()) {
          button->click();
          clicked = true;
          break;
        }
      }
      if (window->isVisible()) window->close();
    });
    frame->OnCommand(cmd::kLessonStatistics);
    ASSERT_TRUE(clicked);
  }
  // After a restart the words answered right are no longer missed: the review filter is gone
  // (all of them were answered right) and the store agrees.
  void ExpectNoMissedAfterRestart() {
    Start();
    OpenExam();
    EXPECT_TRUE(Missed().empty());
    EXPECT_FALSE(Offered(kMissedFilterCommand));
  }

  // A first exam with `misses` words missed, then the exam that `review` starts, answered all
  // right: each first choice is kept, the new exam has its own result, and after a restart
  // nothing is missed. Returns the exams kept, the newest first.
  std::vector<progress::ExamRecord> ReviewedAllRight(size_t misses,
                                                     const std::function<void()>& review) {
    ExamWithMisses(misses);
    const size_t before = Answers();
    review();
    if (HasFatalFailure()) return {};
    const int given = AnswerAllRight();
    EXPECT_GT(given, 0);
    EXPECT_EQ(Answers(), before + static_cast<size_t>(given));
    EXPECT_TRUE(Missed().empty());
    const auto exams = Exams();
    EXPECT_EQ(exams.size(), 2u);
    if (exams.size() == 2u) {
      EXPECT_EQ(exams[0].result.right, given);
      EXPECT_EQ(exams[0].result.wrong, 0);
      EXPECT_EQ(exams[1].result.wrong, static_cast<int>(misses));
    }
    ExpectNoMissedAfterRestart();
    return exams;
  }

  test::TempFolder folder;
  QString lesson;
  FakePlatform fake;
  std::unique_ptr<progress::ProgressStore> store;
  std::unique_ptr<UserSettings> settings;
  std::unique_ptr<CMainFrame> frame;
};

TEST_P(ExamRecord, MissedWordsChosenFromTheFiltersMenuAfterAnExamAreKeptAndLeaveTheList) {
  const auto exams = ReviewedAllRight(2, [this] {
    ASSERT_EQ(Exams().size(), 1u);
    ASSERT_TRUE(Offered(kMissedFilterCommand));
    frame->OnCommand(kMissedFilterCommand);
    ASSERT_EQ(Exam().m_nTotalCountAltWords, 2);
  });
  ASSERT_EQ(exams.size(), 2u);
  EXPECT_EQ(exams[0].result.filter.kind, progress::ExamFilter::Kind::Missed);
  EXPECT_EQ(exams[0].result.filterName, kMissedFilterName);
  EXPECT_EQ(exams[0].result.right, 2);
}

TEST_P(ExamRecord, TheExamThatRepeatItStartsKeepsItsAnswers) {
  ReviewedAllRight(1, [this] { ReviewFromStatistics(); });
}

TEST_P(ExamRecord, AnExamReopenedAtTheNextStartKeepsItsAnswers) {
  const auto exams = ReviewedAllRight(1, [this] {
    Start();
    frame->OnCommand(cmd::kFirstMode + Mode());
    ASSERT_FALSE(Exam().m_vWordsData.empty()) << "the exam's lesson reopens by itself";
    EXPECT_EQ(fake.files.requests, 1);
    ASSERT_TRUE(Offered(kMissedFilterCommand));
    frame->OnCommand(kMissedFilterCommand);
  });
  ASSERT_EQ(exams.size(), 2u);
  EXPECT_EQ(exams[0].result.right, 1);
}

TEST_P(ExamRecord, AFilterChosenInTheMiddleOfAnExamStartsANewExamForTheRecord) {
  OpenExam();
  const std::u16string missed = Exam().m_wsKeyWord;
  Wrong();  // the word on screen is missed, and the learner leaves this exam
  ASSERT_EQ(Answers(), 1u);
  ASSERT_TRUE(Offered(kMissedFilterCommand));

  frame->OnCommand(kMissedFilterCommand);
  EXPECT_EQ(Exam().m_wsKeyWord, missed);
  // The rules still owe the wrong choice: the first right choice pays it back and the word is
  // asked again. Both are first choices of questions of the new exam.
  Right();
  EXPECT_EQ(Answers(), 2u);
  EXPECT_EQ(AnswerAllRight(), 1);
  EXPECT_EQ(Answers(), 3u);
  EXPECT_TRUE(Missed().empty());
  auto exams = Exams();
  ASSERT_EQ(exams.size(), 1u) << "the exam left in the middle has no result";
  EXPECT_EQ(exams[0].result.filter.kind, progress::ExamFilter::Kind::Missed);
  EXPECT_EQ(exams[0].result.right, 1);
  EXPECT_EQ(exams[0].result.wrong, 0);

  // All words after that: the word learnt stays learnt, the five others are asked.
  frame->OnCommand(kFirstFilterCommand);
  EXPECT_EQ(AnswerAllRight(), 5);
  EXPECT_EQ(Answers(), 3u + 5u);
  exams = Exams();
  ASSERT_EQ(exams.size(), 2u);
  EXPECT_EQ(exams[0].result.filter, progress::ExamFilter{});
  EXPECT_EQ(exams[0].result.right, 5);
  ExpectNoMissedAfterRestart();
}

TEST_P(ExamRecord, AQuestionBroughtByARepaintAfterAWrongChoiceHasItsOwnFirstChoice) {
  OpenExam();
  Wrong();
  ASSERT_EQ(Answers(), 1u);
  // Away and back: the same question, whose first choice was told already.
  const uint64_t asked = Exam().Rules().QuestionNumber();
  frame->OnCommand(cmd::kFirstMode);
  frame->OnCommand(cmd::kFirstMode + Mode());
  ASSERT_EQ(Exam().Rules().QuestionNumber(), asked);
  Wrong();
  EXPECT_EQ(Answers(), 1u) << "a second choice of the same question";
  // The header switched off and on asks a new question; its first choice counts.
  frame->OnCommand(cmd::kToggleHeader);
  frame->OnCommand(cmd::kToggleHeader);
  ASSERT_GT(Exam().Rules().QuestionNumber(), asked);
  Wrong();
  EXPECT_EQ(Answers(), 2u);
  // A refusal keeps its question: the choices after it are not first choices.
  Choose(0);
  Right();
  EXPECT_EQ(Answers(), 2u);
  // The next question: a refusal is its first choice.
  Choose(0);
  EXPECT_EQ(Answers(), 3u);
  Right();
  EXPECT_EQ(Answers(), 3u);
  // Run to its end, the exam keeps its own counts, the switch away and back included.
  AnswerAllRight();
  const auto exams = Exams();
  ASSERT_EQ(exams.size(), 1u);
  EXPECT_EQ(IndexOf(exams[0].result.mode), Mode());
  EXPECT_EQ(exams[0].result.filter, progress::ExamFilter{});
  EXPECT_EQ(exams[0].result.right, 6);
  EXPECT_EQ(exams[0].result.wrong, 3);
  EXPECT_EQ(exams[0].result.hints, 2);
  // A wrong first choice is Again, in the exam's own direction only.
  progress::LessonProgress* progress = frame->LessonProgressOf(Mode());
  EXPECT_EQ(progress->AnswerLog()[0].grade, 1);
  EXPECT_TRUE(
      progress->MissedEntries(Way() == Direction::Forward ? Direction::Reverse : Direction::Forward)
          .empty());
}

INSTANTIATE_TEST_SUITE_P(BothExams, ExamRecord, ::testing::Values(4, 5),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == 4 ? std::string("Exam1") : std::string("Exam2");
                         });

}  // namespace
}  // namespace verbaro
