// The world's sounds played at their place, heard from the render view's camera.
#pragma once

#include "audio/sound.h"
#include "engine/render_view.h"
#include "world/world_sounds.h"

namespace zandrel::audio {

class WorldSoundPlayer final : public world::WorldSounds {
 public:
  // Both must outlive the player; the camera is read at each sound.
  WorldSoundPlayer(Audio& audio, const engine::RenderView& listener) : audio_(audio), listener_(listener) {}

  void PlayAt(const SoundRef& sound, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t volume) override {
    PlaySoundAt(audio_, x, y, z, listener_, sound, volume);
  }

 private:
  Audio& audio_;
  const engine::RenderView& listener_;
};

}  // namespace zandrel::audio
