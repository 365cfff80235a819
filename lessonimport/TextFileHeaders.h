#pragma once
// The header lines that Anki writes at the top of its text exports and reads in text imports:
// "#separator:Tab", "#html:true", "#columns:Front<TAB>Back", "#tags column:3"... Only lines of
// that form count; any other first line is the table's own (a heading "#" of a number column).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace verbaro::lessonimport {

struct TextFileHeaders {
  std::optional<char> separator;
  bool html = false;
  std::optional<std::string> columns;  // the names, still joined by the separator
  // Columns that hold no words, from 1 (0: none): tags and deck name become the note's tags,
  // the note type and the unique identifier are passed over.
  size_t tagsColumn = 0;
  size_t deckColumn = 0;
  size_t notetypeColumn = 0;
  size_t guidColumn = 0;
  size_t bodyOffset = 0;  // where the records begin
  size_t bodyLine = 1;    // and their first line's number
};

// Nothing, with `error` set (Russian, with the line), when a header gives a value that cannot be
// used: an unknown separator, a column number that is not one.
std::optional<TextFileHeaders> ReadTextFileHeaders(std::string_view text, std::string& error);

}  // namespace verbaro::lessonimport
