#include "game/net/network_game.h"

#include <algorithm>

#include "engine/picture.h"
#include "game/net/messages.h"
#include "game/screens.h"
#include "platform/win/message.h"

namespace zandrel::net {
namespace {

constexpr std::int32_t kLastSlotLimit = world::kPlayerSlotCount - 1;

world::PlayerSlot& SlotAt(game::Game& game, std::size_t index) { return game.World->Players[index]; }

}  // namespace

NetworkGame::NetworkGame(dplay::Settings settings) {
  settings.addressPrompt = this;
  network_ = dplay::CreateEnetNetwork(std::move(settings));
  NewComm();
}

NetworkGame::~NetworkGame() = default;

void NetworkGame::NewComm() {
  comm_.reset();  // the old session is left before a new one can be opened
  comm_ = std::make_unique<TNetPlay>(*network_);
  TNetPlay& comm = *comm_;
  comm.GameName = "Zandrel";
  comm.MaxPlayers = world::kPlayerSlotCount;
  comm.TimeOut = SearchTimeOut;
  comm.OnAddPlayer = [this](std::uint32_t id, const std::string& formal, const std::string& friendly) {
    CommAddPlayer(id, formal, friendly);
  };
  comm.OnDeletePlayer = [this](std::uint32_t id, const std::string& formal, const std::string& friendly) {
    CommDeletePlayer(id, formal, friendly);
  };
  comm.OnGameMessage = [this](std::uint32_t sender, std::uint32_t type, BlockView block) {
    CommGameMessage(sender, type, block);
  };
  hosting_ = false;
  hostId_ = 0;
}

void NetworkGame::ResetSlots() {
  if (game_ == nullptr) return;
  world::World& world = *game_->World;
  world.LastSlot = 0;
  world.LocalSlot = 0;
  for (world::PlayerSlot& slot : world.Players) {
    slot.PlayerId = 0;
    slot.Gone = false;
  }
}

std::optional<std::string> NetworkGame::AskAddress() {
  if (address_.empty()) return std::nullopt;
  return address_;
}

void NetworkGame::Poll(game::Game& game) {
  game_ = &game;
  comm_->Poll();
}

void NetworkGame::StartSession(game::Game& game, const game::NetStart& start) {
  direct_ = start;
  if (game.Frame.CurrentScreen == game::Screen::Network) return EnterLobby(game);  // the lobby again, afresh
  game::ChangeScreen(game, game::Screen::Network);
}

void NetworkGame::EnterLobby(game::Game& game) {
  game_ = &game;
  NewComm();
  ResetSlots();
  state_ = NetState::ChoosingConnection;
  step_ = LobbyStep::Nickname;
  focus_ = LobbyFocus::List;
  input_.clear();
  address_.clear();
  status_.clear();
  joinEnabled_ = newGameEnabled_ = true;
  // What was typed before the lobby opened (the N that opened it) is not the nickname's.
  game.Services.Input.TypedText();
  previous_ = game.Hero().Controls;
  for (std::size_t key = 0; key < held_.size(); ++key) held_[key] = true;
  ShowProviders();
  lobbyRefreshTime_ = game.Frame.LastTick;
  if (engine::Picture& panel = game.Engine.Pictures[kLobbySlot]; panel.Empty()) {
    // Without its panel the lobby still works, on black.
    engine::LoadPicture(game.Engine, kLobbySlot, "INTERF\\LOBBY.PCX", game.Services.DataFolder);
  }
  if (direct_ && !direct_->Nickname.empty()) AcceptNickname(game, direct_->Nickname);
}

void NetworkGame::AcceptNickname(game::Game& game, std::string nickname) {
  nickname_ = dplay::FitName(nickname, dplay::kFormalNameSize);
  if (nickname_.empty()) nickname_ = kDefaultNickname;
  comm_->PlayerLongName = nickname_;
  comm_->PlayerShortName = nickname_;
  step_ = LobbyStep::List;
  input_.clear();
  CarryOnDirectStart(game);
}

void NetworkGame::AcceptAddress(game::Game& game, std::string address) {
  step_ = LobbyStep::List;
  input_.clear();
  if (address.empty()) return;  // nothing asked for: the providers again
  address_ = std::move(address);
  JoinGameClick(game);
}

void NetworkGame::LeaveLobby(game::Game& game) {
  NewComm();
  ResetSlots();
  direct_.reset();
  state_ = NetState::ChoosingConnection;
  // Letters of the nickname were typed on keys the title reads.
  for (int key = 'A'; key <= 'Z'; ++key) game.Services.Input.KeyDown(key);
  game.Services.Sounds.PlayInterface(game::InterfaceSound::Choice);
  game::ChangeScreen(game, game::Screen::Title);
}

void NetworkGame::FillList(std::vector<std::string> entries) {
  list_ = std::move(entries);
  if (selected_ >= static_cast<std::int32_t>(list_.size())) selected_ = static_cast<std::int32_t>(list_.size()) - 1;
  if (selected_ < 0 && !list_.empty()) selected_ = 0;
}

void NetworkGame::ShowProviders() {
  selected_ = -1;
  FillList(comm_->Providers);
}

void NetworkGame::ShowSessions() {
  std::vector<std::string> names;
  for (const TaggedEntry& session : comm_->Sessions) names.push_back(session.text);
  selected_ = -1;
  FillList(std::move(names));
}

void NetworkGame::ShowPlayers() {
  std::vector<std::string> names;
  for (std::size_t i = 1; i < comm_->PlayerLongNames.size(); ++i) names.push_back(comm_->PlayerLongNames[i].text);
  FillList(std::move(names));
}

bool NetworkGame::AddressProviderSelected() const {
  return selected_ >= 0 && selected_ < static_cast<std::int32_t>(list_.size()) &&
         list_[static_cast<std::size_t>(selected_)] == dplay::kAddressProviderName;
}

void NetworkGame::JoinGameClick(game::Game& game) {
  if (selected_ < 0 || selected_ >= static_cast<std::int32_t>(list_.size())) return;
  game_ = &game;
  if (state_ == NetState::ChoosingConnection) {
    if (AddressProviderSelected() && address_.empty()) {
      step_ = LobbyStep::Address;  // the provider's question, asked in the lobby's own prompt
      input_.clear();
      return;
    }
    comm_->Connect(list_[static_cast<std::size_t>(selected_)], 0);
    state_ = NetState::ChoosingSession;
    ShowSessions();
    status_ = comm_->Sessions.empty() ? "NO GAME FOUND" : "";
    newGameEnabled_ = false;
    sessionSearchTime_ = game.Frame.LastTick;
  } else if (state_ == NetState::ChoosingSession) {
    if (selected_ >= static_cast<std::int32_t>(comm_->Sessions.size())) return;
    comm_->JoinSession(comm_->Sessions[static_cast<std::size_t>(selected_)].tag);
    if (!comm_->Running()) {
      // The list stays up for another try.
      status_ = comm_->LastFailure == dplay::DPERR_NONEWPLAYERS ? "THE SESSION IS FULL" : "THE GAME CANNOT BE JOINED";
      return;
    }
    // The session's creator is its first player.
    hostId_ = comm_->PlayerLongNames.size() > 2 ? comm_->PlayerLongNames[1].tag : 0;
    state_ = NetState::InSession;
    joinEnabled_ = false;
    status_ = "WAITING FOR THE HOST TO START";
    selected_ = -1;
    ShowPlayers();
  }
}

void NetworkGame::NewGameClick(game::Game& game) {
  game_ = &game;
  if (state_ == NetState::ChoosingConnection) {
    if (selected_ < 0 || selected_ >= static_cast<std::int32_t>(list_.size())) return;
    comm_->GameName = "Zandrel - " + nickname_;
    comm_->Connect(list_[static_cast<std::size_t>(selected_)], 1);
    if (!comm_->Running()) {
      status_ = "THE GAME CANNOT BE CREATED";
      return;
    }
    hosting_ = true;
    joinEnabled_ = false;
    state_ = NetState::InSession;
    status_ = "PRESS GO TO START";
    selected_ = -1;
    ShowPlayers();
  } else if (state_ == NetState::InSession && hosting_) {
    state_ = NetState::Started;
    world::World& world = *game.World;
    dplay::Block block{};
    for (std::int32_t i = 0; i <= world.LastSlot; ++i) {
      EncodeStart({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(world.LastSlot)}, block);
      comm_->SendGameMessage(SlotAt(game, static_cast<std::size_t>(i)).PlayerId, BlockView(block));
    }
    world.LocalSlot = 0;
    StartNetworkLevel(game);
  }
}

void NetworkGame::StartNetworkLevel(game::Game& game) {
  world::PlayerSlot& hero = game.Hero();
  const auto levels = static_cast<std::int32_t>(game.LevelList.size());
  hero.LevelIndex = std::clamp(game.NetworkLevel, 0, std::max(levels - 1, 0));
  hero.Lives = game.NetworkLives;
  if (levels == 0) return;
  game::StartLevel(game, game.LevelList[static_cast<std::size_t>(hero.LevelIndex)]);
}

void NetworkGame::CommAddPlayer(std::uint32_t player, const std::string&, const std::string&) {
  if (game_ == nullptr) return;
  world::World& world = *game_->World;
  // Four slots at most; and once the game has started a newcomer gets none, since no start
  // message will ever give it one.
  if (world.LastSlot >= kLastSlotLimit || state_ == NetState::Started) return;
  ++world.LastSlot;
  world::PlayerSlot& slot = world.Players[static_cast<std::size_t>(world.LastSlot)];
  slot.PlayerId = player;
  slot.Gone = false;
}

void NetworkGame::CommDeletePlayer(std::uint32_t player, const std::string&, const std::string&) {
  if (game_ == nullptr || player == 0) return;
  world::World& world = *game_->World;
  if (state_ != NetState::Started && player == hostId_) status_ = "THE HOST HAS CLOSED THE GAME";
  for (std::int32_t i = 0; i <= kLastSlotLimit; ++i) {
    world::PlayerSlot& slot = world.Players[static_cast<std::size_t>(i)];
    if (i == world.LocalSlot || slot.PlayerId != player) continue;
    if (state_ == NetState::Started) {
      // In play everyone keeps the slot numbers the start gave them.
      slot.Gone = true;
    } else if (i <= world.LastSlot) {
      // Before the start nobody has a number yet: the later players move up.
      for (std::int32_t j = i; j < world.LastSlot; ++j) {
        world.Players[static_cast<std::size_t>(j)].PlayerId = world.Players[static_cast<std::size_t>(j + 1)].PlayerId;
      }
      world.Players[static_cast<std::size_t>(world.LastSlot)].PlayerId = 0;
      --world.LastSlot;
    }
    return;
  }
}

void NetworkGame::CommGameMessage(std::uint32_t sender, std::uint32_t type, BlockView block) {
  if (game_ == nullptr) return Ignore();
  game::Game& game = *game_;
  world::World& world = *game.World;
  if (type == kStartMessage) {
    const StartMessage start = DecodeStart(block);
    const bool fromHost = !hosting_ && state_ >= NetState::InSession && (hostId_ == 0 || sender == hostId_);
    if (!fromHost || start.LastSlot > kLastSlotLimit || start.Slot > start.LastSlot) return Ignore();
    state_ = NetState::Started;
    for (world::PlayerSlot& slot : world.Players) {
      slot.PlayerId = 0;
      slot.Gone = false;
    }
    world.Players[0].PlayerId = sender;
    world.LocalSlot = start.Slot;
    world.LastSlot = start.LastSlot;
    StartNetworkLevel(game);
  } else if (type == kPositionMessage) {
    const PositionMessage position = DecodePosition(block);
    if (position.Slot > kLastSlotLimit || position.Slot == world.LocalSlot) return Ignore();
    world::PlayerSlot& slot = world.Players[position.Slot];
    if (slot.PlayerId != 0 && slot.PlayerId != sender) return Ignore();
    // A joined machine learns who plays a slot from the first position sent for it.
    slot.PlayerId = sender;
    ApplyPosition(position, slot);
  } else {
    Ignore();
  }
}

void NetworkGame::SendPosition(const game::Game& game) {
  if (!comm_->Running()) return;
  const world::World& world = *game.World;
  dplay::Block block{};
  const auto local = static_cast<std::size_t>(world.LocalSlot);
  EncodePosition(PositionOf(world.Players[local], static_cast<std::uint8_t>(local)), block);
  comm_->SendGameMessage(0, BlockView(block));
}

void NetworkGame::CarryOnDirectStart(game::Game& game) {
  if (!direct_ || step_ != LobbyStep::List) return;
  const game::NetStart& start = *direct_;
  const auto provider = [&](std::string_view name) {
    const auto it = std::find(list_.begin(), list_.end(), name);
    selected_ = it == list_.end() ? -1 : static_cast<std::int32_t>(it - list_.begin());
  };
  if (state_ == NetState::ChoosingConnection) {
    if (start.Host) {
      provider(dplay::kLocalNetworkProviderName);
      NewGameClick(game);
    } else {
      address_ = start.Address;
      provider(dplay::kAddressProviderName);
      JoinGameClick(game);
    }
  }
  if (state_ == NetState::ChoosingSession && !comm_->Sessions.empty()) {
    selected_ = 0;
    JoinGameClick(game);
    if (state_ == NetState::ChoosingSession) {
      // Refused (the session is full, or turned the player away): there is nothing more to
      // try on the player's behalf.
      win::ShowMessage(status_);
      LeaveLobby(game);
    }
  }
}

std::optional<game::NetReport> NetworkGame::Report() const {
  if (!comm_->Running() || game_ == nullptr) return std::nullopt;
  const world::World& world = *game_->World;
  game::NetReport report;
  for (std::size_t i = 1; i < comm_->PlayerLongNames.size(); ++i) {
    const TaggedEntry& player = comm_->PlayerLongNames[i];
    std::int32_t slot = -1;
    if (player.tag == comm_->LocalPlayerId) {
      slot = world.LocalSlot;
    } else {
      for (std::int32_t s = 0; s <= kLastSlotLimit; ++s) {
        if (s != world.LocalSlot && world.Players[static_cast<std::size_t>(s)].PlayerId == player.tag) slot = s;
      }
    }
    report.Players.push_back({slot, player.tag, player.text});
  }
  const dplay::Traffic traffic = comm_->Traffic();
  report.Sent = traffic.sent;
  report.Received = traffic.received;
  report.Refused = traffic.refused + ignored_;
  report.Dropped = traffic.dropped;
  return report;
}

}  // namespace zandrel::net
