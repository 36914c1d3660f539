// The shell's ports on the real devices: the keyboard and joystick through the input
// library, sounds and music through the audio library.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "audio/music.h"
#include "audio/sound.h"
#include "audio/world_sound_player.h"
#include "engine/glide/glide_backend.h"
#include "engine/render_view.h"
#include "game/game.h"
#include "game/ports.h"
#include "input/controls.h"
#include "input/key_state.h"
#include "platform/win/sdl/window.h"

namespace zandrel::game::devices {

class DeviceControls final : public Controls {
 public:
  // `pump` drains the window's events into the key state and answers false once the
  // program is closing.
  // `window` gives the typed text and the pointer; none: neither.
  DeviceControls(input::InputDevices& devices, input::KeyState& keys, std::function<bool()> pump,
                 win::sdl::SdlWindow* window = nullptr)
      : devices_(devices), keys_(keys), pump_(std::move(pump)), window_(window) {}
  void ReadControls(input::ControlFlags& flags) override { devices_.ReadControls(flags); }
  bool KeyDown(int virtualKey) override { return devices_.KeyDown(virtualKey); }
  void WaitAllKeysUp() override { input::WaitAllKeysUp(keys_, pump_); }
  std::string TypedText() override { return window_ != nullptr ? window_->TakeTypedText() : std::string(); }
  PointerState Pointer() override;

 private:
  input::InputDevices& devices_;
  input::KeyState& keys_;
  std::function<bool()> pump_;
  win::sdl::SdlWindow* window_;
};

class DeviceSounds final : public GameSounds {
 public:
  // The game's sound state (whose device also plays the bank's sounds) and the view whose
  // camera hears; nothing is loaded or heard before.
  void Attach(audio::Audio& audio, const engine::RenderView& listener) { world_.Attach(audio, listener); }
  void PlayAt(world::SoundHandle sound, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t volume) override {
    world_.PlayAt(sound, x, y, z, volume);
  }
  world::SoundHandle LoadSound(std::string_view fileName) override { return world_.Load(fileName); }
  void LoadInterfaceSounds() override;
  void PlayInterface(InterfaceSound sound) override;
  void UpdateSounds(const engine::Camera&) override { world_.Update(); }
  void StopAllSounds() override;

 private:
  audio::WorldSoundPlayer world_;
  audio::SoundRef choice_, click_, timer_;
};

// Music through the module player and the media control service; clips take the game's
// window from its 3D display while they play.
class DeviceMusic final : public GameMusic, private audio::MusicWindow {
 public:
  // `library` plays modules; `mci` MIDI files, CD tracks and clips, shown on `screen`.
  // Without `mci` those are silent and no clip is shown.
  DeviceMusic(midas::Midas& library, mci::Mci* mci, const mci::ClipScreen* screen);
  DeviceMusic(const DeviceMusic&) = delete;
  DeviceMusic& operator=(const DeviceMusic&) = delete;

  // Plays the entries of the game's bank, wave music on the game's sound device `audio`,
  // clips in place of `display` (none: no clip is shown); starts the module player on that
  // sound device (right after the device opened).
  void Start(Game& game, audio::Audio& audio, engine::glide::GlideBackend* display);
  // At shutdown: stops the music, closes an open clip and closes the module player.
  void Shutdown();

  void PlayMusic(std::int32_t entry) override;
  void StopMusic() override { audio::StopMusic(music_); }
  // Closes a clip that came to its end, then restarts an ended looping piece.
  void PollMusic() override;
  void SetMusicVolume(std::int32_t volume) override;
  void CloseClip() override { audio::CloseClip(music_); }
  void PrepareMusic(std::int32_t entry) override { audio::PrepareMusic(music_, entry); }

  const audio::Music& State() const { return music_; }

 private:
  std::uint32_t Handle() const override;
  void ClientSize(int& width, int& height) const override;
  bool FullScreenDisplay() const override;
  void ClipStarts() override;
  void ClipEnded() override;
  void ResetFrameClock() override;

  audio::Music music_;
  const mci::ClipScreen* screen_;
  Game* game_ = nullptr;
  engine::glide::GlideBackend* display_ = nullptr;
};

}  // namespace zandrel::game::devices
