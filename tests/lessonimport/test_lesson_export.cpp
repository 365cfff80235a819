// `verbaro-lesson export`: a lesson out to the builder's word list, which builds back into the
// same lesson, and to an Anki package read by an independent reader of Anki's documented layout.
#include <gtest/gtest.h>

#include <sstream>

#include "lessonimport/ExportEntries.h"
#include "lessonimport/LessonExport.h"
#include "lessonimport/Sha1.h"
#include "tests/support/Files.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/TempFolder.h"
#include "tools/LessonBuild.h"
#include "tools/Mp3Inspect.h"

namespace verbaro::lessonimport {
namespace {

namespace fs = std::filesystem;

struct ExportRun {
  int status = -1;
  std::string out;
  std::string err;
};

ExportRun Export(const ExportRequest& request) {
  std::ostringstream out, err;
  ExportRun run;
  run.status = ExportLesson(request, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

std::vector<uint8_t> Lesson44k() { return test::Mp3Fixture("tone_1s_44k_stereo.mp3"); }
std::vector<uint8_t> Lesson2s() { return test::Mp3Fixture("tone_2s_44k_stereo.mp3"); }

// Entries a word list must carry exactly: accents, apostrophes, phrases with punctuation, five
// translations, a gap between translations, empty and full information lines, a word repeated.
std::vector<test::LessonRow> VariedRows() {
  return {
      {u"f", u"s", u"maison", {u"дом"}, Lesson44k(), u"[mɛzɔ̃]", u"mai·son", u"la maison"},
      {u"~", u"", u"Qu'est-ce que c'est ?", {u"Что это?"}, Lesson2s()},
      {u"v",
       u"",
       u"être",
       {u"быть", u"являться", u"существовать", u"находиться", u"бывать"},
       Lesson44k()},
      {u"m", u"s", u"élève", {u"ученик"}, Lesson2s(), u"", u"", u"l'élève"},
      {u"f", u"s", u"élève", {u"ученица"}, Lesson44k()},
      {u"adj,m", u"", u"sûr / certain", {u"уверенный", u"", u"надёжный"}, Lesson2s(), u"[syʁ]"},
  };
}

std::vector<std::string> Texts(const ExportEntry& entry) {
  std::vector<std::string> texts{entry.grammar, entry.number, entry.word,
                                 entry.info1,   entry.info2,  entry.info3};
  texts.insert(texts.end(), entry.translations.begin(), entry.translations.end());
  return texts;
}

std::vector<ExportEntry> Read(const fs::path& lesson) {
  std::string error;
  auto entries = ReadExportEntries(lesson, error);
  if (!entries) ADD_FAILURE() << error;
  return entries.value_or(std::vector<ExportEntry>{});
}

int Build(const fs::path& list, const fs::path& lesson, std::string& err) {
  std::ostringstream out, errors;
  const int status = lesson::BuildLesson({list, lesson, false}, out, errors);
  err = errors.str();
  return status;
}

TEST(WordListExport, BuildsBackIntoTheSameEntriesAndRecordings) {
  const test::TempFolder folder;
  const fs::path lesson = folder.Path() / "lesson\nnew line.db";
  test::WriteLesson(lesson, VariedRows());
  const fs::path list = folder.Path() / "out" / "mots.tsv";
  fs::create_directories(list.parent_path());
  const ExportRun run = Export({lesson, list, {}, false});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  // One recording file per entry, the repeated word included, named safely.
  const std::vector<std::string> expectedFiles = {"0001_maison.mp3", "0002_Qu_est-ce_que_c_est.mp3",
                                                  "0003_etre.mp3",   "0004_eleve.mp3",
                                                  "0005_eleve.mp3",  "0006_sur_certain.mp3"};
  std::vector<std::string> files;
  for (const auto& item : fs::directory_iterator(list.parent_path() / "mots_mp3"))
    files.push_back(item.path().filename());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, expectedFiles);

  const fs::path rebuilt = folder.Path() / "rebuilt.db";
  std::string err;
  ASSERT_EQ(Build(list, rebuilt, err), 0) << err;
  const std::vector<ExportEntry> before = Read(lesson), after = Read(rebuilt);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE(before[i].word);
    EXPECT_EQ(Texts(after[i]), Texts(before[i]));
    ASSERT_TRUE(before[i].HasRecording());
    EXPECT_EQ(after[i].recording.Read(), before[i].recording.Read());
  }
}

TEST(WordListExport, KeepsARecordingOfAnotherMp3FormatWhichTheBuilderReencodes) {
  const test::TempFolder folder;
  const fs::path lesson = folder.Path() / "lesson.db";
  const std::vector<uint8_t> mono = test::Mp3Fixture("tone_1s_22k_mono.mp3");
  test::WriteLesson(lesson, {{u"m", u"s", u"chat", {u"кот"}, mono}});
  const fs::path list = folder.Path() / "chat.tsv";
  ASSERT_EQ(Export({lesson, list, {}, false}).status, 0);
  EXPECT_EQ(test::ReadFileBytes(folder.Path() / "chat_mp3" / "0001_chat.mp3"), mono);

  std::string err;
  ASSERT_EQ(Build(list, folder.Path() / "rebuilt.db", err), 0) << err;
  const std::vector<ExportEntry> after = Read(folder.Path() / "rebuilt.db");
  ASSERT_EQ(after.size(), 1u);
  // The builder stores its own format: the same sound, other bytes.
  const std::vector<uint8_t> rebuilt = after[0].recording.Read().value();
  EXPECT_NE(rebuilt, mono);
  const lesson::Mp3Stream stream = lesson::InspectMp3(rebuilt);
  EXPECT_TRUE(lesson::IsLessonFormat(stream));
  EXPECT_NEAR(static_cast<double>(stream.frames) / 44100.0, 1.0, 0.05);
}

TEST(WordListExport, RefusesTextsTheListCannotCarryAndWritesNothing) {
  const test::TempFolder folder;
  const fs::path lesson = folder.Path() / "lesson.db";
  test::WriteLesson(lesson,
                    {
                        {u"f", u"s", u"maison", {u"дом"}, Lesson44k()},
                        {u"m", u"s", u"chat", {u"кот\tкошка"}, Lesson44k()},
                        {u"m", u"s", u"chien", {u"собака"}, Lesson44k(), u"", u"строка\nдругая"},
                        {u"m", u"s", u"vide", {}, Lesson44k()},
                        {u"m", u"s", u"muet", {u"немой"}, {}},
                        {u"#", u"", u"dièse", {u"диез"}, Lesson44k()},
                    });
  const ExportRun run = Export({lesson, folder.Path() / "out.tsv", {}, false});
  EXPECT_EQ(run.status, 1);
  for (const char* expected :
       {"строка 2 урока («chat»): в тексте табуляция",
        "строка 3 урока («chien»): в тексте табуляция или перевод строки",
        "строка 4 урока («vide»): нет ни одного перевода", "строка 5 урока («muet»): нет звука",
        "строка 6 урока («dièse»): грамматика начинается с «#»",
        "записей, которые он не может передать как есть, — 5"})
    EXPECT_NE(run.err.find(expected), std::string::npos) << expected << "\n" << run.err;
  EXPECT_EQ(run.err.find("maison"), std::string::npos);
  // Nothing but the lesson in the folder: no list, no recordings, no temporary file.
  std::vector<std::string> files;
  for (const auto& item : fs::directory_iterator(folder.Path()))
    files.push_back(item.path().filename());
  EXPECT_EQ(files, std::vector<std::string>{"lesson.db"});
}

TEST(LessonExport, ReplacesOnlyWhenAskedAndRefusesALessonTheTrainerRefuses) {
  const test::TempFolder folder;
  const fs::path lesson = folder.Path() / "lesson.db";
  test::WriteLesson(lesson, {{u"f", u"s", u"maison", {u"дом"}, Lesson44k()}});
  const fs::path list = folder.Path() / "mots.tsv";
  const fs::path package = folder.Path() / "mots.apkg";
  folder.Write("mots.tsv", std::string_view("old list"));
  fs::create_directory(folder.Path() / "mots_mp3");
  folder.Write("mots_mp3/old.mp3", std::string_view("old"));

  ExportRun run = Export({lesson, list, package, false});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("уже существует: " + list.string()), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("--replace"), std::string::npos);
  EXPECT_EQ(test::ReadFileBytes(list),
            (std::vector<uint8_t>{'o', 'l', 'd', ' ', 'l', 'i', 's', 't'}));
  EXPECT_FALSE(fs::exists(package));  // nothing is written while any target is refused

  run = Export({lesson, list, package, true});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Список слов записан"), std::string::npos);
  EXPECT_NE(run.out.find("Пакет Anki записан: " + package.string() + " (заметок: 1, карточек: 2)"),
            std::string::npos);
  EXPECT_TRUE(fs::exists(folder.Path() / "mots_mp3" / "0001_maison.mp3"));
  EXPECT_FALSE(fs::exists(folder.Path() / "mots_mp3" / "old.mp3"));
  size_t files = 0;
  for ([[maybe_unused]] const auto& item : fs::directory_iterator(folder.Path())) ++files;
  EXPECT_EQ(files, 4u);  // lesson, list, its folder, package: no scratch left

  folder.Write("broken.db", std::string_view("not a database at all, just some text"));
  for (const char* name : {"broken.db", "missing.db"}) {
    SCOPED_TRACE(name);
    run = Export({folder.Path() / name, folder.Path() / "b.tsv", folder.Path() / "b.apkg", false});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Экспорт не выполнен: урок не прочитан"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("«"), std::string::npos) << "the trainer's own message is given";
    EXPECT_FALSE(fs::exists(folder.Path() / "b.tsv"));
    EXPECT_FALSE(fs::exists(folder.Path() / "b.apkg"));
  }
  EXPECT_EQ(Export({lesson, {}, {}, false}).status, 1);
}

// The package's differences from the lesson, as an independent reader of both finds them.
int CheckPackage(const fs::path& package, const fs::path& lesson, std::string& report) {
  const fs::path output = package.parent_path() / "check.txt";
  const std::string command =
      "python3 '" VERBARO_SOURCE_DIR "/tests/lessonimport/check_anki_package.py' '" +
      package.string() + "' '" + lesson.string() + "' 'Premiers mots' 2>'" + output.string() + "'";
  const int status = std::system(command.c_str());
  const std::vector<uint8_t> bytes = test::ReadFileBytes(output);
  report.assign(bytes.begin(), bytes.end());
  return status;
}

TEST(AnkiExport, PackageHoldsEveryEntryWithBothCardsAndItsRecordingForAnIndependentReader) {
  const test::TempFolder folder;
  const fs::path lesson = folder.Path() / "Premiers mots.db";
  const std::vector<uint8_t> tone = Lesson44k(), longer = Lesson2s();
  // Markup characters, a line break, a word twice, an entry without a recording, a gap between
  // translations, an entry without a translation.
  std::vector<test::LessonRow> rows = {
      {u"f", u"s", u"maison", {u"дом", u"жилище"}, tone, u"[mɛzɔ̃]", u"mai·son", u"la maison"},
      {u"~", u"", u"A & B <i>", {u"А и Б", u"", u"<дом>"}, longer, u"", u"", u"строка\nдругая"},
      {u"m", u"s", u"chat", {u"кот"}, {}},
      {u"m", u"s", u"chat", {u"кошка"}, tone},
      {u"v", u"", u"être", {u"быть"}, longer, u"[ɛtʁ]", u"", u"\"guillemets\" \\ "},
      {u"m", u"s", u"rien", {}, tone},  // no translation: no card asks Russian → French
  };
  test::WriteLesson(lesson, rows);
  const fs::path package = folder.Path() / "deck.apkg";
  const ExportRun run = Export({lesson, {}, package, false});
  ASSERT_EQ(run.status, 0) << run.err;
  std::string report;
  EXPECT_EQ(CheckPackage(package, lesson, report), 0) << report;

  // The reader does catch a package that differs: the same package against another lesson.
  rows[0].translations = {u"дом"};
  rows[1].recording = tone;
  const fs::path other = folder.Path() / "other.db";
  test::WriteLesson(other, rows);
  EXPECT_NE(CheckPackage(package, other, report), 0);
  EXPECT_NE(report.find("note 'maison': Russian"), std::string::npos) << report;
  EXPECT_NE(report.find("note 'A & B <i>': recording bytes differ"), std::string::npos) << report;
}

TEST(LessonExport, NamesRecordingFilesSafelyWhateverTheWord) {
  EXPECT_EQ(RecordingFileName(12345, 12345, "../../etc/passwd"), "12345_etc_passwd.mp3");
  EXPECT_EQ(RecordingFileName(3, 9, "дом"), "0003.mp3");
  EXPECT_EQ(RecordingFileName(3, 9, "[sound:x]\x1f<b>"), "0003_sound_x_b.mp3");
}

TEST(Sha1, MatchesThePublishedVectorsAcrossBlockBoundaries) {
  const auto hex = [](std::string_view text) {
    std::string digits;
    for (const uint8_t byte : Sha1(text)) {
      digits += "0123456789abcdef"[byte >> 4];
      digits += "0123456789abcdef"[byte & 15];
    }
    return digits;
  };
  EXPECT_EQ(hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  EXPECT_EQ(hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
  // 56 bytes: the length no longer fits the block, which takes a second one.
  EXPECT_EQ(hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
  EXPECT_EQ(hex(std::string(1000000, 'a')), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

}  // namespace
}  // namespace verbaro::lessonimport
