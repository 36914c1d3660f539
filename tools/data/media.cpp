#include "tools/data/media.h"

#include "tools/data/generators.h"

namespace zandrel::data {

void GenerateMedia(DataTree& tree) {
  tree.Add("MUSIC/CHASE.MID", media::ChaseMidi());
  tree.Add("MUSIC/VAULT.MID", media::VaultFanfareMidi());
  tree.Add("MUSIC/WIND.WAV", media::WindWave());
  tree.Add("VIDEO/VAULT.AVI", media::VaultClip());
}

}  // namespace zandrel::data
