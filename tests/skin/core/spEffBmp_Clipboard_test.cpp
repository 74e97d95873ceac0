// A working bitmap assigned to the clipboard comes back as the same pixels.
#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Graphics.h"
#include "skin/core/bitmaps/spEffBmp.h"

using vantrel::display::HeadlessSession;

TEST(spEffBmpClipboard, AWorkingBitmapRoundTripsThroughTheClipboard) {
  HeadlessSession Session;
  auto Source = CreateOwned<TspBitmap>();
  Source->SetSize(3, 2);
  const TspColor Colors[2][3] = {{0x00FF0000, 0x0000FF00, 0x000000FF}, {0x00123456, 0x00FFFFFF, 0x00000000}};
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) Source->SetPixelValue(X, Y, Colors[Y][X]);
  Clipboard()->SetAsText("old text");
  Clipboard()->Assign(Source.get());
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));  // one content at a time

  auto Back = CreateOwned<TBitmap>();
  Back->Assign(Clipboard());
  ASSERT_EQ(Back->Width(), 3);
  ASSERT_EQ(Back->Height(), 2);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) {
      SCOPED_TRACE(X + 10 * Y);
      EXPECT_EQ(static_cast<const uint32_t*>(Back->ScanLine(Y))[X] & 0xFFFFFF, Colors[Y][X]);
    }

  Clipboard()->SetAsText("new text");
  EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_EQ(Clipboard()->AsText(), "new text");
}

TEST(spEffBmpClipboard, WhatCannotBecomeABitmapIsRefused) {
  HeadlessSession Session;
  auto Other = CreateOwned<TPersistent>();
  try {
    Clipboard()->Assign(Other.get());
    FAIL() << "no error";
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "Cannot assign a TPersistent to a TClipboard");
  }
}
