// One item of a skinned popup menu level: its state and its drawing.
#include <algorithm>

#include "platform/ui/ImgList.h"
#include "platform/win/DrawText.h"
#include "platform/win/SysColors.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/SkinMenus.h"

namespace {

constexpr TColor MenuItemHotFill = 0xD2BDB6;  // red 182, green 189, blue 210

// A disabled "-Word-" item of a skinned level is drawn as a header.
bool MenuItemIsHeader(const TMenuItem& M) {
  const String& C = M.Caption();
  return !M.Enabled() && C.size() > 2 && C.front() == '-' && C.back() == '-';
}

TOwned<TBitmap> MenuItemBitmap(Integer W, Integer H) {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(std::max<Integer>(W, 1), std::max<Integer>(H, 1));
  return B;
}

}  // namespace

// --- Glyphs ----------------------------------------------------------------------------------

void DrawMenuCheckMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Pen()->SetWidth(1);
  for (Integer I = 0; I < 3; ++I)
    Canvas->Polyline({Point(X, Y + 5 - I), Point(X + 2, Y + 7 - I), Point(X + 7, Y + 2 - I)});
}

void DrawMenuSubArrow(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Pen()->SetWidth(1);
  for (Integer I = 0; I <= 3; ++I) {
    Canvas->MoveTo(X + I, Y + I);
    Canvas->LineTo(X + I, Y + 7 - I);
  }
}

void DrawMenuRadioMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->Ellipse(X, Y, X + 6, Y + 6);
}

// --- Item ------------------------------------------------------------------------------------

TspSkinMenuItem::TspSkinMenuItem(TspSkinPopupWindow* AParent, TMenuItem* AMenuItem,
                                 TspDataSkinMenuItem* AData)
    : Parent(AParent), MI(AData), MenuItem(AMenuItem) {
  if (!MI) return;
  FSkinRect = MI->SkinRect;
  FActiveSkinRect = MI->ActiveSkinRect;
  TspSkinData* SD = Parent->SD;
  const Integer Index = MI->ActivePictureIndex;
  if (SD && Index >= 0 && Index < static_cast<Integer>(SD->FActivePictures.Count()))
    ActivePicture = SD->FActivePictures.Items(Index);
  if (!ActivePicture) {
    // Without its picture the item has no skin rectangles; the shared descriptor stays as
    // the skin has it.
    FSkinRect = NullRect();
    FActiveSkinRect = NullRect();
  }
}

void ShowMenuDrawing(TCanvas* Canvas) {
  if (auto* Own = dynamic_cast<TControlCanvas*>(Canvas)) Own->FreeHandle();
}

void TspSkinMenuItem::SetMorphKf(Double Value) { FMorphKf = std::clamp(Value, 0.0, 1.0); }

Boolean TspSkinMenuItem::EnableAnimation() const {
  const TspSkinData* SD = Parent->SD;
  return MI && !IsNullRect(MI->AnimateSkinRect) && MI->FrameCount > 0 && SD && !SD->Empty &&
         SD->EnableSkinEffects();
}

Boolean TspSkinMenuItem::EnableMorphing() const {
  const TspSkinData* SD = Parent->SD;
  return MI && MI->Morphing && SD && SD->EnableSkinEffects();
}

Boolean TspSkinMenuItem::CanMorphing() {
  if (!FVisible && FMorphKf != 0) {
    Active = false;
    Down = false;
    FMorphKf = 0;
  }
  const Boolean H = Active || Down;
  return FVisible && ((H && FMorphKf < 1) || (!H && FMorphKf > 0));
}

void TspSkinMenuItem::DoMorphing() {
  SetMorphKf(FMorphKf + ((Active || Down) ? 0.2 : -0.2));
  if (!Parent->HandleAllocated()) return;
  Draw(Parent->Canvas());
  ShowMenuDrawing(Parent->Canvas());
}

void TspSkinMenuItem::ReDraw() {
  TTimer* T = Parent->MorphTimer();
  if (EnableAnimation()) {
    const Cardinal Interval = static_cast<Cardinal>(std::max<Integer>(MI->AnimateInterval, 1));
    if (T->Interval() != Interval) T->SetInterval(Interval);
    if (!Active && !MI->InActiveAnimation) {
      CurrentFrame = 0;
    } else {
      T->SetEnabled(true);
      return;
    }
  } else if (EnableMorphing()) {
    if (T->Interval() != 20) T->SetInterval(20);
    T->SetEnabled(true);
    return;
  }
  if (!Parent->HandleAllocated() || !FVisible) return;
  Draw(Parent->Canvas());
  ShowMenuDrawing(Parent->Canvas());
}

TRect TspSkinMenuItem::FrameRect() const {
  const TRect& A = MI->AnimateSkinRect;
  const Integer F = std::max<Integer>(MI->FrameCount, 1), K = CurrentFrame;
  if (RectHeight(A) > RectHeight(MI->SkinRect)) {
    const Integer H = RectHeight(A) / F;
    return Rect(A.Left, A.Top + H * (K - 1), A.Right, A.Top + H * K);
  }
  const Integer W = RectWidth(A) / F;
  return Rect(A.Left + W * (K - 1), A.Top, A.Left + W * K, A.Bottom);
}

Boolean TspSkinMenuItem::HasImage() const {
  if (MenuItem->HasBitmap() && !const_cast<TMenuItem*>(MenuItem)->Bitmap()->Empty()) return true;
  const TCustomImageList* L = Parent->ImgL;
  return L && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < L->Count();
}

TSize TspSkinMenuItem::ImageSize() const {
  if (MenuItem->HasBitmap() && !MenuItem->Bitmap()->Empty())
    return TSize{MenuItem->Bitmap()->Width(), MenuItem->Bitmap()->Height()};
  return TSize{Parent->ImgL->Width(), Parent->ImgL->Height()};
}

void TspSkinMenuItem::DrawImage(TCanvas* Cnvs, Integer X, Integer Y) {
  if (MenuItem->HasBitmap() && !MenuItem->Bitmap()->Empty())
    Cnvs->Draw(X, Y, MenuItem->Bitmap());
  else
    Parent->ImgL->Draw(Cnvs, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
}

Boolean TspSkinMenuItem::DrawNamedGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  using GlyphFn = void (*)(TCanvas*, Integer, Integer, TColor);
  struct NamedGlyph {
    const char* Name;
    GlyphFn Draw;
  };
  static constexpr NamedGlyph Glyphs[] = {
      {"DSF_CLOSE", DrawCloseImage},          {"TRAY_DSF_CLOSE", DrawCloseImage},
      {"DSF_MINITEM", DrawMinimizeImage},     {"DSF_MAXITEM", DrawMaximizeImage},
      {"DSF_RESTORE", DrawRestoreImage},      {"TRAY_DSF_RESTORE", DrawRestoreImage},
      {"DSF_ROLLUP", DrawRollUpImage},        {"DSF_MINTOTRAY", DrawMinimizeToTrayImage},
  };
  for (const NamedGlyph& G : Glyphs)
    if (MenuItem->Name() == G.Name) {
      G.Draw(Cnvs, X, Y, Color);
      return true;
    }
  return false;
}

void TspSkinMenuItem::DrawCaption(TCanvas* Cnvs, const TRect& T, Integer GlyphW, Integer RightGap) {
  HDC DC = Cnvs->Handle();
  RECT M{T.Left + GlyphW, 0, T.Right - RightGap, 0};
  DrawText(DC, MenuItem->Caption(), -1, &M, DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
  const Integer H = M.Bottom - M.Top;
  const Integer Top = T.Top + RectHeight(T) / 2 - H / 2;
  RECT CR{M.Left, Top, M.Right + 2, Top + H};
  DrawText(DC, MenuItem->Caption(), -1, &CR, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (MenuItem->ShortCut() != scNone) {
    RECT SR{T.Left + GlyphW, Top, T.Right - RightGap, Top + H};
    DrawText(DC, ShortCutToText(MenuItem->ShortCut()), -1, &SR,
             DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

void TspSkinMenuItem::DrawSkinGlyph(TCanvas* Cnvs, const TRect& R, const TRect& Src) {
  if (!ActivePicture || IsNullRect(Src)) return;
  auto G = MenuItemBitmap(RectWidth(Src), RectHeight(Src));
  G->Canvas()->CopyRect(Rect(0, 0, RectWidth(Src), RectHeight(Src)), ActivePicture->Canvas(), Src);
  G->SetTransparent(true);
  const Integer X = std::max(R.Left, R.Left + RectWidth(R) / 2 - RectWidth(Src) / 2);
  const Integer Y = std::max(R.Top, R.Top + RectHeight(R) / 2 - RectHeight(Src) / 2);
  Cnvs->Draw(X, Y, G.get());
}

void TspSkinMenuItem::DrawHeader(TCanvas* Cnvs, const TRect& R, const String& Caption) {
  TspSkinData* SD = Parent->SD;
  if (!SD) return;
  Integer I = SD->GetControlIndex("menuheader");
  if (I < 0) I = SD->GetControlIndex("label");
  if (I < 0) return;
  auto* L = dynamic_cast<TspDataSkinLabelControl*>(SD->CtrlList.Items(I));
  if (!L || L->PictureIndex < 0 || L->PictureIndex >= static_cast<Integer>(SD->FActivePictures.Count()) ||
      IsNullRect(L->SkinRect))
    return;
  TBitmap* Pic = SD->FActivePictures.Items(L->PictureIndex);
  auto B2 = MenuItemBitmap(RectWidth(R), RectHeight(L->SkinRect));
  CreateHSkinImage(L->LTPoint.X, RectWidth(L->SkinRect) - L->RTPoint.X, B2.get(), Pic, L->SkinRect,
                   RectWidth(R), RectHeight(L->SkinRect), L->StretchEffect);
  TCanvas* C2 = B2->Canvas();
  C2->Font()->SetName(L->FontName);
  C2->Font()->SetHeight(L->FontHeight);
  C2->Font()->SetStyle(L->FontStyle);
  C2->Font()->SetColor(L->FontColor);
  C2->Brush()->SetStyle(bsClear);
  RECT TR{0, L->ClRect.Top, RectWidth(R), RectHeight(L->SkinRect)};
  DrawText(C2->Handle(), Caption.substr(1, Caption.size() - 2), -1, &TR,
           DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  Cnvs->Draw(R.Left, R.Top + RectHeight(R) / 2 - RectHeight(L->SkinRect) / 2, B2.get());
}

void TspSkinMenuItem::DrawSkinItem(TBitmap* B, Boolean AActive, Boolean AFrame) {
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  TCanvas* C = B->Canvas();
  // Background.
  TRect Src = AActive ? FActiveSkinRect : FSkinRect;
  Boolean Stretch = AActive ? MI->StretchEffect
                            : (MI->InActiveStretchEffect || (AFrame && MI->StretchEffect));
  if (AFrame && ActivePicture) Src = FrameRect();
  if (!AActive && MI->InActiveTransparent && Parent->FPaintBuffer) {
    C->CopyRect(Rect(0, 0, W, H), Parent->FPaintBuffer->Canvas(), ObjectRect);
  } else if (ActivePicture && !IsNullRect(Src)) {
    CreateHSkinImage(MI->ItemLO, MI->ItemRO, B, ActivePicture, Src, W, H, Stretch);
  } else {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(AActive ? MenuItemHotFill : clWindow);
    C->FillRect(Rect(0, 0, W, H));
  }
  const Integer G = !IsNullRect(MI->ImageRct) ? 0 : (Parent->ImgL ? Parent->GlyphWidth : 16);
  TRect T = MI->TextRct;
  T.Right = W - (RectWidth(MI->SkinRect) - MI->TextRct.Right);
  // Font and colour.
  C->Brush()->SetStyle(bsClear);
  if (Parent->ParentMenu->UseSkinFont) {
    C->Font()->SetName(MI->FontName);
    C->Font()->SetStyle(MI->FontStyle);
    C->Font()->SetHeight(MI->FontHeight);
  } else {
    C->Font()->Assign(Parent->ParentMenu->DefaultMenuItemFont());
  }
  TColor Colour = AActive ? MI->ActiveFontColor
                          : (MenuItem->Enabled() ? MI->FontColor : MI->UnEnabledFontColor);
  C->Font()->SetColor(Colour);
  if (MenuItem->OnDrawItem) {
    MenuItem->OnDrawItem(this, C, T, AActive);
    return;
  }
  if (MenuItemIsHeader(*MenuItem)) {
    DrawHeader(C, Rect(0, 0, W, H), MenuItem->Caption());
    return;
  }
  DrawCaption(C, T, G, 16);
  if (HasSubItems()) {
    const TRect& A = AActive ? MI->ActiveArrowImageRect : MI->ArrowImageRect;
    if (IsNullRect(MI->ArrowImageRect))
      DrawMenuSubArrow(C, T.Right - 7, T.Top + RectHeight(T) / 2 - 4, Colour);
    else
      DrawSkinGlyph(C, Rect(T.Right - RectWidth(MI->ArrowImageRect) - 5, T.Top, T.Right, T.Bottom), A);
  }
  if (MI->UseImageColor) Colour = AActive ? MI->ActiveImageColor : MI->ImageColor;
  const Boolean Img = HasImage();
  if (Img) {
    const TSize S = ImageSize();
    Integer X, Y;
    if (IsNullRect(MI->ImageRct)) {
      X = T.Left + 2;
      Y = T.Top + RectHeight(T) / 2 - S.cy / 2;
    } else {
      X = MI->ImageRct.Left + RectWidth(MI->ImageRct) / 2 - S.cx / 2;
      Y = MI->ImageRct.Top + RectHeight(MI->ImageRct) / 2 - S.cy / 2;
    }
    if (MenuItem->Checked()) {
      C->Pen()->SetColor(Colour);
      C->Brush()->SetStyle(bsClear);
      C->Rectangle(X - 1, Y - 1, X + S.cx + 1, Y + S.cy + 1);
    }
    DrawImage(C, X, Y);
    return;
  }
  Integer X, Y;
  if (IsNullRect(MI->ImageRct)) {
    X = T.Left + 2;
    Y = T.Top + RectHeight(T) / 2 - 4;
  } else {
    X = MI->ImageRct.Left + RectWidth(MI->ImageRct) / 2 - 4;
    Y = MI->ImageRct.Top + RectHeight(MI->ImageRct) / 2 - 4;
  }
  if (DrawNamedGlyph(C, X, Y, Colour) || !MenuItem->Checked()) return;
  const TRect GR = !IsNullRect(MI->ImageRct)
                       ? MI->ImageRct
                       : Rect(MI->TextRct.Left + 2, MI->TextRct.Top, MI->TextRct.Left + 16, MI->TextRct.Bottom);
  if (MenuItem->RadioItem()) {
    if (IsNullRect(MI->RadioImageRect))
      DrawMenuRadioMark(C, X, Y + 1, Colour);
    else
      DrawSkinGlyph(C, GR, AActive ? MI->ActiveRadioImageRect : MI->RadioImageRect);
  } else if (IsNullRect(MI->CheckImageRect)) {
    DrawMenuCheckMark(C, X, Y, Colour);
  } else {
    DrawSkinGlyph(C, GR, AActive ? MI->ActiveCheckImageRect : MI->CheckImageRect);
  }
}

void TspSkinMenuItem::Draw(TCanvas* Cnvs) {
  if (!FVisible) return;
  if (!MI) {
    DefaultDraw(Cnvs);
    return;
  }
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  auto B = MenuItemBitmap(W, H);
  if (IsSeparator()) {
    if (ActivePicture && !IsNullRect(MI->DividerRect))
      CreateHSkinImage(MI->DividerLO, MI->DividerRO, B.get(), ActivePicture, MI->DividerRect, W, H,
                       MI->DividerStretchEffect);
    else
      Parent->DrawItemBackground(B->Canvas(), Rect(0, 0, W, H));
  } else {
    const Boolean H2 = Active || Down;
    const Boolean Animating = EnableAnimation() && CurrentFrame > 0 && CurrentFrame <= MI->FrameCount;
    const Boolean Morphing = EnableMorphing() && !(H2 && FMorphKf >= 1) && !(!H2 && FMorphKf <= 0);
    if (Animating) {
      DrawSkinItem(B.get(), H2, true);
    } else if (!Morphing) {
      DrawSkinItem(B.get(), H2);
    } else {
      auto Hot = MenuItemBitmap(W, H);
      DrawSkinItem(B.get(), false);
      DrawSkinItem(Hot.get(), true);
      MorphBitmaps(B.get(), Hot.get(), MI->MorphKind, FMorphKf);
    }
  }
  Parent->BlendWithScreen(B.get(), ObjectRect.Left, ObjectRect.Top);
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspSkinMenuItem::DefaultDraw(TCanvas* Cnvs) {
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  auto B = MenuItemBitmap(W, H);
  TCanvas* C = B->Canvas();
  const Integer G = Parent->ImgL ? Parent->GlyphWidth : 19;
  C->Font()->Assign(Parent->ParentMenu->DefaultMenuItemFont());
  const Boolean Hot = (Active || Down) && !IsSeparator();
  C->Brush()->SetStyle(bsSolid);
  if (Hot) {
    C->Brush()->SetColor(clNavy);
    C->FillRect(Rect(0, 0, W, H));
    C->Brush()->SetColor(MenuItemHotFill);
    C->FillRect(Rect(1, 1, W - 1, H - 1));
    C->Font()->SetColor(clWindowText);
  } else {
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, G, H));
    C->Brush()->SetColor(clWindow);
    C->FillRect(Rect(G, 0, W, H));
    C->Font()->SetColor(MenuItem->Enabled() ? clWindowText : clBtnShadow);
  }
  if (IsSeparator()) {
    C->Pen()->SetColor(clBtnShadow);
    C->MoveTo(G, H / 2);
    C->LineTo(W, H / 2);
    Parent->BlendWithScreen(B.get(), ObjectRect.Left, ObjectRect.Top);
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
    return;
  }
  const TColor Colour = C->Font()->Color();
  const TRect I = Rect(2, 2, W - 2, H - 2);
  C->Brush()->SetStyle(bsClear);
  DrawCaption(C, I, G, 19);
  const Integer CY = I.Top + RectHeight(I) / 2;
  if (HasSubItems()) DrawMenuSubArrow(C, I.Right - 7, CY - 4, Colour);
  if (HasImage()) {
    const TSize S = ImageSize();
    const Integer X = I.Left + 2, Y = CY - S.cy / 2;
    if (MenuItem->Checked()) {
      C->Pen()->SetColor(Colour);
      C->Brush()->SetStyle(bsClear);
      C->Rectangle(X - 1, Y - 1, X + S.cx + 1, Y + S.cy + 1);
    }
    DrawImage(C, X, Y);
  } else if (!DrawNamedGlyph(C, I.Left + 2, CY - 4, Colour) && MenuItem->Checked()) {
    if (MenuItem->RadioItem())
      DrawMenuRadioMark(C, I.Left + 3, CY - 3, Colour);
    else
      DrawMenuCheckMark(C, I.Left + 3, CY - 4, Colour);
  }
  Parent->BlendWithScreen(B.get(), ObjectRect.Left, ObjectRect.Top);
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}
