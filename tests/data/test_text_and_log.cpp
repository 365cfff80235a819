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
