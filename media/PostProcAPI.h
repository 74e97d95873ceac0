// Entry points of libpostproc. The engine calls nothing of it: it is loaded so that
// libavfilter's dependency on it is met from the same folder as the other libraries.
#pragma once

#include <cstdint>

extern "C" {
#include <libpostproc/postprocess.h>
}

#include "media/FFBinding.h"

#define VANTREL_POSTPROC_FUNCTIONS(X) \
  X(postproc_version)

namespace vantrel::media::ff {
VANTREL_POSTPROC_FUNCTIONS(VANTREL_FF_POINTER)
}  // namespace vantrel::media::ff
