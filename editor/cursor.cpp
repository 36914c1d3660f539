#include "editor/cursor.h"

#include <algorithm>
#include <cmath>

namespace zandrel::editor {
namespace {

constexpr float kHalfCell = world::kCellSize / 2;

void Clamp(float& target, float& shown, std::int32_t size) {
  const float low = kHalfCell;
  const float high = static_cast<float>(size) * world::kCellSize - kHalfCell;
  if (target < low) {
    target = shown = low;
  } else if (target > high) {
    target = shown = high;
  }
}

}  // namespace

std::int32_t Truncated(float value) {
  if (std::isnan(value)) return 0;
  return static_cast<std::int32_t>(std::clamp(static_cast<double>(value), -2147483648.0, 2147483647.0));
}

CellPos TargetCell(const EditorCursor& c) {
  return {world::CellOf(c.TargetX), world::CellOf(c.TargetY), world::CellOf(c.TargetZ)};
}

CellPos ShownCell(const EditorCursor& c) {
  return {world::CellOf(c.ShownX), world::CellOf(c.ShownY), world::CellOf(c.ShownZ)};
}

void PlaceCursor(EditorCursor& c, float x, float y, float z) {
  c.TargetX = c.ShownX = x;
  c.TargetY = c.ShownY = y;
  c.TargetZ = c.ShownZ = z;
}

void StepCursor(EditorCursor& c, const world::LevelMap& map, std::int32_t elapsed) {
  Clamp(c.TargetX, c.ShownX, map.SizeX());
  Clamp(c.TargetY, c.ShownY, map.SizeY());
  Clamp(c.TargetZ, c.ShownZ, map.SizeZ());
  const float factor = std::clamp(0.25f * static_cast<float>(elapsed) / 90.0f, 0.0f, 1.0f);
  for (auto [target, shown] : {std::pair{&c.TargetX, &c.ShownX},
                               {&c.TargetY, &c.ShownY},
                               {&c.TargetZ, &c.ShownZ},
                               {&c.TargetHeading, &c.ShownHeading},
                               {&c.TargetLook, &c.ShownLook},
                               {&c.TargetZoom, &c.ShownZoom}}) {
    *shown += (*target - *shown) * factor;
  }
}

}  // namespace zandrel::editor
