// Text output on the raster core: glyph coverage from the font engine blended in the
// text colour through the DC's clip, backgrounds, underline and strike-out, rotation by
// the font's escapement in quarter turns, and the measuring calls.
#include "platform/win/Text.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/FontEngine.h"
#include "platform/win/GdiInternal.h"

using namespace vantrel::win;

namespace {

using detail::ClampCoord;
using detail::CutText;
using detail::kDefaultTabChars;

constexpr BYTE kTrue = 255;  // what TEXTMETRIC's flag bytes hold when set

// The font a DC draws with: its selected font, else the default DC font.
std::shared_ptr<FontObject> DcFont(DcObject& Dc) {
  const std::shared_ptr<GdiObject>& F = Dc.State().Font;
  if (F && FontObject::IsKind(F->Kind())) return std::static_pointer_cast<FontObject>(F);
  return GdiCast<FontObject>(::GetDefaultDcFont());
}

// A run of code points with the pen position of each one along the baseline.
struct Run {
  const std::u32string* Text = nullptr;
  std::vector<int> Pen;
  int Width = 0;
  const std::vector<bool>* Underline = nullptr;  // prefixed code points (DrawText)
};

Run PlainRun(FontFace& Face, const std::u32string& Text, int Extra, const INT* Dx) {
  Run R;
  R.Text = &Text;
  R.Pen.resize(Text.size());
  long long X = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    R.Pen[I] = ClampCoord(X);
    X += Dx ? Dx[I] : static_cast<long long>(Face.Advance(Text[I])) + Extra;
  }
  R.Width = ClampCoord(X);
  return R;
}

// The next tab stop after pen position Abs (logical), stops counted from Origin.
int NextTabStop(int Abs, int Count, const INT* Stops, int Origin, int DefaultTab) {
  auto Every = [Abs, Origin](int Interval) {
    const long long Rel = static_cast<long long>(Abs) - Origin;
    const long long Floor = Rel >= 0 ? Rel / Interval : -((-Rel + Interval - 1) / Interval);
    return static_cast<int>(Origin + (Floor + 1) * Interval);
  };
  if (Count <= 0 || !Stops) return Every(DefaultTab);
  if (Count == 1) return Every(Stops[0] > 0 ? ClampCoord(Stops[0]) : DefaultTab);
  for (int I = 0; I < Count; ++I) {
    const int Stop = Origin + ClampCoord(std::llabs(static_cast<long long>(Stops[I])));
    if (Stop > Abs) return Stop;
  }
  return Every(DefaultTab);
}

Run TabbedRun(FontFace& Face, const std::u32string& Text, int Extra, int X, int Count,
              const INT* Stops, int Origin) {
  const int DefaultTab = std::max(1, kDefaultTabChars * Face.Metrics().AveCharWidth);
  Run R;
  R.Text = &Text;
  R.Pen.resize(Text.size());
  int Pen = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    R.Pen[I] = Pen;
    if (Text[I] == U'\t')
      Pen = NextTabStop(X + Pen, Count, Stops, Origin, DefaultTab) - X;
    else
      Pen = ClampCoord(static_cast<long long>(Pen) + Face.Advance(Text[I]) + Extra);
  }
  R.Width = Pen;
  return R;
}

// Directions of the text frame on the surface: U along the baseline, V down the glyphs.
struct Frame {
  POINT O;
  int Ux, Uy, Vx, Vy;

  // The surface pixel that pixel (U, V) of the text frame lands on.
  POINT Map(int U, int V) const {
    return {O.X + U * Ux + V * Vx - ((Ux + Vx) < 0 ? 1 : 0),
            O.Y + U * Uy + V * Vy - ((Uy + Vy) < 0 ? 1 : 0)};
  }
  // The surface rectangle of frame pixels [U0, U1) x [V0, V1).
  RECT MapRect(int U0, int U1, int V0, int V1) const {
    if (U1 <= U0 || V1 <= V0) return {};
    const POINT A = Map(U0, V0), B = Map(U1 - 1, V1 - 1);
    return {std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X) + 1, std::max(A.Y, B.Y) + 1};
  }
};

// Escapement in tenths of a degree, taken to the nearest quarter turn counter-clockwise.
Frame FrameFor(POINT Origin, LONG Escapement) {
  const long Quarter = std::lround(static_cast<double>(Escapement) / 900.0);
  switch (((Quarter % 4) + 4) % 4) {
    case 1: return {Origin, 0, -1, 1, 0};
    case 2: return {Origin, -1, 0, 0, -1};
    case 3: return {Origin, 0, 1, -1, 0};
    default: return {Origin, 1, 0, 0, 1};
  }
}

RECT Intersect(const RECT& A, const RECT& B) {
  return {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
          std::min(A.Bottom, B.Bottom)};
}

RECT Normalised(RECT R) {
  if (R.Right < R.Left) std::swap(R.Left, R.Right);
  if (R.Bottom < R.Top) std::swap(R.Top, R.Bottom);
  return R;
}

struct PaintArgs {
  POINT Ref;                     // logical reference point
  UINT Align = TA_LEFT | TA_TOP;
  const RECT* Clip = nullptr;    // logical
  const RECT* Opaque = nullptr;  // logical, filled with the background colour
  bool FillCell = false;         // fill the text's cell with the background colour
};

void Paint(DcObject& Dc, FontObject& Font, FontFace& Face, const Run& R, const PaintArgs& A) {
  if (!Dc.Target()) return;
  const FaceMetrics& M = Face.Metrics();
  const LOGFONT& Lf = Font.LogFont();
  const DcState& St = Dc.State();

  int U0 = 0;
  if ((A.Align & TA_CENTER) == TA_CENTER)
    U0 = -R.Width / 2;
  else if (A.Align & TA_RIGHT)
    U0 = -R.Width;
  int V0 = 0;
  if ((A.Align & TA_BASELINE) == TA_BASELINE)
    V0 = -M.Ascent;
  else if (A.Align & TA_BOTTOM)
    V0 = -M.Height;

  const Frame F = FrameFor(Dc.ToSurface(A.Ref), Lf.lfEscapement);
  RECT Clip{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};
  if (A.Clip) Clip = Normalised(Dc.ToSurface(Normalised(*A.Clip)));

  const uint32_t Bk = PixelOf(St.BkColor);
  if (A.Opaque) Dc.FillRectPixels(Normalised(Dc.ToSurface(Normalised(*A.Opaque))), Bk, R2_COPYPEN);
  if (A.FillCell) Dc.FillRectPixels(Intersect(F.MapRect(U0, U0 + R.Width, V0, V0 + M.Height), Clip), Bk, R2_COPYPEN);

  const std::u32string& Text = *R.Text;
  const int Baseline = V0 + M.Ascent;
  for (size_t I = 0; I < Text.size(); ++I) {
    const GlyphImage& G = Face.Glyph(Text[I]);
    const int GU = U0 + R.Pen[I] + G.Left;
    const int GV = Baseline - G.Top;
    for (int Y = 0; Y < G.Rows; ++Y) {
      const uint8_t* Row = G.Coverage.data() + static_cast<size_t>(Y) * G.Width;
      for (int X = 0; X < G.Width; ++X) {
        if (!Row[X]) continue;
        const POINT P = F.Map(GU + X, GV + Y);
        if (P.X < Clip.Left || P.X >= Clip.Right || P.Y < Clip.Top || P.Y >= Clip.Bottom) continue;
        Dc.BlendPixel(P.X, P.Y, St.TextColor, Row[X]);
      }
    }
  }

  const uint32_t Ink = PixelOf(St.TextColor);
  auto Line = [&](int UA, int UB, int VTop, int Thick) {
    Dc.FillRectPixels(Intersect(F.MapRect(UA, UB, VTop, VTop + Thick), Clip), Ink, R2_COPYPEN);
  };
  const int UnderTop = Baseline + M.UnderlinePosition;
  if (Lf.lfUnderline) Line(U0, U0 + R.Width, UnderTop, M.UnderlineThickness);
  if (Lf.lfStrikeOut) Line(U0, U0 + R.Width, Baseline - M.StrikeoutPosition, M.StrikeoutThickness);
  if (R.Underline && !Lf.lfUnderline) {
    for (size_t I = 0; I < Text.size() && I < R.Underline->size(); ++I) {
      if (!(*R.Underline)[I]) continue;
      const int End = I + 1 < Text.size() ? R.Pen[I + 1] : R.Width;
      Line(U0 + R.Pen[I], U0 + End, UnderTop, M.UnderlineThickness);
    }
  }
  Dc.Commit();
}

}  // namespace

namespace vantrel::win::detail {

std::u32string CutText(const String& Text, int Count) {
  std::u32string Cps = Utf8ToCodePoints(Text);
  if (Count >= 0 && static_cast<size_t>(Count) < Cps.size()) Cps.resize(static_cast<size_t>(Count));
  return Cps;
}

bool IsTextDc(HDC Dc) { return DcOf(Dc) != nullptr; }

std::shared_ptr<FontFace> DcFontFace(HDC Dc) {
  auto D = DcOf(Dc);
  if (!D) return nullptr;
  auto Font = DcFont(*D);
  return Font ? Font->Face() : nullptr;
}

void DrawTextLine(HDC Dc, int X, int Y, const std::u32string& Text,
                  const std::vector<bool>& Underline, int TabWidth, const RECT* Clip) {
  auto D = DcOf(Dc);
  if (!D) return;
  auto Font = DcFont(*D);
  if (!Font) return;
  auto Face = Font->Face();
  Run R;
  R.Text = &Text;
  R.Underline = &Underline;
  R.Pen.resize(Text.size());
  int Pen = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    R.Pen[I] = Pen;
    if (Text[I] == U'\t') {
      if (TabWidth > 0) Pen = (Pen / TabWidth + 1) * TabWidth;
    } else {
      Pen += Face->Advance(Text[I]);
    }
  }
  R.Width = Pen;
  PaintArgs A;
  A.Ref = {ClampCoord(X), ClampCoord(Y)};
  A.Clip = Clip;
  A.FillCell = D->State().BkMode == OPAQUE;
  Paint(*D, *Font, *Face, R, A);
}

}  // namespace vantrel::win::detail

BOOL GetTextExtentPoint32(HDC Dc, const String& Text, int Count, SIZE* Size) {
  return GetTextExtentExPoint(Dc, Text, Count, 0, nullptr, nullptr, Size);
}

BOOL GetTextExtentExPoint(HDC Dc, const String& Text, int Count, int MaxExtent, int* Fit,
                          int* Dx, SIZE* Size) {
  auto D = DcOf(Dc);
  if (!D || !Size) return FALSE;
  try {
    auto Font = DcFont(*D);
    if (!Font) return FALSE;
    auto Face = Font->Face();
    const std::u32string Cps = CutText(Text, Count);
    const Run R = PlainRun(*Face, Cps, D->State().CharExtra, nullptr);
    int Fitted = 0;
    for (size_t I = 0; I < Cps.size(); ++I) {
      const int After = I + 1 < Cps.size() ? R.Pen[I + 1] : R.Width;
      if (Dx) Dx[I] = After;
      if (After <= MaxExtent && Fitted == static_cast<int>(I)) Fitted = static_cast<int>(I) + 1;
    }
    if (Fit) *Fit = Fitted;
    Size->cx = R.Width;
    Size->cy = Face->Metrics().Height;
    return TRUE;
  } catch (const Exception&) {
    return FALSE;
  }
}

BOOL GetTextMetrics(HDC Dc, TEXTMETRIC* Tm) {
  auto D = DcOf(Dc);
  if (!D || !Tm) return FALSE;
  try {
    auto Font = DcFont(*D);
    if (!Font) return FALSE;
    auto Face = Font->Face();
    const LOGFONT& Lf = Font->LogFont();
    const FaceMetrics& M = Face->Metrics();
    *Tm = TEXTMETRIC{};
    Tm->tmHeight = M.Height;
    Tm->tmAscent = M.Ascent;
    Tm->tmDescent = M.Descent;
    Tm->tmInternalLeading = M.InternalLeading;
    Tm->tmExternalLeading = M.ExternalLeading;
    Tm->tmAveCharWidth = M.AveCharWidth;
    Tm->tmMaxCharWidth = M.MaxCharWidth;
    Tm->tmWeight = Lf.lfWeight == FW_DONTCARE ? M.Weight : Lf.lfWeight;
    Tm->tmOverhang = 0;
    Tm->tmDigitizedAspectX = 96;
    Tm->tmDigitizedAspectY = 96;
    Tm->tmFirstChar = M.FirstChar;
    Tm->tmLastChar = M.LastChar;
    Tm->tmDefaultChar = 0x1F;
    Tm->tmBreakChar = 0x20;
    Tm->tmItalic = (Lf.lfItalic || M.Italic) ? kTrue : 0;
    Tm->tmUnderlined = Lf.lfUnderline ? kTrue : 0;
    Tm->tmStruckOut = Lf.lfStrikeOut ? kTrue : 0;
    BYTE Family = Lf.lfPitchAndFamily & 0xF0;
    if (Family == FF_DONTCARE) {
      const std::string& Fam = Face->Match().Family;
      Family = M.FixedPitch ? FF_MODERN : Fam.find("Serif") != std::string::npos && Fam.find("Sans") == std::string::npos
                                              ? FF_ROMAN
                                              : FF_SWISS;
    }
    Tm->tmPitchAndFamily = static_cast<BYTE>(Family | TMPF_VECTOR | TMPF_TRUETYPE |
                                             (M.FixedPitch ? 0 : TMPF_FIXED_PITCH));
    Tm->tmCharSet = Lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : Lf.lfCharSet;
    return TRUE;
  } catch (const Exception&) {
    return FALSE;
  }
}

BOOL TextOut(HDC Dc, int X, int Y, const String& Text, int Count) {
  return ExtTextOut(Dc, X, Y, 0, nullptr, Text, Count, nullptr);
}

BOOL ExtTextOut(HDC Dc, int X, int Y, UINT Options, const RECT* Rect, const String& Text,
                int Count, const INT* Dx) {
  auto D = DcOf(Dc);
  if (!D) return FALSE;
  try {
    auto Font = DcFont(*D);
    if (!Font) return FALSE;
    auto Face = Font->Face();
    const std::u32string Cps = CutText(Text, Count);
    const Run R = PlainRun(*Face, Cps, D->State().CharExtra, Dx);
    const RECT Box = Rect ? detail::ClampRect(*Rect) : RECT{};
    PaintArgs A;
    A.Ref = {ClampCoord(X), ClampCoord(Y)};
    A.Align = D->State().TextAlign;
    A.Clip = (Options & ETO_CLIPPED) && Rect ? &Box : nullptr;
    A.Opaque = (Options & ETO_OPAQUE) && Rect ? &Box : nullptr;
    A.FillCell = D->State().BkMode == OPAQUE;
    Paint(*D, *Font, *Face, R, A);
    return TRUE;
  } catch (const Exception&) {
    return FALSE;
  }
}

LONG TabbedTextOut(HDC Dc, int X, int Y, const String& Text, int Count, int TabPositions,
                   const INT* TabStops, int TabOrigin) {
  auto D = DcOf(Dc);
  if (!D) return 0;
  try {
    auto Font = DcFont(*D);
    if (!Font) return FALSE;
    auto Face = Font->Face();
    const std::u32string Cps = CutText(Text, Count);
    X = ClampCoord(X);
    Y = ClampCoord(Y);
    const Run R = TabbedRun(*Face, Cps, D->State().CharExtra, X, TabPositions, TabStops,
                            ClampCoord(TabOrigin));
    PaintArgs A;
    A.Ref = {X, Y};
    A.Align = D->State().TextAlign;
    A.FillCell = D->State().BkMode == OPAQUE;
    Paint(*D, *Font, *Face, R, A);
    return MAKELONG(static_cast<WORD>(std::clamp(R.Width, 0, 0xFFFF)),
                    static_cast<WORD>(Face->Metrics().Height));
  } catch (const Exception&) {
    return 0;
  }
}

DWORD GetTabbedTextExtent(HDC Dc, const String& Text, int Count, int TabPositions,
                          const INT* TabStops) {
  auto D = DcOf(Dc);
  if (!D) return 0;
  try {
    auto Font = DcFont(*D);
    if (!Font) return 0;
    auto Face = Font->Face();
    const std::u32string Cps = CutText(Text, Count);
    const Run R = TabbedRun(*Face, Cps, D->State().CharExtra, 0, TabPositions, TabStops, 0);
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(std::clamp(R.Width, 0, 0xFFFF)),
                                       static_cast<WORD>(Face->Metrics().Height)));
  } catch (const Exception&) {
    return 0;
  }
}
