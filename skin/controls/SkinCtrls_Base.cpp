// The windowed skinned control: descriptor lookup, off-screen painting, blending with
// what lies behind it and the skin-change steps.
#include <memory>

#include "platform/win/Gdi.h"
#include "platform/win/MessageQueue.h"
#include "skin/controls/SkinCtrls.h"


TspSkinControl::TspSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}

void TspSkinControl::SetHintImageList(TCustomImageList* Value) {
  FHintImageList = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinControl::SetAlphaBlend(Boolean Value) {
  FAlphaBlend = Value;
  Repaint();
}

void TspSkinControl::SetAlphaBlendValue(Byte Value) {
  FAlphaBlendValue = Value;
  Repaint();
}

void TspSkinControl::GetSkinData() {
  if (!FSD || FSD->Empty)
    FIndex = -1;
  else
    FIndex = FSD->GetControlIndex(FSkinDataName);
}

void TspSkinControl::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) Value->FreeNotification(this);
  if (Value && !Value->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TspSkinControl::SetSkinDataName(const String& Value) { FSkinDataName = Value; }

void TspSkinControl::DrawDefaultImage(TBitmap*) {}

void TspSkinControl::DrawSkinImage(TBitmap*) {}

void TspSkinControl::ApplySkinCursor() {
  if (!FUseSkinCursor) return;
  if (CursorIndex == -1)
    SetCursor(crDefault);
  else if (FSD)
    SetCursor(static_cast<TCursor>(FSD->StartCursorIndex + CursorIndex));
}

void TspSkinControl::ChangeSkinData() {
  GetSkinData();
  ApplySkinCursor();
  Repaint();
}

void TspSkinControl::BeforeChangeSkinData() { FIndex = -1; }

void TspSkinControl::CheckParentBackground() {
  if (!FAlphaBlend) return;
  Repaint();
  CheckControlsBackground();
}

void TspSkinControl::CheckControlsBackground() {
  for (Integer I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    if (auto* W = dynamic_cast<TWinControl*>(C))
      SendMessage(W->Handle(), WM_SKIN_CHECK_PARENT_BACKGROUND, 0, 0);
    else if (dynamic_cast<TGraphicControl*>(C))
      C->Perform(WM_SKIN_CHECK_PARENT_BACKGROUND, 0, 0);
  }
}

void TspSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FHintImageList) FHintImageList = nullptr;
}

void TspSkinControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(Width(), Height());
  if (FIndex != -1)
    DrawSkinImage(B.get());
  else if (FDrawDefault)
    DrawDefaultImage(B.get());
  if (!FAlphaBlend)
    Canvas()->Draw(0, 0, B.get());
  else
    DrawBlendedOverBackground(this, B.get(), FAlphaBlendValue, Canvas());
}

void TspSkinControl::PaintWholeImageTo(HDC DC) {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(Width(), Height());
  if (FIndex != -1)
    DrawSkinImage(B.get());
  else if (FDrawDefault)
    DrawDefaultImage(B.get());
  auto C = CreateOwned<TCanvas>();
  C->SetHandle(DC);
  C->Draw(0, 0, B.get());
  C->SetHandle(nullptr);
}

void TspSkinControl::PaintWholeImageWithEdit(HDC DC, TWinControl* Edit) {
  PaintWholeImageTo(DC);
  if (!Edit || !Edit->HandleAllocated() || !Edit->Visible()) return;
  const vantrel::win::SavedDC Saved(DC);
  SetViewportOrgEx(DC, Edit->Left(), Edit->Top(), nullptr);
  IntersectClipRect(DC, 0, 0, Edit->Width(), Edit->Height());
  SendMessage(Edit->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
}

void TspSkinControl::WMPaint(TWMPaint& Message) {
  FromWMPaint = true;
  try {
    TCustomControl::WMPaint(Message);
  } catch (...) {
    FromWMPaint = false;
    throw;
  }
  FromWMPaint = false;
}

void TspSkinControl::CMMouseEnter(TWMNoParams& Message) {
  TCustomControl::CMMouseEnter(Message);
  if (!ComponentState().Contains(csDesigning) && OnMouseEnter) OnMouseEnter(this);
}

void TspSkinControl::CMMouseLeave(TWMNoParams& Message) {
  TCustomControl::CMMouseLeave(Message);
  if (!ComponentState().Contains(csDesigning) && OnMouseLeave) OnMouseLeave(this);
}

void TspSkinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_MOVE:
      TCustomControl::Dispatch(Message);
      if (FAlphaBlend) Repaint();
      return;
    case WM_SKIN_CHECK_PARENT_BACKGROUND:
      CheckParentBackground();
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}
