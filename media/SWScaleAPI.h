// Entry points of libswscale, called as ff::name(...) and bound when the library loads.
#pragma once

#include <cstdint>

extern "C" {
#include <libswscale/swscale.h>
}

#include "media/FFBinding.h"

#define VANTREL_SWSCALE_FUNCTIONS(X) \
  X(swscale_version)

namespace vantrel::media::ff {
VANTREL_SWSCALE_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff
