// Feeds every file of the folders named on the command line to the fuzz target's entry
// point, as libFuzzer would: the normal test suite keeps each finding fixed with it. As
// under libFuzzer, a run that comes to hold more than 2 GiB fails.
#include <sys/resource.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

constexpr long kMaxResidentKiB = 2L << 20;

long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  int files = 0;
  for (int i = 1; i < argc; ++i) {
    std::error_code ec;
    if (!std::filesystem::is_directory(argv[i], ec)) continue;  // a target without findings yet
    for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      std::printf("%s\n", entry.path().c_str());
      std::fflush(stdout);  // a crash still names its file
      LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
      if (PeakResidentKiB() > kMaxResidentKiB) {
        std::printf("%s: more than 2 GiB held\n", entry.path().c_str());
        return 1;
      }
      ++files;
    }
  }
  std::printf("%d files replayed\n", files);
  return 0;
}
