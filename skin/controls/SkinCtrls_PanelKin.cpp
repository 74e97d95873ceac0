// The panel's small descendants: the paint panel, the group box and the status bar with
// its size grip.
#include "platform/win/MessageQueue.h"
#include "platform/win/WndProc.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"

TspSkinPaintPanel::TspSkinPaintPanel(TComponent* AOwner) : TspSkinPanel(AOwner) { FForceBackground = false; }

void TspSkinPaintPanel::DrawDefaultImage(TBitmap* B) {
  TspSkinPanel::DrawDefaultImage(B);
  PaintClientArea(B->Canvas());
}

void TspSkinPaintPanel::DrawSkinImage(TBitmap* B) {
  TspSkinPanel::DrawSkinImage(B);
  PaintClientArea(B->Canvas());
}

void TspSkinPaintPanel::PaintClientArea(TCanvas* Cnvs) {
  if (!OnPanelPaint) return;
  TRect R;
  GetSkinClientRect(R);
  OnPanelPaint(Cnvs, R);
}

void TspSkinPaintPanel::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND && !FromWMPaint) {
    PaintWholeImageTo(reinterpret_cast<HDC>(Message.WParam));
    Message.Result = 1;
    return;
  }
  TspSkinPanel::Dispatch(Message);
}

// ---------------------------------------------------------------------------------------

TspSkinGroupBox::TspSkinGroupBox(TComponent* AOwner) : TspSkinPanel(AOwner) {
  FSkinDataName = "groupbox";
  SetCaptionMode(true);
}

void TspSkinGroupBox::GetSkinData() {
  TspSkinPanel::GetSkinData();
  if (FIndex != -1 && ClRect.Bottom < CaptionRect.Top) FForceBackground = false;
}

// ---------------------------------------------------------------------------------------

TspSkinStatusBar::TspSkinStatusBar(TComponent* AOwner) : TspSkinPanel(AOwner) {
  FSkinDataName = "statusbar";
  SetAlign(alBottom);
  SetHeight(21);
  FBorderStyle = bvNone;
  FForceBackground = false;
}

void TspSkinStatusBar::SetSizeGrip(Boolean Value) {
  FSizeGrip = Value;
  Repaint();
  Realign();
}

void TspSkinStatusBar::SetShowGrip(Boolean Value) {
  FShowGrip = Value;
  Repaint();
  Realign();
}

void TspSkinStatusBar::GetSkinData() {
  TspSkinPanel::GetSkinData();
  if (FIndex == -1) return;
  if (auto* D = dynamic_cast<TspDataSkinPanelControl*>(FSD->CtrlList.Items(FIndex))) {
    GripperRect = D->GripperRect;
    GripperTransparent = D->GripperTransparent;
    GripperTransparentColor = D->GripperTransparentColor;
  }
}

void TspSkinStatusBar::SetSkinData(TspSkinData* Value) {
  TspSkinPanel::SetSkinData(Value);
  for (Integer I = 0; I < ControlCount(); ++I)
    if (auto* C = dynamic_cast<TspSkinControl*>(Controls(I))) C->SetSkinData(Value);
}

void TspSkinStatusBar::AdjustClientRect(TRect& R) {
  TspSkinPanel::AdjustClientRect(R);
  if (!FSizeGrip || !FShowGrip) return;
  if (FIndex != -1 && !IsNullRect(GripperRect))
    R.Right -= RectWidth(GripperRect);
  else
    R.Right -= RectHeight(R);
}

TRect TspSkinStatusBar::GripRect() {
  TRect R;
  GetSkinClientRect(R);
  if (FIndex != -1 && !IsNullRect(GripperRect))
    return Rect(R.Right, R.Bottom - RectHeight(GripperRect), R.Right + RectWidth(GripperRect), R.Bottom);
  return Rect(R.Right + 2, R.Top, R.Right + RectHeight(R), R.Bottom - 2);
}

void TspSkinStatusBar::DrawGripLines(TCanvas* C, const TRect& G, TColor Dark, TColor Light) {
  for (Integer K = 0; K <= RectWidth(G) / 3; ++K) {
    const Integer Off = 3 + 3 * K;
    if (G.Left + Off + 2 > G.Right) break;
    C->Pen()->SetColor(Dark);
    C->MoveTo(G.Left + Off, G.Bottom);
    C->LineTo(G.Right, G.Top + Off);
    C->Pen()->SetColor(Light);
    C->MoveTo(G.Left + Off + 1, G.Bottom);
    C->LineTo(G.Right, G.Top + Off + 1);
  }
}

void TspSkinStatusBar::DrawDefaultImage(TBitmap* B) {
  TspSkinPanel::DrawDefaultImage(B);
  if (FSizeGrip && FShowGrip) DrawGripLines(B->Canvas(), GripRect(), clBtnShadow, clBtnHighlight);
}

void TspSkinStatusBar::DrawSkinImage(TBitmap* B) {
  TspSkinPanel::DrawSkinImage(B);
  if (!FSizeGrip || !FShowGrip) return;
  const TRect G = GripRect();
  if (IsNullRect(GripperRect) || !Picture) {
    DrawGripLines(B->Canvas(), G, FSD->SkinColors()->cBtnShadow(), FSD->SkinColors()->cBtnHighLight());
    return;
  }
  auto Grip = CreateOwned<TBitmap>();
  Grip->SetPixelFormat(pf24bit);
  Grip->SetSize(RectWidth(GripperRect), RectHeight(GripperRect));
  Grip->Canvas()->CopyRect(Rect(0, 0, Grip->Width(), Grip->Height()), Picture->Canvas(), GripperRect);
  if (GripperTransparent) {
    Grip->SetTransparent(true);
    Grip->SetTransparentMode(tmFixed);
    Grip->SetTransparentColor(GripperTransparentColor);
  }
  B->Canvas()->Draw(G.Left, G.Top, Grip.get());
}

void TspSkinStatusBar::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_NCLBUTTONDOWN && static_cast<LRESULT>(Message.WParam) == HTBOTTOMRIGHT) {
    // The grip sizes the form the bar sits on, not the bar.
    if (TWinControl* Top = TopLevelControl(this); Top && Top != this) {
      SendMessage(Top->Handle(), WM_NCLBUTTONDOWN, Message.WParam, Message.LParam);
      Message.Result = 0;
      return;
    }
  }
  if (Message.Msg != WM_NCHITTEST || ComponentState().Contains(csDesigning) || !FSizeGrip || !FShowGrip) {
    TspSkinPanel::Dispatch(Message);
    return;
  }
  const TPoint P = ScreenToClient(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
  const TRect G = GripRect();
  const bool InGrip = P.X >= G.Left && P.X <= G.Right && P.Y >= G.Top && P.Y <= G.Bottom;
  Message.Result = InGrip ? HTBOTTOMRIGHT : HTCLIENT;
}
