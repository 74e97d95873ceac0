// Entry points of libavcodec, called as ff::name(...) and bound when the library loads.
#pragma once

#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "media/FFBinding.h"

#define VANTREL_AVCODEC_FUNCTIONS(X) \
  X(avcodec_version)

namespace vantrel::media::ff {
VANTREL_AVCODEC_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff
