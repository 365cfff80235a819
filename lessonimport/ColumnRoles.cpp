#include "lessonimport/ColumnRoles.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <tuple>

namespace verbaro::lessonimport {
namespace {

// Enough notes to tell the letters of a column apart; the rest only cost time.
constexpr size_t kSampledNotes = 200;

bool NameIsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  const std::string lowered = LowerCased(name);
  return std::any_of(names.begin(), names.end(), [&](std::string_view known) {
    return lowered == known || lowered.starts_with(std::string(known) + " ");
  });
}

// Other roles that a column of Anki or a table shows by its name only.
ColumnKind KindByName(const SourceColumn& column) {
  if (column.kind != ColumnKind::Text) return column.kind;
  if (NameIsOneOf(column.name, {"transcription", "ipa", "pronunciation", "prononciation",
                                "транскрипция", "произношение"}))
    return ColumnKind::Transcription;
  if (NameIsOneOf(column.name, {"comment", "comments", "note", "notes", "remarque", "remarques",
                                "примечание", "примечания", "комментарий"}))
    return ColumnKind::Comment;
  if (NameIsOneOf(column.name, {"example", "examples", "exemple", "exemples", "пример", "примеры"}))
    return ColumnKind::Example;
  if (NameIsOneOf(column.name, {"grammar", "grammaire", "грамматика"})) return ColumnKind::Grammar;
  return ColumnKind::Text;
}

Language LanguageOfColumn(const Source& source, size_t index) {
  const SourceColumn& column = source.columns[index];
  Language language = LanguageOfName(column.language);
  if (language == Language::Unknown) language = LanguageOfName(column.name);
  if (language != Language::Unknown || column.kind != ColumnKind::Text) return language;
  std::vector<std::string_view> texts;
  for (size_t i = 0; i < source.notes.size() && i < kSampledNotes; ++i)
    texts.push_back(source.notes[i].cells[index]);
  return LanguageOfTexts(texts);
}

// A column named by the learner: its number from 1, else its name (case ignored).
std::optional<int> FindColumn(const Source& source, std::string_view wanted) {
  int number = 0;
  const auto [end, code] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), number);
  if (code == std::errc() && end == wanted.data() + wanted.size() && number >= 1 &&
      static_cast<size_t>(number) <= source.columns.size())
    return number - 1;
  for (size_t i = 0; i < source.columns.size(); ++i)
    if (LowerCased(source.columns[i].name) == LowerCased(wanted)) return static_cast<int>(i);
  return std::nullopt;
}

std::string FoundLanguages(const Source& source, const std::vector<Language>& languages) {
  std::vector<std::string> names;
  for (size_t i = 0; i < source.columns.size(); ++i) {
    if (source.columns[i].kind != ColumnKind::Text) continue;
    const std::string& tag =
        source.columns[i].language.empty() ? source.columns[i].name : source.columns[i].language;
    std::string name = DescribeLanguage(languages[i], tag);
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined.empty() ? std::string("ни одного текстового столбца") : joined;
}

// The first Text column of the language, not taken by the other side, and whether another
// column of it was there too.
int FirstOfLanguage(const Source& source, const std::vector<Language>& languages, Language wanted,
                    int taken, bool& another) {
  int found = -1;
  for (size_t i = 0; i < source.columns.size(); ++i) {
    if (static_cast<int>(i) == taken || languages[i] != wanted) continue;
    if (source.columns[i].kind != ColumnKind::Text ||
        KindByName(source.columns[i]) != ColumnKind::Text)
      continue;
    if (found < 0) found = static_cast<int>(i);
    else another = true;
  }
  return found;
}

// The column of a kind that goes with the French side: of the French language when the source
// tags its columns, else any column of that kind.
int ColumnOfKind(const Source& source, const std::vector<Language>& languages, ColumnKind kind,
                 int french, int russian) {
  int any = -1;
  for (size_t i = 0; i < source.columns.size(); ++i) {
    const int index = static_cast<int>(i);
    if (index == french || index == russian || KindByName(source.columns[i]) != kind) continue;
    if (languages[i] == Language::French) return index;
    if (any < 0 && languages[i] != Language::Russian) any = index;
  }
  return any;
}

}  // namespace

std::optional<ColumnRoles> AssignColumns(const Source& source, const SideChoice& choice,
                                         std::string& error) {
  ColumnRoles roles;
  for (size_t i = 0; i < source.columns.size(); ++i)
    roles.languages.push_back(LanguageOfColumn(source, i));

  for (const auto& [wanted, role, side] :
       {std::tuple{&choice.french, &roles.french, "французской"},
        std::tuple{&choice.russian, &roles.russian, "русской"}}) {
    if (wanted->empty()) continue;
    const std::optional<int> found = FindColumn(source, *wanted);
    if (!found) {
      error = "нет столбца «" + *wanted + "» для " + side + " стороны";
      return std::nullopt;
    }
    *role = *found;
  }
  if (roles.french >= 0 && roles.french == roles.russian) {
    error = "французская и русская стороны не могут быть одним столбцом";
    return std::nullopt;
  }

  bool anotherFrench = false;
  bool anotherRussian = false;
  if (roles.russian < 0)
    roles.russian =
        FirstOfLanguage(source, roles.languages, Language::Russian, roles.french, anotherRussian);
  if (roles.french < 0)
    roles.french =
        FirstOfLanguage(source, roles.languages, Language::French, roles.russian, anotherFrench);
  if (roles.russian < 0) {
    error = "в источнике нет русской стороны; найдены языки: " +
            FoundLanguages(source, roles.languages);
    return std::nullopt;
  }
  if (roles.french < 0) {
    error = "в источнике нет французской стороны; найдены языки: " +
            FoundLanguages(source, roles.languages);
    return std::nullopt;
  }
  const bool chosen = !choice.french.empty() && !choice.russian.empty();
  roles.ambiguous = !chosen && (anotherFrench || anotherRussian);

  roles.transcription =
      ColumnOfKind(source, roles.languages, ColumnKind::Transcription, roles.french, roles.russian);
  roles.comment =
      ColumnOfKind(source, roles.languages, ColumnKind::Comment, roles.french, roles.russian);
  roles.example =
      ColumnOfKind(source, roles.languages, ColumnKind::Example, roles.french, roles.russian);
  roles.grammar =
      ColumnOfKind(source, roles.languages, ColumnKind::Grammar, roles.french, roles.russian);
  roles.number =
      ColumnOfKind(source, roles.languages, ColumnKind::Number, roles.french, roles.russian);
  return roles;
}

}  // namespace verbaro::lessonimport
