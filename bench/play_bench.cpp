// The play frame as the headless runner plays it: a 40 x 8 x 40 reference level of walls,
// ladders, ingots, earth and 50 sentries, on the generated object bank, one FrameTick after
// another with the clock stepped 20 ms, the scene built for a back end that draws nothing;
// and MoveBody on the same level for the bodies a frame moves.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "bench/null_backend.h"
#include "game/game.h"
#include "game/screens.h"
#include "world/level_file.h"
#include "world/movement.h"

namespace zandrel {
namespace {

constexpr std::int32_t kSizeX = 40, kSizeY = 8, kSizeZ = 40;
constexpr int kSentries = 50;

// Codes of the standard bank.
enum Code : std::uint8_t {
  kStone = 1,
  kBrick = 2,
  kMetal = 3,
  kEarth = 7,
  kLadder = 9,
  kIngot = 20,
  kTorch = 28,
};

// Stone floor, brick walls round the edge, pillars with ladders beside them, an upper
// gallery of metal, earth and ingots on the floor, torches, and sentries over it all.
world::LevelMap ReferenceLevel() {
  world::LevelMap map;
  map.SetLevelSize(kSizeX, kSizeY, kSizeZ);
  std::fill(map.LightGrid().begin(), map.LightGrid().end(), world::kNeutralLight);
  std::uint32_t seed = 4711;
  const auto next = [&seed](std::uint32_t below) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % below;
  };
  for (std::int32_t x = 0; x < kSizeX; ++x) {
    for (std::int32_t z = 0; z < kSizeZ; ++z) {
      map.SetCell(x, 0, z, kStone);
      const bool edge = x == 0 || z == 0 || x == kSizeX - 1 || z == kSizeZ - 1;
      if (edge) {
        for (std::int32_t y = 1; y < kSizeY; ++y) map.SetCell(x, y, z, kBrick);
        continue;
      }
      const std::uint32_t roll = next(100);
      if (roll < 3 && x + 1 < kSizeX - 1) {
        for (std::int32_t y = 1; y <= 4; ++y) {
          map.SetCell(x, y, z, kStone);
          map.SetCell(x + 1, y, z, kLadder);
        }
      } else if (roll < 12) {
        map.SetCell(x, 1, z, kEarth);
      } else if (roll < 16) {
        map.SetCell(x, 1, z, kIngot);
      } else if (roll < 17) {
        map.SetCell(x, 1, z, kTorch);
      }
      if (z % 8 == 4 && x > 4 && x < kSizeX - 5) map.SetCell(x, 4, z, kMetal);
    }
  }
  for (std::int32_t y = 1; y < kSizeY; ++y) map.SetCell(20, y, 20, 0);
  map.BankName = "STANDARD.BNK";
  map.StartX = 20;
  map.StartY = 1;
  map.StartZ = 20;
  map.ExitX = kSizeX - 2;
  map.ExitY = 1;
  map.ExitZ = kSizeZ - 2;
  map.LevelName = "REFERENCE";
  map.RandomSeed = 2024;
  map.SentryCount = kSentries;
  for (int i = 0; i < kSentries; ++i) {
    world::Sentry& s = map.Sentries[static_cast<std::size_t>(i)];
    s.X = static_cast<float>(world::CellCentre(2 + static_cast<std::int32_t>(next(kSizeX - 4))));
    s.Y = static_cast<float>(world::CellCentre(2 + static_cast<std::int32_t>(next(kSizeY - 3))));
    s.Z = static_cast<float>(world::CellCentre(2 + static_cast<std::int32_t>(next(kSizeZ - 4))));
    s.Heading = static_cast<float>(next(32768));
  }
  return map;
}

// The hero walks on, turning now and then and jumping from time to time.
class WalkingControls final : public game::Controls {
 public:
  void ReadControls(input::ControlFlags& flags) override {
    ++frame_;
    flags = {};
    flags[input::kUp] = true;
    flags[input::kRight] = frame_ % 120 < 15;
    flags[input::kButton1] = frame_ % 90 == 0;
  }
  bool KeyDown(int) override { return false; }
  void WaitAllKeysUp() override {}

 private:
  std::int64_t frame_ = 0;
};

void BM_PlayFrame(benchmark::State& state) {
  engine::NullBackend backend(false);
  WalkingControls controls;
  game::SilentSounds sounds;
  game::SilentMusic music;
  win::ManualClock clock(1000);
  const auto game =
      std::make_unique<game::Game>(game::GameServices{backend, controls, sounds, music, clock, ZANDREL_DATA});
  backend.OpenView(640, 480, *game->View);
  if (base::Status started = game::GameStartup(*game, game::Settings{}); !started) {
    state.SkipWithError(started.error().c_str());
    return;
  }
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zandrel-play-bench";
  const std::string file = (folder / "reference.lev").string();
  if (!world::WriteLevel(ReferenceLevel(), file, {})) {
    state.SkipWithError("cannot write the level");
    return;
  }
  game->LevelList = {file};
  game::ResetFrameClock(*game);
  game->Frame.GameReady = true;
  game::StartLevel(*game, file);
  std::int64_t restarts = 0;
  for (auto _ : state) {
    clock.Advance(20);
    game::FrameTick(*game);
    // Sentries catch him now and then; he has lives enough, and the level goes on.
    game->Hero().Lives = 99;
    if (game->Frame.CurrentScreen != game::Screen::Play) {
      game::StartLevel(*game, file);
      ++restarts;
    }
  }
  benchmark::DoNotOptimize(backend.LightSum());
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["restarts"] = static_cast<double>(restarts);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);

// A hero and 50 sentry-sized bodies flying about the reference level, each turning back
// when something stops it: the MoveBody calls of the frames above, without the rest.
void BM_MoveBodyReferenceLevel(benchmark::State& state) {
  const auto world = std::make_unique<world::World>();
  world->Map.Assign(ReferenceLevel());
  world::ObjectTypes& types = world->Types;
  for (std::uint8_t code : {kStone, kBrick, kMetal, kEarth}) {
    types[code].Empty = false;
    types[code].Collision = true;
    types[code].Bounds = {0, 511, 0, 0, 511, 511, 511, 511, 511};
  }
  types[kLadder].Empty = types[kIngot].Empty = types[kTorch].Empty = false;
  struct Body {
    float X, Y, Z, Dx, Dy, Dz;
    std::int32_t Step, Height, Width;
  };
  std::vector<Body> bodies;
  bodies.push_back({20 * 512 + 256, 752, 20 * 512 + 256, 41, -20, 23, 256, 480, 260});
  for (int i = 0; i < kSentries; ++i) {
    const world::Sentry& s = world->Map.Sentries[static_cast<std::size_t>(i)];
    bodies.push_back({s.X, s.Y, s.Z, static_cast<float>(i % 7) * 9 - 27, static_cast<float>(i % 5) * 5 - 10,
                      static_cast<float>(i % 3) * 20 - 20, 0, 480, 130});
  }
  std::int64_t calls = 0;
  for (auto _ : state) {
    for (Body& b : bodies) {
      const float x = b.X, y = b.Y, z = b.Z;
      world::MoveBody(*world, b.X, b.Y, b.Z, b.Step, b.Height, b.Width, b.Dx, b.Dy, b.Dz);
      if (b.X == x) b.Dx = -b.Dx;
      if (b.Z == z) b.Dz = -b.Dz;
      if (b.Y == y && b.Step == 0) b.Dy = -b.Dy;
    }
    calls += static_cast<std::int64_t>(bodies.size());
  }
  benchmark::DoNotOptimize(bodies.front().X);
  state.counters["calls_per_second"] = benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MoveBodyReferenceLevel);

}  // namespace
}  // namespace zandrel
