#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lessonimport/DelimitedRecords.h"
#include "lessonimport/DelimitedText.h"
#include "lessonimport/FileMedia.h"
#include "lessonimport/HeadingRow.h"
#include "lessonimport/Kvtml.h"
#include "lessonimport/SourceFile.h"
#include "tests/support/TempFolder.h"

namespace verbaro::lessonimport {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using Cells = std::vector<std::string>;

fs::path Fixture(const std::string& name) {
  return fs::path(VERBARO_TEST_FIXTURES) / "import" / name;
}

Source ReadTable(const fs::path& file) {
  std::string error;
  std::optional<Source> source = ReadDelimitedText(file, error);
  if (!source) ADD_FAILURE() << file << ": " << error;
  return source ? std::move(*source) : Source{};
}

std::string TableError(const fs::path& file) {
  std::string error;
  EXPECT_FALSE(ReadDelimitedText(file, error).has_value()) << file;
  return error;
}

std::string KvtmlError(const fs::path& file) {
  std::string error;
  EXPECT_FALSE(ReadKvtml(file, error).has_value()) << file;
  return error;
}

std::vector<Cells> CellsOf(const Source& source) {
  std::vector<Cells> cells;
  for (const SourceNote& note : source.notes) cells.push_back(note.cells);
  return cells;
}

Cells NamesOf(const Source& source) {
  Cells names;
  for (const SourceColumn& column : source.columns) names.push_back(column.name);
  return names;
}

// ---- KVTML -------------------------------------------------------------------------------

TEST(Kvtml, ParleyDocumentGivesEveryLanguagesFieldsCodesLessonsAndSounds) {
  std::string error;
  const std::optional<Source> source = ReadKvtml(Fixture("kvtml/parley_fr_ru.kvtml"), error);
  ASSERT_TRUE(source) << error;
  EXPECT_EQ(source->format, "KVTML");
  EXPECT_EQ(NamesOf(*source),
            (Cells{"Français", "Français: транскрипция", "Français: комментарий",
                   "Français: пример", "Русский", "Русский: пример", "грамматика", "число"}));
  const std::vector<ColumnKind> kinds = {
      ColumnKind::Text, ColumnKind::Transcription, ColumnKind::Comment, ColumnKind::Example,
      ColumnKind::Text, ColumnKind::Example,       ColumnKind::Grammar, ColumnKind::Number};
  for (size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(source->columns[i].kind, kinds[i]) << i;
  EXPECT_EQ(source->columns[0].language, "fr");
  EXPECT_EQ(source->columns[5].language, "ru");

  // The empty entry is left out; conjugations, comparisons, choices and grades are no cells; the
  // word type of the French translation wins, else the other's; a sub-type without a type of its
  // own has its parent's.
  EXPECT_EQ(CellsOf(*source),
            (std::vector<Cells>{
                {"chat", "[ʃa]", "домашнее животное", "Le chat dort.", "кот", "", "m", "s"},
                {"souris", "[suʁi]", "", "", "мышь", "Мышь под столом.", "f", "s"},
                {"manger", "", "", "", "есть\nкушать", "", "v", ""},
                {"vite", "", "", "", "быстро", "", "adv", ""},
                {"rouge", "", "", "", "красный", "", "adj,m", ""},
                {"chien", "", "", "", "собака", "", "m", "s"},
                {"pomme & poire", "", "", "", "яблоко и груша", "", "n", "s"},
            }));
  EXPECT_EQ(source->notes[0].place, "запись 1");
  EXPECT_EQ(source->notes[6].place, "запись 8");
  EXPECT_EQ(source->notes[0].sounds[0], "sounds/chat.mp3");
  EXPECT_EQ(source->notes[1].sounds[0], "file:///tmp/verbaro-kvtml-absent/souris%20grise.ogg");
  EXPECT_EQ(source->notes[0].tags, Cells{"Les animaux"});
  EXPECT_EQ(source->notes[5].tags, Cells{"Les chiens"});
  EXPECT_TRUE(source->problems.empty());
  ASSERT_TRUE(source->media);
  EXPECT_FALSE(source->media->Read("sounds/chat.mp3", error));
  EXPECT_NE(error.find("нет файла"), std::string::npos) << error;
}

TEST(Kvtml, KWordQuizColumnsTakeTheirLanguageFromTheNameUnderADefaultLocale) {
  std::string error;
  const std::optional<Source> source = ReadKvtml(Fixture("kvtml/kwordquiz_fr_ru.kvtml"), error);
  ASSERT_TRUE(source) << error;
  EXPECT_EQ(NamesOf(*source), (Cells{"Французский", "Русский"}));
  EXPECT_EQ(source->columns[0].language, "Французский");
  EXPECT_EQ(source->columns[1].language, "Русский");
  EXPECT_EQ(CellsOf(*source),
            (std::vector<Cells>{{"bleu", "синий"}, {"vert", "зелёный"}, {"l'été", "лето"}}));
  EXPECT_EQ(source->notes[2].tags, Cells{"Leçon 1"});
  EXPECT_FALSE(source->media);
}

TEST(Kvtml, RecordingsAreReadBesideTheFileOrWhereAFileUrlPoints) {
  TempFolder folder;
  fs::create_directories(folder.Path() / "sounds");
  folder.Write("sounds/chat.mp3", "MP3 of chat");
  folder.Write("souris grise.ogg", "OGG of souris");
  const std::string url = "file://" + (folder.Path() / "souris%20grise.ogg").string();
  folder.Write(
      "words.kvtml",
      "<?xml version=\"1.0\"?><kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><locale>fr"
      "</locale></identifier><identifier id=\"1\"><locale>ru</locale></identifier></identifiers>"
      "<entries><entry id=\"0\"><translation "
      "id=\"0\"><text>chat</text><sound>sounds/chat.mp3</sound>"
      "</translation><translation id=\"1\"><text>кот</text><sound>" +
          url +
          "</sound></translation>"
          "</entry><entry id=\"1\"><translation id=\"0\"><text>rat</text></translation>"
          "<translation id=\"2\"><text>rato</text></translation></entry></entries></kvtml>");
  std::string error;
  const std::optional<Source> source = ReadKvtml(folder.Path() / "words.kvtml", error);
  ASSERT_TRUE(source) << error;
  ASSERT_TRUE(source->media);
  const auto first = source->media->Read(source->notes[0].sounds[0], error);
  const auto second = source->media->Read(source->notes[0].sounds[1], error);
  ASSERT_TRUE(first && second) << error;
  EXPECT_EQ(std::string(first->begin(), first->end()), "MP3 of chat");
  EXPECT_EQ(std::string(second->begin(), second->end()), "OGG of souris");
  // A translation into a language the file does not declare is reported, the rest kept.
  EXPECT_EQ(source->problems,
            Cells{"запись 2: перевод на язык 2, которого нет в списке языков файла"});
  EXPECT_EQ(source->notes[1].cells, (Cells{"rat", ""}));
}

TEST(Kvtml, HostileOrBrokenFilesAreRefusedWithTheReasonAndTheLine) {
  TempFolder folder;
  const std::string entries =
      "<identifiers><identifier id=\"0\"><locale>fr</locale></identifier></identifiers>"
      "<entries><entry id=\"0\"><translation id=\"0\"><text>";
  struct Case {
    std::string xml;
    std::string message;
  };
  std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [\n<!ENTITY a \"ha\">\n";
  for (char c = 'b'; c <= 'k'; ++c)
    laughs += std::string("<!ENTITY ") + c + " \"&" + static_cast<char>(c - 1) + ";&" +
              static_cast<char>(c - 1) + ";\">\n";
  laughs += "]>\n<kvtml version=\"2.0\">" + entries +
            "&k;</text></translation></entry></entries></kvtml>";
  std::vector<Case> cases = {
      {laughs, "строка 3: файл объявляет сущность «a»"},
      {"<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [ <!ENTITY pw SYSTEM \"file:///etc/passwd\"> ]>\n"
       "<kvtml version=\"2.0\">" +
           entries + "&pw;</text></translation></entry></entries></kvtml>",
       "строка 2: файл объявляет сущность «pw»"},
      {"<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml SYSTEM \"http://127.0.0.1:9/kvtml2.dtd\">\n<kvtml "
       "version=\"2.0\">\n" +
           entries + "&nbsp;</text></translation></entry></entries></kvtml>",
       "строка 4: неизвестная сущность «&nbsp;»"},
      {"<kvtml version=\"2.0\">\n<entries>\n<entry id=\"0\">\n</entries></kvtml>",
       "ошибка XML в строке 4"},
      {"<kvtml version=\"2.0\"><entries>", "ошибка XML в строке 1: файл пуст или оборван"},
      {"chat;кот\n", "ошибка XML в строке 1"},
      {"", "ошибка XML в строке 1: файл пуст или оборван"},
      {"<?xml version=\"1.0\"?>\n<html><body>chat</body></html>", "строка 2: это не файл KVTML"},
      {"<kvtml encoding=\"UTF-8\" cols=\"2\"><e><o>chat</o><t>кот</t></e></kvtml>",
       "строка 1: файл в старом формате KVTML"},
      {"<kvtml version=\"2.0\"><entries/></kvtml>", "в файле KVTML не названо ни одного языка"},
  };
  std::string many = "<kvtml version=\"2.0\"><entries>";
  for (size_t i = 0; i <= kMaxSourceNotes; ++i) many += "<entry/>";
  cases.push_back({many + "</entries></kvtml>",
                   "строка 1: в файле больше 200000 записей — это не список слов"});
  for (const Case& c : cases) {
    const fs::path file = folder.Write("case.kvtml", c.xml);
    const std::string error = KvtmlError(file);
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << c.message << "\n  got: " << error;
    EXPECT_EQ(error.find("root:"), std::string::npos) << error;  // nothing of /etc/passwd
  }
}

TEST(Kvtml, AnEntryWithATextOverTheCellLimitIsReportedAndTheOthersKept) {
  TempFolder folder;
  const std::string head =
      "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><locale>fr</locale>"
      "</identifier></identifiers><entries>";
  folder.Write(
      "long.kvtml",
      head + "<entry id=\"0\"><translation id=\"0\"><text>" + std::string(kMaxCellBytes + 1, 'a') +
          "</text></translation></entry><entry id=\"1\"><translation id=\"0\"><text>chat</text>"
          "</translation></entry></entries></kvtml>");
  std::string error;
  const std::optional<Source> source = ReadKvtml(folder.Path() / "long.kvtml", error);
  ASSERT_TRUE(source) << error;
  EXPECT_EQ(CellsOf(*source), (std::vector<Cells>{{"chat"}}));
  ASSERT_EQ(source->problems.size(), 1u);
  EXPECT_EQ(source->problems[0].rfind("запись 1: текст длиннее 64 КБ", 0), 0u)
      << source->problems[0];
}

TEST(Kvtml, WordTypesGiveTheLessonCodes) {
  const std::vector<std::pair<std::string, std::pair<std::string, std::string>>> cases = {
      {"noun/male", {"m", "s"}}, {"noun/female", {"f", "s"}}, {"noun/neutral", {"n", "s"}},
      {"noun", {"n", "s"}},      {"verb", {"v", ""}},         {"adjective", {"adj,m", ""}},
      {"adverb", {"adv", ""}},   {"conjunction", {"", ""}},   {"", {"", ""}}};
  for (const auto& [type, codes] : cases) EXPECT_EQ(GrammarOfWordType(type), codes) << type;
}

// ---- CSV and TSV -------------------------------------------------------------------------

TEST(DelimitedText, TablesAsSpreadsheetsSaveThemGiveTheSameNotes) {
  const std::vector<Cells> expected = {
      {"chat", "кот", "[ʃa]"},
      {"Bonjour, Marie", "Здравствуй, Мария", ""},
      {"le \"petit\" déjeuner", "завтрак", ""},
      {"une pomme;une poire", "яблоко\nгруша", ""},
      {"été", "лето", "[ete]"},
  };
  const std::vector<std::pair<std::string, std::string>> files = {{"csv/comma_crlf.csv", "CSV"},
                                                                  {"csv/semicolon_bom.csv", "CSV"},
                                                                  {"csv/tab.tsv", "TSV"},
                                                                  {"csv/utf16_tab.txt", "TSV"}};
  for (const auto& [name, format] : files) {
    const Source source = ReadTable(Fixture(name));
    EXPECT_EQ(source.format, format) << name;
    EXPECT_EQ(NamesOf(source), (Cells{"Français", "Русский", "Transcription"})) << name;
    EXPECT_EQ(source.columns[1].language, "Русский") << name;
    EXPECT_EQ(source.columns[2].language, "") << name;
    EXPECT_EQ(CellsOf(source), expected) << name;
    ASSERT_EQ(source.notes.size(), 5u) << name;
    // Each note is placed by the line where its record starts; a quoted line break moves the next.
    EXPECT_EQ(source.notes[0].place, "строка 2") << name;
    EXPECT_EQ(source.notes[4].place, "строка 7") << name;
    EXPECT_TRUE(source.problems.empty()) << name;
    EXPECT_FALSE(source.media) << name;
  }
}

TEST(DelimitedText, AnkiHeadersGiveSeparatorMarkupColumnsAndTags) {
  TempFolder folder;
  folder.Write(
      "notes.txt",
      "#separator:tab\n#html:true\n#guid column:1\n#notetype column:2\n#deck column:3\n"
      "#tags column:6\n"
      "Ab12\tBasic\tFrançais::Animaux\t<b>chat</b>[sound:chat.mp3]\tкот<br>кошка\tanimaux niveau1\n"
      "Cd34\tBasic\tFrançais::Animaux\tchien &amp; loup<script>x()</script>\tсобака\t\n");
  Source source = ReadTable(folder.Path() / "notes.txt");
  EXPECT_EQ(source.format, "TSV");
  EXPECT_EQ(NamesOf(source), (Cells{"4", "5"}));
  EXPECT_EQ(CellsOf(source),
            (std::vector<Cells>{{"chat", "кот\nкошка"}, {"chien & loup", "собака"}}));
  EXPECT_EQ(source.notes[0].sounds, (Cells{"chat.mp3", ""}));
  EXPECT_EQ(source.notes[0].tags, (Cells{"animaux", "niveau1", "Français::Animaux"}));
  EXPECT_EQ(source.notes[0].place, "строка 7");
  ASSERT_TRUE(source.media);

  // Named separators and "#columns:"; without "#html:true" markup stays text.
  folder.Write("named.txt", "#separator:Pipe\n#columns:Recto|Verso\n<i>chat</i>|кот\n");
  source = ReadTable(folder.Path() / "named.txt");
  EXPECT_EQ(source.format, "CSV");
  EXPECT_EQ(NamesOf(source), (Cells{"Recto", "Verso"}));
  EXPECT_EQ(CellsOf(source), (std::vector<Cells>{{"<i>chat</i>", "кот"}}));

  // A first line "#..." that is no header of Anki's is the table's own heading.
  folder.Write("numbered.csv", "#;French;Russian\n1;chat;кот\n2;chien;собака\n");
  source = ReadTable(folder.Path() / "numbered.csv");
  EXPECT_EQ(NamesOf(source), (Cells{"#", "French", "Russian"}));
  EXPECT_EQ(source.notes.size(), 2u);

  folder.Write("bad.txt", "#separator:Dash\nchat-кот\n");
  EXPECT_EQ(TableError(folder.Path() / "bad.txt"), "строка 1: неизвестный разделитель «Dash»");
  folder.Write("bad.txt", "#separator:Tab\n#tags column:three\nchat\tкот\n");
  EXPECT_EQ(TableError(folder.Path() / "bad.txt"), "строка 2: «three» — не номер столбца");
}

TEST(DelimitedText, HeadingsAreTheFirstRowThatNamesLanguagesOrThatNoRowBelowResembles) {
  struct Case {
    std::vector<Cells> rows;
    bool headings;
  };
  const std::vector<Case> cases = {
      {{{"French", "Russian"}, {"chat", "кот"}}, true},
      {{{"Français", "Русский"}, {"chat", "кот"}}, true},
      {{{"fr", "ru", "x"}, {"chat", "кот", "[ʃa]"}}, true},
      {{{"Front", "Back"}, {"chat", "кот"}, {"chien", "собака"}}, true},
      {{{"Французский", "Русский"}, {"chat", "кот"}}, true},
      {{{"Слово", "Перевод"}, {"chat", "кот"}}, true},
      // a word above words; one row is no table; a row below with the same letters is a word
      {{{"chat", "кот"}, {"chien", "собака"}}, false},
      {{{"Front", "Back"}}, false},
      {{{"Mot", "Traduction"}, {"chat", "кот"}, {"OK", "OK"}}, false},
      // one language word alone, or the same language twice, names nothing ("de" is French too)
      {{{"de", "из"}, {"chat", "кот"}}, false},
      {{{"anglais", "английский"}, {"chat", "кот"}}, false},
      // cells without letters match anything: numbers and empty cells do not make headings
      {{{"1", "chat", "кот"}, {"2", "chien", "собака"}}, false},
      {{{"chat", ""}, {"chien", "собака"}}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeHeadings(c.rows), c.headings) << c.rows[0][0];
}

TEST(DelimitedText, SeparatorIsTheOneThatSplitsRecordsEvenly) {
  const std::vector<std::pair<std::string, char>> cases = {
      {"chat\tкот\nchien\tсобака\n", '\t'},
      {"chat;кот\nBonjour, Marie;Здравствуй, Мария\n", ';'},
      {"chat,кот\n\"a;b\",\"в;г\"\nle chien,собака\n", ','},
      // commas inside a semicolon table split unevenly; a tie goes to the rarer separator
      {"a, b;в\nc;г, д, е\n", ';'},
      {"le chat, la chatte;кот, кошка\n", ';'},
      // a record split by a quoted line break is one record
      {"\"a\nb\",в\nc,г\n", ','},
      {"chat\nchien\n", '|'},
  };
  for (const auto& [text, separator] : cases)
    EXPECT_EQ(DetectSeparator(text, '|'), separator) << text;
}

TEST(DelimitedText, EncodingsAreRecognisedAndBadTextRefusedWithItsLine) {
  TempFolder folder;
  auto utf16 = [](const std::u16string& text, bool little) {
    std::string bytes;
    for (char16_t unit : text) {
      const char low = static_cast<char>(unit & 0xFF);
      const char high = static_cast<char>(unit >> 8);
      bytes += little ? low : high;
      bytes += little ? high : low;
    }
    return bytes;
  };
  const std::u16string table = u"French\tRussian\r\nchat\tкот\r\nœuf\tяйцо 🥚\r\n";
  const std::vector<Cells> expected = {{"chat", "кот"}, {"œuf", "яйцо 🥚"}};
  for (const bool little : {true, false}) {
    EXPECT_EQ(CellsOf(ReadTable(folder.Write("nobom.txt", utf16(table, little)))), expected)
        << little;
    EXPECT_EQ(CellsOf(ReadTable(folder.Write("bom.txt", utf16(u"\uFEFF" + table, little)))),
              expected)
        << little;
  }
  EXPECT_EQ(TableError(folder.Write("latin1.csv",
                                    "French;Russian\nchat;кот\n\xE9t\xE9;\xEB\xE5\xF2\xEE\n")),
            "строка 3: текст не в кодировке UTF-8; сохраните таблицу в UTF-8 или UTF-16");
  EXPECT_EQ(TableError(folder.Write("overlong.csv", "a;b\n\xC0\xAF;c\n")).rfind("строка 2:", 0),
            0u);
  EXPECT_EQ(
      TableError(folder.Write("surrogate.csv", "a;b\nc;\xED\xA0\x80\n")).rfind("строка 2:", 0), 0u);
  EXPECT_EQ(TableError(folder.Write("zero.csv", std::string("chat;кот\nchien;\0\n", 20))),
            "строка 2: нулевой байт — это не текстовый файл");
  EXPECT_EQ(TableError(folder.Write("odd.txt",
                                    "\xFF\xFE"
                                    "a\0b")),
            "файл в UTF-16 оборван: в нём нечётное число байт");
  EXPECT_EQ(TableError(folder.Write("lone.txt", utf16(u"\uFEFFa\tb\nc\t\xD800\n", true))),
            "строка 2: текст UTF-16 испорчен (одиночный суррогат)");
  EXPECT_EQ(TableError(folder.Write("empty.csv", "\r\n\n")), "в таблице нет ни одной строки");
}

TEST(DelimitedText, BrokenRecordsAreReportedByLineAndTheOthersKept) {
  TempFolder folder;
  // A field of 100 MB is refused without being kept whole; the lines around it are read.
  const fs::path big = folder.Path() / "big.csv";
  {
    std::ofstream out(big, std::ios::binary);
    out << "French;Russian\nchat;кот\n\"";
    const std::string block(1 << 20, 'a');
    for (int i = 0; i < 100; ++i) out << block;
    out << "\";огромное\nchien;собака\n";
  }
  Source source = ReadTable(big);
  EXPECT_EQ(CellsOf(source), (std::vector<Cells>{{"chat", "кот"}, {"chien", "собака"}}));
  EXPECT_EQ(source.problems, Cells{"строка 3: поле длиннее 64 КБ — это не слово и не фраза"});

  // A quote left open loses its line only; the lines after it are read as before.
  source = ReadTable(
      folder.Write("quotes.csv", "French;Russian\n\"chat;кот\nchien;собака\nrat;крыса\n"));
  EXPECT_EQ(CellsOf(source), (std::vector<Cells>{{"chien", "собака"}, {"rat", "крыса"}}));
  EXPECT_EQ(source.problems,
            Cells{"строка 2: кавычка открыта и не закрыта до конца файла; строка пропущена"});

  std::string many = "French;Russian\n";
  for (size_t i = 0; i < kMaxSourceNotes; ++i) many += "a;б\n";
  EXPECT_EQ(TableError(folder.Write("many.csv", many + "a;б\n")),
            "в таблице больше 200000 строк — это не список слов");

  std::string wide = "a";
  for (size_t i = 0; i < kMaxFields; ++i) wide += ";a";
  source = ReadTable(folder.Write("wide.csv", "French;Russian\n" + wide + "\nchat;кот\n"));
  EXPECT_EQ(CellsOf(source), (std::vector<Cells>{{"chat", "кот"}}));
  EXPECT_EQ(source.problems, Cells{"строка 2: больше 256 полей — это не список слов"});
}

TEST(DelimitedText, CellsNamingAudioFilesAreTheColumnsRecordings) {
  TempFolder folder;
  folder.Write("chat.mp3", "MP3 of chat");
  Source source = ReadTable(folder.Write("words.csv",
                                         "chat;кот;chat.mp3\nchien;собака;[sound:chien.OGG]\n"
                                         "disque;диск;disque.mp3 rayé\n"));
  EXPECT_EQ(CellsOf(source), (std::vector<Cells>{{"chat", "кот", ""},
                                                 {"chien", "собака", ""},
                                                 {"disque", "диск", "disque.mp3 rayé"}}));
  EXPECT_EQ(source.notes[0].sounds, (Cells{"", "", "chat.mp3"}));
  EXPECT_EQ(source.notes[1].sounds, (Cells{"", "", "chien.OGG"}));
  ASSERT_TRUE(source.media);
  std::string error;
  const auto bytes = source.media->Read("chat.mp3", error);
  ASSERT_TRUE(bytes) << error;
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "MP3 of chat");
  // An unnamed column that stays empty everywhere ("a;b;" at each line's end) is no column.
  source = ReadTable(folder.Write("trailing.csv", "chat;кот;\nchien;собака;\n"));
  EXPECT_EQ(NamesOf(source), (Cells{"1", "2"}));
  EXPECT_EQ(source.notes[1].cells, (Cells{"chien", "собака"}));
}

// ---- Files of recordings -------------------------------------------------------------------

TEST(FileMedia, FilesAreFoundByRelativePathAbsolutePathOrFileUrlAndRefusedWithTheReason) {
  TempFolder folder;
  fs::create_directories(folder.Path() / "sons" / "dir.mp3");
  folder.Write("sons/été 1.mp3", "été");
  const FileMedia media(folder.Path());
  const std::string absolute = (folder.Path() / "sons" / "été 1.mp3").string();
  const std::string encoded = folder.Path().string() + "/sons/%C3%A9t%C3%A9%201.mp3";
  for (const std::string& reference :
       {std::string("sons/été 1.mp3"), std::string("sons/%C3%A9t%C3%A9%201.mp3"),
        std::string("sons\\été 1.mp3"), absolute, "file://" + encoded,
        "FILE://localhost" + encoded}) {
    std::string error;
    const auto bytes = media.Read(reference, error);
    ASSERT_TRUE(bytes) << reference << ": " << error;
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "été") << reference;
  }

  const fs::path big = folder.Path() / "big.wav";
  std::ofstream(big).close();
  fs::resize_file(big, kMaxMediaBytes + 1);
  ASSERT_EQ(::mkfifo((folder.Path() / "pipe.mp3").c_str(), 0600), 0);
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"absent.mp3", "нет файла «" + (folder.Path() / "absent.mp3").string() + "»"},
      {"big.wav", "файл «" + big.string() + "» больше 32 МБ"},
      {"sons/dir.mp3", "«" + (folder.Path() / "sons/dir.mp3").string() + "» — папка, а не файл"},
      {"pipe.mp3", "«" + (folder.Path() / "pipe.mp3").string() + "» — не обычный файл"},
      {"https://example.org/chat.mp3", "«https://example.org/chat.mp3» — адрес в сети, а не файл"},
      {"file://server/share/chat.mp3",
       "«file://server/share/chat.mp3» — файл на другом компьютере"},
      {"", "пустое имя файла"},
      {std::string("a\0b.mp3", 7),
       "в имени файла «" + std::string("a\0b.mp3", 7) + "» нулевой байт"},
  };
  for (const auto& [reference, message] : refused) {
    std::string error;
    EXPECT_FALSE(media.Read(reference, error)) << reference;
    EXPECT_EQ(error, message);
  }
  EXPECT_EQ(PercentDecoded("100%25 %zz %4"), "100% %zz %4");
}

}  // namespace
}  // namespace verbaro::lessonimport
