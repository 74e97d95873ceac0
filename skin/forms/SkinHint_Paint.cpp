// The hint window's size for its text (plain, or with a bold title line and an image) and
// its painting: the skin's hint picture stretched around the text, or info-tip colours.
#include <algorithm>

#include "platform/win/DrawText.h"
#include "platform/win/SysColors.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/core/bitmaps/spEffBmp_Effects.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/SkinHint.h"

using namespace vantrel::skin;

namespace {

// Width of the longest line and height of all lines, no wrapping.
void MeasureHintText(TCanvas* Cnvs, const String& AText, Integer& W, Integer& H) {
  RECT R{0, 0, 0, 0};
  DrawText(Cnvs->Handle(), AText, -1, &R, DT_CALCRECT);
  W = R.Right - R.Left;
  H = R.Bottom - R.Top;
}

void DrawHintString(TCanvas* Cnvs, const String& AText, const TRect& R) {
  RECT T = R;
  DrawText(Cnvs->Handle(), AText, -1, &T, 0);
}

Boolean HasHintImage(TCustomImageList* List, Integer Index) {
  return List && Index >= 0 && Index < List->Count();
}

}  // namespace

// Keeps the right and bottom corner pieces at their distance from the window's edges, and
// never lets a right corner pass a left one or a bottom corner pass a top one.
static void FitHintCorners(const TspDataSkinHintWindow& D, Integer PicW, Integer PicH, Integer& W, Integer& H,
                           TspSkinHintWindow& Wnd) {
  Integer dW = W - PicW, dH = H - PicH;
  if (D.RTPoint.X + dW < D.LTPoint.X) {
    W += D.LTPoint.X - (D.RTPoint.X + dW);
    dW = W - PicW;
  }
  if (D.RBPoint.X + dW < D.LBPoint.X) {
    W += D.LBPoint.X - (D.RBPoint.X + dW);
    dW = W - PicW;
  }
  if (D.LBPoint.Y + dH < D.LTPoint.Y) {
    H += D.LTPoint.Y - (D.LBPoint.Y + dH);
    dH = H - PicH;
  }
  if (D.RBPoint.Y + dH < D.RTPoint.Y) {
    H += D.RTPoint.Y - (D.RBPoint.Y + dH);
    dH = H - PicH;
  }
  Wnd.NewClRect = Rect(D.ClRect.Left, D.ClRect.Top, D.ClRect.Right + dW, D.ClRect.Bottom + dH);
  Wnd.NewLTPoint = D.LTPoint;
  Wnd.NewRTPoint = Point(D.RTPoint.X + dW, D.RTPoint.Y);
  Wnd.NewLBPoint = Point(D.LBPoint.X, D.LBPoint.Y + dH);
  Wnd.NewRBPoint = Point(D.RBPoint.X + dW, D.RBPoint.Y + dH);
}

void TspSkinHintWindow::CalcHintSize(TCanvas* Cnvs, const String& AText, Integer& W, Integer& H) {
  Integer TW = 0, TH = 0;
  MeasureHintText(Cnvs, AText, TW, TH);
  TBitmap* Pic = FSD ? SkinActivePicture(FSD, FSD->HintWindow->WindowPictureIndex) : nullptr;
  if (Pic) {
    const TspDataSkinHintWindow& D = *FSD->HintWindow;
    W = TW + D.ClRect.Left + (Pic->Width() - D.ClRect.Right) + 5;
    H = TH + D.ClRect.Top + (Pic->Height() - D.ClRect.Bottom);
    FitHintCorners(D, Pic->Width(), Pic->Height(), W, H, *this);
  } else {
    W = TW + 4;
    H = TH + 4;
  }
}

void TspSkinHintWindow::CalcHintSizeEx(TCanvas* Cnvs, const String& AText, Integer& W, Integer& H,
                                       TCustomImageList* AImageList, Integer AImageIndex, const String& AHintTitle) {
  MeasureHintText(Cnvs, AText, W, H);
  Integer TitleH = 0;
  if (!AHintTitle.empty()) {
    Integer TiW = 0, TiH = 0;
    MeasureHintText(Cnvs, AHintTitle, TiW, TiH);
    H += TiH + 10;
    W = std::max(W, TiW);
    TitleH = TiH;
  }
  if (HasHintImage(AImageList, AImageIndex)) {
    W += AImageList->Width() + 10;
    if (H < AImageList->Height() + TitleH + 5) H = AImageList->Height() + TitleH + 5;
  }
  TBitmap* Pic = FSD ? SkinActivePicture(FSD, FSD->HintWindow->WindowPictureIndex) : nullptr;
  if (Pic) {
    const TspDataSkinHintWindow& D = *FSD->HintWindow;
    W += 10;
    W += D.ClRect.Left + (Pic->Width() - D.ClRect.Right);
    H += D.ClRect.Top + (Pic->Height() - D.ClRect.Bottom);
    FitHintCorners(D, Pic->Width(), Pic->Height(), W, H, *this);
  } else {
    W += 4;
    H += 4;
  }
}

void TspSkinHintWindow::PaintBackground(TBitmap* Buffer) {
  TBitmap* Pic = FSD ? SkinActivePicture(FSD, FSD->HintWindow->WindowPictureIndex) : nullptr;
  if (Pic) {
    const TspDataSkinHintWindow& D = *FSD->HintWindow;
    CreateSkinImage2(D.LTPoint, D.RTPoint, D.LBPoint, D.RBPoint, D.ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                     NewRBPoint, NewClRect, Buffer, Pic, Rect(0, 0, Pic->Width(), Pic->Height()), Width(), Height(),
                     true, D.LeftStretch, D.TopStretch, D.RightStretch, D.BottomStretch, D.StretchEffect,
                     D.StretchType);
  } else {
    TCanvas* C = Buffer->Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clInfoBk);
    C->FillRect(Rect(0, 0, Width(), Height()));
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(Rect(0, 0, Width(), Height()));
  }
}

void TspSkinHintWindow::SetTextFont(TCanvas* Cnvs) {
  Cnvs->Brush()->SetStyle(bsClear);
  TFont* F = Cnvs->Font();
  if (FSD) {
    const TspDataSkinHintWindow& D = *FSD->HintWindow;
    if (FspHint->UseSkinFont()) {
      F->SetHeight(D.FontHeight);
      F->SetStyle(D.FontStyle);
      F->SetName(D.FontName);
    } else {
      F->Assign(FspHint->DefaultFont());
    }
    F->SetColor(D.FontColor);
  } else {
    F->Assign(FspHint->DefaultFont());
    F->SetColor(clInfoText);
  }
  TspSkinData* SD = FspHint->SkinData();
  F->SetCharset(SD && SD->ResourceStrData() ? SD->ResourceStrData()->CharSet() : FspHint->DefaultFont()->Charset());
}

// Without layered windows, the hint is mixed with the screen copy taken when it appeared.
void TspSkinHintWindow::BlendWithScreen(TBitmap* Buffer) {
  if (!FspHint->AlphaBlend() || FspHint->AlphaBlendSupport()) return;
  if (SI->Width() != Buffer->Width() || SI->Height() != Buffer->Height()) return;
  auto Hint = CreateOwned<TspEffectBmp>(Buffer->Handle());
  auto Behind = CreateOwned<TspEffectBmp>(SI->Handle());
  Hint->Morph(Behind.get(), 1 - FspHint->AlphaBlendValue() / 255.0);
  Hint->Draw(Buffer->Canvas()->Handle(), 0, 0);
}

void TspSkinHintWindow::Paint() {
  if (!FspHint) return;
  if (AExtendedStyle) {
    PaintHintEx();
    return;
  }
  if (Width() <= 0 || Height() <= 0) return;
  auto DrawBuffer = CreateOwned<TBitmap>();
  DrawBuffer->SetPixelFormat(pf24bit);
  DrawBuffer->SetSize(Width(), Height());
  PaintBackground(DrawBuffer.get());
  TCanvas* C = DrawBuffer->Canvas();
  SetTextFont(C);
  if (FSD) {
    Integer TW = 0, TH = 0;
    MeasureHintText(C, Caption(), TW, TH);
    const Integer X = NewClRect.Left + (NewClRect.Right - NewClRect.Left) / 2 - TW / 2;
    const Integer Y = NewClRect.Top + (NewClRect.Bottom - NewClRect.Top) / 2 - TH / 2;
    DrawHintString(C, Caption(), Rect(X, Y, X + TW, Y + TH));
  } else {
    DrawHintString(C, Caption(), Rect(2, 2, Width() - 2, Height() - 2));
  }
  BlendWithScreen(DrawBuffer.get());
  Canvas()->Draw(0, 0, DrawBuffer.get());
}

void TspSkinHintWindow::PaintHintEx() {
  auto DrawBuffer = CreateOwned<TBitmap>();
  DrawBuffer->SetPixelFormat(pf24bit);
  DrawBuffer->SetSize(std::max(Width(), 0), std::max(Height(), 0));
  PaintBackground(DrawBuffer.get());
  TCanvas* C = DrawBuffer->Canvas();
  SetTextFont(C);
  const String& Title = FspHint->FHintTitle;
  TCustomImageList* Images = FspHint->FHintImageList;
  const Integer ImageIndex = FspHint->FHintImageIndex;
  const TRect Area = FSD ? NewClRect : Rect(2, 2, Width() - 2, Height() - 2);
  const Integer Inset = FSD ? 5 : 0;
  Integer TextLeft = 0, A = 0;
  if (!Title.empty()) {
    // The title is bold; what follows is drawn regular, whatever the font's style was.
    C->Font()->SetStyle(TFontStyles{fsBold});
    Integer TiW = 0, TiH = 0;
    MeasureHintText(C, Title, TiW, TiH);
    DrawHintString(C, Title, Rect(Area.Left + Inset, Area.Top, Area.Left + Inset + TiW, Area.Top + TiH));
    C->Font()->SetStyle(TFontStyles{});
    A = TiH + 5;
  }
  if (HasHintImage(Images, ImageIndex)) {
    const Integer X = Area.Left + Inset;
    Integer Y;
    if (A != 0)
      Y = FSD ? Area.Top + A : A;
    else
      Y = Area.Top + (Area.Bottom - Area.Top) / 2 - Images->Height() / 2;
    Images->Draw(C, X, Y, ImageIndex, true);
    TextLeft = X + Images->Width() + 5;
  }
  if (FSD) {
    Integer TW = 0, TH = 0;
    MeasureHintText(C, Caption(), TW, TH);
    const Integer X = TextLeft != 0 ? TextLeft : Area.Left + 5;
    const Integer Y = A != 0 ? Area.Top + A : Area.Top + (Area.Bottom - Area.Top) / 2 - TH / 2;
    DrawHintString(C, Caption(), Rect(X, Y, X + TW, Y + TH));
  } else {
    TRect R = Area;
    R.Top += A;
    R.Left += TextLeft;
    DrawHintString(C, Caption(), R);
  }
  BlendWithScreen(DrawBuffer.get());
  Canvas()->Draw(0, 0, DrawBuffer.get());
}
