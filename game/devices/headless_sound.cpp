#include "game/devices/headless_sound.h"

#include "platform/dsound/dsound.h"

namespace zandrel::game::devices {

HeadlessDeviceSound::HeadlessDeviceSound()
    : moduleLibrary_(midas::CreateMixerMidas()), music_(*moduleLibrary_, nullptr, nullptr) {}

void HeadlessDeviceSound::Open(Game& game) {
  audio_.DataFolder = game.Services.DataFolder;
  sounds_.Attach(audio_, *game.View);
  audio::InitAudio(audio_, dsound::DirectSoundCreate(dsound::Drivers::Any));
  audio::SetHearingRange(*game.View, audio::kDefaultHearingRange);
  music_.Start(game, audio_, nullptr);
}

}  // namespace zandrel::game::devices
