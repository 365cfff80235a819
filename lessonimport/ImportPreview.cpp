#include "lessonimport/ImportPreview.h"

#include <algorithm>

#include "lessonimport/JsonText.h"

namespace verbaro::lessonimport {
namespace {

std::string RoleOf(const ColumnRoles& roles, int column) {
  if (column == roles.french) return "french";
  if (column == roles.russian) return "russian";
  if (column == roles.transcription) return "transcription";
  if (column == roles.comment) return "comment";
  if (column == roles.example) return "example";
  if (column == roles.grammar) return "grammar";
  if (column == roles.number) return "number";
  return "";
}

std::string LanguageText(Language language) {
  if (language == Language::French || language == Language::Russian)
    return DescribeLanguage(language, "");
  return "";
}

template <typename Items, typename Write>
std::string JsonArray(const Items& items, Write write) {
  std::string json = "[";
  bool first = true;
  for (const auto& item : items) {
    if (!first) json += ",";
    first = false;
    json += write(item);
  }
  return json + "]";
}

std::string EntryJson(const ImportedEntry& entry) {
  const auto string = [](const std::string& text) { return JsonString(text); };
  return "{\"grammar\":" + JsonString(entry.grammar) + ",\"number\":" + JsonString(entry.number) +
         ",\"word\":" + JsonString(entry.word) + ",\"info\":[" + JsonString(entry.info1) + "," +
         JsonString(entry.info2) + "," + JsonString(entry.info3) +
         "],\"translations\":" + JsonArray(entry.translations, string) +
         ",\"recording\":" + JsonString(RecordingKindOf(entry)) + "}";
}

}  // namespace

std::string RecordingKindOf(const ImportedEntry& entry) {
  if (entry.sound.empty()) return "voice";
  std::string tail =
      entry.sound.size() >= 4 ? entry.sound.substr(entry.sound.size() - 4) : entry.sound;
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".mp3" ? "given" : "convert";
}

std::string PreviewJson(const Source& source, const ColumnRoles& roles, const ImportPlan& plan) {
  std::string columns = "[";
  for (size_t i = 0; i < source.columns.size(); ++i) {
    if (i > 0) columns += ",";
    columns += "{\"name\":" + JsonString(source.columns[i].name) +
               ",\"language\":" + JsonString(LanguageText(roles.languages[i])) +
               ",\"role\":" + JsonString(RoleOf(roles, static_cast<int>(i))) + "}";
  }
  columns += "]";

  size_t given = 0;
  size_t convert = 0;
  for (const ImportedEntry& entry : plan.entries) {
    const std::string kind = RecordingKindOf(entry);
    given += kind == "given";
    convert += kind == "convert";
  }
  const size_t voice = plan.entries.size() - given - convert;
  const std::string counts =
      "{\"notes\":" + std::to_string(source.notes.size() + source.problems.size()) +
      ",\"entries\":" + std::to_string(plan.entries.size()) +
      ",\"merged\":" + std::to_string(plan.merged) +
      ",\"skipped\":" + std::to_string(plan.skipped.size() + source.problems.size()) +
      ",\"given\":" + std::to_string(given) + ",\"convert\":" + std::to_string(convert) +
      ",\"voice\":" + std::to_string(voice) + "}";

  const size_t shown = std::min(plan.entries.size(), kPreviewEntries);
  std::string entries = "[";
  for (size_t i = 0; i < shown; ++i) entries += (i > 0 ? "," : "") + EntryJson(plan.entries[i]);
  entries += "]";

  std::vector<std::string> warnings = source.problems;
  warnings.insert(warnings.end(), plan.skipped.begin(), plan.skipped.end());
  warnings.insert(warnings.end(), plan.warnings.begin(), plan.warnings.end());
  const auto string = [](const std::string& text) { return JsonString(text); };

  return "{\"format\":" + JsonString(source.format) + ",\"columns\":" + columns +
         ",\"frenchColumn\":" + std::to_string(roles.french) +
         ",\"russianColumn\":" + std::to_string(roles.russian) +
         ",\"ambiguous\":" + (roles.ambiguous ? "true" : "false") + ",\"counts\":" + counts +
         ",\"entries\":" + entries + ",\"warnings\":" + JsonArray(warnings, string) + "}\n";
}

}  // namespace verbaro::lessonimport
