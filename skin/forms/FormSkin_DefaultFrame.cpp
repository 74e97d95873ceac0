// The frame the component draws when no skin paints it: three-pixel 3D rings, a striped
// caption bar with the caption centred between the buttons, the default caption buttons;
// the plain client backgrounds, the logo picture and the frame's small icon.
#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/win/DrawText.h"
#include "platform/win/Gdi.h"
#include "platform/win/Resources.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowDc.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinObjects.h"

namespace {

constexpr Integer DefFrameBorder = 3;

// The first visible default caption button (its look in the active picture) with
// command Command; nil when there is none.
TspSkinStdButtonObject* DefaultCaptionButton(const TspFormSkin& S, TStdCommand Command) {
  for (Integer I = 0; I < S.ObjectCount(); ++I) {
    auto* B = dynamic_cast<TspSkinStdButtonObject*>(S.ObjectAt(I));
    if (B && B->Command == Command && B->Visible && B->SkinRectInAPicture) return B;
  }
  return nullptr;
}

}  // namespace

Integer TspFormSkin::GetDefCaptionHeight() const {
  const TFormBorderStyle BS = FForm->BorderStyle();
  return BS == bsToolWindow || BS == bsSizeToolWin ? 15 : 19;
}

Integer TspFormSkin::GetDefButtonSize() const {
  const TFormBorderStyle BS = FForm->BorderStyle();
  return BS == bsToolWindow || BS == bsSizeToolWin ? 13 : 17;
}

// The caption rectangle is laid out also without buttons: the hit test of the default
// frame finds the caption through it.
void TspFormSkin::CalcDefRects() {
  const Integer W = FFormWidth, S = GetDefButtonSize();
  Integer X = W - DefFrameBorder;
  const Integer Y = 4;
  NewDefCaptionRect = Rect(DefFrameBorder, DefFrameBorder, W - DefFrameBorder, GetDefCaptionHeight());
  for (TStdCommand C : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray}) {
    if (TspSkinStdButtonObject* B = DefaultCaptionButton(*this, C)) {
      B->ObjectRect = Rect(X - S, Y, X, Y + S);
      X -= S;
    }
  }
  NewDefCaptionRect.Right = X;
  X = NewDefCaptionRect.Left;
  if (TspSkinStdButtonObject* B = DefaultCaptionButton(*this, cmSysMenu)) {
    Integer IW = S, IH = S;
    if (FShowIcon) GetIconSize(IW, IH);
    B->ObjectRect = Rect(X, Y, X + IW, Y + IH);
    X += IW;
    NewDefCaptionRect.Left = X;
  }
}

void TspFormSkin::GetDefCaptionRect(TRect& R) {
  CalcDefRects();
  R = NewDefCaptionRect;
}

void TspFormSkin::PaintNCDefault(HDC DC, Boolean AUseExternalDC) {
  if (FSD && FSD->ChangeSkinDataProcess) return;
  if (FFormWidth == 0) FFormWidth = FForm->Width();
  if (FFormHeight == 0) FFormHeight = FForm->Height();
  if (ObjectCount() == 0 && !FSkinSupport) CreateDefaultCaptionButtons();
  CalcDefRects();
  const Integer W = FFormWidth, H = FFormHeight, CH = GetDefCaptionHeight();
  if (W - 2 * DefFrameBorder <= 0 || CH <= 0) return;

  HWND Wnd = nullptr;
  if (!AUseExternalDC) {
    Wnd = FForm->Handle();
    DC = GetWindowDC(Wnd);
  }
  if (!DC) return;
  auto Cnvs = CreateOwned<TCanvas>();
  Cnvs->SetHandle(DC);

  auto Caption = CreateOwned<TBitmap>();
  const Integer BW = W - 2 * DefFrameBorder;
  Caption->SetSize(BW, CH);
  TCanvas* C = Caption->Canvas();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, BW, CH));
  const Integer CL = NewDefCaptionRect.Left - DefFrameBorder;
  const Integer Gap = BW - NewDefCaptionRect.Right;
  for (Integer Y = 2; Y <= CH - 4; ++Y) {
    C->Pen()->SetColor((Y - 2) % 2 == 0 ? clBtnHighlight : clBtnShadow);
    C->MoveTo(CL + 2, Y);
    C->LineTo(BW - Gap - 6, Y);
  }

  const Boolean FormActive = GetFormActive();
  C->Font()->Assign(FormActive ? FDefCaptionFont.get() : FDefInActiveCaptionFont.get());
  if (FSD && FSD->ResourceStrData()) C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  WideString Text = FForm->Caption();
  if (FMDIChildMaximized)
    if (TCustomForm* Child = GetMaximizedMDIChild()) Text += " - [" + Child->Caption() + "]";
  if (OnCaptionPaint) {
    OnCaptionPaint(C, Rect(CL, 0, BW - Gap - 3, CH), FormActive);
  } else if (!Text.empty()) {
    const Integer Room = BW - CL - Gap;
    FitWideTextToWidth(C, Text, Room);
    const Integer X = Room / 2 + CL - (WideTextWidth(C, Text) + 5) / 2;
    const Integer Y = CH / 2 - WideTextHeight(C, Text) / 2;
    TRect TR = Rect(X, Y, X, Y);
    DrawWideText(C, Text, TR, DT_CALCRECT);
    TRect Back = TR;
    InflateRect(&Back, 2, 2);
    C->FillRect(Back);
    C->Brush()->SetStyle(bsClear);
    DrawWideText(C, Text, TR, DT_VCENTER);
    C->Brush()->SetStyle(bsSolid);
  }

  for (Integer I = 0; I < ObjectCount(); ++I) {
    TspActiveSkinObject* O = ObjectAt(I);
    if (!O->Visible) continue;
    OffsetRect(&O->ObjectRect, -DefFrameBorder, -DefFrameBorder);
    O->Draw(C, true);
    OffsetRect(&O->ObjectRect, DefFrameBorder, DefFrameBorder);
  }

  // A caller's DC gets its clipping back.
  const int SavedState = SaveDC(DC);
  ExcludeClipRect(DC, DefFrameBorder, CH + DefFrameBorder, W - DefFrameBorder, H - DefFrameBorder);
  Cnvs->Draw(DefFrameBorder, DefFrameBorder, Caption.get());
  TRect R = Rect(0, 0, W, H);
  const TColor Rings[3][2] = {{cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}, {clBtnFace, clBtnFace}};
  for (const auto& Ring : Rings) {
    Draw3DFrame(Cnvs.get(), R, Ring[0], Ring[1]);
    InflateRect(&R, -1, -1);
  }
  Cnvs->SetHandle(nullptr);
  RestoreDC(DC, SavedState);
  if (Wnd) ReleaseDC(Wnd, DC);
}

void TspFormSkin::PaintBGDefault(HDC DC) {
  if (!DC) return;
  auto C = CreateOwned<TCanvas>();
  C->SetHandle(DC);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(FForm->ClientRect());
  if (!FLogoBitMap->Empty()) DrawLogoBitMap(C.get());
  C->SetHandle(nullptr);
}

void TspFormSkin::PaintMDIBGDefault(HDC DC) {
  if (!DC) return;
  auto C = CreateOwned<TCanvas>();
  C->SetHandle(DC);
  C->Brush()->SetColor(clAppWorkSpace);
  C->FillRect(FForm->ClientRect());
  if (!FLogoBitMap->Empty()) DrawLogoBitMap(C.get());
  C->SetHandle(nullptr);
}

void TspFormSkin::DrawLogoBitMap(TCanvas* C) {
  if (FLogoBitMap->Transparent() != FLogoBitMapTransparent)
    FLogoBitMap->SetTransparent(FLogoBitMapTransparent);
  const Integer X = std::max(0, FForm->ClientWidth() - FLogoBitMap->Width());
  const Integer Y = std::max(0, FForm->ClientHeight() - FLogoBitMap->Height());
  C->Draw(X, Y, FLogoBitMap.get());
}

void TspFormSkin::GetIconSize(Integer& W, Integer& H) const {
  W = GetSystemMetrics(SM_CXSMICON);
  if (W == 0) W = GetSystemMetrics(SM_CXSIZE);
  H = GetSystemMetrics(SM_CYSMICON);
  if (H == 0) H = GetSystemMetrics(SM_CYSIZE);
}

void TspFormSkin::MakeFormIcon() {
  if (FIcon) return;
  Integer W, H;
  GetIconSize(W, H);
  HICON Source = nullptr;
  Boolean System = false;
  if (FForm->Icon() && FForm->Icon()->HandleAllocated()) {
    Source = FForm->Icon()->Handle();
  } else if (Application && Application->Icon()->HandleAllocated()) {
    Source = Application->Icon()->Handle();
  } else {
    Source = LoadIcon(nullptr, IDI_APPLICATION);
    System = true;
  }
  FIcon = CreateOwned<TIcon>();
  if (Source)
    FIcon->SetHandle(static_cast<HICON>(CopyImage(Source, IMAGE_ICON, W, H, LR_COPYFROMRESOURCE)));
  if (System && Source) DestroyIcon(Source);
}

void TspFormSkin::DrawFormIcon(TCanvas* C, Integer X, Integer Y) {
  MakeFormIcon();
  if (FIcon->HandleAllocated()) DrawIconEx(C->Handle(), X, Y, FIcon->Handle(), 0, 0, 0, nullptr, DI_NORMAL);
}

Boolean TspFormSkin::FormIconHasAlpha() {
  Integer W, H;
  GetIconSize(W, H);
  if (W == 0 || H == 0) return false;
  MakeFormIcon();
  if (!FIcon->HandleAllocated()) return false;
  auto B = CreateOwned<TspBitmap>();
  B->SetSize(W, H);
  B->SetAlpha(0);
  DrawIconEx(B->Canvas()->Handle(), 0, 0, FIcon->Handle(), 0, 0, 0, nullptr, DI_NORMAL);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X)
      if ((B->GetPixelValue(X, Y) >> 24) != 0) return true;
  return false;
}
