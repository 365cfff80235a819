// verbaro-lesson: builds lesson files for the Verbaro trainer, checks them, imports words from
// other trainers' files and exports lessons.
#include <iostream>
#include <string>
#include <vector>

#include "lessonimport/ImportTool.h"
#include "tools/LessonTool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (const auto status = verbaro::lessonimport::RunImportTool(arguments, std::cout, std::cerr))
    return *status;
  return verbaro::lesson::RunLessonTool(arguments, std::cout, std::cerr);
}
