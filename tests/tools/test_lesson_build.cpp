// Building lessons from word lists: the file the trainer reads, spoken and given recordings,
// bad lines refused with their numbers, and existing lessons never overwritten by accident.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sstream>

#include "LessonTestFiles.h"
#include "tests/support/TempFolder.h"
#include "tools/LessonBuild.h"
#include "tools/LessonCheck.h"
#include "tools/LessonTool.h"
#include "tools/Mp3Inspect.h"

namespace verbaro::lesson {
namespace {

using testing::FilesIn;
using testing::ReadBytes;
using testing::ToneMp3;
using verbaro::test::TempFolder;

struct BuildRun {
  int status = -1;
  std::string out;
  std::string err;
};

BuildRun Build(const std::filesystem::path& list, const std::filesystem::path& lesson,
               bool replace = false) {
  std::ostringstream out;
  std::ostringstream err;
  BuildRun run;
  run.status = BuildLesson({list, lesson, replace}, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

struct StoredRow {
  int64_t rowid = 0;
  std::vector<std::string> columns;  // positions 0-12 as text, NULL as "<NULL>"
  std::vector<uint8_t> mp3;
};

std::vector<StoredRow> ReadLesson(const std::filesystem::path& lesson) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(lesson.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* select = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, "SELECT rowid, * FROM FrRuDict", -1, &select, nullptr),
            SQLITE_OK);
  std::vector<StoredRow> rows;
  while (sqlite3_step(select) == SQLITE_ROW) {
    StoredRow row;
    row.rowid = sqlite3_column_int64(select, 0);
    for (int column = 1; column <= 13; ++column) {
      const auto* text = sqlite3_column_text(select, column);
      row.columns.push_back(text ? reinterpret_cast<const char*>(text) : "<NULL>");
    }
    EXPECT_STREQ(sqlite3_column_name(select, 14), "Mp3Word");
    const auto* blob = static_cast<const uint8_t*>(sqlite3_column_blob(select, 14));
    row.mp3.assign(blob, blob + sqlite3_column_bytes(select, 14));
    rows.push_back(std::move(row));
  }
  sqlite3_finalize(select);
  sqlite3_close(db);
  return rows;
}

TEST(LessonBuild, WritesTheTableTheTrainerReadsWithSpokenAndGivenRecordings) {
  TempFolder folder;
  const std::vector<uint8_t> lessonFormat = ToneMp3(400, 44100, 2);
  folder.Write("tone44.mp3", lessonFormat);
  std::filesystem::create_directory(folder.Path() / "sons");
  folder.Write("sons/tone22.mp3", ToneMp3(400, 22050, 1));
  const auto list = folder.Write("animaux.tsv",
                                 "# une petite liste\n"
                                 "m\ts\tchat\tʃa\tchat\tle chat\tкот\tкошка\n"
                                 "f\tp\tmaisons\tmɛzɔ̃\tmai-sons\t\tдома\ttone44.mp3\n"
                                 "~\t\tBonjour !\t\t\t\tЗдравствуйте!\tsons/tone22.mp3\n");
  const auto lesson = folder.Path() / "animaux.db";

  const BuildRun run = Build(list, lesson);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Записей: 3"), std::string::npos) << run.out;

  const std::vector<StoredRow> rows = ReadLesson(lesson);
  ASSERT_EQ(rows.size(), 3u);
  const std::vector<std::string> first = {"1",       "animaux", "m",     "s", "chat", "ʃa", "chat",
                                          "le chat", "кот",     "кошка", "",  "",     ""};
  EXPECT_EQ(rows[0].columns, first);
  EXPECT_EQ(rows[1].columns[4], "maisons");
  EXPECT_EQ(rows[1].columns[8], "дома");
  EXPECT_EQ(rows[1].columns[12], "");  // absent translations are empty texts, never NULL
  EXPECT_EQ(rows[2].columns[2], "~");
  EXPECT_EQ(rows[2].columns[3], "");

  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].rowid, static_cast<int64_t>(i + 1));
    const Mp3Stream stream = InspectMp3(rows[i].mp3);
    EXPECT_TRUE(IsLessonFormat(stream)) << "row " << i + 1 << ": " << stream.error;
    EXPECT_GT(stream.frames, 44100u / 5) << "row " << i + 1;  // a word lasts a while
  }
  EXPECT_EQ(rows[1].mp3, lessonFormat);              // already in the lesson format: kept as it is
  const Mp3Stream tone22 = InspectMp3(rows[2].mp3);  // re-encoded to 44.1 kHz stereo
  EXPECT_NEAR(static_cast<double>(tone22.frames) / 44100, 0.4, 0.1);

  EXPECT_TRUE(CheckLesson(lesson).errors.empty());
  EXPECT_EQ(FilesIn(folder.Path()),
            (std::vector<std::string>{"animaux.db", "animaux.tsv", "sons", "tone44.mp3"}));
}

TEST(LessonBuild, AGivenRecordingLongerThanThePlayerTakesIsRefused) {
  // A low rate keeps the file small; decoded to 44.1 kHz stereo, ten minutes and a second pass
  // the trainer's bound, where the player says «Формат звука не поддерживается.».
  const Mp3Stream stream = InspectMp3(ToneMp3(601000, 8000, 1));
  EXPECT_FALSE(stream.decodable);
  EXPECT_NE(stream.error.find("слишком длинный"), std::string::npos) << stream.error;
}

TEST(LessonBuild, RefusesTheWholeListAndNamesEveryBadLine) {
  TempFolder folder;
  folder.Write("broken.mp3", std::string("this is no sound at all, only words"));
  folder.Write("good.mp3", ToneMp3(200, 44100, 2));
  const auto list = folder.Write("mots.tsv",
                                 "m\ts\tchat\t\t\t\tкот\n"                   // 1 good
                                 "m\ts\tchien\t\t\t\tсобака\tmissing.mp3\n"  // 2 no such file
                                 "m\ts\tloup\t\t\t\tволк\tbroken.mp3\n"      // 3 not MP3
                                 "m\ts\tours\n"                              // 4 columns
                                 "m\ts\t\t\t\t\tпусто\tgood.mp3\n"           // 5 empty word
                                 "v\t\têtre\t\t\t\tа\tб\tв\tг\tд\tе\n");     // 6 six
  const auto lesson = folder.Path() / "mots.db";

  const BuildRun run = Build(list, lesson);
  EXPECT_EQ(run.status, 1);
  for (const char* expected : {"строка 2: файл MP3 не найден", "строка 3: файл MP3 не декодируется",
                               "строка 4: неверное число столбцов", "строка 5: пустое слово",
                               "строка 6: больше пяти переводов", "ошибок — 5"}) {
    EXPECT_NE(run.err.find(expected), std::string::npos) << expected << "\n" << run.err;
  }
  EXPECT_EQ(run.err.find("строка 1:"), std::string::npos);
  EXPECT_EQ(FilesIn(folder.Path()),
            (std::vector<std::string>{"broken.mp3", "good.mp3", "mots.tsv"}));
}

TEST(LessonBuild, RefusesAListWhoseMergesWouldGiveSixAnswers) {
  TempFolder folder;
  std::string text;
  for (const char* word : {"bateau", "navire", "vaisseau", "paquebot", "bâtiment", "croiseur"})
    text += std::string("m\ts\t") + word + "\t\t\t\tкорабль\tgood.mp3\n";
  folder.Write("good.mp3", ToneMp3(200, 44100, 2));
  const auto list = folder.Write("mer.tsv", text);

  const BuildRun run = Build(list, folder.Path() / "mer.db");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("строки 1, 2, 3, 4, 5, 6: перевод «корабль, m,s» общий у 6 слов"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "mer.db"));
}

TEST(LessonBuild, TypographicApostrophesBecomeTypableAndOtherUntypableCharactersRefuseTheLine) {
  TempFolder folder;
  folder.Write("tone.mp3", ToneMp3(300, 44100, 2));
  const auto office = folder.Write("office.tsv",
                                   "m\ts\tl\u2019eau\t\t\t\tвода\ttone.mp3\n"
                                   "~\t\tà\u00A0bientôt\t\t\t\tдо\u00A0встречи\ttone.mp3\n");
  const auto lesson = folder.Path() / "office.db";
  const BuildRun run = Build(office, lesson);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<StoredRow> rows = ReadLesson(lesson);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].columns[4], "l'eau");
  EXPECT_EQ(rows[1].columns[4], "à bientôt");
  EXPECT_EQ(rows[1].columns[8], "до встречи");
  // Two entries, each alone in its group: only the warnings about the exams' choices.
  for (const std::string& warning : CheckLesson(lesson).warnings)
    EXPECT_NE(warning.find("вариантов ответа"), std::string::npos) << warning;
  EXPECT_NE(run.err.find("строка 1: в группе «m,s» мало переводов"), std::string::npos) << run.err;

  const auto quoted = folder.Write("quoted.tsv",
                                   "m\ts\tchat\t\t\t\tкот\ttone.mp3\n"
                                   "~\t\t«Salut»\t\t\t\tпривет\ttone.mp3\n"
                                   "m\ts\tsite\t\t\t\tweb-сайт\ttone.mp3\n");
  const BuildRun refused = Build(quoted, folder.Path() / "quoted.db");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("строка 2: слово ««Salut»»: символ ««» (U+00AB)"), std::string::npos)
      << refused.err;
  EXPECT_NE(refused.err.find("строка 3: перевод «web-сайт»: символ «w» (U+0077)"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(refused.err.find("строка 1"), std::string::npos) << refused.err;
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "quoted.db"));
}

TEST(LessonBuild, NeverOverwritesALessonUnlessToldTo) {
  TempFolder folder;
  folder.Write("tone.mp3", ToneMp3(200, 44100, 2));
  const auto list = folder.Write("l.tsv", "m\ts\tchat\t\t\t\tкот\ttone.mp3\n");
  const auto lesson = folder.Write("l.db", std::string("an older lesson"));

  const BuildRun refused = Build(list, lesson);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("--replace"), std::string::npos);
  EXPECT_EQ(ReadBytes(lesson), "an older lesson");

  const BuildRun replaced = Build(list, lesson, true);
  ASSERT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(ReadLesson(lesson).size(), 1u);
  EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"l.db", "l.tsv", "tone.mp3"}));
}

TEST(LessonBuild, CommandLineNamesItsUsageOnWrongArguments) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunLessonTool({}, out, err), kUsageStatus);
  EXPECT_EQ(RunLessonTool({"build", "only-one.tsv"}, out, err), kUsageStatus);
  EXPECT_EQ(RunLessonTool({"check", "a.db", "--replace"}, out, err), kUsageStatus);
  EXPECT_EQ(RunLessonTool({"convert", "a", "b"}, out, err), kUsageStatus);
  EXPECT_NE(err.str().find("Неизвестная команда: convert"), std::string::npos);
  EXPECT_NE(err.str().find("verbaro-lesson build"), std::string::npos);
}

}  // namespace
}  // namespace verbaro::lesson
