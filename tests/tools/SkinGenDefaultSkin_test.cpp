// The default skin: every text colour of an enabled state is readable on the picture it
// is drawn on (contrast ratio of at least 4.5:1), and the main window's pictures load.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/ui/PngImage.h"
#include "tests/support/GlyphInk.h"
#include "tests/tools/SkinGen_TestKit.h"

using namespace vantrel::test;
namespace sg = vantrel::skingen;

namespace {

constexpr double kMinimumContrast = 4.5;

double Linear(int Channel) {
  const double C = Channel / 255.0;
  return C <= 0.03928 ? C / 12.92 : std::pow((C + 0.055) / 1.055, 2.4);
}
double Luminance(sg::Colour C) {
  return 0.2126 * Linear(sg::RedOf(C)) + 0.7152 * Linear(sg::GreenOf(C)) +
         0.0722 * Linear(sg::BlueOf(C));
}
double Contrast(sg::Colour A, sg::Colour B) {
  const double LA = Luminance(A), LB = Luminance(B);
  return (std::max(LA, LB) + 0.05) / (std::min(LA, LB) + 0.05);
}

// Which picture each enabled-state text colour is drawn on: the image key, or "" for the
// skin's button face (descriptors without a picture of their own).
struct TextOnImage {
  const char* FontKey;
  const char* ImageKey;
};
const TextOnImage kTextPlaces[] = {
    {"fontcolor", "skinrect"},           {"activefontcolor", "activeskinrect"},
    {"downfontcolor", "downskinrect"},   {"framefontcolor", "skinrect"},
    {"focusfontcolor", "focusitemrect"}, {"selectfontcolor", "selectcellrect"},
    {"fixedfontcolor", "fixedcellrect"}, {"mouseinfontcolor", "mouseintabrect"},
};
// Exceptions to the table by kind.
const char* ImageForText(const std::string& Kind, const std::string& FontKey) {
  if (Kind == "listbox" || Kind == "combobox") {
    if (FontKey == "fontcolor") return "itemrect";
    if (FontKey == "activefontcolor") return "activeitemrect";
  }
  if (Kind == "grid") {
    if (FontKey == "fontcolor") return "";  // on the grid's background colour
    if (FontKey == "focusfontcolor") return "focuscellrect";
  }
  if (Kind == "tab") {
    if (FontKey == "fontcolor") return "tabrect";
    if (FontKey == "activefontcolor") return "activetabrect";
    if (FontKey == "focusfontcolor") return "focustabrect";
  }
  if (Kind == "mainmenuitem" || Kind == "mainmenubaritem") {
    if (FontKey == "downfontcolor") return "downrect";
  }
  if (FontKey == "captionfontcolor") return "";
  for (const TextOnImage& T : kTextPlaces)
    if (FontKey == T.FontKey) return T.ImageKey;
  return nullptr;  // not an enabled-state colour
}

class DefaultSkinTest : public ::testing::Test {
 protected:
  LoadedSkin S{BinDir() + "/" + sg::DefaultSkinFolder};

  void CheckText(const std::string& Owner, const std::string& Kind, const SkinKeyRecorder& K,
                 const std::function<TBitmap*(const std::string&)>& PictureOf, sg::Colour Ground) {
    for (const auto& [Key, Colour] : K.Ints) {
      if (Key.size() < 9 || Key.compare(Key.size() - 9, 9, "fontcolor") != 0) continue;
      const char* Image = ImageForText(Kind, Key);
      if (!Image) continue;
      SCOPED_TRACE(Owner + "." + Key);
      sg::Colour Under = Ground;
      const TRect R = K.RectOf(Image);
      if (*Image && !EmptyRect(R)) {
        TBitmap* B = PictureOf(Image);
        ASSERT_NE(B, nullptr);
        const TPoint C = CentreOf(R);
        Under = PixelOf(B, C.X, C.Y);
      }
      EXPECT_GE(Contrast(Colour, Under), kMinimumContrast);
      ++Checked;
    }
  }
  int Checked = 0;
};

TEST_F(DefaultSkinTest, EnabledTextIsReadableOnItsPicture) {
  const sg::Colour Face = S.Data->SkinColors()->cBtnFace();
  for (TspDataSkinControl* D : S.Data->CtrlList) {
    sg::Colour Ground = Face;
    if (auto* G = dynamic_cast<TspDataSkinGridControl*>(D)) Ground = G->BGColor;
    if (auto* T = dynamic_cast<TspDataSkinTreeView*>(D)) Ground = T->BGColor;
    if (auto* L = dynamic_cast<TspDataSkinListView*>(D)) Ground = L->BGColor;
    CheckText(
        D->IDName, vantrel::skin::SkinControlKindOf(*D), KeysOf(D),
        [&](const std::string&) { return S.ListPicture(D->PictureIndex); }, Ground);
  }
  for (TspDataSkinObject* O : S.Data->ObjectList) {
    const std::string Kind = vantrel::skin::SkinObjectKindOf(*O);
    if (Kind == "caption") continue;  // checked on the frame pictures below
    CheckText(
        O->IDName, Kind, KeysOf(O),
        [&](const std::string& Key) { return ObjectPicture(S, O, Key); }, Face);
  }
  EXPECT_GT(Checked, 0);
  // The caption: active text on the frame, inactive text on the inactive frame.
  auto* Caption =
      dynamic_cast<TspDataSkinCaption*>(S.Data->ObjectList[S.Data->GetIndex("caption")]);
  ASSERT_NE(Caption, nullptr);
  const TPoint C = CentreOf(Caption->SkinRect);
  EXPECT_GE(Contrast(Caption->ActiveFontColor, PixelOf(S.Data->FPicture.get(), C.X, C.Y)),
            kMinimumContrast);
  EXPECT_GE(Contrast(Caption->FontColor, PixelOf(S.Data->FInActivePicture.get(), C.X, C.Y)),
            kMinimumContrast);
  // Hints.
  TBitmap* Hint = S.ListPicture(S.Data->HintWindow->WindowPictureIndex);
  ASSERT_NE(Hint, nullptr);
  EXPECT_GE(
      Contrast(S.Data->HintWindow->FontColor, PixelOf(Hint, Hint->Width() / 2, Hint->Height() / 2)),
      kMinimumContrast);
}

TEST_F(DefaultSkinTest, UsesTheSkinFontAndMorphsButtonsAndCheckBoxes) {
  auto* Button =
      dynamic_cast<TspDataSkinButtonControl*>(S.Data->CtrlList[S.Data->GetControlIndex("button")]);
  ASSERT_NE(Button, nullptr);
  EXPECT_EQ(Button->FontName, sg::SkinFontName);
  EXPECT_EQ(Button->FontHeight, sg::SkinFontHeight);
  EXPECT_TRUE(Button->Morphing);
  EXPECT_NE(S.ListPicture(Button->GlowLayerPictureIndex), nullptr);
  EXPECT_NE(S.ListPicture(Button->GlowLayerMaskPictureIndex), nullptr);
  auto* Check = dynamic_cast<TspDataSkinCheckRadioControl*>(
      S.Data->CtrlList[S.Data->GetControlIndex("checkbox")]);
  ASSERT_NE(Check, nullptr);
  EXPECT_TRUE(Check->Morphing);
  EXPECT_EQ(S.Data->HintWindow->FontName, sg::SkinFontName);
}

// Menu markers and other pictures drawn with a key colour hold it around their glyph.
TEST_F(DefaultSkinTest, KeyColouredPicturesHoldTheKeyColour) {
  auto* Menu = dynamic_cast<TspDataSkinMenuButtonControl*>(
      S.Data->CtrlList[S.Data->GetControlIndex("toolmenubutton")]);
  ASSERT_NE(Menu, nullptr);
  EXPECT_EQ(Menu->MenuMarkerTransparentColor, sg::KeyColour);
  TBitmap* B = S.ListPicture(Menu->PictureIndex);
  EXPECT_EQ(PixelOf(B, Menu->MenuMarkerRect.Left, Menu->MenuMarkerRect.Top), sg::KeyColour);
  const TPoint C = CentreOf(Menu->MenuMarkerRect);
  EXPECT_NE(PixelOf(B, C.X, C.Y), sg::KeyColour);
}

// A menu button's track part lies in the right end of its skin rectangle, and each state
// picture an enabled button shows draws the drop-down arrow there and only there: the
// button relies on its pictures for the arrow.
TEST_F(DefaultSkinTest, MenuButtonsDrawTheirArrowInTheTrackPartOfEachStatePicture) {
  for (const char* Name : {"toolmenubutton", "toolmenutrackbutton", "bigtoolmenubutton", "bigtoolmenutrackbutton"}) {
    SCOPED_TRACE(Name);
    auto* D = dynamic_cast<TspDataSkinMenuButtonControl*>(S.Data->CtrlList[S.Data->GetControlIndex(Name)]);
    ASSERT_NE(D, nullptr);
    const int W = D->SkinRect.Right - D->SkinRect.Left, H = D->SkinRect.Bottom - D->SkinRect.Top;
    const TRect T = D->TrackButtonRect;
    ASSERT_FALSE(EmptyRect(T));
    EXPECT_TRUE(T.Left > 0 && T.Top >= 0 && T.Right <= W && T.Bottom <= H);
    TBitmap* B = S.ListPicture(D->PictureIndex);
    ASSERT_NE(B, nullptr);
    const auto Pixel = [B](int X, int Y) { return PixelOf(B, X, Y); };
    // Inside the face's frame and the divider (both dark blue in the focused one).
    const int F = 2;
    for (const TRect& Face : {D->SkinRect, D->ActiveSkinRect, D->DownSkinRect, D->FocusedSkinRect}) {
      SCOPED_TRACE(std::to_string(Face.Left) + "," + std::to_string(Face.Top));
      const TRect Track{Face.Left + T.Left + F, Face.Top + T.Top + F, Face.Left + T.Right - F, Face.Top + T.Bottom - F};
      EXPECT_TRUE(IsDownArrowInk(GlyphInkRows(Pixel, Track)));
      EXPECT_TRUE(GlyphInkRows(Pixel, TRect{Face.Left + F, Face.Top + F, Face.Left + T.Left, Face.Bottom - F}).empty());
    }
  }
}

// The edit button of "buttonedit" opens a dialog: it shows three dots in every look.
TEST_F(DefaultSkinTest, TheButtonEditsButtonShowsThreeDots) {
  auto* D = dynamic_cast<TspDataSkinEditControl*>(S.Data->CtrlList[S.Data->GetControlIndex("buttonedit")]);
  ASSERT_NE(D, nullptr);
  TBitmap* B = S.ListPicture(D->PictureIndex);
  ASSERT_NE(B, nullptr);
  const auto Pixel = [B](int X, int Y) { return PixelOf(B, X, Y); };
  const TRect& Place = D->ButtonRect;
  for (const TRect& Face : {D->SkinRect, D->ActiveSkinRect}) {
    const TRect InFace{Face.Left + Place.Left, Face.Top + Place.Top, Face.Left + Place.Right, Face.Top + Place.Bottom};
    EXPECT_EQ(MostGlyphInkRuns(Pixel, InFace), 3) << Face.Left << "," << Face.Top;
  }
  for (const TRect& Look : {D->ActiveButtonRect, D->DownButtonRect}) EXPECT_EQ(MostGlyphInkRuns(Pixel, Look), 3);
}

TEST(AppPictures, EveryPictureLoadsWithItsSize) {
  const std::string Folder = BinDir() + "/" + sg::DefaultSkinFolder + "/";
  auto IsPng = [](const std::string& N) {
    return N.size() > 4 && N.compare(N.size() - 4, 4, ".png") == 0;
  };
  std::vector<sg::AppPicture> All(sg::AppPictures.begin(), sg::AppPictures.end());
  All.push_back(sg::GettingStartedPicture);
  All.push_back(sg::PreviewPicture);
  All.push_back(sg::AppIconPicture);
  for (const sg::AppPicture& P : All) {
    SCOPED_TRACE(P.Name);
    if (IsPng(P.Name)) {
      auto Png = CreateOwned<TPngImage>();
      Png->LoadFromFile(Folder + P.Name);
      EXPECT_EQ(Png->Width(), P.Width);
      EXPECT_EQ(Png->Height(), P.Height);
      EXPECT_EQ(Png->Header().ColorType, COLOR_RGBALPHA);
      for (const TPoint& Corner : {TPoint{0, 0}, TPoint{P.Width - 1, 0}, TPoint{0, P.Height - 1},
                                   TPoint{P.Width - 1, P.Height - 1}})
        EXPECT_EQ(Png->PixelAlpha(Corner.X, Corner.Y), 0);
      int Opaque = 0;
      for (int Y = 0; Y < P.Height; ++Y)
        for (int X = 0; X < P.Width; ++X) Opaque += Png->PixelAlpha(X, Y) == 255;
      EXPECT_GT(Opaque, 0);
    } else {
      auto Bmp = CreateOwned<TBitmap>();
      Bmp->LoadFromFile(Folder + P.Name);
      EXPECT_EQ(Bmp->Width(), P.Width);
      EXPECT_EQ(Bmp->Height(), P.Height);
    }
  }
}

// The program's icon is the caption's mark: a white play triangle on an accent square.
TEST(AppPictures, ProgramIconShowsThePlayMark) {
  auto Png = CreateOwned<TPngImage>();
  Png->LoadFromFile(BinDir() + "/" + sg::DefaultSkinFolder + "/appicon.png");
  ASSERT_EQ(Png->Width(), 32);
  struct Spot {
    int X, Y;
    sg::Colour Colour;
  };
  for (const Spot& P : {Spot{16, 16, sg::Rgb(255, 255, 255)}, Spot{13, 11, sg::Rgb(255, 255, 255)},
                        Spot{5, 16, sg::palette::Accent}, Spot{16, 4, sg::palette::Accent},
                        Spot{26, 26, sg::palette::Accent}}) {
    SCOPED_TRACE(testing::Message() << "pixel " << P.X << "," << P.Y);
    EXPECT_EQ(Png->PixelAlpha(P.X, P.Y), 255);
    const TColor C = Png->Pixels(P.X, P.Y);
    EXPECT_EQ(sg::Rgb(GetRValue(C), GetGValue(C), GetBValue(C)), P.Colour);
  }
}

TEST(AppPictures, FilmIconFitsItsTableCell) {
  // The file table draws the icon at x + 2 and the text from x + 23, in rows as high as
  // the row picture.
  constexpr int kIconLeft = 2, kTextLeft = 23;
  const sg::AppPicture& Film = sg::AppPictures.back();
  EXPECT_STREQ(Film.Name, "filmicon.bmp");
  EXPECT_LE(Film.Width + kIconLeft, kTextLeft);
  const sg::AppPicture& Row = sg::AppPictures[sg::AppPictures.size() - 3];
  EXPECT_STREQ(Row.Name, "tablerow.bmp");
  EXPECT_LE(Film.Height, Row.Height);
}

// The file table draws its current row with the row picture stretched over the white rows,
// black text on it: the row must stand out (3:1 against white) and keep the text readable.
TEST(AppPictures, CurrentRowStandsOutAndKeepsBlackTextReadable) {
  auto Bmp = CreateOwned<TBitmap>();
  Bmp->LoadFromFile(BinDir() + "/" + sg::DefaultSkinFolder + "/tablerow.bmp");
  ASSERT_GT(Bmp->Width(), 0);
  const sg::Colour White = sg::Rgb(255, 255, 255), Black = sg::Rgb(0, 0, 0);
  for (int Y = 0; Y < Bmp->Height(); ++Y)
    for (int X = 0; X < Bmp->Width(); ++X) {
      SCOPED_TRACE(testing::Message() << "pixel " << X << "," << Y);
      const sg::Colour P = PixelOf(Bmp.get(), X, Y);
      EXPECT_GE(Contrast(P, White), 3.0);
      EXPECT_GE(Contrast(P, Black), kMinimumContrast);
    }
}

}  // namespace
