// How the world makes itself heard: the game plays these through its sound system; tests
// and the level tool listen to nothing.
#pragma once

#include <cstdint>

#include "audio/sound.h"

namespace zandrel::world {

class WorldSounds {
 public:
  virtual ~WorldSounds() = default;
  // A sound at a world position, volume 0..255, panned and faded by its distance to the
  // listener.
  virtual void PlayAt(const audio::SoundRef& sound, std::int32_t x, std::int32_t y, std::int32_t z,
                      std::int32_t volume) = 0;
};

// Plays nothing.
class SilentWorld final : public WorldSounds {
 public:
  void PlayAt(const audio::SoundRef&, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
};

}  // namespace zandrel::world
