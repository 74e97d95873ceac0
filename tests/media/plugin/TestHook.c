/* A frame-hook plug-in for the tests: counts its calls, keeps one context per
   configuration, notes what it saw of the last picture and marks the first byte of each
   picture with the context's number.
   Built a second time without Process (TESTHOOK_NO_PROCESS). */
#include <stdlib.h>
#include <string.h>

#include "media/FrameHookABI.h"

#define EXPORT __attribute__((visibility("default")))

typedef struct {
  int Number;
} TTestHookContext;

static int ConfigureCalls, ProcessCalls, ReleaseCalls;
/* The size of the last picture and the first bytes of its top row at its left and right
   ends (the first plane, 8 bits a pixel). */
static int LastWidth, LastHeight, LastLeft, LastRight;

EXPORT int Configure(void** ctx, int argc, char* argv[]) {
  ++ConfigureCalls;
  if (argc > 1 && strcmp(argv[1], "fail") == 0) return -1;
  TTestHookContext* C = calloc(1, sizeof *C);
  if (!C) return -1;
  C->Number = ConfigureCalls;
  *ctx = C;
  return 0;
}

#ifndef TESTHOOK_NO_PROCESS
EXPORT void Process(void* ctx, TFrameHookPicture* picture, int pix_fmt, int width, int height,
                    int64_t pts) {
  (void)pix_fmt;
  (void)pts;
  ++ProcessCalls;
  LastWidth = width;
  LastHeight = height;
  if (picture && picture->data[0] && width > 8 && height > 8) {
    const uint8_t* Row = picture->data[0] + 4 * picture->linesize[0];
    LastLeft = Row[4];
    LastRight = Row[width - 5];
  }
  if (ctx && picture && picture->data[0]) picture->data[0][0] = (uint8_t)((TTestHookContext*)ctx)->Number;
}
#endif

EXPORT void Release(void* ctx) {
  ++ReleaseCalls;
  free(ctx);
}

EXPORT void TestHookCounts(int* AConfigure, int* AProcess, int* ARelease) {
  *AConfigure = ConfigureCalls;
  *AProcess = ProcessCalls;
  *ARelease = ReleaseCalls;
}

EXPORT void TestHookLastPicture(int* AWidth, int* AHeight, int* ALeft, int* ARight) {
  *AWidth = LastWidth;
  *AHeight = LastHeight;
  *ALeft = LastLeft;
  *ARight = LastRight;
}
