// The trainer's rules as the lesson tool applies them: extended keys, the reversed entries,
// the filter menu with its counts, merges beyond five answers and entries the exams cannot ask.
#include <gtest/gtest.h>

#include "tools/LessonRules.h"

namespace verbaro::lesson {
namespace {

EntryText Entry(int n, std::u16string gram, std::u16string number, std::u16string word,
                std::vector<std::u16string> translations) {
  return {n, std::move(gram), std::move(number), std::move(word), std::move(translations)};
}

TEST(LessonRules, ExtendedKeyAddsTheNumberOnlyForExactlySOrP) {
  EXPECT_EQ(ExtendedKey(u"дом", Entry(1, u"m", u"s", u"maison", {})), u"дом, m,s");
  EXPECT_EQ(ExtendedKey(u"дом", Entry(1, u"m", u"p", u"maisons", {})), u"дом, m,p");
  EXPECT_EQ(ExtendedKey(u"дом", Entry(1, u"m", u"", u"x", {})), u"дом, m");
  EXPECT_EQ(ExtendedKey(u"дом", Entry(1, u"m", u"pl", u"x", {})), u"дом, m");
}

TEST(LessonRules, ReversalMergesByTranslationGrammarAndNumberInKeyOrder) {
  const std::vector<EntryText> reversed = ReverseEntries({
      Entry(1, u"m", u"s", u"chat", {u"кошка", u"кот"}),
      Entry(2, u"f", u"s", u"chatte", {u"кошка"}),
      Entry(3, u"adj,m", u"", u"a", {u"хороший"}),
      Entry(4, u"adj,m", u"", u"b", {u"хороший"}),
      Entry(5, u"~~", u"", u"hors", {u"вне"}),
      Entry(6, u"~", u"", u"Salut !", {u"Привет!"}),
  });
  ASSERT_EQ(reversed.size(), 5u);
  const auto expect = [&](size_t i, std::u16string word, std::u16string gram, std::vector<std::u16string> answers) {
    EXPECT_EQ(reversed[i].word, word) << i;
    EXPECT_EQ(reversed[i].grammar, gram) << i;
    EXPECT_EQ(reversed[i].translations, answers) << i;
  };
  // Capital Cyrillic sorts before small: "Привет!" first.
  expect(0, u"Привет!", u"~", {u"Salut !"});
  expect(1, u"кот", u"m", {u"chat"});
  expect(2, u"кошка", u"f", {u"chatte"});
  expect(3, u"кошка", u"m", {u"chat"});
  expect(4, u"хороший", u"adj,m", {u"a", u"b"});
}

TEST(LessonRules, FiltersOfSixKindsComeInMenuOrderWithTheirCounts) {
  const std::vector<FilterCount> filters = CountFilters({
      Entry(1, u"m", u"s", u"a", {u"1"}),
      Entry(2, u"m", u"p", u"b", {u"2"}),
      Entry(3, u"f", u"s", u"c", {u"3"}),
      Entry(4, u"adj,f", u"", u"d", {u"4"}),
      Entry(5, u"v", u"", u"e", {u"5"}),
      Entry(6, u"~", u"", u"f", {u"6"}),
  });
  const std::vector<std::pair<std::u16string, size_t>> expected = {
      {u"&0 - Все слова и фразы", 6},
      {u"&1 - Все существительные", 3},
      {u"&2 - Все мужские существительные", 2},
      {u"&3 - Мужские существительные, ед.ч.", 1},
      {u"&4 - Мужские существительные, мн.ч.", 1},
      {u"&5 - Все женские существительные", 1},
      {u"&6 - Женские существительные, ед.ч.", 1},
      {u"&b - Все прилагательные", 1},
      {u"&g - Глаголы", 1},
      {u"&h - Фразы", 1},
      {u"c - Женские прилагательные", 1},
  };
  ASSERT_EQ(filters.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(filters[i].name, expected[i].first) << i;
    EXPECT_EQ(filters[i].count, expected[i].second) << i;
  }
}

TEST(LessonRules, BorderlineGrammarCodesLandWhereTheTrainerFilesThem) {
  const auto names = [](EntryText entry) {
    std::vector<std::u16string> result;
    for (const FilterCount& filter : CountFilters({std::move(entry)})) result.push_back(filter.name);
    return result;
  };
  using Names = std::vector<std::u16string>;
  EXPECT_EQ(names(Entry(1, u"num", u"", u"deux", {u"два"})),
            (Names{u"&0 - Все слова и фразы", u"&f - Числительные"}));
  EXPECT_EQ(names(Entry(1, u"nm", u"s", u"x", {u"y"})),
            (Names{u"&0 - Все слова и фразы", u"&1 - Все существительные",
                   u"&8 - Все нейтральные существительные", u"&9 - Нейтральные существительные, ед.ч."}));
  EXPECT_EQ(names(Entry(1, u"f", u"", u"x", {u"y"})),
            (Names{u"&0 - Все слова и фразы", u"&1 - Все существительные",
                   u"&5 - Все женские существительные", u"&z - Прочее"}));
  EXPECT_EQ(names(Entry(1, u"adjf", u"", u"x", {u"y"})),
            (Names{u"&0 - Все слова и фразы", u"&b - Все прилагательные", u"&z - Прочее"}));
  EXPECT_EQ(names(Entry(1, u"adv", u"", u"x", {u"y"})), (Names{u"&0 - Все слова и фразы", u"&e - Наречия"}));
  EXPECT_EQ(names(Entry(1, u"~~", u"", u"x", {u"y"})), (Names{u"&0 - Все слова и фразы", u"&z - Прочее"}));
}

TEST(LessonRules, MergesOfMoreThanFiveAnswersAreFoundInBothDirections) {
  std::vector<EntryText> five;
  for (int i = 1; i <= 5; ++i) five.push_back(Entry(i, u"m", u"s", u"w" + std::u16string(1, u'0' + i), {u"слово"}));
  five.push_back(Entry(6, u"m", u"p", u"w6", {u"слово"}));       // other number: another key
  five.push_back(Entry(7, u"~~", u"", u"w7", {u"слово"}));       // left out of the merges
  five.push_back(Entry(8, u"f", u"s", u"mot", {u"а", u"б", u"в"}));
  five.push_back(Entry(9, u"f", u"s", u"mot", {u"г", u"д"}));    // same word: five answers
  EXPECT_TRUE(FindMergeOverflows(five).empty());

  std::vector<EntryText> six = five;
  six.push_back(Entry(10, u"m", u"s", u"w10", {u"слово"}));
  six.push_back(Entry(11, u"f", u"s", u"mot", {u"е"}));
  const std::vector<MergeOverflow> overflows = FindMergeOverflows(six);
  ASSERT_EQ(overflows.size(), 2u);
  EXPECT_TRUE(overflows[0].reversed);
  EXPECT_EQ(overflows[0].key, u"слово, m,s");
  EXPECT_EQ(overflows[0].answers, 6u);
  EXPECT_EQ(overflows[0].entryNumbers, (std::vector<int>{1, 2, 3, 4, 5, 10}));
  EXPECT_FALSE(overflows[1].reversed);
  EXPECT_EQ(overflows[1].key, u"mot, f,s");
  EXPECT_EQ(overflows[1].answers, 6u);
  EXPECT_EQ(overflows[1].entryNumbers, (std::vector<int>{8, 9, 11}));
}

TEST(LessonRules, EntriesWhoseGroupIsNoFilterGroupCannotBeAskedInTheExams) {
  const std::vector<EntryText> entries = {
      Entry(1, u"m", u"s", u"a", {u"1"}),     Entry(2, u"v", u"", u"b", {u"2"}),
      Entry(3, u"~", u"", u"c", {u"3"}),      Entry(4, u"~~", u"", u"d", {u"4"}),
      Entry(5, u"adj", u"", u"e", {u"5"}),    Entry(6, u"m", u"", u"f", {u"6"}),
      Entry(7, u"adj,m", u"s", u"g", {u"7"}), Entry(8, u"num", u"p", u"h", {u"8"}),
  };
  std::vector<int> unaskable;
  for (const EntryText* entry : FindUnaskableEntries(entries)) unaskable.push_back(entry->entryNumber);
  EXPECT_EQ(unaskable, (std::vector<int>{5, 6, 7, 8}));
}

}  // namespace
}  // namespace verbaro::lesson
