#include <gtest/gtest.h>

#include <vector>

#include "platform/win/clock.h"
#include "platform/win/random.h"

namespace zandrel::win {
namespace {

TEST(Clock, ManualClockMovesOnlyWhenToldAndWrapsLikeTheTickCounter) {
  ManualClock clock(0xFFFFFFF0u);
  EXPECT_EQ(clock.Ticks(), 0xFFFFFFF0u);
  clock.Advance(0x20);
  EXPECT_EQ(clock.Ticks(), 0x10u);
  EXPECT_EQ(clock.Ticks() - 0xFFFFFFF0u, 0x20u);  // differences survive the wrap
}

TEST(Clock, RealClockNeverGoesBack) {
  RealClock clock;
  std::uint32_t last = clock.Ticks();
  for (int i = 0; i < 1000; ++i) {
    const std::uint32_t now = clock.Ticks();
    EXPECT_GE(now, last);
    last = now;
  }
}

TEST(Random, TheSameSeedGivesTheSameSequence) {
  Random a(1234), b(99);
  b.Seed(1234);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(a.Next(1000), b.Next(1000));
}

TEST(Random, DrawsStayInRangeAndEveryDrawAdvances) {
  Random r(7);
  std::vector<int> seen(10, 0);
  for (int i = 0; i < 10000; ++i) {
    const int v = r.Next(10);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 10);
    ++seen[static_cast<std::size_t>(v)];
  }
  for (int count : seen) EXPECT_GT(count, 800);
  const std::uint32_t before = r.State();
  EXPECT_EQ(r.Next(1), 0);
  EXPECT_EQ(r.Next(0), 0);
  EXPECT_NE(r.State(), before);
  const double unit = r.NextUnit();
  EXPECT_GE(unit, 0.0);
  EXPECT_LT(unit, 1.0);
}

}  // namespace
}  // namespace zandrel::win
