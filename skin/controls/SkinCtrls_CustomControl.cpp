// The resizable skinned control: geometry copied from the descriptor, size fitting by
// resize mode, one/three/nine-piece composition, the direct framed painting and the
// window region cut from the skin's mask.
#include "platform/win/WindowRegion.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

TPoint MovedPointForCustom(TPoint P, Integer DX, Integer DY) { return Point(P.X + DX, P.Y + DY); }

}  // namespace

TspSkinCustomControl::TspSkinCustomControl(TComponent* AOwner) : TspSkinControl(AOwner) {
  FDefaultFont = std::make_unique<TFont>();
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
  FDefaultFont->OnChange = [this](TObject*) {
    DefaultFontChanged();
    if (FIndex == -1) Repaint();
  };
}

TspSkinCustomControl::~TspSkinCustomControl() {
  // A region handed to the window belongs to it; the window frees it with itself.
  FRgn = nullptr;
}

void TspSkinCustomControl::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TspSkinCustomControl::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TspSkinCustomControl::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  DefaultFontChanged();
}

void TspSkinCustomControl::DefaultFontChanged() {}

void TspSkinCustomControl::GetSkinData() {
  TspSkinControl::GetSkinData();
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinCustomControl*>(FSD->CtrlList.Items(FIndex));
  if (!D) {
    ResizeMode = 0;
    Picture = nullptr;
    MaskPicture = nullptr;
    return;
  }
  CopyGeometryFrom(*D, true);
  CursorIndex = D->CursorIndex;
  Picture = SkinActivePicture(FSD, D->PictureIndex);
  MaskPicture = SkinActivePicture(FSD, D->MaskPictureIndex);
  ResizeMode = CalcResizeMode();
}

Integer TspSkinCustomControl::CalcResizeMode() const { return TspSkinGeometry::CalcResizeMode(); }

void TspSkinCustomControl::CalcSize(Integer& AWidth, Integer& AHeight) { FitGeometry(FIndex != -1, AWidth, AHeight); }

void TspSkinCustomControl::CalcNewRect(const TRect& R, TRect& NewR) const { MapRect(R, NewR, Width(), Height()); }

void TspSkinCustomControl::CreateSkinControlImage(TBitmap* B, TBitmap* SkinPicture, const TRect& R) {
  ComposeImage(B, SkinPicture, R, Width(), Height(), !FForceBackground);
}

void TspSkinCustomControl::DrawSkinImage(TBitmap* B) { CreateSkinControlImage(B, Picture, SkinRect); }

void TspSkinCustomControl::DrawDefaultImage(TBitmap* B) {
  B->Canvas()->Brush()->SetColor(clBtnFace);
  B->Canvas()->FillRect(Rect(0, 0, B->Width(), B->Height()));
}

void TspSkinCustomControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  const bool Fitted = FIndex != -1 && (AWidth != Width() || AHeight != Height());
  if (Fitted) {
    CalcSize(AWidth, AHeight);
    if (ResizeMode == 0) NewClRect = ClRect;
  }
  TRect ToolClient;
  if (SkinToolBarCentring(Parent(), ToolClient))
    ATop = ToolClient.Top + RectHeight(ToolClient) / 2 - AHeight / 2;
  TspSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Fitted) {
    SetControlRegion();
    Repaint();
  }
  if (FIndex != -1 && StretchEffect) CheckControlsBackground();
}

void TspSkinCustomControl::SetControlRegion() {
  if (!Parent()) return;
  if (!MaskPicture || FIndex == -1) {
    if (FRgn) {
      SetWindowRgn(Handle(), nullptr, true);
      FRgn = nullptr;
    }
    return;
  }
  Integer W = Width(), H = Height();
  CalcSize(W, H);
  HRGN Rgn = nullptr;
  const Integer DW = Width() - RectWidth(SkinRect), DH = Height() - RectHeight(SkinRect);
  switch (ResizeMode) {
    case 0:
      CreateRegionFromMask(Rgn, MaskPicture);
      break;
    case 1:
      CreateSkinRegion(Rgn, LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                       NewClRect, MaskPicture, Width(), Height());
      break;
    case 2:
      CreateSkinRegion(Rgn, LTPt, RTPt, LTPt, RTPt, ClRect, LTPt, MovedPointForCustom(RTPt, DW, 0), LTPt,
                       MovedPointForCustom(RTPt, DW, 0), NewClRect, MaskPicture, Width(), Height());
      break;
    case 3:
      CreateSkinRegion(Rgn, LTPt, LTPt, LBPt, LBPt, ClRect, LTPt, LTPt, MovedPointForCustom(LBPt, 0, DH),
                       MovedPointForCustom(LBPt, 0, DH), NewClRect, MaskPicture, Width(), Height());
      break;
    default:
      return;
  }
  // The window takes the new region and frees the one it had.
  SetWindowRgn(Handle(), Rgn, true);
  FRgn = Rgn;
}

void TspSkinCustomControl::ChangeSkinData() {
  GetSkinData();
  ApplySkinCursor();
  bool SizeChanged = false;
  if (FIndex == -1) {
    if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
  } else {
    Integer W = Width(), H = Height();
    CalcSize(W, H);
    if (W != Width() || H != Height()) {
      SizeChanged = true;
      SetBounds(Left(), Top(), W, H);
    }
  }
  if (!SizeChanged) {
    SetControlRegion();
    Repaint();
  }
}

void TspSkinCustomControl::Paint() {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  Integer W = Width(), H = Height();
  CalcSize(W, H);
  if (FIndex != -1 && FForceBackground && ResizeMode == 1 && !FAlphaBlend && Picture)
    PaintFramedFast();
  else
    TspSkinControl::Paint();
}

void TspSkinCustomControl::PaintFramedFast() {
  auto LeftB = CreateOwned<TBitmap>(), TopB = CreateOwned<TBitmap>();
  auto RightB = CreateOwned<TBitmap>(), BottomB = CreateOwned<TBitmap>();
  CreateSkinBorderStrips(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                         NewClRect, LeftB.get(), TopB.get(), RightB.get(), BottomB.get(), Picture, SkinRect,
                         Width(), Height(), LeftStretch, TopStretch, RightStretch, BottomStretch);
  DrawSkinImage(TopB.get());
  TCanvas* C = Canvas();
  const Integer TW = RectWidth(ClRect), TH = RectHeight(ClRect);
  if (FDrawbackground && TW > 0 && TH > 0) {
    auto Tile = CreateOwned<TBitmap>();
    Tile->SetPixelFormat(pf24bit);
    Tile->SetSize(TW, TH);
    const TRect Src = Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                           SkinRect.Top + ClRect.Bottom);
    Tile->Canvas()->CopyRect(Rect(0, 0, TW, TH), Picture->Canvas(), Src);
    const Integer CW = RectWidth(NewClRect), CH = RectHeight(NewClRect);
    const int Saved = SaveDC(C->Handle());
    IntersectClipRect(C->Handle(), NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
    if (StretchEffect && CW > 0 && CH > 0) {
      if (StretchType == spstFull) {
        C->StretchDraw(NewClRect, Tile.get());
      } else if (StretchType == spstHorz) {
        for (Integer I = 0; I <= CW / TW; ++I)
          C->StretchDraw(Rect(NewClRect.Left + I * TW, NewClRect.Top, NewClRect.Left + (I + 1) * TW, NewClRect.Bottom),
                         Tile.get());
      } else {
        for (Integer J = 0; J <= CH / TH; ++J)
          C->StretchDraw(Rect(NewClRect.Left, NewClRect.Top + J * TH, NewClRect.Right, NewClRect.Top + (J + 1) * TH),
                         Tile.get());
      }
    } else if (!StretchEffect) {
      for (Integer I = 0; I <= CW / TW; ++I)
        for (Integer J = 0; J <= CH / TH; ++J) C->Draw(NewClRect.Left + I * TW, NewClRect.Top + J * TH, Tile.get());
    }
    RestoreDC(C->Handle(), Saved);
  }
  C->Draw(0, 0, TopB.get());
  C->Draw(0, TopB->Height(), LeftB.get());
  C->Draw(Width() - RightB->Width(), TopB->Height(), RightB.get());
  C->Draw(0, Height() - BottomB->Height(), BottomB.get());
}
