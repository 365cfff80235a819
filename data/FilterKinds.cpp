#include "data/FilterKinds.h"

#include "data/GrammarCodes.h"

namespace verbaro {

namespace {

// The three filters of one noun gender: the group, its singular and its plural.
struct GenderFilters {
  std::u16string_view group;
  std::u16string_view singular;
  std::u16string_view singularKey;
  std::u16string_view plural;
  std::u16string_view pluralKey;
};

constexpr GenderFilters kMasculine{kFilterMasculine, kFilterMasculineSingular, u"m,s",
                                   kFilterMasculinePlural, u"m,p"};
constexpr GenderFilters kFeminine{kFilterFeminine, kFilterFeminineSingular, u"f,s",
                                  kFilterFemininePlural, u"f,p"};
constexpr GenderFilters kNeuter{kFilterNeuter, kFilterNeuterSingular, u"n,s", kFilterNeuterPlural,
                                u"n,p"};

void AddNoun(FilterPlacements& out, const GenderFilters& gender, std::u16string_view number) {
  out.push_back({kFilterNouns, {}});
  out.push_back({gender.group, {}});
  if (number.starts_with(u"s")) {
    out.push_back({gender.singular, gender.singularKey});
  } else if (number.starts_with(u"p")) {
    out.push_back({gender.plural, gender.pluralKey});
  } else {
    out.push_back({kFilterOthers, kGramKeyOthers});
  }
}

}  // namespace

FilterPlacements ClassifyRecord(std::u16string_view gram, std::u16string_view number,
                                bool bExamMode) {
  FilterPlacements out;
  const bool isLeftOut = BeginsWithLeftOutGram(gram);
  if (isLeftOut && bExamMode) return out;
  out.push_back({kFilterAll, {}});

  // "num" begins with "n" but is a numeral, not a neuter noun.
  const bool isNumeral = gram.starts_with(u"num");
  const bool isNoun =
      !isNumeral && (gram.starts_with(u"m") || gram.starts_with(u"f") || gram.starts_with(u"n"));
  if (isNoun) {
    if (gram.starts_with(u"m")) {
      AddNoun(out, kMasculine, number);
    } else if (!gram.starts_with(u"f")) {
      AddNoun(out, kNeuter, number);
    } else {
      AddNoun(out, kFeminine, number);
    }
  } else if (gram.starts_with(u"adj")) {
    out.push_back({kFilterAdjectives, {}});
    if (gram.starts_with(u"adj,f")) {
      out.push_back({kFilterFeminineAdjectives, u"adj,f"});
    } else if (gram.starts_with(u"adj,m")) {
      out.push_back({kFilterMasculineAdjectives, u"adj,m"});
    } else {
      out.push_back({kFilterOthers, kGramKeyOthers});
    }
  } else if (gram.starts_with(u"adv")) {
    out.push_back({kFilterAdverbs, u"adv"});
  } else if (isNumeral) {
    out.push_back({kFilterNumerals, u"num"});
  } else if (gram.starts_with(u"v")) {
    out.push_back({kFilterVerbs, u"v"});
  } else if (gram.starts_with(u"~") && !isLeftOut) {
    out.push_back({kFilterPhrases, u"~"});
  } else {
    out.push_back({kFilterOthers, kGramKeyOthers});
  }
  return out;
}

std::u16string WithoutMnemonic(std::u16string_view menuText) {
  std::u16string text;
  text.reserve(menuText.size());
  for (size_t i = 0; i < menuText.size(); ++i) {
    // A marker takes the character after it as is, so "&&" leaves one "&"; a lone "&" at the
    // end marks nothing and goes.
    if (menuText[i] == u'&') {
      if (++i == menuText.size()) break;
    }
    text += menuText[i];
  }
  return text;
}

}  // namespace verbaro
