#include "tools/WordList.h"

#include <algorithm>
#include <cctype>

#include "data/Text.h"

namespace verbaro::lesson {
namespace {

constexpr size_t kFixedFields = 6;  // grammar, number, word, three information lines
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (true) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return fields;
}

// Spaces around a field would have to be typed in the Conspect modes; they are never meant.
std::string Trim(std::string_view field) {
  const size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = field.find_last_not_of(' ');
  return std::string(field.substr(first, last - first + 1));
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool EndsWithMp3(std::string_view field) {
  if (field.size() < 4) return false;
  std::string tail(field.substr(field.size() - 4));
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".mp3";
}

// Parses one non-blank, non-comment line; returns an empty message on success.
std::string ParseLine(std::string_view line, const std::filesystem::path& listFolder,
                      LessonEntry& entry) {
  if (!IsValidUtf8(line)) return "текст не в кодировке UTF-8";

  std::vector<std::string> fields;
  for (std::string_view raw : SplitTabs(line)) fields.push_back(Trim(raw));
  // Spreadsheets pad rows with empty cells; they carry nothing.
  while (fields.size() > kFixedFields + 1 && fields.back().empty()) fields.pop_back();

  const auto columnHint = [&] {
    return "неверное число столбцов (" + std::to_string(fields.size()) +
           "): нужны грамматика, число, слово, три строки пояснений, от одного до пяти "
           "переводов и, если есть, файл MP3";
  };
  if (fields.size() < kFixedFields + 1) return columnHint();

  size_t translationEnd = fields.size();
  if (EndsWithMp3(fields.back())) {
    entry.mp3Path = listFolder / std::filesystem::path(fields.back());
    --translationEnd;
  }

  entry.grammar = fields[0];
  entry.number = fields[1];
  entry.word = fields[2];
  entry.info1 = fields[3];
  entry.info2 = fields[4];
  entry.info3 = fields[5];
  for (size_t i = kFixedFields; i < translationEnd; ++i) {
    if (!fields[i].empty()) entry.translations.push_back(fields[i]);
  }

  if (entry.word.empty()) return "пустое слово";
  if (entry.translations.size() > kMaxTranslations)
    return "больше пяти переводов (" + std::to_string(entry.translations.size()) + ")";
  if (translationEnd - kFixedFields > kMaxTranslations) return columnHint();
  if (entry.translations.empty()) return "нет ни одного перевода";
  return {};
}

}  // namespace

WordList ParseWordList(std::string_view text, const std::filesystem::path& listFolder) {
  if (text.starts_with(kBom)) text.remove_prefix(kBom.size());

  WordList list;
  int lineNumber = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;

    if (line.ends_with('\r')) line.remove_suffix(1);
    if (IsBlank(line) || line.starts_with('#')) continue;

    LessonEntry entry;
    entry.lineNumber = lineNumber;
    std::string problem = ParseLine(line, listFolder, entry);
    if (problem.empty()) {
      list.entries.push_back(std::move(entry));
    } else {
      list.problems.push_back({lineNumber, std::move(problem)});
    }
  }
  return list;
}

std::string FormatProblem(const LineProblem& problem) {
  return "строка " + std::to_string(problem.lineNumber) + ": " + problem.message;
}

}  // namespace verbaro::lesson
