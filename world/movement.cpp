#include "world/movement.h"

#include <algorithm>

#include "world/world.h"

namespace zandrel::world {
namespace {

// No axis moves more than this in one call, just under a cell.
constexpr float kMaxDisplacement = 510.0f;

// Coordinates relative to a cell are kept in 64 bits so that a box's limits, a body's
// half sizes and a step can be added to them without overflow.
using Local = std::int64_t;

Local LocalIn(float coordinate, std::int32_t cell) {
  return TruncateToInt(static_cast<double>(coordinate) - static_cast<double>(cell) * kCellSize);
}

const ObjectType& TypeAt(const World& world, std::int32_t cx, std::int32_t cy, std::int32_t cz) {
  return world.Types[world.Map.GetCell(cx, cy, cz)];
}

// The cell of a point whose shape is inside: its type and the point's local x and z.
struct ShapeHit {
  const ObjectType* Type = nullptr;
  Local Lx = 0, Lz = 0;
};

// Whether a point lies inside the box of its cell's type, the box lowered by `lower`. Points
// beyond the level (an index below 0 or above the size) are inside nothing; an index equal
// to the size finds code 0.
bool PointInside(const World& world, Point p, std::int32_t lower, bool needCollision, ShapeHit* hit = nullptr) {
  const LevelMap& map = world.Map;
  const std::int32_t cx = CellOf(p.X), cy = CellOf(p.Y), cz = CellOf(p.Z);
  if (cx < 0 || cy < 0 || cz < 0 || cx > map.SizeX() || cy > map.SizeY() || cz > map.SizeZ()) return false;
  const ObjectType& type = TypeAt(world, cx, cy, cz);
  if (needCollision && !type.Collision) return false;
  const Box& box = type.Bounds;
  const Local lx = LocalIn(p.X, cx), ly = LocalIn(p.Y, cy), lz = LocalIn(p.Z, cz);
  if (lx < box.Xmin || lx > box.Xmax || lz < box.Zmin || lz > box.Zmax) return false;
  const Local top = TopHeight(type, static_cast<std::int32_t>(lz), static_cast<std::int32_t>(lx));
  if (ly < Local{box.Ymin} - lower || ly > top - lower) return false;
  if (hit) *hit = {&type, lx, lz};
  return true;
}

// A fast body could jump over a thin box between two probes. A body centred at `centre`
// (local to the box's cell) with a half size of `half` moves by `d` on one axis, where the
// box spans `low` to `high`: a leading face that would pass the whole box stops at its near
// side instead.
float StopAtThinBox(Local centre, Local half, Local low, Local high, float d) {
  const double move = d;
  if (d > 0) {
    const Local face = centre + half;
    if (face <= low && high <= face + move && low - face < move) return static_cast<float>(low - face);
  } else {
    const Local face = centre - half;
    if (high <= face && face + move <= low && move < high - face) return static_cast<float>(high - face);
  }
  return d;
}

// The size of a body, in whole units.
struct BodySize {
  std::int32_t HalfWidth, HalfHeight, StepHeight;
};

// One horizontal axis: `along` moves by `d`, `across` is the other horizontal coordinate.
void MoveHorizontal(const World& world, const BodySize& body, bool alongX, float& along, float across, float y,
                    float d) {
  const Local hw = body.HalfWidth, hh = body.HalfHeight, step = body.StepHeight;
  const auto pointAt = [alongX](float a, float height, float c) {
    return alongX ? Point{a, height, c} : Point{c, height, a};
  };
  const auto typeAt = [&](std::int32_t alongCell, std::int32_t row, std::int32_t acrossCell) -> const ObjectType& {
    return alongX ? TypeAt(world, alongCell, row, acrossCell) : TypeAt(world, acrossCell, row, alongCell);
  };
  const Local ly = LocalIn(y, CellOf(y));
  const Local lAcross = LocalIn(across, CellOf(across));

  // Anti-tunnelling over the column the body starts in, then the column its leading face
  // reaches.
  for (int pass = 0; pass < 2; ++pass) {
    const std::int32_t column = pass == 0 ? CellOf(along) : CellOf(d > 0 ? along + d + hw : along + d - hw);
    const Local lAlong = LocalIn(along, column);
    for (int i = -1; i <= 1; ++i) {
      const float probeY = y + static_cast<float>(i * hh);
      const std::int32_t row = CellOf(probeY);
      for (int j = -1; j <= 1; ++j) {
        const float probeAcross = across + static_cast<float>(j * hw);
        const std::int32_t acrossCell = CellOf(probeAcross);
        const ObjectType& type = typeAt(column, row, acrossCell);
        if (!type.Collision) continue;
        const Box& box = type.Bounds;
        const Local acrossMin = alongX ? box.Zmin : box.Xmin, acrossMax = alongX ? box.Zmax : box.Xmax;
        if (acrossMin > lAcross + hw || lAcross - hw > acrossMax) continue;
        const auto probeLocal = static_cast<std::int32_t>(LocalIn(probeAcross, acrossCell));
        const auto alongLocal = static_cast<std::int32_t>(lAlong);
        const Local top = alongX ? TopHeight(type, probeLocal, alongLocal) : TopHeight(type, alongLocal, probeLocal);
        if (box.Ymin - step > ly + hh || ly - hh > top - step) continue;
        d = StopAtThinBox(lAlong, hw, alongX ? box.Xmin : box.Zmin, alongX ? box.Xmax : box.Zmax, d);
      }
    }
  }

  // Boxes lowered by the step: a top less than a step above the feet does not block, the
  // vertical move then lifts the body onto it.
  const float edge = d > 0 ? along + d + static_cast<float>(hw) : along + d - static_cast<float>(hw);
  bool blocked = false;
  for (int i = -1; i <= 1 && !blocked; ++i) {
    for (int j = -1; j <= 1 && !blocked; ++j) {
      const Point probe = pointAt(edge, y + static_cast<float>(i * hh), across + static_cast<float>(j * hw));
      blocked = PointInside(world, probe, body.StepHeight, true);
    }
  }
  if (d != 0 && !blocked) along += d;
  const float size = static_cast<float>(kCellSize) * static_cast<float>(alongX ? world.Map.SizeX() : world.Map.SizeZ());
  along = std::clamp(along, 0.0f, size);
}

// The vertical axis; answers whether the motion was stopped.
bool MoveVertical(const World& world, const BodySize& body, float x, float& y, float z, float dy) {
  const Local hw = body.HalfWidth, hh = body.HalfHeight;
  const Local lx = LocalIn(x, CellOf(x)), lz = LocalIn(z, CellOf(z));

  // Anti-tunnelling over the row the body starts in, then the row its leading edge reaches.
  for (int pass = 0; pass < 2; ++pass) {
    const std::int32_t row = pass == 0 ? CellOf(y) : CellOf(dy > 0 ? y + dy + hh : y + dy - hh);
    const Local ly = LocalIn(y, row);
    for (int i = -1; i <= 1; ++i) {
      const float probeZ = z + static_cast<float>(i * hw);
      const std::int32_t cz = CellOf(probeZ);
      for (int j = -1; j <= 1; ++j) {
        const float probeX = x + static_cast<float>(j * hw);
        const std::int32_t cx = CellOf(probeX);
        const ObjectType& type = TypeAt(world, cx, row, cz);
        if (!type.Collision) continue;
        const Box& box = type.Bounds;
        if (box.Zmin > lz + hw || lz - hw > box.Zmax || box.Xmin > lx + hw || lx - hw > box.Xmax) continue;
        const Local top = TopHeight(type, static_cast<std::int32_t>(LocalIn(probeZ, cz)),
                                    static_cast<std::int32_t>(LocalIn(probeX, cx)));
        dy = StopAtThinBox(ly, hh, box.Ymin, top, dy);
      }
    }
  }

  // The leading edge: feet come to rest one unit above the highest top they reach, a head
  // one unit below the lowest bottom.
  const bool falling = dy <= 0;
  const float edge = falling ? y + dy - static_cast<float>(hh) : y + dy + static_cast<float>(hh);
  const std::int32_t row = CellOf(edge);
  const float inset = static_cast<float>(hw - 1);
  bool hit = false;
  Local rest = falling ? 0 : kCellSize;
  for (int i = -1; i <= 1; ++i) {
    for (int j = -1; j <= 1; ++j) {
      ShapeHit shape;
      if (!PointInside(world, {x + j * inset, edge, z + i * inset}, 0, true, &shape)) continue;
      hit = true;
      if (falling) {
        const Local top =
            TopHeight(*shape.Type, static_cast<std::int32_t>(shape.Lz), static_cast<std::int32_t>(shape.Lx));
        rest = std::max(rest, top + hh + 1);
      } else {
        rest = std::min(rest, shape.Type->Bounds.Ymin - hh - 1);
      }
    }
  }
  y = hit ? static_cast<float>(static_cast<double>(row) * kCellSize + static_cast<double>(rest)) : y + dy;

  // Feet that have entered a rising slope or a low step are lifted onto its top.
  if (falling) {
    const float feet = y - static_cast<float>(hh);
    const double rowBase = static_cast<double>(CellOf(feet)) * kCellSize;
    for (int i = -1; i <= 1; ++i) {
      for (int j = -1; j <= 1; ++j) {
        ShapeHit shape;
        if (!PointInside(world, {x + j * inset, feet, z + i * inset}, 0, true, &shape)) continue;
        hit = true;
        const Local top =
            TopHeight(*shape.Type, static_cast<std::int32_t>(shape.Lz), static_cast<std::int32_t>(shape.Lx));
        y = std::max(y, static_cast<float>(static_cast<double>(top) + rowBase + static_cast<double>(hh)));
      }
    }
  }

  const float lowest = static_cast<float>(kCellSize / 2);
  const float highest = static_cast<float>(kCellSize) * static_cast<float>(world.Map.SizeY());
  if (y < lowest) {
    y = lowest;
    hit = true;
  }
  if (y > highest) {
    y = highest;
    hit = true;
  }
  return hit;
}

}  // namespace

std::int32_t TopHeight(const ObjectType& type, std::int32_t lz, std::int32_t lx) {
  const Box& box = type.Bounds;
  // A box flat along z or x has no slope that way: its height is the one at the Zmin or
  // Xmin edge.
  double east = box.Ymax2, west = box.Ymax1;
  if (box.Zmax != box.Zmin) {
    const double depth = static_cast<double>(lz) - box.Zmin;
    const double zRange = static_cast<double>(box.Zmax) - box.Zmin;
    east = std::trunc(depth * (static_cast<double>(box.Ymax3) - box.Ymax2) / zRange + box.Ymax2);
    west = std::trunc(depth * (static_cast<double>(box.Ymax4) - box.Ymax1) / zRange + box.Ymax1);
  }
  if (box.Xmax == box.Xmin) return TruncateToInt(west);
  const double xRange = static_cast<double>(box.Xmax) - box.Xmin;
  return TruncateToInt((static_cast<double>(lx) - box.Xmin) * (east - west) / xRange + west);
}

bool SolidAt(const World& world, Point p) { return PointInside(world, p, 0, true); }

bool SolidAtLowered(const World& world, Point p, std::int32_t stepHeight) {
  return PointInside(world, p, stepHeight, true);
}

bool InsideShape(const World& world, Point p) { return PointInside(world, p, 0, false); }

bool MoveBody(const World& world, float& x, float& y, float& z, std::int32_t stepHeight, std::int32_t height,
              std::int32_t width, float dx, float dy, float dz) {
  const BodySize body{width / 2, height / 2, stepHeight};
  const auto limit = [](float d) { return std::clamp(d, -kMaxDisplacement, kMaxDisplacement); };
  MoveHorizontal(world, body, true, x, z, y, limit(dx));
  MoveHorizontal(world, body, false, z, x, y, limit(dz));
  return MoveVertical(world, body, x, y, z, limit(dy));
}

}  // namespace zandrel::world
