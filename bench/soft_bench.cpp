// The software back end at 640 x 480: one frame of DrawPolygon calls over a reference
// set of wall-like quads that covers the screen about three times.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/render_view.h"
#include "engine/soft/soft_backend.h"

namespace zandrel::engine::soft {
namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kImageCount = 8;
constexpr double kTargetOverdraw = 3.0;

// A small deterministic generator, so every run draws the same frame.
class Lcg {
 public:
  std::uint32_t Next() { return state_ = state_ * 1664525u + 1013904223u; }
  double Uniform(double low, double high) { return low + (high - low) * (Next() >> 8) / double(1 << 24); }

 private:
  std::uint32_t state_ = 12345;
};

struct Frame {
  SoftBackend backend;
  std::unique_ptr<RenderView> view = std::make_unique<RenderView>();
  double overdraw = 0;
};

void FillTextures(Frame& frame, Lcg& random) {
  RenderView& view = *frame.view;
  for (int image = 0; image < kImageCount; ++image) {
    auto block = std::make_unique<ImageBlock>();
    // Bricks with holes of texel 0 (seen through on transparent faces).
    for (int y = 0; y < kImageBlockSide; ++y) {
      for (int x = 0; x < kImageBlockSide; ++x) {
        const bool mortar = y % 16 == 0 || (x + (y / 16 % 2) * 16) % 32 == 0;
        const bool hole = (x / 8 + y / 8) % 5 == 0;
        (*block)[static_cast<std::size_t>(y * kImageBlockSide + x)] =
            hole ? 0 : static_cast<std::uint8_t>(mortar ? 1 + image : 32 + random.Next() % 200);
      }
    }
    view.ImageBlocks[static_cast<std::size_t>(image)] = std::move(block);
    view.Textures[static_cast<std::size_t>(image)] = {image, image, image};
  }
}

// A square at a random place of the view, turned about the vertical axis, drawn as two
// triangles the way a mesh quad is: seven in ten faces of cells (512 units), the others
// faces of objects (80 to 256 units), mostly distant, as the cells within eight cells of the
// camera and the objects in them give.
void AddQuad(RenderView& view, Lcg& random) {
  const bool cell = random.Next() % 10 < 7;
  const double half = cell ? 256 : random.Uniform(40, 128);
  const double pick = random.Uniform(0, 1);
  const double z = pick < 0.6    ? random.Uniform(2600, 8000)
                   : pick < 0.98 ? random.Uniform(1200, 2600)
                                 : random.Uniform(500, 1200);
  const double sx = random.Uniform(0, kWidth), sy = random.Uniform(0, kHeight);
  const double focal = 1 << view.ViewShift;
  const double cx = (sx - view.CentreX) * z / focal, cy = (view.CentreY - sy) * z / focal;
  const double angle = random.Uniform(-1.1, 1.1), c = std::cos(angle) * half, s = std::sin(angle) * half;
  const double corners[4][3] = {
      {cx - c, cy + half, z - s}, {cx + c, cy + half, z + s}, {cx + c, cy - half, z + s}, {cx - c, cy - half, z - s}};
  const std::uint32_t kindPick = random.Next() % 10;
  const int kind = kindPick < 6 ? 0 : kindPick < 8 ? 1 : 3;
  const int texture =
      kind == 3 ? static_cast<int>(32 + random.Next() % 200) : static_cast<int>(random.Next() % kImageCount);
  const int light = static_cast<int>(random.Next() % 256);
  const int order[2][3] = {{0, 1, 2}, {2, 3, 0}};
  for (int half = 0; half < 2 && view.PolygonCount < kPolygonCapacity; ++half) {
    ScreenPolygon& p = view.Polygons[static_cast<std::size_t>(view.PolygonCount++)];
    for (std::size_t i = 0; i < 3; ++i) {
      const double* v = corners[order[half][i]];
      p.VX[i] = static_cast<std::int32_t>(v[0]), p.VY[i] = static_cast<std::int32_t>(v[1]);
      p.VZ[i] = static_cast<std::int32_t>(v[2]);
      p.SX[i] = (p.VX[i] << view.ViewShift) / p.VZ[i] + view.CentreX;
      p.SY[i] = view.CentreY - (p.VY[i] << view.ViewShift) / p.VZ[i];
    }
    p.Texture = texture;
    p.Orientation = half;
    p.Kind = kind;
    p.DepthKey = static_cast<std::int32_t>(z);
    p.Light1 = light, p.Light2 = light + 20, p.Light3 = light - 20;
  }
}

// Pixels one polygon covers on its own.
std::int64_t Coverage(Frame& frame, int index) {
  RenderView& view = *frame.view;
  const ScreenPolygon saved = view.Polygons[static_cast<std::size_t>(index)];
  ScreenPolygon& p = view.Polygons[static_cast<std::size_t>(index)];
  p.Kind = 3, p.Texture = 1, p.Light1 = p.Light2 = p.Light3 = 255;
  frame.backend.ClearView(0, view);
  frame.backend.DrawPolygon(index, view);
  p = saved;
  return std::count_if(view.Screen.Pixels.begin(), view.Screen.Pixels.end(), [](std::uint8_t v) { return v != 0; });
}

// Quads until the screen is covered kTargetOverdraw times, sorted far to near.
void BuildFrame(Frame& frame) {
  RenderView& view = *frame.view;
  for (int i = 0; i < 256; ++i) {
    view.ViewPalette.Red[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    view.ViewPalette.Green[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7);
    view.ViewPalette.Blue[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i);
  }
  view.FogRed = 40, view.FogGreen = 40, view.FogBlue = 60;
  frame.backend.OpenView(kWidth, kHeight, view);
  frame.backend.FogChanged(view);
  Lcg random;
  FillTextures(frame, random);
  std::int64_t covered = 0;
  while (covered < kTargetOverdraw * kWidth * kHeight && view.PolygonCount + 2 <= kPolygonCapacity) {
    const int first = view.PolygonCount;
    AddQuad(view, random);
    for (int i = first; i < view.PolygonCount; ++i) covered += Coverage(frame, i);
  }
  std::stable_sort(view.Polygons.begin(), view.Polygons.begin() + view.PolygonCount,
                   [](const ScreenPolygon& a, const ScreenPolygon& b) { return a.DepthKey > b.DepthKey; });
  frame.overdraw = double(covered) / (kWidth * kHeight);
}

void BM_LevelFrame640x480(benchmark::State& state) {
  Frame frame;
  BuildFrame(frame);
  RenderView& view = *frame.view;
  for (auto _ : state) {
    frame.backend.ClearView(0, view);
    for (int i = 0; i < view.PolygonCount; ++i) frame.backend.DrawPolygon(i, view);
    benchmark::DoNotOptimize(view.Screen.Pixels.data());
    benchmark::ClobberMemory();
  }
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["polygons"] = view.PolygonCount;
  state.counters["overdraw"] = frame.overdraw;
}
BENCHMARK(BM_LevelFrame640x480)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zandrel::engine::soft
