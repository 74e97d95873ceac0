// Presenting backing stores on X: a window-sized image per window, in a shared memory
// segment when the server can attach it (never rewritten while a put of it is under
// way), else sent with XPutImage. Layered windows go to a compositing manager when one
// runs; without one we blend them over our own windows below and the desktop colour,
// and again whenever one of those below changes.
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/display/LayerBlend.h"
#include "platform/display/X11Display.h"
#include "platform/win/Regions.h"

#include "platform/display/X11Internal.h"

#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

namespace vantrel::display {

X11Frame::~X11Frame() {
  if (!Image) return;
  if (Shared) {
    XShmDetach(Dpy, &Shm);
    XSync(Dpy, False);
    Image->data = nullptr;
    XDestroyImage(Image);
    shmdt(Shm.shmaddr);
  } else {
    XDestroyImage(Image);  // frees the pixels too
  }
}

namespace {

// A shared-memory image, or nullptr when the server cannot attach it (a remote server).
std::unique_ptr<X11Frame> MakeSharedFrame(::Display* Dpy, Visual* Vis, int Depth, int W, int H) {
  auto F = std::make_unique<X11Frame>();
  F->Dpy = Dpy;
  F->Image = XShmCreateImage(Dpy, Vis, static_cast<unsigned>(Depth), ZPixmap, nullptr, &F->Shm, static_cast<unsigned>(W),
                             static_cast<unsigned>(H));
  if (!F->Image) return nullptr;
  const size_t Bytes = static_cast<size_t>(F->Image->bytes_per_line) * static_cast<size_t>(H);
  F->Shm.shmid = shmget(IPC_PRIVATE, Bytes, IPC_CREAT | 0600);
  if (F->Shm.shmid < 0) {
    XDestroyImage(F->Image);
    F->Image = nullptr;
    return nullptr;
  }
  F->Shm.shmaddr = static_cast<char*>(shmat(F->Shm.shmid, nullptr, 0));
  if (F->Shm.shmaddr == reinterpret_cast<char*>(-1)) {
    shmctl(F->Shm.shmid, IPC_RMID, nullptr);
    XDestroyImage(F->Image);
    F->Image = nullptr;
    return nullptr;
  }
  F->Image->data = F->Shm.shmaddr;
  F->Shm.readOnly = False;
  int Error = 0;
  {
    X11ErrorTrap Trap(Dpy);
    XShmAttach(Dpy, &F->Shm);
    Error = Trap.Sync();
  }
  // Gone from the system once both sides let go.
  shmctl(F->Shm.shmid, IPC_RMID, nullptr);
  if (Error) {
    F->Image->data = nullptr;
    XDestroyImage(F->Image);
    F->Image = nullptr;
    shmdt(F->Shm.shmaddr);
    return nullptr;
  }
  F->Shared = true;
  return F;
}

std::unique_ptr<X11Frame> MakePlainFrame(::Display* Dpy, Visual* Vis, int Depth, int W, int H) {
  auto F = std::make_unique<X11Frame>();
  F->Dpy = Dpy;
  char* Data = static_cast<char*>(std::calloc(static_cast<size_t>(W) * static_cast<size_t>(H), 4));
  if (!Data) return nullptr;
  F->Image = XCreateImage(Dpy, Vis, static_cast<unsigned>(Depth), ZPixmap, 0, Data, static_cast<unsigned>(W),
                          static_cast<unsigned>(H), 32, W * 4);
  if (!F->Image) {
    std::free(Data);
    return nullptr;
  }
  F->Image->byte_order = LSBFirst;  // our pixels' memory order; Xlib converts for the server
  return F;
}

RECT Intersection(const RECT& A, const RECT& B) {
  RECT R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
  if (R.Right <= R.Left || R.Bottom <= R.Top) return RECT{0, 0, 0, 0};
  return R;
}

bool IsEmptyRect(const RECT& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

}  // namespace

bool X11State::BlendsItself(const X11Native& N) const { return (N.Alpha < 255 || N.PerPixel) && !N.CompositorBlends; }

void X11State::WaitForFrame(X11Native& N) {
  if (!N.Frame || !N.Frame->Shared) return;
  struct Match {
    int Type;
    Drawable D;
  } Want{ShmEventType, N.Xid};
  while (N.Frame->InFlight > 0) {
    XEvent E;
    XIfEvent(
        Dpy, &E,
        [](::Display*, XEvent* Ev, XPointer Arg) -> Bool {
          const auto* M = reinterpret_cast<const Match*>(Arg);
          return Ev->type == M->Type && reinterpret_cast<XShmCompletionEvent*>(Ev)->drawable == M->D;
        },
        reinterpret_cast<XPointer>(&Want));
    --N.Frame->InFlight;
  }
}

void X11State::EnsureFrame(X11Native& N) {
  const int W = N.Width(), H = N.Height();
  const int WantDepth = N.Argb ? 32 : Depth;
  if (N.Frame && N.Frame->Width() == W && N.Frame->Height() == H && N.Frame->Image->depth == WantDepth) {
    WaitForFrame(N);
    return;
  }
  WaitForFrame(N);
  N.Frame.reset();
  if (W <= 0 || H <= 0) return;
  Visual* V = N.Argb ? ArgbVis : Vis;
  if (ShmAvailable && ImageByteOrder(Dpy) == LSBFirst) {
    N.Frame = MakeSharedFrame(Dpy, V, WantDepth, W, H);
    if (!N.Frame) ShmAvailable = false;  // the server cannot reach our memory
  }
  if (!N.Frame) N.Frame = MakePlainFrame(Dpy, V, WantDepth, W, H);
}

void X11State::PutFrame(X11Native& N, const RECT& Area) {
  if (!N.Frame || !N.Xid || !N.Mapped || IsEmptyRect(Area)) return;
  const int X = Area.Left, Y = Area.Top;
  const unsigned W = static_cast<unsigned>(Area.Right - Area.Left), H = static_cast<unsigned>(Area.Bottom - Area.Top);
  if (N.Frame->Shared) {
    XShmPutImage(Dpy, N.Xid, N.Gc, N.Frame->Image, X, Y, X, Y, W, H, True);
    ++N.Frame->InFlight;
  } else {
    XPutImage(Dpy, N.Xid, N.Gc, N.Frame->Image, X, Y, X, Y, W, H);
  }
}

std::vector<X11State::Beneath> X11State::WindowsBelow(HWND Wnd, const RECT& ScreenArea) const {
  std::vector<Beneath> Out;
  auto It = std::find(Stacking.begin(), Stacking.end(), Wnd);
  if (It != Stacking.end()) ++It;
  for (; It != Stacking.end(); ++It) {
    const X11Native* M = Find(*It);
    if (!M || !M->Mapped || !M->Frame || IsEmptyRect(Intersection(M->Rect, ScreenArea))) continue;
    Beneath B{M, std::nullopt};
    if (M->Shape) B.Shape.emplace(M->Shape->data(), M->Shape->size());
    Out.push_back(std::move(B));
  }
  return Out;
}

uint32_t X11State::ScreenPixelBelow(const std::vector<Beneath>& Under, int X, int Y) const {
  for (const Beneath& B : Under) {
    const X11Native* M = B.Native;
    if (X < M->Rect.Left || X >= M->Rect.Right || Y < M->Rect.Top || Y >= M->Rect.Bottom) continue;
    const int LX = X - M->Rect.Left, LY = Y - M->Rect.Top;
    if (B.Shape && !B.Shape->Contains(LX, LY)) continue;
    if (M->PerPixel && M->Source && (M->Source->Row(LY)[LX] >> 24) == 0) continue;
    return M->Frame->Row(LY)[LX] & 0xFFFFFF;
  }
  return DesktopPixel;  // windows not ours show as the desktop colour
}

void X11State::Reblend(X11Native& N, const RECT& ScreenArea) {
  if (!N.Source || !N.Frame) return;
  const RECT R = Intersection(ScreenArea, N.Rect);
  if (IsEmptyRect(R)) return;
  WaitForFrame(N);
  const std::vector<Beneath> Under = WindowsBelow(N.Wnd, R);
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const uint32_t* Src = N.Source->Row(Y - N.Rect.Top);
    uint32_t* Dst = N.Frame->Row(Y - N.Rect.Top);
    for (int X = R.Left; X < R.Right; ++X) {
      const int LX = X - N.Rect.Left;
      Dst[LX] = BlendLayerPixel(Src[LX], ScreenPixelBelow(Under, X, Y), N.Alpha, N.PerPixel) | 0xFF000000u;
    }
  }
  PutFrame(N, RECT{R.Left - N.Rect.Left, R.Top - N.Rect.Top, R.Right - N.Rect.Left, R.Bottom - N.Rect.Top});
}

void X11State::ReblendAbove(HWND Under, const RECT& ScreenArea) {
  if (IsEmptyRect(ScreenArea)) return;
  // Bottom to top, so each blends over what is already new beneath it.
  auto End = Under ? std::find(Stacking.begin(), Stacking.end(), Under) : Stacking.end();
  for (auto It = std::make_reverse_iterator(End); It != Stacking.rend(); ++It) {
    X11Native* M = Find(*It);
    if (M && M->Mapped && M->Source && BlendsItself(*M)) Reblend(*M, ScreenArea);
  }
}

bool X11State::UpdateAlphaRuns(X11Native& N) {
  std::vector<XRectangle> Runs;
  if (N.Source) {
    const win::Surface& S = *N.Source;
    for (int Y = 0; Y < S.Height(); ++Y) {
      const uint32_t* Row = S.Row(Y);
      for (int X = 0; X < S.Width();) {
        if ((Row[X] >> 24) == 0) {
          ++X;
          continue;
        }
        int End = X;
        while (End < S.Width() && (Row[End] >> 24) != 0) ++End;
        Runs.push_back({static_cast<short>(X), static_cast<short>(Y), static_cast<unsigned short>(End - X), 1});
        X = End;
      }
    }
  }
  const bool Same = Runs.size() == N.AlphaRuns.size() &&
                    std::equal(Runs.begin(), Runs.end(), N.AlphaRuns.begin(), [](const XRectangle& A, const XRectangle& B) {
                      return A.x == B.x && A.y == B.y && A.width == B.width && A.height == B.height;
                    });
  if (!Same) N.AlphaRuns = std::move(Runs);
  return !Same;
}

void X11Display::Present(HWND Wnd, const win::Surface& BackingStore, const RECT& Area) {
  X11State& S = *F;
  X11Native* N = S.Find(Wnd);
  if (!N) return;
  if (!N->Mapped && !S.BlendsItself(*N)) {
    // Nothing of it is on screen: the exposure that follows its mapping brings the
    // pixels over then, so a form painted while hidden costs no copying now.
    S.SyncHosts(Wnd);
    return;
  }
  S.EnsureFrame(*N);
  if (!N->Frame) return;
  const RECT R = Intersection(Area, RECT{0, 0, std::min(N->Width(), BackingStore.Width()),
                                         std::min(N->Height(), BackingStore.Height())});
  if (!IsEmptyRect(R)) {
    const size_t Bytes = static_cast<size_t>(R.Right - R.Left) * 4;
    const RECT Screen{R.Left + N->Rect.Left, R.Top + N->Rect.Top, R.Right + N->Rect.Left, R.Bottom + N->Rect.Top};
    if (S.BlendsItself(*N)) {
      if (!N->Source || N->Source->Width() != N->Width() || N->Source->Height() != N->Height())
        N->Source = std::make_unique<win::Surface>(N->Width(), N->Height(), false);
      for (int Y = R.Top; Y < R.Bottom; ++Y) std::memcpy(N->Source->Row(Y) + R.Left, BackingStore.Row(Y) + R.Left, Bytes);
      // A new shape exposes what it uncovers; only a changed one is applied.
      if (N->PerPixel && S.UpdateAlphaRuns(*N)) S.ApplyShape(*N);
      S.Reblend(*N, Screen);
    } else {
      const bool Opaque = N->Argb && !N->PerPixel;
      for (int Y = R.Top; Y < R.Bottom; ++Y) {
        uint32_t* Dst = N->Frame->Row(Y) + R.Left;
        const uint32_t* Src = BackingStore.Row(Y) + R.Left;
        if (Opaque)
          for (int X = 0; X < R.Right - R.Left; ++X) Dst[X] = Src[X] | 0xFF000000u;
        else
          std::memcpy(Dst, Src, Bytes);
      }
      S.PutFrame(*N, R);
    }
    S.ReblendAbove(Wnd, Screen);
  }
  S.SyncHosts(Wnd);
  XFlush(S.Dpy);
}

void X11Display::SetNativeWindowAlpha(HWND Wnd, BYTE ConstantAlpha, bool PerPixel) {
  X11State& S = *F;
  X11Native* N = S.Find(Wnd);
  if (!N) return;
  const bool WasSelf = S.BlendsItself(*N);
  N->Alpha = ConstantAlpha;
  N->PerPixel = PerPixel;
  N->CompositorBlends = (ConstantAlpha < 255 || PerPixel) && S.CompositorRunning();
  if (N->CompositorBlends && PerPixel && !N->Argb && N->Xid && S.ArgbVis) {
    // Per-pixel alpha needs the 32-bit visual: the window is made again on it, and its
    // first exposure brings the pixels back.
    const bool Visible = N->Visible;
    S.DropWindow(*N);
    S.MakeWindow(*N);
    N->Visible = Visible;
    S.UpdateMapping(*N);
  }
  if (N->Xid) {
    if (ConstantAlpha < 255 && N->CompositorBlends) {
      const unsigned long Opacity = static_cast<unsigned long>(ConstantAlpha) * 0x01010101UL;
      XChangeProperty(S.Dpy, N->Xid, S.A.NetWmWindowOpacity, XA_CARDINAL, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&Opacity), 1);
    } else {
      XDeleteProperty(S.Dpy, N->Xid, S.A.NetWmWindowOpacity);
    }
  }
  const bool NowSelf = S.BlendsItself(*N);
  if (NowSelf && N->Frame) {
    if (!WasSelf) {
      // The pixels presented so far are the window's own.
      S.WaitForFrame(*N);
      N->Source = std::make_unique<win::Surface>(N->Width(), N->Height(), false);
      for (int Y = 0; Y < N->Height(); ++Y)
        std::memcpy(N->Source->Row(Y), N->Frame->Row(Y), static_cast<size_t>(N->Width()) * 4);
    }
    S.UpdateAlphaRuns(*N);
    S.ApplyShape(*N);
    S.Reblend(*N, N->Rect);
  } else if (!NowSelf && WasSelf) {
    if (N->Source && N->Frame) {
      S.WaitForFrame(*N);
      for (int Y = 0; Y < N->Height(); ++Y)
        std::memcpy(N->Frame->Row(Y), N->Source->Row(Y), static_cast<size_t>(N->Width()) * 4);
      S.PutFrame(*N, RECT{0, 0, N->Width(), N->Height()});
    }
    N->Source.reset();
    N->AlphaRuns.clear();
    S.ApplyShape(*N);
  }
  XFlush(S.Dpy);
}

bool X11Display::ComposeScreen(win::Surface& Out) const {
  X11State& S = *F;
  const int W = std::min(Out.Width(), DisplayWidth(S.Dpy, S.Screen));
  const int H = std::min(Out.Height(), DisplayHeight(S.Dpy, S.Screen));
  if (W <= 0 || H <= 0) return false;
  XImage* Img = XGetImage(S.Dpy, S.Root, 0, 0, static_cast<unsigned>(W), static_cast<unsigned>(H), AllPlanes, ZPixmap);
  if (!Img) return false;
  for (int Y = 0; Y < H; ++Y) {
    uint32_t* Dst = Out.Row(Y);
    if (Img->bits_per_pixel == 32) {
      const auto* Src = reinterpret_cast<const uint32_t*>(Img->data + static_cast<size_t>(Y) * Img->bytes_per_line);
      for (int X = 0; X < W; ++X) Dst[X] = Src[X] & 0xFFFFFF;
    } else {
      for (int X = 0; X < W; ++X) Dst[X] = static_cast<uint32_t>(XGetPixel(Img, X, Y)) & 0xFFFFFF;
    }
  }
  XDestroyImage(Img);
  return true;
}

}  // namespace vantrel::display
