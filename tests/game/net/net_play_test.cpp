#include "game/net/net_play.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <memory>
#include <set>

#include "tests/platform/dplay/loopback.h"
#include "tests/support/captured_messages.h"

namespace zandrel::net {
namespace {

using dplay::DPID;
using dplay::HRESULT;

using test::CapturedMessages;

dplay::Block MakeBlock(std::uint32_t type, std::uint32_t number = 0) {
  dplay::Block block{};
  std::memcpy(block.data(), &type, 4);
  std::memcpy(block.data() + 4, &number, 4);
  return block;
}

dplay::Block AddPlayerBlock(std::uint32_t type, DPID id, std::string_view formal, std::string_view friendly) {
  dplay::Block block = MakeBlock(type);
  std::memcpy(block.data() + dplay::kAddPlayerIdOffset, &id, 4);
  dplay::CopyName(formal, reinterpret_cast<char*>(block.data() + dplay::kAddPlayerFormalNameOffset),
                  dplay::kFormalNameSize);
  dplay::CopyName(friendly, reinterpret_cast<char*>(block.data() + dplay::kAddPlayerFriendlyNameOffset),
                  dplay::kFriendlyNameSize);
  return block;
}

dplay::Block DeletePlayerBlock(std::uint32_t type, DPID id) {
  dplay::Block block = MakeBlock(type);
  std::memcpy(block.data() + dplay::kDeletePlayerIdOffset, &id, 4);
  return block;
}

// What the fake DirectPlay answers, and what the component asked of it.
struct FakeState {
  HRESULT enumerate = dplay::DP_OK, create = dplay::DP_OK, enumSessions = dplay::DP_OK, enumPlayers = dplay::DP_OK,
          open = dplay::DP_OK, createPlayer = dplay::DP_OK;
  std::vector<TaggedEntry> sessions = {{"Zandrel - Ann", 7}};
  struct Name {
    DPID id;
    std::string friendly, formal;
  };
  std::vector<Name> players = {{0x21, "Ann", "Ann Formal"}};
  DPID localId = 0x30;

  std::vector<dplay::Guid> createdFor;
  std::vector<dplay::SessionDesc> enumerated, opened;
  std::vector<std::uint32_t> sessionFlags, playerFlags, timeouts;
  std::vector<std::uint32_t> playersOf;
  std::vector<Name> created;
  struct Sent {
    DPID from, to;
    std::uint32_t flags;
    std::uint32_t type;
  };
  std::vector<Sent> sent;
  int closed = 0;
  int serviced = 0;
  std::deque<std::pair<DPID, dplay::Block>> incoming;
  dplay::ReceiveEvent event;

  void Arrive(DPID from, const dplay::Block& block) {
    incoming.emplace_back(from, block);
    event.Set();
  }
};

class FakePlay final : public dplay::DirectPlay {
 public:
  explicit FakePlay(FakeState& state) : state_(state) {}
  HRESULT EnumSessions(const dplay::SessionDesc& desc, std::uint32_t timeoutMs,
                       const dplay::EnumSessionsCallback& callback, std::uint32_t flags) override {
    state_.enumerated.push_back(desc);
    state_.timeouts.push_back(timeoutMs);
    state_.sessionFlags.push_back(flags);
    if (dplay::Failed(state_.enumSessions)) return state_.enumSessions;
    for (const TaggedEntry& s : state_.sessions) {
      dplay::SessionDesc found;
      found.dwSession = s.tag;
      dplay::CopyName(s.text, found.szSessionName, dplay::kSessionNameSize);
      callback(found);
    }
    return dplay::DP_OK;
  }
  HRESULT EnumPlayers(std::uint32_t session, const dplay::EnumPlayersCallback& callback, std::uint32_t flags) override {
    state_.playersOf.push_back(session);
    state_.playerFlags.push_back(flags);
    if (dplay::Failed(state_.enumPlayers)) return state_.enumPlayers;
    for (const FakeState::Name& p : state_.players) callback(p.id, p.friendly, p.formal);
    return dplay::DP_OK;
  }
  HRESULT Open(const dplay::SessionDesc& desc) override {
    state_.opened.push_back(desc);
    return state_.open;
  }
  HRESULT CreatePlayer(DPID& player, std::string_view friendlyName, std::string_view formalName,
                       dplay::ReceiveEvent*& event) override {
    state_.created.push_back({0, std::string(friendlyName), std::string(formalName)});
    if (dplay::Failed(state_.createPlayer)) return state_.createPlayer;
    player = state_.localId;
    event = &state_.event;
    return dplay::DP_OK;
  }
  HRESULT Send(DPID from, DPID to, std::uint32_t flags, const void* data, std::uint32_t size) override {
    EXPECT_EQ(size, kBlockSize);
    std::uint32_t type;
    std::memcpy(&type, data, 4);
    state_.sent.push_back({from, to, flags, type});
    return dplay::DP_OK;
  }
  HRESULT Receive(DPID& from, DPID&, std::uint32_t flags, void* data, std::uint32_t& size) override {
    EXPECT_EQ(flags, dplay::DPRECEIVE_ALL);
    if (state_.incoming.empty()) return dplay::DPERR_NOMESSAGES;
    EXPECT_GE(size, kBlockSize);
    from = state_.incoming.front().first;
    std::memcpy(data, state_.incoming.front().second.data(), kBlockSize);
    size = kBlockSize;
    state_.incoming.pop_front();
    return dplay::DP_OK;
  }
  HRESULT Close() override {
    ++state_.closed;
    return dplay::DP_OK;
  }
  void Service() override { ++state_.serviced; }
  dplay::Traffic Statistics() const override { return {}; }

 private:
  FakeState& state_;
};

dplay::Guid ProviderId(std::uint8_t n) {
  dplay::Guid guid;
  guid.bytes[0] = n;
  return guid;
}

class FakeNetwork final : public dplay::Network {
 public:
  HRESULT DirectPlayEnumerate(const dplay::EnumProvidersCallback& callback) override {
    if (dplay::Failed(state.enumerate)) return state.enumerate;
    if (callback(ProviderId(1), "Fake A")) callback(ProviderId(2), "Fake B");
    return dplay::DP_OK;
  }
  HRESULT DirectPlayCreate(const dplay::Guid& provider, std::unique_ptr<dplay::DirectPlay>& object) override {
    if (dplay::Failed(state.create)) return state.create;
    state.createdFor.push_back(provider);
    object = std::make_unique<FakePlay>(state);
    return dplay::DP_OK;
  }
  FakeState state;
};

// What the component shows of itself.
struct Snapshot {
  std::vector<std::string> providers;
  std::int32_t providerCount;
  dplay::Guid providerGuid;
  TaggedList sessions;
  std::int32_t sessionCount;
  TaggedList longNames, shortNames;
  std::uint32_t localPlayerId, selectedSession;
  bool running;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Snap(const TNetPlay& net) {
  return {net.Providers,       net.ProviderCount,    net.ProviderGuid,  net.Sessions,        net.SessionCount,
          net.PlayerLongNames, net.PlayerShortNames, net.LocalPlayerId, net.SelectedSession, net.Running()};
}

TEST(NetPlay, EveryFailingCallShowsItsMessageAndChangesNothing) {
  const struct {
    const char* call;
    bool connected;  // the object made, the sessions and players of session 7 listed
    HRESULT FakeState::*result;
    HRESULT code;
    std::function<void(TNetPlay&)> act;
    std::string message;
  } cases[] = {
      {"providers", false, &FakeState::enumerate, dplay::DPERR_GENERIC, [](TNetPlay& n) { n.ListProviders(); },
       "Enum Servers Failed :80004005"},
      {"connect: providers", false, &FakeState::enumerate, dplay::DPERR_GENERIC,
       [](TNetPlay& n) { n.Connect("Fake A", 0); }, "Enum Servers Failed :80004005"},
      {"connect: create", false, &FakeState::create, dplay::DPERR_UNAVAILABLE,
       [](TNetPlay& n) { n.Connect("Fake A", 0); }, "DirectPlay Create Failed :887700fa"},
      {"sessions", true, &FakeState::enumSessions, dplay::DPERR_TIMEOUT, [](TNetPlay& n) { n.ListSessions(); },
       "EnumSessions Failed :887700f0"},
      {"players", true, &FakeState::enumPlayers, dplay::DPERR_INVALIDPARAM, [](TNetPlay& n) { n.ListPlayers(7); },
       "EnumPlayers Failed :80070057"},
      {"join: open", true, &FakeState::open, dplay::DPERR_NONEWPLAYERS, [](TNetPlay& n) { n.JoinSession(7); },
       "Open Failed :8877014a"},
      {"join: player", true, &FakeState::createPlayer, dplay::DPERR_CANTCREATEPLAYER,
       [](TNetPlay& n) { n.JoinSession(7); }, "Local Player Create Failed :8877003c"},
      {"create: open", true, &FakeState::open, dplay::DPERR_CANTCREATESESSION, [](TNetPlay& n) { n.CreateSession(); },
       "DirectPlay Open Failed :88770046"},
      {"create: player", true, &FakeState::createPlayer, dplay::DPERR_CANTCREATEPLAYER,
       [](TNetPlay& n) { n.CreateSession(); }, "Local Player Create Failed :8877003c"},
  };
  for (const auto& c : cases) {
    FakeNetwork network;
    TNetPlay net(network);
    if (c.connected) {
      net.Connect("Fake A", 0);
      net.ListPlayers(7);
    }
    const Snapshot before = Snap(net);
    network.state.*c.result = c.code;
    CapturedMessages display;
    c.act(net);
    EXPECT_EQ(display.Texts, std::vector<std::string>{c.message}) << c.call;
    EXPECT_TRUE(Snap(net) == before) << c.call;
    EXPECT_FALSE(net.Running()) << c.call;
  }

  // A player that cannot be created leaves no open session behind.
  FakeNetwork network;
  TNetPlay net(network);
  CapturedMessages display;
  network.state.createPlayer = dplay::DPERR_CANTCREATEPLAYER;
  net.Connect("Fake A", 1);
  EXPECT_EQ(network.state.closed, 1);
  EXPECT_TRUE(network.state.createdFor.size() == 1 && network.state.opened.size() == 1);
}

TEST(NetPlay, PassesTheSessionsValuesToDirectPlay) {
  FakeNetwork network;
  TNetPlay host(network);
  EXPECT_EQ(host.Providers, (std::vector<std::string>{"Fake A", "Fake B"}));
  EXPECT_EQ(host.ProviderCount, 2);
  host.GameName = "Zandrel - Ann";
  host.Password = "pw";
  host.MaxPlayers = 4;
  host.PlayerLongName = host.PlayerShortName = "Ann";
  host.Connect("Fake B", 1);
  EXPECT_EQ(network.state.createdFor, std::vector<dplay::Guid>{ProviderId(2)});
  EXPECT_EQ(host.ProviderGuid, ProviderId(2));
  ASSERT_EQ(network.state.opened.size(), 1u);
  const dplay::SessionDesc& created = network.state.opened[0];
  EXPECT_EQ(created.dwSize, 124u);
  EXPECT_EQ(created.dwFlags, dplay::DPOPEN_CREATESESSION);
  EXPECT_EQ(created.dwMaxPlayers, 4u);
  EXPECT_EQ(dplay::FieldText(created.szSessionName, dplay::kSessionNameSize), "Zandrel - Ann");
  EXPECT_EQ(dplay::FieldText(created.szPassword, dplay::kPasswordSize), "pw");
  EXPECT_EQ(host.PlayerLongNames, (TaggedList{{"All", 0}, {"Ann", 0x30}}));
  EXPECT_EQ(host.PlayerCount(), 2);
  EXPECT_TRUE(host.Running());
  // A second Connect keeps the object, whatever provider it names.
  host.TimeOut = 1000;
  host.Connect("Fake A", 0);
  EXPECT_EQ(network.state.createdFor.size(), 1u);
  EXPECT_EQ(network.state.timeouts, std::vector<std::uint32_t>{1000});
  EXPECT_EQ(network.state.sessionFlags, std::vector<std::uint32_t>{dplay::DPENUMSESSIONS_ALL});
  EXPECT_EQ(dplay::FieldText(network.state.enumerated[0].szPassword, dplay::kPasswordSize), "pw");

  FakeNetwork joinNetwork;
  TNetPlay joiner(joinNetwork);
  joiner.PlayerLongName = joiner.PlayerShortName = "Bob";
  joiner.Connect("Fake A", 0);
  EXPECT_EQ(joiner.Sessions, (TaggedList{{"Zandrel - Ann", 7}}));
  EXPECT_EQ(joiner.SessionCount, 1);
  joiner.JoinSession(7);
  EXPECT_EQ(joinNetwork.state.playersOf, std::vector<std::uint32_t>{7});
  EXPECT_EQ(joinNetwork.state.playerFlags, std::vector<std::uint32_t>{dplay::DPENUMPLAYERS_SESSION});
  ASSERT_EQ(joinNetwork.state.opened.size(), 1u);
  EXPECT_EQ(joinNetwork.state.opened[0].dwFlags, dplay::DPOPEN_OPENSESSION);
  EXPECT_EQ(joinNetwork.state.opened[0].dwSession, 7u);
  EXPECT_EQ(joiner.SelectedSession, 7u);
  EXPECT_EQ(joiner.PlayerLongNames, (TaggedList{{"All", 0}, {"Ann Formal", 0x21}, {"Bob", 0x30}}));
  EXPECT_EQ(joiner.PlayerShortNames, (TaggedList{{"All", 0}, {"Ann", 0x21}, {"Bob", 0x30}}));
  EXPECT_EQ(joiner.LocalPlayerId, 0x30u);

  // The start block must arrive; a position block may be lost.
  joiner.SendGameMessage(0, MakeBlock(0));
  joiner.SendGameMessage(0x21, MakeBlock(1));
  ASSERT_EQ(joinNetwork.state.sent.size(), 2u);
  EXPECT_EQ(joinNetwork.state.sent[0].flags, dplay::DPSEND_HIGHPRIORITY | dplay::DPSEND_GUARANTEE);
  EXPECT_EQ(joinNetwork.state.sent[1].flags, dplay::DPSEND_HIGHPRIORITY);
  EXPECT_EQ(joinNetwork.state.sent[1].from, 0x30u);
  EXPECT_EQ(joinNetwork.state.sent[1].to, 0x21u);
}

// The events a component raised, as text.
struct EventLog {
  void Attach(TNetPlay& net) {
    net.OnAddPlayer = [this](std::uint32_t id, const std::string& formal, const std::string& friendly) {
      lines.push_back("add " + std::to_string(id) + " " + formal + "/" + friendly);
    };
    net.OnDeletePlayer = [this](std::uint32_t id, const std::string& formal, const std::string& friendly) {
      lines.push_back("delete " + std::to_string(id) + " " + formal + "/" + friendly);
    };
    net.OnGameMessage = [this](std::uint32_t sender, std::uint32_t type, BlockView block) {
      std::uint32_t number;
      std::memcpy(&number, block.data() + 4, 4);
      lines.push_back("game " + std::to_string(sender) + " " + std::to_string(type) + " " + std::to_string(number));
    };
  }
  std::vector<std::string> lines;
};

TEST(NetPlay, DispatchesByTheFirstWordAndKeepsAllFirst) {
  FakeNetwork network;
  TNetPlay net(network);
  EventLog log;
  log.Attach(net);
  net.PlayerLongName = net.PlayerShortName = "Bob";
  net.Connect("Fake A", 0);
  net.JoinSession(7);
  ASSERT_TRUE(net.Running());

  FakeState& s = network.state;
  s.Arrive(0, AddPlayerBlock(3, 0x22, "Cid Formal", "Cid"));
  s.Arrive(0x21, AddPlayerBlock(3, 0x23, "Dan Formal", "Dan"));  // a game block of type 3 is taken for one
  s.Arrive(0, AddPlayerBlock(3, 0x22, "Again", "Again"));        // already listed
  s.Arrive(0, AddPlayerBlock(3, 0, "Nobody", "Nobody"));         // identifier 0 is "All"
  s.Arrive(0x21, MakeBlock(1, 5));
  s.Arrive(0x21, MakeBlock(0, 6));
  s.Arrive(0x21, DeletePlayerBlock(5, 0x22));
  s.Arrive(0, DeletePlayerBlock(5, 0));     // "All" stays
  s.Arrive(0, DeletePlayerBlock(5, 0x99));  // nobody of that name
  s.Arrive(0x21, MakeBlock(7, 8));
  net.Poll();
  EXPECT_EQ(s.serviced, 1);
  EXPECT_EQ(log.lines, (std::vector<std::string>{
                           "add 34 Cid Formal/Cid",
                           "add 35 Dan Formal/Dan",
                           "game 33 1 5",
                           "game 33 0 6",
                           "delete 34 Cid Formal/Cid",
                           "game 33 7 8",
                       }));
  EXPECT_EQ(net.PlayerLongNames, (TaggedList{{"All", 0}, {"Ann Formal", 0x21}, {"Bob", 0x30}, {"Dan Formal", 0x23}}));
  EXPECT_EQ(net.PlayerShortNames, (TaggedList{{"All", 0}, {"Ann", 0x21}, {"Bob", 0x30}, {"Dan", 0x23}}));
  EXPECT_EQ(net.PlayerCount(), 4);
  EXPECT_FALSE(s.event.IsSet());

  // Without handlers the lists still follow.
  net.OnAddPlayer = nullptr;
  net.OnDeletePlayer = nullptr;
  net.OnGameMessage = nullptr;
  s.Arrive(0, AddPlayerBlock(3, 0x24, "Eve", "Eve"));
  s.Arrive(0, DeletePlayerBlock(5, 0x23));
  s.Arrive(0x21, MakeBlock(1));
  net.Poll();
  EXPECT_EQ(net.PlayerShortNames, (TaggedList{{"All", 0}, {"Ann", 0x21}, {"Bob", 0x30}, {"Eve", 0x24}}));
  EXPECT_EQ(log.lines.size(), 6u);
}

TEST(NetPlay, CutsLongNicknamesWithoutSplittingACharacter) {
  FakeNetwork network;
  TNetPlay net(network);
  // 18 bytes, then a two-byte letter across the friendly name's end.
  const std::string nickname = "Zandrel-Champion-X\xC3\xA9t\xC3\xA9-" + std::string(40, 'z');
  net.PlayerLongName = net.PlayerShortName = nickname;
  net.Connect("Fake A", 1);
  ASSERT_EQ(network.state.created.size(), 1u);
  EXPECT_EQ(network.state.created[0].friendly, "Zandrel-Champion-X");
  EXPECT_EQ(network.state.created[0].formal, nickname.substr(0, 51));
  EXPECT_EQ(net.PlayerShortNames.back().text, "Zandrel-Champion-X");
  EXPECT_EQ(net.PlayerLongNames.back().text, nickname.substr(0, 51));
}

TEST(NetPlay, KeepsItsDefaultsAndItsVersion) {
  FakeNetwork network;
  TNetPlay net(network);
  EXPECT_EQ(net.MaxPlayers, 2);
  EXPECT_EQ(net.TimeOut, 500);
  net.SetVersion("Beta 7");
  EXPECT_EQ(net.Version(), "Beta 6");
  EXPECT_EQ(net.PlayerLongNames, (TaggedList{{"All", 0}}));
}

TEST(NetPlay, WithoutANetworkThereIsNothingToConnectTo) {
  const std::unique_ptr<dplay::Network> none = dplay::CreateNullNetwork();
  TNetPlay net(*none);
  EXPECT_EQ(net.ProviderCount, 0);
  CapturedMessages display;
  net.Connect(dplay::kLocalNetworkProviderName, 0);
  net.Poll();
  EXPECT_EQ(display.Texts, std::vector<std::string>{"DirectPlay Create Failed :887700fa"});
  EXPECT_FALSE(net.Running());
}

// Three machines of one loopback session, each with its own component.
TEST(NetPlayOverEnet, PlayersJoinInOrderAndHearEachOther) {
  const dplay::Settings settings = dplay::loopback::LoopbackSettings(72, 1);
  const std::unique_ptr<dplay::Network> hostNetwork = dplay::CreateEnetNetwork(settings);
  const std::unique_ptr<dplay::Network> annNetwork = dplay::CreateEnetNetwork(settings);
  const std::unique_ptr<dplay::Network> bobNetwork = dplay::CreateEnetNetwork(settings);
  TNetPlay host(*hostNetwork), ann(*annNetwork);
  auto bob = std::make_unique<TNetPlay>(*bobNetwork);
  EventLog hostLog, annLog, bobLog;
  const std::pair<TNetPlay*, EventLog*> machines[] = {{&host, &hostLog}, {&ann, &annLog}, {bob.get(), &bobLog}};
  const char* names[] = {"Host", "Ann", "Bob"};
  for (int i = 0; i < 3; ++i) {
    machines[i].first->MaxPlayers = 4;
    machines[i].first->TimeOut = 300;
    machines[i].first->PlayerLongName = machines[i].first->PlayerShortName = names[i];
    machines[i].second->Attach(*machines[i].first);
  }
  host.GameName = "Zandrel - Host";
  host.Connect(dplay::kLocalNetworkProviderName, 1);
  ASSERT_TRUE(host.Running());
  {
    dplay::loopback::Pump pump([&] { host.Poll(); });
    ann.Connect(dplay::kLocalNetworkProviderName, 0);
    ASSERT_EQ(ann.Sessions.size(), 1u);
    EXPECT_EQ(ann.Sessions[0].text, "Zandrel - Host");
    ann.JoinSession(ann.Sessions[0].tag);
  }
  ASSERT_TRUE(ann.Running());
  {
    dplay::loopback::Pump pump([&] {
      host.Poll();
      ann.Poll();
    });
    bob->Connect(dplay::kLocalNetworkProviderName, 0);
    ASSERT_EQ(bob->SessionCount, 1);
    bob->JoinSession(bob->Sessions[0].tag);
  }
  ASSERT_TRUE(bob->Running());
  const auto pollAll = [&] {
    host.Poll();
    ann.Poll();
    if (bob) bob->Poll();
  };
  ASSERT_TRUE(dplay::loopback::StepUntil(pollAll, [&] { return hostLog.lines.size() >= 2 && !annLog.lines.empty(); }));

  const std::uint32_t h = host.LocalPlayerId, a = ann.LocalPlayerId, b = bob->LocalPlayerId;
  EXPECT_EQ(std::set<std::uint32_t>({h, a, b, 0}).size(), 4u);
  const std::string annAdded = "add " + std::to_string(a) + " Ann/Ann";
  const std::string bobAdded = "add " + std::to_string(b) + " Bob/Bob";
  EXPECT_EQ(hostLog.lines, (std::vector<std::string>{annAdded, bobAdded}));
  EXPECT_EQ(annLog.lines, std::vector<std::string>{bobAdded});
  EXPECT_TRUE(bobLog.lines.empty());
  const TaggedList everyone = {{"All", 0}, {"Host", h}, {"Ann", a}, {"Bob", b}};
  for (const auto& [net, log] : machines) {
    EXPECT_EQ(net->PlayerLongNames, everyone);
    EXPECT_EQ(net->PlayerShortNames, everyone);
    EXPECT_EQ(net->PlayerCount(), 4);
  }

  host.SendGameMessage(0, MakeBlock(0, 1));
  bob->SendGameMessage(0, MakeBlock(1, 2));
  ann.SendGameMessage(h, MakeBlock(1, 3));
  ASSERT_TRUE(dplay::loopback::StepUntil(
      pollAll, [&] { return hostLog.lines.size() >= 4 && annLog.lines.size() >= 3 && !bobLog.lines.empty(); }));
  const std::string fromHost = "game " + std::to_string(h) + " 0 1";
  const std::string fromBob = "game " + std::to_string(b) + " 1 2";
  const std::string fromAnn = "game " + std::to_string(a) + " 1 3";
  EXPECT_EQ(std::set<std::string>(hostLog.lines.begin() + 2, hostLog.lines.end()), (std::set{fromBob, fromAnn}));
  EXPECT_EQ(std::set<std::string>(annLog.lines.begin() + 1, annLog.lines.end()), (std::set{fromHost, fromBob}));
  EXPECT_EQ(bobLog.lines, std::vector<std::string>{fromHost});

  // Bob's program ends; the others see him go.
  bob.reset();
  ASSERT_TRUE(
      dplay::loopback::StepUntil(pollAll, [&] { return hostLog.lines.size() >= 5 && annLog.lines.size() >= 4; }));
  const std::string bobGone = "delete " + std::to_string(b) + " Bob/Bob";
  EXPECT_EQ(hostLog.lines.back(), bobGone);
  EXPECT_EQ(annLog.lines.back(), bobGone);
  const TaggedList left = {{"All", 0}, {"Host", h}, {"Ann", a}};
  EXPECT_EQ(host.PlayerLongNames, left);
  EXPECT_EQ(ann.PlayerShortNames, left);
}

}  // namespace
}  // namespace zandrel::net
