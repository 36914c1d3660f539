// Cell access and level loading.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "platform/win/files.h"
#include "world/level_file.h"
#include "world/world.h"

namespace zandrel::world {
namespace {

void BM_GetCell(benchmark::State& state) {
  const auto world = std::make_unique<World>();
  world->Map.SetLevelSize(64, 32, 64);
  for (std::size_t i = 0; i < world->Map.CellCount(); ++i) world->Map.ObjectGrid()[i] = static_cast<std::uint8_t>(i * 7);
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

void BM_ReadLevel100(benchmark::State& state) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zandrel-bench";
  LevelMap map;
  map.SetLevelSize(100, 100, 100);
  for (std::size_t i = 0; i < map.CellCount(); ++i) map.ObjectGrid()[i] = static_cast<std::uint8_t>(i % 31);
  const std::string file = (folder / "big.lev").string();
  if (!WriteLevel(map, file)) {
    state.SkipWithError("cannot write the level");
    return;
  }
  // Reading, checking and decoding the file, then handing it to the world's map.
  const auto world = std::make_unique<World>();
  world->Types[20].Lingot = true;
  for (auto _ : state) {
    win::Expected<LevelMap> level = LoadLevelFile(file);
    world->Map.Assign(std::move(*level));
    world->Map.CountIngots();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(LevelFileSize(map.CellCount(), 0)));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReadLevel100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zandrel::world
