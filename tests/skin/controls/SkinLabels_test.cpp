// The skinned labels, the button label and the link label.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win/Shell.h"
#include "skin/controls/SkinExCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

struct InkBox {
  int Right = -1, Bottom = -1, Left = 1 << 20;
};

class SkinLabelsTest : public SkinFormFixture {
 protected:
  // The extent of the pixels of colour C inside Control.
  InkBox InkOf(TControl* Control, sg::Colour C) {
    const vantrel::win::Surface S = Session.CaptureScreen();
    const TPoint O = Control->ClientToScreen(Point(0, 0));
    InkBox Box;
    for (int Y = 0; Y < Control->Height(); ++Y)
      for (int X = 0; X < Control->Width(); ++X)
        if (static_cast<sg::Colour>(SurfacePixel(S, O.X + X, O.Y + Y)) == C) {
          Box.Right = std::max(Box.Right, X);
          Box.Bottom = std::max(Box.Bottom, Y);
          Box.Left = std::min(Box.Left, X);
        }
    return Box;
  }
  // The highest row with ink at or right of column X0.
  int TopInkFrom(TControl* Control, int X0) {
    const vantrel::win::Surface S = Session.CaptureScreen();
    const TPoint O = Control->ClientToScreen(Point(0, 0));
    for (int Y = 0; Y < Control->Height(); ++Y)
      for (int X = X0; X < Control->Width(); ++X)
        if (SurfacePixel(S, O.X + X, O.Y + Y) != 0xFFFFFFu) return Y;
    return Control->Height();
  }
  // Ink: anything that is not the white form.
  InkBox TextInk(TControl* Control) {
    const vantrel::win::Surface S = Session.CaptureScreen();
    const TPoint O = Control->ClientToScreen(Point(0, 0));
    InkBox Box;
    for (int Y = 0; Y < Control->Height(); ++Y)
      for (int X = 0; X < Control->Width(); ++X)
        if (SurfacePixel(S, O.X + X, O.Y + Y) != 0xFFFFFFu) {
          Box.Right = std::max(Box.Right, X);
          Box.Bottom = std::max(Box.Bottom, Y);
          Box.Left = std::min(Box.Left, X);
        }
    return Box;
  }
};

TEST_F(SkinLabelsTest, ADisabledSkinnedLabelIsEmbossed) {
  TspSkinStdLabel* Labels[2];
  for (int I = 0; I < 2; ++I) {
    auto* L = Labels[I] = Create<TspSkinStdLabel>(Form.get());
    L->SetAutoSize(false);  // room for the moved copy
    L->SetParent(Form.get());
    L->SetBounds(20, 20 + 40 * I, 120, 30);
    L->SetCaption("HIH");
    L->SetSkinData(Skin);
  }
  Labels[1]->SetEnabled(false);
  ShowForm();
  const auto Light = static_cast<sg::Colour>(Skin->SkinColors()->cBtnHighLight());
  const auto Dark = static_cast<sg::Colour>(Skin->SkinColors()->cBtnShadow());
  // Both colours show, and the ink reaches one pixel further right and down than the
  // enabled label's: the copy moved by (1, 1) lies under the one in place.
  EXPECT_GE(InkOf(Labels[1], Light).Right, 0);
  EXPECT_GE(InkOf(Labels[1], Dark).Right, 0);
  const InkBox On = TextInk(Labels[0]), Off = TextInk(Labels[1]);
  ASSERT_GE(On.Right, 0);
  EXPECT_EQ(Off.Left, On.Left);
  EXPECT_EQ(Off.Right, On.Right + 1);
  EXPECT_EQ(Off.Bottom, On.Bottom + 1);
}

TEST_F(SkinLabelsTest, ThreeLinesAtTheBottomEndFlushAndAutoSizeToThreeLines) {
  auto* L = Create<TspSkinTextLabel>(Form.get());
  L->SetParent(Form.get());
  L->SetBounds(20, 20, 200, 200);
  L->SetSkinData(Skin);
  L->Lines()->Add("one");
  L->Lines()->Add("two");
  L->Lines()->Add("three");
  auto Probe = CreateOwned<TBitmap>();
  Probe->Canvas()->Font()->SetName(sg::SkinFontName);
  Probe->Canvas()->Font()->SetHeight(sg::SkinFontHeight);
  const int LineH = Probe->Canvas()->TextHeight("A");
  EXPECT_EQ(L->Height(), 3 * LineH);
  ShowForm();
  const InkBox Top = TextInk(L);
  L->SetAutoSize(false);
  L->SetHeight(100);
  L->SetLayout(tlBottom);
  Session.PumpUntilIdle();
  const InkBox Bottom = TextInk(L);
  EXPECT_EQ(Bottom.Bottom, Top.Bottom + 100 - 3 * LineH);
}

// An auto-sized text label drawn in its own font follows that font's size.
TEST_F(SkinLabelsTest, ATextLabelResizesWhenItsFontChanges) {
  auto* L = Create<TspSkinTextLabel>(Form.get());
  L->SetParent(Form.get());
  L->SetBounds(20, 20, 10, 10);
  L->SetUseSkinFont(false);
  L->Lines()->Add("Wide words");
  L->Lines()->Add("two");
  auto Probe = CreateOwned<TBitmap>();
  for (int H : {12, 30}) {
    SCOPED_TRACE(H);
    L->Font()->SetHeight(H);
    Probe->Canvas()->Font()->Assign(L->Font());
    EXPECT_EQ(L->Width(), Probe->Canvas()->TextWidth("Wide words"));
    EXPECT_EQ(L->Height(), 2 * Probe->Canvas()->TextHeight("A"));
  }
}

TEST_F(SkinLabelsTest, AnEndEllipsisShortensTheEnd) {
  auto* Plain = Create<TspSkinStdLabel>(Form.get());
  auto* Short = Create<TspSkinStdLabel>(Form.get());
  int Y = 20;
  for (TspSkinStdLabel* L : {Plain, Short}) {
    L->SetAutoSize(false);
    L->SetParent(Form.get());
    L->SetBounds(20, Y, 60, 20);
    L->SetCaption("Wonderful long caption");
    L->SetSkinData(Skin);
    Y += 40;
  }
  Short->SetEllipsType(spetEndEllips);
  ShowForm();
  const InkBox P = TextInk(Plain), S = TextInk(Short);
  EXPECT_EQ(P.Left, S.Left);  // the start stays
  // At the end the tall letters give way to the low dots of the ellipsis.
  EXPECT_GT(TopInkFrom(Short, 50), TopInkFrom(Plain, 50) + 3);
}

TEST_F(SkinLabelsTest, AutoSizeTurnsOffOnAFixedSkin) {
  auto* L = Create<TspSkinLabel>(Form.get());
  L->SetParent(Form.get());
  L->SetAutoSize(true);
  EXPECT_TRUE(L->AutoSize());
  L->SetSkinDataName(sg::FixedPanel);
  L->SetSkinData(Skin);
  EXPECT_FALSE(L->AutoSize());
}

// A strip of four 10 x 10 pictures in flat colours.
const TColor GlyphColours[4] = {clRed, clLime, clBlue, clYellow};

TEST_F(SkinLabelsTest, TheButtonLabelPicksItsGlyphByState) {
  auto* B = Create<TspSkinButtonLabel>(Form.get());
  B->SetParent(Form.get());
  B->SetBounds(20, 20, 60, 40);
  auto Strip = CreateOwned<TBitmap>();
  Strip->SetSize(40, 10);
  // A border in the key colour: the strip's bottom-left pixel is left out when drawn.
  Strip->Canvas()->Brush()->SetColor(clFuchsia);
  Strip->Canvas()->FillRect(Rect(0, 0, 40, 10));
  for (int I = 0; I < 4; ++I) {
    Strip->Canvas()->Brush()->SetColor(GlyphColours[I]);
    Strip->Canvas()->FillRect(Rect(I * 10 + 1, 1, I * 10 + 9, 9));
  }
  B->SetGlyph(Strip.get());
  B->SetNumGlyphs(4);
  ShowForm();
  auto Shown = [&] {
    Session.PumpUntilIdle();
    const sg::Colour C = PixelAt(B, 30, 20);
    for (int I = 0; I < 4; ++I)
      if (C == static_cast<sg::Colour>(ColorToRGB(GlyphColours[I]))) return I + 1;
    return 0;
  };
  EXPECT_EQ(Shown(), 1);
  const TPoint Centre = B->ClientToScreen(Point(30, 20));
  Session.Move(Centre.X, Centre.Y);
  EXPECT_EQ(Shown(), 4);
  Session.Press(Centre.X, Centre.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(B->GlyphNumber(), 3);
  Session.Release(Centre.X, Centre.Y);
  EXPECT_EQ(Shown(), 4);
  const TPoint Away = Form->ClientToScreen(Point(300, 300));
  Session.Move(Away.X, Away.Y);
  EXPECT_EQ(Shown(), 1);
  B->SetEnabled(false);
  EXPECT_EQ(B->GlyphNumber(), 2);
}

TEST_F(SkinLabelsTest, ALinkLabelOpensItsAddressAfterOnClick) {
  auto R = std::make_unique<vantrel::win::RecordingLauncher>();
  vantrel::win::RecordingLauncher* Rec = R.get();
  Session.Manager().Shell().SetLauncher(std::move(R));
  auto* L = Create<TspSkinLinkLabel>(Form.get());
  L->SetParent(Form.get());
  L->SetCaption("Site");
  std::vector<std::string> Order;
  L->OnClick = [&](TObject*) { Order.push_back("click " + std::to_string(Rec->Calls.size())); };
  L->Click();
  EXPECT_EQ(Order, std::vector<std::string>{"click 0"});
  EXPECT_TRUE(Rec->Calls.empty());
  L->SetURL("https://example.org/");
  L->Click();
  ASSERT_EQ(Rec->Calls.size(), 1u);
  EXPECT_EQ(Order.back(), "click 0");
  EXPECT_EQ(Rec->Calls[0].Argv.back(), "https://example.org/");
}

}  // namespace
