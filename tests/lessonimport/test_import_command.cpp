// `verbaro-lesson import` whole, from a table saved as a spreadsheet saves it: what the lesson
// holds, the report, what refuses the import and leaves everything as it was, an import stopped
// while it voices, and the learner's progress kept through the import of an updated source.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "data/Text.h"
#include "data/progress/ProgressStore.h"
#include "lessonimport/ImportCommand.h"
#include "tests/fakes/core/FakeClock.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

namespace verbaro::lessonimport {
namespace {

using test::ReadFileBytes;
using test::TempFolder;

struct LessonRow {
  std::string grammar, number, word;
  std::vector<std::string> translations;
  std::vector<uint8_t> recording;
};

std::vector<LessonRow> ReadLesson(const std::filesystem::path& lesson) {
  sqlite3* db = nullptr;
  std::vector<LessonRow> rows;
  EXPECT_EQ(sqlite3_open_v2(lesson.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(
      db,
      "SELECT FrGram, FrNumber, FrWord, Ru1, Ru2, Ru3, Ru4, Ru5, Mp3Word FROM FrRuDict ORDER BY Nr",
      -1, &query, nullptr);
  const auto text = [&](int column) {
    const auto* value = sqlite3_column_text(query, column);
    return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
  };
  while (query && sqlite3_step(query) == SQLITE_ROW) {
    LessonRow row{text(0), text(1), text(2), {}, {}};
    for (int column = 3; column < 8; ++column)
      if (!text(column).empty()) row.translations.push_back(text(column));
    const auto* bytes = static_cast<const uint8_t*>(sqlite3_column_blob(query, 8));
    row.recording.assign(bytes, bytes + sqlite3_column_bytes(query, 8));
    rows.push_back(std::move(row));
  }
  sqlite3_finalize(query);
  sqlite3_close(db);
  return rows;
}

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

ToolRun Import(ImportRequest request) {
  std::ostringstream out, err;
  const int status = ImportLesson(request, out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& file : std::filesystem::directory_iterator(folder))
    names.push_back(file.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ImportCommand, WritesEveryEntryWithItsRecordingAndReportsWhatHappened) {
  const TempFolder folder;
  const std::vector<uint8_t>& mp3 = test::ShortMp3();
  std::filesystem::create_directory(folder.Path() / "sons");
  folder.Write("sons/chat.mp3", mp3);
  const auto source = folder.Write("mots.csv",
                                   "Français;Русский;Son\r\n"
                                   "le chat;кот;sons/chat.mp3\r\n"
                                   "aller;\"идти; ехать\";\r\n"
                                   "le chat;кошка;\r\n"
                                   ";пусто;\r\n");
  const std::vector<uint8_t> sourceBefore = ReadFileBytes(source);

  const ToolRun run = Import({source, {}, false, {}, false, false});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Записей в уроке: 2 (объединено одинаковых слов: 1, пропущено: 1)"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("свои — 1, преобразовано — 0, озвучено голосом espeak-ng — 1"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("строка 5: нет французского слова"), std::string::npos) << run.out;

  const std::vector<LessonRow> rows = ReadLesson(folder.Path() / "mots.db");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].word, "le chat");
  EXPECT_EQ(rows[0].grammar + "," + rows[0].number, "m,s");
  EXPECT_EQ(rows[0].translations, (std::vector<std::string>{"кот", "кошка"}));
  EXPECT_EQ(rows[0].recording, mp3);  // the learner's own recording, byte for byte
  EXPECT_EQ(rows[1].word, "aller");
  EXPECT_EQ(rows[1].translations, (std::vector<std::string>{"идти", "ехать"}));
  EXPECT_GT(rows[1].recording.size(), 1000u);  // the French voice
  EXPECT_EQ(ReadFileBytes(source), sourceBefore);
}

TEST(ImportCommand, ARefusedImportLeavesEverythingAsItWas) {
  const TempFolder folder;
  const auto english = folder.Write("english.csv", "English,French\ndog,chien\n");
  ToolRun run = Import({english, {}, false, {}, false, false});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("нет русской стороны"), std::string::npos) << run.err;
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"english.csv"});

  const auto source = folder.Write("mots.tsv", "fr\tru\nchat\tкот\n");
  const auto existing = folder.Write("mots.db", std::string("not mine to replace"));
  run = Import({source, {}, false, {}, false, false});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("--replace"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFileBytes(existing),
            std::vector<uint8_t>({'n', 'o', 't', ' ', 'm', 'i', 'n', 'e', ' ', 't', 'o', ' ', 'r',
                                  'e', 'p', 'l', 'a', 'c', 'e'}));

  // The preview reads and tells, and writes nothing.
  run = Import({source, folder.Path() / "new.db", false, {}, true, false});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with("{\"format\":\"TSV\"")) << run.out;
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "new.db"));
}

TEST(ImportCommand, AnImportStoppedWhileItVoicesLeavesNoFile) {
  const TempFolder folder;
  std::string table = "French,Russian\n";
  for (int i = 0; i < 400; ++i)
    table += "mot numéro " + std::to_string(i) + ",слово " + std::to_string(i) + "\n";
  const auto source = folder.Write("long.csv", table);

  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    execl(VERBARO_LESSON_TOOL, VERBARO_LESSON_TOOL, "import", source.c_str(), "--progress",
          nullptr);
    _exit(127);
  }
  close(out[1]);
  std::string seen;
  char buffer[256];
  while (seen.find("@progress") == std::string::npos) {
    const ssize_t got = read(out[0], buffer, sizeof buffer);
    if (got <= 0) break;
    seen.append(buffer, static_cast<size_t>(got));
  }
  ASSERT_NE(seen.find("@progress 1 400"), std::string::npos) << seen;
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  while (read(out[0], buffer, sizeof buffer) > 0) {
  }
  close(out[0]);
  EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"long.csv"});
}

TEST(ImportCommand, ProgressStaysWithTheWordsThroughAnUpdatedSource) {
  const TempFolder folder;
  FakeClock clock;
  const std::string storePath = (folder.Path() / "progress.sqlite").string();
  const auto keysOf = [](const std::filesystem::path& lesson) {
    std::vector<progress::EntryKey> keys;
    for (const LessonRow& row : ReadLesson(lesson))
      keys.push_back({FromUtf8(row.word), FromUtf8(row.grammar), FromUtf8(row.number), 0});
    return keys;
  };
  const auto indexOf = [](const std::vector<progress::EntryKey>& keys, std::u16string_view word) {
    return static_cast<int>(
        std::find_if(keys.begin(), keys.end(), [&](const auto& key) { return key.word == word; }) -
        keys.begin());
  };

  const auto source = folder.Write("mots.csv", "French,Russian\nla maison,дом\nle chat,кот\n");
  ASSERT_EQ(Import({source, {}, false, {}, false, false}).status, 0);
  const std::filesystem::path lesson = folder.Path() / "mots.db";
  {
    auto store = progress::ProgressStore::Open(storePath, clock);
    const auto keys = keysOf(lesson);
    auto studied = store->OpenLesson(keys, lesson.string());
    studied->RecordExamAnswer(progress::Direction::Forward,
                              std::vector{indexOf(keys, u"la maison")},
                              progress::ExamAnswer::Wrong);
  }

  // The source grows and another word changes its translation; the lesson is imported again.
  folder.Write("mots.csv", "French,Russian\nle chien,собака\nle chat,кошка\nla maison,дом\n");
  const ToolRun again = Import({source, {}, true, {}, false, false});
  ASSERT_EQ(again.status, 0) << again.err;
  auto store = progress::ProgressStore::Open(storePath, clock);
  const auto keys = keysOf(lesson);
  ASSERT_EQ(keys.size(), 3u);
  auto studied = store->OpenLesson(keys, lesson.string());
  EXPECT_EQ(studied->MissedEntries(progress::Direction::Forward),
            std::vector{indexOf(keys, u"la maison")});
}

}  // namespace
}  // namespace verbaro::lessonimport
