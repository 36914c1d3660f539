#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/render_view.h"
#include "tests/engine/soft/soft_view.h"

namespace zandrel::engine::soft {
namespace {

using test::QuadrantBlock;
using test::Rows;
using test::TestView;

using Point = std::array<std::int32_t, 2>;
using ViewPoint = std::array<std::int32_t, 3>;

constexpr std::uint8_t kBackground = 0;
constexpr int kColour = 5;

ScreenPolygon FlatTriangle(Point a, Point b, Point c, int colour = kColour, int light = 255) {
  ScreenPolygon p;
  p.SX = {a[0], b[0], c[0]};
  p.SY = {a[1], b[1], c[1]};
  p.Texture = colour;
  p.Kind = 3;
  p.Light1 = p.Light2 = p.Light3 = light;
  return p;
}

// A textured triangle from view-space corners, projected as the scene code does.
ScreenPolygon TexturedTriangle(const RenderView& view, ViewPoint a, ViewPoint b, ViewPoint c, int orientation,
                               int kind = 0) {
  ScreenPolygon p;
  const std::array<ViewPoint, 3> corners{a, b, c};
  for (std::size_t i = 0; i < 3; ++i) {
    p.VX[i] = corners[i][0], p.VY[i] = corners[i][1], p.VZ[i] = corners[i][2];
    p.SX[i] = (corners[i][0] << view.ViewShift) / corners[i][2] + view.CentreX;
    p.SY[i] = view.CentreY - (corners[i][1] << view.ViewShift) / corners[i][2];
  }
  p.Texture = 1;
  p.Orientation = orientation;
  p.Kind = kind;
  p.Light1 = p.Light2 = p.Light3 = 255;
  return p;
}

void Draw(TestView& t, const ScreenPolygon& polygon) {
  t.view->Polygons[0] = polygon;
  t.backend.DrawPolygon(0, *t.view);
}

std::vector<std::string> FlatRows(const TestView& t) { return Rows(*t.view, {{kBackground, '.'}, {kColour, '#'}}); }

struct CoverageCase {
  const char* name;
  Point a, b, c;
  std::vector<std::string> rows;
};

TEST(Rasteriser, FlatTrianglesCoverTheirRowsFromTopToBottomCorner) {
  const CoverageCase cases[] = {
      {"middle corner on the right: the rows split there",
       {2, 1},
       {13, 4},
       {5, 10},
       {"................",  //
        "................",  //
        "..###...........",  //
        "..#######.......",  //
        "..###########...",  //
        "...#########....",  //
        "...########.....",  //
        "...#######......",  //
        "....####........",  //
        "....###.........",  //
        "................",  //
        "................"}},
      {"flat bottom, corners in any order",
       {14, 7},
       {8, 1},
       {2, 7},
       {"................",  //
        "................",  //
        ".......##.......",  //
        "......####......",  //
        ".....######.....",  //
        "....########....",  //
        "...##########...",  //
        "................",  //
        "................",  //
        "................",  //
        "................",  //
        "................"}},
      {"flat top, crossing the left and bottom edges",
       {-4, 6},
       {9, 6},
       {1, 14},
       {"................",  //
        "................",  //
        "................",  //
        "................",  //
        "................",  //
        "................",  //
        "#########.......",  //
        "########........",  //
        "#######.........",  //
        "######..........",  //
        "#####...........",  //
        "####............"}},
  };
  for (const CoverageCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestView t(16, 12);
    Draw(t, FlatTriangle(c.a, c.b, c.c));
    EXPECT_EQ(FlatRows(t), c.rows);
  }
}

TEST(Rasteriser, TrianglesOffTheBufferOrOnOneRowDrawNothing) {
  const struct {
    const char* name;
    Point a, b, c;
  } cases[] = {
      {"left", {-9, 2}, {-1, 5}, {-6, 11}},  {"right", {16, 0}, {30, 4}, {20, 11}},
      {"above", {2, -9}, {14, -5}, {7, -1}}, {"below", {2, 12}, {14, 20}, {7, 15}},
      {"one row", {1, 5}, {14, 5}, {8, 5}},  {"one row, huge", {INT32_MIN, 3}, {INT32_MAX, 3}, {0, 3}},
      {"a point", {7, 7}, {7, 7}, {7, 7}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestView t(16, 12);
    Draw(t, FlatTriangle(c.a, c.b, c.c));
    EXPECT_EQ(std::count(t.view->Screen.Pixels.begin(), t.view->Screen.Pixels.end(), kColour), 0);
  }
}

TEST(Rasteriser, HugeCornersStayInsideTheBufferAndTheLimits) {
  const struct {
    const char* name;
    Point a, b, c;
    bool coversAll;
  } cases[] = {
      {"around the screen", {-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}, true},
      {"extremes", {INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MIN}, {0, INT32_MAX}, true},
      {"a sliver through the screen",
       {INT32_MIN, INT32_MIN},
       {INT32_MAX, INT32_MAX},
       {INT32_MAX, INT32_MAX - 1},
       false},
      {"far below, reaching up", {-5, INT32_MAX}, {20, INT32_MAX}, {8, 3}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestView t(16, 12);
    // A guard band past the buffer and limits short of its edges.
    t.view->Screen.Pixels.resize(16 * 12 + 64, 0);
    t.view->RightLimit = 13;
    t.view->BottomLimit = 10;
    Draw(t, FlatTriangle(c.a, c.b, c.c));
    const auto& pixels = t.view->Screen.Pixels;
    EXPECT_TRUE(std::all_of(pixels.begin() + 16 * 12, pixels.end(), [](std::uint8_t p) { return p == 0; }));
    const std::vector<std::string> rows = FlatRows(t);
    for (int y = 0; y < 12; ++y) {
      EXPECT_EQ(rows[static_cast<std::size_t>(y)].substr(14), "..") << "row " << y;
      if (c.coversAll && y <= 10) {
        EXPECT_EQ(rows[static_cast<std::size_t>(y)].substr(0, 14), std::string(14, '#')) << "row " << y;
      }
    }
    EXPECT_EQ(rows[11], "................");
  }
}

TEST(Rasteriser, FlatColourIsTheShadingRowOfTheMeanLight) {
  const struct {
    std::int32_t l1, l2, l3;
    int row;
  } cases[] = {
      {0, 0, 255, 85},
      {255, 255, 255, 255},
      {300, 300, 300, 255},
      {-50, -50, -50, 0},
      {10, 11, 12, 11},
      {INT32_MAX, INT32_MAX, INT32_MAX, 255},
      {INT32_MIN, INT32_MIN, 0, 0},
  };
  TestView t(16, 12);
  t.view->FogRed = 200, t.view->FogGreen = 40, t.view->FogBlue = 90;
  t.backend.FogChanged(*t.view);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.l1 << " " << c.l2 << " " << c.l3);
    ScreenPolygon p = FlatTriangle({0, 0}, {16, 0}, {0, 12}, 77);
    p.Light1 = c.l1, p.Light2 = c.l2, p.Light3 = c.l3;
    Draw(t, p);
    EXPECT_EQ(t.view->Screen.Pixels[0], t.view->ShadingTables[static_cast<std::size_t>(c.row * 256 + 77)]);
  }
}

TEST(Rasteriser, ColourIndicesOutsideThePaletteAndNegativeKindsDrawNothing) {
  for (const int colour : {256, 70000, -1}) {
    TestView t(16, 12);
    Draw(t, FlatTriangle({0, 0}, {16, 0}, {0, 12}, colour));
    EXPECT_EQ(std::count(t.view->Screen.Pixels.begin(), t.view->Screen.Pixels.end(), 0), 16 * 12) << colour;
  }
  TestView t(16, 12);
  ScreenPolygon p = FlatTriangle({0, 0}, {16, 0}, {0, 12});
  p.Kind = -1;
  Draw(t, p);
  EXPECT_EQ(std::count(t.view->Screen.Pixels.begin(), t.view->Screen.Pixels.end(), 0), 16 * 12);
}

// A square facing the camera at depth 64 (focal length 64 on a 32-wide view, so view
// units are pixels): corners a top left, b top right, c bottom right, d bottom left on
// screen, drawn as a b c (orientation 0) and c d a (orientation 1), as a mesh's quad is.
struct Square {
  ViewPoint a{-12, 8, 64}, b{12, 8, 64}, c{12, -8, 64}, d{-12, -8, 64};
};

std::vector<std::string> TextureRows(const TestView& t) {
  return Rows(*t.view, {{0, '.'}, {10, '1'}, {20, '2'}, {30, '3'}, {40, '4'}, {7, '-'}});
}

TEST(Rasteriser, TexturedSquareShowsItsImageUprightByTheOrientationRule) {
  TestView t(32, 24);
  t.view->ImageBlocks[9] = QuadrantBlock(10, 20, 30, 40);
  t.view->Textures[1] = {9, 9, 9};
  const Square s;
  Draw(t, TexturedTriangle(*t.view, s.a, s.b, s.c, 0));
  Draw(t, TexturedTriangle(*t.view, s.c, s.d, s.a, 1));
  std::vector<std::string> expected(24, std::string(32, '.'));
  for (int y = 4; y < 20; ++y) {
    expected[static_cast<std::size_t>(y)].replace(4, 12, 12, y < 12 ? '1' : '3');
    expected[static_cast<std::size_t>(y)].replace(16, 12, 12, y < 12 ? '2' : '4');
  }
  EXPECT_EQ(TextureRows(t), expected);
}

TEST(Rasteriser, PiecesOfAClippedFaceKeepTheFacesTexture) {
  // Near-plane clipping hands on the face's own view-space corners with the screen
  // corners of each piece: the pieces must show what the whole face shows.
  TestView whole(32, 24), pieces(32, 24);
  for (TestView* t : {&whole, &pieces}) {
    t->view->ImageBlocks[9] = QuadrantBlock(10, 20, 30, 40);
    t->view->Textures[1] = {9, 9, 9};
  }
  const Square s;
  const ScreenPolygon face = TexturedTriangle(*whole.view, s.a, s.b, s.c, 0);
  Draw(whole, face);
  ScreenPolygon first = face, second = face;
  first.SX = {4, 28, 16}, first.SY = {4, 4, 12};  // a, b and the middle of a-c
  second.SX = {16, 28, 28}, second.SY = {12, 4, 20};
  Draw(pieces, first);
  Draw(pieces, second);
  EXPECT_EQ(TextureRows(pieces), TextureRows(whole));
}

TEST(Rasteriser, TextureCoordinatesFollowThePerspective) {
  // A floor running from depth 128 (screen row 14) to depth 32 (row 20): the middle of
  // its depth lies between rows 14 and 15, not at the screen's middle row 17.
  TestView t(32, 24);
  t.view->ImageBlocks[9] = QuadrantBlock(10, 20, 30, 40);
  t.view->Textures[1] = {9, 9, 9};
  const ViewPoint farLeft{-4, -4, 128}, farRight{4, -4, 128}, nearRight{4, -4, 32}, nearLeft{-4, -4, 32};
  Draw(t, TexturedTriangle(*t.view, farLeft, farRight, nearRight, 0));
  Draw(t, TexturedTriangle(*t.view, nearRight, nearLeft, farLeft, 1));
  const std::vector<std::string> rows = TextureRows(t);
  EXPECT_EQ(rows[14].substr(14, 4), "1122");
  for (int y = 15; y < 20; ++y) EXPECT_EQ(rows[static_cast<std::size_t>(y)].substr(14, 4), "3344") << y;
  EXPECT_EQ(rows[13], std::string(32, '.'));
  EXPECT_EQ(rows[20], std::string(32, '.'));
}

TEST(Rasteriser, TransparentTexturesLeaveTexelZeroUntouched) {
  const struct {
    const char* name;
    int kind, sprite;
    char topLeft;
  } cases[] = {
      {"opaque writes texel 0 as colour 0", 0, 0, '.'},
      {"kind 1 skips it", 1, 0, '-'},
      {"kind 2 skips it", 2, 0, '-'},
      {"a sprite half skips it", 0, 1, '-'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestView t(32, 24);
    t.backend.ClearView(7, *t.view);
    t.view->ImageBlocks[1] = QuadrantBlock(0, 20, 30, 40);
    t.view->Textures[1] = {1, 1, 1};
    const Square s;
    ScreenPolygon first = TexturedTriangle(*t.view, s.a, s.b, s.c, 0, c.kind);
    ScreenPolygon second = TexturedTriangle(*t.view, s.c, s.d, s.a, 1, c.kind);
    first.Sprite = second.Sprite = c.sprite;
    Draw(t, first);
    Draw(t, second);
    const std::vector<std::string> rows = TextureRows(t);
    EXPECT_EQ(rows[5].substr(3, 26), std::string("-") + std::string(12, c.topLeft) + std::string(12, '2') + "-");
    EXPECT_EQ(rows[15].substr(3, 26), "-" + std::string(12, '3') + std::string(12, '4') + "-");
  }
}

TEST(Rasteriser, TexturedPolygonsFindTheirImageBlock) {
  const struct {
    const char* name;
    std::int32_t texture, sprite;
    char shown;
  } cases[] = {
      {"the texture's current image", 5, 0, '2'},
      {"a sprite's image number itself", 5, 1, '1'},
      {"a missing block", 3, 0, '.'},
      {"a sprite with a missing block", 6, 1, '.'},
      {"a texture number out of range", kTextureSlotCount, 0, '.'},
      {"a negative texture number", -1, 0, '.'},
      {"an image number out of range", kImageSlotCount, 1, '.'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestView t(32, 24);
    t.view->ImageBlocks[5] = QuadrantBlock(10, 10, 10, 10);
    t.view->ImageBlocks[6] = nullptr;
    t.view->ImageBlocks[8] = QuadrantBlock(20, 20, 20, 20);
    t.view->Textures[5] = {7, 8, 8};
    t.view->Textures[3] = {2, 2, 2};  // no image 2
    const Square s;
    ScreenPolygon p = TexturedTriangle(*t.view, s.a, s.b, s.c, 0);
    p.Texture = c.texture;
    p.Sprite = c.sprite;
    Draw(t, p);
    EXPECT_EQ(TextureRows(t)[5][26], c.shown);
  }
}

TEST(Rasteriser, APlaneThroughTheCameraDrawsNothing) {
  TestView t(32, 24);
  t.view->ImageBlocks[1] = QuadrantBlock(10, 20, 30, 40);
  t.view->Textures[1] = {1, 1, 1};
  ScreenPolygon p = TexturedTriangle(*t.view, {0, 8, 64}, {0, -8, 64}, {0, 0, 96}, 0);
  p.SX = {2, 30, 2};  // screen corners that would cover pixels
  p.SY = {2, 2, 22};
  Draw(t, p);
  EXPECT_EQ(std::count(t.view->Screen.Pixels.begin(), t.view->Screen.Pixels.end(), 0), 32 * 24);
}

TEST(Rasteriser, TexturedPolygonsWithHugeCornersStayInsideTheBuffer) {
  TestView t(32, 24);
  t.view->Screen.Pixels.resize(32 * 24 + 64, 0);
  t.view->ImageBlocks[1] = QuadrantBlock(10, 20, 30, 40);
  t.view->Textures[1] = {1, 1, 1};
  ScreenPolygon p;
  p.VX = {INT32_MIN, INT32_MAX, 5};
  p.VY = {INT32_MAX, 3, INT32_MIN};
  p.VZ = {1, INT32_MAX, 10};
  p.SX = {INT32_MIN, INT32_MAX, 0};
  p.SY = {INT32_MIN, 5, INT32_MAX};
  p.Texture = 1;
  p.Light1 = p.Light2 = p.Light3 = 255;
  for (const int kind : {0, 1}) {
    p.Kind = kind;
    Draw(t, p);
  }
  const auto& pixels = t.view->Screen.Pixels;
  EXPECT_TRUE(std::all_of(pixels.begin() + 32 * 24, pixels.end(), [](std::uint8_t v) { return v == 0; }));
  EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](std::uint8_t v) { return v != 0; }), 0);
}

TEST(Rasteriser, PolygonIndicesOutsideTheListDrawNothing) {
  TestView t(16, 12);
  std::fill(t.view->Polygons.begin(), t.view->Polygons.end(), FlatTriangle({0, 0}, {16, 0}, {0, 12}));
  for (const int index : {-1, kPolygonCapacity, INT32_MAX}) t.backend.DrawPolygon(index, *t.view);
  EXPECT_EQ(std::count(t.view->Screen.Pixels.begin(), t.view->Screen.Pixels.end(), 0), 16 * 12);
}

}  // namespace
}  // namespace zandrel::engine::soft
