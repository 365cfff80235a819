// From what a source holds to lesson entries: which columns are French and Russian, how notes
// become entries (merged, split, set aside with the reason), and the French voice spoken by
// several worker processes at once.
#include <gtest/gtest.h>

#include <initializer_list>

#include "lessonimport/ColumnRoles.h"
#include "lessonimport/GrammarGuess.h"
#include "lessonimport/ImportPlan.h"
#include "lessonimport/ParallelVoicing.h"

namespace verbaro::lessonimport {
namespace {

// A source with these columns (name, language) and notes given as their cells.
Source MakeSource(std::initializer_list<SourceColumn> columns,
                  std::initializer_list<std::vector<std::string>> rows) {
  Source source;
  source.format = "CSV";
  source.columns = columns;
  int number = 0;
  for (const std::vector<std::string>& cells : rows) {
    SourceNote note;
    note.place = "строка " + std::to_string(++number);
    note.cells = cells;
    note.sounds.assign(cells.size(), "");
    source.notes.push_back(std::move(note));
  }
  return source;
}

ColumnRoles Roles(const Source& source, SideChoice choice = {}) {
  std::string error;
  const std::optional<ColumnRoles> roles = AssignColumns(source, choice, error);
  EXPECT_TRUE(roles) << error;
  return roles.value_or(ColumnRoles{});
}

TEST(ImportColumns, SidesComeFromLanguageTagsThenNamesThenLetters) {
  // KVTML: locales, in either order, with the pronunciation of the French side.
  const Source kvtml = MakeSource({{"Russe", "ru", ColumnKind::Text},
                                   {"Mots", "fr", ColumnKind::Text},
                                   {"Mots", "fr", ColumnKind::Transcription}},
                                  {{"кот", "chat", "ʃa"}});
  const ColumnRoles tagged = Roles(kvtml);
  EXPECT_EQ(tagged.french, 1);
  EXPECT_EQ(tagged.russian, 0);
  EXPECT_EQ(tagged.transcription, 2);
  EXPECT_FALSE(tagged.ambiguous);

  // Anki fields named in Russian and French, whatever their texts look like.
  const Source named = MakeSource({{"Русский", "", ColumnKind::Text},
                                   {"Français", "", ColumnKind::Text},
                                   {"IPA", "", ColumnKind::Text}},
                                  {{"OK", "OK", "[o.ke]"}});
  const ColumnRoles byName = Roles(named);
  EXPECT_EQ(byName.french, 1);
  EXPECT_EQ(byName.russian, 0);
  EXPECT_EQ(byName.transcription, 2);

  // Front/Back: only the letters tell.
  const Source plain = MakeSource({{"Front", "", ColumnKind::Text}, {"Back", "", ColumnKind::Text}},
                                  {{"собака", "le chien"}, {"дом", "la maison"}});
  const ColumnRoles byLetters = Roles(plain);
  EXPECT_EQ(byLetters.french, 1);
  EXPECT_EQ(byLetters.russian, 0);
  EXPECT_FALSE(byLetters.ambiguous);
}

TEST(ImportColumns, TwoLatinColumnsAreTheLearnersChoice) {
  const Source source = MakeSource(
      {{"1", "", ColumnKind::Text}, {"2", "", ColumnKind::Text}, {"3", "", ColumnKind::Text}},
      {{"the dog", "le chien", "собака"}});
  const ColumnRoles guessed = Roles(source);
  EXPECT_EQ(guessed.french, 0);
  EXPECT_TRUE(guessed.ambiguous);

  const ColumnRoles chosen = Roles(source, {"2", "3"});
  EXPECT_EQ(chosen.french, 1);
  EXPECT_EQ(chosen.russian, 2);
  EXPECT_FALSE(chosen.ambiguous);

  std::string error;
  EXPECT_FALSE(AssignColumns(source, {"Deutsch", ""}, error));
  EXPECT_NE(error.find("«Deutsch»"), std::string::npos) << error;
  EXPECT_FALSE(AssignColumns(source, {"3", "3"}, error));
}

TEST(ImportColumns, ASourceWithoutRussianNamesTheLanguagesItHas) {
  const Source source =
      MakeSource({{"English", "en", ColumnKind::Text}, {"French", "fr", ColumnKind::Text}},
                 {{"dog", "chien"}});
  std::string error;
  EXPECT_FALSE(AssignColumns(source, {}, error));
  EXPECT_NE(error.find("нет русской стороны"), std::string::npos) << error;
  EXPECT_NE(error.find("французский"), std::string::npos) << error;
  EXPECT_NE(error.find("«en»"), std::string::npos) << error;
}

TEST(ImportPlan, NotesBecomeEntriesWithTheirTranslationsGrammarAndRecording) {
  Source source = MakeSource({{"French", "", ColumnKind::Text},
                              {"Russian", "", ColumnKind::Text},
                              {"Notes", "", ColumnKind::Text}},
                             {{"le chat", "кот\nкошка", "animal"},
                              {"aller", "идти; ехать; идти", ""},
                              {"l\u2019\u00E9cole", "школа", ""},
                              {"Merci beaucoup\u00A0!", "большое спасибо", ""}});
  source.notes[0].tags = {"animals"};
  source.notes[1].tags = {"Verbe"};
  source.notes[0].sounds = {"chat.mp3", "kot.mp3", ""};
  source.notes[1].sounds = {"", "idti.mp3", "aller.ogg"};
  const ImportPlan plan = PlanEntries(source, Roles(source));
  ASSERT_EQ(plan.entries.size(), 4u);
  EXPECT_TRUE(plan.skipped.empty());

  const ImportedEntry& chat = plan.entries[0];
  EXPECT_EQ(chat.word, "le chat");
  EXPECT_EQ(chat.grammar, "m");
  EXPECT_EQ(chat.number, "s");
  EXPECT_EQ(chat.translations, (std::vector<std::string>{"кот", "кошка"}));
  EXPECT_EQ(chat.info2, "animal");
  EXPECT_EQ(chat.sound, "chat.mp3");  // the French side's, not the Russian one's

  const ImportedEntry& aller = plan.entries[1];
  EXPECT_EQ(aller.grammar, "v");
  EXPECT_EQ(aller.number, "");
  EXPECT_EQ(aller.translations, (std::vector<std::string>{"идти", "ехать"}));
  EXPECT_EQ(aller.sound, "aller.ogg");  // a sound field, never the Russian side's

  EXPECT_EQ(plan.entries[2].word, "l'école");  // the apostrophe a key gives
  EXPECT_EQ(plan.entries[2].grammar, "n");
  EXPECT_EQ(plan.entries[3].word, "Merci beaucoup !");
  EXPECT_EQ(plan.entries[3].grammar, "~");
}

TEST(ImportPlan, SameWordsMergeAndNothingIsDroppedSilently) {
  const Source source = MakeSource({{"fr", "fr", ColumnKind::Text}, {"ru", "ru", ColumnKind::Text}},
                                   {{"maison", "дом"},
                                    {"", "пусто"},
                                    {"maison", "жилище\nдом"},
                                    {"chien", ""},
                                    {"ça va", "как дела"},
                                    {"beaucoup", "много;очень;весьма;немало;уйма;масса"},
                                    {"Ωméga", "омега"},
                                    {"chat", "кот\u2122"}});
  const ImportPlan plan = PlanEntries(source, Roles(source));
  ASSERT_EQ(plan.entries.size(), 3u);
  EXPECT_EQ(plan.merged, 1u);
  EXPECT_EQ(plan.entries[0].translations, (std::vector<std::string>{"дом", "жилище"}));
  EXPECT_EQ(plan.entries[0].place, "строка 1");
  // Six meanings: the last two share the fifth translation.
  EXPECT_EQ(plan.entries[2].translations.back(), "уйма, масса");
  ASSERT_EQ(plan.warnings.size(), 1u);

  ASSERT_EQ(plan.skipped.size(), 4u);
  EXPECT_EQ(plan.skipped[0], "строка 2: нет французского слова");
  EXPECT_EQ(plan.skipped[1], "строка 4: нет русского перевода");
  EXPECT_NE(plan.skipped[2].find("строка 7: слово «Ωméga»: символ «Ω»"), std::string::npos)
      << plan.skipped[2];
  EXPECT_NE(plan.skipped[3].find("строка 8: перевод «кот™»"), std::string::npos) << plan.skipped[3];
}

TEST(ImportPlan, LessonCodesOfTheSourceAreKeptAndTheRestGuessed) {
  const Source source = MakeSource({{"fr", "fr", ColumnKind::Text},
                                    {"ru", "ru", ColumnKind::Text},
                                    {"type", "", ColumnKind::Grammar},
                                    {"num", "", ColumnKind::Number}},
                                   {{"yeux", "глаза", "m", "p"},
                                    {"élève", "ученик", "n", ""},
                                    {"vite", "быстро", "quick", "x"}});
  const ImportPlan plan = PlanEntries(source, Roles(source));
  ASSERT_EQ(plan.entries.size(), 3u);
  EXPECT_EQ(plan.entries[0].grammar + "," + plan.entries[0].number, "m,p");
  EXPECT_EQ(plan.entries[1].grammar + "," + plan.entries[1].number, "n,s");
  EXPECT_EQ(plan.entries[2].grammar + "," + plan.entries[2].number, "~,");

  EXPECT_EQ(GuessGrammar("la maison", {}).grammar, "f");
  EXPECT_EQ(GuessGrammar("les amis", {}).number, "p");
  EXPECT_EQ(GuessGrammar("la voir demain", {}).grammar, "~");  // a phrase, not a noun
  EXPECT_EQ(GuessGrammar("une table", {"noun"}).grammar, "f");
  EXPECT_EQ(GuessGrammar("rapide", {"Прилагательное"}).grammar, "adj,m");
}

TEST(ImportVoicing, WorkerProcessesSpeakEveryWordInOrder) {
  const std::vector<std::string> words = {"chat", "bonjour tout le monde", "eau", "maison", "un"};
  size_t arrived = 0;
  const std::vector<VoicedWord> voiced = VoiceInParallel(words, 2, [&] { ++arrived; });
  ASSERT_EQ(voiced.size(), words.size());
  EXPECT_EQ(arrived, words.size());
  for (const VoicedWord& word : voiced) {
    ASSERT_TRUE(word.error.empty()) << word.error;
    ASSERT_GT(word.mp3.size(), 100u);
    // An MPEG audio frame starts every recording.
    EXPECT_EQ(word.mp3[0], 0xFF);
    EXPECT_EQ(word.mp3[1] & 0xE0, 0xE0);
  }
  // The long phrase is spoken longer than the short word: the results are not shuffled.
  EXPECT_GT(voiced[1].mp3.size(), voiced[2].mp3.size() * 2);
}

}  // namespace
}  // namespace verbaro::lessonimport
