// The shared keys of the reversal and the exam preparations, and the answer index made from them
// on first use: code-unit order (a prefix first, units above the surrogates after Cyrillic),
// additions kept in order among equal keys, and lookups of keys that are not there.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "data/ExamPreparation.h"
#include "data/ExtendedKeys.h"

namespace verbaro::test {
namespace {

WordsData Row(std::u16string gram, std::u16string number, std::vector<std::u16string> answers) {
  WordsData row;
  row.wsFrGram = std::move(gram);
  row.wsFrNumber = std::move(number);
  row.vwsAltWords = answers;
  return row;
}

TEST(ExtendedKeys, SortByCodeUnitsAndKeepTheOrderOfEqualKeys) {
  const WordsData masculine = Row(u"m", u"s", {});
  const WordsData adjective = Row(u"adj,m", u"x", {});  // no number suffix
  ExtendedKeys keys;
  keys.Add(u"abricot", masculine, 0, 0);
  keys.Add(u"\uFB01n", masculine, 1, 0);  // a ligature, above every Cyrillic and surrogate unit
  keys.Add(u"abri", masculine, 2, 0);
  keys.Add(u"я", masculine, 3, 0);
  keys.Add(u"abri", masculine, 4, 1);
  keys.Add(u"abri", adjective, 5, 0);
  keys.Add(u"a", Row(u"", u"", {}), 6, 0);  // "a, ": shorter than the four units compared first
  keys.Sort();
  std::vector<std::u16string> sorted;
  std::vector<uint32_t> records;
  for (size_t i = 0; i < keys.size(); ++i) {
    sorted.emplace_back(keys.Key(i));
    records.push_back(keys[i].record);
  }
  EXPECT_EQ(sorted, (std::vector<std::u16string>{u"a, ", u"abri, adj,m", u"abri, m,s", u"abri, m,s",
                                                 u"abricot, m,s", u"я, m,s", u"\uFB01n, m,s"}));
  EXPECT_EQ(records, (std::vector<uint32_t>{6, 5, 2, 4, 0, 3, 1}));
  const std::vector<ExtendedKeys::Run> runs = keys.Runs();
  ASSERT_EQ(runs.size(), 6u);
  EXPECT_EQ(runs[2].first, 2u);
  EXPECT_EQ(runs[2].count, 2u);
}

TEST(AltWordsIndex, ListsEachOccurrenceAndAnswersForAbsentKeys) {
  const std::vector<WordsData> records = {Row(u"f", u"s", {u"дом", u"дом"}),
                                          Row(u"f", u"s", {u"изба"}), Row(u"f", u"p", {u"дом"})};
  AltWordsIndex index;
  EXPECT_TRUE(index.empty()) << "an index over nothing";
  index.Over(records);
  EXPECT_EQ(index.size(), 3u);
  EXPECT_EQ(index.at(u"дом, f,s"), (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(index.Find(u"дом, f,p"), (std::vector<int32_t>{2}));
  EXPECT_TRUE(index.Contains(u"изба, f,s", 1));
  EXPECT_FALSE(index.Contains(u"изба, f,s", 0));
  EXPECT_TRUE(index.Find(u"дом").empty()) << "a prefix of a key is no key";
  EXPECT_THROW(static_cast<void>(index.at(u"дом, m,s")), std::out_of_range);
  index.clear();
  EXPECT_TRUE(index.Find(u"дом, f,s").empty());
}

}  // namespace
}  // namespace verbaro::test
