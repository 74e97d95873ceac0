// Track bars, scroll bars and up-down pairs in the default skin and in the plain look,
// captured to a PNG for a look.
#include <gtest/gtest.h>

#include "platform/display/HeadlessPng.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinRangeCaptureTest : public SkinFormFixture {
 protected:
  // One row of each control at Top; skinned ones take the store.
  void AddRow(int Top, bool Skinned) {
    TspSkinData* SD = Skinned ? Skin : nullptr;
    auto* Track = Create<TspSkinTrackBar>(Form.get());
    Track->SetParent(Form.get());
    Track->SetSkinData(SD);
    Track->SetBounds(10, Top, 200, 22);
    Track->SetValue(30);
    auto* VTrack = Create<TspSkinTrackBar>(Form.get());
    VTrack->SetSkinDataName("trackbar");
    VTrack->SetVertical(true);
    VTrack->SetParent(Form.get());
    VTrack->SetSkinData(SD);
    VTrack->SetBounds(220, Top, 22, 120);
    VTrack->SetValue(70);
    auto* HBar = Create<TspSkinScrollBar>(Form.get());
    HBar->SetParent(Form.get());
    HBar->SetSkinData(SD);
    HBar->SetBounds(10, Top + 40, 200, 16);
    HBar->SetRange(0, 99, 40, 25);
    auto* VBar = Create<TspSkinScrollBar>(Form.get());
    VBar->SetSkinDataName("vscrollbar");
    VBar->SetKind(sbVertical);
    VBar->SetParent(Form.get());
    VBar->SetSkinData(SD);
    VBar->SetBounds(260, Top, 16, 120);
    VBar->SetRange(0, 100, 60, 0);
    auto* Pair = Create<TspSkinIntUpDown>(Form.get());
    Pair->SetParent(Form.get());
    Pair->SetSkinData(SD);
    Pair->SetBounds(10, Top + 70, 40, 20);
    auto* VPair = Create<TspSkinIntUpDown>(Form.get());
    VPair->SetOrientation(udVertical);
    VPair->SetParent(Form.get());
    VPair->SetSkinData(SD);
    VPair->SetBounds(60, Top + 70, 18, 36);
  }
};

TEST_F(SkinRangeCaptureTest, TheDefaultSkinAndThePlainLookShowTheRangeControls) {
  LoadSkin(sg::DefaultSkinFolder);
  Form->SetColor(static_cast<TColor>(sg::palette::Window));
  AddRow(10, true);
  AddRow(150, false);
  ShowForm();
  const std::string File = testing::TempDir() + "skin-range-controls.png";
  ASSERT_TRUE(vantrel::display::SavePng(Session.Capture(Form->Handle()), File));
}

}  // namespace
