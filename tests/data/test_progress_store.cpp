#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "data/progress/LessonEntries.h"
#include "data/progress/ProgressStore.h"
#include "support/ProgressFixture.h"

namespace verbaro {
namespace {

using progress::Direction;
using progress::ExamAnswer;
using test::ProgressFixture;
using test::Typed;
using test::Words;

constexpr Direction kForward = Direction::Forward;
constexpr Direction kReverse = Direction::Reverse;

TEST(ProgressStore, EventsOfOneRunAreThereInTheNext) {
  ProgressFixture f;
  {
    auto store = f.Open();
    EXPECT_TRUE(store->IsSaving());
    EXPECT_EQ(store->TakeNotice(), u"");
    auto lesson = store->OpenLesson(Words(5), "/lessons/a.db");
    EXPECT_NE(lesson->Id(), 0);
    lesson->RecordTyping(kForward, std::vector{0}, Typed(0));
    f.clock.seconds += 60;
    lesson->RecordTyping(kForward, std::vector{1}, Typed(3));
    f.clock.seconds += 60;
    lesson->RecordExamAnswer(kForward, std::vector{2}, ExamAnswer::Refused);
    lesson->RecordExposure(kForward, std::vector{3});
  }
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(5), "/lessons/a.db");
  // the later miss first when both were missed once
  EXPECT_EQ(lesson->MissedEntries(kForward), (std::vector{2, 1}));
  EXPECT_TRUE(lesson->MissedEntries(kReverse).empty());
  // nothing due before tomorrow; the two never answered (exposure is no answer) are new
  EXPECT_EQ(lesson->DueEntries(kForward), (std::vector{3, 4}));
  EXPECT_EQ(lesson->DueEntries(kReverse), (std::vector{0, 1, 2, 3, 4}));
}

TEST(ProgressStore, ALessonIsKnownByItsEntriesWhereverItLies) {
  ProgressFixture f;
  auto store = f.Open();
  auto original = store->OpenLesson(Words(10), "/home/a/words.db");
  original->RecordTyping(kForward, std::vector{4}, Typed(5));
  original->RecordExamResult({StudyMode::Exam1, {}, u"&0 - Все слова и фразы", 9, 1, 0});

  // moved, renamed or copied: the same entries in the same order
  auto copy = store->OpenLesson(Words(10), "/media/usb/copy.db");
  EXPECT_EQ(copy->Id(), original->Id());
  EXPECT_EQ(copy->MissedEntries(kForward), (std::vector{4}));

  // rebuilt after adding two words and correcting one: entry 4 moved to position 6
  std::vector<progress::EntryKey> rebuilt = Words(10);
  const std::vector<progress::EntryKey> added = Words(2, 100);
  rebuilt.insert(rebuilt.begin(), added.begin(), added.end());
  rebuilt[3].word = u"corrigé";
  auto again = store->OpenLesson(rebuilt, "/home/a/words.db");
  EXPECT_EQ(again->Id(), original->Id());
  EXPECT_EQ(again->MissedEntries(kForward), (std::vector{6}));
  ASSERT_EQ(again->ExamHistory().size(), 1u);
  EXPECT_EQ(again->ExamHistory()[0].result.right, 9);

  // the same entries in another order: each keeps its own progress
  std::vector<progress::EntryKey> reordered(rebuilt.rbegin(), rebuilt.rend());
  auto reversed = store->OpenLesson(reordered, "/home/a/words.db");
  EXPECT_EQ(reversed->Id(), original->Id());
  EXPECT_EQ(reversed->MissedEntries(kForward), (std::vector{5}));

  // another lesson, even one sharing a few words, is another lesson
  std::vector<progress::EntryKey> other = Words(10, 50);
  other.push_back(Words(1, 4)[0]);
  auto otherLesson = store->OpenLesson(other, "/home/a/other.db");
  EXPECT_NE(otherLesson->Id(), original->Id());
  EXPECT_TRUE(otherLesson->ExamHistory().empty());
  // an entry's memory is the learner's, whichever lesson it was answered in
  EXPECT_EQ(otherLesson->MissedEntries(kForward), (std::vector{10}));
}

// A lesson not known by its entries in order is the known lesson sharing the most entries, if
// they are more than half of the larger of the two lists.
TEST(ProgressStore, ALessonSharingMoreThanHalfOfTheLargerListIsTheKnownOne) {
  const auto join = [](std::vector<progress::EntryKey> keys,
                       const std::vector<progress::EntryKey>& more) {
    keys.insert(keys.end(), more.begin(), more.end());
    return keys;
  };
  struct Case {
    const char* name;
    std::vector<progress::EntryKey> opened;
    bool known;
  };
  const Case cases[] = {
      {"six of the ten", Words(6), true},
      {"five of the ten", Words(5), false},
      {"six of the ten and four new", join(Words(6, 4), Words(4, 100)), true},
      {"five of the ten and five new", join(Words(5, 5), Words(5, 100)), false},
      {"the ten and nine new", join(Words(10), Words(9, 100)), true},
      {"the ten and ten new", join(Words(10), Words(10, 100)), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgressFixture f;
    auto store = f.Open();
    auto known = store->OpenLesson(Words(10), "known.db");
    known->RecordExamResult({StudyMode::Exam1, {}, u"все", 9, 1, 0});
    auto opened = store->OpenLesson(c.opened, "opened.db");
    EXPECT_EQ(opened->Id() == known->Id(), c.known);
    EXPECT_EQ(opened->ExamHistory().size(), c.known ? 1u : 0u);
  }

  ProgressFixture f;
  auto store = f.Open();
  auto first = store->OpenLesson(Words(10), "first.db");
  auto second = store->OpenLesson(Words(10, 5), "second.db");  // shares half: another lesson
  ASSERT_NE(second->Id(), first->Id());
  // nine entries of the first, eight of the second
  EXPECT_EQ(store->OpenLesson(Words(12, 1), "opened.db")->Id(), first->Id());
}

// The word, its grammar, its number and which row of them it is: each tells entries apart, in a
// lesson and between lessons of the same size.
TEST(ProgressStore, EveryPartOfAnEntryTellsEntriesAndLessonsApart) {
  ProgressFixture f;
  auto store = f.Open();
  const std::vector<progress::EntryKey> keys = {{u"être", u"v", u"", 0},
                                                {u"être", u"v", u"", 1},
                                                {u"chat", u"m", u"s", 0},
                                                {u"chat", u"m", u"p", 0},
                                                {u"chat", u"f", u"s", 0}};
  auto lesson = store->OpenLesson(keys, "a.db");
  for (const int entry : {1, 3, 4}) {
    lesson->RecordExamAnswer(kForward, std::vector{entry}, ExamAnswer::Wrong);
    f.clock.seconds += 60;
  }
  EXPECT_EQ(lesson->MissedEntries(kForward), (std::vector{4, 3, 1}));
  EXPECT_EQ(lesson->DueEntries(kForward), (std::vector{0, 2}));

  const auto changed = [](void (*change)(progress::EntryKey&)) {
    std::vector<progress::EntryKey> changedKeys = Words(6);
    for (progress::EntryKey& key : changedKeys) change(key);
    return changedKeys;
  };
  struct Case {
    const char* name;
    std::vector<progress::EntryKey> keys;
  };
  const Case others[] = {
      {"other words", Words(6, 50)},
      {"other grammar", changed([](progress::EntryKey& key) { key.gram = u"f"; })},
      {"other number", changed([](progress::EntryKey& key) { key.number = u"p"; })},
  };
  auto known = store->OpenLesson(Words(6), "known.db");
  known->RecordExamAnswer(kForward, std::vector{2}, ExamAnswer::Wrong);
  for (const Case& c : others) {
    SCOPED_TRACE(c.name);
    auto other = store->OpenLesson(c.keys, "other.db");
    EXPECT_NE(other->Id(), known->Id());
    EXPECT_TRUE(other->MissedEntries(kForward).empty());
  }
}

TEST(ProgressStore, ForgettingALessonLeavesItAsNew) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(3), "a.db");
  lesson->RecordTyping(kForward, std::vector{0}, Typed(4));
  lesson->RecordExamAnswer(kReverse, std::vector{1}, ExamAnswer::Wrong);
  lesson->RecordExamResult({StudyMode::Exam2, {}, u"все", 1, 2, 3});
  lesson->Forget();
  auto reopened = store->OpenLesson(Words(3), "a.db");
  EXPECT_TRUE(reopened->MissedEntries(kForward).empty());
  EXPECT_TRUE(reopened->MissedEntries(kReverse).empty());
  EXPECT_EQ(reopened->DueEntries(kForward), (std::vector{0, 1, 2}));
  EXPECT_TRUE(reopened->ExamHistory().empty());
  EXPECT_TRUE(reopened->MissedCharacters(kForward).empty());
  EXPECT_TRUE(reopened->AnswerLog().empty());
  EXPECT_EQ(reopened->Counts(kForward).answers, 0);
}

TEST(ProgressStore, EventsForUnknownEntriesAreLeftOut) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(2), "a.db");
  lesson->RecordTyping(kForward, std::vector{-1, 2, 99}, Typed(5));
  lesson->RecordExamAnswer(kForward, std::vector<int>{}, ExamAnswer::Wrong);
  EXPECT_TRUE(lesson->MissedEntries(kForward).empty());
  EXPECT_TRUE(lesson->AnswerLog().empty());
}

TEST(LessonEntries, RowsOfOneWordGetOccurrencesAndReversedRecordsTheirFrenchEntries) {
  auto row = [](std::u16string word, std::u16string gram, std::u16string number) {
    WordsData record;
    record.wsKeyWord = std::move(word);
    record.wsFrGram = std::move(gram);
    record.wsFrNumber = std::move(number);
    return record;
  };
  const progress::LessonEntries entries({row(u"être", u"v", u""), row(u"chat", u"m", u"s"),
                                         row(u"être", u"v", u""), row(u"chat", u"m", u"p")});
  ASSERT_EQ(entries.Keys().size(), 4u);
  EXPECT_EQ(entries.Keys()[2], (progress::EntryKey{u"être", u"v", u"", 1}));
  EXPECT_EQ(entries.Keys()[3].occurrence, 0);  // the plural is another entry
  EXPECT_EQ(entries.EntriesOfWord(u"être", u"v", u""), (std::vector{0, 2}));
  EXPECT_TRUE(entries.EntriesOfWord(u"être", u"v", u"s").empty());
  WordsData reversed = row(u"быть", u"v", u"");
  reversed.vwsAltWords = {u"être", u"être", u"absent"};
  EXPECT_EQ(entries.EntriesOfReversed(reversed), (std::vector{0, 2}));
}

}  // namespace
}  // namespace verbaro

namespace verbaro {
namespace {

// Answers as the store's own file holds them, leaving out what is still only in its log.
int64_t AnswersInTheFileItself(const std::string& path) {
  sqlite3* db = nullptr;
  int64_t rows = -1;
  const std::string uri = "file:" + path + "?immutable=1";
  if (sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) ==
      SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM answers", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
      rows = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return rows;
}

// Polls the store's file for up to five seconds until it holds at least `least` answers.
int64_t FoldedWithin5s(const std::string& path, int64_t least) {
  int64_t folded = 0;
  for (int wait = 0; wait < 100 && folded < least; ++wait) {
    folded = AnswersInTheFileItself(path);
    if (folded < least) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return folded;
}

TEST(ProgressStore, TheLogIsFoldedIntoTheFileWhileTheTrainerRunsAndAtItsEnd) {
  test::ProgressFixture f;
  {
    auto store = f.Open();
    auto lesson = store->OpenLesson(test::Words(10), "a.db");
    for (int i = 0; i < 250; ++i) {
      lesson->RecordExposure(progress::Direction::Forward, std::vector{i % 10});
    }
    // every hundred commits a checkpoint runs on its own thread: the one after the 200th commit
    // (the lesson's opening was the first) holds at least 199 answers
    EXPECT_GE(FoldedWithin5s(f.path, 199), 199);
  }
  EXPECT_EQ(AnswersInTheFileItself(f.path), 250);
  EXPECT_FALSE(std::filesystem::exists(f.path + "-wal"));
}

TEST(ProgressStore, ALogThatAReaderHeldBackIsFoldedOnceTheReaderLetsGo) {
  test::ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(test::Words(10), "a.db");
  for (int i = 0; i < 50; ++i)
    lesson->RecordExposure(progress::Direction::Forward, std::vector{i % 10});
  // Another trainer reads the store and keeps its snapshot over the hundredth commit, so the
  // checkpoint that commit asks for can copy only what the snapshot saw.
  sqlite3* reader = nullptr;
  ASSERT_EQ(sqlite3_open_v2(f.path.c_str(), &reader, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM answers;", nullptr, nullptr, nullptr),
            SQLITE_OK);
  for (int i = 50; i < 110; ++i)
    lesson->RecordExposure(progress::Direction::Forward, std::vector{i % 10});
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_LT(AnswersInTheFileItself(f.path), 99) << "the snapshot held the checkpoint back";
  sqlite3_exec(reader, "COMMIT;", nullptr, nullptr, nullptr);
  sqlite3_close(reader);
  // No further commit comes: the checkpoint is tried again by itself.
  EXPECT_GE(FoldedWithin5s(f.path, 99), 99);
}

}  // namespace
}  // namespace verbaro
