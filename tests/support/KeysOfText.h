#pragma once
// The Windows virtual keys that type a text of small letters in a Conspect view: Latin letters
// by their own key, Russian ones by their place on the physical rows of the Russian keyboard
// (ЙЦУКЕН over QWERTY). A character of neither alphabet gives 0, which types nothing.
#include <string_view>
#include <vector>

namespace verbaro::test {

inline std::vector<int> KeysOfText(std::u16string_view text) {
  // Each Russian row letter by letter over the US keys of the same place.
  static constexpr std::u16string_view kRussianRows[] = {u"ё", u"йцукенгшщзхъ", u"фывапролджэ",
                                                         u"ячсмитьбю"};
  static constexpr int kUsRows[][12] = {
      {0xC0},
      {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', 0xDB, 0xDD},
      {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 0xBA, 0xDE},
      {'Z', 'X', 'C', 'V', 'B', 'N', 'M', 0xBC, 0xBE}};
  std::vector<int> keys;
  for (const char16_t c : text) {
    int key = c >= u'a' && c <= u'z' ? 'A' + (c - u'a') : 0;
    for (size_t row = 0; row < 4 && key == 0; ++row) {
      const size_t at = kRussianRows[row].find(c);
      if (at != std::u16string_view::npos) key = kUsRows[row][at];
    }
    keys.push_back(key);
  }
  return keys;
}

}  // namespace verbaro::test
