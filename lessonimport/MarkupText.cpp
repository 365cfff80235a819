#include "lessonimport/MarkupText.h"

#include <algorithm>
#include <array>

#include "lessonimport/HtmlEntities.h"

namespace verbaro::lessonimport {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[at + i]) != prefix[i]) return false;
  return true;
}

// Elements that a browser shows on lines of their own: their start and their end break the line.
constexpr std::array<std::string_view, 36> kBlocks = {
    "address", "article", "aside",    "blockquote", "center",  "dd",     "details", "dialog", "div",
    "dl",      "dt",      "fieldset", "figcaption", "figure",  "footer", "form",    "h1",     "h2",
    "h3",      "h4",      "h5",       "h6",         "header",  "hr",     "li",      "main",   "nav",
    "ol",      "p",       "pre",      "section",    "summary", "table",  "tr",      "ul",     "br"};
// Elements whose content is not text to show: it is dropped with them.
constexpr std::array<std::string_view, 5> kHidden = {"script", "style", "title", "template",
                                                     "noscript"};

template <size_t N>
bool IsOneOf(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The position after the '>' that ends the tag opened at `at`, quotes in attributes respected;
// npos when the tag never ends (a browser then drops the rest as well).
size_t TagEnd(std::string_view html, size_t at) {
  char quote = 0;
  for (size_t i = at + 1; i < html.size(); ++i) {
    const char c = html[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

// The position after the end tag "</name...>" from `from` on, or npos.
size_t EndOfElement(std::string_view html, size_t from, std::string_view name) {
  for (size_t i = html.find('<', from); i != std::string_view::npos; i = html.find('<', i + 1)) {
    if (i + 1 < html.size() && html[i + 1] == '/' && StartsWithNoCase(html, i + 2, name)) {
      const size_t after = i + 2 + name.size();
      if (after >= html.size() || !IsAsciiLetter(html[after])) return TagEnd(html, i);
    }
  }
  return std::string_view::npos;
}

// Markup out, entities decoded: the text with '\n' only where markup breaks a line and every
// whitespace of the source as a space.
std::string TextOfHtml(std::string_view html) {
  std::string out;
  out.reserve(html.size());
  size_t i = 0;
  while (i < html.size()) {
    const char c = html[i];
    if (c == '&') {
      if (auto entity = DecodeEntity(html.substr(i))) {
        out += entity->utf8;
        i += entity->length;
      } else {
        out += '&';
        ++i;
      }
      continue;
    }
    if (c != '<') {
      out += IsHtmlSpace(c) ? ' ' : c;
      ++i;
      continue;
    }
    if (html.compare(i, 4, "<!--") == 0) {
      const size_t end = html.find("-->", i + 4);
      if (end == std::string_view::npos) break;
      i = end + 3;
      continue;
    }
    const bool closing = i + 1 < html.size() && html[i + 1] == '/';
    const size_t nameStart = i + (closing ? 2 : 1);
    const bool declaration =
        nameStart < html.size() && (html[nameStart] == '!' || html[nameStart] == '?');
    if (nameStart >= html.size() || !(IsAsciiLetter(html[nameStart]) || declaration)) {
      out += '<';  // "a < b", "<3": not a tag
      ++i;
      continue;
    }
    std::string name;
    for (size_t k = nameStart;
         k < html.size() && (IsAsciiLetter(html[k]) || (html[k] >= '0' && html[k] <= '9')); ++k)
      name += Lower(html[k]);
    size_t end = TagEnd(html, i);
    if (end == std::string_view::npos) break;
    if (!closing && IsOneOf(kHidden, name)) end = EndOfElement(html, end, name);
    if (end == std::string_view::npos) break;
    if (IsOneOf(kBlocks, name)) out += '\n';
    else if (name == "td" || name == "th") out += ' ';
    i = end;
  }
  return out;
}

// "[sound:NAME]" out of the text into `sounds`; "[anki:tts ...]TEXT[/anki:tts]" leaves TEXT.
std::string TakeOutTags(std::string_view text, std::vector<std::string>& sounds, bool tts) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t open = text.find('[', i);
    if (open == std::string_view::npos) break;
    out.append(text.substr(i, open - i));
    i = open;
    const std::string_view rest = text.substr(open);
    if (rest.starts_with("[sound:")) {
      const size_t close = rest.find(']');
      if (close == std::string_view::npos) break;
      std::string name(rest.substr(7, close - 7));
      name.erase(0, name.find_first_not_of(' '));
      name.erase(name.find_last_not_of(' ') + 1);
      if (!name.empty()) sounds.push_back(std::move(name));
      out += ' ';
      i = open + close + 1;
    } else if (tts && (rest.starts_with("[anki:tts") || rest.starts_with("[/anki:tts]"))) {
      const size_t close = rest.find(']');
      if (close == std::string_view::npos) break;
      out += ' ';
      i = open + close + 1;
    } else if (tts && rest.starts_with("[anki:play:")) {
      const size_t close = rest.find(']');
      if (close == std::string_view::npos) break;
      i = open + close + 1;
    } else {
      out += '[';
      ++i;
    }
  }
  out.append(text.substr(std::min(i, text.size())));
  return out;
}

bool IsSpaceAt(std::string_view text, size_t i, size_t& length) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\v' || text[i] == '\f') {
    length = 1;
    return true;
  }
  // no-break, figure, thin and narrow no-break spaces
  if (byte(i) == 0xC2 && i + 1 < text.size() && byte(i + 1) == 0xA0) {
    length = 2;
    return true;
  }
  if (byte(i) == 0xE2 && i + 2 < text.size() && byte(i + 1) == 0x80 &&
      ((byte(i + 2) >= 0x80 && byte(i + 2) <= 0x8A) || byte(i + 2) == 0xAF)) {
    length = 3;
    return true;
  }
  return false;
}

// Characters that show nothing: the soft hyphen, zero-width spaces and joiners, direction marks,
// the byte order mark.
size_t InvisibleAt(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  if (byte(i) == 0xC2 && i + 1 < text.size() && byte(i + 1) == 0xAD) return 2;
  if (byte(i) == 0xE2 && i + 2 < text.size() && byte(i + 1) == 0x80 && byte(i + 2) >= 0x8B &&
      byte(i + 2) <= 0x8F)
    return 3;
  if (byte(i) == 0xEF && i + 2 < text.size() && byte(i + 1) == 0xBB && byte(i + 2) == 0xBF)
    return 3;
  return 0;
}

// Each line with its runs of spaces made one and trimmed; empty lines dropped.
std::string TidyLines(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool pendingSpace = false;
  bool pendingLine = false;
  bool lineHasText = false;
  for (size_t i = 0; i < text.size();) {
    size_t length = 0;
    if (text[i] == '\n') {
      if (lineHasText) pendingLine = true;
      pendingSpace = false;
      lineHasText = false;
      ++i;
    } else if (IsSpaceAt(text, i, length)) {
      if (lineHasText) pendingSpace = true;
      i += length;
    } else if ((length = InvisibleAt(text, i)) > 0) {
      i += length;
    } else {
      if (pendingLine) out += '\n';
      else if (pendingSpace) out += ' ';
      pendingLine = pendingSpace = false;
      lineHasText = true;
      out += text[i];
      ++i;
    }
  }
  return out;
}

}  // namespace

MarkupText ReduceMarkup(std::string_view html) {
  MarkupText result;
  result.text = TidyLines(TakeOutTags(TextOfHtml(html), result.sounds, true));
  return result;
}

MarkupText ReduceSoundTags(std::string_view text) {
  MarkupText result;
  std::string plain = TakeOutTags(text, result.sounds, false);
  result.text = TidyLines(plain);
  return result;
}

}  // namespace verbaro::lessonimport
