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
#include "world/world_sounds.h"

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

// Plays the loop sound of every cell of the box whose type's loop is due this frame, at
// the cell's centre, seen or not.
void PlayLoopSounds(const World& world, WorldSounds& sounds, const CellBox& box);

// The shadow of a body at (x, y, z): the mesh laid on the first surface below the point
// (the cell holding it, or when that is empty the first cell down whose box covers the
// point across), 5 units above it and turned by `heading`. None when nothing is below or
// the point is not above the surface.
void AddShadow(engine::Engine& engine, engine::RenderView& view, const World& world, const engine::Mesh& shadow,
               float x, float y, float z, std::int32_t heading);

// Every block of the sliding-block table where it is now: a cube type as its six faces,
// any other as its display mesh.
void AddSlidingBlocks(engine::Engine& engine, engine::RenderView& view, const World& world, engine::CubeFaces& faces);

}  // namespace zandrel::world
