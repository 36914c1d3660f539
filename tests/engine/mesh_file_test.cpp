#include "engine/mesh_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace zandrel::engine {
namespace {

struct Vertex {
  std::int32_t x, y, z;
};

void PutWord(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

void PutLong(std::string& out, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((u >> shift) & 0xFF);
}

// A ".3do" file holding the vertices and faces as given.
std::string MeshFile(const std::vector<Vertex>& vertices, const std::vector<MeshFace>& faces) {
  std::string out;
  PutWord(out, static_cast<std::uint16_t>(vertices.size() - 1));
  PutWord(out, static_cast<std::uint16_t>(faces.size() - 1));
  for (const Vertex& v : vertices) PutLong(out, v.x);
  for (const Vertex& v : vertices) PutLong(out, v.y);
  for (const Vertex& v : vertices) PutLong(out, v.z);
  for (const MeshFace& f : faces) {
    for (const std::uint16_t w : {f.A, f.B, f.C, f.Texture, f.Orientation, f.TwoSided, f.Kind}) PutWord(out, w);
  }
  return out;
}

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(MeshFile, TheSmallestFileHoldsOneVertexAndOneFace) {
  const std::string file = MeshFile({{-5, 70000, 3}}, {{0, 0, 0, 12, 1, 1, 3}});
  ASSERT_EQ(file.size(), 30u);
  const Mesh mesh = ParseMesh(Bytes(file), "one.3do");
  ASSERT_EQ(mesh.VertexCount(), 1u);
  ASSERT_EQ(mesh.FaceCount(), 1u);
  EXPECT_EQ(mesh.X[0], -5);
  EXPECT_EQ(mesh.Y[0], 70000);
  EXPECT_EQ(mesh.Z[0], 3);
  const MeshFace& f = mesh.Faces[0];
  EXPECT_EQ(f.Texture, 12);
  EXPECT_EQ(f.Orientation, 1);
  EXPECT_EQ(f.TwoSided, 1);
  EXPECT_EQ(f.Kind, 3);
}

TEST(MeshFile, ArraysAreReadFromTheirOwnOffsetsAndExtraBytesIgnored) {
  const std::string file =
      MeshFile({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {{0, 1, 2, 5, 0, 0, 0}, {2, 1, 0, 6, 1, 0, 1}}) + "trailing";
  const Mesh mesh = ParseMesh(Bytes(file), "two.3do");
  ASSERT_EQ(mesh.VertexCount(), 3u);
  EXPECT_EQ(mesh.X, (std::vector<std::int32_t>{1, 4, 7}));
  EXPECT_EQ(mesh.Y, (std::vector<std::int32_t>{2, 5, 8}));
  EXPECT_EQ(mesh.Z, (std::vector<std::int32_t>{3, 6, 9}));
  ASSERT_EQ(mesh.FaceCount(), 2u);
  EXPECT_EQ(mesh.Faces[1].A, 2);
  EXPECT_EQ(mesh.Faces[1].C, 0);
  EXPECT_EQ(mesh.Faces[1].Texture, 6);
  EXPECT_EQ(mesh.Faces[1].Kind, 1);
}

TEST(MeshFile, DamagedFilesKeepWhatTheyHoldAndWarn) {
  const std::string good = MeshFile({{7, 8, 9}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2, 5, 1, 1, 0}, {2, 1, 0, 6, 0, 0, 1}});
  struct Case {
    const char* what;
    std::string file;
    std::vector<std::int32_t> x, y, z;        // the vertices kept
    std::vector<std::uint16_t> faceTextures;  // the faces kept
  };
  const Case cases[] = {
      {"counts only", good.substr(0, 4), {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0}},
      {"cut in the Y array", good.substr(0, 4 + 12 + 2), {7, 1, 0}, {8, 0, 0}, {0, 0, 0}, {0, 0}},
      {"cut in the first face", good.substr(0, 4 + 36 + 8), {7, 1, 0}, {8, 0, 1}, {9, 0, 0}, {5, 0}},
      {"last byte cut", good.substr(0, good.size() - 1), {7, 1, 0}, {8, 0, 1}, {9, 0, 0}, {5, 6}},
      {"a face beyond the vertices",
       MeshFile({{0, 0, 0}, {1, 0, 0}}, {{0, 1, 1, 3, 0, 0, 0}, {0, 1, 2, 4, 0, 0, 0}, {1, 0, 0, 5, 0, 0, 0}}),
       {0, 1},
       {0, 0},
       {0, 0},
       {3, 5}},
      {"the first corner beyond", MeshFile({{0, 0, 0}}, {{1, 0, 0, 0, 0, 0, 3}}), {0}, {0}, {0}, {}},
      {"a sprite centre beyond", MeshFile({{0, 0, 0}}, {{1, 100, 100, 0, 0, 0, 2}}), {0}, {0}, {0}, {}},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    const Mesh mesh = ParseMesh(Bytes(c.file), "3do\\Broken.3do");
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(mesh.X, c.x) << c.what;
    EXPECT_EQ(mesh.Y, c.y) << c.what;
    EXPECT_EQ(mesh.Z, c.z) << c.what;
    std::vector<std::uint16_t> textures;
    for (const MeshFace& f : mesh.Faces) textures.push_back(f.Texture);
    EXPECT_EQ(textures, c.faceTextures) << c.what;
    EXPECT_NE(warning.find("3do\\Broken.3do"), std::string::npos) << c.what;
    EXPECT_EQ(warning.find('\n'), warning.size() - 1) << c.what;
  }
  // Without its two counts a file holds nothing to keep.
  testing::internal::CaptureStderr();
  EXPECT_TRUE(ParseMesh(Bytes(std::string("\x02\x00\x00", 3)), "3do\\Broken.3do").Empty());
  EXPECT_NE(testing::internal::GetCapturedStderr().find("3do\\Broken.3do"), std::string::npos);
}

TEST(MeshFile, SpriteFacesNameOneVertexOnly) {
  // Words 1 and 2 of a sprite face are its width and height, far beyond the one vertex.
  const std::string file = MeshFile({{0, 0, 0}}, {{0, 300, 200, 4, 0, 0, 2}});
  const Mesh mesh = ParseMesh(Bytes(file), "sprite.3do");
  ASSERT_FALSE(mesh.Empty());
  EXPECT_EQ(mesh.Faces[0].B, 300);
  EXPECT_EQ(mesh.Faces[0].C, 200);
}

TEST(MeshFile, LoadFindsTheFileAsTheDataSpellsIt) {
  const test::TempDir dir;
  dir.Write("3DO/GAME/Box.3do", MeshFile({{1, 2, 3}}, {{0, 0, 0, 0, 0, 0, 3}}));
  const base::Expected<Mesh> mesh = LoadMesh("3do\\Game\\box.3do", dir.path());
  ASSERT_TRUE(mesh.ok());
  EXPECT_EQ(mesh->X[0], 1);
}

TEST(MeshFile, AMissingFileFailsWithTheSystemsMessage) {
  const test::TempDir dir;
  const base::Expected<Mesh> mesh = LoadMesh("3do\\Game\\gone.3do", dir.path());
  ASSERT_FALSE(mesh.ok());
  EXPECT_EQ(mesh.error(), "G3D: The file 3do\\Game\\gone.3do is missing");
}

TEST(MeshFile, AShortFileOnDiskLoadsWithZeros) {
  const test::TempDir dir;
  dir.Write("short.3do", std::string_view("\x05\x00\x05\x00", 4));  // counts without data
  testing::internal::CaptureStderr();
  const base::Expected<Mesh> mesh = LoadMesh("short.3do", dir.path());
  testing::internal::GetCapturedStderr();
  ASSERT_TRUE(mesh.ok());
  EXPECT_EQ(mesh->X, std::vector<std::int32_t>(6, 0));
  EXPECT_EQ(mesh->FaceCount(), 6u);
}

TEST(MeshOperations, CreateCopyAndFree) {
  Mesh mesh;
  CreateMesh(mesh, 3, 1);
  EXPECT_EQ(mesh.VertexCount(), 4u);
  EXPECT_EQ(mesh.FaceCount(), 2u);
  mesh.X[3] = 9;

  Mesh target;
  CreateMesh(target, 0, 0);
  CopyMesh(Mesh{}, target);  // an empty source changes nothing
  EXPECT_EQ(target.VertexCount(), 1u);
  CopyMesh(mesh, target);
  EXPECT_EQ(target.VertexCount(), 4u);
  EXPECT_EQ(target.X[3], 9);

  FreeMesh(target);
  EXPECT_TRUE(target.Empty());
  EXPECT_EQ(target.FaceCount(), 0u);
}

Mesh PointMesh(std::int32_t x) {
  Mesh mesh;
  CreateMesh(mesh, 0, 0);
  mesh.X[0] = x;
  mesh.Y[0] = -x;
  return mesh;
}

TEST(MeshOperations, LerpRoundsToTheNearestEvenInteger) {
  struct Case {
    std::int32_t from, to;
    float t;
    std::int32_t x;
  };
  const Case cases[] = {
      {0, 3, 0.5f, 2}, {0, 1, 0.5f, 0}, {0, -3, 0.5f, -2}, {10, 20, 0.25f, 12}, {10, 20, 0.0f, 10}, {10, 20, 1.0f, 20},
  };
  for (const Case& c : cases) {
    Mesh target;
    MeshLerp(PointMesh(c.from), PointMesh(c.to), target, c.t);
    ASSERT_EQ(target.VertexCount(), 1u);
    EXPECT_EQ(target.X[0], c.x) << c.from << " " << c.to << " " << c.t;
    EXPECT_EQ(target.Y[0], -c.x) << c.from << " " << c.to << " " << c.t;
  }
}

TEST(MeshOperations, LerpRefitsTheTargetAndIgnoresMismatchedPoses) {
  Mesh from;
  CreateMesh(from, 2, 0);
  Mesh to = from;
  to.X = {10, 20, 30};
  Mesh target = PointMesh(7);  // one vertex: becomes a copy of `from` first
  MeshLerp(from, to, target, 0.5f);
  EXPECT_EQ(target.X, (std::vector<std::int32_t>{5, 10, 15}));

  Mesh shorter;
  CreateMesh(shorter, 1, 0);
  MeshLerp(from, shorter, target, 1.0f);  // poses of different sizes: nothing happens
  EXPECT_EQ(target.X, (std::vector<std::int32_t>{5, 10, 15}));
  MeshLerp(Mesh{}, to, target, 1.0f);
  EXPECT_EQ(target.X, (std::vector<std::int32_t>{5, 10, 15}));
  to.Y.pop_back();  // arrays of different lengths
  MeshLerp(from, to, target, 1.0f);
  EXPECT_EQ(target.X, (std::vector<std::int32_t>{5, 10, 15}));
}

}  // namespace
}  // namespace zandrel::engine
