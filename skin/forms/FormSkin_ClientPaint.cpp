// The client-area painters: backgrounds laid from the skin's pictures under the controls,
// and in client mode the whole window composed off screen.
#include "skin/forms/FormSkin.h"

#include "platform/win/Gdi.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkinObjects.h"

namespace {

// A temporary canvas on a device context it does not own.
class FormSkinDCCanvas {
 public:
  explicit FormSkinDCCanvas(HDC DC) : C(CreateOwned<TCanvas>()) { C->SetHandle(DC); }
  ~FormSkinDCCanvas() { C->SetHandle(nullptr); }
  TCanvas* operator->() const { return C.get(); }
  TCanvas* get() const { return C.get(); }

 private:
  TOwned<TCanvas> C;
};

}  // namespace

// P laid over the client area: stretched whole or in strips, or tiled unscaled.
void TspFormSkin::LayBackground(TCanvas* C, TBitmap* P, Boolean Stretch, TspStretchType Kind) {
  const Integer CW = FForm->ClientWidth(), CH = FForm->ClientHeight();
  const Integer PW = P->Width(), PH = P->Height();
  // A picture that failed to load is an empty bitmap: it lays nothing.
  if (CW > 0 && CH > 0 && PW > 0 && PH > 0) LayPicture(C, P, Stretch, Kind);
  if (!FLogoBitMap->Empty()) DrawLogoBitMap(C);
}

void TspFormSkin::LayPicture(TCanvas* C, TBitmap* P, Boolean Stretch, TspStretchType Kind) {
  const Integer CW = FForm->ClientWidth(), CH = FForm->ClientHeight();
  const Integer PW = P->Width(), PH = P->Height();
  if (Stretch) {
    const Integer FW = FFormWidth, FH = FFormHeight;
    if (Kind == spstFull) {
      C->StretchDraw(Rect(0, 0, FW, FH), P);
    } else if (Kind == spstHorz) {
      auto Strip = CreateControlImage(PW, FH);
      Strip->Canvas()->StretchDraw(Rect(0, 0, PW, FH), P);
      for (Integer I = 0; I <= FW / PW; ++I) C->Draw(I * PW, 0, Strip.get());
    } else {
      auto Strip = CreateControlImage(FW, PH);
      Strip->Canvas()->StretchDraw(Rect(0, 0, FW, PH), P);
      for (Integer I = 0; I <= FH / PH; ++I) C->Draw(0, I * PH, Strip.get());
    }
  } else {
    for (Integer Y = 0; Y <= CH / PH; ++Y)
      for (Integer X = 0; X <= CW / PW; ++X) C->Draw(X * PW, Y * PH, P);
  }
}

void TspFormSkin::PaintBG(HDC DC) {
  if (!DC || !FSD || FSD->Empty) return;
  FormSkinDCCanvas C(DC);
  const TRect Cl = FSD->ClRect;
  if (RectWidth(Cl) <= 0 || RectHeight(Cl) <= 0) {
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(FForm->ClientRect());
    return;
  }
  auto B = CreateControlImage(RectWidth(Cl), RectHeight(Cl));
  B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), FSD->FPicture->Canvas(), Cl);
  LayBackground(C.get(), B.get(), FSD->StretchEffect, FSD->StretchType);
}

void TspFormSkin::PaintBG2(HDC DC) {
  if (!DC || !FSD || FSD->Empty) return;
  TBitmap* P = SkinActivePicture(FSD, FSD->BGPictureIndex);
  if (!P) return;
  FormSkinDCCanvas C(DC);
  LayBackground(C.get(), P, FSD->StretchEffect, FSD->StretchType);
}

void TspFormSkin::PaintBG3(HDC DC) {
  if (!DC || !FSD || FSD->Empty) return;
  TBitmap* P = SkinActivePicture(FSD, FSD->MDIBGPictureIndex);
  if (!P) return;
  FormSkinDCCanvas C(DC);
  LayBackground(C.get(), P, FSD->MDIBGStretchEffect, FSD->MDIBGStretchType);
}

void TspFormSkin::BuildFrameImage(TBitmap* Dest, TBitmap* Source) {
  const TspSkinData& S = *FSD;
  CreateSkinImage(S.LTPoint, S.RTPoint, S.LBPoint, S.RBPoint, S.ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                  NewRBPoint, NewClRect, Dest, Source, Rect(0, 0, Source->Width(), Source->Height()), FFormWidth,
                  FFormHeight, true, S.LeftStretch, S.TopStretch, S.RightStretch, S.BottomStretch, S.StretchEffect,
                  S.StretchType);
}

void TspFormSkin::DrawSizeGrip(TCanvas* C) {
  if (!FSD || FSD->StatusBarName.empty()) return;
  const Integer I = FSD->GetControlIndex(FSD->StatusBarName);
  if (I == -1) return;
  auto* D = dynamic_cast<TspDataSkinPanelControl*>(FSD->CtrlList.Items(I));
  if (!D || IsNullRect(D->GripperRect)) return;
  TBitmap* P = SkinActivePicture(FSD, D->PictureIndex);
  if (!P) return;
  auto G = CreateControlImage(RectWidth(D->GripperRect), RectHeight(D->GripperRect));
  G->Canvas()->CopyRect(Rect(0, 0, G->Width(), G->Height()), P->Canvas(), D->GripperRect);
  if (D->GripperTransparent) {
    G->SetTransparentMode(tmFixed);
    G->SetTransparentColor(D->GripperTransparentColor);
    G->SetTransparent(true);
  }
  C->Draw(FSizeGripArea.Left, FSizeGripArea.Top, G.get());
}

void TspFormSkin::Paint(HDC DC) {
  if (!DC) return;
  if (FFormWidth == 0) FFormWidth = FForm->Width();
  if (FFormHeight == 0) FFormHeight = FForm->Height();
  FormSkinDCCanvas C(DC);
  if (!FSD || FSD->Empty) {
    C->Brush()->SetColor(clBtnFace);
    C->Pen()->SetColor(clBlack);
    C->Rectangle(FForm->ClientRect());
    return;
  }
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  TBitmap* RollUp = FSD->FRollUpPicture.get();
  if (!FRollUpState || !RollUp || RollUp->Empty()) {
    if (FSD->LTPoint.X != 0 || FSD->LTPoint.Y != 0 || FSD->RBPoint.X != 0 || FSD->RBPoint.Y != 0)
      BuildFrameImage(B.get(), FSD->FPicture.get());
    else
      B->Assign(FSD->FPicture.get());
  } else if (FSD->RollUpLeftPoint.X < FSD->RollUpRightPoint.X) {
    CreateHSkinImage(FSD->RollUpLeftPoint.X, RollUp->Width() - FSD->RollUpRightPoint.X, B.get(), RollUp,
                     Rect(0, 0, RollUp->Width(), RollUp->Height()), FFormWidth, RollUp->Height(), false);
  } else {
    B->Assign(RollUp);
  }
  for (TspActiveSkinObject* O : ObjectList)
    if (O->RollUp == FRollUpState && O->Visible) O->Draw(B->Canvas(), false);
  if (FWindowState == wsNormal) DrawSizeGrip(B->Canvas());
  C->Draw(0, 0, B.get());
}
