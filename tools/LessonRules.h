#pragma once
// What the lesson tool says about a lesson's texts before or after it is written, on the
// trainer's own rules from the core (extended keys, grammatical groups): the merges that would
// give one entry more than five answers, and the entries that the exams cannot ask.
#include <cstddef>
#include <string>
#include <vector>

#include "data/WordsData.h"

namespace verbaro::lesson {

// One lesson entry as the trainer reads it (all texts UTF-16), with its place for messages.
struct EntryText {
  int entryNumber = 0;  // 1-based: a line of a word list or an entry of a lesson file
  std::u16string grammar;
  std::u16string number;
  std::u16string word;
  std::vector<std::u16string> translations;  // non-empty ones, in column order
  std::u16string info1;
  std::u16string info2;
  std::u16string info3;
};

// The entry as the trainer's record (without recordings).
WordsData AsRecord(const EntryText& entry);

struct MergeOverflow {
  bool reversed = false;  // true: a translation shared by too many words (modes "-2");
                          // false: a word whose rows gather too many answers (Exam-1)
  std::u16string key;     // the extended key
  size_t answers = 0;
  std::vector<int> entryNumbers;
};
std::vector<MergeOverflow> FindMergeOverflows(const std::vector<EntryText>& entries);

// Entries whose group key is not a filter group: the exam modes cannot ask them.
std::vector<const EntryText*> FindUnaskableEntries(const std::vector<EntryText>& entries);

// An information line that holds one of the entry's own translations (letters and words alike,
// ignoring case and punctuation): «Экзамен-1» shows it above the choices and gives the answer.
struct InfoGivingAnswer {
  const EntryText* entry = nullptr;
  int infoLine = 0;  // 1 to 3
  std::u16string translation;
};
std::vector<InfoGivingAnswer> FindInfoGivingAnswers(const std::vector<EntryText>& entries);

// A grammatical group too small for the exam's choices: an exam draws the wrong choices of a
// question from the other answers of its group, so a question of this group shows fewer than
// the exam's full number of choices (a verb alone in its group is asked with its own
// translation as the only choice).
struct SmallExamGroup {
  bool reversed = false;  // «Экзамен-2» (the answers are the French words); else «Экзамен-1»
  std::u16string group;  // the group key ("v", "m,s")
  size_t choices = 0;    // the fewest choices a question of the group shows
  std::vector<int> entryNumbers;
};
std::vector<SmallExamGroup> FindSmallExamGroups(const std::vector<EntryText>& entries);

}  // namespace verbaro::lesson
