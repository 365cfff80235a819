// Reading lesson files: what ends up in m_vWordsData, what the learner is told when a file is
// bad, and that the file is left exactly as it was.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "support/LessonFiles.h"
#include "support/RecordingLesson.h"

namespace verbaro::test {
namespace {

namespace fs = std::filesystem;

class LessonFileTest : public ::testing::Test {
 protected:
  fs::path WriteRows(const std::vector<LessonRow>& rows, const std::string& name = "lesson.db") {
    const fs::path file = folder.Path() / name;
    WriteLesson(file, rows);
    return file;
  }
  bool Load(const fs::path& file) {
    lesson.m_szDataFile = PathText(file);
    return lesson.LoadWordsData();
  }
  void ExpectOneError(const std::u16string& text) {
    ASSERT_EQ(lesson.messages.size(), 1u);
    EXPECT_EQ(lesson.messages[0].caption, u"Ошибка");
    EXPECT_EQ(lesson.messages[0].text, text);
  }

  TempFolder folder;
  RecordingLesson lesson;
};

TEST_F(LessonFileTest, RowsLoadInRowidOrderEachWithTheRecordingOfItsOwnRowid) {
  // Inserted out of order: the table scan returns rowid order, and recording k is rowid k's.
  LessonRow second{u"f", u"p", u"maisons", {u"дома"}, Recording(5, 20)};
  second.rowid = 2;
  second.info1 = u"[mɛzɔ̃]";
  LessonRow first{u"m", u"s", u"chat", {u"кошка", u"кот"}, Recording(3, 10)};
  first.rowid = 1;
  first.info2 = u"chat";
  first.info3 = u"info 3";
  const fs::path file = WriteRows({second, first});
  lesson.m_rightAnswers = lesson.m_wrongAnswers = lesson.m_hints = 7;

  ASSERT_TRUE(Load(file));

  ASSERT_EQ(lesson.m_vWordsData.size(), 2u);
  const WordsData& chat = lesson.m_vWordsData[0];
  EXPECT_EQ(chat.wsKeyWord, u"chat");
  EXPECT_EQ(chat.wsFrGram, u"m");
  EXPECT_EQ(chat.wsFrNumber, u"s");
  EXPECT_EQ(chat.wsInfo2, u"chat");
  EXPECT_EQ(chat.wsInfo3, u"info 3");
  EXPECT_EQ(chat.vwsAltWords, (std::vector<std::u16string>{u"кошка", u"кот"}));
  EXPECT_EQ(chat.vnWordErrors, (std::vector<int32_t>{0, 0}));
  ASSERT_EQ(chat.vpMp3Word.size(), 1u);
  EXPECT_EQ(chat.vpMp3Word[0].Read(), Recording(3, 10));
  EXPECT_EQ(chat.nvMp3WordSize, (std::vector<int32_t>{3}));

  const WordsData& maisons = lesson.m_vWordsData[1];
  EXPECT_EQ(maisons.wsKeyWord, u"maisons");
  EXPECT_EQ(maisons.wsInfo1, u"[mɛzɔ̃]");
  EXPECT_EQ(maisons.vpMp3Word[0].Read(), Recording(5, 20));

  EXPECT_EQ(lesson.m_nTotalCountAltWords, 3);
  EXPECT_EQ(lesson.m_rightAnswers + lesson.m_wrongAnswers + lesson.m_hints, 0);
  EXPECT_TRUE(lesson.messages.empty());
  EXPECT_NE(lesson.LogText().find("Открыт файл: " + file.string() + "\n"), std::string::npos);
}

TEST_F(LessonFileTest, TranslationsAreTakenInColumnOrderSkippingEmptyOnes) {
  // Positions 9 and 11.
  const LessonRow row{u"v", u"", u"aller", {u"", u"идти", u"", u"ехать"}, Recording(2, 1)};
  ASSERT_TRUE(Load(WriteRows({row})));
  const WordsData& aller = lesson.m_vWordsData.at(0);
  EXPECT_EQ(aller.vwsAltWords, (std::vector<std::u16string>{u"идти", u"ехать"}));
  EXPECT_EQ(aller.vnWordErrors, (std::vector<int32_t>{0, 0}));
}

TEST_F(LessonFileTest, NullTextColumnsReadAsEmptyTexts) {
  const LessonRow row{.recording = Recording(3, 3), .nullTexts = true};
  ASSERT_TRUE(Load(WriteRows({row})));
  const WordsData& record = lesson.m_vWordsData.at(0);
  EXPECT_TRUE(record.wsKeyWord.empty());
  EXPECT_TRUE(record.wsFrGram.empty());
  EXPECT_TRUE(record.wsInfo1.empty());
  EXPECT_TRUE(record.vwsAltWords.empty());
  EXPECT_TRUE(record.vnWordErrors.empty());
}

TEST_F(LessonFileTest, TableWithFewerThanThirteenColumnsLoadsWithEmptyMissingColumns) {
  WriteDatabase(folder.Path() / "narrow.db",
                "CREATE TABLE FrRuDict (id INTEGER, Mp3Word BLOB, g TEXT, n TEXT, w TEXT);"
                "INSERT INTO FrRuDict VALUES (1, x'0A0B0C', 'm', 's', 'chat');");
  ASSERT_TRUE(Load(folder.Path() / "narrow.db"));
  const WordsData& record = lesson.m_vWordsData.at(0);
  EXPECT_EQ(record.wsKeyWord, u"chat");
  EXPECT_TRUE(record.wsInfo1.empty());
  EXPECT_TRUE(record.vwsAltWords.empty());
  EXPECT_EQ(record.vpMp3Word.at(0).Read(), (std::vector<uint8_t>{0x0A, 0x0B, 0x0C}));
}

TEST_F(LessonFileTest, TableWithoutRowsLoadsNothingAndSucceeds) {
  ASSERT_TRUE(Load(WriteRows({})));
  EXPECT_TRUE(lesson.m_vWordsData.empty());
  EXPECT_TRUE(lesson.messages.empty());
}

TEST_F(LessonFileTest, PathWithCyrillicFolderAndSpacesLoads) {
  fs::create_directories(folder.Path() / "Уроки французского");
  const fs::path file = WriteRows({LessonRow{u"m", u"s", u"chat", {u"кот"}, Recording(3, 1)}},
                                  "Уроки французского/урок 1.db");
  ASSERT_TRUE(Load(file));
  EXPECT_EQ(lesson.m_vWordsData.size(), 1u);
}

TEST_F(LessonFileTest, EmptyPathLoadsNothingSilently) {
  lesson.m_szDataFile.clear();
  EXPECT_FALSE(lesson.LoadWordsData());
  EXPECT_TRUE(lesson.messages.empty());
}

// ---- recordings ----

TEST_F(LessonFileTest, RowidGapStopsTheLoadKeepingTheRowsBefore) {
  std::vector<LessonRow> rows;
  for (int64_t rowid : {1, 2, 4, 5}) {
    rows.push_back(
        LessonRow{u"m", u"s", u"w" + std::u16string(1, u'0' + rowid), {u"т"}, Recording(2, 0)});
    rows.back().rowid = rowid;
  }
  const fs::path file = WriteRows(rows);
  EXPECT_FALSE(Load(file));
  ASSERT_EQ(lesson.m_vWordsData.size(), 2u);
  EXPECT_EQ(lesson.m_vWordsData[1].wsKeyWord, u"w2");
  ExpectOneError(u"Не могу прочитать строку 3 базы данных:\n" + PathText(file));
}

TEST_F(LessonFileTest, NullOrNumericRecordingStopsTheLoadAtThatRow) {
  for (RecordingKind kind : {RecordingKind::Null, RecordingKind::Integer}) {
    SCOPED_TRACE(static_cast<int>(kind));
    RecordingLesson fresh;
    LessonRow bad{u"v", u"", u"bad", {u"плохо"}, {}};
    bad.recordingKind = kind;
    const fs::path file = folder.Path() / ("blob" + std::to_string(static_cast<int>(kind)) + ".db");
    WriteLesson(file, {LessonRow{u"v", u"", u"good", {u"хорошо"}, Recording(2, 0)}, bad,
                       LessonRow{u"v", u"", u"after", {u"после"}, Recording(2, 0)}});
    fresh.m_szDataFile = PathText(file);
    EXPECT_FALSE(fresh.LoadWordsData());
    ASSERT_EQ(fresh.m_vWordsData.size(), 1u);
    EXPECT_EQ(fresh.m_vWordsData[0].wsKeyWord, u"good");
    EXPECT_EQ(fresh.m_nTotalCountAltWords, 1);
  }
}

TEST_F(LessonFileTest, TextRecordingIsReadAsItsBytes) {
  LessonRow row{u"v", u"", u"w", {u"т"}, {'I', 'D', '3'}};
  row.recordingKind = RecordingKind::Text;
  ASSERT_TRUE(Load(WriteRows({row})));
  EXPECT_EQ(lesson.m_vWordsData.at(0).vpMp3Word.at(0).Read(),
            (std::vector<uint8_t>{'I', 'D', '3'}));
}

TEST_F(LessonFileTest, ZeroLengthRecordingLoadsButTheRecordCannotBeShown) {
  ASSERT_TRUE(Load(WriteRows({LessonRow{u"m", u"s", u"chat", {u"кот"}, {}}})));
  ASSERT_EQ(lesson.m_vWordsData.size(), 1u);
  EXPECT_EQ(lesson.m_vWordsData[0].nvMp3WordSize, (std::vector<int32_t>{0}));

  ASSERT_TRUE(lesson.CreateUserFilters());
  lesson.SelectUserFilter(800, u"");
  EXPECT_FALSE(lesson.SetUserData());
  ExpectOneError(u"Нет данных для проигрывания звука!");
}

TEST_F(LessonFileTest, RowWithoutTranslationsLoadsButTheRecordCannotBeShown) {
  ASSERT_TRUE(Load(WriteRows({LessonRow{u"m", u"s", u"chat", {}, Recording(4, 0)}})));
  ASSERT_TRUE(lesson.CreateUserFilters());
  lesson.SelectUserFilter(800, u"");
  EXPECT_FALSE(lesson.SetUserData());
  ExpectOneError(u"Множество переводов пусто!");
}

// ---- bad files ----

TEST_F(LessonFileTest, EmptyMissingOrFolderPathGivesTheEmptyDatabaseMessage) {
  const fs::path empty = folder.Path() / "empty.db";
  WriteFileBytes(empty, {});
  for (const fs::path& file : {empty, folder.Path() / "missing.db", folder.Path()}) {
    SCOPED_TRACE(file.string());
    lesson.messages.clear();
    sqlite3* db = reinterpret_cast<sqlite3*>(&lesson);  // must be reset to null
    EXPECT_EQ(lesson.OpenDatabase(PathText(file), &db), SQLITE_EMPTY);
    EXPECT_EQ(db, nullptr);
    ExpectOneError(u"База данных:\n\"" + PathText(file) + u"\"\nпустая!");
  }
  EXPECT_FALSE(fs::exists(folder.Path() / "missing.db"));
  EXPECT_EQ(fs::file_size(empty), 0u);
}

TEST_F(LessonFileTest, NotADatabaseOrNoLessonTableGivesTheQueryMessage) {
  const fs::path text = folder.Path() / "notes.db";
  WriteFileBytes(text, {'h', 'e', 'l', 'l', 'o', '\n'});
  const fs::path other = folder.Path() / "other.db";
  WriteDatabase(other, "CREATE TABLE Words (a TEXT); INSERT INTO Words VALUES ('x');");
  for (const fs::path& file : {text, other}) {
    SCOPED_TRACE(file.string());
    lesson.messages.clear();
    EXPECT_FALSE(Load(file));
    ExpectOneError(u"Не могу выполнить запрос к базе данных:\n" + PathText(file));
    EXPECT_EQ(OpenDescriptorCount(file), 0);
  }
}

TEST_F(LessonFileTest, DamagedPageStopsTheLoadWithAMessageKeepingTheRowsBefore) {
  std::vector<LessonRow> rows;
  for (int i = 0; i < 60; ++i)
    rows.push_back(LessonRow{u"v", u"", u"w", {u"т"}, Recording(600, i)});
  const fs::path file = WriteRows(rows);
  // The last page holds the last rows of the table: make it unreadable.
  std::vector<uint8_t> bytes = ReadFileBytes(file);
  const size_t pageSize = 4096;
  ASSERT_GT(bytes.size(), 4 * pageSize);
  std::fill(bytes.end() - pageSize, bytes.end(), 0xFF);
  WriteFileBytes(file, bytes);

  EXPECT_FALSE(Load(file));
  EXPECT_GT(lesson.m_vWordsData.size(), 0u);
  EXPECT_LT(lesson.m_vWordsData.size(), 60u);
  ASSERT_EQ(lesson.messages.size(), 1u);
  EXPECT_NE(lesson.messages[0].text.find(u"Не могу прочитать строку "), std::u16string::npos);
}

TEST_F(LessonFileTest, LoadingLeavesTheFileUnchangedAndOpenOnlyWhileTheLessonIs) {
  const fs::path good = WriteRows({LessonRow{u"m", u"s", u"chat", {u"кот"}, Recording(8, 1)}});
  LessonRow gapRow{u"m", u"s", u"x", {u"y"}, Recording(8, 1)};
  gapRow.rowid = 7;
  const fs::path failing = WriteRows({gapRow}, "failing.db");
  for (const fs::path& file : {good, failing}) {
    SCOPED_TRACE(file.string());
    const std::vector<uint8_t> before = ReadFileBytes(file);
    const auto modified = fs::last_write_time(file);
    const bool loaded = Load(file);
    // The recordings are read from the file when they are sounded.
    EXPECT_EQ(OpenDescriptorCount(file), loaded ? 1 : 0);
    if (loaded) {
      EXPECT_EQ(lesson.m_vWordsData.at(0).vpMp3Word.at(0).Read(), Recording(8, 1));
    }
    lesson.StopSound();
    EXPECT_EQ(OpenDescriptorCount(file), 0);
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_EQ(fs::last_write_time(file), modified);
  }
  // No journal or other file was left beside the lessons.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2);
  EXPECT_TRUE(fs::remove(good));
}

TEST_F(LessonFileTest, LeftoverJournalIsNeitherRolledBackNorDeleted) {
  const fs::path file = WriteRows({LessonRow{u"m", u"s", u"chat", {u"кот"}, Recording(8, 1)}});
  const fs::path journal = fs::path(file.string() + "-journal");
  const std::vector<uint8_t> journalBytes = Recording(512, 9);
  WriteFileBytes(journal, journalBytes);
  const std::vector<uint8_t> before = ReadFileBytes(file);
  Load(file);
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_EQ(ReadFileBytes(journal), journalBytes);
}

TEST_F(LessonFileTest, WriteAheadLogLessonLoadsWithoutFilesAppearingBesideIt) {
  // Characters that mean something in a file: URI must still name this very file.
  const fs::path file = folder.Path() / "wal 100% #1?.db";
  WriteDatabase(file, "PRAGMA journal_mode=WAL;");
  WriteLesson(file, {LessonRow{u"m", u"s", u"chat", {u"кот"}, Recording(8, 1)}});
  ASSERT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
  const std::vector<uint8_t> before = ReadFileBytes(file);
  ASSERT_TRUE(Load(file));
  EXPECT_EQ(lesson.m_vWordsData.at(0).wsKeyWord, u"chat");
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace verbaro::test
