// Cell access, movement with collision and level loading.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "platform/win/files.h"
#include "world/level_file.h"
#include "world/movement.h"
#include "world/world.h"

namespace zandrel::world {
namespace {

void BM_GetCell(benchmark::State& state) {
  const auto world = std::make_unique<World>();
  world->Map.SetLevelSize(64, 32, 64);
  for (std::size_t i = 0; i < world->Map.CellCount(); ++i)
    world->Map.ObjectGrid()[i] = static_cast<std::uint8_t>(i * 7);
  std::uint32_t sum = 0;
  std::int32_t x = 0, y = 0, z = 0;
  for (auto _ : state) {
    // A walk that also steps outside the level, as collision probes do.
    for (int i = 0; i < 1024; ++i) {
      sum += world->Map.GetCell(x, y, z);
      x = (x + 5) % 70 - 3;
      y = (y + 3) % 36 - 2;
      z = (z + 7) % 70 - 3;
    }
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_GetCell);

// A hero walking about a 16 x 4 x 16 level of floor, pillars, low steps and ramps, falling
// back to the floor after each jump: the probes of every axis meet boxes of every kind.
void BM_MoveBody(benchmark::State& state) {
  const auto world = std::make_unique<World>();
  ObjectTypes& types = world->Types;
  const auto solid = [&](std::uint8_t code, Box box) {
    types[code].Empty = false;
    types[code].Collision = true;
    types[code].Bounds = box;
  };
  solid(1, {0, 511, 0, 0, 511, 511, 511, 511, 511});  // cube
  solid(2, {0, 511, 0, 0, 511, 200, 200, 200, 200});  // low step
  solid(3, {0, 511, 0, 0, 511, 0, 511, 511, 0});      // ramp along x
  LevelMap& map = world->Map;
  map.SetLevelSize(16, 4, 16);
  for (int x = 0; x < 16; ++x) {
    for (int z = 0; z < 16; ++z) {
      map.SetCell(x, 0, z, 1);
      if ((x * 7 + z * 3) % 11 == 0) map.SetCell(x, 1, z, 1);
      if ((x * 5 + z) % 13 == 0) map.SetCell(x, 1, z, 2);
      if ((x + z * 5) % 17 == 0) map.SetCell(x, 1, z, 3);
    }
  }
  float x = 2000, y = 1500, z = 2000;
  float vx = 37, vz = 23, vy = 0;
  std::int64_t moves = 0;
  for (auto _ : state) {
    for (int i = 0; i < 256; ++i) {
      vy -= 2.4f;
      const float fromX = x, fromZ = z;
      if (MoveBody(*world, x, y, z, 256, 480, 260, vx, vy, vz)) vy = 0;
      // Turn back from walls and the level's sides, and now and then jump.
      if (x == fromX || x < 300 || x > 16 * 512 - 300) vx = -vx;
      if (z == fromZ || z < 300 || z > 16 * 512 - 300) vz = -vz;
      if ((moves + i) % 97 == 0) vy = 120;
    }
    moves += 256;
  }
  benchmark::DoNotOptimize(x + y + z);
  state.counters["moves_per_second"] = benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MoveBody);

void BM_ReadLevel100(benchmark::State& state) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zandrel-bench";
  LevelMap map;
  map.SetLevelSize(100, 100, 100);
  for (std::size_t i = 0; i < map.CellCount(); ++i) map.ObjectGrid()[i] = static_cast<std::uint8_t>(i % 31);
  const std::string file = (folder / "big.lev").string();
  if (!WriteLevel(map, file, {})) {
    state.SkipWithError("cannot write the level");
    return;
  }
  // Reading, checking and decoding the file, then handing it to the world's map.
  const auto world = std::make_unique<World>();
  world->Types[20].Lingot = true;
  for (auto _ : state) {
    base::Expected<LevelMap> level = LoadLevelFile(file, {});
    world->Map.Assign(std::move(*level));
    world->Map.CountIngots();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(LevelFileSize(map.CellCount(), 0)));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReadLevel100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zandrel::world
