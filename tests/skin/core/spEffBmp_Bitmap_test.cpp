#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/ui/Graphics.h"
#include "skin/core/bitmaps/spEffBmp.h"

namespace {

void Fill(TspBitmap& B, TspColor Base) {
  for (Integer y = 0; y < B.Height(); ++y)
    for (Integer x = 0; x < B.Width(); ++x) B.SetPixelValue(x, y, Base + y * 16 + x);
}

void PutInt(std::vector<Byte>& Out, int32_t V) {
  Byte b[4];
  std::memcpy(b, &V, 4);
  Out.insert(Out.end(), b, b + 4);
}

void Load(TMemoryStream& S, const std::vector<Byte>& Bytes) {
  S.Clear();
  S.Write(Bytes.data(), static_cast<Integer>(Bytes.size()));
  S.SetPosition(0);
}

// An ASCII name, then width, height and the given pixels.
std::vector<Byte> SkinStream(const char* Name, int32_t W, int32_t H,
                             const std::vector<TspColor>& Pixels) {
  std::vector<Byte> out;
  PutInt(out, static_cast<int32_t>(std::strlen(Name)));
  for (const char* p = Name; *p; ++p) {
    out.push_back(static_cast<Byte>(*p));
    out.push_back(0);
  }
  PutInt(out, W);
  PutInt(out, H);
  for (TspColor c : Pixels) PutInt(out, static_cast<int32_t>(c));
  return out;
}

}  // namespace

TEST(TspBitmap, SetSizeTakesAbsoluteValuesAndKeepsPixelsUnlessTheSizeReallyChanges) {
  TspBitmap b;
  EXPECT_TRUE(b.Empty());
  b.SetSize(0, 5);
  EXPECT_TRUE(b.Empty());
  b.SetSize(-10, 5);
  ASSERT_FALSE(b.Empty());
  EXPECT_EQ(b.Width(), 10);
  EXPECT_EQ(b.Height(), 5);
  EXPECT_EQ(b.GetPixelValue(9, 4), 0u);
  EXPECT_EQ(FindBitmapByDC(b.DC()), &b);

  Fill(b, 0xFF000000);
  b.SetSize(0, 5);
  b.SetSize(10, 0);
  b.SetSize(10, -5);
  EXPECT_EQ(b.Width(), 10);
  EXPECT_EQ(b.GetPixelValue(3, 2), 0xFF000023u);

  HDC oldDC = b.DC();
  b.SetSize(4, 3);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 3);
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 4; ++x) EXPECT_EQ(b.GetPixelValue(x, y), 0u);
  EXPECT_EQ(FindBitmapByDC(oldDC), nullptr);
  EXPECT_EQ(FindBitmapByDC(b.DC()), &b);
  // Rows are top-down with a stride of exactly Width pixels.
  b.SetPixelValue(1, 2, 0x12345678);
  EXPECT_EQ(b.Bits()[2 * 4 + 1], 0x12345678u);
  EXPECT_EQ(b.GetScanLinePtr(2) + 1, b.GetPixelPtr(1, 2));
}

TEST(TspBitmap, DestroyedBitmapLeavesTheLiveList) {
  HDC dc;
  {
    TspBitmap b;
    b.SetSize(2, 2);
    dc = b.DC();
    EXPECT_EQ(FindBitmapByDC(dc), &b);
  }
  EXPECT_EQ(FindBitmapByDC(dc), nullptr);
}

TEST(TspBitmap, PixelAccessOutsideTheBitmapReadsZeroAndWritesNothing) {
  TspBitmap b;
  EXPECT_EQ(b.GetPixelValue(0, 0), 0u);
  b.SetPixelValue(0, 0, 1);  // no bits: nothing
  b.SetSize(3, 2);
  b.Clear(0xAABBCCDD);
  for (auto [x, y] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}}) {
    SCOPED_TRACE(testing::Message() << x << "," << y);
    EXPECT_EQ(b.GetPixelValue(x, y), 0u);
    b.SetPixelValue(x, y, 0x11111111);
  }
  for (Integer i = 0; i < 6; ++i) EXPECT_EQ(b.Bits()[i], 0xAABBCCDDu);
}

TEST(TspBitmap, StreamFormatIsNameInUtf16ThenSizeThenTopDownPixels) {
  TspBitmap b;
  b.SetSize(2, 2);
  b.SetName("Frame");
  Fill(b, 0x80000000);
  TMemoryStream s;
  b.SaveToStream(s);
  EXPECT_EQ(s.Size(), 4 + 10 + 8 + 16);  // a 5-character name takes 14 bytes
  EXPECT_EQ(
      std::vector<Byte>(static_cast<Byte*>(s.Memory()), static_cast<Byte*>(s.Memory()) + s.Size()),
      SkinStream("Frame", 2, 2, {0x80000000, 0x80000001, 0x80000010, 0x80000011}));

  // A name beyond the BMP takes surrogate pairs: "Üï😀" is 4 code units.
  TspBitmap u;
  u.SetSize(1, 1);
  u.SetName("\xC3\x9C\xC3\xAF\xF0\x9F\x98\x80");
  TMemoryStream us;
  u.SaveToStream(us);
  int32_t units = 0;
  std::memcpy(&units, us.Memory(), 4);
  EXPECT_EQ(units, 4);
  us.SetPosition(0);
  TspBitmap back;
  back.LoadFromStream(us);
  EXPECT_EQ(back.Name(), u.Name());
  EXPECT_EQ(us.Position(), us.Size());
}

TEST(TspBitmap, LoadFromStreamReadsPixelsAndFlipsANegativeHeight) {
  TMemoryStream s;
  Load(s, SkinStream("Ab", 2, -3, {1, 2, 3, 4, 5, 6}));
  TspBitmap b;
  b.SetAlphaBlend(true);
  b.LoadFromStream(s);
  EXPECT_EQ(b.Name(), "Ab");
  ASSERT_EQ(b.Width(), 2);
  ASSERT_EQ(b.Height(), 3);
  EXPECT_EQ(b.GetPixelValue(0, 0), 5u);
  EXPECT_EQ(b.GetPixelValue(1, 0), 6u);
  EXPECT_EQ(b.GetPixelValue(0, 2), 1u);
  EXPECT_TRUE(b.AlphaBlend());  // flags are not stored

  TMemoryStream up;
  Load(up, SkinStream("", 2, 3, {1, 2, 3, 4, 5, 6}));
  b.LoadFromStream(up);
  EXPECT_EQ(b.Name(), "");
  EXPECT_EQ(b.GetPixelValue(0, 0), 1u);
  EXPECT_EQ(b.GetPixelValue(1, 2), 6u);
}

TEST(TspBitmap, StreamWithAZeroSizeReadsNoPixelsAndFlipsNothing) {
  TspBitmap b;
  b.SetSize(2, 2);
  Fill(b, 0xFF000000);
  for (auto [w, h] : {std::pair{0, -2}, {2, 0}, {0, 0}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h);
    TMemoryStream s;
    Load(s, SkinStream("x", w, h, {7, 7, 7, 7}));
    b.LoadFromStream(s);
    EXPECT_EQ(s.Position(), 4 + 2 + 8);  // pixel bytes left unread
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.GetPixelValue(0, 0), 0xFF000000u);  // neither read nor flipped
    EXPECT_EQ(b.GetPixelValue(1, 1), 0xFF000011u);
  }
  TspBitmap empty;
  TMemoryStream s;
  Load(s, SkinStream("x", 0, -3, {}));
  empty.LoadFromStream(s);
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.Name(), "x");
}

TEST(TspBitmap, ShortStreamLeavesTheRemainingPixelsAsTheyWere) {
  TspBitmap b;
  b.SetSize(2, 2);
  Fill(b, 0xFF000000);
  std::vector<Byte> bytes = SkinStream("", 2, 2, {9, 9});
  TMemoryStream s;
  Load(s, bytes);
  b.LoadFromStream(s);
  EXPECT_EQ(b.GetPixelValue(1, 0), 9u);
  EXPECT_EQ(b.GetPixelValue(0, 1), 0xFF000010u);
}

TEST(TspBitmap, DamagedNameCountRaisesAReadError) {
  for (int32_t n : {-1, 1000}) {
    SCOPED_TRACE(n);
    std::vector<Byte> bytes;
    PutInt(bytes, n);
    PutInt(bytes, 1);
    TMemoryStream s;
    Load(s, bytes);
    TspBitmap b;
    EXPECT_THROW(b.LoadFromStream(s), EReadError);
  }
}

namespace {

std::vector<Byte> PcxHeader(Byte Version, Byte Encoding, Word XMax, Word YMax, Word LineBytes) {
  std::vector<Byte> h(128, 0);
  h[0] = 10;
  h[1] = Version;
  h[2] = Encoding;
  h[3] = 8;
  h[8] = static_cast<Byte>(XMax);
  h[9] = static_cast<Byte>(XMax >> 8);
  h[10] = static_cast<Byte>(YMax);
  h[11] = static_cast<Byte>(YMax >> 8);
  h[65] = 1;
  h[66] = static_cast<Byte>(LineBytes);
  h[67] = static_cast<Byte>(LineBytes >> 8);
  return h;
}

}  // namespace

TEST(TspBitmap, PcxVersion3UsesTheEgaPaletteAndEmptyRunsAddNothing) {
  std::vector<Byte> pcx = PcxHeader(3, 1, 3, 1, 4);
  // Row 0: two of 5, a run of 0 ($C0), 14, 1. Row 1: four of 15.
  const Byte data[] = {0xC2, 5, 0xC0, 7, 14, 1, 0xC4, 15};
  pcx.insert(pcx.end(), std::begin(data), std::end(data));
  // A 256-colour palette at the end must be ignored for version 3.
  pcx.push_back(12);
  pcx.insert(pcx.end(), 768, 0x42);
  TMemoryStream s;
  Load(s, pcx);
  TspBitmap b;
  b.LoadFromPcxStream(s);
  ASSERT_EQ(b.Width(), 4);
  ASSERT_EQ(b.Height(), 2);
  const TspColor expected[2][4] = {{0xFFAA00AA, 0xFFAA00AA, 0xFFFFFF55, 0xFF0000AA},
                                   {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}};
  for (Integer y = 0; y < 2; ++y)
    for (Integer x = 0; x < 4; ++x)
      EXPECT_EQ(b.GetPixelValue(x, y), expected[y][x]) << x << "," << y;
}

TEST(TspBitmap, PcxWithA256ColourPaletteAtTheEnd) {
  // 3 x 2, lines of 4 bytes (one padding byte), run-length encoded.
  std::vector<Byte> pcx = PcxHeader(5, 1, 2, 1, 4);
  const Byte data[] = {1, 2, 0, 9, 0xC2, 2, 0xC1, 0xC5, 7};
  pcx.insert(pcx.end(), std::begin(data), std::end(data));
  std::vector<Byte> palette(768, 0);
  palette[0] = 0x10, palette[1] = 0x20, palette[2] = 0x30;  // index 0
  palette[3] = 0xFF;                                        // index 1: red
  palette[7] = 0xFF;                                        // index 2: green
  palette[3 * 0xC5 + 2] = 0xFF;                             // index $C5: blue
  pcx.push_back(12);
  pcx.insert(pcx.end(), palette.begin(), palette.end());
  TMemoryStream s;
  Load(s, pcx);
  TspBitmap b;
  b.LoadFromPcxStream(s);
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 2);
  const TspColor expected[2][3] = {{0xFFFF0000, 0xFF00FF00, 0xFF102030},
                                   {0xFF00FF00, 0xFF00FF00, 0xFF0000FF}};
  for (Integer y = 0; y < 2; ++y)
    for (Integer x = 0; x < 3; ++x)
      EXPECT_EQ(b.GetPixelValue(x, y), expected[y][x]) << x << "," << y;
}

TEST(TspBitmap, PcxDataThatEndsEarlyLeavesTheRestAtIndexZero) {
  for (Byte encoding : {0, 1}) {
    SCOPED_TRACE(encoding);
    std::vector<Byte> pcx = PcxHeader(3, encoding, 2, 1, 4);
    const Byte data[] = {1, 2, 3, 0, 4};  // 5 of 8 bytes
    pcx.insert(pcx.end(), std::begin(data), std::end(data));
    if (encoding == 1) pcx.push_back(0xC3);  // a run cut off by the end of the data
    TMemoryStream s;
    Load(s, pcx);
    TspBitmap b;
    b.LoadFromPcxStream(s);
    ASSERT_EQ(b.Width(), 3);
    EXPECT_EQ(b.GetPixelValue(2, 0), 0xFF00AAAAu);  // EGA 3
    EXPECT_EQ(b.GetPixelValue(0, 1), 0xFFAA0000u);  // EGA 4
    EXPECT_EQ(b.GetPixelValue(1, 1), 0xFF000000u);
    EXPECT_EQ(b.GetPixelValue(2, 1), 0xFF000000u);
  }
}

TEST(TspBitmap, PcxWithAWrongSignatureLoadsNothing) {
  std::vector<Byte> pcx = PcxHeader(3, 1, 3, 1, 4);
  pcx[0] = 11;
  TMemoryStream s;
  Load(s, pcx);
  TspBitmap b;
  EXPECT_NO_THROW(b.LoadFromPcxStream(s));
  EXPECT_TRUE(b.Empty());

  TMemoryStream shortHeader;
  Load(shortHeader, std::vector<Byte>(20, 10));
  EXPECT_THROW(b.LoadFromPcxStream(shortHeader), EReadError);
}

TEST(TspBitmap, CheckingTransparentTakesColoursWithinFiveOfTheKey) {
  TspBitmap b;
  b.SetSize(3, 1);
  b.SetPixelValue(0, 0, 0xFF15252B);  // red 21, green 37, blue 43: each 5 away
  b.SetPixelValue(1, 0, 0xFF162030);  // red 22: 6 away
  b.SetPixelValue(2, 0, 0x80102030);  // exact
  b.CheckingTransparent(0x00102030);
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.GetPixelValue(0, 0), spTransparentKey);
  EXPECT_EQ(b.GetPixelValue(1, 0), 0xFF162030u);
  EXPECT_EQ(b.GetPixelValue(2, 0), spTransparentKey);
  b.CheckingTransparent(Rect(5, 5, 6, 6), 0x00FFFFFF);  // the rectangle has no effect
  EXPECT_FALSE(b.Transparent());
}

TEST(TspBitmap, CheckingAlphaBlendLooksForAnAlphaOtherThan0And255) {
  TspBitmap b;
  b.CheckingAlphaBlend();
  EXPECT_FALSE(b.AlphaBlend());
  b.SetSize(2, 2);
  b.Clear(0xFF102030);
  b.SetPixelValue(1, 1, 0x00102030);
  b.SetAlphaBlend(true);
  b.CheckingAlphaBlend();
  EXPECT_FALSE(b.AlphaBlend());
  b.SetPixelValue(0, 1, 0xFE102030);
  b.CheckingAlphaBlend(Rect(0, 0, 1, 1));
  EXPECT_TRUE(b.AlphaBlend());
}

TEST(TspBitmap, AlphaWritesAndPremultipliedCheck) {
  TspBitmap b;
  b.SetSize(5, 4);
  b.Clear(0xFF112233);
  b.SetAlpha(0, Rect(-5, -5, 3, 2));
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 5; ++x)
      EXPECT_EQ(b.GetPixelValue(x, y) >> 24, (x <= 2 && y <= 1) ? 0u : 255u) << x << "," << y;
  b.SetAlpha(7, Rect(2, 2, 2, 9));  // zero width
  b.SetAlpha(7, Rect(4, 3, 9, 9));
  EXPECT_EQ(b.GetPixelValue(4, 3), 0x07112233u);
  EXPECT_EQ(b.GetPixelValue(3, 3), 0xFF112233u);
  b.SetAlpha(0x40);
  EXPECT_EQ(b.GetPixelValue(0, 0), 0x40112233u);

  b.SetPixelValue(1, 1, 0x80FF4020);
  b.CheckRGBA();
  EXPECT_EQ(b.GetPixelValue(1, 1), 0x80804020u);
  EXPECT_EQ(b.GetPixelValue(0, 0), 0x40112233u);
}

TEST(TspBitmap, AssignFromAWorkingBitmapCopiesPixelsNameAndFlags) {
  TspBitmap src;
  src.SetSize(3, 2);
  Fill(src, 0x80000000);
  src.SetName("glow");
  src.SetAlphaBlend(true);
  src.SetTransparent(true);
  TspBitmap dst;
  dst.Assign(&src);
  ASSERT_EQ(dst.Width(), 3);
  EXPECT_EQ(dst.GetPixelValue(2, 1), 0x80000012u);
  EXPECT_EQ(dst.Name(), "glow");
  EXPECT_TRUE(dst.AlphaBlend());
  EXPECT_TRUE(dst.Transparent());

  // An empty source is never read: the pixels stay.
  TspBitmap empty;
  dst.Assign(&empty);
  EXPECT_EQ(dst.GetPixelValue(2, 1), 0x80000012u);
  EXPECT_FALSE(dst.AlphaBlend());
}

TEST(TspBitmap, AssignFromPlatformBitmaps) {
  // A 32-bit DIB keeps its alpha and sets AlphaBlend from it.
  auto dib = CreateOwned<TBitmap>();
  dib->SetPixelFormat(pf32bit);
  dib->SetSize(2, 2);
  static_cast<TspColor*>(dib->ScanLine(0))[1] = 0x80102030;
  static_cast<TspColor*>(dib->ScanLine(1))[0] = 0xFF405060;
  TspBitmap b;
  b.Assign(dib.get());
  EXPECT_EQ(b.GetPixelValue(1, 0), 0x80102030u);
  EXPECT_EQ(b.GetPixelValue(0, 1), 0xFF405060u);
  EXPECT_TRUE(b.AlphaBlend());

  // Any other bitmap is blitted and made opaque.
  auto rgb = CreateOwned<TBitmap>();
  rgb->SetPixelFormat(pf24bit);
  rgb->SetSize(3, 1);
  rgb->Canvas()->SetPixels(2, 0, 0x00332211);
  TspBitmap c;
  c.Assign(rgb.get());
  ASSERT_EQ(c.Width(), 3);
  EXPECT_EQ(c.GetPixelValue(2, 0), 0xFF112233u);
  EXPECT_EQ(c.GetPixelValue(0, 0) >> 24, 255u);

  // Back into a platform bitmap: pf32bit of the same size, drawn by the flags.
  auto out = CreateOwned<TBitmap>();
  out->Assign(&c);
  EXPECT_EQ(out->PixelFormat(), pf32bit);
  EXPECT_EQ(out->Width(), 3);
  EXPECT_EQ(static_cast<TspColor*>(out->ScanLine(0))[2] & 0xFFFFFF, 0x112233u);

  auto font = CreateOwned<TFont>();
  EXPECT_THROW(b.Assign(font.get()), EConvertError);
}
