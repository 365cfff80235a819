// Classifying a lesson into the Filters menu and choosing the working filter.
#include <gtest/gtest.h>

#include <utility>

#include "support/RecordingLesson.h"

namespace verbaro::test {
namespace {

using Names = std::vector<std::u16string>;
using Indexes = std::vector<int32_t>;

Names FilterNames(const LessonState& lesson) {
  Names names;
  for (const auto& [name, indexes] : lesson.m_mapUserFilters) names.push_back(name);
  return names;
}

// The filters holding record `index`, in menu order.
Names FiltersOf(const LessonState& lesson, int32_t index) {
  Names names;
  for (const auto& [name, indexes] : lesson.m_mapUserFilters) {
    if (std::find(indexes.begin(), indexes.end(), index) != indexes.end()) names.push_back(name);
  }
  return names;
}

TEST(UserFilters, SixRowLessonGivesElevenMenuItemsInCodeUnitOrder) {
  RecordingLesson lesson;
  lesson.m_vWordsData = {
      Record(u"m", u"s", u"chat", {u"кот"}),   Record(u"m", u"p", u"chats", {u"коты", u"кошки"}),
      Record(u"f", u"s", u"maison", {u"дом"}), Record(u"adj,f", u"", u"belle", {u"красивая"}),
      Record(u"v", u"", u"aller", {u"идти"}),  Record(u"~", u"", u"bonjour", {u"здравствуйте"})};
  ASSERT_TRUE(lesson.CreateUserFilters());
  EXPECT_EQ(lesson.m_nTotalCountAltWords, 7);

  // "c - ..." has no "&" and sorts after every "&" name, "&z" included.
  const std::vector<std::pair<int, std::u16string>> expected = {
      {800, u"&0 - Все слова и фразы (6)"},
      {801, u"&1 - Все существительные (3)"},
      {802, u"&2 - Все мужские существительные (2)"},
      {803, u"&3 - Мужские существительные, ед.ч. (1)"},
      {804, u"&4 - Мужские существительные, мн.ч. (1)"},
      {805, u"&5 - Все женские существительные (1)"},
      {806, u"&6 - Женские существительные, ед.ч. (1)"},
      {807, u"&b - Все прилагательные (1)"},
      {808, u"&g - Глаголы (1)"},
      {809, u"&h - Фразы (1)"},
      {810, u"c - Женские прилагательные (1)"}};
  EXPECT_EQ(lesson.FilterMenuItems(), expected);

  EXPECT_EQ(lesson.m_mapUserFilters.at(u"&0 - Все слова и фразы"), (Indexes{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(lesson.m_mapUserFilters.at(u"&1 - Все существительные"), (Indexes{0, 1, 2}));
  EXPECT_EQ(lesson.m_mapUserFilters.at(u"&2 - Все мужские существительные"), (Indexes{0, 1}));

  // The fine categories hold each record under its grammar key.
  Names keys;
  for (const auto& [key, indexes] : lesson.m_mapExtGramKeysToMapIndToVWS) keys.push_back(key);
  EXPECT_EQ(keys, (Names{u"adj,f", u"f,s", u"m,p", u"m,s", u"v", u"~"}));
  EXPECT_EQ(lesson.m_mapExtGramKeysToMapIndToVWS.at(u"m,p"), (Indexes{1}));
  EXPECT_EQ(lesson.m_vWordsData[1].vwsAltWords, (Names{u"коты", u"кошки"}));
}

TEST(UserFilters, MenuHasTheSingleDefaultItemWithoutFilters) {
  RecordingLesson lesson;
  const std::vector<std::pair<int, std::u16string>> expected = {{800, u"&0 - Все слова и фразы"}};
  EXPECT_EQ(lesson.FilterMenuItems(), expected);
}

TEST(UserFilters, NothingToClassifyIsReportedToTheLog) {
  RecordingLesson lesson;
  lesson.m_mapUserFilters[u"&0 - Все слова и фразы"] = {0};
  EXPECT_FALSE(lesson.CreateUserFilters());
  EXPECT_NE(lesson.LogText().find("Отсутствуют исходные данные : m_vWordsData.size() == 0"),
            std::string::npos);
}

TEST(UserFilters, GrammarCodesAreClassifiedByTheirLeadingCharacters) {
  RecordingLesson lesson;
  lesson.m_vWordsData = {
      Record(u"num", u"s", u"deux", {u"два"}),   Record(u"nm", u"p", u"x", {u"икс"}),
      Record(u"m", u"", u"gens", {u"люди"}),     Record(u"adjf", u"", u"y", {u"игрек"}),
      Record(u"~~", u"", u"skip", {u"пропуск"}), Record(u"adv", u"", u"vite", {u"быстро"}),
      Record(u"f", u"pl", u"z", {u"зет"}),       Record(u"", u"", u"?", {u"вопрос"})};
  ASSERT_TRUE(lesson.CreateUserFilters());
  // "num" is a numeral, not a neuter noun; "nm" is a neuter noun.
  EXPECT_EQ(FiltersOf(lesson, 0), (Names{u"&0 - Все слова и фразы", u"&f - Числительные"}));
  EXPECT_EQ(FiltersOf(lesson, 1), (Names{u"&0 - Все слова и фразы", u"&1 - Все существительные",
                                         u"&8 - Все нейтральные существительные",
                                         u"&a - Нейтральные существительные, мн.ч."}));
  // A noun without a number stays out of the singular and plural filters.
  EXPECT_EQ(FiltersOf(lesson, 2), (Names{u"&0 - Все слова и фразы", u"&1 - Все существительные",
                                         u"&2 - Все мужские существительные", u"&z - Прочее"}));
  EXPECT_EQ(FiltersOf(lesson, 3),
            (Names{u"&0 - Все слова и фразы", u"&b - Все прилагательные", u"&z - Прочее"}));
  EXPECT_EQ(FiltersOf(lesson, 4), (Names{u"&0 - Все слова и фразы", u"&z - Прочее"}));
  EXPECT_EQ(FiltersOf(lesson, 5), (Names{u"&0 - Все слова и фразы", u"&e - Наречия"}));
  // A number that only begins with "p" still counts as plural.
  EXPECT_EQ(FiltersOf(lesson, 6),
            (Names{u"&0 - Все слова и фразы", u"&1 - Все существительные",
                   u"&5 - Все женские существительные", u"&7 - Женские существительные, мн.ч."}));
  EXPECT_EQ(FiltersOf(lesson, 7), (Names{u"&0 - Все слова и фразы", u"&z - Прочее"}));
  EXPECT_EQ(lesson.m_mapExtGramKeysToMapIndToVWS.at(u"others").size(), 4u);
}

TEST(UserFilters, LeftOutEntriesAreAbsentFromEveryExamFilter) {
  RecordingLesson lesson;
  lesson.m_bExamMode = 1;
  lesson.m_vWordsData = {Record(u"~~", u"", u"skip", {u"пропуск"}),
                         Record(u"~", u"", u"bonjour", {u"привет"})};
  ASSERT_TRUE(lesson.CreateUserFilters());
  EXPECT_TRUE(FiltersOf(lesson, 0).empty());
  EXPECT_EQ(FilterNames(lesson), (Names{u"&0 - Все слова и фразы", u"&h - Фразы"}));
  EXPECT_EQ(lesson.m_nTotalCountAltWords, 1);
  EXPECT_EQ(lesson.m_mapExtGramKeysToMapIndToVWS.count(u"others"), 0u);
}

// ---- selecting a filter ----

class SelectUserFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lesson.m_vWordsData = {Record(u"m", u"s", u"chat", {u"кот"}),
                           Record(u"v", u"", u"aller", {u"идти", u"ехать"}),
                           Record(u"m", u"p", u"chats", {u"коты"}),
                           Record(u"v", u"", u"voir", {u"видеть", u"смотреть", u"глядеть"})};
    ASSERT_TRUE(lesson.CreateUserFilters());
  }
  RecordingLesson lesson;
};

TEST_F(SelectUserFilterTest, ChoosingAFilterMakesItCurrentFromItsFirstRecord) {
  lesson.m_nUserFilterIndex = 1;
  lesson.m_nCurMp3Index = 2;
  lesson.m_rightAnswers = lesson.m_wrongAnswers = lesson.m_hints = 3;
  lesson.m_typedText = u"al";
  lesson.m_typedLength = 2;
  lesson.m_expectedText = u"aller";

  // "&0", "&1", "&2", "&3", "&4", "&g": the verbs are id 805.
  lesson.SelectUserFilter(805, u"Модуль \"Конспект-1\"");

  EXPECT_EQ(lesson.m_vUserIndexes, (Indexes{1, 3}));
  EXPECT_EQ(lesson.m_nUserFilterIndex, 0);
  EXPECT_EQ(lesson.m_nCurMp3Index, 0);
  EXPECT_EQ(lesson.m_nTotalCountAltWords, 5);
  EXPECT_EQ(lesson.m_rightAnswers + lesson.m_wrongAnswers + lesson.m_hints, 0);
  EXPECT_TRUE(lesson.m_typedText.empty());
  EXPECT_EQ(lesson.m_typedLength, 0);
  EXPECT_TRUE(lesson.m_expectedText.empty());
  EXPECT_EQ(lesson.repaints, 1);
  ASSERT_EQ(lesson.messages.size(), 1u);
  EXPECT_EQ(lesson.messages[0].caption, u"Информация");
  EXPECT_EQ(lesson.messages[0].text,
            u"Выбран фильтр: \"&g - Глаголы\",\nв режиме:\n\"Модуль \"Конспект-1\"\".");

  // The same filter again starts over from its first record.
  lesson.m_nUserFilterIndex = 1;
  lesson.SelectUserFilter(805, u"Модуль \"Конспект-1\"");
  EXPECT_EQ(lesson.m_nUserFilterIndex, 0);
  EXPECT_EQ(lesson.repaints, 2);
}

TEST_F(SelectUserFilterTest, TheSelectionAfterALoadIsSilent) {
  lesson.SelectUserFilter(800, u"");
  EXPECT_EQ(lesson.m_vUserIndexes, (Indexes{0, 1, 2, 3}));
  EXPECT_EQ(lesson.repaints, 1);
  EXPECT_TRUE(lesson.messages.empty());
}

TEST_F(SelectUserFilterTest, IdOutsideTheFiltersKeepsTheWorkingListAndAsksForALesson) {
  lesson.SelectUserFilter(801, u"");
  const Indexes nouns = lesson.m_vUserIndexes;
  lesson.m_nUserFilterIndex = 2;
  for (int id : {806, 835, 799}) {
    lesson.SelectUserFilter(id, u"M");
    EXPECT_EQ(lesson.m_vUserIndexes, nouns);
    EXPECT_EQ(lesson.m_nUserFilterIndex, 0);
  }
  EXPECT_EQ(lesson.repaints, 1);
  ASSERT_EQ(lesson.messages.size(), 3u);
  EXPECT_EQ(lesson.messages[0].text,
            u"Выбран фильтр по умолчанию,\nв режиме:\n\"M\".\nТребуется загрузка данных!");
}

TEST(SelectUserFilterWithoutLesson, TheOnlyItemAsksForALesson) {
  RecordingLesson lesson;
  lesson.SelectUserFilter(800, u"Модуль \"Видео-2\"");
  EXPECT_EQ(lesson.repaints, 0);
  ASSERT_EQ(lesson.messages.size(), 1u);
  EXPECT_EQ(lesson.messages[0].caption, u"Информация");
  EXPECT_EQ(lesson.messages[0].text,
            u"Выбран фильтр по умолчанию,\nв режиме:\n\"Модуль \"Видео-2\"\".\n"
            u"Требуется загрузка данных!");
}

}  // namespace
}  // namespace verbaro::test
