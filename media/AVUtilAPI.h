// Entry points of libavutil, called as ff::name(...) and bound when the library loads.
// Adding one is a line in VANTREL_AVUTIL_FUNCTIONS. (The list alone is also readable
// from C: the tests build a stand-in library from it.)
#pragma once

#define VANTREL_AVUTIL_FUNCTIONS(X) \
  X(avutil_version)                 \
  X(av_log)                         \
  X(av_log_set_callback)            \
  X(av_log_default_callback)        \
  X(av_log_set_level)               \
  X(av_log_get_level)               \
  X(av_log_format_line2)            \
  X(av_strerror)                    \
  X(av_malloc)                      \
  X(av_free)                        \
  X(av_freep)                       \
  X(av_dict_get)                    \
  X(av_dict_set)                    \
  X(av_dict_free)                   \
  X(av_dict_count)                  \
  X(av_opt_find)                    \
  X(av_opt_set)                     \
  X(av_opt_set_int)                 \
  X(av_rescale_q)                   \
  X(av_reduce)                      \
  X(av_gcd)                         \
  X(av_parse_time)                  \
  X(av_gettime_relative)            \
  X(av_gettime)                     \
  X(av_parse_video_rate)            \
  X(av_parse_video_size)            \
  X(av_get_pix_fmt)                 \
  X(av_get_sample_fmt)              \
  X(av_get_pix_fmt_string)          \
  X(av_get_sample_fmt_string)       \
  X(av_opt_get_int)                 \
  X(av_frame_alloc)                 \
  X(av_frame_free)                  \
  X(av_frame_get_buffer) \
  X(av_d2q) \
  X(av_find_nearest_q_idx) \
  X(av_dict_copy) \
  X(av_strdup) \
  X(av_channel_layout_default) \
  X(av_channel_layout_from_mask) \
  X(av_channel_layout_uninit) \
  X(av_opt_set_dict2) \
  X(av_frame_unref) \
  X(av_frame_clone) \
  X(av_frame_make_writable) \
  X(av_frame_move_ref) \
  X(av_image_get_buffer_size) \
  X(av_image_fill_arrays) \
  X(av_image_copy) \
  X(av_get_bytes_per_sample) \
  X(av_get_sample_fmt_name) \
  X(av_get_pix_fmt_name) \
  X(av_pix_fmt_desc_get) \
  X(av_opt_set_bin) \
  X(av_channel_layout_copy) \
  X(av_channel_layout_compare) \
  X(av_sample_fmt_is_planar) \
  X(av_compare_ts) \
  X(av_mallocz) \
  X(av_dynarray_add_nofree) \
  X(av_get_picture_type_char) \
  X(av_frame_ref) \
  X(av_frame_copy_props) \
  X(av_audio_fifo_alloc) \
  X(av_audio_fifo_free) \
  X(av_audio_fifo_write) \
  X(av_audio_fifo_read) \
  X(av_audio_fifo_size) \
  X(av_samples_get_buffer_size) \
  X(av_samples_fill_arrays) \
  X(av_samples_set_silence) \
  X(av_samples_copy) \
  X(av_buffer_pool_init) \
  X(av_buffer_pool_get) \
  X(av_buffer_pool_uninit) \
  X(av_display_rotation_get) \
  X(av_get_bits_per_pixel) \
  X(av_pix_fmt_count_planes) \
  X(av_frame_is_writable) \
  X(av_image_get_linesize) \
  X(av_image_copy_plane)

#ifdef __cplusplus

#include <cstdint>

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/avutil.h>
#include <libavutil/buffer.h>
#include <libavutil/dict.h>
#include <libavutil/display.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/rational.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
#include <libavutil/samplefmt.h>
#include <libavutil/time.h>
}

#include "media/FFBinding.h"

namespace vantrel::media::ff {
VANTREL_AVUTIL_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff

#endif
