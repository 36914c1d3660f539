// Sound effects as the rest of the program sees them: buffers loaded from wave files.
#pragma once

#include <memory>
#include <string_view>

namespace zandrel::audio {

class SoundBuffer;
// A loaded sound, or none (no sound device, or the file could not be used).
using SoundRef = std::shared_ptr<SoundBuffer>;

// The program's sound state.
struct Audio {
  bool AudioReady = false;  // a sound device is open
};

// Loads a wave file (name in the data's spelling); none without a sound device.
SoundRef LoadSound(Audio& audio, std::string_view fileName);

}  // namespace zandrel::audio
