// Program entry. Until the application exists: loads the media libraries from the
// "LibAV" folder next to the program when it holds them, else from the system, and
// prints each library with its version, or the loader's error text (exit code 1).
#include <cstdio>

#include "media/FFLoad.h"
#include "media/MyUtils.h"
#include "platform/rtl/Format.h"

using namespace vantrel::media;

int main() {
  TFFLoader& Loader = FFLoader();
  Loader.SetInstallLogger(false);
  Loader.SetLibraryPath(GetExeFolder() + "LibAV");
  if (!Loader.Load(EncoderLibraries)) {
    std::fprintf(stderr, "%s\n", Loader.LastErrMsg().c_str());
    return 1;
  }
  for (TLibrary L : {avUtil, swResample, swScale, postProc, avCodec, avFormat, avFilter}) {
    const Cardinal V = Loader.LibraryVersion(L);
    std::printf("%s\n", Format("%s %d.%d.%d", {Loader.GetLibraryFileName(L), V >> 16,
                                               (V >> 8) & 0xFF, V & 0xFF})
                            .c_str());
  }
  Loader.Unload(EncoderLibraries);
  return 0;
}
