// Presenting a changed 800 x 600 window 200 times through the X11 display's Present
// against plain XPutImage of the same pixels with XSync after each, on a virtual X
// server (the program starts itself again under xvfb-run when DISPLAY is not set).
// Last line: ratio <ours / plain>.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/display/X11Display.h"
#include "platform/win/Clock.h"
#include "platform/win/Surface.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WndProc.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int W = 800, H = 600, Frames = 200;

// A frame that differs from the one before it everywhere.
void Paint(uint32_t* Pixels, int Frame) {
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      Pixels[static_cast<size_t>(Y) * W + X] = static_cast<uint32_t>((X + Frame) * 0x010203 ^ (Y * 0x030201));
}

double OursMs() {
  vantrel::win::WindowManager M(std::make_unique<vantrel::display::X11Display>(std::getenv("DISPLAY")),
                                std::make_unique<vantrel::win::RealClock>());
  WNDCLASS C{};
  C.lpfnWndProc = MakeWndProc(&DefWindowProc);
  C.lpszClassName = "PresentBench";
  RegisterClass(&C);
  const HWND Wnd = CreateWindowEx(0, "PresentBench", "", WS_POPUP | WS_VISIBLE, 0, 0, W, H, nullptr, nullptr,
                                  nullptr, nullptr);
  vantrel::win::Surface Store(W, H, false);
  auto& D = static_cast<vantrel::display::X11Display&>(M.GetDisplay());
  auto* Dpy = static_cast<::Display*>(D.Connection());
  D.Present(Wnd, Store, RECT{0, 0, W, H});
  XSync(Dpy, False);
  const auto T0 = std::chrono::steady_clock::now();
  for (int F = 0; F < Frames; ++F) {
    Paint(Store.Bits(), F);
    D.Present(Wnd, Store, RECT{0, 0, W, H});
  }
  XSync(Dpy, False);
  const auto T1 = std::chrono::steady_clock::now();
  std::printf("x11 display: shared memory %s\n", D.UsesSharedMemory() ? "yes" : "no");
  DestroyWindow(Wnd);
  return std::chrono::duration<double, std::milli>(T1 - T0).count();
}

double PlainMs() {
  ::Display* Dpy = XOpenDisplay(std::getenv("DISPLAY"));
  const int Screen = DefaultScreen(Dpy);
  const Window Win = XCreateSimpleWindow(Dpy, RootWindow(Dpy, Screen), 0, 0, W, H, 0, 0, 0);
  XMapWindow(Dpy, Win);
  GC Gc = XCreateGC(Dpy, Win, 0, nullptr);
  std::vector<uint32_t> Pixels(static_cast<size_t>(W) * H);
  XImage* Img = XCreateImage(Dpy, DefaultVisual(Dpy, Screen), static_cast<unsigned>(DefaultDepth(Dpy, Screen)),
                             ZPixmap, 0, reinterpret_cast<char*>(Pixels.data()), W, H, 32, W * 4);
  XSync(Dpy, False);
  const auto T0 = std::chrono::steady_clock::now();
  for (int F = 0; F < Frames; ++F) {
    Paint(Pixels.data(), F);
    XPutImage(Dpy, Win, Gc, Img, 0, 0, 0, 0, W, H);
    XSync(Dpy, False);
  }
  const auto T1 = std::chrono::steady_clock::now();
  Img->data = nullptr;
  XDestroyImage(Img);
  XFreeGC(Dpy, Gc);
  XDestroyWindow(Dpy, Win);
  XCloseDisplay(Dpy);
  return std::chrono::duration<double, std::milli>(T1 - T0).count();
}

}  // namespace

int main(int, char** argv) {
  if (!std::getenv("DISPLAY") || !*std::getenv("DISPLAY")) {
    execlp("xvfb-run", "xvfb-run", "-a", "-s", "-screen 0 1280x800x24", argv[0], static_cast<char*>(nullptr));
    std::perror("xvfb-run");
    return 1;
  }
  const double Plain = PlainMs();
  const double Ours = OursMs();
  std::printf("frames %d of %d x %d\n", Frames, W, H);
  std::printf("ours %.1f ms, plain XPutImage with XSync %.1f ms\n", Ours, Plain);
  std::printf("ratio %.3f\n", Ours / Plain);
  return 0;
}
