// Machines of a loopback session for the layer's tests: each has its own network and
// DirectPlay object, as separate computers would.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/dplay/dplay.h"
#include "tests/platform/dplay/loopback.h"

namespace zandrel::dplay::loopback {

struct Received {
  DPID from = 0;
  DPID to = 0;
  Block block{};
  std::uint32_t Word(std::size_t offset) const {
    std::uint32_t value;
    std::memcpy(&value, block.data() + offset, 4);
    return value;
  }
  std::string Text(std::size_t offset, std::size_t size) const {
    return FieldText(reinterpret_cast<const char*>(block.data() + offset), size);
  }
};

// A game block: its type, then a number.
inline Block MakeBlock(std::uint32_t type, std::uint32_t number = 0) {
  Block block{};
  std::memcpy(block.data(), &type, 4);
  std::memcpy(block.data() + 4, &number, 4);
  return block;
}

inline Guid ProviderNamed(Network& network, std::string_view wanted) {
  Guid found;
  network.DirectPlayEnumerate([&](const Guid& guid, std::string_view name) {
    if (name == wanted) found = guid;
    return true;
  });
  return found;
}

struct Machine {
  explicit Machine(const Settings& settings, std::string_view provider = kLocalNetworkProviderName)
      : network(CreateEnetNetwork(settings)) {
    EXPECT_EQ(network->DirectPlayCreate(ProviderNamed(*network, provider), play), DP_OK);
  }

  void Service() { play->Service(); }

  // Every block waiting now.
  std::vector<Received> Drain() {
    std::vector<Received> received;
    Received next;
    std::uint32_t size = kBlockSize;
    while (play->Receive(next.from, next.to, DPRECEIVE_ALL, next.block.data(), size) == DP_OK) {
      received.push_back(next);
      size = kBlockSize;
    }
    return received;
  }

  HRESULT Send(DPID to, const Block& block, std::uint32_t flags = DPSEND_HIGHPRIORITY) {
    return play->Send(id, to, flags, block.data(), kBlockSize);
  }

  std::unique_ptr<Network> network;
  std::unique_ptr<DirectPlay> play;
  DPID id = 0;
  ReceiveEvent* event = nullptr;
};

inline SessionDesc CreateDesc(std::string_view name, std::uint32_t maxPlayers, std::string_view password = "",
                              const Guid& application = {}) {
  SessionDesc desc;
  desc.guidSession = application;
  desc.dwMaxPlayers = maxPlayers;
  desc.dwFlags = DPOPEN_CREATESESSION;
  CopyName(name, desc.szSessionName, kSessionNameSize);
  CopyName(password, desc.szPassword, kPasswordSize);
  return desc;
}

// A created session with its host's player.
inline void Host(Machine& host, std::string_view sessionName, std::uint32_t maxPlayers, std::string_view password = "",
                 const Guid& application = {}) {
  ASSERT_EQ(host.play->Open(CreateDesc(sessionName, maxPlayers, password, application)), DP_OK);
  ASSERT_EQ(host.play->CreatePlayer(host.id, "Host", "The Host", host.event), DP_OK);
  EXPECT_NE(host.id, 0u);
}

// The sessions `machine` finds, while `others` are serviced.
inline std::vector<SessionDesc> Enumerate(Machine& machine, const std::vector<Machine*>& others,
                                          const SessionDesc& desc = SessionDesc{}, std::uint32_t timeoutMs = 300,
                                          std::uint32_t flags = DPENUMSESSIONS_ALL, HRESULT* result = nullptr) {
  std::vector<SessionDesc> found;
  Pump pump([&] {
    for (Machine* other : others) other->Service();
  });
  const HRESULT enumerated = machine.play->EnumSessions(
      desc, timeoutMs,
      [&](const SessionDesc& session) {
        found.push_back(session);
        return true;
      },
      flags);
  if (result != nullptr) *result = enumerated;
  return found;
}

// Opens the first session found with `password` and creates the player `name`; the
// result of whichever call failed.
inline HRESULT Join(Machine& joiner, const std::vector<Machine*>& others, std::string_view name,
                    std::string_view password = "") {
  SessionDesc search;
  CopyName(password, search.szPassword, kPasswordSize);
  const std::vector<SessionDesc> sessions = Enumerate(joiner, others, search);
  if (sessions.empty()) return DPERR_TIMEOUT;
  Pump pump([&] {
    for (Machine* other : others) other->Service();
  });
  SessionDesc desc;
  desc.dwSession = sessions.front().dwSession;
  desc.dwFlags = DPOPEN_OPENSESSION;
  CopyName(password, desc.szPassword, kPasswordSize);
  if (const HRESULT opened = joiner.play->Open(desc); opened != DP_OK) return opened;
  return joiner.play->CreatePlayer(joiner.id, name, std::string(name) + " Formal", joiner.event);
}

// Services every machine until `done` answers true.
inline bool ServiceUntil(const std::vector<Machine*>& machines, const std::function<bool()>& done,
                         std::uint32_t timeoutMs = 3000) {
  return StepUntil(
      [&] {
        for (Machine* machine : machines) machine->Service();
      },
      done, timeoutMs);
}

// Services every machine until each has had `blocks` blocks, collecting them.
inline bool CollectUntil(const std::vector<Machine*>& machines, std::vector<std::vector<Received>>& got,
                         const std::vector<std::size_t>& blocks, std::uint32_t timeoutMs = 3000) {
  got.resize(machines.size());
  return ServiceUntil(
      machines,
      [&] {
        bool all = true;
        for (std::size_t i = 0; i < machines.size(); ++i) {
          for (Received& r : machines[i]->Drain()) got[i].push_back(r);
          all = all && got[i].size() >= blocks[i];
        }
        return all;
      },
      timeoutMs);
}

// Services every machine for `ms`, collecting whatever arrives.
inline void CollectFor(const std::vector<Machine*>& machines, std::vector<std::vector<Received>>& got,
                       std::uint32_t ms) {
  got.resize(machines.size());
  ServiceUntil(
      machines,
      [&] {
        for (std::size_t i = 0; i < machines.size(); ++i) {
          for (Received& r : machines[i]->Drain()) got[i].push_back(r);
        }
        return false;
      },
      ms);
}

// The host's session for four, `sessionName`, with Ann and then Bob joined and the
// add-player blocks of their joining taken.
inline void HostWithAnnAndBob(Machine& host, Machine& ann, Machine& bob, std::string_view sessionName) {
  Host(host, sessionName, 4);
  ASSERT_EQ(Join(ann, {&host}, "Ann"), DP_OK);
  ASSERT_EQ(Join(bob, {&host, &ann}, "Bob"), DP_OK);
  std::vector<std::vector<Received>> joins;
  ASSERT_TRUE(CollectUntil({&host, &ann, &bob}, joins, {2, 1, 0}));
}

}  // namespace zandrel::dplay::loopback
