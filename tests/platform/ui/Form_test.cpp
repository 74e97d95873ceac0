// Forms made by the application in order, the main form and the end of Run, an exception
// in OnCreate, closing with its events, placement, the frame styles and the plain frame
// of a form no skin draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/win/Focus.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysMetrics.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::uitest::FormsSession;

namespace {

std::vector<std::string>* Events = nullptr;

class TFirstForm : public TForm {
  VANTREL_CLASS(TFirstForm)
  explicit TFirstForm(TComponent* AOwner) : TForm(AOwner) {}
};
class TSecondForm : public TForm {
  VANTREL_CLASS(TSecondForm)
  explicit TSecondForm(TComponent* AOwner) : TForm(AOwner) {}
};
class TThirdForm : public TForm {
  VANTREL_CLASS(TThirdForm)
  explicit TThirdForm(TComponent* AOwner) : TForm(AOwner) {}
};

TFirstForm* FirstForm = nullptr;

class TBrokenForm : public TForm {
  VANTREL_CLASS(TBrokenForm)
  explicit TBrokenForm(TComponent* AOwner) : TForm(AOwner) { throw EOutOfResources("Out of system resources"); }
};

// Its OnCreate reads the application's reference to it, as a main window's creation
// handler does with its global.
class TSelfReferringForm : public TForm {
  VANTREL_CLASS(TSelfReferringForm)
  explicit TSelfReferringForm(TComponent* AOwner) : TForm(AOwner) {
    OnCreate = [](TObject* Sender) { SawItself = Reference == Sender; };
  }
  static inline TSelfReferringForm* Reference = nullptr;
  static inline bool SawItself = false;
};

// A creation handler that fails half-way, as a main window whose picture is missing.
class TFailingForm : public TForm {
  VANTREL_CLASS(TFailingForm)
  explicit TFailingForm(TComponent* AOwner) : TForm(AOwner) {
    OnCreate = [this](TObject*) {
      SetCaption("step 1 ran");
      throw EFOpenError("Picture open.png is missing");
    };
  }
};

}  // namespace

TEST(Form, FormsMadeByCreateFormAreListedInOrderAndTheFirstIsMain) {
  FormsSession S;
  TSecondForm* Second = nullptr;
  TThirdForm* Third = nullptr;
  Application->CreateForm(FirstForm);
  Application->CreateForm(Second);
  Application->CreateForm(Third);
  ASSERT_NE(FirstForm, nullptr);
  ASSERT_EQ(Screen->FormCount(), 3);
  EXPECT_EQ(Screen->Forms(0), FirstForm);
  EXPECT_EQ(Screen->Forms(1), Second);
  EXPECT_EQ(Screen->Forms(2), Third);
  EXPECT_EQ(Application->MainForm(), FirstForm);
  // The main form's window exists at once; it is shown only by Run.
  EXPECT_TRUE(FirstForm->HandleAllocated());
  EXPECT_FALSE(FirstForm->Visible());
  // Forms belong to the application and go with it.
  EXPECT_EQ(Second->Owner(), Application);
  Third->Free();
  ASSERT_EQ(Screen->FormCount(), 2);
  EXPECT_EQ(Screen->Forms(1), Second);
  EXPECT_THROW(Screen->Forms(2), EListError);
  FirstForm = nullptr;
}

TEST(Form, CreateFormSetsTheReferenceBeforeOnCreateRuns) {
  FormsSession S;
  Application->CreateForm(TSelfReferringForm::Reference);
  EXPECT_TRUE(TSelfReferringForm::SawItself);
}

TEST(Form, RunShowsTheMainFormAndEndsWhenItCloses) {
  FormsSession S;
  TForm* Main = nullptr;
  TSecondForm* Other = nullptr;
  Application->CreateForm(Main);
  Application->CreateForm(Other);
  std::vector<std::string> Seen;
  Main->OnShow = [&](TObject*) { Seen.push_back("show"); };
  Main->OnClose = [&](TObject*, TCloseAction& Action) {
    Seen.push_back(std::string("close visible=") + (IsWindowVisible(Main->Handle()) ? "1" : "0") +
                   " action=" + std::to_string(Action));
  };
  // The close request waits in the queue for Run's loop.
  PostMessage(Main->Handle(), WM_CLOSE, 0, 0);
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(Seen, (std::vector<std::string>{"show", "close visible=1 action=1"}));
  EXPECT_FALSE(Other->Visible());
}

TEST(Form, AnExceptionInOnCreateGoesToTheHandlerAndTheFormStillShows) {
  FormsSession S;
  TFailingForm* Failing = nullptr;
  Application->CreateForm(Failing);
  ASSERT_NE(Failing, nullptr);
  EXPECT_EQ(S.Boxes, std::vector<std::string>{"Picture open.png is missing."});
  EXPECT_EQ(Application->MainForm(), Failing);
  EXPECT_EQ(Failing->Caption(), "step 1 ran");
  EXPECT_FALSE(Failing->FormState().Contains(fsCreating));
  Failing->Show();
  EXPECT_TRUE(IsWindowVisible(Failing->Handle()));
}

TEST(Form, CloseFollowsCloseQueryAndTheCloseAction) {
  struct Case {
    const char* Name;
    bool Allow;
    TCloseAction Action;
    bool VisibleAfter;
    bool ExistsAfter;
  };
  const Case Cases[] = {
      {"refused", false, caHide, true, true},
      {"hide", true, caHide, false, true},
      {"none", true, caNone, true, true},
      {"free", true, caFree, false, false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    FormsSession S;
    TForm* Main = nullptr;
    TSecondForm* Dialog = nullptr;
    Application->CreateForm(Main);
    Application->CreateForm(Dialog);
    Dialog->OnCloseQuery = [&](TObject*, Boolean& CanClose) { CanClose = C.Allow; };
    Dialog->OnClose = [&](TObject*, TCloseAction& Action) {
      EXPECT_EQ(Action, caHide);
      Action = C.Action;
    };
    Dialog->Show();
    Dialog->Close();
    Application->ProcessMessages();  // a freed form goes when its message comes
    const bool Exists = Screen->FormCount() == 2;
    EXPECT_EQ(Exists, C.ExistsAfter);
    if (Exists) {
      EXPECT_EQ(Dialog->Visible(), C.VisibleAfter);
    }
    EXPECT_FALSE(Application->Terminated());
  }
}

TEST(Form, PositionPlacesTheFormOnItsFirstShow) {
  struct Case {
    const char* Name;
    TPosition Position;
    TPoint Expected;
  };
  // Screen 1280 x 800; main form 400 x 300 at (100, 50); the form is 200 x 100.
  const Case Cases[] = {
      {"designed", poDesigned, Point(7, 9)},
      {"screen centre", poScreenCenter, Point(540, 350)},
      {"main form centre", poMainFormCenter, Point(200, 150)},
      {"owner form centre", poOwnerFormCenter, Point(200, 150)},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    FormsSession S;
    TForm* Main = nullptr;
    TSecondForm* Dialog = nullptr;
    Application->CreateForm(Main);
    Application->CreateForm(Dialog);
    Main->SetBorderStyle(bsNone);
    Main->SetBounds(100, 50, 400, 300);
    Main->Show();
    Dialog->SetBorderStyle(bsNone);
    Dialog->SetBounds(7, 9, 200, 100);
    Dialog->SetPosition(C.Position);
    Dialog->Show();
    RECT R{};
    GetWindowRect(Dialog->Handle(), &R);
    EXPECT_EQ(R.Left, C.Expected.X);
    EXPECT_EQ(R.Top, C.Expected.Y);
    // Moved by hand, it stays where it was put on the next show.
    Dialog->Hide();
    Dialog->SetBounds(3, 4, 200, 100);
    Dialog->Show();
    GetWindowRect(Dialog->Handle(), &R);
    EXPECT_EQ(R.Left, 3);
  }
}

TEST(Form, BorderStyleIconsAndFormStyleGiveTheWindowStyles) {
  struct Case {
    const char* Name;
    TFormBorderStyle Border;
    TBorderIcons Icons;
    TFormStyle Style;
    DWORD WantStyle;
    DWORD NoStyle;
    DWORD WantEx;
  };
  const Case Cases[] = {
      {"none", bsNone, {biSystemMenu}, fsNormal, WS_POPUP, WS_CAPTION | WS_THICKFRAME, 0},
      {"sizeable", bsSizeable, {biSystemMenu, biMinimize}, fsNormal, WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX,
       WS_MAXIMIZEBOX, 0},
      {"single, no icons", bsSingle, {}, fsNormal, WS_CAPTION, WS_SYSMENU | WS_THICKFRAME, 0},
      {"dialog", bsDialog, {biSystemMenu, biMaximize}, fsNormal, WS_CAPTION | WS_SYSMENU, WS_MAXIMIZEBOX,
       WS_EX_DLGMODALFRAME},
      {"tool window", bsToolWindow, {biSystemMenu}, fsNormal, WS_CAPTION, WS_THICKFRAME, WS_EX_TOOLWINDOW},
      {"sizeable tool window", bsSizeToolWin, {}, fsNormal, WS_THICKFRAME, 0, WS_EX_TOOLWINDOW},
      {"stay on top", bsNone, {}, fsStayOnTop, WS_POPUP, 0, WS_EX_TOPMOST},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    FormsSession S;
    TForm* F = nullptr;
    Application->CreateForm(F);
    F->SetBorderStyle(C.Border);
    F->SetBorderIcons(C.Icons);
    F->SetFormStyle(C.Style);
    const DWORD Style = static_cast<DWORD>(GetWindowLong(F->Handle(), GWL_STYLE));
    const DWORD Ex = static_cast<DWORD>(GetWindowLong(F->Handle(), GWL_EXSTYLE));
    EXPECT_EQ(Style & C.WantStyle, C.WantStyle);
    EXPECT_EQ(Style & C.NoStyle, 0u);
    EXPECT_EQ(Ex & C.WantEx, C.WantEx);
    EXPECT_EQ(Style & WS_CHILD, 0u);
    // Owned by the application's hidden window.
    EXPECT_EQ(GetWindow(F->Handle(), GW_OWNER), Application->Handle());
  }
}

TEST(Form, ActivationRaisesTheEventsAndMovesTheScreensActiveForm) {
  FormsSession S;
  std::vector<std::string> Log;
  Events = &Log;
  TForm* A = nullptr;
  TSecondForm* B = nullptr;
  Application->CreateForm(A);
  Application->CreateForm(B);
  A->SetName("A");
  B->SetName("B");
  for (TCustomForm* F : {static_cast<TCustomForm*>(A), static_cast<TCustomForm*>(B)}) {
    F->OnActivate = [F](TObject*) { Events->push_back("activate " + F->Name()); };
    F->OnDeactivate = [F](TObject*) { Events->push_back("deactivate " + F->Name()); };
  }
  A->Show();
  EXPECT_EQ(Screen->ActiveForm(), A);
  B->Show();
  EXPECT_EQ(Screen->ActiveForm(), B);
  EXPECT_TRUE(B->Active());
  EXPECT_FALSE(A->Active());
  B->Hide();
  EXPECT_EQ(Screen->ActiveForm(), A);
  EXPECT_EQ(Log, (std::vector<std::string>{"activate A", "deactivate A", "activate B", "deactivate B", "activate A"}));
  Events = nullptr;
}

TEST(Form, AConstructorThatFailsLeavesNoFormBehind) {
  FormsSession S;
  TBrokenForm* Broken = reinterpret_cast<TBrokenForm*>(&S);  // must be reset
  EXPECT_THROW(Application->CreateForm(Broken), EOutOfResources);
  EXPECT_EQ(Broken, nullptr);
  EXPECT_EQ(Screen->CustomFormCount(), 0);
  EXPECT_EQ(Application->MainForm(), nullptr);
  EXPECT_EQ(Application->ComponentCount(), 1);  // the hint window only
}

TEST(Form, ANewFrameKeepsAShownFormShownWithItsControls) {
  FormsSession S;
  TForm* F = nullptr;
  Application->CreateForm(F);
  auto* Child = vantrel::uitest::TModalButton::Create(F);
  Child->SetBounds(5, 5, 50, 20);
  Child->SetParent(F);
  F->Show();
  const HWND Before = F->Handle();
  F->SetBorderStyle(bsDialog);
  EXPECT_NE(F->Handle(), Before);
  EXPECT_TRUE(IsWindowVisible(F->Handle()));
  EXPECT_TRUE(Child->HandleAllocated());
  EXPECT_EQ(GetParent(Child->Handle()), F->Handle());
  EXPECT_TRUE(GetWindowLong(F->Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
}

TEST(Form, ClientSizeAndWindowStateFollowTheWindow) {
  FormsSession S;
  TForm* F = nullptr;
  Application->CreateForm(F);
  F->SetBorderStyle(bsSingle);
  F->SetClientWidth(300);
  F->SetClientHeight(200);
  F->Show();
  RECT C{};
  GetClientRect(F->Handle(), &C);
  EXPECT_EQ(C.Right, 300);
  EXPECT_EQ(C.Bottom, 200);
  EXPECT_GT(F->Width(), 300);  // the frame is outside the client area
  F->SetWindowState(wsMaximized);
  EXPECT_TRUE(IsZoomed(F->Handle()));
  ShowWindow(F->Handle(), SW_RESTORE);
  EXPECT_EQ(F->WindowState(), wsNormal);
}

TEST(Form, AnMDIFormHasAClientWindowAndListsItsChildren) {
  FormsSession S;
  TForm* Main = nullptr;
  TSecondForm* Doc1 = nullptr;
  TThirdForm* Doc2 = nullptr;
  Application->CreateForm(Main);
  Main->SetFormStyle(fsMDIForm);
  Main->SetBorderStyle(bsNone);
  Main->SetBounds(0, 0, 800, 600);
  Main->Show();
  ASSERT_NE(Main->ClientHandle(), nullptr);
  RECT C{};
  GetClientRect(Main->ClientHandle(), &C);
  EXPECT_EQ(C.Right, 800 - 4);  // the client edge is inside the window
  // The client window's procedure can be replaced, as the frame component does.
  std::vector<UINT> Seen;
  const WNDPROC Hook = MakeWndProcInstance([&](HWND W, UINT Msg, WPARAM WP, LPARAM LP) -> LRESULT {
    Seen.push_back(Msg);
    return DefWindowProc(W, Msg, WP, LP);
  });
  const LONG_PTR Old = SetWindowLongPtr(Main->ClientHandle(), GWL_WNDPROC, WndProcToLong(Hook));
  SendMessage(Main->ClientHandle(), WM_USER + 3, 0, 0);
  EXPECT_EQ(Seen, std::vector<UINT>{WM_USER + 3});
  SetWindowLongPtr(Main->ClientHandle(), GWL_WNDPROC, Old);
  FreeObjectInstance(Hook);

  Application->CreateForm(Doc1);
  Application->CreateForm(Doc2);
  for (TCustomForm* D : {static_cast<TCustomForm*>(Doc1), static_cast<TCustomForm*>(Doc2)}) {
    D->SetFormStyle(fsMDIChild);
    D->SetBounds(10, 10, 200, 150);
    D->Show();
    EXPECT_EQ(GetParent(D->Handle()), Main->ClientHandle());
  }
  EXPECT_EQ(Main->MDIChildCount(), 2);
  EXPECT_EQ(Main->MDIChildren(0), Doc1);
  EXPECT_EQ(Main->MDIChildren(1), Doc2);
  EXPECT_EQ(Main->ActiveMDIChild(), Doc2);
  Doc1->BringToFront();
  EXPECT_EQ(Main->ActiveMDIChild(), Doc1);
  TMenuItem* Window = TMenuItem::Create(Main);
  Main->SetWindowMenu(Window);
  EXPECT_EQ(Main->WindowMenu(), Window);
  Window->Free();
  EXPECT_EQ(Main->WindowMenu(), nullptr);
  // A child closes by minimizing (it has a minimize box).
  Doc2->Close();
  EXPECT_EQ(Doc2->WindowState(), wsMinimized);
}

// A form that no skin draws shows the plain frame: a border in the frame colour, its
// caption in the title bar and a close button with its cross; a click there closes it.
TEST(Form, AnUnskinnedFormShowsItsFrameAndClosesByItsCloseButton) {
  FormsSession S;
  TForm* Main = nullptr;
  TSecondForm* Plain = nullptr;
  Application->CreateForm(Main);
  Application->CreateForm(Plain);
  Plain->SetBounds(60, 60, 320, 200);
  Plain->SetCaption("Plain form");
  Plain->Show();
  SetActiveWindow(Plain->Handle());
  S.Session.PumpUntilIdle();
  const vantrel::win::Surface Shot = S.Session.Capture(Plain->Handle());
  auto Screen = [](COLORREF C) { return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF); };
  auto At = [&](int X, int Y) { return Shot.Row(Y)[X] & 0xFFFFFF; };
  const int Bar = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(At(0, 100), Screen(GetSysColor(COLOR_WINDOWFRAME)));
  EXPECT_EQ(At(160, 199), Screen(GetSysColor(COLOR_WINDOWFRAME)));
  int Title = 0;
  for (int Y = 1; Y < Bar; ++Y)
    for (int X = 1; X < 120; ++X) Title += At(X, Y) == Screen(GetSysColor(COLOR_CAPTIONTEXT));
  EXPECT_GT(Title, 20) << "no title";
  int CloseX = -1;
  for (int X = 319; X >= 0 && CloseX < 0; --X)
    if (SendMessage(Plain->Handle(), WM_NCHITTEST, 0, MAKELPARAM(60 + X, 60 + Bar / 2)) == HTCLOSE) CloseX = X - 3;
  ASSERT_GE(CloseX, 280) << "no close button at the caption's right end";
  int Cross = 0;
  for (int Y = 2; Y < Bar; ++Y)
    for (int X = CloseX - 12; X <= CloseX + 2; ++X) Cross += At(X, Y) == Screen(GetSysColor(COLOR_BTNTEXT));
  EXPECT_GT(Cross, 6) << "the close button shows no cross";
  S.Session.Press(60 + CloseX, 60 + Bar / 2);
  S.Session.Release(60 + CloseX, 60 + Bar / 2);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(Plain->Visible()) << "the click did not close the form";
}
