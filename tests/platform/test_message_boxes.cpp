#include <gtest/gtest.h>

#include "data/DiagnosticLog.h"
#include "platform/MessageBoxes.h"
#include "tests/fakes/FakeMessageBoxes.h"

namespace verbaro {
namespace {

TEST(MessageBoxes, EveryBoxShownIsLoggedAsCaptionColonText) {
  DiagnosticLog log;
  log.AttachMemory();
  FakeMessageBoxes boxes;
  boxes.SetLog(&log);
  boxes.ShowError(nullptr, QStringLiteral("Нет данных!"));
  boxes.Show(nullptr, QStringLiteral("Информация"), QStringLiteral("Звук выключен!"));
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Ошибка"));
  EXPECT_EQ(boxes.shown[0].kind, MessageKind::Error);
  EXPECT_EQ(boxes.shown[1].kind, MessageKind::Information);
  EXPECT_EQ(log.Text(), "Ошибка: Нет данных!\nИнформация: Звук выключен!\n");
}

}  // namespace
}  // namespace verbaro
