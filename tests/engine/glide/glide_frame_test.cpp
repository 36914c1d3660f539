// The back end on the OpenGL board: what a frame shows, and how many draw calls it takes.
#include <gtest/gtest.h>

#include <cstdio>

#include "engine/engine.h"
#include "engine/glide/glide_backend.h"
#include "engine/picture.h"
#include "engine/scene.h"
#include "tests/platform/glide/gl_window.h"

namespace zandrel::engine::glide {
namespace {

using test::PixelAt;

Picture Plain(int width, int height, std::uint16_t pixel) {
  Picture picture;
  picture.Width = width;
  picture.Height = height;
  picture.Pixels.assign(static_cast<std::size_t>(width * height), pixel);
  picture.Mask.assign(static_cast<std::size_t>(width * height), 1);
  return picture;
}

PcxImage Square(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  PcxImage image;
  image.Width = image.Height = 128;
  image.Indices.assign(128 * 128, 1);
  image.Palette[3] = red;
  image.Palette[4] = green;
  image.Palette[5] = blue;
  return image;
}

class GlideFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!window_.Board()) GTEST_SKIP() << "no OpenGL 3.3 context: " << window_.Reason();
    backend_ = std::make_unique<GlideBackend>(*window_.Board());
    engine_ = std::make_unique<Engine>(*backend_);
    ASSERT_TRUE(backend_->StartEngine());
    backend_->OpenView(640, 480, view_);
    backend_->ClearView(0, view_);
  }

  ScreenPolygon Triangle(std::array<std::int32_t, 3> sx, std::array<std::int32_t, 3> sy, std::int32_t z,
                         std::int32_t kind, std::int32_t texture) {
    ScreenPolygon p;
    p.VZ = {z, z, z};
    p.SX = sx;
    p.SY = sy;
    p.DepthKey = z;
    p.Kind = kind;
    p.Texture = texture;
    p.Light1 = 255;
    return p;
  }

  test::GlWindow window_;
  std::unique_ptr<GlideBackend> backend_;
  std::unique_ptr<Engine> engine_;
  RenderView view_;
};

TEST_F(GlideFrame, ShowsTrianglesAndPicturesInOrder) {
  view_.ViewPalette.Green[40] = 255;
  backend_->BeginTextureImages(view_);
  backend_->StoreTextureImage(0, Square(255, 0, 0), true, view_);
  view_.Textures[0] = {0, 0, 0};
  BeginScene(*engine_, view_, 0, 0, 0, 0, 0, 0);
  view_.Polygons[0] = Triangle({0, 640, 0}, {0, 0, 480}, 1000, 3, 40);     // flat green, upper left half
  view_.Polygons[1] = Triangle({640, 640, 0}, {0, 480, 480}, 1000, 0, 0);  // textured red, lower right half
  view_.PolygonCount = 2;
  EndScene(*engine_, view_);
  backend_->DrawPicture(Plain(8, 8, 0xFFDF), false, view_, 0.8f, 0.5f, 0.25f, 0.1f);

  const std::vector<std::uint8_t> frame = window_.Board()->ReadFrame();
  const auto at = [&](int x, int y) { return PixelAt(frame, 640, x, y); };
  EXPECT_GT(at(100, 100).G, 240);
  EXPECT_LT(at(100, 100).R, 10);
  EXPECT_GT(at(500, 400).R, 240);
  EXPECT_LT(at(500, 400).G, 10);
  EXPECT_GT(at(600, 260).B, 240) << "the picture";
  EXPECT_GT(at(512, 250).B, 240) << "its first column";
  EXPECT_LT(at(639, 260).B, 10) << "the last column is not written";
}

TEST_F(GlideFrame, AFrameOf600TrianglesAnd20PicturesTakesFewDrawCalls) {
  backend_->BeginTextureImages(view_);
  backend_->StoreTextureImage(0, Square(255, 0, 0), true, view_);
  backend_->StoreTextureImage(1, Square(0, 0, 255), false, view_);
  view_.Textures[0] = {0, 0, 0};
  view_.Textures[1] = {1, 1, 1};
  view_.ViewPalette.Blue[50] = 200;
  const Picture picture = Plain(32, 32, 0x07C0);

  std::uint32_t seed = 12345;
  const auto next = [&](std::int32_t range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<std::int32_t>((seed >> 8) % static_cast<std::uint32_t>(range));
  };
  for (int frame = 0; frame < 2; ++frame) {
    BeginScene(*engine_, view_, 0, 0, 0, 0, 0, 0);
    for (int i = 0; i < 600; ++i) {
      const std::int32_t x = next(600), y = next(440);
      const std::int32_t kind = i % 3 == 0 ? 3 : i % 3 == 1 ? 0 : 1;
      view_.Polygons[static_cast<std::size_t>(i)] =
          Triangle({x, x + 40, x}, {y, y, y + 40}, 200 + next(5000), kind, kind == 3 ? 50 : i % 2);
    }
    view_.PolygonCount = 600;
    EndScene(*engine_, view_);
    for (int i = 0; i < 20; ++i) backend_->DrawPicture(picture, true, view_, 0.05f * i, 0.9f, 0.04f, 0.05f);
    backend_->SwapView(view_);
  }
  const int drawCalls = window_.Board()->DrawCallsLastFrame();
  std::printf("draw calls for 600 triangles and 20 pictures: %d\n", drawCalls);
  // One batch of triangles (both textures share an array texture) and one per picture.
  EXPECT_EQ(drawCalls, 21);
}

}  // namespace
}  // namespace zandrel::engine::glide
