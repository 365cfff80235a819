#pragma once
// One lesson entry in memory. Its recordings are references (Mp3Recording): copying a record
// copies them, and what they refer to lives as long as any record that refers to it. The lists
// keep their usual sizes in place (one recording, up to two answers), so that a record costs no
// allocation beyond its longer texts.
#include <cstdint>
#include <string>
#include <vector>

#include "data/Mp3Recording.h"
#include "data/SmallVector.h"

namespace verbaro {

// The most answers a record holds, and so the most choices an exam question shows.
inline constexpr int32_t kMaxAltWords = 5;

struct WordsData {
  SmallVector<Mp3Recording, 1> vpMp3Word;  // the recordings of the key, one per source row
  SmallVector<int32_t, 1> nvMp3WordSize;   // size in bytes of each recording, same order
  std::u16string wsKeyWord;   // the entry's head: foreign word, or translation when reversed
  std::u16string wsFrGram;    // grammar code
  std::u16string wsFrNumber;  // number code: "s", "p" or other
  std::u16string wsInfo1;
  std::u16string wsInfo2;
  std::u16string wsInfo3;
  SmallVector<std::u16string, 2> vwsAltWords;  // the answers
  SmallVector<int32_t, 2> vnWordErrors;        // one error counter per answer
};

// ",p" when the number code is exactly "p", ",s" when exactly "s", else nothing.
std::u16string NumberSuffix(const std::u16string& wsFrNumber);
// Grammar code followed by the number suffix, e.g. "m,s".
std::u16string GroupKey(const WordsData& record);
// text + ", " + grammar code + number suffix, e.g. "дом, m,s". Used for translations (the
// extended translation key) and for foreign words (the extended word) alike.
std::u16string ExtendedKey(const std::u16string& text, const WordsData& record);

}  // namespace verbaro
