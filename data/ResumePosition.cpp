#include "data/ResumePosition.h"

#include <algorithm>

namespace verbaro {

namespace {

bool IsRecord(const std::vector<WordsData>& records, int32_t record) {
  return record >= 0 && static_cast<size_t>(record) < records.size();
}

// The record that is the `occurrence`-th with this head word, or -1.
int32_t RecordOfOccurrence(const std::vector<WordsData>& records, std::u16string_view keyWord,
                           int32_t occurrence) {
  int32_t seen = 0;
  for (size_t r = 0; r < records.size(); ++r) {
    if (records[r].wsKeyWord != keyWord) continue;
    if (seen == occurrence) return static_cast<int32_t>(r);
    ++seen;
  }
  return -1;
}

}  // namespace

int32_t HeadWordOccurrence(const std::vector<WordsData>& records, int32_t record) {
  if (!IsRecord(records, record)) return -1;
  const std::u16string& keyWord = records[static_cast<size_t>(record)].wsKeyWord;
  return static_cast<int32_t>(
      std::count_if(records.begin(), records.begin() + record,
                    [&keyWord](const WordsData& other) { return other.wsKeyWord == keyWord; }));
}

int32_t ResumePosition(const std::vector<WordsData>& records, const std::vector<int32_t>& filter,
                       int32_t position, std::u16string_view keyWord, int32_t occurrence) {
  const auto count = static_cast<int32_t>(filter.size());
  const bool kept = position >= 0 && position < count;
  if (occurrence >= 0) {
    const int32_t record = RecordOfOccurrence(records, keyWord, occurrence);
    if (record >= 0) {
      if (kept && filter[static_cast<size_t>(position)] == record) return position;
      const auto found = std::find(filter.begin(), filter.end(), record);
      if (found != filter.end()) return static_cast<int32_t>(found - filter.begin());
    }
  }
  const auto hasWord = [&](int32_t at) {
    const int32_t record = filter[static_cast<size_t>(at)];
    return IsRecord(records, record) && records[static_cast<size_t>(record)].wsKeyWord == keyWord;
  };
  if (kept && hasWord(position)) return position;
  for (int32_t at = 0; at < count; ++at) {
    if (hasWord(at)) return at;
  }
  return 0;
}

}  // namespace verbaro
