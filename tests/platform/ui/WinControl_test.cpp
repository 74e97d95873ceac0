// Windowed controls on the headless window system: the window's life, the window
// procedure thunk and its exception boundary, bounds kept in step with the window,
// reflected notifications, and mouse enter/leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Controls.h"
#include "platform/win/Capture.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowDc.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::TTestForm;
using vantrel::uitest::TTestPanel;
using vantrel::uitest::TTestShape;

namespace {

std::vector<std::string>* DestroyLog = nullptr;

// Records its WM_DESTROY and the reflected notifications it gets.
class TRecorder : public TTestPanel {
  VANTREL_CLASS(TRecorder)
  explicit TRecorder(TComponent* AOwner) : TTestPanel(AOwner) {}
  std::vector<std::string> Seen;
  UINT ItemState = 0;
  bool Transparent = false;

 protected:
  void WMDestroy(TWMNoParams& Message) override {
    if (DestroyLog) DestroyLog->push_back("destroy " + Name() + (HandleAllocated() ? " with handle" : ""));
    TTestPanel::WMDestroy(Message);
  }
  void WndProc(TMessage& Message) override {
    switch (Message.Msg) {
      case CN_COMMAND:
        Seen.push_back("command " + std::to_string(HIWORD(Message.WParam)));
        Message.Result = 7;
        return;
      case CN_DRAWITEM:
        ItemState = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam)->itemState;
        Seen.push_back("drawitem");
        Message.Result = 1;
        return;
      case CN_CTLCOLOREDIT:
        if (Transparent) {
          SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
          Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
          return;
        }
        break;
      case WM_USER + 5:
        throw EInvalidOperation("handler failed");
      default:
        break;
    }
    TTestPanel::WndProc(Message);
  }
};

struct WinControlTest : ::testing::Test {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  void SetUp() override {
    Form->SetName("Form");
    Form->SetBounds(100, 100, 300, 200);
  }
  template <class T>
  T* Child(const char* Name, TRect R, TWinControl* Parent = nullptr) {
    T* C = Create<T>(Form.get());
    C->SetName(Name);
    C->SetBoundsRect(R);
    C->SetParent(Parent ? Parent : Form.get());
    return C;
  }
};

}  // namespace

TEST_F(WinControlTest, WindowsAreMadeWithTheParentsWhenNeeded) {
  auto* Panel = Child<TTestPanel>("Panel", Bounds(10, 10, 50, 40));
  auto* Hidden = Child<TTestPanel>("Hidden", Bounds(70, 10, 50, 40));
  Hidden->SetVisible(false);
  EXPECT_FALSE(Form->HandleAllocated());
  const HWND PanelWnd = Panel->Handle();
  ASSERT_TRUE(Form->HandleAllocated());
  EXPECT_EQ(GetParent(PanelWnd), Form->Handle());
  EXPECT_EQ(TWinControl::FindControl(PanelWnd), Panel);
  EXPECT_FALSE(Hidden->HandleAllocated());  // made when it shows
  Hidden->SetVisible(true);
  ASSERT_TRUE(Hidden->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(Hidden->Handle()));
  RECT R{};
  GetWindowRect(PanelWnd, &R);
  EXPECT_EQ(R, Rect(110, 110, 160, 150));
  // A child added to a parent that has its window gets its own at once.
  auto* Late = Child<TTestPanel>("Late", Bounds(0, 0, 5, 5));
  EXPECT_TRUE(Late->HandleAllocated());
  EXPECT_EQ(GetClassName(Late->Handle()), "TTestPanel");
  // A child window needs a parent window.
  auto Loose = CreateOwned<TTestPanel>(nullptr);
  Loose->SetName("Loose");
  try {
    Loose->HandleNeeded();
    FAIL() << "no error";
  } catch (const EInvalidOperation& E) {
    EXPECT_EQ(E.Message(), "Control 'Loose' has no parent window");
  }
  EXPECT_FALSE(Loose->HandleAllocated());
}

TEST_F(WinControlTest, FreeingRunsEachControlsOwnDestroyHandlerWithTheWholeObject) {
  std::vector<std::string> Log;
  DestroyLog = &Log;
  auto* Outer = Child<TRecorder>("Outer", Bounds(0, 0, 100, 100));
  Child<TRecorder>("Inner", Bounds(5, 5, 10, 10), Outer);
  const HWND FormWnd = Form->Handle();
  const HWND OuterWnd = Outer->Handle();
  Form.reset();
  DestroyLog = nullptr;
  // The form's window goes first and takes its children with it: WM_DESTROY reaches the
  // parent before its child.
  EXPECT_EQ(Log, (std::vector<std::string>{"destroy Outer with handle", "destroy Inner with handle"}));
  EXPECT_FALSE(IsWindow(FormWnd));
  EXPECT_FALSE(IsWindow(OuterWnd));
}

TEST_F(WinControlTest, FreeingAChildWindowFirstLeavesTheParentWorking) {
  std::vector<std::string> Log;
  DestroyLog = &Log;
  auto* Panel = Child<TRecorder>("Panel", Bounds(0, 0, 100, 100));
  const HWND PanelWnd = Panel->Handle();
  Panel->Free();
  DestroyLog = nullptr;
  EXPECT_EQ(Log, (std::vector<std::string>{"destroy Panel with handle"}));
  EXPECT_FALSE(IsWindow(PanelWnd));
  EXPECT_EQ(Form->ControlCount(), 0);
  EXPECT_EQ(GetWindow(Form->Handle(), GW_CHILD), nullptr);
}

TEST_F(WinControlTest, WindowProcCanBeReplacedAndRestoredOnALiveWindow) {
  const HWND Wnd = Form->Handle();
  std::vector<UINT> Hooked;
  const TWndMethod Saved = Form->WindowProc;
  Form->WindowProc = [&](TMessage& M) {
    if (M.Msg == WM_USER) Hooked.push_back(M.Msg);
    Saved(M);
  };
  SendMessage(Wnd, WM_USER, 0, 0);
  SetWindowText(Wnd, "through the hook");
  EXPECT_EQ(Hooked, (std::vector<UINT>{WM_USER}));
  EXPECT_EQ(Form->Text(), "through the hook");
  Form->WindowProc = Saved;
  SendMessage(Wnd, WM_USER, 0, 0);
  EXPECT_EQ(Hooked.size(), 1u);
}

TEST_F(WinControlTest, AnExceptionInAHandlerReachesTheApplicationNotTheDispatcher) {
  auto* Panel = Child<TRecorder>("Panel", Bounds(0, 0, 10, 10));
  std::vector<std::string> Caught;
  SetApplicationExceptionHandler([&](TObject* Sender, std::exception_ptr E) {
    try {
      std::rethrow_exception(E);
    } catch (const Exception& X) {
      Caught.push_back(std::string(X.ClassName()) + " " + X.Message() + " from " +
                       static_cast<TComponent*>(Sender)->Name());
    }
  });
  PostMessage(Panel->Handle(), WM_USER + 5, 0, 0);
  EXPECT_NO_THROW(Session.PumpUntilIdle());
  EXPECT_NO_THROW(SendMessage(Panel->Handle(), WM_USER + 5, 0, 0));
  EXPECT_EQ(Caught, (std::vector<std::string>{"EInvalidOperation handler failed from Panel",
                                              "EInvalidOperation handler failed from Panel"}));
  EXPECT_THROW(Panel->Perform(WM_USER + 5, 0, 0), EInvalidOperation);  // Perform does not catch
  SetApplicationExceptionHandler(nullptr);
}

TEST_F(WinControlTest, RecreateWndKeepsTextBoundsVisibilityAndChildren) {
  auto* Panel = Child<TTestPanel>("Panel", Bounds(10, 20, 60, 30));
  auto* Inner = Child<TTestPanel>("Inner", Bounds(1, 2, 3, 4), Panel);
  auto* Hidden = Child<TTestPanel>("Hidden", Bounds(5, 5, 5, 5), Panel);
  Panel->SetText("panel text");
  Hidden->Handle();
  Hidden->SetVisible(false);
  const HWND Old = Panel->Handle();
  SetWindowText(Inner->Handle(), "typed into the window");
  Panel->RecreateWnd();
  const HWND New = Panel->Handle();
  EXPECT_NE(New, Old);
  EXPECT_FALSE(IsWindow(Old));
  EXPECT_EQ(GetWindowText(New), "panel text");
  RECT R{};
  GetWindowRect(New, &R);
  EXPECT_EQ(R, Rect(110, 120, 170, 150));
  ASSERT_TRUE(Inner->HandleAllocated());
  EXPECT_EQ(GetParent(Inner->Handle()), New);
  EXPECT_EQ(GetWindowText(Inner->Handle()), "typed into the window");
  EXPECT_EQ(Inner->BoundsRect(), Bounds(1, 2, 3, 4));
  EXPECT_FALSE(Hidden->Visible());
  EXPECT_FALSE(Hidden->HandleAllocated() && IsWindowVisible(Hidden->Handle()));
}

TEST_F(WinControlTest, BoundsFollowTheWindowAndTheWindowFollowsSetBounds) {
  auto* Panel = Child<TTestPanel>("Panel", Bounds(10, 10, 50, 50));
  int Resizes = 0;
  Panel->OnResize = [&](TObject*) { ++Resizes; };
  const HWND Wnd = Panel->Handle();
  SetWindowPos(Wnd, nullptr, 30, 40, 70, 80, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(Panel->BoundsRect(), Bounds(30, 40, 70, 80));
  EXPECT_EQ(Resizes, 1);
  MoveWindow(Wnd, 31, 41, 70, 80, TRUE);  // a move alone is no resize
  EXPECT_EQ(Panel->Left(), 31);
  EXPECT_EQ(Resizes, 1);
  Panel->SetBounds(1, 2, 3, 4);
  RECT R{};
  GetWindowRect(Wnd, &R);
  EXPECT_EQ(R, Rect(101, 102, 104, 106));
  EXPECT_EQ(Panel->ClientWidth(), 3);
  EXPECT_EQ(Panel->ClientToScreen(Point(1, 1)), Point(102, 103));
  EXPECT_EQ(Panel->ScreenToClient(Point(102, 103)), Point(1, 1));
}

TEST_F(WinControlTest, ZOrderChangesMoveTheWindows) {
  auto* A = Child<TTestPanel>("A", Bounds(0, 0, 10, 10));
  auto* B = Child<TTestPanel>("B", Bounds(0, 0, 10, 10));
  auto* C = Child<TTestPanel>("C", Bounds(0, 0, 10, 10));
  // The list runs bottom first, like the windows: each new window went below.
  const HWND Top = GetWindow(Form->Handle(), GW_CHILD);
  EXPECT_EQ(Top, A->Handle());
  EXPECT_EQ(GetWindow(Top, GW_HWNDNEXT), B->Handle());
  EXPECT_EQ(Form->Controls(0), C);
  EXPECT_EQ(Form->Controls(2), A);
  C->BringToFront();
  EXPECT_EQ(GetWindow(Form->Handle(), GW_CHILD), C->Handle());
  EXPECT_EQ(Form->Controls(2), C);
  C->SendToBack();
  EXPECT_EQ(GetWindow(Form->Handle(), GW_CHILD), A->Handle());
  EXPECT_EQ(Form->Controls(0), C);
  // Re-made windows keep that order.
  Form->RecreateWnd();
  EXPECT_EQ(GetWindow(Form->Handle(), GW_CHILD), A->Handle());
  EXPECT_EQ(GetWindow(A->Handle(), GW_HWNDNEXT), B->Handle());
  EXPECT_EQ(GetWindow(B->Handle(), GW_HWNDNEXT), C->Handle());
}

namespace {

// A window class of the window system (as a native control's would be): it answers one
// message of its own and counts what reaches it.
int NativeCalls = 0;
LRESULT NativeProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  ++NativeCalls;
  if (Msg == WM_USER + 9) return 99;
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

class TNativeWrapper : public TWinControl {
  VANTREL_CLASS(TNativeWrapper)
  explicit TNativeWrapper(TComponent* AOwner) : TWinControl(AOwner) {}
  int Intercepted = 0;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "NATIVEPROBE");
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_USER + 9) ++Intercepted;
    TWinControl::WndProc(Message);
  }
};

}  // namespace

TEST_F(WinControlTest, ASubclassedNativeClassHandlesWhatTheControlPassesOn) {
  WNDCLASS Native{};
  Native.lpfnWndProc = MakeWndProc(&NativeProc);
  Native.lpszClassName = "NATIVEPROBE";
  ASSERT_TRUE(RegisterClass(&Native));
  auto* Wrapper = Child<TNativeWrapper>("Wrapper", Bounds(0, 0, 20, 20));
  const HWND Wnd = Wrapper->Handle();
  EXPECT_EQ(GetClassName(Wnd), "TNativeWrapper");
  NativeCalls = 0;
  EXPECT_EQ(SendMessage(Wnd, WM_USER + 9, 0, 0), 99);
  EXPECT_EQ(Wrapper->Intercepted, 1);
  EXPECT_EQ(NativeCalls, 1);
  EXPECT_EQ(Wrapper->Perform(WM_USER + 9, 0, 0), 99);

  auto* Missing = Create<TNativeWrapper>(Form.get());
  UnregisterClass("NATIVEPROBE", nullptr);
  Missing->SetVisible(false);
  Missing->SetParent(Form.get());
  EXPECT_THROW(Missing->HandleNeeded(), EOutOfResources);
}

namespace {

class TCancelWatcher : public TTestPanel {
  VANTREL_CLASS(TCancelWatcher)
  explicit TCancelWatcher(TComponent* AOwner) : TTestPanel(AOwner) {}
  std::vector<TControl*> Senders;

 protected:
  void CMCancelMode(TCMCancelMode& Message) override {
    Senders.push_back(Message.Sender());
    TTestPanel::CMCancelMode(Message);
  }
};

}  // namespace

TEST_F(WinControlTest, APressElsewhereSendsCancelModeToTheFocusedControl) {
  auto* Focused = Child<TCancelWatcher>("Focused", Bounds(10, 10, 50, 50));
  auto* Shape = Child<TTestShape>("Shape", Bounds(100, 10, 50, 50));
  ShowWindow(Form->Handle(), SW_SHOW);
  Session.PumpUntilIdle();
  Focused->SetFocus();
  ASSERT_TRUE(Focused->Focused());
  Session.Press(220, 130);  // on Shape
  Session.Release(220, 130);
  Session.Press(130, 130);  // on the focused control itself
  Session.Release(130, 130);
  Session.PumpUntilIdle();
  EXPECT_EQ(Focused->Senders, (std::vector<TControl*>{Shape}));
}

TEST_F(WinControlTest, ChildNotificationsComeBackToTheChildAsReflectedMessages) {
  auto* Button = Child<TRecorder>("Button", Bounds(0, 0, 10, 10));
  const HWND Parent = Form->Handle();
  const HWND Wnd = Button->Handle();
  EXPECT_EQ(SendMessage(Parent, WM_COMMAND, MAKEWPARAM(3, 5), reinterpret_cast<LPARAM>(Wnd)), 7);

  DRAWITEMSTRUCT Item{};
  Item.CtlType = ODT_BUTTON;
  Item.hwndItem = Wnd;
  Item.itemState = ODS_SELECTED | ODS_FOCUS;
  EXPECT_EQ(SendMessage(Parent, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&Item)), 1);
  EXPECT_EQ(Button->ItemState, ODS_SELECTED | ODS_FOCUS);
  EXPECT_EQ(Button->Seen, (std::vector<std::string>{"command 5", "drawitem"}));

  // WM_CTLCOLOR*: the child's answer is the parent's, brush and DC settings included.
  const HDC DC = GetDC(Wnd);
  Button->SetColor(clLime);
  Button->Font()->SetColor(clNavy);
  const auto Default = reinterpret_cast<HBRUSH>(
      SendMessage(Parent, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(Wnd)));
  EXPECT_EQ(Default, Button->Brush()->Handle());
  EXPECT_EQ(GetTextColor(DC), static_cast<COLORREF>(clNavy));
  EXPECT_EQ(GetBkColor(DC), static_cast<COLORREF>(clLime));
  Button->Transparent = true;
  const auto Null = reinterpret_cast<HGDIOBJ>(
      SendMessage(Parent, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(Wnd)));
  EXPECT_EQ(Null, GetStockObject(NULL_BRUSH));
  EXPECT_EQ(GetBkMode(DC), TRANSPARENT);
  ReleaseDC(Wnd, DC);

  // A notification from a window that is no control of ours gets the default handling.
  EXPECT_EQ(SendMessage(Parent, WM_COMMAND, 0, 0), 0);
}

TEST_F(WinControlTest, TheEnterAndLeaveEventsTellWhenThePointerComesAndGoes) {
  std::vector<std::string> Log;
  auto* Shape = Child<TTestShape>("Shape", Bounds(100, 10, 50, 50));
  Shape->OnMouseEnter = [&](TObject* Sender) { Log.push_back("enter " + static_cast<TControl*>(Sender)->Name()); };
  Shape->OnMouseLeave = [&](TObject* Sender) { Log.push_back("leave " + static_cast<TControl*>(Sender)->Name()); };
  ShowWindow(Form->Handle(), SW_SHOW);
  Session.PumpUntilIdle();
  Session.Move(130, 220);  // over the form only
  Session.PumpUntilIdle();
  EXPECT_TRUE(Log.empty());
  Session.Move(220, 130);  // over Shape
  Session.PumpUntilIdle();
  Session.Move(230, 140);  // still over it
  Session.PumpUntilIdle();
  EXPECT_EQ(Log, (std::vector<std::string>{"enter Shape"}));
  Session.Move(130, 220);
  Session.PumpUntilIdle();
  EXPECT_EQ(Log, (std::vector<std::string>{"enter Shape", "leave Shape"}));
}

TEST_F(WinControlTest, MouseEnterAndLeaveFollowThePointerAlsoUnderCapture) {
  std::vector<std::string> Log;
  auto* Panel = Child<TTestPanel>("Panel", Bounds(10, 10, 50, 50));
  auto* Shape = Child<TTestShape>("Shape", Bounds(100, 10, 50, 50));
  auto* Holder = Child<TTestPanel>("Holder", Bounds(10, 100, 50, 50));
  Panel->Log = Shape->Log = Holder->Log = &Log;
  ShowWindow(Form->Handle(), SW_SHOW);
  Session.PumpUntilIdle();

  // The mouse messages alone keep the control under the pointer up to date.
  Session.Move(130, 130);  // over Panel
  Session.PumpUntilIdle();
  Session.Move(220, 130);  // over Shape
  Session.PumpUntilIdle();
  EXPECT_EQ(Log, (std::vector<std::string>{"enter Panel", "leave Panel", "enter Shape"}));

  Log.clear();
  Session.Move(130, 220);  // Holder takes the capture with a press
  Session.Press(130, 220);
  Session.PumpUntilIdle();
  ASSERT_EQ(GetCapture(), Holder->Handle());
  Session.Move(130, 130);
  Session.PumpUntilIdle();
  Session.Move(220, 130);
  Session.PumpUntilIdle();
  EXPECT_EQ(GetCapture(), Holder->Handle());
  Session.Release(220, 130);
  Session.PumpUntilIdle();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Log, (std::vector<std::string>{"leave Shape", "enter Holder", "leave Holder", "enter Panel",
                                           "leave Panel", "enter Shape"}));

  // Off every window: no message comes, the idle check sends the leave.
  Log.clear();
  Session.OnIdle = [] { DoMouseIdle(); };
  Session.Move(5, 5);
  Session.PumpUntilIdle();
  EXPECT_EQ(Log, (std::vector<std::string>{"leave Shape"}));
  EXPECT_EQ(MouseControl(), nullptr);
}

TEST_F(WinControlTest, AWindowlessControlWithTheCaptureGetsTheMouseOutsideItself) {
  auto* Shape = Child<TTestShape>("Shape", Bounds(10, 10, 20, 20));
  std::vector<std::string> Log;
  Shape->OnMouseMove = [&](TObject*, TShiftState, Integer X, Integer Y) {
    Log.push_back(std::to_string(X) + "," + std::to_string(Y));
  };
  int Clicks = 0;
  Shape->OnClick = [&](TObject*) { ++Clicks; };
  ShowWindow(Form->Handle(), SW_SHOW);
  Session.Move(115, 115);
  Session.PumpUntilIdle();
  Log.clear();
  Session.Press(115, 115);
  Session.PumpUntilIdle();
  EXPECT_EQ(GetCapture(), Form->Handle());
  EXPECT_EQ(GetCaptureControl(), Shape);
  Session.Move(300, 250);  // far outside the shape and the form
  Session.PumpUntilIdle();
  Session.Move(116, 116);
  Session.Release(116, 116);
  Session.PumpUntilIdle();
  EXPECT_NE(std::find(Log.begin(), Log.end(), "190,140"), Log.end());
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(WinControlTest, DeletingWithoutFreeLeavesNoWindowOrListEntryBehind) {
  std::vector<std::string> Log;
  DestroyLog = &Log;
  auto* Panel = Child<TRecorder>("Panel", Bounds(0, 0, 10, 10));
  Child<TTestShape>("Shape", Bounds(0, 0, 5, 5), Panel);
  const HWND Wnd = Panel->Handle();
  Form->RemoveComponent(Panel);
  delete Panel;  // skips BeforeDestruction: the window goes without its handlers
  DestroyLog = nullptr;
  EXPECT_TRUE(Log.empty());
  EXPECT_FALSE(IsWindow(Wnd));
  EXPECT_EQ(Form->ControlCount(), 0);
  EXPECT_EQ(TWinControl::FindControl(Wnd), nullptr);
}

namespace {

// Each turn of the wheel that reaches a control: its name, direction, shift keys and place.
struct WheelTurn {
  std::string Control;
  bool Down;
  TShiftState Shift;
  TPoint Pos;
  bool operator==(const WheelTurn& O) const {
    return Control == O.Control && Down == O.Down && Shift == O.Shift && Pos.X == O.Pos.X && Pos.Y == O.Pos.Y;
  }
};

}  // namespace

TEST_F(WinControlTest, TheWheelIsToldToTheFocusedControlAndWhatItLeavesGoesToItsParent) {
  auto* Outer = Child<TTestPanel>("Outer", Bounds(10, 10, 200, 150));
  auto* Inner = Child<TTestPanel>("Inner", Bounds(20, 20, 100, 80), Outer);
  std::vector<WheelTurn> Turns;
  bool InnerHandles = false;
  for (TTestPanel* C : {Outer, Inner}) {
    C->OnMouseWheelDown = [&, C](TObject* Sender, TShiftState Shift, TPoint Pos, Boolean& Handled) {
      EXPECT_EQ(Sender, C);
      Turns.push_back({C->Name(), true, Shift, Pos});
      Handled = C == Inner && InnerHandles;
    };
    C->OnMouseWheelUp = [&, C](TObject*, TShiftState Shift, TPoint Pos, Boolean& Handled) {
      Turns.push_back({C->Name(), false, Shift, Pos});
      Handled = C == Inner && InnerHandles;
    };
  }
  ShowWindow(Form->Handle(), SW_SHOW);
  Session.PumpUntilIdle();
  Inner->SetFocus();
  ASSERT_TRUE(Inner->Focused());
  // Unhandled, the turn passes on to the parent; the place stays the pointer's on the screen.
  Session.Wheel(150, 150, -120, MOD_CONTROL);
  Session.PumpUntilIdle();
  EXPECT_EQ(Turns, (std::vector<WheelTurn>{{"Inner", true, {ssCtrl}, Point(150, 150)},
                                           {"Outer", true, {ssCtrl}, Point(150, 150)}}));
  Turns.clear();
  InnerHandles = true;
  Session.Wheel(160, 140, 120);
  Session.PumpUntilIdle();
  EXPECT_EQ(Turns, (std::vector<WheelTurn>{{"Inner", false, {}, Point(160, 140)}}));
  // Without a handler nothing is handled.
  Inner->OnMouseWheelUp = nullptr;
  EXPECT_FALSE(Inner->DoMouseWheelUp({}, Point(0, 0)));
  EXPECT_EQ(Inner->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(150, 150)), 0);
  EXPECT_EQ(Turns.back().Control, "Inner");
  EXPECT_TRUE(Turns.back().Down);
}
