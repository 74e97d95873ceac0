// The skin's edit button ("editbutton", else "resizebutton") composed at any size, as the
// skinned edit's stretched frame and the spin edit draw their buttons.
#include "skin/controls/SkinBoxCtrls.h"

void DrawSkinEditButton(TCanvas* C, TspSkinData* SD, const TRect& R, Boolean Pressed, Boolean Hot,
                        Integer ArrowDirection) {
  const Integer W = RectWidth(R), H = RectHeight(R);
  if (W <= 0 || H <= 0 || !SD || SD->Empty) return;
  Integer I = SD->GetControlIndex("editbutton");
  if (I == -1) I = SD->GetControlIndex("resizebutton");
  auto* D = I == -1 ? nullptr : dynamic_cast<TspDataSkinButtonControl*>(SD->CtrlList.Items(I));
  auto Bmp = CreateControlImage(W, H);
  if (!D) {
    if (ArrowDirection) C->Draw(R.Left, R.Top, Bmp.get());
    return;
  }
  const TRect Active = IsNullRect(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
  const TRect Down = IsNullRect(D->DownSkinRect) ? Active : D->DownSkinRect;
  const TRect Src = Pressed ? Down : Hot ? Active : D->SkinRect;
  const Integer DX = W - RectWidth(D->SkinRect), DY = H - RectHeight(D->SkinRect);
  const TRect NewCl = Rect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DX, D->ClRect.Bottom + DY);
  if (TBitmap* Source = SkinActivePicture(SD, D->PictureIndex))
    CreateSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                    Point(D->RTPoint.X + DX, D->RTPoint.Y), Point(D->LBPoint.X, D->LBPoint.Y + DY),
                    Point(D->RBPoint.X + DX, D->RBPoint.Y + DY), NewCl, Bmp.get(), Source, Src, W, H, true,
                    D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch, D->StretchEffect,
                    D->StretchType);
  C->Draw(R.Left, R.Top, Bmp.get());
  if (!ArrowDirection) return;
  TRect A = R;
  if (Pressed) {
    A.Left += 2;
    A.Top += 2;
  }
  DrawArrow(C, A, Pressed ? D->DownFontColor : Hot ? D->ActiveFontColor : D->FontColor, ArrowDirection);
}
