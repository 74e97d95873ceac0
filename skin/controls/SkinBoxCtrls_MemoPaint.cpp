// The skinned memo's painting, all inside the client area: the frame strips, the
// background (skin client picture, plain, or blended with what lies beneath) and the lines
// of a disabled memo.
#include <algorithm>

#include "platform/ui/GraphUtil.h"
#include "platform/win/DrawText.h"
#include "platform/win/Edit.h"
#include "platform/win/Gdi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowDc.h"
#include "skin/controls/SkinBoxCtrls.h"

namespace {

struct MemoDcCanvas {
  TOwned<TCanvas> C = CreateOwned<TCanvas>();
  explicit MemoDcCanvas(HDC DC) { C->SetHandle(DC); }
  ~MemoDcCanvas() { C->SetHandle(nullptr); }
  MemoDcCanvas(const MemoDcCanvas&) = delete;
  MemoDcCanvas& operator=(const MemoDcCanvas&) = delete;
};

}  // namespace

void TspSkinMemo::DrawFrame(TCanvas* C) {
  GetSkinData();
  const Integer W = Width(), H = Height();
  if (FIndex == -1) {
    C->Brush()->SetStyle(bsClear);
    TRect R = Rect(0, 0, W, H);
    Frame3D(C, R, clBtnShadow, clBtnShadow, 1);
    Frame3D(C, R, clBtnFace, clBtnFace, 1);
    return;
  }
  if (!Picture) return;
  const TRect& S = (FMouseIn || Focused()) ? ActiveSkinRect : SkinRect;
  const Integer DX = W - RectWidth(SkinRect), DY = H - RectHeight(SkinRect);
  const TRect NewCl = Rect(ClRect.Left, ClRect.Top, ClRect.Right + DX, ClRect.Bottom + DY);
  auto L = CreateOwned<TBitmap>(), T = CreateOwned<TBitmap>(), R = CreateOwned<TBitmap>(),
       B = CreateOwned<TBitmap>();
  CreateSkinBorderStrips(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, LTPoint, Point(RTPoint.X + DX, RTPoint.Y),
                         Point(LBPoint.X, LBPoint.Y + DY), Point(RBPoint.X + DX, RBPoint.Y + DY), NewCl, L.get(),
                         T.get(), R.get(), B.get(), Picture, S, W, H, LeftStretch, TopStretch, RightStretch,
                         BottomStretch);
  C->Draw(0, 0, T.get());
  C->Draw(0, T->Height(), L.get());
  C->Draw(W - R->Width(), T->Height(), R.get());
  C->Draw(0, H - B->Height(), B.get());
}

void TspSkinMemo::PaintBackground(HDC DC) {
  const Integer CW = ClientWidth(), CH = ClientHeight();
  if (CW < 1 || CH < 1) return;
  if (FAlphaBlend && FBitMapBG) {
    ParentImage = std::make_unique<TBitmap>();
    SetParentImage();
  }
  GetSkinData();
  MemoDcCanvas C(DC);
  const Boolean Framed = BorderStyle() != bsNone;
  if (!FBitMapBG) {
    if (FIndex == -1) {
      C.C->Brush()->SetColor(clWindow);
      C.C->FillRect(Rect(2, 2, Width() - 2, Height() - 2));
    } else {
      TRect R = ClientRect();
      R.Left += ClRect.Left;
      R.Top += ClRect.Top;
      R.Right -= RectWidth(SkinRect) - ClRect.Right;
      R.Bottom -= RectHeight(SkinRect) - ClRect.Bottom;
      R.Right = std::max(R.Right, R.Left);
      R.Bottom = std::max(R.Bottom, R.Top);
      C.C->Brush()->SetColor(Color());
      C.C->FillRect(R);
    }
    if (Framed) DrawFrame(C.C.get());
  } else {
    auto B = CreateControlImage(CW, CH);
    if (FAlphaBlend && FAlphaBlendValue == 255) {
      B->Canvas()->Draw(0, 0, ParentImage.get());
      if (Framed) DrawFrame(B->Canvas());
    } else {
      if (FIndex == -1 || !Picture) {
        B->Canvas()->Brush()->SetColor(clWindow);
        B->Canvas()->FillRect(Rect(0, 0, CW, CH));
      } else {
        const TRect& S = (FMouseIn || Focused()) ? ActiveSkinRect : SkinRect;
        CreateSkinClientImage(ClRect, Rect(0, 0, CW, CH), B.get(), Picture, S, CW, CH, StretchEffect, StretchType);
      }
      if (Framed) DrawFrame(B->Canvas());
      if (FAlphaBlend) {
        auto Under = CreateControlImage(CW, CH);
        Under->Canvas()->Draw(0, 0, ParentImage.get());
        MorphBitmaps(B.get(), Under.get(), mkDefault, 1.0 - FAlphaBlendValue / 255.0);
      }
    }
    C.C->Draw(0, 0, B.get());
  }
  ParentImage.reset();
  SetTextArea();
}

void TspSkinMemo::PaintDisabledLines(HDC DC) {
  MemoDcCanvas C(DC);
  TFont* F = C.C->Font();
  if (FIndex != -1 && UseSkinFont) {
    F->SetName(FontName);
    F->SetHeight(FontHeight);
    F->SetStyle(FontStyle);
  } else {
    F->Assign(FDefaultFont.get());
  }
  TColor Colour = clGrayText;
  if (FIndex != -1 && FSD) {
    const Integer I = FSD->GetControlIndex("edit");
    if (auto* D = I == -1 ? nullptr : dynamic_cast<TspDataSkinEditControl*>(FSD->CtrlList.Items(I)))
      Colour = D->DisabledFontColor;
  }
  F->SetColor(Colour);
  F->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont->Charset());
  C.C->Brush()->SetStyle(bsClear);
  Integer H = 0;
  {
    HDC Screen = GetDC(nullptr);
    auto SC = CreateOwned<TCanvas>();
    SC->SetHandle(Screen);
    SC->Font()->Assign(F);
    H = SC->TextHeight("Wq");
    SC->SetHandle(nullptr);
    ReleaseDC(nullptr, Screen);
  }
  const Integer N = H == 0 ? 1 : ClientHeight() / H;
  const Integer First = static_cast<Integer>(SendMessage(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
  static constexpr UINT AlignFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  TRect R = FTextArea;
  for (Integer I = First; I <= First + N - 2; ++I) {
    if (I >= Lines()->Count()) break;
    RECT LR = R;
    const String L = Lines()->Strings(I);
    DrawText(C.C->Handle(), L.c_str(), -1, &LR, AlignFlags[Alignment()]);
    OffsetRect(&R, 0, H);
  }
}
