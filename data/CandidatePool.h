#pragma once
// The wrong-answer candidates of one exam question: the records of the asked record's
// grammatical group, each with the answers it had when the filters were built, less what the
// question has taken out. The group and the answers stay the lesson's own; the pool keeps only
// the few entries and texts a question removes, so that building a question costs nothing per
// record of a group however large the lesson.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "data/WordsData.h"

namespace verbaro {

class CandidatePool {
 public:
  // Every record of `group` (indexes into `records`, ascending) with its answers. Both must stay
  // unchanged while the pool is read.
  void Fill(const std::vector<int32_t>& group, const std::vector<WordsData>& records);
  void clear();

  bool empty() const { return m_count == 0; }
  size_t size() const { return m_count; }
  // The record index of the entry at `position` (below size()), in ascending order of index.
  int32_t IndexAt(size_t position) const;
  bool Contains(int32_t index) const;
  // The texts still in the entry of record `index` (empty when it is not in the pool).
  std::span<const std::u16string> TextsOf(int32_t index) const;

  // Takes the text at `at` out of the entry of record `index`; taking its last text takes the
  // entry out.
  void RemoveText(int32_t index, size_t at);
  void Remove(int32_t index);

 private:
  static constexpr size_t kAbsent = static_cast<size_t>(-1);
  // The entry's position in the group, or kAbsent when it is not in the pool.
  size_t PositionOf(int32_t index) const;
  std::vector<std::u16string>* Shortened(int32_t index);
  const std::vector<std::u16string>* Shortened(int32_t index) const;

  const std::vector<int32_t>* m_group = nullptr;
  const std::vector<WordsData>* m_records = nullptr;
  size_t m_count = 0;
  std::vector<size_t> m_removed;  // positions in the group of the entries taken out, ascending
  std::vector<std::pair<int32_t, std::vector<std::u16string>>> m_shortened;  // entries less texts
};

}  // namespace verbaro
