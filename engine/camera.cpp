#include "engine/camera.h"

#include <algorithm>
#include <cstdlib>

#include "engine/angles.h"

namespace zandrel::engine {
namespace {

std::uint16_t ClampToUint16(int value) { return static_cast<std::uint16_t>(std::clamp(value, 0, 65535)); }

}  // namespace

std::array<float, 9> ViewMatrix(std::int32_t yaw, std::int32_t pitch, std::int32_t roll) {
  const float cy = AngleCos(yaw), sy = AngleSin(yaw);
  const float cp = AngleCos(pitch), sp = AngleSin(pitch);
  const float cr = AngleCos(roll), sr = AngleSin(roll);
  return {cy * cr + sy * sp * sr,
          -cp * sr,
          -sy * cr + sp * sr * cy,
          cy * sr - cr * sy * sp,
          cp * cr,
          -sy * sr - cy * cr * sp,
          sy * cp,
          sp,
          cy * cp};
}

ScreenPoint Project(const RenderView& view, std::int32_t vx, std::int32_t vy, std::int32_t vz) {
  // A point just in front of the camera and far to the side can project beyond 32 bits.
  const std::int64_t depth = std::max(vz, 1);
  const std::int64_t focal = std::int64_t{1} << view.ViewShift;
  return {ClampToInt32(vx * focal / depth + view.CentreX), ClampToInt32(view.CentreY - vy * focal / depth)};
}

bool PointVisible(const RenderView& view, std::int32_t radius, std::int32_t x, std::int32_t y, std::int32_t z) {
  const std::int64_t dx = std::int64_t{x} - view.Cam.X;
  const std::int64_t dy = std::int64_t{y} - view.Cam.Y;
  const std::int64_t dz = std::int64_t{z} - view.Cam.Z;
  if (std::llabs(dx) < radius && std::llabs(dy) < radius && std::llabs(dz) < radius) return true;
  const Point3 v = Turn(view.Cam.M, static_cast<float>(dx), static_cast<float>(dy), static_cast<float>(dz));
  if (v.Z < view.NearDepth) return false;
  const ScreenPoint s = Project(view, v.X, v.Y, v.Z);
  const std::int64_t margin = view.CentreX;
  return -margin < s.X && s.X < view.RightLimit + margin && -margin < s.Y && s.Y < view.BottomLimit + margin;
}

std::uint16_t ViewShiftForWidth(int width) {
  if (width <= 160) return 6;
  if (width <= 320) return 7;
  return 8;
}

void SetProjection(RenderView& view, int width, int height, std::int32_t nearDepth, int rightLimit) {
  view.CentreX = ClampToUint16(width / 2);
  view.CentreY = ClampToUint16(height / 2);
  view.ViewShift = ViewShiftForWidth(width);
  view.NearDepth = nearDepth;
  if (view.FarDistance == 0) view.FarDistance = 10000;
  view.RightLimit = ClampToUint16(rightLimit);
  view.BottomLimit = ClampToUint16(view.CentreY * 2 - 1);
  view.Polygons.assign(kPolygonCapacity, ScreenPolygon{});
  view.Sort.assign(kPolygonCapacity, SortEntry{});
  view.PolygonCount = 0;
}

}  // namespace zandrel::engine
