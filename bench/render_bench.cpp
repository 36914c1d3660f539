// A level frame at 640 x 480: the cells within eight of the camera in a 17 x 17 x 17
// level of textured cubes, built into a scene and drawn by the software back end; and the
// same scene built for a back end that draws nothing (AddMesh and EndScene alone).
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/null_backend.h"
#include "engine/cube_faces.h"
#include "engine/pcx.h"
#include "engine/scene.h"
#include "engine/soft/soft_backend.h"
#include "tools/data/data_tree.h"
#include "tools/data/generators.h"
#include "world/level_scene.h"
#include "world/world.h"

namespace zandrel {
namespace {

constexpr int kSide = 17;

// Stone floor and ceiling, brick walls, metal blocks and stone pillars inside.
void BuildLevel(world::World& w) {
  w.Map.SetLevelSize(kSide, kSide, kSide);
  std::fill(w.Map.LightGrid().begin(), w.Map.LightGrid().end(), 128);
  std::uint32_t seed = 2024;
  for (int x = 0; x < kSide; ++x) {
    for (int y = 0; y < kSide; ++y) {
      for (int z = 0; z < kSide; ++z) {
        seed = seed * 1103515245u + 12345u;
        const bool wall = x == 0 || z == 0 || x == kSide - 1 || z == kSide - 1;
        const bool floor = y == 0 || y == kSide - 1;
        const bool block = (seed >> 16) % 100 < 10 && y < 5;
        w.Map.SetCell(x, y, z, floor ? 1 : wall ? 2 : block ? 3 : 0);
      }
    }
  }
  for (int y = 1; y < kSide - 1; ++y) w.Map.SetCell(8, y, 8, 0);  // the camera's column
  for (int code = 1; code <= 3; ++code) {
    world::ObjectType& t = w.Types[static_cast<std::size_t>(code)];
    t.Empty = false;
    t.Cube = true;
    t.Collision = true;
    t.FaceTexture.fill(static_cast<std::uint8_t>(code));
  }
  w.Bank.HighQuality = true;
}

// The generated stone, brick and metal images as textures 1, 2 and 3.
void LoadTextures(engine::Backend& backend, engine::RenderView& view) {
  data::DataTree tree;
  data::GenerateTextures(tree);
  backend.BeginTextureImages(view);
  const char* names[] = {"TEXTURES/STONE.PCX", "TEXTURES/BRICK.PCX", "TEXTURES/METAL.PCX"};
  for (int i = 0; i < 3; ++i) {
    base::Expected<engine::PcxImage> image = engine::DecodePcx(tree.Files().at(names[i]), names[i]);
    if (i == 0) {
      for (std::size_t c = 0; c < 256; ++c) {
        view.ViewPalette.Red[c] = image->Palette[c * 3];
        view.ViewPalette.Green[c] = image->Palette[c * 3 + 1];
        view.ViewPalette.Blue[c] = image->Palette[c * 3 + 2];
      }
    }
    backend.StoreTextureImage(i + 1, *image, i == 0, view);
    view.Textures[static_cast<std::size_t>(i + 1)] = {i + 1, i + 1, i + 1};
  }
}

template <class Back>
void LevelFrames(benchmark::State& state, Back& backend) {
  const auto w = std::make_unique<world::World>();
  BuildLevel(*w);
  engine::Engine engine(backend);
  engine::StartEngineCore(engine);
  const auto view = std::make_unique<engine::RenderView>();
  backend.OpenView(640, 480, *view);
  LoadTextures(backend, *view);
  engine::SetFog(engine, *view, 24, 20, 40);
  engine::CubeFaces faces = engine::MakeCubeFaces();
  const world::CellBox box = world::CellsAround(w->Map, 8, 2, 8, 8);
  std::int32_t yaw = 0;
  for (auto _ : state) {
    backend.ClearView(view->FogIndex[0], *view);
    engine::BeginScene(engine, *view, 8 * 512 + 256, 2 * 512 + 300, 8 * 512 + 256, yaw, -600, 0);
    engine::AddLight(*view, 8 * 512 + 256, 2 * 512 + 300, 8 * 512 + 256, 5000);
    world::AddLevelCells(engine, *view, *w, faces, box);
    engine::EndScene(engine, *view);
    yaw = (yaw + 1024) % 32768;  // turning on the spot: every direction in 32 frames
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_LevelFrameSoftware640(benchmark::State& state) {
  engine::soft::SoftBackend backend;
  LevelFrames(state, backend);
}
BENCHMARK(BM_LevelFrameSoftware640)->Unit(benchmark::kMicrosecond);

void BM_LevelSceneOnly(benchmark::State& state) {
  engine::NullBackend backend(true);
  LevelFrames(state, backend);
  benchmark::DoNotOptimize(backend.LightSum());
}
BENCHMARK(BM_LevelSceneOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zandrel
