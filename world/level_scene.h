// The level's cells as a scene: cube cells by their faces that touch no other cube,
// other objects by their display mesh, each lit by its cell's light byte.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "engine/cube_faces.h"
#include "engine/engine.h"
#include "engine/render_view.h"
#include "world/world.h"

namespace zandrel::world {

// Cells lo..hi on each axis, both ends included.
struct CellBox {
  std::array<std::int32_t, 3> Lo{}, Hi{};
};

// The cells within `reach` of a cell on every axis, cut to 0..size (the size itself is a
// cell just beyond the level, which holds nothing).
CellBox CellsAround(const LevelMap& map, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t reach);

// How one cube type looks with the bank's detail level.
engine::CubeLook CubeLookOf(const ObjectType& type, bool highDetail);

// Adds every visible cell of the box, x outermost, then y, then z. A cell is added only
// when PointVisible(1280, its centre) holds; its light is the light byte - 128, or
// `targetLight` for the cell `target` when that is a diggable object.
void AddLevelCells(engine::Engine& engine, engine::RenderView& view, World& world, engine::CubeFaces& faces,
                   const CellBox& box, std::optional<std::array<std::int32_t, 3>> target = std::nullopt,
                   std::int32_t targetLight = -80);

}  // namespace zandrel::world
