// Scene building: a 17 x 17 x 17 block of cells around the camera, as the play view and
// the editor visit it each frame, drawn through a back end that draws nothing.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/null_backend.h"
#include "engine/angles.h"
#include "engine/backend.h"
#include "engine/camera.h"
#include "engine/cube_faces.h"
#include "engine/scene.h"

namespace zandrel::engine {
namespace {

constexpr int kSide = 17;

// A room: floor, ceiling and four walls of cubes, with scattered blocks and pillars inside.
std::vector<std::uint8_t> MakeRoom() {
  std::vector<std::uint8_t> cubes(kSide * kSide * kSide);
  std::uint32_t seed = 2024;
  for (int x = 0; x < kSide; ++x) {
    for (int y = 0; y < kSide; ++y) {
      for (int z = 0; z < kSide; ++z) {
        seed = seed * 1103515245u + 12345u;
        const bool shell = x == 0 || y == 0 || z == 0 || x == kSide - 1 || y == kSide - 1 || z == kSide - 1;
        const bool block = (seed >> 16) % 100 < 12;
        cubes[static_cast<std::size_t>((x * kSide + y) * kSide + z)] = shell || (block && y < 6) ? 1 : 0;
      }
    }
  }
  // Keep the camera's column free.
  for (int y = 1; y < kSide - 1; ++y) cubes[static_cast<std::size_t>((8 * kSide + y) * kSide + 8)] = 0;
  return cubes;
}

void BM_CubeScene(benchmark::State& state) {
  const bool editorRules = state.range(0) != 0;
  NullBackend backend(editorRules);
  Engine engine(backend);
  StartEngineCore(engine);
  RenderView view;
  backend.OpenView(640, 480, view);
  CubeFaces faces = MakeCubeFaces();
  CubeLook look;
  look.Colour = {20, 30, 40, 50, 60, 70};
  const std::vector<std::uint8_t> cubes = MakeRoom();
  const auto isCube = [&](std::int32_t x, std::int32_t y, std::int32_t z) {
    if (x < 0 || y < 0 || z < 0 || x >= kSide || y >= kSide || z >= kSide) return false;
    return cubes[static_cast<std::size_t>((x * kSide + y) * kSide + z)] != 0;
  };

  std::int32_t yaw = 0;
  std::int64_t polygons = 0;
  for (auto _ : state) {
    yaw = (yaw + 97) % kFullTurn;  // the camera turns on the spot
    const std::int32_t camX = CellCentre(8), camY = CellCentre(3), camZ = CellCentre(8);
    BeginScene(engine, view, camX, camY, camZ, yaw, -600, 0);
    AddLight(view, camX, camY, camZ, 4000);
    for (std::int32_t x = 0; x < kSide; ++x) {
      for (std::int32_t y = 0; y < kSide; ++y) {
        for (std::int32_t z = 0; z < kSide; ++z) {
          if (!isCube(x, y, z) || !PointVisible(view, 1280, CellCentre(x), CellCentre(y), CellCentre(z))) continue;
          AddCubeCell(engine, view, faces, look, x, y, z, 0, isCube);
        }
      }
    }
    polygons += view.PolygonCount;
    EndScene(engine, view);
  }
  benchmark::DoNotOptimize(backend.LightSum());
  state.counters["polygons"] = benchmark::Counter(static_cast<double>(polygons), benchmark::Counter::kAvgIterations);
  state.SetLabel(editorRules ? "editor rules" : "game rules");
}
BENCHMARK(BM_CubeScene)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zandrel::engine
