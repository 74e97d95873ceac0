// The tool bar: centring its children, handing images, flat style, captions and skin to
// its speed buttons, and the two scroll arrows it draws in its non-client area.
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinCtrls.h"

namespace {

constexpr Integer ToolBarArrowWidth = 12;
constexpr LRESULT HitLeftArrow = 119;
constexpr LRESULT HitRightArrow = 120;
constexpr UINT_PTR ToolBarScrollTimer = 1;

// The skin names a tool bar gives its buttons.
struct ToolButtonNames {
  const char* Bar;
  const char* SpeedButton;
  const char* MenuButton;
  const char* TrackMenuButton;
};
constexpr ToolButtonNames ToolButtonNameTable[] = {
    {"resizetoolpanel", "resizetoolbutton", "resizetoolbutton", "resizetoolbutton"},
    {"panel", "resizebutton", "resizebutton", "resizebutton"},
    {"bigtoolpanel", "bigtoolbutton", "bigtoolmenubutton", "bigtoolmenutrackbutton"},
};
constexpr ToolButtonNames OtherToolBarNames{"", "toolbutton", "toolmenubutton", "toolmenutrackbutton"};

const ToolButtonNames& ToolButtonNamesFor(const String& BarName) {
  for (const ToolButtonNames& N : ToolButtonNameTable)
    if (BarName == N.Bar) return N;
  return OtherToolBarNames;
}

}  // namespace

// Skinned controls centre themselves in a tool bar that asks for it.
Boolean SkinToolBarCentring(TWinControl* Parent, TRect& ClientRect) {
  auto* Bar = dynamic_cast<TspSkinToolBar*>(Parent);
  if (!Bar || !Bar->AdjustControls) return false;
  Bar->GetSkinClientRect(ClientRect);
  return true;
}

TspSkinToolBar::TspSkinToolBar(TComponent* AOwner) : TspSkinPanel(AOwner) {
  FSkinDataName = "toolpanel";
  SetDefaultHeight(0);
  SetHeight(25);
  SetBorderStyle(bvNone);
  SetForcebackGround(false);
}

TspSkinToolBar::~TspSkinToolBar() = default;

// --- properties ------------------------------------------------------------------------

void TspSkinToolBar::SetScrollOffset(Integer Value) {
  if (Value >= 0) FScrollOffset = Value;
}

void TspSkinToolBar::SetScrollTimerInterval(Integer Value) {
  if (Value > 0) FScrollTimerInterval = Value;
}

void TspSkinToolBar::SetShowCaptions(Boolean Value) {
  if (FShowCaptions == Value) return;
  FShowCaptions = Value;
  if (AutoShowHideCaptions)
    for (Integer I = 0; I < ControlCount(); ++I)
      if (auto* B = dynamic_cast<TspSkinSpeedButton*>(Controls(I))) B->SetShowCaption(Value);
  if (WidthWithCaptions != 0 && WidthWithoutCaptions != 0) SetWidth(Value ? WidthWithCaptions : WidthWithoutCaptions);
}

void TspSkinToolBar::SetFlat(Boolean Value) {
  FFlat = Value;
  for (Integer I = 0; I < ControlCount(); ++I)
    if (auto* B = dynamic_cast<TspSkinSpeedButton*>(Controls(I))) B->SetFlat(Value);
}

void TspSkinToolBar::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  for (Integer I = 0; I < ControlCount(); ++I)
    if (auto* B = dynamic_cast<TspSkinSpeedButton*>(Controls(I))) B->Repaint();
}

void TspSkinToolBar::SetHotImages(TCustomImageList* Value) {
  FHotImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinToolBar::SetDisabledImages(TCustomImageList* Value) {
  FDisabledImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FHotImages) FHotImages = nullptr;
  if (AComponent == FDisabledImages) FDisabledImages = nullptr;
}

void TspSkinToolBar::SetSkinData(TspSkinData* Value) {
  TspSkinPanel::SetSkinData(Value);
  for (Integer I = 0; I < ControlCount(); ++I) {
    if (auto* B = dynamic_cast<TspSkinSpeedButton*>(Controls(I)))
      B->SetSkinData(Value);
    else if (auto* Bevel = dynamic_cast<TspSkinBevel*>(Controls(I)))
      Bevel->SetSkinData(Value);
  }
}

void TspSkinToolBar::SetSkinDataName(const String& Value) {
  TspSkinPanel::SetSkinDataName(Value);
  // Only the designer renames the buttons; at run time each keeps the name it was given.
  if (!ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) return;
  const ToolButtonNames& Names = ToolButtonNamesFor(Value);
  for (Integer I = 0; I < ControlCount(); ++I)
    if (auto* B = dynamic_cast<TspSkinSpeedButton*>(Controls(I))) B->SetSkinDataName(Names.SpeedButton);
}

// --- layout ----------------------------------------------------------------------------

void TspSkinToolBar::CenterControls() {
  TRect R;
  GetSkinClientRect(R);
  for (Integer I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    if (dynamic_cast<TspSkinControl*>(C) || dynamic_cast<TspGraphicSkinControl*>(C) || C->Align() != alNone)
      continue;
    C->SetTop(R.Top + RectHeight(R) / 2 - C->Height() / 2);
  }
}

void TspSkinToolBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const Integer OldWidth = Width();
  TspSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (AdjustControls) {
    for (Integer I = 0; I < ControlCount(); ++I) {
      TControl* C = Controls(I);
      C->SetBounds(C->Left(), C->Top(), C->Width(), C->Height());
    }
    // The move itself centred them by the old height; centre them by the new one.
    if (HandleAllocated()) CenterControls();
  }
  if (!CanScroll) return;
  FHSizeOffset = OldWidth != 0 && OldWidth < Width() ? Width() - OldWidth : 0;
  if (Align() != alNone) UpdateScrollInfo();
}

void TspSkinToolBar::AdjustClientRect(TRect& Rect) {
  TspSkinPanel::AdjustClientRect(Rect);
  if (!((CanScroll && Buttons[0].Visible) || Buttons[1].Visible)) return;
  const Integer CW = ClientWidth(), CH = ClientHeight();
  Rect = ::Rect(-SPosition, 0, -SPosition + std::max(SMax, CW), CH);
  if (FIndex == -1 || ComponentState().Contains(csDesigning)) {
    Rect.Top = 1;
    Rect.Bottom = CH - 1;
  } else if (BorderStyle() != bvNone || ResizeMode != 1) {
    Rect.Top = NewClRect.Top;
    Rect.Bottom = NewClRect.Bottom;
  }
}

void TspSkinToolBar::MoveChildren(Integer DX) { ScrollBy(DX, 0); }

void TspSkinToolBar::UpdateScrollInfo() {
  Integer A = 0;
  for (Integer I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    if (C->Visible()) A = std::max(A, C->Left() + C->Width());
  }
  Integer CW = ClientWidth();
  if (A != 0 && A + SPosition > CW) {
    if (!Buttons[1].Visible) {
      ShowScrollButtons(true);
      // The arrows take their room from the client area: the page is what is left.
      CW = ClientWidth();
    }
    const Integer T = SPosition + A - 1;
    if (FHSizeOffset > 0 && SPosition > 0 && A < CW) {
      FHSizeOffset = std::min(FHSizeOffset, SPosition);
      SMax = T;
      SPosition -= FHSizeOffset;
      SPage = CW;
      MoveChildren(FHSizeOffset);
      SOldPosition = SPosition;
      return;
    }
    if (FHSizeOffset == 0 && T < SMax && SPosition > 0 && A < CW) {
      SMax = T;
      SPosition -= CW - A;
      SPage = CW;
      MoveChildren(CW - A);
    } else {
      SMax = T;
      SPage = CW;
    }
    FHSizeOffset = 0;
    SOldPosition = SPosition;
    return;
  }
  if (A != 0) {
    if (SPosition > 0) MoveChildren(SPosition);
    FHSizeOffset = SMax = SPosition = SPage = 0;
    SOldPosition = 0;
  }
  if (Buttons[1].Visible) ShowScrollButtons(false);
}

void TspSkinToolBar::ShowScrollButtons(Boolean Value) {
  if (Buttons[0].Visible == Value) return;
  Buttons[0].Visible = Buttons[1].Visible = Value;
  // The non-client area is measured again with the new window.
  if (HandleAllocated()) RecreateWnd();
}

void TspSkinToolBar::ScrollStep(Integer Direction) {
  const Integer Step = FScrollOffset != 0 ? FScrollOffset : ClientWidth();
  if (Direction < 0)
    SPosition = std::max(SPosition - Step, 0);
  else
    SPosition = std::min(SPosition + Step, SMax - SPage + 1);
  if (SPosition == SOldPosition) {
    StopScrollTimer();
    return;
  }
  MoveChildren(SOldPosition - SPosition);
  SOldPosition = SPosition;
  Repaint();
}

// --- arrows ----------------------------------------------------------------------------

void TspSkinToolBar::StartScrollTimer() {
  KillTimer(Handle(), ToolBarScrollTimer);
  SetTimer(Handle(), ToolBarScrollTimer, static_cast<UINT>(FScrollTimerInterval), nullptr);
}

void TspSkinToolBar::StopScrollTimer() {
  if (HandleAllocated()) KillTimer(Handle(), ToolBarScrollTimer);
  TimerMode = 0;
}

void TspSkinToolBar::ScrollButtonDown(Integer I) {
  TimerMode = I == 0 ? 1 : 2;
  StartScrollTimer();
}

void TspSkinToolBar::ScrollButtonUp(Integer I) {
  StopScrollTimer();
  ScrollStep(I == 0 ? -1 : 1);
}

void TspSkinToolBar::GetSkinData() {
  TspSkinPanel::GetSkinData();
  ButtonData = nullptr;
  if (FIndex == -1) return;
  const Integer I = FSD->GetControlIndex("resizebutton");
  if (I != -1) ButtonData = dynamic_cast<TspDataSkinButtonControl*>(FSD->CtrlList.Items(I));
}

void TspSkinToolBar::DrawScrollButton(TCanvas* C, Integer I) {
  const TArrowButton& A = Buttons[I];
  const Integer W = RectWidth(A.R), H = RectHeight(A.R);
  if (W <= 0 || H <= 0) return;
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  const bool Pressed = (A.Down && A.MouseIn) || (A.MouseIn && HotScroll);
  TColor ArrowColour = clBtnText;
  TBitmap* Pic = ButtonData ? SkinActivePicture(FSD, ButtonData->PictureIndex) : nullptr;
  if (ButtonData && Pic) {
    TRect R = ButtonData->SkinRect;
    ArrowColour = ButtonData->FontColor;
    if (Pressed && !IsRectEmpty(&ButtonData->DownSkinRect)) {
      R = ButtonData->DownSkinRect;
      ArrowColour = ButtonData->DownFontColor;
    } else if (A.MouseIn && !IsRectEmpty(&ButtonData->ActiveSkinRect)) {
      R = ButtonData->ActiveSkinRect;
      ArrowColour = ButtonData->ActiveFontColor;
    }
    const TspDataSkinButtonControl& D = *ButtonData;
    const Integer DW = W - RectWidth(D.SkinRect), DH = H - RectHeight(D.SkinRect);
    const TRect NewCl = Rect(D.ClRect.Left, D.ClRect.Top, D.ClRect.Right + DW, D.ClRect.Bottom + DH);
    CreateSkinImage(D.LTPoint, D.RTPoint, D.LBPoint, D.RBPoint, D.ClRect, D.LTPoint,
                    Point(D.RTPoint.X + DW, D.RTPoint.Y), Point(D.LBPoint.X, D.LBPoint.Y + DH),
                    Point(D.RBPoint.X + DW, D.RBPoint.Y + DH), NewCl, B.get(), Pic, R, W, H, true, D.LeftStretch,
                    D.TopStretch, D.RightStretch, D.BottomStretch, D.StretchEffect, D.StretchType);
  } else {
    DrawPlainFace(B->Canvas(), Rect(0, 0, W, H), Pressed ? spfsPressed : A.MouseIn ? spfsHot : spfsNormal);
  }
  DrawArrow(B->Canvas(), Rect(0, 0, W, H), ArrowColour, I == 0 ? 1 : 2);
  C->Draw(A.R.Left, A.R.Top, B.get());
}

void TspSkinToolBar::PaintScrollButtons() {
  GetSkinData();
  HDC DC = GetWindowDC(Handle());
  auto C = CreateOwned<TCanvas>();
  C->SetHandle(DC);
  for (Integer I = 0; I < 2; ++I)
    if (Buttons[I].Visible) DrawScrollButton(C.get(), I);
  C->SetHandle(nullptr);
  ReleaseDC(Handle(), DC);
}

void TspSkinToolBar::DrawSkinImage(TBitmap* B) {
  if (!(Buttons[0].Visible && ResizeMode == 2)) {
    TspSkinPanel::DrawSkinImage(B);
    return;
  }
  CreateHSkinImageMiddle(LTPt.X, RectWidth(SkinRect) - RTPt.X, B, Picture, SkinRect, Width(), Height(), StretchEffect);
}

// --- messages --------------------------------------------------------------------------

void TspSkinToolBar::WndProc(TMessage& Message) {
  if (CanScroll && !ComponentState().Contains(csDesigning)) {
    const auto Hit = static_cast<LRESULT>(Message.WParam);
    const Integer I = Hit == HitLeftArrow ? 0 : Hit == HitRightArrow ? 1 : -1;
    switch (Message.Msg) {
      case WM_NCMOUSEMOVE:
        if (I >= 0 && !Buttons[I].MouseIn) {
          Buttons[I].MouseIn = true;
          Buttons[1 - I].MouseIn = false;
          SendMessage(Handle(), WM_NCPAINT, 0, 0);
          if (HotScroll) {
            TimerMode = I + 1;
            StartScrollTimer();
          }
        }
        break;
      case WM_NCLBUTTONDOWN:
      case WM_NCLBUTTONDBLCLK:
        if (I >= 0) {
          Buttons[I].Down = true;
          SendMessage(Handle(), WM_NCPAINT, 0, 0);
          ScrollButtonDown(I);
        }
        break;
      case WM_NCLBUTTONUP:
        if (I >= 0) {
          Buttons[I].Down = false;
          SendMessage(Handle(), WM_NCPAINT, 0, 0);
          ScrollButtonUp(I);
        }
        break;
      case WM_MOUSEMOVE:
        for (TArrowButton& A : Buttons)
          if (A.MouseIn && A.Visible) {
            A.MouseIn = false;
            if (TimerMode != 0) StopScrollTimer();
            SendMessage(Handle(), WM_NCPAINT, 0, 0);
          }
        break;
      default:
        break;
    }
  }
  if (Message.Msg == WM_WINDOWPOSCHANGING && CanScroll && HandleAllocated() && Align() == alNone) UpdateScrollInfo();
  TspSkinPanel::WndProc(Message);
}

void TspSkinToolBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETCURSOR: {
      const auto Hit = static_cast<LRESULT>(LOWORD(Message.LParam));
      if (Hit == HitLeftArrow || Hit == HitRightArrow)
        Message.LParam = (Message.LParam & ~LPARAM{0xFFFF}) | HTCLIENT;
      TspSkinPanel::Dispatch(Message);
      return;
    }
    case WM_WINDOWPOSCHANGING:
      TspSkinPanel::Dispatch(Message);
      if (HandleAllocated() && AdjustControls) CenterControls();
      return;
    case CM_MOUSELEAVE: {
      TspSkinPanel::Dispatch(Message);
      if (ComponentState().Contains(csDesigning) || !CanScroll) return;
      POINT P{};
      GetCursorPos(&P);
      if (HandleAllocated() && WindowFromPoint(P) == Handle()) return;
      for (TArrowButton& A : Buttons)
        if (A.MouseIn) {
          A.MouseIn = false;
          if (TimerMode != 0) StopScrollTimer();
          if (HandleAllocated()) SendMessage(Handle(), WM_NCPAINT, 0, 0);
        }
      return;
    }
    case WM_SIZE:
      TspSkinPanel::Dispatch(Message);
      if (Buttons[0].Visible || Buttons[1].Visible) {
        Buttons[0].R = Rect(0, 0, ToolBarArrowWidth, Height());
        Buttons[1].R = Rect(Width() - ToolBarArrowWidth, 0, Width(), Height());
        SendMessage(Handle(), WM_NCPAINT, 0, 0);
      }
      return;
    case WM_NCCALCSIZE: {
      if (!CanScroll) break;
      GetSkinData();
      if (!Message.LParam) return;
      RECT& R = Message.WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                               : *reinterpret_cast<RECT*>(Message.LParam);
      if (Buttons[0].Visible) R.Left += ToolBarArrowWidth;
      if (Buttons[1].Visible) R.Right -= ToolBarArrowWidth;
      Message.Result = 0;
      return;
    }
    case WM_NCHITTEST: {
      if (!CanScroll || ComponentState().Contains(csDesigning)) break;
      const TPoint P = ScreenToClient(Point(static_cast<int16_t>(LOWORD(Message.LParam)),
                                            static_cast<int16_t>(HIWORD(Message.LParam))));
      if (P.X < 0 && Buttons[0].Visible) {
        Message.Result = HitLeftArrow;
        return;
      }
      if (P.X >= ClientWidth() && Buttons[1].Visible) {
        Message.Result = HitRightArrow;
        return;
      }
      break;
    }
    case WM_NCPAINT:
      if (!CanScroll) break;
      PaintScrollButtons();
      return;
    case WM_TIMER:
      DefaultHandler(Message);
      if (CanScroll && TimerMode == 1) ScrollStep(-1);
      if (CanScroll && TimerMode == 2) ScrollStep(1);
      return;
    default:
      break;
  }
  TspSkinPanel::Dispatch(Message);
}
