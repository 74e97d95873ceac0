// The windowless skinned controls: the same lookup, fitting and off-screen painting as
// the windowed ones, drawn inside the parent's window.
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"

TspGraphicSkinControl::TspGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {}

void TspGraphicSkinControl::SetHintImageList(TCustomImageList* Value) {
  FHintImageList = Value;
  if (Value) Value->FreeNotification(this);
}

void TspGraphicSkinControl::SetAlphaBlend(Boolean Value) {
  FAlphaBlend = Value;
  Repaint();
}

void TspGraphicSkinControl::SetAlphaBlendValue(Byte Value) {
  FAlphaBlendValue = Value;
  Repaint();
}

void TspGraphicSkinControl::GetSkinData() {
  if (!FSD || FSD->Empty)
    FIndex = -1;
  else
    FIndex = FSD->GetControlIndex(FSkinDataName);
}

void TspGraphicSkinControl::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) Value->FreeNotification(this);
  if (Value && !Value->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TspGraphicSkinControl::DrawDefaultImage(TBitmap*) {}

void TspGraphicSkinControl::DrawSkinImage(TBitmap*) {}

void TspGraphicSkinControl::ApplySkinCursor() {
  if (!FUseSkinCursor) return;
  if (CursorIndex == -1)
    SetCursor(crDefault);
  else if (FSD)
    SetCursor(static_cast<TCursor>(FSD->StartCursorIndex + CursorIndex));
}

void TspGraphicSkinControl::ChangeSkinData() {
  GetSkinData();
  ApplySkinCursor();
  Repaint();
}

void TspGraphicSkinControl::BeforeChangeSkinData() { FIndex = -1; }

void TspGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FHintImageList) FHintImageList = nullptr;
}

void TspGraphicSkinControl::Paint() {
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

void TspGraphicSkinControl::CMMouseEnter(TWMNoParams& Message) {
  TGraphicControl::CMMouseEnter(Message);
  if (!ComponentState().Contains(csDesigning) && OnMouseEnter) OnMouseEnter(this);
}

void TspGraphicSkinControl::CMMouseLeave(TWMNoParams& Message) {
  TGraphicControl::CMMouseLeave(Message);
  if (!ComponentState().Contains(csDesigning) && OnMouseLeave) OnMouseLeave(this);
}

void TspGraphicSkinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_MOVE:
      TGraphicControl::Dispatch(Message);
      if (FAlphaBlend) Repaint();
      return;
    case WM_SKIN_CHECK_PARENT_BACKGROUND:
      if (FAlphaBlend) Repaint();
      return;
    default:
      TGraphicControl::Dispatch(Message);
  }
}

// ---------------------------------------------------------------------------------------

TspGraphicSkinCustomControl::TspGraphicSkinCustomControl(TComponent* AOwner) : TspGraphicSkinControl(AOwner) {
  FDefaultFont = std::make_unique<TFont>();
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
  FDefaultFont->OnChange = [this](TObject*) {
    DefaultFontChanged();
    if (FIndex == -1) Repaint();
  };
}

void TspGraphicSkinCustomControl::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TspGraphicSkinCustomControl::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TspGraphicSkinCustomControl::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  DefaultFontChanged();
}

void TspGraphicSkinCustomControl::DefaultFontChanged() {}

void TspGraphicSkinCustomControl::GetSkinData() {
  TspGraphicSkinControl::GetSkinData();
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinCustomControl*>(FSD->CtrlList.Items(FIndex));
  if (!D) {
    ResizeMode = 0;
    Picture = nullptr;
    return;
  }
  // The client stretch kind stays full: a windowless control does not take it.
  CopyGeometryFrom(*D, false);
  CursorIndex = D->CursorIndex;
  Picture = SkinActivePicture(FSD, D->PictureIndex);
  ResizeMode = CalcResizeMode();
}

void TspGraphicSkinCustomControl::CalcSize(Integer& AWidth, Integer& AHeight) {
  FitGeometry(FIndex != -1, AWidth, AHeight);
}

void TspGraphicSkinCustomControl::CreateSkinControlImage(TBitmap* B, TBitmap* SkinPicture, const TRect& R) {
  ComposeImage(B, SkinPicture, R, Width(), Height(), true);
}

void TspGraphicSkinCustomControl::DrawSkinImage(TBitmap* B) { CreateSkinControlImage(B, Picture, SkinRect); }

void TspGraphicSkinCustomControl::DrawDefaultImage(TBitmap* B) {
  B->Canvas()->Brush()->SetColor(clBtnFace);
  B->Canvas()->FillRect(Rect(0, 0, B->Width(), B->Height()));
}

void TspGraphicSkinCustomControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  const bool Fitted = FIndex != -1 && (AWidth != Width() || AHeight != Height());
  if (Fitted) {
    CalcSize(AWidth, AHeight);
    if (ResizeMode == 0) NewClRect = ClRect;
  }
  TRect ToolClient;
  if (SkinToolBarCentring(Parent(), ToolClient))
    ATop = ToolClient.Top + RectHeight(ToolClient) / 2 - AHeight / 2;
  TspGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Fitted) Repaint();
}

void TspGraphicSkinCustomControl::ChangeSkinData() {
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
  if (!SizeChanged) Repaint();
}
