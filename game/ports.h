// What the game shell asks of the machine: controls, sounds and music. The program main
// plugs in the keyboard, joystick and sound devices; the headless runner a script and
// silence. The shell itself never touches a device.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "engine/render_view.h"
#include "input/control_flags.h"
#include "input/virtual_keys.h"
#include "world/world_sounds.h"

namespace zandrel::game {

class Game;

// The pointer over the game's picture: its place in fractions of the picture's width and
// height (outside 0..1 when it is off the picture), and whether its left button went down
// since the previous query.
struct PointerState {
  float X = -1, Y = -1;
  bool Clicked = false;
};

class Controls {
 public:
  virtual ~Controls() = default;
  // This frame's control flags, from scratch.
  virtual void ReadControls(input::ControlFlags& flags) = 0;
  // Down now or pressed since the previous query of that key.
  virtual bool KeyDown(int virtualKey) = 0;
  // Returns when no key is down.
  virtual void WaitAllKeysUp() = 0;
  // The text typed since the previous query, UTF-8; none without a keyboard.
  virtual std::string TypedText() { return {}; }
  // None without a pointer.
  virtual PointerState Pointer() { return {}; }
};

enum class InterfaceSound { Choice, Click, Timer };  // CHOIX, CLIC, TIMER

class GameSounds : public world::WorldSounds {
 public:
  // A sound of the object bank, played later by its handle (kNoSound without a device).
  virtual world::SoundHandle LoadSound(std::string_view fileName) = 0;
  virtual void LoadInterfaceSounds() = 0;
  virtual void PlayInterface(InterfaceSound sound) = 0;
  // Positions and volumes of the playing sounds follow the listener.
  virtual void UpdateSounds(const engine::Camera& listener) = 0;
  virtual void StopAllSounds() = 0;
};

class GameMusic {
 public:
  virtual ~GameMusic() = default;
  virtual void PlayMusic(std::int32_t entry) = 0;
  virtual void StopMusic() = 0;
  // Restarts an ended looping piece.
  virtual void PollMusic() = 0;
  virtual void SetMusicVolume(std::int32_t volume) = 0;
  // Closes the video clip on screen, if one is; silence shows none.
  virtual void CloseClip() {}
  // Loads an entry ahead of its play (a level's music cells, at the level's start).
  virtual void PrepareMusic(std::int32_t) {}
};

// The window around the picture, where there is one.
class GameWindow {
 public:
  virtual ~GameWindow() = default;
  // Black all over with one line of text centred, in the window's own font: what shows
  // before the game's fonts are loaded.
  virtual void PaintText(std::string_view text) = 0;
  // Between windowed and full screen; false when the system refused.
  virtual bool ToggleFullscreen() = 0;
  virtual bool Fullscreen() const = 0;
  // The picture's resolution changed: a windowed window grows to show it whole.
  virtual void DisplaySizeChanged(int width, int height) = 0;
  // The mouse pointer over the window: hidden while the game plays, shown where it is used
  // (the network lobby) and when the game ends.
  virtual void ShowPointer(bool shown) = 0;
  // Writes the last presented picture as a PNG file; answers where.
  virtual base::Expected<std::filesystem::path> SaveScreenshot() = 0;
};

// A player of the network session, as the headless summary names it.
struct NetPlayer {
  std::int32_t Slot = -1;  // -1: not known on this machine
  std::uint32_t Id = 0;
  std::string Name;
};

// What a network session has carried.
struct NetReport {
  std::vector<NetPlayer> Players;
  std::uint32_t Sent = 0, Received = 0;
  std::uint32_t Refused = 0;  // malformed packets, and messages ignored for a bad slot, type or size
  std::uint32_t Dropped = 0;  // well-formed blocks beyond a peer's share
};

// A session started from the command line rather than through the lobby's choices.
struct NetStart {
  bool Host = false;         // create a session; else join the one at Address
  std::string Address;       // host name or address, optionally ":port"
  std::string Nickname;      // empty: asked in the lobby
  std::int32_t Players = 0;  // the host presses "Go" once this many players (itself included) are in; 0: never
};

// The network session as the shell sees it. Without one (NoNetwork) nothing arrives,
// nothing is sent and the lobby offers nothing.
class GameNetwork {
 public:
  virtual ~GameNetwork() = default;
  // At the start of every frame: the session's pending work, and the handlers of what
  // arrived (players joining and leaving, start and position messages), on this thread.
  virtual void Poll(Game& game) = 0;
  // The network branch of entering the lobby screen; then its frame, which draws and
  // presents its own picture.
  virtual void EnterLobby(Game& game) = 0;
  virtual void LobbyFrame(Game& game) = 0;
  // The first step of a play frame with network players: the local slot's position to all.
  virtual void SendPosition(const Game& game) = 0;
  // Enters the lobby and goes on to host or join at once.
  virtual void StartSession(Game& game, const NetStart& start) = 0;
  // Nothing before a session is open.
  virtual std::optional<NetReport> Report() const = 0;
};

class NoNetwork final : public GameNetwork {
 public:
  void Poll(Game&) override {}
  void EnterLobby(Game&) override {}
  // There is nothing to choose: back to the title.
  void LobbyFrame(Game& game) override;
  void SendPosition(const Game&) override {}
  void StartSession(Game&, const NetStart&) override {}
  std::optional<NetReport> Report() const override { return std::nullopt; }
};

// Silence, for headless runs and machines without a sound device.
class SilentSounds final : public GameSounds {
 public:
  void PlayAt(world::SoundHandle, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
  world::SoundHandle LoadSound(std::string_view) override { return world::kNoSound; }
  void LoadInterfaceSounds() override {}
  void PlayInterface(InterfaceSound) override {}
  void UpdateSounds(const engine::Camera&) override {}
  void StopAllSounds() override {}
};

class SilentMusic final : public GameMusic {
 public:
  void PlayMusic(std::int32_t) override {}
  void StopMusic() override {}
  void PollMusic() override {}
  void SetMusicVolume(std::int32_t) override {}
};

}  // namespace zandrel::game
