// Answering: keys and clicks, the scoring of right, wrong and refused answers, the highlight of
// a refusal, the end of the test with its statistics, and choices with nothing to answer.
#include <algorithm>

#include "data/ExamInput.h"
#include "support/ExamFixture.h"

namespace verbaro::examtest {
namespace {

using ExamAnswers = ExamTest;

struct Score {
  int right, wrong, hints, left;
  bool operator==(const Score&) const = default;
};

Score ScoreOf(const CExam1View& view) {
  return {view.m_rightAnswers, view.m_wrongAnswers, view.m_hints, view.m_nTotalCountAltWords};
}

std::ostream& operator<<(std::ostream& out, const Score& s) {
  return out << "right " << s.right << ", wrong " << s.wrong << ", hints " << s.hints << ", left "
             << s.left;
}

std::vector<LessonRow> ThreeNouns() {
  return {Row(u"a", u"m", u"s", {u"А"}), Row(u"b", u"m", u"s", {u"Б"}),
          Row(u"c", u"m", u"s", {u"В"})};
}

// The middle of answer cell k on a 1000 x 600 client area.
int CellY(int k) { return (5 + k) * 50 + 25; }

int FilterId(const CExam1View& view, const std::u16string& name) {
  int id = kFirstFilterCommand;
  for (const auto& filter : view.m_mapUserFilters) {
    if (filter.first == name) return id;
    ++id;
  }
  ADD_FAILURE() << "no such filter";
  return 0;
}

TEST_F(ExamAnswers, WrongWrongRightKeepsTheAnswerInPlayUntilItsErrorsArePaidBack) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(Open(*view, ThreeNouns()));
  const int asked = view->Rules().m_nTrueRandIndex;
  const auto cells = Cells(*view);
  ASSERT_EQ(cells.size(), 3u);
  std::vector<int> wrongCells;
  for (int k = 1; k <= 3; ++k)
    if (k != RightCell(*view)) wrongCells.push_back(k);

  EXPECT_EQ(RightAnswerErrors(*view), 0);
  Press(*view, wrongCells[0]);
  EXPECT_EQ(RightAnswerErrors(*view), 1);
  EXPECT_EQ(fake.errorSignal.plays, 1);
  EXPECT_EQ(Cells(*view), cells) << "a wrong choice leaves the question on screen";
  view->OnKeyDown(kVkNumpad0 + wrongCells[1]);
  EXPECT_EQ(RightAnswerErrors(*view), 2);
  EXPECT_EQ(fake.errorSignal.plays, 2);
  EXPECT_EQ(ScoreOf(*view), (Score{0, 2, 0, 3}));

  // The right choice now pays back one error; the next question asks the same record again.
  UseDraw([asked](int v) { return v % 3 == asked; });
  Press(*view, RightCell(*view));
  EXPECT_EQ(ScoreOf(*view), (Score{0, 2, 0, 3}));
  ASSERT_EQ(view->Rules().m_nTrueRandIndex, asked);
  EXPECT_EQ(RightAnswerErrors(*view), 1);

  Press(*view, RightCell(*view));
  EXPECT_EQ(ScoreOf(*view), (Score{0, 2, 0, 3}));
  ASSERT_EQ(view->Rules().m_nTrueRandIndex, asked);
  EXPECT_EQ(RightAnswerErrors(*view), 0);

  Press(*view, RightCell(*view));
  EXPECT_EQ(ScoreOf(*view), (Score{1, 2, 0, 2})) << "only now is the answer learnt";
  EXPECT_EQ(std::count(view->m_vUserIndexes.begin(), view->m_vUserIndexes.end(), asked), 0);
  EXPECT_EQ(fake.errorSignal.plays, 2);
}

TEST_F(ExamAnswers, ARefusalHighlightsTheRightCellKeepsTheQuestionAndCountsAHint) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(Open(*view, ThreeNouns()));
  const auto cells = Cells(*view);
  const int right = RightCell(*view);
  const int other = WrongCell(*view);
  const QImage before = view->BackBuffer();

  fake.clock.seconds += 7;  // a rebuilt question would differ; the refusal keeps this one
  Press(*view, 0);
  EXPECT_EQ(ScoreOf(*view), (Score{0, 0, 1, 3}));
  EXPECT_EQ(Cells(*view), cells);
  EXPECT_EQ(RightCell(*view), right);
  EXPECT_EQ(view->m_showTrueAnswer, 0) << "the highlight lasts one repaint";

  // The highlight (0x600000C4) replaces the translation fill (0x60000000) of the right cell only:
  // the same alpha over the same background, plus blue.
  const QImage after = view->BackBuffer();
  const QPoint inRight(940, (5 + right) * 50 + 8);
  const QPoint inOther(940, (5 + other) * 50 + 8);
  const QColor was(before.pixel(inRight)), is(after.pixel(inRight));
  EXPECT_NEAR(is.red(), was.red(), 1);
  EXPECT_NEAR(is.green(), was.green(), 1);
  EXPECT_NEAR(is.blue() - was.blue(), 0xC4 * 0x60 / 255, 3);
  EXPECT_EQ(after.pixel(inOther), before.pixel(inOther));

  // The refusal made the answer owe one right choice: choosing it now pays that back, and the
  // word comes back (here at once) until a right choice counts.
  EXPECT_EQ(RightAnswerErrors(*view), 1);
  const int asked = view->Rules().m_nTrueRandIndex;
  UseDraw([asked](int v) { return v % 3 == asked; });
  Press(*view, right);
  EXPECT_EQ(ScoreOf(*view), (Score{0, 0, 1, 3}));
  ASSERT_EQ(view->Rules().m_nTrueRandIndex, asked);
  EXPECT_EQ(RightAnswerErrors(*view), 0);
  const QPoint inNextRight(940, (5 + RightCell(*view)) * 50 + 8);
  EXPECT_EQ(view->BackBuffer().pixel(inNextRight), before.pixel(inNextRight))
      << "the next question is drawn without the highlight";
  Press(*view, RightCell(*view));
  EXPECT_EQ(ScoreOf(*view), (Score{1, 0, 1, 2}));
  EXPECT_EQ(view->m_vUserIndexes.size(), 2u);
}

TEST_F(ExamAnswers, ARefusedWordMustBeAnsweredRightOnceMoreAndTheStatisticsShowNoError) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(Open(*view, {Row(u"a", u"m", u"s", {u"А"}), Row(u"b", u"m", u"s", {u"Б"})}));
  UseDraw([](int v) { return v % 2 == 0; });
  view->Repaint();
  Click(*view, 10, 10);  // outside the cells: a refusal
  Press(*view, 0);       // the same question refused again: one more hint, no more error
  EXPECT_EQ(ScoreOf(*view), (Score{0, 0, 2, 2}));
  EXPECT_EQ(RightAnswerErrors(*view), 1);
  fake.messages.Clear();
  int presses = 0;
  while (view->m_nTotalCountAltWords > 0 && ++presses < 10) {
    ++fake.clock.seconds;
    Press(*view, RightCell(*view));
  }
  EXPECT_EQ(presses, 3) << "two words, one of them refused";
  EXPECT_EQ(
      Messages(),
      std::vector<QString>{QStringLiteral(
          "Данные закончились! Ваша статистика:\nПравильно: 2; Неправильно: 0; Подсказок: 2")});
}

TEST_F(ExamAnswers, AFilterOfTwoOneAndOneAnswersEndsAfterFourRightAnswers) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(Open(*view, {Row(u"a", u"m", u"s", {u"А1", u"А2"}), Row(u"b", u"m", u"s", {u"Б"}),
                           Row(u"c", u"m", u"s", {u"В"}), Row(u"d", u"v", u"", {u"Г"})}));
  // Counters of an earlier run are reset by the selection: a refusal of the verb, outside the
  // filter chosen next.
  UseDraw([](int v) { return v % 4 == 3; });
  view->Repaint();
  ASSERT_EQ(view->m_wsKeyWord, u"d");
  Press(*view, 0);
  ASSERT_EQ(view->m_hints, 1);
  view->SelectUserFilter(FilterId(*view, u"&3 - Мужские существительные, ед.ч."), u"");
  EXPECT_EQ(view->m_vUserIndexes, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(ScoreOf(*view), (Score{0, 0, 0, 4}));
  fake.messages.Clear();
  for (int answer = 1; answer <= 4; ++answer) {
    ASSERT_TRUE(view->HasQuestion()) << answer;
    EXPECT_NE(view->m_wsKeyWord, u"d");
    Press(*view, RightCell(*view));
    EXPECT_EQ(ScoreOf(*view), (Score{answer, 0, 0, 4 - answer}));
    if (answer < 4) {
      EXPECT_TRUE(Messages().empty());
    }
    ++fake.clock.seconds;
  }
  EXPECT_EQ(
      Messages(),
      std::vector<QString>{QStringLiteral(
          "Данные закончились! Ваша статистика:\nПравильно: 4; Неправильно: 0; Подсказок: 0")});
  EXPECT_EQ(fake.messages.shown[0].caption, QStringLiteral("Информация"));
  EXPECT_TRUE(view->m_vUserIndexes.empty());
  EXPECT_TRUE(Cells(*view).empty()) << "the message shows over an empty answer area";

  fake.messages.Clear();
  Press(*view, 1);
  Press(*view, 0);
  Click(*view, 500, CellY(1));
  EXPECT_EQ(Messages(), std::vector<QString>(3, QStringLiteral("Данные закончились!")));
  EXPECT_EQ(ScoreOf(*view), (Score{4, 0, 0, 0}));
}

TEST_F(ExamAnswers, KeysBeyondTheDrawnCellsAndOtherKeysDoNothing) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(Open(*view, ThreeNouns()));
  ASSERT_EQ(view->m_numberedCells, 3);
  const auto cells = Cells(*view);
  for (int key : std::vector<int>{0x34, 0x35, 0x64, 0x65, 0x36, 0x37, 0x38, 0x39, 0x66, 0x69, 'A',
                                  0x0D, 0x71})
    view->OnKeyDown(key);
  Click(*view, 500, CellY(4));
  Click(*view, 500, CellY(5));
  EXPECT_EQ(ScoreOf(*view), (Score{0, 0, 0, 3}));
  EXPECT_EQ(Cells(*view), cells);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(fake.errorSignal.plays, 0);

  view->OnKeyDown(kVkNumpad0);
  Click(*view, 49, 320);       // left of the cells
  Click(*view, 30, CellY(1));  // on a cell's number
  Click(*view, 500, 551);      // below the fifth row
  EXPECT_EQ(ScoreOf(*view), (Score{0, 0, 4, 3}));
}

TEST_F(ExamAnswers, ClicksChooseTheCellUnderThePointer) {
  auto view = MakeView<CExam1View>();
  std::vector<LessonRow> rows;
  for (const char16_t* word : {u"a", u"b", u"c", u"d", u"e", u"f"})
    rows.push_back(Row(word, u"m", u"s", {std::u16string(u"слово-") + word}));
  ASSERT_TRUE(Open(*view, rows));
  ASSERT_EQ(view->width(), 1000);
  ASSERT_EQ(view->height(), 600);

  // Each click lands on a fresh five-cell question whose right answer is in the clicked cell.
  struct Hit {
    int x, y, cell;
  };
  int right = 0;
  for (const Hit& click : {Hit{50, 300, 1}, Hit{950, 350, 1}, Hit{500, 351, 2}, Hit{500, 550, 5}}) {
    SCOPED_TRACE(click.cell);
    ++fake.clock.seconds;
    UseDraw([&click](int v) { return v % 5 == click.cell - 1; });
    view->Repaint();
    ASSERT_EQ(Cells(*view).size(), 5u);
    ASSERT_EQ(RightCell(*view), click.cell);
    Click(*view, click.x, click.y);
    EXPECT_EQ(view->m_rightAnswers, ++right);
  }
  // And a click on another cell is a wrong choice.
  ++fake.clock.seconds;
  UseDraw([](int v) { return v % 5 == 0; });
  view->Repaint();
  Click(*view, 500, CellY(3));
  EXPECT_EQ(view->m_wrongAnswers, 1);
}

TEST_F(ExamAnswers, ChoosingTheFilterAgainKeepsLearntAnswersAndTheTestStillEnds) {
  auto view = MakeView<CExam1View>();
  // 'a' [А] and 'b' [Б1, Б2]: learn 'А' and one answer of 'b', then choose the filter again.
  ASSERT_TRUE(Open(*view, {Row(u"a", u"m", u"s", {u"А"}), Row(u"b", u"m", u"s", {u"Б1", u"Б2"})}));
  UseDraw([](int v) { return v % 2 == 0; });
  view->Repaint();
  Press(*view, RightCell(*view));  // 'А' learnt; only 'b' is left
  ASSERT_EQ(view->m_vUserIndexes, std::vector<int32_t>{1});
  Press(*view, RightCell(*view));  // one answer of 'b' learnt
  ASSERT_EQ(view->Rules().m_vCopyWordsData[1].answers.size(), 1u);
  ASSERT_EQ(ScoreOf(*view), (Score{2, 0, 0, 1}));

  fake.messages.Clear();
  view->SelectUserFilter(kFirstFilterCommand, u"Модуль: \"Экзамен-1\" (оригинал --> перевод)");
  EXPECT_EQ(ScoreOf(*view), (Score{0, 0, 0, 1})) << "only the answer not yet learnt is left";
  EXPECT_EQ(view->m_vUserIndexes, std::vector<int32_t>{1});
  EXPECT_TRUE(view->Rules().m_vCopyWordsData[0].answers.empty()) << "'А' stays learnt";
  EXPECT_EQ(StatusLine(*view), u"Правильно: 0; Неправильно: 0; Осталось: 1; Подсказок: 0");
  ASSERT_TRUE(view->HasQuestion());
  EXPECT_EQ(view->m_wsKeyWord, u"b");

  fake.messages.Clear();
  Press(*view, RightCell(*view));
  EXPECT_EQ(
      Messages(),
      std::vector<QString>{QStringLiteral(
          "Данные закончились! Ваша статистика:\nПравильно: 1; Неправильно: 0; Подсказок: 0")});

  // A filter whose answers are all learnt is taken again from the start.
  fake.messages.Clear();
  view->SelectUserFilter(kFirstFilterCommand, u"");
  EXPECT_EQ(ScoreOf(*view), (Score{0, 0, 0, 3}));
  EXPECT_EQ(view->m_vUserIndexes, (std::vector<int32_t>{0, 1}));
  int presses = 0;
  while (view->m_nTotalCountAltWords > 0 && ++presses < 20) {
    ++fake.clock.seconds;
    Press(*view, RightCell(*view));
  }
  EXPECT_EQ(ScoreOf(*view), (Score{3, 0, 0, 0}));
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(ExamAnswers, AFilterChosenAgainCountsOnlyItsAnswersNotYetLearnt) {
  auto view = MakeView<CExam1View>();
  // A word with two answers and a verb: learn one answer of the word, then choose its filter.
  ASSERT_TRUE(Open(*view, {Row(u"chat", u"m", u"s", {u"кот", u"котик"}),
                           Row(u"aimer", u"v", u"", {u"любить"})}));
  const int chat = RecordIndex(*view, u"chat");
  UseDraw([chat](int v) { return v % 2 == chat; });
  view->Repaint();
  ASSERT_EQ(view->m_wsKeyWord, u"chat");
  Press(*view, RightCell(*view));
  ASSERT_EQ(view->m_rightAnswers, 1);

  view->SelectUserFilter(FilterId(*view, u"&3 - Мужские существительные, ед.ч."), u"");
  EXPECT_EQ(StatusLine(*view), u"Правильно: 0; Неправильно: 0; Осталось: 1; Подсказок: 0");
  ASSERT_EQ(view->m_wsKeyWord, u"chat");
  fake.messages.Clear();
  Press(*view, RightCell(*view));
  EXPECT_EQ(
      Messages(),
      std::vector<QString>{QStringLiteral(
          "Данные закончились! Ваша статистика:\nПравильно: 1; Неправильно: 0; Подсказок: 0")});
}

TEST_F(ExamAnswers, WithHiddenCellsOnlyTheCellsOfTheQuestionCanBeChosen) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(Open(*view, {Row(u"a", u"m", u"s", {u"А"}), Row(u"b", u"m", u"s", {u"Б"}),
                           Row(u"c", u"m", u"s", {u"В"}), Row(u"d", u"v", u"", {u"Г"})}));
  UseDraw([](int v) { return v % 4 != 3; });
  view->Repaint();
  ASSERT_EQ(view->m_numberedCells, 3);

  // The next question asks 'd', alone in its group: one cell, not drawn.
  ++fake.clock.seconds;
  UseDraw([](int v) { return v % 4 == 3; });
  view->ToggleTranslations();
  ASSERT_EQ(view->m_wsKeyWord, u"d");
  ASSERT_EQ(Cells(*view).size(), 1u);
  EXPECT_EQ(view->m_numberedCells, 3) << "no cell drawn: the last count stays";
  Press(*view, 3);
  Press(*view, 2);
  Click(*view, 500, CellY(3));
  EXPECT_EQ(ScoreOf(*view), (Score{0, 0, 0, 4}));
  Press(*view, 1);
  EXPECT_EQ(ScoreOf(*view), (Score{1, 0, 0, 3}));
}

}  // namespace
}  // namespace verbaro::examtest
