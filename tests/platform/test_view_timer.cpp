// The view timer and its fake keep one contract: a start fires once, and the timer has stopped
// by the time its handler runs, so that a play-through goes on only where the view starts it
// again.
#include <gtest/gtest.h>

#include "platform/ViewTimer.h"
#include "tests/fakes/FakeViewTimer.h"
#include "tests/support/Application.h"

namespace verbaro {
namespace {

struct Observed {
  int fired = 0;
  bool activeInHandler = true;
};

void Watch(ViewTimer& timer, Observed& seen) {
  timer.onTimeout = [&timer, &seen] {
    ++seen.fired;
    seen.activeInHandler = timer.IsActive();
  };
}

TEST(ViewTimer, TheRealTimerFiresOnceAndIsStoppedInItsHandler) {
  test::EnsureApplication();
  QtViewTimer timer;
  Observed seen;
  Watch(timer, seen);
  timer.Start(1);
  EXPECT_TRUE(timer.IsActive());
  ASSERT_TRUE(test::WaitFor([&seen] { return seen.fired > 0; }, 2000));
  EXPECT_FALSE(seen.activeInHandler);
  EXPECT_FALSE(timer.IsActive());
  // No second shot without a new start.
  test::WaitFor([&seen] { return seen.fired > 1; }, 50);
  EXPECT_EQ(seen.fired, 1);
}

TEST(ViewTimer, TheFakeFiresOnceAndIsStoppedInItsHandlerLikeTheRealOne) {
  FakeViewTimer timer;
  Observed seen;
  Watch(timer, seen);
  EXPECT_FALSE(timer.Fire());  // never started
  timer.Start(40);
  EXPECT_TRUE(timer.Fire());
  EXPECT_EQ(seen.fired, 1);
  EXPECT_FALSE(seen.activeInHandler);
  EXPECT_FALSE(timer.IsActive());
  EXPECT_FALSE(timer.Fire());  // a second shot needs a new start
  EXPECT_EQ(seen.fired, 1);

  // A handler that starts it again keeps it going, as a play-through does.
  timer.onTimeout = [&timer] { timer.Start(10); };
  timer.Start(40);
  EXPECT_TRUE(timer.Fire());
  EXPECT_TRUE(timer.IsActive());
  EXPECT_EQ(timer.lastPeriod, 10u);
}

}  // namespace
}  // namespace verbaro
