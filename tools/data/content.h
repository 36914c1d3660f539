// The parts of the data tree written from the human-made sources in content/.
#pragma once

#include <filesystem>

#include "base/expected.h"
#include "tools/data/data_tree.h"

namespace zandrel::data {

// The object bank and the texture list, as written.
base::Status AddTextSources(const std::filesystem::path& content, DataTree& tree);

// Every content/levels/NAME.txt built into LEVEL/NAME.lev.
base::Status AddLevels(const std::filesystem::path& content, DataTree& tree);

// content/credits.txt scrambled line by line into game.dat. Each line starts with its font
// mark, which the credits do not show: "&" for the big font, a space for the small one.
base::Status AddCredits(const std::filesystem::path& content, DataTree& tree);

}  // namespace zandrel::data
