// Entry points of libavfilter, called as ff::name(...) and bound when the library loads.
#pragma once

#include <cstdint>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

#include "media/FFBinding.h"

#define VANTREL_AVFILTER_FUNCTIONS(X) \
  X(avfilter_version)               \
  X(avfilter_graph_free) \
  X(avfilter_get_by_name) \
  X(avfilter_graph_alloc) \
  X(avfilter_graph_create_filter) \
  X(avfilter_graph_parse_ptr) \
  X(avfilter_graph_config) \
  X(avfilter_inout_alloc) \
  X(avfilter_inout_free) \
  X(avfilter_link) \
  X(av_buffersrc_add_frame_flags) \
  X(av_buffersink_get_frame) \
  X(av_buffersink_get_time_base) \
  X(av_buffersink_get_format) \
  X(av_buffersink_get_w) \
  X(av_buffersink_get_h) \
  X(av_buffersink_get_sample_aspect_ratio)

namespace vantrel::media::ff {
VANTREL_AVFILTER_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff
