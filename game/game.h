// The game: one context holding the world, the engine, the screens' state and the ports
// to the machine, and the frame procedure that runs one frame of the current screen.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/expected.h"
#include "engine/cube_faces.h"
#include "engine/engine.h"
#include "engine/mesh.h"
#include "engine/render_view.h"
#include "game/credits.h"
#include "game/frame_state.h"
#include "game/ports.h"
#include "game/settings.h"
#include "platform/win/clock.h"
#include "world/bank_devices.h"
#include "world/world.h"

namespace zandrel::game {

// What can happen in play, as the headless runner's summary names it (EventTypeName).
enum class EventType {
  LevelStart,
  Death,
  LifeLost,
  ExitReached,
  GameOver,
  Credits,
  Pickup,
  Dig,
  Push,
  Lever,
  DoorOpen,
  Notice,
  Music
};
const char* EventTypeName(EventType type);

// Something that happened in play, for the headless runner's summary.
struct GameEvent {
  std::int64_t Frame = 0;
  EventType Type = EventType::Notice;
  std::int32_t Value = 0;  // the code, entry or lives the event concerns
  std::string Text;        // a file name or a notice
};

struct GameServices {
  engine::Backend& Backend;
  Controls& Input;
  GameSounds& Sounds;
  GameMusic& Music;
  const win::Clock& Clock;
  std::filesystem::path DataFolder;  // the program's folder: every data file is read from it
  GameWindow* Window = nullptr;      // none in headless runs and tests
  GameNetwork* Network = nullptr;    // none: a game without a network
};

struct TitleState {
  float LogoZoom = 100;
  float DemoDepth = -1;
  std::int32_t TitlePage = 0;
  std::int32_t TextVariant = 0;
  // A button still held from the screen before (the lobby's Esc, a controller's button)
  // does nothing on the title until it is let go.
  bool ButtonsHeldOver = false;
};

struct CreditsState {
  std::vector<std::string> Lines;  // scrambled, as read
  float Scroll = 1;
  float Angle = 0;
  Particles Dust{};
};

// The in-game menu acts on presses: a button acts once each time it goes down, and Up or
// Down held steps again after 400 ms, then every 125 ms, whatever the frame rate.
struct MenuState {
  bool MenuOpen = false;
  std::int32_t MenuChoice = 0;
  input::ControlFlags HeldBefore{};  // the controls of the previous frame the hero read
  std::uint32_t RepeatAt = 0;        // when a held Up or Down steps again (ms)
};

struct LevelTitleState {
  bool TitleShown = false;
  float TitleOffset = 0.7f;
  std::uint32_t TitleStart = 0;
};

class Game {
 public:
  explicit Game(const GameServices& services);
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  world::PlayerSlot& Hero() { return World->Players[static_cast<std::size_t>(World->LocalSlot)]; }
  GameNetwork& Network() { return Services.Network != nullptr ? *Services.Network : Offline; }
  world::BankServices Bank() { return {BankDevices, Services.Clock, Services.DataFolder}; }

  GameServices Services;
  NoNetwork Offline;
  // The bank's textures go into the engine's view, its sounds through the sound port.
  world::BankCalls BankDevices{[this](std::string_view list, world::FogColour fog) {
                                 return world::LoadBankTextures(Engine, *View, Services.DataFolder, list, fog);
                               },
                               [this](std::string_view file) { return Services.Sounds.LoadSound(file); }};
  FrameState Frame;
  std::unique_ptr<world::World> World;
  engine::Engine Engine;
  std::unique_ptr<engine::RenderView> View;
  engine::CubeFaces Faces;
  engine::Mesh FadeMesh;
  std::vector<std::string> LevelList;
  // Where and with how many lives a network game starts: the first level, 3 lives.
  std::int32_t NetworkLevel = 0;
  std::int32_t NetworkLives = 3;
  world::TextureQuality Quality = world::TextureQuality::High;
  bool MusicOn = true;
  TitleState Title;
  CreditsState Credits;
  MenuState Menu;
  LevelTitleState LevelTitle;
  bool QuitRequested = false;  // GameShutdown asked for: the main ends the program
  std::int64_t FrameNumber = 0;
  std::vector<GameEvent> Events;
};

// The start-up after the display is open (settings read, view opened at their size):
// the bank in the settings' quality, the cube faces, the level list, the credits text.
// A failure is fatal: the main shows it and ends with status 1.
base::Status GameStartup(Game& game, const Settings& settings);

// The settings to write at shutdown, from the game's state and the window's placement.
SettingsToWrite SettingsAtShutdown(const Game& game, std::int32_t top, std::int32_t left, std::int32_t width,
                                   std::int32_t height, bool fullscreen);

// One frame: controls, options keys, music poll, frame clock, the current screen's
// frame, fade, notice, the "FPS:" and debug overlays, and the buffer swap.
void FrameTick(Game& game);

// The frame loop's pace, in milliseconds to wait before the next FrameTick: none while
// free running (the buffer swap paces the frames); while a clip plays, the game loop's
// 50 ms timer drives one frame per period and the program sleeps in between.
constexpr std::uint32_t kGameLoopMs = 50;
std::uint32_t WaitBeforeFrame(const Game& game);

// Enters a screen (nothing when it is the current one).
void ChangeScreen(Game& game, Screen screen);

// The next frame's time starts now, not before a long load.
void ResetFrameClock(Game& game);

// Shows a notice (and keeps it among the events).
void Notice(Game& game, std::string text);

// Keeps something that happened for the headless summary.
void Record(Game& game, EventType type, std::int32_t value = 0, std::string text = {});

// StartFade with the game's random generator and clock.
void StartFade(Game& game, std::int32_t direction);

}  // namespace zandrel::game
