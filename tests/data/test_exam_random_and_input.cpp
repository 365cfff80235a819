// The exam draws and the mapping of keys to choices, without a view.
#include <gtest/gtest.h>

#include "data/ExamInput.h"
#include "data/ExamRandom.h"
#include "tests/fakes/core/FakeClock.h"

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
    for (int digit = 6; digit <= 9; ++digit)
      EXPECT_EQ(ExamChoiceForKey(base + digit, 5), std::nullopt);
  }
  EXPECT_EQ(ExamChoiceForKey('A', 5), std::nullopt);
  EXPECT_EQ(ExamChoiceForKey(0x71, 5), std::nullopt);  // F2
  EXPECT_EQ(ExamChoiceForKey(0x2F, 5), std::nullopt);  // just below '0'
}

}  // namespace
}  // namespace verbaro
