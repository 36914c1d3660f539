#include "tools/data/generators.h"

namespace zandrel::data {

void GenerateTextures(DataTree& /*tree*/) {}

}  // namespace zandrel::data
