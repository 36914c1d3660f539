// Whole scenes through the scene code and the software back end, compared pixel for
// pixel with pictures that were looked at and kept in tests/fixtures/golden. Run with
// ZANDREL_UPDATE_GOLDEN=1 to write them again after an intended change.
#include <gtest/gtest.h>

#include <string>

#include "engine/cube_faces.h"
#include "engine/scene.h"
#include "engine/soft/soft_backend.h"
#include "tests/engine/soft/golden.h"
#include "tests/support/ramp_palette.h"

namespace zandrel::engine::soft {
namespace {

constexpr int kWidth = 160, kHeight = 120;

// The ramps: white, red, green, blue, yellow, purple, cyan, orange.
Palette RampPalette() {
  return zandrel::test::RampPalette({{{255, 255, 255},
                                      {255, 80, 60},
                                      {80, 220, 90},
                                      {70, 120, 255},
                                      {255, 210, 60},
                                      {200, 90, 255},
                                      {60, 220, 230},
                                      {255, 140, 40}}});
}

// A 128 x 128 image: four quadrants of ramps 1..4 with a darker border and a diagonal
// stripe, so that orientation and perspective show; `hole` leaves a see-through circle.
PcxImage Texture(int firstRamp, bool hole) {
  PcxImage image;
  image.Width = image.Height = 128;
  image.Palette = zandrel::test::PaletteBytes(RampPalette());
  image.Indices.resize(128 * 128);
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      const int ramp = firstRamp + (x >= 64 ? 1 : 0) + (y >= 64 ? 2 : 0);
      const bool edge = x % 64 < 4 || y % 64 < 4;
      int index = ramp % 8 * 32 + (edge ? 12 : 28 - (x + y) % 16 / 4);
      if (x == y) index = 31;
      if (hole && (x - 64) * (x - 64) + (y - 64) * (y - 64) < 24 * 24) index = 0;
      image.Indices[static_cast<std::size_t>(y * 128 + x)] = static_cast<std::uint8_t>(index);
    }
  }
  return image;
}

class SceneGolden : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_.OpenView(kWidth, kHeight, view_);
    view_.ViewPalette = RampPalette();
    StartEngineCore(engine_);
    backend_.BeginTextureImages(view_);
    backend_.StoreTextureImage(1, Texture(1, false), true, view_);
    for (int i = 0; i < 4; ++i) backend_.StoreTextureImage(2 + i, Texture(1 + i, true), false, view_);
    view_.Textures[1] = {1, 1, 1};
    view_.Textures[2] = {2, 5, 2};  // four images: a sprite seen from four sides
    SetFog(engine_, view_, 0, 0, 0);
    backend_.ClearView(0, view_);
  }

  void ExpectPicture(const std::string& name) { test::ExpectGoldenPicture(name, view_.Screen, view_.ViewPalette); }

  SoftBackend backend_;
  Engine engine_{backend_};
  RenderView view_;
};

TEST_F(SceneGolden, TexturedCube) {
  CubeFaces faces = MakeCubeFaces();
  CubeLook look;
  look.Texture.fill(1);
  look.HighDetail = true;
  BeginScene(engine_, view_, 256 + 500, 256 + 450, 256 - 650, -5000, -3000, 0);
  AddLight(view_, 256 + 500, 256 + 450, 256 - 650, 4000);
  AddCubeCell(engine_, view_, faces, look, 0, 0, 0, 0, [](int, int, int) { return false; });
  EndScene(engine_, view_);
  ExpectPicture("textured_cube");
}

TEST_F(SceneGolden, FlatFloorCrossingTheNearPlane) {
  Mesh floor;
  floor.X = {-1500, 1500, 1500, -1500};
  floor.Y = {0, 0, 0, 0};
  floor.Z = {-600, -600, 4000, 4000};
  // Seen from above: kept faces run clockwise on screen.
  floor.Faces = {MeshFace{0, 3, 2, 2 * 32 + 20, 0, 0, kFlatColour}, MeshFace{0, 2, 1, 3 * 32 + 20, 0, 0, kFlatColour}};
  BeginScene(engine_, view_, 0, 300, 0, 0, -1500, 0);
  AddLight(view_, 0, 300, 600, 9000);
  AddMesh(engine_, view_, floor, 0, 0, 0, 0, 0, 0, 0);
  EndScene(engine_, view_);
  ExpectPicture("near_floor");
}

TEST_F(SceneGolden, SpriteOverACube) {
  Mesh sprite;
  sprite.X = {0};
  sprite.Y = {0};
  sprite.Z = {0};
  sprite.Faces = {MeshFace{0, 300, 400, 2, 0, 0, kSprite}};
  CubeFaces faces = MakeCubeFaces();
  CubeLook look;
  look.Texture.fill(1);
  look.HighDetail = true;
  BeginScene(engine_, view_, 256, 400, -1200, 0, -1000, 0);
  AddLight(view_, 256, 400, -1200, 5000);
  AddCubeCell(engine_, view_, faces, look, 0, 0, 0, 40, [](int, int, int) { return false; });
  AddMesh(engine_, view_, sprite, 256, 700, 100, 0, 0, 0, 40);
  EndScene(engine_, view_);
  ExpectPicture("sprite");
}

}  // namespace
}  // namespace zandrel::engine::soft
