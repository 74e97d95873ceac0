// The frame's display objects: the progress gauge, the bitmap-font label and the text label.
#include <algorithm>

#include "platform/rtl/NumConv.h"
#include "platform/rtl/StringList.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkinFrameObjects.h"

namespace {

TOwned<TBitmap> DisplayWorkBitmap(Integer W, Integer H) {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(std::max(W, 0), std::max(H, 0));
  return B;
}

void DisplayCopyPart(TBitmap* Dest, const TRect& D, TBitmap* Source, const TRect& S) {
  if (!Source || Source->Empty() || D.Right <= D.Left || D.Bottom <= D.Top) return;
  Dest->Canvas()->CopyRect(D, Source->Canvas(), S);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Gauge

TspSkinGaugeObject::TspSkinGaugeObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinGauge*>(AData)) {
    MinValue = D->MinValue;
    MaxValue = D->MaxValue;
    Kind = D->Kind;
  }
  FValue = MinValue;
  FProgressPos = FOldProgressPos = CalcProgressPos();
}

TPoint TspSkinGaugeObject::CalcProgressPos() const {
  // A gauge without a range shows the empty picture.
  if (MaxValue == MinValue) return Kind == gkHorizontal ? Point(0, 0) : Point(0, RectHeight(SkinRect));
  const Double X = static_cast<Double>(FValue - MinValue) / (static_cast<Double>(MaxValue) - MinValue);
  if (Kind == gkHorizontal) return Point(static_cast<Integer>(Round(RectWidth(SkinRect) * X)), 0);
  return Point(0, static_cast<Integer>(Round(RectHeight(SkinRect) * (1 - X))));
}

void TspSkinGaugeObject::SimplySetValue(Integer AValue) {
  if (AValue == FValue) return;
  FValue = std::clamp(AValue, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
  FOldProgressPos = FProgressPos;
  FProgressPos = CalcProgressPos();
}

void TspSkinGaugeObject::SetValue(Integer AValue) {
  SimplySetValue(AValue);
  Parent->DrawSkinObject(this);
}

void TspSkinGaugeObject::Draw(TCanvas* Cnvs, Boolean UpDate) {
  if (!Skinned() || (FValue == MinValue && !UpDate)) return;
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  if (W <= 0 || H <= 0) return;
  auto B = DisplayWorkBitmap(W, H);
  const TPoint P = FProgressPos;
  if (Kind == gkHorizontal) {
    const Integer Cut = std::clamp(P.X, 0, W);
    DisplayCopyPart(B.get(), Rect(Cut, 0, W, H), Picture,
                    Rect(SkinRect.Left + Cut, SkinRect.Top, SkinRect.Right, SkinRect.Bottom));
    DisplayCopyPart(B.get(), Rect(0, 0, Cut, H), ActivePicture,
                    Rect(ActiveSkinRect.Left, ActiveSkinRect.Top, ActiveSkinRect.Left + Cut, ActiveSkinRect.Bottom));
  } else {
    const Integer Cut = std::clamp(P.Y, 0, H);
    DisplayCopyPart(B.get(), Rect(0, 0, W, Cut), Picture,
                    Rect(SkinRect.Left, SkinRect.Top, SkinRect.Right, SkinRect.Top + Cut));
    DisplayCopyPart(B.get(), Rect(0, Cut, W, H), ActivePicture,
                    Rect(ActiveSkinRect.Left, ActiveSkinRect.Top + Cut, ActiveSkinRect.Right, ActiveSkinRect.Bottom));
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspSkinGaugeObject::MouseEnter() {
  FMouseIn = true;
  Active = true;
  Parent->DoMouseEnterEvent(IDName);
}

void TspSkinGaugeObject::MouseLeave() {
  FMouseIn = false;
  Active = false;
  Parent->DoMouseLeaveEvent(IDName);
}

// ---------------------------------------------------------------------------------------
// Bitmap-font label

TspSkinBitLabelObject::TspSkinBitLabelObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinBitLabel*>(AData)) {
    FTextValue = D->TextValue;
    SymbolWidth = D->SymbolWidth;
    SymbolHeight = D->SymbolHeight;
    Symbols = D->Symbols.get();
    Transparent = D->Transparent;
    TransparentColor = D->TransparentColor;
  }
}

void TspSkinBitLabelObject::SetTextValue(const String& AValue, Boolean AUpDate) {
  FTextValue = AValue;
  if (AUpDate) Parent->DrawSkinObject(this);
}

void TspSkinBitLabelObject::Draw(TCanvas* Cnvs, Boolean) {
  if (!Skinned()) return;
  const Integer W = RectWidth(SkinRect), H = RectHeight(SkinRect);
  if (W <= 0 || H <= 0) return;
  auto B = DisplayWorkBitmap(W, H);
  DisplayCopyPart(B.get(), Rect(0, 0, W, H), Picture, SkinRect);
  if (Symbols && ActivePicture && SymbolWidth > 0) {
    for (size_t I = 0; I < FTextValue.size(); ++I) {
      const Integer Left = static_cast<Integer>(I) * SymbolWidth;
      if (Left >= W) break;
      const Integer Cut = std::max(Left + SymbolWidth - W, 0);
      Integer Row = -1, Column = -1;
      for (Integer R = 0; R < Symbols->Count() && Row < 0; ++R) {
        const size_t Found = Symbols->Get(R).find(FTextValue[I]);
        if (Found != String::npos) {
          Row = R;
          Column = static_cast<Integer>(Found);
        }
      }
      if (Row < 0) continue;  // an unknown character leaves its cell blank
      const Integer SX = ActiveSkinRect.Left + Column * SymbolWidth;
      const Integer SY = ActiveSkinRect.Top + Row * SymbolHeight;
      DisplayCopyPart(B.get(), Rect(Left, 0, Left + SymbolWidth - Cut, SymbolHeight), ActivePicture,
                      Rect(SX, SY, SX + SymbolWidth - Cut, SY + SymbolHeight));
      if (Cut > 0) break;
    }
  }
  if (Transparent) {
    B->SetTransparentMode(tmFixed);
    B->SetTransparentColor(TransparentColor);
    B->SetTransparent(true);
    auto Back = DisplayWorkBitmap(W, H);
    DisplayCopyPart(Back.get(), Rect(0, 0, W, H), SD->FPicture.get(), SkinRect);
    Back->Canvas()->Draw(0, 0, B.get());
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, Back.get());
  } else {
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
  }
}

// ---------------------------------------------------------------------------------------
// Text label

TspSkinLabelObject::TspSkinLabelObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinLabel*>(AData)) {
    FTextValue = D->TextValue;
    FontName = D->FontName;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
    FontColor = D->FontColor;
    ActiveFontColor = D->ActiveFontColor;
    Alignment = D->Alignment;
  }
}

void TspSkinLabelObject::SetTextValue(const String& AValue, Boolean AUpDate) {
  FTextValue = AValue;
  if (AUpDate) Parent->DrawSkinObject(this);
}

TOwned<TBitmap> TspSkinLabelObject::LabelImage(TBitmap* Source, const TRect& R, Boolean Hot) {
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  auto B = DisplayWorkBitmap(W, H);
  DisplayCopyPart(B.get(), Rect(0, 0, W, H), Source, R);
  TCanvas* C = B->Canvas();
  C->Font()->SetName(FontName);
  C->Font()->SetStyle(FontStyle);
  C->Font()->SetHeight(FontHeight);
  C->Font()->SetColor(Hot ? ActiveFontColor : FontColor);
  C->Brush()->SetStyle(bsClear);
  const Integer TW = C->TextWidth(FTextValue), TH = C->TextHeight(FTextValue);
  Integer X = 0;
  if (Alignment == taRightJustify)
    X = W - TW;
  else if (Alignment == taCenter)
    X = W / 2 - TW / 2;
  const Integer Y = H / 2 - TH / 2;
  C->TextRect(Rect(0, 0, W, H), X, Y, FTextValue);
  return B;
}

void TspSkinLabelObject::Draw(TCanvas* Cnvs, Boolean) {
  if (!Skinned()) return;
  if (RectWidth(ObjectRect) <= 0 || RectHeight(ObjectRect) <= 0) return;
  const Boolean HasActiveRect = !IsNullRect(ActiveSkinRect) && ActivePicture;
  const Boolean Still = !EnableMorphing() || (Active && FMorphKf == 1) || (!Active && FMorphKf == 0);
  if (Still) {
    TOwned<TBitmap> Image;
    if (!Active)
      Image = LabelImage(Picture, SkinRect, false);
    else if (!HasActiveRect) {
      if (ActiveFontColor == FontColor) return;
      Image = LabelImage(Picture, SkinRect, true);
    } else {
      Image = LabelImage(ActivePicture, ActiveSkinRect, true);
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, Image.get());
    return;
  }
  TOwned<TBitmap> Normal = LabelImage(Picture, SkinRect, false);
  TOwned<TBitmap> Hot =
      HasActiveRect ? LabelImage(ActivePicture, ActiveSkinRect, true) : LabelImage(Picture, SkinRect, true);
  DrawMorphed(Cnvs, Normal.get(), Hot.get());
}

void TspSkinLabelObject::MouseEnter() {
  FMouseIn = true;
  Active = true;
  if (!IsNullRect(ActiveSkinRect) || ActiveFontColor != FontColor) ReDraw();
  Parent->DoMouseEnterEvent(IDName);
}

void TspSkinLabelObject::MouseLeave() {
  FMouseIn = false;
  Active = false;
  if (!IsNullRect(ActiveSkinRect) || ActiveFontColor != FontColor) ReDraw();
  Parent->DoMouseLeaveEvent(IDName);
}
