#include "world/level_scene.h"

#include <algorithm>
#include <cmath>

#include "engine/camera.h"
#include "engine/scene.h"
#include "world/movement.h"

namespace zandrel::world {
namespace {

// A world coordinate as a whole number, truncated; positions read from files may lie far
// outside the int32 range.
std::int32_t Whole(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<std::int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

}  // namespace

CellBox CellsAround(const LevelMap& map, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t reach) {
  const std::array<std::int32_t, 3> centre{x, y, z};
  const std::array<std::int32_t, 3> size{map.SizeX(), map.SizeY(), map.SizeZ()};
  CellBox box;
  for (std::size_t i = 0; i < 3; ++i) {
    box.Lo[i] = std::max(centre[i] - reach, 0);
    box.Hi[i] = std::min(centre[i] + reach, size[i]);
  }
  return box;
}

engine::CubeLook CubeLookOf(const ObjectType& type, bool highDetail) {
  return engine::CubeLook{type.FaceColor, type.FaceTexture, highDetail};
}

void AddLevelCells(engine::Engine& engine, engine::RenderView& view, World& world, engine::CubeFaces& faces,
                   const CellBox& box, std::optional<std::array<std::int32_t, 3>> target, std::int32_t targetLight) {
  const LevelMap& map = world.Map;
  auto isCube = [&](std::int32_t x, std::int32_t y, std::int32_t z) {
    const ObjectType& t = world.Types[map.GetCell(x, y, z)];
    return !t.Empty && t.Cube;
  };
  for (std::int32_t x = box.Lo[0]; x <= box.Hi[0]; ++x) {
    for (std::int32_t y = box.Lo[1]; y <= box.Hi[1]; ++y) {
      for (std::int32_t z = box.Lo[2]; z <= box.Hi[2]; ++z) {
        const ObjectType& type = world.Types[map.GetCell(x, y, z)];
        if (type.Empty) continue;
        const std::int32_t cx = engine::CellCentre(x), cy = engine::CellCentre(y), cz = engine::CellCentre(z);
        if (!engine::PointVisible(view, 1280, cx, cy, cz)) continue;
        const bool isTarget = target && (*target)[0] == x && (*target)[1] == y && (*target)[2] == z && type.Dig;
        const std::int32_t light = isTarget ? targetLight : map.GetLight(x, y, z) - 128;
        if (type.Cube) {
          engine::AddCubeCell(engine, view, faces, CubeLookOf(type, world.Bank.HighQuality), x, y, z, light, isCube);
        } else {
          engine::AddMesh(engine, view, type.DisplayMesh, cx, cy, cz, 0, 0, 0, light);
        }
      }
    }
  }
}

void PlayLoopSounds(const World& world, WorldSounds& sounds, const CellBox& box) {
  for (std::int32_t x = box.Lo[0]; x <= box.Hi[0]; ++x) {
    for (std::int32_t y = box.Lo[1]; y <= box.Hi[1]; ++y) {
      for (std::int32_t z = box.Lo[2]; z <= box.Hi[2]; ++z) {
        const ObjectType& t = world.Types[world.Map.GetCell(x, y, z)];
        if (!t.Empty && t.LoopDue) {
          sounds.PlayAt(t.LoopSound, engine::CellCentre(x), engine::CellCentre(y), engine::CellCentre(z), t.LoopVolume);
        }
      }
    }
  }
}

void AddShadow(engine::Engine& engine, engine::RenderView& view, const World& world, const engine::Mesh& shadow,
               float x, float y, float z, std::int32_t heading) {
  const std::int32_t cx = CellOf(x), cz = CellOf(z);
  std::int32_t cy = CellOf(y);
  const std::int64_t lx = std::int64_t{Whole(x)} - std::int64_t{cx} * kCellSize;
  const std::int64_t lz = std::int64_t{Whole(z)} - std::int64_t{cz} * kCellSize;
  auto holds = [&](std::int32_t cellY) {
    const ObjectType& t = world.Types[world.Map.GetCell(cx, cellY, cz)];
    return !t.Empty && t.Bounds.Xmin <= lx && lx <= t.Bounds.Xmax && t.Bounds.Zmin <= lz && lz <= t.Bounds.Zmax;
  };
  if (world.Map.GetCell(cx, cy, cz) == 0) {
    while (cy >= 0 && !holds(cy)) --cy;
    if (cy < 0) return;
  }
  const ObjectType& t = world.Types[world.Map.GetCell(cx, cy, cz)];
  const float surface = static_cast<float>(TopHeight(t, static_cast<std::int32_t>(lz), static_cast<std::int32_t>(lx)) +
                                           std::int64_t{kCellSize} * cy + 5);
  if (!(y > surface)) return;
  engine::AddMesh(engine, view, shadow, Whole(x), static_cast<std::int32_t>(surface), Whole(z), heading, 0, 0, 0);
}

void AddSlidingBlocks(engine::Engine& engine, engine::RenderView& view, const World& world, engine::CubeFaces& faces) {
  for (std::int32_t i = 0; i <= world.Tables.LastBlock; ++i) {
    const SlidingBlock& b = world.Tables.Blocks[static_cast<std::size_t>(i)];
    const ObjectType& t = world.Types[b.Code];
    const std::int32_t x = Whole(std::round(b.X)), y = Whole(std::round(b.Y)), z = Whole(std::round(b.Z));
    if (t.Cube) {
      for (int face = 0; face < engine::kCubeFaceCount; ++face) {
        engine::AddCubeFace(engine, view, faces, CubeLookOf(t, world.Bank.HighQuality), face, x, y, z, 0, 0, 0, 0);
      }
    } else {
      engine::AddMesh(engine, view, t.DisplayMesh, x, y, z, 0, 0, 0, 0);
    }
  }
}

}  // namespace zandrel::world
