// Window data: the GWL_* values, the procedure, text, enabled state, and enumeration.
#include <algorithm>
#include <cstring>

#include "platform/rtl/Utf8.h"
#include "platform/win/WindowManager.h"

using vantrel::win::Window;
using vantrel::win::WindowManager;

namespace {

bool ExtraRange(const Window* W, int Index, size_t Size) {
  if (Index >= 0 && static_cast<size_t>(Index) + Size <= W->Extra.size()) return true;
  SetLastError(ERROR_INVALID_INDEX);
  return false;
}

bool IsPointerIndex(int Index) {
  return Index == GWL_WNDPROC || Index == GWL_HINSTANCE || Index == GWL_HWNDPARENT;
}

DWORD SetStyle(WindowManager* M, Window* W, int Index, DWORD New) {
  const HWND Handle = W->Handle;
  DWORD& Field = Index == GWL_STYLE ? W->Style : W->ExStyle;
  const DWORD Old = Field;
  STYLESTRUCT S{Old, New};
  M->Deliver(W, WM_STYLECHANGING, static_cast<WPARAM>(static_cast<intptr_t>(Index)), reinterpret_cast<LPARAM>(&S));
  if (!M->IsLive(Handle)) return Old;
  if (Index == GWL_EXSTYLE)  // topmost changes only through SetWindowPos
    S.styleNew = (S.styleNew & ~WS_EX_TOPMOST) | (W->ExStyle & WS_EX_TOPMOST);
  Field = S.styleNew;
  if (Index == GWL_STYLE && W->HasNative && ((Old ^ Field) & WS_VISIBLE))
    M->GetDisplay().ShowNativeWindow(Handle, (Field & WS_VISIBLE) != 0);
  M->Deliver(W, WM_STYLECHANGED, static_cast<WPARAM>(static_cast<intptr_t>(Index)), reinterpret_cast<LPARAM>(&S));
  return Old;
}

}  // namespace

LONG_PTR GetWindowLongPtr(HWND Wnd, int Index) {
  Window* W = WindowManager::Lookup(Wnd);
  if (!W) return 0;
  switch (Index) {
    case GWL_WNDPROC: return WndProcToLong(W->Proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(W->Instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(W->Parent ? W->Parent->Handle : W->Owner);
    case GWL_ID: return W->Id;
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(W->Style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(W->ExStyle));
    case GWL_USERDATA: return W->UserData;
    default: {
      if (!ExtraRange(W, Index, sizeof(LONG_PTR))) return 0;
      LONG_PTR V;
      std::memcpy(&V, W->Extra.data() + Index, sizeof V);
      return V;
    }
  }
}

LONG_PTR SetWindowLongPtr(HWND Wnd, int Index, LONG_PTR NewValue) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  if (!W) return 0;
  if (!M->IsGuiThread()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return 0;
  }
  LONG_PTR Old = 0;
  switch (Index) {
    case GWL_WNDPROC: {
      WNDPROC P = LongToWndProc(NewValue);
      if (!vantrel::win::IsLiveWndProc(P)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      Old = WndProcToLong(W->Proc);
      vantrel::win::AddWndProcUse(P);
      vantrel::win::ReleaseWndProcUse(W->Proc);
      W->Proc = P;
      return Old;
    }
    case GWL_HINSTANCE:
      Old = reinterpret_cast<LONG_PTR>(W->Instance);
      W->Instance = reinterpret_cast<HINSTANCE>(NewValue);
      return Old;
    case GWL_HWNDPARENT: {
      // Sets the owner of a top-level window.
      Old = reinterpret_cast<LONG_PTR>(W->Owner);
      if (W->Parent) return reinterpret_cast<LONG_PTR>(W->Parent->Handle);
      HWND NewOwner = reinterpret_cast<HWND>(NewValue);
      Window* O = NewOwner ? M->FindOrFail(NewOwner) : nullptr;
      if (NewOwner && !O) return 0;
      while (O && O->Parent) O = O->Parent;
      for (Window* A = O; A; A = A->Owner ? M->Find(A->Owner) : nullptr)
        if (A == W) {  // would make a cycle
          SetLastError(ERROR_INVALID_PARAMETER);
          return 0;
        }
      W->Owner = O ? O->Handle : nullptr;
      return Old;
    }
    case GWL_ID:
      Old = W->Id;
      W->Id = NewValue;
      return Old;
    case GWL_STYLE:
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(SetStyle(M, W, Index, static_cast<DWORD>(NewValue))));
    case GWL_USERDATA:
      Old = W->UserData;
      W->UserData = NewValue;
      return Old;
    default:
      if (!ExtraRange(W, Index, sizeof(LONG_PTR))) return 0;
      std::memcpy(&Old, W->Extra.data() + Index, sizeof Old);
      std::memcpy(W->Extra.data() + Index, &NewValue, sizeof NewValue);
      return Old;
  }
}

LONG GetWindowLong(HWND Wnd, int Index) {
  if (IsPointerIndex(Index)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  if (Index >= 0) {
    Window* W = WindowManager::Lookup(Wnd);
    if (!W || !ExtraRange(W, Index, sizeof(LONG))) return 0;
    LONG V;
    std::memcpy(&V, W->Extra.data() + Index, sizeof V);
    return V;
  }
  return static_cast<LONG>(GetWindowLongPtr(Wnd, Index));
}

LONG SetWindowLong(HWND Wnd, int Index, LONG NewValue) {
  if (IsPointerIndex(Index)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  if (Index >= 0) {
    Window* W = WindowManager::Lookup(Wnd);
    if (!W || !ExtraRange(W, Index, sizeof(LONG))) return 0;
    LONG Old;
    std::memcpy(&Old, W->Extra.data() + Index, sizeof Old);
    std::memcpy(W->Extra.data() + Index, &NewValue, sizeof NewValue);
    return Old;
  }
  // Styles are 32-bit values: keep them unsigned on the way in.
  const LONG_PTR V = (Index == GWL_STYLE || Index == GWL_EXSTYLE)
                         ? static_cast<LONG_PTR>(static_cast<DWORD>(NewValue))
                         : static_cast<LONG_PTR>(NewValue);
  return static_cast<LONG>(SetWindowLongPtr(Wnd, Index, V));
}

BOOL IsWindowEnabled(HWND Wnd) {
  Window* W = WindowManager::Lookup(Wnd);
  return W && !(W->Style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND Wnd, BOOL Enable) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  if (!W) return FALSE;
  const bool WasDisabled = (W->Style & WS_DISABLED) != 0;
  if (WasDisabled == !Enable) return WasDisabled ? TRUE : FALSE;
  if (Enable)
    W->Style &= ~WS_DISABLED;
  else
    W->Style |= WS_DISABLED;
  M->Deliver(W, WM_ENABLE, Enable ? TRUE : FALSE, 0);
  return WasDisabled ? TRUE : FALSE;
}

BOOL SetWindowText(HWND Wnd, LPCSTR Text) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  if (!W) return FALSE;
  return M->Deliver(W, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text ? Text : "")) ? TRUE : FALSE;
}

int GetWindowTextLength(HWND Wnd) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  return W ? static_cast<int>(M->Deliver(W, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

int GetWindowText(HWND Wnd, LPSTR Buffer, int MaxCount) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  if (!W || !Buffer || MaxCount <= 0) return 0;
  Buffer[0] = '\0';
  return static_cast<int>(M->Deliver(W, WM_GETTEXT, static_cast<WPARAM>(MaxCount), reinterpret_cast<LPARAM>(Buffer)));
}

std::string GetWindowText(HWND Wnd) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  if (!W) return {};
  const LRESULT Len = M->Deliver(W, WM_GETTEXTLENGTH, 0, 0);
  if (Len <= 0 || !M->IsLive(Wnd)) return {};
  // A code point takes at most 4 bytes.
  std::string Buf(static_cast<size_t>(Len) * 4 + 1, '\0');
  M->Deliver(W, WM_GETTEXT, Buf.size(), reinterpret_cast<LPARAM>(Buf.data()));
  Buf.resize(std::strlen(Buf.c_str()));
  return Buf;
}

BOOL EnumWindows(WNDENUMPROC Proc, LPARAM Param) {
  WindowManager* M = WindowManager::Instance();
  if (!M || !Proc) return FALSE;
  std::vector<HWND> List;
  for (Window* T : M->TopLevels()) List.push_back(T->Handle);
  for (HWND H : List)
    if (M->IsLive(H) && !Proc(H, Param)) return FALSE;
  return TRUE;
}

BOOL EnumChildWindows(HWND Parent, WNDENUMPROC Proc, LPARAM Param) {
  WindowManager* M;
  Window* P = WindowManager::Lookup(Parent, &M);
  if (!P || !Proc) return FALSE;
  std::vector<HWND> List;
  auto Walk = [&](auto&& Self, Window* W) -> void {
    for (Window* C : W->Children) {
      List.push_back(C->Handle);
      Self(Self, C);
    }
  };
  Walk(Walk, P);
  for (HWND H : List)
    if (M->IsLive(H) && !Proc(H, Param)) return FALSE;
  return TRUE;
}

HWND FindWindow(LPCSTR ClassName, LPCSTR WindowName) {
  WindowManager* M = WindowManager::Instance();
  if (!M) return nullptr;
  for (Window* T : M->TopLevels()) {
    if (ClassName && !SameText(T->Class->Name, ClassName)) continue;
    if (WindowName && T->Text != WindowName) continue;
    return T->Handle;
  }
  return nullptr;
}
