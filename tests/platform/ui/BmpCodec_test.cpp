// BMP file images through TBitmap: the layout the class library writes, byte-exact round
// trips, files of other writers, and damaged data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/ui/BmpCodec.h"
#include "platform/ui/Graphics.h"

namespace {

uint32_t Le32(const std::vector<uint8_t>& B, size_t At) {
  return B[At] | (B[At + 1] << 8) | (B[At + 2] << 16) | (static_cast<uint32_t>(B[At + 3]) << 24);
}
uint16_t Le16(const std::vector<uint8_t>& B, size_t At) { return static_cast<uint16_t>(B[At] | (B[At + 1] << 8)); }

std::vector<uint8_t> Save(TBitmap& Bitmap) {
  TMemoryStream s;
  Bitmap.SaveToStream(&s);
  auto* p = static_cast<const uint8_t*>(s.Memory());
  return std::vector<uint8_t>(p, p + s.Size());
}

void Load(TBitmap& Bitmap, const std::vector<uint8_t>& Bytes) {
  TMemoryStream s;
  if (!Bytes.empty()) s.WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  s.SetPosition(0);
  Bitmap.LoadFromStream(&s);
}

// A 5 x 3 picture (odd width, so every depth pads its rows) with a distinct value at each
// pixel, written straight into the scan lines.
void Paint(TBitmap& B, TPixelFormat Format) {
  B.SetPixelFormat(Format);
  B.SetSize(5, 3);
  if (Format == pf8bit) {
    std::vector<TColor> table;
    for (int i = 0; i < 256; ++i) table.push_back(static_cast<TColor>(RGB(i, 255 - i, i / 2)));
    B.SetColorTable(table);
  }
  if (Format == pf1bit) B.SetColorTable({clNavy, clYellow});
  for (int y = 0; y < 3; ++y) {
    auto* row = static_cast<uint8_t*>(B.ScanLine(y));
    for (int x = 0; x < 5; ++x) {
      const int v = y * 5 + x;
      switch (Format) {
        case pf1bit:
          if (v % 3 == 0) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
          else row[x >> 3] &= static_cast<uint8_t>(~(0x80 >> (x & 7)));
          break;
        case pf8bit: row[x] = static_cast<uint8_t>(v * 17); break;
        case pf24bit:
          row[x * 3] = static_cast<uint8_t>(v);
          row[x * 3 + 1] = static_cast<uint8_t>(v * 3);
          row[x * 3 + 2] = static_cast<uint8_t>(v * 7);
          break;
        default: {
          const uint32_t px = 0x10000000u * (v % 16) | static_cast<uint32_t>(v * 0x010203);
          std::memcpy(row + x * 4, &px, 4);
        }
      }
    }
  }
}

struct DepthCase {
  TPixelFormat Format;
  int BitCount;
  int Colors;
};

class BmpRoundTrip : public testing::TestWithParam<DepthCase> {};

TEST_P(BmpRoundTrip, SavesTheClassLibraryLayoutAndReloadsByteExact) {
  const DepthCase c = GetParam();
  TBitmap original;
  Paint(original, c.Format);
  const std::vector<uint8_t> first = Save(original);

  const size_t stride = ((5 * c.BitCount + 31) / 32) * 4;
  const size_t offBits = 14 + 40 + 4 * static_cast<size_t>(c.Colors);
  ASSERT_EQ(first.size(), offBits + stride * 3);
  EXPECT_EQ(first[0], 'B');
  EXPECT_EQ(first[1], 'M');
  EXPECT_EQ(Le32(first, 2), first.size());
  EXPECT_EQ(Le32(first, 10), offBits);
  EXPECT_EQ(Le32(first, 14), 40u);
  EXPECT_EQ(static_cast<int32_t>(Le32(first, 18)), 5);
  EXPECT_EQ(static_cast<int32_t>(Le32(first, 22)), 3);  // positive: bottom-up
  EXPECT_EQ(Le16(first, 28), c.BitCount);
  EXPECT_EQ(Le32(first, 30), 0u);  // BI_RGB
  EXPECT_EQ(Le32(first, 46), static_cast<uint32_t>(c.Colors));
  // The file's first row is the picture's bottom row; padding bytes are zero.
  const auto* bottom = static_cast<const uint8_t*>(original.ScanLine(2));
  const size_t used = (5 * c.BitCount + 7) / 8;
  EXPECT_EQ(0, std::memcmp(&first[offBits], bottom, c.BitCount == 1 ? 0 : used));
  for (size_t i = used; i < stride; ++i) EXPECT_EQ(first[offBits + i], 0) << "padding byte " << i;

  TBitmap reloaded;
  Load(reloaded, first);
  EXPECT_EQ(reloaded.PixelFormat(), c.Format);
  EXPECT_EQ(reloaded.Width(), 5);
  EXPECT_EQ(reloaded.Height(), 3);
  EXPECT_EQ(Save(reloaded), first);
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip,
                         testing::Values(DepthCase{pf1bit, 1, 2}, DepthCase{pf8bit, 8, 256},
                                         DepthCase{pf24bit, 24, 0}, DepthCase{pf32bit, 32, 0}),
                         [](const testing::TestParamInfo<DepthCase>& i) { return std::to_string(i.param.BitCount) + "bpp"; });

TEST(BmpCodec, ColourTableAndAlphaSurviveTheRoundTrip) {
  TBitmap b;
  Paint(b, pf1bit);
  TBitmap back;
  Load(back, Save(b));
  EXPECT_EQ(back.ColorTable(), (std::vector<TColor>{clNavy, clYellow}));

  TBitmap alpha;
  Paint(alpha, pf32bit);
  TBitmap alphaBack;
  Load(alphaBack, Save(alpha));
  EXPECT_EQ(static_cast<const uint8_t*>(alphaBack.ScanLine(0))[3 + 4 * 3], 0x30);  // pixel 3: (3 % 16) << 4
}

TEST(BmpCodec, ReadsOneImageAtATimeFromAStreamOfSeveral) {
  TBitmap a, b;
  Paint(a, pf24bit);
  Paint(b, pf8bit);
  TMemoryStream s;
  a.SaveToStream(&s);
  b.SaveToStream(&s);
  const char tail[] = "tail";
  s.WriteBuffer(tail, 4);
  s.SetPosition(0);
  TBitmap ra, rb;
  ra.LoadFromStream(&s);
  rb.LoadFromStream(&s);
  EXPECT_EQ(ra.PixelFormat(), pf24bit);
  EXPECT_EQ(rb.PixelFormat(), pf8bit);
  char rest[4];
  s.ReadBuffer(rest, 4);
  EXPECT_EQ(std::string(rest, 4), "tail");
}

// Hand-made files in layouts we never write: top-down rows and 5-6-5 bit fields.
TEST(BmpCodec, ReadsTopDownAndBitfieldFiles) {
  {
    SCOPED_TRACE("24 bpp top-down");
    std::vector<uint8_t> f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0,
                              0xFE, 0xFF, 0xFF, 0xFF,  // height -2
                              1, 0, 24, 0};
    f.resize(54, 0);
    const uint8_t rows[] = {0, 0, 255, 0, /* top: red */ 255, 0, 0, 0 /* bottom: blue */};
    f.insert(f.end(), rows, rows + 8);
    TBitmap b;
    Load(b, f);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(0, 1), clBlue);
  }
  {
    SCOPED_TRACE("16 bpp 5-6-5");
    std::vector<uint8_t> f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0,
                              1, 0, 16, 0, 3, 0, 0, 0};
    f.resize(54, 0);
    const uint8_t masks[] = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    f.insert(f.end(), masks, masks + 12);
    const uint8_t row[] = {0x00, 0xF8, 0xE0, 0x07};  // red, green
    f.insert(f.end(), row, row + 4);
    TBitmap b;
    Load(b, f);
    EXPECT_EQ(b.PixelFormat(), pf16bit);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(1, 0), clLime);
  }
  {
    SCOPED_TRACE("32 bpp with red in the low byte, top-down: read as 32 bpp B, G, R");
    std::vector<uint8_t> f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0,
                              0xFE, 0xFF, 0xFF, 0xFF,  // height -2
                              1, 0, 32, 0, 3, 0, 0, 0};
    f.resize(54, 0);
    const uint8_t masks[] = {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0};
    f.insert(f.end(), masks, masks + 12);
    const uint8_t rows[] = {0xFF, 0, 0, 0, 0, 0xFF, 0, 0,   // top: red, green
                            0, 0, 0xFF, 0, 0x10, 0x20, 0x30, 0};  // bottom: blue, a grey-ish
    f.insert(f.end(), rows, rows + 16);
    TBitmap b;
    Load(b, f);
    EXPECT_EQ(b.PixelFormat(), pf32bit);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(1, 0), clLime);
    EXPECT_EQ(b.Canvas()->Pixels(0, 1), clBlue);
    EXPECT_EQ(b.Canvas()->Pixels(1, 1), static_cast<TColor>(RGB(0x10, 0x20, 0x30)));
  }
}

TEST(BmpCodec, RejectsDamagedData) {
  TBitmap good;
  Paint(good, pf24bit);
  const std::vector<uint8_t> bytes = Save(good);
  struct Case {
    const char* Name;
    std::vector<uint8_t> Data;
  };
  std::vector<Case> cases;
  cases.push_back({"not BM", bytes});
  cases.back().Data[0] = 'X';
  cases.push_back({"truncated pixels", std::vector<uint8_t>(bytes.begin(), bytes.end() - 5)});
  cases.push_back({"truncated header", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 20)});
  cases.push_back({"bit count 7", bytes});
  cases.back().Data[28] = 7;
  cases.push_back({"RLE compression", bytes});
  cases.back().Data[30] = 1;
  cases.push_back({"zero width", bytes});
  std::memset(&cases.back().Data[18], 0, 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TBitmap b;
    try {
      Load(b, c.Data);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
  }
}

// 54 header bytes that claim far more than the stream holds are refused from the
// headers alone: the reader never asks for (or makes room for) the claimed bytes.
TEST(BmpCodec, AHeaderClaimingMoreThanTheStreamHoldsIsRefusedBeforeReadingOn) {
  TBitmap good;
  Paint(good, pf24bit);
  const std::vector<uint8_t> saved = Save(good);
  const std::vector<uint8_t> header(saved.begin(), saved.begin() + 54);
  auto SetLe32 = [](std::vector<uint8_t>& B, size_t At, uint32_t V) {
    for (int i = 0; i < 4; ++i) B[At + i] = static_cast<uint8_t>(V >> (8 * i));
  };
  struct Case {
    const char* Name;
    std::vector<uint8_t> Data;
  };
  std::vector<Case> cases;
  cases.push_back({"1 GiB of pixels", header});
  SetLe32(cases.back().Data, 18, 16384);  // 16384 x 16384 at 32 bpp
  SetLe32(cases.back().Data, 22, 16384);
  cases.back().Data[28] = 32;
  cases.push_back({"pixels 1 GiB further on", header});
  SetLe32(cases.back().Data, 10, (1u << 30) - 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    size_t At = 0, Largest = 0;
    auto Read = [&](void* Buffer, size_t Count) {
      Largest = std::max(Largest, Count);
      if (At + Count > c.Data.size()) throw EReadError("Stream read error");
      std::memcpy(Buffer, c.Data.data() + At, Count);
      At += Count;
    };
    EXPECT_THROW(vantrel::ui::ReadBmp(Read, c.Data.size()), EInvalidGraphic);
    EXPECT_EQ(At, c.Data.size());
    EXPECT_LE(Largest, c.Data.size());
    TBitmap b;
    EXPECT_THROW(Load(b, c.Data), EInvalidGraphic);
    EXPECT_TRUE(b.Empty());
  }
}

TEST(BmpCodec, AnEmptyStreamGivesAnEmptyBitmapAndAnEmptyBitmapWritesNothing) {
  TBitmap b;
  Paint(b, pf24bit);
  Load(b, {});
  EXPECT_TRUE(b.Empty());
  EXPECT_TRUE(Save(b).empty());
}

// A file of another writer (Debian's ffmpeg) has the same pixels as its raw frame.
TEST(BmpCodec, ReadsAFileOfAnotherWriter) {
  const std::string dir = testing::TempDir() + "/vantrel-ui-bmp";
  const std::string cmd = "mkdir -p " + dir + " && ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi "
                          "-i testsrc=size=7x5:rate=1 -frames:v 1 " + dir + "/t.bmp -f rawvideo -pix_fmt rgb24 -frames:v 1 " +
                          dir + "/t.rgb";
  if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "ffmpeg not available";
  std::ifstream raw(dir + "/t.rgb", std::ios::binary);
  const std::vector<uint8_t> rgb((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>());
  ASSERT_EQ(rgb.size(), 7u * 5 * 3);
  TBitmap b;
  b.LoadFromFile(dir + "/t.bmp");
  ASSERT_EQ(b.Width(), 7);
  ASSERT_EQ(b.Height(), 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      const uint8_t* p = &rgb[(y * 7 + x) * 3];
      EXPECT_EQ(b.Canvas()->Pixels(x, y), static_cast<TColor>(RGB(p[0], p[1], p[2]))) << x << "," << y;
    }
}

}  // namespace
