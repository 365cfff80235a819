#include "tools/LessonRules.h"

#include <map>

#include "data/FilterKinds.h"

namespace verbaro::lesson {
namespace {

// Entries with grammar exactly "~~" stay out of the reversed and exam modes.
bool IsLeftOutOfReversal(const EntryText& entry) { return entry.grammar == u"~~"; }

}  // namespace

WordsData AsRecord(const EntryText& entry) {
  WordsData record;
  record.wsFrGram = entry.grammar;
  record.wsFrNumber = entry.number;
  record.wsKeyWord = entry.word;
  record.wsInfo1 = entry.info1;
  record.wsInfo2 = entry.info2;
  record.wsInfo3 = entry.info3;
  record.vwsAltWords = entry.translations;
  record.vnWordErrors.assign(entry.translations.size(), 0);
  return record;
}

std::vector<MergeOverflow> FindMergeOverflows(const std::vector<EntryText>& entries) {
  // Key -> (answers gathered, entries that gave them), for each direction of merging.
  std::map<std::u16string, MergeOverflow> byTranslation;
  std::map<std::u16string, MergeOverflow> byWord;
  const auto add = [](MergeOverflow& merge, int entryNumber, size_t answers) {
    merge.answers += answers;
    if (merge.entryNumbers.empty() || merge.entryNumbers.back() != entryNumber)
      merge.entryNumbers.push_back(entryNumber);
  };
  for (const EntryText& entry : entries) {
    if (IsLeftOutOfReversal(entry)) continue;
    const WordsData record = AsRecord(entry);
    for (const std::u16string& translation : entry.translations)
      add(byTranslation[ExtendedKey(translation, record)], entry.entryNumber, 1);
    if (!entry.translations.empty())
      add(byWord[ExtendedKey(entry.word, record)], entry.entryNumber, entry.translations.size());
  }

  std::vector<MergeOverflow> overflows;
  for (auto* merges : {&byTranslation, &byWord}) {
    for (auto& [key, merge] : *merges) {
      if (merge.answers <= kMaxAnswers) continue;
      merge.reversed = merges == &byTranslation;
      merge.key = key;
      overflows.push_back(merge);
    }
  }
  return overflows;
}

std::vector<const EntryText*> FindUnaskableEntries(const std::vector<EntryText>& entries) {
  std::vector<const EntryText*> unaskable;
  for (const EntryText& entry : entries) {
    const std::vector<FilterPlacement> placements =
        ClassifyRecord(entry.grammar, entry.number, /*bExamMode=*/true);
    if (placements.empty()) continue;  // left out of the exams altogether
    // The exams draw the wrong answers from the filter group the record is filed under; a
    // record whose own group key names none of them gets no question.
    if (GroupKey(AsRecord(entry)) != placements.back().gramKey) unaskable.push_back(&entry);
  }
  return unaskable;
}

}  // namespace verbaro::lesson
