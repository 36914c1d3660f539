// The sentries: floating enemies that watch the players with a limited field of view and
// line of sight, chase the one they see, search when they lose him, then roam the level.
// Their choices come from the world's one random generator, seeded by the level, so a
// level plays out the same way for the same player moves.
#pragma once

#include <cstdint>

#include "world/movement.h"
#include "world/sentry.h"

namespace zandrel::world {

struct World;
class WorldSounds;

constexpr std::int32_t kSentryWidth = 130;
constexpr std::int32_t kSentryHalfHeight = 240;
constexpr std::int32_t kSentrySpeed = 40;  // world units per 90 ms; half as much again while chasing

// Sentry states.
constexpr std::int32_t kChasing = 0, kLost = 1, kSearching = 2, kRoaming = 3;

// The index of a cell along each axis.
struct CellIndex {
  std::int32_t X = 0, Y = 0, Z = 0;
};

// A facing in angle units (32768 to a full turn), each in 0..32768.
struct Direction {
  float Heading = 0;
  float Pitch = 0;
};

// Seeds the world's random generator with the level's seed and readies the level's
// sentries from their placements. No sentry cries during the first three seconds.
void InitSentries(World& world);

// The heading (from +z toward +x) and pitch (up positive) of the line from origin to target.
// A target straight above or below answers a pitch of a quarter turn.
Direction DirectionTo(Point target, Point origin);

// Whether a cell can be seen from another: neighbours always; otherwise the cells on the line
// between them must be empty, ladders or ingots. Nothing 8 or more cells away is seen.
bool LineOfSight(const World& world, CellIndex from, CellIndex to);

// Whether the sentry sees a player in a cell: in sight, and within its field of view (about
// 45 degrees either side of its facing, and not too steeply above or below it).
bool SentrySees(const World& world, const Sentry& sentry, CellIndex player);

// One frame of every active sentry: turning, flying toward its goal, watching the players
// and choosing what to do next. Cries go through the world's sounds.
void UpdateSentries(World& world, WorldSounds& sounds);

}  // namespace zandrel::world
