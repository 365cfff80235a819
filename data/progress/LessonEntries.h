#pragma once
// The entries of a loaded lesson as the progress store knows them, and which entries a record
// of any mode stands for.
#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/WordsData.h"
#include "data/progress/ProgressTypes.h"

namespace verbaro::progress {

class LessonEntries {
 public:
  // `rows`: the lesson as read from its file, one record per row, in row order.
  explicit LessonEntries(const std::vector<WordsData>& rows);
  // The index refers to the keys' own texts: a copy would refer to the original's.
  LessonEntries(const LessonEntries&) = delete;
  LessonEntries& operator=(const LessonEntries&) = delete;

  // One key per row, in row order: entry i is row i.
  const std::vector<EntryKey>& Keys() const { return m_keys; }

  // Every entry with this word, grammar and number (one per occurrence), in row order: what a
  // direct record stands for when rows of one word are merged (Экзамен-1).
  std::vector<int> EntriesOfWord(const std::u16string& word, const std::u16string& gram,
                                 const std::u16string& number) const;
  // The French entries a reversed record holds (its answers, with its grammar and number).
  std::vector<int> EntriesOfReversed(const WordsData& reversed) const;
  // The records the "-2" modes make of `rows` (the rows this was made from), one per translation
  // of one grammatical kind as the reversal makes them, each with the French entries it stands
  // for. A row of grammar "~~" or without translations makes none, and an entry no record stands
  // for is never asked from Russian to French.
  std::vector<std::vector<int>> ReversedRecords(const std::vector<WordsData>& rows) const;

 private:
  // A word with its grammar and number, viewing the texts of the first key that has them.
  struct Head {
    std::u16string_view word, gram, number;
    bool operator==(const Head&) const = default;
  };
  struct HeadHash {
    size_t operator()(const Head& head) const;
  };
  // The entries of one head, in row order; empty for a head the lesson does not have.
  std::span<const int> EntriesOf(const Head& head) const;
  std::span<const int> EntriesOfGroup(uint32_t group) const;
  // Whether `rows` are the rows the entries were made from (their words, grammar and numbers).
  bool MadeFrom(const std::vector<WordsData>& rows) const;

  std::vector<EntryKey> m_keys;
  std::unordered_map<Head, uint32_t, HeadHash> m_groupOfHead;
  // The entries of group g are m_grouped[m_groupStart[g] .. m_groupStart[g + 1]).
  std::vector<uint32_t> m_groupOfEntry;
  // Per entry, its grammar and number as a small number (equal for equal pairs).
  std::vector<uint32_t> m_kindOfEntry;
  std::vector<uint32_t> m_groupStart;
  std::vector<int> m_grouped;
};

}  // namespace verbaro::progress
