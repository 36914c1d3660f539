#include "platform/mci/clip_decoder.h"

#include <algorithm>
#include <string>

#include "platform/mci/ffmpeg_library.h"

namespace zandrel::mci {
namespace {

constexpr int kMaxSide = 4096;            // larger pictures are not clips of this game
constexpr int kMaxPacketsPerFrame = 256;  // damaged data gives up rather than read on

}  // namespace

std::unique_ptr<ClipDecoder> ClipDecoder::Open(const std::filesystem::path& path) {
  const FfmpegCalls* calls = Ffmpeg();
  if (calls == nullptr) return nullptr;
  const FfmpegCalls& ff = *calls;
  std::unique_ptr<ClipDecoder> clip(new ClipDecoder(ff));
  // Named through the file protocol: a data file name never reaches another one.
  const std::string url = "file:" + path.string();
  if (ff.avformat_open_input(&clip->format_, url.c_str(), nullptr, nullptr) < 0) return nullptr;
  if (ff.avformat_find_stream_info(clip->format_, nullptr) < 0) return nullptr;
  const AVCodec* codec = nullptr;
  clip->stream_ = ff.av_find_best_stream(clip->format_, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  if (clip->stream_ < 0 || codec == nullptr) return nullptr;
  AVStream* stream = clip->format_->streams[clip->stream_];
  for (unsigned i = 0; i < clip->format_->nb_streams; ++i) {
    if (static_cast<int>(i) != clip->stream_) clip->format_->streams[i]->discard = AVDISCARD_ALL;
  }
  clip->codec_ = ff.avcodec_alloc_context3(codec);
  if (clip->codec_ == nullptr || ff.avcodec_parameters_to_context(clip->codec_, stream->codecpar) < 0) return nullptr;
  clip->codec_->thread_count = 1;  // decoding runs a frame at a time on the caller's thread
  if (ff.avcodec_open2(clip->codec_, codec, nullptr) < 0) return nullptr;
  clip->width_ = clip->codec_->width;
  clip->height_ = clip->codec_->height;
  if (clip->width_ <= 0 || clip->height_ <= 0 || clip->width_ > kMaxSide || clip->height_ > kMaxSide) return nullptr;
  const AVRational rate = ff.av_guess_frame_rate(clip->format_, stream, nullptr);
  if (rate.num > 0 && rate.den > 0) {
    clip->frameMs_ =
        static_cast<std::uint32_t>(std::clamp<std::int64_t>(ff.av_rescale(1000, rate.den, rate.num), 1, 10000));
  }
  clip->packet_ = ff.av_packet_alloc();
  clip->current_ = ff.av_frame_alloc();
  clip->next_ = ff.av_frame_alloc();
  if (clip->packet_ == nullptr || clip->current_ == nullptr || clip->next_ == nullptr) return nullptr;
  return clip;
}

ClipDecoder::~ClipDecoder() {
  ff_.sws_freeContext(scaler_);
  ff_.av_frame_free(&current_);
  ff_.av_frame_free(&next_);
  ff_.av_packet_free(&packet_);
  ff_.avcodec_free_context(&codec_);
  ff_.avformat_close_input(&format_);
}

bool ClipDecoder::DecodeNext() {
  const std::int64_t previous = nextTime_;
  for (int packets = 0; packets <= kMaxPacketsPerFrame;) {
    ff_.av_frame_unref(next_);
    const int received = ff_.avcodec_receive_frame(codec_, next_);
    if (received == 0) {
      if (next_->width <= 0 || next_->height <= 0 || next_->width > kMaxSide || next_->height > kMaxSide) return false;
      const std::int64_t stamp = next_->best_effort_timestamp;
      if (stamp == AV_NOPTS_VALUE) {
        nextTime_ = haveFirst_ ? previous + frameMs_ : 0;
      } else {
        if (!haveFirst_) firstStamp_ = stamp;
        nextTime_ =
            std::max(ff_.av_rescale_q(stamp - firstStamp_, format_->streams[stream_]->time_base, AVRational{1, 1000}),
                     haveFirst_ ? previous : 0);
      }
      haveFirst_ = true;
      return true;
    }
    if (received != AVERROR(EAGAIN) || draining_) return false;
    if (ff_.av_read_frame(format_, packet_) < 0) {
      // The end of the file: the frames the decoder still holds come out.
      ff_.avcodec_send_packet(codec_, nullptr);
      draining_ = true;
      continue;
    }
    ++packets;
    if (packet_->stream_index == stream_) ff_.avcodec_send_packet(codec_, packet_);  // a damaged packet is skipped
    ff_.av_packet_unref(packet_);
  }
  return false;
}

void ClipDecoder::Advance() {
  ff_.av_frame_unref(current_);
  ff_.av_frame_move_ref(current_, next_);
}

std::span<const std::uint8_t> ClipDecoder::CurrentRgba(int& width, int& height) {
  width = current_->width;
  height = current_->height;
  if (width <= 0 || height <= 0 || current_->format < 0) return {};
  scaler_ = ff_.sws_getCachedContext(scaler_, width, height, static_cast<AVPixelFormat>(current_->format), width,
                                     height, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (scaler_ == nullptr) return {};
  rgba_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  std::uint8_t* planes[4] = {rgba_.data(), nullptr, nullptr, nullptr};
  const int strides[4] = {width * 4, 0, 0, 0};
  if (ff_.sws_scale(scaler_, current_->data, current_->linesize, 0, height, planes, strides) != height) return {};
  return rgba_;
}

}  // namespace zandrel::mci
