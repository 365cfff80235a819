#include "lessonimport/ImportPlan.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "data/Text.h"
#include "data/Typable.h"
#include "lessonimport/GrammarGuess.h"
#include "tools/LessonMessages.h"
#include "tools/LessonRules.h"
#include "tools/WordList.h"

namespace verbaro::lessonimport {
namespace {

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

// The apostrophes and spaces that no key gives become the ones that a key gives.
std::string Typable(std::string_view text) {
  return ToUtf8(WithTypableApostrophesAndSpaces(FromUtf8(Trimmed(text))));
}

std::vector<std::string> Split(std::string_view text, std::string_view separators) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of(separators, start);
    if (end == std::string_view::npos) end = text.size();
    if (std::string part = Typable(text.substr(start, end - start)); !part.empty())
      parts.push_back(std::move(part));
    start = end + 1;
  }
  return parts;
}

std::string Cell(const SourceNote& note, int column) {
  return column < 0 ? std::string() : note.cells[static_cast<size_t>(column)];
}

// An information line is one line: the lines of a cell are joined.
std::string InfoLine(const SourceNote& note, int column) {
  std::string joined;
  for (const std::string& line : Split(Cell(note, column), "\n"))
    joined += (joined.empty() ? "" : "; ") + line;
  return joined;
}

// The translations of a note: the meanings that lines or semicolons separate, each once.
std::vector<std::string> Translations(const SourceNote& note, int column) {
  std::vector<std::string> unique;
  for (std::string& translation : Split(Cell(note, column), "\n;"))
    if (std::find(unique.begin(), unique.end(), translation) == unique.end())
      unique.push_back(std::move(translation));
  return unique;
}

// The French recording of a note: the French side's own, else one in a column that is not the
// Russian side (an Anki field "Sound").
std::string FrenchSound(const SourceNote& note, const ColumnRoles& roles) {
  if (!note.sounds[static_cast<size_t>(roles.french)].empty())
    return note.sounds[static_cast<size_t>(roles.french)];
  for (size_t i = 0; i < note.sounds.size(); ++i)
    if (static_cast<int>(i) != roles.russian && !note.sounds[i].empty()) return note.sounds[i];
  return {};
}

GrammarCodes CodesOf(const SourceNote& note, const ColumnRoles& roles, const std::string& word) {
  GrammarCodes codes;
  const std::string grammar = Trimmed(Cell(note, roles.grammar));
  if (IsLessonGrammar(grammar)) {
    codes.grammar = grammar;
    const std::string number = Trimmed(Cell(note, roles.number));
    codes.number = number == "s" || number == "p" ? number : "";
  } else {
    codes = GuessGrammar(word, note.tags);
  }
  // Only a noun with its number can be asked by the exams.
  if ((codes.grammar == "m" || codes.grammar == "f" || codes.grammar == "n") &&
      codes.number.empty())
    codes.number = "s";
  return codes;
}

lesson::EntryText AsEntryText(const ImportedEntry& entry, int number) {
  lesson::EntryText text;
  text.entryNumber = number;
  text.grammar = FromUtf8(entry.grammar);
  text.number = FromUtf8(entry.number);
  text.word = FromUtf8(entry.word);
  for (const std::string& translation : entry.translations)
    text.translations.push_back(FromUtf8(translation));
  text.info1 = FromUtf8(entry.info1);
  text.info2 = FromUtf8(entry.info2);
  text.info3 = FromUtf8(entry.info3);
  return text;
}

// A lesson entry holds five translations: the rest go into the fifth, so that none is lost.
void FitTranslations(ImportedEntry& entry, std::vector<std::string>& warnings) {
  if (entry.translations.size() <= lesson::kMaxTranslations) return;
  std::string last;
  for (size_t i = lesson::kMaxTranslations - 1; i < entry.translations.size(); ++i)
    last += (last.empty() ? "" : ", ") + entry.translations[i];
  warnings.push_back(entry.place + ": переводов больше пяти (" +
                     std::to_string(entry.translations.size()) + "), последние собраны в пятый: «" +
                     last + "»");
  entry.translations.resize(lesson::kMaxTranslations);
  entry.translations.back() = last;
}

void MergeInto(ImportedEntry& kept, ImportedEntry&& later) {
  for (std::string& translation : later.translations)
    if (std::find(kept.translations.begin(), kept.translations.end(), translation) ==
        kept.translations.end())
      kept.translations.push_back(std::move(translation));
  for (auto [keptLine, laterLine] :
       {std::pair{&kept.info1, &later.info1}, std::pair{&kept.info2, &later.info2},
        std::pair{&kept.info3, &later.info3}, std::pair{&kept.sound, &later.sound}})
    if (keptLine->empty()) *keptLine = std::move(*laterLine);
}

// The reversed modes gather the French words of a translation into one entry of at most five
// answers: the words beyond the fifth that share a translation are set aside.
void SetAsideOverflows(ImportPlan& plan) {
  std::vector<lesson::EntryText> texts;
  for (size_t i = 0; i < plan.entries.size(); ++i)
    texts.push_back(AsEntryText(plan.entries[i], static_cast<int>(i) + 1));
  std::set<size_t> aside;
  for (const lesson::MergeOverflow& overflow : lesson::FindMergeOverflows(texts)) {
    std::vector<int> numbers = overflow.entryNumbers;
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    for (size_t i = lesson::kMaxTranslations; i < numbers.size(); ++i) {
      const auto at = static_cast<size_t>(numbers[i] - 1);
      if (!aside.insert(at).second) continue;
      plan.skipped.push_back(
          plan.entries[at].place + ": перевод «" + ToUtf8(overflow.key) +
          "» уже есть у пяти слов, а в режимах «-2» запись держит не больше пяти ответов");
    }
  }
  for (auto it = aside.rbegin(); it != aside.rend(); ++it)
    plan.entries.erase(plan.entries.begin() + static_cast<std::ptrdiff_t>(*it));
}

}  // namespace

ImportPlan PlanEntries(const Source& source, const ColumnRoles& roles) {
  ImportPlan plan;
  std::map<std::tuple<std::string, std::string, std::string>, size_t> byWord;
  for (const SourceNote& note : source.notes) {
    ImportedEntry entry;
    entry.place = note.place;
    const std::vector<std::string> frenchLines = Split(Cell(note, roles.french), "\n");
    if (frenchLines.empty()) {
      plan.skipped.push_back(note.place + ": нет французского слова");
      continue;
    }
    entry.word = frenchLines.front();
    if (frenchLines.size() > 1)
      plan.warnings.push_back(note.place +
                              ": во французском поле несколько строк, словом взята первая: «" +
                              entry.word + "»");
    entry.translations = Translations(note, roles.russian);
    if (entry.translations.empty()) {
      plan.skipped.push_back(note.place + ": нет русского перевода");
      continue;
    }
    const GrammarCodes codes = CodesOf(note, roles, entry.word);
    entry.grammar = codes.grammar;
    entry.number = codes.number;
    entry.info1 = InfoLine(note, roles.transcription);
    entry.info2 = InfoLine(note, roles.comment);
    entry.info3 = InfoLine(note, roles.example);
    entry.sound = FrenchSound(note, roles);

    const std::vector<std::string> untypable = lesson::DescribeUntypable(AsEntryText(entry, 0));
    if (!untypable.empty()) {
      for (const std::string& reason : untypable)
        plan.skipped.push_back(note.place + ": " + reason);
      continue;
    }
    const auto key = std::tuple{entry.word, entry.grammar, entry.number};
    if (const auto found = byWord.find(key); found != byWord.end()) {
      MergeInto(plan.entries[found->second], std::move(entry));
      ++plan.merged;
      continue;
    }
    byWord.emplace(key, plan.entries.size());
    plan.entries.push_back(std::move(entry));
  }
  for (ImportedEntry& entry : plan.entries) FitTranslations(entry, plan.warnings);
  SetAsideOverflows(plan);
  return plan;
}

}  // namespace verbaro::lessonimport
