#include "platform/dplay/dplay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <set>

#include "platform/dplay/address.h"
#include "tests/platform/dplay/machines.h"

namespace zandrel::dplay {
namespace {

using loopback::Machine;
using loopback::MakeBlock;
using loopback::Received;

constexpr int kSuite = 71;

Settings TestSettings(int test, int n = 1) { return loopback::LoopbackSettings(kSuite, test, n); }

TEST(Names, AreCutAtTheirFieldWithoutSplittingACharacter) {
  const struct {
    std::string_view name;
    std::size_t field;
    std::string_view fitted;
  } cases[] = {
      {"Ann", 20, "Ann"},
      {"abcdefghijklmnopqrs", 20, "abcdefghijklmnopqrs"},                    // 19 bytes: fits with its terminator
      {"abcdefghijklmnopqrst", 20, "abcdefghijklmnopqrs"},                   // 20 bytes: one too many
      {"abcdefghijklmnopqr\xC3\xA9", 20, "abcdefghijklmnopqr"},              // "é" ends on byte 20
      {"abcdefghijklmnopq\xE2\x82\xAC", 20, "abcdefghijklmnopq"},            // "€" ends on byte 20
      {"abcdefghijklmnop\xC3\xA9\xC3\xA9", 20, "abcdefghijklmnop\xC3\xA9"},  // the first "é" fits
      {std::string_view("ab\0cd", 5), 20, "ab"},
      {"x", 1, ""},
      {"x", 0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FitName(c.name, c.field), c.fitted) << c.name << " in " << c.field;

  char field[4];
  std::memset(field, 'z', sizeof field);
  CopyName("abcdef", field, sizeof field);
  EXPECT_EQ(std::string_view(field, 4), std::string_view("abc\0", 4));
  const char unterminated[4] = {'w', 'x', 'y', 'z'};
  EXPECT_EQ(FieldText(unterminated, sizeof unterminated), "wxy");
}

TEST(Addresses, AreAHostWithAnOptionalPort) {
  const struct {
    std::string_view text;
    std::optional<std::pair<std::string, std::uint16_t>> place;
  } cases[] = {
      {"127.0.0.1", std::pair{std::string("127.0.0.1"), std::uint16_t{5000}}},
      {"127.0.0.1:6000", std::pair{std::string("127.0.0.1"), std::uint16_t{6000}}},
      {" localhost:7000 ", std::pair{std::string("localhost"), std::uint16_t{7000}}},
      {"", std::nullopt},
      {":6000", std::nullopt},
      {"127.0.0.1:", std::nullopt},
      {"127.0.0.1:0", std::nullopt},
      {"127.0.0.1:65535", std::nullopt},  // its information port would not exist
      {"127.0.0.1:70000", std::nullopt},
      {"127.0.0.1:60x", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<HostAndPort> parsed = ParseHostAndPort(c.text, 5000);
    ASSERT_EQ(parsed.has_value(), c.place.has_value()) << c.text;
    if (parsed) {
      EXPECT_EQ(parsed->host, c.place->first) << c.text;
      EXPECT_EQ(parsed->port, c.place->second) << c.text;
    }
  }
}

std::vector<std::string> ProviderNames(Network& network) {
  std::vector<std::string> names;
  EXPECT_EQ(network.DirectPlayEnumerate([&](const Guid&, std::string_view name) {
    names.emplace_back(name);
    return true;
  }),
            DP_OK);
  return names;
}

TEST(Providers, AreTheLocalNetworkThenAnAddressAndNoneWithoutANetwork) {
  const std::unique_ptr<Network> network = CreateEnetNetwork(TestSettings(1));
  EXPECT_EQ(ProviderNames(*network), (std::vector<std::string>{"ENet UDP/IP: local network", "ENet UDP/IP: address"}));
  std::unique_ptr<DirectPlay> object;
  Guid unknown;
  unknown.bytes[0] = 0x42;
  EXPECT_EQ(network->DirectPlayCreate(unknown, object), DPERR_UNAVAILABLE);
  EXPECT_EQ(object, nullptr);

  const std::unique_ptr<Network> none = CreateNullNetwork();
  EXPECT_TRUE(ProviderNames(*none).empty());
  EXPECT_EQ(none->DirectPlayCreate(loopback::ProviderNamed(*network, kLocalNetworkProviderName), object),
            DPERR_UNAVAILABLE);
}

std::set<std::string> Names(const std::vector<SessionDesc>& sessions) {
  std::set<std::string> names;
  for (const SessionDesc& s : sessions) names.insert(FieldText(s.szSessionName, kSessionNameSize));
  return names;
}

TEST(Sessions, DiscoveryFindsTheSessionsItMaySee) {
  Settings settings = TestSettings(2, 1);
  Machine open(settings);
  loopback::Host(open, "Open game", 4);
  Machine locked(TestSettings(2, 2));
  loopback::Host(locked, "Locked game", 3, "secret");
  Guid otherGame;
  otherGame.bytes[15] = 7;
  Machine foreign(TestSettings(2, 3));
  loopback::Host(foreign, "Another program", 2, "", otherGame);

  settings.discoveryAddresses = {loopback::LoopbackAddress(kSuite, 2, 1), loopback::LoopbackAddress(kSuite, 2, 2),
                                 loopback::LoopbackAddress(kSuite, 2, 3)};
  Machine seeker(settings);
  const std::vector<Machine*> hosts = {&open, &locked, &foreign};
  const std::vector<SessionDesc> found = loopback::Enumerate(seeker, hosts);
  ASSERT_EQ(Names(found), (std::set<std::string>{"Open game"}));
  EXPECT_EQ(found[0].dwCurrentPlayers, 1u);
  EXPECT_EQ(found[0].dwMaxPlayers, 4u);
  EXPECT_NE(found[0].dwSession, 0u);

  SessionDesc withPassword;
  CopyName("secret", withPassword.szPassword, kPasswordSize);
  const std::vector<SessionDesc> both = loopback::Enumerate(seeker, hosts, withPassword);
  EXPECT_EQ(Names(both), (std::set<std::string>{"Open game", "Locked game"}));
  for (const SessionDesc& s : both) EXPECT_NE(s.dwSession, found[0].dwSession) << "numbers are never reused";

  SessionDesc ofOtherGame;
  ofOtherGame.guidSession = otherGame;
  EXPECT_EQ(Names(loopback::Enumerate(seeker, hosts, ofOtherGame)), (std::set<std::string>{"Another program"}));

  // The locked session is joined only with its password.
  const std::vector<SessionDesc> lockedOnly = loopback::Enumerate(seeker, {&locked}, withPassword);
  ASSERT_EQ(Names(lockedOnly), (std::set<std::string>{"Locked game"}));
  SessionDesc join;
  join.dwSession = lockedOnly[0].dwSession;
  join.dwFlags = DPOPEN_OPENSESSION;
  loopback::Pump pump([&] { locked.Service(); });
  EXPECT_EQ(seeker.play->Open(join), DPERR_INVALIDPASSWORD);
  CopyName("secret", join.szPassword, kPasswordSize);
  EXPECT_EQ(seeker.play->Open(join), DP_OK);
}

// Answers the address provider's question from a value.
struct FixedPrompt : AddressPrompt {
  std::optional<std::string> answer;
  int asked = 0;
  std::optional<std::string> AskAddress() override {
    ++asked;
    return answer;
  }
};

TEST(Sessions, TheAddressProviderLooksWhereThePlayerSays) {
  const Settings hostSettings = TestSettings(3);
  Machine host(hostSettings);
  loopback::Host(host, "By address", 4);

  FixedPrompt prompt;
  Settings settings = hostSettings;
  settings.discoveryAddresses.clear();
  settings.addressPrompt = &prompt;
  Machine seeker(settings, kAddressProviderName);
  const std::string address = loopback::LoopbackAddress(kSuite, 3);
  const struct {
    std::optional<std::string> answer;
    HRESULT result;
    std::size_t sessions;
  } cases[] = {
      {address + ":" + std::to_string(hostSettings.port), DP_OK, 1},
      {address, DP_OK, 1},                                  // the port of the settings
      {loopback::LoopbackAddress(kSuite, 3, 9), DP_OK, 0},  // nobody there
      {std::nullopt, DPERR_USERCANCEL, 0},
      {"", DPERR_USERCANCEL, 0},
      {address + ":99999", DPERR_INVALIDPARAM, 0},
  };
  for (const auto& c : cases) {
    prompt.answer = c.answer;
    HRESULT result = DP_OK;
    const auto started = std::chrono::steady_clock::now();
    const std::vector<SessionDesc> found =
        loopback::Enumerate(seeker, {&host}, SessionDesc{}, 300, DPENUMSESSIONS_ALL, &result);
    EXPECT_EQ(result, c.result) << c.answer.value_or("(cancelled)");
    ASSERT_EQ(found.size(), c.sessions) << c.answer.value_or("(cancelled)");
    if (c.sessions == 1) {
      EXPECT_EQ(FieldText(found[0].szSessionName, kSessionNameSize), "By address");
      EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(250))
          << "the one answer ends the wait";
    }
  }
  EXPECT_EQ(prompt.asked, 6);

  // With nowhere to look, the local network provider finds nothing and fails nothing.
  Machine nowhere(settings);
  HRESULT result = DPERR_GENERIC;
  EXPECT_TRUE(loopback::Enumerate(nowhere, {&host}, SessionDesc{}, 100, DPENUMSESSIONS_ALL, &result).empty());
  EXPECT_EQ(result, DP_OK);
}

TEST(Sessions, JoinersGetIdentifiersFromTheHostAndHearOfEachOther) {
  const Settings settings = TestSettings(4);
  Machine host(settings), ann(settings), bob(settings);
  loopback::Host(host, "Three", 4);
  ASSERT_EQ(loopback::Join(ann, {&host}, "Ann"), DP_OK);
  ASSERT_EQ(loopback::Join(bob, {&host, &ann}, "Bob"), DP_OK);
  EXPECT_EQ(std::set<DPID>({host.id, ann.id, bob.id}).size(), 3u);
  EXPECT_FALSE(host.id == 0 || ann.id == 0 || bob.id == 0);

  std::vector<std::vector<Received>> got;
  ASSERT_TRUE(loopback::CollectUntil({&host, &ann, &bob}, got, {2, 1, 0}));
  ASSERT_EQ(got[0].size(), 2u);
  const struct {
    const Received& block;
    DPID id;
    std::string_view friendly;
  } adds[] = {{got[0][0], ann.id, "Ann"}, {got[0][1], bob.id, "Bob"}, {got[1][0], bob.id, "Bob"}};
  for (const auto& a : adds) {
    EXPECT_EQ(a.block.from, DPID_SYSMSG);
    EXPECT_EQ(a.block.Word(0), DPSYS_ADDPLAYER);
    EXPECT_EQ(a.block.Word(kAddPlayerIdOffset), a.id);
    EXPECT_EQ(a.block.Text(kAddPlayerFriendlyNameOffset, kFriendlyNameSize), a.friendly);
    EXPECT_EQ(a.block.Text(kAddPlayerFormalNameOffset, kFormalNameSize), std::string(a.friendly) + " Formal");
  }
  EXPECT_TRUE(got[2].empty()) << "a joiner hears of no one before it";

  for (Machine* machine : {&host, &ann, &bob}) {
    std::vector<std::pair<DPID, std::string>> players;
    ASSERT_EQ(machine->play->EnumPlayers(
                  0,
                  [&](DPID id, std::string_view friendly, std::string_view) {
                    players.emplace_back(id, friendly);
                    return true;
                  },
                  DPENUMPLAYERS_ALL),
              DP_OK);
    EXPECT_EQ(players,
              (std::vector<std::pair<DPID, std::string>>{{host.id, "Host"}, {ann.id, "Ann"}, {bob.id, "Bob"}}));
  }
  EXPECT_TRUE(host.event->IsSet() && ann.event->IsSet());
}

TEST(Sessions, BlocksReachTheirReceiversWithTheRealSender) {
  const Settings settings = TestSettings(5);
  Machine host(settings), ann(settings), bob(settings);
  ASSERT_NO_FATAL_FAILURE(loopback::HostWithAnnAndBob(host, ann, bob, "Relay"));

  ASSERT_EQ(ann.Send(bob.id, MakeBlock(1, 10)), DP_OK);
  ASSERT_EQ(ann.Send(DPID_ALLPLAYERS, MakeBlock(1, 11)), DP_OK);
  ASSERT_EQ(host.Send(ann.id, MakeBlock(1, 12)), DP_OK);
  ASSERT_EQ(bob.Send(DPID_ALLPLAYERS, MakeBlock(0, 13), DPSEND_GUARANTEE), DP_OK);
  std::vector<std::vector<Received>> got;
  ASSERT_TRUE(loopback::CollectUntil({&host, &ann, &bob}, got, {2, 2, 2}));
  loopback::CollectFor({&host, &ann, &bob}, got, 100);  // anything misdirected too
  const auto seen = [](const std::vector<Received>& blocks) {
    std::set<std::pair<DPID, std::uint32_t>> pairs;
    for (const Received& r : blocks) pairs.insert({r.from, r.Word(4)});
    return pairs;
  };
  using Seen = std::set<std::pair<DPID, std::uint32_t>>;
  EXPECT_EQ(seen(got[0]), (Seen{{ann.id, 11}, {bob.id, 13}}));
  EXPECT_EQ(seen(got[1]), (Seen{{host.id, 12}, {bob.id, 13}}));
  EXPECT_EQ(seen(got[2]), (Seen{{ann.id, 10}, {ann.id, 11}}));
  EXPECT_EQ(got[2][0].to, bob.id);
  EXPECT_EQ(ann.play->Statistics().sent, 2u);
  EXPECT_EQ(bob.play->Statistics().received, 2u);

  // What a sender cannot do.
  const Block block = MakeBlock(1);
  EXPECT_EQ(ann.play->Send(host.id, bob.id, 0, block.data(), kBlockSize), DPERR_INVALIDPLAYER);
  EXPECT_EQ(ann.Send(0x7777, block), DPERR_INVALIDPLAYER);
  EXPECT_EQ(ann.play->Send(ann.id, 0, 0, block.data(), kBlockSize - 1), DPERR_INVALIDPARAM);
  DPID from = 0, to = 0;
  Block buffer{};
  std::uint32_t size = 8;
  ASSERT_EQ(host.Send(ann.id, block), DP_OK);
  ASSERT_TRUE(loopback::ServiceUntil({&host, &ann}, [&] {
    size = 8;
    return ann.play->Receive(from, to, DPRECEIVE_ALL, buffer.data(), size) == DPERR_BUFFERTOOSMALL;
  }));
  EXPECT_EQ(size, kBlockSize);
  EXPECT_EQ(ann.play->Receive(from, to, 2, buffer.data(), size), DPERR_INVALIDFLAGS);
  EXPECT_EQ(ann.play->Receive(from, to, DPRECEIVE_ALL, buffer.data(), size), DP_OK) << "still waiting";
}

TEST(Sessions, GuaranteedBlocksArriveAllInOrderAndOthersNeverOutOfOrder) {
  const Settings settings = TestSettings(6);
  Machine host(settings), ann(settings), bob(settings);
  ASSERT_NO_FATAL_FAILURE(loopback::HostWithAnnAndBob(host, ann, bob, "Order"));

  constexpr std::uint32_t kCount = 200;
  for (std::uint32_t i = 0; i < kCount; ++i) ASSERT_EQ(ann.Send(bob.id, MakeBlock(0, i), DPSEND_GUARANTEE), DP_OK);
  std::vector<std::vector<Received>> got;
  ASSERT_TRUE(loopback::CollectUntil({&host, &ann, &bob}, got, {0, 0, kCount}, 5000));
  ASSERT_EQ(got[2].size(), kCount);
  for (std::uint32_t i = 0; i < kCount; ++i) EXPECT_EQ(got[2][i].Word(4), i);

  for (std::uint32_t i = 0; i < kCount; ++i) ASSERT_EQ(ann.Send(bob.id, MakeBlock(1, 1000 + i)), DP_OK);
  got.clear();
  loopback::CollectUntil({&host, &ann, &bob}, got, {0, 0, kCount}, 1000);
  ASSERT_FALSE(got[2].empty());
  for (std::size_t i = 1; i < got[2].size(); ++i) EXPECT_GT(got[2][i].Word(4), got[2][i - 1].Word(4));
}

// The players a machine hears deleted, in order.
std::vector<DPID> Deleted(const std::vector<Received>& blocks) {
  std::vector<DPID> ids;
  for (const Received& r : blocks) {
    if (r.Word(0) == DPSYS_DELETEPLAYER) ids.push_back(r.Word(kDeletePlayerIdOffset));
  }
  return ids;
}

TEST(Sessions, APlayerWhoLeavesIsDeletedEverywhere) {
  const Settings settings = TestSettings(7);
  Machine host(settings), ann(settings), bob(settings);
  ASSERT_NO_FATAL_FAILURE(loopback::HostWithAnnAndBob(host, ann, bob, "Leaving"));

  const DPID bobId = bob.id;
  ASSERT_EQ(bob.play->Close(), DP_OK);
  std::vector<std::vector<Received>> got;
  ASSERT_TRUE(loopback::CollectUntil({&host, &ann}, got, {1, 1}));
  EXPECT_EQ(Deleted(got[0]), std::vector<DPID>{bobId});
  EXPECT_EQ(Deleted(got[1]), std::vector<DPID>{bobId});
  EXPECT_EQ(ann.Send(bobId, MakeBlock(1)), DPERR_INVALIDPLAYER);

  // When the host goes, the session goes with it.
  ASSERT_EQ(host.play->Close(), DP_OK);
  got.clear();
  ASSERT_TRUE(loopback::CollectUntil({&ann}, got, {1}));
  EXPECT_EQ(Deleted(got[0]), std::vector<DPID>{host.id});
  EXPECT_EQ(ann.Send(DPID_ALLPLAYERS, MakeBlock(1)), DPERR_SESSIONLOST);
}

TEST(Sessions, APeerThatFallsSilentTimesOut) {
  EXPECT_LE(Settings{}.peerTimeoutMs, 10000u);

  Settings settings = TestSettings(8);
  settings.peerTimeoutMs = 1000;
  Machine host(settings), ann(settings), bob(settings);
  ASSERT_NO_FATAL_FAILURE(loopback::HostWithAnnAndBob(host, ann, bob, "Silence"));

  // Bob's machine stops answering: nothing services it any more.
  const auto silent = std::chrono::steady_clock::now();
  std::vector<std::vector<Received>> got;
  ASSERT_TRUE(loopback::CollectUntil({&host, &ann}, got, {1, 1}, 4000));
  const auto waited = std::chrono::steady_clock::now() - silent;
  EXPECT_EQ(Deleted(got[0]), std::vector<DPID>{bob.id});
  EXPECT_EQ(Deleted(got[1]), std::vector<DPID>{bob.id});
  EXPECT_LT(waited, std::chrono::milliseconds(2500));
  EXPECT_GT(waited, std::chrono::milliseconds(300)) << "a quiet moment is no time-out";
}

TEST(Sessions, AFullSessionTurnsAwayTheNextPlayer) {
  const Settings settings = TestSettings(9);
  Machine host(settings), ann(settings), bob(settings), cid(settings), dan(settings);
  loopback::Host(host, "Four", 4);
  ASSERT_EQ(loopback::Join(ann, {&host}, "Ann"), DP_OK);
  ASSERT_EQ(loopback::Join(bob, {&host, &ann}, "Bob"), DP_OK);
  ASSERT_EQ(loopback::Join(cid, {&host, &ann, &bob}, "Cid"), DP_OK);
  const std::vector<Machine*> inside = {&host, &ann, &bob, &cid};

  // A full session is listed only when every session is asked for.
  EXPECT_TRUE(loopback::Enumerate(dan, inside, SessionDesc{}, 300, DPENUMSESSIONS_AVAILABLE).empty());
  const std::vector<SessionDesc> found = loopback::Enumerate(dan, inside);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].dwCurrentPlayers, 4u);
  EXPECT_EQ(found[0].dwMaxPlayers, 4u);

  SessionDesc desc;
  desc.dwSession = found[0].dwSession;
  desc.dwFlags = DPOPEN_OPENSESSION;
  {
    loopback::Pump pump([&] {
      for (Machine* m : inside) m->Service();
    });
    EXPECT_EQ(dan.play->Open(desc), DPERR_NONEWPLAYERS);
  }
  std::vector<std::vector<Received>> got;
  loopback::CollectFor({&host}, got, 200);
  EXPECT_EQ(got[0].size(), 3u) << "three joins and nothing else";
  std::size_t players = 0;
  host.play->EnumPlayers(
      0, [&](DPID, std::string_view, std::string_view) { return ++players, true; }, DPENUMPLAYERS_ALL);
  EXPECT_EQ(players, 4u);

  // A seat freed is a seat taken again.
  ASSERT_EQ(cid.play->Close(), DP_OK);
  ASSERT_TRUE(loopback::CollectUntil({&host, &ann, &bob}, got, {4, 0, 0}));
  EXPECT_EQ(loopback::Join(dan, {&host, &ann, &bob}, "Dan"), DP_OK);
}

// Only the broadcast addresses of real networks: the loopback network has none, and
// nothing is sent here.
TEST(LocalBroadcastAddresses, AreIpv4AndNeverLoopback) {
  for (const std::string& address : LocalBroadcastAddresses()) {
    EXPECT_FALSE(address.starts_with("127.")) << address;
    EXPECT_EQ(std::count(address.begin(), address.end(), '.'), 3) << address;
  }
}

}  // namespace
}  // namespace zandrel::dplay
