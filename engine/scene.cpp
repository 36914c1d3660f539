#include "engine/scene.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/angles.h"
#include "engine/camera.h"
#include "engine/mesh_file.h"
#include "engine/palette.h"

namespace zandrel::engine {
namespace {

// Light a corner receives from one light: 255 at the light, falling linearly to 0 at
// its radius. A light of radius 0 reaches nothing.
std::int64_t LightFrom(const Light& light, std::int32_t x, std::int32_t y, std::int32_t z) {
  if (light.Radius == 0) return 0;
  const double dx = static_cast<double>(std::int64_t{x} - light.X);
  const double dy = static_cast<double>(std::int64_t{y} - light.Y);
  const double dz = static_cast<double>(std::int64_t{z} - light.Z);
  const auto distance = static_cast<std::int64_t>(std::nearbyint(std::sqrt(dx * dx + dy * dy + dz * dz)));
  return 255 - std::min<std::int64_t>(255, (distance + 1) * 255 / light.Radius);
}

void LightCorners(RenderView& view) {
  const Light* lights = view.Lights.data();
  const int lightCount = view.LastLight + 1;
  for (int i = 0; i < view.PolygonCount; ++i) {
    ScreenPolygon& p = view.Polygons[static_cast<std::size_t>(i)];
    std::array<std::int32_t, 3> corner{};
    for (std::size_t k = 0; k < 3; ++k) {
      std::int64_t light = p.Light1;
      for (int l = 0; l < lightCount; ++l) light += LightFrom(lights[l], p.VX[k], p.VY[k], p.VZ[k]);
      corner[k] = static_cast<std::int32_t>(std::clamp<std::int64_t>(light, 0, 255));
    }
    p.Light1 = corner[0];
    p.Light2 = corner[1];
    p.Light3 = corner[2];
  }
}

// Descending by key, farthest first. Whole entries move. The smaller side is sorted by
// recursion and the larger one by the loop, which keeps the stack shallow and gives the
// same order as sorting lo..i-1 and then i+1..hi.
void SortByDepth(SortEntry* entries, int lo, int hi) {
  while (lo < hi) {
    const std::int32_t pivot = entries[hi].Key;
    int i = lo - 1;
    int j = hi;
    do {
      do ++i;
      while (entries[i].Key > pivot && i < hi);
      do --j;
      while (entries[j].Key < pivot && j > lo);
      std::swap(entries[i], entries[j]);
    } while (i < j);
    std::swap(entries[i], entries[j]);  // undo the last swap
    std::swap(entries[i], entries[hi]);
    if (i - lo < hi - i) {
      SortByDepth(entries, lo, i - 1);
      lo = i + 1;
    } else {
      SortByDepth(entries, i + 1, hi);
      hi = i - 1;
    }
  }
}

}  // namespace

void StartEngineCore(Engine& engine) { CreateMesh(engine.Scratch, kScratchHighestVertex, kScratchHighestFace); }

void FitScratchMesh(Engine& engine, const Mesh& mesh) {
  const Mesh& scratch = engine.Scratch;
  if (mesh.VertexCount() <= scratch.VertexCount() && mesh.FaceCount() <= scratch.FaceCount()) return;
  // One larger than the mesh on both counts, never smaller than before: the room stays
  // enough for every mesh drawn so far, so meshes drawn in turn do not make it again.
  const auto highest = [](std::size_t roomNow, std::size_t count) {
    return static_cast<std::uint16_t>(std::min<std::size_t>(std::max(roomNow, count + 1) - 1, 65535));
  };
  CreateMesh(engine.Scratch, highest(scratch.VertexCount(), mesh.VertexCount()),
             highest(scratch.FaceCount(), mesh.FaceCount()));
}

void BeginScene(Engine& engine, RenderView& view, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t yaw,
                std::int32_t pitch, std::int32_t roll) {
  view.Cam.X = x;
  view.Cam.Y = y;
  view.Cam.Z = z;
  view.Cam.M = ViewMatrix(yaw, pitch, roll);
  view.RollCos = AngleCos(roll);
  view.RollSin = AngleSin(roll);
  view.LastLight = -1;
  view.PolygonCount = 0;
  engine.Back->StartScene(view);
}

void AddLight(RenderView& view, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t radius) {
  if (view.LastLight >= kMaxLights - 1) return;
  ++view.LastLight;
  view.Lights[static_cast<std::size_t>(view.LastLight)] = {x, y, z, radius};
}

void SetFog(Engine& engine, RenderView& view, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  view.FogRed = red;
  view.FogGreen = green;
  view.FogBlue = blue;
  view.FogIndex.fill(NearestColour(view.ViewPalette, red, green, blue, 0, 255));
  engine.Back->FogChanged(view);
}

void EndScene(Engine& engine, RenderView& view) {
  if (view.PolygonCount <= 0) return;
  for (int l = 0; l <= view.LastLight; ++l) {
    Light& light = view.Lights[static_cast<std::size_t>(l)];
    const Point3 v = ToView(view.Cam, light.X, light.Y, light.Z);
    light.X = v.X;
    light.Y = v.Y;
    light.Z = v.Z;
  }
  LightCorners(view);

  const int count = view.PolygonCount;
  for (int i = 0; i < count; ++i) {
    view.Sort[static_cast<std::size_t>(i)] = {i, view.Polygons[static_cast<std::size_t>(i)].DepthKey};
  }
  SortByDepth(view.Sort.data(), 0, count - 1);

  const auto draw = [&](auto wanted) {
    for (int i = 0; i < count; ++i) {
      const std::int32_t index = view.Sort[static_cast<std::size_t>(i)].Polygon;
      if (wanted(view.Polygons[static_cast<std::size_t>(index)].Kind)) engine.Back->DrawPolygon(index, view);
    }
  };
  if (view.Rules.OnePass) {
    draw([](std::int32_t) { return true; });
  } else {
    draw([](std::int32_t kind) { return kind == kOpaqueTextured; });
    draw([](std::int32_t kind) { return kind != kOpaqueTextured; });
  }
  view.LastLight = -1;
}

}  // namespace zandrel::engine
