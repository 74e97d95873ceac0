// The window manager: windows as in-process objects behind HWNDs (handles never
// reused), registered classes, parent/owner trees in z-order, window procedures,
// geometry with the non-client area from WM_NCCALCSIZE, and the process-wide instance
// that owns the display, the clock, the GUI thread's queue and its timers.
// Windows are created, changed and destroyed on the GUI thread only; other threads may
// post and send messages (MessageQueue.h) and read the clock.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win/Clock.h"
#include "platform/win/Display.h"
#include "platform/win/Messages.h"
#include "platform/win/Surface.h"
#include "platform/win/WindowErrors.h"
#include "platform/win/WndProc.h"

namespace vantrel::win {

class MessageQueue;
class TimerTable;
class InputState;     // focus, activation, capture, keys, caret (Input.h)
class ShellServices;  // launcher, drops, clipboard (Shell.h)
struct WindowPaintData;  // the painting layer's per-window state (PaintState.h)

struct WindowClassRec {
  std::string Name;
  ATOM Atom = 0;
  UINT Style = 0;
  WNDPROC Proc = nullptr;
  int ClsExtra = 0;
  int WndExtra = 0;
  HINSTANCE Instance = nullptr;
  HICON Icon = nullptr;
  HICON IconSm = nullptr;
  HCURSOR Cursor = nullptr;
  HBRUSH Background = nullptr;
  std::string MenuName;
  std::vector<uint8_t> Extra;
  int Windows = 0;  // live windows of the class
};

// The record behind an HWND.
struct Window {
  HWND Handle = nullptr;
  std::shared_ptr<WindowClassRec> Class;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  std::string Text;
  Window* Parent = nullptr;  // nullptr: a top-level window (the desktop's child)
  HWND Owner = nullptr;      // top-level windows only
  std::vector<Window*> Children;  // z-order, topmost first
  RECT Rect{};        // window rectangle in the parent's client coordinates (top-level: screen)
  RECT ClientRect{};  // client rectangle, relative to Rect's top-left corner
  RECT NormalRect{};  // Rect before minimizing or maximizing
  WNDPROC Proc = nullptr;
  LONG_PTR UserData = 0;
  LONG_PTR Id = 0;  // child windows: the control id (hMenu of CreateWindowEx)
  HMENU Menu = nullptr;
  HINSTANCE Instance = nullptr;
  std::vector<uint8_t> Extra;  // cbWndExtra bytes
  WPARAM SizeType = SIZE_RESTORED;  // the state WM_SIZE last reported
  bool Destroying = false;   // destruction under way
  bool DestroySent = false;  // WM_DESTROY delivered
  bool NcDestroySent = false;
  bool Gone = false;        // destroyed; the record outlives it while destruction calls unwind
  bool HasNative = false;  // top-level with a native window on the display
  bool FrameActive = false;         // the default frame's colours: the last WM_NCACTIVATE
  LRESULT FramePressed = 0;         // the default frame's caption button held down (HT*)
  HICON BigIcon = nullptr;    // WM_SETICON's icons (not owned); none: the class's
  HICON SmallIcon = nullptr;
  std::unique_ptr<Surface> BackingStore;  // top-level only: window-sized pixels
  std::shared_ptr<WindowPaintData> Paint;  // update region, window DCs, region, layering, scroll state
  std::shared_ptr<void> ClassData;  // a native control class's own state, freed with the window

  bool IsTopLevel() const { return Parent == nullptr; }
  int Width() const { return Rect.Right - Rect.Left; }
  int Height() const { return Rect.Bottom - Rect.Top; }
};

// True on the GUI thread of a running window manager. Any thread.
bool OnGuiThread();

class WindowManager final : public DisplayEvents {
 public:
  // Becomes the process's window manager (EInvalidOperation when one exists). The
  // calling thread becomes the GUI thread and the main thread of the call queue.
  WindowManager(std::unique_ptr<Display> ADisplay, std::unique_ptr<Clock> AClock);
  // Destroys every remaining window (with their messages), then stops being the
  // instance; threads waiting in SendMessage get 0.
  ~WindowManager() override;
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  // The instance, or nullptr. For the GUI thread; other threads go through
  // WithInstance.
  static WindowManager* Instance();
  // The instance when called on its GUI thread; otherwise nullptr with
  // ERROR_WINDOW_OF_OTHER_THREAD.
  static WindowManager* OnGui();
  // Runs Fn with the instance (or nullptr) while it cannot be torn down. Any thread.
  template <typename Fn>
  static auto WithInstance(Fn&& F) {
    std::lock_guard Guard(InstanceLock());
    return F(InstanceUnlocked());
  }

  Display& GetDisplay() { return *FDisplay; }
  Clock& GetClock() { return *FClock; }
  MessageQueue& Queue() { return *FQueue; }
  std::shared_ptr<MessageQueue> QueueRef() { return FQueue; }
  TimerTable& Timers() { return *FTimers; }
  InputState& Input() { return *FInput; }
  ShellServices& Shell() { return *FShell; }
  bool IsGuiThread() const;

  // The window of a live handle, or nullptr (and ERROR_INVALID_WINDOW_HANDLE). The
  // pointer is only good on the GUI thread.
  Window* Find(HWND Wnd) const;
  Window* FindOrFail(HWND Wnd) const;
  // FindOrFail on the current manager; also ERROR_INVALID_WINDOW_HANDLE when there is
  // none. Out, when given, receives the manager.
  static Window* Lookup(HWND Wnd, WindowManager** Out = nullptr);
  bool IsLive(HWND Wnd) const;  // any thread
  // Top-level windows, topmost first.
  const std::vector<Window*>& TopLevels() const { return FTopLevels; }
  std::vector<Window*>& SiblingList(Window* W) { return W->Parent ? W->Parent->Children : FTopLevels; }

  // Calls the window's procedure; counts as dispatching (the virtual clock moves on
  // GetTickCount reads while any procedure runs).
  LRESULT Deliver(Window* W, UINT Msg, WPARAM WParam, LPARAM LParam);
  bool InDispatch() const { return FDispatchDepth > 0; }
  // Marks a stretch of GUI work (synchronized calls, timer callbacks) as dispatching.
  struct DispatchScope {
    explicit DispatchScope(WindowManager& M) : WM(M) { ++WM.FDispatchDepth; }
    ~DispatchScope() { --WM.FDispatchDepth; }
    WindowManager& WM;
  };

  // Classes.
  std::shared_ptr<WindowClassRec> FindClass(const std::string& Name) const;
  ATOM AddClass(std::shared_ptr<WindowClassRec> Class);
  bool RemoveClass(const std::string& Name);
  UINT RegisterMessageName(const std::string& Name);

  // Creation and destruction (WindowCreate.cpp).
  HWND Create(DWORD ExStyle, const std::string& ClassName, const char* WindowName, DWORD Style, int X,
              int Y, int W, int H, HWND ParentOrOwner, HMENU Menu, HINSTANCE Inst, LPVOID Param);
  bool Destroy(Window* W);

  // Geometry (WindowPos.cpp).
  // Screen position of the window's top-left corner.
  POINT WindowOrigin(const Window* W) const;
  // Screen position of the client area's top-left corner.
  POINT ClientOrigin(const Window* W) const;
  bool SetPos(Window* W, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags);
  bool Show(Window* W, int Cmd);
  bool IsVisible(const Window* W) const;
  // Recomputes the client rectangle through WM_NCCALCSIZE for window rectangle R.
  RECT CalcClient(Window* W, const RECT& NewRect, const RECT& OldRect, WINDOWPOS* Pos, bool Valid);
  void Restack(Window* W, HWND InsertAfter);
  void SetParentOf(Window* W, Window* NewParent);
  Window* WindowAt(POINT Screen) const;

  // The backing store of the top-level window that shows W (nullptr when none).
  Surface* BackingStoreOf(HWND Wnd);

  // Frame thickness (left, top, right, bottom) that DefWindowProc gives these styles.
  static RECT DefaultFrame(DWORD Style, DWORD ExStyle);
  // The maximized placement for W, as WM_GETMINMAXINFO leaves it.
  MINMAXINFO MinMaxInfo(Window* W);

  // Cursor position in screen coordinates, as the input layer last saw it.
  POINT CursorPos() const;
  void SetCursorPos(POINT P);

  // DisplayEvents.
  void RawInputArrived(RawInput Event) override;
  void Exposed(HWND Wnd, const RECT& Area) override;
  void NativeWindowMoved(HWND Wnd, const RECT& ScreenRect) override;
  bool AcceptsFilesAt(POINT Screen) override;

 private:
  static std::mutex& InstanceLock();
  static WindowManager* InstanceUnlocked();
  HWND NewHandle();
  void SyncNative(Window* W);
  void SyncStacking();
  void ResizeBackingStore(Window* W);
  HWND CreateMessages(Window* W, const std::string& ClassName, const char* WindowName, DWORD Style,
                      DWORD ShowStyle, HMENU Menu, HINSTANCE Inst, LPVOID Param);
  // Destruction (WindowCreate.cpp). A handler that throws must not leave a
  // half-destroyed window: every step runs, and the first exception is raised again
  // at the end.
  struct DestroySteps {
    template <typename Fn>
    void Run(Fn&& F) {
      try {
        F();
      } catch (...) {
        if (!Failure) Failure = std::current_exception();
      }
    }
    void Rethrow();
    std::exception_ptr Failure;
  };
  struct DestroyScope {
    explicit DestroyScope(WindowManager& M) : WM(M) { ++WM.FDestroyDepth; }
    ~DestroyScope();
    WindowManager& WM;
  };
  void DestroyTree(Window* W, bool NotifyParent);
  void DestroyOwned(Window* W, DestroySteps& Steps);
  void SendDestroy(Window* W, DestroySteps& Steps);
  void Finish(Window* W, DestroySteps& Steps);
  void Unlink(Window* W);

  std::unique_ptr<Display> FDisplay;
  std::unique_ptr<Clock> FClock;
  std::shared_ptr<MessageQueue> FQueue;  // shared with senders on other threads
  std::unique_ptr<TimerTable> FTimers;
  std::unique_ptr<InputState> FInput;
  std::unique_ptr<ShellServices> FShell;

  mutable std::mutex FTableLock;  // guards FWindows against readers on other threads
  std::unordered_map<uintptr_t, std::unique_ptr<Window>> FWindows;
  uintptr_t FNextHandle = 0x100000;
  std::vector<Window*> FTopLevels;  // topmost first

  std::unordered_map<std::string, std::shared_ptr<WindowClassRec>> FClasses;  // by upper-case name
  ATOM FNextAtom = 0xC000;
  std::unordered_map<std::string, UINT> FMessageNames;  // by upper-case name
  UINT FNextMessage = 0xC000;

  int FDispatchDepth = 0;
  int FDestroyDepth = 0;
  std::vector<std::unique_ptr<Window>> FDestroyed;  // records of windows destroyed in the running call
  uintptr_t FGuiThread = 0;
};

}  // namespace vantrel::win

// ---------------------------------------------------------------------------------------
// The Windows-style API (GUI thread unless a function says otherwise).

ATOM RegisterClass(const WNDCLASS* Class);
ATOM RegisterClassEx(const WNDCLASSEX* Class);
BOOL UnregisterClass(LPCSTR ClassName, HINSTANCE Instance);
BOOL GetClassInfo(HINSTANCE Instance, LPCSTR ClassName, WNDCLASS* Class);
int GetClassName(HWND Wnd, LPSTR Buffer, int MaxCount);
std::string GetClassName(HWND Wnd);
DWORD GetClassLong(HWND Wnd, int Index);
DWORD SetClassLong(HWND Wnd, int Index, LONG NewValue);
ULONG_PTR GetClassLongPtr(HWND Wnd, int Index);
ULONG_PTR SetClassLongPtr(HWND Wnd, int Index, LONG_PTR NewValue);
// Message numbers from 0xC000 on, the same for the same name (any case).
UINT RegisterWindowMessage(LPCSTR Name);
inline UINT RegisterWindowMessageW(LPCSTR Name) { return RegisterWindowMessage(Name); }

HWND CreateWindowEx(DWORD ExStyle, LPCSTR ClassName, LPCSTR WindowName, DWORD Style, int X, int Y,
                    int Width, int Height, HWND Parent, HMENU Menu, HINSTANCE Instance, LPVOID Param);
inline HWND CreateWindowExW(DWORD ExStyle, LPCSTR ClassName, LPCSTR WindowName, DWORD Style, int X,
                            int Y, int Width, int Height, HWND Parent, HMENU Menu, HINSTANCE Instance,
                            LPVOID Param) {
  return CreateWindowEx(ExStyle, ClassName, WindowName, Style, X, Y, Width, Height, Parent, Menu,
                        Instance, Param);
}
BOOL DestroyWindow(HWND Wnd);
BOOL IsWindow(HWND Wnd);  // any thread
inline BOOL IsWindowUnicode(HWND Wnd) { return IsWindow(Wnd); }

LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
inline LRESULT DefWindowProcW(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

// LONG forms refuse the pointer-sized indexes (GWL_WNDPROC, GWL_HINSTANCE,
// GWL_HWNDPARENT) with ERROR_INVALID_INDEX rather than cut a pointer.
LONG GetWindowLong(HWND Wnd, int Index);
LONG SetWindowLong(HWND Wnd, int Index, LONG NewValue);
LONG_PTR GetWindowLongPtr(HWND Wnd, int Index);
LONG_PTR SetWindowLongPtr(HWND Wnd, int Index, LONG_PTR NewValue);
inline LONG_PTR GetWindowLongPtrW(HWND Wnd, int Index) { return GetWindowLongPtr(Wnd, Index); }
inline LONG_PTR SetWindowLongPtrW(HWND Wnd, int Index, LONG_PTR V) { return SetWindowLongPtr(Wnd, Index, V); }
inline LONG GetWindowLongW(HWND Wnd, int Index) { return GetWindowLong(Wnd, Index); }
inline LONG SetWindowLongW(HWND Wnd, int Index, LONG V) { return SetWindowLong(Wnd, Index, V); }

HWND GetParent(HWND Wnd);
HWND SetParent(HWND Child, HWND NewParent);
HWND GetAncestor(HWND Wnd, UINT Flags);
HWND GetWindow(HWND Wnd, UINT Cmd);
HWND GetTopWindow(HWND Wnd);
BOOL IsChild(HWND Parent, HWND Wnd);
BOOL IsWindowVisible(HWND Wnd);
BOOL IsWindowEnabled(HWND Wnd);
BOOL EnableWindow(HWND Wnd, BOOL Enable);
BOOL IsIconic(HWND Wnd);
BOOL IsZoomed(HWND Wnd);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
BOOL EnumWindows(WNDENUMPROC Proc, LPARAM Param);
BOOL EnumChildWindows(HWND Parent, WNDENUMPROC Proc, LPARAM Param);
HWND FindWindow(LPCSTR ClassName, LPCSTR WindowName);
inline HWND FindWindowW(LPCSTR ClassName, LPCSTR WindowName) { return FindWindow(ClassName, WindowName); }

BOOL ShowWindow(HWND Wnd, int Cmd);
BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags);
BOOL MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, BOOL Repaint);
BOOL BringWindowToTop(HWND Wnd);
// A batch of placements applied together: DeferWindowPos records one (the window is
// checked at once), EndDeferWindowPos applies them in the order they were recorded with
// SetWindowPos and frees the batch. A failed DeferWindowPos frees the batch and gives 0
// (ERROR_INVALID_WINDOW_HANDLE for a dead window, ERROR_INVALID_DWP_HANDLE for a batch
// that is not live). EndDeferWindowPos skips windows destroyed meanwhile and then answers
// FALSE. GUI thread only.
HDWP BeginDeferWindowPos(int NumWindows);
HDWP DeferWindowPos(HDWP WinPosInfo, HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags);
BOOL EndDeferWindowPos(HDWP WinPosInfo);
BOOL GetWindowRect(HWND Wnd, LPRECT Rect);
BOOL GetClientRect(HWND Wnd, LPRECT Rect);
BOOL ClientToScreen(HWND Wnd, LPPOINT Point);
BOOL ScreenToClient(HWND Wnd, LPPOINT Point);
// Wnd 0 (HWND_DESKTOP) stands for the screen. Returns the horizontal offset in the low
// word and the vertical in the high word; 0 with ERROR_INVALID_WINDOW_HANDLE on failure.
int MapWindowPoints(HWND From, HWND To, LPPOINT Points, UINT Count);
// Maps a rectangle's two corners (left-top, right-bottom) as MapWindowPoints maps two
// points; the same result and errors. The rectangle is left as it was on failure.
int MapWindowRect(HWND From, HWND To, LPRECT Rect);
HWND WindowFromPoint(POINT Point);
HWND ChildWindowFromPoint(HWND Parent, POINT Point);

BOOL SetWindowText(HWND Wnd, LPCSTR Text);
int GetWindowText(HWND Wnd, LPSTR Buffer, int MaxCount);
// Length in code points.
int GetWindowTextLength(HWND Wnd);
std::string GetWindowText(HWND Wnd);
inline BOOL SetWindowTextW(HWND Wnd, LPCSTR Text) { return SetWindowText(Wnd, Text); }
