#include <gtest/gtest.h>

#include <vector>

#include "base/random.h"

namespace zandrel::base {
namespace {

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
}  // namespace zandrel::base
