#pragma once
// The shape of a lesson: the table FrRuDict with fourteen columns that the trainer reads by
// position: 0 entry number, 1 topic, 2 grammar, 3 number, 4 the foreign word or phrase, 5-7 three
// information lines, 8-12 up to five translations, 13 Mp3Word (the recording).
// The entry number is the rowid itself, so rows may carry any rowid, gaps included. The reader,
// the writer and the checker of lessons all take the shape from here.
#include <array>
#include <string>
#include <vector>

namespace verbaro::lesson {

inline constexpr char kLessonTableName[] = "FrRuDict";

inline constexpr int kLessonColumnCount = 14;
inline constexpr int kTopicColumn = 1;
inline constexpr int kGrammarColumn = 2;
inline constexpr int kNumberColumn = 3;
inline constexpr int kWordColumn = 4;
inline constexpr int kFirstInfoColumn = 5;  // three information lines
inline constexpr int kFirstTranslationColumn = 8;
inline constexpr int kTranslationColumnCount = 5;
inline constexpr int kLastTranslationColumn = kFirstTranslationColumn + kTranslationColumnCount - 1;
inline constexpr int kRecordingColumn = 13;
// The texts the trainer reads: grammar to the last translation.
inline constexpr int kFirstTextColumn = kGrammarColumn;
inline constexpr int kLastTextColumn = kLastTranslationColumn;

// The column names by position, as lessons have always had them.
inline constexpr std::array<const char*, kLessonColumnCount> kLessonColumnNames = {
    "Nr",    "Topic", "FrGram", "FrNumber", "FrWord", "Info1", "Info2",
    "Info3", "Ru1",   "Ru2",    "Ru3",      "Ru4",    "Ru5",   "Mp3Word"};
inline constexpr const char* kRecordingColumnName = kLessonColumnNames[kRecordingColumn];

// Positions of the columns a table keeps, in their order; empty means all fourteen.
using LessonColumns = std::vector<int>;

// "CREATE TABLE FrRuDict (...)" with the given columns; throws std::invalid_argument for a
// position out of range or repeated.
std::string CreateLessonTableSql(const LessonColumns& columns = {});

}  // namespace verbaro::lesson
