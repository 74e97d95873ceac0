// The skinned list box's own face: frame and caption (plain or from the skin), the three
// caption buttons that step the selection with a repeat while held, and the messages
// that keep the layout and the bars in step with the size.
#include <algorithm>

#include "platform/win/Timers.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

constexpr UINT_PTR ListCaptionTimerId = 1;
constexpr UINT ListCaptionWaitMs = 500;
constexpr UINT ListCaptionRepeatMs = 100;
// Back over a held button: the next tick comes soon.
constexpr UINT ListCaptionReturnMs = 50;
constexpr TColor ListCaptionHotFrame = 0x800000;
constexpr TColor ListCaptionDownFill = 0xB59385;
constexpr TColor ListCaptionHotFill = 0xD2BDB6;

TRect ListCaptionMoved(const TRect& R, Integer DX, Integer DY) {
  return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

}  // namespace

// --- Caption buttons -----------------------------------------------------------------------

void TspSkinCustomListBox::CalcDefaultButtonRects() {
  const Integer BS = std::min(17, FDefaultCaptionHeight - 3);
  Buttons[0].R = Rect(Width() - BS - 2, 2, Width() - 2, BS + 1);
  Buttons[1].R = Rect(Buttons[0].R.Left - BS, 2, Buttons[0].R.Left, BS + 1);
  Buttons[2].R = Rect(Buttons[1].R.Left - BS, 2, Buttons[1].R.Left, BS + 1);
}

void TspSkinCustomListBox::CalcSkinButtonRects() {
  if (!FShowCaptionButtons) {
    for (auto& B : Buttons) B.R = TRect{};
    return;
  }
  const Integer DX = Width() - RectWidth(SkinRect), DY = Height() - RectHeight(SkinRect);
  const TRect* Sources[3] = {&UpButtonRect, &DownButtonRect, &CheckButtonRect};
  for (Integer I = 0; I < 3; ++I) {
    TRect R = *Sources[I];
    Integer EdgeX = RTPt.X;
    if (R.Top > LTPt.Y) {
      R = ListCaptionMoved(R, 0, DY);
      EdgeX = RBPt.X;
    }
    if (R.Left > EdgeX) R = ListCaptionMoved(R, DX, 0);
    Buttons[I].R = R;
  }
}

void TspSkinCustomListBox::HitTestCaptionButtons(Integer X, Integer Y) {
  if (!FShowCaptionButtons || !FCaptionMode) return;
  if (FIndex != -1 && IsNullRect(UpButtonRect) && IsNullRect(DownButtonRect)) return;
  OldActiveButton = ActiveButton;
  ActiveButton = -1;
  for (Integer I = 0; I < 3; ++I) {
    const TRect& R = Buttons[I].R;
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) {
      ActiveButton = I;
      break;
    }
  }
  if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
  if (ActiveButton == OldActiveButton) return;
  if (OldActiveButton != -1) {
    TspCBButtonX& Old = Buttons[OldActiveButton];
    Old.MouseIn = false;
    RedrawCaptionButton(OldActiveButton);
    if (TimerMode != 0 && Old.Down) KillTimer(Handle(), ListCaptionTimerId);
  }
  if (ActiveButton != -1) {
    TspCBButtonX& New = Buttons[ActiveButton];
    New.MouseIn = true;
    RedrawCaptionButton(ActiveButton);
    if (TimerMode != 0 && New.Down) SetTimer(Handle(), ListCaptionTimerId, ListCaptionReturnMs, nullptr);
  }
}

void TspSkinCustomListBox::RedrawCaptionButton(Integer) { Repaint(); }

void TspSkinCustomListBox::CaptionButtonStep(Integer I) {
  if (I == 0) {
    if (ItemIndex() > 0) SetItemIndex(ItemIndex() - 1);
  } else if (I == 1) {
    // Stops at the last item, as going up stops at the first: the native list would
    // clear its selection for an index past its items.
    if (ItemIndex() < Items()->Count() - 1) SetItemIndex(ItemIndex() + 1);
  } else {
    ListBox->Click();
  }
}

void TspSkinCustomListBox::CaptionButtonUp(Integer I) {
  TspCBButtonX& B = Buttons[I];
  B.Down = false;
  if (I != ActiveButton) B.MouseIn = false;
  RedrawCaptionButton(I);
  const TNotifyEvent& Event = I == 0 ? OnUpButtonClick : I == 1 ? OnDownButtonClick : OnCheckButtonClick;
  if (B.MouseIn && Event) {
    Event(this);
    return;
  }
  CaptionButtonStep(I);
  if (TimerMode != 0) {
    KillTimer(Handle(), ListCaptionTimerId);
    TimerMode = 0;
  }
}

void TspSkinCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  HitTestCaptionButtons(X, Y);
  if (ActiveButton != -1) {
    CaptureButton = ActiveButton;
    TspCBButtonX& B = Buttons[ActiveButton];
    B.MouseIn = true;
    B.Down = true;
    RedrawCaptionButton(ActiveButton);
    const TNotifyEvent& Event =
        ActiveButton == 0 ? OnUpButtonClick : ActiveButton == 1 ? OnDownButtonClick : OnCheckButtonClick;
    if (!Event) {
      TimerMode = ActiveButton == 0 ? 1 : ActiveButton == 1 ? 2 : 0;
      if (TimerMode != 0) {
        WaitMode = true;
        SetTimer(Handle(), ListCaptionTimerId, ListCaptionWaitMs, nullptr);
      }
    }
  }
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TspSkinCustomListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TspSkinCustomControl::MouseMove(Shift, X, Y);
  HitTestCaptionButtons(X, Y);
}

void TspSkinCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CaptureButton != -1) {
    const Integer I = CaptureButton;
    CaptureButton = -1;
    CaptionButtonUp(I);
  }
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      TspSkinCustomControl::Dispatch(Message);
      ArrangeParts();
      UpDateScrollBar();
      if (ScrollBar) ScrollBar->Repaint();
      return;
    case WM_TIMER:
      TspSkinCustomControl::Dispatch(Message);
      if (WaitMode) {
        WaitMode = false;
        SetTimer(Handle(), ListCaptionTimerId, ListCaptionRepeatMs, nullptr);
      } else if (TimerMode == 1 || TimerMode == 2) {
        CaptionButtonStep(TimerMode - 1);
      }
      return;
    case CM_MOUSEENTER:
      TspSkinCustomControl::Dispatch(Message);
      HitTestCaptionButtons(-1, -1);
      return;
    case CM_MOUSELEAVE: {
      TspSkinCustomControl::Dispatch(Message);
      bool Changed = false;
      for (auto& B : Buttons)
        if (B.MouseIn) {
          B.MouseIn = false;
          Changed = true;
        }
      if (Changed) Repaint();
      return;
    }
    case CM_TEXTCHANGED:
      TspSkinCustomControl::Dispatch(Message);
      if (FCaptionMode) Repaint();
      return;
    default:
      TspSkinCustomControl::Dispatch(Message);
  }
}

// --- Drawing -------------------------------------------------------------------------------

void TspSkinCustomListBox::DrawCaptionButton(TCanvas* C, Integer I) {
  const TspCBButtonX& B = Buttons[I];
  const TRect& R = B.R;
  if (FIndex == -1) {
    if (B.Down && B.MouseIn) {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(ListCaptionHotFrame);
      C->FrameRect(R);
      C->Brush()->SetColor(ListCaptionDownFill);
      C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
    } else if (B.MouseIn) {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(ListCaptionHotFrame);
      C->FrameRect(R);
      C->Brush()->SetColor(ListCaptionHotFill);
      C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
    } else {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(clBtnFace);
      C->FillRect(R);
    }
    if (I == 0)
      DrawArrow(C, R, clBlack, 3);
    else if (I == 1)
      DrawArrow(C, R, clBlack, 4);
    else
      DrawCheckImage(C, R.Left + 4, R.Top + 4, clBlack);
    return;
  }
  if (IsNullRect(R) || !Picture) return;
  const TRect* Down[3] = {&DownUpButtonRect, &DownDownButtonRect, &DownCheckButtonRect};
  const TRect* Active[3] = {&ActiveUpButtonRect, &ActiveDownButtonRect, &ActiveCheckButtonRect};
  const TRect* Normal[3] = {&UpButtonRect, &DownButtonRect, &CheckButtonRect};
  TRect Source{};
  if (B.Down && B.MouseIn)
    Source = *Down[I];
  else if (B.MouseIn)
    Source = *Active[I];
  if (IsNullRect(Source)) Source = ListCaptionMoved(*Normal[I], SkinRect.Left, SkinRect.Top);
  C->CopyRect(R, Picture->Canvas(), Source);
}

Integer TspSkinCustomListBox::CaptionGlyphWidth() const {
  if (FGlyph->Empty()) return 0;
  return FGlyph->Width() / std::max(1, FNumGlyphs);
}

void TspSkinCustomListBox::DrawCaptionGlyph(TCanvas* C, Integer X, Integer Y) {
  if (FNumGlyphs == 0) FNumGlyphs = 1;
  const Integer Num = (!Enabled() && FNumGlyphs == 2) ? 2 : 1;
  DrawGlyph(C, X, Y, FGlyph.get(), FNumGlyphs, Num);
}

void TspSkinCustomListBox::SetCaptionCharset(TFont* F) {
  if (FSD && FSD->ResourceStrData())
    F->SetCharset(FSD->ResourceStrData()->CharSet());
  else
    F->SetCharset(FDefaultCaptionFont->Charset());
}

void TspSkinCustomListBox::DrawDefaultImage(TBitmap* B) {
  TspSkinCustomControl::DrawDefaultImage(B);
  CalcDefaultButtonRects();
  TCanvas* C = B->Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(Rect(0, 0, Width(), Height()));
  if (!FCaptionMode) return;
  const Integer BS = std::min(17, FDefaultCaptionHeight - 3);
  const TRect CR = FShowCaptionButtons ? Rect(3, 2, Width() - 3 * BS - 3, FDefaultCaptionHeight - 2)
                                       : Rect(3, 2, Width() - 2, FDefaultCaptionHeight - 2);
  C->Font()->Assign(FDefaultCaptionFont.get());
  if (FSD && FSD->ResourceStrData()) C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  const String Text = Caption();
  const Integer GW = CaptionGlyphWidth();
  const Integer CW = C->TextWidth(Text) + (GW > 0 ? GW + FSpacing : 0);
  Integer X = CR.Left;
  if (FAlignment == taRightJustify)
    X = CR.Right - CW;
  else if (FAlignment == taCenter)
    X = CR.Left + RectWidth(CR) / 2 - CW / 2;
  const Integer Y = (FDefaultCaptionHeight - 2) / 2 - C->TextHeight(Text) / 2;
  if (GW > 0) {
    DrawCaptionGlyph(C, X, CR.Top + RectHeight(CR) / 2 - FGlyph->Height() / 2 - 1);
    X += GW + FSpacing;
  }
  C->Brush()->SetStyle(bsClear);
  C->TextRect(CR, X, Y, Text);
  C->Pen()->SetColor(clBtnShadow);
  C->MoveTo(1, FDefaultCaptionHeight - 1);
  C->LineTo(Width() - 1, FDefaultCaptionHeight - 1);
  if (FShowCaptionButtons)
    for (Integer I = 0; I < 3; ++I) DrawCaptionButton(C, I);
}

void TspSkinCustomListBox::DrawSkinImage(TBitmap* B) {
  TspSkinCustomControl::DrawSkinImage(B);
  TCanvas* C = B->Canvas();
  const Integer DX = Width() - RectWidth(SkinRect);
  if (!FShowCaptionButtons && !IsNullRect(UpButtonRect) && Picture) {
    // The buttons painted in the skin picture are covered.
    if (IsNullRect(DisabledButtonsRect)) {
      const TRect Strip = Rect(NewLTPoint.X, 0, NewRTPoint.X, NewClRect.Top - 1);
      auto S = CreateControlImage(std::max(1, RectWidth(Strip)), std::max(1, RectHeight(Strip)));
      S->Canvas()->CopyRect(Rect(0, 0, S->Width(), S->Height()), C, Strip);
      C->StretchDraw(Rect(NewLTPoint.X, 0, Width() - (RectWidth(SkinRect) - UpButtonRect.Right), NewClRect.Top - 1),
                     S.get());
    } else {
      C->CopyRect(ListCaptionMoved(ButtonsArea, DX, 0), Picture->Canvas(), DisabledButtonsRect);
    }
  }
  NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + DX, ClRect.Bottom + (Height() - RectHeight(SkinRect)));
  if (FCaptionMode) {
    NewCaptionRect = CaptionRect;
    if (FShowCaptionButtons) {
      if (CaptionRect.Right >= RTPt.X) NewCaptionRect.Right += DX;
      CalcSkinButtonRects();
    } else {
      NewCaptionRect.Right = Width() - CaptionRect.Left;
      for (auto& Bt : Buttons) Bt.R = TRect{};
    }
  }
  if (!IsNullRect(CaptionRect)) {
    C->Font()->SetName(CaptionFontName);
    C->Font()->SetHeight(CaptionFontHeight);
    C->Font()->SetColor(CaptionFontColor);
    C->Font()->SetStyle(CaptionFontStyle);
    SetCaptionCharset(C->Font());
    const TRect& R = NewCaptionRect;
    const String Text = Caption();
    const Integer GW = CaptionGlyphWidth();
    const Integer CW = C->TextWidth(Text) + (GW > 0 ? GW + FSpacing : 0);
    const Integer Y = R.Top + RectHeight(R) / 2 - C->TextHeight(Text) / 2;
    Integer X = R.Left + 2;
    if (FAlignment == taRightJustify)
      X = R.Right - CW - 2;
    else if (FAlignment == taCenter)
      X = R.Left + 2 + RectWidth(R) / 2 - CW / 2;
    C->Brush()->SetStyle(bsClear);
    if (GW > 0) {
      DrawCaptionGlyph(C, X, R.Top + RectHeight(R) / 2 - FGlyph->Height() / 2);
      X += GW + FSpacing;
    }
    C->TextRect(R, X, Y, Text);
  }
  if (FShowCaptionButtons && FCaptionMode)
    for (Integer I = 0; I < 3; ++I) DrawCaptionButton(C, I);
}
