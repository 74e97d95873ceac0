// Pointer, keys and focus on the X11 display, given by XTest as a person would, with a
// second connection playing another program.
#include <gtest/gtest.h>

#include <future>

#include "platform/win/Capture.h"
#include "platform/win/DragDrop.h"
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Menu.h"
#include "platform/win/Timers.h"
#include "tests/platform/display/x11/X11TestSession.h"
#include "tests/support/UiTestControls.h"

using namespace vantrel;
using namespace vantrel::x11test;

namespace {

struct Logged {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

// A shown top-level window that logs what it gets.
struct LogWindow {
  std::vector<Logged> Log;
  WNDPROC Proc = nullptr;
  HWND Wnd = nullptr;
  LogWindow(RECT R, UINT ClassStyle = 0, const char* ClassName = "X11TestLog") {
    Proc = MakeWndProcInstance([this](HWND W, UINT Msg, WPARAM WP, LPARAM LP) -> LRESULT {
      Log.push_back({Msg, WP, LP});
      if (Msg == WM_PAINT) {
        PAINTSTRUCT Ps;
        BeginPaint(W, &Ps);
        EndPaint(W, &Ps);
        return 0;
      }
      return DefWindowProc(W, Msg, WP, LP);
    });
    WNDCLASS C{};
    C.style = ClassStyle;
    C.lpfnWndProc = MakeWndProc(&DefWindowProc);
    C.lpszClassName = ClassName;
    RegisterClass(&C);
    Wnd = CreateWindowEx(0, ClassName, "", WS_POPUP | WS_VISIBLE, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top,
                         nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtr(Wnd, GWL_WNDPROC, WndProcToLong(Proc));
  }
  ~LogWindow() {
    if (IsWindow(Wnd)) DestroyWindow(Wnd);
    FreeObjectInstance(Proc);
  }
  int Count(UINT Msg) const {
    int N = 0;
    for (const Logged& L : Log) N += L.Msg == Msg;
    return N;
  }
  std::vector<Logged> Only(std::initializer_list<UINT> Msgs) const {
    std::vector<Logged> Out;
    for (const Logged& L : Log)
      for (UINT M : Msgs)
        if (L.Msg == M) Out.push_back(L);
    return Out;
  }
};

void Click(X11Session& S, int X, int Y) {
  S.Peer.MovePointer(X, Y);
  S.Peer.Button(1, true);
  S.Peer.Button(1, false);
}

void Tap(X11Session& S, unsigned long Keysym) {
  S.Peer.Key(Keysym, true);
  S.Peer.Key(Keysym, false);
}

constexpr unsigned long XkShiftL = 0xffe1, XkControlL = 0xffe3;

}  // namespace

TEST(X11Input, AClickGivesOneButtonDownAndUpAndTwoMakeADoubleClick) {
  X11Session S;
  LogWindow W({100, 100, 300, 200}, CS_DBLCLKS, "X11TestLogDbl");
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(W.Wnd); }));
  Click(S, 150, 150);
  ASSERT_TRUE(PumpUntil([&] { return W.Count(WM_LBUTTONUP) == 1; }));
  EXPECT_EQ(W.Count(WM_LBUTTONDOWN), 1);
  const std::vector<Logged> Down = W.Only({WM_LBUTTONDOWN});
  EXPECT_EQ(GET_X_LPARAM(Down[0].LParam), 50);
  EXPECT_EQ(GET_Y_LPARAM(Down[0].LParam), 50);
  Click(S, 150, 150);
  EXPECT_TRUE(PumpUntil([&] { return W.Count(WM_LBUTTONDBLCLK) == 1; }));
}

TEST(X11Input, AClickOnAControlRunsItsOnClickOnce) {
  X11Session S;
  TOwned<uitest::TTestForm> Form = CreateOwned<uitest::TTestForm>(nullptr);
  Form->SetBounds(100, 100, 300, 200);
  auto* Button = Create<uitest::TTestPanel>(Form.get());
  Button->SetParent(Form.get());
  Button->SetBounds(20, 20, 100, 30);  // 120..220 x 120..150 on the screen
  int Clicks = 0;
  Button->OnClick = [&](TObject*) { ++Clicks; };
  Form->Show();
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Form->Handle()); }));
  Click(S, 150, 135);
  EXPECT_TRUE(PumpUntil([&] { return Clicks > 0; }));
  testsupport::PumpFor(100);
  EXPECT_EQ(Clicks, 1);
}

TEST(X11Input, AWheelNotchGoesToTheWindowUnderThePointerNotTheFocusedOne) {
  X11Session S;
  LogWindow W({100, 100, 300, 200});
  LogWindow Focused({400, 100, 600, 200}, 0, "X11TestLogFocused");
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(W.Wnd) && S.Viewable(Focused.Wnd); }));
  SetFocus(Focused.Wnd);
  S.Peer.MovePointer(150, 150);
  S.Peer.Button(4, true);
  S.Peer.Button(4, false);
  ASSERT_TRUE(PumpUntil([&] { return W.Count(WM_MOUSEWHEEL) == 1; }));
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(W.Only({WM_MOUSEWHEEL})[0].WParam), 120);
  EXPECT_EQ(Focused.Count(WM_MOUSEWHEEL), 0);
}

TEST(X11Input, LeavingForAnotherProgramsWindowEndsMouseTracking) {
  X11Session S;
  LogWindow W({100, 100, 300, 200});
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(W.Wnd); }));
  S.Peer.OpenWindow({300, 100, 500, 200}, false);
  S.Peer.MovePointer(150, 150);
  ASSERT_TRUE(PumpUntil([&] { return W.Count(WM_MOUSEMOVE) > 0; }));
  TRACKMOUSEEVENT T{};
  T.dwFlags = TME_LEAVE;
  T.hwndTrack = W.Wnd;
  TrackMouseEvent(&T);
  S.Peer.MovePointer(400, 150);
  EXPECT_TRUE(PumpUntil([&] { return W.Count(WM_MOUSELEAVE) == 1; }));
  EXPECT_EQ(WindowFromPoint(POINT{400, 150}), nullptr);
}

TEST(X11Input, TypingGivesOneCharacterPerKeyFromTheLayout) {
  X11Session S;
  LogWindow W({100, 100, 300, 200});
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(W.Wnd); }));
  SetForegroundWindow(W.Wnd);
  SetFocus(W.Wnd);
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.FocusWindow() == S.XWindow(W.Wnd); }));
  Tap(S, 'a');
  S.Peer.Key(XkShiftL, true);
  Tap(S, 'b');
  S.Peer.Key(XkShiftL, false);
  Tap(S, '1');
  S.Peer.Key(XkControlL, true);
  Tap(S, 'c');
  S.Peer.Key(XkControlL, false);
  ASSERT_TRUE(PumpUntil([&] { return W.Count(WM_CHAR) >= 4 && W.Count(WM_KEYUP) >= 6; }));
  testsupport::PumpFor(50);
  std::vector<char32_t> Chars;
  for (const Logged& L : W.Only({WM_CHAR})) Chars.push_back(static_cast<char32_t>(L.WParam));
  EXPECT_EQ(Chars, (std::vector<char32_t>{'a', 'B', '1', 3}));
  // Each character follows its key's WM_KEYDOWN.
  const std::vector<Logged> Keys = W.Only({WM_KEYDOWN, WM_CHAR});
  ASSERT_GE(Keys.size(), 2u);
  EXPECT_EQ(Keys[0].Msg, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(Keys[0].WParam, static_cast<WPARAM>('A'));
  EXPECT_EQ(Keys[1].Msg, static_cast<UINT>(WM_CHAR));
}

TEST(X11Input, AHeldKeyRepeatsAndEndsWithOneKeyUp) {
  X11Session S;
  S.Peer.SetAutoRepeat(100, 30);
  LogWindow W({100, 100, 300, 200});
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(W.Wnd); }));
  SetForegroundWindow(W.Wnd);
  SetFocus(W.Wnd);
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.FocusWindow() == S.XWindow(W.Wnd); }));
  S.Peer.Key('x', true);
  const bool Repeated = PumpUntil(
      [&] {
        for (const Logged& L : W.Only({WM_KEYDOWN}))
          if ((HIWORD(static_cast<DWORD>(L.LParam)) & KF_REPEAT) != 0) return true;
        return false;
      },
      std::chrono::milliseconds(5000));
  S.Peer.Key('x', false);
  EXPECT_TRUE(Repeated);
  ASSERT_TRUE(PumpUntil([&] { return W.Count(WM_KEYUP) == 1; }));
  testsupport::PumpFor(100);
  EXPECT_EQ(W.Count(WM_KEYUP), 1);
  EXPECT_EQ(W.Count(WM_CHAR), W.Count(WM_KEYDOWN));
}

TEST(X11Input, AnotherProgramTakingTheFocusDeactivatesAndReleasesHeldKeys) {
  X11Session S;
  LogWindow W({100, 100, 300, 200});
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(W.Wnd); }));
  SetForegroundWindow(W.Wnd);
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.FocusWindow() == S.XWindow(W.Wnd); }));
  SetFocus(W.Wnd);
  S.Peer.Key(XkControlL, true);
  ASSERT_TRUE(PumpUntil([&] { return GetKeyState(VK_CONTROL) < 0; }));
  W.Log.clear();
  S.Peer.OpenWindow({400, 100, 500, 200}, true);
  EXPECT_TRUE(PumpUntil([&] {
    for (const Logged& L : W.Only({WM_ACTIVATEAPP}))
      if (L.WParam == FALSE) return true;
    return false;
  }));
  EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "Ctrl must not stick after the focus left";
  S.Peer.Key(XkControlL, false);

  SetForegroundWindow(W.Wnd);
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.FocusWindow() == S.XWindow(W.Wnd); }));
  EXPECT_EQ(GetActiveWindow(), W.Wnd);
}

namespace {

// Inside the menu's loop: notes the menu's window, then another program takes the focus.
X11Session* FocusThief = nullptr;
HWND MenuOwner = nullptr;
HWND OpenMenuWindow = nullptr;
bool MenuOverrideRedirect = false;
void TakeFocusFromMenu(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  for (win::Window* W : FocusThief->Manager->TopLevels())
    if (W->Handle != MenuOwner && IsWindowVisible(W->Handle)) OpenMenuWindow = W->Handle;
  if (OpenMenuWindow) MenuOverrideRedirect = FocusThief->Peer.OverrideRedirect(FocusThief->XWindow(OpenMenuWindow));
  FocusThief->Peer.OpenWindow({600, 100, 700, 200}, true);
}

}  // namespace

TEST(X11Input, AnotherProgramTakingTheFocusEndsAnOpenPopupMenu) {
  X11Session S;
  LogWindow W({100, 100, 300, 200});
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(W.Wnd); }));
  SetForegroundWindow(W.Wnd);
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.FocusWindow() == S.XWindow(W.Wnd); }));
  HMENU Menu = CreatePopupMenu();
  AppendMenu(Menu, MF_STRING, 11, "&Open");
  AppendMenu(Menu, MF_STRING, 12, "&Delete");
  FocusThief = &S;
  MenuOwner = W.Wnd;
  OpenMenuWindow = nullptr;
  SetTimer(nullptr, 0, 200, TakeFocusFromMenu);
  const auto T0 = std::chrono::steady_clock::now();
  EXPECT_EQ(TrackPopupMenu(Menu, TPM_RETURNCMD, 150, 150, 0, W.Wnd, nullptr), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - T0, std::chrono::seconds(5));
  ASSERT_NE(OpenMenuWindow, nullptr);
  EXPECT_TRUE(MenuOverrideRedirect) << "a popup menu never takes the focus";
  EXPECT_FALSE(IsWindow(OpenMenuWindow) && IsWindowVisible(OpenMenuWindow));
  EXPECT_TRUE(PumpUntil([&] {
    for (const Logged& L : W.Only({WM_ACTIVATEAPP}))
      if (L.WParam == FALSE) return true;
    return false;
  }));
  DestroyMenu(Menu);
  FocusThief = nullptr;
}

TEST(X11Input, TheCursorPositionAndButtonsAreTheDesktops) {
  X11Session S;
  LogWindow W({100, 100, 300, 200});
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(W.Wnd); }));
  S.Peer.MovePointer(700, 500);  // over no window of ours
  S.Peer.Button(1, true);
  POINT P{};
  GetCursorPos(&P);
  EXPECT_EQ(P.X, 700);
  EXPECT_EQ(P.Y, 500);
  EXPECT_LT(GetAsyncKeyState(VK_LBUTTON), 0);
  S.Peer.Button(1, false);
  EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON), 0);
}

TEST(X11Input, CaptureWithoutAButtonGrabsThePointerUntilReleasedOrDestroyed) {
  X11Session S;
  LogWindow W({100, 100, 300, 200});
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(W.Wnd); }));
  SetCapture(W.Wnd);
  EXPECT_EQ(S.Peer.TryGrabPointer(), 1) << "AlreadyGrabbed";
  // A click on the other program's part of the screen reaches the capturing window.
  Click(S, 700, 500);
  EXPECT_TRUE(PumpUntil([&] { return W.Count(WM_LBUTTONDOWN) == 1; }));
  ReleaseCapture();
  PumpUntil([] { return true; });
  EXPECT_EQ(S.Peer.TryGrabPointer(), 0) << "GrabSuccess";

  SetCapture(W.Wnd);
  EXPECT_EQ(S.Peer.TryGrabPointer(), 1);
  DestroyWindow(W.Wnd);
  EXPECT_EQ(S.Peer.TryGrabPointer(), 0);
}

namespace {

X11Peer::DragResult DragFromOther(unsigned long Target, int X, int Y, const std::string& List) {
  std::future<X11Peer::DragResult> F = std::async(std::launch::async, [=] {
    X11Peer Other;
    return Other.DragFiles(Target, X, Y, List);
  });
  PumpUntil([&] { return F.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; },
            std::chrono::milliseconds(15000));
  return F.get();
}

}  // namespace

TEST(X11Input, FilesDroppedByAnotherProgramArriveAsWmDropFiles) {
  X11Session S;
  LogWindow W({100, 100, 300, 200});
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(W.Wnd); }));
  EXPECT_EQ(S.Peer.Property(S.XWindow(W.Wnd), "XdndAware", "ATOM"), std::vector<long>{5});

  // A window that takes no files refuses, and nothing comes.
  X11Peer::DragResult R = DragFromOther(S.XWindow(W.Wnd), 150, 140, "file:///data/c.avi");
  EXPECT_TRUE(R.StatusCame);
  EXPECT_FALSE(R.Accepted);
  testsupport::PumpFor(50);
  EXPECT_EQ(W.Count(WM_DROPFILES), 0);

  DragAcceptFiles(W.Wnd, TRUE);
  R = DragFromOther(S.XWindow(W.Wnd), 150, 140, "file:///data/a%20b.mp4\r\nfile:///data/c.avi");
  EXPECT_TRUE(R.Accepted);
  EXPECT_TRUE(R.Finished);
  EXPECT_TRUE(R.FinishedAccepted);
  ASSERT_TRUE(PumpUntil([&] { return W.Count(WM_DROPFILES) == 1; }));
  const HDROP Drop = reinterpret_cast<HDROP>(W.Only({WM_DROPFILES})[0].WParam);
  ASSERT_EQ(DragQueryFile(Drop, 0xFFFFFFFF, nullptr, 0), 2u);
  char Path[256];
  DragQueryFile(Drop, 0, Path, sizeof Path);
  EXPECT_STREQ(Path, "/data/a b.mp4");
  DragQueryFile(Drop, 1, Path, sizeof Path);
  EXPECT_STREQ(Path, "/data/c.avi");
  POINT At{};
  DragQueryPoint(Drop, &At);
  EXPECT_EQ(At.X, 50);
  EXPECT_EQ(At.Y, 40);
  DragFinish(Drop);

  // No local file in it: the drop is finished as refused.
  R = DragFromOther(S.XWindow(W.Wnd), 150, 140, "http://example.org/a.mp4");
  EXPECT_TRUE(R.Accepted);
  EXPECT_FALSE(R.FinishedAccepted);

  // A list too long for one property (thousands of files) comes in chunks: none is lost.
  std::string Long;
  for (int I = 0; I < 4000; ++I) Long += "file:///data/clip%20" + std::to_string(I) + ".mp4\r\n";
  R = DragFromOther(S.XWindow(W.Wnd), 150, 140, Long);
  EXPECT_TRUE(R.SentInChunks);
  EXPECT_TRUE(R.FinishedAccepted);
  ASSERT_TRUE(PumpUntil([&] { return W.Count(WM_DROPFILES) == 2; }));
  const HDROP LongDrop = reinterpret_cast<HDROP>(W.Only({WM_DROPFILES})[1].WParam);
  ASSERT_EQ(DragQueryFile(LongDrop, 0xFFFFFFFF, nullptr, 0), 4000u);
  DragQueryFile(LongDrop, 0, Path, sizeof Path);
  EXPECT_STREQ(Path, "/data/clip 0.mp4");
  DragQueryFile(LongDrop, 3999, Path, sizeof Path);
  EXPECT_STREQ(Path, "/data/clip 3999.mp4");
  DragFinish(LongDrop);
}

TEST(X11Input, MovingOntoAnotherProgramsWindowGivesCmMouseLeaveToTheControlLeft) {
  X11Session S;
  TOwned<uitest::TTestForm> Form = CreateOwned<uitest::TTestForm>(nullptr);
  Form->SetBounds(100, 100, 300, 200);
  auto* Panel = Create<uitest::TTestPanel>(Form.get());
  Panel->SetName("Panel");
  Panel->SetParent(Form.get());
  Panel->SetBounds(20, 20, 150, 100);  // 120..270 x 120..220 on the screen
  std::vector<std::string> Log;
  Panel->Log = &Log;
  Form->Show();
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Form->Handle()); }));
  // The other program's window lies over the right part of the panel.
  S.Peer.OpenWindow({200, 140, 400, 260}, false);
  auto Idle = [&](const char* Last) {
    return PumpUntil([&] {
      DoMouseIdle();  // what the application does when its queue is empty
      return !Log.empty() && Log.back() == Last;
    });
  };
  S.Peer.MovePointer(150, 150);
  ASSERT_TRUE(Idle("enter Panel"));
  S.Peer.MovePointer(230, 170);  // still the panel's place, but the other window is on top
  EXPECT_TRUE(Idle("leave Panel"));
  EXPECT_EQ(Log, (std::vector<std::string>{"enter Panel", "leave Panel"}));
  // Back onto the panel's uncovered part it is entered again.
  S.Peer.MovePointer(140, 200);
  EXPECT_TRUE(Idle("enter Panel"));
}

TEST(X11Input, TheControlUnderThePointerLeavesAtOnceWhenItsFormIsHidden) {
  // A dialog closed by a click on its button: the button must not keep its hover look
  // (and the glow window it shows with it) while the next modal box runs, before any idle.
  X11Session S;
  TOwned<uitest::TTestForm> Form = CreateOwned<uitest::TTestForm>(nullptr);
  Form->SetBounds(100, 100, 300, 200);
  auto* Button = Create<uitest::TTestPanel>(Form.get());
  Button->SetName("Button");
  Button->SetParent(Form.get());
  Button->SetBounds(20, 20, 100, 30);  // 120..220 x 120..150 on the screen
  std::vector<std::string> Log;
  Button->Log = &Log;
  Form->Show();
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Form->Handle()); }));
  S.Peer.MovePointer(150, 135);
  ASSERT_TRUE(PumpUntil([&] {
    DoMouseIdle();
    return !Log.empty() && Log.back() == "enter Button";
  }));
  Form->Hide();
  EXPECT_EQ(Log, (std::vector<std::string>{"enter Button", "leave Button"}));
  EXPECT_EQ(MouseControl(), nullptr);
}
