// The GUI thread's queue and the message API on top of it.
#include "platform/win/MessageQueue.h"
#include "platform/win/Keyboard.h"

#include "platform/rtl/Threads.h"
#include "platform/win/PaintState.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"

namespace {
// Keys that TranslateMessage turns into characters or reads the state of.
constexpr UINT KeyBack = 0x08, KeyTab = 0x09, KeyReturn = 0x0D, KeyShift = 0x10, KeyControl = 0x11,
               KeyMenu = 0x12, KeyCapital = 0x14, KeyEscape = 0x1B, KeySpace = 0x20;
}  // namespace

namespace vantrel::win {

MessageQueue::MessageQueue(WindowManager& Manager) : FManager(Manager) {}

void MessageQueue::Post(const MSG& Message) {
  {
    std::lock_guard Guard(FLock);
    FPosted.push_back(Message);
  }
  FWake.Signal();
}

bool MessageQueue::QueueSend(const std::shared_ptr<CrossThreadSend>& Send) {
  {
    std::lock_guard Guard(FLock);
    if (FShutdown) return false;
    FSent.push_back(Send);
  }
  FWake.Signal();
  return true;
}

LRESULT MessageQueue::WaitSend(const std::shared_ptr<CrossThreadSend>& Send) {
  std::unique_lock Guard(FLock);
  FSendDone.wait(Guard, [&] { return Send->Done || FShutdown; });
  return Send->Done ? Send->Result : 0;
}

void MessageQueue::Shutdown() {
  {
    std::lock_guard Guard(FLock);
    FShutdown = true;
    FSent.clear();
  }
  FSendDone.notify_all();
}

void MessageQueue::PostQuit(int ExitCode) {
  FQuit = true;
  FQuitCode = ExitCode;
  FWake.Signal();
}

POINT MessageQueue::Cursor() const {
  std::lock_guard Guard(FLock);
  return FCursor;
}

void MessageQueue::SetCursor(POINT P) {
  std::lock_guard Guard(FLock);
  FCursor = P;
}

bool MessageQueue::HasPosted() const {
  std::lock_guard Guard(FLock);
  return !FPosted.empty() || !FSent.empty();
}

void MessageQueue::AddInput(RawInput Event) {
  {
    std::lock_guard Guard(FLock);
    FInput.push_back(std::move(Event));
  }
  FWake.Signal();
}

std::deque<RawInput> MessageQueue::PendingInput() const {
  std::lock_guard Guard(FLock);
  return FInput;
}

bool MessageQueue::HasInput() const {
  std::lock_guard Guard(FLock);
  return !FInput.empty();
}

void MessageQueue::DropPosted(HWND Wnd) {
  std::lock_guard Guard(FLock);
  std::erase_if(FPosted, [&](const MSG& M) { return M.hwnd == Wnd; });
}

bool MessageQueue::ServeIncoming() {
  bool Ran = false;
  for (;;) {
    std::shared_ptr<CrossThreadSend> S;
    {
      std::lock_guard Guard(FLock);
      if (FSent.empty()) break;
      S = FSent.front();
      FSent.pop_front();
    }
    struct Release {  // the sender is let go even when the handler throws
      MessageQueue& Q;
      CrossThreadSend& S;
      ~Release() {
        {
          std::lock_guard Guard(Q.FLock);
          S.Done = true;
        }
        Q.FSendDone.notify_all();
      }
    } R{*this, *S};
    if (Window* W = FManager.Find(S->Wnd)) S->Result = FManager.Deliver(W, S->Msg, S->WParam, S->LParam);
    Ran = true;
  }
  WindowManager::DispatchScope Scope(FManager);
  if (CheckSynchronize(0)) Ran = true;
  return Ran;
}

bool MessageQueue::Matches(const MSG& M, HWND Filter, UINT Min, UINT Max) const {
  if ((Min || Max) && (M.message < Min || M.message > Max)) return false;
  if (!Filter) return true;
  if (Filter == reinterpret_cast<HWND>(-1)) return M.hwnd == nullptr;
  if (M.hwnd == Filter) return true;
  const Window* W = FManager.Find(M.hwnd);
  for (const Window* A = W ? W->Parent : nullptr; A; A = A->Parent)
    if (A->Handle == Filter) return true;
  return false;
}

bool MessageQueue::TakePosted(MSG& Out, HWND Filter, UINT Min, UINT Max, bool Remove) {
  std::lock_guard Guard(FLock);
  for (auto It = FPosted.begin(); It != FPosted.end(); ++It) {
    if (!Matches(*It, Filter, Min, Max)) continue;
    Out = *It;
    if (Remove) FPosted.erase(It);
    return true;
  }
  return false;
}

bool MessageQueue::TakeTimer(MSG& Out, HWND Filter, UINT Min, UINT Max, bool Remove) {
  const uint64_t Now = FManager.GetClock().Now();
  TimerTable::Timer* T = FManager.Timers().NextDue(Now, [&](const TimerTable::Timer& X) {
    MSG Probe{};
    Probe.hwnd = X.Wnd;
    Probe.message = WM_TIMER;
    return Matches(Probe, Filter, Min, Max);
  });
  if (!T) return false;
  Out = MSG{T->Wnd, WM_TIMER, T->Id, reinterpret_cast<LPARAM>(T->Proc), static_cast<DWORD>(Now), Cursor()};
  if (Remove) FManager.Timers().Fired(*T, Now);
  return true;
}

bool MessageQueue::Fetch(MSG& Out, HWND Filter, UINT Min, UINT Max, bool Remove, bool Wait, bool AllowTimers) {
  for (;;) {
    // Drain first: a wake-up that comes after the checks below ends the wait at once.
    FWake.Drain();
    ServeIncoming();
    FManager.GetDisplay().ProcessEvents(FManager);
    if (TakePosted(Out, Filter, Min, Max, Remove)) return true;
    if (InputRouter) {
      RawInput Event;
      bool Got = false;
      {
        std::lock_guard Guard(FLock);
        if (!FInput.empty()) {
          Event = std::move(FInput.front());
          FInput.pop_front();
          Got = true;
        }
      }
      if (Got) {
        InputRouter(std::move(Event));
        continue;
      }
    }
    if (FQuit && !Filter && (!(Min || Max) || (Min <= WM_QUIT && WM_QUIT <= Max))) {
      Out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(static_cast<intptr_t>(FQuitCode)), 0,
                static_cast<DWORD>(FManager.GetClock().Now()), Cursor()};
      if (Remove) FQuit = false;
      return true;
    }
    // Paint messages only for a filter that takes them (a mouse-only peek never sees one).
    const bool PaintInRange = !(Min || Max) || (Min <= WM_NCPAINT && WM_PAINT <= Max);
    if (PaintSource && PaintInRange && PaintSource(Out, Filter, Remove)) return true;
    if (AllowTimers && TakeTimer(Out, Filter, Min, Max, Remove)) return true;
    if (!Wait) return false;
    uint64_t Deadline = NoDeadline;
    if (AllowTimers) {
      // The earliest timer this filter takes.
      TimerTable::Timer* T = FManager.Timers().NextDue(NoDeadline - 1, [&](const TimerTable::Timer& X) {
        MSG Probe{};
        Probe.hwnd = X.Wnd;
        Probe.message = WM_TIMER;
        return Matches(Probe, Filter, Min, Max);
      });
      if (T) Deadline = T->Due;
    }
    // Events the display has already read would not wake the wait.
    if (FManager.GetDisplay().EventsPending()) continue;
    FManager.GetClock().WaitUntil(Deadline, FWake, FManager.GetDisplay().EventFd());
  }
}

void SetKeyDown(int VirtKey, bool Down) {
  WindowManager* M = WindowManager::Instance();
  if (!M || VirtKey < 0 || VirtKey > 255) return;
  BYTE& K = M->Queue().KeyStates[VirtKey];
  if (Down && !(K & 0x80)) K ^= 0x01;
  K = Down ? (K | 0x80) : (K & 0x7F);
}

}  // namespace vantrel::win

using vantrel::win::MessageQueue;
using vantrel::win::Window;
using vantrel::win::WindowManager;

SHORT GetKeyState(int VirtKey) {
  WindowManager* M = WindowManager::Instance();
  if (!M || !M->IsGuiThread() || VirtKey < 0 || VirtKey > 255) return 0;
  const BYTE K = M->Queue().KeyStates[VirtKey];
  return static_cast<SHORT>(((K & 0x80) ? 0xFF80 : 0) | (K & 0x01));
}

BOOL PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return WindowManager::WithInstance([&](WindowManager* M) -> BOOL {
    if (!M) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (Wnd && !M->IsLive(Wnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    MessageQueue& Q = M->Queue();
    Q.Post(MSG{Wnd, Msg, WParam, LParam, static_cast<DWORD>(M->GetClock().Now()), Q.Cursor()});
    return TRUE;
  });
}

LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (vantrel::win::OnGuiThread()) {
    WindowManager* M = WindowManager::Instance();
    Window* W = M->FindOrFail(Wnd);
    return W ? M->Deliver(W, Msg, WParam, LParam) : 0;
  }
  auto Send = std::make_shared<MessageQueue::CrossThreadSend>(MessageQueue::CrossThreadSend{Wnd, Msg, WParam, LParam});
  std::shared_ptr<MessageQueue> Q = WindowManager::WithInstance([&](WindowManager* M) -> std::shared_ptr<MessageQueue> {
    if (!M || !M->IsLive(Wnd)) return nullptr;
    std::shared_ptr<MessageQueue> R = M->QueueRef();
    return R->QueueSend(Send) ? R : nullptr;
  });
  if (!Q) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return Q->WaitSend(Send);
}

namespace {

WindowManager* GuiManager() {
  WindowManager* M = vantrel::win::OnGuiThread() ? WindowManager::Instance() : nullptr;
  if (!M) SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
  return M;
}

bool FilterOk(WindowManager* M, HWND Wnd) {
  if (!Wnd || Wnd == reinterpret_cast<HWND>(-1) || M->IsLive(Wnd)) return true;
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return false;
}

}  // namespace

BOOL GetMessage(LPMSG Msg, HWND Wnd, UINT FilterMin, UINT FilterMax) {
  WindowManager* M = GuiManager();
  if (!M || !Msg || !FilterOk(M, Wnd)) return -1;
  MSG Got;
  M->Queue().Fetch(Got, Wnd, FilterMin, FilterMax, true, true, true);
  M->Queue().LastMessage = Got;
  *Msg = Got;
  return Got.message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessage(LPMSG Msg, HWND Wnd, UINT FilterMin, UINT FilterMax, UINT RemoveMsg) {
  WindowManager* M = GuiManager();
  if (!M || !FilterOk(M, Wnd)) return FALSE;
  MSG Got;
  if (!M->Queue().Fetch(Got, Wnd, FilterMin, FilterMax, (RemoveMsg & PM_REMOVE) != 0, false, true)) return FALSE;
  M->Queue().LastMessage = Got;
  if (Msg) *Msg = Got;
  return TRUE;
}

BOOL WaitMessage() {
  WindowManager* M = GuiManager();
  if (!M) return FALSE;
  MSG Got;
  M->Queue().Fetch(Got, nullptr, 0, 0, false, true, true);
  return TRUE;
}

void PostQuitMessage(int ExitCode) {
  if (WindowManager* M = GuiManager()) M->Queue().PostQuit(ExitCode);
}

DWORD GetMessagePos() {
  WindowManager* M = GuiManager();
  if (!M) return 0;
  const POINT P = M->Queue().LastMessage.pt;
  return static_cast<DWORD>(MAKELONG(static_cast<WORD>(P.X), static_cast<WORD>(P.Y)));
}

LONG GetMessageTime() {
  WindowManager* M = GuiManager();
  return M ? static_cast<LONG>(M->Queue().LastMessage.time) : 0;
}

LRESULT DispatchMessage(const MSG* Msg) {
  WindowManager* M = GuiManager();
  if (!M || !Msg) return 0;
  if (Msg->message == WM_TIMER && Msg->lParam) {
    // Only the callback the timer was set with is ever called.
    if (!M->Timers().IsTimerProc(Msg->hwnd, Msg->wParam, Msg->lParam)) return 0;
    WindowManager::DispatchScope Scope(*M);
    reinterpret_cast<TIMERPROC>(Msg->lParam)(Msg->hwnd, WM_TIMER, Msg->wParam, Msg->time);
    return 0;
  }
  Window* W = Msg->hwnd ? M->Find(Msg->hwnd) : nullptr;
  if (W && Msg->message == WM_PAINT) return vantrel::win::DispatchPaint(*M, W, Msg->wParam, Msg->lParam);
  return W ? M->Deliver(W, Msg->message, Msg->wParam, Msg->lParam) : 0;
}

namespace {

// The character a key makes on a US keyboard (0: none).
char32_t KeyChar(UINT Vk, bool Shift, bool Caps, bool Ctrl) {
  if (Vk >= 'A' && Vk <= 'Z') {
    if (Ctrl) return Vk - 'A' + 1;
    return (Shift != Caps) ? Vk : Vk + ('a' - 'A');
  }
  if (Ctrl) return 0;
  if (Vk >= '0' && Vk <= '9') return Shift ? U")!@#$%^&*("[Vk - '0'] : Vk;
  if (Vk >= 0x60 && Vk <= 0x69) return U'0' + (Vk - 0x60);
  switch (Vk) {
    case KeyBack: return 8;
    case KeyTab: return 9;
    case KeyReturn: return 13;
    case KeyEscape: return 27;
    case KeySpace: return ' ';
    case 0x6A: return '*';
    case 0x6B: return '+';
    case 0x6D: return '-';
    case 0x6E: return '.';
    case 0x6F: return '/';
    case 0xBA: return Shift ? ':' : ';';
    case 0xBB: return Shift ? '+' : '=';
    case 0xBC: return Shift ? '<' : ',';
    case 0xBD: return Shift ? '_' : '-';
    case 0xBE: return Shift ? '>' : '.';
    case 0xBF: return Shift ? '?' : '/';
    case 0xC0: return Shift ? '~' : '`';
    case 0xDB: return Shift ? '{' : '[';
    case 0xDC: return Shift ? '|' : '\\';
    case 0xDD: return Shift ? '}' : ']';
    case 0xDE: return Shift ? '"' : '\'';
    default: return 0;
  }
}

}  // namespace

BOOL TranslateMessage(const MSG* Msg) {
  if (!Msg || (Msg->message != WM_KEYDOWN && Msg->message != WM_SYSKEYDOWN)) return FALSE;
  if (Msg->lParam & KeyCharGiven) {  // the layout's character, or none
    const char32_t Given = static_cast<char32_t>((Msg->lParam >> KeyCharShift) & 0x1FFFFF);
    if (!Given) return FALSE;
    return PostMessage(Msg->hwnd, Msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, Given,
                       Msg->lParam & 0xFFFFFFFF);
  }
  const bool Shift = GetKeyState(KeyShift) < 0;
  const bool Ctrl = GetKeyState(KeyControl) < 0 && GetKeyState(KeyMenu) >= 0;
  const bool Caps = (GetKeyState(KeyCapital) & 1) != 0;
  const char32_t C = KeyChar(static_cast<UINT>(Msg->wParam), Shift, Caps, Ctrl);
  if (!C) return FALSE;
  return PostMessage(Msg->hwnd, Msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, C, Msg->lParam);
}
