#include "game/device_ports.h"

namespace zandrel::game {

void DeviceControls::ReadControls(ControlFlags& flags) {
  input::ControlFlags read{};
  devices_.ReadControls(read);
  for (std::size_t i = 0; i < flags.size() && i < read.size(); ++i) flags[i] = read[i];
}

void DeviceSounds::PlayAt(const audio::SoundRef& sound, std::int32_t x, std::int32_t y, std::int32_t z,
                          std::int32_t volume) {
  if (listener_ != nullptr) audio::PlaySoundAt(audio_, x, y, z, *listener_, sound, volume);
}

void DeviceSounds::LoadInterfaceSounds() {
  choice_ = audio::LoadSound(audio_, "INTERF\\CHOIX.WAV");
  click_ = audio::LoadSound(audio_, "INTERF\\CLIC.WAV");
  timer_ = audio::LoadSound(audio_, "INTERF\\TIMER.WAV");
}

void DeviceSounds::PlayInterface(InterfaceSound sound) {
  const audio::SoundRef& ref = sound == InterfaceSound::Choice ? choice_ : sound == InterfaceSound::Click ? click_ : timer_;
  audio::PlaySound(audio_, ref, false);
}

void DeviceSounds::UpdateSounds(const engine::Camera&) {
  if (listener_ != nullptr) audio::UpdateSounds(audio_, *listener_);
}

}  // namespace zandrel::game
