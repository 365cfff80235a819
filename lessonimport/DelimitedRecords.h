#pragma once
// The records of a delimited text as spreadsheets write it: fields split by one separator, a
// field in double quotes may hold the separator, line breaks and doubled quotes; a record ends at
// a line break (LF, CRLF or CR) outside quotes.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace verbaro::lessonimport {

// More fields than this in one record is not a word list: the record is refused.
inline constexpr size_t kMaxFields = 256;

struct TextRecord {
  size_t line = 0;  // where the record starts, from 1
  std::vector<std::string> fields;
  bool overlong = false;       // a field passed kMaxCellBytes (its text is cut there)
  bool tooManyFields = false;  // more than kMaxFields (the rest is not kept)
};

struct SplitText {
  std::vector<TextRecord> records;    // blank lines give none
  std::vector<std::string> problems;  // "строка N: ..." for what could not be split
};

// The records of `text`, whose first line is line `firstLine` of the file; at most `limit`.
SplitText SplitRecords(std::string_view text, size_t firstLine, char separator,
                       size_t limit = static_cast<size_t>(-1));

// Tab, semicolon or comma: the one that splits the first records into the same number (two or
// more) of fields most often; tab before semicolon before comma when they split equally well
// (commas occur in phrases, tabs never). `fallback` when none splits them.
char DetectSeparator(std::string_view text, char fallback);

}  // namespace verbaro::lessonimport
