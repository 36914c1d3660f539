#include "audio/world_sound_player.h"

#include <algorithm>

namespace zandrel::audio {

world::SoundHandle WorldSoundPlayer::Load(std::string_view fileName) {
  if (audio_ == nullptr) return world::kNoSound;
  const auto known = std::find(names_.begin(), names_.end(), fileName);
  if (known != names_.end()) return static_cast<world::SoundHandle>(known - names_.begin());
  SoundRef sound = LoadSound(*audio_, fileName);
  if (sound == nullptr) return world::kNoSound;
  names_.emplace_back(fileName);
  sounds_.push_back(std::move(sound));
  return static_cast<world::SoundHandle>(sounds_.size() - 1);
}

void WorldSoundPlayer::PlayAt(world::SoundHandle sound, std::int32_t x, std::int32_t y, std::int32_t z,
                              std::int32_t volume) {
  if (audio_ == nullptr || sound < 0 || static_cast<std::size_t>(sound) >= sounds_.size()) return;
  PlaySoundAt(*audio_, x, y, z, *listener_, sounds_[static_cast<std::size_t>(sound)], volume);
}

void WorldSoundPlayer::Update() {
  if (audio_ != nullptr) UpdateSounds(*audio_, *listener_);
}

}  // namespace zandrel::audio
