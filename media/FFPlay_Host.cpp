// SDL's start and end for one player, and the host window it draws into: the window is
// subclassed so that the player can do SDL's part of its messages (repaint while paused,
// resize) and, when asked to, keep the window from closing and focus it on clicks.
#include <signal.h>

#include <cstdlib>

#include "media/FFLog.h"
#include "media/FFPlay.h"
#include "media/libsdl.h"
#include "platform/rtl/Format.h"
#include "platform/win/Focus.h"
#include "platform/win/Messages.h"
#include "platform/win/NativeHost.h"
#include "platform/win/WindowManager.h"

namespace vantrel::media {

namespace {

detail::TNativeWindowIdFunc& PlayerNativeIdFunc() {
  static detail::TNativeWindowIdFunc Func;
  return Func;
}

// A display that shows our windows on a real screen, where SDL can draw into a native
// window of its own.
bool PlayerOnNativeDisplay() {
  if (PlayerNativeIdFunc()) return true;
  win::WindowManager* M = win::WindowManager::Instance();
  return M && String(M->GetDisplay().Name()) == "x11";
}

// The native window SDL draws into for a host window (0: none).
unsigned long PlayerNativeWindowOf(HWND AHost) {
  if (!AHost) return 0;
  if (PlayerNativeIdFunc()) return PlayerNativeIdFunc()(AHost);
  return PlayerOnNativeDisplay() ? static_cast<unsigned long>(::NativeWindowId(AHost)) : 0;
}

// The SDL driver variables as the process had them when the first player started SDL,
// read once, before any player writes them.
struct TPlayerStartDrivers {
  bool HasAudio = false, HasVideo = false;
  String Audio, Video;
};

const TPlayerStartDrivers& PlayerStartDrivers() {
  static const TPlayerStartDrivers Drivers = [] {
    TPlayerStartDrivers D;
    if (const char* A = std::getenv("SDL_AUDIODRIVER")) D.HasAudio = true, D.Audio = A;
    if (const char* V = std::getenv("SDL_VIDEODRIVER")) D.HasVideo = true, D.Video = V;
    return D;
  }();
  return Drivers;
}

void PlayerSetEnv(const char* AName, const String& AValue) {
  if (AValue.empty()) unsetenv(AName);
  else setenv(AName, AValue.c_str(), 1);
}

struct TFolderViewSearch {
  HWND Found = 0;
};

HWND PlayerFindChildOfClass(HWND AParent, const char* AClass, const char* ATitle) {
  for (HWND W = GetWindow(AParent, GW_CHILD); W; W = GetWindow(W, GW_HWNDNEXT)) {
    char Name[64] = {};
    GetClassName(W, Name, sizeof Name);
    if (String(Name) != AClass) continue;
    if (ATitle && GetWindowText(W) != ATitle) continue;
    return W;
  }
  return 0;
}

BOOL PlayerFindFolderViewProc(HWND Wnd, LPARAM Param) {
  auto* Search = reinterpret_cast<TFolderViewSearch*>(Param);
  if (!(GetWindowLong(Wnd, GWL_STYLE) & WS_VISIBLE)) return TRUE;
  HWND DefView = PlayerFindChildOfClass(Wnd, "SHELLDLL_DefView", nullptr);
  if (!DefView) return TRUE;
  HWND List = PlayerFindChildOfClass(DefView, "SysListView32", "FolderView");
  if (!List) return TRUE;
  Search->Found = List;
  return FALSE;
}

}  // namespace

String AudioDriverName(TAudioDriver ADriver) {
  switch (ADriver) {
    case adDirectSound: return "pulse";
    case adWaveOut: return "alsa";
    case adDefault: break;
  }
  const TPlayerStartDrivers& D = PlayerStartDrivers();
  if (D.HasAudio) return D.Audio;
  return PlayerOnNativeDisplay() ? String() : String("dummy");
}

String VideoDriverName(TVideoDriver ADriver) {
  switch (ADriver) {
    case vdDirectDraw:
    case vdGDI: return "x11";
    case vdDefault: break;
  }
  const TPlayerStartDrivers& D = PlayerStartDrivers();
  if (D.HasVideo) return D.Video;
  return PlayerOnNativeDisplay() ? String("x11") : String("dummy");
}

bool TCustomPlayer::StartSDL(HWND AScreenHandle) {
  std::lock_guard<TCriticalSection> G(SDLLoaderLock());
  PlayerSetEnv("SDL_AUDIODRIVER", AudioDriverName(FAudioDriver));
  PlayerSetEnv("SDL_VIDEODRIVER", VideoDriverName(FVideoDriver));
  if (InitSDL(AScreenHandle)) return true;
  FLastErrMsg = Format("Could not initialize SDL with ScreenHandle(%u): %s",
                       {static_cast<Cardinal>(reinterpret_cast<uintptr_t>(AScreenHandle)),
                        String(FSDL->SDL_GetError())});
  return false;
}

bool TCustomPlayer::InitSDL(HWND AScreenHandle) {
  DropQueuedRestore();
  const unsigned long NativeId = PlayerNativeWindowOf(AScreenHandle);
  if (NativeId) setenv("SDL_WINDOWID", std::to_string(NativeId).c_str(), 1);
  // SDL turns these signals into quit events; the application keeps its own handling.
  struct sigaction OldInt {}, OldTerm {};
  sigaction(SIGINT, nullptr, &OldInt);
  sigaction(SIGTERM, nullptr, &OldTerm);
  // No timer subsystem: the player ticks its display itself, and SDL's timer thread
  // would wake every millisecond for nothing.
  const int Ret = FSDL->SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE);
  sigaction(SIGINT, &OldInt, nullptr);
  sigaction(SIGTERM, &OldTerm, nullptr);
  unsetenv("SDL_WINDOWID");
  if (Ret != 0) return false;
  FSDLStarted = true;
  char Name[256] = {};
  if (FSDL->SDL_AudioDriverName(Name, sizeof Name))
    Log(llDebug, Format("using audio driver: %s\n", {String(Name)}));
  if (FSDL->SDL_VideoDriverName(Name, sizeof Name))
    Log(llDebug, Format("using video driver: %s\n", {String(Name)}));
  if (AScreenHandle && IsWindow(AScreenHandle)) {
    RECT R{};
    GetClientRect(AScreenHandle, &R);
    FLastClientW = R.Right - R.Left;
    FLastClientH = R.Bottom - R.Top;
    if (FSubclassed != AScreenHandle) {
      RestoreScreenWndProc();
      FScreenWndProc = LongToWndProc(GetWindowLongPtr(AScreenHandle, GWL_WNDPROC));
      SetWindowLongPtr(AScreenHandle, GWL_WNDPROC, WndProcToLong(FObjectInstance));
      FSubclassed = AScreenHandle;
    }
  }
  return true;
}

void TCustomPlayer::QuitSDL() {
  if (FSDLStarted && FSDL->SDL_Quit) {
    FSDL->SDL_Quit();
    FSDLQuitOnMain.store(IsMainThread());
    ++FSDLQuits;
  }
  FSDLStarted = false;
  RestoreScreenWndProc();
  ResetPlayState();
}

void TCustomPlayer::RestoreScreenWndProc() {
  if (!IsMainThread()) {
    // Given back on the GUI thread; Open, Stop(True) and Destroy run or drop it first.
    if (!FRestoreToken) FRestoreToken = std::make_shared<std::atomic<TCustomPlayer*>>(this);
    auto Token = FRestoreToken;
    FRestorePending.store(true);
    TThread::Queue(nullptr, [Token] {
      if (TCustomPlayer* P = Token->load()) P->RestoreScreenWndProc();
    });
    return;
  }
  FRestorePending.store(false);
  if (!FSubclassed) return;
  if (IsWindow(FSubclassed) && LongToWndProc(GetWindowLongPtr(FSubclassed, GWL_WNDPROC)) == FObjectInstance)
    SetWindowLongPtr(FSubclassed, GWL_WNDPROC, WndProcToLong(FScreenWndProc));
  FSubclassed = 0;
  FScreenWndProc = nullptr;
}

void TCustomPlayer::DropQueuedRestore() {
  if (!FRestorePending.load()) return;
  // Run now what was queued; the queued call finds nothing left to do.
  if (FRestoreToken) FRestoreToken->store(nullptr);
  FRestoreToken.reset();
  RestoreScreenWndProc();
}

void TCustomPlayer::PushSDLEvent(Integer AType) {
  if (!FSDLStarted || !FSDL->SDL_PushEvent) return;
  SDL_Event E{};
  E.type = static_cast<Uint8>(AType);
  if (AType == SDL_VIDEORESIZE) {
    E.resize.w = FLastClientW;
    E.resize.h = FLastClientH;
  }
  FSDL->SDL_PushEvent(&E);
}

LRESULT TCustomPlayer::ScreenWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto CallHost = [&] {
    return FScreenWndProc ? CallWindowProc(FScreenWndProc, Wnd, Msg, WParam, LParam)
                          : DefWindowProc(Wnd, Msg, WParam, LParam);
  };
  switch (Msg) {
    case WM_CLOSE:
      if (FHijackWndProc) return 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      if (FHijackWndProc) SetFocus(Wnd);
      break;
    case WM_PAINT: {
      const LRESULT R = CallHost();
      if (FVideoState && FVideoState->paused.load()) PushSDLEvent(SDL_VIDEOEXPOSE);
      return R;
    }
    case WM_WINDOWPOSCHANGED: {
      const LRESULT R = CallHost();
      NoteHostSize(Wnd);
      return R;
    }
    default:
      break;
  }
  return CallHost();
}

void TCustomPlayer::NoteHostSize(HWND Wnd) {
  RECT Rc{};
  GetClientRect(Wnd, &Rc);
  const Integer W = Rc.Right - Rc.Left, H = Rc.Bottom - Rc.Top;
  if (W == FLastClientW && H == FLastClientH) return;
  FLastClientW = W;
  FLastClientH = H;
  if (FVideoState) PushSDLEvent(SDL_VIDEORESIZE);
}

void TCustomPlayer::UpdateScreenPosition() {
  if (FVideoState && FSubclassed && IsWindow(FSubclassed)) NoteHostSize(FSubclassed);
}

HWND FindDesktopListView() {
  if (HWND ProgMan = FindWindowW("ProgMan", nullptr))
    if (HWND Child = GetWindow(ProgMan, GW_CHILD))
      if (HWND List = GetWindow(Child, GW_CHILD)) return List;
  TFolderViewSearch Search;
  EnumWindows(PlayerFindFolderViewProc, reinterpret_cast<LPARAM>(&Search));
  return Search.Found;
}

struct TPlayerDetail {
  static bool Open(TCustomPlayer& P, const String& AFileName, HWND AScreenHandle, bool APaused) {
    if (!P.AVLibLoaded()) {
      P.FLastErrMsg = "libav not loaded.";
      return false;
    }
    if (!P.SDLLibLoaded()) {
      P.FLastErrMsg = "sdl not loaded.";
      return false;
    }
    P.CloseAndExit();
    if (!P.StartSDL(AScreenHandle)) return false;
    if (!P.StreamOpen(AFileName, P.FForceFormat, APaused)) {
      P.QuitSDL();
      return false;
    }
    P.FFileName = AFileName;
    P.FScreenHandle = AScreenHandle;
    return true;
  }
  static void Close(TCustomPlayer& P) {
    P.DropQueuedRestore();
    P.CloseAndExit();
  }
  static WNDPROC HostProc(TCustomPlayer& P) { return P.FScreenWndProc; }
};

namespace detail {

void SetPlayerNativeWindowId(TNativeWindowIdFunc AFunc) { PlayerNativeIdFunc() = std::move(AFunc); }

bool PlayerOpenStream(TCustomPlayer& APlayer, const String& AFileName, HWND AScreenHandle, bool APaused) {
  return TPlayerDetail::Open(APlayer, AFileName, AScreenHandle, APaused);
}

void PlayerCloseStream(TCustomPlayer& APlayer) { TPlayerDetail::Close(APlayer); }

WNDPROC PlayerSubclassProc(TCustomPlayer& APlayer) { return TPlayerDetail::HostProc(APlayer); }

}  // namespace detail

}  // namespace vantrel::media
