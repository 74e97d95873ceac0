// A headless form with a skin menu engine, a popup menu to fill, an opener control, and a
// log of the menu messages the opener and the form receive and of the menu's events.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/win/Keyboard.h"
#include "skin/controls/SkinMessages.h"
#include "skin/core/data/SkinData.h"
#include "skin/forms/SkinMenus.h"
#include "tests/support/AppPump.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"
#include "tools/skingen/SkinGenSpec.h"

namespace vantrel::menutest {

class MenuFixture : public ::testing::Test {
 protected:
  uitest::FormsSession S;
  TOwned<TForm> Form = CreateOwned<TForm>(nullptr);
  TPopupMenu* PM = nullptr;
  TCustomControl* Opener = nullptr;
  TspSkinMenu* Menu = nullptr;
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);
  std::vector<std::string> Log;

  void SetUp() override {
    Form->SetBounds(100, 80, 400, 300);
    PM = Create<TPopupMenu>(Form.get());
    Opener = Create<TCustomControl>(Form.get());
    Opener->SetParent(Form.get());
    Opener->SetBounds(10, 10, 80, 24);
    LogMessages(Opener, "opener");
    LogMessages(Form.get(), "form");
    Menu = Create<TspSkinMenu>(Form.get(), Form.get());
    Menu->OnMenuClose = nullptr;
    Form->Show();
    S.Session.PumpUntilIdle();
  }

  void LogMessages(TControl* C, const std::string& Who) {
    TWndMethod Old = C->WindowProc;
    C->WindowProc = [this, Old, Who](TMessage& M) {
      if (M.Msg == WM_SKINMENU_CLOSED) Log.push_back(Who + " closed");
      if (M.Msg == WM_SKINMENU_COMMAND) Log.push_back(Who + " command");
      Old(M);
    };
  }

  void UseTestSkin() {
    Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
    ASSERT_FALSE(Skin->Empty);
  }

  // A sub-item of Parent (the menu's root when nullptr).
  TMenuItem* Add(const String& Caption, TMenuItem* Parent = nullptr) {
    auto* I = Create<TMenuItem>(PM);
    I->SetCaption(Caption);
    (Parent ? Parent : PM->Items())->Add(I);
    return I;
  }

  // Opens the menu's items below a rectangle of the opener.
  void Open(TspSkinData* SD = nullptr, TControl* By = nullptr, TRect R = Rect(200, 150, 260, 170)) {
    Menu->Popup(By ? By : Opener, SD, 0, R, PM->Items(), false);
    S.Session.PumpUntilIdle();
  }

  TspSkinPopupWindow* Level(Integer I) { return Menu->Level(I); }
  TspSkinMenuItem& ItemOf(Integer LevelIndex, Integer I) {
    return *Menu->Level(LevelIndex)->ItemList[static_cast<size_t>(I)];
  }
  // The centre of an item in its window's client coordinates.
  static TPoint Centre(const TspSkinMenuItem& It) {
    return Point((It.ObjectRect.Left + It.ObjectRect.Right) / 2, (It.ObjectRect.Top + It.ObjectRect.Bottom) / 2);
  }
  // Moves the pointer (as the user would) onto a point of a level and lets the mouse timer see it.
  void PointAt(TspSkinPopupWindow* W, TPoint P) {
    const TPoint SP = W->ClientToScreen(P);
    S.Session.Move(SP.X, SP.Y);
    S.Session.PumpUntilIdle();
    S.Session.Advance(50);
  }
  // Colour (0x00BBGGRR) of a screen pixel.
  TColor ScreenColour(TPoint P) {
    const win::Surface Shot = S.Session.CaptureScreen();
    const uint32_t V = Shot.Row(P.Y)[P.X];
    return static_cast<TColor>(((V >> 16) & 0xFF) | (V & 0xFF00) | ((V & 0xFF) << 16));
  }
  void SaveLevel(TspSkinPopupWindow* W, const std::string& Name) {
    display::SavePng(S.Session.Capture(W->Handle()), ::testing::TempDir() + Name);
  }
};

}  // namespace vantrel::menutest
