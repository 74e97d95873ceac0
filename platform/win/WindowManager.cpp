// The process-wide window manager: its lifetime, the handle table, the GUI thread and
// the call into window procedures.
#include "platform/win/WindowManager.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Threads.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintState.h"
#include "platform/win/Shell.h"
#include "platform/win/SystemClasses.h"
#include "platform/win/Timers.h"

namespace vantrel::win {

namespace {
// Written under InstanceLock by the GUI thread; the GUI thread reads it freely.
std::atomic<WindowManager*> GInstance{nullptr};
// The GUI thread of the running window manager (0: none), for other threads' checks.
std::atomic<uintptr_t> GGuiThread{0};

uintptr_t ThisThread() { return std::hash<std::thread::id>{}(std::this_thread::get_id()) | 1; }
}  // namespace

bool OnGuiThread() { return GGuiThread.load() == ThisThread(); }

std::mutex& WindowManager::InstanceLock() {
  static std::mutex M;
  return M;
}

WindowManager* WindowManager::InstanceUnlocked() { return GInstance; }

WindowManager* WindowManager::Instance() { return GInstance; }

WindowManager::WindowManager(std::unique_ptr<Display> ADisplay, std::unique_ptr<Clock> AClock)
    : FDisplay(std::move(ADisplay)),
      FClock(AClock ? std::move(AClock) : std::make_unique<RealClock>()),
      FQueue(std::make_shared<MessageQueue>(*this)),
      FTimers(std::make_unique<TimerTable>()),
      FInput(std::make_unique<InputState>(*this)),
      FShell(std::make_unique<ShellServices>()),
      FGuiThread(ThisThread()) {
  if (!FDisplay) throw EInvalidOperation("A window manager needs a display");
  {
    std::lock_guard Guard(InstanceLock());
    if (GInstance) throw EInvalidOperation("A window manager is already running");
    GInstance = this;
    GGuiThread = FGuiThread;
  }
  SetMainThreadID(GetCurrentThreadId());
  MessageQueue* Q = FQueue.get();
  SetMainThreadWakeup([Q] { Q->Wake(); });
  InstallPainting(*this);
  RegisterSystemClasses(*this);
  if (std::unique_ptr<TrayArea> Tray = FDisplay->MakeTrayArea()) FShell->SetTray(std::move(Tray));
}

WindowManager::~WindowManager() {
  // Windows first, while everything they may call still works: owners and parents
  // take their owned windows and children with them.
  while (!FTopLevels.empty()) {
    Window* W = FTopLevels.back();
    try {
      if (W->Destroying)
        Unlink(W);
      else
        DestroyTree(W, false);
    } catch (const std::exception& E) {
      std::fprintf(stderr, "window manager: a handler failed while the windows were torn down: %s\n", E.what());
    } catch (...) {
      std::fprintf(stderr, "window manager: a handler failed while the windows were torn down\n");
    }
  }
  SetMainThreadWakeup(nullptr);
  RemovePainting(*this);
  {
    std::lock_guard Guard(InstanceLock());
    GInstance = nullptr;
    GGuiThread = 0;
  }
  FQueue->Shutdown();
  for (auto& [Name, Class] : FClasses) ReleaseWndProcUse(Class->Proc);
}

bool WindowManager::IsGuiThread() const { return ThisThread() == FGuiThread; }

HWND WindowManager::NewHandle() {
  FNextHandle += 0x10;
  return reinterpret_cast<HWND>(FNextHandle);
}

Window* WindowManager::Find(HWND Wnd) const {
  std::lock_guard Guard(FTableLock);
  auto It = FWindows.find(reinterpret_cast<uintptr_t>(Wnd));
  return It == FWindows.end() ? nullptr : It->second.get();
}

Window* WindowManager::FindOrFail(HWND Wnd) const {
  Window* W = Find(Wnd);
  if (!W) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return W;
}

bool WindowManager::IsLive(HWND Wnd) const { return Find(Wnd) != nullptr; }

WindowManager* WindowManager::OnGui() {
  WindowManager* M = OnGuiThread() ? Instance() : nullptr;
  if (!M) SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
  return M;
}

Window* WindowManager::Lookup(HWND Wnd, WindowManager** Out) {
  WindowManager* M = Instance();
  if (Out) *Out = M;
  if (!M) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return M->FindOrFail(Wnd);
}

LRESULT WindowManager::Deliver(Window* W, UINT Msg, WPARAM WParam, LPARAM LParam) {
  DispatchScope Scope(*this);
  return CallWindowProc(W->Proc, W->Handle, Msg, WParam, LParam);
}

std::shared_ptr<WindowClassRec> WindowManager::FindClass(const std::string& Name) const {
  std::string Key = Name;
  std::transform(Key.begin(), Key.end(), Key.begin(), [](unsigned char C) { return std::toupper(C); });
  auto It = FClasses.find(Key);
  return It == FClasses.end() ? nullptr : It->second;
}

ATOM WindowManager::AddClass(std::shared_ptr<WindowClassRec> Class) {
  std::string Key = Class->Name;
  std::transform(Key.begin(), Key.end(), Key.begin(), [](unsigned char C) { return std::toupper(C); });
  if (FClasses.count(Key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  Class->Atom = FNextAtom++;
  AddWndProcUse(Class->Proc);
  FClasses.emplace(Key, std::move(Class));
  return FNextAtom - 1;
}

bool WindowManager::RemoveClass(const std::string& Name) {
  std::string Key = Name;
  std::transform(Key.begin(), Key.end(), Key.begin(), [](unsigned char C) { return std::toupper(C); });
  auto It = FClasses.find(Key);
  if (It == FClasses.end()) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return false;
  }
  if (It->second->Windows > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return false;
  }
  ReleaseWndProcUse(It->second->Proc);
  FClasses.erase(It);
  return true;
}

UINT WindowManager::RegisterMessageName(const std::string& Name) {
  std::string Key = Name;
  std::transform(Key.begin(), Key.end(), Key.begin(), [](unsigned char C) { return std::toupper(C); });
  auto [It, Inserted] = FMessageNames.emplace(Key, FNextMessage);
  if (Inserted) ++FNextMessage;
  return It->second;
}

Surface* WindowManager::BackingStoreOf(HWND Wnd) {
  Window* W = Find(Wnd);
  while (W && W->Parent) W = W->Parent;
  return W ? W->BackingStore.get() : nullptr;
}

POINT WindowManager::CursorPos() const { return FQueue->Cursor(); }

void WindowManager::SetCursorPos(POINT P) { FQueue->SetCursor(P); }

void WindowManager::RawInputArrived(RawInput Event) { FQueue->AddInput(std::move(Event)); }

void WindowManager::Exposed(HWND Wnd, const RECT& Area) {
  Window* W = Find(Wnd);
  if (!W) return;
  if (W->BackingStore) {
    FDisplay->Present(Wnd, *W->BackingStore, Area);
  } else if (!W->IsTopLevel()) {
    // A child's own native window lost pixels that only its painting can give back.
    RECT Client{Area.Left - W->ClientRect.Left, Area.Top - W->ClientRect.Top, Area.Right - W->ClientRect.Left,
                Area.Bottom - W->ClientRect.Top};
    InvalidateRect(Wnd, &Client, FALSE);
  }
}

bool WindowManager::AcceptsFilesAt(POINT Screen) {
  const HitResult Hit = FInput->HitTest(Screen);
  if (Hit.Code == HTERROR) return false;
  for (const Window* W = Hit.W; W; W = W->Parent)
    if (W->ExStyle & WS_EX_ACCEPTFILES) return true;
  return false;
}

void WindowManager::NativeWindowMoved(HWND Wnd, const RECT& ScreenRect) {
  Window* W = Find(Wnd);
  if (!W || !W->IsTopLevel() || (W->Style & WS_MINIMIZE)) return;
  if (ScreenRect.Left == W->Rect.Left && ScreenRect.Top == W->Rect.Top && ScreenRect.Right == W->Rect.Right &&
      ScreenRect.Bottom == W->Rect.Bottom)
    return;
  SetPos(W, nullptr, ScreenRect.Left, ScreenRect.Top, ScreenRect.Right - ScreenRect.Left,
         ScreenRect.Bottom - ScreenRect.Top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vantrel::win
