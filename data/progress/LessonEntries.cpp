#include "data/progress/LessonEntries.h"

#include <algorithm>

#include "data/GrammarCodes.h"

namespace verbaro::progress {

LessonEntries::LessonEntries(const std::vector<WordsData>& rows) {
  m_keys.reserve(rows.size());
  for (const WordsData& row : rows) {
    std::vector<int>& same = m_entriesByHead[Head{row.wsKeyWord, row.wsFrGram, row.wsFrNumber}];
    m_keys.push_back({row.wsKeyWord, row.wsFrGram, row.wsFrNumber, static_cast<int>(same.size())});
    same.push_back(static_cast<int>(m_keys.size()) - 1);
  }
  m_askedInReverse.assign(rows.size(), false);
  for (const auto& [head, entries] : m_entriesByHead) {
    if (IsLeftOutGram(std::get<1>(head))) continue;
    const bool reversed = std::any_of(entries.begin(), entries.end(), [&rows](int entry) {
      return !rows[static_cast<size_t>(entry)].vwsAltWords.empty();
    });
    if (!reversed) continue;
    for (const int entry : entries) m_askedInReverse[static_cast<size_t>(entry)] = true;
  }
}

std::vector<int> LessonEntries::EntriesOfWord(const std::u16string& word, const std::u16string& gram,
                                              const std::u16string& number) const {
  const auto found = m_entriesByHead.find(Head{word, gram, number});
  return found == m_entriesByHead.end() ? std::vector<int>{} : found->second;
}

// An answer listed twice (two rows of one word sharing the translation) stands for the same
// entries once.
std::vector<int> LessonEntries::EntriesOfReversed(const WordsData& reversed) const {
  std::vector<int> entries;
  for (const std::u16string& word : reversed.vwsAltWords) {
    for (const int entry : EntriesOfWord(word, reversed.wsFrGram, reversed.wsFrNumber)) {
      if (std::find(entries.begin(), entries.end(), entry) == entries.end()) entries.push_back(entry);
    }
  }
  return entries;
}

}  // namespace verbaro::progress
