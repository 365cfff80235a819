// Recordings stay in the lesson file until they are sounded: what opening checks without reading
// them, what a recording damaged or cut since the opening gives, and a lesson rebuilt while it is
// open.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <random>

#include "data/LessonTable.h"
#include "support/LessonFiles.h"
#include "support/RecordingLesson.h"

namespace verbaro::test {
namespace {

namespace fs = std::filesystem;

constexpr size_t kPageSize = 4096;

// Bytes that no other part of the file repeats, so that the pages holding them can be found.
std::vector<uint8_t> UniqueRecording(size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(n);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

// Zeroes, in place, every page after the first whose content (after the 4-byte link of an
// overflow page) is a piece of `recording`. Returns how many pages it zeroed.
int ZeroOverflowPagesOf(const fs::path& file, const std::vector<uint8_t>& recording) {
  std::vector<uint8_t> bytes = ReadFileBytes(file);
  int zeroed = 0;
  for (size_t page = kPageSize; page + kPageSize <= bytes.size(); page += kPageSize) {
    const auto content = bytes.begin() + static_cast<std::ptrdiff_t>(page + 4);
    if (std::search(recording.begin(), recording.end(), content, content + 64) != recording.end()) {
      std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(page), kPageSize, 0);
      ++zeroed;
    }
  }
  WriteFileBytes(file, bytes);  // same file, same inode: the open connection sees it
  return zeroed;
}

class LessonRecordingsTest : public ::testing::Test {
 protected:
  bool Load(RecordingLesson& into, const fs::path& file) {
    into.m_szDataFile = PathText(file);
    return into.LoadWordsData();
  }

  TempFolder folder;
  RecordingLesson lesson;
};

TEST_F(LessonRecordingsTest, DamagedRecordingOpensAndOnlyItFailsWhenRead) {
  const std::vector<uint8_t> damaged = UniqueRecording(12000, 7);
  const fs::path file = folder.Path() / "lesson.db";
  WriteLesson(file, {{u"m", u"s", u"un", {u"один"}, Recording(300, 1)},
                     {u"m", u"s", u"deux", {u"два"}, damaged},
                     {u"m", u"s", u"trois", {u"три"}, Recording(300, 3)}});
  ASSERT_EQ(ZeroOverflowPagesOf(file, damaged), 2);

  // Opening reads the texts and each recording's size, never the recording's pages.
  ASSERT_TRUE(Load(lesson, file));
  ASSERT_EQ(lesson.m_vWordsData.size(), 3u);
  EXPECT_TRUE(lesson.messages.empty());
  EXPECT_EQ(lesson.m_vWordsData[1].nvMp3WordSize, (std::vector<int32_t>{12000}));
  EXPECT_EQ(lesson.m_vWordsData[1].vpMp3Word[0].Size(), 12000);

  EXPECT_EQ(lesson.m_vWordsData[1].vpMp3Word[0].Read(), std::nullopt);
  // The failure spends nothing: the rows around it, and it again, read as before.
  EXPECT_EQ(lesson.m_vWordsData[2].vpMp3Word[0].Read(), Recording(300, 3));
  EXPECT_EQ(lesson.m_vWordsData[1].vpMp3Word[0].Read(), std::nullopt);
  EXPECT_EQ(lesson.m_vWordsData[0].vpMp3Word[0].Read(), Recording(300, 1));
}

TEST_F(LessonRecordingsTest, LessonCutSinceItOpenedReadsNoRecordingButKeepsItsTexts) {
  std::vector<LessonRow> rows;
  for (int i = 0; i < 6; ++i) rows.push_back({u"v", u"", u"mot", {u"слово"}, Recording(9000, i)});
  const fs::path file = folder.Path() / "cut.db";
  WriteLesson(file, rows);
  ASSERT_TRUE(Load(lesson, file));

  fs::resize_file(file, 3 * kPageSize);

  for (const WordsData& record : lesson.m_vWordsData) {
    EXPECT_EQ(record.vpMp3Word[0].Read(), std::nullopt);
    EXPECT_EQ(record.wsKeyWord, u"mot");
  }
  ASSERT_TRUE(lesson.CreateUserFilters());
  lesson.SelectUserFilter(800, u"");
  EXPECT_TRUE(lesson.SetUserData());
  EXPECT_TRUE(lesson.messages.empty());
}

TEST_F(LessonRecordingsTest, LessonRebuiltWhileOpenKeepsItsRecordingsUntilOpenedAgain) {
  const fs::path file = folder.Path() / "урок.db";
  RebuildLesson(file, {{u"m", u"s", u"chat", {u"кот"}, Recording(9000, 1)},
                       {u"f", u"s", u"maison", {u"дом"}, Recording(200, 2)}});
  ASSERT_TRUE(Load(lesson, file));

  // The rebuild writes a new file beside it and renames it over the old one.
  RebuildLesson(file, {{u"m", u"s", u"chien", {u"собака"}, Recording(7000, 3)}});

  EXPECT_EQ(lesson.m_vWordsData.at(0).vpMp3Word[0].Read(), Recording(9000, 1));
  EXPECT_EQ(lesson.m_vWordsData.at(1).vpMp3Word[0].Read(), Recording(200, 2));
  // Even a record built afterwards from the old lesson (the reversed one) plays the old lesson.
  ASSERT_TRUE(lesson.BuildContraVersaData());
  EXPECT_EQ(lesson.m_vWordsData.at(1).wsKeyWord, u"кот");
  EXPECT_EQ(lesson.m_vWordsData.at(1).vpMp3Word[0].Read(), Recording(9000, 1));

  RecordingLesson reopened;
  ASSERT_TRUE(Load(reopened, file));
  ASSERT_EQ(reopened.m_vWordsData.size(), 1u);
  EXPECT_EQ(reopened.m_vWordsData[0].wsKeyWord, u"chien");
  EXPECT_EQ(reopened.m_vWordsData[0].vpMp3Word[0].Read(), Recording(7000, 3));
}

TEST_F(LessonRecordingsTest, WriteAheadLogLessonRebuiltOrDeletedWhileOpenStillPlays) {
  const fs::path file = folder.Path() / "wal.db";
  WriteDatabase(file, "PRAGMA journal_mode=WAL;");
  WriteLesson(file, {{u"m", u"s", u"chat", {u"кот"}, Recording(9000, 4)}});
  ASSERT_TRUE(Load(lesson, file));

  RebuildLesson(file, {{u"m", u"s", u"chien", {u"собака"}, Recording(9000, 5)}});
  EXPECT_EQ(lesson.m_vWordsData.at(0).vpMp3Word[0].Read(), Recording(9000, 4));
  ASSERT_TRUE(fs::remove(file));
  EXPECT_EQ(lesson.m_vWordsData.at(0).vpMp3Word[0].Read(), Recording(9000, 4));
  // Nothing was made beside the lesson.
  EXPECT_TRUE(fs::is_empty(folder.Path()));
}

TEST_F(LessonRecordingsTest, FileStaysOpenWhileARecordReferToItAndNoLockOutlivesTheOpening) {
  const fs::path file = folder.Path() / "open.db";
  WriteLesson(file, {{u"m", u"s", u"chat", {u"кот"}, Recording(9000, 1)}});
  ASSERT_TRUE(Load(lesson, file));
  EXPECT_EQ(OpenDescriptorCount(file), 1);

  // Another program may still change the file in place: the opened lesson holds no lock on it.
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &writer), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE; CREATE TABLE Notes (a); COMMIT;", nullptr,
                         nullptr, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(writer);
  sqlite3_close(writer);
  // And after a recording was read, the same holds.
  ASSERT_TRUE(lesson.m_vWordsData[0].vpMp3Word[0].Read());
  ASSERT_EQ(sqlite3_open(file.c_str(), &writer), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE; COMMIT;", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(writer);

  // A copy of a record keeps the file open after the lesson is cleared; the last one closes it.
  const WordsData copy = lesson.m_vWordsData[0];
  lesson.StopSound();
  EXPECT_EQ(OpenDescriptorCount(file), 1);
  EXPECT_EQ(copy.vpMp3Word[0].Read(), Recording(9000, 1));
  lesson.m_vWordsData = {};  // nothing left but the copy
  EXPECT_EQ(OpenDescriptorCount(file), 1);
}

TEST_F(LessonRecordingsTest, FailedOpeningLeavesTheFileClosed) {
  LessonRow gap{u"m", u"s", u"x", {u"y"}, Recording(8, 1)};
  gap.rowid = 7;
  const fs::path file = folder.Path() / "gap.db";
  WriteLesson(file, {gap});
  EXPECT_FALSE(Load(lesson, file));
  EXPECT_EQ(OpenDescriptorCount(file), 0);
}

TEST_F(LessonRecordingsTest, IndexCoveringTheTextsDoesNotReorderTheRows) {
  // An index holding every text column in another order than the rowids: reading the texts must
  // still walk the table, so that row k keeps the recording of rowid k.
  const fs::path file = folder.Path() / "indexed.db";
  WriteLesson(file, {{u"m", u"s", u"zèbre", {u"зебра"}, Recording(10, 1)},
                     {u"m", u"s", u"âne", {u"осёл"}, Recording(20, 2)}});
  std::string columns;
  for (int position = 12; position >= 2; --position) {
    columns += std::string(position < 12 ? "," : "") + lesson::kLessonColumnNames[position];
  }
  WriteDatabase(file, "CREATE INDEX everything ON FrRuDict (" + columns + ");");
  ASSERT_TRUE(Load(lesson, file));
  ASSERT_EQ(lesson.m_vWordsData.size(), 2u);
  EXPECT_EQ(lesson.m_vWordsData[0].wsKeyWord, u"zèbre");
  EXPECT_EQ(lesson.m_vWordsData[0].vpMp3Word[0].Read(), Recording(10, 1));
  EXPECT_EQ(lesson.m_vWordsData[1].wsKeyWord, u"âne");
}

TEST_F(LessonRecordingsTest, ColumnNamesThatNeedQuotingAreRead) {
  const fs::path file = folder.Path() / "names.db";
  WriteDatabase(file,
                "CREATE TABLE FrRuDict (\"id\", \"a b\", \"g\"\"x\", [select], \"w\", \"i;1\","
                " i2, i3, \"перевод\", r2, r3, r4, r5, Mp3Word BLOB);"
                "INSERT INTO FrRuDict VALUES (1, 't', 'm', 's', 'chat', 'i', '', '', 'кот', '',"
                " '', '', '', x'0102');");
  ASSERT_TRUE(Load(lesson, file));
  const WordsData& record = lesson.m_vWordsData.at(0);
  EXPECT_EQ(record.wsFrGram, u"m");
  EXPECT_EQ(record.wsFrNumber, u"s");
  EXPECT_EQ(record.wsInfo1, u"i");
  EXPECT_EQ(record.vwsAltWords, (std::vector<std::u16string>{u"кот"}));
  EXPECT_EQ(record.vpMp3Word[0].Read(), (std::vector<uint8_t>{1, 2}));
}

}  // namespace
}  // namespace verbaro::test
