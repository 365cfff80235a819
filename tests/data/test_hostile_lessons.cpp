// Lesson files that come from anywhere: damaged, enormous, hostile or gone. Each gets one clear
// message (or loads), never a crash or a hang, and the file and its folder stay as they were.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "data/LessonTable.h"
#include "data/Text.h"
#include "data/UntrustedDatabase.h"
#include "support/LessonFiles.h"
#include "support/RecordingLesson.h"
#include "tests/support/PageSurgery.h"

namespace verbaro::test {
namespace {

namespace fs = std::filesystem;

// The lesson table as every lesson has it, for rows that only SQL can spell.
const std::string kLessonTable = verbaro::lesson::CreateLessonTableSql() + ";";

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(n);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

std::set<fs::path> FolderContents(const fs::path& folder) {
  std::set<fs::path> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

class HostileLessonTest : public ::testing::Test {
 protected:
  bool Load(const fs::path& file) {
    lesson.messages.clear();
    lesson.m_vWordsData.clear();
    lesson.m_szDataFile = PathText(file);
    return lesson.LoadWordsData();
  }
  std::u16string Message(std::u16string_view start, const fs::path& file) const {
    return std::u16string(start) + PathText(file);
  }
  // A failed load says exactly one thing, and it is one of the reader's own messages.
  void ExpectOneReadingMessage(const fs::path& file) {
    ASSERT_EQ(lesson.messages.size(), 1u);
    const std::u16string& text = lesson.messages[0].text;
    const bool known = text == Message(u"Не могу выполнить запрос к базе данных:\n", file) ||
                       text == Message(u"Не могу открыть базу данных:\n", file) ||
                       (text.starts_with(u"Не могу прочитать строку ") &&
                        text.ends_with(u" базы данных:\n" + PathText(file)));
    EXPECT_TRUE(known) << ToUtf8(text);
  }

  TempFolder folder;
  RecordingLesson lesson;
};

// ---- damaged files ----

TEST_F(HostileLessonTest, RandomBytesGiveTheQueryMessage) {
  std::vector<uint8_t> withHeader = RandomBytes(64 * 1024, 2);
  const std::string magic("SQLite format 3", 16);  // with its terminating NUL
  std::copy(magic.begin(), magic.end(), withHeader.begin());
  const fs::path plain = folder.Write("random.db", RandomBytes(64 * 1024, 1));
  const fs::path posing = folder.Write("posing.db", withHeader);
  for (const fs::path& file : {plain, posing}) {
    SCOPED_TRACE(file.filename().string());
    const std::vector<uint8_t> before = ReadFileBytes(file);
    EXPECT_FALSE(Load(file));
    ASSERT_EQ(lesson.messages.size(), 1u);
    EXPECT_EQ(lesson.messages[0].text, Message(u"Не могу выполнить запрос к базе данных:\n", file));
    EXPECT_TRUE(lesson.m_vWordsData.empty());
    EXPECT_EQ(ReadFileBytes(file), before);
  }
  EXPECT_EQ(FolderContents(folder.Path()), (std::set<fs::path>{"random.db", "posing.db"}));
}

TEST_F(HostileLessonTest, TruncatedLessonLoadsNoMoreThanItHoldsAndSaysSo) {
  std::vector<LessonRow> rows;
  for (int i = 0; i < 40; ++i) rows.push_back({u"m", u"s", u"mot", {u"слово"}, Recording(3000, i)});
  const fs::path whole = folder.Path() / "whole.db";
  WriteLesson(whole, rows);
  const std::vector<uint8_t> bytes = ReadFileBytes(whole);
  // Cuts through the header, the first page (the schema), the table's first pages, its middle.
  for (const size_t kept :
       {size_t{100}, size_t{1024}, size_t{4096}, size_t{12288}, bytes.size() / 2}) {
    SCOPED_TRACE(kept);
    const fs::path file =
        folder.Write("cut.db", std::vector<uint8_t>(bytes.begin(), bytes.begin() + kept));
    EXPECT_FALSE(Load(file));
    EXPECT_LT(lesson.m_vWordsData.size(), rows.size());
    ExpectOneReadingMessage(file);
    for (const WordsData& record : lesson.m_vWordsData) EXPECT_EQ(record.wsKeyWord, u"mot");
  }
}

TEST_F(HostileLessonTest, ScrambledLessonsNeverLoadHalfSilently) {
  std::vector<LessonRow> rows = NumberedRows(30);
  const fs::path original = folder.Path() / "original.db";
  WriteLesson(original, rows);
  const std::vector<uint8_t> bytes = ReadFileBytes(original);
  std::mt19937 random(7);
  for (int round = 0; round < 150; ++round) {
    SCOPED_TRACE(round);
    std::vector<uint8_t> scrambled = bytes;
    const int changes = 1 + static_cast<int>(random() % 16);
    for (int c = 0; c < changes; ++c) {
      scrambled[random() % scrambled.size()] = static_cast<uint8_t>(random());
    }
    const fs::path file = folder.Write("scrambled.db", scrambled);
    if (Load(file)) {
      EXPECT_TRUE(lesson.messages.empty());
    } else {
      ExpectOneReadingMessage(file);
    }
    EXPECT_EQ(ReadFileBytes(file), scrambled);
  }
}

// ---- values that are not a recording ----

TEST_F(HostileLessonTest, RecordingThatCannotBeOpenedStopsTheLoadAtItsRow) {
  const std::string good = "(1, 't', 'm', 's', 'un', '', '', '', 'один', '', '', '', '', x'01')";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"real", kLessonTable + "INSERT INTO FrRuDict VALUES " + good +
                   ", (2, 't', 'm', 's', 'deux', '', '', '', 'два', '', '', '', '', 2.5);"},
      {"no column",
       "CREATE TABLE FrRuDict (id, topic, g, n, w, i1, i2, i3, r1, r2, r3, r4, r5,"
       " Sound BLOB); INSERT INTO FrRuDict VALUES " +
           good + ";"},
      {"no rowid",
       "CREATE TABLE FrRuDict (id INTEGER PRIMARY KEY, topic, g, n, w, i1, i2, i3, r1,"
       " r2, r3, r4, r5, Mp3Word BLOB) WITHOUT ROWID; INSERT INTO FrRuDict VALUES " +
           good + ";"},
  };
  for (const auto& [name, sql] : cases) {
    SCOPED_TRACE(name);
    const fs::path file = folder.Path() / (name + ".db");
    WriteDatabase(file, sql);
    EXPECT_FALSE(Load(file));
    const size_t goodRows = name == "real" ? 1 : 0;
    EXPECT_EQ(lesson.m_vWordsData.size(), goodRows);
    ASSERT_EQ(lesson.messages.size(), 1u);
    EXPECT_EQ(lesson.messages[0].text, u"Не могу прочитать строку " + ToU16(goodRows + 1) +
                                           u" базы данных:\n" + PathText(file));
  }
}

// ---- size ----

TEST_F(HostileLessonTest, FiftyMegabyteRecordingLoadsWhileALargerValueStopsItsRow) {
  const fs::path file = folder.Path() / "big.db";
  const int fifty = 50 * 1024 * 1024;
  WriteDatabase(file, kLessonTable +
                          "INSERT INTO FrRuDict VALUES (1, 't', 'v', '', 'parler', '', '', '',"
                          " 'говорить', '', '', '', '', zeroblob(" +
                          std::to_string(fifty) +
                          "));"
                          "INSERT INTO FrRuDict VALUES (2, 't', 'v', '', 'crier', '', '', '',"
                          " 'кричать', '', '', '', '', zeroblob(" +
                          std::to_string(kMaxValueBytes + 1) + "));");
  EXPECT_FALSE(Load(file));
  ASSERT_EQ(lesson.m_vWordsData.size(), 1u);
  EXPECT_EQ(lesson.m_vWordsData[0].nvMp3WordSize, (std::vector<int32_t>{fifty}));
  EXPECT_EQ(lesson.m_vWordsData[0].vpMp3Word.at(0).Size(), fifty);
  EXPECT_EQ(lesson.messages.at(0).text,
            u"Не могу прочитать строку 2 базы данных:\n" + PathText(file));
}

TEST_F(HostileLessonTest, HundredThousandRowsLoadInOrder) {
  // Short recordings: the row count is the point, and the test runs under the sanitizers.
  const fs::path file = folder.Path() / "long.db";
  WriteDatabase(file, kLessonTable +
                          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n"
                          " WHERE i < 100000)"
                          " INSERT INTO FrRuDict (Nr, FrGram, FrNumber, FrWord, Ru1, Mp3Word)"
                          " SELECT i, 'm', 's', 'mot' || i, 'слово' || i, x'494433' FROM n;");
  ASSERT_TRUE(Load(file));
  ASSERT_EQ(lesson.m_vWordsData.size(), 100000u);
  EXPECT_EQ(lesson.m_nTotalCountAltWords, 100000);
  EXPECT_EQ(lesson.m_vWordsData.front().wsKeyWord, u"mot1");
  EXPECT_EQ(lesson.m_vWordsData.back().wsKeyWord, u"mot100000");
  EXPECT_EQ(lesson.m_vWordsData.back().vwsAltWords, (std::vector<std::u16string>{u"слово100000"}));
  EXPECT_EQ(lesson.m_vWordsData.back().vpMp3Word.at(0).Read(),
            (std::vector<uint8_t>{'I', 'D', '3'}));
}

TEST_F(HostileLessonTest, RecordingClaimingMoreThanTheFileHoldsStopsItsRow) {
  // The first row has rowid 0, so its recording is taken from the row with rowid 1 before the
  // query reaches that row itself and finds it damaged.
  LessonRow first{u"m", u"s", u"chat", {u"кот"}, Recording(10, 1)};
  first.rowid = 0;
  LessonRow second{u"m", u"s", u"chien", {u"собака"}, Recording(10240, 2)};
  second.rowid = 1;
  const fs::path file = folder.Path() / "loop.db";
  WriteLesson(file, {first, second});
  LoopRecordingOverflow(file, 1, 100);  // claims 400 KB more, in a 16 KB file

  EXPECT_FALSE(Load(file));
  EXPECT_TRUE(lesson.m_vWordsData.empty());
  ASSERT_EQ(lesson.messages.size(), 1u);
  EXPECT_EQ(lesson.messages[0].text, u"Не могу прочитать строку 1 базы данных:\n" + PathText(file));
}

TEST_F(HostileLessonTest, LessonWhoseRowsAreStillInTheWriteAheadLogLoads) {
  const fs::path file = folder.Path() / "live.db";
  WriteDatabase(file, "PRAGMA journal_mode=WAL;");
  // Another program with the lesson open keeps its log: the rows stay in it, not in the file.
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &holder, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "SELECT count(*) FROM sqlite_schema;", nullptr, nullptr, nullptr),
            SQLITE_OK);
  std::vector<LessonRow> rows;
  for (int i = 0; i < 8; ++i) rows.push_back({u"v", u"", u"mot", {u"слово"}, Recording(20000, i)});
  WriteLesson(file, rows);
  ASSERT_TRUE(fs::exists(file.string() + "-wal"));
  ASSERT_LT(fs::file_size(file), 20000u);

  EXPECT_TRUE(Load(file));
  EXPECT_EQ(lesson.m_vWordsData.size(), rows.size());
  EXPECT_EQ(lesson.m_vWordsData.back().vpMp3Word.at(0).Read(), Recording(20000, 7));
  EXPECT_TRUE(lesson.messages.empty());
  sqlite3_close(holder);
}

// ---- paths that are no lesson file ----

TEST_F(HostileLessonTest, GoneOrNotARegularFileGivesTheEmptyDatabaseMessage) {
  const fs::path gone = folder.Path() / "урок удалён.db";
  WriteLesson(gone, NumberedRows(2));
  fs::remove(gone);  // chosen in the dialog, then deleted before it is read
  const fs::path pipe = folder.Path() / "pipe.db";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);  // opening it for reading would wait for a writer
  for (const fs::path& file : {gone, pipe, fs::path("/dev/zero")}) {
    SCOPED_TRACE(file.string());
    EXPECT_FALSE(Load(file));
    ASSERT_EQ(lesson.messages.size(), 1u);
    EXPECT_EQ(lesson.messages[0].text, u"База данных:\n\"" + PathText(file) + u"\"\nпустая!");
  }
}

// ---- SQL in the file ----

TEST_F(HostileLessonTest, LessonThatIsAViewIsNotQueried) {
  const fs::path file = folder.Path() / "view.db";
  WriteDatabase(file,
                "CREATE TABLE Words (id, topic, g, n, w, i1, i2, i3, r1, r2, r3, r4, r5, m);"
                "INSERT INTO Words VALUES (1, 1, 'm', 's', 'chat', '', '', '', 'кот', '', '',"
                " '', '', x'01');"
                "CREATE VIEW FrRuDict AS SELECT * FROM Words;");
  const std::vector<uint8_t> before = ReadFileBytes(file);
  EXPECT_FALSE(Load(file));
  ASSERT_EQ(lesson.messages.size(), 1u);
  EXPECT_EQ(lesson.messages[0].text, Message(u"Не могу выполнить запрос к базе данных:\n", file));
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_EQ(FolderContents(folder.Path()), std::set<fs::path>{"view.db"});
}

TEST_F(HostileLessonTest, LessonWithTriggersLoadsAndStaysUnchanged) {
  const fs::path file = folder.Path() / "trigger.db";
  WriteLesson(file, NumberedRows(3));
  WriteDatabase(file,
                "CREATE TABLE Seen (word TEXT);"
                "CREATE TRIGGER Spy AFTER UPDATE ON FrRuDict BEGIN"
                " INSERT INTO Seen VALUES (new.FrWord); END;"
                "CREATE TRIGGER Wipe BEFORE DELETE ON FrRuDict BEGIN"
                " DELETE FROM Seen; END;");
  const std::vector<uint8_t> before = ReadFileBytes(file);
  const auto modified = fs::last_write_time(file);
  ASSERT_TRUE(Load(file));
  EXPECT_EQ(lesson.m_vWordsData.size(), 3u);
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_EQ(fs::last_write_time(file), modified);
  EXPECT_EQ(FolderContents(folder.Path()), std::set<fs::path>{"trigger.db"});
}

// What the program's connection refuses, whatever SQL reaches it.
TEST_F(HostileLessonTest, ConnectionRefusesExtensionsWritesAndOversizedWork) {
  const fs::path file = folder.Path() / "lesson.db";
  WriteLesson(file, NumberedRows(1));
  const std::vector<uint8_t> before = ReadFileBytes(file);
  sqlite3* db = nullptr;
  ASSERT_EQ(lesson.OpenDatabase(PathText(file), &db), SQLITE_OK);
  auto run = [db](const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  };
  auto option = [db](int op) {
    int value = -1;
    sqlite3_db_config(db, op, -1, &value);
    return value;
  };

  EXPECT_NE(run("SELECT load_extension('libm.so.6');"), SQLITE_OK);
  EXPECT_NE(sqlite3_load_extension(db, "libm.so.6", nullptr, nullptr), SQLITE_OK);
  EXPECT_NE(run("SELECT fts3_tokenizer('mine', x'0100000000000000');"), SQLITE_OK);  // by address
  EXPECT_EQ(run("CREATE TABLE Other (a);"), SQLITE_READONLY);
  EXPECT_EQ(run("DELETE FROM FrRuDict;"), SQLITE_READONLY);
  // Settings with no effect a read-only connection could show.
  EXPECT_EQ(option(SQLITE_DBCONFIG_DEFENSIVE), 1);
  EXPECT_EQ(option(SQLITE_DBCONFIG_TRUSTED_SCHEMA), 0);
  EXPECT_EQ(option(SQLITE_DBCONFIG_ENABLE_TRIGGER), 0);
  // A value over the size limit, and an overlong statement, are refused.
  EXPECT_EQ(run("SELECT zeroblob(" + std::to_string(kMaxValueBytes + 1) + ");"), SQLITE_TOOBIG);
  EXPECT_EQ(run("SELECT 1" + std::string(kMaxSqlBytes, ' ') + ";"), SQLITE_TOOBIG);
  EXPECT_EQ(run("SELECT count(*) FROM FrRuDict;"), SQLITE_OK);
  sqlite3_close(db);

  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_EQ(FolderContents(folder.Path()), std::set<fs::path>{"lesson.db"});
}

}  // namespace
}  // namespace verbaro::test
