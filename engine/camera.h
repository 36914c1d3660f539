// The view matrix, the view transform and the fixed-point perspective projection.
// World units: a cell is kCellSize (512) on each axis (engine/cells.h), y up. View space: x right, y up, z the depth.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/render_view.h"

namespace zandrel::engine {

struct Point3 {
  std::int32_t X = 0, Y = 0, Z = 0;
};

struct ScreenPoint {
  std::int32_t X = 0, Y = 0;
};

// Values beyond the 32-bit range stop at its ends.
inline std::int32_t ClampToInt32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// The nearest integer, ties to even; values beyond the 32-bit range stop at its ends.
inline std::int32_t Nearest(float value) {
  constexpr float kLimit = 2147483648.0f;  // 2^31
  if (value >= kLimit) return std::numeric_limits<std::int32_t>::max();
  if (!(value > -kLimit)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(std::lrintf(value));
}

// The nine entries, row by row, of the matrix built from yaw, pitch and roll: the
// camera's right, up and forward axes in world space. Also turns mesh vertices.
std::array<float, 9> ViewMatrix(std::int32_t yaw, std::int32_t pitch, std::int32_t roll);

// nearest(M . d) for an offset d given in single floats.
inline Point3 Turn(const std::array<float, 9>& m, float dx, float dy, float dz) {
  return {Nearest(dx * m[0] + dy * m[1] + dz * m[2]), Nearest(dx * m[3] + dy * m[4] + dz * m[5]),
          Nearest(dx * m[6] + dy * m[7] + dz * m[8])};
}

// A world point in view space; z is the depth, and the camera sees z > 0.
inline Point3 ToView(const Camera& camera, std::int64_t x, std::int64_t y, std::int64_t z) {
  return Turn(camera.M, static_cast<float>(x - camera.X), static_cast<float>(y - camera.Y),
              static_cast<float>(z - camera.Z));
}

// Screen position of a view-space point: (v << ViewShift) / z from the centre, y down,
// dividing with truncation toward zero. A depth below 1 is taken as 1.
ScreenPoint Project(const RenderView& view, std::int32_t vx, std::int32_t vy, std::int32_t vz);

// Whether a world point is worth drawing: within `radius` of the camera on all three
// axes (behind it too), or in front of the near plane and projecting to within half a
// screen width of the screen.
bool PointVisible(const RenderView& view, std::int32_t radius, std::int32_t x, std::int32_t y, std::int32_t z);

// 6 for views up to 160 pixels wide, 7 up to 320, 8 beyond: focal lengths 64, 128, 256.
std::uint16_t ViewShiftForWidth(int width);

// Sets the projection when a back end opens its view: the centre, ViewShift from the
// width, NearDepth, the far distance (10000 unless already set), the right limit
// (the game's back end passes the width, the editor's width - 1), the bottom limit
// (2 x centre y - 1), and a fresh polygon list and sort array of kPolygonCapacity entries.
void SetProjection(RenderView& view, int width, int height, std::int32_t nearDepth, int rightLimit);

}  // namespace zandrel::engine
