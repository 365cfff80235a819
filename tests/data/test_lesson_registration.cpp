// How a lesson's entries come into the store and are found again: the fingerprint's value (kept
// in every store, so it may never change), a large new lesson sharing entries with a known one,
// and the index of a lesson's entries over rows other than its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "data/PlainLessonState.h"
#include "data/progress/LessonEntries.h"
#include "data/progress/LessonIdentity.h"
#include "data/progress/ProgressStore.h"
#include "support/ProgressFixture.h"

namespace verbaro {
namespace {

using progress::Direction;
using progress::EntryKey;
using test::ProgressFixture;
using test::Rows;
using test::Typed;
using test::Words;

// FNV-1a over the eight little-endian bytes of every number: the count, each text's length and
// code units, each occurrence.
int64_t ReferenceFingerprint(const std::vector<EntryKey>& keys) {
  uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](uint64_t value) {
    for (int i = 0; i < 8; ++i) {
      hash ^= (value >> (8 * i)) & 0xFF;
      hash *= 1099511628211ull;
    }
  };
  const auto text = [&mix](const std::u16string& units) {
    mix(units.size());
    for (const char16_t unit : units) mix(unit);
  };
  mix(keys.size());
  for (const EntryKey& key : keys) {
    text(key.word);
    text(key.gram);
    text(key.number);
    mix(static_cast<uint64_t>(key.occurrence));
  }
  return static_cast<int64_t>(hash);
}

TEST(LessonRegistration, TheFingerprintIsTheSameFunctionOfTheKeysAsInEveryStoreWritten) {
  const std::vector<std::vector<EntryKey>> lists = {
      {},
      {{u"", u"", u"", 0}},
      {{u"été", u"m", u"s", 0}, {u"été", u"m", u"s", 1}},
      {{u"быть", u"v", u"", 3}, {u"\U0001F600\uFFFF\u0100\u00FF", u"adj,f", u"p", 0}},
      Words(50),
  };
  for (const std::vector<EntryKey>& keys : lists) {
    EXPECT_EQ(progress::LessonFingerprint(keys), ReferenceFingerprint(keys)) << keys.size();
  }
  // the value stores hold for the three words mot0..mot2 (computed apart from this program)
  EXPECT_EQ(progress::LessonFingerprint(Words(3)), -3922882190973063655);
  EXPECT_NE(progress::LessonFingerprint(Words(3)), progress::LessonFingerprint(Words(3, 1)));
}

// A large new lesson (the store's cache is raised while it is written) that shares its first
// half with a known lesson, the last of them in one row of keys with new ones: not the same
// lesson (less than half of the larger list), but the shared entries are the known ones, with
// their memory, and only the others are added.
TEST(LessonRegistration, ALargeNewLessonTakesTheEntriesTheStoreHasAndAddsOnlyTheOthers) {
  ProgressFixture f;
  auto store = f.Open();
  auto known = store->OpenLesson(Words(2950), "/lessons/small.db");
  known->RecordTyping(Direction::Forward, std::vector{7}, Typed(2));

  auto large = store->OpenLesson(Words(6000), "/lessons/large.db");
  ASSERT_NE(large->Id(), 0);
  EXPECT_NE(large->Id(), known->Id());
  EXPECT_EQ(Rows(f.path, "SELECT count(*) FROM entries"), "6000\n");
  const std::string shared =
      "SELECT count(*) FROM lesson_entries a JOIN lesson_entries b "
      "ON a.entry_id = b.entry_id AND a.position = b.position "
      "WHERE a.lesson_id = " +
      std::to_string(known->Id()) + " AND b.lesson_id = " + std::to_string(large->Id());
  EXPECT_EQ(Rows(f.path, shared.c_str()), "2950\n");
  const std::string listed =
      "SELECT count(DISTINCT entry_id), min(position), max(position) "
      "FROM lesson_entries WHERE lesson_id = " +
      std::to_string(large->Id());
  EXPECT_EQ(Rows(f.path, listed.c_str()), "6000 0 5999\n");
  EXPECT_EQ(large->MissedEntries(Direction::Forward), (std::vector{7}));

  // known by its fingerprint from then on, and still written to
  auto again = store->OpenLesson(Words(6000), "/lessons/moved.db");
  EXPECT_EQ(again->Id(), large->Id());
  f.clock.seconds += 60;
  again->RecordTyping(Direction::Forward, std::vector{5999}, Typed(1));
  EXPECT_EQ(again->MissedEntries(Direction::Forward), (std::vector{5999, 7}));
  EXPECT_TRUE(store->IsSaving());
}

// A large lesson rebuilt with new words before its old ones is the known lesson, found by the
// entries it already had; its entry list becomes the rebuilt one.
TEST(LessonRegistration, ALargeRebuiltLessonIsFoundByTheEntriesItAlreadyHad) {
  ProgressFixture f;
  auto store = f.Open();
  auto original = store->OpenLesson(Words(6000), "/lessons/large.db");
  original->RecordTyping(Direction::Forward, std::vector{0}, Typed(3));
  std::vector<EntryKey> rebuilt = Words(500, 100000);
  const std::vector<EntryKey> kept = Words(5000);
  rebuilt.insert(rebuilt.end(), kept.begin(), kept.end());

  auto again = store->OpenLesson(rebuilt, "/lessons/large.db");
  EXPECT_EQ(again->Id(), original->Id());
  EXPECT_EQ(again->MissedEntries(Direction::Forward), (std::vector{500}));
  EXPECT_EQ(Rows(f.path, "SELECT count(*) FROM entries"), "6500\n");
  EXPECT_EQ(Rows(f.path, "SELECT count(*) FROM lesson_entries"), "5500\n");
}

WordsData Row(std::u16string word, std::u16string gram, std::u16string number,
              std::vector<std::u16string> answers) {
  WordsData row;
  row.wsKeyWord = std::move(word);
  row.wsFrGram = std::move(gram);
  row.wsFrNumber = std::move(number);
  row.vwsAltWords = std::move(answers);
  return row;
}

TEST(LessonRegistration, EntriesOfAWordAreItsRowsInRowOrderWithTheirOccurrences) {
  const progress::LessonEntries entries({Row(u"a", u"m", u"s", {}), Row(u"b", u"m", u"s", {}),
                                         Row(u"a", u"m", u"s", {}), Row(u"a", u"f", u"s", {}),
                                         Row(u"a", u"m", u"s", {}), Row(u"b", u"m", u"s", {})});
  EXPECT_EQ(entries.EntriesOfWord(u"a", u"m", u"s"), (std::vector{0, 2, 4}));
  EXPECT_EQ(entries.EntriesOfWord(u"b", u"m", u"s"), (std::vector{1, 5}));
  EXPECT_EQ(entries.EntriesOfWord(u"a", u"f", u"s"), (std::vector{3}));
  EXPECT_TRUE(entries.EntriesOfWord(u"a", u"m", u"p").empty());
  EXPECT_TRUE(entries.EntriesOfWord(u"c", u"m", u"s").empty());
  std::vector<int> occurrences;
  for (const EntryKey& key : entries.Keys()) occurrences.push_back(key.occurrence);
  EXPECT_EQ(occurrences, (std::vector{0, 0, 1, 0, 2, 1}));
}

// The reversed records of rows in another order than the entries were made from (their own
// rows give each word its entries directly; these are looked up word by word) stand for the
// entries the trainer's reversal of those rows gives.
TEST(LessonRegistration, ReversedRecordsOfOtherRowsStandForTheEntriesOfTheirWords) {
  const std::vector<WordsData> rows = {Row(u"chat", u"m", u"s", {u"кот", u"кошка"}),
                                       Row(u"chatte", u"f", u"s", {u"кошка"}),
                                       Row(u"chat", u"m", u"s", {u"кот"}),
                                       Row(u"chien", u"m", u"", {u"собака"}),
                                       Row(u"chien", u"m", u"s", {u"собака", u"пёс"}),
                                       Row(u"être", u"~~", u"", {u"быть"})};
  const progress::LessonEntries entries(rows);
  const std::vector<WordsData> reordered(rows.rbegin(), rows.rend());
  for (const std::vector<WordsData>* given : {&rows, &reordered}) {
    std::vector<std::vector<int>> ours = entries.ReversedRecords(*given);
    PlainLessonState trainer(u"Модуль \"Конспект-2\"");
    trainer.m_vWordsData = *given;
    ASSERT_TRUE(trainer.BuildContraVersaData());
    std::vector<std::vector<int>> theirs;
    for (const WordsData& record : trainer.m_vWordsData) {
      theirs.push_back(entries.EntriesOfReversed(record));
    }
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    EXPECT_EQ(ours, theirs) << (given == &rows ? "own rows" : "reordered");
    // «кот»: both rows of "chat", once each
    EXPECT_NE(std::find(ours.begin(), ours.end(), std::vector{0, 2}), ours.end());
  }
}

}  // namespace
}  // namespace verbaro
