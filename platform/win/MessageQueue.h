// The GUI thread's message queue: posted messages, messages sent from other threads
// (delivered on the GUI thread while the sender waits), the quit flag, raw input waiting
// to be routed, and the synthesised messages (WM_PAINT from the painting layer, WM_TIMER
// from the timers). Retrieval order: sent, posted, input, quit, paint, timers.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/win/Clock.h"
#include "platform/win/Display.h"
#include "platform/win/Messages.h"

SHORT GetKeyState(int VirtKey);

namespace vantrel::win {

class WindowManager;
void SetKeyDown(int VirtKey, bool Down);

class MessageQueue {
 public:
  // A message sent from another thread, waiting for the GUI thread.
  struct CrossThreadSend {
    HWND Wnd;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result = 0;
    bool Done = false;
  };

  explicit MessageQueue(WindowManager& Manager);

  // Any thread.
  void Post(const MSG& Message);
  // Any thread but the GUI thread: queues a send (false after Shutdown), then waits
  // until the GUI thread has handled it (0 when the window manager goes away first).
  bool QueueSend(const std::shared_ptr<CrossThreadSend>& Send);
  LRESULT WaitSend(const std::shared_ptr<CrossThreadSend>& Send);
  void Wake() { FWake.Signal(); }
  WakeUp& Waker() { return FWake; }
  // Fails every waiting sender and refuses new ones.
  void Shutdown();

  // GUI thread.
  void PostQuit(int ExitCode);
  // One step of GetMessage/PeekMessage: true with a message; false when there is
  // nothing (Wait false) or never when Wait is true (it blocks until something comes).
  // Timers take part only when AllowTimers.
  bool Fetch(MSG& Out, HWND Filter, UINT Min, UINT Max, bool Remove, bool Wait, bool AllowTimers);
  // Serves sent messages and main-thread calls; true when it ran any.
  bool ServeIncoming();
  bool HasPosted() const;
  // Raw input recorded and not yet routed.
  void AddInput(RawInput Event);
  std::deque<RawInput> PendingInput() const;
  bool HasInput() const;
  void DropPosted(HWND Wnd);
  // Pointer position stamped on posted messages (any thread).
  POINT Cursor() const;
  void SetCursor(POINT P);

  // Seams for the painting and input layers: the input router takes one raw event at a
  // time (and usually posts messages for it); the paint source yields a WM_PAINT (or
  // WM_NCPAINT...) message for a window matching the filter, and tells whether any
  // paint is pending.
  std::function<void(RawInput&&)> InputRouter;
  std::function<bool(MSG& Out, HWND Filter, bool Remove)> PaintSource;
  std::function<bool()> PaintPending;

  // The message last retrieved by GetMessage/PeekMessage.
  MSG LastMessage{};

 private:
  bool Matches(const MSG& M, HWND Filter, UINT Min, UINT Max) const;
  bool TakePosted(MSG& Out, HWND Filter, UINT Min, UINT Max, bool Remove);
  bool TakeTimer(MSG& Out, HWND Filter, UINT Min, UINT Max, bool Remove);

  WindowManager& FManager;
  WakeUp FWake;
  mutable std::mutex FLock;  // guards the members below
  std::condition_variable FSendDone;
  std::deque<MSG> FPosted;
  std::deque<std::shared_ptr<CrossThreadSend>> FSent;
  std::deque<RawInput> FInput;
  bool FShutdown = false;
  POINT FCursor{};
  // GUI thread only.
  bool FQuit = false;
  int FQuitCode = 0;

 public:
  // Key states as GetKeyState reports them: bit 7 down, bit 0 toggled. GUI thread.
  BYTE KeyStates[256] = {};
};

}  // namespace vantrel::win

// Any thread: appends to the GUI thread's queue. Wnd 0 posts a message for the thread.
BOOL PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
inline BOOL PostMessageW(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return PostMessage(Wnd, Msg, WParam, LParam);
}
// On the GUI thread a direct call of the window procedure; from another thread the
// message is handled on the GUI thread while the caller waits.
LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
inline LRESULT SendMessageW(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return SendMessage(Wnd, Msg, WParam, LParam);
}
// Blocks until a message comes; FALSE for WM_QUIT, -1 for an invalid filter window.
BOOL GetMessage(LPMSG Msg, HWND Wnd, UINT FilterMin, UINT FilterMax);
BOOL PeekMessage(LPMSG Msg, HWND Wnd, UINT FilterMin, UINT FilterMax, UINT RemoveMsg);
inline BOOL GetMessageW(LPMSG Msg, HWND Wnd, UINT Min, UINT Max) { return GetMessage(Msg, Wnd, Min, Max); }
inline BOOL PeekMessageW(LPMSG Msg, HWND Wnd, UINT Min, UINT Max, UINT Remove) {
  return PeekMessage(Msg, Wnd, Min, Max, Remove);
}
inline BOOL PeekMessageA(LPMSG Msg, HWND Wnd, UINT Min, UINT Max, UINT Remove) {
  return PeekMessage(Msg, Wnd, Min, Max, Remove);
}
BOOL WaitMessage();
// Posts WM_CHAR/WM_SYSCHAR for a key-down message that makes a character.
BOOL TranslateMessage(const MSG* Msg);
LRESULT DispatchMessage(const MSG* Msg);
inline LRESULT DispatchMessageW(const MSG* Msg) { return DispatchMessage(Msg); }
inline LRESULT DispatchMessageA(const MSG* Msg) { return DispatchMessage(Msg); }
void PostQuitMessage(int ExitCode);
DWORD GetMessagePos();
LONG GetMessageTime();
// GetKeyState (declared above) reads the key state that TranslateMessage uses; the input
// layer keeps it up to date with SetKeyDown.
