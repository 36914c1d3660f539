#include "audio/sound.h"

namespace zandrel::audio {

SoundRef LoadSound(Audio& /*audio*/, std::string_view /*fileName*/) {
  // No sound device layer is built into the programs yet: every run is one without a
  // device, where loading a sound gives none.
  return nullptr;
}

}  // namespace zandrel::audio
