// The layer manager on the headless display: the fade on the virtual clock, replacing and
// hiding the layer, and a layer that neither takes the focus nor catches clicks.
#include <gtest/gtest.h>

#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Timers.h"
#include "platform/win/Focus.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowManager.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "tests/support/SkinImageBitmaps.h"

using vantrel::display::HeadlessSession;
using vantrel::test::NewBitmap;

namespace {

// The constant opacity the display gives the window, or -1 when it has none.
int Opacity(HeadlessSession& Session, HWND Wnd) {
  Session.PumpUntilIdle();
  const auto* Native = Session.Display().Native(Wnd);
  return Native ? Native->Alpha : -1;
}

int LayerWindowCount() {
  int Count = 0;
  EnumWindows(
      [](HWND Wnd, LPARAM Param) -> BOOL {
        if (GetClassName(Wnd) == "TspLayerWindow") ++*reinterpret_cast<int*>(Param);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&Count));
  return Count;
}

struct Pictures {
  TOwned<TBitmap> Image = NewBitmap(20, 10, 0xFF0000);
  TOwned<TBitmap> Mask = NewBitmap(20, 10, 0xFFFFFF);
};

DWORD Windows98Version() { return 0x0A04; }  // 4.10

// Records the left clicks a plain window receives.
std::vector<HWND> Clicks;
LRESULT ClickRecorder(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_LBUTTONDOWN) Clicks.push_back(Wnd);
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

}  // namespace

TEST(LayerManager, FadesInOverElevenTicksOf25Ms) {
  struct Case {
    Integer Target;
    std::vector<int> Steps;  // opacity after each 25 ms tick until the timer stops
  } Cases[] = {
      {255, {25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}},
      {100, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
      {0, {0}},
      // Outside 0..255 the target is held to that range rather than wrapping as a byte.
      {300, {25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}},
      {-20, {0}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Target);
    HeadlessSession Session;
    Pictures P;
    auto Manager = CreateOwned<TspLayerManager>(nullptr);
    Manager->Show(100, 80, P.Image.get(), P.Mask.get(), C.Target);
    ASSERT_NE(Manager->LayerWindow, nullptr);
    const HWND Wnd = Manager->LayerWindow->Handle();
    EXPECT_TRUE(Manager->IsVisible);
    EXPECT_TRUE(IsWindowVisible(Wnd));
    RECT R{};
    GetWindowRect(Wnd, &R);
    EXPECT_EQ(R, Rect(100, 80, 120, 90));
    EXPECT_EQ(Opacity(Session, Wnd), 0);
    EXPECT_TRUE(Session.Display().Native(Wnd)->PerPixelAlpha);
    Session.Advance(24);
    EXPECT_EQ(Opacity(Session, Wnd), 0);
    Session.Advance(1);
    std::vector<int> Seen{Opacity(Session, Wnd)};
    while (Manager->Timer->Enabled() && Seen.size() < 20) {
      Session.Advance(25);
      Seen.push_back(Opacity(Session, Wnd));
    }
    EXPECT_EQ(Seen, C.Steps);
    EXPECT_FALSE(Manager->Timer->Enabled());
    Session.Advance(500);
    EXPECT_EQ(Opacity(Session, Wnd), C.Steps.back());
    EXPECT_TRUE(Manager->IsVisible);
  }
}

TEST(LayerManager, SmallTargetNeverFinishesUntilHidden) {
  for (Integer Target : {1, 9}) {
    SCOPED_TRACE(Target);
    HeadlessSession Session;
    Pictures P;
    auto Manager = CreateOwned<TspLayerManager>(nullptr);
    Manager->Show(10, 10, P.Image.get(), P.Mask.get(), Target);
    const HWND Wnd = Manager->LayerWindow->Handle();
    Session.Advance(25 * 40);
    EXPECT_EQ(Opacity(Session, Wnd), 0);
    EXPECT_TRUE(Manager->Timer->Enabled());
    Manager->Hide();
    EXPECT_FALSE(Manager->Timer->Enabled());
    EXPECT_FALSE(Manager->IsVisible);
    EXPECT_EQ(Manager->LayerWindow, nullptr);
    EXPECT_EQ(Manager->Bmp, nullptr);
    EXPECT_FALSE(IsWindow(Wnd));
    Session.Advance(100);  // no tick reaches the freed window
  }
}

TEST(LayerManager, ShowingAgainReplacesTheLayerAtTheNewPosition) {
  HeadlessSession Session;
  Pictures P;
  TOwned<TBitmap> Small = NewBitmap(6, 4, 0x00FF00);
  TOwned<TBitmap> SmallMask = NewBitmap(6, 4, 0x808080);
  auto Manager = CreateOwned<TspLayerManager>(nullptr);
  Manager->Show(10, 20, P.Image.get(), P.Mask.get(), 255);
  const HWND First = Manager->LayerWindow->Handle();
  Session.Advance(25 * 3);
  Manager->Show(200, 150, Small.get(), SmallMask.get(), 200);
  const HWND Second = Manager->LayerWindow->Handle();
  EXPECT_FALSE(IsWindow(First));
  EXPECT_EQ(LayerWindowCount(), 1);
  RECT R{};
  GetWindowRect(Second, &R);
  EXPECT_EQ(R, Rect(200, 150, 206, 154));
  // The fade starts again from nothing.
  EXPECT_EQ(Opacity(Session, Second), 0);
  Session.Advance(25);
  EXPECT_EQ(Opacity(Session, Second), 20);
  // The picture takes its alpha from the mask's grey (128); colours never exceed alpha.
  const vantrel::win::Surface S = Session.Capture(Second);
  EXPECT_EQ(S.Row(0)[0], 0x80008000u);
}

TEST(LayerManager, LayerNeverTakesTheFocusAndClicksFallThrough) {
  for (Boolean TopMost : {true, false}) {
    SCOPED_TRACE(TopMost);
    HeadlessSession Session;
    Clicks.clear();
    WNDCLASS Class{};
    Class.lpfnWndProc = MakeWndProc(&ClickRecorder);
    Class.lpszClassName = "LayerTestBelow";
    RegisterClass(&Class);
    const HWND Below = CreateWindowEx(0, "LayerTestBelow", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                      nullptr, nullptr, nullptr);
    SetActiveWindow(Below);
    Session.PumpUntilIdle();
    Pictures P;
    auto Manager = CreateOwned<TspLayerManager>(nullptr);
    Manager->TopMostMode = TopMost;
    Manager->Show(50, 40, P.Image.get(), P.Mask.get(), 255);
    Session.Advance(25 * 11);
    const HWND Layer = Manager->LayerWindow->Handle();
    EXPECT_EQ(GetActiveWindow(), Below);
    EXPECT_EQ(GetFocus(), Below);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLong(Layer, GWL_STYLE)) & ~WS_VISIBLE, WS_POPUP);
    const DWORD ExStyle = static_cast<DWORD>(GetWindowLong(Layer, GWL_EXSTYLE));
    EXPECT_EQ(ExStyle & (WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_LAYERED),
              WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_LAYERED);
    EXPECT_EQ((ExStyle & WS_EX_TOPMOST) != 0, TopMost);
    EXPECT_TRUE(GetClassLong(Layer, GCL_STYLE) & CS_SAVEBITS);
    EXPECT_EQ(SendMessage(Layer, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Layer), 0), MA_NOACTIVATE);

    Session.Press(55, 45);
    Session.Release(55, 45);
    Session.PumpUntilIdle();
    EXPECT_EQ(Clicks, std::vector<HWND>{Below});
    EXPECT_EQ(GetActiveWindow(), Below);
  }
}

TEST(LayerManager, DoesNothingWithoutLayeredWindowsOrPictures) {
  HeadlessSession Session;
  Pictures P;
  auto Manager = CreateOwned<TspLayerManager>(nullptr);
  Manager->Show(0, 0, nullptr, P.Mask.get(), 255);
  Manager->Show(0, 0, P.Image.get(), nullptr, 255);
  EXPECT_EQ(Manager->LayerWindow, nullptr);
  EXPECT_FALSE(Manager->IsVisible);

  vantrel::skin::SetVersionProviderForTest(&Windows98Version);
  Manager->Show(0, 0, P.Image.get(), P.Mask.get(), 255);
  vantrel::skin::SetVersionProviderForTest(nullptr);
  EXPECT_EQ(Manager->LayerWindow, nullptr);
  EXPECT_FALSE(Manager->IsVisible);
  EXPECT_FALSE(Manager->Timer->Enabled());
  EXPECT_EQ(LayerWindowCount(), 0);
}

TEST(LayerManager, FreeingTheManagerMidFadeRemovesItsWindow) {
  HeadlessSession Session;
  Pictures P;
  TOwned<TComponent> Owner = CreateOwned<TComponent>(nullptr);
  auto* Manager = TspLayerManager::Create(Owner.get());
  Manager->Show(5, 5, P.Image.get(), P.Mask.get(), 255);
  const HWND Wnd = Manager->LayerWindow->Handle();
  Session.Advance(50);
  Owner.reset();
  EXPECT_FALSE(IsWindow(Wnd));
  EXPECT_EQ(LayerWindowCount(), 0);
  Session.Advance(100);
}
