// The network's share of a play frame in a four-player session on the loopback network:
// the poll that services the session and applies the three other players' positions, and
// the local position sent; on the host, which also relays every position to the others,
// and on a joiner. Then the delay from one joiner's send to the position applied on
// another, through the host.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "bench/null_backend.h"
#include "game/game.h"
#include "game/headless.h"
#include "game/net/network_game.h"
#include "tests/platform/dplay/loopback.h"

namespace zandrel {
namespace {

constexpr int kSuite = 79;
// The host takes about a thousand blocks a second from each peer: the frames are paced
// below that, as a game's are.
constexpr auto kFrameGap = std::chrono::microseconds(1200);
constexpr int kFrames = 3000;

struct Machine {
  explicit Machine(const dplay::Settings& settings) : net(settings) {
    backend.OpenView(640, 480, *game.View);
    if (!game::GameStartup(game, game::Settings{})) std::abort();
    game::ResetFrameClock(game);
    game.Frame.GameReady = true;
    game::ChangeScreen(game, game::Screen::Title);
    net.SearchTimeOut = 200;
  }
  world::PlayerSlot& Hero() { return game.Hero(); }

  engine::NullBackend backend{false};
  game::ScriptedControls controls{{}};
  game::SilentSounds sounds;
  game::SilentMusic music;
  win::ManualClock clock{100000};
  net::NetworkGame net;
  game::Game game{game::GameServices{backend, controls, sounds, music, clock, ZANDREL_DATA, nullptr, &net}};
};

// A host and three joiners, playing.
class Session {
 public:
  Session() {
    const dplay::Settings settings = dplay::loopback::LoopbackSettings(kSuite, 1);
    const std::string address = settings.bindAddress + ":" + std::to_string(settings.port);
    for (int i = 0; i < 4; ++i) machines_.push_back(std::make_unique<Machine>(settings));
    machines_[0]->net.StartSession(machines_[0]->game, {true, "", "Host", 0});
    for (int i = 1; i < 4; ++i) {
      dplay::loopback::Pump pump([&] {
        for (int j = 0; j < i; ++j) Frame(j);
      });
      machines_[static_cast<std::size_t>(i)]->net.StartSession(machines_[static_cast<std::size_t>(i)]->game,
                                                               {false, address, "Joiner", 0});
    }
    dplay::loopback::StepUntil([&] { FrameAll(); }, [&] { return At(0).game.World->LastSlot == 3; });
    At(0).net.NewGameClick(At(0).game);
    dplay::loopback::StepUntil(
        [&] { FrameAll(); },
        [&] {
          for (int i = 0; i < 4; ++i) {
            if (At(i).game.World->LocalSlot != i || At(i).game.Frame.CurrentScreen != game::Screen::Play) {
              return false;
            }
          }
          return true;
        });
  }
  Machine& At(int i) { return *machines_[static_cast<std::size_t>(i)]; }
  void Frame(int i) {
    At(i).clock.Advance(20);
    game::FrameTick(At(i).game);
  }
  void FrameAll() {
    for (int i = 0; i < 4; ++i) Frame(i);
  }
  // The network part of machine i's play frame.
  void NetworkFrame(int i) {
    At(i).net.Poll(At(i).game);
    At(i).net.SendPosition(At(i).game);
  }

 private:
  std::vector<std::unique_ptr<Machine>> machines_;
};

Session& TheSession() {
  static Session session;
  return session;
}

// The machine `measured` polls and sends while the three others have just sent.
void NetworkFrameOf(benchmark::State& state, int measured) {
  Session& s = TheSession();
  const std::uint32_t before = s.At(measured).net.Comm().Traffic().received;
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < 4; ++i) {
      if (i == measured) continue;
      s.At(i).Hero().X += 1;
      s.NetworkFrame(i);
    }
    // The host relays what the joiners sent before a joiner can hear it.
    if (measured != 0) s.At(0).net.Poll(s.At(0).game);
    std::this_thread::sleep_for(kFrameGap);
    state.ResumeTiming();
    s.NetworkFrame(measured);
  }
  state.counters["received_per_frame"] = static_cast<double>(s.At(measured).net.Comm().Traffic().received - before) /
                                         static_cast<double>(state.iterations());
}

void BM_NetworkFrameOnTheHost(benchmark::State& state) { NetworkFrameOf(state, 0); }
void BM_NetworkFrameOnAJoiner(benchmark::State& state) { NetworkFrameOf(state, 1); }

// From joiner 1's send to its position applied on joiner 2, the host and joiner 2 polling
// as fast as they can. A position that never arrives (none should) is counted as lost.
void BM_SendToApplyThroughTheHost(benchmark::State& state) {
  Session& s = TheSession();
  std::int64_t lost = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(kFrameGap);
    world::PlayerSlot& sender = s.At(1).Hero();
    sender.X = sender.X > 5000 ? 700 : sender.X + 1;
    const float wanted = static_cast<float>(static_cast<std::int32_t>(sender.X));
    const auto start = std::chrono::steady_clock::now();
    s.At(1).net.SendPosition(s.At(1).game);
    while (s.At(2).game.World->Players[1].X != wanted) {
      s.At(0).net.Poll(s.At(0).game);
      s.At(2).net.Poll(s.At(2).game);
      if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(100)) {
        ++lost;
        break;
      }
    }
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["lost"] = static_cast<double>(lost);
}

BENCHMARK(BM_NetworkFrameOnTheHost)->Iterations(kFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NetworkFrameOnAJoiner)->Iterations(kFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SendToApplyThroughTheHost)->Iterations(kFrames)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zandrel
