// The images menu: the grid's rows, the column count, headers, closing by keys, clicks and
// system keys with and without the entry events, placement near the screen's bottom, and
// a picker with images but no entries.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/ui/ImgList.h"
#include "platform/win/Input.h"
#include "platform/win/WindowManager.h"
#include "skin/forms/SkinHint.h"
#include "skin/forms/SkinMenus.h"
#include "tests/support/AppPump.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"
#include "tools/skingen/SkinGenSpec.h"

namespace {

class ImagesMenuTest : public ::testing::Test {
 protected:
  vantrel::uitest::FormsSession S;
  TOwned<TForm> Form = CreateOwned<TForm>(nullptr);
  TOwned<TImageList> Images = CreateOwned<TImageList>(nullptr);
  TspSkinImagesMenu* Picker = nullptr;
  std::vector<std::string> Events;

  void SetUp() override {
    Form->SetBounds(100, 80, 400, 300);
    for (TColor C : {0x3366CC, 0x33CC66}) {
      auto B = CreateOwned<TBitmap>();
      B->SetPixelFormat(pf24bit);
      B->SetSize(16, 16);
      B->Canvas()->Brush()->SetColor(C);
      B->Canvas()->FillRect(Rect(0, 0, 16, 16));
      Images->Add(B.get(), nullptr);
    }
    Picker = Create<TspSkinImagesMenu>(Form.get());
    Picker->SetImages(Images.get());
    Picker->OnMenuPopup = [this](TObject*) { Events.push_back("popup"); };
    Picker->OnMenuClose = [this](TObject*) { Events.push_back("close"); };
    Picker->OnItemClick = [this](TObject*) { Events.push_back("item click"); };
    Picker->OnChange = [this](TObject*) { Events.push_back("change"); };
    Form->Show();
    S.Session.PumpUntilIdle();
  }
  void TearDown() override { Application->OnMessage = nullptr; }

  TspImagesMenuItem* Add(Integer Image, Boolean Header = false) {
    TspImagesMenuItem* It = Picker->ImagesItems()->Add();
    It->SetImageIndex(Image);
    It->SetHeader(Header);
    It->SetCaption(Header ? "Header" : "");
    It->OnClick = [this](TObject*) { Events.push_back("entry click"); };
    return It;
  }
  void Key(WORD Vk) {
    S.Session.Key(Vk);
    vantrel::testsupport::PumpApplication(S.Session);
  }
  std::vector<Integer> RowLengths() {
    std::vector<Integer> Rows;
    Integer Top = -1;
    for (Integer I = 0; I < Picker->ImagesItems()->Count(); ++I) {
      const TRect& R = Picker->ImagesItems()->Items(I)->ItemRect;
      if (R.Top != Top) {
        Rows.push_back(0);
        Top = R.Top;
      }
      ++Rows.back();
    }
    return Rows;
  }
};

TEST_F(ImagesMenuTest, FourColumnsOfTenImagesGiveRowsOfFourFourAndTwo) {
  Picker->SetColumnsCount(0);
  EXPECT_EQ(Picker->ColumnsCount(), 1);
  Picker->SetColumnsCount(51);
  EXPECT_EQ(Picker->ColumnsCount(), 1);
  Picker->SetColumnsCount(4);
  EXPECT_EQ(Picker->ColumnsCount(), 4);
  for (Integer I = 0; I < 10; ++I) Add(I % 2);
  Picker->Popup(200, 150);
  S.Session.PumpUntilIdle();
  ASSERT_NE(Picker->PopupWindow(), nullptr);
  EXPECT_EQ(RowLengths(), (std::vector<Integer>{4, 4, 2}));
  // Cells of 16 + 10 pixels touch; rows are one pixel apart.
  const TRect& A = Picker->ImagesItems()->Items(0)->ItemRect;
  const TRect& B = Picker->ImagesItems()->Items(1)->ItemRect;
  const TRect& C = Picker->ImagesItems()->Items(4)->ItemRect;
  EXPECT_EQ(RectWidth(A), 26);
  EXPECT_EQ(B.Left, A.Right);
  EXPECT_EQ(C.Top, A.Bottom + 1);
  EXPECT_EQ(Picker->PopupWindow()->Width(), 4 * 26 + 10);
  vantrel::display::SavePng(S.Session.Capture(Picker->PopupWindow()->Handle()), ::testing::TempDir() + "picker.png");
  Key(VK_ESCAPE);
}

TEST_F(ImagesMenuTest, AHeaderEndsTheRowUnderWay) {
  Picker->SetColumnsCount(3);
  Add(0);
  Add(1);
  Add(-1, true);
  Add(0);
  Picker->Popup(200, 150);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(RowLengths(), (std::vector<Integer>{2, 1, 1}));
  EXPECT_EQ(RectWidth(Picker->ImagesItems()->Items(2)->ItemRect), 3 * 26);
  Key(VK_ESCAPE);
}

TEST_F(ImagesMenuTest, EnterOverNothingClosesWithTheSelectedEntrysEventsAndNoChange) {
  Add(0);
  Add(1);
  Picker->ItemIndex = 1;
  Picker->Popup(200, 150);
  S.Session.PumpUntilIdle();
  Key(VK_RETURN);
  EXPECT_EQ(Picker->PopupWindow(), nullptr);
  EXPECT_EQ(Events, (std::vector<std::string>{"popup", "close", "entry click", "item click"}));
  // Keys pick another entry: the change is told.
  Events.clear();
  Picker->Popup(200, 150);
  S.Session.PumpUntilIdle();
  Key(VK_RIGHT);  // the first entry
  Key(VK_RETURN);
  EXPECT_EQ(Picker->ItemIndex, 0);
  EXPECT_EQ(Events, (std::vector<std::string>{"popup", "close", "entry click", "item click", "change"}));
}

TEST_F(ImagesMenuTest, EscAClickOutsideOrASystemKeyCloseWithoutEntryEvents) {
  Add(0);
  Picker->ItemIndex = 0;
  struct Case {
    const char* Name;
    std::function<void()> Close;
  };
  const Case Cases[] = {
      {"Esc", [&] { Key(VK_ESCAPE); }},
      {"click outside",
       [&] {
         S.Session.Move(600, 600);
         S.Session.Press(600, 600);
         S.Session.Release(600, 600);
         vantrel::testsupport::PumpApplication(S.Session);
       }},
      {"system key",
       [&] {
         S.Session.Key('F', MOD_ALT);
         vantrel::testsupport::PumpApplication(S.Session);
       }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Events.clear();
    Picker->Popup(200, 150);
    S.Session.PumpUntilIdle();
    ASSERT_NE(Picker->PopupWindow(), nullptr);
    C.Close();
    EXPECT_EQ(Picker->PopupWindow(), nullptr);
    EXPECT_EQ(Events, (std::vector<std::string>{"popup", "close"}));
    EXPECT_FALSE(Application->OnMessage);
  }
}

// Freeing the images menu while its picker is open takes the picker window with it and
// tells no one of a close.
TEST_F(ImagesMenuTest, FreeingTheMenuWhileOpenFreesThePickerWithoutEvents) {
  Add(0);
  Add(1);
  Picker->ItemIndex = 0;
  Picker->OnInternalMenuClose = [this](TObject*) { Events.push_back("internal close"); };
  Picker->Popup(200, 150);
  S.Session.PumpUntilIdle();
  ASSERT_NE(Picker->PopupWindow(), nullptr);
  const HWND Window = Picker->PopupWindow()->Handle();
  ASSERT_TRUE(IsWindow(Window));
  Events.clear();
  Picker->Free();
  Picker = nullptr;
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Events.empty());
  EXPECT_FALSE(IsWindow(Window));
  EXPECT_FALSE(Application->OnMessage);
}

TEST_F(ImagesMenuTest, NearTheScreensBottomThePickerOpensAboveItsRectangle) {
  for (Integer I = 0; I < 4; ++I) Add(0);
  const TRect R = Rect(300, 780, 340, 795);
  Picker->PopupFromRect(R);
  S.Session.PumpUntilIdle();
  ASSERT_NE(Picker->PopupWindow(), nullptr);
  EXPECT_EQ(Picker->PopupWindow()->Top() + Picker->PopupWindow()->Height(), R.Top);
  EXPECT_EQ(Picker->PopupWindow()->Left(), R.Left);
  Key(VK_ESCAPE);
}

TEST_F(ImagesMenuTest, TheSelectedEntryShowsThePressedFrameSkinnedAndPlain) {
  for (Integer I = 0; I < 3; ++I) Add(0);
  Add(-1, true);
  Picker->SetColumnsCount(3);
  Picker->ItemIndex = 1;
  auto Skin = CreateOwned<TspSkinData>(nullptr);
  Skin->LoadFromFile(vantrel::test::TestSkinDir(vantrel::skingen::TestSkinFolder) + "/" +
                     vantrel::skingen::SkinIniName);
  ASSERT_FALSE(Skin->Empty);
  for (TspSkinData* SD : {static_cast<TspSkinData*>(nullptr), Skin.get()}) {
    SCOPED_TRACE(SD ? "skinned" : "plain");
    Picker->SetSkinData(SD);
    Picker->Popup(200, 150);
    S.Session.PumpUntilIdle();
    ASSERT_NE(Picker->PopupWindow(), nullptr);
    const vantrel::win::Surface Shot = S.Session.Capture(Picker->PopupWindow()->Handle());
    vantrel::display::SavePng(Shot, ::testing::TempDir() + (SD ? "picker-skinned.png" : "picker-plain.png"));
    // A pixel of the frame beside the image of the selected cell, and the same of another.
    const TRect& Sel = Picker->ImagesItems()->Items(1)->ItemRect;
    const TRect& Other = Picker->ImagesItems()->Items(0)->ItemRect;
    auto At = [&](const TRect& R) {
      const uint32_t P = Shot.Row(R.Top + 2)[R.Left + 2];
      return static_cast<TColor>(((P >> 16) & 0xFF) | (P & 0xFF00) | ((P & 0xFF) << 16));
    };
    if (!SD) {
      EXPECT_EQ(At(Sel), static_cast<TColor>(0xB59285));  // red 133, green 146, blue 181
    } else {
      TspDataSkinButtonControl* B = nullptr;
      B = dynamic_cast<TspDataSkinButtonControl*>(Skin->CtrlList[Skin->GetControlIndex("menuitembutton")]);
      ASSERT_NE(B, nullptr);
      const TRect& Down = IsNullRect(B->DownSkinRect) ? B->ActiveSkinRect : B->DownSkinRect;
      EXPECT_EQ(At(Sel), Skin->FActivePictures[B->PictureIndex]->Canvas()->Pixels(Down.Left + 2, Down.Top + 2));
    }
    EXPECT_NE(At(Sel), At(Other));
    Key(VK_ESCAPE);
  }
}

TEST_F(ImagesMenuTest, ImagesWithoutEntriesShowNoWindowButStillTellPopupAndClose) {
  Picker->Popup(200, 150);
  EXPECT_EQ(Picker->PopupWindow(), nullptr);
  EXPECT_EQ(Events, (std::vector<std::string>{"popup", "close"}));
}

}  // namespace

namespace {

class ImagesMenuHintTest : public ImagesMenuTest {
 protected:
  TForm* Main = nullptr;
  TspSkinHint* Hint = nullptr;

  void SetUp() override {
    ImagesMenuTest::SetUp();
    Application->CreateForm(Main);
    Hint = Create<TspSkinHint>(Main);
    Picker->SetColumnsCount(3);
    Add(0)->SetHint("Blue");
    Add(1);
    Add(0)->SetHint("Blue again");
    Picker->SetSkinHint(Hint);
  }
  String Shown() { return Hint->IsVisible() ? Hint->HW->Caption() : String("(none)"); }
  // A point of the open picker's client area on the screen.
  TPoint OnPicker(Integer X, Integer Y) { return Picker->PopupWindow()->ClientToScreen(Point(X, Y)); }
  TPoint OnEntry(Integer I) {
    const TRect& R = Picker->ImagesItems()->Items(I)->ItemRect;
    return OnPicker((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  }
  void Rest(TPoint P) {
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Advance(static_cast<uint64_t>(Application->HintPause()) + 20);
    S.Session.PumpUntilIdle();
  }
};

TEST_F(ImagesMenuHintTest, AnEntrysHintShowsWhileThePointerRestsOnItAndGoesElsewhere) {
  Picker->Popup(200, 150);
  S.Session.PumpUntilIdle();
  ASSERT_NE(Picker->PopupWindow(), nullptr);
  struct Step {
    const char* What;
    TPoint Where;
    const char* Expected;
  };
  const Step Steps[] = {
      {"first entry", OnEntry(0), "Blue"},
      {"entry without a hint", OnEntry(1), "(none)"},
      {"third entry", OnEntry(2), "Blue again"},
      {"empty spot of the window", OnPicker(1, 1), "(none)"},
      {"first entry again", OnEntry(0), "Blue"},
  };
  for (const Step& St : Steps) {
    SCOPED_TRACE(St.What);
    Rest(St.Where);
    EXPECT_EQ(Shown(), St.Expected);
  }
  // A press hides it; the release picks the entry and closes the picker.
  const TPoint P = OnEntry(0);
  S.Session.Press(P.X, P.Y);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Shown(), "(none)");
  S.Session.Release(P.X, P.Y);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Picker->PopupWindow(), nullptr);
  EXPECT_EQ(Picker->ItemIndex, 0);
}

TEST_F(ImagesMenuHintTest, NoHintsWhenSwitchedOffOrTheHintComponentIsGone) {
  Picker->ShowHints = false;
  Picker->Popup(200, 150);
  S.Session.PumpUntilIdle();
  Rest(OnEntry(0));
  EXPECT_EQ(Shown(), "(none)");
  Picker->ShowHints = true;
  Rest(OnEntry(2));
  EXPECT_EQ(Shown(), "Blue again");
  // Closing the picker takes its hint away.
  Key(VK_ESCAPE);
  EXPECT_EQ(Picker->PopupWindow(), nullptr);
  EXPECT_EQ(Shown(), "(none)");
  // A freed hint component is forgotten.
  Hint->Free();
  Hint = nullptr;
  EXPECT_EQ(Picker->SkinHint(), nullptr);
  Picker->Popup(200, 150);
  S.Session.PumpUntilIdle();
  Rest(OnEntry(0));
  Key(VK_ESCAPE);
}

}  // namespace
