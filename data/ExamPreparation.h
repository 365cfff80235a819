#pragma once
// Turning lesson rows into exam records: rows that ask the same question are merged into one
// record gathering all their answers, phrase rows ("~~") and rows that no question could ask are
// dropped, and every answer gets an error counter of 0. Plain functions over records, used by the
// exam rules.
#include <cstdint>
#include <string>
#include <vector>

#include "data/ExtendedKeys.h"
#include "data/WordsData.h"

namespace verbaro {

class DiagnosticLog;

// Exam records in key order (UTF-16 code units, a prefix first), with the key of each.
struct ExamEntries {
  ExtendedKeys keys;  // sorted; the keys of record m start runs[m]
  std::vector<ExtendedKeys::Run> runs;
  std::vector<WordsData> records;

  std::u16string_view Key(size_t m) const { return keys.Key(runs[m].first); }
};

// Extended answer text -> indexes of the records that have that answer (once per occurrence,
// ascending), over the records it is given. Made on first use: Exam-2 asks it nothing but the
// diagnostic listing, so there it costs nothing unless a log is attached.
class AltWordsIndex {
 public:
  // The index over `records`, which must stay unchanged while it is used.
  void Over(const std::vector<WordsData>& records);
  void clear();

  size_t size() const;  // the number of different keys
  bool empty() const { return size() == 0; }
  // The records under `key`; at() throws std::out_of_range when there are none, Find is empty.
  std::vector<int32_t> at(std::u16string_view key) const;
  std::vector<int32_t> Find(std::u16string_view key) const;
  bool Contains(std::u16string_view key, int32_t record) const;
  // Every key in order with its records.
  template <typename Visit>
  void ForEach(Visit visit) const {
    Build();
    for (const ExtendedKeys::Run& run : m_runs) visit(m_keys.Key(run.first), RecordsOf(run));
  }

 private:
  void Build() const;
  std::vector<int32_t> RecordsOf(ExtendedKeys::Run run) const;
  // The run of `key`, or a run of count 0.
  ExtendedKeys::Run RunOf(std::u16string_view key) const;

  const std::vector<WordsData>* m_records = nullptr;
  mutable bool m_built = false;
  mutable ExtendedKeys m_keys;
  mutable std::vector<ExtendedKeys::Run> m_runs;
};

// A phrase row: grammar code exactly "~~" (IsLeftOutGram).
bool IsPhraseRow(const WordsData& row);

// Whether a question can ask this row: the filters file it under its own group key (grammar code
// and number suffix), where question building looks for its wrong answers. A verb with number
// "s", a noun without a number or of grammar "nm", a plain "adj" are filed elsewhere, so they
// could be drawn but never asked.
bool CanBeAsked(const WordsData& row);

// Whether the exams merge the row into their records: neither a phrase row nor one that no
// question could ask.
bool IsExamRow(const WordsData& row);

// Foreign word -> translations. Key: the extended word ("maison, f,s"). An entry keeps the
// recordings and text lines of its first row with an answer; later rows add only answers.
// The rows are consumed (the lesson's rows are moved in; a caller that keeps them passes a copy).
ExamEntries MergeRowsByWord(std::vector<WordsData> rows, DiagnosticLog* log);

// Translation -> foreign words. Key: each answer's extended text ("дом, f,s"). The record asks
// the translation; its answers are the foreign words of the rows that have it, and it gathers
// the recordings of all those rows in row order. Its three text lines stay empty.
// The rows are consumed as by MergeRowsByWord.
ExamEntries MergeRowsByTranslation(std::vector<WordsData> rows, DiagnosticLog* log);

}  // namespace verbaro
