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
  X(av_freep)

#ifdef __cplusplus

#include <cstdint>

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include "media/FFBinding.h"

namespace vantrel::media::ff {
VANTREL_AVUTIL_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff

#endif
