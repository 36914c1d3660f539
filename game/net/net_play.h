// The session component: one DirectPlay connection for the game. It lists the service
// providers, creates or joins a session, creates the local player, keeps the lists of
// sessions and players, sends 260-byte game blocks and turns what arrives into three
// events. Every failing DirectPlay call shows its message with the result in hexadecimal
// and leaves the component as it was.
//
// Poll() is the component's receiving side: the window's thread calls it once a frame,
// and the events are raised from there, so the handlers run on the window's thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dplay/dplay.h"

namespace zandrel::net {

constexpr std::size_t kBlockSize = dplay::kBlockSize;
using BlockView = std::span<const std::uint8_t, kBlockSize>;

// A list entry with its tag: a player identifier or a session number.
struct TaggedEntry {
  std::string text;
  std::uint32_t tag = 0;
  friend bool operator==(const TaggedEntry&, const TaggedEntry&) = default;
};
using TaggedList = std::vector<TaggedEntry>;

class TNetPlay {
 public:
  // (player identifier, formal name, friendly name)
  using PlayerEvent =
      std::function<void(std::uint32_t player, const std::string& formalName, const std::string& friendlyName)>;
  // (sender identifier, first 32-bit word of the block, the block)
  using MessageEvent = std::function<void(std::uint32_t sender, std::uint32_t type, BlockView block)>;

  // Enumerates the providers at once. The network outlives the component.
  explicit TNetPlay(dplay::Network& network);
  ~TNetPlay();
  TNetPlay(const TNetPlay&) = delete;
  TNetPlay& operator=(const TNetPlay&) = delete;

  // Published.
  std::string GameName;
  std::string Password;
  std::int32_t MaxPlayers = 2;
  std::int32_t TimeOut = 500;  // session enumeration, ms
  PlayerEvent OnAddPlayer;
  PlayerEvent OnDeletePlayer;
  MessageEvent OnGameMessage;
  // Always "Beta 6": writing it changes nothing.
  const std::string& Version() const { return version_; }
  void SetVersion(std::string_view) {}

  std::vector<std::string> Providers;
  std::int32_t ProviderCount = 0;
  dplay::Guid ProviderGuid;
  dplay::SessionDesc SessionDesc;
  dplay::Guid AppGuid;
  std::string PlayerLongName;   // formal name, up to 51 bytes are sent
  std::string PlayerShortName;  // friendly name, up to 19 bytes are sent
  std::string UserField;
  std::uint32_t LocalPlayerId = 0;
  // Entry 0 is always "All" with identifier 0.
  TaggedList PlayerLongNames;
  TaggedList PlayerShortNames;
  std::int32_t SessionCount = 0;
  TaggedList Sessions;
  std::uint32_t SelectedSession = 0;
  // The result of the last call that failed (DP_OK while none has), so that the caller can
  // say more than the message box, such as that the session is full.
  dplay::HRESULT LastFailure = dplay::DP_OK;

  void ListProviders();
  // The first call creates the object for the provider of that name (a later call keeps
  // it); then creates a session (createFlag 1) or lists the sessions.
  void Connect(std::string_view providerName, std::int32_t createFlag);
  void ListSessions();
  void ListPlayers(std::uint32_t session);
  void JoinSession(std::uint32_t session);
  void CreateSession();
  // Sends from the local player to one player or to all (receiver 0).
  void SendGameMessage(std::uint32_t receiver, BlockView block);

  // Once a frame: services the connection and dispatches every waiting block.
  void Poll();

  // Entries of the player lists, "All" included.
  std::int32_t PlayerCount() const { return static_cast<std::int32_t>(PlayerLongNames.size()); }
  bool Running() const { return running_; }
  dplay::Traffic Traffic() const;

 private:
  void StartReceiving();
  void Fail(const char* message, dplay::HRESULT result);
  void ResetPlayerLists();
  void AddPlayer(std::uint32_t id, const std::string& formalName, const std::string& friendlyName);
  // Player creation after Open; on failure the session is closed again.
  bool CreateLocalPlayer();
  void Dispatch(std::uint32_t sender, const dplay::Block& block);

  dplay::Network& network_;
  std::unique_ptr<dplay::DirectPlay> play_;
  dplay::ReceiveEvent* receiveEvent_ = nullptr;
  std::string providerName_;
  bool running_ = false;
  dplay::Block buffer_{};
  const std::string version_ = "Beta 6";
};

}  // namespace zandrel::net
