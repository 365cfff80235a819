#include "data/ReversedRecords.h"

#include <iterator>
#include <utility>

namespace verbaro {

namespace {

// Appends `from` to `into`; moved instead of copied when this is the last use of `from`.
template <typename List>
void Append(List& into, List& from, bool lastUse) {
  if (lastUse && into.empty()) {
    into = std::move(from);
  } else if (lastUse) {
    into.insert(into.end(), std::make_move_iterator(from.begin()),
                std::make_move_iterator(from.end()));
  } else {
    into.insert(into.end(), from.begin(), from.end());
  }
}

class ReversedRecordBuilder {
 public:
  ReversedRecordBuilder(std::vector<WordsData>& rows, const ExtendedKeys& keys)
      : m_rows(rows), m_keys(keys), m_usesLeft(rows.size(), 0) {
    for (size_t s = 0; s < keys.size(); ++s) ++m_usesLeft[keys[s].record];
  }

  // Fills `reversed`, a record made empty in its final place.
  void Build(ExtendedKeys::Run run, WordsData& reversed) {
    const ExtendedKeys::Source& first = m_keys[run.first];
    WordsData& head = m_rows[first.record];
    reversed.wsFrGram = head.wsFrGram;
    reversed.wsFrNumber = head.wsFrNumber;
    reversed.wsKeyWord = std::move(head.vwsAltWords[first.answer]);
    if (run.count > 1) Reserve(reversed, run);
    for (size_t s = run.first; s < run.first + run.count; ++s) {
      const size_t record = m_keys[s].record;
      WordsData& source = m_rows[record];
      const bool lastUse = --m_usesLeft[record] == 0;
      Append(reversed.vpMp3Word, source.vpMp3Word, lastUse);
      Append(reversed.nvMp3WordSize, source.nvMp3WordSize, lastUse);
      reversed.vwsAltWords.push_back(lastUse ? std::move(source.wsKeyWord) : source.wsKeyWord);
    }
    reversed.vnWordErrors.assign(run.count, 0);
  }

 private:
  void Reserve(WordsData& reversed, ExtendedKeys::Run run) const {
    size_t recordings = 0;
    for (size_t s = run.first; s < run.first + run.count; ++s) {
      recordings += m_rows[m_keys[s].record].vpMp3Word.size();
    }
    reversed.vpMp3Word.reserve(recordings);
    reversed.nvMp3WordSize.reserve(recordings);
    reversed.vwsAltWords.reserve(run.count);
  }

  std::vector<WordsData>& m_rows;
  const ExtendedKeys& m_keys;
  std::vector<size_t> m_usesLeft;  // the reversed records each row still goes into
};

}  // namespace

std::vector<WordsData> ReverseRows(std::vector<WordsData>& rows, const ExtendedKeys& keys,
                                   const std::vector<ExtendedKeys::Run>& runs) {
  std::vector<WordsData> reversed;
  reversed.reserve(runs.size());
  ReversedRecordBuilder builder(rows, keys);
  for (const ExtendedKeys::Run& run : runs) builder.Build(run, reversed.emplace_back());
  return reversed;
}

}  // namespace verbaro
