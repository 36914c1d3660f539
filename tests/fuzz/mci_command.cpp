// The media command strings, one command a line, sent to a fresh service over a small
// data tree (a MIDI file, a CD folder) with no audio device. Lines naming a path with a
// slash are left out: a name outside the tree could be a device that never answers.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/mci/mci.h"
#include "platform/win/clock.h"
#include "tests/fuzz/fuzz.h"

namespace {

const std::filesystem::path& DataTree() {
  static const std::filesystem::path folder = [] {
    using namespace zandrel;
    setenv("SDL_AUDIODRIVER", "none", 1);  // no such driver: the service runs without audio
    const std::vector<std::uint8_t> midi = {'M', 'T', 'h', 'd', 0, 0, 0, 6,    0,    0,  0,  1, 0,    96,   'M',
                                            'T', 'r', 'k', 0,   0, 0, 8, 0x60, 0x90, 60, 64, 0, 0xFF, 0x2F, 0};
    fuzz::WriteScratchFile("SONG.MID", midi);
    fuzz::WriteScratchFile("CDAUDIO/TRACK02.WAV", {});
    fuzz::WriteScratchFile("CDAUDIO/TRACK05.OGG", {});
    return fuzz::ScratchFolder();
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel;
  win::ManualClock clock(1000);
  mci::MciOptions options;
  options.DataFolder = DataTree();
  options.Clock = &clock;
  const std::unique_ptr<mci::Mci> service = mci::CreateMci(nullptr, options);
  std::string_view text = fuzz::Text(data, size);
  char answer[16];
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view command = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (command.find_first_of("/\\") != std::string_view::npos) continue;
    service->SendString(command, answer, sizeof answer);
    clock.Advance(250);
    service->Poll();
  }
  return 0;
}
