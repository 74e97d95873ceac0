// TCustomImageList: adding with masks, cutting strips, drawing normally and greyed,
// GetBitmap, and index errors.
#include <gtest/gtest.h>

#include "platform/ui/ImgList.h"

namespace {

// A 2 x 2 image: red, green on top; the mask colour (fuchsia) and black below.
void Glyph(TBitmap& B, int Width = 2) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(Width, 2);
  for (int x = 0; x < Width; x += 2) {
    B.Canvas()->SetPixels(x, 0, clRed);
    B.Canvas()->SetPixels(x + 1, 0, clLime);
    B.Canvas()->SetPixels(x, 1, clFuchsia);
    B.Canvas()->SetPixels(x + 1, 1, clBlack);
  }
}

void Fill(TBitmap& B, int W, int H, TColor C) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  B.Canvas()->Brush()->SetColor(C);
  B.Canvas()->FillRect(Rect(0, 0, W, H));
}

std::unique_ptr<TImageList> MakeList() {
  auto list = std::make_unique<TImageList>(nullptr);
  list->SetWidth(2);
  list->SetHeight(2);
  return list;
}

TEST(ImageList, AddMaskedDrawsAllButTheMaskColour) {
  auto list = MakeList();
  TBitmap glyph;
  Glyph(glyph);
  EXPECT_EQ(list->AddMasked(&glyph, clFuchsia), 0);
  EXPECT_EQ(list->Count(), 1);
  TBitmap target;
  Fill(target, 3, 3, clYellow);
  list->Draw(target.Canvas(), 1, 1, 0);
  EXPECT_EQ(target.Canvas()->Pixels(1, 1), clRed);
  EXPECT_EQ(target.Canvas()->Pixels(2, 1), clLime);
  EXPECT_EQ(target.Canvas()->Pixels(1, 2), clYellow);  // masked
  EXPECT_EQ(target.Canvas()->Pixels(2, 2), clBlack);
  EXPECT_EQ(target.Canvas()->Pixels(0, 0), clYellow);

  // clDefault takes the image's bottom-left pixel as the mask colour.
  EXPECT_EQ(list->AddMasked(&glyph, clDefault), 1);
  Fill(target, 3, 3, clYellow);
  list->Draw(target.Canvas(), 0, 0, 1);
  EXPECT_EQ(target.Canvas()->Pixels(0, 1), clYellow);
}

TEST(ImageList, AddWithAMaskBitmapAndWithout) {
  auto list = MakeList();
  TBitmap glyph, mask;
  Glyph(glyph);
  Fill(mask, 2, 2, clBlack);
  mask.Canvas()->SetPixels(1, 0, clWhite);  // white = transparent
  list->Add(&glyph, &mask);
  list->Add(&glyph, nullptr);
  TBitmap target;
  Fill(target, 2, 2, clYellow);
  list->Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(target.Canvas()->Pixels(1, 0), clYellow);
  EXPECT_EQ(target.Canvas()->Pixels(0, 1), clFuchsia);
  list->Draw(target.Canvas(), 0, 0, 1);
  EXPECT_EQ(target.Canvas()->Pixels(1, 0), clLime);
  EXPECT_EQ(list->Add(nullptr, nullptr), -1);
}

TEST(ImageList, AWideBitmapIsCutIntoImagesAndInsertAndDeleteKeepTheOrder) {
  auto list = MakeList();
  TBitmap strip, plain;
  Glyph(strip, 6);
  Fill(plain, 2, 2, clBlue);
  EXPECT_EQ(list->AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list->Count(), 3);
  list->Insert(1, &plain, nullptr);
  EXPECT_EQ(list->Count(), 4);
  TBitmap out;
  ASSERT_TRUE(list->GetBitmap(1, &out));
  EXPECT_EQ(out.Width(), 2);
  EXPECT_EQ(out.Canvas()->Pixels(0, 1), clBlue);
  list->Delete(1);
  ASSERT_TRUE(list->GetBitmap(1, &out));
  EXPECT_EQ(out.Canvas()->Pixels(0, 0), clRed);
  for (int bad : {-2, 3, 99}) {
    SCOPED_TRACE(bad);
    try {
      list->Delete(bad);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidOperation& e) {
      EXPECT_STREQ(e.what(), "Invalid ImageList Index");
    }
  }
  EXPECT_THROW(list->Insert(4, &plain, nullptr), EInvalidOperation);
  EXPECT_FALSE(list->GetBitmap(3, &out));
  list->Delete(-1);
  EXPECT_EQ(list->Count(), 0);
}

TEST(ImageList, GetBitmapLeavesMaskedPixelsWhite) {
  auto list = MakeList();
  TBitmap glyph;
  Glyph(glyph);
  list->AddMasked(&glyph, clFuchsia);
  TBitmap out;
  ASSERT_TRUE(list->GetBitmap(0, &out));
  EXPECT_EQ(out.Height(), 2);
  EXPECT_EQ(out.Canvas()->Pixels(0, 1), clWhite);
  EXPECT_EQ(out.Canvas()->Pixels(0, 0), clRed);
}

TEST(ImageList, DisabledDrawingIsTheGreyedLook) {
  auto list = MakeList();
  TBitmap glyph;
  Fill(glyph, 2, 2, clWhite);
  glyph.Canvas()->SetPixels(0, 0, clRed);  // one dark pixel; white counts as background
  list->Add(&glyph, nullptr);
  TBitmap target;
  Fill(target, 4, 4, clYellow);
  list->Draw(target.Canvas(), 1, 1, 0, false);
  EXPECT_EQ(target.Canvas()->Pixels(1, 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(target.Canvas()->Pixels(2, 2), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(target.Canvas()->Pixels(2, 1), clYellow);
  EXPECT_EQ(target.Canvas()->Pixels(3, 3), clYellow);
}

TEST(ImageList, ChangingTheSizeDropsTheImages) {
  auto list = MakeList();
  TBitmap glyph;
  Glyph(glyph);
  list->Add(&glyph, nullptr);
  int changes = 0;
  list->OnChange = [&](TObject*) { ++changes; };
  list->SetWidth(2);
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(changes, 0);
  list->SetWidth(4);
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(changes, 1);
}

TEST(ImageList, GetIconMakesAnIconOfTheImageWithItsMask) {
  auto list = MakeList();
  TBitmap glyph;
  Glyph(glyph);
  list->AddMasked(&glyph, clFuchsia);
  TIcon icon;
  list->GetIcon(0, &icon);
  ASSERT_FALSE(icon.Empty());
  EXPECT_EQ(icon.Width(), 2);
  TBitmap target;
  Fill(target, 2, 2, clYellow);
  target.Canvas()->Draw(0, 0, &icon);
  EXPECT_EQ(target.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(target.Canvas()->Pixels(0, 1), clYellow);
}

}  // namespace
