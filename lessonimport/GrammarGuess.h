#pragma once
// The grammar and number codes of an imported word when its source gives none in the lesson's
// own codes: from the note's tags ("verb", "adjectif", "существительное"...), else from the
// French article it begins with, else a phrase ("~"), which every mode and exam can ask.
#include <string>
#include <string_view>
#include <vector>

namespace verbaro::lessonimport {

struct GrammarCodes {
  std::string grammar;
  std::string number;
};

// True for the codes a lesson uses: m, f, n, adj,m, adj,f, adv, num, v, ~, ~~ (number s, p or
// empty).
bool IsLessonGrammar(std::string_view grammar);

GrammarCodes GuessGrammar(std::string_view frenchWord, const std::vector<std::string>& tags);

}  // namespace verbaro::lessonimport
