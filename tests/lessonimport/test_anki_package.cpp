#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "AnkiTestPackage.h"
#include "lessonimport/AnkiPackage.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

namespace verbaro::lessonimport {
namespace {

const std::filesystem::path kFixtures =
    std::filesystem::path(VERBARO_TEST_FIXTURES) / "import" / "anki";

struct ExpectedNote {
  std::vector<std::string> cells;
  std::vector<std::string> sounds;
  std::vector<std::string> tags;
};

void ExpectNotes(const Source& source, const std::vector<ExpectedNote>& expected) {
  ASSERT_EQ(source.notes.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const SourceNote& note = source.notes[i];
    EXPECT_EQ(note.place, "заметка " + std::to_string(i + 1));
    EXPECT_EQ(note.cells, expected[i].cells) << note.place;
    EXPECT_EQ(note.sounds, expected[i].sounds) << note.place;
    EXPECT_EQ(note.tags, expected[i].tags) << note.place;
  }
}

std::vector<std::string> ColumnNames(const Source& source) {
  std::vector<std::string> names;
  for (const SourceColumn& column : source.columns) {
    EXPECT_EQ(column.kind, ColumnKind::Text) << column.name;
    EXPECT_EQ(column.language, "") << column.name;
    names.push_back(column.name);
  }
  return names;
}

std::string MediaError(const Source& source, const std::string& name) {
  std::string error;
  EXPECT_FALSE(source.media->Read(name, error).has_value()) << name;
  return error;
}

// The deck of an independent package writer: its markup, entities, scripts, comments, lines of
// meanings, tags and two recordings.
TEST(AnkiPackage, LegacyPackageOfAnIndependentWriter) {
  std::string error;
  const std::optional<Source> source = ReadAnkiPackage(kFixtures / "legacy_words.apkg", error);
  ASSERT_TRUE(source) << error;
  EXPECT_EQ(source->format, "Anki");
  EXPECT_EQ(ColumnNames(*source), (std::vector<std::string>{"Front", "Back"}));
  EXPECT_TRUE(source->problems.empty());
  ExpectNotes(*source, {
                           {{"le chat", "кот\nкошка"}, {"chat.mp3", ""}, {"animaux", "урок_1"}},
                           {{"l'été", "лето"}, {"", ""}, {"saisons"}},
                           {{"le chien", "собака"}, {"le chien.mp3", ""}, {}},
                           {{"un œuf & une omelette", "яйцо «и» омлет"}, {"", ""}, {}},
                           {{"la maison", "дом\nжилище"}, {"", ""}, {"maison"}},
                       });
  ASSERT_TRUE(source->media);
  const auto chat = source->media->Read("chat.mp3", error);
  const auto dog = source->media->Read("le chien.mp3", error);
  ASSERT_TRUE(chat && dog) << error;
  EXPECT_EQ(*chat, test::Mp3Fixture("tone_1s_22k_mono.mp3"));
  EXPECT_EQ(*dog, test::Mp3Fixture("tone_1s_44k_mono.mp3"));
}

// The current format: zstd collection of the newer schema (written with a write-ahead log),
// protobuf meta and media list, compressed media; its placeholder collection is never read.
TEST(AnkiPackage, CurrentFormatPackageBesideItsPlaceholder) {
  std::string error;
  const std::optional<Source> source = ReadAnkiPackage(kFixtures / "latest_words.apkg", error);
  ASSERT_TRUE(source) << error;
  EXPECT_EQ(ColumnNames(*source),
            (std::vector<std::string>{"Français", "Русский", "Audio", "Text", "Back Extra"}));
  EXPECT_TRUE(source->problems.empty());
  // In the order the notes were added, each type's fields in their own columns; the cloze's gaps
  // filled and its hint dropped.
  ExpectNotes(
      *source,
      {
          {{"le chat", "кот\nкошка", "", "", ""},
           {"", "", "chat.mp3", "", ""},
           {"animaux", "урок_1"}},
          {{"la maison", "дом\nжилище", "", "", ""}, {"", "", "maison.mp3", "", ""}, {}},
          {{"le printemps", "весна", "", "", ""}, {"", "", "", "", ""}, {"saisons"}},
          {{"", "", "", "le chien noir", "чёрная собака"}, {"", "", "", "", ""}, {"grammaire"}},
      });
  ASSERT_TRUE(source->media);
  const auto chat = source->media->Read("chat.mp3", error);
  const auto house = source->media->Read("maison.mp3", error);
  ASSERT_TRUE(chat && house) << error;
  EXPECT_EQ(*chat, test::Mp3Fixture("tone_1s_22k_mono.mp3"));
  EXPECT_EQ(*house, test::Mp3Fixture("tone_1s_44k_mono.mp3"));
}

// Media names that leave the package, absolute ones and missing ones are refused by name,
// whatever the package's own list says.
TEST(AnkiPackage, MediaNamesOutsideThePackageAreRefused) {
  std::string error;
  const std::optional<Source> source =
      ReadAnkiPackage(kFixtures / "legacy_escaping_media.apkg", error);
  ASSERT_TRUE(source) << error;
  ASSERT_EQ(source->notes.size(), 3u);
  EXPECT_EQ(source->notes[0].sounds[0], "../../outside.mp3");
  EXPECT_EQ(MediaError(*source, "../../outside.mp3"),
            "аудиофайл «../../outside.mp3»: путь ведёт за пределы пакета");
  EXPECT_EQ(MediaError(*source, "/tmp/absolute.mp3"),
            "аудиофайл «/tmp/absolute.mp3»: абсолютный путь, а в пакете файлы лежат без путей");
  EXPECT_EQ(MediaError(*source, "missing.mp3"), "аудиофайла «missing.mp3» нет в пакете");
}

// A recording that declares a few bytes and inflates to 40 MiB, and one that declares its
// 40 MiB: both refused, the package's words still read.
TEST(AnkiPackage, MediaOverTheLimitIsRefused) {
  std::string error;
  const std::optional<Source> source =
      ReadAnkiPackage(kFixtures / "hostile_media_bombs.apkg", error);
  ASSERT_TRUE(source) << error;
  ASSERT_EQ(source->notes.size(), 2u);
  EXPECT_EQ(MediaError(*source, "bomb.mp3"),
            "аудиофайл «bomb.mp3»: файл «0» в архиве больше 32 МиБ");
  EXPECT_EQ(MediaError(*source, "heavy.mp3"),
            "аудиофайл «heavy.mp3»: файл «1» в архиве больше 32 МиБ");
}

TEST(AnkiPackage, DamagedPackagesGiveAClearMessage) {
  test::TempFolder folder;
  const std::vector<uint8_t> words = test::ReadFileBytes(kFixtures / "legacy_words.apkg");
  const auto truncated = folder.Write(
      "truncated.apkg", std::vector<uint8_t>(words.begin(), words.begin() + words.size() / 2));
  const auto text = folder.Write("words.apkg", std::string_view("le chat\tкот\n"));
  const auto empty = folder.Write("empty.apkg", std::string_view());
  const auto noNoteTypes = folder.Path() / "no_note_types.apkg";
  test::WriteTestAnkiPackage(noNoteTypes, {});
  const struct {
    std::filesystem::path file;
    std::string message;  // a part of the message
  } cases[] = {
      {kFixtures / "hostile_damaged_sqlite.apkg", "коллекция в пакете повреждена"},
      {kFixtures / "hostile_not_zstd.apkg", "она не сжата zstd"},
      {kFixtures / "hostile_truncated_zstd.apkg", "коллекция в пакете не читается: данные zstd"},
      {kFixtures / "hostile_future_meta.apkg", "более новой версией Anki (формат 7)"},
      {truncated, "— не ZIP-архив или архив повреждён"},
      {text, "— не ZIP-архив или архив повреждён"},
      {empty, "— не ZIP-архив или архив повреждён"},
      {folder.Path() / "absent.apkg", "не удалось прочитать файл «absent.apkg»"},
      {noNoteTypes, "коллекция в пакете повреждена"},
      {kFixtures / "hostile_no_collection.apkg", "в пакете нет коллекции Anki"},
      {kFixtures / "hostile_missing_named_collection.apkg",
       "в пакете нет коллекции «collection.anki21b»"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ReadAnkiPackage(c.file, error)) << c.file;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.file << ": " << error;
  }
}

// Notes that cannot be words are problems with their place; the others are read, each type's
// fields in the columns of their names.
TEST(AnkiPackage, NotesThatCannotBeReadAreProblems) {
  test::TempFolder folder;
  test::TestAnkiPackage package;
  package.models =
      R"({"1": {"name": "Basic", "type": 0, "flds": [{"name": "Back", "ord": 1}, {"name": "Front", "ord": 0}]},)"
      R"( "2": {"name": "Audio", "type": 0, "flds": [{"name": "Back", "ord": 0}, {"name": "Audio", "ord": 1}]},)";
  std::string wide = R"( "3": {"name": "Wide", "flds": [)";
  for (int i = 0; i < 254; ++i)
    wide +=
        std::string(i > 0 ? "," : "") + R"({"name": "f)" + std::to_string(i) + R"(", "ord": 0})";
  package.models += wide + "]}}";
  std::string hugeText(70 * 1024, 'a');
  std::string markup;  // 60 KiB of text in ten times as much markup: a word list's styles, kept
  for (int i = 0; i < 6 * 1024; ++i)
    markup += "<span style=\"color:#123456; font-size:12px\">abcdefghij</span>";
  package.notes = {
      {1, " un ",
       "le chat\x1f"
       "кот"},
      {1, "", "le géant\x1f" + std::string(100 * 1024 * 1024, 'x')},
      {2, "", "собака\x1f[sound:chien.mp3]"},
      {9, "",
       "l'inconnu\x1f"
       "неизвестный"},
      {1, "",
       "la b\xC3\x28te\x1f"
       "зверь"},
      {1, "",
       "le reste\x1fостаток\x1f"
       "de trop"},
      {1, "", "le vide\x1fпустота\x1f<br>"},
      {1, "", "le texte\x1f" + hugeText},
      {1, "", "le style\x1f" + markup},
      {3, "",
       "trop\x1f"
       "de\x1f"
       "champs"},
  };
  const auto file = folder.Path() / "problems.apkg";
  test::WriteTestAnkiPackage(file, package);
  std::string error;
  const std::optional<Source> source = ReadAnkiPackage(file, error);
  ASSERT_TRUE(source) << error;
  EXPECT_EQ(ColumnNames(*source), (std::vector<std::string>{"Front", "Back", "Audio"}));
  EXPECT_EQ(source->problems,
            (std::vector<std::string>{
                "заметка 2: поле «Back» длиннее 64 КиБ",
                "заметка 4: тип заметки не найден в коллекции",
                "заметка 5: поле «Front» не в кодировке UTF-8",
                "заметка 6: полей больше, чем в типе заметки «Basic»",
                "заметка 8: поле «Back» длиннее 64 КиБ",
                "заметка 10: с полями типа «Wide» в пакете больше 256 разных полей",
            }));
  ASSERT_EQ(source->notes.size(), 4u);
  EXPECT_EQ(source->notes[0].place, "заметка 1");
  EXPECT_EQ(source->notes[0].cells, (std::vector<std::string>{"le chat", "кот", ""}));
  EXPECT_EQ(source->notes[0].tags, (std::vector<std::string>{"un"}));
  EXPECT_EQ(source->notes[1].place, "заметка 3");
  EXPECT_EQ(source->notes[1].cells, (std::vector<std::string>{"", "собака", ""}));
  EXPECT_EQ(source->notes[1].sounds, (std::vector<std::string>{"", "", "chien.mp3"}));
  EXPECT_EQ(source->notes[2].place, "заметка 7");
  EXPECT_EQ(source->notes[2].cells, (std::vector<std::string>{"le vide", "пустота", ""}));
  EXPECT_EQ(source->notes[3].place, "заметка 9");
  EXPECT_EQ(source->notes[3].cells[1].size(), 60u * 1024u);
  // The package names a recording but has no such file.
  ASSERT_TRUE(source->media);
  EXPECT_EQ(MediaError(*source, "chien.mp3"), "аудиофайла «chien.mp3» нет в пакете");
}

}  // namespace
}  // namespace verbaro::lessonimport
