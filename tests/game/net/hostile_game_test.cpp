// A peer that speaks ENet itself plays against a hosting game: nothing it sends may crash,
// hang or flood the host, move its slots or go uncounted.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "game/net/messages.h"
#include "tests/game/net/machines.h"
#include "tests/platform/dplay/raw_peer.h"

namespace zandrel::net {
namespace {

using dplay::loopback::RawPeer;
namespace wire = dplay::wire;

constexpr int kSuite = 77;

struct Place {
  float X, Y, Z, Heading;
  std::int32_t Animation;
  friend bool operator==(const Place&, const Place&) = default;
};

std::array<Place, 4> Places(testing::Machine& m) {
  std::array<Place, 4> places{};
  for (int i = 0; i < 4; ++i) {
    const world::PlayerSlot& s = m.Slot(i);
    places[static_cast<std::size_t>(i)] = {s.X, s.Y, s.Z, s.Heading, s.Animation};
  }
  return places;
}

dplay::Block Typed(std::uint32_t type, std::uint8_t slotOrLast, std::uint8_t lastSlot = 0) {
  dplay::Block block{};
  std::memcpy(block.data(), &type, 4);
  block[4] = slotOrLast;
  block[5] = lastSlot;
  return block;
}

wire::Bytes BlockOfSize(std::size_t size) {
  wire::Bytes bytes(wire::kBlockHeaderSize + size, 0);
  wire::WriteU32(bytes.data(), wire::kBlock);
  return bytes;
}

TEST(HostilePeerAtTheGame, TheHostKeepsRunningItsSlotsUnchangedAndCountsWhatItRefused) {
  const dplay::Settings settings = dplay::loopback::LoopbackSettings(kSuite, 1);
  testing::Machine host(settings);
  testing::Host(host, "Ann");
  RawPeer raw(settings);
  const auto until = [&](const std::function<bool()>& done) {
    return dplay::loopback::StepUntil(
        [&] {
          host.Frame();
          raw.Service();
        },
        done);
  };
  ASSERT_TRUE(until([&] { return raw.connected; }));
  raw.Send(wire::EncodeHello({wire::kProtocolVersion, dplay::Guid{}, ""}));
  raw.Send(wire::EncodeCreatePlayer("Raw", "Raw Peer"));
  ASSERT_TRUE(until([&] { return raw.Heard(wire::kPlayerCreated) && host.World().LastSlot == 1; }));
  host.net.NewGameClick(host.game);
  ASSERT_TRUE(until([&] { return raw.Heard(wire::kBlock); })) << "its start message";
  for (int i = 0; i < 20; ++i) host.Frame();  // the hero lands
  const std::array<Place, 4> before = Places(host);

  for (const std::size_t size : {0u, 1u, 259u, 261u, 65536u}) raw.Send(BlockOfSize(size));
  for (const dplay::Block& block :
       {Typed(kPositionMessage, 4), Typed(kPositionMessage, 255), Typed(kStartMessage, 1, 200), Typed(7, 1)}) {
    raw.SendBlock(0, dplay::DPID_ALLPLAYERS, block);
  }
  // Blocks that start with 3 or 5 are taken for the system's: a player added, then deleted.
  dplay::Block added = Typed(dplay::DPSYS_ADDPLAYER, 0);
  const std::uint32_t forged = 0x7777;
  std::memcpy(added.data() + dplay::kAddPlayerIdOffset, &forged, 4);
  dplay::CopyName("Forged", reinterpret_cast<char*>(added.data() + dplay::kAddPlayerFormalNameOffset),
                  dplay::kFormalNameSize);
  raw.SendBlock(0, dplay::DPID_ALLPLAYERS, added);
  ASSERT_TRUE(until([&] { return host.net.Comm().PlayerCount() == 4; }));
  EXPECT_EQ(host.net.Comm().PlayerLongNames.back().text, "Forged");
  EXPECT_EQ(host.World().LastSlot, 1) << "no slot once the game has started";
  dplay::Block deleted = Typed(dplay::DPSYS_DELETEPLAYER, 0);
  std::memcpy(deleted.data() + dplay::kDeletePlayerIdOffset, &forged, 4);
  raw.SendBlock(0, dplay::DPID_ALLPLAYERS, deleted);
  ASSERT_TRUE(until([&] { return host.net.Comm().PlayerCount() == 3; }));
  ASSERT_TRUE(until([&] { return host.net.Report()->Refused == 9; }));

  // Ten thousand blocks in a second, positions for a slot that does not exist.
  constexpr std::uint32_t kFlood = 10000;
  const auto start = std::chrono::steady_clock::now();
  for (std::uint32_t i = 0; i < kFlood; ++i) raw.SendBlock(0, dplay::DPID_ALLPLAYERS, Typed(kPositionMessage, 9));
  std::chrono::steady_clock::duration longest{};
  std::uint32_t frames = 0;
  const auto handled = [&] {
    const dplay::Traffic t = host.net.Comm().Traffic();
    return t.received + t.dropped;
  };
  ASSERT_TRUE(dplay::loopback::StepUntil(
      [&] {
        raw.Service();
        const auto before = std::chrono::steady_clock::now();
        host.Frame();
        longest = std::max(longest, std::chrono::steady_clock::now() - before);
        ++frames;
      },
      [&] { return handled() >= 6 + kFlood; }, 20000));
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);

  const dplay::Traffic traffic = host.net.Comm().Traffic();
  const game::NetReport report = *host.net.Report();
  EXPECT_EQ(traffic.received + traffic.dropped, 6 + kFlood) << "every block handled once";
  EXPECT_EQ(traffic.refused, 5u) << "the blocks of a wrong size";
  EXPECT_EQ(report.Refused, traffic.refused + (traffic.received - 2)) << "all but the two system blocks";
  EXPECT_EQ(Places(host), before) << "no slot moved";
  EXPECT_EQ(host.World().LastSlot, 1);
  EXPECT_EQ(host.World().LocalSlot, 0);
  EXPECT_EQ(host.game.Frame.CurrentScreen, game::Screen::Play);
  EXPECT_LT(longest, std::chrono::milliseconds(100)) << "the longest frame";
  std::printf("flood of %u blocks: %u host frames in %lld ms, longest %lld us, taken %u, dropped %u\n", kFlood, frames,
              static_cast<long long>(ms.count()),
              static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(longest).count()),
              traffic.received, traffic.dropped);
}

}  // namespace
}  // namespace zandrel::net
