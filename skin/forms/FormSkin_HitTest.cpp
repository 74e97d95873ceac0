// The non-client hit test of the frame: sizing edges and corners computed from the skin's
// hit-test points and the shape of its mask, the caption, the client area and the skin
// objects; and the same for the plain default frame and for a client-mode window.
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/win/Messages.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinObjects.h"
#include "skin/forms/FormSkinQuickButtons.h"

namespace {

// The sizing code of a point near an edge of the skin frame, by the hit-test corner points
// and the client rectangle; HTNOWHERE when no rule matches.
LRESULT SkinSizingCode(const TspFormSkin& S, const TPoint& P, Integer W, Integer H) {
  const TPoint LT = S.NewHitTestLTPoint, RT = S.NewHitTestRTPoint;
  const TPoint LB = S.NewHitTestLBPoint, RB = S.NewHitTestRBPoint;
  const TRect& Cl = S.NewClRect;
  if (P.X <= LT.X && P.Y <= LT.Y) return HTTOPLEFT;
  if (P.X >= RT.X && P.Y <= RT.Y) return HTTOPRIGHT;
  if (P.X <= LB.X && P.Y >= LB.Y) return HTBOTTOMLEFT;
  if (P.X >= RB.X && P.Y >= RB.Y) return HTBOTTOMRIGHT;
  const TRect Top = Rect(LT.X, 0, RT.X, Cl.Top);
  if (PtInRect(&Top, P)) return HTTOP;
  const TRect Bottom = Rect(LB.X, Cl.Bottom, RB.X, H);
  if (PtInRect(&Bottom, P)) return HTBOTTOM;
  const TRect Left = Rect(0, LT.Y, Cl.Left, LB.Y);
  if (PtInRect(&Left, P)) return HTLEFT;
  const TRect Right = Rect(Cl.Right, RT.Y, W, RB.Y);
  if (PtInRect(&Right, P)) return HTRIGHT;
  return HTNOWHERE;
}

// Pixel (X, Y) of a mask strip; -1 outside it.
TColor SkinMaskStripPixel(TBitmap* Strip, Integer X, Integer Y) {
  if (!Strip || Strip->Empty() || X < 0 || Y < 0 || X >= Strip->Width() || Y >= Strip->Height())
    return static_cast<TColor>(-1);
  return Strip->Canvas()->Pixels(X, Y);
}

}  // namespace

Boolean TspFormSkin::PointInFrameMask(TPoint P) {
  if (PtInRect(&NewMaskRectArea, P)) return true;
  const TRect& M = NewMaskRectArea;
  TColor C;
  if (P.Y <= M.Top)
    C = SkinMaskStripPixel(RMTop.get(), P.X, P.Y);
  else if (P.Y >= M.Bottom)
    C = SkinMaskStripPixel(RMBottom.get(), P.X, P.Y - M.Bottom);
  else if (P.X <= M.Left)
    C = SkinMaskStripPixel(RMLeft.get(), P.X, P.Y - M.Top);
  else
    C = SkinMaskStripPixel(RMRight.get(), P.X - M.Right, P.Y - M.Top);
  return C == BlackColor;
}

Boolean TspFormSkin::NearSizingEdge(TPoint P) {
  const Integer W = FFormWidth, H = FFormHeight;
  const Integer BW = FSD ? FSD->BorderW : 0;
  const TPoint Probes[4] = {Point(P.X - BW, P.Y), Point(P.X, P.Y - BW), Point(P.X + BW, P.Y),
                            Point(P.X, P.Y + BW)};
  const Boolean Masked = FSD && FSD->FMask && !FSD->FMask->Empty();
  if (!Masked) {
    const TRect Frame = Rect(0, 0, W, H);
    for (const TPoint& Q : Probes)
      if (!PtInRect(&Frame, Q)) return true;
    return false;
  }
  if (PtInRect(&NewMaskRectArea, P)) return false;
  for (const TPoint& Q : Probes)
    if (!PointInFrameMask(Q)) return true;
  return false;
}

Boolean TspFormSkin::PointOnCaption(TPoint P) {
  for (Integer I = 0; I < ObjectCount(); ++I) {
    auto* C = dynamic_cast<TspSkinCaptionObject*>(ObjectAt(I));
    if (!C || !RollUpObjectVisible(C->RollUp) || !PtInRect(&C->ObjectRect, P)) continue;
    // The part of the caption's left that holds the quick buttons is no caption.
    if (FQuickButtons->Count() > 0 && FQuickImageList &&
        P.X < C->ObjectRect.Left + FQuickButtons->Count() * (FQuickImageList->Width() + 8))
      return false;
    return true;
  }
  return false;
}

LRESULT TspFormSkin::SkinNCHitTest(TPoint P) {
  const Boolean OnCaption = PointOnCaption(P);
  if (FRollUpState || FWindowState == wsMinimized) return OnCaption ? HTCAPTION : HTOBJECT;
  const Boolean InClient = PtInRect(&NewClRect, P);
  if (ActiveObject != -1 && !OnCaption && !InClient && !FSizeMove) return HTOBJECT;
  const LRESULT Outside = InClient ? HTCLIENT : OnCaption ? HTCAPTION : HTOBJECT;
  if (FWindowState == wsMaximized || !FSizeable) return Outside;
  if (!NearSizingEdge(P)) return Outside;
  const LRESULT Code = SkinSizingCode(*this, P, FFormWidth, FFormHeight);
  return Code != HTNOWHERE ? Code : Outside;
}

LRESULT TspFormSkin::DefaultNCHitTest(TPoint P) {
  const Integer W = FFormWidth, H = FFormHeight;
  const Integer CH = GetDefCaptionHeight();
  TRect Caption;
  GetDefCaptionRect(Caption);
  const TRect Client = Rect(3, CH + 3, W - 3, H - 3);
  const LRESULT Inside = PtInRect(&Caption, P) ? HTCAPTION : PtInRect(&Client, P) ? HTCLIENT : HTOBJECT;
  if (FWindowState == wsMaximized || FWindowState == wsMinimized || FRollUpState || !FSizeable)
    return Inside;
  if (ActiveObject != -1) return HTOBJECT;
  const Integer X = P.X, Y = P.Y;
  if (X <= 2 && Y <= 2) return HTTOPLEFT;
  if (X >= W - 2 && Y <= 2) return HTTOPRIGHT;
  if (X <= 2 && Y >= H - 2) return HTBOTTOMLEFT;
  if (X >= W - 2 && Y >= H - 2) return HTBOTTOMRIGHT;
  if (X <= 2) return HTLEFT;
  if (Y <= 2) return HTTOP;
  if (X >= W - 2) return HTRIGHT;
  if (Y >= H - 2) return HTBOTTOM;
  return Inside;
}

LRESULT TspFormSkin::ClientModeHitTest(TPoint P) {
  if (!FSizeable || FWindowState == wsMaximized || FRollUpState || ActiveObject != -1 || !FSD ||
      FSD->Empty)
    return HTCLIENT;
  if (!IsNullRect(FSizeGripArea) && PtInRect(&FSizeGripArea, P)) return HTBOTTOMRIGHT;
  if (!NearSizingEdge(P)) return HTCLIENT;
  const LRESULT Code = SkinSizingCode(*this, P, FFormWidth, FFormHeight);
  return Code != HTNOWHERE ? Code : HTCLIENT;
}
