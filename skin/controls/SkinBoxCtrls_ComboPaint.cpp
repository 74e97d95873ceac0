// The combo box's looks: background, drop-down button and chosen item, plain or from the
// skin (at the skin's size or stretched), and the flat tool-button look.
#include <algorithm>
#include <vector>

#include "platform/rtl/Utf8.h"
#include "platform/win/Focus.h"
#include "platform/win/Text.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

constexpr TColor ComboHotFrame = clNavy;
constexpr TColor ComboHotFill = 0xD2BDB6;
constexpr TColor ComboDownFill = 0xB59385;
constexpr Integer ComboMaxTabStops = 10;
// The tool-button look: the arrow area at the right and where the text ends.
constexpr Integer ComboArrowArea = 15;
constexpr Integer ComboTextEnd = 17;

void ComboFramedFill(TCanvas* C, const TRect& R, TColor Frame, TColor Fill) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Frame);
  C->FrameRect(R);
  C->Brush()->SetColor(Fill);
  C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

TspDataSkinButtonControl* ComboButtonDescriptor(TspSkinData* SD, std::initializer_list<const char*> Names) {
  if (!SD || SD->Empty) return nullptr;
  for (const char* N : Names) {
    const Integer I = SD->GetControlIndex(N);
    if (I != -1)
      if (auto* D = dynamic_cast<TspDataSkinButtonControl*>(SD->CtrlList.Items(I))) return D;
  }
  return nullptr;
}

// Draws the descriptor's marker picture, made transparent, centred in R.
void ComboDrawMarker(TCanvas* C, TBitmap* Picture, const TRect& Src, TColor Transparent, const TRect& R, Integer DY) {
  if (!Picture || IsNullRect(Src)) return;
  auto M = CreateControlImage(RectWidth(Src), RectHeight(Src));
  M->Canvas()->CopyRect(Rect(0, 0, M->Width(), M->Height()), Picture->Canvas(), Src);
  M->SetTransparent(true);
  M->SetTransparentMode(tmFixed);
  M->SetTransparentColor(Transparent);
  C->Draw(R.Left + RectWidth(R) / 2 - M->Width() / 2, R.Top + RectHeight(R) / 2 - M->Height() / 2 + DY, M.get());
}

}  // namespace

Boolean TspSkinCustomComboBox::IsHot() { return FMouseIn || Focused() || EditFocused(); }

Integer TspSkinCustomComboBox::ShownIndex() { return IsPopupVisible() ? FOldItemIndex : ItemIndex(); }

void TspSkinCustomComboBox::DrawTabbedText(const String& S, TStrings* TabWidths, Integer Offset, const TRect& R,
                                           TCanvas* C) {
  const Integer N = std::min(TabWidths->Count(), ComboMaxTabStops);
  std::vector<INT> Stops(static_cast<size_t>(std::max(N, 1)));
  for (Integer I = 0; I < N; ++I) Stops[static_cast<size_t>(I)] = TabWidthToInt(TabWidths->Get(I));
  TabbedTextOutW(C->Handle(), R.Left + Offset + 2, R.Top + RectHeight(R) / 2 - C->TextHeight(S) / 2, S,
                 static_cast<int>(Utf8Length(S)), N, Stops.data(), 0);
}

void TspSkinCustomComboBox::DrawItemContent(TCanvas* IC, TRect TR, Integer IW, Integer IH, Boolean Skinned,
                                            Boolean FocusFrame) {
  const Integer Index = ShownIndex();
  if (Index < 0 || Index >= Items()->Count()) return;
  if (OnComboBoxDrawItem) {
    OnComboBoxDrawItem(IC, Index, IW, IH, TR, CBItem.State);
    return;
  }
  if (Skinned && FocusFrame && Focused() && ShowFocus) {
    IC->Brush()->SetStyle(bsSolid);
    IC->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
    DrawSkinFocusRect(IC, Rect(0, 0, IW, IH));
    IC->Brush()->SetStyle(bsClear);
  }
  if (TCustomImageList* Img = Images()) {
    const Integer I = ImageIndex() >= 0 ? ImageIndex() : Index;
    if (I < Img->Count()) Img->Draw(IC, TR.Left, TR.Top + RectHeight(TR) / 2 - Img->Height() / 2, I, true);
    TR.Left += Img->Width() + 2;
  }
  IC->Brush()->SetStyle(bsClear);
  const String S = Items()->Get(Index);
  if (TabWidths()->Count() > 0)
    DrawTabbedText(S, TabWidths(), 0, TR, IC);
  else
    DrawVCenteredText(IC, S, TR);
}

// --- Whole looks ---------------------------------------------------------------------------

void TspSkinCustomComboBox::DrawDefaultImage(TBitmap* B) {
  CalcRects();
  CBItem.State = Focused() ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
  if (FToolButtonStyle) {
    FComposing = B;
    DrawDefaultToolButton(B->Canvas());
    FComposing = nullptr;
    return;
  }
  TCanvas* C = B->Canvas();
  const TRect R = Rect(0, 0, Width(), Height());
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(R);
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(R);
  C->Brush()->SetColor(FDefaultColor);
  C->FillRect(Rect(2, 2, R.Right - 2, R.Bottom - 2));
  DrawButton(C);
  if (!FEdit) DrawDefaultItem(C);
}

void TspSkinCustomComboBox::DrawSkinImage(TBitmap* B) {
  CalcRects();
  CBItem.State = Focused() ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
  FComposing = B;
  if (FToolButtonStyle) {
    DrawSkinToolButton(B->Canvas());
    FComposing = nullptr;
    return;
  }
  const bool ActiveLook = !IsNullRect(ActiveSkinRect) && IsHot();
  if (!FUseSkinSize) {
    if (Picture)
      CreateStretchSkinImage(B, Picture, ActiveLook ? ActiveSkinRect : SkinRect, ClRect, true);
    DrawStretchButton(B->Canvas());
    if (!FEdit) DrawStretchSkinItem(B->Canvas());
  } else {
    if (ActiveLook && Picture)
      CreateHSkinImage(LTPt.X, RectWidth(ActiveSkinRect) - RTPt.X, B, Picture, ActiveSkinRect, Width(), Height(),
                       StretchEffect);
    else
      TspSkinCustomControl::DrawSkinImage(B);
    DrawButton(B->Canvas());
    if (!FEdit) DrawSkinItem(B->Canvas());
  }
  FComposing = nullptr;
}

void TspSkinCustomComboBox::DrawButton(TCanvas* C) {
  const TRect& R = Button.R;
  if (FIndex == -1) {
    if (Button.Down && Button.MouseIn)
      ComboFramedFill(C, R, ComboHotFrame, ComboDownFill);
    else if (Button.MouseIn)
      ComboFramedFill(C, R, ComboHotFrame, ComboHotFill);
    else
      ComboFramedFill(C, R, clBtnShadow, clBtnFace);
    DrawArrow(C, R, Enabled() ? clBlack : clBtnShadow, 4);
    return;
  }
  TRect Source{};
  if (!Enabled() && !IsNullRect(UnEnabledButtonRect))
    Source = UnEnabledButtonRect;
  else if (Button.Down && Button.MouseIn)
    Source = DownButtonRect;
  else if (Button.MouseIn)
    Source = ActiveButtonRect;
  if (!IsNullRect(Source) && Picture) C->CopyRect(R, Picture->Canvas(), Source);
}

void TspSkinCustomComboBox::DrawStretchButton(TCanvas* C) {
  TspDataSkinButtonControl* D = ComboButtonDescriptor(FSD, {"combobutton", "editbutton", "resizebutton"});
  if (!D) return;
  TBitmap* DPicture = SkinActivePicture(FSD, D->PictureIndex);
  const Integer BW = RectWidth(Button.R), BH = RectHeight(Button.R);
  if (!DPicture || BW <= 0 || BH <= 0) return;
  auto BB = CreateControlImage(BW, BH);
  const Integer DW = BW - RectWidth(D->SkinRect), DH = BH - RectHeight(D->SkinRect);
  const bool Pressed = Button.Down && Button.MouseIn;
  const TRect Active = IsNullRect(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
  const TRect Down = IsNullRect(D->DownSkinRect) ? Active : D->DownSkinRect;
  const TRect Src = Pressed ? Down : Button.MouseIn ? Active : D->SkinRect;
  const TColor Color = Pressed ? D->DownFontColor : Button.MouseIn ? D->ActiveFontColor : D->FontColor;
  const TRect NewCl = Rect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DW, D->ClRect.Bottom + DH);
  CreateSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                  Point(D->RTPoint.X + DW, D->RTPoint.Y), Point(D->LBPoint.X, D->LBPoint.Y + DH),
                  Point(D->RBPoint.X + DW, D->RBPoint.Y + DH), NewCl, BB.get(), DPicture, Src, BW, BH, true,
                  D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch, D->StretchEffect, D->StretchType);
  if (IsNullRect(D->MenuMarkerRect)) {
    if (Enabled()) DrawArrow(BB->Canvas(), Rect(0, Pressed ? 2 : 0, BW, BH), Color, 4);
  } else {
    TRect M = D->MenuMarkerRect;
    if (Pressed && !IsNullRect(D->MenuMarkerDownRect))
      M = D->MenuMarkerDownRect;
    else if (Button.MouseIn)
      M = IsNullRect(D->MenuMarkerActiveRect) ? D->MenuMarkerRect : D->MenuMarkerActiveRect;
    ComboDrawMarker(BB->Canvas(), Picture, M, D->MenuMarkerTransparentColor, Rect(0, 0, BW, BH), Pressed ? 1 : 0);
  }
  C->Draw(Button.R.Left, Button.R.Top, BB.get());
}

// --- The chosen item -----------------------------------------------------------------------

void TspSkinCustomComboBox::DrawDefaultItem(TCanvas* C) {
  const Integer W = RectWidth(CBItem.R), H = RectHeight(CBItem.R);
  if (W <= 0 || H <= 0) return;
  auto IB = CreateControlImage(W, H);
  TCanvas* IC = IB->Canvas();
  IC->Font()->SetName(Font()->Name());
  IC->Font()->SetStyle(Font()->Style());
  IC->Font()->SetHeight(Font()->Height());
  IC->Font()->SetCharset(TextCharset());
  if (Focused()) {
    IC->Brush()->SetColor(clHighlight);
    IC->Font()->SetColor(clHighlightText);
  } else {
    IC->Brush()->SetColor(FDefaultColor);
    IC->Font()->SetColor(DefaultFont()->Color());
  }
  IC->FillRect(Rect(0, 0, W, H));
  DrawItemContent(IC, Rect(2, 0, W - 2, H), W, H, false, false);
  if (Focused()) DrawSkinFocusRect(IC, Rect(0, 0, W, H));
  C->Draw(CBItem.R.Left, CBItem.R.Top, IB.get());
}

void TspSkinCustomComboBox::DrawSkinItem(TCanvas* C) {
  const Integer W = RectWidth(CBItem.R);
  if (W <= 0) return;
  Integer H = RectHeight(SItemRect);
  if (H == 0) H = RectHeight(FocusItemRect);
  if (H == 0) H = RectHeight(CBItem.R);
  if (H <= 0) return;
  auto IB = CreateControlImage(W, H);
  const bool HotItem = FMouseIn && !IsNullRect(ActiveItemRect) && !IsNullRect(ActiveSkinRect);
  auto CopyUnder = [&] { IB->Canvas()->CopyRect(Rect(0, 0, W, H), FComposing->Canvas(), Rect(CBItem.R.Left, CBItem.R.Top, CBItem.R.Left + W, CBItem.R.Top + H)); };
  if (Focused()) {
    if (IsNullRect(FocusItemRect) || !Picture)
      CopyUnder();
    else
      CreateHSkinImage(ItemLeftOffset, ItemRightOffset, IB.get(), Picture, FocusItemRect, W, H, FocusItemStretchEffect);
  } else if (HotItem && Picture) {
    CreateHSkinImage(ItemLeftOffset, ItemRightOffset, IB.get(), Picture, ActiveItemRect, W, H, ItemStretchEffect);
  } else if (IsNullRect(SItemRect) || !Picture) {
    CopyUnder();
  } else {
    CreateHSkinImage(ItemLeftOffset, ItemRightOffset, IB.get(), Picture, SItemRect, W, H, ItemStretchEffect);
  }
  TRect TR = ItemTextRect;
  TR.Right += W - (IsNullRect(SItemRect) ? RectWidth(ClRect) : RectWidth(SItemRect));
  TCanvas* IC = IB->Canvas();
  if (FUseSkinFont) {
    IC->Font()->SetName(FontName);
    IC->Font()->SetStyle(FontStyle);
    IC->Font()->SetHeight(FontHeight);
  } else {
    IC->Font()->Assign(DefaultFont());
  }
  IC->Font()->SetCharset(TextCharset());
  if (Focused())
    IC->Font()->SetColor(FocusFontColor);
  else if (!FMouseIn || IsNullRect(ActiveSkinRect))
    IC->Font()->SetColor(FontColor);
  else
    IC->Font()->SetColor(ActiveFontColor);
  if (!Enabled()) IC->Font()->SetColor(GetDisabledFontColor());
  IC->Brush()->SetStyle(bsClear);
  DrawItemContent(IC, TR, W, H, true, true);
  C->Draw(CBItem.R.Left, CBItem.R.Top, IB.get());
}

void TspSkinCustomComboBox::DrawStretchSkinItem(TCanvas* C) {
  const Integer W = RectWidth(CBItem.R), H = RectHeight(CBItem.R);
  if (W <= 0 || H <= 0) return;
  auto IB = CreateControlImage(W, H);
  auto CopyUnder = [&] { IB->Canvas()->CopyRect(Rect(0, 0, W, H), FComposing->Canvas(), CBItem.R); };
  const bool HotItem = FMouseIn && !IsNullRect(ActiveItemRect) && !IsNullRect(ActiveSkinRect);
  // The client part of a state picture that differs in size from the normal one.
  auto Shrunk = [&](const TRect& State, TRect T) {
    if (RectWidth(State) < RectWidth(SItemRect)) T.Right -= RectWidth(SItemRect) - RectWidth(State);
    if (RectHeight(State) < RectHeight(SItemRect)) T.Top -= RectHeight(SItemRect) - RectHeight(State);
    return T;
  };
  if (Focused()) {
    if (IsNullRect(FocusItemRect) || !Picture) {
      CopyUnder();
    } else {
      const TRect& T = ItemTextRect;
      CreateStretchSkinImage(IB.get(), Picture, FocusItemRect,
                             Shrunk(FocusItemRect, Rect(T.Left + 1, T.Top + 1, T.Right - 1, T.Bottom - 1)), true);
    }
  } else if (HotItem && Picture) {
    CreateStretchSkinImage(IB.get(), Picture, ActiveItemRect, Shrunk(ActiveItemRect, ItemTextRect), true);
  } else if (IsNullRect(SItemRect) || !Picture) {
    CopyUnder();
  } else {
    CreateStretchSkinImage(IB.get(), Picture, SItemRect, ItemTextRect, true);
  }
  TRect TR = ItemTextRect;
  TR.Right += W - (IsNullRect(SItemRect) ? RectWidth(ClRect) : RectWidth(SItemRect));
  TR.Bottom += Height() - RectHeight(SkinRect);
  TCanvas* IC = IB->Canvas();
  if (FUseSkinFont) {
    IC->Font()->SetName(FontName);
    IC->Font()->SetStyle(FontStyle);
    IC->Font()->SetHeight(FontHeight);
  } else {
    IC->Font()->Assign(DefaultFont());
  }
  IC->Font()->SetCharset(TextCharset());
  if (Focused())
    IC->Font()->SetColor(FocusFontColor);
  else if (!FMouseIn || IsNullRect(ActiveSkinRect))
    IC->Font()->SetColor(FontColor);
  else
    IC->Font()->SetColor(ActiveFontColor);
  IC->Brush()->SetStyle(bsClear);
  DrawItemContent(IC, TR, W, H, true, true);
  C->Draw(CBItem.R.Left, CBItem.R.Top, IB.get());
}

// --- Tool-button look ----------------------------------------------------------------------

void TspSkinCustomComboBox::DrawDefaultToolButton(TCanvas* C) {
  const TRect R = Rect(0, 0, Width(), Height());
  if (FDropDown)
    ComboFramedFill(C, R, ComboHotFrame, ComboDownFill);
  else if (IsHot())
    ComboFramedFill(C, R, ComboHotFrame, ComboHotFill);
  else
    ComboFramedFill(C, R, clBtnShadow, clBtnFace);
  C->Font()->Assign(DefaultFont());
  C->Brush()->SetStyle(bsClear);
  DrawItemContent(C, Rect(2, 2, Width() - ComboTextEnd, Height() - 2), Width(), Height(), false, false);
  DrawDropDownArrow(C, Rect(Width() - ComboArrowArea, 0, Width(), Height()), C->Font()->Color());
}

void TspSkinCustomComboBox::DrawSkinToolButton(TCanvas* C) {
  GetSkinData();
  if (FIndex == -1) return;
  TspDataSkinButtonControl* D = ComboButtonDescriptor(FSD, {"resizetoolbutton", "resizebutton"});
  if (!D) return;
  TBitmap* DPicture = SkinActivePicture(FSD, D->PictureIndex);
  if (!DPicture) return;
  TRect Src = FDropDown ? D->DownSkinRect : IsHot() ? D->ActiveSkinRect : D->SkinRect;
  if (IsNullRect(Src)) Src = D->SkinRect;
  const Integer DW = Width() - RectWidth(D->SkinRect), DH = Height() - RectHeight(D->SkinRect);
  auto B = CreateControlImage(Width(), Height());
  CreateSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                  Point(D->RTPoint.X + DW, D->RTPoint.Y), Point(D->LBPoint.X, D->LBPoint.Y + DH),
                  Point(D->RBPoint.X + DW, D->RBPoint.Y + DH),
                  Rect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DW, D->ClRect.Bottom + DH), B.get(), DPicture, Src,
                  Width(), Height(), true, D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch,
                  D->StretchEffect, D->StretchType);
  C->Draw(0, 0, B.get());
  if (FUseSkinFont) {
    C->Font()->SetName(D->FontName);
    C->Font()->SetStyle(D->FontStyle);
    C->Font()->SetHeight(D->FontHeight);
  } else {
    C->Font()->Assign(DefaultFont());
  }
  C->Font()->SetCharset(TextCharset());
  C->Font()->SetColor(FDropDown ? D->DownFontColor
                      : IsHot() ? D->ActiveFontColor
                      : Enabled() ? D->FontColor
                                  : D->DisabledFontColor);
  C->Brush()->SetStyle(bsClear);
  DrawItemContent(C, Rect(2, 2, Width() - ComboTextEnd, Height() - 2), Width(), Height(), false, false);
  const TRect AR = Rect(Width() - ComboArrowArea, 0, Width(), Height());
  if (!IsNullRect(D->MenuMarkerRect)) {
    TRect M = D->MenuMarkerRect;
    if (FDropDown && !IsNullRect(D->MenuMarkerDownRect))
      M = D->MenuMarkerDownRect;
    else if ((FDropDown || FMouseIn) && !IsNullRect(D->MenuMarkerActiveRect))
      M = D->MenuMarkerActiveRect;
    ComboDrawMarker(C, Picture, M, D->MenuMarkerTransparentColor, AR, 0);
  } else {
    DrawDropDownArrow(C, AR, FDropDown ? D->DownFontColor : C->Font()->Color());
  }
}
