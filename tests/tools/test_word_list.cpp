// Reading the word list: which lines count, how the columns are taken, and every bad line
// reported with its own number.
#include <gtest/gtest.h>

#include "tools/WordList.h"

namespace verbaro::lesson {
namespace {

const std::filesystem::path kFolder = "/lists";

TEST(WordList, SkipsCommentsAndBlankLinesAndKeepsFileLineNumbers) {
  const std::string text =
      "\xEF\xBB\xBF# grammar, number, word...\r\n"
      "\r\n"
      "m\ts\tchat\tʃa\tchat\tle chat\tкот\tкошка\r\n"
      "  \t \n"
      "# another comment\n"
      "f\tp\tmaisons\tmɛzɔ̃\tmai-sons\t\tдома";
  const WordList list = ParseWordList(text, kFolder);
  ASSERT_TRUE(list.problems.empty());
  ASSERT_EQ(list.entries.size(), 2u);

  const LessonEntry& chat = list.entries[0];
  EXPECT_EQ(chat.lineNumber, 3);
  EXPECT_EQ(chat.grammar, "m");
  EXPECT_EQ(chat.number, "s");
  EXPECT_EQ(chat.word, "chat");
  EXPECT_EQ(chat.info1, "ʃa");
  EXPECT_EQ(chat.info2, "chat");
  EXPECT_EQ(chat.info3, "le chat");
  EXPECT_EQ(chat.translations, (std::vector<std::string>{"кот", "кошка"}));
  EXPECT_TRUE(chat.mp3Path.empty());

  EXPECT_EQ(list.entries[1].lineNumber, 6);
  EXPECT_EQ(list.entries[1].translations, std::vector<std::string>{"дома"});
}

TEST(WordList, TakesTranslationsRecordingAndPaddingFromTheColumns) {
  const std::string text =
      "v\t\t parler \t\t\t\tговорить\t\tразговаривать\n"              // gap skipped, spaces trimmed
      "v\t\tdire\t\t\t\tсказать\tsons/dire.MP3\n"                     // recording, relative
      "v\t\tfaire\t\t\t\tделать\t/abs/faire.mp3\t\t\t\t\t\t\n"        // padded by a spreadsheet
      "adv\t\tvite\t\t\t\tбыстро\tскоро\tживо\tнемедленно\tмигом\n";  // five, no recording
  const WordList list = ParseWordList(text, kFolder);
  ASSERT_TRUE(list.problems.empty()) << FormatProblem(list.problems.front());
  ASSERT_EQ(list.entries.size(), 4u);

  EXPECT_EQ(list.entries[0].word, "parler");
  EXPECT_EQ(list.entries[0].translations, (std::vector<std::string>{"говорить", "разговаривать"}));
  EXPECT_EQ(list.entries[1].mp3Path, kFolder / "sons/dire.MP3");
  EXPECT_EQ(list.entries[1].translations, std::vector<std::string>{"сказать"});
  EXPECT_EQ(list.entries[2].mp3Path, std::filesystem::path("/abs/faire.mp3"));
  EXPECT_EQ(list.entries[3].translations.size(), 5u);
  EXPECT_TRUE(list.entries[3].mp3Path.empty());
}

TEST(WordList, ReportsEachBadLineByItsNumberAndKeepsTheGoodOnes) {
  const std::string text =
      "m\ts\tchat\t\t\t\tкот\n"                      // 1 good
      "m\ts\tchien\tʃjɛ̃\n"                           // 2 four columns
      "m\ts\t  \t\t\t\tничто\n"                      // 3 empty word
      "v\t\têtre\t\t\t\tа\tб\tв\tг\tд\tе\n"          // 4 six translations
      "v\t\tavoir\t\t\t\t\n"                         // 5 no translation
      "v\t\tall\xC3\t\t\t\tидти\n"                   // 6 broken UTF-8
      "v\t\taller\t\t\t\tа\t\tв\tг\tд\tе.mp3\n"      // 7 good: five and a recording
      "v\t\tvenir\t\t\t\tа\t\tв\tг\tд\tе\tx.mp3\n";  // 8 six translation columns
  const WordList list = ParseWordList(text, kFolder);
  ASSERT_EQ(list.entries.size(), 2u);
  EXPECT_EQ(list.entries[0].lineNumber, 1);
  EXPECT_EQ(list.entries[1].lineNumber, 7);

  ASSERT_EQ(list.problems.size(), 6u);
  const auto expect = [&](size_t i, int line, const std::string& part) {
    EXPECT_EQ(list.problems[i].lineNumber, line);
    EXPECT_NE(list.problems[i].message.find(part), std::string::npos) << list.problems[i].message;
    EXPECT_EQ(FormatProblem(list.problems[i]).rfind("строка " + std::to_string(line) + ": ", 0),
              0u);
  };
  expect(0, 2, "неверное число столбцов (4)");
  expect(1, 3, "пустое слово");
  expect(2, 4, "больше пяти переводов (6)");
  expect(3, 5, "нет ни одного перевода");
  expect(4, 6, "UTF-8");
  expect(5, 8, "неверное число столбцов");
}

}  // namespace
}  // namespace verbaro::lesson
