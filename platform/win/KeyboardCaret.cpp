// The caret: one per GUI thread, owned by a window, blinking on the GUI thread's clock
// through a timer of its owner while it is shown. The painting layer reads CaretState to
// draw it.
#include "platform/win/CaretPaint.h"
#include "platform/win/Input.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"

using vantrel::win::CaretState;
using vantrel::win::WindowManager;

namespace {

// The owner's timer id for the blink (well above the ids programs choose).
constexpr UINT_PTR CaretBlinkTimer = 0xCA7E7;

void BlinkTick(HWND Wnd, UINT, UINT_PTR, DWORD) {
  WindowManager* M = WindowManager::Instance();
  if (!M) return;
  CaretState& C = M->Input().Caret();
  if (C.Owner == Wnd && C.HideLevel == 0) {
    C.On = !C.On;
    vantrel::win::MarkCaretDirty(*M);
  }
}

void StartBlink(WindowManager& M, CaretState& C) {
  C.On = true;
  M.Timers().Set(C.Owner, CaretBlinkTimer, C.BlinkTime, BlinkTick, M.GetClock().Now());
}

void StopBlink(WindowManager& M, CaretState& C) {
  C.On = false;
  if (C.Owner) M.Timers().Kill(C.Owner, CaretBlinkTimer);
}

// The caret of Wnd (0: whoever owns it), or nullptr.
CaretState* CaretOf(WindowManager* M, HWND Wnd) {
  if (!M) return nullptr;
  CaretState& C = M->Input().Caret();
  if (!C.Owner || (Wnd && Wnd != C.Owner)) return nullptr;
  return &C;
}

}  // namespace

BOOL CreateCaret(HWND Wnd, HBITMAP Bitmap, int Width, int Height) {
  WindowManager* M = WindowManager::OnGui();
  if (!M || !M->FindOrFail(Wnd)) return FALSE;
  CaretState& C = M->Input().Caret();
  vantrel::win::MarkCaretDirty(*M);
  StopBlink(*M, C);
  C = CaretState{Wnd, Bitmap, Width > 0 ? Width : 1, Height > 0 ? Height : 1, POINT{}, 1, false, C.BlinkTime};
  return TRUE;
}

BOOL DestroyCaret() {
  WindowManager* M = WindowManager::OnGui();
  CaretState* C = CaretOf(M, nullptr);
  if (!C) return FALSE;
  vantrel::win::MarkCaretDirty(*M);
  StopBlink(*M, *C);
  *C = CaretState{.BlinkTime = C->BlinkTime};
  return TRUE;
}

BOOL ShowCaret(HWND Wnd) {
  WindowManager* M = WindowManager::OnGui();
  CaretState* C = CaretOf(M, Wnd);
  if (!C || C->HideLevel == 0) return FALSE;
  if (--C->HideLevel == 0) {
    StartBlink(*M, *C);
    vantrel::win::MarkCaretDirty(*M);
  }
  return TRUE;
}

BOOL HideCaret(HWND Wnd) {
  WindowManager* M = WindowManager::OnGui();
  CaretState* C = CaretOf(M, Wnd);
  if (!C) return FALSE;
  if (C->HideLevel++ == 0) {
    vantrel::win::MarkCaretDirty(*M);
    StopBlink(*M, *C);
  }
  return TRUE;
}

BOOL SetCaretPos(int X, int Y) {
  WindowManager* M = WindowManager::OnGui();
  CaretState* C = CaretOf(M, nullptr);
  if (!C) return FALSE;
  vantrel::win::MarkCaretDirty(*M);
  C->Pos = {X, Y};
  // A moved caret shows at once and starts its blink again.
  if (C->HideLevel == 0) StartBlink(*M, *C);
  vantrel::win::MarkCaretDirty(*M);
  return TRUE;
}

BOOL GetCaretPos(LPPOINT Point) {
  WindowManager* M = WindowManager::OnGui();
  CaretState* C = CaretOf(M, nullptr);
  if (!C || !Point) return FALSE;
  *Point = C->Pos;
  return TRUE;
}

UINT GetCaretBlinkTime() {
  WindowManager* M = WindowManager::Instance();
  return M ? M->Input().Caret().BlinkTime : 500;
}

BOOL SetCaretBlinkTime(UINT Ms) {
  WindowManager* M = WindowManager::OnGui();
  if (!M || Ms == 0) return FALSE;
  CaretState& C = M->Input().Caret();
  C.BlinkTime = Ms;
  if (C.Owner && C.HideLevel == 0) {
    StartBlink(*M, C);
    vantrel::win::MarkCaretDirty(*M);
  }
  return TRUE;
}
