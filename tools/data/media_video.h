// Encoding a clip drawn frame by frame: MPEG-4 video (the codec FFmpeg names "mpeg4") in an
// AVI file, made through the FFmpeg libraries in memory. The encoder runs on one thread with
// fixed settings and every field that names the library left out, so that the same frames give
// the same bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace zandrel::data::video {

class AviWriter {
 public:
  // Width and height even; `quality` is the fixed quantiser, 2 (best) .. 31.
  AviWriter(int width, int height, int framesPerSecond, int quality);
  ~AviWriter();
  AviWriter(const AviWriter&) = delete;
  AviWriter& operator=(const AviWriter&) = delete;

  // One frame of 8-bit red, green, blue, rows top-down: width x height x 3 bytes.
  void Add(std::span<const std::uint8_t> rgb);
  // Ends the clip and gives the file's bytes; the writer takes no more frames.
  std::vector<std::uint8_t> Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace zandrel::data::video
