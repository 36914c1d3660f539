// Tiny video clips for tests: solid-colour frames through the "mpeg4" encoder in an AVI.
#pragma once

#include <filesystem>
#include <vector>

namespace zandrel::test {

struct Colour {
  int R, G, B;
};

// Writes one frame per colour at `framesPerSecond`; false when the encoder is missing.
bool WriteClip(const std::filesystem::path& path, const std::vector<Colour>& frames, int framesPerSecond,
               int width = 64, int height = 48);

}  // namespace zandrel::test
