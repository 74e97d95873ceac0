// Entry points of libavfilter, called as ff::name(...) and bound when the library loads.
#pragma once

#include <cstdint>

extern "C" {
#include <libavfilter/avfilter.h>
}

#include "media/FFBinding.h"

#define VANTREL_AVFILTER_FUNCTIONS(X) \
  X(avfilter_version)               \
  X(avfilter_graph_free)

namespace vantrel::media::ff {
VANTREL_AVFILTER_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff
