// Entry points of libavformat, called as ff::name(...) and bound when the library loads.
#pragma once

#include <cstdint>

extern "C" {
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
}

#include "media/FFBinding.h"

#define VANTREL_AVFORMAT_FUNCTIONS(X) \
  X(avformat_version)                 \
  X(avformat_alloc_context)           \
  X(avformat_free_context)            \
  X(avformat_open_input)              \
  X(avformat_find_stream_info)        \
  X(avformat_close_input)             \
  X(avio_alloc_context)               \
  X(avio_context_free)                \
  X(avio_flush)                       \
  X(avio_read)                        \
  X(avio_write)                       \
  X(avio_seek)                        \
  X(avio_size)                        \
  X(avio_open2)                       \
  X(avio_closep)                      \
  X(av_find_input_format)             \
  X(avformat_get_class)               \
  X(av_muxer_iterate)               \
  X(avformat_new_stream)            \
  X(avformat_alloc_output_context2) \
  X(av_guess_format) \
  X(av_guess_codec) \
  X(av_seek_frame) \
  X(av_filename_number_test) \
  X(av_dump_format) \
  X(av_read_frame) \
  X(avio_feof) \
  X(avformat_write_header) \
  X(av_write_trailer) \
  X(av_interleaved_write_frame) \
  X(av_codec_get_id) \
  X(av_codec_get_tag2) \
  X(av_stream_get_side_data) \
  X(av_stream_new_side_data) \
  X(av_sdp_create) \
  X(av_pkt_dump_log2) \
  X(avformat_seek_file) \
  X(av_read_pause) \
  X(av_read_play) \
  X(av_find_best_stream)

namespace vantrel::media::ff {
VANTREL_AVFORMAT_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff
