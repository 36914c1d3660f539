// The object bank's table of music pieces: 256 numbered entries, chosen by the title and
// credits screens, by music cells and by the editor's music box.
#pragma once

#include <array>
#include <string>

namespace zandrel::world {

struct MusicEntry {
  std::string File;   // relative to the data tree; empty: no music
  std::string Name;   // what the editor lists
  std::string Video;  // a clip shown while it plays; empty: none
  bool Loop = false;
};

constexpr int kMusicEntryCount = 256;
using MusicTable = std::array<MusicEntry, kMusicEntryCount>;

}  // namespace zandrel::world
