// Reference measurements straight from fontconfig and FreeType, independent of the code
// under test: a family's font file, its OS/2 cell metrics, and hinted advances.
#pragma once

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vantrel::test {

// The regular face fontconfig finds for an exact family name.
inline std::string FontFileOf(const std::string& Family) {
  std::string Result;
  FcConfig* Config = FcInitLoadConfigAndFonts();
  FcPattern* Pat = FcNameParse(reinterpret_cast<const FcChar8*>(Family.c_str()));
  FcConfigSubstitute(Config, Pat, FcMatchPattern);
  FcDefaultSubstitute(Pat);
  FcResult Res;
  if (FcPattern* Found = FcFontMatch(Config, Pat, &Res)) {
    FcChar8* File = nullptr;
    FcChar8* Fam = nullptr;
    if (FcPatternGetString(Found, FC_FILE, 0, &File) == FcResultMatch &&
        FcPatternGetString(Found, FC_FAMILY, 0, &Fam) == FcResultMatch &&
        Family == reinterpret_cast<const char*>(Fam))
      Result = reinterpret_cast<const char*>(File);
    FcPatternDestroy(Found);
  }
  FcPatternDestroy(Pat);
  FcConfigDestroy(Config);
  return Result;
}

class FreeTypeFace {
 public:
  explicit FreeTypeFace(const std::string& File) {
    if (FT_Init_FreeType(&FLib) == 0 && FT_New_Face(FLib, File.c_str(), 0, &FFace) != 0) FFace = nullptr;
  }
  ~FreeTypeFace() {
    if (FFace) FT_Done_Face(FFace);
    if (FLib) FT_Done_FreeType(FLib);
  }
  FreeTypeFace(const FreeTypeFace&) = delete;
  FreeTypeFace& operator=(const FreeTypeFace&) = delete;

  bool Valid() const { return FFace != nullptr; }
  int UnitsPerEm() const { return FFace->units_per_EM; }
  const TT_OS2& Os2() const { return *static_cast<TT_OS2*>(FT_Get_Sfnt_Table(FFace, FT_SFNT_OS2)); }
  int WinAscent() const { return Os2().usWinAscent; }
  int WinDescent() const { return Os2().usWinDescent; }

  // Em size for a positive (cell) height: Height scaled from the Windows cell to the em.
  int EmForCellHeight(int Height) const {
    return static_cast<int>(std::lround(static_cast<double>(Height) * UnitsPerEm() /
                                        (WinAscent() + WinDescent())));
  }
  // Sum of hinted advances (whole pixels, default load flags, no kerning) at an em size.
  int Advances(const std::u32string& Text, int Em) {
    FT_Set_Pixel_Sizes(FFace, 0, static_cast<FT_UInt>(Em));
    int Sum = 0;
    for (char32_t C : Text) {
      EXPECT_EQ(FT_Load_Char(FFace, C, FT_LOAD_DEFAULT), 0);
      Sum += static_cast<int>((FFace->glyph->advance.x + 32) >> 6);
    }
    return Sum;
  }

 private:
  FT_Library FLib = nullptr;
  FT_Face FFace = nullptr;
};

}  // namespace vantrel::test
