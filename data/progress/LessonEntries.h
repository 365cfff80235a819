#pragma once
// The entries of a loaded lesson as the progress store knows them, and which entries a record
// of any mode stands for.
#include <map>
#include <tuple>
#include <vector>

#include "data/WordsData.h"
#include "data/progress/ProgressTypes.h"

namespace verbaro::progress {

class LessonEntries {
 public:
  // `rows`: the lesson as read from its file, one record per row, in row order.
  explicit LessonEntries(const std::vector<WordsData>& rows);

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
  using Head = std::tuple<std::u16string, std::u16string, std::u16string>;
  std::vector<EntryKey> m_keys;
  std::map<Head, std::vector<int>> m_entriesByHead;
};

}  // namespace verbaro::progress
