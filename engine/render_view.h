// The engine context of one view: projection, camera, textures, palette, the frame's
// polygon list and lights, and what the back end adds.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zandrel::engine {

constexpr int kTextureSlotCount = 32768;
constexpr int kImageSlotCount = 32768;
constexpr int kPolygonCapacity = 5000;
constexpr int kMaxLights = 256;
constexpr int kImageBlockSide = 128;  // the software back end's texture images

struct Camera {
  std::int32_t X = 0, Y = 0, Z = 0;
  std::array<float, 9> M{1, 0, 0, 0, 1, 0, 0, 0, 1};  // rows: right, up, forward
};

struct TextureSlot {
  std::int32_t First = 0, Last = 0, Current = 0;  // image numbers
};

// One triangle of the frame, in view space and on screen.
struct ScreenPolygon {
  std::array<std::int32_t, 3> VX{}, VY{}, VZ{};  // view-space corners
  std::array<std::int32_t, 3> SX{}, SY{};        // screen corners
  std::int32_t Texture = 0;                      // texture number, image number (sprites) or palette index
  std::int32_t Orientation = 0;
  std::int32_t DepthKey = 0;
  std::int32_t Kind = 0;    // 0 opaque, 1 transparent (and sprites), 3+ flat colour
  std::int32_t Sprite = 0;  // 1: Texture is an image number
  std::int32_t Light1 = 0;  // base light, then corner 1's light after EndScene
  std::int32_t Face = 0;
  std::int32_t Light2 = 0, Light3 = 0;
};

struct SortEntry {
  std::int32_t Polygon = 0;
  std::int32_t Key = 0;
};

struct Light {
  std::int32_t X = 0, Y = 0, Z = 0, Radius = 0;
};

// The view palette: three planes of 256 bytes.
struct Palette {
  std::array<std::uint8_t, 256> Red{}, Green{}, Blue{};
};

// How a back end wants the scene built: the hardware one keeps whole triangles, the
// smallest |z| as depth key and draws opaque polygons first; the software one clips at
// the near plane, keys by the sum of squared corner distances and draws in one pass.
struct SceneRules {
  bool ClipNearPlane = false;
  bool SquaredDepthKey = false;
  bool OnePass = false;
};

// The 8-bit picture the software back end draws into; rows top-down, Width bytes apart.
struct ScreenBuffer {
  std::vector<std::uint8_t> Pixels;
  std::int32_t Width = 0, Height = 0;
};

// An 8-bit 128 x 128 texture image of the software back end.
using ImageBlock = std::array<std::uint8_t, kImageBlockSide * kImageBlockSide>;

struct RenderView {
  ScreenBuffer Screen;
  std::uint16_t CentreX = 0, CentreY = 0, ViewShift = 8;
  std::int32_t NearDepth = 1;
  std::int32_t FarDistance = 0;  // 0: not set yet (OpenView makes it 10000)
  std::uint16_t RightLimit = 0, BottomLimit = 0;
  SceneRules Rules;

  std::vector<TextureSlot> Textures = std::vector<TextureSlot>(kTextureSlotCount);
  std::int32_t HighestTexture = 0;
  Palette ViewPalette;
  std::array<std::uint8_t, 256> FogIndex{};
  std::uint8_t FogRed = 0, FogGreen = 0, FogBlue = 0;

  Camera Cam;
  float RollCos = 1, RollSin = 0;

  std::vector<ScreenPolygon> Polygons;  // kPolygonCapacity entries once the view is open
  std::vector<SortEntry> Sort;
  std::int32_t PolygonCount = 0;
  std::array<Light, kMaxLights> Lights{};
  std::int32_t LastLight = -1;

  // Software back end only.
  std::int32_t SpanLength = 64;
  std::vector<std::unique_ptr<ImageBlock>> ImageBlocks = std::vector<std::unique_ptr<ImageBlock>>(kImageSlotCount);
  std::vector<std::uint8_t> ShadingTables;  // 256 rows of 256 entries
};

}  // namespace zandrel::engine
