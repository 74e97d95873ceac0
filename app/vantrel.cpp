// Program entry. Until the application exists: `vantrel --versions` loads the media
// libraries from the "LibAV" folder next to the program when it holds them, else from
// the system, and prints each library with its version, or the loader's error text (exit
// code 1). Otherwise it opens the X display, makes the application's windows and runs until
// the main window closes; without a display it says why and exits with 1.
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/main.h"
#include "media/FFLoad.h"
#include "media/MyUtils.h"
#include "platform/display/X11Display.h"
#include "platform/rtl/Format.h"
#include "platform/ui/Forms.h"
#include "platform/win/Clock.h"
#include "platform/win/WindowManager.h"

using namespace vantrel::media;

namespace {

int PrintVersions() {
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

int RunApplication() {
  std::unique_ptr<vantrel::win::Display> Display;
  try {
    Display = vantrel::display::OpenProgramDisplay();
  } catch (const Exception& E) {
    std::fprintf(stderr, "%s\n", E.Message().c_str());
    return 1;
  }
  vantrel::win::WindowManager Manager(std::move(Display), std::make_unique<vantrel::win::RealClock>());
  TApplicationInstance App;
  Application->Initialize();
  Application->SetTitle("");
  vantrel::app::CreateApplicationForms();
  Application->Run();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--versions") == 0) return PrintVersions();
  return RunApplication();
}
