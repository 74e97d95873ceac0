// Logical fonts: LOGFONT round trips, face substitution through fontconfig, the height
// mapping checked against the font files' own tables, and the stock fonts.
#include "platform/win/Fonts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/rtl/Utf8.h"
#include "platform/win/FontEngine.h"
#include "platform/win/Text.h"
#include "tests/support/TextDib.h"
#include "tests/support/TextFreeType.h"

using namespace vantrel::win;
using vantrel::test::FontFileOf;
using vantrel::test::FreeTypeFace;
using vantrel::test::MakeFont;

namespace {

TEST(Fonts, GetObjectGivesBackTheLogFontAsCreated) {
  HFONT F = CreateFont(-11, 7, 900, 900, FW_BOLD, TRUE, TRUE, FALSE, RUSSIAN_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, "Tahoma");
  ASSERT_NE(F, nullptr);
  EXPECT_EQ(GetObjectType(F), OBJ_FONT);
  EXPECT_EQ(GetObject(F, 0, nullptr), static_cast<int>(sizeof(LOGFONT)));
  LOGFONT Lf;
  ASSERT_EQ(GetObject(F, sizeof(Lf), &Lf), static_cast<int>(sizeof(LOGFONT)));
  EXPECT_EQ(Lf.lfHeight, -11);
  EXPECT_EQ(Lf.lfWidth, 7);
  EXPECT_EQ(Lf.lfEscapement, 900);
  EXPECT_EQ(Lf.lfOrientation, 900);
  EXPECT_EQ(Lf.lfWeight, FW_BOLD);
  EXPECT_EQ(Lf.lfItalic, 1);
  EXPECT_EQ(Lf.lfUnderline, 1);
  EXPECT_EQ(Lf.lfStrikeOut, 0);
  EXPECT_EQ(Lf.lfCharSet, RUSSIAN_CHARSET);
  EXPECT_EQ(Lf.lfOutPrecision, OUT_TT_PRECIS);
  EXPECT_EQ(Lf.lfQuality, ANTIALIASED_QUALITY);
  EXPECT_EQ(Lf.lfPitchAndFamily, VARIABLE_PITCH | FF_SWISS);
  EXPECT_STREQ(Lf.lfFaceName, "Tahoma");

  // CreateFontIndirect of that record makes an equal font; a short buffer gets a prefix.
  HFONT G = CreateFontIndirect(&Lf);
  LOGFONT Back;
  ASSERT_TRUE(GetFontObject(G, &Back));
  EXPECT_EQ(std::memcmp(&Back, &Lf, sizeof(LOGFONT)), 0);
  LONG Height = 0;
  EXPECT_EQ(GetObject(G, sizeof(Height), &Height), static_cast<int>(sizeof(Height)));
  EXPECT_EQ(Height, -11);

  EXPECT_TRUE(DeleteObject(F));
  EXPECT_TRUE(DeleteObject(G));
  EXPECT_FALSE(GetFontObject(F, &Back));
  EXPECT_EQ(GetObject(F, sizeof(Back), &Back), 0);
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
}

TEST(Fonts, LongFaceNamesAreCutOnACodePointBoundary) {
  std::string Name;
  for (int I = 0; I < 20; ++I) Name += "\xC3\xA9";  // 40 bytes of 'é'
  HFONT F = CreateFont(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, Name.c_str());
  LOGFONT Lf;
  ASSERT_TRUE(GetFontObject(F, &Lf));
  const std::string Kept = Lf.lfFaceName;
  EXPECT_EQ(Kept.size(), 30u);
  EXPECT_EQ(Kept, Name.substr(0, 30));
  DeleteObject(F);

  // A LOGFONT whose name fills the whole array is still read as terminated.
  LOGFONT Full;
  std::memset(Full.lfFaceName, 'x', sizeof(Full.lfFaceName));
  HFONT G = CreateFontIndirect(&Full);
  ASSERT_TRUE(GetFontObject(G, &Lf));
  EXPECT_EQ(std::strlen(Lf.lfFaceName), static_cast<size_t>(LF_FACESIZE - 1));
  DeleteObject(G);
}

TEST(Fonts, FaceNamesMapToTheInstalledFamilies) {
  struct Case {
    const char* Face;
    BYTE PitchAndFamily;
    const char* Family;
  };
  const Case Cases[] = {
      {"Arial", 0, "Liberation Sans"},
      {"arial", 0, "Liberation Sans"},
      {"Times New Roman", 0, "Liberation Serif"},
      {"Courier New", 0, "Liberation Mono"},
      {"DejaVu Serif", 0, "DejaVu Serif"},
      {"", 0, "DejaVu Sans"},
      {"", FIXED_PITCH | FF_MODERN, "DejaVu Sans Mono"},
      {"", FF_ROMAN, "DejaVu Serif"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Face);
    LOGFONT Lf = MakeFont(C.Face, -12);
    Lf.lfPitchAndFamily = C.PitchAndFamily;
    HFONT F = CreateFontIndirect(&Lf);
    auto Face = FaceOfFont(F);
    ASSERT_NE(Face, nullptr);
    EXPECT_EQ(Face->Match().Family, C.Family);
    EXPECT_EQ(Face->Match().File, FontFileOf(C.Family));
    DeleteObject(F);
  }
}

// The dialog faces come out of the condensed sans: text laid out for them fits its place.
// A label 13 pixels high holds a line of 8-point Tahoma, and the "Error!" window's longest
// fixed line, at 9 in a client area 375 wide, fits in it.
TEST(Fonts, TheDialogFacesFitTheTextLaidOutForThem) {
  const std::u32string Line = U"Error report is generated. Please send it to developers to fix the problem.";
  for (const char* Name : {"Tahoma", "MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg 2"}) {
    SCOPED_TRACE(Name);
    LOGFONT Lf = MakeFont(Name, -11);
    HFONT F = CreateFontIndirect(&Lf);
    auto Face = FaceOfFont(F);
    ASSERT_NE(Face, nullptr);
    const std::string& File = Face->Match().File;
    EXPECT_EQ(File.substr(File.rfind('/') + 1), "DejaVuSansCondensed.ttf");
    EXPECT_EQ(Face->Metrics().Height, 13);
    int Width = 0;
    for (char32_t C : Line) Width += Face->Advance(C);
    EXPECT_LE(Width, 375 - 9);
    DeleteObject(F);
  }
}

TEST(Fonts, BoldAndItalicPickTheStyledFiles) {
  struct Case {
    int Weight;
    bool Italic;
    const char* FileEnd;
  };
  const Case Cases[] = {
      {FW_NORMAL, false, "LiberationSans-Regular.ttf"},
      {FW_BOLD, false, "LiberationSans-Bold.ttf"},
      {FW_NORMAL, true, "LiberationSans-Italic.ttf"},
      {FW_BOLD, true, "LiberationSans-BoldItalic.ttf"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.FileEnd);
    LOGFONT Lf = MakeFont("Arial", -12, 0, C.Weight);
    Lf.lfItalic = C.Italic;
    HFONT F = CreateFontIndirect(&Lf);
    auto Face = FaceOfFont(F);
    const std::string& File = Face->Match().File;
    ASSERT_GE(File.size(), std::strlen(C.FileEnd));
    EXPECT_EQ(File.substr(File.size() - std::strlen(C.FileEnd)), C.FileEnd);
    EXPECT_FALSE(Face->Match().Embolden);
    EXPECT_FALSE(Face->Match().Oblique);
    DeleteObject(F);
  }
}

TEST(Fonts, HeightMapsToThePixelSizeOfTheFace) {
  const std::string File = FontFileOf("Liberation Sans");
  ASSERT_FALSE(File.empty());
  FreeTypeFace Ref(File);
  ASSERT_TRUE(Ref.Valid());
  struct Case {
    int Height;
    int Em;
  };
  const Case Cases[] = {
      {-11, 11},
      {-1, 1},
      {-100, 100},
      {0, 12},
      {14, Ref.EmForCellHeight(14)},
      {16, Ref.EmForCellHeight(16)},
      {100, Ref.EmForCellHeight(100)},
      {1, std::max(1, Ref.EmForCellHeight(1))},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Height);
    const LOGFONT Lf = MakeFont("Arial", C.Height);
    HFONT F = CreateFontIndirect(&Lf);
    auto Face = FaceOfFont(F);
    EXPECT_EQ(Face->PixelSize(), C.Em);
    EXPECT_EQ(FontEngine::Instance().PixelSizeForHeight(Face->Match(), C.Height), C.Em);
    // A cell height is kept exactly; a character height is the em.
    if (C.Height > 0) {
      EXPECT_EQ(Face->Metrics().Height, C.Height);
    } else if (C.Height < 0) {
      EXPECT_EQ(Face->Metrics().Height - Face->Metrics().InternalLeading, -C.Height);
    }
    DeleteObject(F);
  }
  // The positive heights really are cell heights: 14 is a smaller em than -14.
  EXPECT_LT(Ref.EmForCellHeight(14), 14);
}

TEST(Fonts, StockFontsExistAndSurviveDeletion) {
  for (int Index : {OEM_FIXED_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, SYSTEM_FONT,
                    DEVICE_DEFAULT_FONT, SYSTEM_FIXED_FONT, DEFAULT_GUI_FONT}) {
    SCOPED_TRACE(Index);
    HFONT F = GetStockFont(Index);
    ASSERT_NE(F, nullptr);
    EXPECT_EQ(GetStockFont(Index), F);
    EXPECT_EQ(GetObjectType(F), OBJ_FONT);
    DeleteObject(F);
    LOGFONT Lf;
    EXPECT_TRUE(GetFontObject(F, &Lf));
    EXPECT_NE(FaceOfFont(F), nullptr);
  }
  EXPECT_EQ(GetStockFont(DEFAULT_PALETTE), nullptr);
  EXPECT_EQ(GetStockFont(WHITE_BRUSH), nullptr);
  EXPECT_EQ(GetDefaultDcFont(), GetStockFont(SYSTEM_FONT));
  LOGFONT Gui;
  ASSERT_TRUE(GetFontObject(GetStockFont(DEFAULT_GUI_FONT), &Gui));
  EXPECT_EQ(Gui.lfHeight, -11);
}

TEST(Fonts, WidthAsksForThatAverageCharacterWidth) {
  vantrel::test::TextDib Dib(10, 10);
  LOGFONT Lf = MakeFont("Arial", -20);
  Dib.Select(Lf);
  TEXTMETRIC Normal{};
  ASSERT_TRUE(GetTextMetrics(Dib.Dc(), &Normal));
  Lf.lfWidth = 2 * Normal.tmAveCharWidth;
  Dib.Select(Lf);
  TEXTMETRIC Wide{};
  ASSERT_TRUE(GetTextMetrics(Dib.Dc(), &Wide));
  EXPECT_NEAR(Wide.tmAveCharWidth, Lf.lfWidth, 1);
  EXPECT_EQ(Wide.tmHeight, Normal.tmHeight);
}

}  // namespace
