// The lesson tool's check and the trainer agree on every odd or hostile lesson: the check exits 0
// exactly when every study mode of the trainer opens the lesson (reads it whole and builds its
// filters, its reversed lesson and its exam records).
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QString>

#include "data/LessonTable.h"
#include "tests/fakes/FakeFilterMenu.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/Files.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/PageSurgery.h"
#include "tests/support/TempFolder.h"
#include "views/Conspect1View.h"
#include "views/Conspect2View.h"
#include "views/Exam1View.h"
#include "views/Exam2View.h"

namespace verbaro::test {
namespace {

namespace fs = std::filesystem;

// The lesson table as every lesson has it, for rows that only SQL can spell.
const std::string kLessonTable = verbaro::lesson::CreateLessonTableSql() + ";";
constexpr char kGoodRow[] = "(1, 't', 'm', 's', 'un', '', '', '', 'один', '', '', '', '', x'01')";

// Opens the lesson in one study view on fake desktop services, as the Open command does.
template <typename View>
bool TrainerOpens(const fs::path& file) {
  EnsureApplication();
  FakePlatform fake;
  FakeFilterMenu menu;
  View view(fake.Get());
  view.SetFilterMenu(&menu);
  view.resize(800, 500);
  view.Create();
  fake.files.answers.push_back(QString::fromStdString(file.string()));
  return view.OpenLesson();
}

// Every mode of the trainer opens the lesson (the Video modes read it as the Conspect ones).
bool EveryModeOpens(const fs::path& file) {
  return TrainerOpens<CConspect1View>(file) && TrainerOpens<CConspect2View>(file) &&
         TrainerOpens<CExam1View>(file) && TrainerOpens<CExam2View>(file);
}

// The exit status of `verbaro-lesson check` on the file.
int CheckExitStatus(const fs::path& file) {
  std::string quoted = "'";
  for (const char c : file.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  quoted += "'";
  const std::string command =
      std::string("'" VERBARO_LESSON_TOOL "' check ") + quoted + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Fixture {
  std::string name;
  fs::path file;
};

class CheckAgreement : public ::testing::Test {
 protected:
  fs::path Path(const std::string& name) const { return folder.Path() / name; }

  fs::path Sql(const std::string& name, const std::string& sql) {
    WriteDatabase(Path(name), sql);
    return Path(name);
  }
  fs::path Rows(const std::string& name, const std::vector<LessonRow>& rows) {
    WriteLesson(Path(name), rows);
    return Path(name);
  }

  // Asserts agreement for each file; returns how many the trainer opened, so that a test can
  // make sure its set holds both kinds.
  int ExpectAgreement(const std::vector<Fixture>& fixtures) {
    int opened = 0;
    for (const Fixture& fixture : fixtures) {
      SCOPED_TRACE(fixture.name);
      const bool trainer = EveryModeOpens(fixture.file);
      EXPECT_EQ(CheckExitStatus(fixture.file), trainer ? 0 : 1);
      opened += trainer ? 1 : 0;
    }
    return opened;
  }

  TempFolder folder;
  const std::vector<uint8_t> sound =
      ReadFileBytes(fs::path(VERBARO_TEST_FIXTURES) / "mp3" / "tone_short_44k_stereo.mp3");
};

TEST_F(CheckAgreement, DamagedAndForeignFiles) {
  const fs::path whole = Rows("whole.db", NumberedRows(40));
  const std::vector<uint8_t> bytes = ReadFileBytes(whole);
  std::vector<Fixture> fixtures = {{"whole", whole}};
  for (const size_t kept : {size_t{100}, size_t{4096}, bytes.size() / 2}) {
    fixtures.push_back({"cut at " + std::to_string(kept),
                        folder.Write("cut" + std::to_string(kept) + ".db",
                                     std::vector<uint8_t>(bytes.begin(), bytes.begin() + kept))});
  }
  std::mt19937 random(11);
  for (int round = 0; round < 12; ++round) {
    std::vector<uint8_t> scrambled = bytes;
    for (int c = 0; c < 8; ++c)
      scrambled[random() % scrambled.size()] = static_cast<uint8_t>(random());
    fixtures.push_back({"scrambled " + std::to_string(round),
                        folder.Write("scrambled" + std::to_string(round) + ".db", scrambled)});
  }
  std::vector<uint8_t> noise(8192);
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
  fixtures.push_back({"random bytes", folder.Write("random.db", noise)});
  std::vector<uint8_t> posing = noise;
  const std::string magic("SQLite format 3", 16);
  std::copy(magic.begin(), magic.end(), posing.begin());
  fixtures.push_back({"posing header", folder.Write("posing.db", posing)});

  LessonRow first{u"m", u"s", u"chat", {u"кот"}, Recording(10, 1)};
  first.rowid = 0;
  LessonRow second{u"m", u"s", u"chien", {u"собака"}, Recording(10240, 2)};
  second.rowid = 1;
  const fs::path loop = Rows("loop.db", {first, second});
  LoopRecordingOverflow(loop, 1, 100);
  fixtures.push_back({"overflow loop", loop});

  const int opened = ExpectAgreement(fixtures);
  EXPECT_GE(opened, 1);
  EXPECT_LT(opened, static_cast<int>(fixtures.size()));
}

TEST_F(CheckAgreement, RecordingsThatAreNullForeignOrOutOfStep) {
  LessonRow nullRecording{u"m", u"s", u"b", {u"2"}};
  nullRecording.recordingKind = RecordingKind::Null;
  LessonRow number{u"m", u"s", u"c", {u"3"}};
  number.recordingKind = RecordingKind::Integer;
  LessonRow text{u"m", u"s", u"d", {u"4"}, {'a', 'b', 'c'}};
  text.recordingKind = RecordingKind::Text;
  LessonRow gap{u"m", u"s", u"e", {u"5"}, sound};
  gap.rowid = 3;
  LessonRow zero{u"m", u"s", u"f", {u"6"}, sound};
  zero.rowid = 0;
  const LessonRow good{u"m", u"s", u"a", {u"1"}, sound};
  const std::string noise = "no MPEG frame in here";
  const int opened = ExpectAgreement({
      {"null", Rows("null.db", {good, nullRecording})},
      {"number", Rows("number.db", {good, number})},
      {"text recording", Rows("text.db", {good, text})},
      {"rowid gap", Rows("gap.db", {good, gap})},
      {"rowid from 0", Rows("zero.db", {zero, good})},
      {"undecodable",
       Rows("noise.db", {good, {u"f", u"s", u"g", {u"7"}, {noise.begin(), noise.end()}}})},
      {"empty recording", Rows("empty.db", {good, {u"f", u"s", u"h", {u"8"}, {}}})},
      {"real number",
       Sql("real.db", kLessonTable + "INSERT INTO FrRuDict VALUES " + kGoodRow +
                          ", (2, 't', 'm', 's', 'deux', '', '', '', 'два', '', '', '', '', 2.5);")},
      {"no Mp3Word",
       Sql("nocolumn.db",
           "CREATE TABLE FrRuDict (id, topic, g, n, w, i1, i2, i3, r1, r2, r3, r4, r5,"
           " Sound BLOB); INSERT INTO FrRuDict VALUES " +
               std::string(kGoodRow) + ";")},
      {"no rowid", Sql("norowid.db",
                       "CREATE TABLE FrRuDict (id INTEGER PRIMARY KEY, topic, g, n, w, i1, i2, i3,"
                       " r1, r2, r3, r4, r5, Mp3Word BLOB) WITHOUT ROWID; INSERT INTO FrRuDict"
                       " VALUES " +
                           std::string(kGoodRow) + ";")},
  });
  EXPECT_EQ(opened, 3);  // the text recording, the undecodable and the empty one load
}

TEST_F(CheckAgreement, MergesGrammarAndShapesOfTheTable) {
  std::vector<LessonRow> sixWords;
  for (int i = 1; i <= 6; ++i)
    sixWords.push_back(
        {u"adj,m", u"", u"mot" + std::u16string(1, char16_t(u'0' + i)), {u"хороший"}, sound});
  std::vector<LessonRow> fiveWords(sixWords.begin(), sixWords.end() - 1);
  std::vector<LessonRow> sixAnswers = {{u"f", u"s", u"mot", {u"а", u"б", u"в"}, sound},
                                       {u"f", u"s", u"mot", {u"г", u"д", u"е"}, sound}};
  std::vector<LessonRow> phrasesOnly = {{u"~~", u"", u"hors de", {u"вне"}, sound}};
  std::vector<LessonRow> noTranslation = {{u"m", u"s", u"a", {u"1"}, sound},
                                          {u"m", u"s", u"b", {}, sound}};
  std::vector<LessonRow> odd = {{u"v", u"s", u"aller", {u"идти"}, sound},
                                {u"nm", u"", u"x", {u"икс"}, sound}};
  const int opened = ExpectAgreement({
      {"six words share a translation", Rows("six.db", sixWords)},
      {"five words share a translation", Rows("five.db", fiveWords)},
      {"a word gathers six answers", Rows("answers.db", sixAnswers)},
      {"phrases only", Rows("phrases.db", phrasesOnly)},
      {"entry without translation", Rows("notranslation.db", noTranslation)},
      {"grammar of no filter group", Rows("odd.db", odd)},
      {"empty table", Rows("emptytable.db", {})},
      {"Mp3Word among the texts",
       Sql("mp3first.db",
           "CREATE TABLE FrRuDict (Nr, Topic, FrGram, FrNumber, FrWord, Mp3Word, Info2, Info3,"
           " Ru1, Ru2, Ru3, Ru4, Ru5); INSERT INTO FrRuDict VALUES (1, 't', 'm', 's', 'un', x'01',"
           " '', '', 'один', '', '', '', '');")},
      {"narrow table", Sql("narrow.db",
                           "CREATE TABLE FrRuDict (Nr, Topic, FrGram, FrWord, Mp3Word);"
                           " INSERT INTO FrRuDict VALUES (1, 't', 'm', 'un', x'01');")},
  });
  EXPECT_GE(opened, 2);
}

TEST_F(CheckAgreement, SqlInTheFileAndPathsThatAreNoLesson) {
  const fs::path view =
      Sql("view.db",
          "CREATE TABLE Words (id, topic, g, n, w, i1, i2, i3, r1, r2, r3, r4, r5, m);"
          " INSERT INTO Words VALUES " +
              std::string(kGoodRow) +
              ";"
              " CREATE VIEW FrRuDict AS SELECT * FROM Words;");
  const fs::path trigger = Rows("trigger.db", NumberedRows(3));
  WriteDatabase(trigger,
                "CREATE TABLE Seen (word TEXT); CREATE TRIGGER t AFTER UPDATE ON FrRuDict"
                " BEGIN INSERT INTO Seen VALUES (new.FrWord); END;");

  const fs::path live = Path("live.db");
  WriteDatabase(live, "PRAGMA journal_mode=WAL;");
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open_v2(live.c_str(), &holder, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "SELECT count(*) FROM sqlite_schema;", nullptr, nullptr, nullptr),
            SQLITE_OK);
  WriteLesson(live, NumberedRows(4));

  const fs::path gone = Rows("урок удалён.db", NumberedRows(2));
  fs::remove(gone);
  const fs::path pipe = Path("pipe.db");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const fs::path quote = Rows("l'urok.db", NumberedRows(2));

  const int opened = ExpectAgreement({{"view", view},
                                      {"trigger", trigger},
                                      {"rows in the write-ahead log", live},
                                      {"gone", gone},
                                      {"pipe", pipe},
                                      {"folder", folder.Path()},
                                      {"device", fs::path("/dev/zero")},
                                      {"quote in the name", quote}});
  sqlite3_close(holder);
  EXPECT_EQ(opened, 3);  // triggers, the live log and the quoted name
}

}  // namespace
}  // namespace verbaro::test
