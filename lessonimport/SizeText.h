#pragma once
// A byte count as the messages show it: "64 КиБ", "32 МиБ", "100 байт".
#include <cstddef>
#include <string>

namespace verbaro::lessonimport {

std::string SizeText(size_t bytes);

}  // namespace verbaro::lessonimport
