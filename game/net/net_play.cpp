#include "game/net/net_play.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/win/message.h"

namespace zandrel::net {
namespace {

// "All" and a full session's players; a list that is full takes no more entries.
constexpr std::size_t kPlayerListLimit = dplay::kPlayerLimit + 1;
// Blocks dispatched by one Poll; the rest wait for the next frame.
constexpr int kBlocksPerPoll = 512;

void ShowFailure(const char* message, dplay::HRESULT result) {
  char text[96];
  std::snprintf(text, sizeof text, message, static_cast<unsigned>(result));
  win::ShowMessage(text);
}

std::uint32_t Word(std::span<const std::uint8_t> block, std::size_t offset) {
  return static_cast<std::uint32_t>(block[offset]) | static_cast<std::uint32_t>(block[offset + 1]) << 8 |
         static_cast<std::uint32_t>(block[offset + 2]) << 16 | static_cast<std::uint32_t>(block[offset + 3]) << 24;
}

std::string Name(const dplay::Block& block, std::size_t offset, std::size_t size) {
  return dplay::FieldText(reinterpret_cast<const char*>(block.data() + offset), size);
}

// Index of the player entry with this identifier; "All" is never found.
std::optional<std::size_t> PlayerIndex(const TaggedList& list, std::uint32_t id) {
  for (std::size_t i = 1; i < list.size(); ++i) {
    if (list[i].tag == id) return i;
  }
  return std::nullopt;
}

}  // namespace

TNetPlay::TNetPlay(dplay::Network& network) : network_(network) {
  ResetPlayerLists();
  ListProviders();
}

TNetPlay::~TNetPlay() {
  running_ = false;
  if (play_ != nullptr) play_->Close();
}

void TNetPlay::ListProviders() {
  std::vector<std::string> names;
  const dplay::HRESULT result = network_.DirectPlayEnumerate([&](const dplay::Guid&, std::string_view name) {
    names.emplace_back(name);
    return true;
  });
  if (dplay::Failed(result)) return Fail("Enum Servers Failed :%x", result);
  Providers = std::move(names);
  ProviderCount = static_cast<std::int32_t>(Providers.size());
}

void TNetPlay::Connect(std::string_view providerName, std::int32_t createFlag) {
  if (play_ == nullptr) {
    providerName_ = providerName;
    dplay::Guid provider;
    const dplay::HRESULT found = network_.DirectPlayEnumerate([&](const dplay::Guid& guid, std::string_view name) {
      if (name == providerName_) provider = guid;
      return true;
    });
    if (dplay::Failed(found)) return Fail("Enum Servers Failed :%x", found);
    std::unique_ptr<dplay::DirectPlay> object;
    const dplay::HRESULT created = network_.DirectPlayCreate(provider, object);
    if (dplay::Failed(created) || object == nullptr) return Fail("DirectPlay Create Failed :%x", created);
    ProviderGuid = provider;
    play_ = std::move(object);
  }
  if (createFlag == 1) {
    CreateSession();
  } else {
    ListSessions();
  }
}

void TNetPlay::ListSessions() {
  if (play_ == nullptr) return;
  dplay::SessionDesc desc;
  desc.guidSession = AppGuid;
  dplay::CopyName(Password, desc.szPassword, dplay::kPasswordSize);
  TaggedList found;
  const dplay::HRESULT result = play_->EnumSessions(
      desc, static_cast<std::uint32_t>(std::max(TimeOut, 0)),
      [&](const dplay::SessionDesc& session) {
        found.push_back({dplay::FieldText(session.szSessionName, dplay::kSessionNameSize), session.dwSession});
        return true;
      },
      dplay::DPENUMSESSIONS_ALL);
  if (dplay::Failed(result)) return Fail("EnumSessions Failed :%x", result);
  SessionDesc = desc;
  Sessions = std::move(found);
  SessionCount = static_cast<std::int32_t>(Sessions.size());
}

void TNetPlay::ResetPlayerLists() {
  PlayerLongNames = {{"All", 0}};
  PlayerShortNames = {{"All", 0}};
}

void TNetPlay::AddPlayer(std::uint32_t id, const std::string& formalName, const std::string& friendlyName) {
  PlayerLongNames.push_back({formalName, id});
  PlayerShortNames.push_back({friendlyName, id});
}

void TNetPlay::ListPlayers(std::uint32_t session) {
  if (play_ == nullptr) return;
  TaggedList longNames = {{"All", 0}};
  TaggedList shortNames = {{"All", 0}};
  const dplay::HRESULT result = play_->EnumPlayers(
      session,
      [&](dplay::DPID id, std::string_view friendlyName, std::string_view formalName) {
        if (longNames.size() < kPlayerListLimit) {
          longNames.push_back({std::string(formalName), id});
          shortNames.push_back({std::string(friendlyName), id});
        }
        return true;
      },
      dplay::DPENUMPLAYERS_SESSION);
  if (dplay::Failed(result)) return Fail("EnumPlayers Failed :%x", result);
  SelectedSession = session;
  PlayerLongNames = std::move(longNames);
  PlayerShortNames = std::move(shortNames);
}

bool TNetPlay::CreateLocalPlayer() {
  dplay::DPID id = 0;
  dplay::ReceiveEvent* event = nullptr;
  const dplay::HRESULT result = play_->CreatePlayer(id, dplay::FitName(PlayerShortName, dplay::kFriendlyNameSize),
                                                    dplay::FitName(PlayerLongName, dplay::kFormalNameSize), event);
  if (dplay::Failed(result)) {
    Fail("Local Player Create Failed :%x", result);
    // Without its player the session is of no use: leave it, so that a new try can open one.
    play_->Close();
    return false;
  }
  LocalPlayerId = id;
  receiveEvent_ = event;
  return true;
}

void TNetPlay::JoinSession(std::uint32_t session) {
  if (play_ == nullptr) return;
  SelectedSession = session;
  ListPlayers(session);
  dplay::SessionDesc desc;
  desc.guidSession = AppGuid;
  desc.dwSession = session;
  desc.dwFlags = dplay::DPOPEN_OPENSESSION;
  const dplay::HRESULT result = play_->Open(desc);
  if (dplay::Failed(result)) return Fail("Open Failed :%x", result);
  if (!CreateLocalPlayer()) return;
  SessionDesc = desc;
  if (PlayerLongNames.size() < kPlayerListLimit) {
    AddPlayer(LocalPlayerId, dplay::FitName(PlayerLongName, dplay::kFormalNameSize),
              dplay::FitName(PlayerShortName, dplay::kFriendlyNameSize));
  }
  StartReceiving();
}

void TNetPlay::CreateSession() {
  if (play_ == nullptr) return;
  dplay::SessionDesc desc;
  desc.guidSession = AppGuid;
  desc.dwMaxPlayers = static_cast<std::uint32_t>(std::max(MaxPlayers, 0));
  desc.dwFlags = dplay::DPOPEN_CREATESESSION;
  dplay::CopyName(GameName, desc.szSessionName, dplay::kSessionNameSize);
  dplay::CopyName(Password, desc.szPassword, dplay::kPasswordSize);
  dplay::CopyName(UserField, desc.szUserField, dplay::kUserFieldSize);
  const dplay::HRESULT result = play_->Open(desc);
  if (dplay::Failed(result)) return Fail("DirectPlay Open Failed :%x", result);
  if (!CreateLocalPlayer()) return;
  SessionDesc = desc;
  ResetPlayerLists();
  AddPlayer(LocalPlayerId, dplay::FitName(PlayerLongName, dplay::kFormalNameSize),
            dplay::FitName(PlayerShortName, dplay::kFriendlyNameSize));
  StartReceiving();
}

void TNetPlay::StartReceiving() { running_ = true; }

void TNetPlay::Fail(const char* message, dplay::HRESULT result) {
  LastFailure = result;
  ShowFailure(message, result);
}

void TNetPlay::SendGameMessage(std::uint32_t receiver, BlockView block) {
  if (play_ == nullptr) return;
  // The start block (type 0) must arrive, and before anything sent after it; a position
  // block is worth nothing once a newer one is out, so it may be lost.
  const std::uint32_t flags = dplay::DPSEND_HIGHPRIORITY | (Word(block, 0) == 0 ? dplay::DPSEND_GUARANTEE : 0);
  play_->Send(LocalPlayerId, receiver, flags, block.data(), kBlockSize);
}

void TNetPlay::Poll() {
  if (!running_ || play_ == nullptr) return;
  play_->Service();
  if (receiveEvent_ == nullptr || !receiveEvent_->IsSet()) return;
  receiveEvent_->Reset();
  for (int taken = 0; taken < kBlocksPerPoll; ++taken) {
    dplay::DPID from = 0;
    dplay::DPID to = LocalPlayerId;
    std::uint32_t size = kBlockSize;
    if (dplay::Failed(play_->Receive(from, to, dplay::DPRECEIVE_ALL, buffer_.data(), size))) return;
    Dispatch(from, buffer_);
  }
  receiveEvent_->Set();  // more waiting: the next frame goes on
}

void TNetPlay::Dispatch(std::uint32_t sender, const dplay::Block& block) {
  const std::uint32_t type = Word(block, 0);
  if (type == dplay::DPSYS_ADDPLAYER) {
    const std::uint32_t id = Word(block, dplay::kAddPlayerIdOffset);
    if (id == 0 || PlayerIndex(PlayerLongNames, id) || PlayerLongNames.size() >= kPlayerListLimit) return;
    const std::string formalName = Name(block, dplay::kAddPlayerFormalNameOffset, dplay::kFormalNameSize);
    const std::string friendlyName = Name(block, dplay::kAddPlayerFriendlyNameOffset, dplay::kFriendlyNameSize);
    AddPlayer(id, formalName, friendlyName);
    if (OnAddPlayer) OnAddPlayer(id, formalName, friendlyName);
  } else if (type == dplay::DPSYS_DELETEPLAYER) {
    const std::uint32_t id = Word(block, dplay::kDeletePlayerIdOffset);
    const std::optional<std::size_t> formal = PlayerIndex(PlayerLongNames, id);
    const std::optional<std::size_t> friendly = PlayerIndex(PlayerShortNames, id);
    if (!formal || !friendly) return;
    const std::string formalName = PlayerLongNames[*formal].text;
    const std::string friendlyName = PlayerShortNames[*friendly].text;
    PlayerLongNames.erase(PlayerLongNames.begin() + static_cast<std::ptrdiff_t>(*formal));
    PlayerShortNames.erase(PlayerShortNames.begin() + static_cast<std::ptrdiff_t>(*friendly));
    if (OnDeletePlayer) OnDeletePlayer(id, formalName, friendlyName);
  } else if (OnGameMessage) {
    OnGameMessage(sender, type, BlockView(block));
  }
}

dplay::Traffic TNetPlay::Traffic() const { return play_ != nullptr ? play_->Statistics() : dplay::Traffic{}; }

}  // namespace zandrel::net
