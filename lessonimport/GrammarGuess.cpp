#include "lessonimport/GrammarGuess.h"

#include <algorithm>
#include <array>

#include "lessonimport/Languages.h"

namespace verbaro::lessonimport {
namespace {

constexpr std::array<std::string_view, 10> kLessonGrammar = {"m",   "f",   "n", "adj,m", "adj,f",
                                                             "adv", "num", "v", "~",     "~~"};

// Tags that name a kind of word, in the languages decks are tagged in. A noun tag gives no
// gender: the article decides it when there is one.
struct TagMeaning {
  std::string_view tag;
  std::string_view grammar;
  std::string_view number;
};
constexpr std::array<TagMeaning, 28> kTags = {{
    {"verb", "v", ""},
    {"verbs", "v", ""},
    {"verbe", "v", ""},
    {"verbes", "v", ""},
    {"глагол", "v", ""},
    {"глаголы", "v", ""},
    {"adjective", "adj,m", ""},
    {"adjectives", "adj,m", ""},
    {"adjectif", "adj,m", ""},
    {"adjectifs", "adj,m", ""},
    {"прилагательное", "adj,m", ""},
    {"прилагательные", "adj,m", ""},
    {"adverb", "adv", ""},
    {"adverbs", "adv", ""},
    {"adverbe", "adv", ""},
    {"наречие", "adv", ""},
    {"number", "num", ""},
    {"numbers", "num", ""},
    {"nombre", "num", ""},
    {"числительное", "num", ""},
    {"phrase", "~", ""},
    {"phrases", "~", ""},
    {"expression", "~", ""},
    {"expressions", "~", ""},
    {"noun", "n", "s"},
    {"nouns", "n", "s"},
    {"nom", "n", "s"},
    {"существительное", "n", "s"},
}};

// The article a French noun is written with, and what it tells.
struct Article {
  std::string_view prefix;
  std::string_view grammar;
  std::string_view number;
};
constexpr std::array<Article, 7> kArticles = {{
    {"le ", "m", "s"},
    {"un ", "m", "s"},
    {"la ", "f", "s"},
    {"une ", "f", "s"},
    {"les ", "n", "p"},
    {"des ", "n", "p"},
    {"l'", "n", "s"},
}};

const Article* ArticleOf(std::string_view word) {
  const std::string lowered = LowerCased(word);
  for (const Article& article : kArticles)
    if (lowered.starts_with(article.prefix) && lowered.size() > article.prefix.size())
      return &article;
  return nullptr;
}

}  // namespace

bool IsLessonGrammar(std::string_view grammar) {
  return std::find(kLessonGrammar.begin(), kLessonGrammar.end(), grammar) != kLessonGrammar.end();
}

GrammarCodes GuessGrammar(std::string_view frenchWord, const std::vector<std::string>& tags) {
  const Article* article = ArticleOf(frenchWord);
  for (const std::string& tag : tags) {
    const std::string lowered = LowerCased(tag);
    for (const TagMeaning& meaning : kTags) {
      if (lowered != meaning.tag) continue;
      if (meaning.grammar == "n" && article)
        return {std::string(article->grammar), std::string(article->number)};
      return {std::string(meaning.grammar), std::string(meaning.number)};
    }
  }
  // An article before one word: a noun. Before several, it may as well begin a phrase.
  if (article) {
    const std::string_view rest = frenchWord.substr(article->prefix.size());
    if (rest.find(' ') == std::string_view::npos)
      return {std::string(article->grammar), std::string(article->number)};
  }
  return {"~", ""};
}

}  // namespace verbaro::lessonimport
