// The wrong-answer pool of an exam question against a plain model of it, the map of record index
// to a copy of that record's answers from which entries and texts are erased, which is what the
// pool replaces without copying.
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <random>
#include <vector>

#include "data/CandidatePool.h"

namespace verbaro::test {
namespace {

using Model = std::map<int32_t, std::vector<std::u16string>>;

std::vector<WordsData> Records(int count) {
  std::vector<WordsData> records(static_cast<size_t>(count));
  for (int r = 0; r < count; ++r) {
    for (int a = 0; a <= r % 3; ++a) {
      records[r].vwsAltWords.push_back(u"ответ " +
                                       std::u16string(1, static_cast<char16_t>(u'а' + r)) +
                                       std::u16string(1, static_cast<char16_t>(u'0' + a)));
    }
  }
  return records;
}

void ExpectSame(const CandidatePool& pool, const Model& model) {
  ASSERT_EQ(pool.size(), model.size());
  EXPECT_EQ(pool.empty(), model.empty());
  size_t position = 0;
  for (const auto& [index, texts] : model) {
    ASSERT_EQ(pool.IndexAt(position++), index);
    EXPECT_TRUE(pool.Contains(index));
    const std::span<const std::u16string> pooled = pool.TextsOf(index);
    EXPECT_EQ(std::vector<std::u16string>(pooled.begin(), pooled.end()), texts) << index;
  }
}

TEST(CandidatePool, TakingEntriesAndTextsOutAgreesWithACopiedGroup) {
  const std::vector<WordsData> records = Records(30);
  const std::vector<int32_t> group{1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 16, 17, 19, 20, 22, 23, 25};
  std::mt19937 random(21);
  for (int round = 0; round < 200; ++round) {
    CandidatePool pool;
    pool.Fill(group, records);
    Model model;
    for (const int32_t index : group)
      model[index] = {records[index].vwsAltWords.begin(), records[index].vwsAltWords.end()};
    while (!model.empty()) {
      ExpectSame(pool, model);
      const auto entry = std::next(model.begin(), static_cast<long>(random() % model.size()));
      const int32_t index = entry->first;
      if (random() % 4 == 0) {
        pool.Remove(index);
        model.erase(entry);
        continue;
      }
      const size_t at = random() % entry->second.size();
      pool.RemoveText(index, at);
      if (entry->second.size() == 1) {
        model.erase(entry);
      } else {
        entry->second.erase(entry->second.begin() + static_cast<long>(at));
      }
    }
    ExpectSame(pool, model);
  }
}

TEST(CandidatePool, OutsidersAndTakenEntriesHaveNoTextsAndTheRecordsStayWhole) {
  const std::vector<WordsData> records = Records(6);
  const std::vector<int32_t> group{2, 5};
  CandidatePool pool;
  pool.Fill(group, records);
  EXPECT_FALSE(pool.Contains(3));
  EXPECT_TRUE(pool.TextsOf(3).empty());
  pool.RemoveText(5, 0);  // record 5 has three answers
  pool.RemoveText(5, 7);  // no such text: nothing happens
  EXPECT_EQ(pool.TextsOf(5).size(), 2u);
  EXPECT_EQ(records[5].vwsAltWords.size(), 3u) << "the lesson's record is not touched";
  pool.Remove(2);
  pool.Remove(2);  // twice is once
  EXPECT_EQ(pool.size(), 1u);
  EXPECT_EQ(pool.IndexAt(0), 5);
  EXPECT_TRUE(pool.TextsOf(2).empty());
  pool.clear();
  EXPECT_TRUE(pool.empty());
  EXPECT_FALSE(pool.Contains(5));
}

}  // namespace
}  // namespace verbaro::test
