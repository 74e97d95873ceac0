// Window classes: registration, class data and registered message names.
#include <cstring>

#include "platform/win/WindowManager.h"

using vantrel::win::Window;
using vantrel::win::WindowClassRec;
using vantrel::win::WindowManager;

namespace {

WindowManager* ClassesManager() {
  WindowManager* M = WindowManager::Instance();
  if (!M) SetLastError(ERROR_INVALID_PARAMETER);
  return M;
}

ATOM Register(const WNDCLASSEX& C) {
  WindowManager* M = ClassesManager();
  if (!M) return 0;
  if (!C.lpszClassName || !*C.lpszClassName || !C.lpfnWndProc || !vantrel::win::IsLiveWndProc(C.lpfnWndProc) ||
      C.cbClsExtra < 0 || C.cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto Rec = std::make_shared<WindowClassRec>();
  Rec->Name = C.lpszClassName;
  Rec->Style = C.style;
  Rec->Proc = C.lpfnWndProc;
  Rec->ClsExtra = C.cbClsExtra;
  Rec->WndExtra = C.cbWndExtra;
  Rec->Instance = C.hInstance;
  Rec->Icon = C.hIcon;
  Rec->IconSm = C.hIconSm;
  Rec->Cursor = C.hCursor;
  Rec->Background = C.hbrBackground;
  if (C.lpszMenuName) Rec->MenuName = C.lpszMenuName;
  Rec->Extra.assign(static_cast<size_t>(C.cbClsExtra), 0);
  return M->AddClass(std::move(Rec));
}

Window* FindWindowOf(HWND Wnd) {
  WindowManager* M = ClassesManager();
  return M ? M->FindOrFail(Wnd) : nullptr;
}

}  // namespace

ATOM RegisterClass(const WNDCLASS* Class) {
  if (!Class) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEX Ex;
  Ex.style = Class->style;
  Ex.lpfnWndProc = Class->lpfnWndProc;
  Ex.cbClsExtra = Class->cbClsExtra;
  Ex.cbWndExtra = Class->cbWndExtra;
  Ex.hInstance = Class->hInstance;
  Ex.hIcon = Class->hIcon;
  Ex.hCursor = Class->hCursor;
  Ex.hbrBackground = Class->hbrBackground;
  Ex.lpszMenuName = Class->lpszMenuName;
  Ex.lpszClassName = Class->lpszClassName;
  return Register(Ex);
}

ATOM RegisterClassEx(const WNDCLASSEX* Class) {
  if (!Class || Class->cbSize != sizeof(WNDCLASSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return Register(*Class);
}

BOOL UnregisterClass(LPCSTR ClassName, HINSTANCE) {
  WindowManager* M = ClassesManager();
  return M && ClassName && M->RemoveClass(ClassName) ? TRUE : FALSE;
}

BOOL GetClassInfo(HINSTANCE, LPCSTR ClassName, WNDCLASS* Out) {
  WindowManager* M = ClassesManager();
  if (!M || !ClassName || !Out) return FALSE;
  auto C = M->FindClass(ClassName);
  if (!C) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  Out->style = C->Style;
  Out->lpfnWndProc = C->Proc;
  Out->cbClsExtra = C->ClsExtra;
  Out->cbWndExtra = C->WndExtra;
  Out->hInstance = C->Instance;
  Out->hIcon = C->Icon;
  Out->hCursor = C->Cursor;
  Out->hbrBackground = C->Background;
  Out->lpszMenuName = C->MenuName.empty() ? nullptr : C->MenuName.c_str();
  Out->lpszClassName = C->Name.c_str();
  return TRUE;
}

std::string GetClassName(HWND Wnd) {
  Window* W = FindWindowOf(Wnd);
  return W ? W->Class->Name : std::string();
}

int GetClassName(HWND Wnd, LPSTR Buffer, int MaxCount) {
  Window* W = FindWindowOf(Wnd);
  if (!W || !Buffer || MaxCount <= 0) return 0;
  const std::string& N = W->Class->Name;
  size_t Len = std::min(N.size(), static_cast<size_t>(MaxCount - 1));
  std::memcpy(Buffer, N.data(), Len);
  Buffer[Len] = '\0';
  return static_cast<int>(Len);
}

ULONG_PTR GetClassLongPtr(HWND Wnd, int Index) {
  Window* W = FindWindowOf(Wnd);
  if (!W) return 0;
  const WindowClassRec& C = *W->Class;
  switch (Index) {
    case GCL_STYLE: return C.Style;
    case GCL_WNDPROC: return static_cast<ULONG_PTR>(WndProcToLong(C.Proc));
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(C.WndExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(C.ClsExtra);
    case GCL_HMODULE: return reinterpret_cast<ULONG_PTR>(C.Instance);
    case GCL_HICON: return reinterpret_cast<ULONG_PTR>(C.Icon);
    case GCL_HICONSM: return reinterpret_cast<ULONG_PTR>(C.IconSm);
    case GCL_HCURSOR: return reinterpret_cast<ULONG_PTR>(C.Cursor);
    case GCL_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(C.Background);
    case GCW_ATOM: return C.Atom;
    default:
      if (Index >= 0 && static_cast<size_t>(Index) + sizeof(LONG_PTR) <= C.Extra.size()) {
        LONG_PTR V;
        std::memcpy(&V, C.Extra.data() + Index, sizeof V);
        return static_cast<ULONG_PTR>(V);
      }
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

ULONG_PTR SetClassLongPtr(HWND Wnd, int Index, LONG_PTR NewValue) {
  Window* W = FindWindowOf(Wnd);
  if (!W) return 0;
  WindowClassRec& C = *W->Class;
  ULONG_PTR Old = GetClassLongPtr(Wnd, Index);
  switch (Index) {
    case GCL_STYLE: C.Style = static_cast<UINT>(NewValue); break;
    case GCL_WNDPROC: {
      WNDPROC P = LongToWndProc(NewValue);
      if (!vantrel::win::IsLiveWndProc(P)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      vantrel::win::AddWndProcUse(P);
      vantrel::win::ReleaseWndProcUse(C.Proc);
      C.Proc = P;
      break;
    }
    case GCL_HICON: C.Icon = reinterpret_cast<HICON>(NewValue); break;
    case GCL_HICONSM: C.IconSm = reinterpret_cast<HICON>(NewValue); break;
    case GCL_HCURSOR: C.Cursor = reinterpret_cast<HCURSOR>(NewValue); break;
    case GCL_HBRBACKGROUND: C.Background = reinterpret_cast<HBRUSH>(NewValue); break;
    default:
      if (Index >= 0 && static_cast<size_t>(Index) + sizeof(LONG_PTR) <= C.Extra.size()) {
        std::memcpy(C.Extra.data() + Index, &NewValue, sizeof NewValue);
        break;
      }
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
  return Old;
}

DWORD GetClassLong(HWND Wnd, int Index) {
  if (Index == GCL_WNDPROC) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return static_cast<DWORD>(GetClassLongPtr(Wnd, Index));
}

DWORD SetClassLong(HWND Wnd, int Index, LONG NewValue) {
  if (Index == GCL_WNDPROC) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return static_cast<DWORD>(SetClassLongPtr(Wnd, Index, NewValue));
}

UINT RegisterWindowMessage(LPCSTR Name) {
  WindowManager* M = ClassesManager();
  if (!M || !Name || !*Name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return M->RegisterMessageName(Name);
}
