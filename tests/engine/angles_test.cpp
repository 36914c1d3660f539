#include "engine/angles.h"

#include <gtest/gtest.h>

#include <limits>

namespace zandrel::engine {
namespace {

TEST(Angles, HalfATurnIsTheRoundedPiOfTheEngine) {
  EXPECT_NEAR(AngleSin(16384), 0.0000927f, 0.0000005f);  // 3.1415 radians, not pi
  EXPECT_EQ(AngleCos(16384), -1.0f);
  EXPECT_EQ(AngleSin(8192), 1.0f);
  EXPECT_NEAR(AngleCos(8192), 0.0000463f, 0.0000005f);
  EXPECT_EQ(AngleCos(0), 1.0f);
  EXPECT_EQ(AngleSin(-8192), -1.0f);
}

TEST(Angles, ArgumentsTheProcessorCannotTakeGiveZero) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(AngleCos(inf), 0.0f);
  EXPECT_EQ(AngleSin(-inf), 0.0f);
  EXPECT_EQ(AngleCos(std::numeric_limits<double>::quiet_NaN()), 0.0f);
  EXPECT_EQ(AngleSin(1e30), 0.0f);  // beyond the argument range
}

TEST(Angles, TowardGivesWholeDegreesFromXTowardZ) {
  struct Case {
    std::int32_t dx, dz, degrees;
  };
  const Case cases[] = {
      {0, 0, 90},    {-1, 0, 180},  {1, -1, 315}, {1, 0, 0},          {0, 5, 90},
      {0, -5, 270},  {-3, -3, 225}, {-2, 2, 135}, {1000000, -1, 360},  // just below 0 rounds to 360
      {1000, 10, 1},                                                   // 0.57 degrees
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AngleToward(c.dx, c.dz), c.degrees) << c.dx << ", " << c.dz;
  }
}

}  // namespace
}  // namespace zandrel::engine
