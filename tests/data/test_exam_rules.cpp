// The exam rules on lessons in memory, with no widget and no Qt: preparation, questions,
// scoring, refusals, filters chosen again, and the end of a test.
#include <gtest/gtest.h>

#include <algorithm>

#include "data/Text.h"
#include "support/ExamLesson.h"

namespace verbaro::test {
namespace {

using Texts = std::vector<std::u16string>;

Texts KeyWords(const LessonState& lesson) {
  Texts words;
  for (const WordsData& record : lesson.m_vWordsData) words.push_back(record.wsKeyWord);
  return words;
}

std::u16string Statistics(int right, int wrong, int hints) {
  return u"Данные закончились! Ваша статистика:\nПравильно: " + ToU16(right) + u"; Неправильно: " +
         ToU16(wrong) + u"; Подсказок: " + ToU16(hints);
}

// Answers right until nothing is left (at most `limit` choices); returns the choices made.
int AnswerAllRight(ExamLesson& exam, int limit = 50) {
  int choices = 0;
  while (exam.m_nTotalCountAltWords > 0 && choices < limit) {
    ++exam.clock.seconds;
    EXPECT_TRUE(exam.rules.HasQuestion()) << "nothing asked with answers left";
    exam.rules.OnAnswer(exam.RightCell());
    ++choices;
  }
  return choices;
}

TEST(ExamRulesPreparation, Exam1MergesRowsOfAWordAndKeepsTheFirstRowsRecordingAndLines) {
  ExamLesson exam(false);
  WordsData second = Record(u"m", u"s", u"chat", {u"кошка", u"котик"}, 9);
  second.wsInfo1 = u"second";
  WordsData first = Record(u"m", u"s", u"chat", {u"кот"}, 5);
  first.wsInfo1 = u"first";
  ASSERT_TRUE(exam.Open({first, Record(u"m", u"s", u"abri", {u"укрытие"}), second,
                         Record(u"m", u"p", u"chat", {u"коты"}),
                         Record(u"m", u"s", u"abricot", {u"абрикос"})}));
  EXPECT_EQ(KeyWords(exam), (Texts{u"abri", u"abricot", u"chat", u"chat"}));
  const WordsData& chat = exam.m_vWordsData[3];
  EXPECT_EQ(chat.wsFrNumber, u"s") << "'chat, m,p' sorts before 'chat, m,s'";
  EXPECT_EQ(chat.vwsAltWords, (Texts{u"кот", u"кошка", u"котик"}));
  EXPECT_EQ(chat.vnWordErrors, (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(chat.nvMp3WordSize, std::vector<int32_t>{5});
  EXPECT_EQ(chat.wsInfo1, u"first");
  EXPECT_EQ(exam.m_nTotalCountAltWords, 6);
  EXPECT_EQ(exam.rules.m_mapExtAltWordsToVINT.at(u"кот, m,s"), std::vector<int32_t>{3});
  EXPECT_TRUE(exam.messages.empty());
  EXPECT_TRUE(exam.rules.HasQuestion());
}

TEST(ExamRulesPreparation, AnswerLimitsOfBothDirections) {
  ExamLesson exam1(false);
  EXPECT_TRUE(exam1.Open(
      {Record(u"v", u"", u"a", {u"1", u"2", u"3"}), Record(u"v", u"", u"a", {u"4", u"5"})}));
  EXPECT_FALSE(
      exam1.Open({Record(u"v", u"", u"a", {u"x"}), Record(u"v", u"", u"b", {u"1", u"2", u"3"}),
                  Record(u"v", u"", u"b", {u"4", u"5", u"6"})}));
  EXPECT_EQ(exam1.Texts(), Texts{u"nCountAltWords > m_nMaxAltWords"});
  EXPECT_EQ(exam1.messages[0].caption, u"Информация");
  EXPECT_EQ(KeyWords(exam1), Texts{u"a"}) << "records before the failing one stay";
  EXPECT_TRUE(exam1.m_vUserIndexes.empty());
  EXPECT_EQ(exam1.rules.OnAnswer(1), AnswerOutcome::AfterEnd);

  ExamLesson exam2(true);
  std::vector<WordsData> rows;
  for (const char16_t* word : {u"a", u"b", u"c", u"d", u"e", u"f"})
    rows.push_back(Record(u"v", u"", word, {u"общий"}));
  EXPECT_FALSE(exam2.Open(rows));
  EXPECT_EQ(exam2.Texts(), Texts{u"nCountFrWords > m_nMaxAltWords"});
  rows.pop_back();
  EXPECT_TRUE(exam2.Open(rows));
  EXPECT_EQ(exam2.m_vWordsData.at(0).vwsAltWords, (Texts{u"a", u"b", u"c", u"d", u"e"}));
}

TEST(ExamRulesPreparation, Exam2GathersTheForeignWordsAndRecordingsOfATranslation) {
  ExamLesson exam(true);
  WordsData chat = Record(u"m", u"s", u"chat", {u"кот"}, 3);
  chat.wsInfo1 = u"[chat]";
  ASSERT_TRUE(exam.Open({chat, Record(u"m", u"s", u"chien", {u"пёс"}),
                         Record(u"m", u"s", u"matou", {u"кот", u"котяра"}, 7)}));
  EXPECT_EQ(KeyWords(exam), (Texts{u"кот", u"котяра", u"пёс"}));
  const WordsData& cat = exam.m_vWordsData[0];
  EXPECT_EQ(cat.vwsAltWords, (Texts{u"chat", u"matou"}));
  EXPECT_EQ(cat.nvMp3WordSize, (std::vector<int32_t>{3, 7}));
  EXPECT_TRUE(cat.wsInfo1.empty());
  EXPECT_EQ(exam.rules.m_mapExtAltWordsToVINT.at(u"matou, m,s"), (std::vector<int32_t>{0, 1}));
}

TEST(ExamRulesPreparation, PhrasesRowsWithoutAnswersAndRowsNoQuestionCanAskStayOut) {
  for (bool reversed : {false, true}) {
    SCOPED_TRACE(reversed ? "Exam-2" : "Exam-1");
    ExamLesson exam(reversed);
    ASSERT_TRUE(exam.Open(
        {Record(u"~~", u"", u"bonjour", {u"привет всем"}), Record(u"~", u"", u"salut", {u"привет"}),
         Record(u"m", u"s", u"rien", {}), Record(u"v", u"s", u"être", {u"быть"}),
         Record(u"f", u"", u"eau", {u"вода"}), Record(u"nm", u"s", u"bébé", {u"младенец"}),
         Record(u"adj", u"", u"beau", {u"красивый"}), Record(u"~~~", u"", u"trois", {u"три"}),
         Record(u"adj,m", u"", u"grand", {u"большой"}), Record(u"n", u"p", u"gens", {u"люди"})}));
    const Texts expected =
        reversed ? Texts{u"большой", u"люди", u"привет"} : Texts{u"gens", u"grand", u"salut"};
    EXPECT_EQ(KeyWords(exam), expected);
    EXPECT_EQ(exam.m_nTotalCountAltWords, 3) << "only what can be asked is left";
    const std::string log = exam.LogText();
    for (const char* word : {"bonjour", "être", "eau", "bébé", "beau", "trois"})
      EXPECT_NE(log.find(word), std::string::npos) << word << " is logged as left out";
    EXPECT_EQ(AnswerAllRight(exam), 3);
    EXPECT_EQ(exam.Texts().back(), Statistics(3, 0, 0));
  }
}

TEST(ExamRulesQuestions, CandidatesThatWouldAlsoBeRightAreDiscardedPerDirection) {
  // Exam-1: 'кот' of 'matou' is also an answer of 'chat'; 'котяра' is not.
  const std::vector<WordsData> rows = {Record(u"m", u"s", u"chat", {u"кот"}),
                                       Record(u"m", u"s", u"matou", {u"кот", u"котяра"})};
  ExamLesson exam1(false);
  ASSERT_TRUE(exam1.Open(rows));
  exam1.UseDraw([](int v) { return v % 2 == 0; });
  exam1.Repaint();
  ASSERT_EQ(exam1.m_wsKeyWord, u"chat");
  EXPECT_EQ(exam1.m_vwsAltWords, (Texts{u"кот", u"котяра"}));

  // Exam-2: record 'кот' [chat, matou] asking 'chat'; 'matou' is another, undrawn answer: kept.
  ExamLesson exam2(true);
  ASSERT_TRUE(exam2.Open(rows));
  exam2.UseDraw([](int v) { return v % 2 == 0; });
  exam2.Repaint();
  ASSERT_EQ(exam2.m_wsKeyWord, u"кот");
  EXPECT_EQ(exam2.rules.m_wsTrueAltWord, u"chat");
  EXPECT_EQ(exam2.m_vwsAltWords, (Texts{u"chat", u"matou"}));
}

TEST(ExamRulesQuestions, ALoneRecordGetsOneCellAndOneSecondAsksTheSameQuestion) {
  ExamLesson exam(false);
  std::vector<WordsData> rows = {Record(u"v", u"", u"aimer", {u"любить"})};
  for (const char16_t* word : {u"a", u"b", u"c", u"d", u"e", u"f"})
    rows.push_back(Record(u"m", u"s", word,
                          {std::u16string(u"один-") + word, std::u16string(u"два-") + word}));
  ASSERT_TRUE(exam.Open(rows));
  exam.UseDraw([](int v) { return v % 7 == 1; });  // "a, m,s" < "aimer, v" < "b, m,s"
  exam.Repaint();
  ASSERT_EQ(exam.m_wsKeyWord, u"aimer");
  EXPECT_EQ(exam.m_vwsAltWords, Texts{u"любить"});
  EXPECT_EQ(exam.RightCell(), 1);

  exam.UseDraw([](int v) { return v % 7 == 2; });
  exam.Repaint();
  const auto question = [&] {
    return std::make_tuple(exam.rules.m_nTrueRandIndex, exam.m_nTrueInd, exam.m_trueCellIndex,
                           exam.m_vwsAltWords);
  };
  const auto first = question();
  EXPECT_EQ(exam.m_vwsAltWords.size(), 5u);
  exam.Repaint();
  EXPECT_EQ(question(), first);
}

TEST(ExamRulesAnswers, WrongChoicesAndARefusalEachMakeTheAnswerOweARightChoice) {
  ExamLesson exam(false);
  ASSERT_TRUE(exam.Open({Record(u"m", u"s", u"a", {u"А"}), Record(u"m", u"s", u"b", {u"Б"}),
                         Record(u"m", u"s", u"c", {u"В"})}));
  exam.UseDraw([](int v) { return v % 3 == 1; });
  exam.Repaint();
  ASSERT_EQ(exam.m_vwsAltWords.size(), 3u);
  EXPECT_EQ(exam.rules.OnAnswer(exam.WrongCell()), AnswerOutcome::Wrong);
  EXPECT_EQ(exam.RightAnswerErrors(), 1);
  EXPECT_EQ(exam.rules.OnAnswer(0), AnswerOutcome::Hint);
  EXPECT_EQ(exam.RightAnswerErrors(), 2);
  EXPECT_EQ(exam.rules.OnAnswer(0), AnswerOutcome::Hint);
  EXPECT_EQ(exam.RightAnswerErrors(), 2) << "a question is refused once, however often";
  EXPECT_EQ(exam.m_hints, 2);
  EXPECT_EQ(exam.m_wrongAnswers, 1);
  EXPECT_EQ(exam.m_showTrueAnswer, 0);

  // The same record is asked again while the draws stay in this second: two right choices pay
  // back, the third learns.
  EXPECT_EQ(exam.rules.OnAnswer(exam.RightCell()), AnswerOutcome::PaidBack);
  EXPECT_EQ(exam.rules.OnAnswer(0), AnswerOutcome::Hint);
  EXPECT_EQ(exam.RightAnswerErrors(), 2) << "the new question's refusal owes one more";
  EXPECT_EQ(exam.rules.OnAnswer(exam.RightCell()), AnswerOutcome::PaidBack);
  EXPECT_EQ(exam.rules.OnAnswer(exam.RightCell()), AnswerOutcome::PaidBack);
  EXPECT_EQ(exam.m_rightAnswers, 0);
  EXPECT_EQ(exam.rules.OnAnswer(exam.RightCell()), AnswerOutcome::Learnt);
  EXPECT_EQ(exam.m_rightAnswers, 1);
  EXPECT_EQ(exam.m_nTotalCountAltWords, 2);

  EXPECT_EQ(AnswerAllRight(exam), 2);
  EXPECT_EQ(exam.Texts(), Texts{Statistics(3, 1, 3)});
  EXPECT_EQ(exam.rules.OnAnswer(0), AnswerOutcome::AfterEnd);
  EXPECT_EQ(exam.rules.OnAnswer(1), AnswerOutcome::AfterEnd);
  EXPECT_EQ(exam.Texts().back(), u"Данные закончились!");
  EXPECT_EQ(exam.m_hints, 3);
}

TEST(ExamRulesAnswers, ChoicesBeyondTheCellsOrWithoutAQuestionAreIgnored) {
  ExamLesson exam(false);
  ASSERT_TRUE(exam.Open({Record(u"m", u"s", u"a", {u"А"}), Record(u"m", u"s", u"b", {u"Б"})}));
  ASSERT_EQ(exam.m_vwsAltWords.size(), 2u);
  EXPECT_EQ(exam.rules.OnAnswer(3), AnswerOutcome::Ignored);
  EXPECT_EQ(exam.rules.OnAnswer(-1), AnswerOutcome::Ignored);
  // A build that cannot ask anything (no record in play) leaves nothing to answer.
  exam.m_vUserIndexes.clear();
  exam.Repaint();
  EXPECT_FALSE(exam.rules.HasQuestion());
  EXPECT_EQ(exam.rules.OnAnswer(0), AnswerOutcome::Ignored);
  EXPECT_EQ(exam.rules.OnAnswer(1), AnswerOutcome::Ignored);
  EXPECT_EQ(exam.m_hints + exam.m_rightAnswers + exam.m_wrongAnswers, 0);
  EXPECT_TRUE(exam.messages.empty());
}

TEST(ExamRulesFilters, AFilterChosenAgainKeepsLearntAnswersAndOwedErrors) {
  ExamLesson exam(false);
  // 'a' [А], 'b' [Б1, Б2], 'c' [В] (a verb).
  ASSERT_TRUE(exam.Open({Record(u"m", u"s", u"a", {u"А"}), Record(u"m", u"s", u"b", {u"Б1", u"Б2"}),
                         Record(u"v", u"", u"c", {u"В"})}));
  exam.UseDraw([](int v) { return v % 3 == 0 && v % 2 == 0; });
  exam.Repaint();
  ASSERT_EQ(exam.m_wsKeyWord, u"a");
  EXPECT_EQ(exam.rules.OnAnswer(exam.RightCell()), AnswerOutcome::Learnt);
  exam.UseDraw([](int v) { return v % 2 == 0; });  // 'b' of {b, c}, its answer 'Б1'
  exam.Repaint();
  ASSERT_EQ(exam.m_wsKeyWord, u"b");
  const int owing = exam.m_nTrueInd;
  EXPECT_EQ(exam.rules.OnAnswer(exam.WrongCell()), AnswerOutcome::Wrong);

  exam.SelectUserFilter(kFirstFilterCommand, u"");
  EXPECT_EQ(exam.m_vUserIndexes, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(exam.m_nTotalCountAltWords, 3);
  EXPECT_EQ(exam.m_wrongAnswers, 0) << "the counters start again";
  EXPECT_TRUE(exam.rules.m_vCopyWordsData[0].answers.empty());
  EXPECT_EQ(exam.rules.m_vCopyWordsData[1].vnWordErrors[owing], 1) << "the error is still owed";

  // The filter of the masculine singular nouns: only 'b' is left in it.
  exam.SelectUserFilter(kFirstFilterCommand + 3, u"");
  ASSERT_EQ(exam.m_mapUserFilters.size(), 5u);
  EXPECT_EQ(exam.m_vUserIndexes, std::vector<int32_t>{1});
  EXPECT_EQ(exam.m_nTotalCountAltWords, 2);
  EXPECT_EQ(AnswerAllRight(exam), 3) << "one error paid back, two answers learnt";
  EXPECT_EQ(exam.Texts().back(), Statistics(2, 0, 0));
}

TEST(ExamRulesFilters, AFinishedFilterStartsAfreshWithoutTouchingOtherRecords) {
  ExamLesson exam(false);
  ASSERT_TRUE(exam.Open({Record(u"m", u"s", u"a", {u"А"}), Record(u"m", u"s", u"b", {u"Б"}),
                         Record(u"v", u"", u"c", {u"В1", u"В2"})}));
  exam.SelectUserFilter(kFirstFilterCommand + 3, u"");  // the two nouns
  ASSERT_EQ(exam.m_nTotalCountAltWords, 2);
  EXPECT_EQ(AnswerAllRight(exam), 2);
  EXPECT_EQ(exam.Texts().back(), Statistics(2, 0, 0));

  // The verb: one answer learnt, one wrong choice on the other.
  exam.SelectUserFilter(kFirstFilterCommand + 4, u"");
  ASSERT_EQ(exam.m_vUserIndexes, std::vector<int32_t>{2});
  EXPECT_EQ(exam.rules.OnAnswer(exam.RightCell()), AnswerOutcome::Learnt);
  ASSERT_EQ(exam.rules.m_vCopyWordsData[2].answers.size(), 1u);

  exam.SelectUserFilter(kFirstFilterCommand + 3, u"");
  EXPECT_EQ(exam.m_vUserIndexes, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(exam.m_nTotalCountAltWords, 2);
  EXPECT_EQ(exam.rules.m_vCopyWordsData[0].vnWordErrors, std::vector<int32_t>{0});
  EXPECT_EQ(exam.rules.m_vCopyWordsData[2].answers.size(), 1u) << "the verb keeps its progress";

  exam.SelectUserFilter(kFirstFilterCommand, u"");
  EXPECT_EQ(exam.m_nTotalCountAltWords, 3);
}

}  // namespace
}  // namespace verbaro::test
