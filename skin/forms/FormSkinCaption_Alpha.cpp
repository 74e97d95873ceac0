// The caption on the 32-bit image of the layered full border: the quick buttons and the
// form's caption with its effects, drawn so that the image keeps its alpha channel.
#include <algorithm>
#include <functional>

#include "platform/ui/ImgList.h"
#include "platform/win/DrawText.h"
#include "platform/win/Gdi.h"
#include "skin/core/bitmaps/sppngimagelist.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinCaption.h"
#include "skin/forms/FormSkinQuickButtons.h"

namespace {

constexpr UINT AlphaCaptionTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

// Paints into R of Image (clipped) over a copy of its pixels; afterwards every pixel takes
// back its alpha, unless Paint answers true: then the painted part is fully opaque. Paint
// gets a canvas whose origin is R's top-left.
void PaintKeepingAlpha(TspBitmap* Image, TRect R, const std::function<Boolean(TCanvas*)>& Paint) {
  const TRect Bounds = Rect(0, 0, Image->Width(), Image->Height());
  const TRect Wanted = R;
  IntersectRect(&R, &Wanted, &Bounds);
  const Integer W = RectWidth(R), H = RectHeight(R);
  if (W <= 0 || H <= 0) return;
  auto Work = CreateOwned<TspBitmap>();
  Work->SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) Work->SetPixelValue(X, Y, Image->GetPixelValue(R.Left + X, R.Top + Y));
  SetViewportOrgEx(Work->DC(), Wanted.Left - R.Left, Wanted.Top - R.Top, nullptr);
  const Boolean Opaque = Paint(Work->Canvas());
  SetViewportOrgEx(Work->DC(), 0, 0, nullptr);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      const TspColor Old = Image->GetPixelValue(R.Left + X, R.Top + Y);
      const TspColor Alpha = Opaque ? 0xFF000000u : (Old & 0xFF000000u);
      Image->SetPixelValue(R.Left + X, R.Top + Y, (Work->GetPixelValue(X, Y) & 0x00FFFFFFu) | Alpha);
    }
}

// F over B, both with straight alpha: the colour weighted by what each contributes, the
// alpha their union.
TspColor CaptionGlyphOver(TspColor F, TspColor B) {
  const uint32_t Fa = F >> 24, Ba = B >> 24;
  if (Fa == 255 || Ba == 0) return F;
  if (Fa == 0) return B;
  const uint32_t Bw = Ba * (255 - Fa) / 255;
  const uint32_t A = Fa + Bw;
  TspColor Out = A << 24;
  for (int Shift : {0, 8, 16}) {
    const uint32_t C = (((F >> Shift) & 0xFF) * Fa + ((B >> Shift) & 0xFF) * Bw + A / 2) / A;
    Out |= std::min<uint32_t>(C, 255) << Shift;
  }
  return Out;
}

// The quick button's glyph at (X, Y) of the layered image. An enabled PNG picture keeps its
// own alpha over the image's; a greyed PNG is drawn over the pixels keeping theirs; any other
// list's glyph is drawn on the key colour, and what is not key colour becomes opaque.
void DrawAlphaCaptionGlyph(TspBitmap* Image, TCustomImageList* Images, Integer Index, Boolean Enabled,
                           Integer X, Integer Y) {
  const Integer IW = Images->Width(), IH = Images->Height();
  auto* Png = dynamic_cast<TspPngImageList*>(Images);
  if (Png && !Enabled) {
    PaintKeepingAlpha(Image, Rect(X, Y, X + IW, Y + IH), [&](TCanvas* C) {
      Images->Draw(C, 0, 0, Index, false);
      return false;
    });
    return;
  }
  if (Png) {
    if (Index < 0 || Index >= Png->PngImages()->Count()) return;
    TspBitmap Glyph;
    AssignPngToBitmap(&Glyph, Png->PngImages()->Items(Index)->PngImage());
    for (Integer GY = 0; GY < Glyph.Height(); ++GY)
      for (Integer GX = 0; GX < Glyph.Width(); ++GX) {
        const Integer PX = X + GX, PY = Y + GY;
        if (PX < 0 || PY < 0 || PX >= Image->Width() || PY >= Image->Height()) continue;
        Image->SetPixelValue(PX, PY, CaptionGlyphOver(Glyph.GetPixelValue(GX, GY), Image->GetPixelValue(PX, PY)));
      }
    return;
  }
  constexpr TColor KeyColour = static_cast<TColor>(0x7F007F);
  TBitmap Keyed;
  Keyed.SetPixelFormat(pf24bit);
  Keyed.SetSize(IW, IH);
  Keyed.Canvas()->Brush()->SetColor(KeyColour);
  Keyed.Canvas()->FillRect(Rect(0, 0, IW, IH));
  Images->Draw(Keyed.Canvas(), 0, 0, Index, Enabled);
  for (Integer GY = 0; GY < IH; ++GY)
    for (Integer GX = 0; GX < IW; ++GX) {
      const COLORREF C = GetPixel(Keyed.Canvas()->Handle(), GX, GY);
      if (C == static_cast<COLORREF>(KeyColour)) continue;
      Image->SetPixelValue(X + GX, Y + GY, ColorRefToSpColor(C));
    }
}

}  // namespace

void TspSkinCaptionObject::DrawAlphaQuickButtons(TspBitmap* ABitMap) {
  TCustomImageList* Images = Parent->QuickImageList();
  const Integer IW = Images->Width(), IH = Images->Height();
  const Integer H = RectHeight(ObjectRect);
  Integer X = ObjectRect.Left + 5;
  if (TOwned<TBitmap> Divider = DividerPicture()) {
    X = ObjectRect.Left + RectWidth(DividerRect) + 6;
    const TPoint At = Point(ObjectRect.Left + 3, ObjectRect.Top + H / 2 - RectHeight(DividerRect) / 2);
    PaintKeepingAlpha(ABitMap, Rect(At.X, At.Y, At.X + Divider->Width(), At.Y + Divider->Height()),
                      [&](TCanvas* C) {
                        C->Draw(0, 0, Divider.get());
                        return false;
                      });
  }
  const Integer Y = ObjectRect.Top + H / 2 - IH / 2 - 2;
  TspQuickButtonItems* Items = Parent->QuickButtons();
  for (Integer I = 0; I < Items->Count(); ++I) {
    TspQuickButtonItem* Item = Items->Items(I);
    if (!Item->Visible()) continue;
    Item->ItemRect = Rect(X, Y, X + IW + 4, Y + IH + 4);
    const TRect R = Item->ItemRect;
    if (Item->Active)
      PaintKeepingAlpha(ABitMap, R, [&](TCanvas* C) {
        return DrawQuickButtonFace(C, Rect(0, 0, RectWidth(R), RectHeight(R)), Item->Down);
      });
    const TRect Glyph = Rect(R.Left + RectWidth(R) / 2 - IW / 2, R.Top + RectHeight(R) / 2 - IH / 2, 0, 0);
    DrawAlphaCaptionGlyph(ABitMap, Images, Item->ImageIndex(), Item->Enabled(), Glyph.Left, Glyph.Top);
    X += IW + 8;
  }
}

void TspSkinCaptionObject::DrawAlpha(TCanvas* Cnvs, TspBitmap* ABitMap) {
  if (!Skinned() || !ABitMap || !Parent->SupportNCArea()) return;
  TRect Area = Rect(0, 0, RectWidth(ObjectRect), RectHeight(ObjectRect));
  if (QuickButtonsPresent()) {
    Area.Left += QuickButtonsReserve();
    DrawAlphaQuickButtons(ABitMap);
  }
  if (VistaGlowEffect)
    InflateRect(&Area, -6, 0);
  else if (GlowEffect)
    InflateRect(&Area, -3, 0);
  Active = Parent->FFormActive;
  if (Parent->OnCaptionPaint) {
    Parent->OnCaptionPaint(Cnvs, ObjectRect, Active);
    return;
  }
  WideString S = CaptionText();
  if (S.empty()) return;
  SetCaptionFont(Cnvs, Active);
  FitWideTextToWidth(Cnvs, S, RectWidth(Area));
  const Integer TW = WideTextWidth(Cnvs, S), TH = WideTextHeight(Cnvs, S);
  Integer TX = Area.Left;
  if (Parent->QuickButtons()->Count() > 0 || Alignment == taCenter)
    TX = Area.Left + RectWidth(Area) / 2 - TW / 2;
  else if (Alignment == taRightJustify)
    TX = Area.Right - TW;
  TX += ObjectRect.Left;
  const Integer TY = ObjectRect.Top + Area.Top + RectHeight(Area) / 2 - TH / 2;

  // Each drawing of the text goes onto a copy of the pixels around it.
  const auto Write = [&](Integer DX, Integer DY, TColor Colour, Integer Widen,
                         const std::function<void(TCanvas*, TRect&)>& Text) {
    TRect TR = Rect(TX + DX, TY + DY, TX + DX + TW, TY + DY + TH);
    TRect Around = TR;
    InflateRect(&Around, Widen, Widen);
    PaintKeepingAlpha(ABitMap, Around, [&](TCanvas* C) {
      SetCaptionFont(C, Active);
      C->Font()->SetColor(Colour);
      C->Brush()->SetStyle(bsClear);
      TRect Local = Rect(TR.Left - Around.Left, TR.Top - Around.Top, TR.Right - Around.Left, TR.Bottom - Around.Top);
      Text(C, Local);
      return false;
    });
  };
  const auto Plain = [&](TCanvas* C, TRect& R) { DrawWideText(C, S, R, AlphaCaptionTextFlags); };
  if (Light) Write(-1, -1, Active ? ActiveLightColor : LightColor, 0, Plain);
  if (Shadow) Write(1, 1, Active ? ActiveShadowColor : ShadowColor, 0, Plain);
  const TColor TextColour = Active ? ActiveFontColor : FontColor;
  const TColor Glow = Active ? GlowActiveColor : GlowColor;
  const auto Flags = static_cast<Integer>(AlphaCaptionTextFlags);
  if (ReflectionEffect)
    Write(0, 0, TextColour, 6 + TH + ReflectionOffset, [&](TCanvas* C, TRect& R) {
      DrawReflectionTextW(C, R, S, Flags, ReflectionOffset, Active ? ReflectionActiveColor : ReflectionColor);
    });
  else if (VistaGlowEffect)
    Write(0, 0, TextColour, 6, [&](TCanvas* C, TRect& R) { DrawNarrowHaloText(C, R, S, Flags, Glow); });
  else if (GlowEffect)
    Write(0, 0, TextColour, 6 + GlowSize + std::abs(GlowOffset),
          [&](TCanvas* C, TRect& R) { DrawGlowTextW(C, R, S, Flags, GlowOffset, Glow, GlowSize); });
  else
    Write(0, 0, TextColour, 0, Plain);
}
