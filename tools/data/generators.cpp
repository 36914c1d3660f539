#include "tools/data/generators.h"

namespace zandrel::data {

void GenerateArt(DataTree& tree) {
  GenerateTextures(tree);
  GenerateInterface(tree);
  GenerateMeshes(tree);
  GenerateSounds(tree);
  GenerateMusic(tree);
  GenerateMedia(tree);
  GenerateEditorIcons(tree);
}

}  // namespace zandrel::data
