// Image lists on handles: the class library's list and the handle API see the same
// images, draw them alike, and a list sharing another's handle leaves it alive.
#include <gtest/gtest.h>

#include "platform/ui/ImgList.h"
#include "platform/win/ImageLists.h"
#include "platform/win/Resources.h"

namespace {

// Two 4 x 4 images side by side: red and blue, each with a fuchsia (masked) corner.
void TwoGlyphs(TBitmap& B) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(8, 4);
  B.Canvas()->Brush()->SetColor(clRed);
  B.Canvas()->FillRect(Rect(0, 0, 4, 4));
  B.Canvas()->Brush()->SetColor(clBlue);
  B.Canvas()->FillRect(Rect(4, 0, 8, 4));
  B.Canvas()->SetPixels(0, 0, clFuchsia);
  B.Canvas()->SetPixels(7, 3, clFuchsia);
}

void FillYellowBitmap(TBitmap& B) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(6, 6);
  B.Canvas()->Brush()->SetColor(clYellow);
  B.Canvas()->FillRect(Rect(0, 0, 6, 6));
}

}  // namespace

TEST(ImageListHandle, HandleAndListAgreeOnCountAndDrawing) {
  TImageList List(nullptr);
  List.SetWidth(4);
  List.SetHeight(4);
  TBitmap Glyphs;
  TwoGlyphs(Glyphs);
  List.AddMasked(&Glyphs, clFuchsia);
  ASSERT_TRUE(List.HandleAllocated());
  EXPECT_EQ(ImageList_GetImageCount(List.Handle()), List.Count());
  EXPECT_EQ(List.Count(), 2);
  int CX = 0, CY = 0;
  EXPECT_TRUE(ImageList_GetIconSize(List.Handle(), &CX, &CY));
  EXPECT_EQ(CX, 4);
  EXPECT_EQ(CY, 4);
  TBitmap ByHandle, ByList;
  FillYellowBitmap(ByHandle);
  FillYellowBitmap(ByList);
  EXPECT_TRUE(ImageList_Draw(List.Handle(), 1, ByHandle.Canvas()->Handle(), 1, 1, ILD_NORMAL));
  List.Draw(ByList.Canvas(), 1, 1, 1);
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 6; ++X) {
      SCOPED_TRACE(std::to_string(X) + "," + std::to_string(Y));
      EXPECT_EQ(ByHandle.Canvas()->Pixels(X, Y), ByList.Canvas()->Pixels(X, Y));
    }
  EXPECT_EQ(ByHandle.Canvas()->Pixels(1, 1), clBlue);
  EXPECT_EQ(ByHandle.Canvas()->Pixels(4, 4), clYellow);  // the masked corner
  // A selected image is blended with the highlight colour.
  TBitmap Selected;
  FillYellowBitmap(Selected);
  ImageList_Draw(List.Handle(), 0, Selected.Canvas()->Handle(), 0, 0, ILD_SELECTED);
  EXPECT_NE(Selected.Canvas()->Pixels(1, 1), clRed);
  EXPECT_FALSE(ImageList_Draw(List.Handle(), 2, Selected.Canvas()->Handle(), 0, 0, ILD_NORMAL));
  HICON Icon = ImageList_GetIcon(List.Handle(), 0, ILD_NORMAL);
  EXPECT_NE(Icon, nullptr);
  DestroyIcon(Icon);
}

TEST(ImageListHandle, ASharedHandleOutlivesTheListThatSharesIt) {
  auto Owner = std::make_unique<TImageList>(nullptr);
  Owner->SetWidth(4);
  Owner->SetHeight(4);
  TBitmap Glyphs;
  TwoGlyphs(Glyphs);
  Owner->AddMasked(&Glyphs, clFuchsia);
  const HIMAGELIST Handle = Owner->Handle();
  {
    TImageList Sharer(nullptr);
    Sharer.SetShareImages(true);
    Sharer.SetHandle(Handle);
    EXPECT_EQ(Sharer.Count(), 2);
    EXPECT_EQ(Sharer.Width(), 4);
    TBitmap A, B;
    FillYellowBitmap(A);
    FillYellowBitmap(B);
    Sharer.Draw(A.Canvas(), 0, 0, 1);
    Owner->Draw(B.Canvas(), 0, 0, 1);
    EXPECT_EQ(A.Canvas()->Pixels(2, 2), B.Canvas()->Pixels(2, 2));
  }
  EXPECT_EQ(ImageList_GetImageCount(Handle), 2);  // still alive
  // Images added through the handle show in the list.
  const int Added = ImageList_AddMasked(Handle, Glyphs.Handle(), RGB(255, 0, 255));
  EXPECT_EQ(Added, 2);
  EXPECT_EQ(Owner->Count(), 4);
  EXPECT_TRUE(ImageList_Remove(Handle, 0));
  EXPECT_EQ(Owner->Count(), 3);
  Owner.reset();
  EXPECT_EQ(ImageList_GetImageCount(Handle), 0);  // gone with its owner
  EXPECT_FALSE(ImageList_Destroy(Handle));
  TImageList Other(nullptr);
  EXPECT_THROW(Other.SetHandle(Handle), EInvalidOperation);
}
