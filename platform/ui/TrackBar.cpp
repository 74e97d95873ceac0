// TTrackBar: its properties become the native bar's styles and TBM_* settings; the bar's
// reflected scroll notifications run OnChange.
#include "platform/ui/TrackBar.h"

#include <algorithm>

#include "platform/win/MessageQueue.h"
#include "platform/win/TrackBar.h"

TTrackBar::TTrackBar(TComponent* AOwner) : TNativeWinControl(AOwner) {
  SetBorderStyle(bsNone);
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& Params) {
  TNativeWinControl::CreateParams(Params);
  CreateSubClass(Params, TRACKBAR_CLASS);
  Params.Style |= (FOrientation == trVertical ? TBS_VERT : TBS_HORZ) | TBS_FIXEDLENGTH | TBS_ENABLESELRANGE;
  switch (FTickStyle) {
    case tsNone: Params.Style |= TBS_NOTICKS; break;
    case tsAuto: Params.Style |= TBS_AUTOTICKS; break;
    case tsManual: break;
  }
  switch (FTickMarks) {
    case tmBottomRight: Params.Style |= TBS_BOTTOM; break;
    case tmTopLeft: Params.Style |= TBS_TOP; break;
    case tmBoth: Params.Style |= TBS_BOTH; break;
  }
  if (!FSliderVisible) Params.Style |= TBS_NOTHUMB;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TTrackBar::CreateWnd() {
  TNativeWinControl::CreateWnd();
  const HWND Wnd = Handle();
  SendMessage(Wnd, TBM_SETRANGEMIN, 0, FMin);
  SendMessage(Wnd, TBM_SETRANGEMAX, 0, FMax);
  SendMessage(Wnd, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
  SendMessage(Wnd, TBM_SETPAGESIZE, 0, FPageSize);
  SendMessage(Wnd, TBM_SETLINESIZE, 0, FLineSize);
  SendMessage(Wnd, TBM_SETPOS, 1, FPosition);
  UpdateSelection();
}

void TTrackBar::DestroyWnd() {
  if (HandleAllocated()) FPosition = static_cast<Integer>(SendMessage(Handle(), TBM_GETPOS, 0, 0));
  TNativeWinControl::DestroyWnd();
}

Integer TTrackBar::Position() {
  if (HandleAllocated()) FPosition = static_cast<Integer>(SendMessage(Handle(), TBM_GETPOS, 0, 0));
  return FPosition;
}

void TTrackBar::SetPosition(Integer Value) { SetParams(Value, FMin, FMax); }

void TTrackBar::SetParams(Integer APosition, Integer AMin, Integer AMax) {
  if (AMax < AMin) AMax = AMin;
  APosition = std::clamp(APosition, AMin, AMax);
  const Integer Old = Position();
  if (FMin != AMin || FMax != AMax) {
    FMin = AMin;
    FMax = AMax;
    if (HandleAllocated()) {
      SendMessage(Handle(), TBM_SETRANGEMIN, 0, FMin);
      SendMessage(Handle(), TBM_SETRANGEMAX, 1, FMax);
    }
  }
  FPosition = APosition;
  if (HandleAllocated()) SendMessage(Handle(), TBM_SETPOS, 1, FPosition);
  if (FPosition != Old) Changed();
}

void TTrackBar::SetFrequency(Integer Value) {
  if (FFrequency == Value) return;
  FFrequency = Value;
  if (HandleAllocated()) SendMessage(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(Value), 0);
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
  if (FTickStyle == Value) return;
  FTickStyle = Value;
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark Value) {
  if (FTickMarks == Value) return;
  FTickMarks = Value;
  RecreateWnd();
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  RecreateWnd();
}

void TTrackBar::SetSliderVisible(Boolean Value) {
  if (FSliderVisible == Value) return;
  FSliderVisible = Value;
  RecreateWnd();
}

void TTrackBar::SetSelStart(Integer Value) {
  if (FSelStart == Value) return;
  FSelStart = Value;
  UpdateSelection();
}

void TTrackBar::SetSelEnd(Integer Value) {
  if (FSelEnd == Value) return;
  FSelEnd = Value;
  UpdateSelection();
}

void TTrackBar::UpdateSelection() {
  if (!HandleAllocated()) return;
  if (FSelStart == 0 && FSelEnd == 0) {
    SendMessage(Handle(), TBM_CLEARSEL, 1, 0);
    return;
  }
  SendMessage(Handle(), TBM_SETSELSTART, 0, FSelStart);
  SendMessage(Handle(), TBM_SETSELEND, 1, FSelEnd);
}

void TTrackBar::SetPageSize(Integer Value) {
  if (FPageSize == Value) return;
  FPageSize = Value;
  if (HandleAllocated()) SendMessage(Handle(), TBM_SETPAGESIZE, 0, Value);
}

void TTrackBar::SetLineSize(Integer Value) {
  if (FLineSize == Value) return;
  FLineSize = Value;
  if (HandleAllocated()) SendMessage(Handle(), TBM_SETLINESIZE, 0, Value);
}

void TTrackBar::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
    const Integer Now = static_cast<Integer>(SendMessage(Handle(), TBM_GETPOS, 0, 0));
    const bool Moved = Now != FPosition;
    FPosition = Now;
    if (Moved) Changed();
    Message.Result = 0;
    return;
  }
  TNativeWinControl::Dispatch(Message);
}

void TTrackBar::Changed() {
  if (OnChange) OnChange(this);
}
