// Network play between games on the loopback network: the lobby, the slots, the start and
// position messages, players who leave or find the session full.
#include "game/net/network_game.h"

#include <gtest/gtest.h>

#include <cstring>

#include "game/net/messages.h"
#include "tests/game/net/machines.h"

namespace zandrel::net {
namespace {

using testing::FramesUntil;
using testing::Host;
using testing::Join;
using testing::Machine;

constexpr int kSuite = 76;

class NetworkGameTest : public ::testing::Test {
 protected:
  void Open(int test) { settings_ = dplay::loopback::LoopbackSettings(kSuite, test); }

  Machine& Add() {
    machines_.push_back(std::make_unique<Machine>(settings_));
    return *machines_.back();
  }
  std::vector<Machine*> All() {
    std::vector<Machine*> all;
    for (auto& m : machines_) all.push_back(m.get());
    return all;
  }
  // A host and `joiners` players, joined in order and, with `start`, playing.
  void Session(int joiners, bool start) {
    Host(Add(), "Ann");
    const char* const names[] = {"Bob", "Cy", "Di"};
    for (int i = 0; i < joiners; ++i) {
      std::vector<Machine*> before = All();
      Join(Add(), before, testing::AddressOf(settings_), names[i]);
    }
    if (!start) return;
    Machine& host = *machines_.front();
    ASSERT_TRUE(FramesUntil(All(), [&] { return host.World().LastSlot == joiners; }));
    host.net.NewGameClick(host.game);
    ASSERT_TRUE(FramesUntil(All(), [&] { return testing::AllPlaying(All()); }));
  }

  dplay::Settings settings_;
  std::vector<std::unique_ptr<Machine>> machines_;
};

TEST_F(NetworkGameTest, FindsTheSessionByTheDiscoveryQueryAndByAddress) {
  Open(1);
  Machine& host = Add();
  Host(host, "Ann");
  for (const bool byAddress : {false, true}) {
    Machine& joiner = Add();
    game::ChangeScreen(joiner.game, game::Screen::Network);
    EXPECT_EQ(joiner.net.Step(), LobbyStep::Nickname);
    joiner.net.AcceptNickname(joiner.game, "Bob");
    ASSERT_EQ(joiner.net.ListBox(), (std::vector<std::string>{std::string(dplay::kLocalNetworkProviderName),
                                                              std::string(dplay::kAddressProviderName)}));
    joiner.net.Select(byAddress ? 1 : 0);
    dplay::loopback::Pump pump([&] { host.Frame(); });
    joiner.net.JoinGameClick(joiner.game);
    if (byAddress) {
      // The address provider asks where first, in the lobby's own prompt.
      EXPECT_EQ(joiner.net.Step(), LobbyStep::Address);
      joiner.net.AcceptAddress(joiner.game, testing::AddressOf(settings_));
    }
    EXPECT_EQ(joiner.net.State(), NetState::ChoosingSession) << byAddress;
    EXPECT_EQ(joiner.net.ListBox(), std::vector<std::string>{"Zandrel - Ann"}) << byAddress;
  }
}

TEST_F(NetworkGameTest, PlayersJoinInOrderAndEveryoneStartsTheFirstLevel) {
  Open(2);
  Session(2, false);
  Machine &host = *machines_[0], &bob = *machines_[1], &cy = *machines_[2];
  ASSERT_TRUE(FramesUntil(All(), [&] { return host.World().LastSlot == 2 && host.net.ListBox().size() == 3; }));
  EXPECT_EQ(host.Slot(0).PlayerId, 0u);
  EXPECT_EQ(host.Slot(1).PlayerId, bob.net.Comm().LocalPlayerId);
  EXPECT_EQ(host.Slot(2).PlayerId, cy.net.Comm().LocalPlayerId);
  EXPECT_EQ(host.net.ListBox(), (std::vector<std::string>{"Ann", "Bob", "Cy"}));
  EXPECT_EQ(host.net.Comm().PlayerLongNames.front().text, "All");

  host.net.NewGameClick(host.game);
  EXPECT_EQ(host.net.State(), NetState::Started);
  EXPECT_EQ(host.net.Comm().Traffic().sent, 3u) << "one start message per slot";
  ASSERT_TRUE(FramesUntil(All(), [&] { return testing::AllPlaying(All()); }));
  for (Machine* m : All()) {
    EXPECT_EQ(m->World().LastSlot, 2);
    EXPECT_EQ(m->World().Map.LevelName, "FIRST STEPS");
    EXPECT_EQ(m->game.Hero().LevelIndex, 0);
    EXPECT_EQ(m->game.Hero().Lives, 3);
  }

  // A position sent in one frame moves the slot on the others' machines once it arrives (the
  // host relays it to Cy); how soon depends on the loopback, not on a frame count.
  FramesUntil(
      All(), [] { return false; }, 200);
  bob.game.Hero().X = 1111.7f;
  bob.game.Hero().Z = 2222.2f;
  bob.game.Hero().Heading = 4096;
  bob.game.Hero().Animation = world::kPoseWalk2;
  bob.Frame();
  const auto arrived = [&](Machine& m) { return m.Slot(1).Heading == 4096; };
  EXPECT_TRUE(FramesUntil({&host, &cy}, [&] { return arrived(host) && arrived(cy); }));
  for (Machine* m : {&host, &cy}) {
    EXPECT_NEAR(m->Slot(1).X, 1111, 1.0f);
    EXPECT_NEAR(m->Slot(1).Z, 2222, 1.0f);
    EXPECT_EQ(m->Slot(1).Heading, 4096);
    EXPECT_EQ(m->Slot(1).Animation, world::kPoseWalk2);
  }
  EXPECT_EQ(cy.Slot(1).PlayerId, bob.net.Comm().LocalPlayerId) << "learnt from its position";
}

TEST_F(NetworkGameTest, APlayerWhoLeavesStopsAndTheOthersKeepTheirSlots) {
  Open(3);
  Session(2, true);
  Machine &host = *machines_[0], &cy = *machines_[2];
  FramesUntil(
      All(), [] { return false; }, 300);  // everyone hears everyone's positions
  const std::uint32_t bobId = machines_[1]->net.Comm().LocalPlayerId;
  machines_[1]->game.Hero().VelX = 300;  // still walking as it goes
  machines_[1]->Frame();
  machines_.erase(machines_.begin() + 1);
  ASSERT_TRUE(FramesUntil(All(), [&] { return host.Slot(1).Gone && cy.Slot(1).Gone; }));
  const float hostSees = host.Slot(1).X, cySees = cy.Slot(1).X;
  cy.game.Hero().X += 100;
  FramesUntil(
      All(), [] { return false; }, 200);
  for (Machine* m : All()) {
    EXPECT_EQ(m->World().LastSlot, 2);
    EXPECT_EQ(m->Slot(1).PlayerId, bobId);
  }
  EXPECT_EQ(host.Slot(1).X, hostSees) << "a slot that left is not moved";
  EXPECT_EQ(cy.Slot(1).X, cySees);
  EXPECT_EQ(cy.World().LocalSlot, 2);
  EXPECT_NEAR(host.Slot(2).X, cy.game.Hero().X, 1.0f) << "the others still move";
  const game::NetReport report = *host.net.Report();
  for (const game::NetPlayer& p : report.Players) EXPECT_NE(p.Id, bobId);
}

TEST_F(NetworkGameTest, BeforeTheStartALeavingPlayersSlotGoesToTheNext) {
  Open(4);
  Session(2, false);
  Machine& host = *machines_[0];
  ASSERT_TRUE(FramesUntil(All(), [&] { return host.World().LastSlot == 2; }));
  const std::uint32_t cyId = machines_[2]->net.Comm().LocalPlayerId;
  machines_[1]->net.LeaveLobby(machines_[1]->game);
  EXPECT_EQ(machines_[1]->game.Frame.CurrentScreen, game::Screen::Title);
  EXPECT_FALSE(machines_[1]->net.Comm().Running());
  ASSERT_TRUE(FramesUntil(All(), [&] { return host.World().LastSlot == 1; }));
  EXPECT_EQ(host.Slot(1).PlayerId, cyId);
  EXPECT_EQ(host.Slot(2).PlayerId, 0u);
  host.net.NewGameClick(host.game);
  ASSERT_TRUE(FramesUntil(All(), [&] { return machines_[2]->World().LocalSlot == 1; }));
  EXPECT_EQ(machines_[2]->World().LastSlot, 1);
}

TEST_F(NetworkGameTest, AFifthPlayerIsToldTheSessionIsFullAndTheHostSeesNothingChange) {
  Open(5);
  Session(3, false);
  Machine& host = *machines_[0];
  ASSERT_TRUE(FramesUntil(All(), [&] { return host.World().LastSlot == 3; }));
  std::vector<std::uint32_t> ids;
  for (int i = 0; i < 4; ++i) ids.push_back(host.Slot(i).PlayerId);

  Machine& fifth = Add();
  {
    std::vector<Machine*> others(machines_.size() - 1);
    for (std::size_t i = 0; i + 1 < machines_.size(); ++i) others[i] = machines_[i].get();
    dplay::loopback::Pump pump([&] {
      for (Machine* m : others) m->Frame();
    });
    game::ChangeScreen(fifth.game, game::Screen::Network);
    fifth.net.AcceptNickname(fifth.game, "Ed");
    fifth.net.Select(1);
    fifth.net.JoinGameClick(fifth.game);
    fifth.net.AcceptAddress(fifth.game, testing::AddressOf(settings_));
    ASSERT_EQ(fifth.net.ListBox(), std::vector<std::string>{"Zandrel - Ann"});
    fifth.net.JoinGameClick(fifth.game);
    EXPECT_EQ(fifth.net.Status(), "THE SESSION IS FULL");
    EXPECT_EQ(fifth.net.State(), NetState::ChoosingSession) << "the list stays up for another try";
    EXPECT_FALSE(fifth.net.Comm().Running());
    // Asked for on the command line, the join gives up and the title comes back.
    fifth.net.StartSession(fifth.game, {false, testing::AddressOf(settings_), "Ed", 0});
    EXPECT_EQ(fifth.game.Frame.CurrentScreen, game::Screen::Title);
  }
  FramesUntil(
      All(), [] { return false; }, 200);
  EXPECT_EQ(host.World().LastSlot, 3);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(host.Slot(i).PlayerId, ids[static_cast<std::size_t>(i)]);
  EXPECT_EQ(host.net.Comm().PlayerCount(), 5) << "All and four players";
}

TEST_F(NetworkGameTest, GoAloneStartsTheHostsGameAlone) {
  Open(6);
  Machine& host = Add();
  Host(host, "Ann");
  host.net.NewGameClick(host.game);
  EXPECT_EQ(host.game.Frame.CurrentScreen, game::Screen::Play);
  EXPECT_EQ(host.World().LastSlot, 0);
  EXPECT_EQ(host.World().LocalSlot, 0);
  for (int i = 0; i < 10; ++i) host.Frame();
  EXPECT_EQ(host.net.Comm().Traffic().sent, 1u) << "one start message to all, then no position";
}

TEST_F(NetworkGameTest, APositionBeyondLastSlotIsStoredButNotMoved) {
  Open(7);
  Session(1, true);
  Machine& host = *machines_[0];
  PositionMessage position;
  position.Slot = 3;
  position.X = 3000;
  position.Y = 700;
  position.Z = 1500;
  position.VelX = 400;
  dplay::Block block{};
  EncodePosition(position, block);
  host.net.CommGameMessage(0x4444, kPositionMessage, BlockView(block));
  for (int i = 0; i < 5; ++i) host.Frame();
  EXPECT_EQ(host.Slot(3).X, 3000);
  EXPECT_EQ(host.Slot(3).VelX, 400) << "neither moved nor slowed";
  EXPECT_EQ(host.net.Ignored(), 0u);
  // Another sender for that slot is not its player.
  host.net.CommGameMessage(0x5555, kPositionMessage, BlockView(block));
  EXPECT_EQ(host.net.Ignored(), 1u);
}

TEST_F(NetworkGameTest, TheLobbyAnswersKeysAndPointer) {
  Open(8);
  Machine& m = Add();
  m.input.keys.insert('N');
  m.Frame();  // on the title, N opens the lobby
  m.input.keys.clear();
  ASSERT_EQ(m.game.Frame.CurrentScreen, game::Screen::Network);
  m.Frame();
  m.input.typed = "A very long nickname that no name field can hold whole, cut";
  m.Frame();
  m.input.keys.insert(input::vk::Return);
  m.Frame();
  m.input.keys.clear();
  ASSERT_EQ(m.net.Step(), LobbyStep::List);
  EXPECT_EQ(m.net.Comm().PlayerLongName, "A very long nickname that no name field can hold wh") << "51 bytes";
  // A click on "Create Game" creates the session on the selected provider.
  m.input.pointer = {0.3f, 0.8f, true};
  m.Frame();
  EXPECT_TRUE(m.net.Hosting());
  EXPECT_EQ(m.net.Comm().PlayerShortNames.back().text, "A very long nicknam") << "19 bytes";
  m.input.keys.insert(input::vk::Escape);
  m.Frame();
  EXPECT_EQ(m.game.Frame.CurrentScreen, game::Screen::Title);
  EXPECT_FALSE(m.net.Comm().Running()) << "the session is left";

  // An empty nickname is "Player"; one longer than the fields is cut between characters.
  game::ChangeScreen(m.game, game::Screen::Network);
  m.net.AcceptNickname(m.game, "");
  EXPECT_EQ(m.net.Comm().PlayerLongName, "Player");
  std::string accents;
  for (int i = 0; i < 30; ++i) accents += "\xc3\xa9";
  m.net.AcceptNickname(m.game, accents);
  EXPECT_EQ(m.net.Comm().PlayerLongName, accents.substr(0, 50));
}

}  // namespace
}  // namespace zandrel::net
