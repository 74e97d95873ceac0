// TPngImage: every colour type of the format read from files the test writes itself (a
// plain PNG writer with stored deflate blocks, independent of libpng), transparency,
// saving, drawing with alpha, and damaged data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/ui/PngImage.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Crc(const Bytes& Data) {
  static uint32_t table[256];
  if (!table[1]) {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
  }
  uint32_t c = 0xFFFFFFFFu;
  for (uint8_t b : Data) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void Be32(Bytes& Out, uint32_t V) {
  for (int s = 24; s >= 0; s -= 8) Out.push_back(static_cast<uint8_t>(V >> s));
}

void Chunk(Bytes& Png, const char* Type, const Bytes& Data) {
  Be32(Png, static_cast<uint32_t>(Data.size()));
  Bytes body(Type, Type + 4);
  body.insert(body.end(), Data.begin(), Data.end());
  Png.insert(Png.end(), body.begin(), body.end());
  Be32(Png, Crc(body));
}

// A zlib stream of stored blocks.
Bytes Stored(const Bytes& Raw) {
  Bytes z = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(Raw.size() - at, 65535);
    z.push_back(at + n == Raw.size() ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n));
    z.push_back(static_cast<uint8_t>(~n >> 8));
    z.insert(z.end(), Raw.begin() + static_cast<long>(at), Raw.begin() + static_cast<long>(at + n));
    at += n;
  } while (at < Raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t c : Raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  Be32(z, (b << 16) | a);
  return z;
}

struct PngSpec {
  uint32_t Width = 0, Height = 0;
  uint8_t Depth = 8, ColorType = 0;
  std::vector<Bytes> Rows;  // packed samples without the filter byte
  Bytes Plte, Trns;
};

Bytes MakePng(const PngSpec& S) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  Be32(ihdr, S.Width);
  Be32(ihdr, S.Height);
  ihdr.insert(ihdr.end(), {S.Depth, S.ColorType, 0, 0, 0});
  Chunk(png, "IHDR", ihdr);
  if (!S.Plte.empty()) Chunk(png, "PLTE", S.Plte);
  if (!S.Trns.empty()) Chunk(png, "tRNS", S.Trns);
  Bytes raw;
  for (const Bytes& r : S.Rows) {
    raw.push_back(0);
    raw.insert(raw.end(), r.begin(), r.end());
  }
  Chunk(png, "IDAT", Stored(raw));
  Chunk(png, "IEND", {});
  return png;
}

void LoadBytes(TPngImage& Png, const Bytes& Data) {
  TMemoryStream s;
  s.WriteBuffer(Data.data(), static_cast<Integer>(Data.size()));
  s.SetPosition(0);
  Png.LoadFromStream(&s);
}

Bytes SaveBytes(TPngImage& Png) {
  TMemoryStream s;
  Png.SaveToStream(&s);
  auto* p = static_cast<const uint8_t*>(s.Memory());
  return Bytes(p, p + s.Size());
}

struct Expect {
  TColor Color;
  Byte Alpha;
};

struct TypeCase {
  const char* Name;
  PngSpec Spec;
  Byte ColorType;
  TPNGTransparencyMode Mode;
  std::vector<Expect> Pixels;  // row-major, 2 x 1 pictures
};

std::vector<TypeCase> TypeCases() {
  std::vector<TypeCase> c;
  c.push_back({"grey 8", {2, 1, 8, 0, {{0x00, 0xC8}}, {}, {}}, COLOR_GRAYSCALE, ptmNone,
               {{0x000000, 255}, {0xC8C8C8, 255}}});
  c.push_back({"grey 1-bit", {2, 1, 1, 0, {{0x40}}, {}, {}}, COLOR_GRAYSCALE, ptmNone,
               {{0x000000, 255}, {0xFFFFFF, 255}}});
  c.push_back({"grey 4-bit with tRNS", {2, 1, 4, 0, {{0x5F}}, {}, {0x00, 0x05}}, COLOR_GRAYSCALE, ptmBit,
               {{0x555555, 0}, {0xFFFFFF, 255}}});
  c.push_back({"grey 16", {2, 1, 16, 0, {{0x12, 0x34, 0xFF, 0xFF}}, {}, {}}, COLOR_GRAYSCALE, ptmNone,
               {{0x121212, 255}, {0xFFFFFF, 255}}});
  c.push_back({"rgb 8", {2, 1, 8, 2, {{0xFF, 0x00, 0x00, 0x01, 0x02, 0x03}}, {}, {}}, COLOR_RGB, ptmNone,
               {{0x0000FF, 255}, {0x030201, 255}}});
  c.push_back({"rgb 8 with tRNS", {2, 1, 8, 2, {{0xFF, 0x00, 0x00, 0x01, 0x02, 0x03}}, {}, {0, 1, 0, 2, 0, 3}},
               COLOR_RGB, ptmBit, {{0x0000FF, 255}, {0x030201, 0}}});
  c.push_back({"rgb 16", {2, 1, 16, 2, {{0xAB, 0xCD, 0x00, 0x00, 0x12, 0x34, 0, 0, 0, 0, 0xFF, 0xFF}}, {}, {}},
               COLOR_RGB, ptmNone, {{0x1200AB, 255}, {0xFF0000, 255}}});
  c.push_back({"palette with tRNS", {2, 1, 8, 3, {{0x01, 0x02}}, {10, 20, 30, 40, 50, 60, 70, 80, 90}, {255, 0x80}},
               COLOR_PALETTE, ptmPartial, {{0x3C3228, 0x80}, {0x5A5046, 255}}});
  c.push_back({"palette 2-bit", {2, 1, 2, 3, {{0x10}}, {1, 2, 3, 4, 5, 6}, {}}, COLOR_PALETTE, ptmNone,
               {{0x030201, 255}, {0x060504, 255}}});
  c.push_back({"grey + alpha", {2, 1, 8, 4, {{0x10, 0x00, 0xF0, 0x7F}}, {}, {}}, COLOR_GRAYSCALEALPHA, ptmPartial,
               {{0x101010, 0}, {0xF0F0F0, 0x7F}}});
  c.push_back({"rgba 8", {2, 1, 8, 6, {{1, 2, 3, 4, 0xFF, 0xFE, 0xFD, 0xFF}}, {}, {}}, COLOR_RGBALPHA, ptmPartial,
               {{0x030201, 4}, {0xFDFEFF, 255}}});
  c.push_back({"rgba 16", {2, 1, 16, 6, {{0x80, 0, 0x40, 0, 0x20, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF}}, {}, {}},
               COLOR_RGBALPHA, ptmPartial, {{0x204080, 0x10}, {0x000000, 255}}});
  return c;
}

TEST(PngImage, EveryColourTypeLoadsWithItsPixelsAndAlpha) {
  for (const TypeCase& c : TypeCases()) {
    SCOPED_TRACE(c.Name);
    TPngImage png;
    LoadBytes(png, MakePng(c.Spec));
    ASSERT_EQ(png.Width(), 2);
    ASSERT_EQ(png.Height(), 1);
    EXPECT_EQ(png.Header().ColorType, c.ColorType);
    EXPECT_EQ(png.TransparencyMode(), c.Mode);
    for (int x = 0; x < 2; ++x) {
      EXPECT_EQ(png.Pixels(x, 0), c.Pixels[x].Color) << "pixel " << x;
      EXPECT_EQ(png.PixelAlpha(x, 0), c.Pixels[x].Alpha) << "pixel " << x;
    }
  }
}

TEST(PngImage, SavedPicturesReloadWithTheSameColourTypePixelsAndAlpha) {
  for (const TypeCase& c : TypeCases()) {
    SCOPED_TRACE(c.Name);
    TPngImage png;
    LoadBytes(png, MakePng(c.Spec));
    TPngImage back;
    LoadBytes(back, SaveBytes(png));
    EXPECT_EQ(back.Header().ColorType, c.ColorType);
    EXPECT_EQ(back.TransparencyMode(), c.Mode);
    for (int x = 0; x < 2; ++x) {
      EXPECT_EQ(back.Pixels(x, 0), c.Pixels[x].Color);
      EXPECT_EQ(back.PixelAlpha(x, 0), c.Pixels[x].Alpha);
    }
  }
}

TEST(PngImage, CreateAlphaTurnsTheTransparentColourIntoAlpha) {
  TPngImage png;
  LoadBytes(png, MakePng(TypeCases()[5].Spec));  // rgb with tRNS on pixel 1
  png.CreateAlpha();
  EXPECT_EQ(png.Header().ColorType, COLOR_RGBALPHA);
  ASSERT_NE(png.AlphaScanline(0), nullptr);
  EXPECT_EQ(png.AlphaScanline(0)[0], 255);
  EXPECT_EQ(png.AlphaScanline(0)[1], 0);
  EXPECT_EQ(png.TransparentColor(), clNone);
  EXPECT_EQ(png.Pixels(1, 0), static_cast<TColor>(0x030201));
}

TEST(PngImage, DrawsBlendingByAlpha) {
  PngSpec s{3, 1, 8, 6, {{255, 0, 0, 255, 255, 0, 0, 128, 255, 0, 0, 0}}, {}, {}};
  TPngImage png;
  LoadBytes(png, MakePng(s));
  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(4, 2);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(Rect(0, 0, 4, 2));
  target.Canvas()->Draw(1, 1, &png);
  EXPECT_EQ(target.Canvas()->Pixels(0, 1), clWhite);
  EXPECT_EQ(target.Canvas()->Pixels(1, 1), clRed);
  // Half-transparent red over white: (0 * 128 + 255 * 127 + 127) / 255 = 127.
  EXPECT_EQ(target.Canvas()->Pixels(2, 1), static_cast<TColor>(RGB(255, 127, 127)));
  EXPECT_EQ(target.Canvas()->Pixels(3, 1), clWhite);
  EXPECT_EQ(target.Canvas()->Pixels(1, 0), clWhite);
  // Stretched to twice the width, each source pixel covers two target pixels.
  TBitmap wide;
  wide.SetPixelFormat(pf24bit);
  wide.SetSize(6, 1);
  wide.Canvas()->StretchDraw(Rect(0, 0, 6, 1), &png);
  EXPECT_EQ(wide.Canvas()->Pixels(1, 0), clRed);
  EXPECT_EQ(wide.Canvas()->Pixels(5, 0), clWhite);
}

TEST(PngImage, AssignsToAndFromBitmaps) {
  TPngImage png;
  LoadBytes(png, MakePng(TypeCases()[10].Spec));  // rgba
  TBitmap b;
  b.Assign(&png);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(static_cast<uint32_t*>(b.ScanLine(0))[0], 0x04010203u);  // straight alpha 4, RGB 1,2,3

  TPngImage opaque;
  LoadBytes(opaque, MakePng(TypeCases()[4].Spec));  // rgb
  b.Assign(&opaque);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);

  TPngImage fromBitmap;
  fromBitmap.Assign(&b);
  EXPECT_EQ(fromBitmap.Header().ColorType, COLOR_RGB);
  EXPECT_EQ(fromBitmap.Pixels(0, 0), clRed);
  EXPECT_EQ(fromBitmap.Pixels(1, 0), static_cast<TColor>(0x030201));
}

TEST(PngImage, RejectsDataThatIsNoPngPicture) {
  const Bytes good = MakePng(TypeCases()[4].Spec);
  struct Case {
    const char* Name;
    Bytes Data;
  };
  std::vector<Case> cases = {{"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
                             {"truncated", Bytes(good.begin(), good.begin() + 40)},
                             {"bad CRC", good}};
  cases.back().Data[29] ^= 0xFF;  // inside IHDR
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TPngImage png;
    EXPECT_THROW(LoadBytes(png, c.Data), EInvalidGraphic);
    EXPECT_TRUE(png.Empty());
  }
  TPngImage empty;
  EXPECT_THROW(SaveBytes(empty), EInvalidGraphicOperation);
}

// Another decoder (Debian's ffmpeg) reads what we write.
TEST(PngImage, WrittenFilesDecodeElsewhere) {
  TPngImage png;
  LoadBytes(png, MakePng(TypeCases()[10].Spec));
  const std::string dir = testing::TempDir() + "/vantrel-ui-png";
  if (std::system(("mkdir -p " + dir).c_str()) != 0) GTEST_SKIP();
  png.SaveToFile(dir + "/t.png");
  const std::string cmd = "ffmpeg -nostdin -hide_banner -loglevel error -y -i " + dir +
                          "/t.png -f rawvideo -pix_fmt rgba " + dir + "/t.rgba";
  if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "ffmpeg not available";
  std::ifstream in(dir + "/t.rgba", std::ios::binary);
  const Bytes rgba((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(rgba, (Bytes{1, 2, 3, 4, 0xFF, 0xFE, 0xFD, 0xFF}));
}

}  // namespace
