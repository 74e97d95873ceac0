// Logical fonts of the raster core: LOGFONT and TEXTMETRIC, CreateFont/CreateFontIndirect,
// the stock fonts, and the font object behind an HFONT, which resolves its LOGFONT to a
// FreeType face at first use (see FontEngine.h). Face names are UTF-8.
#pragma once

#include <memory>
#include <mutex>

#include "platform/win/Gdi.h"
#include "platform/win/GdiObjects.h"

constexpr int LF_FACESIZE = 32;

// Weights
constexpr int FW_DONTCARE = 0;
constexpr int FW_THIN = 100;
constexpr int FW_EXTRALIGHT = 200;
constexpr int FW_ULTRALIGHT = FW_EXTRALIGHT;
constexpr int FW_LIGHT = 300;
constexpr int FW_NORMAL = 400;
constexpr int FW_REGULAR = FW_NORMAL;
constexpr int FW_MEDIUM = 500;
constexpr int FW_SEMIBOLD = 600;
constexpr int FW_DEMIBOLD = FW_SEMIBOLD;
constexpr int FW_BOLD = 700;
constexpr int FW_EXTRABOLD = 800;
constexpr int FW_ULTRABOLD = FW_EXTRABOLD;
constexpr int FW_HEAVY = 900;
constexpr int FW_BLACK = FW_HEAVY;

// Character sets (kept in the font and reported back; text itself is always Unicode)
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE MAC_CHARSET = 77;
constexpr BYTE SHIFTJIS_CHARSET = 128;
constexpr BYTE HANGEUL_CHARSET = 129;
constexpr BYTE HANGUL_CHARSET = 129;
constexpr BYTE JOHAB_CHARSET = 130;
constexpr BYTE GB2312_CHARSET = 134;
constexpr BYTE CHINESEBIG5_CHARSET = 136;
constexpr BYTE GREEK_CHARSET = 161;
constexpr BYTE TURKISH_CHARSET = 162;
constexpr BYTE VIETNAMESE_CHARSET = 163;
constexpr BYTE HEBREW_CHARSET = 177;
constexpr BYTE ARABIC_CHARSET = 178;
constexpr BYTE BALTIC_CHARSET = 186;
constexpr BYTE RUSSIAN_CHARSET = 204;
constexpr BYTE THAI_CHARSET = 222;
constexpr BYTE EASTEUROPE_CHARSET = 238;
constexpr BYTE OEM_CHARSET = 255;

// Precision, quality, pitch and family
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_STRING_PRECIS = 1;
constexpr BYTE OUT_CHARACTER_PRECIS = 2;
constexpr BYTE OUT_STROKE_PRECIS = 3;
constexpr BYTE OUT_TT_PRECIS = 4;
constexpr BYTE OUT_DEVICE_PRECIS = 5;
constexpr BYTE OUT_RASTER_PRECIS = 6;
constexpr BYTE OUT_TT_ONLY_PRECIS = 7;
constexpr BYTE OUT_OUTLINE_PRECIS = 8;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE CLIP_CHARACTER_PRECIS = 1;
constexpr BYTE CLIP_STROKE_PRECIS = 2;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE PROOF_QUALITY = 2;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
constexpr BYTE FF_SCRIPT = 0x40;
constexpr BYTE FF_DECORATIVE = 0x50;

// tmPitchAndFamily bits (TMPF_FIXED_PITCH set means a *variable* pitch font, as on Windows)
constexpr BYTE TMPF_FIXED_PITCH = 0x01;
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_TRUETYPE = 0x04;
constexpr BYTE TMPF_DEVICE = 0x08;

// lfHeight > 0: cell height; < 0: character height (em size); 0: default size.
// lfEscapement in tenths of a degree; 900 = vertical text reading upwards.
struct LOGFONT {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = 0;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  char lfFaceName[LF_FACESIZE] = {};  // UTF-8, zero-terminated
};
using LOGFONTA = LOGFONT;
using LOGFONTW = LOGFONT;
using PLOGFONT = LOGFONT*;

struct TEXTMETRIC {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
using TEXTMETRICA = TEXTMETRIC;
using TEXTMETRICW = TEXTMETRIC;
using LPTEXTMETRIC = TEXTMETRIC*;

HFONT CreateFontIndirect(const LOGFONT* Font);
inline HFONT CreateFontIndirectA(const LOGFONT* Font) { return CreateFontIndirect(Font); }
inline HFONT CreateFontIndirectW(const LOGFONT* Font) { return CreateFontIndirect(Font); }
HFONT CreateFont(int Height, int Width, int Escapement, int Orientation, int Weight, DWORD Italic,
                 DWORD Underline, DWORD StrikeOut, DWORD CharSet, DWORD OutPrecision,
                 DWORD ClipPrecision, DWORD Quality, DWORD PitchAndFamily, const char* FaceName);
inline HFONT CreateFontA(int Height, int Width, int Escapement, int Orientation, int Weight,
                         DWORD Italic, DWORD Underline, DWORD StrikeOut, DWORD CharSet,
                         DWORD OutPrecision, DWORD ClipPrecision, DWORD Quality,
                         DWORD PitchAndFamily, const char* FaceName) {
  return CreateFont(Height, Width, Escapement, Orientation, Weight, Italic, Underline, StrikeOut,
                    CharSet, OutPrecision, ClipPrecision, Quality, PitchAndFamily, FaceName);
}
inline HFONT CreateFontW(int Height, int Width, int Escapement, int Orientation, int Weight,
                         DWORD Italic, DWORD Underline, DWORD StrikeOut, DWORD CharSet,
                         DWORD OutPrecision, DWORD ClipPrecision, DWORD Quality,
                         DWORD PitchAndFamily, const char* FaceName) {
  return CreateFont(Height, Width, Escapement, Orientation, Weight, Italic, Underline, StrikeOut,
                    CharSet, OutPrecision, ClipPrecision, Quality, PitchAndFamily, FaceName);
}

// The font's LOGFONT (GetObject for an HFONT goes through the font object); false for a
// handle that is not a live font.
bool GetFontObject(HFONT Font, LOGFONT* Out);

// The stock font for a GetStockObject index (OEM_FIXED_FONT .. DEFAULT_GUI_FONT); null for
// any other index. Stock fonts are made once and refuse deletion.
HFONT GetStockFont(int Index);
// The font a new device context starts with (SYSTEM_FONT, as on Windows).
HFONT GetDefaultDcFont();

namespace vantrel::win {

class FontFace;

// The GDI object behind an HFONT.
class FontObject : public GdiObject {
 public:
  explicit FontObject(const LOGFONT& Font);
  static bool IsKind(DWORD Kind) { return Kind == OBJ_FONT; }

  const LOGFONT& LogFont() const { return FLogFont; }
  // The FreeType face the LOGFONT resolves to, found at first use.
  std::shared_ptr<FontFace> Face() const;
  // Writes up to Size bytes of the LOGFONT.
  int GetObjectData(int Size, void* Out) const override;

 private:
  LOGFONT FLogFont;
  mutable std::once_flag FResolved;
  mutable std::shared_ptr<FontFace> FFace;
};

// The face of a font handle; the default DC font's face for a null or stale handle.
std::shared_ptr<FontFace> FaceOfFont(HFONT Font);

}  // namespace vantrel::win
