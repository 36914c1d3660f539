// The FFmpeg calls the clip decoder makes, bound from the shared libraries when the first clip
// opens. A game that shows no clip never loads FFmpeg's libraries and what they pull in (more
// than ninety libraries, some 17 MB resident), which keeps start-up quick.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace zandrel::mci {

#define ZANDREL_FFMPEG_CALLS(X)    \
  X(avformat_open_input)           \
  X(avformat_find_stream_info)     \
  X(avformat_close_input)          \
  X(av_find_best_stream)           \
  X(av_guess_frame_rate)           \
  X(av_read_frame)                 \
  X(avcodec_alloc_context3)        \
  X(avcodec_parameters_to_context) \
  X(avcodec_open2)                 \
  X(avcodec_free_context)          \
  X(avcodec_send_packet)           \
  X(avcodec_receive_frame)         \
  X(av_packet_alloc)               \
  X(av_packet_free)                \
  X(av_packet_unref)               \
  X(av_frame_alloc)                \
  X(av_frame_free)                 \
  X(av_frame_unref)                \
  X(av_frame_move_ref)             \
  X(av_rescale)                    \
  X(av_rescale_q)                  \
  X(sws_getCachedContext)          \
  X(sws_scale)                     \
  X(sws_freeContext)               \
  X(av_log_set_level)

struct FfmpegCalls {
#define ZANDREL_FFMPEG_MEMBER(name) decltype(&::name) name = nullptr;
  ZANDREL_FFMPEG_CALLS(ZANDREL_FFMPEG_MEMBER)
#undef ZANDREL_FFMPEG_MEMBER
};

// The bound calls, loaded on the first use; null when a library or a call is missing (the
// reason goes to stderr once).
const FfmpegCalls* Ffmpeg();

}  // namespace zandrel::mci
