// A long randomised exam: thousands of key presses and clicks (right, wrong, refused and
// meaningless ones), filter selections, show/hide switches and repaints, with the clock stepping
// by whole seconds. After every step the scoring rules and the bookkeeping of the answers still
// in play are checked; at the end the test is always brought to its statistics message.
#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <set>

#include "data/ExamInput.h"
#include "platform/QtText.h"
#include "support/ExamFixture.h"
#include "views/EntryGrid.h"

namespace verbaro::examtest {
namespace {

// Groups of several sizes, shared and repeated translations, merged rows, a record alone in its
// group, a record with five answers, phrases, a row without answers and rows that no question
// could ask (they stay out of the exam).
std::vector<LessonRow> MixedLesson() {
  return {
      Row(u"chat", u"m", u"s", {u"кот", u"котик"}),
      Row(u"matou", u"m", u"s", {u"кот"}),
      Row(u"chaton", u"m", u"s", {u"котёнок", u"котик"}),
      Row(u"chien", u"m", u"s", {u"пёс", u"собака"}),
      Row(u"chien", u"m", u"s", {u"собачка"}),
      Row(u"livre", u"m", u"s", {u"книга"}),
      Row(u"yeux", u"m", u"p", {u"глаза", u"очи"}),
      Row(u"cheveux", u"m", u"p", {u"волосы"}),
      Row(u"maison", u"f", u"s", {u"дом", u"дом"}),
      Row(u"logis", u"f", u"s", {u"дом", u"жильё"}),
      Row(u"table", u"f", u"s", {u"стол"}),
      Row(u"fleurs", u"f", u"p", {u"цветы"}),
      Row(u"aimer", u"v", u"", {u"любить", u"нравиться"}),
      Row(u"faire", u"v", u"", {u"делать", u"сделать", u"заставлять", u"совершать", u"творить"}),
      Row(u"aller", u"v", u"", {u"идти", u"ехать"}),
      Row(u"venir", u"v", u"", {u"идти", u"приходить"}),
      Row(u"grand", u"adj,m", u"", {u"большой"}),
      Row(u"vite", u"adv", u"", {u"быстро"}),
      Row(u"bonjour à tous", u"~~", u"", {u"всем привет"}),
      Row(u"salut", u"~", u"", {u"привет"}),
      Row(u"rien", u"m", u"s", {}),
      Row(u"être", u"v", u"s", {u"быть"}),
      Row(u"eau", u"f", u"", {u"вода"}),
      Row(u"beau", u"adj", u"", {u"красивый"}),
  };
}

struct Question {
  int32_t record, answer, cell;
  std::vector<std::u16string> cells;
  bool operator==(const Question&) const = default;
};

Question QuestionOf(const CExam1View& view) {
  return {view.Rules().m_nTrueRandIndex, view.m_nTrueInd, view.m_trueCellIndex, view.m_vwsAltWords};
}

int AnswersIn(const CExam1View& view, const std::vector<int32_t>& records, bool workingCopy) {
  int sum = 0;
  for (int32_t r : records) {
    const bool copied = workingCopy && !view.Rules().m_vCopyWordsData.empty();
    sum += static_cast<int>(copied ? view.Rules().m_vCopyWordsData.at(r).answers.size()
                                   : view.m_vWordsData.at(r).vwsAltWords.size());
  }
  return sum;
}

std::u16string Statistics(const CExam1View& view) {
  return u"Данные закончились! Ваша статистика:\nПравильно: " + ToU16(view.m_rightAnswers) +
         u"; Неправильно: " + ToU16(view.m_wrongAnswers) + u"; Подсказок: " + ToU16(view.m_hints);
}

class ExamLongRun : public ExamTest, public ::testing::WithParamInterface<bool> {
 protected:
  // What the selected filter put into play.
  struct Selection {
    std::vector<int32_t> records;  // all records of the filter
    int answers = 0;               // answers left to learn when it was selected
  };

  void NoteSelection(const CExam1View& view, std::vector<int32_t> records) {
    selection.records = std::move(records);
    selection.answers = view.m_nTotalCountAltWords;
  }

  // Selects filter id and records what it put into play when the id names a filter; also tells
  // whether some of its answers were learnt already, and whether it was taken afresh.
  bool Select(CExam1View& view, int id) {
    const bool valid = id - kFirstFilterCommand < static_cast<int>(view.m_mapUserFilters.size());
    if (!valid) {
      view.SelectUserFilter(id, u"");
      return false;
    }
    const std::vector<int32_t> records =
        std::next(view.m_mapUserFilters.begin(), id - kFirstFilterCommand)->second;
    const int inCopy = AnswersIn(view, records, true);
    const int inLesson = AnswersIn(view, records, false);
    view.SelectUserFilter(id, u"");
    questionRefused = false;
    NoteSelection(view, records);
    if (inCopy == 0) {
      ++stats.restarted;
      EXPECT_EQ(view.m_nTotalCountAltWords, inLesson) << "a finished filter starts afresh";
    } else {
      if (inCopy < inLesson) ++stats.uncleanSelections;
      EXPECT_EQ(view.m_nTotalCountAltWords, inCopy) << "learnt answers stay learnt";
    }
    return true;
  }

  void CheckInvariants(const CExam1View& view) {
    ASSERT_GE(view.m_rightAnswers, 0);
    ASSERT_GE(view.m_wrongAnswers, 0);
    ASSERT_GE(view.m_hints, 0);
    ASSERT_GE(view.m_nTotalCountAltWords, 0);
    // Every learnt answer moves one unit from "left" to "right".
    ASSERT_EQ(view.m_nTotalCountAltWords + view.m_rightAnswers, selection.answers);
    // Records in play: part of the selected filter, each once; exactly those of its records with
    // answers left, and the count left is exactly those answers.
    std::set<int32_t> seen;
    for (int32_t r : view.m_vUserIndexes) {
      ASSERT_TRUE(seen.insert(r).second);
      ASSERT_NE(std::find(selection.records.begin(), selection.records.end(), r),
                selection.records.end());
    }
    for (int32_t r : selection.records) {
      ASSERT_EQ(seen.count(r) == 1, !view.Rules().m_vCopyWordsData.at(r).answers.empty());
    }
    ASSERT_EQ(view.m_nTotalCountAltWords, AnswersIn(view, view.m_vUserIndexes, true));
    ASSERT_EQ(view.Rules().m_vCopyWordsData.size(), view.m_vWordsData.size());
    for (size_t r = 0; r < view.Rules().m_vCopyWordsData.size(); ++r) {
      const auto& copy = view.Rules().m_vCopyWordsData[r];
      ASSERT_EQ(copy.vnWordErrors.size(), copy.answers.size());
      for (int32_t errors : copy.vnWordErrors) ASSERT_GE(errors, 0);
      // The owed answers are some of the record's, each once, in the record's order.
      for (size_t i = 0; i < copy.answers.size(); ++i) {
        ASSERT_LT(copy.answers[i], view.m_vWordsData[r].vwsAltWords.size());
        if (i > 0) {
          ASSERT_LT(copy.answers[i - 1], copy.answers[i]) << "the copy only loses answers";
        }
      }
    }
    // Every record of the exam has a group, so a question exists exactly while one is in play.
    ASSERT_EQ(view.HasQuestion(), !view.m_vUserIndexes.empty());
    ASSERT_EQ(view.m_showTrueAnswer, 0);
    ASSERT_LE(view.m_vwsAltWords.size(), 5u);
  }

  // Runs one choice (or a non-choice) and checks its outcome against the scoring rules.
  void Choose(CExam1View& view, std::optional<int> choice, const std::function<void()>& act) {
    const Question before = QuestionOf(view);
    const int right = view.m_rightAnswers, wrong = view.m_wrongAnswers, hints = view.m_hints;
    const int left = view.m_nTotalCountAltWords;
    const int errorSignals = fake.errorSignal.plays;
    const bool answerable = view.HasQuestion();
    const int errors = answerable ? RightAnswerErrors(view) : 0;
    const size_t answersLeft =
        answerable ? view.Rules().m_vCopyWordsData[before.record].answers.size() : 0;
    fake.messages.Clear();
    act();

    const auto unchanged = [&] {
      EXPECT_EQ(QuestionOf(view), before);
      EXPECT_EQ(view.m_rightAnswers, right);
      EXPECT_EQ(view.m_wrongAnswers, wrong);
      EXPECT_EQ(view.m_hints, hints);
      EXPECT_EQ(fake.errorSignal.plays, errorSignals);
    };
    if (!choice) {
      unchanged();
      EXPECT_TRUE(Messages().empty());
      return;
    }
    if (left == 0) {
      ++stats.afterEnd;
      unchanged();
      EXPECT_EQ(Messages(), std::vector<QString>{QStringLiteral("Данные закончились!")});
      return;
    }
    if (!answerable || *choice > static_cast<int>(before.cells.size())) {
      ++stats.ignored;
      unchanged();
      EXPECT_TRUE(Messages().empty());
      return;
    }
    if (*choice == 0) {
      ++stats.refusals;
      EXPECT_EQ(QuestionOf(view), before);
      EXPECT_EQ(view.m_hints, hints + 1);
      EXPECT_EQ(view.m_rightAnswers + view.m_wrongAnswers, right + wrong);
      // The first refusal of a question makes its right answer owe one more right choice.
      EXPECT_EQ(RightAnswerErrors(view), errors + (questionRefused ? 0 : 1));
      questionRefused = true;
      EXPECT_TRUE(Messages().empty());
      return;
    }
    if (*choice - 1 != before.cell) {
      ++stats.wrong;
      EXPECT_EQ(QuestionOf(view), before);
      EXPECT_EQ(view.m_wrongAnswers, wrong + 1);
      EXPECT_EQ(RightAnswerErrors(view), errors + 1);
      EXPECT_EQ(fake.errorSignal.plays, errorSignals + 1);
      EXPECT_TRUE(Messages().empty());
      return;
    }
    EXPECT_EQ(view.m_wrongAnswers, wrong);
    EXPECT_EQ(view.m_hints, hints);
    questionRefused = false;  // the right choice asks the next question
    if (errors > 0) {
      ++stats.paidBack;
      EXPECT_EQ(view.m_rightAnswers, right);
      EXPECT_EQ(view.m_nTotalCountAltWords, left);
      EXPECT_EQ(view.Rules().m_vCopyWordsData[before.record].vnWordErrors[before.answer],
                errors - 1);
      EXPECT_TRUE(Messages().empty());
      return;
    }
    ++stats.learnt;
    EXPECT_EQ(view.m_rightAnswers, right + 1);
    EXPECT_EQ(view.m_nTotalCountAltWords, left - 1);
    EXPECT_EQ(view.Rules().m_vCopyWordsData[before.record].answers.size(), answersLeft - 1);
    if (left == 1) {
      ++stats.finished;
      EXPECT_EQ(Messages(), std::vector<QString>{ToQ(Statistics(view))});
    } else {
      EXPECT_TRUE(Messages().empty());
    }
  }

  void PressKey(CExam1View& view, int key) {
    Choose(view, ExamChoiceForKey(key, view.m_numberedCells), [&] { view.OnKeyDown(key); });
  }

  void Click(CExam1View& view, int x, int y) {
    Choose(view, grid::Geometry::Of(view.rect()).ExamChoiceAt(x, y, view.m_numberedCells),
           [&] { view.OnLButtonDown(x, y); });
  }

  Selection selection;
  bool questionRefused = false;
  struct {
    int learnt = 0, paidBack = 0, wrong = 0, refusals = 0, ignored = 0, afterEnd = 0, finished = 0;
    int stuck = 0, uncleanSelections = 0, restarted = 0;
  } stats;
};

TEST_P(ExamLongRun, CountersAndAnswersInPlayStayConsistentAndTheTestAlwaysEnds) {
  std::unique_ptr<CExam1View> view;
  if (GetParam()) view = MakeView<CExam2View>();
  else view = MakeView<CExam1View>();
  ASSERT_TRUE(Open(*view, MixedLesson()));
  NoteSelection(*view, view->m_vUserIndexes);
  const int filters = static_cast<int>(view->m_mapUserFilters.size());
  ASSERT_GE(filters, 8);

  std::mt19937 random(GetParam() ? 20240611u : 19700101u);
  const auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  const auto upTo = [&](int n) {
    return static_cast<int>(random() % static_cast<unsigned>(n + 1));
  };

  constexpr int kSteps = 4000;
  for (int step = 0; step < kSteps; ++step) {
    SCOPED_TRACE(step);
    fake.clock.seconds += upTo(2);
    // After the end of a test the learner soon chooses a filter (action 90).
    const int action = view->m_nTotalCountAltWords == 0 && chance(30) ? 90 : upTo(99);
    if (action < 40) {
      PressKey(*view, kVkDigit0 + view->m_trueCellIndex + 1);  // the right cell, if there is one
    } else if (action < 55) {
      PressKey(*view, (chance(50) ? kVkDigit0 : kVkNumpad0) + upTo(9));
    } else if (action < 63) {
      PressKey(*view, kVkDigit0 + (WrongCell(*view) == 0 ? upTo(5) : WrongCell(*view)));
    } else if (action < 80) {
      Click(*view, upTo(1000) - 1, upTo(600) - 1);
    } else if (action < 85) {
      Click(*view, 500, 300 + 50 * upTo(4) + upTo(50));  // inside the cell area
    } else if (action < 90) {
      PressKey(*view, chance(50) ? kVkDigit0 : kVkNumpad0);
    } else if (action < 94) {
      const int id = kFirstFilterCommand + upTo(filters);  // now and then one past the last
      Select(*view, id);
    } else if (action < 96) {
      fake.messages.Clear();
      questionRefused = false;  // the switch repaints, which asks anew
      if (chance(50)) view->ToggleTranslations();
      else view->ToggleHeader();
      for (const QString& text : Messages())
        EXPECT_TRUE(text.startsWith(ToQ(view->GetModeName() + u" :\n")));
    } else {
      questionRefused = false;
      view->Repaint();  // as a change of the window's size does
    }
    if (view->m_vUserIndexes.empty() && view->m_nTotalCountAltWords > 0) ++stats.stuck;
    CheckInvariants(*view);
    if (HasFatalFailure() || HasFailure()) return;
  }

  // Bring the test to its end: show the cells, answer right.
  if (view->m_bHidePerevod) view->ToggleTranslations();
  if (view->m_nTotalCountAltWords == 0) Select(*view, kFirstFilterCommand);
  int presses = 0;
  while (view->m_nTotalCountAltWords > 0 && presses < 1000) {
    ++fake.clock.seconds;
    PressKey(*view, kVkDigit0 + view->m_trueCellIndex + 1);
    CheckInvariants(*view);
    ++presses;
  }
  EXPECT_EQ(view->m_nTotalCountAltWords, 0) << "the test did not end";

  std::printf(
      "learnt %d, paid back %d, wrong %d, refusals %d, ignored %d, after the end %d, "
      "finished %d, stuck steps %d, selections with learnt answers %d, restarted %d, "
      "final presses %d\n",
      stats.learnt, stats.paidBack, stats.wrong, stats.refusals, stats.ignored, stats.afterEnd,
      stats.finished, stats.stuck, stats.uncleanSelections, stats.restarted, presses);
  // The run went through every kind of outcome.
  EXPECT_GT(stats.learnt, 100);
  EXPECT_GT(stats.paidBack, 20);
  EXPECT_GT(stats.wrong, 100);
  EXPECT_GT(stats.refusals, 50);
  EXPECT_GT(stats.ignored, 20);
  EXPECT_EQ(stats.stuck, 0) << "answers were left that nothing could ask";
  EXPECT_GT(stats.afterEnd, 0);
  EXPECT_GE(stats.finished, 2);
  EXPECT_GT(stats.uncleanSelections, 0);
  EXPECT_GT(stats.restarted, 0);
}

INSTANTIATE_TEST_SUITE_P(BothDirections, ExamLongRun, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Exam2" : "Exam1"; });

}  // namespace
}  // namespace verbaro::examtest
