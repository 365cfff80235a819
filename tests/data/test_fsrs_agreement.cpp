// The trainer's scheduler against an independent implementation: ts-fsrs, run by Node over
// random review histories, must give the same stability, difficulty and due day after every
// review.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "data/progress/Fsrs.h"
#include "tests/support/TempFolder.h"

namespace verbaro {
namespace {

using progress::Fsrs;
using progress::Grade;
using progress::MemoryState;

struct Review {
  int day = 0;
  int minute = 0;
  Grade grade = Grade::Good;
};

struct Outcome {
  MemoryState state;
  int dueDay = 0;
};

// Reviews on the due day, before and after it, long after it and again on the same day, with
// every grade.
std::vector<std::vector<Review>> RandomHistories(int count, uint32_t seed) {
  std::mt19937 random(seed);
  std::discrete_distribution<int> grades({15, 15, 55, 15});
  std::discrete_distribution<int> gapKind({25, 35, 25, 15});
  std::vector<std::vector<Review>> histories(static_cast<size_t>(count));
  const Fsrs fsrs;
  for (auto& history : histories) {
    const int reviews = std::uniform_int_distribution<int>(1, 25)(random);
    int day = 0;
    int minute = 0;
    std::optional<MemoryState> state;
    int dueDay = 0;
    for (int r = 0; r < reviews; ++r) {
      if (r > 0) {
        int gap = 0;
        switch (gapKind(random)) {
          case 0: gap = 0; break;
          case 1:
            gap = std::max(0, dueDay - day + std::uniform_int_distribution<int>(-2, 2)(random));
            break;
          case 2: gap = std::uniform_int_distribution<int>(1, 60)(random); break;
          default: gap = std::uniform_int_distribution<int>(60, 800)(random); break;
        }
        minute = gap == 0 ? minute + 10 : 0;
        day += gap;
      }
      const Grade grade = static_cast<Grade>(grades(random) + 1);
      history.push_back({day, minute, grade});
      const int elapsed = r == 0 ? 0 : day - history[r - 1].day;
      dueDay = day + fsrs.IntervalDays(state, elapsed, grade);
      state = fsrs.Next(state, elapsed, grade);
    }
  }
  return histories;
}

std::vector<std::vector<Outcome>> Ours(const std::vector<std::vector<Review>>& histories) {
  const Fsrs fsrs;
  std::vector<std::vector<Outcome>> outcomes;
  for (const auto& history : histories) {
    std::vector<Outcome>& line = outcomes.emplace_back();
    std::optional<MemoryState> state;
    for (size_t r = 0; r < history.size(); ++r) {
      const int elapsed = r == 0 ? 0 : history[r].day - history[r - 1].day;
      const int interval = fsrs.IntervalDays(state, elapsed, history[r].grade);
      state = fsrs.Next(state, elapsed, history[r].grade);
      line.push_back({*state, history[r].day + interval});
    }
  }
  return outcomes;
}

// To 1e-6, relative for values above 1: the oracle keeps eight decimals of its intermediate
// values, and a stability of hundreds of days carries that rounding (about 1e-8 of it) into its
// sixth decimal.
bool Close(double ours, double theirs) {
  return std::abs(ours - theirs) <= 1e-6 * std::max(1.0, std::abs(theirs));
}

TEST(FsrsAgreement, StatesAndDueDaysMatchTsFsrsOverRandomHistories) {
  const std::filesystem::path oracle =
      std::filesystem::path(VERBARO_SOURCE_DIR) / "tests/data/fsrs_oracle";
  ASSERT_TRUE(std::filesystem::exists(oracle / "node_modules/ts-fsrs/package.json"))
      << "ts-fsrs is not installed: run scripts/setup.sh (npm ci in " << oracle << ")";
  const auto histories = RandomHistories(1200, 20251207);
  test::TempFolder folder;
  const auto input = folder.Path() / "histories.txt";
  const auto output = folder.Path() / "states.txt";
  {
    std::ofstream file(input);
    for (size_t h = 0; h < histories.size(); ++h) {
      for (const Review& review : histories[h]) {
        file << h << ' ' << review.day << ' ' << review.minute << ' '
             << static_cast<int>(review.grade) << '\n';
      }
    }
  }
  const std::string command = "node '" + (oracle / "replay.mjs").string() + "' '" + input.string() +
                              "' > '" + output.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  const auto ours = Ours(histories);
  std::ifstream file(output);
  std::string line;
  size_t compared = 0;
  int sameDayReviews = 0;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    size_t h = 0, r = 0;
    double stability = 0, difficulty = 0;
    int dueDay = 0;
    ASSERT_TRUE(fields >> h >> r >> stability >> difficulty >> dueDay) << line;
    ASSERT_LT(h, ours.size());
    ASSERT_LT(r, ours[h].size());
    const Outcome& our = ours[h][r];
    if (r > 0 && histories[h][r].day == histories[h][r - 1].day) ++sameDayReviews;
    ASSERT_TRUE(Close(our.state.stability, stability))
        << "history " << h << " review " << r << ": stability " << our.state.stability << " vs "
        << stability;
    ASSERT_NEAR(our.state.difficulty, difficulty, 1e-6)
        << "history " << h << " review " << r << ": difficulty " << our.state.difficulty << " vs "
        << difficulty;
    ASSERT_EQ(our.dueDay, dueDay) << "history " << h << " review " << r;
    ++compared;
  }
  size_t expected = 0;
  for (const auto& history : histories) expected += history.size();
  EXPECT_EQ(compared, expected);
  EXPECT_GT(sameDayReviews, 1000);  // the short-term formula was tried, not only long gaps
}

TEST(Fsrs, KnownValuesOfTheDefaultParameters) {
  const Fsrs fsrs;
  // 90 % recall after `stability` days, by the definition of stability
  EXPECT_NEAR(fsrs.Retrievability(10.0, 10.0), 0.9, 1e-12);
  EXPECT_NEAR(fsrs.Retrievability(0.0, 3.0), 1.0, 1e-12);
  // a first Easy answer: the easiest difficulty, 8 days
  const MemoryState easy = fsrs.Next(std::nullopt, 0, Grade::Easy);
  EXPECT_DOUBLE_EQ(easy.difficulty, 1.0);
  EXPECT_EQ(fsrs.IntervalDays(std::nullopt, 0, Grade::Easy), 8);
  // a lapse never leaves more stability than it found
  const MemoryState lapse = fsrs.Next(MemoryState{100.0, 5.0}, 400, Grade::Again);
  EXPECT_LT(lapse.stability, 100.0);
  EXPECT_GE(fsrs.IntervalDays(MemoryState{0.01, 10.0}, 0, Grade::Again), 1);
  // at the cap of 100 years the order Hard < Good < Easy still holds, as in ts-fsrs
  const MemoryState longest{36500.0, 1.0};
  EXPECT_EQ(fsrs.IntervalDays(longest, 36500, Grade::Hard), 36500);
  EXPECT_EQ(fsrs.IntervalDays(longest, 36500, Grade::Good), 36501);
  EXPECT_EQ(fsrs.IntervalDays(longest, 36500, Grade::Easy), 36502);
}

}  // namespace
}  // namespace verbaro
