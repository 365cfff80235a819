// Progress between the learner's machines (data/progress/FolderSync.h), off the interface thread:
//
//   MergeFromAnotherMachine  a journal file of 100 000 answers of another machine (2 000 entries
//                            of one lesson, both directions, over 500 days, a tenth with missed
//                            characters, every fifth an exposure) read, checked, decoded and
//                            merged into a store that knows the lesson: the rows inserted, the
//                            memory of every entry touched derived again in time order, the
//                            day totals and missed characters. Bare: the same 100 000 rows
//                            inserted in one transaction into a table of the answers' shape
//                            without an index.
//   WriteOwnJournal/N        this machine's journal of N answers of its own after one more
//                            answer: the new row read into the journal kept from the last
//                            writing, the whole encoded, written to a temporary file, flushed,
//                            renamed over the old one. Bare: the same bytes written, flushed and
//                            renamed.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "data/Clock.h"
#include "data/progress/FolderSync.h"
#include "data/progress/MachineIdentity.h"
#include "data/progress/OwnJournal.h"
#include "data/progress/ProgressStore.h"
#include "data/progress/StoreDatabase.h"
#include "data/progress/SyncFile.h"
#include "data/progress/SyncMerge.h"

namespace verbaro::bench {

namespace {

namespace fs = std::filesystem;
using progress::SyncJournal;

constexpr int kEntries = 2000;
constexpr int kAnswers = 100'000;
constexpr int64_t kStart = 1'735'732'800;  // 2025-01-01 12:00 UTC

class BenchClock : public Clock {
 public:
  int64_t NowSeconds() const override { return kStart + 600 * 86'400; }
};

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double WallSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::vector<progress::EntryKey> Keys() {
  std::vector<progress::EntryKey> keys;
  for (int i = 0; i < kEntries; ++i) {
    const std::string word = "mot" + std::to_string(i);
    keys.push_back({std::u16string(word.begin(), word.end()), u"m", u"s", 0});
  }
  return keys;
}

// `count` answers of machine `id` on the lesson of Keys(), in time order.
SyncJournal Answers(const std::string& id, int count) {
  SyncJournal journal;
  journal.machineId = id;
  journal.machineName = "laptop";
  journal.writtenAt = kStart;
  journal.origins = {id};
  journal.entries = Keys();
  progress::JournalLesson lesson;
  for (uint32_t i = 0; i < kEntries; ++i) lesson.entries.push_back(i);
  journal.lessons = {lesson};
  std::mt19937 random(29);
  for (int i = 0; i < count; ++i) {
    progress::JournalAnswer a;
    a.seq = i + 1;
    a.at = kStart + static_cast<int64_t>(i) * 500 * 86'400 / count;
    a.day = a.at / 86'400;
    a.entry = static_cast<uint32_t>(random() % kEntries);
    a.direction = 1 + static_cast<int>(random() % 2);
    const bool exposure = i % 5 == 4;
    a.kind = exposure ? 3 : 1 + static_cast<int>(random() % 2);
    a.grade = exposure ? 0 : 1 + static_cast<int>(random() % 4);
    a.milliseconds = 3000;
    a.typedOn = a.kind == 1 ? 3 - a.direction : 0;
    if (a.kind == 1 && i % 10 == 0) {
      a.wrongKeystrokes = 1;
      a.misses = {{u"é", u"e"}};
    }
    journal.answers.push_back(std::move(a));
  }
  return journal;
}

struct Scratch {
  fs::path root = fs::temp_directory_path() / ("verbaro-sync-bench-" + std::to_string(getpid()));
  Scratch() { fs::create_directories(root); }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
};

// A closed store that knows the lesson and holds no answers.
std::string LessonStore(const Scratch& scratch, const BenchClock& clock) {
  const std::string path = (scratch.root / "template" / "progress.sqlite").string();
  progress::ProgressStore::Open(path, clock)->OpenLesson(Keys(), "/home/me/fr.db");
  return path;
}

void CopyStore(const std::string& from, const std::string& to) {
  fs::create_directories(fs::path(to).parent_path());
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

void BareInsert(const std::string& path, const SyncJournal& journal) {
  std::remove(path.c_str());
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(
      db,
      "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; CREATE TABLE answers(id INTEGER "
      "PRIMARY KEY, at, day, lesson_id, entry_id, direction, kind, grade, "
      "wrong_keystrokes, milliseconds, origin, seq, typed_on, event_first); BEGIN",
      nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(
      db, "INSERT INTO answers VALUES(NULL, ?1, ?2, 1, ?3, ?4, ?5, ?6, 0, ?7, 1, ?8, ?9, 1)", -1,
      &insert, nullptr);
  for (const auto& a : journal.answers) {
    sqlite3_bind_int64(insert, 1, a.at);
    sqlite3_bind_int64(insert, 2, a.day);
    sqlite3_bind_int64(insert, 3, a.entry + 1);
    sqlite3_bind_int(insert, 4, a.direction);
    sqlite3_bind_int(insert, 5, a.kind);
    sqlite3_bind_int(insert, 6, a.grade);
    sqlite3_bind_int64(insert, 7, a.milliseconds);
    sqlite3_bind_int64(insert, 8, a.seq);
    sqlite3_bind_int(insert, 9, a.typedOn);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

void MergeFromAnotherMachine(benchmark::State& state) {
  Scratch scratch;
  BenchClock clock;
  const std::string lessonStore = LessonStore(scratch, clock);
  const std::string file = (scratch.root / "journal.vbsync").string();
  {
    std::ofstream out(file, std::ios::binary);
    out << progress::EncodeJournal(Answers(progress::NewMachineId(), kAnswers));
  }
  const std::string store = (scratch.root / "merge" / "progress.sqlite").string();
  double subject = 0;
  double wall = 0;
  double bare = 0;
  int64_t merged = 0;
  for (auto _ : state) {
    state.PauseTiming();
    CopyStore(lessonStore, store);
    auto db = std::make_unique<progress::StoreDatabase>(store, clock, false);
    state.ResumeTiming();
    const double cpu = CpuSeconds();
    const double start = WallSeconds();
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SyncJournal journal;
    progress::DecodeJournal(bytes, journal);
    progress::MergeCounts counts;
    progress::MergeJournal(*db, journal, counts);
    merged = counts.answers;
    subject += CpuSeconds() - cpu;
    wall += WallSeconds() - start;
    state.PauseTiming();
    db.reset();
    const double bareStart = CpuSeconds();
    BareInsert((scratch.root / "bare.sqlite").string(), journal);
    bare += CpuSeconds() - bareStart;
    state.ResumeTiming();
  }
  if (merged != kAnswers) state.SkipWithError("not every answer was merged");
  const auto n = static_cast<double>(state.iterations());
  state.counters["answers"] = static_cast<double>(merged);
  state.counters["subject_ms"] = subject / n * 1e3;
  state.counters["wall_ms"] = wall / n * 1e3;
  state.counters["bare_ms"] = bare / n * 1e3;
  state.counters["vs_bare"] = bare > 0 ? subject / bare : 0;
  state.counters["file_mb"] = static_cast<double>(fs::file_size(file)) / 1e6;
}

// One more answer of this machine, as the trainer records it.
void AddOwnAnswer(progress::StoreDatabase& db) {
  db.Write([&] {
    int64_t origin = 0;
    int64_t seq = 0;
    return progress::NextSequence(db, origin, seq) &&
           db.Sql(
                 "INSERT INTO answers(at, day, lesson_id, entry_id, direction, kind, grade, "
                 "wrong_keystrokes, milliseconds, origin, seq, typed_on, event_first) "
                 "VALUES(?1, ?2, 1, 1, 1, 1, 3, 0, 3000, ?3, ?4, 2, 1)")
               .Bind(1, kStart)
               .Bind(2, kStart / 86'400)
               .Bind(3, origin)
               .Bind(4, seq)
               .Run();
  });
}

void WriteOwnJournal(benchmark::State& state) {
  Scratch scratch;
  BenchClock clock;
  const std::string store = LessonStore(scratch, clock);
  auto db = std::make_unique<progress::StoreDatabase>(store, clock, false);
  {
    // The store's own answers: a journal under its own id is taken as its rows.
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db->Handle(), "SELECT id FROM machines WHERE own = 2", -1, &select, nullptr);
    sqlite3_step(select);
    const std::string own = reinterpret_cast<const char*>(sqlite3_column_text(select, 0));
    sqlite3_finalize(select);
    progress::MergeCounts counts;
    progress::MergeJournal(*db, Answers(own, static_cast<int>(state.range(0))), counts);
  }
  const std::string folder = (scratch.root / "Sync").string();
  fs::create_directories(folder);
  double subject = 0;
  double wall = 0;
  double bare = 0;
  size_t size = 0;
  // As the pass's thread keeps it: read whole once, then only the answer given since.
  progress::OwnJournal own;
  bool changed = false;
  progress::RefreshOwnJournal(*db, "desk", clock.NowSeconds(), own, changed);
  for (auto _ : state) {
    state.PauseTiming();
    AddOwnAnswer(*db);
    state.ResumeTiming();
    const double cpu = CpuSeconds();
    const double start = WallSeconds();
    progress::RefreshOwnJournal(*db, "desk", clock.NowSeconds(), own, changed);
    const std::string bytes = progress::EncodeJournal(own.journal);
    progress::ReplaceFile(folder, "verbaro-progress-own.vbsync", bytes, ".verbaro-own.tmp");
    subject += CpuSeconds() - cpu;
    wall += WallSeconds() - start;
    size = bytes.size();
    state.PauseTiming();
    const double bareStart = CpuSeconds();
    progress::ReplaceFile(folder, "bare.vbsync", bytes, ".bare.tmp");
    bare += CpuSeconds() - bareStart;
    state.ResumeTiming();
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["answers"] = static_cast<double>(state.range(0));
  state.counters["subject_ms"] = subject / n * 1e3;
  state.counters["wall_ms"] = wall / n * 1e3;
  state.counters["bare_ms"] = bare / n * 1e3;
  state.counters["vs_bare"] = bare > 0 ? subject / bare : 0;
  state.counters["file_mb"] = static_cast<double>(size) / 1e6;
}

}  // namespace

BENCHMARK(MergeFromAnotherMachine)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(WriteOwnJournal)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace verbaro::bench

BENCHMARK_MAIN();
