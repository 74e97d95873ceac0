// A video player's SDL copy drawing into a panel's native child window: SDL started with
// that window's id shows a YV12 overlay of one colour there, over the form.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include <SDL/SDL.h>

#include "platform/win/NativeHost.h"
#include "tests/platform/display/x11/X11TestSession.h"

using namespace vantrel;
using namespace vantrel::x11test;

namespace {

// The few SDL calls the test makes, from a copy of the library of its own. It stays
// loaded: what SDL keeps after SDL_Quit is then still known as SDL's.
struct SdlCopy {
  void* Lib = dlopen("libSDL-1.2.so.0", RTLD_NOW | RTLD_LOCAL);
  template <class F>
  F Get(const char* Name) const {
    return Lib ? reinterpret_cast<F>(dlsym(Lib, Name)) : nullptr;
  }
};

}  // namespace

TEST(X11Sdl, AnOverlayShownThroughThePanelsNativeWindowIsSeenThere) {
  X11Session S;
  const HWND Form = S.Fill(0, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {100, 100, 500, 400}, RGB(128, 128, 128));
  const HWND Panel = S.Fill(0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, {50, 40, 250, 190}, RGB(0, 0, 255), Form);
  const unsigned long Id = NativeWindowId(Panel);
  ASSERT_NE(Id, 0u);
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Form) && S.Peer.Viewable(Id); }));
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(120, 120) == 0x808080; }));

  SdlCopy Sdl;
  ASSERT_NE(Sdl.Lib, nullptr) << dlerror();
  auto Init = Sdl.Get<int (*)(Uint32)>("SDL_Init");
  auto Quit = Sdl.Get<void (*)()>("SDL_Quit");
  auto GetError = Sdl.Get<char* (*)()>("SDL_GetError");
  auto SetVideoMode = Sdl.Get<SDL_Surface* (*)(int, int, int, Uint32)>("SDL_SetVideoMode");
  auto CreateOverlay = Sdl.Get<SDL_Overlay* (*)(int, int, Uint32, SDL_Surface*)>("SDL_CreateYUVOverlay");
  auto Lock = Sdl.Get<int (*)(SDL_Overlay*)>("SDL_LockYUVOverlay");
  auto Unlock = Sdl.Get<void (*)(SDL_Overlay*)>("SDL_UnlockYUVOverlay");
  auto Display = Sdl.Get<int (*)(SDL_Overlay*, SDL_Rect*)>("SDL_DisplayYUVOverlay");
  auto FreeOverlay = Sdl.Get<void (*)(SDL_Overlay*)>("SDL_FreeYUVOverlay");
  ASSERT_TRUE(Init && Quit && GetError && SetVideoMode && CreateOverlay && Lock && Unlock && Display && FreeOverlay);

  // As the player starts its copy: the window id in the environment while SDL starts.
  setenv("SDL_VIDEODRIVER", "x11", 1);
  setenv("SDL_WINDOWID", std::to_string(Id).c_str(), 1);
  const int Started = Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE);
  unsetenv("SDL_WINDOWID");
  unsetenv("SDL_VIDEODRIVER");
  ASSERT_EQ(Started, 0) << GetError();
  SDL_Surface* Screen = SetVideoMode(200, 150, 0, 0);
  ASSERT_NE(Screen, nullptr) << GetError();
  SDL_Overlay* Overlay = CreateOverlay(64, 48, SDL_YV12_OVERLAY, Screen);
  ASSERT_NE(Overlay, nullptr) << GetError();
  // Red in studio-range BT.601: Y 81, U (Cb) 90, V (Cr) 240. YV12 keeps V before U.
  ASSERT_EQ(Lock(Overlay), 0);
  std::memset(Overlay->pixels[0], 81, static_cast<size_t>(Overlay->pitches[0]) * 48);
  std::memset(Overlay->pixels[1], 240, static_cast<size_t>(Overlay->pitches[1]) * 24);
  std::memset(Overlay->pixels[2], 90, static_cast<size_t>(Overlay->pitches[2]) * 24);
  Unlock(Overlay);
  SDL_Rect Whole{0, 0, 200, 150};
  EXPECT_EQ(Display(Overlay, &Whole), 0);

  // The panel's middle on the screen shows the overlay's red.
  uint32_t Seen = 0;
  EXPECT_TRUE(PumpUntil([&] {
    Seen = S.Peer.ScreenPixel(250, 215);
    return (Seen >> 16) > 230 && ((Seen >> 8) & 0xFF) < 30 && (Seen & 0xFF) < 30;
  })) << std::hex << Seen;
  // Outside the panel the form is untouched.
  EXPECT_EQ(S.Peer.ScreenPixel(120, 120), 0x808080u);

  FreeOverlay(Overlay);
  Quit();
}
