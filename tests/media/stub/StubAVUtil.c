/* A stand-in for libavutil that exports every entry point the engine binds from it
   except av_log_format_line2, so binding it must fail on that one. */
#include "media/AVUtilAPI.h"

#define av_log_format_line2 vantrel_stub_not_exported
#define VANTREL_STUB_EXPORT(name) \
  void name(void);                \
  void name(void) {}

VANTREL_AVUTIL_FUNCTIONS(VANTREL_STUB_EXPORT)
