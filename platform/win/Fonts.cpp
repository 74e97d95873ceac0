// Logical font objects, their creation and the stock fonts.
#include "platform/win/Fonts.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/win/FontEngine.h"

namespace vantrel::win {

namespace {

// Copies a UTF-8 face name into a LOGFONT, cut at a code-point boundary so at most
// LF_FACESIZE - 1 bytes remain.
void SetFaceName(LOGFONT& Lf, const char* Name) {
  std::memset(Lf.lfFaceName, 0, sizeof(Lf.lfFaceName));
  if (!Name) return;
  size_t Len = strnlen(Name, 4096);
  if (Len > LF_FACESIZE - 1) {
    Len = LF_FACESIZE - 1;
    while (Len > 0 && (static_cast<unsigned char>(Name[Len]) & 0xC0) == 0x80) --Len;
  }
  std::memcpy(Lf.lfFaceName, Name, Len);
}

FontRequest RequestOf(const LOGFONT& Lf) {
  FontRequest R;
  R.Face.assign(Lf.lfFaceName, strnlen(Lf.lfFaceName, LF_FACESIZE));
  R.Height = Lf.lfHeight;
  R.Width = static_cast<int>(std::min(std::llabs(static_cast<long long>(Lf.lfWidth)), 1LL << 20));
  R.Weight = Lf.lfWeight == FW_DONTCARE ? FW_NORMAL : Lf.lfWeight;
  R.Italic = Lf.lfItalic != 0;
  R.PitchAndFamily = Lf.lfPitchAndFamily;
  return R;
}

LOGFONT MakeLogFont(int Height, int Weight, BYTE PitchAndFamily, const char* Face) {
  LOGFONT Lf;
  Lf.lfHeight = Height;
  Lf.lfWeight = Weight;
  Lf.lfCharSet = ANSI_CHARSET;
  Lf.lfPitchAndFamily = PitchAndFamily;
  SetFaceName(Lf, Face);
  return Lf;
}

struct StockFonts {
  HFONT Fonts[DEFAULT_GUI_FONT - OEM_FIXED_FONT + 1] = {};
  StockFonts() {
    auto Make = [](const LOGFONT& Lf) {
      return RegisterAs<FontObject, HFONT>(std::make_shared<FontObject>(Lf), true);
    };
    Fonts[OEM_FIXED_FONT - OEM_FIXED_FONT] = Make(MakeLogFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Terminal"));
    Fonts[ANSI_FIXED_FONT - OEM_FIXED_FONT] = Make(MakeLogFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier"));
    Fonts[ANSI_VAR_FONT - OEM_FIXED_FONT] = Make(MakeLogFont(12, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"));
    Fonts[SYSTEM_FONT - OEM_FIXED_FONT] = Make(MakeLogFont(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System"));
    Fonts[DEVICE_DEFAULT_FONT - OEM_FIXED_FONT] = Fonts[SYSTEM_FONT - OEM_FIXED_FONT];
    Fonts[DEFAULT_PALETTE - OEM_FIXED_FONT] = nullptr;
    Fonts[SYSTEM_FIXED_FONT - OEM_FIXED_FONT] = Make(MakeLogFont(15, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Fixedsys"));
    Fonts[DEFAULT_GUI_FONT - OEM_FIXED_FONT] = Make(MakeLogFont(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Shell Dlg"));
  }
};

const StockFonts& Stock() {
  static const StockFonts S;
  return S;
}

}  // namespace

FontObject::FontObject(const LOGFONT& Font) : GdiObject(OBJ_FONT), FLogFont(Font) {
  // Keep the face name terminated whatever the caller left in the array.
  FLogFont.lfFaceName[LF_FACESIZE - 1] = '\0';
}

std::shared_ptr<FontFace> FontObject::Face() const {
  std::call_once(FResolved, [this] { FFace = FontEngine::Instance().Face(RequestOf(FLogFont)); });
  return FFace;
}

int FontObject::GetObjectData(int Size, void* Out) const {
  if (!Out) return static_cast<int>(sizeof(LOGFONT));
  if (Size <= 0) return 0;
  const size_t N = std::min(static_cast<size_t>(Size), sizeof(LOGFONT));
  std::memcpy(Out, &FLogFont, N);
  return static_cast<int>(N);
}

std::shared_ptr<FontFace> FaceOfFont(HFONT Font) {
  auto Obj = GdiCast<FontObject>(Font);
  if (!Obj) Obj = GdiCast<FontObject>(::GetDefaultDcFont());
  return Obj ? Obj->Face() : nullptr;
}

}  // namespace vantrel::win

using namespace vantrel::win;

HFONT CreateFontIndirect(const LOGFONT* Font) {
  if (!Font) return nullptr;
  return RegisterAs<FontObject, HFONT>(std::make_shared<FontObject>(*Font));
}

HFONT CreateFont(int Height, int Width, int Escapement, int Orientation, int Weight, DWORD Italic,
                 DWORD Underline, DWORD StrikeOut, DWORD CharSet, DWORD OutPrecision,
                 DWORD ClipPrecision, DWORD Quality, DWORD PitchAndFamily, const char* FaceName) {
  LOGFONT Lf;
  Lf.lfHeight = Height;
  Lf.lfWidth = Width;
  Lf.lfEscapement = Escapement;
  Lf.lfOrientation = Orientation;
  Lf.lfWeight = Weight;
  Lf.lfItalic = static_cast<BYTE>(Italic != 0);
  Lf.lfUnderline = static_cast<BYTE>(Underline != 0);
  Lf.lfStrikeOut = static_cast<BYTE>(StrikeOut != 0);
  Lf.lfCharSet = static_cast<BYTE>(CharSet);
  Lf.lfOutPrecision = static_cast<BYTE>(OutPrecision);
  Lf.lfClipPrecision = static_cast<BYTE>(ClipPrecision);
  Lf.lfQuality = static_cast<BYTE>(Quality);
  Lf.lfPitchAndFamily = static_cast<BYTE>(PitchAndFamily);
  SetFaceName(Lf, FaceName);
  return CreateFontIndirect(&Lf);
}

HFONT GetStockFont(int Index) {
  if (Index < OEM_FIXED_FONT || Index > DEFAULT_GUI_FONT) return nullptr;
  return Stock().Fonts[Index - OEM_FIXED_FONT];
}

HFONT GetDefaultDcFont() { return GetStockFont(SYSTEM_FONT); }

bool GetFontObject(HFONT Font, LOGFONT* Out) {
  auto Obj = GdiCast<FontObject>(Font);
  if (!Obj) return false;
  if (Out) *Out = Obj->LogFont();
  return true;
}
