#include "lessonimport/HeadingRow.h"

#include <algorithm>
#include <string_view>

#include "lessonimport/Languages.h"

namespace verbaro::lessonimport {
namespace {

constexpr size_t kRowsCompared = 200;

bool NamesDifferentLanguages(const std::vector<std::string>& row) {
  Language first = Language::Unknown;
  for (const std::string& cell : row) {
    const Language language = LanguageOfName(cell);
    if (language == Language::Unknown) continue;
    if (first == Language::Unknown) first = language;
    else if (language != first) return true;
  }
  return false;
}

// French stands for Latin letters here, Russian for Cyrillic, Unknown for none.
std::vector<Language> LettersOf(const std::vector<std::string>& row) {
  std::vector<Language> letters;
  for (const std::string& cell : row) letters.push_back(LanguageOfTexts({std::string_view(cell)}));
  return letters;
}

bool SameLetters(const std::vector<Language>& a, const std::vector<Language>& b) {
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    if (a[i] != Language::Unknown && b[i] != Language::Unknown && a[i] != b[i]) return false;
  return true;
}

}  // namespace

bool LooksLikeHeadings(const std::vector<std::vector<std::string>>& rows) {
  if (rows.size() < 2) return false;  // a single row is a word, not a table's headings
  if (NamesDifferentLanguages(rows[0])) return true;
  const std::vector<Language> first = LettersOf(rows[0]);
  const size_t last = std::min(rows.size(), kRowsCompared + 1);
  for (size_t i = 1; i < last; ++i)
    if (SameLetters(first, LettersOf(rows[i]))) return false;
  return true;
}

}  // namespace verbaro::lessonimport
