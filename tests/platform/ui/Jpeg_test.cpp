// TJPEGImage: compression from a bitmap and decoding back, quality, damaged data; and
// TPicture choosing the graphic class by file extension.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/rtl/Streams.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/PngImage.h"

namespace {

// 64 x 48 in four flat quadrants, large enough for 8 x 8 blocks to keep their colour.
void Quadrants(TBitmap& B) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(64, 48);
  const TColor colours[4] = {clRed, clLime, clBlue, static_cast<TColor>(RGB(200, 180, 40))};
  for (int i = 0; i < 4; ++i) {
    B.Canvas()->Brush()->SetColor(colours[i]);
    B.Canvas()->FillRect(Bounds((i % 2) * 32, (i / 2) * 24, 32, 24));
  }
}

int Distance(TColor A, TColor B) {
  const COLORREF a = static_cast<COLORREF>(A), b = static_cast<COLORREF>(B);
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

Int64 SavedSize(TJPEGImage& Jpeg) {
  TMemoryStream s;
  Jpeg.SaveToStream(&s);
  return s.Size();
}

TEST(Jpeg, SavedAndLoadedKeepsItsSizeAndNearColours) {
  TBitmap source;
  Quadrants(source);
  TJPEGImage jpeg;
  jpeg.Assign(&source);
  EXPECT_EQ(jpeg.CompressionQuality(), 90);
  TMemoryStream s;
  jpeg.SaveToStream(&s);
  s.SetPosition(0);

  TJPEGImage loaded;
  loaded.LoadFromStream(&s);
  EXPECT_EQ(loaded.Width(), 64);
  EXPECT_EQ(loaded.Height(), 48);
  TBitmap decoded;
  decoded.Assign(&loaded);
  EXPECT_EQ(decoded.PixelFormat(), pf24bit);
  for (TPoint p : {Point(16, 12), Point(48, 12), Point(16, 36), Point(48, 36)}) {
    SCOPED_TRACE(testing::Message() << p.X << "," << p.Y);
    EXPECT_LE(Distance(decoded.Canvas()->Pixels(p.X, p.Y), source.Canvas()->Pixels(p.X, p.Y)), 8);
  }
  // Saving a loaded picture writes the file as it was read.
  TMemoryStream again;
  loaded.SaveToStream(&again);
  EXPECT_EQ(again.Size(), s.Size());
}

TEST(Jpeg, LowerQualityMakesSmallerFilesAndGreyscaleDropsColour) {
  TBitmap source;
  Quadrants(source);
  source.Canvas()->Pen()->SetColor(clBlack);
  for (int x = 0; x < 64; x += 3) {
    source.Canvas()->MoveTo(x, 0);
    source.Canvas()->LineTo(63 - x, 47);
  }
  TJPEGImage jpeg;
  jpeg.Assign(&source);
  jpeg.SetCompressionQuality(95);
  jpeg.Compress();
  const Int64 high = SavedSize(jpeg);
  jpeg.SetCompressionQuality(10);
  jpeg.Compress();
  EXPECT_LT(SavedSize(jpeg), high);
  jpeg.SetCompressionQuality(500);
  EXPECT_EQ(jpeg.CompressionQuality(), 100);

  jpeg.SetGrayscale(true);
  jpeg.Compress();
  TMemoryStream s;
  jpeg.SaveToStream(&s);
  s.SetPosition(0);
  TJPEGImage grey;
  grey.LoadFromStream(&s);
  TBitmap b;
  b.Assign(&grey);
  const COLORREF c = static_cast<COLORREF>(b.Canvas()->Pixels(16, 12));
  EXPECT_EQ(GetRValue(c), GetGValue(c));
  EXPECT_EQ(GetGValue(c), GetBValue(c));
}

TEST(Jpeg, DamagedDataRaisesAJpegError) {
  TBitmap source;
  Quadrants(source);
  TJPEGImage jpeg;
  jpeg.Assign(&source);
  TMemoryStream full;
  jpeg.SaveToStream(&full);
  struct Case {
    const char* Name;
    std::string Data;
  };
  const std::string bytes(static_cast<const char*>(full.Memory()), static_cast<size_t>(full.Size()));
  for (const Case& c : {Case{"not a JPEG", "GIF89a........"}, Case{"empty", ""},
                        Case{"header only", bytes.substr(0, 20)}}) {
    SCOPED_TRACE(c.Name);
    TStringStream s(c.Data);
    TJPEGImage bad;
    try {
      bad.LoadFromStream(&s);
      ADD_FAILURE() << "no exception";
    } catch (const EJPEG& e) {
      EXPECT_EQ(std::string(e.what()).rfind("JPEG error #", 0), 0u) << e.what();
    }
    EXPECT_TRUE(bad.Empty());
  }
  EXPECT_THROW(jpeg.SetWidth(10), EInvalidGraphicOperation);
}

TEST(Picture, LoadsTheGraphicClassOfTheFileExtension) {
  const std::string dir = testing::TempDir() + "/vantrel-ui-picture";
  ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
  TBitmap source;
  Quadrants(source);
  source.SaveToFile(dir + "/a.BMP");
  TJPEGImage jpeg;
  jpeg.Assign(&source);
  jpeg.SaveToFile(dir + "/a.jpeg");
  TPngImage png;
  png.Assign(&source);
  png.SaveToFile(dir + "/a.png");

  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  picture.LoadFromFile(dir + "/a.BMP");
  EXPECT_STREQ(picture.Graphic()->ClassName(), "TBitmap");
  picture.LoadFromFile(dir + "/a.jpeg");
  EXPECT_STREQ(picture.Graphic()->ClassName(), "TJPEGImage");
  picture.LoadFromFile(dir + "/a.png");
  EXPECT_STREQ(picture.Graphic()->ClassName(), "TPngImage");
  EXPECT_EQ(picture.Width(), 64);
  EXPECT_EQ(changes, 3);

  try {
    picture.LoadFromFile(dir + "/a.gif");
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Unknown picture file extension (.gif)");
  }
  EXPECT_THROW(picture.LoadFromFile(dir + "/missing.png"), EFOpenError);
  EXPECT_STREQ(picture.Graphic()->ClassName(), "TPngImage");  // failures leave it as it was

  // Bitmap replaces another graphic by an empty bitmap; assignment copies.
  TBitmap* bitmap = picture.Bitmap();
  EXPECT_TRUE(bitmap->Empty());
  TPicture other;
  other.Assign(&source);
  EXPECT_NE(other.Graphic(), &source);
  EXPECT_EQ(other.Bitmap()->Canvas()->Pixels(40, 30), source.Canvas()->Pixels(40, 30));
}

}  // namespace
