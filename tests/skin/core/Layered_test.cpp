// The constant alpha of a layered window, as the display shows it.
#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Controls.h"
#include "platform/win/WindowManager.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/core/bitmaps/spEffBmp.h"

using vantrel::display::HeadlessSession;

namespace {

LRESULT Plain(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) { return DefWindowProc(Wnd, Msg, WParam, LParam); }

HWND MakeWindow(DWORD ExStyle) {
  WNDCLASS Class{};
  Class.lpfnWndProc = MakeWndProc(&Plain);
  Class.lpszClassName = "LayeredTestWindow";
  RegisterClass(&Class);
  return CreateWindowEx(ExStyle, "LayeredTestWindow", "", WS_POPUP | WS_VISIBLE, 10, 10, 40, 30, nullptr,
                        nullptr, nullptr, nullptr);
}

}  // namespace

TEST(SkinLayered, SetLayeredAlphaGivesALayeredWindowItsConstantAlpha) {
  HeadlessSession Session;
  const HWND Wnd = MakeWindow(WS_EX_LAYERED);
  ASSERT_NE(Wnd, nullptr);
  for (Integer Alpha : {128, 0, 255}) {
    SCOPED_TRACE(Alpha);
    SetLayeredAlpha(Wnd, Alpha);
    Session.PumpUntilIdle();
    const auto* Native = Session.Display().Native(Wnd);
    ASSERT_NE(Native, nullptr);
    EXPECT_EQ(Native->Alpha, Alpha);
    EXPECT_FALSE(Native->PerPixelAlpha);
  }
}

TEST(SkinLayered, SetLayeredAlphaLeavesAWindowThatIsNotLayeredAlone) {
  HeadlessSession Session;
  const HWND Wnd = MakeWindow(0);
  SetLayeredAlpha(Wnd, 40);
  Session.PumpUntilIdle();
  EXPECT_EQ(Session.Display().Native(Wnd)->Alpha, 255);
  EXPECT_NO_THROW(SetLayeredAlpha(nullptr, 10));
}

namespace {

class TLayeredForm : public TWinControl {
  VANTREL_CLASS(TLayeredForm)
  explicit TLayeredForm(TComponent* AOwner) : TWinControl(AOwner) {}

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_VISIBLE;
    Params.ExStyle |= WS_EX_LAYERED;
    Params.WndParent = nullptr;
  }
};

}  // namespace

TEST(SkinLayered, ShowLayeredBitmapMakesTheBitmapTheWindowsContents) {
  HeadlessSession Session;
  auto Form = CreateOwned<TLayeredForm>(nullptr);
  Form->SetBounds(50, 60, 10, 10);
  auto Bitmap = CreateOwned<TspBitmap>();
  Bitmap->SetSize(4, 3);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 4; ++X) Bitmap->SetPixelValue(X, Y, X == 0 ? 0x80400000u : 0xFF00FF00u);
  ShowLayeredBitmap(Bitmap.get(), 200, Form.get());
  Session.PumpUntilIdle();
  RECT R{};
  GetWindowRect(Form->Handle(), &R);
  EXPECT_EQ(R, Rect(50, 60, 54, 63));
  EXPECT_EQ(Form->BoundsRect(), Rect(50, 60, 54, 63));  // the control follows its window
  const auto* Native = Session.Display().Native(Form->Handle());
  ASSERT_NE(Native, nullptr);
  EXPECT_TRUE(Native->PerPixelAlpha);
  EXPECT_EQ(Native->Alpha, 200);
  const vantrel::win::Surface S = Session.Capture(Form->Handle());
  EXPECT_EQ(S.Row(1)[0], 0x80400000u);
  EXPECT_EQ(S.Row(2)[3], 0xFF00FF00u);
  EXPECT_NO_THROW(ShowLayeredBitmap(nullptr, 255, Form.get()));
}
