// Meshes: integer vertices and triangles, loaded from ".3do" files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/expected.h"

namespace zandrel::engine {

// Face kinds (word 6 of a face).
enum FaceKind : std::uint16_t {
  kOpaqueTextured = 0,
  kTransparentTextured = 1,  // texel 0 is not drawn
  kSprite = 2,               // a camera-facing rectangle centred on vertex a
  kFlatColour = 3,           // 3 and above
};

struct MeshFace {
  std::uint16_t A = 0;
  std::uint16_t B = 0;            // sprite: width in world units
  std::uint16_t C = 0;            // sprite: height in world units
  std::uint16_t Texture = 0;      // texture number (kinds 0-2), palette index (kinds 3+)
  std::uint16_t Orientation = 0;  // 0: (256,0) (0,0) (0,256) on a b c; 1: (0,256) (256,256) (256,0)
  std::uint16_t TwoSided = 0;
  std::uint16_t Kind = 0;
};

// A mesh with no vertices is empty and draws nothing. A non-empty mesh has
// X.size() == Y.size() == Z.size() == V + 1 and Faces.size() == F + 1; a mesh read from a
// damaged file may hold fewer faces than its file counts, even none.
struct Mesh {
  std::vector<std::int32_t> X, Y, Z;
  std::vector<MeshFace> Faces;

  bool Empty() const { return X.empty(); }
  std::size_t VertexCount() const { return X.size(); }
  std::size_t FaceCount() const { return Faces.size(); }
};

}  // namespace zandrel::engine
