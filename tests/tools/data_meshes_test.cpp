#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/mesh_file.h"
#include "engine/mesh_writer.h"
#include "engine/texture_list.h"
#include "tools/data/data_tree.h"
#include "tools/data/generators.h"
#include "tools/data/meshes_builder.h"

#include "world/object_bank.h"

namespace zandrel::data {
namespace {

using namespace meshes;

using engine::Mesh;
using engine::MeshFace;

std::string ReadContent(const std::string& name) {
  std::ifstream in(std::string(ZANDREL_CONTENT) + "/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Every mesh file the object bank names, as written there.
std::vector<std::string> BankMeshNames() {
  std::vector<std::string> names;
  std::istringstream bank(ReadContent("Standard.bnk"));
  for (std::string line; std::getline(bank, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto equals = line.find('=');
    if (line.empty() || line[0] == ';' || equals == std::string::npos) continue;
    const std::string value = line.substr(equals + 1);
    if (value.size() > 4 && Upper(value.substr(value.size() - 4)) == ".3DO") names.push_back(value);
  }
  return names;
}

// The generated meshes by their path in the tree, parsed back from their bytes.
const std::map<std::string, Mesh>& Meshes() {
  static const std::map<std::string, Mesh> meshes = [] {
    DataTree tree;
    GenerateMeshes(tree);
    std::map<std::string, Mesh> parsed;
    for (const auto& [path, bytes] : tree.Files()) parsed[path] = engine::ParseMesh(bytes, path);
    return parsed;
  }();
  return meshes;
}

const Mesh& GameMesh(const std::string& name) {
  static const Mesh none;
  const auto found = Meshes().find("3DO/GAME/" + name + ".3DO");
  return found == Meshes().end() ? none : found->second;
}

struct Point {
  double X, Y, Z;
};

Point At(const Mesh& mesh, std::size_t i) { return {double(mesh.X[i]), double(mesh.Y[i]), double(mesh.Z[i])}; }

Point Minus(Point a, Point b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
Point Cross(Point a, Point b) { return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X}; }
double Dot(Point a, Point b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

// The direction a face shows toward: (b - a) x (c - a).
Point Normal(const Mesh& mesh, const MeshFace& f) {
  return Cross(Minus(At(mesh, f.B), At(mesh, f.A)), Minus(At(mesh, f.C), At(mesh, f.A)));
}

Point Centroid(const Mesh& mesh, const MeshFace& f) {
  const Point a = At(mesh, f.A), b = At(mesh, f.B), c = At(mesh, f.C);
  return {(a.X + b.X + c.X) / 3, (a.Y + b.Y + c.Y) / 3, (a.Z + b.Z + c.Z) / 3};
}

bool SameLayout(const Mesh& a, const Mesh& b) {
  if (a.VertexCount() != b.VertexCount() || a.FaceCount() != b.FaceCount()) return false;
  for (std::size_t i = 0; i < a.FaceCount(); ++i) {
    const MeshFace& f = a.Faces[i];
    const MeshFace& g = b.Faces[i];
    if (std::tie(f.A, f.B, f.C, f.Texture, f.Orientation, f.TwoSided, f.Kind) !=
        std::tie(g.A, g.B, g.C, g.Texture, g.Orientation, g.TwoSided, g.Kind)) {
      return false;
    }
  }
  return true;
}

// ---- the file writer ---------------------------------------------------------------

TEST(EncodeMeshTest, ParsesBackFieldForField) {
  Mesh mesh;
  mesh.X = {-256, 255, 2147483647, 0};
  mesh.Y = {-2147483647 - 1, 7, -1, 65536};
  mesh.Z = {3, -3, 100000, -100000};
  mesh.Faces = {{0, 1, 2, 44, 0, 0, 0}, {2, 1, 3, 17, 1, 1, 1}, {3, 160, 480, 37, 0, 0, 2}, {0, 2, 3, 255, 0, 1, 3}};
  const std::vector<std::uint8_t> bytes = engine::EncodeMesh(mesh);
  EXPECT_EQ(bytes.size(), 4 + 12 * 4 + 14 * 4);
  const Mesh back = engine::ParseMesh(bytes, "test.3do");
  EXPECT_EQ(back.X, mesh.X);
  EXPECT_EQ(back.Y, mesh.Y);
  EXPECT_EQ(back.Z, mesh.Z);
  EXPECT_TRUE(SameLayout(back, mesh));
}

TEST(EncodeMeshTest, GivesNothingForMeshesTheFileCannotHold) {
  Mesh noFaces;
  noFaces.X = noFaces.Y = noFaces.Z = {0};
  Mesh uneven = noFaces;
  uneven.Faces = {{0, 0, 0, 1, 0, 0, 3}};
  uneven.Z = {0, 1};
  Mesh tooManyVertices = uneven;
  tooManyVertices.X = tooManyVertices.Y = tooManyVertices.Z = std::vector<std::int32_t>(65537, 0);
  Mesh tooManyFaces = noFaces;
  tooManyFaces.Faces.assign(65537, MeshFace{});
  for (const Mesh* mesh : {&noFaces, &uneven, &tooManyVertices, &tooManyFaces}) {
    EXPECT_TRUE(engine::EncodeMesh(*mesh).empty());
  }
  EXPECT_TRUE(engine::EncodeMesh(Mesh{}).empty());
  Mesh largest = tooManyVertices;
  largest.X = largest.Y = largest.Z = std::vector<std::int32_t>(65536, 0);
  EXPECT_EQ(engine::EncodeMesh(largest).size(), 4 + 12 * 65536 + 14);
}

// ---- the builder's solids ----------------------------------------------------------

// Each convex solid, placed off the origin and turned, must show every face outward.
TEST(MeshBuilderTest, ConvexSolidsFaceAwayFromTheirCentre) {
  const Affine place = Affine::Translate(40, -70, 300) * Affine::RotateY(33) * Affine::RotateX(-20);
  const std::array<Ring, 4> spindle{{{0, -80, Flat(5)}, {50, -20, Flat(5)}, {40, 60, Flat(5)}, {0, 90, {}}}};
  const std::array<Ring, 2> drum{{{70, -30, Flat(5)}, {70, 30, {}}}};
  const std::array<std::array<double, 2>, 3> wedge{{{80, 30}, {0, 150}, {-80, 30}}};
  const std::vector<std::pair<const char*, std::function<void(MeshBuilder&)>>> solids{
      {"box",
       [](MeshBuilder& m) {
         m.Box({-50, -20, -10}, {30, 40, 90}, Textured(1));
       }},
      {"tapered block",
       [](MeshBuilder& m) {
         m.Block({Vec3{-40, 24, -24},
                  {40, 24, -24},
                  {-54, 138, -28},
                  {54, 138, -28},  //
                  {-40, 24, 24},
                  {40, 24, 24},
                  {-54, 138, 26},
                  {54, 138, 26}},
                 Shaded(100));
       }},
      {"lathe with apexes", [&](MeshBuilder& m) { m.Lathe(spindle, 7, {}, {}, 10); }},
      {"lathe with caps", [&](MeshBuilder& m) { m.Lathe(drum, 5, Flat(1), Flat(2)); }},
      {"square lathe", [&](MeshBuilder& m) { m.Lathe(drum, 4, Textured(3), Textured(3), 45); }},
      {"prism", [&](MeshBuilder& m) { m.Prism(wedge, -14, 14, Flat(7)); }},
      {"cushion", [&](MeshBuilder& m) { m.Prism(wedge, -14, 14, Flat(7), 20); }},
  };
  for (const auto& [name, build] : solids) {
    MeshBuilder builder;
    builder.Place(place);
    build(builder);
    const Mesh mesh = builder.Build();
    Point centre{0, 0, 0};
    for (std::size_t i = 0; i < mesh.VertexCount(); ++i) {
      const Point p = At(mesh, i);
      centre = {centre.X + p.X, centre.Y + p.Y, centre.Z + p.Z};
    }
    const double n = double(mesh.VertexCount());
    centre = {centre.X / n, centre.Y / n, centre.Z / n};
    for (const MeshFace& f : mesh.Faces) {
      EXPECT_GT(Dot(Normal(mesh, f), Minus(Centroid(mesh, f), centre)), 0) << name;
    }
  }
}

TEST(MeshBuilderTest, AMirrorTurnsASolidInsideOut) {
  MeshBuilder builder;
  builder.Place(Affine::Scale(1, 1, -1));
  const std::array<Ring, 3> ball{{{0, -100, Textured(35)}, {100, 0, Textured(35)}, {0, 100, {}}}};
  builder.Lathe(ball, 8, {}, {});
  const Mesh mesh = builder.Build();
  for (const MeshFace& f : mesh.Faces) EXPECT_LT(Dot(Normal(mesh, f), Centroid(mesh, f)), 0);
}

TEST(MeshBuilderTest, ShadedColoursStayInTheirRampLighterOnTop) {
  for (const std::uint16_t colour : {std::uint16_t{96}, std::uint16_t{111}, std::uint16_t{240}}) {
    MeshBuilder builder;
    builder.Box({-10, -10, -10}, {10, 10, 10}, Shaded(colour));
    const Mesh mesh = builder.Build();
    std::map<std::string, std::uint16_t> bySide;
    for (const MeshFace& f : mesh.Faces) {
      EXPECT_EQ(f.Texture & ~15, colour & ~15);
      const Point n = Normal(mesh, f);
      bySide[n.Y > 0 ? "top" : n.Y < 0 ? "bottom" : n.Z < 0 ? "front" : n.Z > 0 ? "back" : "side"] = f.Texture;
    }
    EXPECT_GE(bySide["top"], bySide["front"]);
    EXPECT_GE(bySide["front"], bySide["back"]);
    EXPECT_GE(bySide["back"], bySide["bottom"]);
    if ((colour & 15) == 0 || (colour & 15) == 15) continue;  // clamped at an end of the ramp
    EXPECT_GT(bySide["top"], bySide["bottom"]);
  }
}

// ---- the generated files -----------------------------------------------------------

TEST(GeneratedMeshesTest, EveryNamedMeshIsThereAndParses) {
  std::vector<std::string> paths;
  for (const std::string& name : BankMeshNames()) paths.push_back("3DO/GAME/" + Upper(name));
  ASSERT_GT(paths.size(), 60u);
  for (const char* name : {"TRANSI1", "TRANSI2", "TRANSI3", "PODIUM", "FLAG"}) {
    paths.push_back(std::string("3DO/GAME/") + name + ".3DO");
  }
  for (const char* name : {"SELECT", "START", "SFX", "EXIT"})
    paths.push_back(std::string("3DO/EDITOR/") + name + ".3DO");
  for (const std::string& path : paths) {
    const auto found = Meshes().find(path);
    ASSERT_NE(found, Meshes().end()) << path;
    EXPECT_FALSE(found->second.Empty()) << path;
  }
}

TEST(GeneratedMeshesTest, AnimationFamiliesShareOneLayout) {
  const std::vector<std::vector<std::string>> families{
      {"HERO", "HEROWLK1", "HEROWLK2", "HEROWLK3", "HEROWLK4", "HEROFALL", "HEROCRCH", "HERODEAD", "HEROLAD1",
       "HEROLAD2", "HEROSHOT"},
      {"DOORG1", "DOORG2", "DOORG3", "DOORG4"},
      {"DOORL1", "DOORL2", "DOORL3", "DOORL4"},
      {"DOORK1", "DOORK2", "DOORK3", "DOORK4"},
      {"EARTHD1", "EARTHD2", "EARTHD3", "EARTHD4"},
      {"SANDD1", "SANDD2", "SANDD3"},
      {"LEVER1", "LEVER2", "LEVER3"},
      {"SPRING1", "SPRING2"},
      {"ONEUP1", "ONEUP2"},
      {"CRYSTAL1", "CRYSTAL2"},
      {"GATE1", "GATE2", "GATE3", "GATE4"},
      {"INGOT1", "INGOT2", "INGOT3", "INGOT4"},
  };
  for (const auto& family : families) {
    const Mesh& first = GameMesh(family[0]);
    ASSERT_FALSE(first.Empty()) << family[0];
    for (std::size_t i = 1; i < family.size(); ++i) {
      const Mesh& other = GameMesh(family[i]);
      EXPECT_TRUE(SameLayout(first, other)) << family[0] << " and " << family[i];
      EXPECT_TRUE(first.X != other.X || first.Y != other.Y || first.Z != other.Z) << family[i] << " is no new frame";
    }
  }
}

TEST(GeneratedMeshesTest, TextureNumbersAreInTheTextureList) {
  std::set<std::int32_t> textures;
  for (const auto& t : engine::ParseTextureList(ReadContent("TEXTURES.LST")).Textures) textures.insert(t.Number);
  ASSERT_FALSE(textures.empty());
  for (const auto& [path, mesh] : Meshes()) {
    for (const MeshFace& f : mesh.Faces) {
      if (f.Kind <= engine::kSprite) {
        EXPECT_TRUE(textures.count(f.Texture)) << path << " texture " << f.Texture;
      }
      EXPECT_LE(f.Texture, 255) << path;
    }
  }
}

TEST(GeneratedMeshesTest, NoFaceIsFlat) {
  for (const auto& [path, mesh] : Meshes()) {
    for (const MeshFace& f : mesh.Faces) {
      if (f.Kind == engine::kSprite) continue;
      const Point n = Normal(mesh, f);
      EXPECT_GT(Dot(n, n), 0) << path;
    }
  }
}

// Faces that share vertices form the mesh's parts. A part whose every edge is met in
// the opposite direction by another of its faces is a closed, consistently wound solid;
// its signed volume is positive exactly when its faces show outward.
struct Part {
  bool Closed = false;
  double Volume = 0;
};

std::vector<Part> OneSidedParts(const Mesh& mesh) {
  std::vector<std::size_t> group(mesh.VertexCount());
  for (std::size_t i = 0; i < group.size(); ++i) group[i] = i;
  const auto root = [&](std::size_t v) {
    while (group[v] != v) v = group[v] = group[group[v]];
    return v;
  };
  std::vector<const MeshFace*> faces;
  for (const MeshFace& f : mesh.Faces) {
    if (f.Kind == engine::kSprite || f.TwoSided) continue;
    faces.push_back(&f);
    group[root(f.B)] = root(f.A);
    group[root(f.C)] = root(f.A);
  }
  std::map<std::size_t, std::multiset<std::pair<int, int>>> edges;
  std::map<std::size_t, double> volumes;
  for (const MeshFace* f : faces) {
    const std::size_t r = root(f->A);
    edges[r].insert({f->A, f->B});
    edges[r].insert({f->B, f->C});
    edges[r].insert({f->C, f->A});
    volumes[r] += Dot(At(mesh, f->A), Cross(At(mesh, f->B), At(mesh, f->C))) / 6;
  }
  std::vector<Part> parts;
  for (const auto& [r, set] : edges) {
    bool closed = true;
    for (const auto& [a, b] : set) closed = closed && set.count({b, a}) == set.count({a, b});
    parts.push_back({closed, volumes[r]});
  }
  return parts;
}

TEST(GeneratedMeshesTest, ClosedSolidsShowOutward) {
  for (const auto& [path, mesh] : Meshes()) {
    const bool sky = path == "3DO/GAME/SKY.3DO";
    for (const Part& part : OneSidedParts(mesh)) {
      if (!part.Closed) continue;
      if (sky) {
        EXPECT_LT(part.Volume, 0) << "the sky shows inward";
      } else {
        EXPECT_GT(part.Volume, 0) << path;
      }
    }
  }
}

TEST(GeneratedMeshesTest, SolidObjectsAreMadeOfClosedParts) {
  for (const char* name :
       {"RAMPE", "RAMPN", "STEP",   "INGOT1", "DOORG2",   "DOORK4", "EARTHD3", "SANDD2", "PILLAR", "PODIUM", "SPIKES",
        "LAVA",  "WATER", "LEVER2", "TIMER",  "CRYSTAL2", "SENTRY", "ONEUP1",  "SKY",    "GATE1",  "SPRING1"}) {
    const std::vector<Part> parts = OneSidedParts(GameMesh(name));
    EXPECT_FALSE(parts.empty()) << name;
    for (const Part& part : parts) EXPECT_TRUE(part.Closed) << name;
  }
}

// A texture's top row must not lie below its bottom row on an upright face. Orientation 0
// puts the image's top corners on a and b, orientation 1 its top left corner on c.
TEST(GeneratedMeshesTest, TexturesOnUprightFacesAreUpright) {
  for (const auto& [path, mesh] : Meshes()) {
    // Limbs of the posed hero and the turning swirl of the gate are turned on purpose.
    if ((path.starts_with("3DO/GAME/HERO") && path != "3DO/GAME/HERO.3DO") || path.starts_with("3DO/GAME/GATE")) {
      continue;
    }
    for (const MeshFace& f : mesh.Faces) {
      if (f.Kind > engine::kTransparentTextured) continue;
      const Point n = Normal(mesh, f);
      if (std::abs(n.Y) > 0.5 * std::sqrt(Dot(n, n))) continue;  // lying rather than standing
      const double a = mesh.Y[f.A], b = mesh.Y[f.B], c = mesh.Y[f.C];
      if (f.Orientation == 0) {
        EXPECT_TRUE(a >= c && b >= c) << path;
      } else {
        EXPECT_TRUE(c >= a && c >= b) << path;
      }
    }
  }
}

// ---- particular meshes -------------------------------------------------------------

using world::Box;
using world::MeshBox;

std::array<int, 4> Tops(const Box& box) { return {box.Ymax1, box.Ymax2, box.Ymax3, box.Ymax4}; }

TEST(GeneratedMeshesTest, CellObjectsStayInsideTheirCell) {
  const std::set<std::string> notInACell{"HERO",     "HEROWLK1", "HEROWLK2", "HEROWLK3", "HEROWLK4",
                                         "HEROFALL", "HEROCRCH", "HERODEAD", "HEROLAD1", "HEROLAD2",
                                         "HEROSHOT", "SHADOW",   "SENTRY",   "SKY"};
  for (const std::string& name : BankMeshNames()) {
    const std::string stem = Upper(name.substr(0, name.size() - 4));
    if (notInACell.count(stem)) continue;
    const Box box = MeshBox(GameMesh(stem));
    EXPECT_GE(std::min({box.Xmin, box.Ymin, box.Zmin}), 0) << stem;
    EXPECT_LE(std::max({box.Xmax, box.Zmax, box.Ymax1, box.Ymax2, box.Ymax3, box.Ymax4}), 511) << stem;
  }
}

// The box's Zmax starts at the cell centre, so the ladder standing at z -200 reaches
// from cell-local z 56 to 256: still narrower than its 400 along x, so it lies along x.
TEST(GeneratedMeshesTest, LadderLiesAlongX) {
  const Box box = MeshBox(GameMesh("LADDER"));
  EXPECT_EQ(box.Zmin, 56);
  EXPECT_GT(box.Xmax - box.Xmin, box.Zmax - box.Zmin);
  EXPECT_EQ(box.Ymin, 0);
}

TEST(GeneratedMeshesTest, RampsRiseTowardTheirSide) {
  const Box east = MeshBox(GameMesh("RAMPE"));
  EXPECT_EQ(Tops(east), (std::array<int, 4>{0, 511, 511, 0}));
  const Box north = MeshBox(GameMesh("RAMPN"));
  EXPECT_EQ(Tops(north), (std::array<int, 4>{0, 0, 511, 511}));
  for (const Box& box : {east, north}) {
    EXPECT_EQ(std::tie(box.Xmin, box.Xmax, box.Zmin, box.Zmax, box.Ymin), std::tuple(0, 511, 0, 511, 0));
  }
  EXPECT_EQ(Tops(MeshBox(GameMesh("STEP"))), (std::array<int, 4>{256, 256, 256, 256}));
}

TEST(GeneratedMeshesTest, HeroStandsOnItsFeetFacingMinusZ) {
  const Mesh& hero = GameMesh("HERO");
  EXPECT_EQ(*std::min_element(hero.Y.begin(), hero.Y.end()), -240);
  EXPECT_NEAR(*std::max_element(hero.Y.begin(), hero.Y.end()), 240, 12);
  const auto [left, right] = std::minmax_element(hero.X.begin(), hero.X.end());
  EXPECT_NEAR(*right - *left, 200, 30);
  EXPECT_LE(hero.FaceCount(), 400u);
  // The eyes are the hero's only colour-2 faces; they look toward -z.
  for (const MeshFace& f : hero.Faces) {
    if (f.Kind >= engine::kFlatColour && f.Texture == 2) {
      EXPECT_LT(Centroid(hero, f).Z, -20);
      EXPECT_LT(Normal(hero, f).Z, 0);
    }
  }
  const Mesh& dead = GameMesh("HERODEAD");
  EXPECT_EQ(*std::min_element(dead.Y.begin(), dead.Y.end()), -240);
  EXPECT_LT(*std::max_element(dead.Y.begin(), dead.Y.end()), -100);
}

TEST(GeneratedMeshesTest, SentryLooksTowardMinusZ) {
  const Mesh& sentry = GameMesh("SENTRY");
  double eye = 0;
  for (const MeshFace& f : sentry.Faces) {
    if (f.Kind >= engine::kFlatColour && f.Texture / 16 == 4) eye = std::min(eye, Centroid(sentry, f).Z);
  }
  EXPECT_LT(eye, -120);
  const auto [low, high] = std::minmax_element(sentry.Y.begin(), sentry.Y.end());
  EXPECT_LE(*high - *low, 480);
}

TEST(GeneratedMeshesTest, TorchIsOneSprite) {
  const Mesh& torch = GameMesh("TORCH");
  ASSERT_EQ(torch.FaceCount(), 1u);
  EXPECT_EQ(torch.Faces[0].Kind, engine::kSprite);
  EXPECT_EQ(torch.Faces[0].Texture, 37);
  EXPECT_GT(torch.Faces[0].C, torch.Faces[0].B);
}

// Each transition is sixteen black two-sided triangles that together cover the screen
// once doubled and drawn 170 units ahead: at 800 x 600 (focal length 256) the screen
// reaches 400 x 170 / 256 units sideways and 300 x 170 / 256 up and down, halved here.
TEST(GeneratedMeshesTest, TransitionsCoverTheScreenInSixteenSteps) {
  std::set<std::vector<std::int32_t>> orders;
  for (const char* name : {"TRANSI1", "TRANSI2", "TRANSI3"}) {
    const Mesh& mesh = GameMesh(name);
    ASSERT_EQ(mesh.FaceCount(), 16u) << name;
    std::vector<std::int32_t> order;
    for (const MeshFace& f : mesh.Faces) {
      EXPECT_EQ(std::tie(f.Texture, f.TwoSided, f.Kind), std::tuple(0, 1, engine::kFlatColour)) << name;
      const Point c = Centroid(mesh, f);
      order.push_back(static_cast<std::int32_t>(c.X));
      order.push_back(static_cast<std::int32_t>(c.Y));
    }
    orders.insert(order);
    const double halfWidth = 400.0 * 170 / 256 / 2, halfHeight = 300.0 * 170 / 256 / 2;
    for (int i = 0; i <= 40; ++i) {
      for (int j = 0; j <= 30; ++j) {
        const Point p{-halfWidth + 2 * halfWidth * i / 40, -halfHeight + 2 * halfHeight * j / 30, 0};
        const bool covered = std::any_of(mesh.Faces.begin(), mesh.Faces.end(), [&](const MeshFace& f) {
          const Point a = At(mesh, f.A), b = At(mesh, f.B), c = At(mesh, f.C);
          const auto side = [&](Point u, Point v) { return (v.X - u.X) * (p.Y - u.Y) - (v.Y - u.Y) * (p.X - u.X); };
          const double s1 = side(a, b), s2 = side(b, c), s3 = side(c, a);
          return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
        });
        EXPECT_TRUE(covered) << name << " leaves " << p.X << ", " << p.Y;
      }
    }
  }
  EXPECT_EQ(orders.size(), 3u);
}

}  // namespace
}  // namespace zandrel::data
