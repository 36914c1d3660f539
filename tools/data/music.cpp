#include "tools/data/generators.h"

namespace zandrel::data {

void GenerateMusic(DataTree&) {}

}  // namespace zandrel::data
