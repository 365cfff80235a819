// Choosing the current record and its recording, the typing check, and clearing a lesson.
#include <gtest/gtest.h>

#include <memory>

#include "support/RecordingLesson.h"

namespace verbaro::test {
namespace {

using Indexes = std::vector<int32_t>;

// A reversed record with `count` recordings of sizes 10, 11, 12, ...
WordsData MergedRecord(std::u16string key, int count) {
  WordsData record = Record(u"m", u"s", std::move(key), {u"a"}, 10);
  for (int i = 1; i < count; ++i) {
    record.vpMp3Word.push_back(Mp3Recording::Held(std::vector<uint8_t>(10 + i)));
    record.nvMp3WordSize.push_back(10 + i);
    record.vwsAltWords.push_back(u"b");
    record.vnWordErrors.push_back(0);
  }
  return record;
}

class SetUserDataTest : public ::testing::Test {
 protected:
  void Use(std::vector<WordsData> records, Indexes indexes) {
    lesson.m_vWordsData = std::move(records);
    lesson.m_vUserIndexes = std::move(indexes);
  }
  // The record and recording a repaint shows and sounds, then the recording of the next one.
  bool Repaint() {
    if (!lesson.SetUserData()) return false;
    lesson.AdvanceRecording();
    return true;
  }
  void ExpectOneError(const std::u16string& text) {
    ASSERT_EQ(lesson.messages.size(), 1u);
    EXPECT_EQ(lesson.messages[0].caption, u"Ошибка");
    EXPECT_EQ(lesson.messages[0].text, text);
  }
  RecordingLesson lesson;
};

TEST_F(SetUserDataTest, PositionInTheFilterPicksTheRecord) {
  std::vector<WordsData> records;
  for (int i = 0; i < 10; ++i) {
    records.push_back(Record(u"m", u"s", u"w" + std::u16string(1, u'0' + i), {u"t"}, 5 + i));
  }
  records[9].wsInfo1 = u"info";
  Use(std::move(records), {4, 9, 2});
  lesson.m_nUserFilterIndex = 1;

  ASSERT_TRUE(lesson.SetUserData());
  EXPECT_EQ(lesson.m_wsKeyWord, u"w9");
  EXPECT_EQ(lesson.m_wsInfo1, u"info");
  EXPECT_EQ(lesson.m_wsFrGram, u"m");
  EXPECT_EQ(lesson.m_vwsAltWords, (std::vector<std::u16string>{u"t"}));
  EXPECT_EQ(lesson.m_pMp3Word, lesson.m_vWordsData[9].vpMp3Word[0]);
  EXPECT_EQ(lesson.m_nMp3WordSize, 14);
  EXPECT_EQ(lesson.m_nCurMp3Index, 0);
  EXPECT_EQ(lesson.m_nUserFilterIndex, 1);
  EXPECT_TRUE(lesson.messages.empty());
  EXPECT_NE(lesson.LogText().find("\nCWordsView::SetUserData() : m_wsKeyWord = \"w9\" : \"t\"\n\n"
                                  "m_nUserFilterIndex = 1\nm_nCurMp3Index = 0\n"
                                  "m_nMp3WordSize = 14\n----------\n"),
            std::string::npos);
}

TEST_F(SetUserDataTest, NoLessonOrEmptyFilterStopsWithALogLineOnly) {
  EXPECT_FALSE(lesson.SetUserData());
  EXPECT_NE(lesson.LogText().find("CWordsView::SetUserData() : Множество исходных данных пусто!"),
            std::string::npos);
  Use({Record(u"v", u"", u"aller", {u"идти"})}, {});
  EXPECT_FALSE(lesson.SetUserData());
  EXPECT_NE(lesson.LogText().find("CWordsView::SetUserData() : m_vUserIndexes.size() == 0"),
            std::string::npos);
  EXPECT_TRUE(lesson.messages.empty());
}

TEST_F(SetUserDataTest, RecordWithoutRecordingsCannotBeShown) {
  WordsData record = Record(u"v", u"", u"aller", {u"идти"});
  record.vpMp3Word.clear();
  record.nvMp3WordSize.clear();
  Use({record}, {0});
  EXPECT_FALSE(lesson.SetUserData());
  ExpectOneError(u"Выход индекса за допустимые пределы, для звуковых данных!");
}

TEST_F(SetUserDataTest, RecordingsAndSizesThatDisagreeAreRefusedWithoutReadingPastThem) {
  WordsData extraRecording = MergedRecord(u"x", 2);
  extraRecording.nvMp3WordSize.pop_back();  // two recordings, one size
  WordsData oversized = Record(u"v", u"", u"y", {u"t"}, 4);
  oversized.nvMp3WordSize[0] = 4000;  // more than the buffer holds
  Use({extraRecording, oversized}, {0, 1});

  lesson.m_bContraVersa = 1;
  lesson.m_nCurMp3Index = 1;  // the recording that has no size
  EXPECT_FALSE(lesson.SetUserData());
  lesson.m_nCurMp3Index = 0;
  EXPECT_FALSE(lesson.SetUserData());
  lesson.m_nUserFilterIndex = 1;
  EXPECT_FALSE(lesson.SetUserData());
  ASSERT_EQ(lesson.messages.size(), 3u);
  for (const ShownMessage& message : lesson.messages) {
    EXPECT_EQ(message.text, u"Некорректные значения для звуковых данных!");
  }
  EXPECT_NE(lesson.LogText().find("nvMp3WordSize (2) != nvMp3WordSizeSize (1)"), std::string::npos);
}

TEST_F(SetUserDataTest, ConspectTwoPlaysAMergedRecordsRecordingsInTurn) {
  Use({MergedRecord(u"кошка", 3), MergedRecord(u"кот", 1)}, {0, 1});
  lesson.m_bContraVersa = 1;
  std::vector<int32_t> played;
  // Choosing the record again picks the same recording: only the step after a repaint moves on.
  ASSERT_TRUE(lesson.SetUserData());
  ASSERT_TRUE(lesson.SetUserData());
  EXPECT_EQ(lesson.m_nCurMp3Index, 0);
  for (int repaint = 0; repaint < 4; ++repaint) {
    ASSERT_TRUE(Repaint());
    played.push_back(lesson.m_nMp3WordSize - 10);
    EXPECT_EQ(lesson.m_nUserFilterIndex, 0);
  }
  EXPECT_EQ(played, (std::vector<int32_t>{0, 1, 2, 0}));
  EXPECT_NE(lesson.LogText().find("// m_nUserFilterIndex = 0\n++m_nCurMp3Index = 1\n----------\n"),
            std::string::npos);
}

TEST_F(SetUserDataTest, VideoTwoCyclesTheShownEntrysRecordingsAndNeverMovesTheRecord) {
  Use({MergedRecord(u"кошка", 3), MergedRecord(u"кот", 2)}, {0, 1});
  lesson.m_bContraVersa = 1;
  lesson.m_bVideoMode = 1;
  std::vector<int32_t> played;
  for (int repaint = 0; repaint < 5; ++repaint) {
    ASSERT_TRUE(Repaint());
    EXPECT_EQ(lesson.m_wsKeyWord, u"кошка");
    played.push_back(lesson.m_nMp3WordSize - 10);
  }
  EXPECT_EQ(played, (std::vector<int32_t>{0, 1, 2, 0, 1}));
  EXPECT_EQ(lesson.m_nUserFilterIndex, 0) << "only the play-through's tick moves on";
}

TEST_F(SetUserDataTest, RecordingIndexCarriedOverBeyondTheNextRecordRestartsSilently) {
  Use({MergedRecord(u"кошка", 3), MergedRecord(u"кот", 1)}, {0, 1});
  lesson.m_bContraVersa = 1;
  ASSERT_TRUE(Repaint());
  ASSERT_TRUE(Repaint());
  ASSERT_EQ(lesson.m_nCurMp3Index, 2);
  lesson.m_nUserFilterIndex = 1;  // the learner moves on; the index carries over
  ASSERT_TRUE(lesson.SetUserData());
  EXPECT_EQ(lesson.m_wsKeyWord, u"кот");
  EXPECT_EQ(lesson.m_nMp3WordSize, 10);
  EXPECT_EQ(lesson.m_nCurMp3Index, 0);
  EXPECT_TRUE(lesson.messages.empty());
  EXPECT_NE(lesson.LogText().find("m_nCurMp3Index (2) >= nvMp3WordSize (1)"), std::string::npos);
}

TEST_F(SetUserDataTest, ExamViewsTakeTheQuestionFromTheirOwnStep) {
  Use({Record(u"v", u"", u"aller", {u"идти"})}, {0});
  lesson.m_bExamMode = 1;
  lesson.examDataResult = false;
  EXPECT_FALSE(lesson.SetUserData());
  EXPECT_EQ(lesson.examDataCalls, 1);
  EXPECT_TRUE(lesson.m_wsKeyWord.empty());

  // The exam step has filled the current record itself: it is not overwritten.
  lesson.examDataResult = true;
  lesson.m_wsKeyWord = u"question";
  lesson.m_vwsAltWords = {u"r1", u"r2"};
  lesson.m_vpMp3Word = {Mp3Recording::Held(std::vector<uint8_t>(3))};
  lesson.m_nvMp3WordSize = {3};
  EXPECT_TRUE(lesson.SetUserData());
  EXPECT_EQ(lesson.m_wsKeyWord, u"question");
  EXPECT_EQ(lesson.m_vwsAltWords.size(), 2u);
  EXPECT_EQ(lesson.m_nMp3WordSize, 3);

  // Outside the Exam views the step is never asked.
  lesson.m_bExamMode = 0;
  EXPECT_TRUE(lesson.SetUserData());
  EXPECT_EQ(lesson.examDataCalls, 2);
  EXPECT_EQ(lesson.m_wsKeyWord, u"aller");
}

TEST_F(SetUserDataTest, PositionOutsideTheFilterIsRefusedInsteadOfReadPast) {
  Use({Record(u"v", u"", u"aller", {u"идти"})}, {0, 5});
  lesson.m_nUserFilterIndex = 2;
  EXPECT_FALSE(lesson.SetUserData());
  lesson.m_nUserFilterIndex = 1;  // an index beyond the lesson
  EXPECT_FALSE(lesson.SetUserData());
  EXPECT_TRUE(lesson.messages.empty());
}

// ---- typing check ----

TEST(TypingCheck, TypedTextMustBeAnExactPrefixOfTheKey) {
  RecordingLesson lesson;
  lesson.m_wsKeyWord = u"été";
  struct Case {
    std::u16string typed;
    int32_t matches;
  };
  const Case cases[] = {{u"", 1},        {u"é", 1},  {u"été", 1},  {u"et", 0},
                        {u"e\u0301", 0}, {u"ÉT", 0}, {u"été ", 0}, {u"étéé", 0}};
  for (const Case& c : cases) {
    lesson.m_typedText = c.typed;
    lesson.CheckTypedText();
    EXPECT_EQ(lesson.m_typedMatches, c.matches) << c.typed.size();
    EXPECT_EQ(lesson.m_expectedText, u"été");
    EXPECT_EQ(lesson.m_expectedLength, 3);
    EXPECT_EQ(lesson.m_typedLength, static_cast<int32_t>(c.typed.size()));
  }
  lesson.ClearTypedText();
  EXPECT_TRUE(lesson.m_typedText.empty());
  EXPECT_EQ(lesson.m_typedLength, 0);
  EXPECT_EQ(lesson.m_expectedText, u"été");
}

// ---- clearing ----

TEST(StopSound, ClearsTheLessonButKeepsTheShownTexts) {
  RecordingLesson lesson;
  lesson.m_vWordsData = {Record(u"m", u"s", u"chat", {u"кот"})};
  ASSERT_TRUE(lesson.CreateUserFilters());
  lesson.SelectUserFilter(801, u"");
  ASSERT_TRUE(lesson.SetUserData());
  lesson.m_nUserFilterIndex = 0;
  lesson.m_nCurMp3Index = 0;
  lesson.m_bPlayOnPaint = 0;
  lesson.m_typedText = u"ch";
  lesson.m_rightAnswers = lesson.m_wrongAnswers = lesson.m_hints = 2;

  lesson.StopSound();

  EXPECT_TRUE(lesson.m_vWordsData.empty());
  EXPECT_TRUE(lesson.m_mapUserFilters.empty());
  EXPECT_TRUE(lesson.m_mapExtGramKeysToMapIndToVWS.empty());
  EXPECT_TRUE(lesson.m_vUserIndexes.empty());
  EXPECT_TRUE(lesson.m_vpMp3Word.empty());
  EXPECT_TRUE(lesson.m_nvMp3WordSize.empty());
  EXPECT_TRUE(lesson.m_vwsAltWords.empty());
  EXPECT_TRUE(lesson.m_typedText.empty());
  EXPECT_EQ(
      lesson.m_nTotalCountAltWords + lesson.m_rightAnswers + lesson.m_wrongAnswers + lesson.m_hints,
      0);
  EXPECT_EQ(lesson.m_bPlayOnPaint, 1);
  EXPECT_EQ(lesson.m_wsKeyWord, u"chat");
  EXPECT_TRUE(lesson.m_pMp3Word.IsNull());
  EXPECT_NE(lesson.LogText().find(
                "CWordsView::StopSound() : Очистка вектора переводов : m_vwsAltWords.size() = 0\n"),
            std::string::npos);
}

// ---- records ----

TEST(WordsData, ExtendedKeyCarriesGrammarAndAnExactNumberCode) {
  WordsData record = Record(u"m", u"s", u"maison", {u"дом"});
  EXPECT_EQ(ExtendedKey(u"дом", record), u"дом, m,s");
  record.wsFrNumber = u"p";
  EXPECT_EQ(ExtendedKey(u"дом", record), u"дом, m,p");
  for (const char16_t* number : {u"", u"pl", u"S"}) {
    record.wsFrNumber = number;
    EXPECT_EQ(ExtendedKey(u"дом", record), u"дом, m");
  }
}

TEST(WordsData, CopiesReferToTheSameRecordingWhichOutlivesTheOriginal) {
  std::unique_ptr<WordsData> original =
      std::make_unique<WordsData>(Record(u"m", u"s", u"a", {u"b"}));
  const WordsData copy = *original;
  EXPECT_EQ(copy.vpMp3Word[0], original->vpMp3Word[0]);
  EXPECT_NE(copy.vpMp3Word[0], Record(u"m", u"s", u"a", {u"b"}).vpMp3Word[0])
      << "equal bytes, another recording";
  original.reset();
  EXPECT_EQ(copy.vpMp3Word[0].Read(), std::vector<uint8_t>(4, 1));
  EXPECT_EQ(copy.vpMp3Word[0].Size(), 4);
}

}  // namespace
}  // namespace verbaro::test
