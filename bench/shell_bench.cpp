// Frames of the title screen on the null board: what the game costs without the GPU.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "engine/glide/glide_backend.h"
#include "game/game.h"
#include "game/screens.h"
#include "game/settings.h"
#include "platform/glide/glide.h"
#include "tests/game/held_controls.h"

namespace {

using namespace zandrel;

// Arg 0: the logo page; arg 1: the walking-hero page, which comes after 15.5 s.
void BM_TitleFrame(benchmark::State& state) {
  glide::NullGlide board;
  engine::glide::GlideBackend display(board);
  if (!display.StartEngine()) {
    state.SkipWithError("no board");
    return;
  }
  game::HeldControls controls;
  game::SilentSounds sounds;
  game::SilentMusic music;
  win::ManualClock clock(100000);
  game::Game game(game::GameServices{display, controls, sounds, music, clock, ZANDREL_DATA});
  display.OpenView(640, 480, *game.View);
  if (!game::GameStartup(game, game::Settings{})) {
    state.SkipWithError("no data tree at " ZANDREL_DATA);
    return;
  }
  game::ResetFrameClock(game);
  game.Frame.GameReady = true;
  game::ChangeScreen(game, game::Screen::Title);
  const int warmUp = state.range(0) == 0 ? 100 : 800;  // 20 ms frames: 2 s or 16 s in
  for (int i = 0; i < warmUp; ++i) {
    clock.Advance(20);
    game::FrameTick(game);
  }
  for (auto _ : state) {
    clock.Advance(1);
    game::FrameTick(game);
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TitleFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
