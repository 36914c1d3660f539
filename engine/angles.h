// Angles in engine units: 32768 to a full turn, y up, measured from +Z toward +X for yaw.
#pragma once

#include <cstdint>

namespace zandrel::engine {

constexpr std::int32_t kFullTurn = 32768;
constexpr std::int32_t kHalfTurn = 16384;
constexpr std::int32_t kQuarterTurn = 8192;
// The value of pi the engine converts angles with; half a turn is this many radians.
constexpr double kAnglePi = 3.1415;

// Radians of an angle: angle x 3.1415 / 16384, rounded once to a single float.
float AngleRadians(double angle);

// Cosine and sine of an angle in engine units (integral or not). A result the processor
// cannot compute (a non-finite angle, or one beyond its argument range) is 0.
float AngleCos(double angle);
float AngleSin(double angle);

// The direction of the horizontal vector (dx, dz) in whole degrees, from +X toward +Z,
// 0..360: (0, 0) gives 90, and a direction just below 0 degrees rounds to 360.
std::int32_t AngleToward(std::int32_t dx, std::int32_t dz);

}  // namespace zandrel::engine
