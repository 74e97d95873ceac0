// The caption buttons of a skin whose buttons are part of the frame picture follow the
// frame's right edge at every width; disabled ones (a dialog's minimize and maximize)
// are drawn there and nowhere else, so the caption between the title and the buttons
// stays empty.
#include <gtest/gtest.h>

#include <string>

#include "platform/display/HeadlessPng.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinObjects.h"
#include "tests/support/SkinFormFixture.h"

namespace {

class PictureButtonsCaptionTest : public vantrel::uitest::SkinFormFixture {};

TEST_F(PictureButtonsCaptionTest, ButtonsStayAtTheRightEdgeAndTheCaptionMiddleStaysEmpty) {
  // The default skin's frame picture is 400 pixels wide with its buttons at 294..396
  // (minimize, maximize, close, 34 pixels each) and 30 pixels high.
  LoadSkin(vantrel::skingen::DefaultSkinFolder);
  Form->SetBorderStyle(bsSizeable);
  Form->SetCaption("Vantrel");
  auto* FS = Create<TspFormSkin>(Form.get());
  FS->SetSkinData(Skin);
  ShowForm();
  const struct {
    int Width;
    bool Dialog;
  } Cases[] = {{500, false}, {500, true}, {760, true}, {1000, false}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Width) + (C.Dialog ? " dialog" : ""));
    FS->SetBorderIcons(C.Dialog ? TspBorderIcons{TspBorderIcon::biSystemMenu}
                                : TspBorderIcons{TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize,
                                                 TspBorderIcon::biMaximize});
    Form->SetBounds(20, 20, C.Width, 300);
    Session.PumpUntilIdle();
    Form->Invalidate();
    SendMessage(Form->Handle(), WM_NCPAINT, 0, 0);
    Session.PumpUntilIdle();
    const struct {
      const char* Name;
      int Left;
    } Buttons[] = {{"minbutton", C.Width - 106}, {"maxbutton", C.Width - 72}, {"closebutton", C.Width - 38}};
    for (const auto& B : Buttons) {
      SCOPED_TRACE(B.Name);
      TspActiveSkinObject* O = FS->ObjectAt(FS->GetIndex(B.Name));
      ASSERT_NE(O, nullptr);
      EXPECT_EQ(O->ObjectRect, Rect(B.Left, 0, B.Left + 34, 30));
    }
    const vantrel::win::Surface Shot = Session.Capture(Form->Handle());
    vantrel::display::SavePng(Shot, ::testing::TempDir() + "picture_buttons_" + std::to_string(C.Width) +
                                        (C.Dialog ? "_dialog" : "") + ".png");
    // From after the title to the first button, the caption is one colour.
    const uint32_t Background = SurfacePixel(Shot, 150, 15);
    for (int X = 150; X < C.Width - 106; ++X)
      for (int Y = 4; Y < 26; ++Y)
        if (SurfacePixel(Shot, X, Y) != Background) {
          ADD_FAILURE() << "a mark in the caption at " << X << "," << Y;
          X = C.Width;
          break;
        }
  }
}

}  // namespace
