// The frame's objects reached by name: lookups, kinds that do not match, quiet setting
// while a skin is applied, and a skin holding one object of each kind.
#include <gtest/gtest.h>

#include "tests/skin/forms/FrameObjects_TestKit.h"

using namespace vantrel::frameobjtest;

namespace {

class ObjectAccessTest : public FrameObjectsFixture {
 protected:
  Counted<TspSkinTrackBarObject>* Track = nullptr;
  Counted<TspSkinGaugeObject>* Gauge = nullptr;
  Counted<TspSkinFrameRegulatorObject>* Regulator = nullptr;
  Counted<TspSkinLabelObject>* Label = nullptr;
  Counted<TspSkinSwitchObject>* Switch = nullptr;

  void SetUp() override {
    FrameObjectsFixture::SetUp();
    auto* T = Descriptor<TspDataSkinTrackBar>("volume", Rect(10, 10, 130, 20));
    T->BeginPoint = Point(10, 5);
    T->EndPoint = Point(110, 5);
    T->MaxValue = 100;
    Track = Add<TspSkinTrackBarObject>(T);
    auto* G = Descriptor<TspDataSkinGauge>("progress", Rect(10, 30, 110, 40));
    G->MaxValue = 100;
    Gauge = Add<TspSkinGaugeObject>(G);
    auto* R = Descriptor<TspDataSkinFrameRegulatorObject>("gain", Rect(10, 50, 30, 70));
    R->CountFrames = 11;
    R->MaxValue = 100;
    Regulator = Add<TspSkinFrameRegulatorObject>(R);
    Label = Add<TspSkinLabelObject>(Descriptor<TspDataSkinLabel>("title", Rect(40, 50, 140, 70)));
    Switch = Add<TspSkinSwitchObject>(Descriptor<TspDataSkinSwitch>("mute", Rect(150, 50, 160, 60)));
  }
};

TEST_F(ObjectAccessTest, NamesAreFoundExactlyAndTheFirstOfTwoWins) {
  EXPECT_EQ(FS->GetIndex("volume"), 0);
  EXPECT_EQ(FS->GetIndex("Volume"), -1);
  EXPECT_EQ(FS->GetIndex("nothing"), -1);
  auto* Second = Add<TspSkinTrackBarObject>(Descriptor<TspDataSkinTrackBar>("volume", Rect(0, 0, 10, 10)));
  EXPECT_EQ(FS->GetIndex("volume"), 0);
  FS->TrackBarSetValue("volume", 40);
  EXPECT_EQ(Track->Value(), 40);
  EXPECT_EQ(Second->Value(), 0);
}

TEST_F(ObjectAccessTest, ValuesAreReadAndSetOnlyOnObjectsOfTheirKind) {
  FS->TrackBarSetValue("volume", 30);
  FS->FrameRegulatorSetValue("gain", 20);
  FS->GaugeSetValue("progress", 70);
  FS->LabelSetText("title", "Converting");
  FS->SwitchSetState("mute", swsOn);
  EXPECT_EQ(FS->TrackBarGetValue("volume"), 30);
  EXPECT_EQ(FS->FrameRegulatorGetValue("gain"), 20);
  EXPECT_EQ(Gauge->Value(), 70);
  EXPECT_EQ(Label->TextValue(), "Converting");
  EXPECT_EQ(FS->SwitchGetState("mute"), swsOn);
  EXPECT_EQ(Track->Draws, 1);
  EXPECT_EQ(Gauge->Draws, 1);

  // Another kind's name, or no such name: nothing happens, getters give 0.
  EXPECT_EQ(FS->TrackBarGetValue("progress"), 0);
  EXPECT_EQ(FS->FrameRegulatorGetValue("volume"), 0);
  EXPECT_EQ(FS->SwitchGetState("volume"), swsOff);
  Events.clear();
  FS->TrackBarSetValue("progress", 5);
  FS->GaugeSetValue("volume", 5);
  FS->FrameRegulatorSetValue("nothing", 5);
  FS->BitLabelSetText("title", "x");
  FS->AnimateStart("volume");
  FS->UserObjectDraw("volume");
  EXPECT_EQ(Gauge->Value(), 70);
  EXPECT_EQ(Track->Value(), 30);
  EXPECT_TRUE(Events.empty());
}

TEST_F(ObjectAccessTest, WhileTheSkinIsAppliedValuesAreStoredWithoutDrawing) {
  FS->FInChangeSkinData = true;
  FS->TrackBarSetValue("volume", 30);
  FS->FrameRegulatorSetValue("gain", 20);
  FS->GaugeSetValue("progress", 70);
  FS->LabelSetText("title", "Ready");
  FS->SwitchSetState("mute", swsOn);
  FS->FInChangeSkinData = false;
  EXPECT_EQ(Track->Value(), 30);
  EXPECT_EQ(Regulator->Value(), 20);
  EXPECT_EQ(Gauge->Value(), 70);
  EXPECT_EQ(Label->TextValue(), "Ready");
  EXPECT_EQ(Switch->State(), swsOn);
  EXPECT_EQ(Track->Draws + Regulator->Draws + Gauge->Draws + Label->Draws + Switch->Draws, 0);
  // Track bar and regulator still report.
  EXPECT_EQ(Events, (std::vector<std::string>{"track volume 30", "regulator gain 20"}));
}

// A skin whose object list holds one descriptor of each kind, applied to the form; the
// application sets values from OnChangeSkinData and the next paint shows them.
TEST_F(ObjectAccessTest, ASkinOfEveryKindMakesItsObjectsAndTakesValuesWhileApplied) {
  for (TspActiveSkinObject* O : FS->ObjectList) delete O;
  FS->ObjectList.clear();
  const auto Put = [this](TspDataSkinObject* D) {
    for (size_t I = 0; I < Descriptors.size(); ++I)
      if (Descriptors[I].get() == D) Skin->ObjectList.Add(std::move(Descriptors[I]));
  };
  auto* G = Descriptor<TspDataSkinGauge>("progress", Rect(10, 5, 110, 15));
  G->ActiveSkinRect = Rect(0, 0, 100, 10);
  G->MaxValue = 100;
  Put(G);
  Put(Descriptor<TspDataSkinSwitch>("mute", Rect(120, 5, 130, 15)));
  auto* T = Descriptor<TspDataSkinTrackBar>("volume", Rect(140, 5, 260, 15));
  T->BeginPoint = Point(10, 5);
  T->EndPoint = Point(110, 5);
  T->MaxValue = 100;
  Put(T);
  Put(Descriptor<TspDataSkinLabel>("title", Rect(10, 20, 110, 30)));
  Put(Descriptor<TspDataSkinAnimate>("spinner", Rect(120, 20, 130, 30)));
  Put(Descriptor<TspDataSkinBitLabel>("time", Rect(140, 20, 200, 30)));
  auto* R = Descriptor<TspDataSkinFrameRegulatorObject>("gain", Rect(210, 20, 230, 40));
  R->CountFrames = 2;
  R->MaxValue = 10;
  Put(R);
  Put(Descriptor<TspDataSkinFrameGaugeObject>("meter", Rect(240, 20, 250, 30)));

  FS->OnChangeSkinData = [this](TObject*) {
    FS->GaugeSetValue("progress", 50);
    FS->TrackBarSetValue("volume", 25);
    FS->SwitchSetState("mute", swsOn);
  };
  FS->SetSkinData(Skin.get());
  ASSERT_EQ(FS->ObjectCount(), 8);
  EXPECT_NE(dynamic_cast<TspSkinGaugeObject*>(FS->ObjectAt(0)), nullptr);
  EXPECT_NE(dynamic_cast<TspSkinSwitchObject*>(FS->ObjectAt(1)), nullptr);
  EXPECT_NE(dynamic_cast<TspSkinTrackBarObject*>(FS->ObjectAt(2)), nullptr);
  EXPECT_NE(dynamic_cast<TspSkinLabelObject*>(FS->ObjectAt(3)), nullptr);
  EXPECT_NE(dynamic_cast<TspSkinAnimateObject*>(FS->ObjectAt(4)), nullptr);
  EXPECT_NE(dynamic_cast<TspSkinBitLabelObject*>(FS->ObjectAt(5)), nullptr);
  EXPECT_NE(dynamic_cast<TspSkinFrameRegulatorObject*>(FS->ObjectAt(6)), nullptr);
  EXPECT_NE(dynamic_cast<TspSkinFrameGaugeObject*>(FS->ObjectAt(7)), nullptr);
  EXPECT_EQ(FS->TrackBarGetValue("volume"), 25);
  EXPECT_EQ(FS->SwitchGetState("mute"), swsOn);
  EXPECT_EQ(std::count(Events.begin(), Events.end(), "track volume 25"), 1);
  // The gauge's value shows on the next drawing of the frame.
  TspActiveSkinObject* Shown = FS->ObjectAt(0);
  const TRect Place = Shown->ObjectRect;  // laid out on the form's frame
  auto Target = FlatBitmap(Place.Right + 10, Place.Bottom + 10, FoTarget);
  Shown->Draw(Target->Canvas(), false);
  EXPECT_EQ(Target->Canvas()->Pixels(Place.Left + 49, Place.Top + 5), FoActive);
  EXPECT_EQ(Target->Canvas()->Pixels(Place.Left + 50, Place.Top + 5), FoNormal);
}

}  // namespace

namespace {

// The objects on a real skinned frame: a gauge half full, a track bar at three quarters
// and a switch turned on, in the caption band of the generated test skin.
class FrameObjectsOnTheWindowTest : public vantrel::frametest::FrameFixture {};

TEST_F(FrameObjectsOnTheWindowTest, TheObjectsShowInTheWindowsFrame) {
  UseTestSkin();
  const Integer Looks = Skin->FActivePictures.Count();
  auto Picture = FlatBitmap(200, 40, FoActive);
  Picture->Canvas()->Brush()->SetColor(FoButton);
  Picture->Canvas()->FillRect(Rect(0, 30, 8, 38));
  Skin->FActivePictures.Add(std::move(Picture));
  std::vector<TOwned<TspDataSkinObject>> Owned;
  const auto Make = [&](auto D, const TRect& R) {
    D->SkinRect = R;
    D->ActivePictureIndex = Looks;
    D->ActiveMaskPictureIndex = -1;
    D->GlowLayerPictureIndex = -1;
    D->CursorIndex = -1;
    auto* Raw = D.get();
    Owned.push_back(std::move(D));
    return Raw;
  };
  auto* G = Make(CreateOwned<TspDataSkinGauge>("progress"), Rect(150, 8, 250, 18));
  G->ActiveSkinRect = Rect(0, 0, 100, 10);
  G->MaxValue = 100;
  auto* T = Make(CreateOwned<TspDataSkinTrackBar>("volume"), Rect(260, 8, 360, 18));
  T->ActiveSkinRect = Rect(0, 10, 100, 20);
  T->ButtonRect = Rect(0, 30, 8, 38);
  T->BeginPoint = Point(4, 5);
  T->EndPoint = Point(96, 5);
  T->MaxValue = 100;
  auto* W = Make(CreateOwned<TspDataSkinSwitch>("mute"), Rect(120, 8, 130, 18));
  W->ActiveSkinRect = Rect(0, 20, 10, 30);
  for (auto& D : Owned) Skin->ObjectList.Add(std::move(D));

  FS->OnChangeSkinData = [this](TObject*) {
    FS->GaugeSetValue("progress", 50);
    FS->TrackBarSetValue("volume", 75);
    FS->SwitchSetState("mute", swsOn);
  };
  FS->SetSkinData(Skin.get());
  ShowForm();
  const vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
  SaveCapture(Shot, "frame-objects.png");
  using vantrel::frametest::SurfaceColour;
  const TRect GR = FS->ObjectAt(FS->GetIndex("progress"))->ObjectRect;
  EXPECT_EQ(SurfaceColour(Shot, GR.Left + 45, GR.Top + 5), FoActive);
  EXPECT_NE(SurfaceColour(Shot, GR.Left + 55, GR.Top + 5), FoActive);
  const TRect TR = FS->ObjectAt(FS->GetIndex("volume"))->ObjectRect;
  EXPECT_EQ(SurfaceColour(Shot, TR.Left + 73, TR.Top + 5), FoButton);
  const TRect WR = FS->ObjectAt(FS->GetIndex("mute"))->ObjectRect;
  EXPECT_EQ(SurfaceColour(Shot, WR.Left + 5, WR.Top + 5), FoActive);
}

}  // namespace
