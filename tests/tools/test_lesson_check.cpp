// Checking lesson files: what stops the trainer from reading a lesson whole, what breaks a
// mode, the filter listing, and that checking never changes the file.
#include <gtest/gtest.h>

#include <algorithm>

#include <sstream>

#include "LessonTestFiles.h"
#include "data/PlainLessonState.h"
#include "data/Text.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/TempFolder.h"
#include "tools/LessonCheck.h"

namespace verbaro::lesson {
namespace {

using testing::FilesIn;
using testing::ReadBytes;
using testing::ToneMp3;
using verbaro::test::LessonRow;
using verbaro::test::RecordingKind;
using verbaro::test::TempFolder;
using verbaro::test::WriteDatabase;
using verbaro::test::WriteLesson;

bool HasError(const CheckReport& report, const std::string& part) {
  for (const std::string& error : report.errors)
    if (error.find(part) != std::string::npos) return true;
  return false;
}

bool HasWarning(const CheckReport& report, const std::string& part) {
  for (const std::string& warning : report.warnings)
    if (warning.find(part) != std::string::npos) return true;
  return false;
}

std::string AllErrors(const CheckReport& report) {
  std::string all;
  for (const std::string& error : report.errors) all += error + "\n";
  return all;
}

class LessonCheck : public ::testing::Test {
 protected:
  std::filesystem::path LessonPath() const { return m_folder.Path() / "lesson.db"; }
  TempFolder m_folder;
  const std::vector<uint8_t> m_tone = ToneMp3(200, 44100, 2);
};

TEST_F(LessonCheck, AcceptsASoundLessonAndListsItsFilters) {
  WriteLesson(LessonPath(), {{u"m", u"s", u"chat", {u"кот", u"кошка"}, m_tone},
                             {u"m", u"p", u"chats", {u"коты"}, m_tone},
                             {u"f", u"s", u"chatte", {u"кошка"}, m_tone},
                             {u"adj,f", u"", u"belle", {u"красивая"}, m_tone},
                             {u"v", u"", u"aimer", {u"любить"}, m_tone},
                             {u"~", u"", u"Merci !", {u"Спасибо!"}, m_tone}});
  const CheckReport report = CheckLesson(LessonPath());
  EXPECT_TRUE(report.errors.empty()) << AllErrors(report);
  // Six entries in five groups: every exam question shows fewer than five choices, and check
  // says so for each group, in each exam, and nothing else.
  for (const std::string& warning : report.warnings)
    EXPECT_NE(warning.find("вариантов ответа"), std::string::npos) << warning;
  EXPECT_EQ(std::count(report.warnings.begin(), report.warnings.end(),
                       "запись 5: в группе «v» мало переводов: в режиме «Экзамен-1» вопрос этой "
                       "группы покажет только 1 из 5 вариантов ответа"),
            1);
  EXPECT_EQ(report.entries, 6u);
  ASSERT_TRUE(report.filtersKnown);
  EXPECT_EQ(report.directFilters.front().count, 6u);
  EXPECT_EQ(report.reversedFilters.front().count, 7u);  // кот, кошка (m,s), коты, кошка (f,s), ...

  std::ostringstream out;
  EXPECT_EQ(PrintCheck(LessonPath(), report, out), 0);
  const std::string text = out.str();
  // The filters as the learner reads them, in the menu's order, without the menu's "&".
  const size_t all = text.find("  0 - Все слова и фразы (6)\n");
  const size_t phrases = text.find("  h - Фразы (1)\n");
  const size_t adjectives = text.find("  c - Женские прилагательные (1)\n");
  EXPECT_NE(all, std::string::npos) << text;
  EXPECT_LT(all, phrases);
  EXPECT_LT(phrases, adjectives);
  EXPECT_NE(text.find("  0 - Все слова и фразы (7)\n"), std::string::npos) << text;
  EXPECT_EQ(text.find('&'), std::string::npos) << text;
}

TEST_F(LessonCheck, FindsRowidGapsAndRowsOutOfStep) {
  std::vector<LessonRow> rows = {{u"m", u"s", u"a", {u"1"}, m_tone},
                                 {u"m", u"s", u"b", {u"2"}, ToneMp3(300, 44100, 2)},
                                 {u"m", u"s", u"c", {u"3"}, ToneMp3(500, 44100, 2)}};
  rows[1].rowid = 3;
  rows[2].rowid = 4;
  WriteLesson(LessonPath(), rows);
  const CheckReport report = CheckLesson(LessonPath());
  EXPECT_TRUE(HasError(report, "запись 2: нет строки с rowid 2")) << AllErrors(report);
  EXPECT_TRUE(HasError(report, "прекратит чтение")) << AllErrors(report);
  // The third row read is rowid 4, while the trainer takes its sound from rowid 3.
  EXPECT_TRUE(HasWarning(report, "запись 3: её звук хранится в другой строке"));
  EXPECT_TRUE(HasError(report, "Не могу прочитать строку 2 базы данных")) << AllErrors(report);
  EXPECT_FALSE(report.filtersKnown);

  std::ostringstream out;
  EXPECT_EQ(PrintCheck(LessonPath(), report, out), 1);
  EXPECT_EQ(out.str().find("Фильтры"), std::string::npos);
}

TEST_F(LessonCheck, FindsRecordingsThatCannotBePlayed) {
  const std::string noise = "ID3 but nothing after it, and certainly no MPEG frame";
  std::vector<LessonRow> rows = {
      {u"m", u"s", u"a", {u"1"}, m_tone},
      {u"m", u"s", u"b", {u"2"}},
      {u"m", u"s", u"c", {u"3"}, std::vector<uint8_t>(noise.begin(), noise.end())},
      {u"m", u"s", u"d", {u"4"}, {}},
      {u"m", u"s", u"e", {}, m_tone}};
  rows[1].recordingKind = RecordingKind::Null;
  rows[4].recordingKind = RecordingKind::Integer;
  WriteLesson(LessonPath(), rows);
  const CheckReport report = CheckLesson(LessonPath());
  // A NULL or numeric recording stops the trainer's reading; the others only stay silent.
  EXPECT_TRUE(HasError(report, "запись 2: нет звука (Mp3Word = NULL)")) << AllErrors(report);
  EXPECT_TRUE(HasError(report, "запись 5: вместо звука в Mp3Word число")) << AllErrors(report);
  EXPECT_TRUE(HasWarning(report, "запись 3: звук не декодируется"));
  EXPECT_TRUE(HasWarning(report, "запись 4: звук пустой"));
  EXPECT_TRUE(HasWarning(report, "запись 5: нет ни одного перевода"));
  EXPECT_FALSE(HasError(report, "запись 1:"));
  EXPECT_FALSE(HasWarning(report, "запись 1:"));

  // Without the rows that stop it, the trainer reads the lesson whole: silent recordings are
  // warnings, and the lesson passes.
  rows.erase(rows.begin() + 4);
  rows.erase(rows.begin() + 1);
  WriteLesson(LessonPath(), rows);
  const CheckReport readable = CheckLesson(LessonPath());
  EXPECT_TRUE(readable.errors.empty()) << AllErrors(readable);
  EXPECT_TRUE(HasWarning(readable, "запись 2: звук не декодируется"));
  EXPECT_TRUE(HasWarning(readable, "запись 3: звук пустой"));
}

TEST_F(LessonCheck, FindsMergesBeyondFiveAnswersButStillListsTheDirectFilters) {
  std::vector<LessonRow> rows;
  for (char16_t digit = u'1'; digit <= u'6'; ++digit) {
    rows.push_back({u"adj,m", u"", u"mot" + std::u16string(1, digit), {u"хороший"}, m_tone});
  }
  rows.push_back({u"~~", u"", u"septième", {u"хороший"}, m_tone});  // left out of the merges
  WriteLesson(LessonPath(), rows);
  const CheckReport report = CheckLesson(LessonPath());
  // The reversed modes and Exam-2 cannot build; the warning names the rows that share the key.
  ASSERT_EQ(report.errors.size(), 2u) << AllErrors(report);
  EXPECT_TRUE(HasError(report, "в режимах «Конспект-2» и «Видео-2» урок не строится"));
  EXPECT_TRUE(HasError(report, "в режиме «Экзамен-2» урок не готовится"));
  EXPECT_TRUE(
      HasWarning(report, "записи 1, 2, 3, 4, 5, 6: перевод «хороший, adj,m» общий у 6 слов"));
  ASSERT_TRUE(report.filtersKnown);
  EXPECT_EQ(report.directFilters.front().count, 7u);
  EXPECT_TRUE(report.reversedFilters.empty());
}

TEST_F(LessonCheck, FindsTablesTheTrainerCannotTakeColumnsFrom) {
  WriteDatabase(
      LessonPath(),
      "CREATE TABLE FrRuDict (Nr INTEGER, Topic TEXT, FrGram TEXT, FrNumber TEXT, FrWord TEXT, "
      "Mp3Word BLOB, Info2 TEXT, Info3 TEXT, Ru1 TEXT, Ru2 TEXT, Ru3 TEXT, Ru4 TEXT, Ru5 TEXT)");
  EXPECT_TRUE(HasWarning(CheckLesson(LessonPath()), "столбец Mp3Word стоит на месте 5"));

  const auto narrow = m_folder.Path() / "narrow.db";
  WriteDatabase(
      narrow,
      "CREATE TABLE FrRuDict (Nr INTEGER, Topic TEXT, FrGram TEXT, FrWord TEXT, Mp3Word BLOB)");
  EXPECT_TRUE(HasWarning(CheckLesson(narrow), "5 столбцов, а нужно не меньше 13"));
  EXPECT_TRUE(HasError(CheckLesson(narrow), "нет ни одной записи"));

  const auto otherTable = m_folder.Path() / "other.db";
  WriteLesson(otherTable, {});
  WriteDatabase(otherTable, "ALTER TABLE FrRuDict RENAME TO Words");
  EXPECT_TRUE(HasError(CheckLesson(otherTable), "нет таблицы FrRuDict"));

  const auto emptyTable = m_folder.Path() / "empty.db";
  WriteLesson(emptyTable, {});
  EXPECT_TRUE(HasError(CheckLesson(emptyTable), "нет ни одной записи"));

  EXPECT_TRUE(HasError(CheckLesson(m_folder.Write("zero.db", std::string())), "пуст"));
  EXPECT_TRUE(HasError(CheckLesson(m_folder.Path() / "absent.db"), "не существует"));
  EXPECT_TRUE(HasError(
      CheckLesson(m_folder.Write("text.db", std::string("plain text, no database"))), "SQLite"));
}

TEST_F(LessonCheck, WarnsAboutWordsAndTranslationsNoKeyCanType) {
  WriteLesson(LessonPath(), {{u"m", u"s", u"l\u2019eau", {u"вода"}, m_tone},
                             {u"m", u"s", u"chat", {u"кот", u"cat"}, m_tone},
                             {u"~~", u"", u"hors", {u"out"}, m_tone}});  // never typed reversed
  const CheckReport report = CheckLesson(LessonPath());
  EXPECT_TRUE(report.errors.empty()) << AllErrors(report);
  EXPECT_TRUE(HasWarning(report, "запись 1: слово «l\u2019eau»: символ «\u2019» (U+2019)"));
  EXPECT_TRUE(HasWarning(report, "запись 2: перевод «cat»: символ «c» (U+0063)"));
  EXPECT_FALSE(HasWarning(report, "запись 3"));
}

TEST_F(LessonCheck, TextsEndAtTheirFirstNulAsTheTrainerShowsThem) {
  // What follows a NUL is never shown: no untypable character there, and a translation that
  // begins with one is no translation.
  WriteLesson(
      LessonPath(),
      {{u"m", u"s", std::u16string(u"chat\0\u2019", 6), {std::u16string(u"\0кот", 4)}, m_tone},
       {u"m", u"p", u"chats", {std::u16string(u"коты\0cats", 9)}, m_tone}});
  PlainLessonState trainer(u"Модуль \"Конспект-1\"");
  trainer.m_szDataFile = FromUtf8(LessonPath().string());
  ASSERT_TRUE(trainer.LoadWordsData());
  ASSERT_EQ(trainer.m_vWordsData.size(), 2u);
  EXPECT_EQ(trainer.m_vWordsData[0].wsKeyWord, u"chat");
  EXPECT_TRUE(trainer.m_vWordsData[0].vwsAltWords.empty());
  EXPECT_EQ(trainer.m_vWordsData[1].vwsAltWords, std::vector<std::u16string>{u"коты"});

  const CheckReport report = CheckLesson(LessonPath());
  EXPECT_TRUE(HasWarning(report, "запись 1: нет ни одного перевода"));
  EXPECT_FALSE(HasWarning(report, "запись 1: слово"));
  EXPECT_FALSE(HasWarning(report, "запись 2: перевод"));
}

TEST_F(LessonCheck, LeavesTheFileAndItsFolderExactlyAsTheyWere) {
  LessonRow gap{u"m", u"s", u"b", {u"2"}};
  gap.recordingKind = RecordingKind::Null;
  gap.rowid = 3;
  WriteLesson(LessonPath(), {{u"m", u"s", u"a", {u"1"}, m_tone}, gap});
  const std::string before = ReadBytes(LessonPath());
  const auto modified = std::filesystem::last_write_time(LessonPath());
  const std::vector<std::string> files = FilesIn(m_folder.Path());

  EXPECT_FALSE(CheckLesson(LessonPath()).errors.empty());
  EXPECT_EQ(ReadBytes(LessonPath()), before);
  EXPECT_EQ(std::filesystem::last_write_time(LessonPath()), modified);
  EXPECT_EQ(FilesIn(m_folder.Path()), files);
}

TEST_F(LessonCheck, ReadsAWriteAheadLogLessonWithoutLeavingFilesBesideIt) {
  WriteDatabase(LessonPath(), "PRAGMA journal_mode=WAL");
  WriteLesson(LessonPath(), {{u"m", u"s", u"a", {u"1"}, m_tone}});
  const std::string before = ReadBytes(LessonPath());
  ASSERT_EQ(FilesIn(m_folder.Path()), std::vector<std::string>{"lesson.db"});

  const CheckReport report = CheckLesson(LessonPath());
  EXPECT_TRUE(report.errors.empty()) << AllErrors(report);
  EXPECT_EQ(report.entries, 1u);
  EXPECT_EQ(ReadBytes(LessonPath()), before);
  EXPECT_EQ(FilesIn(m_folder.Path()), std::vector<std::string>{"lesson.db"});
}

}  // namespace
}  // namespace verbaro::lesson
