#include "tools/data/generators.h"

namespace zandrel::data {

void GenerateMedia(DataTree&) {}

}  // namespace zandrel::data
