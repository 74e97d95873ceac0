// Entry points of libswscale, called as ff::name(...) and bound when the library loads.
#pragma once

#include <cstdint>

extern "C" {
#include <libswscale/swscale.h>
}

#include "media/FFBinding.h"

#define VANTREL_SWSCALE_FUNCTIONS(X) \
  X(swscale_version)                 \
  X(sws_alloc_context)               \
  X(sws_freeContext)                 \
  X(sws_get_class) \
  X(sws_getCachedContext) \
  X(sws_scale)

namespace vantrel::media::ff {
VANTREL_SWSCALE_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff
