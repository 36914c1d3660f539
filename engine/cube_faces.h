// Cube cells are drawn with six shared face meshes, one per side, each a square as wide as
// a cell (kCellSize) centred on the cell centre; a face is drawn only where the neighbouring cell on
// that side is not a cube.
#pragma once

#include <array>
#include <cstdint>

#include "engine/cells.h"
#include "engine/engine.h"
#include "engine/mesh.h"
#include "engine/render_view.h"

namespace zandrel::engine {

// Faces 0..5 (A..F) look toward -z, +x, +z, -x, +y, -y.
constexpr int kCubeFaceCount = 6;
using CubeFaces = std::array<Mesh, kCubeFaceCount>;

struct CellOffset {
  std::int32_t X = 0, Y = 0, Z = 0;
};

// How a cube type looks: per face a palette colour and a texture number, and whether
// the bank was loaded with high detail (textures) or not (flat colours).
struct CubeLook {
  std::array<std::uint8_t, kCubeFaceCount> Colour{66, 66, 66, 66, 66, 66};
  std::array<std::uint8_t, kCubeFaceCount> Texture{};
  bool HighDetail = false;
};

// The six face meshes: four corners and two triangles each, wound so that they are kept
// when seen from outside the cell, sharing their diagonal so that a texture covers the
// whole square, upright: the image's top row along the face's top edge (for the top and
// bottom faces, along +z), its left column along the face's left edge.
CubeFaces MakeCubeFaces();

// Gives both triangles of a face mesh the colour (kind 3) or, with high detail, the
// texture (kind 0).
void RetextureCubeFace(Mesh& face, std::uint8_t colour, std::uint8_t texture, bool highDetail);

// The cell on the other side of a face, relative to the cube's own.
CellOffset CubeFaceNeighbour(int face);

// Adds one face of a cube centred at (x, y, z), retextured for the cube's type.
void AddCubeFace(Engine& engine, RenderView& view, CubeFaces& faces, const CubeLook& look, int face, std::int32_t x,
                 std::int32_t y, std::int32_t z, std::int32_t yaw, std::int32_t pitch, std::int32_t roll,
                 std::int32_t light);

// Adds the faces of the cube in cell (x, y, z) whose neighbour is not a cube;
// isCube(x, y, z) answers for any cell, outside the level included.
template <class IsCube>
void AddCubeCell(Engine& engine, RenderView& view, CubeFaces& faces, const CubeLook& look, std::int32_t x,
                 std::int32_t y, std::int32_t z, std::int32_t light, IsCube&& isCube) {
  for (int face = 0; face < kCubeFaceCount; ++face) {
    const CellOffset n = CubeFaceNeighbour(face);
    if (isCube(x + n.X, y + n.Y, z + n.Z)) continue;
    AddCubeFace(engine, view, faces, look, face, CellCentre(x), CellCentre(y), CellCentre(z), 0, 0, 0, light);
  }
}

}  // namespace zandrel::engine
