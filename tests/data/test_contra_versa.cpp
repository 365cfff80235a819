// The reversed lesson of the "-2" views: translations become entries, foreign words answers.
#include <gtest/gtest.h>

#include "support/LessonFiles.h"
#include "support/RecordingLesson.h"

namespace verbaro::test {
namespace {

using Texts = std::vector<std::u16string>;

Texts Keys(const LessonState& lesson) {
  Texts keys;
  for (const WordsData& record : lesson.m_vWordsData)
    keys.push_back(ExtendedKey(record.wsKeyWord, record));
  return keys;
}

TEST(ContraVersa, TranslationsOfOneKindBecomeEntriesInCodeUnitOrder) {
  RecordingLesson lesson;
  lesson.m_vWordsData = {Record(u"m", u"s", u"chat", {u"кошка", u"кот"}, 3),
                         Record(u"f", u"s", u"chatte", {u"кошка"}, 5)};
  lesson.m_vWordsData[0].wsInfo1 = u"[ʃa]";

  ASSERT_TRUE(lesson.BuildContraVersaData());

  ASSERT_EQ(lesson.m_vWordsData.size(), 3u);
  EXPECT_EQ(Keys(lesson), (Texts{u"кот, m,s", u"кошка, f,s", u"кошка, m,s"}));
  EXPECT_EQ(lesson.m_vWordsData[0].wsKeyWord, u"кот");
  EXPECT_EQ(lesson.m_vWordsData[0].vwsAltWords, (Texts{u"chat"}));
  EXPECT_EQ(lesson.m_vWordsData[1].vwsAltWords, (Texts{u"chatte"}));
  EXPECT_EQ(lesson.m_vWordsData[1].nvMp3WordSize, (std::vector<int32_t>{5}));
  EXPECT_EQ(lesson.m_vWordsData[2].vwsAltWords, (Texts{u"chat"}));
  for (const WordsData& record : lesson.m_vWordsData) {
    EXPECT_TRUE(record.wsInfo1.empty() && record.wsInfo2.empty() && record.wsInfo3.empty());
    EXPECT_EQ(record.vnWordErrors, (std::vector<int32_t>{0}));
  }
  // Both entries of "chat" refer to its one recording.
  EXPECT_EQ(lesson.m_vWordsData[0].vpMp3Word[0], lesson.m_vWordsData[2].vpMp3Word[0]);
}

TEST(ContraVersa, RowsSharingATranslationMergeWithAllTheirRecordings) {
  RecordingLesson lesson;
  lesson.m_vWordsData = {Record(u"adj,m", u"", u"a", {u"хороший"}, 3),
                         Record(u"adj,m", u"", u"b", {u"хороший"}, 7)};
  const Mp3Recording first = lesson.m_vWordsData[0].vpMp3Word[0];
  const Mp3Recording second = lesson.m_vWordsData[1].vpMp3Word[0];
  ASSERT_TRUE(lesson.BuildContraVersaData());
  ASSERT_EQ(lesson.m_vWordsData.size(), 1u);
  const WordsData& merged = lesson.m_vWordsData[0];
  EXPECT_EQ(ExtendedKey(merged.wsKeyWord, merged), u"хороший, adj,m");
  EXPECT_EQ(merged.vwsAltWords, (Texts{u"a", u"b"}));
  EXPECT_EQ(merged.vnWordErrors, (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(merged.vpMp3Word, (std::vector<Mp3Recording>{first, second}));
  EXPECT_EQ(merged.nvMp3WordSize, (std::vector<int32_t>{3, 7}));
}

TEST(ContraVersa, SortsByUnsignedCodeUnitsWithAPrefixFirst) {
  RecordingLesson lesson;
  // U+FF41 (fullwidth a) is above every Cyrillic letter only when compared unsigned.
  lesson.m_vWordsData = {Record(u"v", u"", u"x", {u"\uFF41", u"дом"}),
                         Record(u"v", u"", u"y", {u"до"}), Record(u"v", u"", u"z", {u"Дом"})};
  ASSERT_TRUE(lesson.BuildContraVersaData());
  Texts keys;
  for (const WordsData& record : lesson.m_vWordsData) keys.push_back(record.wsKeyWord);
  EXPECT_EQ(keys, (Texts{u"Дом", u"до", u"дом", u"\uFF41"}));
}

TEST(ContraVersa, OnSuccessTheFirstFilterIsSelectedSilently) {
  RecordingLesson lesson;
  lesson.m_vWordsData = {Record(u"m", u"s", u"chat", {u"кот"}),
                         Record(u"v", u"", u"voir", {u"видеть"})};
  ASSERT_TRUE(lesson.BuildContraVersaData());
  EXPECT_EQ(lesson.stopSounds, 1);
  EXPECT_EQ(lesson.menuBuilds, 1);
  EXPECT_EQ(lesson.repaints, 1);
  EXPECT_TRUE(lesson.messages.empty());
  EXPECT_EQ(lesson.m_vUserIndexes, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(lesson.m_nTotalCountAltWords, 2);
  const std::string log = lesson.LogText();
  EXPECT_NE(log.find("0.0. wsExtAltWord = \"кот, m,s\"; wsFrWord = \"chat\"\n"), std::string::npos);
  EXPECT_NE(log.find("mapWordToWD.size() = 2 элем.\n0. wsExtWord = \"видеть, v\" : voir\"\n"),
            std::string::npos);
  EXPECT_NE(log.find("1 : 4 : wsExtAltWord = \"кот, m,s\" : wsAltWord = \"кот\" : chat\"\n"),
            std::string::npos);
}

TEST(ContraVersa, FiveForeignWordsPerTranslationAreTheMost) {
  for (int rows : {5, 6}) {
    SCOPED_TRACE(rows);
    RecordingLesson lesson;
    // "идти" sorts before "мир": it is already rebuilt when "мир" turns out overfull.
    lesson.m_vWordsData.push_back(Record(u"v", u"", u"aller", {u"идти"}));
    for (int i = 0; i < rows; ++i)
      lesson.m_vWordsData.push_back(Record(u"m", u"s", u"w", {u"мир"}));
    const bool built = lesson.BuildContraVersaData();
    ASSERT_EQ(lesson.m_vWordsData.size(), rows == 5 ? 2u : 1u);
    EXPECT_EQ(lesson.m_vWordsData[0].wsKeyWord, u"идти");
    if (rows == 5) {
      EXPECT_TRUE(built);
      EXPECT_EQ(lesson.m_vWordsData[1].vwsAltWords.size(), 5u);
      EXPECT_TRUE(lesson.messages.empty());
      continue;
    }
    EXPECT_FALSE(built);
    ASSERT_EQ(lesson.messages.size(), 1u);
    EXPECT_EQ(lesson.messages[0].caption, u"Информация");
    EXPECT_EQ(lesson.messages[0].text, u"nCountFrWords > m_nMaxAltWords");
    EXPECT_TRUE(lesson.m_mapUserFilters.empty());
    EXPECT_EQ(lesson.menuBuilds, 0);
    EXPECT_EQ(lesson.repaints, 0);
  }
}

TEST(ContraVersa, LeftOutEntriesContributeNothingPhrasesAreReversed) {
  RecordingLesson lesson;
  lesson.m_vWordsData = {Record(u"~~", u"", u"skip", {u"пропуск"}),
                         Record(u"~", u"", u"bonjour", {u"здравствуйте"}),
                         Record(u"~~x", u"", u"kept", {u"оставлен"})};
  ASSERT_TRUE(lesson.BuildContraVersaData());
  EXPECT_EQ(Keys(lesson), (Texts{u"здравствуйте, ~", u"оставлен, ~~x"}));
}

TEST(ContraVersa, LessonOfOnlyLeftOutEntriesFails) {
  RecordingLesson lesson;
  lesson.m_vWordsData = {Record(u"~~", u"", u"a", {u"б"}), Record(u"~~", u"", u"c", {u"д"})};
  EXPECT_FALSE(lesson.BuildContraVersaData());
  EXPECT_EQ(lesson.stopSounds, 1);
  EXPECT_TRUE(lesson.m_vWordsData.empty());
  EXPECT_EQ(lesson.menuBuilds, 0);
  EXPECT_TRUE(lesson.messages.empty());
}

TEST(ContraVersa, NoLessonChangesNothing) {
  RecordingLesson lesson;
  lesson.m_vUserIndexes = {3};
  EXPECT_FALSE(lesson.BuildContraVersaData());
  EXPECT_EQ(lesson.stopSounds, 0);
  EXPECT_EQ(lesson.m_vUserIndexes, (std::vector<int32_t>{3}));
  EXPECT_NE(lesson.LogText().find("Отсутствуют исходные данные : m_vWordsData.size() == 0"),
            std::string::npos);
}

TEST(ContraVersa, MenuThatCannotBeRebuiltFailsWithoutSelecting) {
  RecordingLesson lesson;
  lesson.menuResult = false;
  lesson.m_vWordsData = {Record(u"m", u"s", u"chat", {u"кот"})};
  EXPECT_FALSE(lesson.BuildContraVersaData());
  EXPECT_EQ(lesson.menuBuilds, 1);
  EXPECT_EQ(lesson.repaints, 0);
  EXPECT_TRUE(lesson.m_vUserIndexes.empty());
}

TEST(ContraVersa, LessonFileReversedAndPlayedInTurn) {
  TempFolder folder;
  const auto file = folder.Path() / "lesson.db";
  WriteLesson(file, {LessonRow{u"adj,m", u"", u"bon", {u"хороший"}, Recording(6, 1)},
                     LessonRow{u"adj,m", u"", u"brave", {u"хороший", u"смелый"}, Recording(9, 2)}});
  RecordingLesson lesson;
  lesson.m_szDataFile = PathText(file);
  ASSERT_TRUE(lesson.LoadWordsData());
  lesson.m_bContraVersa = 1;
  ASSERT_TRUE(lesson.BuildContraVersaData());
  EXPECT_EQ(Keys(lesson), (Texts{u"смелый, adj,m", u"хороший, adj,m"}));

  lesson.m_nUserFilterIndex = 1;
  ASSERT_TRUE(lesson.SetUserData());
  EXPECT_EQ(lesson.m_pMp3Word.Read(), Recording(6, 1));
  lesson.AdvanceRecording();
  ASSERT_TRUE(lesson.SetUserData());
  EXPECT_EQ(lesson.m_pMp3Word.Read(), Recording(9, 2));
  EXPECT_EQ(lesson.m_vwsAltWords, (Texts{u"bon", u"brave"}));
}

}  // namespace
}  // namespace verbaro::test
