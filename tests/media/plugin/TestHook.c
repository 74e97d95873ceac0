/* A frame-hook plug-in for the tests: counts its calls, keeps one context per
   configuration and marks the first byte of each picture with the context's number.
   Built a second time without Process (TESTHOOK_NO_PROCESS). */
#include <stdlib.h>
#include <string.h>

#include "media/FrameHookABI.h"

#define EXPORT __attribute__((visibility("default")))

typedef struct {
  int Number;
} TTestHookContext;

static int ConfigureCalls, ProcessCalls, ReleaseCalls;

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
  (void)width;
  (void)height;
  (void)pts;
  ++ProcessCalls;
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
