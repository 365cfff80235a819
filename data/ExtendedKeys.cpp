#include "data/ExtendedKeys.h"

#include <algorithm>
#include <stdexcept>

namespace verbaro {

void ExtendedKeys::Reserve(size_t keys, size_t units) {
  m_sources.reserve(keys);
  m_text.reserve(units);
}

void ExtendedKeys::Add(std::u16string_view text, const WordsData& row, size_t record,
                       size_t answer) {
  static constexpr std::u16string_view kSeparator = u", ";
  const std::u16string suffix = NumberSuffix(row.wsFrNumber);  // two units at most, kept in place
  const size_t offset = m_text.size();
  const size_t length = text.size() + kSeparator.size() + row.wsFrGram.size() + suffix.size();
  if (offset + length > UINT32_MAX || record > UINT32_MAX || answer > UINT32_MAX) {
    throw std::length_error("ExtendedKeys");
  }
  for (const std::u16string_view piece :
       {text, kSeparator, std::u16string_view(row.wsFrGram), std::u16string_view(suffix)}) {
    m_text.insert(m_text.end(), piece.begin(), piece.end());
  }
  m_sources.push_back({Head({m_text.data() + offset, length}), static_cast<uint32_t>(offset),
                       static_cast<uint32_t>(length), static_cast<uint32_t>(record),
                       static_cast<uint32_t>(answer)});
}

uint64_t ExtendedKeys::Head(std::u16string_view key) {
  // A key shorter than four units is padded with zeros, below every code unit a key holds (a
  // lesson text ends at its first NUL), so a prefix still comes first.
  uint64_t head = 0;
  for (size_t i = 0; i < 4; ++i) head = (head << 16) | (i < key.size() ? key[i] : 0u);
  return head;
}

void ExtendedKeys::Sort() {
  // Most keys differ in their first four units: comparing the packed heads settles those
  // without reading the shared text.
  std::stable_sort(m_sources.begin(), m_sources.end(), [this](const Source& a, const Source& b) {
    if (a.head != b.head) return a.head < b.head;
    return KeyOf(a) < KeyOf(b);
  });
}

std::vector<ExtendedKeys::Run> ExtendedKeys::Runs() const {
  std::vector<Run> runs;
  for (size_t s = 0; s < m_sources.size(); ++s) {
    if (s > 0 && KeyOf(m_sources[s]) == KeyOf(m_sources[s - 1])) {
      ++runs.back().count;
    } else {
      runs.push_back({s, 1});
    }
  }
  return runs;
}

}  // namespace verbaro
