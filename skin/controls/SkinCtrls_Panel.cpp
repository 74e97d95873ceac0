// The skinned panel: its properties, client rectangle, the painting cases, checked mode
// and roll-up.
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"

TspSkinPanel::TspSkinPanel(TComponent* AOwner) : TspSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                               csOpaque,          csDoubleClicks, csReplicatable};
  FSkinDataName = "panel";
  FForceBackground = true;
  NewClRect = TRect{};
  SetBounds(Left(), Top(), 150, 150);
}

void TspSkinPanel::CreateParams(TCreateParams& Params) {
  TspSkinCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TspSkinPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCaptionImageList) FCaptionImageList = nullptr;
}

void TspSkinPanel::SetRibbonStyle(Boolean Value) {
  if (FRibbonStyle == Value) return;
  FRibbonStyle = Value;
  Repaint();
}

void TspSkinPanel::SetImagePosition(TspImagePosition Value) {
  if (FImagePosition == Value) return;
  FImagePosition = Value;
  Repaint();
}

void TspSkinPanel::SetTransparentMode(Boolean Value) {
  if (FTransparentMode == Value) return;
  FTransparentMode = Value;
  Repaint();
  if (!ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading)) CheckControlsBackground();
}

void TspSkinPanel::SetCaptionImageList(TCustomImageList* Value) {
  FCaptionImageList = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinPanel::SetCaptionImageIndex(Integer Value) {
  if (FCaptionImageIndex == Value) return;
  FCaptionImageIndex = Value;
  Repaint();
}

void TspSkinPanel::SetCheckedMode(Boolean Value) {
  FCheckedMode = Value;
  Repaint();
}

void TspSkinPanel::SetChecked(Boolean Value) {
  FChecked = Value;
  if (FCheckedMode) Repaint();
  if (FAutoEnabledControls && FCheckedMode)
    for (Integer I = 0; I < ControlCount(); ++I) Controls(I)->SetEnabled(FChecked);
  if (OnChecked) OnChecked(this);
}

void TspSkinPanel::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TspSkinPanel::SetNumGlyphs(TspSkinPanelNumGlyphs Value) {
  FNumGlyphs = Value;
  Repaint();
}

void TspSkinPanel::SetSpacing(Integer Value) {
  FSpacing = Value;
  Repaint();
}

void TspSkinPanel::SetDefaultAlignment(TAlignment Value) {
  FDefaultAlignment = Value;
  if (FIndex == -1 && FCaptionMode) Repaint();
}

void TspSkinPanel::SetDefaultCaptionHeight(Integer Value) {
  FDefaultCaptionHeight = Value;
  if (FIndex == -1 && FCaptionMode) {
    Repaint();
    Realign();
  }
}

void TspSkinPanel::SetBorderStyle(TspSkinBorderStyle Value) {
  FBorderStyle = Value;
  if (FIndex == -1) {
    Repaint();
    Realign();
  }
}

void TspSkinPanel::SetCaptionMode(Boolean Value) {
  FCaptionMode = Value;
  Repaint();
  Realign();
}

void TspSkinPanel::SetRollUpMode(Boolean Value) {
  FRollUpMode = Value;
  if (FIndex == -1 && FCaptionMode) Repaint();
}

void TspSkinPanel::SetAlphaBlend(Boolean Value) {
  FAlphaBlend = Value;
  Repaint();
}

void TspSkinPanel::SetAlphaBlendValue(Byte Value) {
  FAlphaBlendValue = Value;
  Repaint();
}

void TspSkinPanel::SetRollUpState(Boolean Value) {
  if (FRollUpState == Value) return;
  TSizeConstraints* K = Constraints();
  if (FRollUpMode) {
    FCMaxWidth = K->MaxWidth();
    FCMinWidth = K->MinWidth();
    FCMaxHeight = K->MaxHeight();
    FCMinHeight = K->MinHeight();
    K->SetMaxWidth(0);
    K->SetMinWidth(0);
    K->SetMaxHeight(0);
    K->SetMinHeight(0);
    FRollUpState = Value;
    DoRollUp(FRollUpState);
    if (OnChangeRollUpState) OnChangeRollUpState(this);
  } else {
    K->SetMaxWidth(FCMaxWidth);
    K->SetMinWidth(FCMinWidth);
    K->SetMaxHeight(FCMaxHeight);
    K->SetMinHeight(FCMinHeight);
    FRollUpState = false;
  }
}

void TspSkinPanel::DoRollUp(Boolean ARollUp) {
  FInChangingRollUp = true;
  try {
    if (ARollUp) {
      if (FRealHeight == -1) {
        FRealHeight = Height();
        DisableAlign();
        for (Integer I = 0; I < ControlCount(); ++I) Controls(I)->Hide();
        if (FIndex == -1)
          SetHeight(FDefaultCaptionHeight + 1);
        else
          SetHeight(Height() - NewClRect.Bottom + NewClRect.Top);
      }
    } else if (FRealHeight != -1) {
      SetHeight(FRealHeight);
      FRealHeight = -1;
      for (Integer I = 0; I < ControlCount(); ++I) Controls(I)->Show();
      EnableAlign();
    }
  } catch (...) {
    FInChangingRollUp = false;
    throw;
  }
  FInChangingRollUp = false;
}

Boolean TspSkinPanel::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  if (FInChangingRollUp && FRollUpMode && AutoSize()) return false;
  return TspSkinCustomControl::CanAutoSize(NewWidth, NewHeight);
}

void TspSkinPanel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TspSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FIndex == -1) Repaint();
}

void TspSkinPanel::GetSkinClientRect(TRect& R) {
  R = Rect(0, 0, Width(), Height());
  AdjustClientRect(R);
}

void TspSkinPanel::AdjustClientRect(TRect& R) {
  TspSkinCustomControl::AdjustClientRect(R);
  if (FIndex != -1 && FTransparentMode) {
    if (!FCaptionMode) {
      R = Rect(2, 2, Width() - 2, Height() - 2);
    } else {
      SetCaptionFont(Canvas());
      R = Rect(2, Canvas()->TextHeight(Caption()), Width() - 2, Height() - 2);
    }
  } else if (FIndex == -1 || ComponentState().Contains(csDesigning)) {
    if (FBorderStyle != bvNone) R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    if (FCaptionMode) {
      if (FRibbonStyle)
        R.Bottom -= FDefaultCaptionHeight;
      else
        R.Top += FDefaultCaptionHeight;
    }
  } else if (BGPictureIndex == -1 && (FBorderStyle != bvNone || FCaptionMode || ResizeMode != 1)) {
    R = NewClRect;
  }
}

void TspSkinPanel::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  BGPictureIndex = -1;
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinPanelControl*>(FSD->CtrlList.Items(FIndex));
  if (!D) return;
  CaptionRect = D->CaptionRect;
  Alignment = D->Alignment;
  FontName = D->FontName;
  FontColor = D->FontColor;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  BGPictureIndex = D->BGPictureIndex;
  CheckImageRect = D->CheckImageRect;
  UnCheckImageRect = D->UnCheckImageRect;
  MarkFrameRect = D->MarkFrameRect;
  FrameRect = D->FrameRect;
  FrameTextRect = D->FrameTextRect;
  FrameLeftOffset = D->FrameLeftOffset;
  FrameRightOffset = D->FrameRightOffset;
}

void TspSkinPanel::ChangeSkinData() {
  TspSkinCustomControl::ChangeSkinData();
  if (FRollUpState) {
    const Integer Stored = FRealHeight;
    FRealHeight = -1;
    DoRollUp(true);
    FRealHeight = Stored;
  } else {
    Realign();
  }
}

void TspSkinPanel::PaintClientArea(TCanvas*) {}

void TspSkinPanel::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  const bool Skinned = FIndex != -1;
  if (Skinned && FTransparentMode) {
    PaintTransparent(FCaptionMode);
  } else if (!Skinned || (!FForceBackground && StretchEffect)) {
    TspSkinCustomControl::Paint();
  } else if (FBorderStyle == bvNone && ResizeMode == 1 && !FCaptionMode && FForceBackground && !FAlphaBlend) {
    PaintClientTile(Canvas(), true);
  } else if (BGPictureIndex == -1 || !SkinActivePicture(FSD, BGPictureIndex)) {
    TspSkinCustomControl::Paint();
  } else {
    PaintBackgroundPicture(Canvas());
  }
}

void TspSkinPanel::PaintTransparent(Boolean GroupFrame) {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(Width(), Height());
  CopyParentImage(this, B->Canvas());
  if (GroupFrame) {
    DrawGroupFrame(B->Canvas());
  } else if (FBorderStyle != bvNone) {
    B->Canvas()->Brush()->SetStyle(bsClear);
    B->Canvas()->Pen()->SetColor(FSD->SkinColors()->cBtnShadow());
    B->Canvas()->Rectangle(0, 0, Width(), Height());
  }
  PaintClientArea(B->Canvas());
  Canvas()->Draw(0, 0, B.get());
}

void TspSkinPanel::PaintClientTile(TCanvas* C, Boolean Direct) {
  if (!Picture) return;
  const Integer TW = RectWidth(ClRect), TH = RectHeight(ClRect);
  if (TW <= 0 || TH <= 0) return;
  auto Tile = CreateOwned<TBitmap>();
  Tile->SetPixelFormat(pf24bit);
  Tile->SetSize(TW, TH);
  const TRect Src = Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                         SkinRect.Top + ClRect.Bottom);
  Tile->Canvas()->CopyRect(Rect(0, 0, TW, TH), Picture->Canvas(), Src);
  const Integer W = Width(), H = Height();
  if (Direct && StretchEffect) {
    if (StretchType == spstFull) {
      C->StretchDraw(Rect(0, 0, W, H), Tile.get());
    } else if (StretchType == spstHorz) {
      for (Integer I = 0; I <= W / TW; ++I) C->StretchDraw(Rect(I * TW, 0, (I + 1) * TW, H), Tile.get());
    } else {
      for (Integer J = 0; J <= H / TH; ++J) C->StretchDraw(Rect(0, J * TH, W, (J + 1) * TH), Tile.get());
    }
    return;
  }
  for (Integer I = 0; I <= W / TW; ++I)
    for (Integer J = 0; J <= H / TH; ++J) C->Draw(I * TW, J * TH, Tile.get());
}

void TspSkinPanel::PaintBackgroundPicture(TCanvas* C) {
  TBitmap* BG = SkinActivePicture(FSD, BGPictureIndex);
  const Integer PW = BG->Width(), PH = BG->Height();
  if (PW <= 0 || PH <= 0) return;
  const Integer W = Width(), H = Height();
  if (StretchEffect) {
    if (StretchType == spstFull) {
      C->StretchDraw(NewClRect, BG);
    } else if (StretchType == spstHorz) {
      for (Integer I = 0; I <= W / PW; ++I) C->StretchDraw(Rect(I * PW, 0, (I + 1) * PW, H), BG);
    } else {
      for (Integer J = 0; J <= H / PH; ++J) C->StretchDraw(Rect(0, J * PH, W, (J + 1) * PH), BG);
    }
    return;
  }
  for (Integer I = 0; I <= W / PW; ++I)
    for (Integer J = 0; J <= H / PH; ++J) C->Draw(I * PW, J * PH, BG);
}

void TspSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && (FRollUpMode || FCheckedMode) && FCaptionMode) {
    const TRect Hit = FIndex != -1 ? NewCaptionRect : Rect(1, 1, Width() - 1, FDefaultCaptionHeight);
    if (X >= Hit.Left && X <= Hit.Right && Y >= Hit.Top && Y <= Hit.Bottom) {
      if (FCheckedMode) SetChecked(!FChecked);
      if (FRollUpMode) SetRollUpState(!FRollUpState);
    }
  }
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOVE:
      TspSkinCustomControl::Dispatch(Message);
      if (FTransparentMode) {
        Repaint();
        CheckControlsBackground();
      }
      return;
    case WM_SKIN_CHECK_PARENT_BACKGROUND:
      if (FTransparentMode || FAlphaBlend) {
        Repaint();
        CheckControlsBackground();
      }
      return;
    case CM_TEXTCHANGED:
      TspSkinCustomControl::Dispatch(Message);
      if (FCaptionMode) Repaint();
      return;
    default:
      TspSkinCustomControl::Dispatch(Message);
  }
}
