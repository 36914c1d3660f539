// How the world makes itself heard. The world names its sounds by handles that the
// program's bank loader hands out (see bank_devices.h); the game plays them through its
// sound system, while tests and the level tool listen to nothing.
#pragma once

#include <cstdint>

namespace zandrel::world {

// A sound the program loaded for the bank; kNoSound where the bank names none or the
// program has no sound device (a reference that holds no sound).
using SoundHandle = std::int32_t;
inline constexpr SoundHandle kNoSound = -1;

class WorldSounds {
 public:
  virtual ~WorldSounds() = default;
  // A sound at a world position, volume 0..255, panned and faded by its distance to the
  // listener.
  virtual void PlayAt(SoundHandle sound, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t volume) = 0;
};

// Plays nothing.
class SilentWorld final : public WorldSounds {
 public:
  void PlayAt(SoundHandle, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
};

}  // namespace zandrel::world
