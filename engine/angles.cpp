#include "engine/angles.h"

#include <cmath>
#include <numbers>

namespace zandrel::engine {
namespace {

// The processor's cosine and sine take arguments below 2^63 in magnitude only.
constexpr float kTrigRange = 9.2233720368547758e18f;

bool InTrigRange(float radians) { return std::fabs(radians) < kTrigRange; }

}  // namespace

float AngleRadians(double angle) { return static_cast<float>(angle * kAnglePi / kHalfTurn); }

float AngleCos(double angle) {
  const float radians = AngleRadians(angle);
  return InTrigRange(radians) ? static_cast<float>(std::cos(static_cast<double>(radians))) : 0.0f;
}

float AngleSin(double angle) {
  const float radians = AngleRadians(angle);
  return InTrigRange(radians) ? static_cast<float>(std::sin(static_cast<double>(radians))) : 0.0f;
}

std::int32_t AngleToward(std::int32_t dx, std::int32_t dz) {
  constexpr double kRightAngle = 1.5707964;
  double radians;
  if (dx == 0) {
    radians = dz >= 0 ? kRightAngle : -kRightAngle;
  } else {
    radians = std::atan(static_cast<double>(dz) / static_cast<double>(dx));
    if (dx < 0) radians += std::numbers::pi;
  }
  double degrees = radians * 180.0 / std::numbers::pi;
  if (degrees < 0) degrees += 360.0;
  return static_cast<std::int32_t>(std::nearbyint(degrees));
}

}  // namespace zandrel::engine
