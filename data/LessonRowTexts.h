#pragma once
// The texts of one lesson row as the trainer takes them, read from the current row of a query on
// FrRuDict. The trainer's reading and the lesson tool's check both read rows through here, so
// that the tool reports the very texts the learner is shown.
#include <string>

#include "data/LessonTable.h"
#include "data/SmallVector.h"

struct sqlite3;
struct sqlite3_stmt;

namespace verbaro::lesson {

struct LessonRowTexts {
  std::u16string grammar;
  std::u16string number;
  std::u16string word;
  std::u16string info1;
  std::u16string info2;
  std::u16string info3;
  SmallVector<std::u16string, kTranslationColumnCount>
      translations;  // the non-empty ones, in column order
};

// How the rows of one lesson are read.
struct RowReading {
  // The database stores its texts as UTF-8 (StoresTextAsUtf8): the texts are the same either
  // way, only read faster.
  bool storedAsUtf8 = false;
  // False leaves the three information lines empty, for a reader that drops them anyway.
  bool infoLines = true;
};

// Whether the database stores its texts as UTF-8 (asked once per lesson, for RowReading).
bool StoresTextAsUtf8(sqlite3* db);

// The texts of the statement's current row. `grammarColumn` is the result column that holds the
// grammar (table position 2); the others follow it in table order. A NULL value, a column the
// result does not have, or a failed conversion reads as the empty text, and a text ends at its
// first NUL. May throw std::bad_alloc.
LessonRowTexts ReadLessonRowTexts(sqlite3_stmt* statement, int grammarColumn, RowReading reading);

}  // namespace verbaro::lesson
