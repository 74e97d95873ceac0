// The skinned list box and its inner list: the empty list's background, rows by state,
// the horizontal offset, the scroll bars that come and go with the content, the sizes of
// the caption buttons and their repeat on the virtual clock, and the hook that drops
// messages.
#include <gtest/gtest.h>

#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListBox.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/core/drawing/SPUtils.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

// A list box whose hook drops the messages named in Dropped.
class DroppingListBox : public TspSkinCustomListBox {
 public:
  explicit DroppingListBox(TComponent* AOwner) : TspSkinCustomListBox(AOwner) {}
  std::vector<UINT> Dropped;
  void ListBoxWindowProcHook(TMessage& Message, Boolean& CallDefault) override {
    for (UINT M : Dropped)
      if (Message.Msg == M) CallDefault = false;
  }
  const TspCBButtonX& CaptionButton(int I) const { return Buttons[I]; }
};

class SkinListBoxTest : public SkinFormFixture {
 protected:
  DroppingListBox* AddList(bool Skinned, int W = 120, int H = 120) {
    auto* L = Create<DroppingListBox>(Form.get());
    L->SetParent(Form.get());
    L->SetBounds(10, 10, W, H);
    if (Skinned) L->SetSkinData(Skin);
    return L;
  }
  void AddItems(TspSkinCustomListBox* L, int N, const String& Prefix = "item ") {
    for (int I = 0; I < N; ++I) L->Items()->Add(Prefix + std::to_string(I));
    Session.PumpUntilIdle();
  }
  TPoint Screen(TControl* C, int X, int Y) { return C->ClientToScreen(Point(X, Y)); }
  void Press(TControl* C, int X, int Y) {
    const TPoint P = Screen(C, X, Y);
    Session.Move(P.X, P.Y);
    Session.PumpUntilIdle();
    Session.Press(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void Release(TControl* C, int X, int Y) {
    const TPoint P = Screen(C, X, Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  static sg::Colour Sys(TColor C) { return static_cast<sg::Colour>(ColorToRGB(C)); }
  // The colour of the skin picture of the list box descriptor at (X, Y).
  sg::Colour SkinPixel(TspSkinCustomListBox* L, int X, int Y) {
    auto* D = dynamic_cast<TspDataSkinListBox*>(Skin->CtrlList.Items(L->FIndex));
    TBitmap* P = Skin->FActivePictures.Items(D->PictureIndex);
    return static_cast<sg::Colour>(GetPixel(P->Canvas()->Handle(), X, Y));
  }
  TspDataSkinListBox* Descriptor(TspSkinCustomListBox* L) {
    return dynamic_cast<TspDataSkinListBox*>(Skin->CtrlList.Items(L->FIndex));
  }
  // The first column of row Y, from the left, whose pixel differs from Back.
  int FirstInk(TControl* C, int Y, sg::Colour Back) {
    const vantrel::win::Surface S = Session.CaptureScreen();
    for (int X = 0; X < C->Width(); ++X) {
      const TPoint P = C->ClientToScreen(Point(X, Y));
      if (static_cast<sg::Colour>(SurfacePixel(S, P.X, P.Y)) != Back) return X;
    }
    return -1;
  }
  void SaveCapture(const std::string& Name) {
    ASSERT_TRUE(vantrel::display::SavePng(Session.Capture(Form->Handle()), testing::TempDir() + Name + ".png"));
  }
};

TEST_F(SkinListBoxTest, AnEmptyListPaintsPlainOrTiledBackgroundAndAnswersTheKey) {
  auto* Plain = AddList(false);
  auto* Skinned = AddList(true, 123, 131);
  Skinned->SetLeft(200);
  ShowForm();
  EXPECT_EQ(PixelAt(Plain->ListBox, 5, 5), Sys(clWindow));
  // The client piece repeats from the list's corner and is cut at its right and bottom.
  auto* D = Descriptor(Skinned);
  const int TW = RectWidth(D->ClRect), TH = RectHeight(D->ClRect);
  TspListBox* In = Skinned->ListBox;
  for (const TPoint P : {Point(0, 0), Point(In->Width() - 1, In->Height() - 1), Point(TW + 1, TH + 2)}) {
    SCOPED_TRACE(testing::Message() << P.X << "," << P.Y);
    EXPECT_EQ(PixelAt(In, P.X, P.Y),
              SkinPixel(Skinned, D->SkinRect.Left + D->ClRect.Left + P.X % TW, D->SkinRect.Top + D->ClRect.Top + P.Y % TH));
  }
  // Asked with the key, the empty list paints into the given context and answers it.
  EXPECT_EQ(Plain->ListBox->Perform(CN_SKIN_PAINT_BACKGROUND, 0, SKIN_PAINT_KEY), SKIN_PAINT_KEY);
  auto B = CreateControlImage(30, 30);
  B->Canvas()->Brush()->SetColor(clRed);
  B->Canvas()->FillRect(Rect(0, 0, 30, 30));
  EXPECT_EQ(Plain->ListBox->Perform(CN_SKIN_PAINT_BACKGROUND, reinterpret_cast<WPARAM>(B->Canvas()->Handle()),
                                    SKIN_PAINT_KEY),
            SKIN_PAINT_KEY);
  EXPECT_EQ(GetPixel(B->Canvas()->Handle(), 3, 3), ColorToRGB(clWindow));
  EXPECT_EQ(Plain->ListBox->Perform(CN_SKIN_PAINT_BACKGROUND, 0, 1), 0);
  AddItems(Plain, 1);
  EXPECT_EQ(Plain->ListBox->Perform(CN_SKIN_PAINT_BACKGROUND, 0, SKIN_PAINT_KEY), 0);
}

TEST_F(SkinListBoxTest, APartlyVisibleLastRowIsPainted) {
  auto* L = AddList(false, 120, 120);
  L->OnDrawItem = [](TCanvas* C, Integer, Integer W, Integer H, const TRect&, TOwnerDrawState) {
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(0, 0, W, H));
  };
  AddItems(L, 10);
  ShowForm();
  const int IH = L->ListBox->ItemHeight();
  ASSERT_NE(L->ListBox->Height() % IH, 0);
  EXPECT_EQ(PixelAt(L->ListBox, 10, L->ListBox->Height() - 1), Sys(clRed));
}

TEST_F(SkinListBoxTest, SkinnedRowsShowTheItemPictureOfTheirState) {
  auto* L = AddList(true, 150, 150);
  for (int I = 0; I < 3; ++I) L->Items()->Add("");
  L->SetItemIndex(1);
  ShowForm();
  auto* D = Descriptor(L);
  auto Centre = [&](const TRect& R) { return SkinPixel(L, R.Left + RectWidth(R) / 2, R.Top + RectHeight(R) / 2); };
  auto RowCentre = [&](int I) {
    const TRect R = L->ItemRect(I);
    return PixelAt(L->ListBox, R.Left + RectWidth(R) / 2, R.Top + RectHeight(R) / 2);
  };
  ASSERT_NE(Centre(D->SItemRect), Centre(D->ActiveItemRect));
  EXPECT_EQ(RowCentre(0), Centre(D->SItemRect));
  EXPECT_EQ(RowCentre(1), Centre(D->ActiveItemRect));
  L->ListBox->SetFocus();
  Session.PumpUntilIdle();
  EXPECT_EQ(RowCentre(1), Centre(D->FocusItemRect));
  EXPECT_NE(Centre(D->FocusItemRect), Centre(D->ActiveItemRect));
}

TEST_F(SkinListBoxTest, TheHorizontalOffsetMovesImagesAndPlainTextButNotTabbedText) {
  auto* Images = Create<TImageList>(Form.get());
  Images->SetWidth(40);
  Images->SetHeight(10);
  auto Pic = CreateControlImage(40, 10);
  Pic->Canvas()->Brush()->SetColor(clBlue);
  Pic->Canvas()->FillRect(Rect(0, 0, 40, 10));
  Images->Add(Pic.get(), nullptr);
  auto* L = AddList(false, 200, 100);
  L->SetImages(Images);
  L->SetImageIndex(5);  // no such image: only the text moves past the image's width
  L->Items()->Add("WWWW");
  L->Items()->Add("WWWW");
  ShowForm();
  const int Y = L->ItemRect(1).Top + L->ListBox->ItemHeight() / 2;
  const int Text0 = FirstInk(L->ListBox, Y, Sys(clWindow));
  L->ListBox->SetHorizontalExtentValue(30);
  L->ListBox->Invalidate();
  Session.PumpUntilIdle();
  EXPECT_EQ(FirstInk(L->ListBox, Y, Sys(clWindow)), Text0 - 30);
  // An image that exists moves by the offset too: it starts left of the list now.
  L->SetImageIndex(0);
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(L->ListBox, 2 + 40 - 30 - 1, Y), Sys(clBlue));
  EXPECT_NE(PixelAt(L->ListBox, 2 + 40 - 30, Y), Sys(clBlue));
  // Tabbed text keeps its place.
  L->SetImageIndex(5);
  L->ListBox->SetHorizontalExtentValue(0);
  auto Tabs = CreateOwned<TStringList>();
  Tabs->Add("50");
  L->SetTabWidths(Tabs.get());
  Session.PumpUntilIdle();
  const int Tabbed0 = FirstInk(L->ListBox, Y, Sys(clWindow));
  L->ListBox->SetHorizontalExtentValue(30);
  L->ListBox->Invalidate();
  Session.PumpUntilIdle();
  EXPECT_EQ(FirstInk(L->ListBox, Y, Sys(clWindow)), Tabbed0);
}

TEST_F(SkinListBoxTest, ResizingTheInnerListMovesTheOffsetAndNeverBelowZero) {
  auto* L = AddList(false, 200, 100);
  ShowForm();
  TspListBox* In = L->ListBox;
  In->SetHorizontalExtentValue(25);
  In->SetWidth(In->Width() - 10);
  EXPECT_EQ(In->HorizontalExtentValue(), 35);
  In->SetWidth(In->Width() + 40);
  EXPECT_EQ(In->HorizontalExtentValue(), 0);
}

TEST_F(SkinListBoxTest, AVerticalBarComesWithItemsPastTheRowsAndGoesWithThem) {
  auto* L = AddList(false);
  ShowForm();
  EXPECT_EQ(L->Width(), 120);
  EXPECT_EQ(L->Height(), 120);
  EXPECT_EQ(L->ScrollBar, nullptr);
  EXPECT_EQ(L->HScrollBar, nullptr);
  AddItems(L, 4);
  EXPECT_EQ(L->ScrollBar, nullptr);
  AddItems(L, 6);
  ASSERT_NE(L->ScrollBar, nullptr);
  EXPECT_EQ(L->ScrollBar->Left(), L->Width() - 20);
  EXPECT_EQ(L->ScrollBar->Width(), 19);
  EXPECT_EQ(L->ListBox->Left() + L->ListBox->Width(), L->ScrollBar->Left());
  // Moving the bar scrolls the list.
  L->ScrollBar->SetPosition(3);
  EXPECT_EQ(L->TopIndex(), 3);
  while (L->Items()->Count() > 3) L->Items()->Delete(L->Items()->Count() - 1);
  Session.PumpUntilIdle();
  EXPECT_EQ(L->ScrollBar, nullptr);
  EXPECT_EQ(L->ListBox->Width(), 120 - 4);
}

TEST_F(SkinListBoxTest, RowCountSizesTheBoxToItsRowsWithoutABar) {
  auto* L = AddList(false);
  AddItems(L, 5);
  L->SetRowCount(5);
  ShowForm();
  EXPECT_EQ(L->Height(), 5 * L->ListBox->ItemHeight() + 4);
  EXPECT_EQ(L->ScrollBar, nullptr);
  L->SetDefaultItemHeight(30);  // the rows no longer fit, the row count still rules
  L->UpDateScrollBar();
  EXPECT_EQ(L->ScrollBar, nullptr);
}

TEST_F(SkinListBoxTest, HorizontalExtentShowsABarThatStepsByTheWidthOfAZero) {
  auto* L = AddList(false);
  L->Items()->Add("a short one");
  L->Items()->Add(String(60, 'W'));
  ShowForm();
  EXPECT_EQ(L->HScrollBar, nullptr);
  L->SetHorizontalExtent(true);
  ASSERT_NE(L->HScrollBar, nullptr);
  auto Probe = CreateControlImage(1, 1);
  Probe->Canvas()->Font()->Assign(L->ListBox->Font());
  const int Zero = Probe->Canvas()->TextWidth("0");
  EXPECT_GT(Zero, 0);
  EXPECT_EQ(L->HScrollBar->SmallChange(), Zero);
  EXPECT_EQ(L->HScrollBar->LargeChange(), Zero);
  EXPECT_EQ(L->HScrollBar->Max(), Probe->Canvas()->TextWidth(String(60, 'W')));
  // Only the horizontal bar: the list stops above it.
  EXPECT_EQ(L->ListBox->Top() + L->ListBox->Height(), L->Height() - 2 - (L->HScrollBar->Height() - 1));
  // The bar moves the content; left and right keys move the bar and stop there.
  L->ListBox->SetFocus();
  L->SetItemIndex(0);
  Session.PumpUntilIdle();
  Session.Key(VK_RIGHT);
  Session.PumpUntilIdle();
  EXPECT_EQ(L->HScrollBar->Position(), Zero);
  EXPECT_EQ(L->ListBox->HorizontalExtentValue(), Zero);
  EXPECT_EQ(L->ItemIndex(), 0);
  Session.Key(VK_LEFT);
  Session.PumpUntilIdle();
  EXPECT_EQ(L->HScrollBar->Position(), 0);
  L->SetHorizontalExtent(false);
  EXPECT_EQ(L->HScrollBar, nullptr);
  EXPECT_EQ(L->ListBox->HorizontalExtentValue(), 0);
}

TEST_F(SkinListBoxTest, WithoutAHorizontalBarArrowKeysReachTheList) {
  auto* L = AddList(false);
  AddItems(L, 3);
  EXPECT_TRUE(L->ListBoxTabStop());
  ShowForm();
  L->ListBox->SetFocus();
  L->SetItemIndex(0);
  Session.PumpUntilIdle();
  Session.Key(VK_DOWN);
  Session.PumpUntilIdle();
  EXPECT_EQ(L->ItemIndex(), 1);
}

TEST_F(SkinListBoxTest, PlainCaptionButtonsTakeTheCaptionHeight) {
  for (const auto& [CaptionHeight, Width] : {std::pair{30, 17}, std::pair{12, 9}}) {
    SCOPED_TRACE(CaptionHeight);
    auto* L = AddList(false, 150, 120);
    L->SetCaptionMode(true);
    L->SetDefaultCaptionHeight(CaptionHeight);
    ShowForm();
    L->Repaint();
    for (int I = 0; I < 3; ++I) EXPECT_EQ(RectWidth(L->CaptionButton(I).R), Width);
    EXPECT_EQ(L->CaptionButton(0).R.Right, 150 - 2);
    EXPECT_EQ(L->CaptionButton(1).R.Right, L->CaptionButton(0).R.Left);
    // The inner list starts below the caption.
    EXPECT_EQ(L->ListBox->Top(), CaptionHeight + 1);
    L->Free();
  }
}

TEST_F(SkinListBoxTest, APlainSkinnedListHasNoCaptionBand) {
  // The default descriptor frames the rows only: the list starts inside the frame's thin
  // top edge, the caption mode shows nothing, and the frame's top row holds no button.
  auto* L = AddList(true, 160, 140);
  L->SetCaptionMode(true);
  L->SetCaption("Folders");
  AddItems(L, 3);
  ShowForm();
  EXPECT_EQ(L->ListBox->Top(), sg::MainSizes.Corner);
  EXPECT_EQ(L->ListBox->Left(), sg::MainSizes.Corner);
  for (int I = 0; I < 3; ++I) EXPECT_TRUE(IsRectEmpty(&L->CaptionButton(I).R)) << I;
  const auto Shot = ShotOf(L);
  const sg::Colour Ring = sg::TestPieceColour(false, "listbox", "skinrect", sg::Piece::Ring);
  for (int X = 0; X < L->Width(); X += 7)
    for (int Y = 0; Y < sg::MainSizes.Corner; ++Y) EXPECT_EQ(Shot.At(X, Y), Ring) << X << "," << Y;
}

TEST_F(SkinListBoxTest, TheGeneratedSkinShowsACaptionBandWhoseButtonsStepTheSelection) {
  auto* L = AddList(true, 160, 140);
  L->SetSkinDataName("captionlistbox");
  L->SetSkinData(Skin);
  L->SetCaptionMode(true);
  L->SetCaption("Folders");
  AddItems(L, 20);
  L->SetItemIndex(3);
  ShowForm();
  // The list starts below the band.
  EXPECT_GT(L->ListBox->Top(), sg::MainSizes.ItemHeight);
  // The band holds the caption text in the caption colour.
  const sg::Colour Ink = sg::TestFontColour(false, "captionlistbox", "captionfontcolor");
  bool Text = false;
  const auto Shot = ShotOf(L);
  for (int X = 0; X < 80 && !Text; ++X)
    for (int Y = 0; Y < sg::MainSizes.ItemHeight; ++Y) Text |= Shot.At(X, Y) == Ink;
  EXPECT_TRUE(Text);
  // Each button shows its normal picture inside the band, at the right end.
  const char* Keys[3] = {"upbuttonrect", "downbuttonrect", "checkbuttonrect"};
  for (int I = 0; I < 3; ++I) {
    SCOPED_TRACE(Keys[I]);
    const TRect R = L->CaptionButton(I).R;
    ASSERT_FALSE(IsRectEmpty(&R));
    EXPECT_LE(R.Bottom, L->ListBox->Top());
    EXPECT_LT(R.Right, L->Width());
    EXPECT_EQ(Shot.At(R.Left + RectWidth(R) / 2, R.Top + RectHeight(R) / 2),
              sg::TestPieceColour(false, "captionlistbox", Keys[I], sg::Piece::Fill));
  }
  const TRect Down = L->CaptionButton(1).R, Up = L->CaptionButton(0).R;
  Press(L, Down.Left + 3, Down.Top + 3);
  Release(L, Down.Left + 3, Down.Top + 3);
  EXPECT_EQ(L->ItemIndex(), 4);
  Press(L, Up.Left + 3, Up.Top + 3);
  Release(L, Up.Left + 3, Up.Top + 3);
  EXPECT_EQ(L->ItemIndex(), 3);
}

TEST_F(SkinListBoxTest, AHeldDownButtonStepsAt600MsThenEvery100AndOnceOnRelease) {
  auto* L = AddList(false, 150, 150);
  L->SetCaptionMode(true);
  AddItems(L, 30);
  L->SetItemIndex(0);
  ShowForm();
  const TRect R = L->CaptionButton(1).R;
  const int X = R.Left + 3, Y = R.Top + 3;
  Press(L, X, Y);
  EXPECT_EQ(L->ItemIndex(), 0);
  Session.Advance(599);
  EXPECT_EQ(L->ItemIndex(), 0);
  Session.Advance(1);
  EXPECT_EQ(L->ItemIndex(), 1);
  Session.Advance(300);
  EXPECT_EQ(L->ItemIndex(), 4);
  Release(L, X, Y);
  EXPECT_EQ(L->ItemIndex(), 5);
  Session.Advance(500);
  EXPECT_EQ(L->ItemIndex(), 5);
  // The up button: released away from it, it still steps once.
  const TRect U = L->CaptionButton(0).R;
  Press(L, U.Left + 3, U.Top + 3);
  Release(L, 40, 80);
  EXPECT_EQ(L->ItemIndex(), 4);
}

TEST_F(SkinListBoxTest, WithADownButtonHandlerThereIsNoRepeat) {
  auto* L = AddList(false, 150, 150);
  L->SetCaptionMode(true);
  int Clicks = 0;
  L->OnDownButtonClick = [&](TObject* Sender) {
    EXPECT_EQ(Sender, L);
    ++Clicks;
  };
  AddItems(L, 30);
  L->SetItemIndex(0);
  ShowForm();
  const TRect R = L->CaptionButton(1).R;
  Press(L, R.Left + 3, R.Top + 3);
  Session.Advance(2000);
  EXPECT_EQ(L->ItemIndex(), 0);
  Release(L, R.Left + 3, R.Top + 3);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(L->ItemIndex(), 0);
  // Released elsewhere, the default step runs instead of the handler.
  Press(L, R.Left + 3, R.Top + 3);
  Release(L, 40, 80);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(L->ItemIndex(), 1);
}

TEST_F(SkinListBoxTest, TheDownButtonStopsAtTheLastItem) {
  auto* L = AddList(false, 150, 150);
  L->SetCaptionMode(true);
  AddItems(L, 3);
  L->SetItemIndex(1);
  ShowForm();
  const TRect R = L->CaptionButton(1).R;
  Press(L, R.Left + 3, R.Top + 3);
  Session.Advance(1000);
  Release(L, R.Left + 3, R.Top + 3);
  EXPECT_EQ(L->ItemIndex(), 2);
  // The check button's default is the inner list's click.
  int Clicks = 0;
  L->OnListBoxClick = [&](TObject*) { ++Clicks; };
  const TRect C = L->CaptionButton(2).R;
  Press(L, C.Left + 3, C.Top + 3);
  Release(L, C.Left + 3, C.Top + 3);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(SkinListBoxTest, AHookThatRefusesTheDefaultDropsTheMessage) {
  auto* L = AddList(false);
  L->Dropped = {LB_ADDSTRING};
  ShowForm();
  L->Items()->Add("lost");
  EXPECT_EQ(L->Items()->Count(), 0);
  L->Dropped.clear();
  L->Items()->Add("kept");
  EXPECT_EQ(L->Items()->Count(), 1);
}

TEST_F(SkinListBoxTest, AnItemPictureWithoutHeightGivesRowsOfOnePixel) {
  auto* L = AddList(false);
  L->SetSkinData(Skin);
  auto* D = Descriptor(L);
  const TRect Saved = D->SItemRect;
  D->SItemRect.Bottom = D->SItemRect.Top;
  L->ChangeSkinData();
  AddItems(L, 5);
  ShowForm();
  EXPECT_EQ(L->ListBox->ItemHeight(), 1);
  EXPECT_GT(L->CalcHeight(3), 0);
  L->SetRowCount(3);
  D->SItemRect = Saved;
}

TEST_F(SkinListBoxTest, AnEmptyClientPieceLeavesThePlainBackground) {
  auto* L = AddList(true);
  auto* D = Descriptor(L);
  const TRect Saved = D->ClRect;
  D->ClRect = TRect{Saved.Left, Saved.Top, Saved.Left, Saved.Bottom};
  ShowForm();
  L->ListBox->Invalidate();
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(L->ListBox, 3, 3), Sys(clWindow));
  EXPECT_EQ(PixelAt(L->ListBox, L->ListBox->Width() - 1, L->ListBox->Height() - 1), Sys(clWindow));
  D->ClRect = Saved;
}

TEST_F(SkinListBoxTest, CaptureOfBothLooks) {
  LoadSkin(sg::DefaultSkinFolder);
  Form->SetColor(static_cast<TColor>(sg::palette::Window));
  auto* Plain = AddList(false, 170, 150);
  Plain->SetCaptionMode(true);
  Plain->SetCaption("Formats");
  AddItems(Plain, 12, "profile ");
  Plain->SetItemIndex(2);
  Plain->SetHorizontalExtent(true);
  Plain->Items()->Add(String(40, 'W'));
  auto* Skinned = AddList(true, 170, 150);
  Skinned->SetLeft(200);
  AddItems(Skinned, 12, "profile ");
  Skinned->SetItemIndex(3);
  auto* Captioned = AddList(false, 170, 150);
  Captioned->SetTop(200);
  Captioned->SetSkinDataName("captionlistbox");
  Captioned->SetSkinData(Skin);
  Captioned->SetCaptionMode(true);
  Captioned->SetCaption("Formats");
  AddItems(Captioned, 12, "profile ");
  ShowForm();
  ASSERT_NE(Plain->ScrollBar, nullptr);
  ASSERT_NE(Skinned->ScrollBar, nullptr);
  ASSERT_NE(Captioned->FIndex, -1);
  SaveCapture("skin-listbox-looks");
}

}  // namespace
