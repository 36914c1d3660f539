#include "tools/data/generators.h"

namespace zandrel::data {

void GenerateMeshes(DataTree& /*tree*/) {}

}  // namespace zandrel::data
