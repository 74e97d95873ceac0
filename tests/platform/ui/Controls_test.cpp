// The control model without windows: ownership and parents, property notifications,
// Perform and the replaceable WindowProc.
#include "platform/ui/Controls.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Counts how often each instance was destroyed and records the CM_* messages it saw.
struct TTracker {
  std::vector<std::string> Events;
};

class TControlProbe : public TGraphicControl {
  VANTREL_CLASS(TControlProbe)
  TControlProbe(TComponent* AOwner, TTracker* T) : TGraphicControl(AOwner), Tracker(T) {}
  ~TControlProbe() override { Tracker->Events.push_back("destroyed " + Name()); }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent->Name() != "") Tracker->Events.push_back(Name() + " heard " + AComponent->Name());
  }
  TTracker* Tracker;

 protected:
  void WndProc(TMessage& Message) override {
    switch (Message.Msg) {
      case CM_TEXTCHANGED: Tracker->Events.push_back("text " + Text()); break;
      case CM_ENABLEDCHANGED: Tracker->Events.push_back(std::string("enabled ") + (Enabled() ? "1" : "0")); break;
      case CM_VISIBLECHANGED: Tracker->Events.push_back("visible " + std::to_string(Message.WParam)); break;
      case CM_FONTCHANGED: Tracker->Events.push_back("font " + Font()->Name()); break;
      case CM_COLORCHANGED: Tracker->Events.push_back("color " + std::to_string(Color())); break;
      default: break;
    }
    TGraphicControl::WndProc(Message);
  }
};

class TBox : public TWinControl {
  VANTREL_CLASS(TBox)
  TBox(TComponent* AOwner, TTracker* T) : TWinControl(AOwner), Tracker(T) {}
  ~TBox() override { Tracker->Events.push_back("destroyed " + Name()); }
  TTracker* Tracker;
};

}  // namespace

TEST(Controls, FreeingTheOwnerFreesItsTreeOnce) {
  TTracker T;
  auto* Form = Create<TBox>(nullptr, &T);
  Form->SetName("Form");
  auto* Panel = Create<TBox>(Form, &T);
  Panel->SetName("Panel");
  Panel->SetParent(Form);
  auto* Shape = Create<TControlProbe>(Form, &T);  // owned by the form, parented by the panel
  Shape->SetName("Shape");
  Shape->SetParent(Panel);
  Form->Free();
  std::vector<std::string> Destroyed;
  for (const auto& E : T.Events)
    if (E.rfind("destroyed", 0) == 0) Destroyed.push_back(E);
  EXPECT_EQ(Destroyed.size(), 3u);
  for (const char* N : {"destroyed Form", "destroyed Panel", "destroyed Shape"})
    EXPECT_EQ(std::count(Destroyed.begin(), Destroyed.end(), N), 1) << N;
}

TEST(Controls, AChildFreedFirstLeavesItsParentAndOwnerAndNotifies) {
  TTracker T;
  auto Form = CreateOwned<TBox>(nullptr, &T);
  Form->SetName("Form");
  auto* Watcher = Create<TControlProbe>(nullptr, &T);  // outside the family: asks to hear
  Watcher->SetName("Watcher");
  auto* Shape = Create<TControlProbe>(Form.get(), &T);
  Shape->SetName("Shape");
  Shape->SetParent(Form.get());
  Shape->FreeNotification(Watcher);
  ASSERT_EQ(Form->ControlCount(), 1);
  ASSERT_EQ(Form->ComponentCount(), 1);
  Shape->Free();
  EXPECT_EQ(Form->ControlCount(), 0);
  EXPECT_EQ(Form->ComponentCount(), 0);
  EXPECT_NE(std::find(T.Events.begin(), T.Events.end(), "Watcher heard Shape"), T.Events.end());
  Watcher->Free();
}

TEST(Controls, ChildListsKeepWindowlessFirstAndZOrder) {
  TTracker T;
  auto Form = CreateOwned<TBox>(nullptr, &T);
  auto* Box = Create<TBox>(Form.get(), &T);
  auto* A = Create<TControlProbe>(Form.get(), &T);
  auto* B = Create<TControlProbe>(Form.get(), &T);
  Box->SetParent(Form.get());
  A->SetParent(Form.get());
  B->SetParent(Form.get());
  ASSERT_EQ(Form->ControlCount(), 3);
  EXPECT_EQ(Form->Controls(0), A);
  EXPECT_EQ(Form->Controls(1), B);
  EXPECT_EQ(Form->Controls(2), Box);
  A->BringToFront();
  EXPECT_EQ(Form->Controls(0), B);
  EXPECT_EQ(Form->Controls(1), A);
  A->SendToBack();
  EXPECT_EQ(Form->Controls(0), A);
  EXPECT_THROW(Form->Controls(3), EListError);
  EXPECT_THROW(Box->SetParent(Box), EInvalidOperation);
  EXPECT_THROW(Form->SetParent(Box), EInvalidOperation);
  A->SetParent(nullptr);
  EXPECT_EQ(A->Parent(), nullptr);
  EXPECT_EQ(Form->ControlCount(), 2);
}

TEST(Controls, PropertyChangesSendTheirNotificationsOnlyWhenTheValueChanges) {
  TTracker T;
  auto P = CreateOwned<TControlProbe>(nullptr, &T);
  P->SetText("abc");
  P->SetText("abc");
  P->SetEnabled(false);
  P->SetEnabled(false);
  P->SetVisible(false);
  P->SetColor(clRed);
  P->SetColor(clRed);
  EXPECT_EQ(T.Events, (std::vector<std::string>{"text abc", "enabled 0", "visible 0",
                                                "color " + std::to_string(clRed)}));
  EXPECT_EQ(P->Caption(), "abc");
  EXPECT_FALSE(P->ParentColor());
}

TEST(Controls, FontAndColorFollowTheParentUntilSetOnTheChild) {
  TTracker T;
  auto Form = CreateOwned<TBox>(nullptr, &T);
  Form->Font()->SetName("Arial");
  Form->SetColor(clYellow);
  auto* Child = Create<TControlProbe>(Form.get(), &T);
  Child->SetParent(Form.get());
  EXPECT_EQ(Child->Font()->Name(), "Arial");
  EXPECT_TRUE(Child->ParentFont());
  EXPECT_EQ(Child->Color(), clYellow);
  EXPECT_TRUE(Child->ParentColor());

  Form->Font()->SetHeight(-20);
  Form->SetColor(clAqua);
  EXPECT_EQ(Child->Font()->Height(), -20);
  EXPECT_EQ(Child->Color(), clAqua);

  Child->Font()->SetName("Courier");  // the child's own font from now on
  EXPECT_FALSE(Child->ParentFont());
  Form->Font()->SetName("Verdana");
  EXPECT_EQ(Child->Font()->Name(), "Courier");
  Child->SetParentFont(true);
  EXPECT_EQ(Child->Font()->Name(), "Verdana");
}

TEST(Controls, ShowHintFollowsTheParent) {
  TTracker T;
  auto Form = CreateOwned<TBox>(nullptr, &T);
  auto* Child = Create<TControlProbe>(Form.get(), &T);
  Child->SetParent(Form.get());
  Form->SetShowHint(true);
  EXPECT_TRUE(Child->ShowHint());
  EXPECT_TRUE(Child->ParentShowHint());
  Child->SetShowHint(false);
  EXPECT_FALSE(Child->ParentShowHint());
}

TEST(Controls, PerformLetsExceptionsThroughAndWindowProcCanBeHookedAndRestored) {
  TTracker T;
  auto P = CreateOwned<TControlProbe>(nullptr, &T);
  std::vector<UINT> Seen;
  const TWndMethod Saved = P->WindowProc;
  P->WindowProc = [&](TMessage& M) {
    Seen.push_back(M.Msg);
    if (M.Msg == WM_USER + 1) throw EInvalidOperation("boom");
    if (M.Msg == WM_USER + 2) {
      M.Result = 42;
      return;
    }
    Saved(M);
  };
  EXPECT_THROW(P->Perform(WM_USER + 1, 0, 0), EInvalidOperation);
  EXPECT_EQ(P->Perform(WM_USER + 2, 0, 0), 42);
  P->SetText("hooked");  // passes through the hook to the control
  EXPECT_EQ(P->Text(), "hooked");
  P->WindowProc = Saved;
  Seen.clear();
  EXPECT_EQ(P->Perform(WM_USER + 2, 0, 0), 0);
  EXPECT_TRUE(Seen.empty());
}

TEST(Controls, ClickNeedsThePressAndReleaseInsideTheControl) {
  TTracker T;
  auto P = CreateOwned<TControlProbe>(nullptr, &T);
  P->SetBounds(0, 0, 20, 10);
  P->ControlStyle.Exclude(csCaptureMouse);  // no window to capture with here
  int Clicks = 0;
  std::vector<std::string> Mouse;
  P->OnClick = [&](TObject*) { ++Clicks; };
  P->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState S, Integer X, Integer Y) {
    Mouse.push_back("down " + std::to_string(B) + " " + std::to_string(X) + "," + std::to_string(Y) +
                    (S.Contains(ssShift) ? " shift" : "") + (S.Contains(ssDouble) ? " double" : ""));
  };
  P->OnMouseUp = [&](TObject*, TMouseButton B, TShiftState, Integer X, Integer Y) {
    Mouse.push_back("up " + std::to_string(B) + " " + std::to_string(X) + "," + std::to_string(Y));
  };
  P->Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, PointToLParam(5, 5));
  EXPECT_TRUE(P->ControlState.Contains(csLButtonDown));
  P->Perform(WM_LBUTTONUP, 0, PointToLParam(6, 6));
  EXPECT_FALSE(P->ControlState.Contains(csLButtonDown));
  P->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(5, 5));
  P->Perform(WM_LBUTTONUP, 0, PointToLParam(50, 5));  // released outside: no click
  P->Perform(WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(-3, 2));
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Mouse, (std::vector<std::string>{"down 0 5,5 shift", "up 0 6,6", "down 0 5,5", "up 0 50,5",
                                             "down 1 -3,2"}));

  // A double click is a double click only for csDoubleClicks.
  int Doubles = 0;
  P->OnDblClick = [&](TObject*) { ++Doubles; };
  Mouse.clear();
  P->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(1, 1));
  P->ControlStyle.Exclude(csDoubleClicks);
  P->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(1, 1));
  EXPECT_EQ(Doubles, 1);
  EXPECT_EQ(Mouse, (std::vector<std::string>{"down 0 1,1 double", "down 0 1,1"}));
}

TEST(Controls, KeysToShiftState) {
  EXPECT_TRUE(KeysToShiftState(0).Empty());
  const TShiftState S = KeysToShiftState(MK_SHIFT | MK_CONTROL | MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
  EXPECT_EQ(S, (TShiftState{ssShift, ssCtrl, ssLeft, ssRight, ssMiddle}));
}

namespace {

// A parent that records which control told it of a change.
class TChangeListener : public TWinControl {
  VANTREL_CLASS(TChangeListener)
  using TWinControl::TWinControl;
  std::vector<TControl*> Changes;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_CHANGED) Changes.push_back(reinterpret_cast<TControl*>(Message.LParam));
    TWinControl::WndProc(Message);
  }
};

class TChangingControl : public TGraphicControl {
  VANTREL_CLASS(TChangingControl)
  using TGraphicControl::TGraphicControl;
  void ValueChanged() { Changed(); }
};

}  // namespace

TEST(Controls, ChangedTellsTheParentWhichControlChanged) {
  auto Parent = CreateOwned<TChangeListener>(nullptr);
  auto* C = Create<TChangingControl>(Parent.get());
  C->ValueChanged();  // no parent yet: nobody hears
  EXPECT_TRUE(Parent->Changes.empty());
  C->SetParent(Parent.get());
  C->ValueChanged();
  C->ValueChanged();
  EXPECT_EQ(Parent->Changes, (std::vector<TControl*>{C, C}));
}
