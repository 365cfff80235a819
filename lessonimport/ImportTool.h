#pragma once
// The commands `import` and `export` of `verbaro-lesson`.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace verbaro::lessonimport {

// Runs `import` or `export` with their options and returns the exit status; nothing when the
// first argument is another command.
std::optional<int> RunImportTool(const std::vector<std::string>& arguments, std::ostream& out,
                                 std::ostream& err);

}  // namespace verbaro::lessonimport
