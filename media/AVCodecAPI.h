// Entry points of libavcodec, called as ff::name(...) and bound when the library loads.
#pragma once

#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/avfft.h>
#include <libavcodec/bsf.h>
}

#include "media/FFBinding.h"

#define VANTREL_AVCODEC_FUNCTIONS(X) \
  X(avcodec_version)                 \
  X(avcodec_find_decoder)            \
  X(avcodec_find_encoder)            \
  X(avcodec_get_name)                \
  X(avcodec_get_class)               \
  X(av_codec_iterate)                \
  X(avcodec_alloc_context3)          \
  X(avcodec_free_context)            \
  X(avcodec_parameters_to_context)   \
  X(avcodec_string)                 \
  X(avcodec_find_encoder_by_name)   \
  X(avcodec_find_decoder_by_name)   \
  X(avcodec_open2)                  \
  X(avcodec_send_frame)             \
  X(avcodec_receive_packet)         \
  X(av_packet_alloc)                \
  X(av_packet_free)                 \
  X(av_bsf_get_by_name) \
  X(av_packet_unref) \
  X(avcodec_send_packet) \
  X(avcodec_receive_frame) \
  X(avcodec_flush_buffers) \
  X(avcodec_parameters_from_context) \
  X(avcodec_parameters_copy) \
  X(av_packet_rescale_ts) \
  X(av_packet_get_side_data) \
  X(av_packet_ref) \
  X(av_new_packet) \
  X(av_bsf_alloc) \
  X(av_bsf_init) \
  X(av_bsf_send_packet) \
  X(av_bsf_receive_packet) \
  X(av_bsf_free) \
  X(avcodec_decode_subtitle2) \
  X(avcodec_encode_subtitle) \
  X(avsubtitle_free) \
  X(av_rdft_init) \
  X(av_rdft_calc) \
  X(av_rdft_end) \
  X(av_packet_move_ref) \
  X(av_packet_make_refcounted)

namespace vantrel::media::ff {
VANTREL_AVCODEC_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff
