#include "tools/data/media_video.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace zandrel::data::video {
namespace {

void Check(int result, const char* what) {
  if (result < 0) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(result, text, sizeof text);
    throw std::runtime_error(std::string("clip: ") + what + ": " + text);
  }
}

template <class T>
T* Made(T* made, const char* what) {
  if (made == nullptr) throw std::runtime_error(std::string("clip: ") + what + " failed");
  return made;
}

// The file as it is written: the AVI muxer goes back to fill in sizes, so it can seek.
struct MemoryFile {
  std::vector<std::uint8_t> Bytes;
  std::size_t At = 0;
};

#if LIBAVFORMAT_VERSION_MAJOR >= 61
int WritePacket(void* opaque, const std::uint8_t* data, int size) {
#else
int WritePacket(void* opaque, std::uint8_t* data, int size) {
#endif
  auto& file = *static_cast<MemoryFile*>(opaque);
  const auto count = static_cast<std::size_t>(std::max(size, 0));
  if (file.At + count > file.Bytes.size()) file.Bytes.resize(file.At + count);
  std::memcpy(file.Bytes.data() + file.At, data, count);
  file.At += count;
  return size;
}

std::int64_t Seek(void* opaque, std::int64_t offset, int whence) {
  auto& file = *static_cast<MemoryFile*>(opaque);
  const auto size = static_cast<std::int64_t>(file.Bytes.size());
  std::int64_t to = offset;
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE: return size;
    case SEEK_SET: break;
    case SEEK_CUR: to += static_cast<std::int64_t>(file.At); break;
    case SEEK_END: to += size; break;
    default: return AVERROR(EINVAL);
  }
  if (to < 0) return AVERROR(EINVAL);
  file.At = static_cast<std::size_t>(to);
  return to;
}

}  // namespace

struct AviWriter::State {
  int Width = 0, Height = 0;
  MemoryFile File;
  AVFormatContext* Format = nullptr;
  AVIOContext* Io = nullptr;
  AVCodecContext* Codec = nullptr;
  AVStream* Stream = nullptr;
  AVFrame* Frame = nullptr;
  AVPacket* Packet = nullptr;
  SwsContext* Convert = nullptr;
  std::int64_t Next = 0;
  bool Finished = false;

  ~State() {
    sws_freeContext(Convert);
    av_packet_free(&Packet);
    av_frame_free(&Frame);
    avcodec_free_context(&Codec);
    if (Format != nullptr) avformat_free_context(Format);
    if (Io != nullptr) av_freep(&Io->buffer);
    avio_context_free(&Io);
  }

  // Sends one frame (none: the end) and writes every packet the encoder gives back.
  void Encode(const AVFrame* frame) {
    Check(avcodec_send_frame(Codec, frame), "sending a frame");
    for (;;) {
      const int got = avcodec_receive_packet(Codec, Packet);
      if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return;
      Check(got, "encoding");
      av_packet_rescale_ts(Packet, Codec->time_base, Stream->time_base);
      Packet->stream_index = Stream->index;
      Check(av_interleaved_write_frame(Format, Packet), "writing a packet");
    }
  }
};

AviWriter::AviWriter(int width, int height, int framesPerSecond, int quality) : state_(std::make_unique<State>()) {
  if (width <= 0 || height <= 0 || width % 2 != 0 || height % 2 != 0 || framesPerSecond <= 0 || quality < 2 ||
      quality > 31) {
    throw std::invalid_argument("clip: bad size, rate or quality");
  }
  State& s = *state_;
  s.Width = width;
  s.Height = height;

  Check(avformat_alloc_output_context2(&s.Format, nullptr, "avi", nullptr), "making the AVI muxer");
  s.Format->flags |= AVFMT_FLAG_BITEXACT;  // no library name or version in the file
  constexpr int kIoBuffer = 1 << 16;
  auto* buffer = static_cast<unsigned char*>(Made(av_malloc(kIoBuffer), "allocating"));
  s.Io = avio_alloc_context(buffer, kIoBuffer, 1, &s.File, nullptr, WritePacket, Seek);
  if (s.Io == nullptr) av_free(buffer);
  Made(s.Io, "making the output");
  s.Format->pb = s.Io;

  const AVCodec* codec = Made(avcodec_find_encoder(AV_CODEC_ID_MPEG4), "finding the MPEG-4 encoder");
  s.Stream = Made(avformat_new_stream(s.Format, nullptr), "adding the stream");
  s.Codec = Made(avcodec_alloc_context3(codec), "making the encoder");
  s.Codec->width = width;
  s.Codec->height = height;
  s.Codec->pix_fmt = AV_PIX_FMT_YUV420P;
  s.Codec->time_base = AVRational{1, framesPerSecond};
  s.Codec->framerate = AVRational{framesPerSecond, 1};
  s.Codec->gop_size = framesPerSecond;  // a key frame every second
  s.Codec->max_b_frames = 0;
  s.Codec->thread_count = 1;
  s.Codec->flags |= AV_CODEC_FLAG_BITEXACT | AV_CODEC_FLAG_QSCALE;
  s.Codec->global_quality = FF_QP2LAMBDA * quality;
  if ((s.Format->oformat->flags & AVFMT_GLOBALHEADER) != 0) s.Codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Check(avcodec_open2(s.Codec, codec, nullptr), "opening the encoder");
  Check(avcodec_parameters_from_context(s.Stream->codecpar, s.Codec), "describing the stream");
  s.Stream->time_base = s.Codec->time_base;
  Check(avformat_write_header(s.Format, nullptr), "writing the header");

  s.Frame = Made(av_frame_alloc(), "allocating a frame");
  s.Frame->format = AV_PIX_FMT_YUV420P;
  s.Frame->width = width;
  s.Frame->height = height;
  Check(av_frame_get_buffer(s.Frame, 0), "allocating a frame");
  s.Packet = Made(av_packet_alloc(), "allocating a packet");
  s.Convert = Made(sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, AV_PIX_FMT_YUV420P,
                                  SWS_BICUBIC | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr),
                   "making the colour conversion");
}

AviWriter::~AviWriter() = default;

void AviWriter::Add(std::span<const std::uint8_t> rgb) {
  State& s = *state_;
  if (s.Finished) throw std::logic_error("clip: a frame after the end");
  if (rgb.size() != static_cast<std::size_t>(s.Width) * static_cast<std::size_t>(s.Height) * 3) {
    throw std::invalid_argument("clip: a frame of the wrong size");
  }
  Check(av_frame_make_writable(s.Frame), "reusing a frame");
  const std::uint8_t* source[] = {rgb.data()};
  const int sourceStride[] = {3 * s.Width};
  sws_scale(s.Convert, source, sourceStride, 0, s.Height, s.Frame->data, s.Frame->linesize);
  s.Frame->pts = s.Next++;
  s.Encode(s.Frame);
}

std::vector<std::uint8_t> AviWriter::Finish() {
  State& s = *state_;
  if (s.Finished) throw std::logic_error("clip: finished twice");
  s.Finished = true;
  s.Encode(nullptr);
  Check(av_write_trailer(s.Format), "writing the index");
  avio_flush(s.Io);
  return std::move(s.File.Bytes);
}

}  // namespace zandrel::data::video
