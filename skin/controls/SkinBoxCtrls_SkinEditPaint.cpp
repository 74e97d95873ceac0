// The skinned edit's painting: the frame in the non-client area, the text area's
// background and image buttons under the native text, the text of a disabled edit, and the
// cross-fade with what lies beneath.
#include <algorithm>

#include "platform/ui/GraphUtil.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinBoxCtrls.h"

namespace {

// A canvas over a device context for the length of a paint.
struct EditDcCanvas {
  TOwned<TCanvas> C = CreateOwned<TCanvas>();
  explicit EditDcCanvas(HDC DC) { C->SetHandle(DC); }
  ~EditDcCanvas() { C->SetHandle(nullptr); }
  EditDcCanvas(const EditDcCanvas&) = delete;
  EditDcCanvas& operator=(const EditDcCanvas&) = delete;
};

}  // namespace

void TspSkinCustomEdit::SetParentImage() {
  if (!ParentImage) return;
  ParentImage->SetSize(Width(), Height());
  CopyParentImage(this, ParentImage->Canvas());
}

void TspSkinCustomEdit::BlendWithParent(TBitmap* B, const TRect& At) {
  if (!FAlphaBlend || !ParentImage) return;
  auto Under = CreateControlImage(B->Width(), B->Height());
  Under->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), ParentImage->Canvas(),
                            Rect(At.Left, At.Top, At.Left + B->Width(), At.Top + B->Height()));
  MorphBitmaps(B, Under.get(), mkDefault, 1.0 - FAlphaBlendValue / 255.0);
}

void TspSkinCustomEdit::DrawEditBackground(HDC DC) {
  if (IsNullRect(FEditRect) || RectWidth(FEditRect) <= 0 || RectHeight(FEditRect) <= 0) return;
  if (FAlphaBlend) {
    ParentImage = std::make_unique<TBitmap>();
    SetParentImage();
  }
  const Integer EW = RectWidth(FEditRect), EH = RectHeight(FEditRect);
  GetSkinData();
  TOwned<TBitmap> B;
  if (FIndex == -1) {
    B = CreateControlImage(EW, EH);
    B->Canvas()->Brush()->SetColor(FDefaultColor);
    B->Canvas()->FillRect(Rect(0, 0, EW, EH));
  } else {
    const TRect& S = (FMouseIn || Focused()) ? ActiveSkinRect : SkinRect;
    const TRect Src = Bounds(S.Left + ClRect.Left, S.Top + ClRect.Top, RectWidth(ClRect), RectHeight(ClRect));
    B = CreateControlImage(EW, RectHeight(ClRect));
    if (Picture)
      CreateHSkinImage(std::max(0, LOffset - ClRect.Left),
                       std::max(0, ClRect.Right - (RectWidth(SkinRect) - ROffset)), B.get(), Picture, Src, EW,
                       RectHeight(ClRect), StretchEffect);
    if (B->Height() != EH) {
      auto S2 = CreateControlImage(EW, EH);
      S2->Canvas()->StretchDraw(Rect(0, 0, EW, EH), B.get());
      B = std::move(S2);
    }
  }
  BlendWithParent(B.get(), FEditRect);
  EditDcCanvas C(DC);
  C.C->Draw(0, 0, B.get());
  ParentImage.reset();
}

void TspSkinCustomEdit::DrawImageButtons(HDC DC) {
  if (!FImages) return;
  CalcImageButtons(false);
  EditDcCanvas C(DC);
  struct Side {
    TspCBButtonX& B;
    Integer Normal, Hot, Down;
  };
  for (const Side& S : {Side{LeftButton, FLeftImageIndex, LeftImageHotIndex, LeftImageDownIndex},
                        Side{RightButton, FRightImageIndex, RightImageHotIndex, RightImageDownIndex}}) {
    const auto InList = [this](Integer I) { return I >= 0 && I < FImages->Count(); };
    if (!InList(S.Normal)) continue;
    const TRect& R = S.B.R;
    const Integer Y = std::max(R.Top, R.Top + RectHeight(R) / 2 - FImages->Height() / 2);
    Integer I = S.Normal;
    if (S.B.Down && S.B.MouseIn && InList(S.Down))
      I = S.Down;
    else if (S.B.MouseIn && InList(S.Hot))
      I = S.Hot;
    FImages->Draw(C.C.get(), R.Left, Y, I, Enabled());
  }
}

void TspSkinCustomEdit::PaintFrame(HDC DC, Boolean ExcludeText) {
  if (FAlphaBlend) {
    ParentImage = std::make_unique<TBitmap>();
    SetParentImage();
  }
  GetSkinData();
  CalcEditRect();
  const int Saved = SaveDC(DC);
  if (ExcludeText) ExcludeClipRect(DC, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
  {
    EditDcCanvas C(DC);
    if (FUseSkinFont || FIndex == -1)
      DrawFrame(C.C.get());
    else
      DrawStretchFrame(C.C.get());
  }
  RestoreDC(DC, Saved);
  ParentImage.reset();
}

void TspSkinCustomEdit::DrawFrame(TCanvas* C) {
  const Integer W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  GetSkinData();
  CalcEditRect();
  auto B = CreateControlImage(W, H);
  TCanvas* BC = B->Canvas();
  if (FIndex == -1) {
    const Integer Wb = FButtonMode ? W - FButtonRect.Left : 0;
    TRect R = Rect(0, 0, W - Wb, H);
    BC->Brush()->SetColor(FDefaultColor);
    BC->FillRect(R);
    Frame3D(BC, R, clBtnShadow, clBtnShadow, 1);
    Frame3D(BC, R, clBtnFace, clBtnFace, 1);
    if (FButtonMode)
      DrawPlainFace(BC, FButtonRect,
                    FButtonDown && FButtonActive ? spfsPressed : FButtonActive ? spfsHot : spfsNormal);
  } else {
    const TRect& S = (FMouseIn || Focused()) ? ActiveSkinRect : SkinRect;
    B->SetHeight(RectHeight(S));
    if (Picture) CreateHSkinImage(LOffset, ROffset, B.get(), Picture, S, W, RectHeight(S), StretchEffect);
    if (FButtonMode && Picture) {
      TRect Src;
      if (!Enabled() && !IsNullRect(UnEnabledButtonRect))
        Src = UnEnabledButtonRect;
      else if (FButtonDown && FButtonActive)
        Src = DownButtonRect;
      else if (FButtonActive)
        Src = ActiveButtonRect;
      if (!IsNullRect(Src)) BC->CopyRect(FButtonRect, Picture->Canvas(), Src);
    }
  }
  BlendWithParent(B.get(), Rect(0, 0, W, H));
  C->Draw(0, 0, B.get());
}

void TspSkinCustomEdit::DrawStretchFrame(TCanvas* C) {
  const Integer W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  GetSkinData();
  CalcEditRect();
  auto B = CreateControlImage(W, H);
  const TRect& S = (FMouseIn || Focused()) ? ActiveSkinRect : SkinRect;
  if (Picture) CreateStretchSkinImage(B.get(), Picture, S, ClRect, false);
  if (FButtonMode) DrawEditButton(B->Canvas(), FButtonRect);
  BlendWithParent(B.get(), Rect(0, 0, W, H));
  C->Draw(0, 0, B.get());
}

void TspSkinCustomEdit::DrawEditButton(TCanvas* C, const TRect& R) {
  DrawSkinEditButton(C, FSD, R, FButtonDown && FButtonActive, FButtonActive, 0);
}

void TspSkinCustomEdit::PaintDisabledText(HDC DC) {
  EditDcCanvas C(DC);
  TFont* F = C.C->Font();
  if (FIndex != -1 && FUseSkinFont) {
    F->SetName(FontName);
    F->SetHeight(FontHeight);
    F->SetStyle(FontStyle);
    F->SetColor(DisabledFontColor);
  } else {
    F->Assign(FDefaultFont.get());
    F->SetColor(FIndex == -1 ? clGrayText : DisabledFontColor);
  }
  F->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont->Charset());
  const TRect R = Rect(0, 0, RectWidth(FEditRect), RectHeight(FEditRect));
  const String T = Text();
  const Integer TW = C.C->TextWidth(T);
  Integer X = 2;
  if (FAlignment == taRightJustify) X = R.Right - TW - 1;
  if (FAlignment == taCenter) X = RectWidth(R) / 2 - TW / 2;
  C.C->Brush()->SetStyle(bsClear);
  C.C->TextRect(R, X, 0, T);
}

void TspSkinCustomEdit::HandleEraseBackground(TMessage& Message) {
  const HDC DC = reinterpret_cast<HDC>(Message.WParam);
  GetSkinData();
  CalcEditRect();
  DrawEditBackground(DC);
  DrawImageButtons(DC);
  SendMessage(Handle(), WM_PAINT, Message.WParam, 0);
  FStopDraw = true;
  if (Focused()) ShowCaret(Handle());
}

void TspSkinCustomEdit::HandlePaint(TMessage& Message) {
  if (FStopDraw) {
    if (!Message.WParam) {
      PAINTSTRUCT Ps{};
      BeginPaint(Handle(), &Ps);
      EndPaint(Handle(), &Ps);
    }
    FStopDraw = false;
    return;
  }
  if (Enabled()) {
    FStopDraw = true;
    DefaultHandler(Message);
    FStopDraw = false;
    return;
  }
  if (Message.WParam) {
    PaintDisabledText(reinterpret_cast<HDC>(Message.WParam));
    return;
  }
  PAINTSTRUCT Ps{};
  HDC DC = BeginPaint(Handle(), &Ps);
  if (DC) PaintDisabledText(DC);
  EndPaint(Handle(), &Ps);
}
