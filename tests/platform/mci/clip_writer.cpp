#include "tests/platform/mci/clip_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstring>

namespace zandrel::test {
namespace {

// Hands every packet the encoder has ready to the file.
bool Drain(AVCodecContext* codec, AVFormatContext* format, AVStream* stream, AVPacket* packet) {
  for (;;) {
    const int result = avcodec_receive_packet(codec, packet);
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
    if (result < 0) return false;
    av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
    packet->stream_index = stream->index;
    if (av_interleaved_write_frame(format, packet) < 0) return false;
  }
}

std::uint8_t Clamp(double v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); }

}  // namespace

bool WriteClip(const std::filesystem::path& path, const std::vector<Colour>& frames, int framesPerSecond, int width,
               int height) {
  const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  if (encoder == nullptr) return false;
  AVFormatContext* format = nullptr;
  if (avformat_alloc_output_context2(&format, nullptr, "avi", path.c_str()) < 0) return false;
  AVStream* stream = avformat_new_stream(format, nullptr);
  AVCodecContext* codec = avcodec_alloc_context3(encoder);
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  bool ok = stream != nullptr && codec != nullptr && frame != nullptr && packet != nullptr;
  if (ok) {
    codec->width = width;
    codec->height = height;
    codec->pix_fmt = AV_PIX_FMT_YUV420P;
    codec->time_base = {1, framesPerSecond};
    codec->framerate = {framesPerSecond, 1};
    codec->gop_size = 2;
    codec->max_b_frames = 0;
    codec->thread_count = 1;
    if (format->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    ok = avcodec_open2(codec, encoder, nullptr) >= 0 && avcodec_parameters_from_context(stream->codecpar, codec) >= 0;
  }
  if (ok) {
    stream->time_base = codec->time_base;
    ok = avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(format, nullptr) >= 0;
  }
  if (ok) {
    frame->format = codec->pix_fmt;
    frame->width = width;
    frame->height = height;
    ok = av_frame_get_buffer(frame, 0) >= 0;
  }
  for (std::size_t i = 0; ok && i < frames.size(); ++i) {
    const Colour c = frames[i];
    // Studio-range YCbCr of the colour.
    const double r = c.R / 255.0, g = c.G / 255.0, b = c.B / 255.0;
    const std::uint8_t y = Clamp(16 + 65.481 * r + 128.553 * g + 24.966 * b);
    const std::uint8_t u = Clamp(128 - 37.797 * r - 74.203 * g + 112.0 * b);
    const std::uint8_t v = Clamp(128 + 112.0 * r - 93.786 * g - 18.214 * b);
    ok = av_frame_make_writable(frame) >= 0;
    for (int row = 0; ok && row < height; ++row) {
      std::memset(frame->data[0] + row * frame->linesize[0], y, static_cast<std::size_t>(width));
      if (row < height / 2) {
        std::memset(frame->data[1] + row * frame->linesize[1], u, static_cast<std::size_t>(width / 2));
        std::memset(frame->data[2] + row * frame->linesize[2], v, static_cast<std::size_t>(width / 2));
      }
    }
    frame->pts = static_cast<std::int64_t>(i);
    ok = ok && avcodec_send_frame(codec, frame) >= 0 && Drain(codec, format, stream, packet);
  }
  ok = ok && avcodec_send_frame(codec, nullptr) >= 0 && Drain(codec, format, stream, packet) &&
       av_write_trailer(format) >= 0;
  if (format->pb != nullptr) avio_closep(&format->pb);
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&codec);
  avformat_free_context(format);
  return ok;
}

}  // namespace zandrel::test
