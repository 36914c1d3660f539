#include "engine/glide/glide_backend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/camera.h"
#include "engine/engine.h"
#include "engine/scene.h"
#include "tests/engine/glide/recording_glide.h"
#include "tests/support/captured_messages.h"

namespace zandrel::engine::glide {
namespace {

namespace gr = zandrel::glide;

using test::CapturedMessages;

class GlideBackendTest : public ::testing::Test {
 protected:
  explicit GlideBackendTest(gr::FxU32 textureMemory = gr::kTextureMemoryBytes)
      : board_(true, textureMemory), backend_(board_) {}

  void Open(int width = 640, int height = 480) {
    backend_.OpenView(width, height, view_);
    board_.Calls.clear();
  }

  test::RecordingGlide board_;
  GlideBackend backend_;
  RenderView view_;
};

TEST_F(GlideBackendTest, NoBoardStopsTheEngineStart) {
  EXPECT_TRUE(backend_.StartEngine());
  test::RecordingGlide none(false);
  GlideBackend without(none);
  const base::Status started = without.StartEngine();
  ASSERT_FALSE(started);
  EXPECT_EQ(started.error(), "No 3DFX card detected !");
}

TEST_F(GlideBackendTest, OpenViewSetsTheBoardAndTheProjection) {
  backend_.OpenView(640, 480, view_);
  const std::vector<std::string> expected{
      "grSstSelect(0)",
      "grSstWinOpen(7,0,2,0,2,0)",
      "guColorCombineFunction(6)",
      "grAlphaBlendFunction(1,5,4,0)",
      "grTexCombineFunction(0,1)",
      "grTexFilterMode(0,1,1)",
      "grTexClampMode(0,0,0)",
      "grDepthBufferMode(2)",
      "grDepthBufferFunction(1)",
      "grDepthMask(1)",
  };
  EXPECT_EQ(board_.Calls, expected);
  EXPECT_TRUE(backend_.ViewOpen());
  EXPECT_EQ(view_.ViewShift, 8);
  EXPECT_EQ(view_.NearDepth, 1);
  EXPECT_EQ(view_.RightLimit, 640);
  EXPECT_EQ(view_.CentreX, 320);
  EXPECT_EQ(view_.CentreY, 240);
  EXPECT_EQ(view_.Polygons.size(), static_cast<std::size_t>(kPolygonCapacity));
  EXPECT_FALSE(view_.Rules.ClipNearPlane || view_.Rules.SquaredDepthKey || view_.Rules.OnePass);
  EXPECT_EQ(view_.Screen.Pixels.size(), 640u * 480u);

  struct Case {
    int Height, Code, Width;
  };
  for (const Case c : {Case{200, 0, 320}, Case{240, 1, 320}, Case{480, 7, 640}, Case{600, 8, 800}}) {
    board_.Calls.clear();
    backend_.OpenView(c.Width, c.Height, view_);
    EXPECT_EQ(board_.Calls[1], "grSstWinOpen(" + std::to_string(c.Code) + ",0,2,0,2,0)");
    EXPECT_EQ(view_.Screen.Width, c.Width);
    EXPECT_EQ(view_.ViewShift, c.Width == 320 ? 7 : 8);
  }

  board_.Calls.clear();
  backend_.CloseView();
  EXPECT_EQ(board_.Calls, std::vector<std::string>{"grGlideShutdown()"});
  EXPECT_FALSE(backend_.ViewOpen());
}

TEST_F(GlideBackendTest, EveryScenesStartClearsOnlyTheDepthBuffer) {
  Open();
  Engine engine(backend_);
  const std::vector<std::string> depthClear{"grColorMask(0,0)", "grBufferClear(0,0,65535)", "grColorMask(1,1)"};
  for (int scene = 0; scene < 2; ++scene) {
    board_.Calls.clear();
    BeginScene(engine, view_, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(board_.Calls, depthClear) << "scene " << scene;
  }

  view_.ViewPalette.Red[9] = 0x12;
  view_.ViewPalette.Green[9] = 0x34;
  view_.ViewPalette.Blue[9] = 0x56;
  board_.Calls.clear();
  backend_.ClearView(9, view_);
  EXPECT_EQ(board_.Calls, std::vector<std::string>{"grBufferClear(305419776,0,65535)"});  // 0x12345600
  EXPECT_EQ(board_.Pixel(0, 0), gr::Rgb565(0x12345600, gr::GR_COLORFORMAT_RGBA));
}

// A polygon with its three corners at the given depths, on screen.
ScreenPolygon Polygon(std::int32_t kind, std::array<std::int32_t, 3> z, std::array<std::int32_t, 3> light) {
  ScreenPolygon p;
  p.VZ = z;
  p.SX = {10, 20, 30};
  p.SY = {40, 50, 60};
  p.Kind = kind;
  p.Light1 = light[0];
  p.Light2 = light[1];
  p.Light3 = light[2];
  return p;
}

TEST_F(GlideBackendTest, PolygonsBecomeTrianglesWithFoggedColours) {
  Open();
  view_.FogRed = 0;
  view_.FogGreen = 0;
  view_.FogBlue = 255;
  view_.ViewPalette.Red[70] = 200;
  view_.ViewPalette.Green[70] = 100;
  view_.ViewPalette.Blue[70] = 50;

  struct Case {
    const char* What;
    ScreenPolygon P;
    bool Drawn;
    std::int32_t Combine, AlphaSource;
    std::array<float, 3> Red, Blue;  // per vertex
  };
  ScreenPolygon flat = Polygon(3, {200, 300, 400}, {256, 128, 0});
  flat.Texture = 70;
  const Case cases[] = {
      {"all corners nearer than 120", Polygon(0, {119, 50, -5}, {255, 255, 255}), false, 0, 0, {}, {}},
      {"one corner at 120", Polygon(0, {119, 120, 5}, {255, 255, 255}), true, 6, 0, {}, {}},
      {"flat colour, lit to unlit", flat, true, 2, 0, {200, 100, 0}, {50, 152.5f, 255}},
      {"textured, lit to unlit",
       Polygon(0, {500, 500, 500}, {256, 128, 0}),
       true,
       6,
       0,
       {255, 127.5f, 0},
       {255, 255, 255}},
      {"transparent kind takes texture alpha",
       Polygon(1, {500, 500, 500}, {256, 256, 256}),
       true,
       6,
       2,
       {255, 255, 255},
       {255, 255, 255}},
  };
  for (const Case& c : cases) {
    board_.Calls.clear();
    board_.Triangles.clear();
    view_.Polygons[0] = c.P;
    backend_.DrawPolygon(0, view_);
    EXPECT_EQ(board_.Calls.front(), "guAlphaSource(" + std::to_string(c.AlphaSource) + ")") << c.What;
    ASSERT_EQ(board_.Triangles.size(), c.Drawn ? 1u : 0u) << c.What;
    if (!c.Drawn) continue;
    const auto& t = board_.Triangles[0];
    EXPECT_EQ(t.Combine, c.Combine) << c.What;
    EXPECT_EQ(t.AlphaSource, c.AlphaSource) << c.What;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(t.V[i].x, static_cast<float>(c.P.SX[i])) << c.What;
      EXPECT_EQ(t.V[i].y, static_cast<float>(c.P.SY[i])) << c.What;
      EXPECT_FLOAT_EQ(t.V[i].oow, 10.0f / static_cast<float>(std::max(c.P.VZ[i], 1))) << c.What;
      EXPECT_EQ(t.V[i].a, 255.0f);
      if (c.Red[0] == 0 && c.Red[1] == 0) continue;
      EXPECT_FLOAT_EQ(t.V[i].r, c.Red[i]) << c.What << " vertex " << i;
      EXPECT_FLOAT_EQ(t.V[i].b, c.Blue[i]) << c.What << " vertex " << i;
    }
  }
}

TEST_F(GlideBackendTest, TextureCoordinatesFollowTheOrientation) {
  Open();
  struct Case {
    std::int32_t Orientation;
    std::array<std::array<float, 2>, 3> St;
  };
  for (const Case& c : {Case{0, {{{256, 0}, {0, 0}, {0, 256}}}}, Case{1, {{{0, 256}, {256, 256}, {256, 0}}}}}) {
    board_.Triangles.clear();
    ScreenPolygon p = Polygon(0, {1000, 500, 0}, {255, 255, 255});
    p.Orientation = c.Orientation;
    view_.Polygons[0] = p;
    backend_.DrawPolygon(0, view_);
    ASSERT_EQ(board_.Triangles.size(), 1u);
    for (int i = 0; i < 3; ++i) {
      const gr::GrVertex& v = board_.Triangles[0].V[i];
      EXPECT_FLOAT_EQ(v.tmuvtx[0].sow, c.St[static_cast<std::size_t>(i)][0] * v.oow);
      EXPECT_FLOAT_EQ(v.tmuvtx[0].tow, c.St[static_cast<std::size_t>(i)][1] * v.oow);
    }
    EXPECT_FLOAT_EQ(board_.Triangles[0].V[2].oow, 10.0f);  // z = 0 counts as 1
  }
}

PcxImage Square(int side, std::uint8_t index = 1) {
  PcxImage image;
  image.Width = image.Height = side;
  image.Indices.assign(static_cast<std::size_t>(side * side), index);
  image.Palette[index * 3u] = 255;
  return image;
}

TEST_F(GlideBackendTest, TexturedPolygonsSourceTheCurrentOrTheSpriteImage) {
  Open();
  backend_.BeginTextureImages(view_);
  backend_.StoreTextureImage(3, Square(128), true, view_);
  backend_.StoreTextureImage(4, Square(128), false, view_);
  EXPECT_EQ(backend_.Image(3).StartAddress, 0u);
  EXPECT_EQ(backend_.Image(4).StartAddress, 32768u);
  EXPECT_EQ(backend_.Image(4).Info.largeLod, 1);
  EXPECT_EQ(backend_.Image(4).Info.aspectRatio, 3);
  EXPECT_EQ(backend_.Image(4).Info.format, 11);
  view_.Textures[7] = {3, 4, 4};

  ScreenPolygon p = Polygon(0, {500, 500, 500}, {255, 255, 255});
  p.Texture = 7;
  view_.Polygons[0] = p;
  p.Sprite = 1;
  p.Kind = 1;
  p.Texture = 3;
  view_.Polygons[1] = p;
  board_.Triangles.clear();
  backend_.DrawPolygon(0, view_);
  backend_.DrawPolygon(1, view_);
  ASSERT_EQ(board_.Triangles.size(), 2u);
  EXPECT_EQ(board_.Triangles[0].Source, 32768) << "texture 7's current image, 4";
  EXPECT_EQ(board_.Triangles[1].Source, 0) << "the sprite's image 3 itself";
}

class SmallTextureMemory : public GlideBackendTest {
 protected:
  SmallTextureMemory() : GlideBackendTest(80000) {}
};

TEST_F(SmallTextureMemory, FullMemoryFailsThisAndEveryLaterImage) {
  Open();
  CapturedMessages messages;
  backend_.BeginTextureImages(view_);
  backend_.StoreTextureImage(0, Square(128), true, view_);   // 0 .. 32768
  backend_.StoreTextureImage(1, Square(128), false, view_);  // 32768 .. 65536
  backend_.StoreTextureImage(2, Square(128), false, view_);  // does not fit
  backend_.StoreTextureImage(3, Square(8), false, view_);    // would fit, but the memory counts as full
  backend_.StoreTextureImage(4, Square(12), false, view_);   // not a power of two: not loaded, no message
  EXPECT_EQ(board_.Downloads, (std::vector<gr::FxU32>{0, 32768}));
  EXPECT_EQ(messages.Texts, (std::vector<std::string>{"Problem Loading texture", "Problem Loading texture"}));
  EXPECT_TRUE(backend_.Image(1).Loaded);
  EXPECT_FALSE(backend_.Image(2).Loaded);
  EXPECT_FALSE(backend_.Image(3).Loaded);
  EXPECT_FALSE(backend_.Image(4).Loaded);

  // A failed image leaves texture unit 0 as it was.
  view_.Textures[0] = {2, 2, 2};
  ScreenPolygon p = Polygon(0, {500, 500, 500}, {255, 255, 255});
  view_.Polygons[0] = p;
  board_.Triangles.clear();
  backend_.DrawPolygon(0, view_);
  EXPECT_EQ(board_.Triangles.at(0).Source, 32768) << "the last image selected while loading";

  // The next list starts again at the lowest address.
  backend_.BeginTextureImages(view_);
  backend_.StoreTextureImage(5, Square(128), true, view_);
  EXPECT_EQ(board_.Downloads.back(), 0u);
  EXPECT_EQ(messages.Texts.size(), 2u);
}

Picture Checker(int width, int height) {
  Picture picture;
  picture.Width = width;
  picture.Height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.Pixels.push_back(static_cast<std::uint16_t>(0x1000 + y * width + x));
      picture.Mask.push_back((x + y) % 2 == 0 ? 1 : 0);
    }
  }
  return picture;
}

TEST_F(GlideBackendTest, PicturesAreScaledAndClippedIntoTheBackBuffer) {
  Open();
  const Picture picture = Checker(4, 2);
  struct Case {
    const char* What;
    float X, Y, W, H;
    bool Transparent;
    int FirstColumn, EndColumn, FirstRow, EndRow;  // written, end exclusive
  };
  const Case cases[] = {
      {"x 0.8, w 0.25 covers columns 512 to 638", 0.8f, 0.5f, 0.25f, 0.01f, false, 512, 639, 240, 245},
      {"the last row is never written", 0.0f, 0.9f, 0.1f, 0.5f, false, 0, 64, 432, 479},
      {"clipped on the left and top", -0.05f, -0.05f, 0.1f, 0.1f, false, 0, 32, 0, 24},
      {"transparent keeps the mask", 0.25f, 0.25f, 0.1f, 0.1f, true, 160, 224, 120, 168},
  };
  for (const Case& c : cases) {
    board_.grBufferClear(0, 0, 0xFFFF);
    backend_.DrawPicture(picture, c.Transparent, view_, c.X, c.Y, c.W, c.H);
    const int left = Nearest(640 * c.X), top = Nearest(480 * c.Y);
    const int width = Nearest(640 * c.W), height = Nearest(480 * c.H);
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        const bool inside = x >= c.FirstColumn && x < c.EndColumn && y >= c.FirstRow && y < c.EndRow;
        std::uint16_t expected = 0;
        if (inside) {
          const int sx = static_cast<int>((x - left) * (4 * 256 / width) >> 8);
          const int sy = static_cast<int>((y - top) * (2 * 256 / height) >> 8);
          const std::size_t source = static_cast<std::size_t>(sy * 4 + sx);
          if (!c.Transparent || picture.Mask[source] == 1) expected = picture.Pixels[source];
        }
        if (board_.Pixel(x, y) != expected) {
          ADD_FAILURE() << c.What << ": pixel " << x << "," << y << " is " << board_.Pixel(x, y);
          y = 480;
          break;
        }
      }
    }
  }

  // Scaled by two: each source pixel covers two columns.
  board_.grBufferClear(0, 0, 0xFFFF);
  backend_.DrawPicture(picture, false, view_, 0.0f, 0.0f, 8.0f / 640.0f, 4.0f / 480.0f);
  EXPECT_EQ(board_.Pixel(0, 0), 0x1000);
  EXPECT_EQ(board_.Pixel(1, 0), 0x1000);
  EXPECT_EQ(board_.Pixel(2, 0), 0x1001);
  EXPECT_EQ(board_.Pixel(7, 3), 0x1007);

  // Nothing on screen, an empty picture, a target of no size: no lock at all.
  board_.Calls.clear();
  backend_.DrawPicture(picture, false, view_, 1.0f, 0.0f, 0.1f, 0.1f);
  backend_.DrawPicture(picture, false, view_, -0.5f, 0.0f, 0.1f, 0.1f);
  backend_.DrawPicture(Picture{}, false, view_, 0.0f, 0.0f, 0.1f, 0.1f);
  backend_.DrawPicture(picture, false, view_, 0.0f, 0.0f, 0.0f, 0.1f);
  EXPECT_TRUE(board_.Calls.empty());
}

}  // namespace
}  // namespace zandrel::engine::glide
