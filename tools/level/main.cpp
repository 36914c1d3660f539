#include <iostream>
#include <string>
#include <vector>

#include "tools/level/level_commands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return zandrel::tools::RunLevelTool(args, std::cout, std::cerr);
}
