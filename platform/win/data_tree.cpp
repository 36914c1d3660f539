#include "platform/win/data_tree.h"

#include <cstdlib>
#include <system_error>
#include <vector>

namespace zandrel::win {
namespace fs = std::filesystem;

base::Expected<fs::path> FindDataTree(const std::string& option) {
  std::error_code ec;
  if (!option.empty()) {
    if (fs::is_directory(option, ec)) return fs::absolute(option, ec);
    return base::Failure{"The data folder " + option + " does not exist."};
  }
  std::vector<fs::path> candidates;
  if (const char* env = std::getenv("ZANDREL_DATA"); env != nullptr && env[0] != '\0') candidates.emplace_back(env);
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  // Built, the program sits beside the tree; installed, the tree is in the share folder of
  // the prefix the program was copied to, wherever that is.
  if (!ec) {
    candidates.push_back(exe.parent_path() / "data");
    candidates.push_back(exe.parent_path().parent_path() / "share" / "zandrel");
  }
  candidates.push_back(fs::path(ZANDREL_SHARE_DIR));
  std::string tried;
  for (const fs::path& candidate : candidates) {
    if (fs::is_directory(candidate, ec)) return fs::absolute(candidate, ec);
    tried += (tried.empty() ? "" : ", ") + candidate.string();
  }
  return base::Failure{"No data folder found (tried " + tried + "); give one with --data DIR."};
}

}  // namespace zandrel::win
