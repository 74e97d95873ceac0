// The icon a form's window shows on the desktop: its own icon, else the application's,
// following every change of either; a PNG picture becomes an icon with its transparency.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/PngImage.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::uitest::FormsSession;

namespace {

// A W x H PNG of one colour (0x00BBGGRR) with a transparent top-left pixel.
TOwned<TPngImage> FormIconPng(Integer W, Integer H, TColor Colour) {
  auto Png = CreateOwned<TPngImage>();
  Png->CreateBlank(COLOR_RGBALPHA, 8, W, H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      Png->SetPixels(X, Y, Colour);
      Png->AlphaScanline(Y)[X] = X == 0 && Y == 0 ? 0 : 255;
    }
  return Png;
}

// The desktop's picture of the form's window: the pixel at (X, Y) of its first size.
uint32_t DesktopIconPixel(FormsSession& S, TCustomForm* F, int X, int Y) {
  const auto* N = S.Session.Display().Native(F->Handle());
  if (!N || N->Icon.empty()) return 0xDEADBEEF;
  return N->Icon[0].Pixels[static_cast<size_t>(Y) * N->Icon[0].Width + X];
}

}  // namespace

TEST(FormIcon, FormsShowTheApplicationsIconUnlessTheyHaveTheirOwn) {
  FormsSession S;
  TForm* Plain = nullptr;
  TForm* Own = nullptr;
  Application->CreateForm(Plain);
  Application->CreateForm(Own);
  Plain->HandleNeeded();
  Own->HandleNeeded();
  EXPECT_TRUE(S.Session.Display().Native(Plain->Handle())->Icon.empty()) << "no icon anywhere yet";

  // The application's icon from a PNG: every form without its own shows it, transparent
  // where the picture is.
  Application->Icon()->Assign(FormIconPng(32, 32, TColor(0x00EB6325)).get());
  ASSERT_TRUE(Application->Icon()->HandleAllocated());
  EXPECT_EQ(Application->Icon()->Width(), 32);
  EXPECT_EQ(DesktopIconPixel(S, Plain, 5, 5), 0xFF2563EBu);
  EXPECT_EQ(DesktopIconPixel(S, Plain, 0, 0) >> 24, 0u);
  EXPECT_EQ(DesktopIconPixel(S, Own, 5, 5), 0xFF2563EBu);

  // A form's own icon wins, and leaving it empty again gives the application's back.
  Own->Icon()->Assign(FormIconPng(16, 16, TColor(0x000000FF)).get());
  EXPECT_EQ(DesktopIconPixel(S, Own, 5, 5), 0xFFFF0000u);
  EXPECT_EQ(DesktopIconPixel(S, Plain, 5, 5), 0xFF2563EBu);
  Application->Icon()->Assign(FormIconPng(32, 32, TColor(0x0000FF00)).get());
  EXPECT_EQ(DesktopIconPixel(S, Plain, 5, 5), 0xFF00FF00u);
  EXPECT_EQ(DesktopIconPixel(S, Own, 5, 5), 0xFFFF0000u) << "its own icon stays";
  Own->Icon()->Assign(nullptr);
  EXPECT_EQ(DesktopIconPixel(S, Own, 5, 5), 0xFF00FF00u);

  // A window made later (a form's handle made anew) shows the icon at once.
  TForm* Late = nullptr;
  Application->CreateForm(Late);
  Late->HandleNeeded();
  EXPECT_EQ(DesktopIconPixel(S, Late, 5, 5), 0xFF00FF00u);
}
