#include "lessonwriter/LessonTable.h"

#include <stdexcept>

namespace verbaro::lesson {

const std::array<const char*, kLessonColumnCount> kLessonColumnNames = {
    "Nr",    "Topic", "FrGram", "FrNumber", "FrWord", "Info1", "Info2",
    "Info3", "Ru1",   "Ru2",    "Ru3",      "Ru4",    "Ru5",   "Mp3Word"};

namespace {

std::string ColumnDefinition(int position) {
  std::string definition = kLessonColumnNames[static_cast<size_t>(position)];
  if (position == 0) return definition + " INTEGER PRIMARY KEY";
  return definition + (position == kRecordingColumn ? " BLOB" : " TEXT");
}

}  // namespace

std::string CreateLessonTableSql(const LessonColumns& columns) {
  std::string sql = "CREATE TABLE FrRuDict (";
  std::array<bool, kLessonColumnCount> seen{};
  const size_t count = columns.empty() ? kLessonColumnCount : columns.size();
  for (size_t i = 0; i < count; ++i) {
    const int position = columns.empty() ? static_cast<int>(i) : columns[i];
    if (position < 0 || position >= kLessonColumnCount || seen[static_cast<size_t>(position)])
      throw std::invalid_argument("bad lesson column " + std::to_string(position));
    seen[static_cast<size_t>(position)] = true;
    if (i) sql += ", ";
    sql += ColumnDefinition(position);
  }
  return sql + ")";
}

}  // namespace verbaro::lesson
