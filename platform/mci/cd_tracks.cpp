#include "platform/mci/cd_tracks.h"

#include <array>

#include "base/text_case.h"
#include "platform/win/files.h"

namespace zandrel::mci {
namespace {

// The track number a file name stands for, or 0.
int TrackNumber(std::string_view name) {
  constexpr std::string_view kPrefix = "track";
  constexpr std::array<std::string_view, 4> kKinds = {".ogg", ".wav", ".flac", ".mp3"};
  if (name.size() <= kPrefix.size() || !base::EqualIgnoringCase(name.substr(0, kPrefix.size()), kPrefix)) return 0;
  std::size_t at = kPrefix.size();
  int number = 0;
  while (at < name.size() && name[at] >= '0' && name[at] <= '9' && at - kPrefix.size() < 2) {
    number = number * 10 + (name[at] - '0');
    ++at;
  }
  if (at == kPrefix.size()) return 0;
  const std::string_view kind = name.substr(at);
  for (std::string_view known : kKinds) {
    if (base::EqualIgnoringCase(kind, known)) return number;
  }
  return 0;
}

}  // namespace

std::map<int, std::string> ListTracks(const std::filesystem::path& folder) {
  std::map<int, std::string> tracks;
  const auto names = win::ListFolder("*.*", folder);
  if (!names) return tracks;
  for (const std::string& name : *names) {
    if (const int number = TrackNumber(name); number > 0) tracks.emplace(number, name);
  }
  return tracks;
}

}  // namespace zandrel::mci
