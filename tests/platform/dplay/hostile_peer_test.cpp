// A peer that speaks ENet itself and says whatever it likes to a session's host.
#include <enet/enet.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/dplay/enet_play.h"
#include "platform/dplay/wire.h"
#include "tests/platform/dplay/machines.h"
#include "tests/platform/dplay/raw_peer.h"

namespace zandrel::dplay {
namespace {

using loopback::Arrival;
using loopback::Machine;
using loopback::MakeBlock;
using loopback::RawPeer;
using loopback::Received;

constexpr int kSuite = 71;

class HostilePeer : public ::testing::Test {
 protected:
  void Open(int test) {
    settings_ = loopback::LoopbackSettings(kSuite, test);
    host_ = std::make_unique<Machine>(settings_);
    loopback::Host(*host_, "Target", 4);
  }

  // Services the host and the raw peer until `done`.
  bool Until(RawPeer& raw, const std::function<bool()>& done, std::uint32_t timeoutMs = 3000) {
    return loopback::StepUntil(
        [&] {
          host_->Service();
          raw.Service();
        },
        done, timeoutMs);
  }

  // Connects, says hello and, unless told not to, creates its player: its identifier.
  DPID Admit(RawPeer& raw, bool createPlayer = true) {
    EXPECT_TRUE(Until(raw, [&] { return raw.connected; }));
    raw.Send(wire::EncodeHello({wire::kProtocolVersion, Guid{}, ""}));
    EXPECT_TRUE(Until(raw, [&] { return raw.Heard(wire::kWelcome); }));
    if (!createPlayer) return 0;
    raw.Send(wire::EncodeCreatePlayer("Raw", "Raw Peer"));
    EXPECT_TRUE(Until(raw, [&] { return raw.Heard(wire::kPlayerCreated); }));
    for (const Arrival& a : raw.arrivals) {
      if (auto id = wire::DecodePlayerId(a.bytes, wire::kPlayerCreated)) return *id;
    }
    return 0;
  }

  Settings settings_;
  std::unique_ptr<Machine> host_;
};

std::uint32_t GameBlocks(const std::vector<Received>& blocks) {
  return static_cast<std::uint32_t>(
      std::count_if(blocks.begin(), blocks.end(), [](const Received& r) { return r.Word(0) == 1; }));
}

// A block packet whose block has `size` bytes.
wire::Bytes BlockOfSize(std::size_t size) {
  wire::Bytes bytes(wire::kBlockHeaderSize + size, 0);
  wire::WriteU32(bytes.data(), wire::kBlock);
  return bytes;
}

TEST_F(HostilePeer, MalformedPacketsAreRefusedAndCounted) {
  Open(20);
  RawPeer raw(settings_);
  Admit(raw, false);
  // Before it has a player, a peer has no say.
  wire::Bytes early(wire::kBlockPacketSize);
  wire::WriteBlockPacket(early.data(), 0, 0, MakeBlock(1).data());
  raw.Send(early);
  raw.Send(wire::EncodeCreatePlayer("Raw", "Raw Peer"));
  ASSERT_TRUE(Until(raw, [&] { return raw.Heard(wire::kPlayerCreated); }));

  const wire::Bytes malformed[] = {
      wire::Bytes{},             // 0 bytes
      wire::Bytes(1, 0xEE),      // 1
      wire::Bytes(259, 0xEE),    // 259, of no kind
      wire::Bytes(261, 0xEE),    // 261
      wire::Bytes(65536, 0xEE),  // 65536
      BlockOfSize(0),            // block packets whose block is not 260 bytes
      BlockOfSize(1),
      BlockOfSize(259),
      BlockOfSize(261),
      BlockOfSize(65536),
      wire::EncodeHello({}),                       // a second hello
      wire::EncodeCreatePlayer("Again", "Again"),  // a second player
      wire::EncodeWelcome({}),                     // the host's own words
      wire::EncodeDeletePlayer(host_->id),
  };
  for (const wire::Bytes& bytes : malformed) raw.Send(bytes);
  const std::uint32_t expected = 1 + static_cast<std::uint32_t>(std::size(malformed));
  ASSERT_TRUE(Until(raw, [&] { return host_->play->Statistics().refused >= expected; }));
  loopback::StepUntil(
      [&] {
        host_->Service();
        raw.Service();
      },
      [] { return false; }, 100);
  EXPECT_EQ(host_->play->Statistics().refused, expected);
  EXPECT_EQ(host_->play->Statistics().received, 0u);

  // A well-formed block still goes through, and the host still has its players.
  raw.SendBlock(0, host_->id, MakeBlock(1, 77));
  std::vector<Received> got;
  ASSERT_TRUE(Until(raw, [&] {
    for (const Received& r : host_->Drain()) got.push_back(r);
    return !got.empty() && got.back().Word(0) == 1;
  }));
  EXPECT_EQ(got.back().Word(4), 77u);
  std::size_t players = 0;
  host_->play->EnumPlayers(
      0, [&](DPID, std::string_view, std::string_view) { return ++players, true; }, DPENUMPLAYERS_ALL);
  EXPECT_EQ(players, 2u);
}

TEST_F(HostilePeer, CannotForgeItsSenderAndHearsEachBlockOnItsChannel) {
  Open(21);
  Machine ann(settings_);
  ASSERT_EQ(loopback::Join(ann, {host_.get()}, "Ann"), DP_OK);
  RawPeer raw(settings_);
  const DPID rawId = Admit(raw);
  ASSERT_NE(rawId, 0u);

  raw.SendBlock(host_->id, DPID_ALLPLAYERS, MakeBlock(1, 5));  // claims to be the host
  std::vector<Received> hostGot, annGot;
  const auto serviceAll = [&] {
    host_->Service();
    ann.Service();
    raw.Service();
    for (const Received& r : host_->Drain()) hostGot.push_back(r);
    for (const Received& r : ann.Drain()) annGot.push_back(r);
  };
  ASSERT_TRUE(loopback::StepUntil(serviceAll, [&] {
    return !hostGot.empty() && hostGot.back().Word(0) == 1 && !annGot.empty() && annGot.back().Word(0) == 1;
  }));
  EXPECT_EQ(hostGot.back().from, rawId);
  EXPECT_EQ(annGot.back().from, rawId);
  EXPECT_EQ(annGot.back().Word(4), 5u);

  // Start blocks come guaranteed on the reliable channel, the others sequenced on theirs.
  raw.arrivals.clear();
  ASSERT_EQ(ann.Send(DPID_ALLPLAYERS, MakeBlock(0, 1), DPSEND_GUARANTEE), DP_OK);
  ASSERT_EQ(ann.Send(DPID_ALLPLAYERS, MakeBlock(1, 2), DPSEND_HIGHPRIORITY), DP_OK);
  ASSERT_TRUE(loopback::StepUntil(serviceAll, [&] { return raw.arrivals.size() >= 2; }));
  for (const Arrival& a : raw.arrivals) {
    const std::optional<wire::BlockView> block = wire::DecodeBlockPacket(a.bytes);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->from, ann.id);
    const bool start = wire::ReadU32(block->block) == 0;
    EXPECT_EQ(a.reliable, start);
    EXPECT_EQ(a.channel, start ? wire::kReliableChannel : wire::kSequencedChannel);
  }
}

TEST_F(HostilePeer, AFloodNeitherStallsTheHostNorReachesPastItsShare) {
  Open(22);
  Machine ann(settings_);
  ASSERT_EQ(loopback::Join(ann, {host_.get()}, "Ann"), DP_OK);
  RawPeer raw(settings_);
  ASSERT_NE(Admit(raw), 0u);
  host_->Drain();
  ann.Drain();

  constexpr std::uint32_t kFlood = 10000;
  const auto start = std::chrono::steady_clock::now();
  for (std::uint32_t i = 0; i < kFlood; ++i) raw.SendBlock(0, DPID_ALLPLAYERS, MakeBlock(1, i));
  std::uint32_t hostGot = 0;
  std::uint32_t annGot = 0;
  std::chrono::steady_clock::duration longest{};
  std::uint32_t services = 0;
  const auto taken = [&] {
    const Traffic traffic = host_->play->Statistics();
    return traffic.received + traffic.dropped;
  };
  ASSERT_TRUE(loopback::StepUntil(
      [&] {
        raw.Service();
        const auto before = std::chrono::steady_clock::now();
        host_->Service();
        longest = std::max(longest, std::chrono::steady_clock::now() - before);
        ++services;
        hostGot += GameBlocks(host_->Drain());
        ann.Service();
        annGot += GameBlocks(ann.Drain());
      },
      [&] { return taken() >= kFlood; }, 20000));
  const auto elapsed = std::chrono::steady_clock::now() - start;

  const Traffic traffic = host_->play->Statistics();
  EXPECT_EQ(traffic.received + traffic.dropped, kFlood) << "every block handled once";
  EXPECT_EQ(traffic.refused, 0u);
  EXPECT_EQ(hostGot, traffic.received);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
  EXPECT_LE(traffic.received, kPeerBurst + kPeerBlocksPerSecond * (ms + 100) / 1000) << "the peer's share";
  EXPECT_LE(annGot, traffic.received) << "only what the host took is relayed";
  EXPECT_LT(longest, std::chrono::milliseconds(100)) << "the longest service call";
  std::printf("flood of %u blocks: %u service calls in %lld ms, longest %lld us, taken %u, dropped %u\n", kFlood,
              services, static_cast<long long>(ms),
              static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(longest).count()),
              traffic.received, traffic.dropped);

  // The session carries on.
  ASSERT_EQ(ann.Send(host_->id, MakeBlock(1, 99)), DP_OK);
  std::vector<std::vector<Received>> got;
  ASSERT_TRUE(loopback::CollectUntil({host_.get(), &ann}, got, {1, 0}));
  EXPECT_EQ(got[0].back().from, ann.id);
}

}  // namespace
}  // namespace zandrel::dplay
