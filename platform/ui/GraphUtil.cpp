#include "platform/ui/GraphUtil.h"

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, Integer Width) {
  TBrush* brush = Canvas->Brush();
  const TColor savedColor = brush->Color();
  const TBrushStyle savedStyle = brush->Style();
  brush->SetStyle(bsSolid);
  for (Integer ring = 0; ring < Width; ++ring) {
    const TRect r = Rect;
    Rect = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    if (r.Right - r.Left <= 0 || r.Bottom - r.Top <= 0) continue;  // nothing left to frame
    brush->SetColor(TopColor);
    Canvas->FillRect(TRect{r.Left, r.Top, r.Right - 1, r.Top + 1});
    Canvas->FillRect(TRect{r.Left, r.Top, r.Left + 1, r.Bottom - 1});
    brush->SetColor(BottomColor);
    Canvas->FillRect(TRect{r.Right - 1, r.Top, r.Right, r.Bottom});
    Canvas->FillRect(TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom});
  }
  brush->SetColor(savedColor);
  brush->SetStyle(savedStyle);
}
