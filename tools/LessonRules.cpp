#include "tools/LessonRules.h"

#include <algorithm>
#include <map>
#include <set>

#include "data/ExamPreparation.h"
#include "data/FilterKinds.h"
#include "data/GrammarCodes.h"
#include "data/LessonState.h"

namespace verbaro::lesson {
namespace {

bool IsWordCharacter(char16_t c) {
  if ((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) return true;
  return c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x206F);
}

char16_t Lower(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c + 0x20;
  if (c >= u'А' && c <= u'Я') return c + 0x20;
  if (c == u'Ё' || c == u'ё') return u'е';
  if ((c >= 0xC0 && c <= 0xDE) && c != 0xD7) return c + 0x20;
  return c;
}

// The words of a text, lower case, one space between them and one around them.
std::u16string Words(const std::u16string& text) {
  std::u16string words = u" ";
  for (const char16_t c : text) {
    if (IsWordCharacter(c)) {
      words += Lower(c);
    } else if (words.back() != u' ') {
      words += u' ';
    }
  }
  if (words.back() != u' ') words += u' ';
  return words;
}

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
    const WordsData record = AsRecord(entry);
    // Each direction counts the rows its modes keep: the reversed modes all but exactly "~~",
    // «Экзамен-1» only the rows its questions can ask ("~~~" is in no exam filter).
    if (!IsLeftOutGram(entry.grammar)) {
      for (const std::u16string& translation : entry.translations)
        add(byTranslation[ExtendedKey(translation, record)], entry.entryNumber, 1);
    }
    if (IsExamRow(record) && !entry.translations.empty())
      add(byWord[ExtendedKey(entry.word, record)], entry.entryNumber, entry.translations.size());
  }

  std::vector<MergeOverflow> overflows;
  for (auto* merges : {&byTranslation, &byWord}) {
    for (auto& [key, merge] : *merges) {
      if (merge.answers <= static_cast<size_t>(kMaxAltWords)) continue;
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
    const FilterPlacements placements =
        ClassifyRecord(entry.grammar, entry.number, /*bExamMode=*/true);
    if (placements.empty()) continue;  // left out of the exams altogether
    // The exams draw the wrong answers from the filter group the record is filed under; a
    // record whose own group key names none of them gets no question.
    if (GroupKey(AsRecord(entry)) != placements.back().gramKey) unaskable.push_back(&entry);
  }
  return unaskable;
}

std::vector<InfoGivingAnswer> FindInfoGivingAnswers(const std::vector<EntryText>& entries) {
  std::vector<InfoGivingAnswer> found;
  for (const EntryText& entry : entries) {
    const std::u16string* infos[] = {&entry.info1, &entry.info2, &entry.info3};
    for (int line = 0; line < 3; ++line) {
      const std::u16string info = Words(*infos[line]);
      for (const std::u16string& translation : entry.translations) {
        const std::u16string answer = Words(translation);
        if (answer.size() > 3 && info.find(answer) != std::u16string::npos) {
          found.push_back({&entry, line + 1, translation});
          break;
        }
      }
    }
  }
  return found;
}

namespace {

// The groups of one exam direction whose questions show fewer than all choices.
std::vector<SmallExamGroup> SmallGroupsOf(const ExamEntries& records, bool reversed) {
  struct Group {
    std::set<std::u16string> answers;
    size_t mostOwnAnswers = 0;
  };
  std::map<std::u16string, Group> groups;
  for (const WordsData& record : records.records) {
    Group& group = groups[GroupKey(record)];
    const std::set<std::u16string> own(record.vwsAltWords.begin(), record.vwsAltWords.end());
    group.answers.insert(own.begin(), own.end());
    group.mostOwnAnswers = std::max(group.mostOwnAnswers, own.size());
  }
  std::vector<SmallExamGroup> small;
  const auto choices = static_cast<size_t>(kMaxAltWords);
  for (const auto& [key, group] : groups) {
    // A question shows its right answer and wrong ones that are none of its record's answers.
    const size_t wrong = group.answers.size() - group.mostOwnAnswers;
    const size_t shown = 1 + std::min(choices - 1, wrong);
    if (shown < choices) small.push_back({reversed, key, shown, {}});
  }
  return small;
}

}  // namespace

std::vector<SmallExamGroup> FindSmallExamGroups(const std::vector<EntryText>& entries) {
  std::vector<WordsData> rows;
  for (const EntryText& entry : entries) rows.push_back(AsRecord(entry));
  std::vector<SmallExamGroup> small = SmallGroupsOf(MergeRowsByWord(rows, nullptr), false);
  for (SmallExamGroup& group : SmallGroupsOf(MergeRowsByTranslation(rows, nullptr), true))
    small.push_back(std::move(group));
  for (SmallExamGroup& group : small) {
    for (size_t i = 0; i < entries.size(); ++i) {
      if (CanBeAsked(rows[i]) && !IsPhraseRow(rows[i]) && GroupKey(rows[i]) == group.group)
        group.entryNumbers.push_back(entries[i].entryNumber);
    }
  }
  return small;
}

}  // namespace verbaro::lesson
