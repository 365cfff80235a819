// Turning lesson rows into exam records: merges, order, limits, phrases and the reverse index.
#include <algorithm>

#include "platform/QtText.h"
#include "support/ExamFixture.h"

namespace verbaro::examtest {
namespace {

using Texts = std::vector<std::u16string>;

std::vector<std::u16string> KeyWords(const CExam1View& view) {
  std::vector<std::u16string> words;
  for (const WordsData& record : view.m_vWordsData) words.push_back(record.wsKeyWord);
  return words;
}

using ExamPreparation = ExamTest;

TEST_F(ExamPreparation, Exam1MergesRowsOfOneWordAndGroupKeepingTheFirstRowsRecording) {
  auto view = MakeView<CExam1View>();
  LessonRow second = Row(u"chat", u"m", u"s", {u"кошка", u"котик"});
  second.info1 = u"second";
  ASSERT_TRUE(Open(
      *view, {Row(u"chat", u"m", u"s", {u"кот"}), Row(u"chien", u"m", u"s", {u"пёс"}), second}));
  ASSERT_EQ(view->m_vWordsData.size(), 2u);
  const WordsData& chat = view->m_vWordsData[0];
  EXPECT_EQ(chat.wsKeyWord, u"chat");
  EXPECT_EQ(chat.vwsAltWords, (Texts{u"кот", u"кошка", u"котик"}));
  EXPECT_EQ(chat.vnWordErrors, (std::vector<int32_t>{0, 0, 0}));
  ASSERT_EQ(chat.vpMp3Word.size(), 1u);
  EXPECT_EQ(chat.vpMp3Word[0].Read(), RecordingOf(u"chat"));
  EXPECT_EQ(chat.wsInfo1, u"[chat]") << "the text lines of the first row stay";
  // The filter of all records is selected silently and counts every answer.
  EXPECT_EQ(view->m_vUserIndexes, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(view->m_nTotalCountAltWords, 4);
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(view->HasQuestion());
}

TEST_F(ExamPreparation, NumberSuffixSeparatesSingularFromPluralAndRecordsFollowKeyOrder) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(
      Open(*view, {Row(u"été", u"m", u"s", {u"лето"}), Row(u"abricot", u"m", u"s", {u"абрикос"}),
                   Row(u"yeux", u"m", u"p", {u"глаза"}), Row(u"abri", u"m", u"s", {u"укрытие"}),
                   Row(u"Zèbre", u"m", u"s", {u"зебра"}), Row(u"yeux", u"m", u"s", {u"глаз"})}));
  // Capital Latin letters come before lower-case ones, a prefix before its extensions, and
  // accented letters (above U+007F) after every ASCII letter.
  EXPECT_EQ(KeyWords(*view), (Texts{u"Zèbre", u"abri", u"abricot", u"yeux", u"yeux", u"été"}));
  EXPECT_EQ(view->m_vWordsData[3].wsFrNumber, u"p") << "'yeux, m,p' sorts before 'yeux, m,s'";
  EXPECT_EQ(view->m_vWordsData[4].vwsAltWords, (Texts{u"глаз"}));
}

TEST_F(ExamPreparation, FiveMergedAnswersAreAcceptedSixFailTheWholePreparation) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(
      Open(*view, {Row(u"a", u"v", u"", {u"1", u"2", u"3"}), Row(u"a", u"v", u"", {u"4", u"5"})}));
  EXPECT_EQ(view->m_vWordsData.at(0).vwsAltWords.size(), 5u);

  fake.messages.Clear();
  EXPECT_FALSE(
      Open(*view, {Row(u"a", u"v", u"", {u"x"}), Row(u"b", u"v", u"", {u"1", u"2", u"3"}),
                   Row(u"b", u"v", u"", {u"4", u"5", u"6"}), Row(u"c", u"v", u"", {u"y"})}));
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].caption, QStringLiteral("Информация"));
  EXPECT_EQ(fake.messages.shown[0].kind, MessageKind::Information);
  EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("nCountAltWords > m_nMaxAltWords"));
  // The records before the failing one stay; no filter exists, so nothing can be asked.
  EXPECT_EQ(KeyWords(*view), (Texts{u"a"}));
  EXPECT_TRUE(view->m_vUserIndexes.empty());
  EXPECT_TRUE(view->m_mapUserFilters.empty());
  EXPECT_EQ(view->m_nTotalCountAltWords, 0);
  Press(*view, 1);
  Press(*view, 0);
  EXPECT_EQ(Messages().back(), QStringLiteral("Данные закончились!"));
}

TEST_F(ExamPreparation, Exam2LimitsForeignWordsPerTranslationWithItsOwnMessage) {
  auto view = MakeView<CExam2View>();
  std::vector<LessonRow> rows;
  for (const char16_t* word : {u"a", u"b", u"c", u"d", u"e", u"f"})
    rows.push_back(Row(word, u"v", u"", {u"общий"}));
  EXPECT_FALSE(Open(*view, rows));
  EXPECT_EQ(Messages(), std::vector<QString>{QStringLiteral("nCountFrWords > m_nMaxAltWords")});
  EXPECT_EQ(fake.messages.shown[0].caption, QStringLiteral("Информация"));

  rows.pop_back();
  fake.messages.Clear();
  EXPECT_TRUE(Open(*view, rows));
  ASSERT_EQ(view->m_vWordsData.size(), 1u);
  EXPECT_EQ(view->m_vWordsData[0].vwsAltWords, (Texts{u"a", u"b", u"c", u"d", u"e"}));
}

TEST_F(ExamPreparation, OnlyExactDoubleTildeMarksAPhraseAndRowsWithoutAnswersVanish) {
  for (bool reversed : {false, true}) {
    SCOPED_TRACE(reversed ? "Exam-2" : "Exam-1");
    std::unique_ptr<CExam1View> view;
    if (reversed) view = MakeView<CExam2View>();
    else view = MakeView<CExam1View>();
    ASSERT_TRUE(
        Open(*view, {Row(u"bonjour à tous", u"~~", u"", {u"всем привет"}),
                     Row(u"trois", u"~~~", u"", {u"три"}), Row(u"salut", u"~", u"", {u"привет"}),
                     Row(u"rien", u"m", u"s", {}), Row(u"chat", u"m", u"s", {u"кот"})}));
    // "~~~" is no phrase, but the filters of an exam leave it out, so no question could ask it.
    const Texts words = KeyWords(*view);
    EXPECT_EQ(words.size(), 2u);
    const std::u16string phrase = reversed ? u"всем привет" : u"bonjour à tous";
    const std::u16string empty = reversed ? u"" : u"rien";
    EXPECT_EQ(std::count(words.begin(), words.end(), phrase), 0);
    EXPECT_EQ(std::count(words.begin(), words.end(), empty), 0);
    EXPECT_EQ(std::count(words.begin(), words.end(), reversed ? u"три" : u"trois"), 0);
    EXPECT_EQ(std::count(words.begin(), words.end(), reversed ? u"привет" : u"salut"), 1);
  }
}

TEST_F(ExamPreparation, Exam2GathersTheForeignWordsAndRecordingsOfATranslation) {
  auto view = MakeView<CExam2View>();
  ASSERT_TRUE(Open(*view, {Row(u"chat", u"m", u"s", {u"кот"}), Row(u"chien", u"m", u"s", {u"пёс"}),
                           Row(u"matou", u"m", u"s", {u"кот", u"котяра"})}));
  EXPECT_EQ(KeyWords(*view), (Texts{u"кот", u"котяра", u"пёс"}));
  const WordsData& cat = view->m_vWordsData[0];
  EXPECT_EQ(cat.vwsAltWords, (Texts{u"chat", u"matou"}));
  EXPECT_EQ(cat.vnWordErrors, (std::vector<int32_t>{0, 0}));
  ASSERT_EQ(cat.vpMp3Word.size(), 2u);
  EXPECT_EQ(cat.vpMp3Word[0].Read(), RecordingOf(u"chat"));
  EXPECT_EQ(cat.vpMp3Word[1].Read(), RecordingOf(u"matou"));
  EXPECT_EQ(cat.nvMp3WordSize, (std::vector<int32_t>{int32_t(RecordingOf(u"chat").size()),
                                                     int32_t(RecordingOf(u"matou").size())}));
  EXPECT_EQ(cat.wsFrGram, u"m");
  EXPECT_EQ(cat.wsFrNumber, u"s");
  EXPECT_TRUE(cat.wsInfo1.empty() && cat.wsInfo2.empty() && cat.wsInfo3.empty());
  // The reverse index files foreign words under their extended text.
  EXPECT_EQ(view->Rules().m_mapExtAltWordsToVINT.at(u"matou, m,s"), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(view->Rules().m_mapExtAltWordsToVINT.at(u"chien, m,s"), (std::vector<int32_t>{2}));
}

TEST_F(ExamPreparation, ReverseIndexListsARecordOncePerOccurrenceOfAnAnswer) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(
      Open(*view, {Row(u"maison", u"f", u"s", {u"дом", u"дом"}),
                   Row(u"logis", u"f", u"s", {u"дом"}), Row(u"chat", u"m", u"s", {u"кот"})}));
  ASSERT_EQ(KeyWords(*view), (Texts{u"chat", u"logis", u"maison"}));
  EXPECT_EQ(view->Rules().m_mapExtAltWordsToVINT.at(u"дом, f,s"), (std::vector<int32_t>{1, 2, 2}));
  EXPECT_EQ(view->Rules().m_mapExtAltWordsToVINT.at(u"кот, m,s"), (std::vector<int32_t>{0}));
  EXPECT_EQ(view->Rules().m_mapExtAltWordsToVINT.size(), 2u);
}

TEST_F(ExamPreparation, AnEmptyLessonFailsWithAMessageOnlyInExam1) {
  auto exam1 = MakeView<CExam1View>();
  EXPECT_FALSE(Open(*exam1, {}));
  EXPECT_EQ(Messages(), std::vector<QString>{QStringLiteral("Нет данных!")});
  EXPECT_EQ(fake.messages.shown[0].caption, QStringLiteral("Ошибка"));
  EXPECT_EQ(fake.messages.shown[0].kind, MessageKind::Error);

  fake.messages.Clear();
  auto exam2 = MakeView<CExam2View>();
  EXPECT_FALSE(Open(*exam2, {}));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ExamPreparation, OpeningAgainStartsFromAFreshWorkingCopy) {
  auto view = MakeView<CExam1View>();
  ASSERT_TRUE(
      Open(*view, {Row(u"chat", u"m", u"s", {u"кот"}), Row(u"chien", u"m", u"s", {u"пёс"})}));
  Press(*view, WrongCell(*view));
  ASSERT_EQ(RightAnswerErrors(*view), 1);
  ASSERT_TRUE(
      Open(*view, {Row(u"chat", u"m", u"s", {u"кот"}), Row(u"chien", u"m", u"s", {u"пёс"})}));
  for (const auto& record : view->Rules().m_vCopyWordsData)
    EXPECT_EQ(record.vnWordErrors, std::vector<int32_t>{0});
  EXPECT_EQ(view->m_wrongAnswers, 0);
  EXPECT_EQ(view->m_showTrueAnswer, 0);
}

TEST_F(ExamPreparation, ModeNamesAndFlagsOfTheTwoViews) {
  CExam2View fresh(fake.Get());
  fresh.m_bIsSound = 0;
  fresh.Create();
  EXPECT_EQ(fresh.m_bIsSound, 1) << "creating the window switches the sound on";
  auto exam1 = MakeView<CExam1View>();
  auto exam2 = MakeView<CExam2View>();
  EXPECT_EQ(exam1->GetModeName(), u"Модуль \"Экзамен-1\"");
  EXPECT_EQ(exam2->GetModeName(), u"Модуль \"Экзамен-2\"");
  EXPECT_EQ(exam1->m_bExamMode, 1);
  EXPECT_EQ(exam2->m_bExamMode, 1);
  EXPECT_EQ(exam1->m_bContraVersa, 0);
  EXPECT_EQ(exam2->m_bContraVersa, 1);
  EXPECT_EQ(
      exam1->m_bConspectMode + exam1->m_bVideoMode + exam2->m_bConspectMode + exam2->m_bVideoMode,
      0);
}

}  // namespace
}  // namespace verbaro::examtest
