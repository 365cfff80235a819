// Question building: the record and answer asked, wrong answers from the same group, the
// overlap tests of the two directions, the draws of one second, and the working copy.
#include <algorithm>
#include <set>

#include "support/ExamFixture.h"

namespace verbaro::examtest {
namespace {

using Texts = std::vector<std::u16string>;
using ExamQuestions = ExamTest;

int Count(const Texts& texts, const std::u16string& text) {
  return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

TEST_F(ExamQuestions, TheOnlyRecordOfItsGroupGetsASingleCellWithItsAnswer) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(
      Open(*view, {Row(u"chat", u"m", u"s", {u"кот"}), Row(u"aimer", u"v", u"", {u"любить"})}));
  ASSERT_EQ(RecordIndex(*view, u"chat"), 1);
  UseDraw([](int v) { return v % 2 == 1; });
  view->Repaint();
  EXPECT_EQ(view->Rules().m_nTrueRandIndex, 1);
  EXPECT_EQ(Cells(*view), Texts{u"кот"});
  EXPECT_EQ(RightCell(*view), 1);
  EXPECT_EQ(view->m_numberedCells, 1);
  // The asked record becomes the current entry that the header rows show and the sound plays.
  EXPECT_EQ(view->m_wsKeyWord, u"chat");
  EXPECT_EQ(view->m_wsInfo1, u"[chat]");
  EXPECT_EQ(view->Rules().m_wsExtFrGram, u"m,s");
  ASSERT_EQ(view->m_vpMp3Word.size(), 1u);
  EXPECT_EQ(view->m_vpMp3Word[0].Read(), RecordingOf(u"chat"));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ExamQuestions, Exam1DiscardsACandidateThatIsAlsoAnAnswerOfTheAskedRecord) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(
      Open(*view, {Row(u"chat", u"m", u"s", {u"кот"}), Row(u"matou", u"m", u"s", {u"кот"})}));
  for (int asked = 0; asked < 2; ++asked) {
    UseDraw([asked](int v) { return v % 2 == asked; });
    view->Repaint();
    EXPECT_EQ(view->Rules().m_nTrueRandIndex, asked);
    EXPECT_EQ(Cells(*view), Texts{u"кот"}) << "'кот, m,s' lists both records";
    EXPECT_TRUE(view->Rules().m_mapIndexToVAltWords.empty())
        << "the discarded candidate left the pool";
    ++fake.clock.seconds;
  }
}

TEST_F(ExamQuestions, Exam1KeepsEqualCandidatesOfOtherRecords) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(
      Open(*view, {Row(u"chat", u"m", u"s", {u"кот"}), Row(u"chien", u"m", u"s", {u"собака"}),
                   Row(u"matou", u"m", u"s", {u"кот"})}));
  UseDraw([](int v) { return v % 3 == 1; });
  view->Repaint();
  ASSERT_EQ(view->m_wsKeyWord, u"chien");
  EXPECT_EQ(Cells(*view), (Texts{u"кот", u"собака", u"кот"}));
  EXPECT_EQ(RightCell(*view), 2);
}

TEST_F(ExamQuestions, Exam2DiscardsRepeatsOfTheRightAnswerAndOfChosenCells) {
  auto view = MakeView<CExam2View>();
  ASSERT_TRUE(Open(
      *view, {Row(u"chat", u"m", u"s", {u"кот", u"котик"}), Row(u"chien", u"m", u"s", {u"пёс"})}));
  ASSERT_EQ(RecordIndex(*view, u"пёс"), 2);

  UseDraw([](int v) { return v % 3 == 2; });
  view->Repaint();
  ASSERT_EQ(view->m_wsKeyWord, u"пёс");
  EXPECT_EQ(Cells(*view).size(), 2u) << "the second 'chat' repeats a chosen cell";
  EXPECT_EQ(Count(Cells(*view), u"chat"), 1);
  EXPECT_EQ(Count(Cells(*view), u"chien"), 1);

  ++fake.clock.seconds;
  UseDraw([](int v) { return v % 3 == 0; });
  view->Repaint();
  ASSERT_EQ(view->m_wsKeyWord, u"кот");
  EXPECT_EQ(Cells(*view).size(), 2u) << "'chat' of 'котик' equals the right answer";
  EXPECT_EQ(Count(Cells(*view), u"chat"), 1);
  EXPECT_EQ(Count(Cells(*view), u"chien"), 1);
}

TEST_F(ExamQuestions, Exam2KeepsACandidateEqualToAnotherUndrawnAnswerButExam1DoesNot) {
  const std::vector<LessonRow> rows = {Row(u"chat", u"m", u"s", {u"кот"}),
                                       Row(u"matou", u"m", u"s", {u"кот", u"котяра"})};
  auto exam2 = MakeView<CExam2View>();
  ASSERT_TRUE(Open(*exam2, rows));
  // Every draw of the second gives an even value: record 'кот' [chat, matou], right answer chat.
  UseDraw([](int v) { return v % 2 == 0; });
  exam2->Repaint();
  ASSERT_EQ(exam2->m_wsKeyWord, u"кот");
  EXPECT_EQ(exam2->Rules().m_wsTrueAltWord, u"chat");
  EXPECT_EQ(Cells(*exam2), (Texts{u"chat", u"matou"}));

  // The same lesson in Exam-1: 'chat' [кот] is asked; 'кот' of 'matou' is discarded, 'котяра' kept.
  auto exam1 = MakeView<CExam1View>();
  ASSERT_TRUE(Open(*exam1, rows));
  exam1->Repaint();
  ASSERT_EQ(exam1->m_wsKeyWord, u"chat");
  EXPECT_EQ(Cells(*exam1), (Texts{u"кот", u"котяра"}));
}

TEST_F(ExamQuestions, AGroupOfThreeGivesThreeCellsAndALargeGroupFive) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(Open(*view, {Row(u"a", u"f", u"p", {u"А"}), Row(u"b", u"f", u"p", {u"Б"}),
                           Row(u"c", u"f", u"p", {u"В"}), Row(u"d", u"v", u"", {u"Г"})}));
  UseDraw([](int v) { return v % 4 != 3; });
  view->Repaint();
  const Texts three = Cells(*view);
  EXPECT_EQ(three.size(), 3u);
  EXPECT_EQ(std::set<std::u16string>(three.begin(), three.end()),
            (std::set<std::u16string>{u"А", u"Б", u"В"}));
  EXPECT_EQ(view->m_numberedCells, 3);

  std::vector<LessonRow> rows;
  for (const char16_t* word : {u"a", u"b", u"c", u"d", u"e", u"f", u"g"})
    rows.push_back(Row(word, u"m", u"s", {std::u16string(u"слово-") + word}));
  ASSERT_TRUE(Open(*view, rows));
  EXPECT_EQ(Cells(*view).size(), 5u);
  EXPECT_EQ(Count(Cells(*view), view->Rules().m_wsTrueAltWord), 1);
  EXPECT_EQ(view->m_numberedCells, 5);
}

TEST_F(ExamQuestions, BuildsWithinOneSecondAskTheSameQuestion) {
  auto view = MakeView<CExam1View>();
  std::vector<LessonRow> rows;
  for (const char16_t* word : {u"a", u"b", u"c", u"d", u"e", u"f"})
    rows.push_back(
        Row(word, u"m", u"s", {std::u16string(u"один-") + word, std::u16string(u"два-") + word}));
  ASSERT_TRUE(Open(*view, rows));
  const int v = UseDraw([](int value) { return value % 6 == 4; });
  view->Repaint();
  const auto question = [&] {
    return std::make_tuple(view->Rules().m_nTrueRandIndex, view->m_nTrueInd, view->m_trueCellIndex,
                           Cells(*view));
  };
  const auto first = question();
  EXPECT_EQ(view->Rules().m_nTrueRandIndex, 4);
  EXPECT_EQ(view->m_nTrueInd, v % 2);
  view->Repaint();
  EXPECT_EQ(question(), first);

  UseDraw([](int value) { return value % 6 == 1; });
  view->Repaint();
  EXPECT_EQ(view->Rules().m_nTrueRandIndex, 1) << "a new second draws anew";
}

TEST_F(ExamQuestions, ChoosingTheFilterAgainNeitherRestoresLearntAnswersNorClearsErrors) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(Open(
      *view, {Row(u"chat", u"m", u"s", {u"кот"}), Row(u"chien", u"m", u"s", {u"пёс", u"собака"})}));
  UseDraw([](int v) { return v % 2 == 0; });
  view->Repaint();
  ASSERT_EQ(view->Rules().m_nTrueRandIndex, 0);
  Press(*view, RightCell(*view));  // 'кот' learnt: 'chat' leaves play
  EXPECT_TRUE(view->Rules().m_vCopyWordsData[0].answers.empty());
  EXPECT_EQ(view->m_vUserIndexes, std::vector<int32_t>{1});
  ASSERT_EQ(view->Rules().m_nTrueRandIndex, 1);
  ASSERT_NE(WrongCell(*view), 0);
  const int owing = view->m_nTrueInd;
  Press(*view, WrongCell(*view));
  EXPECT_EQ(view->Rules().m_vCopyWordsData[1].vnWordErrors[owing], 1);

  // The filter chosen again: 'chat' stays out of play, the error stays owed.
  ++fake.clock.seconds;
  UseDraw([](int v) { return v % 2 == 0; });
  view->SelectUserFilter(kFirstFilterCommand, u"");
  EXPECT_EQ(view->m_vUserIndexes, std::vector<int32_t>{1});
  EXPECT_EQ(view->m_nTotalCountAltWords, 2);
  EXPECT_EQ(view->Rules().m_nTrueRandIndex, 1);
  EXPECT_TRUE(view->Rules().m_vCopyWordsData[0].answers.empty());
  EXPECT_EQ(view->Rules().m_vCopyWordsData[1].vnWordErrors[owing], 1);
  EXPECT_TRUE(view->HasQuestion());
}

TEST_F(ExamQuestions, RecordsNoQuestionCanAskStayOutAndTheTestEndsWithItsStatistics) {
  for (bool reversed : {false, true}) {
    SCOPED_TRACE(reversed ? "Exam-2" : "Exam-1");
    fake.messages.Clear();
    fake.log.AttachMemory();
    std::unique_ptr<CExam1View> view;
    if (reversed) view = MakeView<CExam2View>();
    else view = MakeView<CExam1View>();
    view->SetMainLog(&fake.log);
    // A verb with a number, a noun without one, grammar "nm" and "m,s", a plain "adj": none of
    // them is filed under its own group, so no question could ask them.
    ASSERT_TRUE(Open(
        *view, {Row(u"aller", u"v", u"s", {u"идти"}), Row(u"chat", u"m", u"s", {u"кот"}),
                Row(u"eau", u"f", u"", {u"вода"}), Row(u"bébé", u"nm", u"s", {u"младенец"}),
                Row(u"chien", u"m", u"s", {u"пёс"}), Row(u"vite", u"m,s", u"", {u"быстро"}),
                Row(u"beau", u"adj", u"", {u"красивый"}), Row(u"aimer", u"v", u"", {u"любить"})}));
    EXPECT_EQ(view->m_vWordsData.size(), 3u);
    EXPECT_EQ(StatusLine(*view), u"Правильно: 0; Неправильно: 0; Осталось: 3; Подсказок: 0");
    const QString log = QString::fromStdString(fake.log.Text());
    for (const char* left : {"aller", "eau", "bébé", "vite", "beau"})
      EXPECT_TRUE(log.contains(QString::fromUtf8(left))) << left << " is logged as left out";

    // Every draw asks something, wrong choices included, until the statistics.
    int presses = 0;
    while (view->m_nTotalCountAltWords > 0 && ++presses < 30) {
      ++fake.clock.seconds;
      ASSERT_TRUE(view->HasQuestion()) << presses;
      if (presses == 2 && WrongCell(*view) != 0) Press(*view, WrongCell(*view));
      Press(*view, RightCell(*view));
    }
    EXPECT_EQ(view->m_nTotalCountAltWords, 0);
    ASSERT_FALSE(Messages().empty());
    EXPECT_TRUE(Messages().back().startsWith(
        QStringLiteral("Данные закончились! Ваша статистика:\nПравильно: 3;")))
        << Messages().back().toStdString();
    fake.log.Detach();
  }
}

TEST_F(ExamQuestions, EachQuestionIsSoundedAndTheEndOfSoundDoesNotMoveOn) {
  for (bool reversed : {false, true}) {
    SCOPED_TRACE(reversed ? "Exam-2" : "Exam-1");
    fake.timers.clear();
    fake.waveOuts.clear();
    std::unique_ptr<CExam1View> view;
    if (reversed) view = MakeView<CExam2View>();
    else view = MakeView<CExam1View>();
    view->m_bIsSound = 1;
    LessonRow chat = Row(u"chat", u"m", u"s", {u"кот"});
    chat.recording = Mp3Fixture("tone_short_44k_stereo.mp3");
    ASSERT_TRUE(Open(*view, {chat}));
    EXPECT_TRUE(Messages().empty());
    ASSERT_EQ(fake.waveOuts.size(), 1u);
    EXPECT_EQ(fake.waveOuts[0]->writes.size(), 1u) << "the first question is sounded";
    ASSERT_EQ(fake.timers.size(), 1u);
    FakeViewTimer& timer = *fake.timers[0];
    ASSERT_TRUE(timer.IsActive());

    // The base view would announce the end of the filter here; an exam waits for its answer.
    const auto cells = Cells(*view);
    ++fake.clock.seconds;
    ASSERT_TRUE(timer.Fire());
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(view->m_bPlayOnPaint, 1);
    EXPECT_EQ(Cells(*view), cells);
    EXPECT_EQ(fake.waveOuts[0]->writes.size(), 1u);

    // A refusal repaints, which sounds the word again.
    Press(*view, 0);
    EXPECT_EQ(fake.waveOuts[0]->writes.size(), 2u);
  }
}

TEST_F(ExamQuestions, WithALogAttachedTheExamWritesItsStepsAndStatistics) {
  fake.log.AttachMemory();
  auto view = MakeView<CExam1View>();
  view->SetMainLog(&fake.log);
  ASSERT_TRUE(
      Open(*view, {Row(u"phrase", u"~~", u"", {u"фраза"}), Row(u"chat", u"m", u"s", {u"кот"}),
                   Row(u"chien", u"m", u"s", {u"пёс"})}));
  Press(*view, 0);
  Press(*view, WrongCell(*view));
  for (int presses = 0; view->m_nTotalCountAltWords > 0 && presses < 10; ++presses)
    Press(*view, RightCell(*view));
  const QString log = QString::fromStdString(fake.log.Text());
  EXPECT_TRUE(log.contains(QStringLiteral("phrase"))) << "the skipped phrase is listed";
  EXPECT_TRUE(log.contains(QStringLiteral("кот, m,s")));
  EXPECT_TRUE(log.contains(QStringLiteral(
      "Данные закончились! Ваша статистика:\nПравильно: 2; Неправильно: 1; Подсказок: 1")));
}

}  // namespace
}  // namespace verbaro::examtest
