// TFont, TPen and TBrush: the property sets behind a canvas's GDI objects.
#include <cstdlib>
#include <cstring>

#include "platform/ui/Graphics.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"

namespace {

// MulDiv of the platform: 64-bit product, rounded half away from zero.
Integer MulDivRound(Integer A, Integer B, Integer C) {
  if (C == 0) return -1;
  const int64_t p = static_cast<int64_t>(A) * B;
  const int64_t half = std::llabs(C) / 2;
  const int64_t q = ((p < 0) != (C < 0)) ? (p - half) / C : (p + half) / C;
  return static_cast<Integer>(q);
}

constexpr int kPenStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
constexpr int kHatchStyles[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};

}  // namespace

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------
// TFont

TFont::TFont() : FName("Tahoma"), FHeight(-11), FColor(clWindowText) {}

TFont::~TFont() { FreeHandle(); }

void TFont::FreeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TFont::Changed() {
  // Listeners (a canvas) deselect the old handle first; then it goes. A listener that
  // asks for the handle meanwhile (a control passing it to its window) gets the new font.
  const HFONT Old = FHandle;
  FHandle = nullptr;
  TGraphicsObject::Changed();
  if (Old) DeleteObject(Old);
}

void TFont::Assign(TPersistent* Source) {
  if (auto* Src = dynamic_cast<TFont*>(Source)) {
    if (Src == this) return;
    FName = Src->FName;
    FHeight = Src->FHeight;
    FStyle = Src->FStyle;
    FColor = Src->FColor;
    FCharset = Src->FCharset;
    FPitch = Src->FPitch;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONT lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic) ? 1 : 0;
    lf.lfUnderline = FStyle.Contains(fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = FCharset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
    FHandle = CreateFontIndirect(&lf);
  }
  return FHandle;
}

void TFont::SetName(const TFontName& Value) {
  if (!Value.empty() && Value != FName) {
    FName = Value;
    Changed();
  }
}

void TFont::SetHeight(Integer Value) {
  if (Value != FHeight) {
    FHeight = Value;
    Changed();
  }
}

Integer TFont::Size() const { return -MulDivRound(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(Integer Value) { SetHeight(-MulDivRound(Value, FPixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles Value) {
  if (!(Value == FStyle)) {
    FStyle = Value;
    Changed();
  }
}

void TFont::SetColor(TColor Value) {
  if (Value != FColor) {
    FColor = Value;
    Changed();
  }
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value != FCharset) {
    FCharset = Value;
    Changed();
  }
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value != FPitch) {
    FPitch = Value;
    Changed();
  }
}

// ---------------------------------------------------------------------------------------
// TPen

TPen::~TPen() { FreeHandle(); }

void TPen::FreeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TPen::Changed() {
  TGraphicsObject::Changed();
  FreeHandle();
}

void TPen::Assign(TPersistent* Source) {
  if (auto* Src = dynamic_cast<TPen*>(Source)) {
    if (Src == this) return;
    FColor = Src->FColor;
    FWidth = Src->FWidth;
    FStyle = Src->FStyle;
    FMode = Src->FMode;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HPEN TPen::Handle() {
  if (!FHandle) FHandle = CreatePen(kPenStyles[FStyle], FWidth, static_cast<COLORREF>(ColorToRGB(FColor)));
  return FHandle;
}

void TPen::SetColor(TColor Value) {
  if (Value != FColor) {
    FColor = Value;
    Changed();
  }
}

void TPen::SetWidth(Integer Value) {
  if (Value >= 0 && Value != FWidth) {
    FWidth = Value;
    Changed();
  }
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value != FStyle) {
    FStyle = Value;
    Changed();
  }
}

void TPen::SetMode(TPenMode Value) {
  if (Value != FMode) {
    FMode = Value;
    Changed();
  }
}

// ---------------------------------------------------------------------------------------
// TBrush

TBrush::~TBrush() { FreeHandle(); }

void TBrush::FreeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TBrush::Changed() {
  TGraphicsObject::Changed();
  FreeHandle();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* Src = dynamic_cast<TBrush*>(Source)) {
    if (Src == this) return;
    FColor = Src->FColor;
    FStyle = Src->FStyle;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    const COLORREF c = static_cast<COLORREF>(ColorToRGB(FColor));
    if (FStyle == bsSolid) {
      FHandle = CreateSolidBrush(c);
    } else if (FStyle == bsClear) {
      LOGBRUSH lb{BS_NULL, c, 0};
      FHandle = CreateBrushIndirect(&lb);
    } else {
      FHandle = CreateHatchBrush(kHatchStyles[FStyle], c);
    }
  }
  return FHandle;
}

void TBrush::SetColor(TColor Value) {
  if (Value != FColor || FStyle == bsClear) {
    FColor = Value;
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
  }
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value != FStyle) {
    FStyle = Value;
    Changed();
  }
}
