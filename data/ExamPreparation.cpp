#include "data/ExamPreparation.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "data/FilterKinds.h"
#include "data/GrammarCodes.h"
#include "data/ReversedRecords.h"

#include "data/DiagnosticLog.h"

namespace verbaro {

namespace {

bool Logging(const DiagnosticLog* log) { return log != nullptr && log->IsAttached(); }

void LogSkippedPhrase(DiagnosticLog* log, const WordsData& row) {
  if (Logging(log)) log->Line(u"Пропущена фраза: ", row.wsKeyWord, u" : ", row.wsFrGram);
}

void LogUnaskable(DiagnosticLog* log, const WordsData& row) {
  if (Logging(log))
    log->Line(u"Пропущена запись без своей группы: ", row.wsKeyWord, u" : ", GroupKey(row));
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

void LogFiled(DiagnosticLog* log, std::u16string_view key, const std::u16string& answer) {
  if (Logging(log)) log->Line(u"(", key, u") -> ", answer);
}

void LogEntries(DiagnosticLog* log, const ExamEntries& entries) {
  if (!Logging(log)) return;
  log->Line(u"mapExtKeyToWD.size() = ", static_cast<int64_t>(entries.records.size()));
  for (size_t m = 0; m < entries.records.size(); ++m) {
    log->Write(entries.Key(m), u" :");
    for (const std::u16string& answer : entries.records[m].vwsAltWords)
      log->Write(u" ", answer, u";");
    log->Line();
  }
}

// Room for the keys of the rows kept, one per row or one per answer.
void ReserveKeys(ExtendedKeys& keys, const std::vector<WordsData>& rows, bool perAnswer) {
  size_t count = 0, units = 0;
  for (const WordsData& row : rows) {
    const size_t tail = row.wsFrGram.size() + 4;  // ", " and ",s" at most
    if (!perAnswer) {
      ++count;
      units += row.wsKeyWord.size() + tail;
      continue;
    }
    count += row.vwsAltWords.size();
    for (const std::u16string& answer : row.vwsAltWords) units += answer.size() + tail;
  }
  keys.Reserve(count, units);
}

}  // namespace

bool IsPhraseRow(const WordsData& row) { return IsLeftOutGram(row.wsFrGram); }

bool IsExamRow(const WordsData& row) { return !IsPhraseRow(row) && CanBeAsked(row); }

bool CanBeAsked(const WordsData& row) {
  const std::u16string groupKey = GroupKey(row);
  for (const FilterPlacement& placement : ClassifyRecord(row.wsFrGram, row.wsFrNumber, true)) {
    if (placement.gramKey == groupKey) return true;
  }
  return false;
}

ExamEntries MergeRowsByWord(std::vector<WordsData> rows, DiagnosticLog* log) {
  ExamEntries entries;
  ReserveKeys(entries.keys, rows, false);
  for (size_t n = 0; n < rows.size(); ++n) {
    const WordsData& row = rows[n];
    // A row without answers adds nothing, not even its recording.
    if (LeftOut(log, row) || row.vwsAltWords.empty()) continue;
    entries.keys.Add(row.wsKeyWord, row, n, 0);
    const std::u16string_view key = entries.keys.Key(entries.keys.size() - 1);
    for (const std::u16string& answer : row.vwsAltWords) LogFiled(log, key, answer);
  }
  entries.keys.Sort();
  entries.runs = entries.keys.Runs();
  entries.records.reserve(entries.runs.size());
  // The entry is the run's first row; the later rows of the run add their answers.
  for (const ExtendedKeys::Run& run : entries.runs) {
    WordsData& entry =
        entries.records.emplace_back(std::move(rows[entries.keys[run.first].record]));
    for (size_t s = run.first + 1; s < run.first + run.count; ++s) {
      WordsData& row = rows[entries.keys[s].record];
      entry.vwsAltWords.append(std::make_move_iterator(row.vwsAltWords.begin()),
                               std::make_move_iterator(row.vwsAltWords.end()));
    }
    entry.vnWordErrors.assign(entry.vwsAltWords.size(), 0);
  }
  LogEntries(log, entries);
  return entries;
}

ExamEntries MergeRowsByTranslation(std::vector<WordsData> rows, DiagnosticLog* log) {
  ExamEntries entries;
  ReserveKeys(entries.keys, rows, true);
  for (size_t n = 0; n < rows.size(); ++n) {
    const WordsData& row = rows[n];
    if (LeftOut(log, row)) continue;
    for (size_t i = 0; i < row.vwsAltWords.size(); ++i) {
      entries.keys.Add(row.vwsAltWords[i], row, n, i);
      LogFiled(log, entries.keys.Key(entries.keys.size() - 1), row.wsKeyWord);
    }
  }
  entries.keys.Sort();
  entries.runs = entries.keys.Runs();
  entries.records = ReverseRows(rows, entries.keys, entries.runs);
  LogEntries(log, entries);
  return entries;
}

void AltWordsIndex::Over(const std::vector<WordsData>& records) {
  clear();
  m_records = &records;
}

void AltWordsIndex::clear() {
  m_records = nullptr;
  m_built = false;
  m_keys = {};
  m_runs.clear();
}

void AltWordsIndex::Build() const {
  if (m_built) return;
  m_built = true;
  if (m_records == nullptr) return;
  const std::vector<WordsData>& records = *m_records;
  ReserveKeys(m_keys, records, true);
  for (size_t k = 0; k < records.size(); ++k) {
    for (size_t i = 0; i < records[k].vwsAltWords.size(); ++i)
      m_keys.Add(records[k].vwsAltWords[i], records[k], k, i);
  }
  m_keys.Sort();  // stable: the records of one key stay ascending
  m_runs = m_keys.Runs();
}

size_t AltWordsIndex::size() const {
  Build();
  return m_runs.size();
}

ExtendedKeys::Run AltWordsIndex::RunOf(std::u16string_view key) const {
  Build();
  const auto found = std::lower_bound(m_runs.begin(), m_runs.end(), key,
                                      [this](const ExtendedKeys::Run& run, std::u16string_view k) {
                                        return m_keys.Key(run.first) < k;
                                      });
  if (found == m_runs.end() || m_keys.Key(found->first) != key) return {0, 0};
  return *found;
}

std::vector<int32_t> AltWordsIndex::RecordsOf(ExtendedKeys::Run run) const {
  std::vector<int32_t> indexes;
  indexes.reserve(run.count);
  for (size_t s = run.first; s < run.first + run.count; ++s) {
    indexes.push_back(static_cast<int32_t>(m_keys[s].record));
  }
  return indexes;
}

std::vector<int32_t> AltWordsIndex::Find(std::u16string_view key) const {
  return RecordsOf(RunOf(key));
}

std::vector<int32_t> AltWordsIndex::at(std::u16string_view key) const {
  const ExtendedKeys::Run run = RunOf(key);
  if (run.count == 0) throw std::out_of_range("AltWordsIndex::at");
  return RecordsOf(run);
}

bool AltWordsIndex::Contains(std::u16string_view key, int32_t record) const {
  const ExtendedKeys::Run run = RunOf(key);
  for (size_t s = run.first; s < run.first + run.count; ++s) {
    if (static_cast<int32_t>(m_keys[s].record) == record) return true;
  }
  return false;
}

}  // namespace verbaro
