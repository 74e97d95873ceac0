// The MDI tabs bar's drawing: the bar's background in both looks, the tabs (tab look,
// resized tab look, button look), their close buttons and the drop mark of a drag.
#include <algorithm>

#include "platform/win/DrawText.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkinMDITabsBar.h"

namespace {

TOwned<TBitmap> TabsBarBitmap(Integer W, Integer H) {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(std::max<Integer>(W, 1), std::max<Integer>(H, 1));
  return B;
}

// Descriptor D's image R composed in nine parts at W x H.
void TabsBarNinePart(const TspDataSkinButtonControl& D, TBitmap* Dest, TBitmap* Pic, const TRect& R, Integer W,
                     Integer H) {
  const Integer DW = W - RectWidth(D.SkinRect), DH = H - RectHeight(D.SkinRect);
  const TRect NewCl = Rect(D.ClRect.Left, D.ClRect.Top, D.ClRect.Right + DW, D.ClRect.Bottom + DH);
  CreateSkinImage(D.LTPoint, D.RTPoint, D.LBPoint, D.RBPoint, D.ClRect, D.LTPoint,
                  Point(D.RTPoint.X + DW, D.RTPoint.Y), Point(D.LBPoint.X, D.LBPoint.Y + DH),
                  Point(D.RBPoint.X + DW, D.RBPoint.Y + DH), NewCl, Dest, Pic, R, W, H, true, D.LeftStretch,
                  D.TopStretch, D.RightStretch, D.BottomStretch, D.StretchEffect, D.StretchType);
}

TspDataSkinButtonControl* TabsBarButtonData(TspSkinData* SD, const char* Name) {
  if (!SD) return nullptr;
  const Integer I = SD->GetControlIndex(Name);
  return I == -1 ? nullptr : dynamic_cast<TspDataSkinButtonControl*>(SD->CtrlList.Items(I));
}

}  // namespace

// --- the bar ---------------------------------------------------------------------------

void TspSkinMDITabsBar::DrawDefaultImage(TBitmap* B) {
  B->Canvas()->Brush()->SetColor(clBtnFace);
  B->Canvas()->FillRect(Rect(0, 0, B->Width(), B->Height()));
  DrawTabs(B->Canvas());
}

void TspSkinMDITabsBar::DrawSkinImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const Integer TabH = FTabKind == sptkButton ? Height() : Height() - FBottomOffset;
  if (FSD->MDITabsTransparent) {
    CopyParentImage(this, C);
  } else if (Picture && !IsRectEmpty(&TabsBGRect)) {
    const Integer CellW = RectWidth(TabsBGRect);
    auto Cell = TabsBarBitmap(RectWidth(TabRect), RectHeight(TabRect));
    Cell->Canvas()->CopyRect(Rect(0, 0, Cell->Width(), Cell->Height()), Picture->Canvas(), TabsBGRect);
    for (Integer I = 0; I <= B->Width() / CellW; ++I)
      C->StretchDraw(Rect(I * CellW, 0, (I + 1) * CellW, TabH), Cell.get());
  }
  if (FTabKind == sptkTab && !IsRectEmpty(&SkinRect) && Picture && FBottomOffset > 0) {
    auto Strip = CreateOwned<TBitmap>();
    const TRect R = Rect(SkinRect.Left + LTPoint.X, SkinRect.Top, SkinRect.Left + RTPoint.X, SkinRect.Top + ClRect.Top);
    CreateHSkinImage(LTPoint.X, RectWidth(SkinRect) - RTPoint.X, Strip.get(), Picture, R, Width(), FBottomOffset,
                     false);
    C->Draw(0, Height() - FBottomOffset, Strip.get());
  }
  DrawTabs(C);
}

void TspSkinMDITabsBar::DrawTabs(TCanvas* Cnvs) {
  if (ObjectList.empty()) return;
  CalcTabRects();
  // The pressed tab comes last, over the others, at its place or where it is dragged.
  const Boolean Held = FDown && DragIndex >= 0 && DragIndex < TabCount();
  for (Integer I = 0; I < TabCount(); ++I)
    if (Tabs(I)->Visible && !(Held && I == DragIndex)) Tabs(I)->Draw(Cnvs);
  if (!Held) return;
  Tabs(DragIndex)->Draw(Cnvs);
  if (IsDrag) DrawDropMark(Cnvs, GetDropIndex());
}

void TspSkinMDITabsBar::DrawDropMark(TCanvas* Cnvs, Integer DropIndex) {
  if (DropIndex == -1) return;
  const TRect& T = Tabs(DropIndex)->ObjectRect;
  const Integer X = TabDX < 1 ? T.Left : T.Right;
  const Integer H = Height() / 2;
  Cnvs->Pen()->SetMode(pmNot);
  for (Integer LX : {X - 1, X, X + 1}) {
    Cnvs->MoveTo(LX, 0);
    Cnvs->LineTo(LX, Height());
  }
  Cnvs->Polyline({Point(X + 2, H), Point(X + 5, H - 3), Point(X + 5, H + 3), Point(X + 2, H)});
  Cnvs->Polyline({Point(X - 2, H), Point(X - 5, H - 3), Point(X - 5, H + 3), Point(X - 2, H)});
  Cnvs->Pen()->SetMode(pmCopy);
}

TFontCharset TspSkinMDITabsBar::SkinCharset() const {
  if (FSD && FSD->ResourceStrData()) return FSD->ResourceStrData()->CharSet();
  return FDefaultFont->Charset();
}

// --- one tab ---------------------------------------------------------------------------

void TspMDITab::Draw(TCanvas* Cnvs) {
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  if (W <= 0 || H <= 0) return;
  TspSkinMDITabsBar& Bar = *TabsBar;
  const Boolean Skinned = Bar.Skinned();
  if (Skinned && Bar.FTabKind == sptkButton) return ButtonDraw(Cnvs);
  if (Skinned && !Bar.FUseSkinSize) return ResizeDraw(Cnvs);
  auto B = TabsBarBitmap(W, H);
  TCanvas* C = B->Canvas();
  TRect TextR;
  if (!Skinned) {
    C->Brush()->SetColor(MouseIn && !Active ? static_cast<TColor>(RGB(182, 190, 210))
                    : Active           ? static_cast<TColor>(RGB(133, 148, 181))
                                       : clBtnFace);
    C->FillRect(Rect(0, 0, W, H));
    C->Font()->Assign(Bar.FDefaultFont.get());
    if (Bar.FSD) C->Font()->SetCharset(Bar.SkinCharset());
    if (Bar.OnTabGetDrawParamsEvent) Bar.OnTabGetDrawParamsEvent(this, C);
    TextR = Bar.FShowCloseButtons ? Rect(2, 0, W - Bar.FCloseSize - 5, H) : Rect(2, 0, W - 2, H);
  } else {
    const TRect& R = MouseIn && !Active ? Bar.MouseInTabRect : Active ? Bar.ActiveTabRect : Bar.TabRect;
    CreateHSkinImage(Bar.TabLeftOffset, Bar.TabRightOffset, B.get(), Bar.Picture, R, W, H, Bar.TabStretchEffect);
    C = B->Canvas();
    if (Bar.FUseSkinFont) {
      C->Font()->SetName(Bar.FontName);
      C->Font()->SetStyle(Bar.FontStyle);
      C->Font()->SetHeight(Bar.FontHeight);
      C->Font()->SetCharset(Bar.SkinCharset());
    } else {
      C->Font()->Assign(Bar.FDefaultFont.get());
      C->Font()->SetCharset(Bar.SkinCharset());
    }
    C->Font()->SetColor(MouseIn && !Active ? Bar.MouseInFontColor : Active ? Bar.ActiveFontColor : Bar.FontColor);
    TextR = Bar.FShowCloseButtons ? Rect(2, 0, W - Bar.FCloseSize - 5, H)
                                  : Rect(Bar.TabLeftOffset, 0, W - Bar.TabRightOffset, H);
  }
  DrawText(C, TextR);
  if (Bar.FShowCloseButtons) DrawCloseButton(C, Rect(TextR.Right, 0, W, H));
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspMDITab::ResizeDraw(TCanvas* Cnvs) {
  TspSkinMDITabsBar& Bar = *TabsBar;
  const Integer W = RectWidth(ObjectRect);
  const Integer H = RectHeight(ObjectRect) + (Active ? Bar.FActiveTabOffset : 0);
  if (W <= 0 || H <= 0) return;
  const Boolean Hover = MouseIn && !Active && !IsRectEmpty(&Bar.MouseInTabRect);
  const TRect& R = Hover ? Bar.MouseInTabRect : Active ? Bar.ActiveTabRect : Bar.TabRect;
  auto B = TabsBarBitmap(W, H);
  const Integer K = RectHeight(Bar.TabRect) / 4;
  CreateStretchSkinImage(B.get(), Bar.Picture, R,
                         Rect(Bar.TabLeftOffset, K, RectWidth(R) - Bar.TabRightOffset, RectHeight(R) - K), true);
  TCanvas* C = B->Canvas();
  C->Font()->Assign(Bar.FDefaultFont.get());
  if (Bar.FUseSkinFont) {
    C->Font()->SetName(Bar.FontName);
    C->Font()->SetStyle(Bar.FontStyle);
    C->Font()->SetHeight(Bar.FontHeight);
  }
  C->Font()->SetCharset(Bar.SkinCharset());
  C->Font()->SetColor(Hover ? Bar.MouseInFontColor : Active ? Bar.ActiveFontColor : Bar.FontColor);
  if (Bar.OnTabGetDrawParamsEvent) Bar.OnTabGetDrawParamsEvent(this, C);
  const TRect TextR = Bar.FShowCloseButtons ? Rect(2, 0, W - Bar.FCloseSize - 5, H) : Rect(2, 0, W - 2, H);
  DrawText(C, TextR);
  if (Bar.FShowCloseButtons) DrawCloseButton(C, Rect(TextR.Right, 0, W, H));
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspMDITab::ButtonDraw(TCanvas* Cnvs) {
  TspSkinMDITabsBar& Bar = *TabsBar;
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  auto B = TabsBarBitmap(W, H);
  TCanvas* C = B->Canvas();
  TRect TextR = Rect(0, 0, W, H);
  TspDataSkinButtonControl* D = TabsBarButtonData(Bar.FSD, "resizebutton");
  TBitmap* Pic = D ? SkinActivePicture(Bar.FSD, D->PictureIndex) : nullptr;
  if (D && Pic) {
    const TRect ActiveR = IsRectEmpty(&D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
    const TRect DownR = IsRectEmpty(&D->DownSkinRect) ? ActiveR : D->DownSkinRect;
    TabsBarNinePart(*D, B.get(), Pic, Active ? DownR : MouseIn ? ActiveR : D->SkinRect, W, H);
    C = B->Canvas();
    C->Font()->Assign(Bar.FDefaultFont.get());
    if (Bar.FUseSkinFont) {
      C->Font()->SetName(D->FontName);
      C->Font()->SetStyle(D->FontStyle);
      C->Font()->SetHeight(D->FontHeight);
    }
    C->Font()->SetColor(Active ? D->DownFontColor : MouseIn ? D->ActiveFontColor : D->FontColor);
    TextR = Rect(D->ClRect.Left, D->ClRect.Top, W - (RectWidth(D->SkinRect) - D->ClRect.Right),
                 H - (RectHeight(D->SkinRect) - D->ClRect.Bottom));
  } else {
    DrawPlainFace(C, Rect(0, 0, W, H), Active ? spfsPressed : MouseIn ? spfsHot : spfsNormal);
    C->Font()->Assign(Bar.FDefaultFont.get());
  }
  C->Font()->SetCharset(Bar.SkinCharset());
  if (Bar.OnTabGetDrawParamsEvent) Bar.OnTabGetDrawParamsEvent(this, C);
  if (Bar.FShowCloseButtons) TextR.Right -= Bar.FCloseSize + 3;
  const Integer TextH = C->TextHeight("Wg");
  if (TextH > RectHeight(TextR)) {
    TextR.Top = (H - TextH) / 2;
    TextR.Bottom = TextR.Top + TextH;
  }
  DrawText(C, TextR);
  if (Bar.FShowCloseButtons) DrawCloseButton(C, Rect(TextR.Right, 0, W, H));
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspMDITab::DrawText(TCanvas* C, TRect R) {
  WideString Text = Child ? Child->Caption() : WideString();
  FitWideTextToWidth(C, Text, RectWidth(R));
  C->Brush()->SetStyle(bsClear);
  DrawWideText(C, Text, R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TspMDITab::DrawCloseButton(TCanvas* Cnvs, TRect R) {
  TspSkinMDITabsBar& Bar = *TabsBar;
  const Integer S = Bar.FCloseSize;
  const Integer Top = R.Top + RectHeight(R) / 2 - S / 2;
  ButtonRect = Rect(R.Left, Top, R.Left + S, Top + S);
  const Boolean Pressed = ButtonMouseDown && ButtonMouseIn;
  if (!Bar.Skinned()) {
    ButtonRect = Rect(R.Left, R.Top + RectHeight(R) / 2 - 7, R.Left + 14, R.Top + RectHeight(R) / 2 + 7);
    DrawCloseImage(Cnvs, ButtonRect.Left + 2, ButtonRect.Top + 2, ButtonMouseIn ? clWhite : clBlack);
    return;
  }
  if (IsRectEmpty(&Bar.CloseButtonRect)) {
    TspDataSkinButtonControl* D = TabsBarButtonData(Bar.FSD, "resizetoolbutton");
    TBitmap* Pic = D ? SkinActivePicture(Bar.FSD, D->PictureIndex) : nullptr;
    TColor Colour = clBtnText;
    auto B = TabsBarBitmap(S, S);
    if (D && Pic) {
      const TRect ActiveR = IsRectEmpty(&D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
      const TRect DownR = IsRectEmpty(&D->DownSkinRect) ? ActiveR : D->DownSkinRect;
      TabsBarNinePart(*D, B.get(), Pic, Pressed ? DownR : ButtonMouseIn ? ActiveR : D->SkinRect, S, S);
      Colour = Pressed ? D->DownFontColor : ButtonMouseIn ? D->ActiveFontColor : D->FontColor;
    } else {
      DrawPlainFace(B->Canvas(), Rect(0, 0, S, S), Pressed ? spfsPressed : ButtonMouseIn ? spfsHot : spfsNormal);
    }
    DrawCloseImage(B->Canvas(), S / 2 - 5, S / 2 - 5, Colour);
    Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, B.get());
    return;
  }
  const TRect& Src = Pressed ? Bar.CloseButtonDownRect : ButtonMouseIn ? Bar.ClosebuttonActiveRect : Bar.CloseButtonRect;
  if (!Bar.Picture) return;
  const Integer BW = RectWidth(Src), BH = RectHeight(Src);
  ButtonRect = Rect(R.Left, R.Top + RectHeight(R) / 2 - BH / 2, R.Left + BW, R.Top + RectHeight(R) / 2 - BH / 2 + BH);
  auto B = TabsBarBitmap(BW, BH);
  B->Canvas()->CopyRect(Rect(0, 0, BW, BH), Bar.Picture->Canvas(), Src);
  if (Bar.ButtonTransparent) {
    B->SetTransparent(true);
    B->SetTransparentMode(tmFixed);
    B->SetTransparentColor(Bar.ButtonTransparentColor);
  }
  Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, B.get());
}
