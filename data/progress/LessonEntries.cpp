#include "data/progress/LessonEntries.h"

#include <algorithm>

#include "data/ExtendedKeys.h"
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
  // Filed as the reversal files them: every translation under its extended key; a run of equal
  // keys is one record, with the grammar and number of its first row and the words of its rows.
  ExtendedKeys keys;
  for (size_t r = 0; r < rows.size(); ++r) {
    if (IsLeftOutGram(rows[r].wsFrGram)) continue;
    for (size_t i = 0; i < rows[r].vwsAltWords.size(); ++i) {
      keys.Add(rows[r].vwsAltWords[i], rows[r], r, i);
    }
  }
  keys.Sort();
  const std::vector<ExtendedKeys::Run> runs = keys.Runs();
  std::vector<std::vector<int>> records;
  records.reserve(runs.size());
  for (const ExtendedKeys::Run& run : runs) {
    const WordsData& first = rows[keys[run.first].record];
    WordsData reversed;
    reversed.wsFrGram = first.wsFrGram;
    reversed.wsFrNumber = first.wsFrNumber;
    for (size_t s = run.first; s < run.first + run.count; ++s) {
      reversed.vwsAltWords.push_back(rows[keys[s].record].wsKeyWord);
    }
    records.push_back(EntriesOfReversed(reversed));
  }
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
