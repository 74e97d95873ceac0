// ShowModal: its own loop ends with the ModalResult a control's click sets, the other
// windows are disabled meanwhile and enabled after, loops nest, and a loop that could
// never end is reported rather than waited on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "platform/win/Focus.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::uitest::FormsSession;
using vantrel::uitest::TModalButton;

namespace {

class TDialogForm : public TForm {
  VANTREL_CLASS(TDialogForm)
  explicit TDialogForm(TComponent* AOwner) : TForm(AOwner) {}
};
class TInnerDialogForm : public TForm {
  VANTREL_CLASS(TInnerDialogForm)
  explicit TInnerDialogForm(TComponent* AOwner) : TForm(AOwner) {}
};

// A frameless form at (Left, Top) with a button at (10, 10, 80 x 25) of the given result;
// the screen point of the button's centre is (Left + 50, Top + 22).
TModalButton* AddButton(TCustomForm* Form, TModalResult Result, Integer Left, Integer Top) {
  Form->SetBorderStyle(bsNone);
  Form->SetBounds(Left, Top, 200, 100);
  TModalButton* B = TModalButton::Create(Form);
  B->ModalResult = Result;
  B->SetBounds(10, 10, 80, 25);
  B->SetParent(Form);
  return B;
}

void Click(FormsSession& S, Integer X, Integer Y) {
  S.Session.Press(X, Y);
  S.Session.Release(X, Y);
}

struct ModalForms {
  TForm* Main = nullptr;
  TDialogForm* Dialog = nullptr;
  explicit ModalForms(FormsSession& S) {
    Application->CreateForm(Main);
    Application->CreateForm(Dialog);
    Main->SetBorderStyle(bsNone);
    Main->SetBounds(0, 0, 600, 400);
    Main->Show();
    S.Session.PumpUntilIdle();
  }
};

}  // namespace

TEST(ModalForm, ReturnsTheResultOfAButtonClickWithTheMainFormDisabledMeanwhile) {
  FormsSession S;
  ModalForms F(S);
  AddButton(F.Dialog, mrOk, 300, 200);
  bool MainEnabledDuring = true;
  F.Dialog->OnActivate = [&](TObject*) { MainEnabledDuring = IsWindowEnabled(F.Main->Handle()); };
  // The click waits in the queue; the modal loop takes it once the dialog shows.
  Click(S, 350, 222);
  EXPECT_EQ(F.Dialog->ShowModal(), mrOk);
  EXPECT_FALSE(MainEnabledDuring);
  EXPECT_TRUE(IsWindowEnabled(F.Main->Handle()));
  EXPECT_FALSE(F.Dialog->Visible());
  EXPECT_FALSE(IsWindowVisible(F.Dialog->Handle()));
  EXPECT_FALSE(F.Dialog->FormState().Contains(fsModal));
  EXPECT_EQ(Application->ModalLevel(), 0);
  EXPECT_EQ(GetActiveWindow(), F.Main->Handle());
}

TEST(ModalForm, NestedModalFormsEachDisableTheWindowsBelow) {
  FormsSession S;
  ModalForms F(S);
  TInnerDialogForm* Inner = nullptr;
  Application->CreateForm(Inner);
  TModalButton* Opener = AddButton(F.Dialog, mrNone, 300, 200);
  TModalButton* Ok = TModalButton::Create(F.Dialog);
  Ok->ModalResult = mrOk;
  Ok->SetBounds(100, 10, 80, 25);
  Ok->SetParent(F.Dialog);
  AddButton(Inner, mrYes, 700, 300);
  TModalResult InnerResult = mrNone;
  std::vector<bool> EnabledDuringInner;
  Inner->OnActivate = [&](TObject*) {
    EnabledDuringInner = {IsWindowEnabled(F.Main->Handle()) != 0, IsWindowEnabled(F.Dialog->Handle()) != 0};
  };
  bool DialogEnabledAfterInner = false;
  Opener->OnClick = [&](TObject*) {
    InnerResult = Inner->ShowModal();
    DialogEnabledAfterInner = IsWindowEnabled(F.Dialog->Handle());
  };
  Click(S, 350, 222);  // opens the inner dialog
  Click(S, 750, 322);  // its button: mrYes
  Click(S, 440, 222);  // the outer dialog's OK
  EXPECT_EQ(F.Dialog->ShowModal(), mrOk);
  EXPECT_EQ(InnerResult, mrYes);
  EXPECT_EQ(EnabledDuringInner, (std::vector<bool>{false, false}));
  EXPECT_TRUE(DialogEnabledAfterInner);
  EXPECT_TRUE(IsWindowEnabled(F.Main->Handle()));
  EXPECT_FALSE(Inner->Visible());
}

TEST(ModalForm, CloseQueryCanRefuseAndCloseSetsCancel) {
  FormsSession S;
  ModalForms F(S);
  AddButton(F.Dialog, mrOk, 300, 200);
  int Asked = 0;
  std::vector<TCloseAction> Actions;
  F.Dialog->OnCloseQuery = [&](TObject*, Boolean& CanClose) { CanClose = ++Asked > 1; };
  F.Dialog->OnClose = [&](TObject*, TCloseAction& Action) { Actions.push_back(Action); };
  Click(S, 350, 222);  // refused: the loop goes on
  // The second click comes a second later, while the loop waits (not a double click).
  TTimer* Later = TTimer::Create(F.Dialog);
  Later->SetInterval(1000);
  Later->OnTimer = [&](TObject*) {
    Later->SetEnabled(false);
    Click(S, 350, 222);
  };
  EXPECT_EQ(F.Dialog->ShowModal(), mrOk);
  EXPECT_EQ(Asked, 2);
  EXPECT_EQ(Actions, std::vector<TCloseAction>{caHide});

  // Close on a modal form answers mrCancel (a timer stands for the user here).
  TTimer* Closer = TTimer::Create(F.Dialog);
  Closer->SetInterval(100);
  Closer->OnTimer = [&](TObject*) {
    Closer->SetEnabled(false);
    F.Dialog->Close();
  };
  EXPECT_EQ(F.Dialog->ShowModal(), mrCancel);
}

TEST(ModalForm, CannotShowAVisibleFormModally) {
  FormsSession S;
  ModalForms F(S);
  F.Dialog->Show();
  EXPECT_THROW(F.Dialog->ShowModal(), EInvalidOperation);
  EXPECT_TRUE(IsWindowEnabled(F.Main->Handle()));
}

TEST(ModalForm, ALoopWithNothingToWaitForRaisesAndRestoresTheWindows) {
  FormsSession S;
  ModalForms F(S);
  AddButton(F.Dialog, mrOk, 300, 200);
  EXPECT_THROW(F.Dialog->ShowModal(), EMessageLoopStall);
  EXPECT_TRUE(IsWindowEnabled(F.Main->Handle()));
  EXPECT_FALSE(F.Dialog->Visible());
  EXPECT_FALSE(F.Dialog->FormState().Contains(fsModal));
  EXPECT_EQ(Application->ModalLevel(), 0);
}

TEST(ModalForm, TerminateEndsTheModalLoopWithCancel) {
  FormsSession S;
  ModalForms F(S);
  AddButton(F.Dialog, mrOk, 300, 200);
  F.Dialog->OnShow = [](TObject*) { Application->Terminate(); };
  EXPECT_EQ(F.Dialog->ShowModal(), mrCancel);
  EXPECT_TRUE(Application->Terminated());
}

TEST(ModalForm, ReleaseWhileTheLoopRunsFreesTheFormOnlyAfterIt) {
  FormsSession S;
  ModalForms F(S);
  TModalButton* Button = AddButton(F.Dialog, mrNone, 300, 200);
  int Clicks = 0;
  Button->OnClick = [&](TObject*) {
    if (++Clicks == 1) {
      F.Dialog->Release();  // the loop goes on with the form whole
    } else {
      F.Dialog->SetModalResult(mrAbort);
    }
  };
  Click(S, 350, 222);
  TTimer* Later = TTimer::Create(F.Main);
  Later->SetInterval(1000);
  Later->OnTimer = [&](TObject*) {
    Later->SetEnabled(false);
    Click(S, 350, 222);
  };
  EXPECT_EQ(F.Dialog->ShowModal(), mrAbort);
  EXPECT_EQ(Screen->FormCount(), 2);
  Application->ProcessMessages();
  EXPECT_EQ(Screen->FormCount(), 1);
}

TEST(ModalForm, ALoopThatOnlyRunsTimersForAMinuteRaises) {
  FormsSession S;
  ModalForms F(S);
  AddButton(F.Dialog, mrOk, 300, 200);
  TTimer* Ticker = TTimer::Create(F.Main);
  Ticker->SetInterval(50);
  int Ticks = 0;
  Ticker->OnTimer = [&](TObject*) { ++Ticks; };
  EXPECT_THROW(F.Dialog->ShowModal(), EMessageLoopStall);
  EXPECT_GE(Ticks, 60000 / 50 - 1);  // about a minute of virtual time
  EXPECT_TRUE(IsWindowEnabled(F.Main->Handle()));
}
