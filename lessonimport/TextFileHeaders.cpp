#include "lessonimport/TextFileHeaders.h"

#include <array>
#include <charconv>

#include "lessonimport/Languages.h"

namespace verbaro::lessonimport {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

constexpr std::array<std::string_view, 10> kKeys = {
    "separator",       "html",        "columns",  "tags column", "deck column",
    "notetype column", "guid column", "notetype", "deck",        "if matches"};

bool IsKey(std::string_view key) {
  for (std::string_view known : kKeys)
    if (key == known) return true;
  return false;
}

std::optional<char> SeparatorNamed(std::string_view value) {
  const std::string name = LowerCased(value);
  if (name == "tab" || name == "\\t") return '\t';
  if (name == "comma") return ',';
  if (name == "semicolon") return ';';
  if (name == "pipe") return '|';
  if (name == "space") return ' ';
  if (name == "colon") return ':';
  // A single character as itself; '"' and line ends cannot separate fields.
  if (value.size() == 1 && value[0] != '"' && value[0] != '\n' && value[0] != '\r') return value[0];
  return std::nullopt;
}

std::optional<size_t> ColumnNumber(std::string_view value) {
  size_t number = 0;
  const auto [end, code] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (code != std::errc() || end != value.data() + value.size() || number == 0 || number > 1000)
    return std::nullopt;
  return number;
}

}  // namespace

std::optional<TextFileHeaders> ReadTextFileHeaders(std::string_view text, std::string& error) {
  TextFileHeaders headers;
  size_t offset = 0;
  size_t line = 1;
  while (offset < text.size() && text[offset] == '#') {
    const size_t end = text.find('\n', offset);
    // The value keeps its tabs (a "#separator:" of a tab, the columns joined by tabs): only the
    // line end is cut from it.
    std::string_view whole =
        text.substr(offset + 1, (end == std::string_view::npos ? text.size() : end) - offset - 1);
    if (!whole.empty() && whole.back() == '\r') whole.remove_suffix(1);
    const size_t colon = whole.find(':');
    if (colon == std::string_view::npos) break;
    const std::string key = LowerCased(Trimmed(whole.substr(0, colon)));
    if (!IsKey(key)) break;
    const std::string_view raw = whole.substr(colon + 1);
    const std::string_view value = Trimmed(raw);
    const std::string place = "строка " + std::to_string(line) + ": ";
    if (key == "separator") {
      headers.separator = raw == "\t" ? std::optional<char>('\t') : SeparatorNamed(value);
      if (!headers.separator) {
        error = place + "неизвестный разделитель «" + std::string(value) + "»";
        return std::nullopt;
      }
    } else if (key == "html") {
      headers.html = LowerCased(value) == "true";
    } else if (key == "columns") {
      headers.columns = std::string(raw);
    } else if (key.ends_with(" column")) {
      const std::optional<size_t> number = ColumnNumber(value);
      if (!number) {
        error = place + "«" + std::string(value) + "» — не номер столбца";
        return std::nullopt;
      }
      if (key == "tags column") headers.tagsColumn = *number;
      else if (key == "deck column") headers.deckColumn = *number;
      else if (key == "notetype column") headers.notetypeColumn = *number;
      else headers.guidColumn = *number;
    }
    ++line;
    offset = end == std::string_view::npos ? text.size() : end + 1;
  }
  headers.bodyOffset = offset;
  headers.bodyLine = line;
  return headers;
}

}  // namespace verbaro::lessonimport
