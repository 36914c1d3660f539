// A video clip decoded frame by frame with the FFmpeg libraries (loaded with the first clip): the clip's first video
// stream, converted to RGBA only for the frames that are shown.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct SwsContext;

namespace zandrel::mci {

struct FfmpegCalls;

class ClipDecoder {
 public:
  // Null when the file cannot be read as a clip with a video stream we can decode.
  static std::unique_ptr<ClipDecoder> Open(const std::filesystem::path& path);
  ~ClipDecoder();
  ClipDecoder(const ClipDecoder&) = delete;
  ClipDecoder& operator=(const ClipDecoder&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // How long one frame stands, from the stream's frame rate.
  std::uint32_t FrameMs() const { return frameMs_; }

  // Decodes the frame after the current one, without showing it. False at the end of the
  // stream, or where the data is damaged beyond what the decoder skips.
  bool DecodeNext();
  // When the decoded frame is due: milliseconds after the clip's first frame.
  std::int64_t NextTime() const { return nextTime_; }
  // The decoded frame becomes the current one.
  void Advance();
  // The current frame as 8-bit red, green, blue, alpha, rows top-down (its size in
  // `width` and `height`); empty when it cannot be converted.
  std::span<const std::uint8_t> CurrentRgba(int& width, int& height);

 private:
  explicit ClipDecoder(const FfmpegCalls& ff) : ff_(ff) {}

  const FfmpegCalls& ff_;

  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  AVPacket* packet_ = nullptr;
  AVFrame* current_ = nullptr;
  AVFrame* next_ = nullptr;
  SwsContext* scaler_ = nullptr;
  int stream_ = -1;
  int width_ = 0, height_ = 0;
  std::uint32_t frameMs_ = 40;
  bool draining_ = false;
  std::int64_t firstStamp_ = 0;
  bool haveFirst_ = false;
  std::int64_t nextTime_ = 0;
  std::vector<std::uint8_t> rgba_;
};

}  // namespace zandrel::mci
