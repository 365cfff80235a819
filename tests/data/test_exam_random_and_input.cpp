// The exam draws and the mapping of keys and clicks to choices, without a view.
#include <gtest/gtest.h>

#include "tests/fakes/FakeClock.h"
#include "data/ExamInput.h"
#include "data/ExamRandom.h"

namespace verbaro {
namespace {

TEST(ExamRandom, YieldsTheClassicRuntimeSequence) {
  // The well-known first numbers of the C runtime's rand() after srand(1) and srand(0).
  ExamRandom fromOne(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
  for (int value : expected) EXPECT_EQ(fromOne.Next(), value);
  EXPECT_EQ(ExamRandom(0).Next(), 38);
}

TEST(ExamRandom, EveryDrawReseedsWithTheCurrentSecondTruncatedTo32Bits) {
  FakeClock clock;
  clock.seconds = 1;
  EXPECT_EQ(DrawModulo(clock, 32768), 41);
  EXPECT_EQ(DrawModulo(clock, 32768), 41) << "a second draw in the same second repeats";
  EXPECT_EQ(DrawModulo(clock, 10), 1);
  clock.seconds = (int64_t{1} << 32) + 1;
  EXPECT_EQ(DrawModulo(clock, 32768), 41);
  clock.seconds = 0;
  EXPECT_EQ(DrawModulo(clock, 32768), 38);
}

TEST(ExamKeys, ZeroRefusesAlwaysDigitsChooseOnlyNumberedCells) {
  for (int base : {kVkDigit0, kVkNumpad0}) {
    EXPECT_EQ(ExamChoiceForKey(base, 0), 0);
    EXPECT_EQ(ExamChoiceForKey(base, 3), 0);
    EXPECT_EQ(ExamChoiceForKey(base + 1, 3), 1);
    EXPECT_EQ(ExamChoiceForKey(base + 3, 3), 3);
    EXPECT_EQ(ExamChoiceForKey(base + 4, 3), std::nullopt);
    EXPECT_EQ(ExamChoiceForKey(base + 5, 3), std::nullopt);
    EXPECT_EQ(ExamChoiceForKey(base + 5, 5), 5);
    EXPECT_EQ(ExamChoiceForKey(base + 1, 0), std::nullopt);
    for (int digit = 6; digit <= 9; ++digit) EXPECT_EQ(ExamChoiceForKey(base + digit, 5), std::nullopt);
  }
  EXPECT_EQ(ExamChoiceForKey('A', 5), std::nullopt);
  EXPECT_EQ(ExamChoiceForKey(0x71, 5), std::nullopt);  // F2
  EXPECT_EQ(ExamChoiceForKey(0x2F, 5), std::nullopt);  // just below '0'
}

TEST(ExamClicks, CellsOfA1000By600ClientArea) {
  // x0 = 50, cell width 900, row height 50: cells 1..5 in rows 6..10 (y 300..550).
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 50, 300, 5), 1);
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 950, 350, 5), 1) << "a lower border belongs to the cell above";
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 500, 351, 5), 2);
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 500, 500, 5), 4);
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 500, 550, 5), 5);
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 49, 320, 5), 0) << "left of the cells";
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 30, 320, 5), 0) << "on a cell's number";
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 951, 320, 5), 0) << "right of the cells";
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 500, 551, 5), 0) << "below the fifth row";
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 500, 299, 5), 0) << "in the header";
}

TEST(ExamClicks, EmptyRowsInsideTheCellAreaAndNoCellsChooseNothing) {
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 500, 420, 3), 3);
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 500, 451, 3), std::nullopt);
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 500, 520, 3), std::nullopt);
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 500, 551, 3), 0);
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 10, 10, 0), std::nullopt) << "no numbered cell yet";
  EXPECT_EQ(ExamChoiceAtPoint(1000, 600, 500, 320, 0), std::nullopt);
}

}  // namespace
}  // namespace verbaro
