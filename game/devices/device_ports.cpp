#include "game/devices/device_ports.h"

#include <algorithm>

namespace zandrel::game::devices {

PointerState DeviceControls::Pointer() {
  PointerState pointer;
  if (window_ != nullptr) window_->PointerOnPicture(pointer.X, pointer.Y);
  pointer.Clicked = devices_.KeyDown(input::vk::LButton);
  return pointer;
}

void DeviceSounds::LoadInterfaceSounds() {
  audio::Audio* const audio = world_.Sound();
  if (audio == nullptr) return;
  choice_ = audio::LoadSound(*audio, "INTERF\\CHOIX.WAV");
  click_ = audio::LoadSound(*audio, "INTERF\\CLIC.WAV");
  timer_ = audio::LoadSound(*audio, "INTERF\\TIMER.WAV");
}

void DeviceSounds::PlayInterface(InterfaceSound sound) {
  const audio::SoundRef& ref = sound == InterfaceSound::Choice  ? choice_
                               : sound == InterfaceSound::Click ? click_
                                                                : timer_;
  if (world_.Sound() != nullptr) audio::PlaySound(*world_.Sound(), ref, false);
}

void DeviceSounds::StopAllSounds() {
  if (world_.Sound() != nullptr) audio::StopAllSounds(*world_.Sound());
}

DeviceMusic::DeviceMusic(midas::Midas& library, mci::Mci* mci, const mci::ClipScreen* screen) : screen_(screen) {
  music_.Player.Library = &library;
  music_.Mci = mci;
}

void DeviceMusic::Start(Game& game, audio::Audio& audio, engine::glide::GlideBackend* display) {
  game_ = &game;
  display_ = display;
  music_.Entries = &game.World->Bank.Music;
  music_.Sound = &audio;
  music_.Window = display != nullptr ? this : nullptr;
  music_.DataFolder = game.Services.DataFolder;
  dsound::DirectSound* const device = audio.Owner != nullptr ? audio.Owner->Device() : nullptr;
  audio::StartModulePlayer(music_.Player, audio::kModuleMixingRate, true, device, Handle());
}

void DeviceMusic::Shutdown() {
  audio::StopMusic(music_);
  if (music_.ClipOpen) audio::CloseClip(music_);
  audio::CloseModulePlayer(music_.Player);
}

void DeviceMusic::PlayMusic(std::int32_t entry) {
  // The options screen keeps the on/off flag; a module starts at the volume it gives.
  if (game_ != nullptr) music_.MusicOn = game_->MusicOn;
  audio::PlayMusic(music_, entry);
}

void DeviceMusic::PollMusic() {
  if (music_.Mci != nullptr && music_.Mci->Poll()) audio::CloseClip(music_);
  audio::PollMusic(music_);
}

void DeviceMusic::SetMusicVolume(std::int32_t volume) {
  audio::SetMusicVolume(music_.Player, static_cast<std::uint8_t>(std::clamp(volume, 0, 255)));
}

std::uint32_t DeviceMusic::Handle() const { return screen_ != nullptr ? screen_->Handle() : 0; }

void DeviceMusic::ClientSize(int& width, int& height) const {
  width = height = 0;
  if (screen_ != nullptr) screen_->ClientSize(width, height);
}

bool DeviceMusic::FullScreenDisplay() const { return display_->ViewOpen(); }

void DeviceMusic::ClipStarts() {
  display_->CloseView();
  // The window's own loop runs while the clip plays, so that its end is heard.
  game_->Frame.VideoPlaying = true;
  game_->Frame.FreeRunning = false;
}

void DeviceMusic::ClipEnded() {
  engine::RenderView& view = *game_->View;
  display_->OpenView(view.Screen.Width, view.Screen.Height, view);
  game_->Frame.VideoPlaying = false;
  game_->Frame.FreeRunning = true;
}

void DeviceMusic::ResetFrameClock() { game::ResetFrameClock(*game_); }

}  // namespace zandrel::game::devices
