/* The binary interface of frame-hook plug-ins: shared libraries exporting "Configure",
   "Process" and optionally "Release" with C linkage. Readable from C so that plug-ins
   can be written against it. */
#ifndef VANTREL_MEDIA_FRAMEHOOKABI_H
#define VANTREL_MEDIA_FRAMEHOOKABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A picture handed to Process: up to four planes with their line sizes in bytes. The
   pixel format argument is FFmpeg's (libavutil 57) AVPixelFormat number. */
typedef struct TFrameHookPicture {
  uint8_t* data[4];
  int linesize[4];
} TFrameHookPicture;

/* 0 on success; *ctx receives the plug-in's context for this configuration. */
typedef int (*TFrameHookConfigureFn)(void** ctx, int argc, char* argv[]);
typedef void (*TFrameHookProcessFn)(void* ctx, TFrameHookPicture* picture, int pix_fmt,
                                    int width, int height, int64_t pts);
typedef void (*TFrameHookReleaseFn)(void* ctx);

#ifdef __cplusplus
}
#endif

#endif
