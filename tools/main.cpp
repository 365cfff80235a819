// verbaro-lesson: builds lesson files for the Verbaro trainer and checks them.
#include <iostream>
#include <string>
#include <vector>

#include "tools/LessonTool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return verbaro::lesson::RunLessonTool(arguments, std::cout, std::cerr);
}
