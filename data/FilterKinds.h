#pragma once
// The grammatical filters of a lesson: their names (which are also the Filters menu texts, with
// the "&" of the menu mnemonic) and the rule that places a record by its grammar and number codes.
#include <string>
#include <string_view>

#include "data/SmallVector.h"

namespace verbaro {

inline constexpr std::u16string_view kFilterAll = u"&0 - Все слова и фразы";
inline constexpr std::u16string_view kFilterNouns = u"&1 - Все существительные";
inline constexpr std::u16string_view kFilterMasculine = u"&2 - Все мужские существительные";
inline constexpr std::u16string_view kFilterMasculineSingular =
    u"&3 - Мужские существительные, ед.ч.";
inline constexpr std::u16string_view kFilterMasculinePlural =
    u"&4 - Мужские существительные, мн.ч.";
inline constexpr std::u16string_view kFilterFeminine = u"&5 - Все женские существительные";
inline constexpr std::u16string_view kFilterFeminineSingular =
    u"&6 - Женские существительные, ед.ч.";
inline constexpr std::u16string_view kFilterFemininePlural = u"&7 - Женские существительные, мн.ч.";
inline constexpr std::u16string_view kFilterNeuter = u"&8 - Все нейтральные существительные";
inline constexpr std::u16string_view kFilterNeuterSingular =
    u"&9 - Нейтральные существительные, ед.ч.";
inline constexpr std::u16string_view kFilterNeuterPlural =
    u"&a - Нейтральные существительные, мн.ч.";
inline constexpr std::u16string_view kFilterAdjectives = u"&b - Все прилагательные";
inline constexpr std::u16string_view kFilterFeminineAdjectives = u"c - Женские прилагательные";
inline constexpr std::u16string_view kFilterMasculineAdjectives = u"&d - Мужские прилагательные";
inline constexpr std::u16string_view kFilterAdverbs = u"&e - Наречия";
inline constexpr std::u16string_view kFilterNumerals = u"&f - Числительные";
inline constexpr std::u16string_view kFilterVerbs = u"&g - Глаголы";
inline constexpr std::u16string_view kFilterPhrases = u"&h - Фразы";
inline constexpr std::u16string_view kFilterOthers = u"&z - Прочее";

// Command ids of the Filters menu items: 800 + the filter's position, up to 36 items.
inline constexpr int kFirstFilterCommand = 800;
inline constexpr int kLastFilterCommand = 835;

// A filter's name as a learner reads it outside the menu: without the "&" that marks the menu
// mnemonic ("&3 - ..." reads "3 - ..."); "&&", the menu's way to show one "&", gives "&".
std::u16string WithoutMnemonic(std::u16string_view menuText);

// Grammar key of the catch-all category.
inline constexpr std::u16string_view kGramKeyOthers = u"others";

// One filter a record goes into; gramKey is empty for the group filters ("&0", "&1", "&2", ...)
// and names the fine category otherwise.
struct FilterPlacement {
  std::u16string_view name;
  std::u16string_view gramKey;
};

// The filters of one record: at most four ("&0", nouns, its gender, its keyed filter), kept in
// place, as every record of a lesson is classified.
using FilterPlacements = SmallVector<FilterPlacement, 4>;

// The filters a record with these codes belongs to, in the order they are filled: "&0" first,
// then the group filters, then exactly one keyed filter. Empty when the record is left out
// (grammar "~~" in an Exam view). Codes are tested by their leading characters.
FilterPlacements ClassifyRecord(std::u16string_view gram, std::u16string_view number,
                                bool bExamMode);

}  // namespace verbaro
