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
  X(avio_closep)

namespace vantrel::media::ff {
VANTREL_AVFORMAT_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff
