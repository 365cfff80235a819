// Dialog units to pixels: each length rounded on its own to the nearest pixel, halves away from
// zero, where truncating would lose a pixel.
#include <gtest/gtest.h>

#include "platform/DialogUnits.h"

namespace verbaro {
namespace {

TEST(DialogUnits, EachLengthIsRoundedToTheNearestPixelHalvesAwayFromZero) {
  const DialogUnits units(8, 15);  // the dialog font's base units on the offscreen platform
  EXPECT_EQ(units.Y(10), 19) << "18.75: a field is 19 pixels high, not 18";
  EXPECT_EQ(units.Y(5), 9);    // 9.375
  EXPECT_EQ(units.Y(12), 23);  // 22.5
  EXPECT_EQ(units.Y(-2), -4);  // -3.75: the frame's top above the dialog
  EXPECT_EQ(units.Y(16), 30);
  EXPECT_EQ(units.Size(180, 90), QSize(360, 169));

  const DialogUnits narrow(7, 13);
  EXPECT_EQ(narrow.X(1), 2);    // 1.75
  EXPECT_EQ(narrow.X(2), 4);    // 3.5
  EXPECT_EQ(narrow.X(-2), -4);  // -3.5
  EXPECT_EQ(narrow.Y(-2), -3);  // -3.25
  EXPECT_EQ(narrow.Rect(1, -2, 177, 90), QRect(2, -3, 310, 146));
}

}  // namespace
}  // namespace verbaro
