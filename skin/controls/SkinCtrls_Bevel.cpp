// The skinned bevel: edge colours from the skin, the platform's shapes and the divider.
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

void BevelEdgeRect(TCanvas* C, const TRect& R, TColor First, TColor Second) {
  C->Pen()->SetColor(First);
  C->Polyline({Point(R.Left, R.Bottom), Point(R.Left, R.Top), Point(R.Right, R.Top)});
  C->Pen()->SetColor(Second);
  C->Polyline({Point(R.Right, R.Top), Point(R.Right, R.Bottom), Point(R.Left, R.Bottom)});
}

void BevelLine(TCanvas* C, TColor Colour, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  C->Pen()->SetColor(Colour);
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

}  // namespace

TspSkinBevel::TspSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

void TspSkinBevel::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) Value->FreeNotification(this);
  ChangeSkinData();
}

void TspSkinBevel::SetDividerMode(Boolean Value) {
  FDividerMode = Value;
  Repaint();
}

void TspSkinBevel::Notification(TComponent* AComponent, TOperation Operation) {
  TBevel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TspSkinBevel::ChangeSkinData() {
  FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
  if (FIndex == -1) {
    LightColor = clBtnHighlight;
    DarkColor = clBtnShadow;
  } else if (auto* D = dynamic_cast<TspDataSkinBevel*>(FSD->CtrlList.Items(FIndex))) {
    LightColor = D->LightColor;
    DarkColor = D->DarkColor;
  }
  Repaint();
}

void TspSkinBevel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  // In a tool bar a bevel stays centred across the bar, whether or not the bar lines up
  // its other controls.
  if (auto* Bar = dynamic_cast<TspSkinToolBar*>(Parent())) {
    TRect ToolClient;
    Bar->GetSkinClientRect(ToolClient);
    ATop = ToolClient.Top + RectHeight(ToolClient) / 2 - AHeight / 2;
  }
  TBevel::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TspSkinBevel::Paint() {
  TCanvas* C = Canvas();
  if (ComponentState().Contains(csDesigning)) {
    if (Shape() == bsSpacer) {
      C->Pen()->SetStyle(psDot);
      C->Pen()->SetMode(pmXor);
      C->Pen()->SetColor(static_cast<TColor>(0x00FFD8CE));
      C->Brush()->SetStyle(bsClear);
      C->Rectangle(0, 0, ClientWidth(), ClientHeight());
      return;
    }
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetMode(pmCopy);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetStyle(bsSolid);
  }
  C->Pen()->SetWidth(1);
  const TColor Color1 = Style() == bsLowered ? DarkColor : LightColor;
  const TColor Color2 = Style() == bsLowered ? LightColor : DarkColor;
  const Integer W = Width(), H = Height();
  if (FDividerMode) {
    switch (Shape()) {
      case bsTopLine:
      case bsBottomLine:
        BevelEdgeRect(C, Rect(2, H / 2 - 1, W - 2, H / 2), Color1, Color2);
        break;
      case bsSpacer:
        break;
      default:
        BevelEdgeRect(C, Rect(W / 2 - 1, 2, W / 2, H - 2), Color1, Color2);
        break;
    }
    return;
  }
  switch (Shape()) {
    case bsBox:
      BevelEdgeRect(C, Rect(0, 0, W - 1, H - 1), Color1, Color2);
      break;
    case bsFrame:
      BevelEdgeRect(C, Rect(1, 1, W - 1, H - 1), Color2, Color2);
      BevelEdgeRect(C, Rect(0, 0, W - 2, H - 2), Color1, Color1);
      break;
    case bsTopLine:
      BevelLine(C, Color1, 0, 0, W, 0);
      BevelLine(C, Color2, 0, 1, W, 1);
      break;
    case bsBottomLine:
      BevelLine(C, Color1, 0, H - 2, W, H - 2);
      BevelLine(C, Color2, 0, H - 1, W, H - 1);
      break;
    case bsLeftLine:
      BevelLine(C, Color1, 0, 0, 0, H);
      BevelLine(C, Color2, 1, 0, 1, H);
      break;
    case bsRightLine:
      BevelLine(C, Color1, W - 2, 0, W - 2, H);
      BevelLine(C, Color2, W - 1, 0, W - 1, H);
      break;
    case bsSpacer:
      break;
  }
}
