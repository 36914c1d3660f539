#include <gtest/gtest.h>

#include "platform/win/clock.h"

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

}  // namespace
}  // namespace zandrel::win
