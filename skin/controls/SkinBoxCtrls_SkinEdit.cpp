// The skinned edit: the descriptor's copies, the frame it claims around the native text,
// the text area and the edit button, its height, the image buttons and the messages of
// the frame, the pointer and the focus.
#include <algorithm>

#include "platform/win/Edit.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Text.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinBoxCtrls.h"

TspSkinCustomEdit::TspSkinCustomEdit(TComponent* AOwner) : TspCustomEdit(AOwner) {
  ControlStyle.Include(csOpaque);
  SetAutoSize(false);
  SetHeight(20);
  SetBorderStyle(bsNone);
  FEditTransparent = true;
  Font()->SetName("Arial");
  Font()->SetStyle({});
  Font()->SetHeight(14);
  Font()->SetColor(clBlack);
  FDefaultFont = std::make_unique<TFont>();
  FDefaultFont->Assign(Font());
  FDefaultFont->OnChange = [this](TObject* Sender) { DefaultFontChanged(Sender); };
}

TspSkinCustomEdit::~TspSkinCustomEdit() {
  if (FImages) FImages->RemoveFreeNotification(this);
  if (FSD) FSD->RemoveFreeNotification(this);
}

void TspSkinCustomEdit::DefaultFontChanged(TObject*) {
  if (FIndex == -1) Font()->Assign(FDefaultFont.get());
}

// --- properties ----------------------------------------------------------------------------

void TspSkinCustomEdit::SetSkinData(TspSkinData* Value) {
  if (FSD) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD) FSD->FreeNotification(this);
  if (FSD && !FSD->Empty) ChangeSkinData();
}

void TspSkinCustomEdit::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (FIndex == -1) Invalidate();
}

void TspSkinCustomEdit::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  if (FIndex == -1) Font()->Assign(Value);
}

void TspSkinCustomEdit::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TspSkinCustomEdit::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (FIndex == -1 && Value > 0 && FUseSkinFont)
    SetHeight(Value);
  else
    AdjustHeight();
}

void TspSkinCustomEdit::SetButtonMode(Boolean Value) {
  FButtonMode = Value;
  RecreateWnd();
}

void TspSkinCustomEdit::SetAlphaBlend(Boolean Value) {
  if (FAlphaBlend == Value) return;
  FAlphaBlend = Value;
  RePaintNC();
  Invalidate();
}

void TspSkinCustomEdit::SetAlphaBlendValue(Byte Value) {
  FAlphaBlendValue = Value;
  if (!FAlphaBlend) return;
  RePaintNC();
  Invalidate();
}

void TspSkinCustomEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TspSkinCustomEdit::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  CalcImageButtons(true);
}

void TspSkinCustomEdit::SetLeftImageIndex(Integer Value) {
  FLeftImageIndex = Value;
  CalcImageButtons(true);
}

void TspSkinCustomEdit::SetRightImageIndex(Integer Value) {
  FRightImageIndex = Value;
  CalcImageButtons(true);
}

void TspSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TspCustomEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  // An image list freed before the edit must not be drawn from.
  if (AComponent == FImages) {
    FImages = nullptr;
    LeftButton.R = RightButton.R = TRect{};
  }
}

// --- skin data and geometry ----------------------------------------------------------------

void TspSkinCustomEdit::GetSkinData() {
  FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinEditControl*>(FSD->CtrlList.Items(FIndex));
  if (!D) return;
  Picture = SkinActivePicture(FSD, D->PictureIndex);
  SkinRect = D->SkinRect;
  ActiveSkinRect = IsNullRect(D->ActiveSkinRect) ? SkinRect : D->ActiveSkinRect;
  LOffset = D->LTPoint.X;
  ROffset = RectWidth(SkinRect) - D->RTPoint.X;
  ClRect = D->ClRect;
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  FontColor = D->FontColor;
  DisabledFontColor = D->DisabledFontColor;
  ActiveFontColor = D->ActiveFontColor;
  ButtonRect = D->ButtonRect;
  ActiveButtonRect = D->ActiveButtonRect;
  DownButtonRect = IsNullRect(D->DownButtonRect) ? ActiveButtonRect : D->DownButtonRect;
  UnEnabledButtonRect = D->UnEnabledButtonRect;
  StretchEffect = D->StretchEffect;
}

void TspSkinCustomEdit::CalcEditRect() {
  const Integer W = Width(), H = Height();
  if (FIndex == -1) {
    if (FButtonMode) {
      FButtonRect = Rect(W - H, 0, W, H);
      FEditRect = Rect(2, 2, FButtonRect.Left - 2, H - 2);
    } else {
      FEditRect = Rect(2, 2, W - 2, H - 2);
    }
    return;
  }
  const Integer D = W - RectWidth(SkinRect);
  FEditRect = ClRect;
  FEditRect.Right += D;
  FButtonRect = ButtonRect;
  if (ButtonRect.Left >= RectWidth(SkinRect) - ROffset) OffsetRect(&FButtonRect, D, 0);
  if (!FUseSkinFont) {
    const Integer Dh = H - RectHeight(SkinRect);
    FEditRect.Bottom += Dh;
    FButtonRect.Bottom += Dh;
  }
}

Integer TspSkinCustomEdit::GetEditHeight() {
  HDC DC = GetDC(nullptr);
  const HGDIOBJ Old = SelectObject(DC, Font()->Handle());
  TEXTMETRIC Tm{};
  GetTextMetrics(DC, &Tm);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  GetSkinData();
  Integer H = Tm.tmHeight;
  if (FIndex != -1)
    H += RectHeight(SkinRect) - RectHeight(ClRect);
  else
    H += 4;
  return H;
}

void TspSkinCustomEdit::AdjustHeight() { SetHeight(GetEditHeight()); }

void TspSkinCustomEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  const Boolean SizeChanges = AWidth != Width() || AHeight != Height();
  if (SizeChanges && !(FIndex == -1 && FUseSkinFont)) {
    if (FUseSkinFont && FIndex != -1)
      AHeight = RectHeight(SkinRect);
    else if (!FUseSkinFont)
      AHeight = GetEditHeight();
  }
  TRect R;
  if (Align() != alNone && SkinToolBarCentring(Parent(), R))
    ATop = R.Top + RectHeight(R) / 2 - AHeight / 2;
  TspCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  Invalidate();
  RePaintNC();
}

void TspSkinCustomEdit::CalcImageButtons(Boolean SetTextRect) {
  if (!FImages || !HandleAllocated()) return;
  LeftButton.R = RightButton.R = TRect{};
  TRect R = ClientRect();
  if (FLeftImageIndex >= 0) {
    LeftButton.R = Rect(R.Left, R.Top, R.Left + FImages->Width(), R.Bottom);
    R.Left += FImages->Width() + 2;
  }
  if (FRightImageIndex >= 0) {
    RightButton.R = Rect(R.Right - FImages->Width(), R.Top, R.Right, R.Bottom);
    R.Right -= FImages->Width() + 2;
  }
  if (SetTextRect) {
    RECT T = R;
    SendMessage(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&T));
  }
}

void TspSkinCustomEdit::RePaintNC() {
  if (Parent() && HandleAllocated()) SendMessage(Handle(), WM_NCPAINT, 0, 0);
}

void TspSkinCustomEdit::Invalidate() {
  if (!Parent() || !HandleAllocated()) return;
  FStopDraw = false;
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
}

void TspSkinCustomEdit::CreateParams(TCreateParams& Params) {
  TspCustomEdit::CreateParams(Params);
  Params.ExStyle &= ~WS_EX_TRANSPARENT;
  Params.Style &= ~WS_BORDER;
  static constexpr DWORD AlignStyles[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  Params.Style |= AlignStyles[FAlignment];
}

void TspSkinCustomEdit::CreateWnd() {
  TspCustomEdit::CreateWnd();
  // What a form file's loading step would do: the skin's character set.
  if (FSD && FSD->ResourceStrData()) Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  CalcImageButtons(true);
}

TColor TspSkinCustomEdit::StateFontColor() {
  if (FIndex == -1) return Enabled() ? FDefaultFont->Color() : clGrayText;
  if (!Enabled()) return DisabledFontColor;
  return Focused() ? ActiveFontColor : FontColor;
}

void TspSkinCustomEdit::ChangeSkinData() {
  GetSkinData();
  if (FIndex == -1) {
    Font()->Assign(FDefaultFont.get());
    if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
  } else {
    if (FUseSkinFont) {
      Font()->SetName(FontName);
      Font()->SetStyle(FontStyle);
      SetHeight(RectHeight(SkinRect));
      Font()->SetHeight(FontHeight);
    } else {
      Font()->Assign(FDefaultFont.get());
    }
    Font()->SetColor(Focused() ? ActiveFontColor : FontColor);
  }
  Font()->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                   : FDefaultFont->Charset());
  RecreateWnd();
  Font()->SetColor(StateFontColor());
  if (!FUseSkinFont) AdjustHeight();
  if (FImages) {
    CalcImageButtons(true);
    Invalidate();
  }
}

// --- hit testing and the buttons of the frame ------------------------------------------------

LRESULT TspSkinCustomEdit::HitTest(TPoint ScreenPoint) {
  TPoint P = ScreenToClient(ScreenPoint);
  if (FImages) {
    if (FLeftImageIndex >= 0 && PtInRect(&LeftButton.R, P)) {
      if (!LeftButton.MouseIn) {
        LeftButton.MouseIn = true;
        Invalidate();
      }
      return HitLeftImage;
    }
    if (FRightImageIndex >= 0 && PtInRect(&RightButton.R, P)) {
      if (!RightButton.MouseIn) {
        RightButton.MouseIn = true;
        Invalidate();
      }
      return HitRightImage;
    }
    for (TspCBButtonX* B : {&LeftButton, &RightButton})
      if (B->MouseIn) {
        B->MouseIn = false;
        Invalidate();
      }
  }
  if (FButtonMode) {
    GetSkinData();
    if (FIndex == -1)
      P = Point(P.X + 2, P.Y + 2);
    else
      P = Point(P.X + ClRect.Left, P.Y + ClRect.Top);
    CalcEditRect();
    if (PtInRect(&FButtonRect, P)) return HitEditButton;
    if (!PtInRect(&FEditRect, P)) return HitFrame;
  }
  return -1;
}

void TspSkinCustomEdit::NCButtonDown(LRESULT Hit, Boolean Double) {
  if (FImages && (Hit == HitLeftImage || Hit == HitRightImage)) {
    (Hit == HitLeftImage ? LeftButton : RightButton).Down = true;
    SetFocus();
    if (Double)
      Repaint();
    else
      Invalidate();
    return;
  }
  FButtonDown = true;
  RePaintNC();
}

void TspSkinCustomEdit::NCButtonUp(LRESULT Hit, TMessage& Message) {
  if (FImages && Hit == HitLeftImage && LeftButton.Down) {
    LeftButton.Down = false;
    Invalidate();
    if (OnLeftButtonClick) OnLeftButtonClick(this);
    return;
  }
  if (FImages && Hit == HitRightImage && RightButton.Down) {
    RightButton.Down = false;
    Invalidate();
    if (OnRightButtonClick) OnRightButtonClick(this);
    return;
  }
  if (FButtonMode && Hit == HitEditButton) {
    FButtonDown = false;
    RePaintNC();
    if (!Focused()) SetFocus();
    if (OnButtonClick) OnButtonClick(this);
    return;
  }
  DefaultHandler(Message);
}

// --- messages ------------------------------------------------------------------------------

void TspSkinCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE: {
      GetSkinData();
      if (!Message.LParam) return;
      RECT& R = Message.WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                               : *reinterpret_cast<RECT*>(Message.LParam);
      if (FIndex == -1) {
        R.Left += 2;
        R.Top += 2;
        R.Bottom -= 2;
        R.Right -= FButtonMode ? Height() + 2 : 2;
      } else {
        R.Left += ClRect.Left;
        R.Top += ClRect.Top;
        R.Right -= RectWidth(SkinRect) - ClRect.Right;
        R.Bottom -= RectHeight(SkinRect) - ClRect.Bottom;
      }
      Message.Result = 0;
      return;
    }
    case WM_NCPAINT: {
      HDC DC = GetWindowDC(Handle());
      PaintFrame(DC, true);
      ReleaseDC(Handle(), DC);
      Invalidate();
      return;
    }
    case CM_SKIN_PAINT_FRAME:
      if (!Message.WParam) return;
      PaintFrame(reinterpret_cast<HDC>(Message.WParam), false);
      Message.Result = SKIN_ANSWER_FRAME_PAINTED;
      return;
    case CN_SKIN_PAINT_FRAME:
      if (Message.LParam != SKIN_PAINT_KEY) break;
      if (Message.WParam) PaintFrame(reinterpret_cast<HDC>(Message.WParam), true);
      Message.Result = SKIN_PAINT_KEY;
      return;
    case WM_ERASEBKGND:
      HandleEraseBackground(Message);
      return;
    case WM_PAINT:
      HandlePaint(Message);
      return;
    case WM_NCHITTEST: {
      const LRESULT Hit = HitTest(Point(static_cast<int16_t>(LOWORD(Message.LParam)),
                                        static_cast<int16_t>(HIWORD(Message.LParam))));
      if (Hit == -1) break;
      Message.Result = Hit;
      return;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      const auto Hit = static_cast<LRESULT>(Message.WParam);
      if ((FImages && (Hit == HitLeftImage || Hit == HitRightImage)) || (FButtonMode && Hit == HitEditButton)) {
        NCButtonDown(Hit, Message.Msg == WM_NCLBUTTONDBLCLK);
        return;
      }
      if (Message.Msg == WM_NCLBUTTONDBLCLK) {
        DefaultHandler(Message);
        return;
      }
      break;
    }
    case WM_NCLBUTTONUP:
      NCButtonUp(static_cast<LRESULT>(Message.WParam), Message);
      return;
    case WM_NCMOUSEMOVE:
      if (FButtonMode) {
        const Boolean Over = static_cast<LRESULT>(Message.WParam) == HitEditButton;
        if (Over != FButtonActive) {
          FButtonActive = Over;
          RePaintNC();
          Invalidate();
        }
        if (Over) return;
      }
      DefaultHandler(Message);
      return;
    case WM_MOUSEMOVE:
      TspCustomEdit::Dispatch(Message);
      if (FButtonMode && FButtonActive) {
        FButtonActive = false;
        RePaintNC();
      }
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      TspCustomEdit::Dispatch(Message);
      const Boolean Gained = Message.Msg == WM_SETFOCUS;
      RePaintNC();
      Invalidate();
      if (FIndex != -1 && !FMouseIn) Font()->SetColor(Gained ? ActiveFontColor : FontColor);
      if (FImages) CalcImageButtons(true);
      return;
    }
    case WM_SIZE:
      TspCustomEdit::Dispatch(Message);
      CalcImageButtons(true);
      RePaintNC();
      return;
    default:
      break;
  }
  TspCustomEdit::Dispatch(Message);
}

void TspSkinCustomEdit::CMMouseEnter(TWMNoParams& Message) {
  TspCustomEdit::CMMouseEnter(Message);
  FMouseIn = true;
  if (FIndex != -1 && !Focused()) {
    Font()->SetColor(ActiveFontColor);
    if (FImages) CalcImageButtons(true);
    RePaintNC();
    Invalidate();
  }
  if (OnMouseEnter) OnMouseEnter(this);
}

void TspSkinCustomEdit::CMMouseLeave(TWMNoParams& Message) {
  TspCustomEdit::CMMouseLeave(Message);
  FMouseIn = false;
  if (FIndex != -1 && !Focused()) {
    Font()->SetColor(FontColor);
    if (FImages) CalcImageButtons(true);
    RePaintNC();
    Invalidate();
  }
  if (FButtonDown || FButtonActive) {
    FButtonDown = FButtonActive = false;
    RePaintNC();
    Invalidate();
  }
  if (FImages)
    for (TspCBButtonX* B : {&LeftButton, &RightButton})
      if (B->MouseIn) {
        B->MouseIn = false;
        Invalidate();
      }
  if (OnMouseLeave) OnMouseLeave(this);
}

void TspSkinCustomEdit::CMEnabledChanged(TWMNoParams& Message) {
  TspCustomEdit::CMEnabledChanged(Message);
  if (Enabled())
    Font()->SetColor(FIndex == -1 ? FDefaultFont->Color() : FontColor);
  else
    Font()->SetColor(FIndex == -1 ? clGrayText : DisabledFontColor);
  Invalidate();
}

void TspSkinCustomEdit::CMFontChanged(TWMNoParams& Message) {
  TspCustomEdit::CMFontChanged(Message);
  if (FUseSkinFont) return;
  AdjustHeight();
  if (FIndex == -1) RecreateWnd();
}
