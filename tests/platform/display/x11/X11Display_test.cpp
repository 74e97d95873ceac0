// The X11 display on a virtual X server without a window manager: windows, their hints,
// what the server shows of them, shapes, layered blending and the work area.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/win/Layered.h"
#include "platform/win/Regions.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowRegion.h"
#include "tests/platform/display/x11/X11TestSession.h"
#include "tests/support/RealTimeModal.h"

using namespace vantrel;
using namespace vantrel::x11test;

namespace {

// The same area, however it is cut into rectangles.
bool SameArea(const std::vector<RECT>& A, const std::vector<RECT>& B) {
  win::Region RA(A.data(), A.size()), RB(B.data(), B.size());
  win::Region Diff = RA;
  Diff.Subtract(RB);
  win::Region Diff2 = RB;
  Diff2.Subtract(RA);
  return Diff.Empty() && Diff2.Empty();
}

bool AreaContains(const std::vector<RECT>& Rects, int X, int Y) {
  for (const RECT& R : Rects)
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return true;
  return false;
}

}  // namespace

TEST(X11Display, AFormIsAnUndecoratedXWindowAtItsPlaceShowingWhatItDrew) {
  X11Session S;
  TApplicationInstance App;
  TForm* Form = nullptr;
  Application->CreateForm(Form);
  Form->SetBounds(100, 80, 300, 200);
  Form->SetCaption("Grüße");
  Form->Show();
  const HWND Wnd = Form->Handle();
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Wnd); }));
  const unsigned long X = S.XWindow(Wnd);
  EXPECT_EQ(S.Peer.RootOrigin(X).X, 100);
  EXPECT_EQ(S.Peer.RootOrigin(X).Y, 80);
  const RECT G = S.Peer.Geometry(X);
  EXPECT_EQ(G.Right - G.Left, 300);
  EXPECT_EQ(G.Bottom - G.Top, 200);
  EXPECT_FALSE(S.Peer.OverrideRedirect(X));
  const std::vector<long> Motif = S.Peer.Property(X, "_MOTIF_WM_HINTS", "_MOTIF_WM_HINTS");
  ASSERT_EQ(Motif.size(), 5u);
  EXPECT_EQ(Motif[0] & 2, 2);  // decorations given
  EXPECT_EQ(Motif[2], 0);      // and none
  EXPECT_EQ(S.Peer.ClassName(X), "Vantrel");
  EXPECT_EQ(S.Peer.Utf8Property(X, "_NET_WM_NAME"), "Grüße");

  // The server shows exactly what the form drew.
  const win::Surface Drawn = S.Capture(Wnd);
  std::vector<uint32_t> Expected;
  for (int Y = 0; Y < Drawn.Height(); ++Y)
    for (int Xp = 0; Xp < Drawn.Width(); ++Xp) Expected.push_back(Drawn.Row(Y)[Xp] & 0xFFFFFF);
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.WindowPixels(X, 300, 200) == Expected; }));
}

TEST(X11Display, OwnershipGivesTransientDialogsOnlyToFormsOwnedByForms) {
  X11Session S;
  TApplicationInstance App;
  const HWND AppWnd = Application->Handle();
  const DWORD Frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  const HWND Main = S.Fill(0, Frame, {50, 50, 350, 250}, RGB(200, 200, 200), AppWnd);
  const HWND Dialog = S.Fill(0, Frame, {100, 100, 300, 200}, RGB(100, 100, 100), Main);
  const HWND Menu = S.Fill(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, WS_POPUP | WS_VISIBLE,
                           {400, 100, 500, 300}, RGB(255, 255, 255), Main);
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Main) && S.Viewable(Dialog) && S.Viewable(Menu); }));

  EXPECT_EQ(S.XWindow(AppWnd), 0u) << "the application's hidden window is no X window";

  const long Dlg = static_cast<long>(S.Peer.AtomOf("_NET_WM_WINDOW_TYPE_DIALOG"));
  const long Normal = static_cast<long>(S.Peer.AtomOf("_NET_WM_WINDOW_TYPE_NORMAL"));
  const long SkipTaskbar = static_cast<long>(S.Peer.AtomOf("_NET_WM_STATE_SKIP_TASKBAR"));
  const unsigned long MainX = S.XWindow(Main), DialogX = S.XWindow(Dialog);
  EXPECT_EQ(S.Peer.TransientFor(MainX), 0u);
  EXPECT_EQ(S.Peer.Property(MainX, "_NET_WM_WINDOW_TYPE", "ATOM"), std::vector<long>{Normal});
  const std::vector<long> MainState = S.Peer.Property(MainX, "_NET_WM_STATE", "ATOM");
  EXPECT_EQ(std::find(MainState.begin(), MainState.end(), SkipTaskbar), MainState.end());

  EXPECT_EQ(S.Peer.TransientFor(DialogX), MainX);
  EXPECT_EQ(S.Peer.Property(DialogX, "_NET_WM_WINDOW_TYPE", "ATOM"), std::vector<long>{Dlg});
  const std::vector<long> State = S.Peer.Property(DialogX, "_NET_WM_STATE", "ATOM");
  EXPECT_NE(std::find(State.begin(), State.end(), SkipTaskbar), State.end());

  EXPECT_TRUE(S.Peer.OverrideRedirect(S.XWindow(Menu))) << "a popup menu window never takes the focus";
  EXPECT_FALSE(S.Peer.OverrideRedirect(MainX));
}

TEST(X11Display, AModalDialogStandsOverTheFormItBlocksAndAModelessShowStandsAlone) {
  X11Session S;
  TApplicationInstance App;
  TForm* Main = nullptr;
  TForm* Dialog = nullptr;
  Application->CreateForm(Main);
  Application->CreateForm(Dialog);
  Main->SetBounds(100, 100, 400, 300);
  Dialog->SetBounds(200, 150, 200, 120);
  Main->Show();
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Main->Handle()); }));
  const unsigned long MainX = S.XWindow(Main->Handle());
  const long Modal = static_cast<long>(S.Peer.AtomOf("_NET_WM_STATE_MODAL"));
  const long SkipTaskbar = static_cast<long>(S.Peer.AtomOf("_NET_WM_STATE_SKIP_TASKBAR"));
  const long DialogType = static_cast<long>(S.Peer.AtomOf("_NET_WM_WINDOW_TYPE_DIALOG"));
  const long NormalType = static_cast<long>(S.Peer.AtomOf("_NET_WM_WINDOW_TYPE_NORMAL"));
  auto Has = [](const std::vector<long>& List, long Item) {
    return std::find(List.begin(), List.end(), Item) != List.end();
  };

  struct Seen {
    unsigned long TransientFor = 1;
    std::vector<long> State, Type;
  } AsModal;
  {
    testsupport::RealTimeModal Loop(std::chrono::milliseconds(20000));
    Loop.OnStep = [&] {
      if (Dialog->ModalResult() != mrNone || !S.Viewable(Dialog->Handle())) return;
      const unsigned long X = S.XWindow(Dialog->Handle());
      AsModal = {S.Peer.TransientFor(X), S.Peer.Property(X, "_NET_WM_STATE", "ATOM"),
                 S.Peer.Property(X, "_NET_WM_WINDOW_TYPE", "ATOM")};
      Dialog->SetModalResult(mrOk);
    };
    Loop.OnDeadline = [&] { Dialog->SetModalResult(mrCancel); };
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
  }
  // Both forms belong to the application's hidden window; shown modally, the dialog is
  // the blocked main form's, so a desktop keeps it above that form and in its group.
  EXPECT_EQ(AsModal.TransientFor, MainX);
  EXPECT_TRUE(Has(AsModal.State, Modal));
  EXPECT_TRUE(Has(AsModal.State, SkipTaskbar));
  EXPECT_EQ(AsModal.Type, std::vector<long>{DialogType});

  // Shown again without a modal loop, the same X window is a form of its own.
  ASSERT_TRUE(PumpUntil([&] { return !S.Viewable(Dialog->Handle()); }));
  Dialog->Show();
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Dialog->Handle()); }));
  const unsigned long DialogX = S.XWindow(Dialog->Handle());
  EXPECT_EQ(S.Peer.TransientFor(DialogX), 0u);
  EXPECT_FALSE(Has(S.Peer.Property(DialogX, "_NET_WM_STATE", "ATOM"), Modal));
  EXPECT_EQ(S.Peer.Property(DialogX, "_NET_WM_WINDOW_TYPE", "ATOM"), std::vector<long>{NormalType});
}

TEST(X11Display, AWindowWithoutASizingBorderTellsTheDesktopItsOneSize) {
  X11Session S;
  // WM_NORMAL_HINTS as 32-bit items: flags, 4 obsolete, then min and max width and height.
  constexpr long MinMaxFlags = (1L << 4) | (1L << 5);  // PMinSize | PMaxSize
  struct Hints {
    long Flags = 0, MinW = 0, MinH = 0, MaxW = 0, MaxH = 0;
  };
  auto Read = [&](HWND Wnd) {
    const std::vector<long> P = S.Peer.Property(S.XWindow(Wnd), "WM_NORMAL_HINTS", "WM_SIZE_HINTS");
    Hints H;
    if (P.size() >= 9) H = {P[0], P[5], P[6], P[7], P[8]};
    return H;
  };
  const HWND Fixed = S.Fill(0, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {100, 100, 400, 300}, RGB(5, 5, 5));
  const HWND Sizable = S.Fill(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, {500, 100, 700, 250}, RGB(6, 6, 6));
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Fixed) && S.Viewable(Sizable); }));

  Hints H = Read(Fixed);
  EXPECT_EQ(H.Flags & MinMaxFlags, MinMaxFlags);
  EXPECT_EQ(H.MinW, 300);
  EXPECT_EQ(H.MaxW, 300);
  EXPECT_EQ(H.MinH, 200);
  EXPECT_EQ(H.MaxH, 200);
  EXPECT_EQ(Read(Sizable).Flags & MinMaxFlags, 0) << "a sizing border leaves the size to the desktop too";

  // Resized by the program (its skinned frame, say), the one size follows.
  SetWindowPos(Fixed, nullptr, 100, 100, 360, 240, SWP_NOZORDER | SWP_NOACTIVATE);
  PumpUntil([] { return true; });
  H = Read(Fixed);
  EXPECT_EQ(H.MinW, 360);
  EXPECT_EQ(H.MaxW, 360);
  EXPECT_EQ(H.MinH, 240);
  EXPECT_EQ(H.MaxH, 240);
}

TEST(X11Display, AZeroSizeWindowIsNeverMapped) {
  X11Session S;
  const HWND Wnd = S.Fill(0, WS_POPUP | WS_VISIBLE, {10, 10, 10, 10}, RGB(1, 2, 3));
  testsupport::PumpFor(50);
  const unsigned long X = S.XWindow(Wnd);
  ASSERT_NE(X, 0u);
  EXPECT_TRUE(S.Peer.Unmapped(X));
  EXPECT_EQ(S.Peer.Geometry(X).Right - S.Peer.Geometry(X).Left, 1);
  SetWindowPos(Wnd, nullptr, 10, 10, 40, 30, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(PumpUntil([&] { return S.Viewable(Wnd); }));
}

TEST(X11Display, AWindowRegionIsTheXShape) {
  X11Session S;
  const HWND Wnd = S.Fill(0, WS_POPUP | WS_VISIBLE, {200, 150, 360, 270}, RGB(0, 128, 255));
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Wnd); }));
  HRGN Ellipse = CreateEllipticRgn(0, 0, 160, 120);
  const DWORD Size = GetRegionData(Ellipse, 0, nullptr);
  std::vector<char> Buffer(Size);
  auto* Data = reinterpret_cast<RGNDATA*>(Buffer.data());
  ASSERT_EQ(GetRegionData(Ellipse, Size, Data), Size);
  const RECT* First = reinterpret_cast<const RECT*>(Data->Buffer);
  const std::vector<RECT> Expected(First, First + Data->rdh.nCount);
  ASSERT_GT(Expected.size(), 10u);
  SetWindowRgn(Wnd, Ellipse, TRUE);
  EXPECT_TRUE(PumpUntil([&] { return SameArea(S.Peer.Shape(S.XWindow(Wnd), false), Expected); }));
  // The corners are cut away: the screen shows the desktop there, the colour inside.
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(280, 210) == ScreenColor(RGB(0, 128, 255)); }));
  EXPECT_NE(S.Peer.ScreenPixel(201, 151), ScreenColor(RGB(0, 128, 255)));

  SetWindowRgn(Wnd, nullptr, TRUE);
  EXPECT_TRUE(PumpUntil([&] { return SameArea(S.Peer.Shape(S.XWindow(Wnd), false), {RECT{0, 0, 160, 120}}); }));
}

TEST(X11Display, ATransparentLayerWindowLetsClicksThrough) {
  X11Session S;
  const HWND Layer = S.Fill(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP,
                            {100, 100, 200, 200}, RGB(10, 20, 30));
  SetLayeredWindowAttributes(Layer, 0, 255, LWA_ALPHA);
  ShowWindow(Layer, SW_SHOWNA);
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Layer); }));
  EXPECT_TRUE(S.Peer.OverrideRedirect(S.XWindow(Layer)));
  EXPECT_TRUE(S.Peer.Shape(S.XWindow(Layer), true).empty());
  EXPECT_FALSE(S.Peer.Shape(S.XWindow(Layer), false).empty());
}

TEST(X11Display, WithoutACompositorAFadedFormIsBlendedOverTheFormBelow) {
  X11Session S;
  const COLORREF Red = RGB(255, 0, 0), Src = RGB(20, 200, 90);
  const HWND Under = S.Fill(0, WS_POPUP | WS_VISIBLE, {100, 100, 400, 300}, Red);
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Under) && S.Peer.ScreenPixel(150, 150) == 0xFF0000; }));
  // A managed form that turns layered later, for a fade.
  const HWND Fade = S.Fill(0, WS_POPUP | WS_CAPTION | WS_VISIBLE, {200, 150, 500, 350}, Src);
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Fade) && S.Peer.ScreenPixel(250, 200) == ScreenColor(Src); }));
  SetWindowLong(Fade, GWL_EXSTYLE, GetWindowLong(Fade, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(Fade, 0, 128, LWA_ALPHA);
  auto Mix = [](uint32_t S, uint32_t D) { return (S * 128 + D * 127 + 127) / 255; };
  const uint32_t OverRed = (Mix(20, 255) << 16) | (Mix(200, 0) << 8) | Mix(90, 0);
  const uint32_t OverDesk = (Mix(20, 0x3A) << 16) | (Mix(200, 0x6E) << 8) | Mix(90, 0xA5);
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(250, 200) == OverRed; }))
      << std::hex << S.Peer.ScreenPixel(250, 200);
  EXPECT_EQ(S.Peer.ScreenPixel(450, 320), OverDesk) << std::hex << S.Peer.ScreenPixel(450, 320);

  // The form below changes colour: the fade is blended again over the new pixels.
  SetWindowLongPtr(Under, GWL_USERDATA, static_cast<LONG_PTR>(RGB(0, 0, 255)));
  InvalidateRect(Under, nullptr, TRUE);
  const uint32_t OverBlue = (Mix(20, 0) << 16) | (Mix(200, 0) << 8) | Mix(90, 255);
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(250, 200) == OverBlue; }))
      << std::hex << S.Peer.ScreenPixel(250, 200);
  EXPECT_FALSE(S.Peer.OverrideRedirect(S.XWindow(Fade))) << "a form that turns layered later stays managed";
}

TEST(X11Display, AlphaZeroPixelsOfAPerPixelWindowLieOutsideItsShape) {
  X11Session S;
  const HWND Wnd = CreateWindowEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW, FillClass, "", WS_POPUP, 300, 300, 40, 20,
                                  nullptr, nullptr, nullptr, nullptr);
  // Left half opaque white, right half fully transparent.
  BITMAPINFO BI{};
  BI.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  BI.bmiHeader.biWidth = 40;
  BI.bmiHeader.biHeight = -20;
  BI.bmiHeader.biPlanes = 1;
  BI.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  HBITMAP Bmp = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
  auto* P = static_cast<uint32_t*>(Bits);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 40; ++X) P[Y * 40 + X] = X < 20 ? 0xFFFFFFFFu : 0;
  HDC Mem = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Mem, Bmp);
  const POINT Origin{0, 0};
  const SIZE Size{40, 20};
  BLENDFUNCTION Blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(UpdateLayeredWindow(Wnd, nullptr, nullptr, &Size, Mem, &Origin, 0, &Blend, ULW_ALPHA));
  SelectObject(Mem, Old);
  DeleteDC(Mem);
  DeleteObject(Bmp);
  ShowWindow(Wnd, SW_SHOWNA);
  ASSERT_TRUE(PumpUntil([&] {
    if (!S.Viewable(Wnd)) return false;
    const std::vector<RECT> Shape = S.Peer.Shape(S.XWindow(Wnd), false);
    return AreaContains(Shape, 5, 5) && !AreaContains(Shape, 30, 5);
  }));
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(305, 305) == 0xFFFFFFu; }));
}

TEST(X11Display, TheWorkAreaFollowsTheRootProperty) {
  X11Session S;
  TApplicationInstance App;
  S.Peer.SetRootCardinals("_NET_WORKAREA", {0, 0, 1280, 760});
  auto SystemArea = [] {
    RECT R{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    return R;
  };
  EXPECT_TRUE(PumpUntil([&] { return SystemArea().Bottom == 760; }));
  const TRect R = Screen->WorkAreaRect();
  EXPECT_EQ(R.Left, 0);
  EXPECT_EQ(R.Top, 0);
  EXPECT_EQ(R.Right, 1280);
  EXPECT_EQ(R.Bottom, 760);

  S.Peer.DeleteRootProperty("_NET_WORKAREA");
  EXPECT_TRUE(PumpUntil([&] { return SystemArea().Bottom == 800; }));
  EXPECT_EQ(Screen->WorkAreaRect().Right, 1280);
}

TEST(X11Display, TheScreenCopyReadsTheServer) {
  X11Session S;
  const HWND Wnd = S.Fill(0, WS_POPUP | WS_VISIBLE, {20, 30, 120, 90}, RGB(1, 250, 3));
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(50, 50) == ScreenColor(RGB(1, 250, 3)); }));
  win::Surface Out(1280, 800, false);
  ASSERT_TRUE(S.Display->ComposeScreen(Out));
  EXPECT_EQ(Out.Row(50)[50], ScreenColor(RGB(1, 250, 3)));
  DestroyWindow(Wnd);
}

TEST(X11Display, MinimizingTakesTheWindowAwayAndRestoringBringsItBack) {
  X11Session S;
  const HWND Wnd = S.Fill(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 300, 250}, RGB(9, 9, 9));
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Wnd); }));
  ShowWindow(Wnd, SW_MINIMIZE);
  // No window manager here to keep an icon: the window leaves the screen.
  EXPECT_TRUE(PumpUntil([&] { return !S.Viewable(Wnd); }));
  ShowWindow(Wnd, SW_RESTORE);
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Wnd); }));
  EXPECT_EQ(S.Peer.RootOrigin(S.XWindow(Wnd)).X, 100);
  EXPECT_EQ(S.Peer.RootOrigin(S.XWindow(Wnd)).Y, 100);
}

TEST(X11Display, MinimizingTheApplicationTakesEveryVisibleFormAwayUntilRestored) {
  X11Session S;
  TApplicationInstance App;
  TForm* Main = nullptr;
  TForm* Second = nullptr;
  Application->CreateForm(Main);
  Application->CreateForm(Second);
  Main->SetBounds(100, 100, 300, 200);
  Second->SetBounds(500, 100, 200, 150);
  Main->Show();
  Second->Show();
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Main->Handle()) && S.Viewable(Second->Handle()); }));
  Application->Minimize();
  EXPECT_TRUE(IsIconic(Main->Handle()));
  EXPECT_TRUE(IsIconic(Second->Handle()));
  EXPECT_TRUE(PumpUntil([&] { return !S.Viewable(Main->Handle()) && !S.Viewable(Second->Handle()); }));
  EXPECT_NE(S.XWindow(Main->Handle()), 0u) << "the form keeps its X window";
  Application->Restore();
  EXPECT_TRUE(PumpUntil([&] { return S.Viewable(Main->Handle()) && S.Viewable(Second->Handle()); }));
  EXPECT_FALSE(IsIconic(Main->Handle()));
  EXPECT_EQ(S.Peer.RootOrigin(S.XWindow(Second->Handle())).X, 500);
}
