#pragma once
// The text of a cloze field with its gaps filled: "le {{c1::chat::animal}} noir" reads "le chat
// noir". Hints are dropped; gaps may nest.
#include <string>
#include <string_view>

namespace verbaro::lessonimport {

std::string FillClozeGaps(std::string_view field);

}  // namespace verbaro::lessonimport
