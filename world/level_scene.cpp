#include "world/level_scene.h"

#include <algorithm>

#include "engine/camera.h"
#include "engine/scene.h"

namespace zandrel::world {

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

}  // namespace zandrel::world
