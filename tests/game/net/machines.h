// Games of a loopback session for the network tests: each machine has its own game on the
// generated data tree, its own network and its own clock, as separate computers would.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/glide/glide_backend.h"
#include "game/game.h"
#include "game/net/network_game.h"
#include "platform/glide/glide.h"
#include "tests/game/held_controls.h"
#include "tests/platform/dplay/loopback.h"

namespace zandrel::net::testing {

struct Machine {
  explicit Machine(const dplay::Settings& settings) : net(settings) {
    EXPECT_TRUE(display.StartEngine());
    display.OpenView(640, 480, *game.View);
    EXPECT_TRUE(game::GameStartup(game, game::Settings{})) << "data tree " << ZANDREL_DATA;
    game::ResetFrameClock(game);
    game.Frame.GameReady = true;
    game::ChangeScreen(game, game::Screen::Title);
    net.SearchTimeOut = 300;  // a short session search keeps the tests quick
  }

  // One frame 20 ms after the previous one.
  void Frame() {
    clock.Advance(20);
    game::FrameTick(game);
  }

  world::World& World() { return *game.World; }
  world::PlayerSlot& Slot(int i) { return game.World->Players[static_cast<std::size_t>(i)]; }

  glide::NullGlide board;
  engine::glide::GlideBackend display{board};
  game::HeldControls input;
  game::SilentSounds sounds;
  game::SilentMusic music;
  win::ManualClock clock{100000};
  NetworkGame net;
  game::Game game{game::GameServices{display, input, sounds, music, clock, ZANDREL_DATA, nullptr, &net}};
};

inline std::string AddressOf(const dplay::Settings& settings) {
  return settings.bindAddress + ":" + std::to_string(settings.port);
}

// Creates the session of `host`'s player at once.
inline void Host(Machine& host, const std::string& name) {
  host.net.StartSession(host.game, {true, "", name, 0});
  ASSERT_TRUE(host.net.Comm().Running());
  ASSERT_EQ(host.net.State(), NetState::InSession);
}

// Joins the session at `address` while `others` run their frames.
inline void Join(Machine& joiner, const std::vector<Machine*>& others, const std::string& address,
                 const std::string& name) {
  {
    dplay::loopback::Pump pump([&] {
      for (Machine* other : others) other->Frame();
    });
    joiner.net.StartSession(joiner.game, {false, address, name, 0});
  }
  ASSERT_EQ(joiner.net.State(), NetState::InSession) << name << ": " << joiner.net.Status();
}

// Frames on every machine, a frame's time apart, until `done`; false after `timeoutMs`.
inline bool FramesUntil(const std::vector<Machine*>& machines, const std::function<bool()>& done,
                        std::uint32_t timeoutMs = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    for (Machine* machine : machines) machine->Frame();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// Every machine plays, each in its slot.
inline bool AllPlaying(const std::vector<Machine*>& machines) {
  for (std::size_t i = 0; i < machines.size(); ++i) {
    const Machine& m = *machines[i];
    if (m.game.Frame.CurrentScreen != game::Screen::Play || m.game.World->LocalSlot != static_cast<std::int32_t>(i)) {
      return false;
    }
  }
  return true;
}

}  // namespace zandrel::net::testing
