// A store that cannot be used: the trainer goes on, told once why progress is not saved.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "data/Text.h"
#include "data/progress/ProgressStore.h"
#include "data/progress/StoreSchema.h"
#include "support/ProgressFixture.h"
#include "tests/support/Files.h"

namespace verbaro {
namespace {

namespace fs = std::filesystem;
using progress::Direction;
using progress::ExamAnswer;
using test::ProgressFixture;
using test::Typed;
using test::Words;

bool Contains(const std::u16string& text, std::u16string_view part) {
  return text.find(part) != std::u16string::npos;
}

// A store with one missed entry, closed.
void StoreWithHistory(const ProgressFixture& f, int events = 1) {
  auto lesson = f.Open()->OpenLesson(Words(100), "a.db");
  for (int i = 0; i < events; ++i) {
    lesson->RecordTyping(Direction::Forward, std::vector{i % 100}, Typed(3));
  }
}

// The one number a query gives; -1 when it gives none.
int64_t Number(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* stmt = nullptr;
  int64_t number = -1;
  if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW) {
    number = sqlite3_column_int64(stmt, 0);
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return number;
}

int64_t AnswerRows(const std::string& path) { return Number(path, "SELECT count(*) FROM answers"); }

void Execute(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

fs::path SetAside(const fs::path& folder) {
  for (const auto& item : fs::directory_iterator(folder)) {
    if (item.path().filename().string().starts_with("progress.sqlite.damaged-")) return item.path();
  }
  return {};
}

TEST(ProgressFailures, ADamagedStoreIsSetAsideAndANewOneStarted) {
  struct Case {
    const char* name;
    bool pagesOnly;  // a real store whose pages were overwritten, or a file that is no database
  };
  for (const Case c : {Case{"not a database", false}, Case{"damaged pages", true}}) {
    SCOPED_TRACE(c.name);
    ProgressFixture f;
    std::vector<uint8_t> before;
    if (c.pagesOnly) {
      StoreWithHistory(f, 400);
      before = test::ReadFileBytes(f.path);
      ASSERT_GT(before.size(), 5 * 4096u);
      for (size_t i = 2 * 4096; i < before.size(); i += 7) before[i] = static_cast<uint8_t>(i * 31);
    } else {
      fs::create_directories(fs::path(f.path).parent_path());
      before.assign(5000, 'x');
    }
    test::WriteFileBytes(f.path, before);

    auto store = f.Open();
    const std::u16string notice = store->TakeNotice();
    EXPECT_TRUE(Contains(notice, u"повреждён и отложен")) << ToUtf8(notice);
    const fs::path aside = SetAside(fs::path(f.path).parent_path());
    ASSERT_FALSE(aside.empty());
    EXPECT_TRUE(Contains(notice, FromUtf8(aside.string())));
    EXPECT_EQ(test::ReadFileBytes(aside), before);  // kept as it was
    EXPECT_TRUE(store->IsSaving());
    auto lesson = store->OpenLesson(Words(3), "a.db");
    lesson->RecordTyping(Direction::Forward, std::vector{1}, Typed(4));
    EXPECT_EQ(lesson->MissedEntries(Direction::Forward), (std::vector{1}));
    EXPECT_EQ(store->TakeNotice(), u"");
  }
}

TEST(ProgressFailures, AStoreOfANewerVersionIsReadButNeverChanged) {
  ProgressFixture f;
  StoreWithHistory(f);
  Execute(f.path, "PRAGMA user_version = 99");
  const std::vector<uint8_t> bytes = test::ReadFileBytes(f.path);

  auto store = f.Open();
  EXPECT_TRUE(Contains(store->TakeNotice(), u"более новой версией"));
  EXPECT_FALSE(store->IsSaving());
  auto lesson = store->OpenLesson(Words(100), "b.db");
  EXPECT_EQ(lesson->MissedEntries(Direction::Forward), (std::vector{0}));
  lesson->RecordTyping(Direction::Forward, std::vector{5}, Typed(4));
  lesson->RecordExamResult({StudyMode::Exam1, {}, u"все", 1, 1, 1});
  lesson->Forget();
  EXPECT_EQ(lesson->MissedEntries(Direction::Forward), (std::vector{0}));
  store.reset();
  lesson.reset();
  EXPECT_EQ(test::ReadFileBytes(f.path), bytes);  // not a byte changed, the opening included
}

TEST(ProgressSchema, AStoreOfTheFirstVersionIsUpgradedAndKeepsItsProgress) {
  ProgressFixture f;
  StoreWithHistory(f);
  test::ToSecondVersion(f.path);
  // the first version also kept where each mode was left
  Execute(f.path,
          "CREATE TABLE resume(mode INTEGER PRIMARY KEY, lesson_id INTEGER NOT NULL, "
          "path TEXT NOT NULL, filter_id INTEGER NOT NULL, position INTEGER NOT NULL, "
          "at INTEGER NOT NULL); INSERT INTO resume VALUES(0, 1, 'a.db', 800, 5, 0); "
          "PRAGMA user_version = 1");
  auto store = f.Open();
  EXPECT_EQ(store->TakeNotice(), u"");
  EXPECT_TRUE(store->IsSaving());
  EXPECT_EQ(store->OpenLesson(Words(100), "a.db")->MissedEntries(Direction::Forward),
            (std::vector{0}));
  EXPECT_EQ(Number(f.path, "PRAGMA user_version"), progress::kSchemaVersion);
  EXPECT_EQ(Number(f.path, "SELECT count(*) FROM sqlite_schema WHERE name = 'resume'"), 0);
}

TEST(ProgressSchema, AStoreOfTheThirdVersionNamesItsExamFiltersByKindAndKeepsEveryExam) {
  using progress::ExamFilter;
  using Kind = ExamFilter::Kind;
  ProgressFixture f;
  {
    auto lesson = f.Open()->OpenLesson(Words(10), "a.db");
    for (int i = 0; i < 6; ++i) {
      lesson->RecordExamResult({StudyMode::Exam2, {}, u"фильтр", i, 1, 0});
      f.clock.seconds += 60;
    }
  }
  test::ToThirdVersion(f.path);
  // The third version kept the Filters menu's item; 999 is none the trainer ever made.
  Execute(f.path,
          "UPDATE exams SET filter_id = CASE right_answers WHEN 0 THEN 800 WHEN 1 THEN 835 "
          "WHEN 2 THEN 836 WHEN 3 THEN 837 WHEN 4 THEN 838 ELSE 999 END");
  const int64_t ids = Number(f.path, "SELECT sum(id * seq) FROM exams");

  auto lesson = f.Open()->OpenLesson(Words(10), "a.db");
  EXPECT_EQ(Number(f.path, "PRAGMA user_version"), progress::kSchemaVersion);
  EXPECT_EQ(Number(f.path, "SELECT sum(id * seq) FROM exams"), ids);
  std::vector<ExamFilter> filters;
  for (const progress::ExamRecord& exam : lesson->ExamHistory()) {
    EXPECT_EQ(exam.result.mode, StudyMode::Exam2);
    filters.push_back(exam.result.filter);
  }
  // newest first
  EXPECT_EQ(filters, (std::vector<ExamFilter>{{Kind::Lesson, 0},
                                              {Kind::Hard, 0},
                                              {Kind::Due, 0},
                                              {Kind::Missed, 0},
                                              {Kind::Lesson, 35},
                                              {Kind::Lesson, 0}}));
}

TEST(ProgressFailures, AFolderThatCannotBeMadeLeavesTheTrainerWithoutProgress) {
  test::TempFolder folder;
  const fs::path blocker = folder.Write("verbaro", "a file where the folder should be");
  FakeClock clock;
  auto store = progress::ProgressStore::Open((blocker / "progress.sqlite").string(), clock);
  const std::u16string notice = store->TakeNotice();
  EXPECT_TRUE(Contains(notice, u"Прогресс обучения не сохраняется: не удалось создать папку"))
      << ToUtf8(notice);
  EXPECT_FALSE(store->IsSaving());
  auto lesson = store->OpenLesson(Words(3), "a.db");
  EXPECT_EQ(lesson->Id(), 0);
  lesson->RecordTyping(Direction::Forward, std::vector{0}, Typed(9));
  EXPECT_TRUE(lesson->MissedEntries(Direction::Forward).empty());
  EXPECT_EQ(lesson->DueEntries(Direction::Forward), (std::vector{0, 1, 2}));
  EXPECT_EQ(store->TakeNotice(), u"");  // once
}

TEST(ProgressFailures, TheLessonToolReadsWithoutCreatingOrChangingAnything) {
  ProgressFixture f;
  auto missing =
      progress::ProgressStore::Open(f.path, f.clock, progress::ProgressStore::Access::ReadOnly);
  EXPECT_EQ(missing->TakeNotice(), u"");
  EXPECT_FALSE(fs::exists(fs::path(f.path).parent_path()));
  StoreWithHistory(f);
  const int64_t rows = AnswerRows(f.path);
  auto store =
      progress::ProgressStore::Open(f.path, f.clock, progress::ProgressStore::Access::ReadOnly);
  auto lesson = store->OpenLesson(Words(100), "copy.db");
  EXPECT_EQ(lesson->MissedEntries(Direction::Forward), (std::vector{0}));
  lesson->RecordTyping(Direction::Forward, std::vector{1}, Typed(9));
  EXPECT_EQ(AnswerRows(f.path), rows);
}

// A small file system of its own for the test (tmpfs), or nothing without the right to mount.
class SmallDisk {
 public:
  explicit SmallDisk(const fs::path& where, const char* size) : m_where(where) {
    fs::create_directories(where);
    m_mounted = ::mount("tmpfs", where.c_str(), "tmpfs", 0, size) == 0;
  }
  ~SmallDisk() {
    if (m_mounted) ::umount2(m_where.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return m_mounted; }
  bool MakeReadOnly() {
    return ::mount("tmpfs", m_where.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  fs::path m_where;
  bool m_mounted = false;
};

TEST(ProgressFailures, AFullDiskStopsTheSavingWithOneNoticeAndTheTrainerGoesOn) {
  test::TempFolder folder;
  SmallDisk disk(folder.Path() / "disk", "size=512k");
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a small file system needs root";
  FakeClock clock;
  const fs::path path = folder.Path() / "disk" / "progress.sqlite";
  auto store = progress::ProgressStore::Open(path.string(), clock);
  ASSERT_TRUE(store->IsSaving());
  auto lesson = store->OpenLesson(Words(200), "a.db");
  lesson->RecordTyping(Direction::Forward, std::vector{199}, Typed(3));
  {  // fill the rest of the disk
    std::ofstream filler(folder.Path() / "disk" / "filler", std::ios::binary);
    const std::string block(4096, 'f');
    while (filler.write(block.data(), block.size())) {
    }
  }
  for (int i = 0; i < 200; ++i) lesson->RecordTyping(Direction::Forward, std::vector{i}, Typed(3));
  EXPECT_FALSE(store->IsSaving());
  const std::u16string notice = store->TakeNotice();
  EXPECT_TRUE(Contains(notice, u"на диске нет места")) << ToUtf8(notice);
  EXPECT_TRUE(Contains(notice, FromUtf8(path.string())));
  lesson->RecordTyping(Direction::Forward, std::vector{1}, Typed(3));
  EXPECT_EQ(store->TakeNotice(), u"");                               // said once
  EXPECT_EQ(lesson->MissedEntries(Direction::Forward).back(), 199);  // what was saved is there

  // space again: the next event is saved
  fs::remove(folder.Path() / "disk" / "filler");
  lesson->RecordExamAnswer(Direction::Reverse, std::vector{150}, ExamAnswer::Wrong);
  EXPECT_TRUE(store->IsSaving());
  EXPECT_EQ(lesson->MissedEntries(Direction::Reverse), (std::vector{150}));
}

TEST(ProgressFailures, AReadOnlyStoreIsReadAndSaysSo) {
  test::TempFolder folder;
  SmallDisk disk(folder.Path() / "disk", "size=4m");
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a small file system needs root";
  FakeClock clock;
  const fs::path path = folder.Path() / "disk" / "progress.sqlite";
  {
    auto lesson = progress::ProgressStore::Open(path.string(), clock)->OpenLesson(Words(5), "a.db");
    lesson->RecordTyping(Direction::Forward, std::vector{2}, Typed(3));
  }
  ASSERT_TRUE(disk.MakeReadOnly());
  auto store = progress::ProgressStore::Open(path.string(), clock);
  const std::u16string notice = store->TakeNotice();
  EXPECT_TRUE(Contains(notice, u"только для чтения")) << ToUtf8(notice);
  EXPECT_FALSE(store->IsSaving());
  auto lesson = store->OpenLesson(Words(5), "a.db");
  EXPECT_EQ(lesson->MissedEntries(Direction::Forward), (std::vector{2}));
  lesson->RecordTyping(Direction::Forward, std::vector{3}, Typed(3));
  EXPECT_EQ(lesson->MissedEntries(Direction::Forward), (std::vector{2}));
  EXPECT_EQ(store->TakeNotice(), u"");
}

// Two trainers (two processes) recording at the same moment into one store lose nothing.
TEST(ProgressFailures, TwoTrainersAtOnceShareTheStore) {
  ProgressFixture f;
  StoreWithHistory(f, 0);  // the file exists, as after a first start
  constexpr int kEvents = 150;
  const pid_t child = ::fork();
  ASSERT_NE(child, -1);
  const int first = child == 0 ? 0 : 50;
  {
    auto store = f.Open();
    auto lesson = store->OpenLesson(Words(100), "a.db");
    for (int i = 0; i < kEvents; ++i) {
      lesson->RecordExamAnswer(Direction::Forward, std::vector{first + i % 50}, ExamAnswer::Wrong);
    }
    if (child == 0) ::_exit(store->IsSaving() && store->TakeNotice().empty() ? 0 : 1);
    EXPECT_TRUE(store->IsSaving());
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  auto lesson = f.Open()->OpenLesson(Words(100), "a.db");
  EXPECT_EQ(lesson->AnswerLog().size(), 2u * kEvents);
  EXPECT_EQ(lesson->MissedEntries(Direction::Forward).size(), 100u);
  for (const auto& hard : lesson->HardestEntries(Direction::Forward, 100)) {
    EXPECT_EQ(hard.misses, kEvents / 50);
  }
}

}  // namespace
}  // namespace verbaro
