// fontconfig matching, FreeType faces and the glyph caches behind the raster core's text.
//
// Height mapping (LOGFONT height -> pixel em size of the FreeType face):
//   Height < 0: the character height; em size = -Height pixels.
//   Height > 0: the cell height; em size = round(Height * unitsPerEm / (A + D)), where A and
//               D are usWinAscent and usWinDescent of the OS/2 table (the hhea ascender
//               and minus the hhea descender for a face without one). The reported cell
//               stays exactly Height: ascent = round(Height * A / (A + D)),
//               descent = Height - ascent.
//   Height = 0: the default character height, 12 pixels.
// For Height <= 0 the ascent and descent are round(A * em / unitsPerEm) and
// round(D * em / unitsPerEm). Every em size is at least 1 pixel.
#include "platform/win/FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::win {

namespace {

constexpr int kDefaultCharHeight = 12;
constexpr int kMaxPixelSize = 2000;  // a larger request is a mistake, not a font
// Outlines hinted by the face's own instructions; advances come out in whole pixels.
constexpr FT_Int32 kLoadFlags = FT_LOAD_DEFAULT;

// Face names of the platform's standard fonts and the fonts installed here that stand in
// for them. Names not listed go to fontconfig as they are.
struct FamilyAlias {
  const char* Face;
  const char* Family;
};
constexpr FamilyAlias kAliases[] = {
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
    // The dialog faces are narrower than the wide sans: its condensed cut has their widths
    // and their cell height, so text laid out for them fits its place.
    {"Tahoma", "DejaVu Sans Condensed"},
    {"MS Sans Serif", "DejaVu Sans Condensed"},
    {"Microsoft Sans Serif", "DejaVu Sans Condensed"},
    {"MS Shell Dlg", "DejaVu Sans Condensed"},
    {"MS Shell Dlg 2", "DejaVu Sans Condensed"},
    {"Segoe UI", "DejaVu Sans"},
    {"Verdana", "DejaVu Sans"},
    {"System", "DejaVu Sans"},
    {"Fixedsys", "DejaVu Sans Mono"},
    {"Terminal", "DejaVu Sans Mono"},
    {"Lucida Console", "DejaVu Sans Mono"},
};

// Pitch and family bits of a LOGFONT.
constexpr uint8_t kFixedPitch = 1;
constexpr uint8_t kFamilyMask = 0xF0;
constexpr uint8_t kFamilyRoman = 0x10;
constexpr uint8_t kFamilyModern = 0x30;

int RoundDiv(long long Num, long long Den) {
  if (Den == 0) return 0;
  return static_cast<int>(std::llround(static_cast<double>(Num) / static_cast<double>(Den)));
}

void FreeLibrary(void* Lib) { FT_Done_FreeType(static_cast<FT_Library>(Lib)); }

DesignMetrics ReadDesign(FT_Face Face) {
  DesignMetrics D;
  D.UnitsPerEm = Face->units_per_EM > 0 ? Face->units_per_EM : 2048;
  auto* Os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(Face, FT_SFNT_OS2));
  auto* Hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(Face, FT_SFNT_HHEA));
  if (Os2 && Os2->version != 0xFFFF && Os2->usWinAscent + Os2->usWinDescent > 0) {
    D.CellAscent = Os2->usWinAscent;
    D.CellDescent = Os2->usWinDescent;
    D.AvgCharWidth = Os2->xAvgCharWidth;
  } else if (Hhea && Hhea->Ascender - Hhea->Descender > 0) {
    D.CellAscent = Hhea->Ascender;
    D.CellDescent = -Hhea->Descender;
  } else {
    D.CellAscent = Face->ascender;
    D.CellDescent = -Face->descender;
  }
  if (D.CellAscent + D.CellDescent <= 0) {
    D.CellAscent = D.UnitsPerEm * 4 / 5;
    D.CellDescent = D.UnitsPerEm / 5;
  }
  if (Hhea) {
    const int HheaLine = Hhea->Ascender - Hhea->Descender + Hhea->Line_Gap;
    D.LineGap = std::max(0, HheaLine - (D.CellAscent + D.CellDescent));
  }
  return D;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Engine

struct FontEngine::Impl {
  std::mutex Lock;  // guards everything below
  std::shared_ptr<void> Library;
  FcConfig* Config = nullptr;
  std::map<std::tuple<std::string, int, bool, uint8_t>, FontMatch> Matches;
  std::map<std::pair<std::string, int>, DesignMetrics> Designs;
  std::map<std::tuple<std::string, int, int, int, int, bool, bool>, std::shared_ptr<FontFace>>
      Faces;

  DesignMetrics DesignLocked(const FontMatch& M) {
    auto Key = std::make_pair(M.File, M.Index);
    auto It = Designs.find(Key);
    if (It != Designs.end()) return It->second;
    FT_Face Face = nullptr;
    DesignMetrics D;
    if (FT_New_Face(static_cast<FT_Library>(Library.get()), M.File.c_str(), M.Index, &Face) == 0) {
      D = ReadDesign(Face);
      FT_Done_Face(Face);
    }
    Designs.emplace(Key, D);
    return D;
  }

  int PixelSizeLocked(const FontMatch& M, int Height) {
    int Em;
    if (Height < 0) {
      Em = Height < -kMaxPixelSize ? kMaxPixelSize : -Height;
    } else if (Height == 0) {
      Em = kDefaultCharHeight;
    } else {
      const DesignMetrics D = DesignLocked(M);
      Em = RoundDiv(static_cast<long long>(std::min(Height, kMaxPixelSize)) * D.UnitsPerEm,
                    D.CellAscent + D.CellDescent);
    }
    return std::clamp(Em, 1, kMaxPixelSize);
  }
};

FontEngine& FontEngine::Instance() {
  static FontEngine Engine;
  return Engine;
}

FontEngine::FontEngine() : FImpl(std::make_unique<Impl>()) {
  FT_Library Lib = nullptr;
  if (FT_Init_FreeType(&Lib) != 0) throw EOutOfResources("Cannot initialize the font engine");
  FImpl->Library = std::shared_ptr<void>(Lib, FreeLibrary);
  FImpl->Config = FcInitLoadConfigAndFonts();
}

FontEngine::~FontEngine() {
  FImpl->Faces.clear();
  if (FImpl->Config) FcConfigDestroy(FImpl->Config);
}

std::string FontEngine::SubstituteFamily(const std::string& Face, uint8_t PitchAndFamily) {
  if (Face.empty()) {
    if ((PitchAndFamily & 0x03) == kFixedPitch || (PitchAndFamily & kFamilyMask) == kFamilyModern)
      return "DejaVu Sans Mono";
    if ((PitchAndFamily & kFamilyMask) == kFamilyRoman) return "DejaVu Serif";
    return "DejaVu Sans";
  }
  for (const FamilyAlias& A : kAliases)
    if (SameText(Face, A.Face)) return A.Family;
  return Face;
}

FontMatch FontEngine::MatchFont(const FontRequest& Request) {
  const std::string Family = SubstituteFamily(Request.Face, Request.PitchAndFamily);
  const int Weight = Request.Weight <= 0 ? 400 : std::clamp(Request.Weight, 1, 1000);
  std::lock_guard<std::mutex> Guard(FImpl->Lock);
  auto Key = std::make_tuple(Family, Weight, Request.Italic, Request.PitchAndFamily);
  auto It = FImpl->Matches.find(Key);
  if (It != FImpl->Matches.end()) return It->second;

  FontMatch Result;
  FcPattern* Pat = FcPatternCreate();
  FcPatternAddString(Pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
  FcPatternAddInteger(Pat, FC_WEIGHT, FcWeightFromOpenType(Weight));
  FcPatternAddInteger(Pat, FC_SLANT, Request.Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(Pat, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(FImpl->Config, Pat, FcMatchPattern);
  FcDefaultSubstitute(Pat);
  FcResult Res = FcResultNoMatch;
  FcPattern* Found = FcFontMatch(FImpl->Config, Pat, &Res);
  if (Found) {
    FcChar8* File = nullptr;
    FcChar8* Fam = nullptr;
    int Index = 0, FoundWeight = FC_WEIGHT_REGULAR, FoundSlant = FC_SLANT_ROMAN;
    if (FcPatternGetString(Found, FC_FILE, 0, &File) == FcResultMatch)
      Result.File = reinterpret_cast<const char*>(File);
    if (FcPatternGetString(Found, FC_FAMILY, 0, &Fam) == FcResultMatch)
      Result.Family = reinterpret_cast<const char*>(Fam);
    FcPatternGetInteger(Found, FC_INDEX, 0, &Index);
    FcPatternGetInteger(Found, FC_WEIGHT, 0, &FoundWeight);
    FcPatternGetInteger(Found, FC_SLANT, 0, &FoundSlant);
    Result.Index = Index;
    Result.Embolden = Weight >= 600 && FoundWeight < FC_WEIGHT_DEMIBOLD;
    Result.Oblique = Request.Italic && FoundSlant == FC_SLANT_ROMAN;
    FcPatternDestroy(Found);
  }
  FcPatternDestroy(Pat);
  if (Result.File.empty()) throw EOutOfResources("No font is installed for \"" + Family + "\"");
  FImpl->Matches.emplace(Key, Result);
  return Result;
}

int FontEngine::PixelSizeForHeight(const FontMatch& Match, int Height) {
  std::lock_guard<std::mutex> Guard(FImpl->Lock);
  return FImpl->PixelSizeLocked(Match, Height);
}

std::shared_ptr<FontFace> FontEngine::Face(const FontRequest& Request) {
  const FontMatch Match = MatchFont(Request);
  std::lock_guard<std::mutex> Guard(FImpl->Lock);
  const int Em = FImpl->PixelSizeLocked(Match, Request.Height);
  const int Cell = Request.Height > 0 ? std::min(Request.Height, kMaxPixelSize) : 0;
  int EmX = Em;
  if (Request.Width > 0) {
    const DesignMetrics D = FImpl->DesignLocked(Match);
    if (D.AvgCharWidth > 0)
      EmX = std::clamp(RoundDiv(static_cast<long long>(std::min(Request.Width, kMaxPixelSize)) *
                                    D.UnitsPerEm, D.AvgCharWidth),
                       1, kMaxPixelSize);
  }
  auto Key = std::make_tuple(Match.File, Match.Index, Em, EmX, Cell, Match.Embolden, Match.Oblique);
  auto It = FImpl->Faces.find(Key);
  if (It != FImpl->Faces.end()) return It->second;
  auto Face = std::make_shared<FontFace>(Match, Em, EmX, Cell);
  FImpl->Faces.emplace(Key, Face);
  return Face;
}

// ---------------------------------------------------------------------------------------
// Face at one size

// Called with the engine's lock held (FT_New_Face must not run concurrently on a library).
FontFace::FontFace(const FontMatch& Match, int PixelHeight, int PixelWidth, int CellHeight)
    : FLibrary(FontEngine::Instance().FImpl->Library),
      FMatch(Match),
      FPixelHeight(PixelHeight),
      FPixelWidth(PixelWidth) {
  FT_Face Face = nullptr;
  if (FT_New_Face(static_cast<FT_Library>(FLibrary.get()), Match.File.c_str(), Match.Index, &Face) != 0)
    throw EOutOfResources("Cannot open the font file \"" + Match.File + "\"");
  FFace = Face;
  FT_Set_Pixel_Sizes(Face, static_cast<FT_UInt>(PixelWidth), static_cast<FT_UInt>(PixelHeight));

  const DesignMetrics D = ReadDesign(Face);
  const long long Upem = D.UnitsPerEm;
  FaceMetrics& M = FMetrics;
  if (CellHeight > 0) {
    M.Ascent = RoundDiv(static_cast<long long>(CellHeight) * D.CellAscent, D.CellAscent + D.CellDescent);
    M.Descent = CellHeight - M.Ascent;
  } else {
    M.Ascent = RoundDiv(static_cast<long long>(D.CellAscent) * PixelHeight, Upem);
    M.Descent = RoundDiv(static_cast<long long>(D.CellDescent) * PixelHeight, Upem);
  }
  M.Height = M.Ascent + M.Descent;
  M.InternalLeading = std::max(0, M.Height - PixelHeight);
  M.ExternalLeading = RoundDiv(static_cast<long long>(D.LineGap) * PixelHeight, Upem);
  M.AveCharWidth = D.AvgCharWidth > 0 ? RoundDiv(static_cast<long long>(D.AvgCharWidth) * PixelWidth, Upem)
                                      : 0;
  M.MaxCharWidth = RoundDiv(static_cast<long long>(Face->max_advance_width) * PixelWidth, Upem);
  if (M.AveCharWidth <= 0) M.AveCharWidth = std::max(1, Advance(U'x'));
  if (M.MaxCharWidth <= 0) M.MaxCharWidth = M.AveCharWidth;

  M.UnderlineThickness = std::max(1, RoundDiv(static_cast<long long>(Face->underline_thickness) * PixelHeight, Upem));
  int UnderPos = RoundDiv(-static_cast<long long>(Face->underline_position) * PixelHeight, Upem) -
                 M.UnderlineThickness / 2;
  UnderPos = std::max(UnderPos, 1);
  if (UnderPos + M.UnderlineThickness > M.Descent)
    UnderPos = std::max(0, M.Descent - M.UnderlineThickness);
  M.UnderlinePosition = UnderPos;

  auto* Os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(Face, FT_SFNT_OS2));
  if (Os2 && Os2->version != 0xFFFF && Os2->yStrikeoutSize > 0) {
    M.StrikeoutThickness = std::max(1, RoundDiv(static_cast<long long>(Os2->yStrikeoutSize) * PixelHeight, Upem));
    M.StrikeoutPosition =
        RoundDiv(static_cast<long long>(Os2->yStrikeoutPosition) * PixelHeight, Upem) + M.StrikeoutThickness;
    M.Weight = Os2->usWeightClass;
  } else {
    M.StrikeoutThickness = M.UnderlineThickness;
    M.StrikeoutPosition = M.Ascent / 3 + M.StrikeoutThickness;
    M.Weight = (Face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
  }
  if (Match.Embolden) M.Weight = std::max(M.Weight, 700);
  M.Italic = Match.Oblique || (Face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  M.FixedPitch = FT_IS_FIXED_WIDTH(Face);

  FT_UInt Gi = 0;
  FT_ULong First = FT_Get_First_Char(Face, &Gi);
  if (Gi != 0) {
    M.FirstChar = static_cast<char32_t>(First);
    FT_ULong Last = First;
    for (FT_ULong C = First; Gi != 0; C = FT_Get_Next_Char(Face, C, &Gi)) Last = C;
    M.LastChar = static_cast<char32_t>(std::min<FT_ULong>(Last, 0xFFFF));
  }
}

FontFace::~FontFace() {
  if (FFace) FT_Done_Face(FFace);
}

bool FontFace::LoadGlyph(char32_t Cp) {
  // Control characters are neither drawn nor advance the pen.
  if (Cp < 0x20 || Cp == 0x7F) return false;
  // A code point the face lacks shows its missing-glyph box.
  if (FT_Load_Glyph(FFace, FT_Get_Char_Index(FFace, Cp), kLoadFlags) != 0) return false;
  if (FFace->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (FMatch.Embolden) FT_GlyphSlot_Embolden(FFace->glyph);
    if (FMatch.Oblique) FT_GlyphSlot_Oblique(FFace->glyph);
  }
  return true;
}

int FontFace::Advance(char32_t Cp) {
  std::lock_guard<std::mutex> Guard(FLock);
  auto It = FAdvances.find(Cp);
  if (It != FAdvances.end()) return It->second;
  int Adv = 0;
  if (LoadGlyph(Cp)) Adv = static_cast<int>((FFace->glyph->advance.x + 32) >> 6);
  FAdvances.emplace(Cp, Adv);
  return Adv;
}

const GlyphImage& FontFace::Glyph(char32_t Cp) {
  std::lock_guard<std::mutex> Guard(FLock);
  auto It = FGlyphs.find(Cp);
  if (It != FGlyphs.end()) return It->second;
  GlyphImage G;
  if (LoadGlyph(Cp)) {
    FT_GlyphSlot Slot = FFace->glyph;
    if (FT_Render_Glyph(Slot, FT_RENDER_MODE_NORMAL) == 0 && Slot->bitmap.width > 0 &&
        Slot->bitmap.rows > 0) {
      const FT_Bitmap& B = Slot->bitmap;
      G.Left = Slot->bitmap_left;
      G.Top = Slot->bitmap_top;
      G.Width = static_cast<int>(B.width);
      G.Rows = static_cast<int>(B.rows);
      G.Coverage.resize(static_cast<size_t>(G.Width) * G.Rows);
      const int Pitch = B.pitch;
      for (int Y = 0; Y < G.Rows; ++Y) {
        const unsigned char* Src =
            Pitch >= 0 ? B.buffer + static_cast<ptrdiff_t>(Y) * Pitch
                       : B.buffer + static_cast<ptrdiff_t>(G.Rows - 1 - Y) * -Pitch;
        uint8_t* Dst = G.Coverage.data() + static_cast<size_t>(Y) * G.Width;
        if (B.pixel_mode == FT_PIXEL_MODE_MONO) {
          for (int X = 0; X < G.Width; ++X) Dst[X] = (Src[X >> 3] & (0x80 >> (X & 7))) ? 255 : 0;
        } else if (B.pixel_mode == FT_PIXEL_MODE_GRAY) {
          std::copy(Src, Src + G.Width, Dst);
        }
      }
    }
  }
  return FGlyphs.emplace(Cp, std::move(G)).first->second;
}

}  // namespace vantrel::win
