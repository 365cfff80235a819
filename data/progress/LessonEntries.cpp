#include "data/progress/LessonEntries.h"

#include <algorithm>
#include <functional>

#include "data/ExtendedKeys.h"
#include "data/GrammarCodes.h"

namespace verbaro::progress {

size_t LessonEntries::HeadHash::operator()(const Head& head) const {
  const std::hash<std::u16string_view> hash;
  size_t h = hash(head.word);
  h ^= hash(head.gram) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
  h ^= hash(head.number) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
  return h;
}

LessonEntries::LessonEntries(const std::vector<WordsData>& rows) {
  // The keys are made first and never move afterwards: the index views their texts.
  m_keys.reserve(rows.size());
  for (const WordsData& row : rows)
    m_keys.push_back({row.wsKeyWord, row.wsFrGram, row.wsFrNumber, 0});
  m_groupOfHead.reserve(rows.size());
  m_groupOfEntry.resize(m_keys.size());
  m_kindOfEntry.resize(m_keys.size());
  std::unordered_map<Head, uint32_t, HeadHash> kinds;
  std::vector<uint32_t> sizes;
  for (size_t i = 0; i < m_keys.size(); ++i) {
    EntryKey& key = m_keys[i];
    const auto [found, added] = m_groupOfHead.try_emplace(Head{key.word, key.gram, key.number},
                                                          static_cast<uint32_t>(sizes.size()));
    if (added) sizes.push_back(0);
    const uint32_t group = found->second;
    key.occurrence = static_cast<int>(sizes[group]++);
    m_groupOfEntry[i] = group;
    m_kindOfEntry[i] =
        kinds.try_emplace(Head{{}, key.gram, key.number}, static_cast<uint32_t>(kinds.size()))
            .first->second;
  }
  m_groupStart.assign(sizes.size() + 1, 0);
  for (size_t g = 0; g < sizes.size(); ++g) m_groupStart[g + 1] = m_groupStart[g] + sizes[g];
  m_grouped.resize(m_keys.size());
  std::vector<uint32_t> filled(m_groupStart.begin(), m_groupStart.end() - 1);
  for (size_t i = 0; i < m_keys.size(); ++i)
    m_grouped[filled[m_groupOfEntry[i]]++] = static_cast<int>(i);
}

std::span<const int> LessonEntries::EntriesOfGroup(uint32_t group) const {
  return {m_grouped.data() + m_groupStart[group], m_groupStart[group + 1] - m_groupStart[group]};
}

std::span<const int> LessonEntries::EntriesOf(const Head& head) const {
  const auto found = m_groupOfHead.find(head);
  return found == m_groupOfHead.end() ? std::span<const int>{} : EntriesOfGroup(found->second);
}

bool LessonEntries::MadeFrom(const std::vector<WordsData>& rows) const {
  if (rows.size() != m_keys.size()) return false;
  for (size_t r = 0; r < rows.size(); ++r) {
    const EntryKey& key = m_keys[r];
    if (rows[r].wsKeyWord != key.word || rows[r].wsFrGram != key.gram ||
        rows[r].wsFrNumber != key.number) {
      return false;
    }
  }
  return true;
}

std::vector<int> LessonEntries::EntriesOfWord(const std::u16string& word,
                                              const std::u16string& gram,
                                              const std::u16string& number) const {
  const std::span<const int> entries = EntriesOf(Head{word, gram, number});
  return {entries.begin(), entries.end()};
}

std::vector<std::vector<int>> LessonEntries::ReversedRecords(
    const std::vector<WordsData>& rows) const {
  // Filed as the reversal files them: every translation under its extended key; a run of equal
  // keys is one record, with the grammar and number of its first row and the words of its rows.
  ExtendedKeys keys;
  size_t translations = 0, units = 0;
  for (const WordsData& row : rows) {
    translations += row.vwsAltWords.size();
    for (const std::u16string& text : row.vwsAltWords) units += text.size() + 8;
  }
  keys.Reserve(translations, units);
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
  // For the rows the entries were made from, a row of the run's first grammar and number is its
  // own entry's word; another row of the run (a number code that gives the same key) is looked
  // up under the first's grammar and number, as is every row of other rows.
  const bool ownRows = MadeFrom(rows);
  for (const ExtendedKeys::Run& run : runs) {
    const size_t head = keys[run.first].record;
    std::vector<int>& entries = records.emplace_back();
    for (size_t s = run.first; s < run.first + run.count; ++s) {
      const size_t r = keys[s].record;
      const std::span<const int> same =
          ownRows && m_kindOfEntry[r] == m_kindOfEntry[head]
              ? EntriesOfGroup(m_groupOfEntry[r])
              : EntriesOf(Head{rows[r].wsKeyWord, rows[head].wsFrGram, rows[head].wsFrNumber});
      if (run.count == 1) {
        entries.assign(same.begin(), same.end());
        break;
      }
      // An answer listed twice (two rows of one word sharing the translation) stands for the
      // same entries once.
      for (const int entry : same) {
        if (std::find(entries.begin(), entries.end(), entry) == entries.end())
          entries.push_back(entry);
      }
    }
  }
  return records;
}

// An answer listed twice (two rows of one word sharing the translation) stands for the same
// entries once.
std::vector<int> LessonEntries::EntriesOfReversed(const WordsData& reversed) const {
  std::vector<int> entries;
  for (const std::u16string& word : reversed.vwsAltWords) {
    for (const int entry : EntriesOf(Head{word, reversed.wsFrGram, reversed.wsFrNumber})) {
      if (std::find(entries.begin(), entries.end(), entry) == entries.end())
        entries.push_back(entry);
    }
  }
  return entries;
}

}  // namespace verbaro::progress
