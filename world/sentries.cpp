#include "world/sentries.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/angles.h"
#include "world/world.h"
#include "world/world_sounds.h"

namespace zandrel::world {
namespace {

// Beyond this many cells a sentry sees nothing.
constexpr std::int64_t kSightCells = 8;
// A sentry cries at most once a second.
constexpr std::int32_t kCryInterval = 1000;
// A new level holds the sentries' cries back: the first may come 3000 ms after the start.
constexpr std::uint32_t kFirstCryDelay = 2000;
constexpr std::int32_t kCryVolume = 255;
// The headings and pitches eased toward, and the goal approached, this fraction per 90 ms.
constexpr float kEase = 0.2f;

constexpr double kAngleUnitsPerRadian = 16384 * 0.31831015504887652;
constexpr double kSentryPi = 3.14159;
constexpr double kRightAngle = 1.570795;

std::int32_t ActiveSentries(const World& world) { return std::clamp(world.Map.SentryCount, 0, kMaxSentries); }

CellIndex CellAt(float x, float y, float z) { return {CellOf(x), CellOf(y), CellOf(z)}; }

double ToAngleUnits(double radians) {
  const double angle = radians * kAngleUnitsPerRadian;
  return angle < 0 ? angle + engine::kFullTurn : angle;
}

bool TransparentToSight(const ObjectType& type) { return type.Empty || type.Ladder || type.Lingot; }

// Whether more than the cry interval has passed since the sentry's last cry (a cry time
// still ahead, as at the start of a level, has not passed).
bool MayCry(const World& world, const Sentry& sentry) {
  return static_cast<std::int32_t>(world.Now - sentry.CryTime) > kCryInterval;
}

void Cry(const World& world, WorldSounds& sounds, Sentry& sentry, SoundHandle sound) {
  sentry.CryTime = world.Now;
  sounds.PlayAt(sound, TruncateToInt(sentry.X), TruncateToInt(sentry.Y), TruncateToInt(sentry.Z), kCryVolume);
}

// Watching every player in slot order; each slot acts on the state the one before left.
void Watch(const World& world, WorldSounds& sounds, Sentry& sentry) {
  const std::int32_t lastSlot = std::clamp(world.LastSlot, 0, kPlayerSlotCount - 1);
  for (std::int32_t slot = 0; slot <= lastSlot; ++slot) {
    const PlayerSlot& player = world.Players[static_cast<std::size_t>(slot)];
    if (player.Gone) continue;
    if (SentrySees(world, sentry, CellAt(player.X, player.Y, player.Z))) {
      if (sentry.State != kChasing && sentry.LastCry != 0 && MayCry(world, sentry)) {
        sentry.LastCry = 0;
        Cry(world, sounds, sentry, world.Bank.SentrySeenSound);
        sentry.Quarry = slot;
      }
      sentry.State = kChasing;
    } else if (sentry.State == kChasing) {
      if (sentry.LastCry != 1 && MayCry(world, sentry)) {
        sentry.LastCry = 1;
        Cry(world, sounds, sentry, world.Bank.SentryLostSound);
      }
      sentry.State = kLost;
    }
  }
}

void UpdateSentry(World& world, WorldSounds& sounds, Sentry& sentry) {
  sentry.CellX = CellOf(sentry.X);
  sentry.CellY = CellOf(sentry.Y);
  sentry.CellZ = CellOf(sentry.Z);
  sentry.Heading += TimeScaled(world, (sentry.HeadingTarget - sentry.Heading) * kEase);
  sentry.Pitch += TimeScaled(world, (sentry.PitchTarget - sentry.Pitch) * kEase);

  // The step is normalised by its largest component, so that component is about the speed.
  const float e = (sentry.GoalX - sentry.X) * kEase;
  const float f = (sentry.GoalY - sentry.Y) * kEase;
  const float g = (sentry.GoalZ - sentry.Z) * kEase;
  const float n = std::max({std::fabs(e), std::fabs(f), std::fabs(g)}) + 1;
  const float speed = sentry.State == kChasing ? std::nearbyint(static_cast<float>(sentry.Speed) * 1.5f)
                                               : static_cast<float>(sentry.Speed);
  const Point from{sentry.X, sentry.Y, sentry.Z};
  MoveBody(world, sentry.X, sentry.Y, sentry.Z, 0, 2 * sentry.HalfHeight, sentry.Width,
           TimeScaled(world, speed * e / n), TimeScaled(world, speed * f / n), TimeScaled(world, speed * g / n));

  Watch(world, sounds, sentry);

  // Arrived: close to the goal, or barely moved (against a wall, say).
  const double mx = sentry.X - from.X, my = sentry.Y - from.Y, mz = sentry.Z - from.Z;
  const double moved = mx * mx + my * my + mz * mz;
  const bool arrived = n < 10 || moved < static_cast<double>(n) * n * 0.01;
  const Point here{sentry.X, sentry.Y, sentry.Z};
  switch (sentry.State) {
    case kChasing: {
      const PlayerSlot& quarry =
          world.Players[static_cast<std::size_t>(std::clamp(sentry.Quarry, 0, kPlayerSlotCount - 1))];
      sentry.GoalX = quarry.X;
      sentry.GoalY = quarry.Y;
      sentry.GoalZ = quarry.Z;
      const Direction toQuarry = DirectionTo({quarry.X, quarry.Y, quarry.Z}, here);
      sentry.Heading = -toQuarry.Heading;
      sentry.Pitch = toQuarry.Pitch;
      sentry.HeadingTarget = sentry.Heading;
      sentry.PitchTarget = sentry.Pitch;
      break;
    }
    case kLost:
      if (arrived) {
        world.Random.Next(1);  // always 0: only advances the sequence
        sentry.State = kSearching;
      }
      break;
    case kSearching:
      if (arrived) {
        sentry.HeadingTarget += TimeScaled(world, 800);
        sentry.GoalX = sentry.X;
        sentry.GoalY = sentry.Y;
        sentry.GoalZ = sentry.Z;
        if (world.Random.Next(50) == 20) sentry.State = kRoaming;
      }
      break;
    case kRoaming:
      if (arrived) {
        const LevelMap& map = world.Map;
        const std::int32_t cx = world.Random.Next(map.SizeX());
        const std::int32_t cy = world.Random.Next(map.SizeY());
        const std::int32_t cz = world.Random.Next(map.SizeZ());
        sentry.GoalX = static_cast<float>(cx) * kCellSize;
        sentry.GoalY = static_cast<float>(cy) * kCellSize;
        sentry.GoalZ = static_cast<float>(cz) * kCellSize;
        const Direction toGoal = DirectionTo({sentry.GoalX, sentry.GoalY, sentry.GoalZ}, here);
        sentry.HeadingTarget = -toGoal.Heading;
        sentry.Pitch = toGoal.Pitch;
      }
      break;
  }
}

}  // namespace

void InitSentries(World& world) {
  world.Random.Seed(world.Map.RandomSeed);
  for (std::int32_t i = 0; i < ActiveSentries(world); ++i) {
    Sentry& sentry = world.Map.Sentries[static_cast<std::size_t>(i)];
    sentry.HalfHeight = kSentryHalfHeight;
    sentry.Width = kSentryWidth;
    sentry.Pitch = 0;
    sentry.Speed = kSentrySpeed;
    sentry.HeadingTarget = sentry.Heading;
    sentry.PitchTarget = 0;
    sentry.GoalX = sentry.X;
    sentry.GoalY = sentry.Y;
    sentry.GoalZ = sentry.Z;
    sentry.CellX = CellOf(sentry.X);
    sentry.CellY = CellOf(sentry.Y);
    sentry.CellZ = CellOf(sentry.Z);
    sentry.State = kChasing;
    sentry.LastCry = 1;
    sentry.CryTime = world.Now + kFirstCryDelay;
  }
}

Direction DirectionTo(Point target, Point origin) {
  const double dz = static_cast<double>(target.Z) - origin.Z;
  const double dx = static_cast<double>(target.X) - origin.X;
  double yaw;
  if (dz != 0) {
    yaw = std::atan(dx / dz);
    if (dz < 0) yaw += kSentryPi;
  } else {
    yaw = dx >= 0 ? kRightAngle : -kRightAngle;
  }
  const double h = std::sqrt(dz * dz + dx * dx);
  const double pitch = h != 0 ? std::atan((static_cast<double>(target.Y) - origin.Y) / h) : kRightAngle;
  return {static_cast<float>(ToAngleUnits(yaw)), static_cast<float>(ToAngleUnits(pitch))};
}

bool LineOfSight(const World& world, CellIndex from, CellIndex to) {
  const std::int64_t ax = std::int64_t{to.X} - from.X;
  const std::int64_t ay = std::int64_t{to.Y} - from.Y;
  const std::int64_t az = std::int64_t{to.Z} - from.Z;
  const std::int64_t n = std::max({std::llabs(ax), std::llabs(ay), std::llabs(az)});
  if (n < 2) return true;
  if (n >= kSightCells) return false;
  const auto along = [n](std::int32_t start, std::int64_t delta, std::int64_t i) {
    return static_cast<std::int32_t>(
        start + static_cast<std::int64_t>(std::nearbyint(static_cast<double>(i * delta) / static_cast<double>(n))));
  };
  for (std::int64_t i = 1; i <= n; ++i) {
    const std::uint8_t code = world.Map.GetCell(along(from.X, ax, i), along(from.Y, ay, i), along(from.Z, az, i));
    if (!TransparentToSight(world.Types[code])) return false;
  }
  return true;
}

bool SentrySees(const World& world, const Sentry& sentry, CellIndex player) {
  if (!LineOfSight(world, {sentry.CellX, sentry.CellY, sentry.CellZ}, player)) return false;
  const auto centre = [](std::int32_t cell) {
    return static_cast<float>(static_cast<double>(cell) * kCellSize + kCellSize / 2);
  };
  const Direction toPlayer =
      DirectionTo({centre(player.X), centre(player.Y), centre(player.Z)}, {sentry.X, sentry.Y, sentry.Z});
  if (engine::AngleCos(static_cast<double>(toPlayer.Heading) + sentry.Heading) < 0.7) return false;
  return std::fabs(engine::AngleCos(static_cast<double>(toPlayer.Pitch) + sentry.Pitch)) >= 0.3;
}

void UpdateSentries(World& world, WorldSounds& sounds) {
  for (std::int32_t i = 0; i < ActiveSentries(world); ++i) {
    UpdateSentry(world, sounds, world.Map.Sentries[static_cast<std::size_t>(i)]);
  }
}

}  // namespace zandrel::world
