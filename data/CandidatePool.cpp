#include "data/CandidatePool.h"

#include <algorithm>

namespace verbaro {

void CandidatePool::Fill(const std::vector<int32_t>& group, const std::vector<WordsData>& records) {
  clear();
  m_group = &group;
  m_records = &records;
  m_count = group.size();
}

void CandidatePool::clear() {
  m_group = nullptr;
  m_records = nullptr;
  m_count = 0;
  m_removed.clear();
  m_shortened.clear();
}

int32_t CandidatePool::IndexAt(size_t position) const {
  // Each entry taken out at or before the position moves it one further along the group.
  for (const size_t removed : m_removed) {
    if (removed > position) break;
    ++position;
  }
  return (*m_group)[position];
}

size_t CandidatePool::PositionOf(int32_t index) const {
  if (m_group == nullptr) return kAbsent;
  const auto found = std::lower_bound(m_group->begin(), m_group->end(), index);
  if (found == m_group->end() || *found != index) return kAbsent;
  const auto position = static_cast<size_t>(found - m_group->begin());
  return std::binary_search(m_removed.begin(), m_removed.end(), position) ? kAbsent : position;
}

bool CandidatePool::Contains(int32_t index) const { return PositionOf(index) != kAbsent; }

const std::vector<std::u16string>* CandidatePool::Shortened(int32_t index) const {
  for (const auto& [shortened, texts] : m_shortened) {
    if (shortened == index) return &texts;
  }
  return nullptr;
}

std::vector<std::u16string>* CandidatePool::Shortened(int32_t index) {
  return const_cast<std::vector<std::u16string>*>(std::as_const(*this).Shortened(index));
}

std::span<const std::u16string> CandidatePool::TextsOf(int32_t index) const {
  if (!Contains(index) || index < 0 || static_cast<size_t>(index) >= m_records->size()) return {};
  if (const std::vector<std::u16string>* texts = Shortened(index)) return *texts;
  return (*m_records)[index].vwsAltWords;
}

void CandidatePool::RemoveText(int32_t index, size_t at) {
  const std::span<const std::u16string> texts = TextsOf(index);
  if (at >= texts.size()) return;
  if (texts.size() == 1) {
    Remove(index);
    return;
  }
  std::vector<std::u16string>* shortened = Shortened(index);
  if (shortened == nullptr) {
    shortened =
        &m_shortened.emplace_back(index, std::vector<std::u16string>(texts.begin(), texts.end()))
             .second;
  }
  shortened->erase(shortened->begin() + static_cast<std::ptrdiff_t>(at));
}

void CandidatePool::Remove(int32_t index) {
  const size_t position = PositionOf(index);
  if (position == kAbsent) return;
  m_removed.insert(std::upper_bound(m_removed.begin(), m_removed.end(), position), position);
  --m_count;
  std::erase_if(m_shortened, [index](const auto& entry) { return entry.first == index; });
}

}  // namespace verbaro
