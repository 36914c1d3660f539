#include "tools/data/generators.h"

namespace zandrel::data {

void GenerateSounds(DataTree& /*tree*/) {}

}  // namespace zandrel::data
