// Showing a framed form: what the screen shows of the skinned and the default frame, the
// masked window shape, and the alpha fade-in.
#include <gtest/gtest.h>

#include "platform/display/HeadlessPng.h"
#include "platform/win/Layered.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

class FormSkinShowTest : public FrameFixture {};

TEST_F(FormSkinShowTest, SkinnedAndDefaultFramesAsCaptured) {
  ShowForm();
  const win::Surface Plain = S.Session.Capture(Form->Handle());
  SaveCapture(Plain, "framea-default.png");
  Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
  FS->SetSkinData(Skin.get());
  S.Session.PumpUntilIdle();
  const win::Surface Skinned = S.Session.CaptureScreen();
  SaveCapture(Skinned, "framea-skinned-screen.png");
  SUCCEED();
}

}  // namespace
}  // namespace vantrel::frametest
