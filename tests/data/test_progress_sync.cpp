// Progress shared between machines through their journals: every machine ends with the same
// answers, exams and derived state whatever order the journals arrive in and however often,
// equal to what one machine that recorded everything in time order derives; a journal cut short
// or damaged is never taken, and nothing of this machine's is ever lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "data/progress/FolderSync.h"
#include "data/progress/LessonIdentity.h"
#include "data/progress/MachineIdentity.h"
#include "data/progress/OwnJournal.h"
#include "data/progress/StoreDatabase.h"
#include "data/progress/StoreSchema.h"
#include "data/progress/SyncFile.h"
#include "data/progress/SyncMerge.h"
#include "support/ProgressFixture.h"

namespace verbaro {
namespace {

namespace fs = std::filesystem;
using progress::Direction;
using progress::ExamAnswer;
using progress::FolderSync;
using progress::JournalState;
using progress::LessonProgress;
using progress::SyncJournal;
using progress::SyncReport;
using test::ProgressFixture;
using test::Rows;
using test::Typed;
using test::Words;

// The store's rows named by content, not by the ids of one store.
std::string Answers(const std::string& path) {
  return Rows(path,
              "SELECT m.id, a.seq, a.at, a.day, e.word, a.direction, a.kind, a.grade, "
              "a.wrong_keystrokes, a.milliseconds, a.typed_on, a.event_first, "
              "(SELECT group_concat(expected || '>' || typed) FROM typing_misses "
              "WHERE answer_id = a.id) FROM answers AS a JOIN entries AS e ON e.id = a.entry_id "
              "JOIN machines AS m ON m.origin = a.origin ORDER BY m.id, a.seq");
}
std::string Memory(const std::string& path) {
  return Rows(
      path,
      "SELECT e.word, m.direction, printf('%!.17g %!.17g', stability, difficulty), "
      "first_day, last_day, due_day, reps, lapses, misses, missed, last_miss_at "
      "FROM memory AS m JOIN entries AS e ON e.id = m.entry_id ORDER BY e.word, m.direction");
}
std::string Totals(const std::string& path) {
  return Rows(path,
              "SELECT l.fingerprint, d.direction, d.day, d.answers, d.first_try_right FROM daily "
              "AS d JOIN lessons AS l ON l.id = d.lesson_id ORDER BY 1, 2, 3") +
         Rows(path,
              "SELECT l.fingerprint, c.direction, c.expected, c.typed, c.count FROM char_misses "
              "AS c JOIN lessons AS l ON l.id = c.lesson_id ORDER BY 1, 2, 3, 4");
}
std::string Exams(const std::string& path) {
  return Rows(path,
              "SELECT m.id, x.seq, x.at, l.fingerprint, x.mode, x.filter_kind, x.filter_index, "
              "x.filter_name, "
              "x.right_answers, x.wrong_answers, x.hints FROM exams AS x JOIN lessons AS l ON "
              "l.id = x.lesson_id JOIN machines AS m ON m.origin = x.origin ORDER BY m.id, x.seq");
}

// One machine: a store of its own, on its own clock, with the lesson open.
struct Machine {
  ProgressFixture f;
  std::unique_ptr<progress::ProgressStore> store = f.Open();
  std::unique_ptr<LessonProgress> lesson = store->OpenLesson(Words(10), "/home/me/fr.db");

  // What this machine writes into the folder, as another machine reads it.
  SyncJournal Journal() const {
    progress::StoreDatabase db(f.path, f.clock, false);
    SyncJournal journal;
    EXPECT_TRUE(progress::BuildOwnJournal(db, "pc", f.clock.seconds, journal));
    SyncJournal read;
    EXPECT_EQ(progress::DecodeJournal(progress::EncodeJournal(journal), read), JournalState::Whole);
    return read;
  }
  int64_t Merge(const SyncJournal& journal,
                size_t rowsPerTransaction = progress::kRowsPerTransaction) const {
    progress::StoreDatabase db(f.path, f.clock, false);
    progress::MergeCounts counts;
    EXPECT_TRUE(progress::MergeJournal(db, journal, counts, rowsPerTransaction));
    return counts.answers;
  }
  std::string All() const {
    return Answers(f.path) + Memory(f.path) + Totals(f.path) + Exams(f.path);
  }
};

using Act = std::function<void(LessonProgress&)>;
struct Step {
  int machine;  // 0 or 1
  int64_t at;   // seconds after the fixture's Monday noon
  Act act;
};

void Play(const std::vector<Step>& steps, Machine* machines[2]) {
  for (const Step& step : steps) {
    Machine& m = *machines[step.machine];
    m.f.clock.seconds = test::kMondayNoon + step.at;
    step.act(*m.lesson);
  }
}

Act Typing(int entry, int wrong, Direction typedOn = Direction::Reverse) {
  return [=](LessonProgress& l) {
    l.RecordTyping(typedOn == Direction::Reverse ? Direction::Forward : Direction::Reverse,
                   std::vector{entry}, Typed(wrong), typedOn);
  };
}
Act Exam(std::vector<int> entries, ExamAnswer answer, Direction direction = Direction::Forward) {
  return [=](LessonProgress& l) { l.RecordExamAnswer(direction, entries, answer); };
}
Act Practice(int entry, int wrong) {
  return [=](LessonProgress& l) {
    l.RecordPractice(Direction::Forward, std::vector{entry}, Typed(wrong));
  };
}
Act Finished(int right) {
  return [=](LessonProgress& l) {
    l.RecordExamResult({StudyMode::Exam1, {}, u"Все слова", right, 1, 0});
  };
}

constexpr int64_t kD = test::kDay;

// Two machines study the same lesson, their clocks apart; the second studies entry 0 after it
// received an answer of the first dated later than its own (its clock behind).
const std::vector<Step> kFirstDays = {
    {0, 0, Typing(0, 1)},
    {1, 30, Typing(0, 0)},
    {0, 60, Exam({1, 2}, ExamAnswer::Wrong)},
    {1, 90, Practice(3, 2)},
    {0, 120, Finished(7)},
    {1, kD, Exam({4}, ExamAnswer::RightFirstTry, Direction::Reverse)},
    {0, kD + 500, Typing(0, 3)},
};
const std::vector<Step> kAfterExchange = {
    {1, kD + 400, Typing(0, 0)},  // after the first machine's kD + 500, by its own clock earlier
    {0, 2 * kD, Exam({1, 2}, ExamAnswer::RightFirstTry)},
    // The same second on both (another entry: within a second the machines' ids order the
    // answers, which one machine recording both could not know).
    {1, 2 * kD, Typing(3, 2)},
    {1, 2 * kD + 5, Finished(9)},
};

TEST(ProgressSync, MachinesEndWithTheSameProgressWhateverTheOrderOfTheirJournals) {
  Machine a, b, c, d;
  Machine* pair[2] = {&a, &b};
  Play(kFirstDays, pair);
  EXPECT_EQ(b.Merge(a.Journal()), 4);  // the exam event stands for two entries
  Play(kAfterExchange, pair);

  const SyncJournal fromA = a.Journal();
  const SyncJournal fromB = b.Journal();
  EXPECT_EQ(a.Merge(fromB), 5);
  EXPECT_EQ(a.Merge(fromB), 0);  // twice is once
  EXPECT_EQ(b.Merge(fromA), 2);
  EXPECT_EQ(b.Merge(fromA), 0);
  // Machines that never opened the lesson, merging in either order, one journal twice.
  EXPECT_EQ(c.Merge(fromA) + c.Merge(fromB), 11);
  EXPECT_EQ(d.Merge(fromB) + d.Merge(fromA) + d.Merge(fromB), 11);
  c.lesson.reset();
  d.lesson.reset();

  EXPECT_NE(Answers(a.f.path), "");
  const std::string everything = a.All();
  EXPECT_EQ(b.All(), everything);
  // c and d opened Words(10) at start too, without answers: the same lesson by its content.
  EXPECT_EQ(c.All(), everything);
  EXPECT_EQ(d.All(), everything);

  // One machine that recorded every answer itself, in time order, derives the same memory and
  // the same totals.
  std::vector<Step> inTime = kFirstDays;
  inTime.insert(inTime.end(), kAfterExchange.begin(), kAfterExchange.end());
  std::stable_sort(inTime.begin(), inTime.end(),
                   [](const Step& x, const Step& y) { return x.at < y.at; });
  for (Step& step : inTime) step.machine = 0;
  Machine one;
  Machine* alone[2] = {&one, &one};
  Play(inTime, alone);
  EXPECT_EQ(Memory(one.f.path), Memory(a.f.path));
  EXPECT_EQ(Totals(one.f.path), Totals(a.f.path));
  // and the review lists the learner sees agree
  EXPECT_EQ(b.lesson->MissedEntries(Direction::Forward),
            one.lesson->MissedEntries(Direction::Forward));
  EXPECT_EQ(b.lesson->DueEntries(Direction::Reverse), one.lesson->DueEntries(Direction::Reverse));
}

TEST(ProgressSync, AJournalMergedInSmallPartsEndsAsOneMergedAtOnceWhateverTheOrderOfItsRows) {
  Machine a;
  std::vector<Step> steps = kFirstDays;
  steps.insert(steps.end(), kAfterExchange.begin(), kAfterExchange.end());
  for (Step& step : steps) step.machine = 0;
  Play(steps, std::array<Machine*, 2>{&a, &a}.data());
  SyncJournal journal = a.Journal();
  std::reverse(journal.answers.begin(), journal.answers.end());
  std::reverse(journal.exams.begin(), journal.exams.end());
  Machine once;
  Machine ones;
  Machine threes;
  EXPECT_EQ(once.Merge(journal), 11);
  EXPECT_EQ(ones.Merge(journal, 1), 11);
  EXPECT_EQ(threes.Merge(journal, 3), 11);
  EXPECT_EQ(threes.Merge(journal, 3), 0);
  EXPECT_EQ(ones.All(), once.All());
  EXPECT_EQ(threes.All(), once.All());
  EXPECT_EQ(Memory(once.f.path), Memory(a.f.path));
  EXPECT_EQ(Totals(once.f.path), Totals(a.f.path));
}

TEST(ProgressSync, ALessonKnownOnlyFromAnotherMachineOpensWithItsProgress) {
  Machine a;
  a.lesson->RecordTyping(Direction::Reverse, std::vector{2}, Typed(4), Direction::Forward);
  ProgressFixture f;
  {
    progress::StoreDatabase db(f.path, f.clock, false);
    progress::MergeCounts counts;
    ASSERT_TRUE(progress::MergeJournal(db, a.Journal(), counts));
  }
  // Known, but with no path: it was never opened here.
  EXPECT_EQ(Rows(f.path, "SELECT path, entry_count FROM lessons"), " 10\n");
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(10), "/media/usb/fr.db");
  EXPECT_EQ(lesson->MissedEntries(Direction::Reverse), (std::vector{2}));
  EXPECT_EQ(lesson->MissedCharacters(Direction::Forward).size(), 1u);
  EXPECT_EQ(Rows(f.path, "SELECT count(*), path FROM lessons"), "1 /media/usb/fr.db\n");
}

TEST(ProgressSync, EveryJournalCutShortOrChangedInAnyByteIsRefusedWhole) {
  Machine a;
  Play({{0, 0, Typing(0, 2)}, {0, 9, Exam({1, 2}, ExamAnswer::Refused)}, {0, 20, Finished(3)}},
       std::array<Machine*, 2>{&a, &a}.data());
  const std::string bytes = progress::EncodeJournal(a.Journal());
  SyncJournal read;
  ASSERT_EQ(progress::DecodeJournal(bytes, read), JournalState::Whole);
  EXPECT_EQ(read.answers.size(), 3u);
  EXPECT_EQ(read.exams.size(), 1u);
  for (size_t size = 0; size < bytes.size(); ++size) {
    EXPECT_EQ(progress::DecodeJournal(bytes.substr(0, size), read), JournalState::Damaged) << size;
  }
  for (size_t at = 0; at < bytes.size(); ++at) {
    std::string changed = bytes;
    changed[at] = static_cast<char>(changed[at] ^ 0x10);
    const JournalState state = progress::DecodeJournal(changed, read);
    // the version byte made higher is a newer trainer's file, skipped as well
    EXPECT_EQ(state, at == 8 ? JournalState::Newer : JournalState::Damaged) << at;
  }
  EXPECT_EQ(progress::DecodeJournal(bytes + "x", read), JournalState::Damaged);
}

TEST(ProgressSync, ACheckedJournalWithImpossibleValuesIsRefused) {
  Machine a;
  a.lesson->RecordTyping(Direction::Forward, std::vector{1}, Typed(0));
  const SyncJournal whole = a.Journal();
  const std::vector<std::function<void(SyncJournal&)>> spoil = {
      [](SyncJournal& j) { j.answers[0].entry = 99; },
      [](SyncJournal& j) { j.answers[0].lesson = 5; },
      [](SyncJournal& j) { j.answers[0].origin = 3; },
      [](SyncJournal& j) { j.answers[0].direction = 3; },
      [](SyncJournal& j) { j.answers[0].grade = 0; },  // a typing answer without a grade
      [](SyncJournal& j) { j.answers[0].seq = 0; },
      [](SyncJournal& j) { j.machineId = "not an id"; },
      [](SyncJournal& j) { j.origins[0] = std::string(32, 'a'); },  // the writer is not first
      [](SyncJournal& j) { j.lessons[0].entries[3] = 10; },
  };
  for (size_t i = 0; i < spoil.size(); ++i) {
    SyncJournal bad = whole;
    spoil[i](bad);
    SyncJournal read;
    EXPECT_EQ(progress::DecodeJournal(progress::EncodeJournal(bad), read), JournalState::Damaged)
        << i;
  }
}

// A journal of the first version, which kept an exam's filter as the Filters menu's item, is
// read with the filter named by its kind. Made from this version's file of one exam: the exam
// ends the body, and its kind and place (a byte each) become the item's number.
TEST(ProgressSync, AJournalOfTheFirstVersionNamesItsExamsFiltersByKind) {
  using progress::ExamFilter;
  using Kind = ExamFilter::Kind;
  const auto varint = [](uint64_t value) {
    std::string bytes;
    for (; value >= 0x80; value >>= 7) bytes += static_cast<char>((value & 0x7F) | 0x80);
    return bytes + static_cast<char>(value);
  };
  const auto fixed = [](uint64_t value, int size) {
    std::string bytes;
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
  };
  const std::pair<int, ExamFilter> cases[] = {{800, {Kind::Lesson, 0}}, {803, {Kind::Lesson, 3}},
                                              {836, {Kind::Missed, 0}}, {837, {Kind::Due, 0}},
                                              {838, {Kind::Hard, 0}},   {999, {Kind::Lesson, 0}}};
  for (const auto& [item, filter] : cases) {
    Machine a;
    a.lesson->RecordExamResult({StudyMode::Exam2, {}, u"фильтр", 5, 1, 0});
    const std::string current = progress::EncodeJournal(a.Journal());
    std::string body = current.substr(17, current.size() - 17 - 4);
    const size_t suffix = 1 + 2 * std::u16string_view(u"фильтр").size() + 3;  // name, numbers
    body.replace(body.size() - suffix - 2, 2, varint(static_cast<uint64_t>(item) * 2));
    std::string first = "VERBSYNC" + fixed(1, 1) + fixed(body.size(), 8) + body;
    first += fixed(progress::Crc32(first), 4);
    SyncJournal read;
    ASSERT_EQ(progress::DecodeJournal(first, read), JournalState::Whole) << item;
    ASSERT_EQ(read.exams.size(), 1u);
    EXPECT_EQ(read.exams[0].result.filter, filter) << item;
    EXPECT_EQ(read.exams[0].result.mode, StudyMode::Exam2);
    EXPECT_EQ(read.exams[0].result.filterName, u"фильтр");
    EXPECT_EQ(read.exams[0].result.right, 5);
  }
}

TEST(ProgressSchema, AStoreOfTheSecondVersionGivesItsRowsThisMachinesIdsAndKeepsThem) {
  ProgressFixture f;
  {
    auto store = f.Open();
    auto lesson = store->OpenLesson(Words(10), "a.db");
    lesson->RecordTyping(Direction::Forward, std::vector{0}, Typed(1), Direction::Reverse);
    lesson->RecordExamAnswer(Direction::Forward, std::vector{1, 2}, ExamAnswer::Wrong);
    lesson->RecordPractice(Direction::Reverse, std::vector{3}, Typed(2));
    lesson->RecordExamResult({StudyMode::Exam1, {}, u"Все", 1, 2, 0});
  }
  const std::string memory = Memory(f.path);
  const std::string totals = Totals(f.path);
  test::ToSecondVersion(f.path);
  ASSERT_EQ(Rows(f.path, "PRAGMA user_version"), "2\n");

  auto store = f.Open();
  EXPECT_TRUE(store->IsSaving());
  EXPECT_EQ(Rows(f.path, "PRAGMA user_version"), std::to_string(progress::kSchemaVersion) + "\n");
  // Numbered in their order under the one id, the exam result after the answers; the exam
  // event's second row is no first row; typing kept its keyboard.
  EXPECT_EQ(Rows(f.path,
                 "SELECT a.seq, a.typed_on, a.event_first FROM answers AS a JOIN "
                 "machines AS m ON m.origin = a.origin AND m.own = 2 ORDER BY a.id"),
            "1 2 1\n2 0 1\n3 0 0\n4 2 1\n");
  EXPECT_EQ(Rows(f.path, "SELECT seq FROM exams"), "5\n");
  EXPECT_EQ(Memory(f.path), memory);
  EXPECT_EQ(Totals(f.path), totals);
  // The next answer continues the numbering.
  store->OpenLesson(Words(10), "a.db")->RecordExposure(Direction::Forward, std::vector{5});
  EXPECT_EQ(Rows(f.path, "SELECT max(seq), count(*) FROM answers"), "6 5\n");
}

TEST(ProgressSync, AStoreCopiedToAnotherComputerNumbersItsNewAnswersUnderANewId) {
  Machine a;
  a.lesson->RecordTyping(Direction::Forward, std::vector{1}, Typed(0));
  const SyncJournal before = a.Journal();
  a.lesson.reset();
  a.store.reset();
  // As if the store had been made on another computer and copied here.
  {
    progress::StoreDatabase db(a.f.path, a.f.clock, false);
    ASSERT_TRUE(db.Write(
        [&] { return db.Sql("UPDATE machines SET name = 'old-computer' WHERE own = 2").Run(); }));
  }
  a.store = a.f.Open();
  a.lesson = a.store->OpenLesson(Words(10), "fr.db");
  a.lesson->RecordTyping(Direction::Forward, std::vector{2}, Typed(0));
  const SyncJournal after = a.Journal();
  ASSERT_EQ(after.origins.size(), 2u);
  EXPECT_NE(after.machineId, before.machineId);
  EXPECT_EQ(after.origins[1], before.machineId);
  // The copy's answers keep their names; its own start at 1 under its id.
  ASSERT_EQ(after.answers.size(), 2u);
  std::map<uint32_t, int64_t> seqOfOrigin;
  for (const auto& answer : after.answers) seqOfOrigin[answer.origin] = answer.seq;
  EXPECT_EQ(seqOfOrigin, (std::map<uint32_t, int64_t>{{0, 1}, {1, 1}}));
  // The original, merging the copy's journal, gets only the new answer.
  Machine original;
  EXPECT_EQ(original.Merge(before), 1);
  EXPECT_EQ(original.Merge(after), 1);
}

TEST(ProgressSync, TheJournalKeptBetweenWritingsEqualsOneReadWholeAsRowsComeAndGo) {
  Machine a;
  Machine other;
  other.lesson->RecordTyping(Direction::Forward, std::vector{4}, Typed(1));
  a.Merge(other.Journal());  // another machine's rows are never in this one's journal
  progress::StoreDatabase db(a.f.path, a.f.clock, false);
  progress::OwnJournal kept;
  bool changed = false;
  const auto same = [&](const char* when) {
    SyncJournal whole;
    ASSERT_TRUE(progress::BuildOwnJournal(db, "pc", 7, whole)) << when;
    ASSERT_TRUE(progress::RefreshOwnJournal(db, "pc", 7, kept, changed)) << when;
    SyncJournal read;
    ASSERT_EQ(progress::DecodeJournal(progress::EncodeJournal(kept.journal), read),
              JournalState::Whole)
        << when;
    // The same rows with the same contents, whatever order the tables came in.
    ASSERT_EQ(read.answers.size(), whole.answers.size()) << when;
    for (size_t i = 0; i < whole.answers.size(); ++i) {
      EXPECT_EQ(read.entries[read.answers[i].entry], whole.entries[whole.answers[i].entry]) << when;
      EXPECT_EQ(read.answers[i].seq, whole.answers[i].seq) << when;
      EXPECT_EQ(read.answers[i].misses, whole.answers[i].misses) << when;
      EXPECT_EQ(read.lessons[read.answers[i].lesson].entries.size(),
                whole.lessons[whole.answers[i].lesson].entries.size())
          << when;
    }
    EXPECT_EQ(read.exams.size(), whole.exams.size()) << when;
  };
  same("empty");
  EXPECT_TRUE(changed);  // read for the first time
  Play({{0, 0, Typing(1, 2)}, {0, 5, Exam({2, 3}, ExamAnswer::Wrong)}, {0, 9, Finished(1)}},
       std::array<Machine*, 2>{&a, &a}.data());
  same("after an event");
  EXPECT_TRUE(changed);
  same("nothing new");
  EXPECT_FALSE(changed);
  // Another lesson, with entries the journal does not hold yet.
  a.store->OpenLesson(Words(3, 50), "other.db")
      ->RecordTyping(Direction::Forward, std::vector{2}, Typed(3));
  same("another lesson");
  EXPECT_TRUE(changed);
  a.lesson->Forget();
  a.lesson->RecordTyping(Direction::Forward, std::vector{1}, Typed(0));
  a.lesson->RecordTyping(Direction::Forward, std::vector{2}, Typed(0));
  same("a forgotten lesson");
  EXPECT_TRUE(changed);
  EXPECT_EQ(kept.journal.answers.size(), 3u);
}

// Folders.

std::string Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& item : fs::directory_iterator(folder))
    names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const std::string& name : names) joined += name + "\n";
  return joined;
}

int64_t Arrived(const SyncReport& report) {
  int64_t answers = 0;
  for (const auto& arrival : report.arrivals) answers += arrival.answers;
  return answers;
}

TEST(FolderSync, OnlyWholeJournalsAreMergedAndConflictCopiesAddNothingTwice) {
  test::TempFolder shared;
  const std::string folder = shared.Path().string();
  Machine a;
  FolderSync syncA(*a.store);
  a.lesson->RecordTyping(Direction::Forward, std::vector{1}, Typed(3));
  ASSERT_EQ(syncA.Run(folder).folder, SyncReport::Folder::Ok);
  const std::string name = progress::JournalFileName(a.Journal().machineId);
  std::ifstream in(shared.Path() / name, std::ios::binary);
  const std::string older((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(Names(shared.Path()), name + "\n");  // nothing temporary left
  a.lesson->RecordTyping(Direction::Forward, std::vector{2}, Typed(0));
  a.lesson->RecordExposure(Direction::Forward, std::vector{3});
  syncA.Run(folder);
  std::ifstream again(shared.Path() / name, std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(again)),
                          std::istreambuf_iterator<char>());

  // The second machine's folder, as an engine fills it: a part, its temporary files.
  test::TempFolder other;
  const std::string otherFolder = other.Path().string();
  Machine b;
  FolderSync syncB(*b.store);
  other.Write(name, whole.substr(0, whole.size() / 2));
  other.Write(".syncthing." + name + ".tmp", whole);
  other.Write("~syncthing~" + name + ".tmp", whole);
  SyncReport report = syncB.Run(otherFolder);
  EXPECT_EQ(report.skipped, 1);
  EXPECT_EQ(Arrived(report), 0);
  EXPECT_EQ(Rows(b.f.path, "SELECT count(*) FROM answers"), "0\n");

  other.Write(name, whole);
  other.Write(name.substr(0, name.size() - 7) + ".sync-conflict-20261208-101010-ABCDEFG.vbsync",
              older);
  report = syncB.Run(otherFolder);
  EXPECT_EQ(report.skipped, 0);
  EXPECT_EQ(Arrived(report), 3);
  ASSERT_FALSE(report.arrivals.empty());
  EXPECT_EQ(report.arrivals[0].machineName, progress::HostName());
  EXPECT_EQ(Arrived(syncB.Run(otherFolder)), 0);
  EXPECT_EQ(Answers(b.f.path), Answers(a.f.path));
  EXPECT_EQ(Memory(b.f.path), Memory(a.f.path));
  // The machines seen: both journals, each by its header.
  const auto seen = progress::ScanFolder(otherFolder);
  ASSERT_EQ(seen.size(), 3u);
  for (const auto& machine : seen) EXPECT_EQ(machine.state, JournalState::Whole) << machine.file;
}

TEST(FolderSync, AFolderMissingOrNotWritableIsToldAndTheMachineCatchesUpLater) {
  test::TempFolder shared;
  const std::string folder = (shared.Path() / "Sync").string();
  Machine a;
  FolderSync sync(*a.store);
  a.lesson->RecordTyping(Direction::Forward, std::vector{1}, Typed(3));
  EXPECT_EQ(sync.Run(folder).folder, SyncReport::Folder::Missing);
  EXPECT_EQ(sync.Run("").folder, SyncReport::Folder::Missing);
  fs::create_directories(folder);
  // The journal's name taken by a folder: it cannot be replaced, nor its temporary file left.
  const std::string name = progress::JournalFileName(a.Journal().machineId);
  fs::create_directories(fs::path(folder) / name);
  EXPECT_EQ(sync.Run(folder).folder, SyncReport::Folder::ReadOnly);
  EXPECT_EQ(Names(folder), name + "\n");
  fs::remove(fs::path(folder) / name);
  EXPECT_EQ(sync.Run(folder).folder, SyncReport::Folder::Ok);
  Machine b;
  FolderSync syncB(*b.store);
  EXPECT_EQ(Arrived(syncB.Run(folder)), 1);
}

TEST(FolderSync, AStoreRestoredFromAnOlderCopyTakesItsLostAnswersBackAndNumbersOnAfterThem) {
  test::TempFolder shared;
  const std::string folder = shared.Path().string();
  Machine a;
  const std::string copy = a.f.path + ".copy";
  a.lesson->RecordTyping(Direction::Forward, std::vector{1}, Typed(3));
  a.lesson.reset();
  a.store.reset();  // closed, so that the file holds everything
  fs::copy_file(a.f.path, copy);
  a.store = a.f.Open();
  a.lesson = a.store->OpenLesson(Words(10), "fr.db");
  a.lesson->RecordTyping(Direction::Forward, std::vector{2}, Typed(3));
  {
    FolderSync sync(*a.store);
    sync.Run(folder);
  }
  const std::string answers = Answers(a.f.path);
  a.lesson.reset();
  a.store.reset();
  fs::remove(a.f.path);
  fs::rename(copy, a.f.path);

  a.store = a.f.Open();
  a.lesson = a.store->OpenLesson(Words(10), "fr.db");
  FolderSync sync(*a.store);
  EXPECT_EQ(Arrived(sync.Run(folder)), 1);
  EXPECT_EQ(Answers(a.f.path), answers);
  a.lesson->RecordTyping(Direction::Forward, std::vector{3}, Typed(3));
  EXPECT_EQ(Rows(a.f.path, "SELECT count(DISTINCT seq), count(*) FROM answers"), "3 3\n");
  sync.Run(folder);
  Machine b;
  FolderSync syncB(*b.store);
  EXPECT_EQ(Arrived(syncB.Run(folder)), 3);
}

}  // namespace
}  // namespace verbaro
