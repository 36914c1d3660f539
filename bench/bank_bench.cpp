// Loading the generated object bank as a program does at start-up: the texture list and its
// images into the software back end, the interface pictures, every mesh, and the sounds.
#include <benchmark/benchmark.h>

#include <memory>

#include "audio/sound.h"
#include "engine/engine.h"
#include "engine/scene.h"
#include "engine/soft/soft_backend.h"
#include "platform/win/clock.h"
#include "world/object_bank.h"
#include "world/world.h"

namespace zandrel {
namespace {

void BM_LoadObjectBank(benchmark::State& state) {
  engine::soft::SoftBackend backend;
  engine::Engine engine(backend);
  engine::StartEngineCore(engine);
  auto view = std::make_unique<engine::RenderView>();
  backend.OpenView(320, 240, *view);
  audio::Audio audio;
  win::ManualClock clock;
  auto world = std::make_unique<world::World>();
  world::BankServices services{engine, *view, audio, clock, ZANDREL_DATA};
  for (auto _ : state) {
    world->Bank.LoadedName.clear();
    world->Bank.LoadedTextureList.clear();
    base::Expected<bool> loaded = world::LoadObjectBank(services, *world, "Standard.bnk", "High");
    if (!loaded || !*loaded) state.SkipWithError("the bank did not load");
  }
}
BENCHMARK(BM_LoadObjectBank)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zandrel
