#pragma once
// The shape of a lesson: the table FrRuDict with fourteen columns that the trainer reads by
// position: 0 entry number, 1 topic, 2 grammar, 3 number, 4 the foreign word or phrase, 5-7 three
// information lines, 8-12 up to five translations, 13 Mp3Word (the recording).
// The entry number is the rowid itself, so rows may carry any rowid, gaps included.
#include <array>
#include <string>
#include <vector>

namespace verbaro::lesson {

inline constexpr int kLessonColumnCount = 14;
inline constexpr int kRecordingColumn = 13;
inline constexpr int kTranslationColumnCount = 5;

// The column names by position, as lessons have always had them.
extern const std::array<const char*, kLessonColumnCount> kLessonColumnNames;

// Positions of the columns a table keeps, in their order; empty means all fourteen.
using LessonColumns = std::vector<int>;

// "CREATE TABLE FrRuDict (...)" with the given columns; throws std::invalid_argument for a
// position out of range or repeated.
std::string CreateLessonTableSql(const LessonColumns& columns = {});

}  // namespace verbaro::lesson
