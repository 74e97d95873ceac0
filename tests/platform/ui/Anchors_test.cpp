// Anchors: a control keeps its distances to the anchored edges of its parent's client
// area when the parent resizes; without either anchor of a direction it keeps its centre
// at the same proportion.
#include <gtest/gtest.h>

#include <string>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Controls.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::TTestForm;
using vantrel::uitest::TTestPanel;
using vantrel::uitest::TTestShape;

TEST(Anchors, ControlsKeepTheirDistancesWhenTheParentResizes) {
  HeadlessSession Session;
  struct Case {
    const char* Name;
    TAnchors Anchors;
    TRect Grown;  // parent 300x200 -> 400x260
  };
  const Case Cases[] = {
      {"left top", {akLeft, akTop}, Bounds(10, 10, 50, 20)},
      {"right bottom", {akRight, akBottom}, Bounds(110, 70, 50, 20)},
      {"left right", {akLeft, akRight}, Bounds(10, 16, 150, 20)},
      {"all four", {akLeft, akTop, akRight, akBottom}, Bounds(10, 10, 150, 80)},
      {"top right", {akTop, akRight}, Bounds(110, 10, 50, 20)},
      {"none: centre in proportion", {}, Bounds(22, 16, 50, 20)},
  };
  for (const bool WithWindow : {false, true}) {
    for (const Case& K : Cases) {
      SCOPED_TRACE(std::string(K.Name) + (WithWindow ? ", windowed parent" : ", parent without window"));
      auto Form = CreateOwned<TTestForm>(nullptr);
      Form->SetBounds(0, 0, 300, 200);
      if (WithWindow) Form->HandleNeeded();
      // Windowed and windowless children behave alike.
      TControl* Controls[] = {Create<TTestPanel>(Form.get()), Create<TTestShape>(Form.get())};
      for (TControl* C : Controls) {
        C->SetBounds(10, 10, 50, 20);
        C->SetParent(Form.get());
        C->SetAnchors(K.Anchors);
      }
      Form->SetBounds(0, 0, 400, 260);
      for (TControl* C : Controls) EXPECT_EQ(C->BoundsRect(), K.Grown);
      Form->SetBounds(0, 0, 300, 200);
      for (TControl* C : Controls) EXPECT_EQ(C->BoundsRect(), Bounds(10, 10, 50, 20));
    }
  }
}

// Moving an anchored control by hand makes its new place the one it keeps.
TEST(Anchors, MovingAControlRecordsNewDistances) {
  HeadlessSession Session;
  auto Form = CreateOwned<TTestForm>(nullptr);
  Form->SetBounds(0, 0, 300, 200);
  auto* Button = Create<TTestPanel>(Form.get());
  Button->SetParent(Form.get());
  Button->SetAnchors({akRight, akBottom});
  Button->SetBounds(200, 150, 80, 30);  // 20 from the right, 20 from the bottom
  Form->SetBounds(0, 0, 500, 300);
  EXPECT_EQ(Button->BoundsRect(), Bounds(400, 250, 80, 30));
  // Anchors set before the control has a parent take the parent's size when it gets one.
  auto* Late = Create<TTestShape>(Form.get());
  Late->SetBounds(10, 260, 30, 30);
  Late->SetAnchors({akLeft, akBottom});
  Late->SetParent(Form.get());
  Form->SetBounds(0, 0, 500, 350);
  EXPECT_EQ(Late->BoundsRect(), Bounds(10, 310, 30, 30));
}
