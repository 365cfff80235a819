#include "lessonimport/Kvtml.h"

#include <array>

#include "lessonimport/FileMedia.h"
#include "lessonimport/KvtmlDocument.h"
#include "lessonimport/Languages.h"

namespace verbaro::lessonimport {
namespace {

// The fields of a translation that become columns, after the text itself.
struct ExtraField {
  ColumnKind kind;
  std::string KvtmlTranslation::*field;
  const char* label;
};
constexpr std::array<ExtraField, 3> kExtraFields = {{
    {ColumnKind::Transcription, &KvtmlTranslation::pronunciation, "транскрипция"},
    {ColumnKind::Comment, &KvtmlTranslation::comment, "комментарий"},
    {ColumnKind::Example, &KvtmlTranslation::example, "пример"},
}};

// A column's cell: which identifier, and which field (null: the text).
struct ColumnSource {
  std::string identifier;
  std::string KvtmlTranslation::*field = nullptr;
};

bool NamesFrenchOrRussian(std::string_view name) {
  const Language language = LanguageOfName(name);
  return language == Language::French || language == Language::Russian;
}

// What the file says of a language: a locale that names French or Russian, else a name that
// does (a file may carry a default locale under a name the learner gave), else whichever it has.
std::string LanguageOfIdentifier(const KvtmlIdentifier& identifier) {
  if (NamesFrenchOrRussian(identifier.locale)) return identifier.locale;
  if (NamesFrenchOrRussian(identifier.name)) return identifier.name;
  return identifier.locale.empty() ? identifier.name : identifier.locale;
}

std::string ColumnName(const KvtmlIdentifier& identifier, size_t index) {
  if (!identifier.name.empty()) return identifier.name;
  if (!identifier.locale.empty()) return identifier.locale;
  return "язык " + std::to_string(index + 1);
}

bool AnyEntryHas(const KvtmlDocument& document, const std::string& identifier,
                 std::string KvtmlTranslation::*field) {
  for (const KvtmlEntry& entry : document.entries) {
    const auto found = entry.translations.find(identifier);
    if (found != entry.translations.end() && !(found->second.*field).empty()) return true;
  }
  return false;
}

// The word type that gives an entry its codes: the French translation's where a language is
// French and its translation has a type, else the first translation's that gives codes.
std::pair<std::string, std::string> CodesOfEntry(const KvtmlDocument& document,
                                                 const KvtmlEntry& entry,
                                                 const std::string& frenchIdentifier) {
  auto typeOf = [&](const std::string& identifier) -> std::pair<std::string, std::string> {
    auto found = document.wordTypes.find({entry.id, identifier});
    if (found == document.wordTypes.end())
      found = document.wordTypes.find({entry.id, std::string()});
    if (found == document.wordTypes.end()) return {};
    return GrammarOfWordType(found->second);
  };
  if (!frenchIdentifier.empty() && entry.translations.count(frenchIdentifier) != 0) {
    auto codes = typeOf(frenchIdentifier);
    if (!codes.first.empty()) return codes;
  }
  for (const KvtmlIdentifier& identifier : document.identifiers) {
    if (entry.translations.count(identifier.id) == 0) continue;
    auto codes = typeOf(identifier.id);
    if (!codes.first.empty()) return codes;
  }
  return {};
}

void AddColumns(const KvtmlDocument& document, Source& source, std::vector<ColumnSource>& cells) {
  for (size_t i = 0; i < document.identifiers.size(); ++i) {
    const KvtmlIdentifier& identifier = document.identifiers[i];
    const std::string name = ColumnName(identifier, i);
    const std::string language = LanguageOfIdentifier(identifier);
    source.columns.push_back({name, language, ColumnKind::Text});
    cells.push_back({identifier.id, nullptr});
    for (const ExtraField& extra : kExtraFields) {
      if (!AnyEntryHas(document, identifier.id, extra.field)) continue;
      source.columns.push_back({name + ": " + extra.label, language, extra.kind});
      cells.push_back({identifier.id, extra.field});
    }
  }
}

std::string FrenchIdentifier(const KvtmlDocument& document) {
  for (const KvtmlIdentifier& identifier : document.identifiers)
    if (LanguageOfName(LanguageOfIdentifier(identifier)) == Language::French) return identifier.id;
  return {};
}

}  // namespace

std::pair<std::string, std::string> GrammarOfWordType(std::string_view type) {
  if (type == "noun/male") return {"m", "s"};
  if (type == "noun/female") return {"f", "s"};
  if (type == "noun/neutral" || type == "noun") return {"n", "s"};
  if (type == "verb") return {"v", ""};
  if (type == "adjective") return {"adj,m", ""};
  if (type == "adverb") return {"adv", ""};
  return {};
}

std::optional<Source> ReadKvtml(const std::filesystem::path& file, std::string& error) {
  std::optional<KvtmlDocument> document = ReadKvtmlDocument(file, error);
  if (!document) return std::nullopt;
  if (document->identifiers.empty()) {
    error = "в файле KVTML не названо ни одного языка";
    return std::nullopt;
  }
  Source source;
  source.format = "KVTML";
  std::vector<ColumnSource> cells;
  AddColumns(*document, source, cells);

  const std::string french = FrenchIdentifier(*document);
  std::vector<std::pair<std::string, std::string>> codes;
  bool anyCodes = false;
  for (const KvtmlEntry& entry : document->entries) {
    codes.push_back(CodesOfEntry(*document, entry, french));
    anyCodes |= !codes.back().first.empty();
  }
  if (anyCodes) {
    source.columns.push_back({"грамматика", {}, ColumnKind::Grammar});
    source.columns.push_back({"число", {}, ColumnKind::Number});
  }

  bool anySound = false;
  for (size_t n = 0; n < document->entries.size(); ++n) {
    const KvtmlEntry& entry = document->entries[n];
    const std::string place = "запись " + std::to_string(n + 1);
    for (const std::string& id : entry.unknownIdentifiers)
      source.problems.push_back(place + ": перевод на язык " + id +
                                ", которого нет в списке языков файла");
    if (entry.overlong) {
      source.problems.push_back(place + ": текст длиннее " + std::to_string(kMaxCellBytes / 1024) +
                                " КБ — это не слово и не фраза");
      continue;
    }
    SourceNote note;
    note.place = place;
    bool anyText = false;
    for (const ColumnSource& column : cells) {
      const auto found = entry.translations.find(column.identifier);
      std::string cell;
      std::string sound;
      if (found != entry.translations.end()) {
        cell = column.field == nullptr ? found->second.text : found->second.*column.field;
        if (column.field == nullptr) sound = found->second.sound;
      }
      anyText |= !cell.empty() || !sound.empty();
      anySound |= !sound.empty();
      note.cells.push_back(std::move(cell));
      note.sounds.push_back(std::move(sound));
    }
    if (!anyText) continue;  // an entry left empty in the editor holds nothing to learn
    if (anyCodes) {
      note.cells.push_back(codes[n].first);
      note.cells.push_back(codes[n].second);
      note.sounds.resize(note.cells.size());
    }
    const auto lessons = document->lessonsOfEntry.find(entry.id);
    if (lessons != document->lessonsOfEntry.end()) note.tags = lessons->second;
    source.notes.push_back(std::move(note));
  }
  if (anySound)
    source.media = std::make_unique<FileMedia>(std::filesystem::absolute(file).parent_path());
  return source;
}

}  // namespace verbaro::lessonimport
