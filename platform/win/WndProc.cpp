// Procedure objects live in a process-wide registry so a stale pointer is recognised
// instead of called, and an object freed during its own call is deleted after the call.
#include "platform/win/WndProc.h"

#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/rtl/Exceptions.h"
#include "platform/win/WindowErrors.h"

namespace vantrel::win {

class WndProcObject {
 public:
  std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> Fn;
  bool Interned = false;
  bool Freed = false;  // freed while a call into it was running
  int Uses = 0;        // windows and classes that have it installed
  int Active = 0;      // calls in progress
};

namespace {

struct Registry {
  std::mutex Lock;  // guards everything below
  std::unordered_map<WndProcObject*, std::unique_ptr<WndProcObject>> Live;
  std::unordered_map<WNDPROCFUNC, WndProcObject*> Interned;
  std::unordered_map<WndProcObject*, std::unique_ptr<WndProcObject>> Dying;
};

Registry& Reg() {
  static Registry R;
  return R;
}

WNDPROC Add(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> Fn, bool Interned) {
  auto Obj = std::make_unique<WndProcObject>();
  Obj->Fn = std::move(Fn);
  Obj->Interned = Interned;
  WndProcObject* P = Obj.get();
  Registry& R = Reg();
  std::lock_guard Guard(R.Lock);
  R.Live.emplace(P, std::move(Obj));
  return P;
}

}  // namespace

bool IsLiveWndProc(WNDPROC Proc) {
  Registry& R = Reg();
  std::lock_guard Guard(R.Lock);
  return Proc && R.Live.count(Proc) != 0;
}

void AddWndProcUse(WNDPROC Proc) {
  Registry& R = Reg();
  std::lock_guard Guard(R.Lock);
  if (Proc && R.Live.count(Proc)) ++Proc->Uses;
}

void ReleaseWndProcUse(WNDPROC Proc) {
  Registry& R = Reg();
  std::lock_guard Guard(R.Lock);
  if (Proc && R.Live.count(Proc) && Proc->Uses > 0) --Proc->Uses;
}

}  // namespace vantrel::win

using vantrel::win::WndProcObject;

WNDPROC MakeWndProc(WNDPROCFUNC Proc) {
  if (!Proc) return nullptr;
  auto& R = vantrel::win::Reg();
  {
    std::lock_guard Guard(R.Lock);
    auto It = R.Interned.find(Proc);
    if (It != R.Interned.end()) return It->second;
  }
  WNDPROC Made = vantrel::win::Add(Proc, true);
  std::lock_guard Guard(R.Lock);
  auto [It, Inserted] = R.Interned.emplace(Proc, Made);
  if (!Inserted) {  // another thread interned it meanwhile
    R.Live.erase(Made);
    return It->second;
  }
  return Made;
}

WNDPROC MakeWndProcInstance(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> Proc) {
  if (!Proc) return nullptr;
  return vantrel::win::Add(std::move(Proc), false);
}

WNDPROC MakeObjectInstance(TWndMethod Method) {
  if (!Method) return nullptr;
  return vantrel::win::Add(
      [Method = std::move(Method)](HWND, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        TMessage M{Msg, WParam, LParam, 0};
        Method(M);
        return M.Result;
      },
      false);
}

void FreeObjectInstance(WNDPROC Proc) {
  if (!Proc) return;
  auto& R = vantrel::win::Reg();
  std::unique_ptr<WndProcObject> Doomed;  // deleted after the lock is released
  {
    std::lock_guard Guard(R.Lock);
    auto It = R.Live.find(Proc);
    if (It == R.Live.end() || Proc->Interned) return;
    if (Proc->Uses > 0)
      throw EInvalidOperation("Window procedure freed while still installed in a window");
    if (Proc->Active > 0) {
      Proc->Freed = true;
      R.Dying.emplace(Proc, std::move(It->second));
    } else {
      Doomed = std::move(It->second);
    }
    R.Live.erase(It);
  }
}

LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto& R = vantrel::win::Reg();
  {
    std::lock_guard Guard(R.Lock);
    if (!Proc || !R.Live.count(Proc)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    ++Proc->Active;
  }
  struct EndCall {
    WndProcObject* P;
    ~EndCall() {
      auto& R = vantrel::win::Reg();
      std::unique_ptr<WndProcObject> Doomed;
      std::lock_guard Guard(R.Lock);
      if (--P->Active == 0 && P->Freed) {
        auto It = R.Dying.find(P);
        if (It != R.Dying.end()) {
          Doomed = std::move(It->second);
          R.Dying.erase(It);
        }
      }
    }
  } End{Proc};
  return Proc->Fn(Wnd, Msg, WParam, LParam);
}
