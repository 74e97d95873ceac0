// The skinned combo box: where its list opens and how large, choosing by dragging, the
// auto-scroll above the list, keys, type-ahead and the edit style's completion, the fade
// of the list (also when the form goes during it), and the looks of the chosen item.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/ui/Timers.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/WindowDc.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/core/drawing/SPUtils.h"
#include "tests/support/SkinFormFixture.h"
#include "tests/support/UiLayoutKeys.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

// Records every event of a choice, Change included, in order.
class RecordingComboBox : public TspSkinComboBox {
 public:
  explicit RecordingComboBox(TComponent* AOwner) : TspSkinComboBox(AOwner) {
    OnChange = [this](TObject*) { Events.push_back("OnChange"); };
    OnClick = [this](TObject*) { Events.push_back("OnClick"); };
    OnCloseUp = [this](TObject*) { Events.push_back("OnCloseUp"); };
  }
  std::vector<std::string> Events;
  void Change() override { Events.push_back("Change"); }
};

class SkinComboBoxTest : public SkinFormFixture {
 protected:
  RecordingComboBox* AddCombo(bool Skinned, TWinControl* Parent = nullptr, int Items = 10) {
    auto* C = Create<RecordingComboBox>(Form.get());
    C->SetParent(Parent ? Parent : Form.get());
    C->SetBounds(20, 20, 150, 20);
    if (Skinned) C->SetSkinData(Skin);
    for (int I = 0; I < Items; ++I) C->Items()->Add("item " + std::to_string(I));
    return C;
  }
  TPoint Screen(TControl* C, int X, int Y) { return C->ClientToScreen(Point(X, Y)); }
  void MoveTo(TControl* C, int X, int Y) {
    const TPoint P = Screen(C, X, Y);
    Session.Move(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void Press(TControl* C, int X, int Y) {
    MoveTo(C, X, Y);
    const TPoint P = Screen(C, X, Y);
    Session.Press(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void Release(TControl* C, int X, int Y) {
    const TPoint P = Screen(C, X, Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void PressButton(TspSkinCustomComboBox* C) { Press(C, C->Button.R.Left + 5, C->Button.R.Top + 5); }
  // A point in the middle of row I of the open list.
  TPoint RowPoint(TspSkinCustomComboBox* C, int I) {
    const TRect R = C->PopupList()->ItemRect(I);
    return Point(R.Left + 10, R.Top + RectHeight(R) / 2);
  }
  static sg::Colour Sys(TColor C) { return static_cast<sg::Colour>(ColorToRGB(C)); }
  void Focus(TWinControl* C) {
    C->SetFocus();
    Session.PumpUntilIdle();
  }
};

TEST_F(SkinComboBoxTest, TheListIsAsWideAsTheComboAndOpensBelowIt) {
  auto* C = AddCombo(false, nullptr, 3);
  ShowForm();
  C->DropDown();
  Session.PumpUntilIdle();
  TspPopupListBox* L = C->PopupList();
  ASSERT_TRUE(C->IsPopupVisible());
  EXPECT_EQ(L->Width(), C->Width());
  EXPECT_EQ(L->Left(), Screen(C, 0, 0).X);
  EXPECT_EQ(L->Top(), Screen(C, 0, C->Height()).Y);
  // Three items with eight rows allowed: three rows, no bar.
  EXPECT_EQ(L->Height(), L->CalcHeight(3));
  EXPECT_EQ(L->Height(), 3 * L->ListBox->ItemHeight() + 4);
  EXPECT_EQ(L->ScrollBar, nullptr);
  C->CloseUp(false);
  C->SetListBoxWidth(260);
  C->DropDown();
  EXPECT_EQ(L->Width(), 260);
}

TEST_F(SkinComboBoxTest, NearTheBottomOfTheWorkAreaTheListOpensAbove) {
  const RECT Work = Session.Display().WorkArea();
  Form->SetBounds(10, Work.Bottom - 60, 400, 60);
  auto* C = AddCombo(false);
  ShowForm();
  C->DropDown();
  Session.PumpUntilIdle();
  TspPopupListBox* L = C->PopupList();
  EXPECT_EQ(L->Height(), L->CalcHeight(8));
  EXPECT_EQ(L->Top() + L->Height(), Screen(C, 0, 0).Y);
}

TEST_F(SkinComboBoxTest, DraggingFromTheButtonOntoARowChoosesIt) {
  auto* C = AddCombo(false);
  C->SetItemIndex(1);
  ShowForm();
  C->Events.clear();
  PressButton(C);
  ASSERT_TRUE(C->IsPopupVisible());
  TspListBox* In = C->PopupList()->ListBox;
  const TPoint P = RowPoint(C, 4);
  MoveTo(In, P.X, P.Y - 3);
  MoveTo(In, P.X, P.Y);
  EXPECT_EQ(In->ItemIndex(), 4);
  Release(In, P.X, P.Y);
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 4);
  EXPECT_EQ(C->Text(), "item 4");
  EXPECT_EQ(C->Events, (std::vector<std::string>{"OnChange", "OnClick", "Change", "OnCloseUp"}));
}

TEST_F(SkinComboBoxTest, ReleasingOutsideTheListClosesItWithoutAChoice) {
  auto* C = AddCombo(false);
  C->SetItemIndex(1);
  ShowForm();
  C->Events.clear();
  PressButton(C);
  TspListBox* In = C->PopupList()->ListBox;
  const TPoint P = RowPoint(C, 5);
  MoveTo(In, P.X, P.Y);
  EXPECT_EQ(In->ItemIndex(), 5);
  MoveTo(In, In->Width() + 40, P.Y);
  Release(In, In->Width() + 40, P.Y);
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 1);
  EXPECT_TRUE(C->Events.empty());
}

TEST_F(SkinComboBoxTest, PressAndReleaseOnTheButtonLeaveTheListOpen) {
  auto* C = AddCombo(false);
  ShowForm();
  PressButton(C);
  Release(C, C->Button.R.Left + 5, C->Button.R.Top + 5);
  EXPECT_TRUE(C->IsPopupVisible());
  // A second click on the button closes it.
  PressButton(C);
  Release(C, C->Button.R.Left + 5, C->Button.R.Top + 5);
  EXPECT_FALSE(C->IsPopupVisible());
}

TEST_F(SkinComboBoxTest, HoldingAboveTheOpenListScrollsItsHighlightUpEvery25Ms) {
  auto* C = AddCombo(false, nullptr, 30);
  C->SetItemIndex(20);
  ShowForm();
  PressButton(C);
  TspSkinCustomListBox* L = C->PopupList();
  ASSERT_NE(L->ScrollBar, nullptr);
  // Above the list before the rows were entered: nothing moves.
  Session.Advance(100);
  EXPECT_EQ(L->ItemIndex(), 20);
  const TPoint P = RowPoint(C, 22);
  MoveTo(L->ListBox, P.X, P.Y);
  EXPECT_EQ(L->ItemIndex(), 22);
  MoveTo(L->ListBox, P.X, -5);
  EXPECT_EQ(L->ItemIndex(), 22);
  Session.Advance(25);
  EXPECT_EQ(L->ItemIndex(), 21);
  Session.Advance(50);
  EXPECT_EQ(L->ItemIndex(), 19);
  // Back over the rows the scrolling stops.
  const TPoint Q = RowPoint(C, L->TopIndex() + 1);
  MoveTo(L->ListBox, Q.X, Q.Y);
  const int Now = L->ItemIndex();
  Session.Advance(100);
  EXPECT_EQ(L->ItemIndex(), Now);
  Release(L->ListBox, Q.X, Q.Y);
  EXPECT_EQ(C->ItemIndex(), Now);
}

TEST_F(SkinComboBoxTest, PageKeysMoveByTheDropDownCount) {
  auto* C = AddCombo(false, nullptr, 30);
  ShowForm();
  Focus(C);
  struct Case {
    int From;
    WORD Key;
    int To;
  };
  for (const Case& K : {Case{20, VK_PRIOR, 11}, Case{0, VK_NEXT, 7}, Case{3, VK_PRIOR, 0}, Case{27, VK_NEXT, 29}}) {
    SCOPED_TRACE(K.From);
    C->SetItemIndex(K.From);
    C->Events.clear();
    Session.Key(K.Key);
    Session.PumpUntilIdle();
    EXPECT_EQ(C->ItemIndex(), K.To);
    EXPECT_EQ(C->Text(), "item " + std::to_string(K.To));
    EXPECT_EQ(C->Events, (std::vector<std::string>{"OnChange", "OnClick", "Change"}));
  }
}

TEST_F(SkinComboBoxTest, TheWheelChangesTheChoiceOrWithTheListOpenOnlyTheHighlight) {
  auto* C = AddCombo(false);
  C->SetItemIndex(4);
  ShowForm();
  Focus(C);
  const TPoint P = Screen(C, 20, 10);
  MoveTo(C, 20, 10);
  Session.Wheel(P.X, P.Y, -120);
  Session.PumpUntilIdle();
  EXPECT_EQ(C->ItemIndex(), 5);
  EXPECT_EQ(C->Text(), "item 5");
  Session.Wheel(P.X, P.Y, 120);
  Session.PumpUntilIdle();
  EXPECT_EQ(C->Text(), "item 4");
  C->DropDown();
  Session.PumpUntilIdle();
  Session.Wheel(P.X, P.Y, -120);
  Session.PumpUntilIdle();
  EXPECT_EQ(C->PopupList()->ItemIndex(), 5);
  EXPECT_EQ(C->Text(), "item 4");
}

TEST_F(SkinComboBoxTest, TypedLettersWithinHalfASecondFindTheItemStartingWithThem) {
  auto* C = AddCombo(false, nullptr, 0);
  for (const char* S : {"apple", "Banana", "blueberry", "cherry", "bread"}) C->Items()->Add(S);
  ShowForm();
  Focus(C);
  Session.Type("bl");
  Session.PumpUntilIdle();
  EXPECT_EQ(C->ItemIndex(), 2);
  // After a pause one letter selects the next item that starts with it, wrapping.
  Session.Advance(500);
  Session.Type("b");
  Session.PumpUntilIdle();
  EXPECT_EQ(C->ItemIndex(), 4);
  Session.Advance(500);
  Session.Type("b");
  Session.PumpUntilIdle();
  EXPECT_EQ(C->ItemIndex(), 1);
  Session.Advance(500);
  Session.Type("z");
  Session.PumpUntilIdle();
  EXPECT_EQ(C->ItemIndex(), 1);
}

TEST_F(SkinComboBoxTest, EditStyleCompletesATypedPrefixWithTheRestSelected) {
  auto* C = AddCombo(false, nullptr, 0);
  for (const char* S : {"mp4 video", "mkv video", "webm video"}) C->Items()->Add(S);
  C->SetStyle(spcbEditStyle);
  ShowForm();
  ASSERT_NE(C->Edit(), nullptr);
  Focus(C);
  EXPECT_TRUE(C->Edit()->Focused());
  Session.Advance(300);
  Session.Key('M');
  Session.PumpUntilIdle();
  Session.Advance(300);
  Session.Key('K');
  Session.PumpUntilIdle();
  EXPECT_EQ(C->ItemIndex(), 1);
  EXPECT_EQ(C->Text(), "mkv video");
  EXPECT_EQ(C->Edit()->Text(), "mkv video");
  EXPECT_EQ(C->SelStart(), 2);
  EXPECT_EQ(C->SelLength(), 7);
}

TEST_F(SkinComboBoxTest, InTheEditStyleEnterTakesTheHighlightedItemAndEscapeRestores) {
  auto* C = AddCombo(false);
  C->SetStyle(spcbEditStyle);
  C->SetItemIndex(2);
  ShowForm();
  Focus(C);
  C->DropDown();
  Session.PumpUntilIdle();
  Session.Key(VK_NEXT);  // the highlight only, while the list is open
  Session.PumpUntilIdle();
  EXPECT_EQ(C->PopupList()->ItemIndex(), 9);
  EXPECT_EQ(C->Text(), "item 2");
  C->Events.clear();
  Session.Key(VK_ESCAPE);
  Session.PumpUntilIdle();
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 2);
  EXPECT_TRUE(C->Events.empty());
  C->DropDown();
  Session.PumpUntilIdle();
  Session.Key(VK_NEXT);
  Session.PumpUntilIdle();
  C->Events.clear();
  Session.Key(VK_RETURN);
  Session.PumpUntilIdle();
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->Text(), "item 9");
  EXPECT_EQ(C->Edit()->Text(), "item 9");
  EXPECT_EQ(C->SelLength(), 6);
  EXPECT_EQ(C->Events, (std::vector<std::string>{"OnChange", "Change", "OnClick", "Change", "OnCloseUp"}));
}

TEST_F(SkinComboBoxTest, EscapeRestoresThePreviousItem) {
  auto* C = AddCombo(false);
  C->SetItemIndex(2);
  ShowForm();
  Focus(C);
  C->DropDown();
  Session.PumpUntilIdle();
  TspListBox* In = C->PopupList()->ListBox;
  const TPoint P = RowPoint(C, 6);
  MoveTo(In, P.X, P.Y);
  EXPECT_EQ(In->ItemIndex(), 6);
  C->Events.clear();
  Session.Key(VK_ESCAPE);
  Session.PumpUntilIdle();
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 2);
  EXPECT_TRUE(C->Events.empty());
}

// With the list open, Esc belongs to the combo in both styles: it closes the list and the
// form's Cancel button stays unpressed; with the list closed the next Esc cancels.
TEST_F(SkinComboBoxTest, EscWithTheListOpenClosesTheListAndLeavesTheFormsCancelAlone) {
  for (const bool EditStyle : {false, true}) {
    SCOPED_TRACE(EditStyle ? "edit style" : "list style");
    auto* C = AddCombo(false);
    if (EditStyle) C->SetStyle(spcbEditStyle);
    C->SetItemIndex(2);
    std::vector<std::string> Log;
    auto* Cancel = Create<TspSkinButton>(Form.get());
    Cancel->SetParent(Form.get());
    Cancel->SetBounds(20, 120, 80, 24);
    Cancel->SetCancel(true);
    Cancel->OnClick = [&Log](TObject*) { Log.push_back("cancel"); };
    ShowForm();
    Focus(C);
    C->DropDown();
    Session.PumpUntilIdle();
    ASSERT_TRUE(C->IsPopupVisible());
    Session.Key(VK_ESCAPE);
    vantrel::uitest::PumpKeys(Session);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(C->ItemIndex(), 2);
    Session.Key(VK_ESCAPE);
    vantrel::uitest::PumpKeys(Session);
    EXPECT_EQ(Log, (std::vector<std::string>{"cancel"}));
    Cancel->Free();
    C->Free();
  }
}

TEST_F(SkinComboBoxTest, AltDownOpensAltUpClosesAndF4DoesNothing) {
  auto* C = AddCombo(false);
  C->SetItemIndex(2);
  ShowForm();
  Focus(C);
  Session.Key(VK_F4);
  Session.PumpUntilIdle();
  EXPECT_FALSE(C->IsPopupVisible());
  Session.Key(VK_DOWN, MOD_ALT);
  Session.PumpUntilIdle();
  EXPECT_TRUE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 2);
  Session.Key(VK_UP, MOD_ALT);
  Session.PumpUntilIdle();
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 2);
  // Plain arrows step the choice.
  Session.Key(VK_DOWN);
  Session.PumpUntilIdle();
  EXPECT_EQ(C->ItemIndex(), 3);
}

TEST_F(SkinComboBoxTest, AClickIntoTheListLeavesTheFormActive) {
  auto* C = AddCombo(false);
  ShowForm();
  Focus(C);
  ASSERT_EQ(GetActiveWindow(), Form->Handle());
  C->DropDown();
  Session.PumpUntilIdle();
  TspListBox* In = C->PopupList()->ListBox;
  const TPoint P = RowPoint(C, 3);
  Press(In, P.X, P.Y);
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
  EXPECT_TRUE(C->Focused());
  Release(In, P.X, P.Y);
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 3);
}

TEST_F(SkinComboBoxTest, TheFadeEndsAtTheListAlpha) {
  auto* C = AddCombo(false);
  C->SetListBoxAlphaBlend(true);
  C->SetListBoxAlphaBlendAnimation(true);
  C->SetListBoxAlphaBlendValue(180);
  ShowForm();
  const uint64_t Before = Session.Now();
  C->DropDown();
  EXPECT_GT(Session.Now(), Before);
  const auto* N = Session.Display().Native(C->PopupList()->Handle());
  ASSERT_NE(N, nullptr);
  EXPECT_EQ(N->Alpha, 180);
  // Every animated show starts from nothing again.
  C->CloseUp(false);
  C->DropDown();
  EXPECT_EQ(Session.Display().Native(C->PopupList()->Handle())->Alpha, 180);
}

TEST_F(SkinComboBoxTest, ClosingTheFormDuringTheFadeEndsItCleanly) {
  TOwned<TForm> Other = CreateOwned<TForm>(nullptr);
  Other->SetBorderStyle(bsNone);
  Other->SetBounds(500, 10, 300, 200);
  auto* C = Create<TspSkinComboBox>(Other.get());
  C->SetParent(Other.get());
  C->SetBounds(10, 10, 150, 20);
  for (int I = 0; I < 5; ++I) C->Items()->Add("row " + std::to_string(I));
  C->SetListBoxAlphaBlend(true);
  C->SetListBoxAlphaBlendAnimation(true);
  C->SetListBoxAlphaBlendValue(255);
  Other->Show();
  Session.PumpUntilIdle();
  auto Closer = CreateOwned<TTimer>(nullptr);
  Closer->SetInterval(20);
  Closer->OnTimer = [&](TObject*) {
    Closer->SetEnabled(false);
    Other.reset();
  };
  Closer->SetEnabled(true);
  C->DropDown();
  EXPECT_EQ(Other, nullptr);
}

TEST_F(SkinComboBoxTest, ClosingTheListDuringTheFadeEndsIt) {
  auto* C = AddCombo(false);
  C->SetListBoxAlphaBlend(true);
  C->SetListBoxAlphaBlendAnimation(true);
  C->SetListBoxAlphaBlendValue(255);
  ShowForm();
  auto Closer = CreateOwned<TTimer>(nullptr);
  Closer->SetInterval(20);
  Closer->OnTimer = [&](TObject*) {
    Closer->SetEnabled(false);
    C->CloseUp(false);
  };
  Closer->SetEnabled(true);
  const uint64_t Before = Session.Now();
  C->DropDown();
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_LT(Session.Now() - Before, 60u);
  EXPECT_LT(Session.Display().Native(C->PopupList()->Handle())->Alpha, 255);
}

TEST_F(SkinComboBoxTest, TheFocusedPlainItemIsHighlightedWithFocusDots) {
  auto* C = AddCombo(false, nullptr, 0);
  C->Items()->Add("");  // no text over the pixels read
  C->Items()->Add("x");
  C->SetItemIndex(0);
  ShowForm();
  const TRect R = C->CBItem.R;
  EXPECT_EQ(PixelAt(C, R.Left + 10, R.Top + RectHeight(R) / 2), Sys(clWindow));
  Focus(C);
  EXPECT_EQ(PixelAt(C, R.Left + 10, R.Top + RectHeight(R) / 2), Sys(clHighlight));
  // Dots in the text colour along the item's edge.
  int Dots = 0;
  for (int X = R.Left; X < R.Right; ++X) Dots += PixelAt(C, X, R.Top) == Sys(clHighlightText);
  EXPECT_GT(Dots, RectWidth(R) / 3);
  EXPECT_LT(Dots, RectWidth(R));
}

TEST_F(SkinComboBoxTest, ItemImagesFollowTheItemAndTheTextMovesPastTheImageWidth) {
  auto* Images = Create<TImageList>(Form.get());
  Images->SetWidth(12);
  Images->SetHeight(12);
  const TColor Colours[] = {clRed, clLime, clBlue, clYellow};
  for (TColor Col : Colours) {
    auto Pic = CreateControlImage(12, 12);
    Pic->Canvas()->Brush()->SetColor(Col);
    Pic->Canvas()->FillRect(Rect(0, 0, 12, 12));
    Images->Add(Pic.get(), nullptr);
  }
  auto* C = AddCombo(false);
  C->SetItemIndex(3);
  ShowForm();
  const TRect R = C->CBItem.R;
  const int Y = R.Top + RectHeight(R) / 2;
  auto FirstInk = [&] {
    for (int X = R.Left; X < R.Right; ++X)
      if (PixelAt(C, X, Y) != Sys(clWindow)) return X;
    return -1;
  };
  const int TextAlone = FirstInk();
  C->SetImages(Images);
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(C, R.Left + 2 + 5, Y), Sys(clYellow));
  // Two images only: none for item 3, the text still starts after the image's width.
  Images->Delete(3);
  Images->Delete(2);
  C->Repaint();
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(C, R.Left + 2 + 5, Y), Sys(clWindow));
  EXPECT_EQ(FirstInk(), TextAlone + 12 + 2);
}

TEST_F(SkinComboBoxTest, WhileTheListIsOpenTheItemAreaKeepsThePreviousItem) {
  auto* C = AddCombo(false);
  C->SetItemIndex(2);
  std::vector<int> Drawn;
  C->OnComboBoxDrawItem = [&](TCanvas*, Integer Index, Integer, Integer, const TRect&, TOwnerDrawState) {
    Drawn.push_back(Index);
  };
  ShowForm();
  C->DropDown();
  Session.PumpUntilIdle();
  const TPoint P = RowPoint(C, 7);
  MoveTo(C->PopupList()->ListBox, P.X, P.Y);
  ASSERT_EQ(C->PopupList()->ItemIndex(), 7);
  Drawn.clear();
  C->Repaint();
  ASSERT_FALSE(Drawn.empty());
  EXPECT_EQ(Drawn.back(), 2);
  C->CloseUp(true);
  Drawn.clear();
  C->Repaint();
  ASSERT_FALSE(Drawn.empty());
  EXPECT_EQ(Drawn.back(), 7);
}

TEST_F(SkinComboBoxTest, TheDrawItemEventIsToldTheFocusInEveryLook) {
  struct Look {
    const char* Name;
    bool Skinned, UseSkinSize, ToolButton;
  };
  for (const Look& L : {Look{"plain", false, true, false}, Look{"skin size", true, true, false},
                        Look{"stretched", true, false, false}, Look{"plain tool", false, false, true},
                        Look{"skinned tool", true, false, true}}) {
    SCOPED_TRACE(L.Name);
    auto* C = AddCombo(L.Skinned);
    C->SetUseSkinSize(L.UseSkinSize);
    C->SetToolButtonStyle(L.ToolButton);
    C->SetItemIndex(1);
    std::vector<TOwnerDrawState> States;
    C->OnComboBoxDrawItem = [&](TCanvas*, Integer Index, Integer, Integer, const TRect&, TOwnerDrawState S) {
      EXPECT_EQ(Index, 1);
      States.push_back(S);
    };
    ShowForm();
    States.clear();
    C->Repaint();
    ASSERT_FALSE(States.empty());
    EXPECT_FALSE(States.back().Contains(odFocused));
    Focus(C);
    States.clear();
    C->Repaint();
    ASSERT_FALSE(States.empty());
    EXPECT_TRUE(States.back().Contains(odFocused));
    C->OnComboBoxDrawItem = nullptr;
    C->Free();
  }
}

TEST_F(SkinComboBoxTest, TheSkinnedButtonShowsItsHotAndPressedPictures) {
  auto* C = AddCombo(true);
  ShowForm();
  const TRect B = C->Button.R;
  const int X = B.Left + RectWidth(B) / 2, Y = B.Top + RectHeight(B) / 2;
  auto Fill = [](const char* Key) {
    return sg::TestPieceColour(false, "combobox", Key, sg::Piece::Fill);
  };
  // Away from it, the button is the one painted into the box's picture.
  MoveTo(C, 5, 5);
  EXPECT_EQ(PixelAt(C, X, Y), Fill("buttonrect"));
  MoveTo(C, X, Y);
  EXPECT_EQ(PixelAt(C, X, Y), Fill("activebuttonrect"));
  Press(C, X, Y);
  EXPECT_EQ(PixelAt(C, X, Y), Fill("downbuttonrect"));
  EXPECT_TRUE(C->IsPopupVisible());
  Release(C, X, Y);
  EXPECT_EQ(PixelAt(C, X, Y), Fill("activebuttonrect"));
  // Leaving the control takes the hot look away.
  const TPoint Out = Screen(C, 5, C->Height() + 200);
  Session.Move(Out.X, Out.Y);
  Session.PumpUntilIdle();
  C->CloseUp(false);
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(C, X, Y), Fill("buttonrect"));
}

TEST_F(SkinComboBoxTest, TheGeneratedSkinsOpenAListWithoutACaptionBand) {
  for (const char* Folder : {sg::TestSkinFolder, sg::DefaultSkinFolder}) {
    SCOPED_TRACE(Folder);
    LoadSkin(Folder);
    auto* C = AddCombo(true);
    ShowForm();
    PressButton(C);
    Release(C, C->Button.R.Left + 5, C->Button.R.Top + 5);
    ASSERT_TRUE(C->IsPopupVisible());
    TspPopupListBox* L = C->PopupList();
    ASSERT_NE(L->FIndex, -1);
    // The rows start right under the frame's top edge; no caption button is placed.
    EXPECT_EQ(L->ListBox->Top(), sg::MainSizes.Corner);
    EXPECT_EQ(L->Height(), L->CalcHeight(8));
    EXPECT_EQ(L->Height(), 8 * L->ListBox->ItemHeight() + 2 * sg::MainSizes.Corner);
    if (std::string(Folder) == sg::TestSkinFolder) {
      const auto Shot = ShotOf(L);
      EXPECT_EQ(Shot.At(L->Width() / 2, 0),
                sg::TestPieceColour(false, "listbox", "skinrect", sg::Piece::Ring));
      EXPECT_EQ(PixelAt(L->ListBox, L->ListBox->Width() - 10, 1),
                sg::TestPieceColour(false, "listbox", "itemrect", sg::Piece::Fill));
    }
    C->CloseUp(false);
    Session.PumpUntilIdle();
    C->Free();
  }
}

TEST_F(SkinComboBoxTest, TheGeneratedSkinsDrawTheButtonBesideTheItemAndAPressOnItDropsTheList) {
  for (const char* Folder : {sg::TestSkinFolder, sg::DefaultSkinFolder}) {
    SCOPED_TRACE(Folder);
    LoadSkin(Folder);
    auto* C = AddCombo(true);
    C->SetItemIndex(0);
    ShowForm();
    const TRect B = C->Button.R;
    const int X = B.Left + RectWidth(B) / 2, Y = B.Top + RectHeight(B) / 2;
    EXPECT_GT(X, C->CBItem.R.Right);
    EXPECT_LT(B.Right, C->Width());
    if (std::string(Folder) == sg::TestSkinFolder)
      EXPECT_EQ(PixelAt(C, X, Y), sg::TestPieceColour(false, "combobox", "buttonrect", sg::Piece::Fill));
    else
      EXPECT_EQ(PixelAt(C, X, Y - RectHeight(B) / 2 + 1), sg::palette::Panel);  // above the arrow
    Press(C, X, Y);
    EXPECT_TRUE(C->IsPopupVisible());
    Release(C, X, Y);
    C->CloseUp(false);
    Session.PumpUntilIdle();
    C->Free();
  }
}

// An edit-style combo that gets its skin after its style (as a dialog's combo does when the
// form's skin reaches it) shows the skinned item area through its edit, not a white box.
TEST_F(SkinComboBoxTest, AnEditStyleComboSkinnedAfterItsStyleShowsTheSkinThroughItsEdit) {
  Form->SetColor(clWhite);
  auto* C = AddCombo(false);
  C->SetStyle(spcbEditStyle);
  ShowForm();
  TspCustomEdit* E = C->Edit();
  ASSERT_NE(E, nullptr);
  const int X = E->Width() - 3, Y = E->Height() / 2;  // right of any text
  EXPECT_EQ(PixelAt(E, X, Y), Sys(clWindow));
  C->SetSkinData(Skin);
  Session.PumpUntilIdle();
  ASSERT_NE(C->FIndex, -1);
  EXPECT_TRUE(E->EditTransparent());
  EXPECT_EQ(PixelAt(E, X, Y), sg::TestPieceColour(false, "combobox", "skinrect", sg::Piece::Fill));
}

// The background erase of an edit-style combo paints the whole control and then its edit's
// text into the given device context.
TEST_F(SkinComboBoxTest, TheEraseGetsTheWholeComboAndItsEditText) {
  auto* C = AddCombo(true);
  C->SetStyle(spcbEditStyle);
  C->SetText("WWWWWW");
  ShowForm();
  TspCustomEdit* E = C->Edit();
  ASSERT_NE(E, nullptr);
  const HDC Screen = GetDC(nullptr);
  const HDC Dc = CreateCompatibleDC(Screen);
  const HBITMAP Bmp = CreateCompatibleBitmap(Screen, C->Width(), C->Height());
  ReleaseDC(nullptr, Screen);
  const HGDIOBJ Old = SelectObject(Dc, Bmp);
  const COLORREF Marker = RGB(255, 0, 255);
  const HBRUSH Brush = CreateSolidBrush(Marker);
  RECT All{0, 0, C->Width(), C->Height()};
  FillRect(Dc, &All, Brush);
  EXPECT_EQ(SendMessage(C->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(Dc), 0), 1);
  const TRect B = C->Button.R;
  EXPECT_EQ(GetPixel(Dc, B.Left + RectWidth(B) / 2, B.Top + RectHeight(B) / 2),
            sg::TestPieceColour(false, "combobox", "buttonrect", sg::Piece::Fill));
  const int EY = E->Top() + E->Height() / 2;
  const COLORREF Item = sg::TestPieceColour(false, "combobox", "skinrect", sg::Piece::Fill);
  EXPECT_EQ(GetPixel(Dc, E->Left() + E->Width() - 3, EY), Item);
  // The edit's text is drawn over the item area.
  int Ink = 0;
  for (int Y = E->Top(); Y < E->Top() + E->Height(); ++Y)
    for (int X = E->Left(); X < E->Left() + E->Width() / 2; ++X) {
      const COLORREF P = GetPixel(Dc, X, Y);
      Ink += P != Item && P != Marker;
    }
  EXPECT_GT(Ink, 10);
  SelectObject(Dc, Old);
  DeleteObject(Brush);
  DeleteObject(Bmp);
  DeleteDC(Dc);
}

TEST_F(SkinComboBoxTest, CaptureOfTheLooks) {
  LoadSkin(sg::DefaultSkinFolder);
  Form->SetColor(static_cast<TColor>(sg::palette::Window));
  auto* Plain = AddCombo(false);
  Plain->SetItemIndex(1);
  auto* Tool = AddCombo(true);
  Tool->SetTop(60);
  Tool->SetToolButtonStyle(true);
  Tool->SetItemIndex(3);
  auto* Stretched = AddCombo(true);
  Stretched->SetTop(100);
  Stretched->SetUseSkinSize(false);
  Stretched->SetHeight(26);
  Stretched->SetItemIndex(4);
  auto* Skinned = AddCombo(true);
  Skinned->SetLeft(200);
  Skinned->SetItemIndex(2);
  auto* Edit = AddCombo(true);
  Edit->SetBounds(200, 200, 150, 20);
  Edit->SetStyle(spcbEditStyle);
  Edit->SetItemIndex(5);
  ShowForm();
  Skinned->DropDown();
  Session.PumpUntilIdle();
  ASSERT_TRUE(vantrel::display::SavePng(Session.CaptureScreen(), testing::TempDir() + "skin-combobox-looks.png"));
  EXPECT_NE(Skinned->FIndex, -1);
  EXPECT_NE(Skinned->PopupList()->FIndex, -1);
}

}  // namespace

namespace {

// In the edit style a click into the text closes an open list and gives the edit the focus
// and the caret: what is typed then goes into the text.
TEST_F(SkinComboBoxTest, AClickIntoTheEditStylesTextFocusesItsEdit) {
  auto* C = AddCombo(false, nullptr, 3);
  C->SetStyle(spcbEditStyle);
  auto* Other = AddCombo(false, nullptr, 3);
  Other->SetTop(200);
  ShowForm();
  Focus(Other);
  PressButton(C);
  Release(C, C->Button.R.Left + 5, C->Button.R.Top + 5);
  ASSERT_TRUE(C->IsPopupVisible());
  TspCustomEdit* E = C->Edit();
  ASSERT_NE(E, nullptr);
  Press(E, E->Width() - 3, E->Height() / 2);
  Release(E, E->Width() - 3, E->Height() / 2);
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_TRUE(E->Focused());
  Session.Advance(1000);
  Session.Type("x");
  Session.PumpUntilIdle();
  EXPECT_EQ(E->Text(), "x");
}

}  // namespace
