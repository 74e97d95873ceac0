// Check boxes, radio buttons, a radio group and gauges on one form, in the default skin and
// without a skin, captured to PNG files for a look.
#include <gtest/gtest.h>

#include "platform/display/HeadlessPng.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinStateControlsCaptureTest : public SkinFormFixture {
 protected:
  template <class T>
  T* Place(TWinControl* Parent, bool Skinned, TRect R) {
    auto* C = Create<T>(Form.get());
    C->SetParent(Parent);
    if (Skinned) C->SetSkinData(Skin);
    C->SetBoundsRect(R);
    return C;
  }

  void BuildForm(bool Skinned) {
    Form->SetColor(static_cast<TColor>(sg::palette::Window));
    struct BoxCase {
      const char* Caption;
      TCheckBoxState State;
      bool Radio, Enabled, Flat;
    } Boxes[] = {{"Apply to all files", cbChecked, false, true, true},
                 {"Keep aspect ratio", cbUnchecked, false, true, true},
                 {"Some of both", cbGrayed, false, true, true},
                 {"Disabled and checked", cbChecked, false, false, true},
                 {"Radio, chosen", cbChecked, true, true, true},
                 {"Radio, not chosen", cbUnchecked, true, true, true},
                 {"Framed check box", cbChecked, false, true, false}};
    int Y = 10;
    for (const BoxCase& K : Boxes) {
      auto* B = Place<TspSkinCheckRadioBox>(Form.get(), Skinned, Bounds(10, Y, 180, 25));
      if (K.Radio) B->SetSkinDataName("radiobox");
      B->SetRadio(K.Radio);
      B->SetFlat(K.Flat);
      B->SetState(K.State);
      B->SetEnabled(K.Enabled);
      B->SetCaption(K.Caption);
      Y += 30;
    }
    auto* Group = Place<TspSkinRadioGroup>(Form.get(), Skinned, Bounds(200, 10, 190, 120));
    Group->SetCaption("Output size");
    for (const char* S : {"Original", "720p", "1080p", "Custom", "Half"}) Group->Items()->Add(S);
    Group->SetColumns(2);
    Group->SetItemIndex(2);
    auto* Gauge = Place<TspSkinGauge>(Form.get(), Skinned, Bounds(10, 230, 260, 20));
    Gauge->SetMaxValue(3);
    Gauge->SetValue(2);
    Gauge->SetShowPercent(true);
    auto* Total = Place<TspSkinGauge>(Form.get(), Skinned, Bounds(10, 260, 260, 20));
    Total->SetValue(25);
    Total->SetShowProgressText(true);
    Total->SetProgressText("Total ");
    Total->SetShowPercent(true);
    auto* Upright = Place<TspSkinGauge>(Form.get(), Skinned, Bounds(300, 150, 20, 160));
    if (Skinned) {
      Upright->SetSkinDataName("vgauge");
      Upright->ChangeSkinData();
    } else {
      Upright->SetVertical(true);
    }
    Upright->SetValue(70);
    Upright->SetShowPercent(true);
  }
};

TEST_F(SkinStateControlsCaptureTest, TheDefaultSkinShowsBoxesGroupAndGauges) {
  LoadSkin(sg::DefaultSkinFolder);
  BuildForm(true);
  ShowForm();
  const std::string File = testing::TempDir() + "skin-state-controls-laconic.png";
  ASSERT_TRUE(vantrel::display::SavePng(Session.Capture(Form->Handle()), File));
}

TEST_F(SkinStateControlsCaptureTest, WithoutASkinTheyShowThePlainLook) {
  BuildForm(false);
  ShowForm();
  const std::string File = testing::TempDir() + "skin-state-controls-plain.png";
  ASSERT_TRUE(vantrel::display::SavePng(Session.Capture(Form->Handle()), File));
}

}  // namespace
