// Driving the headless window system from a test.
#include "platform/display/HeadlessSession.h"

#include <algorithm>
#include <cstring>

#include "platform/win/CaretPaint.h"
#include "platform/win/MessageBox.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Shell.h"
#include "platform/win/Timers.h"

namespace vantrel::display {

namespace {
// A loop that never goes idle is a fault of the code under test, not a wait.
constexpr int MaxMessagesPerPump = 200000;
}  // namespace

HeadlessSession::HeadlessSession(int ScreenWidth, int ScreenHeight) {
  auto D = std::make_unique<HeadlessDisplay>(ScreenWidth, ScreenHeight);
  auto C = std::make_unique<win::VirtualClock>();
  FDisplay = D.get();
  FClock = C.get();
  FManager = std::make_unique<win::WindowManager>(std::move(D), std::move(C));
  FManager->Shell().MessageBoxResponder = [this](HWND Owner, const std::string& Text, const std::string& Caption,
                                                 UINT Flags) {
    MessageBoxes.push_back({Owner, Text, Caption, Flags});
    return win::MessageBoxButtons(Flags).front().Id;
  };
}

HeadlessSession::~HeadlessSession() = default;

void HeadlessSession::Dispatch(MSG& M) {
  FManager->Queue().LastMessage = M;
  if (M.message == WM_QUIT) {
    QuitCode = static_cast<int>(M.wParam);
    return;
  }
  TranslateMessage(&M);
  DispatchMessage(&M);
}

void HeadlessSession::PumpUntilIdle() {
  win::MessageQueue& Q = FManager->Queue();
  int Count = 0;
  for (;;) {
    MSG M;
    while (Q.Fetch(M, nullptr, 0, 0, true, false, false)) {
      if (++Count > MaxMessagesPerPump) throw EHeadlessStall("PumpUntilIdle: the message loop never goes idle");
      Dispatch(M);
    }
    if (OnIdle) OnIdle();
    const bool PaintPending = Q.PaintPending && Q.PaintPending();
    if (!Q.HasPosted() && !PaintPending && !(Q.InputRouter && Q.HasInput())) {
      // Calls queued for the main thread count as queued work too.
      if (!Q.ServeIncoming()) return;
    }
  }
}

void HeadlessSession::FireNextTimer() {
  MSG M;
  if (FManager->Queue().Fetch(M, nullptr, 0, 0, true, false, true)) Dispatch(M);
}

void HeadlessSession::Advance(uint64_t Ms) {
  const uint64_t Target = FClock->Now() + Ms;
  for (;;) {
    PumpUntilIdle();
    if (FClock->Now() > Target) break;
    const uint64_t Due = FManager->Timers().EarliestDue();
    if (Due == win::NoDeadline || Due > Target) break;
    FClock->AdvanceTo(Due);
    FireNextTimer();
  }
  FClock->AdvanceTo(Target);
  PumpUntilIdle();
}

void HeadlessSession::RunUntil(const std::function<bool()>& Pred, uint64_t DeadlineMs) {
  const uint64_t Deadline = FClock->Now() + DeadlineMs;
  for (;;) {
    PumpUntilIdle();
    if (Pred()) return;
    const uint64_t Due = FManager->Timers().EarliestDue();
    if (Due == win::NoDeadline)
      throw EHeadlessStall("RunUntil: the condition is false, nothing is queued and no timer is set");
    if (Due > Deadline) throw EHeadlessStall("RunUntil: the condition is still false at the deadline");
    FClock->AdvanceTo(Due);
    FireNextTimer();
  }
}

void HeadlessSession::Record(win::RawInput E) { FManager->RawInputArrived(std::move(E)); }

void HeadlessSession::Press(int X, int Y, int Button, UINT Modifiers) {
  win::RawInput E;
  E.Kind = win::RawInputKind::ButtonDown;
  E.Pos = {X, Y};
  E.Button = Button;
  E.Modifiers = Modifiers;
  Record(std::move(E));
}

void HeadlessSession::Release(int X, int Y, int Button, UINT Modifiers) {
  win::RawInput E;
  E.Kind = win::RawInputKind::ButtonUp;
  E.Pos = {X, Y};
  E.Button = Button;
  E.Modifiers = Modifiers;
  Record(std::move(E));
}

void HeadlessSession::Move(int X, int Y, UINT Modifiers) {
  win::RawInput E;
  E.Kind = win::RawInputKind::PointerMove;
  E.Pos = {X, Y};
  E.Modifiers = Modifiers;
  Record(std::move(E));
}

void HeadlessSession::Wheel(int X, int Y, int Delta, UINT Modifiers) {
  win::RawInput E;
  E.Kind = win::RawInputKind::Wheel;
  E.Pos = {X, Y};
  E.WheelDelta = Delta;
  E.Modifiers = Modifiers;
  Record(std::move(E));
}

void HeadlessSession::KeyDown(WORD Vk, UINT Modifiers) {
  win::RawInput E;
  E.Kind = win::RawInputKind::KeyDown;
  E.Vk = Vk;
  E.Modifiers = Modifiers;
  Record(std::move(E));
}

void HeadlessSession::KeyUp(WORD Vk, UINT Modifiers) {
  win::RawInput E;
  E.Kind = win::RawInputKind::KeyUp;
  E.Vk = Vk;
  E.Modifiers = Modifiers;
  Record(std::move(E));
}

void HeadlessSession::Key(WORD Vk, UINT Modifiers) {
  KeyDown(Vk, Modifiers);
  KeyUp(Vk, Modifiers);
}

void HeadlessSession::Type(const std::string& Text) {
  win::RawInput E;
  E.Kind = win::RawInputKind::Text;
  E.Text = Text;
  Record(std::move(E));
}

void HeadlessSession::Drop(const std::vector<std::string>& Paths, int X, int Y) {
  win::RawInput E;
  E.Kind = win::RawInputKind::Drop;
  E.Pos = {X, Y};
  E.Paths = Paths;
  Record(std::move(E));
}

std::deque<win::RawInput> HeadlessSession::PendingInput() const { return FManager->Queue().PendingInput(); }

void HeadlessSession::FlushPaints() {
  win::MessageQueue& Q = FManager->Queue();
  if (Q.PaintSource) {
    MSG M;
    int Count = 0;
    while (Q.PaintSource(M, nullptr, true)) {
      if (++Count > MaxMessagesPerPump) throw EHeadlessStall("Capture: painting never ends");
      Dispatch(M);
    }
  }
}

win::Surface HeadlessSession::CaptureScreen() {
  FlushPaints();
  const TSize Size = FDisplay->ScreenSize();
  win::Surface Screen(Size.cx, Size.cy, false);
  FDisplay->ComposeScreen(Screen);
  return Screen;
}

win::Surface HeadlessSession::Capture(HWND Wnd) {
  FlushPaints();
  win::Window* W = FManager->Find(Wnd);
  if (!W) throw EInvalidOperation("Capture: not a window");
  win::Window* Top = W;
  while (Top->Parent) Top = Top->Parent;
  win::Surface Out(W->Width(), W->Height(), false);
  const win::Surface* Src = Top->BackingStore.get();
  if (!Src) return Out;
  const POINT TopO = FManager->WindowOrigin(Top), O = FManager->WindowOrigin(W);
  const int DX = O.X - TopO.X, DY = O.Y - TopO.Y;
  for (int Y = 0; Y < Out.Height(); ++Y) {
    const int SY = Y + DY;
    if (SY < 0 || SY >= Src->Height()) continue;
    const int X0 = std::max(0, -DX), X1 = std::min(Out.Width(), Src->Width() - DX);
    if (X1 > X0) std::memcpy(Out.Row(Y) + X0, Src->Row(SY) + X0 + DX, static_cast<size_t>(X1 - X0) * 4);
  }
  // The caret as the display shows it.
  uint32_t Xor = 0;
  win::Region Caret = win::CaretShowingIn(*FManager, Top, Xor);
  Caret.Translate(-DX, -DY);
  win::InvertCaret(Out, Caret, Xor);
  return Out;
}

}  // namespace vantrel::display
