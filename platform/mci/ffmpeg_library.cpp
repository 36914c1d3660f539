#include "platform/mci/ffmpeg_library.h"

#include <dlfcn.h>

#include <array>
#include <cstdio>
#include <string>

namespace zandrel::mci {
namespace {

// The libraries of the major versions the headers describe: a call's layout is only known
// for those.
std::array<std::string, 4> LibraryNames() {
  return {"libavutil.so." + std::to_string(LIBAVUTIL_VERSION_MAJOR),
          "libavcodec.so." + std::to_string(LIBAVCODEC_VERSION_MAJOR),
          "libavformat.so." + std::to_string(LIBAVFORMAT_VERSION_MAJOR),
          "libswscale.so." + std::to_string(LIBSWSCALE_VERSION_MAJOR)};
}

// Looks a call up in every library; they stay loaded for the rest of the process.
void* FindCall(const std::array<void*, 4>& libraries, const char* name) {
  for (void* library : libraries) {
    if (void* call = ::dlsym(library, name)) return call;
  }
  return nullptr;
}

bool Bind(FfmpegCalls& calls) {
  std::array<void*, 4> libraries{};
  const std::array<std::string, 4> names = LibraryNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    libraries[i] = ::dlopen(names[i].c_str(), RTLD_NOW | RTLD_LOCAL);
    if (libraries[i] == nullptr) {
      std::fprintf(stderr, "zandrel: video clips cannot play: %s\n", ::dlerror());
      return false;
    }
  }
#define ZANDREL_FFMPEG_BIND(name)                                                        \
  calls.name = reinterpret_cast<decltype(&::name)>(FindCall(libraries, #name));          \
  if (calls.name == nullptr) {                                                           \
    std::fprintf(stderr, "zandrel: video clips cannot play: FFmpeg has no %s\n", #name); \
    return false;                                                                        \
  }
  ZANDREL_FFMPEG_CALLS(ZANDREL_FFMPEG_BIND)
#undef ZANDREL_FFMPEG_BIND
  calls.av_log_set_level(AV_LOG_QUIET);  // damaged clips fail quietly, as every music failure does
  return true;
}

}  // namespace

const FfmpegCalls* Ffmpeg() {
  static const FfmpegCalls* const bound = [] {
    static FfmpegCalls calls;
    return Bind(calls) ? &calls : nullptr;
  }();
  return bound;
}

}  // namespace zandrel::mci
