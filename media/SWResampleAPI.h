// Entry points of libswresample, called as ff::name(...) and bound when the library loads.
#pragma once

#include <cstdint>

extern "C" {
#include <libswresample/swresample.h>
}

#include "media/FFBinding.h"

#define VANTREL_SWRESAMPLE_FUNCTIONS(X) \
  X(swresample_version) \
  X(swr_alloc_set_opts2) \
  X(swr_init) \
  X(swr_free) \
  X(swr_convert) \
  X(swr_get_out_samples) \
  X(swr_set_matrix) \
  X(swr_set_compensation)

namespace vantrel::media::ff {
VANTREL_SWRESAMPLE_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff
