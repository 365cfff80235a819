// What the key translation lets a learner type: every French letter of the accent table, the
// Russian alphabet on its layout, and nothing that no key gives.
#include <gtest/gtest.h>

#include "data/Typable.h"

namespace verbaro {
namespace {

TEST(Typable, EveryFrenchLetterAndTheUsPunctuationCanBeTypedInConspectOne) {
  for (const char16_t c :
       std::u16string_view(u"abcxyzABCXYZ0189 '-.,;:!?()\"/àâçéèêëîïôœùûüÿÀÂÇÉÈÊËÎÏÔŒÙÛÜŸæÆ")) {
    EXPECT_TRUE(IsTypable(c, TypingTable::Latin)) << static_cast<int>(c);
  }
  // Typographic quotes, the no-break space, guillemets and Cyrillic letters have no key there.
  for (const char16_t c : std::u16string_view(u"’‘ʼ\u00A0«»жЖ…–")) {
    EXPECT_FALSE(IsTypable(c, TypingTable::Latin)) << static_cast<int>(c);
  }
  EXPECT_FALSE(IsTypable(u'\uFFFD', TypingTable::Latin));  // the mark of a failed accent
  EXPECT_EQ(FindUntypable(u"aujourd’hui", TypingTable::Latin), 7u);
  EXPECT_EQ(FindUntypable(u"aujourd'hui", TypingTable::Latin), std::nullopt);
}

TEST(Typable, TheRussianAlphabetRowByRowCanBeTypedInConspectTwo) {
  for (const char16_t c : std::u16string_view(u"йцукенгшщзхъфывапролджэячсмитьбюёЙЦУКЕНГШЩЗХЪФЫВАПР"
                                              u"ОЛДЖЭЯЧСМИТЬБЮЁ 0189.,-!?;:№\"()")) {
    EXPECT_TRUE(IsTypable(c, TypingTable::Cyrillic)) << static_cast<int>(c);
  }
  // Latin letters and the apostrophe have no key of their own on the Russian layout.
  for (const char16_t c : std::u16string_view(u"aZ'’«é")) {
    EXPECT_FALSE(IsTypable(c, TypingTable::Cyrillic)) << static_cast<int>(c);
  }
}

// The first untypable character is found wherever it stands, the ends of the text included.
TEST(Typable, FindUntypableLooksAtEveryPositionFromTheFirstToTheLast) {
  const struct {
    std::u16string_view text;
    TypingTable table;
    std::optional<size_t> at;
  } cases[] = {
      {u"", TypingTable::Latin, std::nullopt},
      {u"’", TypingTable::Latin, 0u},
      {u"’eau", TypingTable::Latin, 0u},
      {u"bonjour’", TypingTable::Latin, 7u},
      {u"l’eau’", TypingTable::Latin, 1u},  // the first of two
      {u"водаé", TypingTable::Cyrillic, 4u},
      {u"a", TypingTable::Cyrillic, 0u},
      {u"вода", TypingTable::Cyrillic, std::nullopt},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(FindUntypable(cases[i].text, cases[i].table), cases[i].at) << "case " << i;
  }
}

TEST(Typable, OfficeApostrophesAndNoBreakSpacesBecomeTheTypableOnes) {
  EXPECT_EQ(WithTypableApostrophesAndSpaces(u"l’eau ‘x’ ʼa\u00A0b\u202Fc"), u"l'eau 'x' 'a b c");
  EXPECT_EQ(WithTypableApostrophesAndSpaces(u"«вода»"), u"«вода»");  // others are left for refusal
}

}  // namespace
}  // namespace verbaro
