// Loading the generated object bank as a program does at start-up: the texture list and its
// images into the software back end, the interface pictures, every mesh; no sound device.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/engine.h"
#include "engine/scene.h"
#include "engine/soft/soft_backend.h"
#include "platform/win/clock.h"
#include "world/bank_devices.h"
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
  world::BankCalls devices(
      [&](std::string_view list, world::FogColour fog) {
        return world::LoadBankTextures(engine, *view, ZANDREL_DATA, list, fog);
      },
      nullptr);
  win::ManualClock clock;
  auto world = std::make_unique<world::World>();
  world::BankServices services{devices, clock, ZANDREL_DATA};
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
