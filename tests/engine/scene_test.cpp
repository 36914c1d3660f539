#include "engine/scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "engine/mesh_file.h"
#include "tests/support/recording_backend.h"

namespace zandrel::engine {
namespace {

// An engine with a recording back end, a 640 x 480 view opened by it, and a scene
// begun at the origin looking along +z.
struct Stage {
  explicit Stage(bool editorRules = false) : backend(editorRules), engine(backend) {
    StartEngineCore(engine);
    backend.OpenView(640, 480, view);
    BeginScene(engine, view, 0, 0, 0, 0, 0, 0);
  }

  const ScreenPolygon& Polygon(int i) const { return view.Polygons[static_cast<std::size_t>(i)]; }

  test::RecordingBackend backend;
  Engine engine;
  RenderView view;
};

struct Corner {
  std::int32_t x, y, z;
};

Mesh Triangle(Corner a, Corner b, Corner c, std::uint16_t kind = kFlatColour, std::uint16_t texture = 7,
              std::uint16_t twoSided = 0) {
  Mesh mesh;
  CreateMesh(mesh, 2, 0);
  mesh.X = {a.x, b.x, c.x};
  mesh.Y = {a.y, b.y, c.y};
  mesh.Z = {a.z, b.z, c.z};
  mesh.Faces[0] = {.A = 0, .B = 1, .C = 2, .Texture = texture, .TwoSided = twoSided, .Kind = kind};
  return mesh;
}

// Seen from the origin, clockwise with x right and y up: the kept winding.
Mesh FacingTriangle(std::int32_t z, std::uint16_t kind = kFlatColour, std::uint16_t texture = 7) {
  return Triangle({0, 0, z}, {0, 100, z}, {100, 0, z}, kind, texture);
}

void Add(Stage& s, const Mesh& mesh, std::int32_t light = 0) {
  AddMesh(s.engine, s.view, mesh, 0, 0, 0, 0, 0, 0, light);
}

TEST(Scene, FacesThatLookAwayAreRemovedUnlessTwoSided) {
  struct Case {
    const char* what;
    Mesh mesh;
    int polygons;
  };
  const Case cases[] = {
      {"clockwise", Triangle({0, 0, 1000}, {0, 100, 1000}, {100, 0, 1000}), 1},
      {"counter-clockwise", Triangle({0, 0, 1000}, {100, 0, 1000}, {0, 100, 1000}), 0},
      {"counter-clockwise, two-sided", Triangle({0, 0, 1000}, {100, 0, 1000}, {0, 100, 1000}, kFlatColour, 7, 1), 1},
      {"edge on", Triangle({0, 0, 1000}, {0, 100, 1000}, {0, 0, 2000}), 1},  // g = 0 is kept
  };
  for (const Case& c : cases) {
    Stage s;
    Add(s, c.mesh);
    EXPECT_EQ(s.view.PolygonCount, c.polygons) << c.what;
  }
}

TEST(Scene, APolygonCarriesTheFaceAndItsProjection) {
  Stage s;
  Mesh mesh = Triangle({0, 0, 0}, {0, 100, 0}, {100, 0, 0}, kTransparentTextured, 321);
  mesh.Faces.insert(mesh.Faces.begin(), MeshFace{.A = 0, .B = 2, .C = 1, .Kind = kFlatColour});  // looks away
  mesh.Faces[1].Orientation = 1;
  AddMesh(s.engine, s.view, mesh, 0, 0, 200, 0, 0, 0, -40);
  ASSERT_EQ(s.view.PolygonCount, 1);
  const ScreenPolygon& p = s.Polygon(0);
  EXPECT_EQ(p.SX, (std::array<std::int32_t, 3>{320, 320, 448}));
  EXPECT_EQ(p.SY, (std::array<std::int32_t, 3>{240, 112, 240}));
  EXPECT_EQ(p.VZ, (std::array<std::int32_t, 3>{200, 200, 200}));
  EXPECT_EQ(p.Texture, 321);
  EXPECT_EQ(p.Orientation, 1);
  EXPECT_EQ(p.Kind, kTransparentTextured);
  EXPECT_EQ(p.Sprite, 0);
  EXPECT_EQ(p.Light1, -40);
  EXPECT_EQ(p.Face, 1);
  EXPECT_EQ(p.DepthKey, 200);
}

TEST(Scene, MeshesAreTurnedThenPlaced) {
  Stage s;
  // A quarter turn of yaw takes (x, y, z) to (-z, y, x): the triangle in the plane x = 0
  // turns to face the camera, and is then moved 1000 ahead.
  const Mesh mesh = Triangle({0, 0, 0}, {0, 100, 0}, {0, 0, -100});
  AddMesh(s.engine, s.view, mesh, 0, 0, 1000, 8192, 0, 0, 0);
  ASSERT_EQ(s.view.PolygonCount, 1);
  EXPECT_EQ(s.Polygon(0).VX, (std::array<std::int32_t, 3>{0, 0, 100}));
  EXPECT_EQ(s.Polygon(0).VZ, (std::array<std::int32_t, 3>{1000, 1000, 1000}));
}

TEST(Scene, TheGamesRulesProjectCornersBehindTheNearPlaneAtDepthOne) {
  Stage s;
  Add(s, Triangle({0, 0, 500}, {0, 100, -100}, {100, 0, -100}));
  ASSERT_EQ(s.view.PolygonCount, 1);
  const ScreenPolygon& p = s.Polygon(0);
  EXPECT_EQ(p.VZ, (std::array<std::int32_t, 3>{500, -100, -100}));  // kept as they were
  EXPECT_EQ(p.SX, (std::array<std::int32_t, 3>{320, 320, 25920}));
  EXPECT_EQ(p.SY, (std::array<std::int32_t, 3>{240, -25360, 240}));
  EXPECT_EQ(p.DepthKey, 100);  // the smallest |z|
}

TEST(Scene, NothingBeyondTheNearPlaneAddsNothing) {
  Stage s;
  Add(s, Triangle({0, 0, 1}, {0, 100, 1}, {100, 0, -5}));
  EXPECT_EQ(s.view.PolygonCount, 0);
}

TEST(Scene, TheEditorsRulesClipAtTheNearPlane) {
  struct Case {
    const char* what;
    Mesh mesh;
    std::vector<std::array<std::int32_t, 3>> sx, sy;
    std::int32_t key;
  };
  const Case cases[] = {
      {"one corner behind: two triangles",
       Triangle({0, -100, -100}, {-100, -100, 600}, {100, -100, 500}),
       {{-140, 278, 371}, {934, -140, 371}},
       {{2800, 282, 291}, {2800, 2800, 291}},
       20000 + 380000 + 270000},
      {"two corners behind: one triangle",
       Triangle({0, -100, -100}, {-100, -100, -50}, {100, -100, 500}),
       {{934, -1625, 371}},
       {{2800, 2800, 291}},
       20000 + 22500 + 270000},
  };
  for (const Case& c : cases) {
    Stage s(true);
    Add(s, c.mesh);
    ASSERT_EQ(s.view.PolygonCount, static_cast<int>(c.sx.size())) << c.what;
    for (std::size_t i = 0; i < c.sx.size(); ++i) {
      const ScreenPolygon& p = s.Polygon(static_cast<int>(i));
      EXPECT_EQ(p.SX, c.sx[i]) << c.what << " #" << i;
      EXPECT_EQ(p.SY, c.sy[i]) << c.what << " #" << i;
      EXPECT_EQ(p.VZ, (std::array<std::int32_t, 3>{c.mesh.Z[0], c.mesh.Z[1], c.mesh.Z[2]})) << c.what;  // unclipped
      EXPECT_EQ(p.DepthKey, c.key) << c.what;
    }
  }
}

TEST(Scene, SquaredDepthKeysStopAtTheLargestKey) {
  Stage s(true);
  Add(s, FacingTriangle(100000));
  ASSERT_EQ(s.view.PolygonCount, 1);
  EXPECT_EQ(s.Polygon(0).DepthKey, std::numeric_limits<std::int32_t>::max());
}

TEST(Scene, FacesWhollyOffScreenAreDropped) {
  struct Case {
    std::int32_t left, right;
    int polygons;
  };
  const Case cases[] = {
      {-3000, -2000, 0},  // screen x -448 .. -192
      {-2000, 100, 1},    // crosses the left edge
      {2000, 3000, 0},    // beyond the right edge
      {1200, 3000, 1},    // starts at 627
  };
  for (const Case& c : cases) {
    Stage s;
    Add(s, Triangle({c.left, 0, 1000}, {c.left, 100, 1000}, {c.right, 0, 1000}));
    EXPECT_EQ(s.view.PolygonCount, c.polygons) << c.left << " .. " << c.right;
  }
}

TEST(Scene, FacesBeyondTheTextureTableOrThePaletteAreSkipped) {
  struct Case {
    std::uint16_t kind, texture;
    int polygons;
  };
  const Case cases[] = {
      {kOpaqueTextured, 32767, 1}, {kOpaqueTextured, 32768, 0}, {kTransparentTextured, 65535, 0},
      {kFlatColour, 255, 1},       {kFlatColour, 256, 0},       {9, 300, 0},
  };
  for (const Case& c : cases) {
    Stage s;
    Add(s, FacingTriangle(1000, c.kind, c.texture));
    EXPECT_EQ(s.view.PolygonCount, c.polygons) << c.kind << " " << c.texture;
  }
}

TEST(Scene, MalformedMeshesDrawOnlyWhatTheyHold) {
  Stage s;
  Mesh mesh = FacingTriangle(1000);
  mesh.Faces.push_back({.A = 0, .B = 1, .C = 3, .Kind = kFlatColour});
  mesh.Faces.push_back({.A = 9, .B = 1, .C = 2, .Kind = kSprite});
  Add(s, mesh);
  EXPECT_EQ(s.view.PolygonCount, 1);

  Mesh ragged = FacingTriangle(1000);
  ragged.Z.pop_back();
  Add(s, ragged);
  EXPECT_EQ(s.view.PolygonCount, 1);

  Mesh huge = FacingTriangle(1000);
  huge.Faces.assign(70000, huge.Faces[0]);  // more faces than 16-bit numbers can count
  Add(s, huge);
  EXPECT_EQ(s.view.PolygonCount, kPolygonCapacity);
}

TEST(Scene, CoordinatesAtTheEndsOfTheRangeAreDrawnWithoutOverflow) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  for (const bool editorRules : {false, true}) {
    Stage s(editorRules);
    BeginScene(s.engine, s.view, kMin, kMax, kMin, 3000, 2000, 1000);
    AddLight(s.view, kMax, kMin, kMax, kMax);
    AddLight(s.view, kMin, kMin, kMin, -1);
    Mesh mesh = Triangle({kMax, kMin, kMax}, {kMin, kMax, 5}, {kMax, kMax, kMin}, kFlatColour, 7, 1);
    mesh.Faces.push_back({.A = 0, .B = 65535, .C = 65535, .Texture = 5, .Kind = kSprite});
    s.view.Textures[5] = {kMin, kMax, 0};
    for (const std::int32_t at : {kMax, kMin, 0}) AddMesh(s.engine, s.view, mesh, at, at, at, 4000, 0, 0, kMin);
    AddMesh(s.engine, s.view, mesh, kMax, kMin, kMax, 0, 0, 0, kMax);
    EndScene(s.engine, s.view);
    EXPECT_EQ(s.backend.Drawn.size(), static_cast<std::size_t>(s.view.PolygonCount));
  }
}

TEST(Scene, AnEmptyMeshAddsNothing) {
  Stage s;
  Add(s, Mesh{});
  EXPECT_EQ(s.view.PolygonCount, 0);
}

// A sprite of 8 images (100..107), 100 wide and 50 high, on the mesh's only vertex.
Mesh SpriteMesh(RenderView& view) {
  view.Textures[5] = {100, 107, 100};
  Mesh mesh;
  CreateMesh(mesh, 0, 0);
  mesh.Faces[0] = {.A = 0, .B = 100, .C = 50, .Texture = 5, .Kind = kSprite};
  return mesh;
}

TEST(Scene, ASpriteIsTwoCameraFacingHalves) {
  Stage s;
  AddMesh(s.engine, s.view, SpriteMesh(s.view), 0, 0, 1000, 8192, 0, 0, 12);
  ASSERT_EQ(s.view.PolygonCount, 2);
  const ScreenPolygon& first = s.Polygon(0);
  const ScreenPolygon& second = s.Polygon(1);
  EXPECT_EQ(first.SX, (std::array<std::int32_t, 3>{308, 308, 333}));
  EXPECT_EQ(first.SY, (std::array<std::int32_t, 3>{234, 246, 246}));
  EXPECT_EQ(first.VX, (std::array<std::int32_t, 3>{50, -50, -50}));
  EXPECT_EQ(first.VY, (std::array<std::int32_t, 3>{-25, -25, 25}));
  EXPECT_EQ(first.Orientation, 1);
  EXPECT_EQ(second.SX, (std::array<std::int32_t, 3>{308, 333, 333}));
  EXPECT_EQ(second.SY, (std::array<std::int32_t, 3>{234, 234, 246}));
  EXPECT_EQ(second.VX, (std::array<std::int32_t, 3>{-50, 50, 50}));
  EXPECT_EQ(second.VY, (std::array<std::int32_t, 3>{25, 25, -25}));
  EXPECT_EQ(second.Orientation, 0);
  for (const ScreenPolygon* p : {&first, &second}) {
    EXPECT_EQ(p->VZ, (std::array<std::int32_t, 3>{1000, 1000, 1000}));
    EXPECT_EQ(p->Kind, kTransparentTextured);
    EXPECT_EQ(p->Sprite, 1);
    EXPECT_EQ(p->DepthKey, 1000);
    EXPECT_EQ(p->Light1, 12);
    EXPECT_EQ(p->Face, 0);
  }
}

TEST(Scene, TheSpriteImageFollowsTheDirectionItIsSeenFrom) {
  struct Case {
    std::int32_t x, z, yaw;
    std::int32_t image;
  };
  const Case cases[] = {
      {0, 1000, 8192, 100},      // seen at 90 degrees, the mesh's yaw: q = 20
      {-1000, 1000, 8192, 101},  // 45 degrees further round: q = 65
      {0, 1000, 0, 102},         // q = 110
      {0, 1000, 16384, 106},     // q = -70 + 360 = 290
      {0, 1000, -19115, 107},    // q = 320
  };
  for (const Case& c : cases) {
    Stage s;
    AddMesh(s.engine, s.view, SpriteMesh(s.view), c.x, 0, c.z, c.yaw, 0, 0, 0);
    ASSERT_EQ(s.view.PolygonCount, 2);
    EXPECT_EQ(s.Polygon(0).Texture, c.image) << c.x << " " << c.z << " " << c.yaw;
    EXPECT_EQ(s.Polygon(1).Texture, c.image) << c.x << " " << c.z << " " << c.yaw;
  }
}

TEST(Scene, SpritesAtOrBeforeTheNearPlaneOrWithoutImagesAddNothing) {
  Stage s;
  const Mesh sprite = SpriteMesh(s.view);
  AddMesh(s.engine, s.view, sprite, 0, 0, 1, 0, 0, 0, 0);
  AddMesh(s.engine, s.view, sprite, 0, 0, -500, 0, 0, 0, 0);
  s.view.Textures[5] = {10, 9, 10};
  AddMesh(s.engine, s.view, sprite, 0, 0, 1000, 0, 0, 0, 0);
  EXPECT_EQ(s.view.PolygonCount, 0);
}

TEST(Scene, PolygonsBeyondTheListsCapacityAreDropped) {
  Stage s;
  Mesh mesh = FacingTriangle(1000);
  mesh.Faces.assign(kPolygonCapacity + 1, mesh.Faces[0]);
  Add(s, mesh);
  Add(s, FacingTriangle(500));
  EXPECT_EQ(s.view.PolygonCount, kPolygonCapacity);
  EndScene(s.engine, s.view);
  EXPECT_EQ(s.backend.Drawn.size(), static_cast<std::size_t>(kPolygonCapacity));
}

TEST(Scene, TheScratchMeshGrowsForALargerMeshAndIsThenReused) {
  Stage s;
  EXPECT_EQ(s.engine.Scratch.VertexCount(), 5001u);
  EXPECT_EQ(s.engine.Scratch.FaceCount(), 15001u);
  Mesh large;
  CreateMesh(large, 5999, 9);
  Add(s, large);
  EXPECT_GE(s.engine.Scratch.VertexCount(), 6001u);
  EXPECT_GE(s.engine.Scratch.FaceCount(), 15001u);

  const std::int32_t* vertices = s.engine.Scratch.X.data();
  const MeshFace* faces = s.engine.Scratch.Faces.data();
  Add(s, FacingTriangle(1000));
  Add(s, large);
  EXPECT_EQ(s.engine.Scratch.X.data(), vertices);
  EXPECT_EQ(s.engine.Scratch.Faces.data(), faces);
}

TEST(Scene, BeginSceneSetsTheCameraAndEmptiesTheFrame) {
  Stage s;
  Add(s, FacingTriangle(1000));
  AddLight(s.view, 0, 0, 0, 100);
  BeginScene(s.engine, s.view, 1, 2, 3, 0, 0, 8192);
  EXPECT_EQ(s.view.PolygonCount, 0);
  EXPECT_EQ(s.view.LastLight, -1);
  EXPECT_EQ(s.view.Cam.X, 1);
  EXPECT_EQ(s.view.Cam.Z, 3);
  EXPECT_EQ(s.view.RollSin, 1.0f);
  EXPECT_EQ(s.backend.StartCount, 2);
}

TEST(Scene, SetFogFillsTheIndexTableWithTheNearestColour) {
  Stage s;
  s.view.ViewPalette.Red.fill(255);
  s.view.ViewPalette.Red[17] = 10;
  s.view.ViewPalette.Green[17] = 20;
  s.view.ViewPalette.Blue[17] = 30;
  SetFog(s.engine, s.view, 12, 20, 30);
  EXPECT_EQ(s.view.FogRed, 12);
  EXPECT_EQ(s.view.FogBlue, 30);
  EXPECT_TRUE(std::all_of(s.view.FogIndex.begin(), s.view.FogIndex.end(), [](std::uint8_t i) { return i == 17; }));
  EXPECT_EQ(s.backend.FogCount, 1);
}

TEST(Scene, CornersAreLitByTheFramesLights) {
  struct Case {
    const char* what;
    std::vector<Light> lights;  // world positions; the triangle's corners are (0,0,0), (0,100,0), (100,0,0)
    std::int32_t base;
    std::array<std::int32_t, 3> expected;
  };
  const Case cases[] = {
      {"no light", {}, 77, {77, 77, 77}},
      {"no light, bright base", {}, 300, {255, 255, 255}},
      {"no light, dark base", {}, -5, {0, 0, 0}},
      {"at corner a", {{0, 0, 0, 200}}, 0, {254, 127, 127}},
      {"negative base", {{0, 0, 0, 1000}}, -100, {155, 130, 130}},
      {"two lights add up", {{0, 0, 0, 200}, {0, 0, 0, 200}}, 0, {255, 254, 254}},
      {"out of reach", {{5000, 0, 0, 200}}, 10, {10, 10, 10}},
      {"radius 0 adds nothing", {{0, 0, 0, 0}}, 50, {50, 50, 50}},
  };
  for (const Case& c : cases) {
    Stage s;
    BeginScene(s.engine, s.view, 300, 0, -1000, 0, 0, 0);
    for (const Light& l : c.lights) AddLight(s.view, l.X, l.Y, l.Z, l.Radius);
    AddMesh(s.engine, s.view, Triangle({300, 0, 0}, {300, 100, 0}, {400, 0, 0}), -300, 0, 0, 0, 0, 0, c.base);
    EndScene(s.engine, s.view);
    ASSERT_EQ(s.backend.DrawnPolygons.size(), 1u) << c.what;
    const ScreenPolygon& p = s.backend.DrawnPolygons[0];
    EXPECT_EQ((std::array<std::int32_t, 3>{p.Light1, p.Light2, p.Light3}), c.expected) << c.what;
    EXPECT_EQ(s.view.LastLight, -1) << c.what;
  }
}

TEST(Scene, The257thLightIsIgnored) {
  Stage s;
  for (int i = 0; i < kMaxLights; ++i) AddLight(s.view, 90000, 0, 0, 10);
  AddLight(s.view, 0, 0, 1000, 100000);
  EXPECT_EQ(s.view.LastLight, kMaxLights - 1);
  Add(s, FacingTriangle(1000), 40);
  EndScene(s.engine, s.view);
  ASSERT_EQ(s.backend.DrawnPolygons.size(), 1u);
  EXPECT_EQ(s.backend.DrawnPolygons[0].Light1, 40);
}

TEST(Scene, LightsStayWhenTheFrameHasNoPolygons) {
  Stage s;
  AddLight(s.view, 0, 0, 0, 100);
  EndScene(s.engine, s.view);
  EXPECT_EQ(s.view.LastLight, 0);
  EXPECT_TRUE(s.backend.Drawn.empty());
}

// The colour field of the drawn polygons, in drawing order.
std::vector<std::int32_t> DrawnTextures(const Stage& s) {
  std::vector<std::int32_t> textures;
  for (const ScreenPolygon& p : s.backend.DrawnPolygons) textures.push_back(p.Texture);
  return textures;
}

TEST(Scene, PolygonsAreDrawnFarToNear) {
  struct Case {
    const char* what;
    bool editorRules;
    std::vector<std::int32_t> order;  // by texture: 1 transparent at 1000, 2 transparent at 3000,
                                      // 3 opaque at 2000, 4 opaque at 500
  };
  const Case cases[] = {
      {"opaque first, then the rest", false, {3, 4, 2, 1}},
      {"one pass", true, {2, 3, 1, 4}},
  };
  for (const Case& c : cases) {
    Stage s(c.editorRules);
    Add(s, FacingTriangle(1000, kTransparentTextured, 1));
    Add(s, FacingTriangle(3000, kTransparentTextured, 2));
    Add(s, FacingTriangle(2000, kOpaqueTextured, 3));
    Add(s, FacingTriangle(500, kOpaqueTextured, 4));
    EndScene(s.engine, s.view);
    EXPECT_EQ(DrawnTextures(s), c.order) << c.what;
  }
}

TEST(Scene, TheSortOrdersAnyKeysFarthestFirst) {
  Stage s;
  std::uint32_t seed = 12345;
  for (int i = 0; i < 1500; ++i) {
    seed = seed * 1103515245u + 12345u;
    Add(s, FacingTriangle(static_cast<std::int32_t>(100 + (seed >> 16) % 300)));  // many equal keys
  }
  for (int i = 0; i < 300; ++i) Add(s, FacingTriangle(100 + i));  // a run already in order
  const int count = s.view.PolygonCount;
  EndScene(s.engine, s.view);
  ASSERT_EQ(s.backend.Drawn.size(), static_cast<std::size_t>(count));
  std::vector<int> indices = s.backend.Drawn;
  std::sort(indices.begin(), indices.end());
  for (int i = 0; i < count; ++i) ASSERT_EQ(indices[static_cast<std::size_t>(i)], i);
  for (std::size_t i = 1; i < s.backend.DrawnPolygons.size(); ++i) {
    ASSERT_GE(s.backend.DrawnPolygons[i - 1].DepthKey, s.backend.DrawnPolygons[i].DepthKey) << i;
  }
}

}  // namespace
}  // namespace zandrel::engine
