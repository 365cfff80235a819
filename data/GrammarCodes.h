#pragma once
// The grammar code "~~" marks an entry that stays out of the reversed modes and of the exams.
// Two rules read it, each where the trainer meets the entry:
//  - the reversal and the exams' merging of rows leave out an entry whose code is exactly "~~";
//    a code such as "~~~" is reversed like any other;
//  - the filters test codes by their leading characters: every code beginning with "~~" is in no
//    filter of an Exam view (so the exams never ask it either) and is never a phrase.
#include <string_view>

namespace verbaro {

inline constexpr std::u16string_view kLeftOutGram = u"~~";

// The reversal and the exams' merging: the whole code is "~~".
constexpr bool IsLeftOutGram(std::u16string_view gram) { return gram == kLeftOutGram; }

// The filters: the code begins with "~~".
constexpr bool BeginsWithLeftOutGram(std::u16string_view gram) {
  return gram.starts_with(kLeftOutGram);
}

}  // namespace verbaro
