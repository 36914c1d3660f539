// The commands of zandrel-level, callable without a process for tests.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zandrel::tools {

// Exit statuses of the command-line contract.
enum ExitStatus { kSuccess = 0, kCheckFailed = 1, kBadInput = 2 };

// Writes the tool's one-line error and answers kBadInput.
int Fail(std::ostream& err, const std::string& message);

// Runs one command line (without the program name); normal output goes to `out`, the
// one-line error to `err`.
int RunLevelTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zandrel::tools
