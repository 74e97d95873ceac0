#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/ui/Graphics.h"
#include "skin/core/bitmaps/spEffBmp_Effects.h"

namespace {

constexpr TspColor Opaque = 0xFF808080;

// A bitmap of opaque grey with the given pixels set.
struct Picture {
  TspBitmap Bmp;
  Picture(Integer W, Integer H, std::initializer_list<std::pair<TPoint, TspColor>> Pixels = {}) {
    Bmp.SetSize(W, H);
    Bmp.Clear(Opaque);
    for (const auto& [p, c] : Pixels) Bmp.SetPixelValue(p.X, p.Y, c);
  }
};

struct Flags {
  bool Angles, Border, Masked;
  friend bool operator==(const Flags&, const Flags&) = default;
  friend std::ostream& operator<<(std::ostream& o, const Flags& f) {
    return o << "angles " << f.Angles << " border " << f.Border << " masked " << f.Masked;
  }
};

Flags Check(TspBitmap* Image, const TRect& LinkRect, const TRect& Margin) {
  TspBitmapLink L;
  L.SetImage(Image);
  L.SetRect(LinkRect);
  L.SetMasked(true);
  L.SetMaskedBorder(true);
  L.SetMaskedAngles(true);
  L.CheckingMasked(Margin);
  return {L.MaskedAngles(), L.MaskedBorder(), L.Masked()};
}

}  // namespace

TEST(TextToRect, ReadsFourIntegersBetweenSeparators) {
  const struct {
    const char* Text;
    TRect Expected;
  } Cases[] = {
      {"10, 20, 30, 40", Rect(10, 20, 30, 40)},
      {"10 20 30 40", Rect(10, 20, 30, 40)},
      {"10:20;30=40", Rect(10, 20, 30, 40)},
      {"10,20,30,40  ", Rect(10, 20, 30, 40)},
      // A leading blank, like the parenthesis below, ends an empty first token.
      {" 10,20,30,40", Rect(0, 0, 0, 0)},
      {"-1,$10,0x20,+3", Rect(-1, 16, 32, 3)},
      // The parenthesis ends an empty first token.
      {"(10, 20, 30, 40)", Rect(0, 0, 0, 0)},
      {"10, 20, 30", Rect(0, 0, 0, 0)},
      {"10, 20, x, 40", Rect(0, 0, 0, 0)},
      {"", Rect(0, 0, 0, 0)},
      {"10,,20,30", Rect(0, 0, 0, 0)},
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.Text);
    TRect R = Rect(7, 7, 7, 7);
    TextToRect(c.Text, R);
    EXPECT_EQ(R, c.Expected);
  }
}

TEST(TspBitmapLink, CheckingMaskedSortsMaskedPixelsIntoCornersEdgesAndCentre) {
  const TRect M = Rect(4, 4, 4, 4);
  const struct {
    const char* Name;
    TPoint At;
    TspColor Value;
    Flags Expected;
  } Cases[] = {
      {"corner", {1, 1}, 0x00000000, {true, false, false}},
      {"bottom-right corner", {18, 17}, 0x80FFFFFF, {true, false, false}},
      {"top edge", {10, 1}, 0x00000000, {false, true, false}},
      {"right edge", {17, 10}, 0x00000000, {false, true, false}},
      {"centre", {10, 10}, 0x00000000, {false, false, true}},
      {"key colour", {10, 10}, spTransparentKey, {false, false, true}},
      {"opaque pixel", {10, 10}, 0xFF000000, {false, false, false}},
      {"$33333333 never counts", {10, 10}, 0x33333333, {false, false, false}},
  };
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.Name);
    Picture AtOrigin(20, 20, {{c.At, c.Value}});
    EXPECT_EQ(Check(&AtOrigin.Bmp, Rect(0, 0, 20, 20), M), c.Expected);
    // The same piece at (100, 50) of a larger picture.
    Picture Inside(130, 80, {{Point(100 + c.At.X, 50 + c.At.Y), c.Value}});
    EXPECT_EQ(Check(&Inside.Bmp, Rect(100, 50, 120, 70), M), c.Expected);
  }
}

TEST(TspBitmapLink, CheckingMaskedWithoutMarginsOnlySetsMasked) {
  Picture Corner(20, 20, {{Point(0, 0), 0x00000000}});
  EXPECT_EQ(Check(&Corner.Bmp, Rect(0, 0, 20, 20), Rect(0, 0, 0, 0)), (Flags{false, false, true}));
  Picture Clean(20, 20);
  EXPECT_EQ(Check(&Clean.Bmp, Rect(0, 0, 20, 20), Rect(0, 0, 0, 0)), (Flags{false, false, false}));

  // A bottom margin alone takes the margin path: a pixel in the bottom band is an edge.
  Picture Low(20, 20, {{Point(10, 17), 0x00000000}});
  EXPECT_EQ(Check(&Low.Bmp, Rect(0, 0, 20, 20), Rect(0, 0, 0, 5)), (Flags{false, true, false}));

  // Pixels outside the image read as 0, which is masked.
  Picture Small(10, 10);
  EXPECT_EQ(Check(&Small.Bmp, Rect(5, 5, 12, 12), Rect(0, 0, 0, 0)), (Flags{false, false, true}));
  EXPECT_EQ(Check(&Small.Bmp, Rect(0, 0, 10, 10), Rect(0, 0, 0, 0)), (Flags{false, false, false}));

  // Without an image the flags are cleared.
  EXPECT_EQ(Check(nullptr, Rect(0, 0, 10, 10), Rect(0, 0, 0, 0)), (Flags{false, false, false}));

  TspBitmapLink L;
  L.SetImage(&Corner.Bmp);
  L.SetRect(Rect(0, 0, 20, 20));
  L.CheckingMasked();
  EXPECT_TRUE(L.Masked());
}

TEST(TspBitmapLink, AssignedNeedsAnImageAndAPositiveArea) {
  Picture P(4, 4);
  TspBitmapLink L;
  L.SetRect(Rect(0, 0, 4, 4));
  EXPECT_FALSE(L.Assigned());
  L.SetImage(&P.Bmp);
  EXPECT_TRUE(L.Assigned());
  for (TRect R : {Rect(2, 0, 2, 4), Rect(0, 3, 4, 3), Rect(4, 0, 0, 4)}) {
    L.SetRect(R);
    EXPECT_FALSE(L.Assigned());
  }
  // Both sides reversed give a positive product.
  L.SetRect(Rect(4, 4, 0, 0));
  EXPECT_TRUE(L.Assigned());
  L.SetLeft(1);
  L.SetTop(2);
  L.SetRight(3);
  L.SetBottom(4);
  EXPECT_EQ(L.Rect(), Rect(1, 2, 3, 4));
}

TEST(TspBitmapLink, AssignCopiesEverythingButRefusesOtherClasses) {
  Picture P(4, 4);
  TspBitmapLink A;
  A.SetImage(&P.Bmp);
  A.SetRect(Rect(1, 2, 3, 4));
  A.SetName("frame");
  A.SetMasked(true);
  A.SetMaskedAngles(true);
  TspBitmapLink B;
  B.SetMaskedBorder(true);
  B.Assign(&A);
  EXPECT_EQ(B.Image(), &P.Bmp);
  EXPECT_EQ(B.Rect(), Rect(1, 2, 3, 4));
  EXPECT_EQ(B.Name(), "frame");
  EXPECT_TRUE(B.Masked());
  EXPECT_TRUE(B.MaskedAngles());
  EXPECT_FALSE(B.MaskedBorder());

  try {
    B.Assign(&P.Bmp);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TspBitmap to a TspBitmapLink");
  }
}

TEST(TspBitmapLink, StreamHoldsNameAndRectangleOnly) {
  Picture P(4, 4);
  TspBitmapLink A;
  A.SetImage(&P.Bmp);
  A.SetName("ab");
  A.SetRect(Rect(1, -2, 300, 4));
  A.SetMasked(true);
  TMemoryStream S;
  A.SaveToStream(S);
  const std::vector<Byte> Expected = {2,    0,    0,    0,    'a',  0, 'b', 0, 1, 0, 0, 0,
                                      0xFE, 0xFF, 0xFF, 0xFF, 0x2C, 1, 0,   0, 4, 0, 0, 0};
  ASSERT_EQ(S.Size(), static_cast<Int64>(Expected.size()));
  const auto* Data = static_cast<const Byte*>(S.Memory());
  EXPECT_EQ(std::vector<Byte>(Data, Data + S.Size()), Expected);

  S.SetPosition(0);
  TspBitmapLink B;
  B.LoadFromStream(S);
  EXPECT_EQ(B.Name(), "ab");
  EXPECT_EQ(B.Rect(), Rect(1, -2, 300, 4));
  EXPECT_EQ(B.Image(), nullptr);
  EXPECT_FALSE(B.Masked());

  // A stream that ends inside the rectangle is a read error.
  TMemoryStream Short;
  Short.Write(Expected.data(), 12);
  Short.SetPosition(0);
  EXPECT_THROW(B.LoadFromStream(Short), EReadError);
}

TEST(TspBitmapLink, DrawPutsTheRectangleUnscaledAtXY) {
  Picture P(4, 4);
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 4; ++x) P.Bmp.SetPixelValue(x, y, 0xFF000000 | (x << 8) | y);
  TspBitmapLink L;
  L.SetImage(&P.Bmp);
  L.SetRect(Rect(1, 2, 3, 4));

  TspBitmap Target;
  Target.SetSize(6, 6);
  Target.Clear(0xFFFFFFFF);
  L.Draw(&Target, 3, 0);
  EXPECT_EQ(Target.GetPixelValue(3, 0) & 0xFFFFFF, 0x000102u);
  EXPECT_EQ(Target.GetPixelValue(4, 1) & 0xFFFFFF, 0x000203u);
  EXPECT_EQ(Target.GetPixelValue(5, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(Target.GetPixelValue(3, 2) & 0xFFFFFF, 0xFFFFFFu);

  Target.Clear(0xFFFFFFFF);
  L.Draw(Target.Canvas(), 0, 0);
  EXPECT_EQ(Target.GetPixelValue(0, 0) & 0xFFFFFF, 0x000102u);
  EXPECT_EQ(Target.GetPixelValue(1, 1) & 0xFFFFFF, 0x000203u);
  EXPECT_EQ(Target.GetPixelValue(2, 0) & 0xFFFFFF, 0xFFFFFFu);

  // An empty rectangle or no image draws nothing.
  Target.Clear(0xFFFFFFFF);
  L.SetRect(Rect(3, 2, 1, 4));
  L.Draw(&Target, 0, 0);
  TspBitmapLink NoImage;
  NoImage.SetRect(Rect(0, 0, 2, 2));
  NoImage.Draw(&Target, 0, 0);
  NoImage.Draw(Target.Canvas(), 0, 0);
  for (Integer y = 0; y < 6; ++y)
    for (Integer x = 0; x < 6; ++x) EXPECT_EQ(Target.GetPixelValue(x, y), 0xFFFFFFFFu);
}

TEST(TspBitmapLink, GetBitmapLinkNamesTheLinkAfterTheBitmap) {
  Picture P(8, 8);
  P.Bmp.SetName("panel");
  auto A = GetBitmapLink(&P.Bmp, Rect(1, 2, 3, 4));
  EXPECT_EQ(A->Image(), &P.Bmp);
  EXPECT_EQ(A->Name(), "panel");
  EXPECT_EQ(A->Rect(), Rect(1, 2, 3, 4));
  auto B = GetBitmapLink(&P.Bmp, String("5, 6, 7, 8"));
  EXPECT_EQ(B->Rect(), Rect(5, 6, 7, 8));
  auto C = GetBitmapLink(&P.Bmp, String("(5, 6, 7, 8)"));
  EXPECT_EQ(C->Rect(), Rect(0, 0, 0, 0));
  EXPECT_FALSE(C->Assigned());
}
