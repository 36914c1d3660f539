#include "tools/data/generators.h"

namespace zandrel::data {

void GenerateInterface(DataTree& /*tree*/) {}

}  // namespace zandrel::data
