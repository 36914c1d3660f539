// A headless run's sound: SDL's audio output (any driver, "disk" included) for the bank's
// sounds and the music, without clips.
#pragma once

#include <memory>

#include "audio/sound.h"
#include "game/devices/device_ports.h"
#include "game/headless.h"
#include "platform/midas/midas.h"

namespace zandrel::game::devices {

class HeadlessDeviceSound final : public HeadlessSound {
 public:
  HeadlessDeviceSound();
  GameSounds& Sounds() override { return sounds_; }
  GameMusic& Music() override { return music_; }
  // As in the game: the output opens with the view's hearing range, and the module player
  // starts right after the sound device.
  void Open(Game& game) override;
  void Close() override { music_.Shutdown(); }

 private:
  audio::Audio audio_;
  std::unique_ptr<midas::Midas> moduleLibrary_;
  DeviceSounds sounds_;
  DeviceMusic music_;
};

}  // namespace zandrel::game::devices
