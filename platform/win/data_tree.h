// The data tree ("the program's folder"): found once at start.
#pragma once

#include <filesystem>
#include <string>

#include "base/expected.h"

namespace zandrel::win {

// The first existing folder of: `option` (the --data argument; when given it must
// exist), $ZANDREL_DATA, <folder of the executable>/data, <folder of the
// executable>/../share/zandrel, <configured prefix>/share/zandrel.
base::Expected<std::filesystem::path> FindDataTree(const std::string& option);

}  // namespace zandrel::win
