// The windowed skinned control: descriptor lookup, off-screen painting, blending with
// what lies behind it and the skin-change steps.
#include <algorithm>
#include <cstdint>
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

void TspSkinControl::ComposeWholeImage(const std::function<void(TBitmap*)>& Draw) {
  // Every paint draws on a bitmap of its own, white at the control's size; only its
  // pixels come from the last paint when they fit (a paint within a paint of the same
  // control finds none and makes new ones).
  auto B = CreateOwned<TBitmap>();
  const Integer W = Width(), H = Height();
  if (FImagePixels && FImagePixels->Width() == W && FImagePixels->Height() == H &&
      FImagePixels->PixelFormat() == pf32bit) {
    B->SetHandle(FImagePixels->ReleaseHandle());
    for (Integer Y = 0; Y < H; ++Y) std::fill_n(static_cast<uint32_t*>(B->ScanLine(Y)), W, 0x00FFFFFFu);
  } else {
    B->SetPixelFormat(pf32bit);
    B->SetSize(W, H);
  }
  if (FIndex != -1)
    DrawSkinImage(B.get());
  else if (FDrawDefault)
    DrawDefaultImage(B.get());
  Draw(B.get());
  if (!FImagePixels) FImagePixels = CreateOwned<TBitmap>();
  FImagePixels->SetHandle(B->ReleaseHandle());
}

void TspSkinControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  ComposeWholeImage([this](TBitmap* B) {
    if (!FAlphaBlend)
      Canvas()->Draw(0, 0, B);
    else
      DrawBlendedOverBackground(this, B, FAlphaBlendValue, Canvas());
  });
}

void TspSkinControl::PaintWholeImageTo(HDC DC) {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  ComposeWholeImage([DC](TBitmap* B) {
    auto C = CreateOwned<TCanvas>();
    C->SetHandle(DC);
    C->Draw(0, 0, B);
    C->SetHandle(nullptr);
  });
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
