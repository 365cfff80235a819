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
}

std::vector<int> LessonEntries::EntriesOfWord(const std::u16string& word, const std::u16string& gram,
                                              const std::u16string& number) const {
  const auto found = m_entriesByHead.find(Head{word, gram, number});
  return found == m_entriesByHead.end() ? std::vector<int>{} : found->second;
}

std::vector<std::vector<int>> LessonEntries::ReversedRecords(
    const std::vector<WordsData>& rows) const {
  // The reversal's merge: one record per extended translation key, whose grammar and number are
  // those of its first row and whose answers are the words of its rows.
  std::map<std::u16string, WordsData> reversed;
  for (const WordsData& row : rows) {
    if (IsLeftOutGram(row.wsFrGram)) continue;
    const std::u16string kind = u", " + row.wsFrGram + NumberSuffix(row.wsFrNumber);
    for (const std::u16string& translation : row.vwsAltWords) {
      auto [place, added] = reversed.try_emplace(translation + kind);
      if (added) {
        place->second.wsFrGram = row.wsFrGram;
        place->second.wsFrNumber = row.wsFrNumber;
      }
      place->second.vwsAltWords.push_back(row.wsKeyWord);
    }
  }
  std::vector<std::vector<int>> records;
  records.reserve(reversed.size());
  for (const auto& [key, record] : reversed) records.push_back(EntriesOfReversed(record));
  return records;
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
