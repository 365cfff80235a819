#pragma once
// A JSON string literal of UTF-8 text, for the machine-readable output of the import command.
#include <string>
#include <string_view>

namespace verbaro::lessonimport {

// "text" with quotes, backslashes and control characters escaped.
std::string JsonString(std::string_view text);

}  // namespace verbaro::lessonimport
