#include <gtest/gtest.h>

#include <vector>

#include "platform/glide/opengl_glide.h"
#include "tests/platform/glide/gl_window.h"

namespace zandrel::glide {
namespace {

using test::PixelAt;
using test::Rgb;

GrVertex Vertex(float x, float y, float oow, float r, float g, float b, float s = 0, float t = 0) {
  GrVertex v;
  v.x = x;
  v.y = y;
  v.oow = oow;
  v.r = r;
  v.g = g;
  v.b = b;
  v.a = 255;
  v.tmuvtx[0] = {s * oow, t * oow, oow};
  return v;
}

void Triangle(GlideDevice& board, const GrVertex& a, const GrVertex& b, const GrVertex& c) {
  board.guDrawTriangleWithClip(&a, &b, &c);
}

// A rectangle of two triangles, texture coordinates 0..256 across it.
void Quad(GlideDevice& board, float x0, float y0, float x1, float y1, float oow, float r, float g, float b) {
  Triangle(board, Vertex(x0, y0, oow, r, g, b, 0, 0), Vertex(x1, y0, oow, r, g, b, 256, 0),
           Vertex(x1, y1, oow, r, g, b, 256, 256));
  Triangle(board, Vertex(x0, y0, oow, r, g, b, 0, 0), Vertex(x1, y1, oow, r, g, b, 256, 256),
           Vertex(x0, y1, oow, r, g, b, 0, 256));
}

void OpenAsTheGameDoes(GlideDevice& board) {
  ASSERT_TRUE(
      board.grSstWinOpen(0, GR_RESOLUTION_320x240, GR_REFRESH_60Hz, GR_COLORFORMAT_RGBA, GR_ORIGIN_UPPER_LEFT, 2, 0));
  board.grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE_MINUS_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ZERO);
  board.grTexFilterMode(GR_TMU0, GR_TEXTUREFILTER_POINT_SAMPLED, GR_TEXTUREFILTER_POINT_SAMPLED);
  board.grTexClampMode(GR_TMU0, GR_TEXTURECLAMP_WRAP, GR_TEXTURECLAMP_WRAP);
  board.grDepthBufferMode(GR_DEPTHBUFFER_WBUFFER);
  board.grDepthBufferFunction(GR_CMP_LESS);
  board.grDepthMask(true);
  board.grBufferClear(0x00008000, 0, GR_WDEPTHVALUE_FARTHEST);  // dark blue
}

// Triangles in their iterated colour, opaque.
void FlatColour(GlideDevice& board) {
  board.guColorCombineFunction(GR_COLORCOMBINE_ITRGB);
  board.guAlphaSource(GR_ALPHASOURCE_CC_ALPHA);
}

// A board on a window of its own, opened as the game opens it; skipped where no OpenGL 3.3
// context can be had.
class OpenGlGlideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ZANDREL_REQUIRE_GL(window_);
    OpenAsTheGameDoes(Board());
  }
  OpenGlGlide& Board() { return *window_.Board(); }

 private:
  test::GlWindow window_;
};

// A 16 x 16 texture: left half (after mirroring, as the game stores it) opaque yellow,
// right half transparent.
std::vector<FxU16> HalfYellow() {
  std::vector<FxU16> texels(16 * 16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) texels[static_cast<std::size_t>(y * 16 + x)] = x < 8 ? 0xFFE0 : 0x001F;
  }
  return texels;
}

bool Near(Rgb pixel, int r, int g, int b) {
  return std::abs(pixel.R - r) <= 8 && std::abs(pixel.G - g) <= 8 && std::abs(pixel.B - b) <= 8;
}

TEST_F(OpenGlGlideTest, DrawsASmallSceneInCallOrder) {
  OpenGlGlide& board = Board();

  // A flat red square, near (1/w = 1).
  FlatColour(board);
  Quad(board, 20, 20, 100, 100, 1.0f, 255, 0, 0);
  // A farther green square over part of it: hidden where the red one is nearer.
  Quad(board, 60, 60, 140, 140, 0.5f, 0, 255, 0);

  // A textured square with texture alpha: yellow where opaque, the background shows
  // through the transparent half; the iterated colour halves the yellow.
  const std::vector<FxU16> texels = HalfYellow();
  const GrTexInfo info{
      .smallLod = 4, .largeLod = 4, .aspectRatio = GR_ASPECT_1x1, .format = GR_TEXFMT_ARGB_1555, .data = texels.data()};
  board.grTexDownloadMipMap(GR_TMU0, 4096, GR_MIPMAPLEVELMASK_BOTH, &info);
  board.grTexSource(GR_TMU0, 4096, GR_MIPMAPLEVELMASK_BOTH, &info);
  board.guColorCombineFunction(GR_COLORCOMBINE_TEXTURE_TIMES_ITRGB);
  board.guAlphaSource(GR_ALPHASOURCE_TEXTURE_ALPHA);
  Quad(board, 180, 20, 260, 100, 1.0f, 128, 128, 128);

  // A picture written through the frame buffer over the red square, then a triangle
  // drawn after it covers part of the picture.
  GrLfbInfo lock;
  ASSERT_TRUE(board.grLfbLock(GR_LFB_WRITE_ONLY, GR_BUFFER_BACKBUFFER, GR_LFBWRITEMODE_565, GR_ORIGIN_UPPER_LEFT, false,
                              &lock));
  for (int y = 30; y < 50; ++y) {
    auto* row = reinterpret_cast<FxU16*>(static_cast<std::uint8_t*>(lock.lfbPtr) + y * lock.strideInBytes);
    for (int x = 30; x < 50; ++x) row[x] = 0xFFFF;
  }
  ASSERT_TRUE(board.grLfbUnlock(GR_LFB_WRITE_ONLY, GR_BUFFER_BACKBUFFER));
  FlatColour(board);
  Quad(board, 40, 40, 45, 45, 2.0f, 0, 0, 255);

  const std::vector<std::uint8_t> frame = board.ReadFrame();
  ASSERT_EQ(frame.size(), 320u * 240u * 4u);
  const auto at = [&](int x, int y) { return PixelAt(frame, 320, x, y); };
  struct Probe {
    int X, Y, R, G, B;
    const char* What;
  };
  const Probe probes[] = {
      {10, 10, 0, 0, 128, "background"},
      {25, 90, 255, 0, 0, "flat red"},
      {90, 90, 255, 0, 0, "red nearer than the later green"},
      {130, 130, 0, 255, 0, "green where nothing nearer is"},
      {190, 60, 128, 128, 0, "texture times iterated colour"},
      {250, 60, 0, 0, 128, "transparent texels show the background"},
      {35, 35, 255, 255, 255, "the picture over the red square"},
      {42, 42, 0, 0, 255, "the triangle drawn after the picture"},
  };
  for (const Probe& p : probes) EXPECT_TRUE(Near(at(p.X, p.Y), p.R, p.G, p.B)) << p.What;

  // Two batches of triangles around the picture, and the picture itself.
  EXPECT_EQ(board.DrawCalls(), 3);
  board.grBufferSwap(1);
  EXPECT_EQ(board.DrawCallsLastFrame(), 3);
  EXPECT_EQ(board.DrawCalls(), 0);
}

TEST_F(OpenGlGlideTest, DepthOnlyClearKeepsThePicture) {
  OpenGlGlide& board = Board();
  FlatColour(board);
  Quad(board, 0, 0, 100, 100, 2.0f, 255, 0, 0);
  board.grColorMask(false, false);
  board.grBufferClear(0, 0, GR_WDEPTHVALUE_FARTHEST);
  board.grColorMask(true, true);
  // Farther than the red square, but the depth buffer is fresh: it is drawn.
  Quad(board, 50, 50, 150, 150, 0.5f, 0, 255, 0);
  const std::vector<std::uint8_t> frame = board.ReadFrame();
  EXPECT_TRUE(Near(PixelAt(frame, 320, 25, 25), 255, 0, 0));
  EXPECT_TRUE(Near(PixelAt(frame, 320, 75, 75), 0, 255, 0));
}

TEST_F(OpenGlGlideTest, TextureMemoryIsOverwrittenInPlace) {
  OpenGlGlide& board = Board();
  const std::vector<FxU16> yellow = HalfYellow();
  std::vector<FxU16> red(16 * 16, 0xFC00);
  GrTexInfo info{
      .smallLod = 4, .largeLod = 4, .aspectRatio = GR_ASPECT_1x1, .format = GR_TEXFMT_ARGB_1555, .data = yellow.data()};
  // Many images of one size: the array of layers grows and keeps the earlier ones.
  for (FxU32 address = 0; address < 40 * 512; address += 512) {
    board.grTexDownloadMipMap(GR_TMU0, address, GR_MIPMAPLEVELMASK_BOTH, &info);
  }
  info.data = red.data();
  board.grTexDownloadMipMap(GR_TMU0, 512, GR_MIPMAPLEVELMASK_BOTH, &info);
  board.guColorCombineFunction(GR_COLORCOMBINE_DECAL_TEXTURE);
  board.guAlphaSource(GR_ALPHASOURCE_CC_ALPHA);
  board.grTexSource(GR_TMU0, 0, GR_MIPMAPLEVELMASK_BOTH, &info);
  Quad(board, 0, 0, 80, 80, 1.0f, 255, 255, 255);
  board.grTexSource(GR_TMU0, 512, GR_MIPMAPLEVELMASK_BOTH, &info);
  Quad(board, 100, 0, 180, 80, 1.0f, 255, 255, 255);
  const std::vector<std::uint8_t> frame = board.ReadFrame();
  EXPECT_TRUE(Near(PixelAt(frame, 320, 10, 40), 255, 255, 0));
  EXPECT_TRUE(Near(PixelAt(frame, 320, 110, 40), 255, 0, 0));
  EXPECT_EQ(board.DrawCalls(), 1) << "images of one size share a batch";
}

}  // namespace
}  // namespace zandrel::glide
