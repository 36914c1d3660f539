// The shell's ports on the real devices: the keyboard and joystick through the input
// library, sounds through the audio library.
#pragma once

#include <functional>

#include "audio/sound.h"
#include "engine/render_view.h"
#include "game/ports.h"
#include "input/controls.h"
#include "input/key_state.h"

namespace zandrel::game {

class DeviceControls final : public Controls {
 public:
  // `pump` drains the window's events into the key state and answers false once the
  // program is closing.
  DeviceControls(input::InputDevices& devices, input::KeyState& keys, std::function<bool()> pump)
      : devices_(devices), keys_(keys), pump_(std::move(pump)) {}
  void ReadControls(ControlFlags& flags) override;
  bool KeyDown(int virtualKey) override { return devices_.KeyDown(virtualKey); }
  void WaitAllKeysUp() override { input::WaitAllKeysUp(keys_, pump_); }

 private:
  input::InputDevices& devices_;
  input::KeyState& keys_;
  std::function<bool()> pump_;
};

class DeviceSounds final : public GameSounds {
 public:
  explicit DeviceSounds(audio::Audio& audio) : audio_(audio) {}
  // The view whose camera hears; nothing is heard before it is set.
  void SetListener(const engine::RenderView& listener) { listener_ = &listener; }
  void PlayAt(const audio::SoundRef& sound, std::int32_t x, std::int32_t y, std::int32_t z,
              std::int32_t volume) override;
  void LoadInterfaceSounds() override;
  void PlayInterface(InterfaceSound sound) override;
  void UpdateSounds(const engine::Camera& listener) override;
  void StopAllSounds() override { audio::StopAllSounds(audio_); }

 private:
  audio::Audio& audio_;
  const engine::RenderView* listener_ = nullptr;
  audio::SoundRef choice_, click_, timer_;
};

}  // namespace zandrel::game
