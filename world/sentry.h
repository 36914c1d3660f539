// The enemies of a level: placements come from the level file, the rest is run-time state.
#pragma once

#include <array>
#include <cstdint>

namespace zandrel::world {

struct Sentry {
  float X = 0, Y = 0, Z = 0;  // position, world units
  float Heading = 0;          // angle units
  float Pitch = 0;
  float GoalX = 0, GoalY = 0, GoalZ = 0;
  float HeadingTarget = 0, PitchTarget = 0;
  std::int32_t CellX = 0, CellY = 0, CellZ = 0;
  std::int32_t Width = 130;
  std::int32_t HalfHeight = 240;
  std::int32_t State = 3;   // 0 chasing, 1 lost, 2 searching, 3 roaming
  std::int32_t Speed = 40;  // world units per 90 ms
  std::int32_t LastCry = 1;
  std::uint32_t CryTime = 0;
  std::int32_t Quarry = 0;
};

constexpr int kMaxSentries = 255;
using SentryTable = std::array<Sentry, kMaxSentries>;

}  // namespace zandrel::world
