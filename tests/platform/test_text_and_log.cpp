#include <gtest/gtest.h>

#include "platform/DiagnosticLog.h"
#include "platform/MessageBoxes.h"
#include "platform/Text.h"

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

TEST(MessageBoxes, EveryBoxShownIsLoggedAsCaptionColonText) {
  DiagnosticLog log;
  log.AttachMemory();
  FakeMessageBoxes boxes;
  boxes.SetLog(&log);
  boxes.Show(nullptr, QStringLiteral("Ошибка"), QStringLiteral("Нет данных!"));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Ошибка"));
  EXPECT_EQ(log.Text(), "Ошибка: Нет данных!\n");
}

}  // namespace
}  // namespace verbaro
