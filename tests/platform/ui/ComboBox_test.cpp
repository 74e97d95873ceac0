// The drop-down list combo box: opening with the keyboard without taking the activation,
// choosing with the keys or the mouse, closing unchanged on a click elsewhere, and its
// rows as a TStrings.
#include <gtest/gtest.h>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/ui/ComboBox.h"
#include "platform/win/ComboBox.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::TTestForm;

namespace {

struct ComboForm {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  TComboBox* Combo = nullptr;
  int Changes = 0, Drops = 0, Closes = 0;

  ComboForm() {
    Form->SetBounds(30, 30, 260, 200);
    Combo = Create<TComboBox>(Form.get());
    Combo->SetParent(Form.get());
    Combo->SetBounds(10, 10, 150, 22);
    for (const char* S : {"Audio#0", "Audio#1", "Audio#2"}) Combo->Items()->Add(S);
    Combo->SetItemIndex(0);
    Combo->OnChange = [this](TObject*) { ++Changes; };
    Combo->OnDropDown = [this](TObject*) { ++Drops; };
    Combo->OnCloseUp = [this](TObject*) { ++Closes; };
    ShowWindow(Form->Handle(), SW_SHOW);
    Session.PumpUntilIdle();
    Combo->SetFocus();
    Session.PumpUntilIdle();
  }
};

}  // namespace

TEST(ComboBox, AltDownOpensWithoutTakingTheActivationAndEnterChooses) {
  ComboForm F;
  ASSERT_EQ(GetActiveWindow(), F.Form->Handle());
  F.Session.Key(VK_DOWN, MOD_ALT);
  F.Session.PumpUntilIdle();
  EXPECT_TRUE(F.Combo->DroppedDown());
  EXPECT_EQ(F.Drops, 1);
  EXPECT_EQ(GetActiveWindow(), F.Form->Handle());
  EXPECT_EQ(GetFocus(), F.Combo->Handle());
  const auto Screen = F.Session.CaptureScreen();
  vantrel::display::SavePng(Screen, testing::TempDir() + "combobox_dropped.png");
  F.Session.Key(VK_DOWN);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Changes, 0);  // only highlighted
  F.Session.Key(VK_RETURN);
  F.Session.PumpUntilIdle();
  EXPECT_FALSE(F.Combo->DroppedDown());
  EXPECT_EQ(F.Combo->ItemIndex(), 1);
  EXPECT_EQ(F.Changes, 1);
  EXPECT_EQ(F.Closes, 1);
  EXPECT_EQ(F.Combo->Text(), "Audio#1");
}

TEST(ComboBox, AClickOutsideClosesItUnchangedAndAClickOnARowChooses) {
  ComboForm F;
  const TPoint Box = F.Combo->ClientToScreen(Point(140, 10));
  F.Session.Press(Box.X, Box.Y);
  F.Session.Release(Box.X, Box.Y);
  F.Session.PumpUntilIdle();
  ASSERT_TRUE(F.Combo->DroppedDown());
  F.Session.Press(250, 200);
  F.Session.Release(250, 200);
  F.Session.PumpUntilIdle();
  EXPECT_FALSE(F.Combo->DroppedDown());
  EXPECT_EQ(F.Combo->ItemIndex(), 0);
  EXPECT_EQ(F.Changes, 0);
  // Open again and click the third row of the dropped list.
  F.Session.Advance(1000);
  F.Session.Press(Box.X, Box.Y);
  F.Session.Release(Box.X, Box.Y);
  F.Session.PumpUntilIdle();
  RECT Drop{};
  SendMessage(F.Combo->Handle(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&Drop));
  const int ItemH = static_cast<int>(SendMessage(F.Combo->Handle(), CB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(Drop.Top, Box.Y - 10 + 22);
  EXPECT_GE(Drop.Bottom - Drop.Top, 3 * ItemH);
  const int Y = Drop.Top + 1 + 2 * ItemH + ItemH / 2;
  F.Session.Move(Drop.Left + 20, Y);
  F.Session.Press(Drop.Left + 20, Y);
  F.Session.Release(Drop.Left + 20, Y);
  F.Session.PumpUntilIdle();
  EXPECT_FALSE(F.Combo->DroppedDown());
  EXPECT_EQ(F.Combo->ItemIndex(), 2);
  EXPECT_EQ(F.Changes, 1);
}

TEST(ComboBox, ItemsAreStringsWithAndWithoutAWindow) {
  ComboForm F;
  F.Combo->Items()->Insert(0, "Subtitle#-1");
  EXPECT_EQ(F.Combo->Items()->IndexOf("subtitle#-1"), 0);
  EXPECT_EQ(F.Combo->Items()->IndexOf("Audio#2"), 3);
  EXPECT_EQ(F.Combo->ItemIndex(), 1);  // the selected row moved down with the insertion
  F.Combo->RecreateWnd();
  EXPECT_EQ(F.Combo->Items()->Count(), 4);
  EXPECT_EQ(F.Combo->ItemIndex(), 1);
  EXPECT_THROW(F.Combo->Items()->Get(4), EStringListError);
  EXPECT_THROW(F.Combo->SetStyle(csDropDown), EInvalidOperation);
  // The native window refuses the other styles.
  EXPECT_EQ(CreateWindowEx(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWN, 0, 0, 50, 20, F.Form->Handle(), nullptr,
                           nullptr, nullptr),
            nullptr);
}
