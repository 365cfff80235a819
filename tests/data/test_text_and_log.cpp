#include <gtest/gtest.h>

#include "data/DiagnosticLog.h"
#include "data/Text.h"

namespace verbaro {
namespace {

TEST(Text, RoundTripsCyrillicAccentsAndAstralCharacters) {
  const std::u16string text = u"Конспект été ẞ \U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(ToUtf8(u"дом"), "\xD0\xB4\xD0\xBE\xD0\xBC");
}

TEST(Text, MalformedUtf8BecomesReplacementCharactersNotACrash) {
  EXPECT_EQ(FromUtf8("a\xC3"), u"a\uFFFD");
  EXPECT_EQ(FromUtf8("\xE2\x28\xA1"), u"\uFFFD(\uFFFD");
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Text, Utf8ValidityRefusesWhatAStrictDecoderRefuses) {
  EXPECT_TRUE(IsValidUtf8("l'été \xD0\xB4\xD0\xBE\xD0\xBC \xF0\x9F\x98\x80"));
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(IsValidUtf8("ab\xD0"));            // cut in the middle of a letter
  EXPECT_FALSE(IsValidUtf8("\x80"));              // a continuation byte alone
  EXPECT_FALSE(IsValidUtf8("\xE2\x28\xA1"));
}

TEST(DiagnosticLog, SkipsEverythingUntilAttachedThenWritesPiecesInOrder) {
  DiagnosticLog log;
  log.Line(u"lost");
  EXPECT_FALSE(log.IsAttached());
  log.AttachMemory();
  log.Line(u"m_nUserFilterIndex = ", 3);
  log.Write(u"a", -1, u"b");
  EXPECT_EQ(log.Text(), "m_nUserFilterIndex = 3\na-1b");
}

}  // namespace
}  // namespace verbaro
