#pragma once
// Whether the first row of a table names its columns. It does when two of its cells name
// different languages ("French", "Русский"; "fr", "ru"), or when no row below it (among the
// first two hundred) has its letters: per cell Latin, Cyrillic or none, a cell without letters
// matching any. "Front;Back" or "Французский;Русский" above "chat;кот" are headings; "chat;кот"
// above "chien;собака" is a word.
#include <string>
#include <vector>

namespace verbaro::lessonimport {

// `rows`: the cells of the table's first rows as they will be read, the first row first.
bool LooksLikeHeadings(const std::vector<std::vector<std::string>>& rows);

}  // namespace verbaro::lessonimport
