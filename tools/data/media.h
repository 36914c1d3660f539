// The music and the clip made by code, each as the bytes of its file.
#pragma once

#include <cstdint>
#include <vector>

namespace zandrel::data::media {

std::vector<std::uint8_t> ChaseMidi();         // "The Chase": fast and tense, about 80 s, loops
std::vector<std::uint8_t> VaultFanfareMidi();  // eight seconds under the vault clip
std::vector<std::uint8_t> WindWave();          // "Wind in the Vault": a seamless 32 s loop
std::vector<std::uint8_t> VaultClip();         // the vault door opening on its gold, 8 s

}  // namespace zandrel::data::media
