#pragma once
// Many extended keys (a text, ", ", a record's grammar code and number suffix) written one after
// another into one shared text, each with the record and answer it was made for, and sorted in
// the code-unit order the lesson's ordered maps use. The reversal and the exam preparations file
// every translation or word under such a key; kept this way, making and sorting them allocates
// nothing per key.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/WordsData.h"

namespace verbaro {

class ExtendedKeys {
 public:
  struct Source {
    uint64_t head;    // the key's first four code units, packed so that they compare as numbers
    uint32_t offset;  // of the key in the shared text
    uint32_t length;
    uint32_t record;
    uint32_t answer;
  };
  // A run of equal keys after sorting: its first source and how many there are.
  struct Run {
    size_t first;
    size_t count;
  };

  void Reserve(size_t keys, size_t units);
  // Files `text` of `row` under its extended key, as answer `answer` of record `record`.
  void Add(std::u16string_view text, const WordsData& row, size_t record, size_t answer);
  // Orders the keys by UTF-16 code units, a prefix first; equal keys keep the order they were
  // added in.
  void Sort();
  std::vector<Run> Runs() const;

  size_t size() const { return m_sources.size(); }
  const Source& operator[](size_t i) const { return m_sources[i]; }
  std::u16string_view Key(size_t i) const { return KeyOf(m_sources[i]); }

 private:
  static uint64_t Head(std::u16string_view key);
  std::u16string_view KeyOf(const Source& source) const {
    return {m_text.data() + source.offset, source.length};
  }

  std::vector<char16_t> m_text;
  std::vector<Source> m_sources;
};

}  // namespace verbaro
