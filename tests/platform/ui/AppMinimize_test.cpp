#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/win/MessageQueue.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::uitest::FormsSession;

namespace {

// A hook of the application window, as a tray icon subclasses it: records WM_SIZE.
std::vector<WPARAM> AppSizes;
WNDPROC AppSavedProc = nullptr;
LRESULT AppHookProc(HWND W, UINT M, WPARAM Wp, LPARAM Lp) {
  if (M == WM_SIZE) AppSizes.push_back(Wp);
  return CallWindowProc(AppSavedProc, W, M, Wp, Lp);
}

struct HookedApp {
  HWND App;
  HookedApp() {
    AppSizes.clear();
    App = Application->Handle();
    AppSavedProc = LongToWndProc(SetWindowLongPtr(App, GWL_WNDPROC, WndProcToLong(MakeWndProc(&AppHookProc))));
  }
  ~HookedApp() { SetWindowLongPtr(App, GWL_WNDPROC, WndProcToLong(AppSavedProc)); }
};

TForm* ShownForm(Integer Left) {
  TForm* F = nullptr;
  Application->CreateForm(F);
  F->SetBounds(Left, 10, 200, 150);
  F->Show();
  return F;
}

}  // namespace

TEST(AppMinimize, MinimizeTellsTheApplicationWindowAndIconifiesEveryVisibleForm) {
  FormsSession S;
  TForm* Main = ShownForm(10);
  TForm* Other = ShownForm(300);
  TForm* Hidden = nullptr;
  Application->CreateForm(Hidden);
  Other->SetWindowState(wsMaximized);
  HookedApp Hook;
  Application->Minimize();
  EXPECT_EQ(AppSizes, (std::vector<WPARAM>{SIZE_MINIMIZED}));
  EXPECT_TRUE(IsIconic(Application->Handle()));
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
  EXPECT_TRUE(IsIconic(Main->Handle()));
  EXPECT_TRUE(IsIconic(Other->Handle()));
  EXPECT_TRUE(IsWindowVisible(Main->Handle()));  // iconified, never hidden
  EXPECT_FALSE(Hidden->Visible());
  Application->Restore();
  EXPECT_EQ(AppSizes, (std::vector<WPARAM>{SIZE_MINIMIZED, SIZE_RESTORED}));
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
  EXPECT_FALSE(IsIconic(Main->Handle()));
  EXPECT_EQ(Main->WindowState(), wsNormal);
  EXPECT_TRUE(IsZoomed(Other->Handle()));
  EXPECT_FALSE(Hidden->Visible());
}

TEST(AppMinimize, ShowWindowOnTheApplicationWindowActsAsMinimizeAndRestore) {
  FormsSession S;
  TForm* Main = ShownForm(10);
  HookedApp Hook;
  ShowWindow(Application->Handle(), SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(Main->Handle()));
  ShowWindow(Application->Handle(), SW_HIDE);
  EXPECT_TRUE(IsIconic(Main->Handle()));
  ShowWindow(Application->Handle(), SW_RESTORE);
  EXPECT_FALSE(IsIconic(Main->Handle()));
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
  EXPECT_EQ(AppSizes, (std::vector<WPARAM>{SIZE_MINIMIZED, SIZE_RESTORED}));
}

TEST(AppMinimize, AFormRestoredFromOutsideRestoresTheApplication) {
  FormsSession S;
  TForm* Main = ShownForm(10);
  TForm* Other = ShownForm(300);
  std::vector<std::string> Seen;
  Application->OnRestore = [&](TObject*) { Seen.push_back("restore"); };
  HookedApp Hook;
  Application->Minimize();
  SendMessage(Other->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(Application->Handle()));
  EXPECT_FALSE(IsIconic(Main->Handle()));
  EXPECT_FALSE(IsIconic(Other->Handle()));
  EXPECT_EQ(AppSizes.back(), SIZE_RESTORED);
  EXPECT_EQ(Seen, (std::vector<std::string>{"restore"}));
}
