#include <gtest/gtest.h>

#include <QString>
#include <variant>

#include "app/ImportPreview.h"

namespace verbaro {
namespace {

using namespace Qt::StringLiterals;

const char kPreview[] = R"({
  "format": "Anki",
  "columns": [{"name": "Front", "language": "французский", "role": "french"},
              {"name": "Back", "language": "русский", "role": "russian"},
              {"name": "Notes", "language": "", "role": "comment"}],
  "frenchColumn": 0, "russianColumn": 1, "ambiguous": true,
  "counts": {"notes": 120, "entries": 118, "merged": 1, "skipped": 1,
             "given": 100, "convert": 10, "voice": 8},
  "entries": [{"grammar": "m", "number": "s", "word": "chat", "info": ["[ʃa]", "", ""],
               "translations": ["кот", "кошка"], "recording": "given"},
              {"grammar": "", "number": "", "word": "aller", "info": [],
               "translations": ["идти"], "recording": "voice"}],
  "warnings": ["заметка 7: нет русского текста"]
})";

TEST(ImportPreview, ReadsEveryPartOfTheToolsAnswer) {
  const ImportPreviewResult result = ParseImportPreview(kPreview);
  ASSERT_TRUE(std::holds_alternative<ImportPreview>(result))
      << std::get<QString>(result).toStdString();
  const auto& preview = std::get<ImportPreview>(result);
  EXPECT_EQ(preview.format, u"Anki");
  ASSERT_EQ(preview.columns.size(), 3u);
  EXPECT_EQ(preview.columns[1].name, u"Back");
  EXPECT_EQ(preview.columns[1].language, u"русский");
  EXPECT_EQ(preview.frenchColumn, 0);
  EXPECT_EQ(preview.russianColumn, 1);
  EXPECT_TRUE(preview.ambiguous);
  EXPECT_EQ(preview.counts.notes, 120);
  EXPECT_EQ(preview.counts.merged, 1);
  EXPECT_EQ(preview.counts.voice, 8);
  ASSERT_EQ(preview.entries.size(), 2u);
  EXPECT_EQ(preview.entries[0].word, u"chat");
  EXPECT_EQ(preview.entries[0].info, (QStringList{u"[ʃa]"_s, {}, {}}));
  EXPECT_EQ(preview.entries[0].translations, (QStringList{u"кот"_s, u"кошка"_s}));
  EXPECT_EQ(preview.entries[0].recording, ImportRecording::Given);
  EXPECT_EQ(preview.entries[1].recording, ImportRecording::Voice);
  EXPECT_EQ(preview.warnings, QStringList{u"заметка 7: нет русского текста"_s});

  // What the window shows of them.
  EXPECT_EQ(GrammarText(preview.entries[0]), u"m, s");
  EXPECT_EQ(GrammarText(preview.entries[1]), QString());
  EXPECT_EQ(ColumnText(preview.columns[2], 2), u"3: Notes");
  EXPECT_EQ(ColumnText(preview.columns[0], 0), u"1: Front (французский)");
  EXPECT_TRUE(CountsText(u"Anki"_s, preview.counts).startsWith(u"Заметок в колоде: 120;"));
  EXPECT_TRUE(CountsText(u"KVTML"_s, preview.counts).startsWith(u"Статей в словаре: 120;"));
  EXPECT_TRUE(CountsText(u"CSV"_s, preview.counts).startsWith(u"Строк в таблице: 120;"));
}

TEST(ImportPreview, AMinimalAnswerLeavesTheOptionalPartsEmpty) {
  const ImportPreviewResult result = ParseImportPreview(
      R"({"format": "CSV", "columns": [{"name": "a"}, {"name": "b"}], "frenchColumn": 1,
          "russianColumn": 0, "counts": {}, "entries": [{"word": "chat"}]})");
  ASSERT_TRUE(std::holds_alternative<ImportPreview>(result))
      << std::get<QString>(result).toStdString();
  const auto& preview = std::get<ImportPreview>(result);
  EXPECT_FALSE(preview.ambiguous);
  EXPECT_TRUE(preview.warnings.isEmpty());
  EXPECT_EQ(preview.counts.entries, 0);
  EXPECT_EQ(preview.entries[0].recording, ImportRecording::None);
  EXPECT_EQ(RecordingText(preview.entries[0].recording), u"нет");
}

// An answer the window cannot show is a message for the learner, naming what is wrong: each
// case spoils one part of a good answer.
TEST(ImportPreview, AnAnswerThatIsNotAPreviewIsAMessageNamingTheFault) {
  const QString good =
      uR"({"format": "CSV", "columns": [{"name": "a"}, {"name": "b"}],
    "frenchColumn": 0, "russianColumn": 1, "counts": {"notes": 1}, "entries": [{"word": "a"}],
    "warnings": []})"_s;
  ASSERT_TRUE(std::holds_alternative<ImportPreview>(ParseImportPreview(good.toUtf8())));
  const struct {
    QString part;
    QString spoilt;
    QString named;
  } cases[] = {
      {good, {}, u"это не JSON"_s},
      {u"]}"_s, u"]"_s, u"это не JSON"_s},
      {good, u"[1, 2]"_s, u"ожидался объект"_s},
      {u"\"entries\""_s, u"\"entriez\""_s, u"«entries»"_s},
      {u"\"format\": \"CSV\""_s, u"\"format\": 3"_s, u"«format»"_s},
      {u"\"format\": \"CSV\""_s, u"\"format\": \"\""_s, u"формат"_s},
      {u", {\"name\": \"b\"}"_s, {}, u"двух столбцов"_s},
      {u"[{\"name\": \"a\"}, {\"name\": \"b\"}]"_s, u"[1, 2]"_s, u"столбца 1"_s},
      {u"\"frenchColumn\": 0"_s, u"\"frenchColumn\": 2"_s, u"«frenchColumn»"_s},
      {u"\"frenchColumn\": 0"_s, u"\"frenchColumn\": 0.5"_s, u"«frenchColumn»"_s},
      {u"\"russianColumn\": 1"_s, u"\"russianColumn\": 0"_s, u"один и тот же столбец"_s},
      {u"\"notes\": 1"_s, u"\"notes\": -4"_s, u"«notes»"_s},
      {u"{\"notes\": 1}"_s, u"5"_s, u"«counts»"_s},
      {u"{\"word\": \"a\"}"_s, u"{\"grammar\": \"m\"}"_s, u"«word» записи 1"_s},
      {u"{\"word\": \"a\"}"_s, u"{\"word\": \"a\", \"translations\": \"кот\"}"_s,
       u"«translations» записи 1"_s},
      {u"{\"word\": \"a\"}"_s, u"{\"word\": \"a\", \"info\": [1]}"_s, u"«info» записи 1"_s},
      {u"{\"word\": \"a\"}"_s, u"{\"word\": \"a\"}, {\"word\": \"b\", \"recording\": \"tape\"}"_s,
       u"записи 2 неизвестный вид записи звука «tape»"_s},
      {u"\"warnings\": []"_s, u"\"warnings\": [null]"_s, u"«warnings»"_s},
      {u"\"warnings\": []"_s, u"\"ambiguous\": \"yes\""_s, u"«ambiguous»"_s},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(good.contains(c.part)) << c.part.toStdString();
    const QString answer = QString(good).replace(c.part, c.spoilt);
    const ImportPreviewResult result = ParseImportPreview(answer.toUtf8());
    ASSERT_TRUE(std::holds_alternative<QString>(result)) << answer.toStdString();
    const QString& message = std::get<QString>(result);
    EXPECT_TRUE(message.startsWith(u"Программа verbaro-lesson дала непонятный ответ: "))
        << message.toStdString();
    EXPECT_TRUE(message.contains(c.named)) << answer.toStdString() << "\n" << message.toStdString();
  }
}

}  // namespace
}  // namespace verbaro
