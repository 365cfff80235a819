#pragma once
// The trainer's rules for the texts of a lesson, as the lesson tool needs them: the extended
// keys by which the reversed and exam modes merge entries, the grammatical filters with their
// counts, and the merges that would give one entry more than five answers.
#include <cstddef>
#include <string>
#include <vector>

namespace verbaro::lesson {

inline constexpr size_t kMaxAnswers = 5;

// One lesson entry as the trainer reads it (all texts UTF-16).
struct EntryText {
  int entryNumber = 0;  // 1-based, for messages
  std::u16string grammar;
  std::u16string number;
  std::u16string word;
  std::vector<std::u16string> translations;  // non-empty ones, in column order
};

// ",p" or ",s" when the number code is exactly "p" or "s", else empty.
std::u16string NumberSuffix(const std::u16string& number);
// Grammar code followed by the number suffix, e.g. "m,s", "adj,f", "v".
std::u16string GroupKey(const EntryText& entry);
// "text, " + group key, e.g. "дом, m,s".
std::u16string ExtendedKey(const std::u16string& text, const EntryText& entry);
// Entries with grammar exactly "~~" stay out of the reversed and exam modes.
bool IsLeftOutOfReversal(const EntryText& entry);

// The fine group (e.g. "m,s", "~", "others") the filters file an entry under; the exam modes
// draw wrong answers from it.
std::u16string FilterGroupKey(const EntryText& entry);

struct FilterCount {
  std::u16string name;  // the Filters menu text without the count
  size_t count = 0;
};
// The Filters menu of a Conspect or Video view for these entries, in menu order.
std::vector<FilterCount> CountFilters(const std::vector<EntryText>& entries);

// The reversed entries of the "-2" modes: one per extended translation key, in key order; the
// answers are the words sharing it. Entry numbers are those of the first merged entry.
std::vector<EntryText> ReverseEntries(const std::vector<EntryText>& entries);

struct MergeOverflow {
  bool reversed = false;      // true: a translation shared by too many words (modes "-2");
                              // false: a word whose rows gather too many answers (Exam-1)
  std::u16string key;         // the extended key
  size_t answers = 0;
  std::vector<int> entryNumbers;
};
std::vector<MergeOverflow> FindMergeOverflows(const std::vector<EntryText>& entries);

// Entries whose group key is not a filter group: the exam modes cannot ask them.
std::vector<const EntryText*> FindUnaskableEntries(const std::vector<EntryText>& entries);

}  // namespace verbaro::lesson
