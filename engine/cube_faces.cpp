#include "engine/cube_faces.h"

#include "engine/mesh_file.h"
#include "engine/scene.h"

namespace zandrel::engine {
namespace {

constexpr std::int32_t kHalfSide = kCellSize / 2;

// Each face as seen from outside: its outward direction, and the directions that point
// right and up on it.
struct FaceFrame {
  CellOffset Out, Right, Up;
};

constexpr std::array<FaceFrame, kCubeFaceCount> kFrames{{
    {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},
    {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
    {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}},
    {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
    {{0, -1, 0}, {-1, 0, 0}, {0, 0, 1}},
}};

Mesh MakeFace(const FaceFrame& frame) {
  Mesh mesh;
  CreateMesh(mesh, 3, 1);
  // Corner i lies at (i & 1, i >> 1) of the square seen from outside, right and up:
  // 0 bottom left, 1 bottom right, 2 top left, 3 top right.
  for (std::size_t i = 0; i < 4; ++i) {
    const std::int32_t s = (i & 1) != 0 ? kHalfSide : -kHalfSide;
    const std::int32_t t = (i & 2) != 0 ? kHalfSide : -kHalfSide;
    mesh.X[i] = kHalfSide * frame.Out.X + s * frame.Right.X + t * frame.Up.X;
    mesh.Y[i] = kHalfSide * frame.Out.Y + s * frame.Right.Y + t * frame.Up.Y;
    mesh.Z[i] = kHalfSide * frame.Out.Z + s * frame.Right.Z + t * frame.Up.Z;
  }
  // Textures are stored mirrored, first row at t = 0, so orientation 0 shows the image's
  // top left, top right and bottom right on a, b, c, and orientation 1 its bottom right,
  // bottom left and top left: the face's corners in that order show the image upright.
  // Both triangles run clockwise seen from outside and share the top-left to
  // bottom-right diagonal (their a-c edge).
  mesh.Faces[0] = {.A = 2, .B = 3, .C = 1, .Orientation = 0};
  mesh.Faces[1] = {.A = 1, .B = 0, .C = 2, .Orientation = 1};
  RetextureCubeFace(mesh, 66, 0, false);
  return mesh;
}

}  // namespace

CubeFaces MakeCubeFaces() {
  CubeFaces faces;
  for (int i = 0; i < kCubeFaceCount; ++i)
    faces[static_cast<std::size_t>(i)] = MakeFace(kFrames[static_cast<std::size_t>(i)]);
  return faces;
}

void RetextureCubeFace(Mesh& face, std::uint8_t colour, std::uint8_t texture, bool highDetail) {
  for (MeshFace& triangle : face.Faces) {
    triangle.Texture = highDetail ? texture : colour;
    triangle.Kind = highDetail ? kOpaqueTextured : kFlatColour;
  }
}

CellOffset CubeFaceNeighbour(int face) {
  if (face < 0 || face >= kCubeFaceCount) return {};
  return kFrames[static_cast<std::size_t>(face)].Out;
}

void AddCubeFace(Engine& engine, RenderView& view, CubeFaces& faces, const CubeLook& look, int face, std::int32_t x,
                 std::int32_t y, std::int32_t z, std::int32_t yaw, std::int32_t pitch, std::int32_t roll,
                 std::int32_t light) {
  if (face < 0 || face >= kCubeFaceCount) return;
  const auto i = static_cast<std::size_t>(face);
  RetextureCubeFace(faces[i], look.Colour[i], look.Texture[i], look.HighDetail);
  AddMesh(engine, view, faces[i], x, y, z, yaw, pitch, roll, light);
}

}  // namespace zandrel::engine
