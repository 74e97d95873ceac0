// The plain look shared by the self-drawn buttons, thumbs and sliders.
#include "platform/ui/GraphUtil.h"
#include "skin/controls/SkinCtrls.h"

void DrawPlainFace(TCanvas* C, const TRect& R, TspPlainFaceState State) {
  TColor Frame = clBtnShadow, Fill = clBtnFace;
  if (State == spfsPressed) {
    Frame = clNavy;
    Fill = static_cast<TColor>(0xB59385);
  } else if (State == spfsHot) {
    Frame = clNavy;
    Fill = static_cast<TColor>(0xD2BDB6);
  }
  TRect Inner = R;
  Frame3D(C, Inner, Frame, Frame, 1);
  C->Brush()->SetColor(Fill);
  C->FillRect(Inner);
}
