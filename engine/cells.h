// World units: a cell is kCellSize units on each axis; cell i spans kCellSize * i to
// kCellSize * i + kCellSize - 1 and its centre is kCellSize * i + kCellSize / 2; y is up.
// The engine draws cells (cube faces); the level map (world/level_map.h) names them.
#pragma once

#include <cmath>
#include <cstdint>

namespace zandrel::engine {

constexpr std::int32_t kCellSize = 512;

// The cell index of a world coordinate: truncation toward zero, so -511 .. 0 is cell 0.
inline std::int32_t CellOf(float coordinate) {
  const float cell = coordinate / static_cast<float>(kCellSize);
  if (std::isnan(cell)) return 0;
  if (cell >= 2147483520.0f) return INT32_MAX;  // beyond any level: kept in range
  if (cell <= -2147483520.0f) return INT32_MIN;
  return static_cast<std::int32_t>(cell);
}

// The world coordinate of a cell's centre, wrapping as 32-bit arithmetic does for cells
// far beyond any level instead of overflowing.
inline std::int32_t CellCentre(std::int32_t cell) {
  return static_cast<std::int32_t>(std::int64_t{cell} * kCellSize + kCellSize / 2);
}

}  // namespace zandrel::engine
