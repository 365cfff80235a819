#include "data/ExamPreparation.h"

#include "data/FilterKinds.h"

#include "data/DiagnosticLog.h"

namespace verbaro {

namespace {

bool Logging(const DiagnosticLog* log) { return log != nullptr && log->IsAttached(); }

void LogSkippedPhrase(DiagnosticLog* log, const WordsData& row) {
  if (Logging(log)) log->Line(u"Пропущена фраза: ", row.wsKeyWord, u" : ", row.wsFrGram);
}

void LogUnaskable(DiagnosticLog* log, const WordsData& row) {
  if (Logging(log)) log->Line(u"Пропущена запись без своей группы: ", row.wsKeyWord, u" : ", GroupKey(row));
}

// Phrases and rows that cannot be asked stay out of the exam; true when the row is left out.
bool LeftOut(DiagnosticLog* log, const WordsData& row) {
  if (IsPhraseRow(row)) {
    LogSkippedPhrase(log, row);
    return true;
  }
  if (!CanBeAsked(row)) {
    LogUnaskable(log, row);
    return true;
  }
  return false;
}

void LogFiled(DiagnosticLog* log, const std::u16string& key, const std::u16string& answer) {
  if (Logging(log)) log->Line(u"(", key, u") -> ", answer);
}

void LogEntries(DiagnosticLog* log, const ExamEntries& entries) {
  if (!Logging(log)) return;
  log->Line(u"mapExtKeyToWD.size() = ", static_cast<int64_t>(entries.size()));
  for (const auto& [key, record] : entries) {
    log->Write(key, u" :");
    for (const std::u16string& answer : record.vwsAltWords) log->Write(u" ", answer, u";");
    log->Line();
  }
}

}  // namespace

bool IsPhraseRow(const WordsData& row) { return row.wsFrGram == u"~~"; }

bool CanBeAsked(const WordsData& row) {
  const std::u16string groupKey = GroupKey(row);
  for (const FilterPlacement& placement : ClassifyRecord(row.wsFrGram, row.wsFrNumber, true)) {
    if (placement.gramKey == groupKey) return true;
  }
  return false;
}

ExamEntries MergeRowsByWord(const std::vector<WordsData>& rows, DiagnosticLog* log) {
  ExamEntries entries;
  for (const WordsData& row : rows) {
    if (LeftOut(log, row)) continue;
    const std::u16string key = ExtendedKey(row.wsKeyWord, row);
    for (const std::u16string& answer : row.vwsAltWords) {
      LogFiled(log, key, answer);
      auto found = entries.find(key);
      if (found == entries.end()) {
        WordsData entry = row;
        entry.vwsAltWords = {answer};
        entry.vnWordErrors = {0};
        entries.emplace(key, std::move(entry));
      } else {
        found->second.vwsAltWords.push_back(answer);
        found->second.vnWordErrors.push_back(0);
      }
    }
  }
  LogEntries(log, entries);
  return entries;
}

ExamEntries MergeRowsByTranslation(const std::vector<WordsData>& rows, DiagnosticLog* log) {
  ExamEntries entries;
  for (const WordsData& row : rows) {
    if (LeftOut(log, row)) continue;
    for (const std::u16string& answer : row.vwsAltWords) {
      const std::u16string key = ExtendedKey(answer, row);
      LogFiled(log, key, row.wsKeyWord);
      auto found = entries.find(key);
      if (found == entries.end()) {
        WordsData entry;
        entry.wsKeyWord = answer;
        entry.wsFrGram = row.wsFrGram;
        entry.wsFrNumber = row.wsFrNumber;
        entry.vpMp3Word = row.vpMp3Word;
        entry.nvMp3WordSize = row.nvMp3WordSize;
        entry.vwsAltWords = {row.wsKeyWord};
        entry.vnWordErrors = {0};
        entries.emplace(key, std::move(entry));
      } else {
        WordsData& entry = found->second;
        entry.vpMp3Word.insert(entry.vpMp3Word.end(), row.vpMp3Word.begin(), row.vpMp3Word.end());
        entry.nvMp3WordSize.insert(entry.nvMp3WordSize.end(), row.nvMp3WordSize.begin(),
                                   row.nvMp3WordSize.end());
        entry.vwsAltWords.push_back(row.wsKeyWord);
        entry.vnWordErrors.push_back(0);
      }
    }
  }
  LogEntries(log, entries);
  return entries;
}

AltWordsIndex BuildAltWordsIndex(const std::vector<WordsData>& records) {
  AltWordsIndex index;
  for (size_t k = 0; k < records.size(); ++k) {
    for (const std::u16string& answer : records[k].vwsAltWords)
      index[ExtendedKey(answer, records[k])].push_back(static_cast<int32_t>(k));
  }
  return index;
}

}  // namespace verbaro
