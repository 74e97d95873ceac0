// The tray icon against a recording tray: adding, changing and removing the icon with
// its tip, click and double-click detection on the virtual clock, the menu at the
// cursor, a new tray, starting minimized, icon cycling, balloons and the icon index.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/Resources.h"
#include "platform/win/Shell.h"
#include "platform/win/Timers.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinMenus.h"
#include "skin/forms/TrayIcon.h"
#include "tests/skin/forms/FormFrame_TestKit.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::frametest::FlatBitmap;
using vantrel::win::RecordingTrayArea;
using vantrel::win::TrayIcon;

namespace {

// A string of N two-byte characters.
std::string AccentedText(size_t N) {
  std::string S;
  for (size_t I = 0; I < N; ++I) S += "\xC3\xA9";  // e acute
  return S;
}

size_t CodePoints(const std::string& S) {
  size_t N = 0;
  for (unsigned char C : S)
    if ((C & 0xC0) != 0x80) ++N;
  return N;
}

// The colour (0x00BBGGRR) in the middle of a 16 x 16 icon.
TColor IconColour(HICON Icon) {
  auto B = FlatBitmap(16, 16, clWhite);
  DrawIconEx(B->Canvas()->Handle(), 0, 0, Icon, 16, 16, 0, nullptr, DI_NORMAL);
  return B->Canvas()->Pixels(8, 8);
}

class TrayIconTest : public ::testing::Test {
 protected:
  vantrel::uitest::FormsSession S;
  RecordingTrayArea* Tray = nullptr;
  TForm* Main = nullptr;
  TspTrayIcon* Icon = nullptr;
  std::vector<std::string> Log;

  void SetUp() override {
    auto T = std::make_unique<RecordingTrayArea>();
    Tray = T.get();
    S.Session.Manager().Shell().SetTray(std::move(T));
    Application->CreateForm(Main);
    Main->SetBounds(100, 100, 300, 200);
    Icon = Create<TspTrayIcon>(Main);
    Icon->OnClick = [this](TObject*) { Log.push_back("click"); };
    Icon->OnDblClick = [this](TObject*) { Log.push_back("dblclick"); };
  }

  const TrayIcon* Shown() const { return Tray->Table.Find(Icon->Handle(), 1); }

  void Notify(UINT MouseMessage) {
    ASSERT_TRUE(Tray->Click(Icon->Handle(), 1, MouseMessage));
    S.Session.PumpUntilIdle();
  }
};

TEST_F(TrayIconTest, TheIconIsAddedWithItsTipChangedAndRemoved) {
  EXPECT_EQ(Shown(), nullptr);  // nothing goes to the tray before the icon is loaded
  Icon->SetHint(AccentedText(200));
  Icon->Loaded();
  const TrayIcon* T = Shown();
  ASSERT_NE(T, nullptr);
  EXPECT_EQ(T->CallbackMessage, 2048u);
  EXPECT_NE(T->Icon, nullptr);
  EXPECT_EQ(T->Icon, Icon->Icon()->Handle());
  EXPECT_EQ(T->Tip, AccentedText(127));
  EXPECT_EQ(CodePoints(T->Tip), 127u);

  Icon->SetHint("Converting");
  EXPECT_EQ(Shown()->Tip, "Converting");
  Icon->SetShowHint(false);
  EXPECT_EQ(Shown()->Tip, "");
  Icon->SetIconVisible(false);
  EXPECT_EQ(Shown(), nullptr);
  EXPECT_FALSE(Icon->IconVisible());
  Icon->SetIconVisible(true);
  EXPECT_NE(Shown(), nullptr);
  Icon->Free();
  EXPECT_TRUE(Tray->Table.Icons().empty());
}

TEST_F(TrayIconTest, ASingleClickComesOneDoubleClickTimeLaterADoubleClickOnlyAsItself) {
  auto* Menu = Create<TspSkinPopupMenu>(Main);
  auto* Plain = Create<TMenuItem>(Menu);
  auto* Default = Create<TMenuItem>(Menu);
  Default->SetDefault(true);
  Plain->OnClick = [this](TObject*) { Log.push_back("plain item"); };
  Default->OnClick = [this](TObject*) { Log.push_back("default item"); };
  Menu->Items()->Add(Plain);
  Menu->Items()->Add(Default);
  Icon->SetPopupMenu(Menu);
  Icon->Loaded();

  Notify(WM_LBUTTONDOWN);
  Notify(WM_LBUTTONUP);
  EXPECT_TRUE(Log.empty());
  S.Session.Advance(GetDoubleClickTime() - 1);
  EXPECT_TRUE(Log.empty());
  S.Session.Advance(1);
  EXPECT_EQ(Log, (std::vector<std::string>{"click"}));

  Log.clear();
  for (UINT M : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) Notify(M);
  S.Session.Advance(2 * GetDoubleClickTime());
  EXPECT_EQ(Log, (std::vector<std::string>{"dblclick", "default item"}));

  // A release after the double-click time clicks at once.
  Log.clear();
  Notify(WM_LBUTTONDOWN);
  S.Session.Advance(GetDoubleClickTime());
  EXPECT_TRUE(Log.empty());
  Notify(WM_LBUTTONUP);
  EXPECT_EQ(Log, (std::vector<std::string>{"click"}));

  // A disabled icon ignores the tray.
  Log.clear();
  Icon->SetEnabled(false);
  for (UINT M : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}) Notify(M);
  S.Session.Advance(GetDoubleClickTime());
  EXPECT_TRUE(Log.empty());
}

TEST_F(TrayIconTest, MouseEventsCarryTheButtonTheShiftStateAndTheCursor) {
  Icon->Loaded();
  std::vector<std::string> Events;
  Icon->OnMouseDown = [&](TObject* Sender, TMouseButton B, TShiftState Shift, Integer X, Integer Y) {
    EXPECT_EQ(Sender, Icon);
    EXPECT_EQ(Point(X, Y), Point(250, 180));
    Events.push_back("down " + std::to_string(B) + (Shift.Contains(ssLeft) ? " L" : "") +
                     (Shift.Contains(ssRight) ? " R" : "") + (Shift.Contains(ssMiddle) ? " M" : ""));
  };
  Icon->OnMouseUp = [&](TObject*, TMouseButton B, TShiftState, Integer, Integer) {
    Events.push_back("up " + std::to_string(B));
  };
  Icon->OnMouseMove = [&](TObject*, TShiftState, Integer X, Integer Y) {
    Events.push_back("move " + std::to_string(X) + "," + std::to_string(Y));
  };
  Icon->OnBalloonHintClick = [&](TObject*) { Events.push_back("balloon"); };
  S.Session.Move(250, 180);
  S.Session.PumpUntilIdle();
  for (UINT M : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN,
                 WM_MBUTTONUP, NIN_BALLOONUSERCLICK})
    Notify(M);
  const std::vector<std::string> Expected = {"move 250,180", "down 0 L", "up 0",   "down 1 R",
                                             "up 1",         "down 2 M", "up 2",   "balloon"};
  EXPECT_EQ(Events, Expected);
}

// The menu opens through the owner form's frame component at the cursor.
class TrayIconMenuTest : public TrayIconTest {
 protected:
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);
  TspFormSkin* FS = nullptr;
  TspSkinPopupMenu* Menu = nullptr;

  void SetUp() override {
    TrayIconTest::SetUp();
    Skin->LoadFromFile(vantrel::test::TestSkinDir(vantrel::skingen::TestSkinFolder) + "/" +
                       vantrel::skingen::SkinIniName);
    FS = Create<TspFormSkin>(Main);
    FS->SetSkinData(Skin.get());
    Menu = Create<TspSkinPopupMenu>(Main);
    auto* Item = Create<TMenuItem>(Menu);
    Item->SetCaption("Open");
    Menu->Items()->Add(Item);
    Icon->SetPopupMenu(Menu);
    Main->Show();
    Icon->Loaded();
    S.Session.Move(220, 150);
    S.Session.PumpUntilIdle();
  }
};

TEST_F(TrayIconMenuTest, TheRightButtonOpensTheMenuAtTheCursorTheLeftOneOnlyWhenAsked) {
  const struct {
    UINT Message;
    bool ByLeft;
    bool Opens;
  } Cases[] = {{WM_RBUTTONDOWN, false, true},
               {WM_LBUTTONDOWN, false, false},
               {WM_LBUTTONDOWN, true, true},
               {WM_RBUTTONDOWN, true, true}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Message) + (C.ByLeft ? " by left" : ""));
    Icon->SetPopupByLeftButton(C.ByLeft);
    Notify(C.Message);
    ASSERT_EQ(FS->SkinMenuVisible(), C.Opens);
    if (C.Opens) {
      EXPECT_EQ(Menu->PopupComponent(), Icon);
      EXPECT_EQ(FS->SkinMenu->Level(0)->Left(), 220);
      EXPECT_EQ(FS->SkinMenu->Level(0)->Top(), 150);
      FS->HideSkinMenu();
    }
    S.Session.Advance(GetDoubleClickTime());
  }
  // Without AutoPopup the menu stays shut.
  Menu->SetAutoPopup(false);
  Notify(WM_RBUTTONDOWN);
  EXPECT_FALSE(FS->SkinMenuVisible());
}

TEST_F(TrayIconMenuTest, AnIconFreedWhileThePendingMessagesRunOpensNoMenu) {
  // A message waiting in the queue frees the icon when the menu handles the queue first.
  const UINT Marker = WM_APP + 7;
  Application->OnMessage = [this, Marker](MSG& Msg, Boolean&) {
    if (Msg.message == Marker && Icon) {
      Icon->Free();
      Icon = nullptr;
    }
  };
  const HWND Hidden = Icon->Handle();
  PostMessage(Main->Handle(), Marker, 0, 0);
  SendMessage(Hidden, WM_SPTRAYICON, 1, WM_RBUTTONDOWN);
  EXPECT_EQ(Icon, nullptr);
  EXPECT_FALSE(FS->SkinMenuVisible());
  Application->OnMessage = nullptr;
}

TEST_F(TrayIconTest, ANewTrayGetsAVisibleIconAgainAndNotAHiddenOne) {
  Icon->Loaded();
  Tray->AnnounceNewTray();
  S.Session.PumpUntilIdle();
  EXPECT_NE(Shown(), nullptr);
  Icon->SetIconVisible(false);
  Tray->AnnounceNewTray();
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Shown(), nullptr);
}

TEST_F(TrayIconTest, MinimizedOnStartKeepsTheMainFormHiddenAndShowsTheIcon) {
  Icon->SetIconVisible(false);
  Icon->SetMinimizedOnStart(true);
  Icon->Loaded();
  EXPECT_FALSE(Application->ShowMainForm());
  EXPECT_FALSE(Main->Visible());
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
  EXPECT_TRUE(Icon->IconVisible());
  EXPECT_TRUE(Icon->MinimizeToTray());
  EXPECT_NE(Shown(), nullptr);
}

TEST_F(TrayIconTest, MinimizingTheApplicationWhileMinimizeToTrayIsSetHidesTheMainForm) {
  Main->Show();
  Icon->SetIconVisible(false);
  Icon->SetMinimizeToTray(true);
  Application->Minimize();
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(Main->Visible());
  EXPECT_NE(Shown(), nullptr);
  Icon->ShowMainForm();
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Main->Visible());
  EXPECT_EQ(Main->Tag(), -10000);
}

TEST_F(TrayIconTest, CyclingThreeIconsShowsThemInTurnAndReportsTheNextIndex) {
  const TColor Colours[] = {clRed, clLime, clBlue};
  auto* List = Create<TImageList>(Main);
  for (TColor C : Colours) List->Add(FlatBitmap(16, 16, C).get(), nullptr);
  std::vector<Integer> Reported;
  Icon->OnCycle = [&](TObject*, Integer Next) { Reported.push_back(Next); };
  Icon->Loaded();
  Icon->SetIconList(List);
  Icon->SetAnimateTimerInterval(100);
  Icon->SetCycleIcons(true);
  std::vector<TColor> ShownColours{IconColour(Shown()->Icon)};
  for (int Tick = 0; Tick < 3; ++Tick) {
    S.Session.Advance(100);
    ShownColours.push_back(IconColour(Shown()->Icon));
  }
  EXPECT_EQ(ShownColours, (std::vector<TColor>{clRed, clLime, clBlue, clRed}));
  EXPECT_EQ(Reported, (std::vector<Integer>{1, 2, 0}));
  Icon->SetCycleIcons(false);
  S.Session.Advance(300);
  EXPECT_EQ(Reported.size(), 3u);
}

TEST_F(TrayIconTest, TheIconIndexStaysInsideTheListAndAnEmptyListKeepsTheIcon) {
  Icon->Loaded();
  const HICON Before = Icon->Icon()->Handle();
  auto* List = Create<TImageList>(Main);
  Icon->SetIconList(List);
  Icon->SetIconIndex(2);
  EXPECT_EQ(Icon->IconIndex(), 0);
  EXPECT_EQ(Icon->Icon()->Handle(), Before);
  EXPECT_EQ(Shown()->Icon, Before);

  List->Add(FlatBitmap(16, 16, clRed).get(), nullptr);
  List->Add(FlatBitmap(16, 16, clBlue).get(), nullptr);
  const struct {
    Integer Asked, Kept;
    TColor Colour;
  } Cases[] = {{1, 1, clBlue}, {5, 1, clBlue}, {0, 0, clRed}, {-3, 0, clRed}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Asked);
    Icon->SetIconIndex(C.Asked);
    EXPECT_EQ(Icon->IconIndex(), C.Kept);
    EXPECT_EQ(IconColour(Shown()->Icon), C.Colour);
  }
  List->Free();
  EXPECT_EQ(Icon->IconList(), nullptr);
  Icon->SetIconIndex(1);
  EXPECT_EQ(Icon->IconIndex(), 0);
}

TEST_F(TrayIconTest, BalloonTextsAreCutAndHidingEmptiesTheText) {
  Icon->Loaded();
  Icon->ShowBalloonHint(AccentedText(80), AccentedText(300), spbitWarning);
  const TrayIcon* T = Shown();
  ASSERT_NE(T, nullptr);
  EXPECT_EQ(T->Info, AccentedText(255));
  EXPECT_EQ(T->InfoTitle, AccentedText(63));
  EXPECT_EQ(T->InfoFlags, NIIF_WARNING);
  Icon->HideBalloonHint();
  EXPECT_EQ(Shown()->Info, "");
}

TEST_F(TrayIconTest, ABitmapBecomesAnIconWithItsMaskColourTransparent) {
  auto B = FlatBitmap(16, 16, clFuchsia);
  B->Canvas()->Brush()->SetColor(clGreen);
  B->Canvas()->FillRect(Rect(4, 4, 12, 12));
  auto I = CreateOwned<TIcon>();
  EXPECT_TRUE(Icon->BitmapToIcon(B.get(), I.get(), clFuchsia));
  ASSERT_TRUE(I->HandleAllocated());
  EXPECT_EQ(IconColour(I->Handle()), clGreen);
  auto Back = FlatBitmap(16, 16, clWhite);
  DrawIconEx(Back->Canvas()->Handle(), 0, 0, I->Handle(), 16, 16, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(Back->Canvas()->Pixels(1, 1), clWhite);
}

}  // namespace

namespace {

TEST_F(TrayIconTest, ShowingTheOwnerFormBringsTheApplicationBack) {
  Main->Show();
  S.Session.PumpUntilIdle();
  Application->Minimize();
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(IsIconic(Application->Handle()));
  Main->Hide();
  S.Session.PumpUntilIdle();
  Main->Show();
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(IsIconic(Application->Handle()));
  EXPECT_TRUE(Main->Visible());
  EXPECT_EQ(GetForegroundWindow(), Main->Handle());
  // Once the icon is gone the owner's window has its own procedure again.
  const LONG_PTR Subclassed = GetWindowLongPtr(Main->Handle(), GWL_WNDPROC);
  Icon->Free();
  EXPECT_NE(GetWindowLongPtr(Main->Handle(), GWL_WNDPROC), Subclassed);
  Application->Minimize();
  S.Session.PumpUntilIdle();
  Main->Hide();
  Main->Show();
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(IsIconic(Application->Handle()));
}

}  // namespace

namespace {

TEST_F(TrayIconTest, IconsFreedInAnyOrderKeepTheApplicationWindowWorking) {
  Icon->Loaded();
  auto* Second = Create<TspTrayIcon>(Main);
  Second->SetMinimizeToTray(true);
  Second->SetIconVisible(false);
  Second->Loaded();
  Main->Show();
  S.Session.PumpUntilIdle();
  // The first icon goes while the second one still watches the application window.
  Icon->Free();
  Icon = nullptr;
  Application->Minimize();
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(IsIconic(Application->Handle()));
  EXPECT_FALSE(Main->Visible());
  EXPECT_NE(Tray->Table.Find(Second->Handle(), 1), nullptr);
  Second->ShowMainForm();
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(IsIconic(Application->Handle()));
  Second->Free();
  Application->Minimize();
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(IsIconic(Application->Handle()));
  Application->Restore();
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(IsIconic(Application->Handle()));
  EXPECT_TRUE(Main->Visible());
}

}  // namespace
