#include "data/LessonTable.h"

#include <stdexcept>

namespace verbaro::lesson {

namespace {

std::string ColumnDefinition(int position) {
  std::string definition = kLessonColumnNames[static_cast<size_t>(position)];
  if (position == 0) return definition + " INTEGER PRIMARY KEY";
  return definition + (position == kRecordingColumn ? " BLOB" : " TEXT");
}

}  // namespace

std::string CreateLessonTableSql(const LessonColumns& columns) {
  std::string sql = std::string("CREATE TABLE ") + kLessonTableName + " (";
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
