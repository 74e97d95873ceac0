// The edits, the memo, the time edit and the spin edit in the default skin and in the plain
// look, captured to a PNG for a look.
#include <gtest/gtest.h>

#include "platform/display/HeadlessPng.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinEditsCaptureTest : public SkinFormFixture {
 protected:
  void AddEditsRow(int Top, bool Skinned) {
    TspSkinData* SD = Skinned ? Skin : nullptr;
    auto* E = Create<TspSkinEdit>(Form.get());
    E->SetParent(Form.get());
    E->SetBounds(10, Top, 150, 20);
    E->SetSkinData(SD);
    E->SetText("clip-0001.mkv");
    auto* BE = Create<TspSkinEdit>(Form.get());
    BE->SetSkinDataName("buttonedit");
    BE->SetButtonMode(true);
    BE->SetParent(Form.get());
    BE->SetBounds(170, Top, 150, 20);
    BE->SetSkinData(SD);
    BE->SetText("/home/user/Videos");
    auto* Off = Create<TspSkinEdit>(Form.get());
    Off->SetParent(Form.get());
    Off->SetBounds(330, Top, 60, 20);
    Off->SetSkinData(SD);
    Off->SetText("grey");
    Off->SetEnabled(false);
    auto* T = Create<TspSkinTimeEdit>(Form.get());
    T->SetParent(Form.get());
    T->SetBounds(10, Top + 30, 100, 20);
    T->SetSkinData(SD);
    T->SetTime("01:02:03");
    T->SetShowUpDown(true);
    auto* S = Create<TspSkinSpinEdit>(Form.get());
    S->SetParent(Form.get());
    S->SetBounds(120, Top + 30, 90, 20);
    S->SetSkinData(SD);
    S->SetMaxValue(5000);
    S->SetValue(640);
    auto* M = Create<TspSkinMemo>(Form.get());
    M->SetParent(Form.get());
    M->SetBounds(10, Top + 60, 200, 70);
    auto* Bar = Create<TspSkinScrollBar>(Form.get());
    Bar->SetSkinDataName("vscrollbar");
    Bar->SetKind(sbVertical);
    Bar->SetParent(Form.get());
    Bar->SetBounds(210, Top + 60, 16, 70);
    Bar->SetSkinData(SD);
    M->SetVScrollBar(Bar);
    M->SetSkinData(SD);
    M->Lines()->SetText("Input #0, matroska\n  Duration: 00:01:02.03\n  Stream #0:0: Video: h264\n"
                        "  Stream #0:1: Audio: aac\nOutput #0, mp4\nframe= 1500\nend");
  }
};

TEST_F(SkinEditsCaptureTest, TheDefaultSkinAndThePlainLookShowTheEditors) {
  LoadSkin(sg::DefaultSkinFolder);
  Form->SetColor(static_cast<TColor>(sg::palette::Panel));
  AddEditsRow(10, true);
  AddEditsRow(160, false);
  ShowForm();
  const std::string File = testing::TempDir() + "skin-edits.png";
  ASSERT_TRUE(vantrel::display::SavePng(Session.Capture(Form->Handle()), File));
}

}  // namespace
