// The layered border: its pictures from the skin, the four side images for a size, the
// side windows placed around the form, alpha, activation and the blur regions.
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"
#include <algorithm>
#include <cmath>

#include "platform/win/Layered.h"
#include "platform/win/Timers.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinCaption.h"
#include "skin/forms/FormSkinFrameObjects.h"
#include "skin/forms/FormSkinLayerBorder.h"
#include "skin/forms/FormSkinQuickButtons.h"

using namespace vantrel::skin;

namespace {

// A 32-bit copy of a skin picture with its alpha from a mask's grey; a frame without a
// mask picture is opaque.
TOwned<TspBitmap> LayerFramePicture(TspSkinData* SD, Integer Index, Integer MaskIndex) {
  TBitmap* Pic = SkinActivePicture(SD, Index);
  if (!Pic) return nullptr;
  auto B = CreateOwned<TspBitmap>();
  B->Assign(Pic);
  TBitmap* Mask = MaskIndex != -1 ? SkinActivePicture(SD, MaskIndex) : nullptr;
  if (Mask) {
    auto M = CreateOwned<TspBitmap>();
    M->Assign(Mask);
    SetAlphaFromGray(B.get(), M.get());
  } else {
    B->SetAlpha(255);
  }
  B->CheckingAlphaBlend();
  return B;
}

// A band of Dest's width from Src's rows Top..Top + H: the ends copied 1:1, the middle
// between LeftX and RightX stretched between them.
void CopyLayerBand(TspBitmap* Src, TspBitmap* Dest, Integer Top, Integer H, Integer LeftX, Integer RightX) {
  const Integer SW = Src->Width(), AW = Dest->Width();
  const Integer RightPart = SW - RightX;
  if (LeftX > 0) Src->Draw(Dest, Rect(0, 0, LeftX, H), Rect(0, Top, LeftX, Top + H));
  if (RightPart > 0) Src->Draw(Dest, Rect(AW - RightPart, 0, AW, H), Rect(RightX, Top, SW, Top + H));
  if (RightX > LeftX && AW - RightPart > LeftX)
    Src->Draw(Dest, Rect(LeftX, 0, AW - RightPart, H), Rect(LeftX, Top, RightX, Top + H));
}

// A side column of Dest's size from Src's columns SrcLeft.. and rows Top..Bottom,
// stretched or tiled downwards. Without rows to tile the column stays empty.
void CopyLayerColumn(TspBitmap* Src, TspBitmap* Dest, Integer SrcLeft, Integer Top, Integer Bottom, Boolean Stretch) {
  const TRect SrcR = Rect(SrcLeft, Top, SrcLeft + Dest->Width(), Bottom);
  if (Bottom <= Top || Dest->Width() <= 0) return;
  const TRect DstR = Rect(0, 0, Dest->Width(), Dest->Height());
  if (Stretch)
    Src->Draw(Dest, DstR, SrcR);
  else
    Src->Tile(Dest, DstR, SrcR);
}

HRGN LayerMaskRegion(TBitmap* Mask, const TRect& Part, Integer OffsetX) {
  if (Part.Right <= Part.Left || Part.Bottom <= Part.Top) return nullptr;
  TBitmap Piece;
  Piece.SetPixelFormat(pf24bit);
  Piece.SetSize(Part.Right - Part.Left, Part.Bottom - Part.Top);
  Piece.Canvas()->CopyRect(Rect(0, 0, Piece.Width(), Piece.Height()), Mask->Canvas(), Part);
  TRegionData Data;
  const Integer Size = BuildMaskRegionData(&Piece, OffsetX, 0, Data);
  if (Size == 0) return nullptr;
  return ExtCreateRegion(nullptr, static_cast<DWORD>(Size), Data.get());
}

HRGN LayerRegionCopy(HRGN Src) {
  HRGN R = CreateRectRgn(0, 0, 0, 0);
  if (Src) CombineRgn(R, Src, nullptr, RGN_COPY);
  return R;
}

void LayerRegionDelete(HRGN& Rgn) {
  if (Rgn) DeleteObject(Rgn);
  Rgn = nullptr;
}

}  // namespace

TspFormLayerBorder::TspFormLayerBorder(TComponent* AOwner) : TComponent(AOwner) {
  DSF = dynamic_cast<TspFormSkin*>(AOwner);
  MouseTimer = ::Create<TTimer>(this);
  MouseTimer->SetEnabled(false);
  MouseTimer->SetInterval(500);
  MouseTimer->OnTimer = [this](TObject* Sender) { MouseTimerProc(Sender); };
}

TspFormLayerBorder::~TspFormLayerBorder() { DeleteRegions(); }

// The windows and the timer go before the owned components are torn down, so nothing of
// theirs calls back into a border on its way out.
void TspFormLayerBorder::BeforeDestruction() {
  *FAlive = false;
  FreeWindows();
  if (MouseTimer) FreeAndNil(MouseTimer);
  TComponent::BeforeDestruction();
}

void TspFormLayerBorder::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == MouseTimer) MouseTimer = nullptr;
  if (AComponent == LeftBorder) LeftBorder = nullptr;
  if (AComponent == TopBorder) TopBorder = nullptr;
  if (AComponent == RightBorder) RightBorder = nullptr;
  if (AComponent == BottomBorder) BottomBorder = nullptr;
}

void TspFormLayerBorder::DeleteRegions() {
  for (HRGN* R : {&DataRgn1, &DataRgn2, &DataRgn3, &DataRgn4, &TopRgn, &BottomRgn, &RightRgn, &LeftRgn})
    LayerRegionDelete(*R);
}

// A window in the middle of a drag step is only hidden and released: its handler is still
// on the stack and finds itself detached when the messages return.
void TspFormLayerBorder::FreeWindows() {
  for (TspFormLayerWindow** W : {&LeftBorder, &TopBorder, &RightBorder, &BottomBorder}) {
    TspFormLayerWindow* Win = *W;
    *W = nullptr;
    if (!Win) continue;
    Win->FLayerBorder = nullptr;  // a window on its way out calls nothing of the border
    if (Win->FInProcessMessages || Win->FDown) {
      if (Win->HandleAllocated()) ShowWindow(Win->Handle(), SW_HIDE);
      Win->Release();
    } else {
      Win->Free();
    }
  }
}

TspBitmap* TspFormLayerBorder::CurrentSource() const {
  if (!FActive && FSourceInActiveBitMap) return FSourceInActiveBitMap.get();
  return FSourceBitmap.get();
}

Integer TspFormLayerBorder::CurrentAlpha() const {
  return std::clamp(FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue, 0, 255);
}

void TspFormLayerBorder::InitFrame(TspSkinData* ASkinData, TForm* AForm) {
  FForm = AForm;
  FSD = ASkinData;
  FData = ASkinData && !ASkinData->Empty ? ASkinData->LayerFrame.get() : nullptr;
  if (FData && FData->PictureIndex == -1) FData = nullptr;
  if (!FData) return;
  FIsAeroEnabled = IsVistaOrLater() && IsDwmCompositionEnabled();
  FCurrentAlphaBlendValue = FData->AlphaBlendValue;
  FCurrentInActiveAlphaBlendValue = FData->InActiveAlphaBlendValue;
  FSourceBitmap = LayerFramePicture(FSD, FData->PictureIndex, FData->MaskPictureIndex);
  FSourceInActiveBitMap = FData->InActivePictureIndex != -1
                              ? LayerFramePicture(FSD, FData->InActivePictureIndex, FData->InActiveMaskPictureIndex)
                              : nullptr;
  if (!FSourceBitmap) {
    FData = nullptr;
    return;
  }
  const TRect& B = FData->BorderRect;
  if (B.Right - B.Left <= 0 || B.Bottom - B.Top <= 0) {
    LeftSize = TopSize = RightSize = BottomSize = 0;
  } else {
    const TRect& C = FData->ClRect;
    LeftSize = C.Left - B.Left;
    TopSize = C.Top - B.Top;
    RightSize = B.Right - C.Right;
    BottomSize = B.Bottom - C.Bottom;
    HitTopLeftX = FData->HitTestLTPoint.X - B.Left;
    HitTopLeftY = FData->HitTestLTPoint.Y - B.Top;
    HitTopRightX = B.Right - FData->HitTestRTPoint.X;
    HitTopRightY = FData->HitTestRTPoint.Y - B.Top;
    HitBottomLeftX = FData->HitTestLBPoint.X - B.Left;
    HitBottomLeftY = B.Bottom - FData->HitTestLBPoint.Y;
    HitBottomRightX = B.Right - FData->HitTestRBPoint.X;
    HitBottomRightY = B.Bottom - FData->HitTestRBPoint.Y;
  }
  if (FData->FullBorder && DSF) {
    for (TspActiveSkinObject* O : DSF->ObjectList) O->InitAlphaImages();
    DSF->IsAlphaIcon = DSF->FormIconHasAlpha();
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
  }
  CreateBlurMaskRegions();
}

TRect TspFormLayerBorder::BorderRectForForm(Integer L, Integer T, Integer FW, Integer FH, Boolean RollUp) const {
  if (!FData || !FSourceBitmap) return TRect{};
  const TRect& C = FData->ClRect;
  const Integer X = L + FData->LeftOffset - C.Left;
  const Integer Y = T + FData->TopOffset - C.Top;
  const Integer W = FW + FData->WidthOffset + FSourceBitmap->Width() - (C.Right - C.Left);
  const Integer FH2 = RollUp && DSF && DSF->IsLayerFrameRolledUp() ? FData->RollUpFormHeight : FH + FData->HeightOffset;
  const Integer H = FH2 + FSourceBitmap->Height() - (C.Bottom - C.Top);
  return Rect(X, Y, X + W, Y + H);
}

void TspFormLayerBorder::CreateBorderImages(Integer AW, Integer AH) {
  if (!FData || !DSF) return;
  TspBitmap* S = CurrentSource();
  if (!S) return;
  LeftImage.reset();
  TopImage.reset();
  RightImage.reset();
  BottomImage.reset();
  // Pieces are copied as they are; the source's blend flag is put back afterwards.
  const Boolean SourceBlend = S->AlphaBlend();
  S->SetAlphaBlend(false);
  const Integer SW = S->Width(), SH = S->Height();
  const TspDataSkinLayerFrame& D = *FData;
  if (D.RBPoint.X == 0 && D.RBPoint.Y == 0) {
    TopImage = CreateOwned<TspBitmap>();
    TopImage->SetSize(SW, SH);
    S->Draw(TopImage.get(), 0, 0);
    TopImage->CheckRGBA();
    TopImage->CheckingAlphaBlend();
    S->SetAlphaBlend(SourceBlend);
    return;
  }
  const Integer TH = std::max(D.LTPoint.Y, D.RTPoint.Y);
  TopImage = CreateOwned<TspBitmap>();
  TopImage->SetSize(AW, TH);
  CopyLayerBand(S, TopImage.get(), 0, TH, D.LTPoint.X, D.RTPoint.X);
  TopImage->CheckingAlphaBlend();
  if (D.FullBorder) {
    ArrangeCaptionObjects();
    for (TspActiveSkinObject* O : DSF->ObjectList)
      if (O->Visible) O->DrawAlpha(TopImage->Canvas(), TopImage.get());
  }
  const Integer BH = SH - std::min(D.LBPoint.Y, D.RBPoint.Y);
  const Integer BottomHeight = std::max(0, TH + BH > AH ? AH - TH : BH);
  BottomImage = CreateOwned<TspBitmap>();
  BottomImage->SetSize(AW, BottomHeight);
  CopyLayerBand(S, BottomImage.get(), SH - BottomHeight, BottomHeight, D.LBPoint.X, D.RBPoint.X);
  BottomImage->CheckingAlphaBlend();

  const Integer MidH = AH - TH - BottomHeight;
  LeftImage = CreateOwned<TspBitmap>();
  RightImage = CreateOwned<TspBitmap>();
  if (MidH > 0) {
    LeftImage->SetSize(D.ClRect.Left, MidH);
    CopyLayerColumn(S, LeftImage.get(), 0, TH, SH - BottomHeight, D.FullStretch);
    LeftImage->CheckingAlphaBlend();
    const Integer RW = SW - D.ClRect.Right;
    RightImage->SetSize(RW, MidH);
    CopyLayerColumn(S, RightImage.get(), SW - RW, TH, SH - BottomHeight, D.FullStretch);
    RightImage->CheckingAlphaBlend();
  }
  for (TspBitmap* I : {LeftImage.get(), TopImage.get(), RightImage.get(), BottomImage.get()})
    if (!I->Empty()) I->CheckRGBA();
  S->SetAlphaBlend(SourceBlend);
  if (FIsAeroEnabled && FSD && FSD->AeroBlurEnabled()) CreateBlurRegions();
}

void TspFormLayerBorder::ArrangeCaptionObjects() {
  if (!FData || !DSF || !TopImage) return;
  const TspDataSkinLayerFrame& D = *FData;
  const Integer dW = TopImage->Width() - FSourceBitmap->Width();
  const Integer Gap = FSD ? FSD->ButtonsOffset : 0;
  TRect R = D.CaptionRect;
  R.Right += dW;
  Integer X, Y;
  if (!IsRectEmpty(&D.ButtonsRect)) {
    X = D.ButtonsRect.Right + dW;
    Y = D.ButtonsRect.Top;
  } else {
    X = R.Right;
    Y = D.ButtonsTopOffset != 0 ? D.ButtonsTopOffset : R.Top;
  }
  auto Find = [this](TStdCommand Cmd) -> TspActiveSkinObject* {
    for (TspActiveSkinObject* O : DSF->ObjectList) {
      if (!O->Visible || !O->SkinRectInAPicture) continue;
      if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(O); B && B->Command == Cmd) return O;
      if (auto* A = dynamic_cast<TspSkinAnimateObject*>(O); A && A->Command == Cmd) return O;
    }
    return nullptr;
  };
  for (TStdCommand Cmd : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray}) {
    auto* B = dynamic_cast<TspSkinStdButtonObject*>(Find(Cmd));
    if (!B) continue;
    const Integer W = B->SkinRect.Right - B->SkinRect.Left, H = B->SkinRect.Bottom - B->SkinRect.Top;
    B->ObjectRect = Rect(X - W, Y, X, Y + H);
    X = X - Gap - W;
  }
  TspSkinCaptionObject* Caption = nullptr;
  for (TspActiveSkinObject* O : DSF->ObjectList)
    if ((Caption = dynamic_cast<TspSkinCaptionObject*>(O))) break;
  if (Caption) Caption->ObjectRect = Rect(R.Left, R.Top, X - Gap, R.Bottom);
  TspActiveSkinObject* Sys = Find(cmSysMenu);
  if (!Sys) return;
  Integer W = Sys->SkinRect.Right - Sys->SkinRect.Left, H = Sys->SkinRect.Bottom - Sys->SkinRect.Top;
  if (DSF->ShowIcon()) DSF->GetIconSize(W, H);
  const TRect& SR = D.SysMenuButtonRect;
  Integer L, T;
  if (!IsRectEmpty(&SR)) {
    L = SR.Left;
    T = SR.Top + (SR.Bottom - SR.Top) / 2 - H / 2;
  } else {
    L = R.Left;
    T = D.SysButtonTopOffset != 0 ? D.SysButtonTopOffset : Y + (R.Bottom - R.Top) / 2 - H / 2;
    if (Caption) Caption->ObjectRect.Left = L + W + Gap;
  }
  Sys->ObjectRect = Rect(L, T, L + W, T + H);
}

void TspFormLayerBorder::PutImage(TspFormLayerWindow* W, TspBitmap* Image, HRGN BlurRgn) {
  if (!W || !Image || Image->Empty()) return;
  ShowLayeredBitmap(Image, static_cast<Byte>(CurrentAlpha()), W);
  if (FIsAeroEnabled && FSD && FSD->AeroBlurEnabled() && BlurRgn) SetWindowBlurBehind(W->Handle(), true, BlurRgn);
}

// Each window takes its image's size at its place; Show puts them on top, shown without
// activation; otherwise they keep their place in the z-order.
void TspFormLayerBorder::PlaceWindows(Integer X, Integer Y, Integer AWidth, Integer AHeight, Boolean Show) {
  struct Side {
    TspFormLayerWindow* W;
    TspBitmap* Image;
    HRGN Rgn;
    Integer L, T;
    Boolean Column;
  } Sides[] = {
      {TopBorder, TopImage.get(), TopRgn, X, Y, false},
      {BottomBorder, BottomImage.get(), BottomRgn, X, Y + AHeight - BottomH(), false},
      {LeftBorder, LeftImage.get(), LeftRgn, X, Y + TopH(), true},
      {RightBorder, RightImage.get(), RightRgn, X + AWidth - RightW(), Y + TopH(), true},
  };
  for (const Side& S : Sides) {
    if (!S.W || !S.Image) continue;
    if (S.Column && S.Image->Height() <= 0) {
      if (S.W->HandleAllocated()) ShowWindow(S.W->Handle(), SW_HIDE);
      continue;
    }
    S.W->SetBounds(S.L, S.T, S.Image->Width(), S.Image->Height());
    PutImage(S.W, S.Image, S.Rgn);
    const UINT Flags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | (Show ? 0 : SWP_NOZORDER);
    SetWindowPos(S.W->Handle(), HWND_TOP, S.L, S.T, 0, 0, Flags);
  }
}

void TspFormLayerBorder::Show(Integer X, Integer Y, Integer AWidth, Integer AHeight) {
  if (!FData) return;
  FWidth = AWidth;
  FHeight = AHeight;
  FVisible = true;
  CreateBorderImages(AWidth, AHeight);
  FreeWindows();
  if (!FForm) return;
  if (FData->RBPoint.X != 0 || FData->RBPoint.Y != 0) {
    const TspFormLayerBorderType Types[] = {spflLeft, spflRight, spflTop, spflBottom};
    TspFormLayerWindow** Slots[] = {&LeftBorder, &RightBorder, &TopBorder, &BottomBorder};
    for (size_t I = 0; I < 4; ++I) {
      *Slots[I] = TspFormLayerWindow::CreateEx(this, FForm);
      (*Slots[I])->BorderType = Types[I];
    }
  } else {
    TopBorder = TspFormLayerWindow::CreateEx(this, FForm);
    TopBorder->BorderType = spflTop;
  }
  PlaceWindows(X, Y, AWidth, AHeight, true);
}

void TspFormLayerBorder::Hide() {
  FVisible = false;
  LeftImage.reset();
  TopImage.reset();
  RightImage.reset();
  BottomImage.reset();
  FreeWindows();
}

void TspFormLayerBorder::SetBounds(Integer X, Integer Y, Integer AWidth, Integer AHeight) {
  if (!FData || !FVisible) return;
  FWidth = AWidth;
  FHeight = AHeight;
  CreateBorderImages(AWidth, AHeight);
  PlaceWindows(X, Y, AWidth, AHeight, false);
}

void TspFormLayerBorder::Draw(TCanvas* C, Integer X, Integer Y, Integer AWidth, Integer AHeight) {
  if (!FData) return;
  CreateBorderImages(AWidth, AHeight);
  auto Put = [C](TspBitmap* I, Integer L, Integer T) {
    if (!I || I->Empty() || I->Width() <= 0 || I->Height() <= 0) return;
    I->SetAlphaBlend(true);
    I->Draw(C, L, T);
  };
  Put(TopImage.get(), X, Y);
  Put(BottomImage.get(), X, Y + AHeight - BottomH());
  Put(LeftImage.get(), X, Y + TopH());
  Put(RightImage.get(), X + AWidth - RightW(), Y + TopH());
}

void TspFormLayerBorder::ShowWithForm() {
  if (!FData || !FForm) return;
  const TRect R = BorderRectForForm(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
  Show(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
}

// The fade handles messages, which may free the form, its frame component or this border:
// it stops at once when that happened.
void TspFormLayerBorder::ShowWithFormAnimation() {
  if (!FData || !FForm) return;
  const Integer Target = FCurrentAlphaBlendValue;
  FCurrentAlphaBlendValue = 0;
  const TRect R = BorderRectForForm(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(), false);
  Show(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
  const Integer Step = std::max(1, Target / 15);
  const std::shared_ptr<bool> Alive = FAlive;
  Application->ProcessMessages();
  if (!*Alive) return;
  Integer Alpha = 0;
  DWORD Last = 0;
  Boolean First = true;
  while (Alpha < Target) {
    const DWORD Now = GetTickCount();
    if (First || Now - Last > 5) {
      First = false;
      Last = Now;
      Alpha = std::min(Alpha + Step, Target);
      FCurrentAlphaBlendValue = Alpha;
      SetAlphaBlend();
    }
    if (Alpha >= Target) break;
    Sleep(1);
    if (!*Alive) return;
  }
  FCurrentAlphaBlendValue = Target;
}

void TspFormLayerBorder::SetBoundsWithForm() {
  if (!FForm) return;
  SetBoundsWithForm3(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
}

void TspFormLayerBorder::SetBoundsWithForm2(Integer AW, Integer AH) {
  if (!FForm) return;
  SetBoundsWithForm3(FForm->Left(), FForm->Top(), AW, AH);
}

void TspFormLayerBorder::SetBoundsWithForm3(Integer ALeft, Integer ATop, Integer AW, Integer AH) {
  if (!FData || !FVisible) return;
  const TRect R = BorderRectForForm(ALeft, ATop, AW, AH);
  SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
}

void TspFormLayerBorder::MoveWithForm() {
  if (!FForm) return;
  MoveWithForm2(FForm->Left(), FForm->Top());
}

void TspFormLayerBorder::MoveWithForm2(Integer ALeft, Integer ATop) {
  if (!FData || !FVisible || !FForm) return;
  const TRect R = BorderRectForForm(ALeft, ATop, FForm->Width(), FForm->Height());
  const Integer X = R.Left, Y = R.Top, AW = R.Right - R.Left, AH = R.Bottom - R.Top;
  auto MoveTo = [](TspFormLayerWindow* W, Integer L, Integer T) {
    if (!W || !W->HandleAllocated()) return;
    SetWindowPos(W->Handle(), nullptr, L, T, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  MoveTo(TopBorder, X, Y);
  MoveTo(BottomBorder, X, Y + AH - BottomH());
  if (LeftBorder && LeftBorder->HandleAllocated() && IsWindowVisible(LeftBorder->Handle()))
    MoveTo(LeftBorder, X, Y + TopH());
  if (RightBorder && RightBorder->HandleAllocated() && IsWindowVisible(RightBorder->Handle()))
    MoveTo(RightBorder, X + AW - RightW(), Y + TopH());
}

void TspFormLayerBorder::SetAlphaBlend() {
  if (!FData || !FVisible || !TopImage) return;
  if (TopImage->Width() > 0) PutImage(TopBorder, TopImage.get(), TopRgn);
  if (BottomImage && BottomImage->Width() > 0) PutImage(BottomBorder, BottomImage.get(), BottomRgn);
  if (LeftBorder && LeftBorder->HandleAllocated() && IsWindowVisible(LeftBorder->Handle()))
    PutImage(LeftBorder, LeftImage.get(), LeftRgn);
  if (RightBorder && RightBorder->HandleAllocated() && IsWindowVisible(RightBorder->Handle()))
    PutImage(RightBorder, RightImage.get(), RightRgn);
}

void TspFormLayerBorder::SetAlphaBlend2() {
  if (!FData || !FVisible || !FForm) return;
  SetAlphaBlend();
  const TRect R = BorderRectForForm(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
  const Integer X = R.Left, Y = R.Top, AW = R.Right - R.Left, AH = R.Bottom - R.Top;
  auto Raise = [](TspFormLayerWindow* W, Integer L, Integer T) {
    if (!W || !W->HandleAllocated()) return;
    SetWindowPos(W->Handle(), HWND_TOP, L, T, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  };
  Raise(TopBorder, X, Y);
  Raise(BottomBorder, X, Y + AH - BottomH());
  if (LeftImage && LeftImage->Height() > 0) Raise(LeftBorder, X, Y + TopH());
  if (RightImage && RightImage->Height() > 0) Raise(RightBorder, X + AW - RightW(), Y + TopH());
}

void TspFormLayerBorder::CheckFormAlpha(Integer AFormAlpha, Boolean AUpdate) {
  if (!FData) return;
  FCurrentAlphaBlendValue = static_cast<Integer>(std::lround(FData->AlphaBlendValue * AFormAlpha / 255.0));
  FCurrentInActiveAlphaBlendValue = static_cast<Integer>(std::lround(FData->InActiveAlphaBlendValue * AFormAlpha / 255.0));
  if (AUpdate) SetAlphaBlend();
}

void TspFormLayerBorder::SetActive(Boolean AValue, Boolean AUpdate) {
  FActive = AValue;
  if (!AValue && DSF) {
    if (auto* C = dynamic_cast<TspSkinCaptionObject*>(DSF->ObjectAt(ActiveObject));
        C && C->ActiveQuickButton != -1 && DSF->QuickButtons() && C->ActiveQuickButton < DSF->QuickButtons()->Count()) {
      auto* Item = dynamic_cast<TspQuickButtonItem*>(DSF->QuickButtons()->Items(C->ActiveQuickButton));
      if (Item) Item->Active = Item->Down = false;
    }
    MouseCaptureObject = -1;
    TestActiveObject(-1, -1);
    ActiveObject = -1;
  }
  if (!FVisible) return;
  if (FullBorder()) SetBoundsWithForm();
  if (AUpdate) SetAlphaBlend2();
}

void TspFormLayerBorder::CreateBlurMaskRegions() {
  DeleteRegions();
  if (!FData || FData->BlurMaskPictureIndex == -1) return;
  TBitmap* Mask = SkinActivePicture(FSD, FData->BlurMaskPictureIndex);
  if (!Mask) return;
  const TspDataSkinLayerFrame& D = *FData;
  const Integer W = Mask->Width(), H = Mask->Height();
  DataRgn1 = LayerMaskRegion(Mask, Rect(0, 0, D.LTPoint.X, D.LTPoint.Y), 0);
  DataRgn2 = LayerMaskRegion(Mask, Rect(D.RTPoint.X, 0, W, D.RTPoint.Y), D.RTPoint.X);
  DataRgn3 = LayerMaskRegion(Mask, Rect(0, D.LBPoint.Y, D.LBPoint.X, H), 0);
  DataRgn4 = LayerMaskRegion(Mask, Rect(D.RBPoint.X, D.RBPoint.Y, W, H), D.RBPoint.X);
}

void TspFormLayerBorder::CreateBlurRegions() {
  if (!FData || !TopImage || !FSourceBitmap) return;
  LayerRegionDelete(TopRgn);
  LayerRegionDelete(BottomRgn);
  LayerRegionDelete(LeftRgn);
  LayerRegionDelete(RightRgn);
  const TspDataSkinLayerFrame& D = *FData;
  const Integer dW = TopImage->Width() - CurrentSource()->Width();
  auto Unite = [](HRGN Into, HRGN Part, Integer ShiftX) {
    if (!Part) return;
    HRGN Copy = LayerRegionCopy(Part);
    OffsetRgn(Copy, ShiftX, 0);
    CombineRgn(Into, Into, Copy, RGN_OR);
    DeleteObject(Copy);
  };
  TopRgn = CreateRectRgn(D.LTPoint.X, D.IntersectBlurMaskRect.Top, D.RTPoint.X + dW, D.ExcludeBlurMaskRect.Top);
  Unite(TopRgn, DataRgn1, 0);
  Unite(TopRgn, DataRgn2, dW);
  BottomRgn = CreateRectRgn(D.LBPoint.X, D.ExcludeBlurMaskRect.Bottom - D.LBPoint.Y, D.RBPoint.X + dW,
                            D.IntersectBlurMaskRect.Bottom - D.LBPoint.Y);
  Unite(BottomRgn, DataRgn3, 0);
  Unite(BottomRgn, DataRgn4, dW);
  if (LeftImage && LeftImage->Height() > 0)
    LeftRgn = CreateRectRgn(D.IntersectBlurMaskRect.Left, 0, D.ExcludeBlurMaskRect.Left, LeftImage->Height());
  if (RightImage && RightImage->Height() > 0)
    RightRgn = CreateRectRgn(D.ExcludeBlurMaskRect.Right - D.ClRect.Right, 0,
                             D.IntersectBlurMaskRect.Right - D.ClRect.Right, RightImage->Height());
}
