// What the lesson tool finds with the trainer's rules: merges beyond five answers and entries
// the exams cannot ask.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "tools/LessonRules.h"

namespace verbaro::lesson {
namespace {

EntryText Entry(int n, std::u16string gram, std::u16string number, std::u16string word,
                std::vector<std::u16string> translations) {
  EntryText entry;
  entry.entryNumber = n;
  entry.grammar = std::move(gram);
  entry.number = std::move(number);
  entry.word = std::move(word);
  entry.translations = std::move(translations);
  return entry;
}

TEST(LessonRules, MergesOfMoreThanFiveAnswersAreFoundInBothDirections) {
  std::vector<EntryText> five;
  for (int i = 1; i <= 5; ++i)
    five.push_back(Entry(i, u"m", u"s", u"w" + std::u16string(1, u'0' + i), {u"слово"}));
  five.push_back(Entry(6, u"m", u"p", u"w6", {u"слово"}));  // other number: another key
  five.push_back(Entry(7, u"~~", u"", u"w7", {u"слово"}));  // left out of the merges
  five.push_back(Entry(8, u"f", u"s", u"mot", {u"а", u"б", u"в"}));
  five.push_back(Entry(9, u"f", u"s", u"mot", {u"г", u"д"}));  // same word: five answers
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

TEST(LessonRules, EachDirectionCountsOnlyTheRowsItsModesKeep) {
  // Grammar "~~~" is not the exact "~~": the reversed modes keep such rows, while no exam filter
  // holds a code beginning with "~~", so «Экзамен-1» never merges them. A verb with a number is
  // no exam row either.
  std::vector<EntryText> entries;
  for (int i = 1; i <= 6; ++i) {
    const std::u16string n(1, static_cast<char16_t>(u'0' + i));
    entries.push_back(Entry(i, u"~~~", u"", u"w" + n, {u"слово"}));
    entries.push_back(Entry(10 + i, u"~~~", u"", u"mot", {u"перевод" + n}));
    entries.push_back(Entry(20 + i, u"v", u"s", u"dire", {u"сказать" + n}));
    entries.push_back(Entry(30 + i, u"~~", u"", u"w" + n, {u"фраза"}));
  }
  const std::vector<MergeOverflow> overflows = FindMergeOverflows(entries);
  ASSERT_EQ(overflows.size(), 1u);
  EXPECT_TRUE(overflows[0].reversed);
  EXPECT_EQ(overflows[0].key, u"слово, ~~~");
  EXPECT_EQ(overflows[0].entryNumbers, (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST(LessonRules, EntriesWhoseGroupIsNoFilterGroupCannotBeAskedInTheExams) {
  const std::vector<EntryText> entries = {
      Entry(1, u"m", u"s", u"a", {u"1"}),     Entry(2, u"v", u"", u"b", {u"2"}),
      Entry(3, u"~", u"", u"c", {u"3"}),      Entry(4, u"~~", u"", u"d", {u"4"}),
      Entry(5, u"adj", u"", u"e", {u"5"}),    Entry(6, u"m", u"", u"f", {u"6"}),
      Entry(7, u"adj,m", u"s", u"g", {u"7"}), Entry(8, u"num", u"p", u"h", {u"8"}),
  };
  std::vector<int> unaskable;
  for (const EntryText* entry : FindUnaskableEntries(entries))
    unaskable.push_back(entry->entryNumber);
  EXPECT_EQ(unaskable, (std::vector<int>{5, 6, 7, 8}));
}

TEST(LessonRules, InformationLinesThatSpellOutATranslationAreFoundWhateverTheCaseAndPunctuation) {
  std::vector<EntryText> entries = {
      Entry(1, u"~", u"", u"Bonjour !", {u"Здравствуйте!", u"Добрый день!"}),
      Entry(2, u"~", u"", u"Merci !", {u"Спасибо!"}), Entry(3, u"m", u"s", u"chat", {u"кот"}),
      Entry(4, u"f", u"s", u"fête", {u"праздник"}),
      Entry(5, u"~", u"", u"Ça va ?", {u"Как дела?", u"Ёлки!"})};
  entries[0].info2 = u"досл.: ДОБРЫЙ   день";      // case and spacing differ
  entries[1].info1 = u"досл.: милость";            // says something else
  entries[2].info3 = u"котёнок — маленький кот.";  // the word at the end, before a full stop
  entries[3].info1 = u"праздничный";               // only a part of a word: no answer given
  entries[4].info2 = u"елки-палки";                // Ё and Е alike
  const std::vector<InfoGivingAnswer> found = FindInfoGivingAnswers(entries);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].entry->entryNumber, 1);
  EXPECT_EQ(found[0].infoLine, 2);
  EXPECT_EQ(found[0].translation, u"Добрый день!");
  EXPECT_EQ(found[1].entry->entryNumber, 3);
  EXPECT_EQ(found[1].infoLine, 3);
  EXPECT_EQ(found[2].entry->entryNumber, 5);
  EXPECT_EQ(found[2].translation, u"Ёлки!");
}

}  // namespace
}  // namespace verbaro::lesson

namespace verbaro::lesson {
namespace {

TEST(LessonRules, GroupsWithFewerAnswersThanAnExamShowsChoicesAreFoundInBothExams) {
  std::vector<EntryText> entries = {Entry(1, u"v", u"", u"manger", {u"кушать"})};
  const std::u16string nouns[] = {u"chat", u"chien", u"lit", u"mur", u"pain"};
  const std::u16string meanings[] = {u"кот", u"пёс", u"кровать", u"стена", u"хлеб"};
  for (int i = 0; i < 5; ++i) entries.push_back(Entry(2 + i, u"m", u"s", nouns[i], {meanings[i]}));
  entries.push_back(Entry(7, u"~~", u"", u"le", {u"артикль"}));  // never in an exam
  // Four feminine nouns with five translations, two of them on one word: the question of that
  // word draws its wrong choices from the three others only.
  entries.push_back(Entry(8, u"f", u"s", u"porte", {u"дверь", u"ворота"}));
  entries.push_back(Entry(9, u"f", u"s", u"table", {u"стол"}));
  entries.push_back(Entry(10, u"f", u"s", u"rue", {u"улица"}));
  entries.push_back(Entry(11, u"f", u"s", u"eau", {u"вода"}));

  std::vector<SmallExamGroup> small = FindSmallExamGroups(entries);
  std::sort(small.begin(), small.end(), [](const SmallExamGroup& a, const SmallExamGroup& b) {
    return std::tie(a.reversed, a.group) < std::tie(b.reversed, b.group);
  });
  ASSERT_EQ(small.size(), 4u) << "five masculine nouns fill all five choices";
  EXPECT_FALSE(small[0].reversed);
  EXPECT_EQ(small[0].group, u"f,s");
  EXPECT_EQ(small[0].choices, 4u);
  EXPECT_EQ(small[0].entryNumbers, (std::vector<int>{8, 9, 10, 11}));
  EXPECT_EQ(small[1].group, u"v");
  EXPECT_EQ(small[1].choices, 1u) << "the verb is asked with its own answer alone";
  EXPECT_EQ(small[1].entryNumbers, (std::vector<int>{1}));
  EXPECT_TRUE(small[2].reversed);
  EXPECT_EQ(small[2].group, u"f,s");
  EXPECT_EQ(small[2].choices, 4u) << "four French words";
  EXPECT_TRUE(small[3].reversed);
  EXPECT_EQ(small[3].group, u"v");
}

TEST(LessonRules, ASharedTranslationGivesOneChoiceHoweverManyWordsShareIt) {
  std::vector<EntryText> entries;
  const std::u16string words[] = {u"a", u"b", u"c", u"d", u"e"};
  for (int i = 0; i < 5; ++i) entries.push_back(Entry(i + 1, u"f", u"s", words[i], {u"тот же"}));
  const std::vector<SmallExamGroup> small = FindSmallExamGroups(entries);
  ASSERT_EQ(small.size(), 2u);
  for (const SmallExamGroup& group : small) EXPECT_EQ(group.choices, 1u) << group.reversed;
}

}  // namespace
}  // namespace verbaro::lesson
