// What the game shell asks of the machine: controls, sounds and music. The program main
// plugs in the keyboard, joystick and sound devices; the headless runner a script and
// silence. The shell itself never touches a device.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "base/expected.h"
#include "engine/render_view.h"
#include "input/control_flags.h"
#include "input/virtual_keys.h"
#include "world/world_sounds.h"

namespace zandrel::game {

class Controls {
 public:
  virtual ~Controls() = default;
  // This frame's control flags, from scratch.
  virtual void ReadControls(input::ControlFlags& flags) = 0;
  // Down now or pressed since the previous query of that key.
  virtual bool KeyDown(int virtualKey) = 0;
  // Returns when no key is down.
  virtual void WaitAllKeysUp() = 0;
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
