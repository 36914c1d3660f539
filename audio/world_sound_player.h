// The world's sounds through the sound device: the object bank's wave files loaded by name,
// each file once, and played at their place, heard from the render view's camera.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "audio/sound.h"
#include "engine/render_view.h"
#include "world/world_sounds.h"

namespace zandrel::audio {

class WorldSoundPlayer final : public world::WorldSounds {
 public:
  // Nothing is loaded or heard before the sound state and the listening view are given;
  // both must outlive the player, and the camera is read at each sound.
  void Attach(Audio& audio, const engine::RenderView& listener) {
    audio_ = &audio;
    listener_ = &listener;
  }
  Audio* Sound() const { return audio_; }

  // The handle of a wave file (in the data's spelling): the same name gives the same handle.
  // kNoSound without a sound device or when the file is not a readable wave, as a sound
  // reference then holds none.
  world::SoundHandle Load(std::string_view fileName);

  void PlayAt(world::SoundHandle sound, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t volume) override;

  // The playing voice slots faded and panned again for where the camera is now.
  void Update();

 private:
  Audio* audio_ = nullptr;
  const engine::RenderView* listener_ = nullptr;
  std::vector<std::string> names_;  // by handle
  std::vector<SoundRef> sounds_;
};

}  // namespace zandrel::audio
