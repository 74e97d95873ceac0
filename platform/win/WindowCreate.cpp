// Creating and destroying windows: the creation messages in their order; destruction
// takes owned windows first, each completely, then sends WM_DESTROY to the window and
// its children (parents first) while the whole tree exists, and ends with WM_NCDESTROY
// from the innermost children out to the window. A stale handle is never reused.
#include <algorithm>
#include <exception>
#include <utility>

#include "platform/rtl/Exceptions.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowIcon.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

HWND WindowManager::Create(DWORD ExStyle, const std::string& ClassName, const char* WindowName, DWORD Style,
                           int X, int Y, int W, int H, HWND ParentOrOwner, HMENU Menu, HINSTANCE Inst,
                           LPVOID Param) {
  Window* Parent = nullptr;
  HWND Owner = nullptr;
  if (ParentOrOwner && ParentOrOwner != HWND_MESSAGE) {
    Window* P = FindOrFail(ParentOrOwner);
    if (!P || P->Destroying) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    if (Style & WS_CHILD) {
      Parent = P;
    } else {
      while (P->Parent) P = P->Parent;  // an owner is always a top-level window
      Owner = P->Handle;
    }
  } else if (Style & WS_CHILD) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  std::shared_ptr<WindowClassRec> Class = FindClass(ClassName);
  if (!Class) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }

  if (!Parent) {
    const RECT Work = FDisplay->WorkArea();
    if (X == CW_USEDEFAULT) {
      X = Work.Left + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
      Y = Work.Top + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    }
    if (W == CW_USEDEFAULT) {
      W = (Work.Right - Work.Left) * 3 / 4;
      H = (Work.Bottom - Work.Top) * 3 / 4;
    }
  } else {
    if (X == CW_USEDEFAULT) X = Y = 0;
    if (W == CW_USEDEFAULT) W = H = 0;
  }
  W = std::max(W, 0);
  H = std::max(H, 0);

  const DWORD ShowStyle = Style & (WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  auto Rec = std::make_unique<Window>();
  Window* Wn = Rec.get();
  Wn->Handle = NewHandle();
  Wn->Class = Class;
  Wn->Style = Style & ~ShowStyle;
  Wn->ExStyle = ExStyle;
  Wn->Parent = Parent;
  Wn->Owner = Owner;
  Wn->Rect = {X, Y, X + W, Y + H};
  Wn->NormalRect = Wn->Rect;
  Wn->ClientRect = {0, 0, W, H};
  Wn->Proc = Class->Proc;
  Wn->Instance = Inst;
  if (Parent)
    Wn->Id = reinterpret_cast<LONG_PTR>(Menu);
  else
    Wn->Menu = Menu;
  Wn->Extra.assign(static_cast<size_t>(Class->WndExtra), 0);
  AddWndProcUse(Wn->Proc);
  ++Class->Windows;
  {
    std::lock_guard Guard(FTableLock);
    FWindows.emplace(reinterpret_cast<uintptr_t>(Wn->Handle), std::move(Rec));
  }
  if (Parent) {
    Parent->Children.push_back(Wn);  // new children go to the bottom, in creation order
  } else {
    auto Pos = FTopLevels.begin();
    if (!(ExStyle & WS_EX_TOPMOST))
      Pos = std::find_if(FTopLevels.begin(), FTopLevels.end(),
                         [](Window* T) { return !(T->ExStyle & WS_EX_TOPMOST); });
    FTopLevels.insert(Pos, Wn);
    Wn->BackingStore = std::make_unique<Surface>(W, H, false);
    FDisplay->CreateNativeWindow(Wn->Handle, Wn->Rect, Wn->Style, Wn->ExStyle);
    Wn->HasNative = true;
    ShowNativeIcon(*this, Wn);
    SyncStacking();
  }
  const HWND Handle = Wn->Handle;
  try {
    return CreateMessages(Wn, Class->Name, WindowName, Style, ShowStyle, Menu, Inst, Param);
  } catch (...) {
    // A handler that throws leaves no half-made window behind.
    if (Window* Left = Find(Handle)) {
      try {
        Destroy(Left);
      } catch (...) {
      }
    }
    throw;
  }
}

HWND WindowManager::CreateMessages(Window* Wn, const std::string& ClassName, const char* WindowName, DWORD Style,
                                   DWORD ShowStyle, HMENU Menu, HINSTANCE Inst, LPVOID Param) {
  const HWND Handle = Wn->Handle;
  Window* Parent = Wn->Parent;
  const HWND Owner = Wn->Owner;
  const DWORD ExStyle = Wn->ExStyle;
  const int X = Wn->Rect.Left, Y = Wn->Rect.Top, W = Wn->Width(), H = Wn->Height();
  CREATESTRUCT CS{Param, Inst,  Menu,           Parent ? Parent->Handle : Owner,
                  H,     W,     Y,              X,
                  static_cast<LONG>(Style), WindowName, ClassName.c_str(), ExStyle};
  if (!Parent && (Style & WS_THICKFRAME)) {
    MINMAXINFO Info{};
    const TSize Scr = FDisplay->ScreenSize();
    Info.ptMaxSize = {Scr.cx, Scr.cy};
    Info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    Info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    Deliver(Wn, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
    if (!IsLive(Handle)) return nullptr;
  }
  if (!Deliver(Wn, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&CS))) {
    if (IsLive(Handle)) Destroy(Wn);
    return nullptr;
  }
  if (!IsLive(Handle)) return nullptr;
  Wn->ClientRect = CalcClient(Wn, Wn->Rect, Wn->Rect, nullptr, false);
  if (Deliver(Wn, WM_CREATE, 0, reinterpret_cast<LPARAM>(&CS)) == -1) {
    if (IsLive(Handle)) Destroy(Wn);
    return nullptr;
  }
  if (!IsLive(Handle)) return nullptr;
  const RECT& C = Wn->ClientRect;
  Deliver(Wn, WM_SIZE, SIZE_RESTORED,
          MAKELPARAM(static_cast<WORD>(C.Right - C.Left), static_cast<WORD>(C.Bottom - C.Top)));
  if (!IsLive(Handle)) return nullptr;
  Deliver(Wn, WM_MOVE, 0, PointToLParam(Wn->Rect.Left + C.Left, Wn->Rect.Top + C.Top));
  if (!IsLive(Handle)) return nullptr;
  if (Parent && !(ExStyle & WS_EX_NOPARENTNOTIFY) && IsLive(Parent->Handle)) {
    Deliver(Parent, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(WM_CREATE), static_cast<WORD>(Wn->Id)),
            reinterpret_cast<LPARAM>(Handle));
    if (!IsLive(Handle)) return nullptr;
  }
  if (ShowStyle & WS_VISIBLE) {
    int Cmd = Parent ? SW_SHOWNA : SW_SHOW;
    if (ShowStyle & WS_MAXIMIZE) Cmd = SW_SHOWMAXIMIZED;
    if (ShowStyle & WS_MINIMIZE) Cmd = SW_SHOWMINIMIZED;
    Show(Wn, Cmd);
  }
  return IsLive(Handle) ? Handle : nullptr;
}

bool WindowManager::Destroy(Window* W) {
  if (!IsGuiThread()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return false;
  }
  if (W->Destroying) return true;
  DestroyTree(W, true);
  return true;
}

void WindowManager::DestroyTree(Window* W, bool NotifyParent) {
  W->Destroying = true;
  DestroyScope Scope(*this);
  DestroySteps Steps;
  if (NotifyParent && W->Parent && !W->Parent->Destroying && !(W->ExStyle & WS_EX_NOPARENTNOTIFY))
    Steps.Run([&] {
      Deliver(W->Parent, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(WM_DESTROY), static_cast<WORD>(W->Id)),
              reinterpret_cast<LPARAM>(W->Handle));
    });
  if (!W->Gone && (W->Style & WS_VISIBLE))
    Steps.Run([&] {
      SetPos(W, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
  DestroyOwned(W, Steps);
  SendDestroy(W, Steps);
  Finish(W, Steps);
  Steps.Rethrow();
}

void WindowManager::DestroyOwned(Window* W, DestroySteps& Steps) {
  if (W->Parent) return;  // only top-level windows own windows
  for (;;) {
    if (W->Gone) return;
    Window* Next = nullptr;
    for (Window* T : FTopLevels)
      if (T->Owner == W->Handle && !T->Gone) {
        Next = T;
        break;
      }
    if (!Next) return;
    if (Next->Destroying) {  // its destruction is under way further up the stack
      SendDestroy(Next, Steps);
      Finish(Next, Steps);
    } else {
      Steps.Run([&] { DestroyTree(Next, false); });
    }
  }
}

void WindowManager::SendDestroy(Window* W, DestroySteps& Steps) {
  if (W->Gone || W->DestroySent) return;
  W->Destroying = W->DestroySent = true;
  Steps.Run([&] { Deliver(W, WM_DESTROY, 0, 0); });
  FTimers->KillAll(W->Handle);
  // Then every child, parents before their children, while the whole tree exists.
  for (;;) {
    if (W->Gone) return;  // a handler finished it meanwhile
    auto It = std::find_if(W->Children.begin(), W->Children.end(), [](Window* C) { return !C->DestroySent; });
    if (It == W->Children.end()) return;
    SendDestroy(*It, Steps);
  }
}

void WindowManager::Finish(Window* W, DestroySteps& Steps) {
  // Children (and anything a handler made meanwhile) end before their parent.
  auto FinishDependents = [&] {
    for (;;) {
      if (W->Gone) return;
      if (W->Children.empty()) break;
      Window* C = W->Children.front();
      SendDestroy(C, Steps);  // made meanwhile, or its own destruction has not got that far
      Finish(C, Steps);
    }
    DestroyOwned(W, Steps);
  };
  FinishDependents();
  if (!W->Gone && !W->NcDestroySent) {  // else its WM_NCDESTROY is under way further up the stack
    W->NcDestroySent = true;
    Steps.Run([&] { Deliver(W, WM_NCDESTROY, 0, 0); });
    FinishDependents();
  }
  if (!W->Gone) Unlink(W);
}

void WindowManager::Unlink(Window* W) {
  FInput->Forget(W);
  auto& Siblings = SiblingList(W);
  Siblings.erase(std::remove(Siblings.begin(), Siblings.end(), W), Siblings.end());
  if (W->HasNative) {
    FDisplay->DestroyNativeWindow(W->Handle);
    W->HasNative = false;
    SyncStacking();
  }
  FTimers->KillAll(W->Handle);
  ReleaseWndProcUse(W->Proc);
  --W->Class->Windows;
  W->Gone = true;
  std::unique_ptr<Window> Doomed;
  {
    std::lock_guard Guard(FTableLock);
    auto It = FWindows.find(reinterpret_cast<uintptr_t>(W->Handle));
    if (It != FWindows.end()) {
      Doomed = std::move(It->second);
      FWindows.erase(It);
    }
  }
  // Destruction calls further up the stack may still hold the record: it is freed when
  // the outermost one returns.
  if (Doomed && FDestroyDepth > 0) FDestroyed.push_back(std::move(Doomed));
}

WindowManager::DestroyScope::~DestroyScope() {
  if (--WM.FDestroyDepth == 0) WM.FDestroyed.clear();
}

void WindowManager::DestroySteps::Rethrow() {
  if (Failure) std::rethrow_exception(std::exchange(Failure, nullptr));
}

}  // namespace vantrel::win

using vantrel::win::WindowManager;

HWND CreateWindowEx(DWORD ExStyle, LPCSTR ClassName, LPCSTR WindowName, DWORD Style, int X, int Y, int Width,
                    int Height, HWND Parent, HMENU Menu, HINSTANCE Instance, LPVOID Param) {
  WindowManager* M = WindowManager::Instance();
  if (!M || !ClassName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!M->IsGuiThread()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return nullptr;
  }
  return M->Create(ExStyle, ClassName, WindowName, Style, X, Y, Width, Height, Parent, Menu, Instance, Param);
}

BOOL DestroyWindow(HWND Wnd) {
  WindowManager* M = WindowManager::Instance();
  if (!M) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  vantrel::win::Window* W = M->FindOrFail(Wnd);
  return W && M->Destroy(W) ? TRUE : FALSE;
}

BOOL IsWindow(HWND Wnd) {
  if (!Wnd) return FALSE;
  return WindowManager::WithInstance([Wnd](WindowManager* M) { return M && M->IsLive(Wnd); }) ? TRUE : FALSE;
}
