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
  boxes.Show(nullptr, QStringLiteral("Ошибка"), QStringLiteral("Нет данных!"));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Ошибка"));
  EXPECT_EQ(log.Text(), "Ошибка: Нет данных!\n");
}

}  // namespace
}  // namespace verbaro
