// A skinned popup menu that has no skinned frame to open through opens nothing; a menu
// button that pressed it comes up again at once instead of waiting for a close that
// never comes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/controls/SkinCtrls.h"
#include "skin/forms/SkinMenus.h"
#include "tests/support/SkinFormFixture.h"

using vantrel::uitest::SkinFormFixture;

namespace {

class PopupWithoutFrameTest : public SkinFormFixture {
 protected:
  TspSkinPopupMenu* Menu = nullptr;
  std::vector<std::string> Log;

  void SetUp() override {
    SkinFormFixture::SetUp();
    Menu = Create<TspSkinPopupMenu>(Form.get());
    Menu->SetSkinData(Skin);
    auto* Item = Create<TMenuItem>(Menu);
    Item->SetCaption("Open");
    Menu->Items()->Add(Item);
  }
};

TEST_F(PopupWithoutFrameTest, AMenuButtonWhoseMenuFindsNoFrameComesUpAgain) {
  struct Case {
    const char* Kind;
    std::function<TControl*()> Make;
  };
  const std::vector<Case> Cases = {
      {"menu button",
       [this]() -> TControl* {
         auto* B = Create<TspSkinMenuButton>(Form.get());
         B->SetParent(Form.get());
         B->SetBounds(20, 20, 90, 25);
         B->SetSkinData(Skin);
         B->SetSkinPopupMenu(Menu);
         B->OnHideTrackMenu = [this](TObject*) { Log.push_back("hide"); };
         return B;
       }},
      {"menu speed button",
       [this]() -> TControl* {
         auto* B = Create<TspSkinMenuSpeedButton>(Form.get());
         B->SetParent(Form.get());
         B->SetBounds(20, 80, 60, 50);
         B->SetSkinData(Skin);
         B->SetSkinPopupMenu(Menu);
         B->OnHideTrackMenu = [this](TObject*) { Log.push_back("hide"); };
         return B;
       }},
  };
  ShowForm();
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Kind);
    Log.clear();
    TControl* B = C.Make();
    Session.PumpUntilIdle();
    const TPoint P = B->ClientToScreen(Point(10, 10));
    Session.Move(P.X, P.Y);
    Session.Press(P.X, P.Y);
    Session.PumpUntilIdle();
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
    if (auto* MB = dynamic_cast<TspSkinMenuButton*>(B)) {
      EXPECT_FALSE(MB->Down());
      EXPECT_FALSE(MB->MenuTracked());
    } else if (auto* SB = dynamic_cast<TspSkinMenuSpeedButton*>(B)) {
      EXPECT_FALSE(SB->Down());
    }
    EXPECT_EQ(Log, (std::vector<std::string>{"hide"}));
    B->Free();
  }
}

}  // namespace
