#include "engine/cube_faces.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "engine/scene.h"
#include "tests/support/recording_backend.h"

namespace zandrel::engine {
namespace {

struct Stage {
  Stage() : engine(backend) {
    StartEngineCore(engine);
    backend.OpenView(640, 480, view);
  }
  test::RecordingBackend backend;
  Engine engine;
  RenderView view;
  CubeFaces faces = MakeCubeFaces();
};

TEST(CubeFaces, EachFaceIsKeptSeenFromOutside) {
  struct Case {
    int face;
    std::int32_t x, y, z, yaw;  // cube centre; the camera is at the origin
  };
  const Case cases[] = {
      {0, 0, 0, 2000, 0},    {1, -1000, 0, 3000, 0}, {2, 0, 0, -2000, 16384},
      {3, 1000, 0, 3000, 0}, {4, 0, -1000, 3000, 0}, {5, 0, 1000, 3000, 0},
  };
  for (const Case& c : cases) {
    Stage s;
    BeginScene(s.engine, s.view, 0, 0, 0, c.yaw, 0, 0);
    AddMesh(s.engine, s.view, s.faces[static_cast<std::size_t>(c.face)], c.x, c.y, c.z, 0, 0, 0, 0);
    EXPECT_EQ(s.view.PolygonCount, 2) << "face " << c.face;
  }
}

TEST(CubeFaces, NoFaceIsKeptSeenFromInside) {
  for (const std::int32_t yaw : {0, 8192, 16384, -8192}) {
    Stage s;
    BeginScene(s.engine, s.view, 0, 0, 0, yaw, 0, 0);
    for (const Mesh& face : s.faces) AddMesh(s.engine, s.view, face, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(s.view.PolygonCount, 0) << yaw;
  }
}

TEST(CubeFaces, EachFaceIsASquareOfSide512OnItsSideOfTheCell) {
  const CubeFaces faces = MakeCubeFaces();
  for (int i = 0; i < kCubeFaceCount; ++i) {
    const Mesh& face = faces[static_cast<std::size_t>(i)];
    const CellOffset out = CubeFaceNeighbour(i);
    ASSERT_EQ(face.VertexCount(), 4u);
    ASSERT_EQ(face.FaceCount(), 2u);
    std::set<std::array<std::int32_t, 3>> corners;
    for (std::size_t v = 0; v < 4; ++v) {
      const std::array<std::int32_t, 3> p{face.X[v], face.Y[v], face.Z[v]};
      // On the plane 256 out along the face's direction, +-256 on the other two axes.
      EXPECT_EQ(p[0] * out.X + p[1] * out.Y + p[2] * out.Z, 256) << "face " << i;
      for (const std::int32_t coordinate : p) EXPECT_EQ(std::abs(coordinate), 256) << "face " << i;
      corners.insert(p);
    }
    EXPECT_EQ(corners.size(), 4u) << "face " << i;
  }
}

TEST(CubeFaces, TheTwoTrianglesMapTheTextureSquareContinuously) {
  // Texel corners of a, b, c by orientation.
  const std::array<std::array<std::pair<int, int>, 3>, 2> texels{{
      {{{256, 0}, {0, 0}, {0, 256}}},
      {{{0, 256}, {256, 256}, {256, 0}}},
  }};
  for (const Mesh& face : MakeCubeFaces()) {
    std::map<std::uint16_t, std::pair<int, int>> texelOfVertex;
    for (const MeshFace& triangle : face.Faces) {
      ASSERT_LE(triangle.Orientation, 1);
      const std::array<std::uint16_t, 3> corners{triangle.A, triangle.B, triangle.C};
      for (std::size_t k = 0; k < 3; ++k) {
        const auto texel = texels[triangle.Orientation][k];
        const auto [it, added] = texelOfVertex.emplace(corners[k], texel);
        EXPECT_EQ(it->second, texel) << "a corner shared by both triangles gets one texel";
      }
    }
    EXPECT_EQ(texelOfVertex.size(), 4u);
    EXPECT_NE(face.Faces[0].Orientation, face.Faces[1].Orientation);
  }
}

TEST(CubeFaces, RetexturingChoosesColourOrTexture) {
  CubeFaces faces = MakeCubeFaces();
  RetextureCubeFace(faces[2], 40, 9, false);
  for (const MeshFace& t : faces[2].Faces) {
    EXPECT_EQ(t.Texture, 40);
    EXPECT_EQ(t.Kind, kFlatColour);
  }
  RetextureCubeFace(faces[2], 40, 9, true);
  for (const MeshFace& t : faces[2].Faces) {
    EXPECT_EQ(t.Texture, 9);
    EXPECT_EQ(t.Kind, kOpaqueTextured);
  }
}

TEST(CubeFaces, NeighboursLieOnTheSideEachFaceLooksAt) {
  const std::array<std::array<std::int32_t, 3>, kCubeFaceCount> expected{{
      {0, 0, -1},
      {1, 0, 0},
      {0, 0, 1},
      {-1, 0, 0},
      {0, 1, 0},
      {0, -1, 0},
  }};
  for (int i = 0; i < kCubeFaceCount; ++i) {
    const CellOffset n = CubeFaceNeighbour(i);
    EXPECT_EQ((std::array<std::int32_t, 3>{n.X, n.Y, n.Z}), expected[static_cast<std::size_t>(i)]) << i;
  }
}

TEST(CubeFaces, ACellAddsOnlyFacesWhoseNeighbourIsNoCube) {
  // Faces are told apart by colour: face i has colour 10 + i. Two views along opposite
  // diagonals see every face that is added and does not look away.
  CubeLook look;
  look.Colour = {10, 11, 12, 13, 14, 15};
  struct View {
    std::int32_t yaw, cellX, cellY, cellZ;
  };
  const View views[] = {{0, 2, 2, 10}, {16384, -3, -3, -11}};
  struct Case {
    const char* what;
    bool cubesOnX;
    std::set<std::int32_t> seen;
  };
  const Case cases[] = {
      {"alone", false, {10, 11, 12, 13, 14, 15}},
      {"between two cubes on x", true, {10, 12, 14, 15}},
  };
  for (const Case& c : cases) {
    std::set<std::int32_t> seen;
    for (const View& v : views) {
      Stage s;
      BeginScene(s.engine, s.view, 0, 0, 0, v.yaw, 0, 0);
      const auto isCube = [&](std::int32_t x, std::int32_t y, std::int32_t z) {
        return c.cubesOnX && y == v.cellY && z == v.cellZ && (x == v.cellX - 1 || x == v.cellX + 1);
      };
      AddCubeCell(s.engine, s.view, s.faces, look, v.cellX, v.cellY, v.cellZ, 0, isCube);
      EXPECT_LE(s.view.PolygonCount, 6) << c.what;  // at most three faces of a cube face a viewer
      for (int i = 0; i < s.view.PolygonCount; ++i) seen.insert(s.view.Polygons[static_cast<std::size_t>(i)].Texture);
    }
    EXPECT_EQ(seen, c.seen) << c.what;
  }
}

}  // namespace
}  // namespace zandrel::engine
