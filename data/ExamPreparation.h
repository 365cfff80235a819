#pragma once
// Turning lesson rows into exam records: rows that ask the same question are merged into one
// record gathering all their answers, phrase rows ("~~") and rows that no question could ask are
// dropped, and every answer gets an error counter of 0. Plain functions over records, used by the
// exam rules.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "data/WordsData.h"

namespace verbaro {

class DiagnosticLog;

// Exam records by their key, in key order (UTF-16 code units, a prefix first).
using ExamEntries = std::map<std::u16string, WordsData>;
// Extended answer text -> indexes of the records that have that answer (once per occurrence).
using AltWordsIndex = std::map<std::u16string, std::vector<int32_t>>;

// A phrase row: grammar code exactly "~~".
bool IsPhraseRow(const WordsData& row);

// Whether a question can ask this row: the filters file it under its own group key (grammar code
// and number suffix), where question building looks for its wrong answers. A verb with number
// "s", a noun without a number or of grammar "nm", a plain "adj" are filed elsewhere, so they
// could be drawn but never asked.
bool CanBeAsked(const WordsData& row);

// Foreign word -> translations. Key: the extended word ("maison, f,s"). An entry keeps the
// recordings and text lines of its first row with an answer; later rows add only answers.
ExamEntries MergeRowsByWord(const std::vector<WordsData>& rows, DiagnosticLog* log);

// Translation -> foreign words. Key: each answer's extended text ("дом, f,s"). The record asks
// the translation; its answers are the foreign words of the rows that have it, and it gathers
// the recordings of all those rows in row order. Its three text lines stay empty.
ExamEntries MergeRowsByTranslation(const std::vector<WordsData>& rows, DiagnosticLog* log);

// The reverse index over prepared records: every answer's extended text to the record indexes.
AltWordsIndex BuildAltWordsIndex(const std::vector<WordsData>& records);

}  // namespace verbaro
