// Movement with collision: one routine moves every body (players, sentries, sliding
// blocks, the camera) through the level, stopped by the boxes of solid objects, stepping
// up low ledges and following sloped tops; and the point tests the world asks.
#pragma once

#include <cmath>
#include <cstdint>

#include "world/level_map.h"
#include "world/object_type.h"

namespace zandrel::world {

struct World;

// A point in world units.
struct Point {
  float X = 0, Y = 0, Z = 0;
};

// A coordinate truncated toward zero to a whole number, kept inside the 32-bit range
// (a value beyond it saturates; NaN gives 0).
inline std::int32_t TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}

// Height of the top of a type's box at cell-local (lz, lx), interpolated between its four
// corner heights; a box flat along x or z uses its Xmin or Zmin edge.
std::int32_t TopHeight(const ObjectType& type, std::int32_t lz, std::int32_t lx);

// The point lies inside the box of a Collision object.
bool SolidAt(const World& world, Point p);
// As SolidAt with the box's bottom and top lowered by stepHeight.
bool SolidAtLowered(const World& world, Point p, std::int32_t stepHeight);
// As SolidAt without asking for Collision.
bool InsideShape(const World& world, Point p);

// Moves an upright box centred at (x, y, z) by (dx, dy, dz), x then z then y; answers
// true when its vertical motion was stopped (landed, hit a ceiling or a level limit).
bool MoveBody(const World& world, float& x, float& y, float& z, std::int32_t stepHeight, std::int32_t height,
              std::int32_t width, float dx, float dy, float dz);

}  // namespace zandrel::world
