// The frame's skin objects: construction from a descriptor, the mask test, the looks
// drawn in each state, morphing on the form's timer and the events they raise.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/skin/forms/FormFrame_TestKit.h"

using vantrel::frametest::FlatBitmap;
using vantrel::frametest::FrameFixture;

namespace {

constexpr TColor ObjNormalColour = 0x141414;    // (20, 20, 20)
constexpr TColor ObjActiveColour = 0x3C3C3C;    // (60, 60, 60)
constexpr TColor ObjInactiveColour = 0x0000C8;  // red 200
constexpr TColor ObjInPictureColour = 0x00C800; // green 200
constexpr TColor ObjTargetColour = 0xFFFFFF;

class SkinObjectTest : public FrameFixture {
 protected:
  TOwned<TspDataUserObject> Data = CreateOwned<TspDataUserObject>("knob");

  void SetUp() override {
    FrameFixture::SetUp();
    // The frame picture holds the normal look; active picture 0 holds, side by side, the
    // active, inactive and "normal in the active picture" looks; picture 1 is a mask.
    Skin->FPicture = FlatBitmap(100, 40, ObjNormalColour);
    Skin->FRollUpPicture = FlatBitmap(100, 20, ObjNormalColour);
    auto Looks = FlatBitmap(60, 10, ObjActiveColour);
    Looks->Canvas()->Brush()->SetColor(ObjInactiveColour);
    Looks->Canvas()->FillRect(Rect(20, 0, 40, 10));
    Looks->Canvas()->Brush()->SetColor(ObjInPictureColour);
    Looks->Canvas()->FillRect(Rect(40, 0, 60, 10));
    Skin->FActivePictures.Add(std::move(Looks));
    auto Mask = FlatBitmap(10, 10, clBlack);
    Mask->Canvas()->SetPixels(3, 3, 0x000001);
    Skin->FActivePictures.Add(std::move(Mask));
    Skin->Empty = false;
    FS->FSD = Skin.get();

    Data->SkinRect = Rect(10, 10, 30, 20);
    Data->ActiveSkinRect = Rect(0, 0, 20, 10);
    Data->InActiveSkinRect = NullRect();
    Data->ActivePictureIndex = 0;
    Data->ActiveMaskPictureIndex = -1;
    Data->GlowLayerPictureIndex = -1;
    Data->CursorIndex = -1;
  }

  TspActiveSkinObject* Make() {
    auto* O = new TspUserObject(FS, Data.get());  // the list owns it
    FS->ObjectList.push_back(O);
    return O;
  }

  // The base look of O drawn onto a white target; the colour at the object's centre.
  TColor DrawnColour(TspActiveSkinObject* O, Boolean UpDate) {
    auto Target = FlatBitmap(100, 40, ObjTargetColour);
    O->TspActiveSkinObject::Draw(Target->Canvas(), UpDate);
    return Target->Canvas()->Pixels((O->ObjectRect.Left + O->ObjectRect.Right) / 2,
                                    (O->ObjectRect.Top + O->ObjectRect.Bottom) / 2);
  }
};

TEST_F(SkinObjectTest, TakesTheDescriptorsPlaceAndPictures) {
  TspActiveSkinObject* O = Make();
  EXPECT_EQ(O->IDName, "knob");
  EXPECT_EQ(O->ObjectRect, Rect(10, 10, 30, 20));
  EXPECT_EQ(O->Picture, Skin->FPicture.get());
  EXPECT_EQ(O->ActivePicture, Skin->FActivePictures.Items(0));
  EXPECT_TRUE(O->Enabled);
  EXPECT_TRUE(O->Visible);

  Data->RollUp = true;
  Data->ActivePictureIndex = 7;  // beyond the list
  TspActiveSkinObject* R = Make();
  EXPECT_EQ(R->Picture, Skin->FRollUpPicture.get());
  EXPECT_EQ(R->ActivePicture, nullptr);
  EXPECT_TRUE(IsNullRect(R->ActiveSkinRect));
}

TEST_F(SkinObjectTest, MaskTestAcceptsOnlyBlackPixelsInsideTheMask) {
  TspActiveSkinObject* Plain = Make();
  EXPECT_TRUE(Plain->PointInMask(500, 500));  // no mask: the whole rectangle counts

  Data->ActiveMaskPictureIndex = 1;
  TspActiveSkinObject* O = Make();
  struct Case {
    Integer X, Y;
    Boolean In;
  };
  for (const Case& C : {Case{0, 0, true}, Case{9, 9, true}, Case{3, 3, false}, Case{-1, 0, false},
                        Case{0, -1, false}, Case{10, 0, false}, Case{0, 10, false}, Case{10, 10, false}}) {
    SCOPED_TRACE(std::to_string(C.X) + "," + std::to_string(C.Y));
    EXPECT_EQ(O->PointInMask(C.X, C.Y), C.In);
  }
}

TEST_F(SkinObjectTest, MorphFactorStaysBetweenZeroAndOne) {
  TspActiveSkinObject* O = Make();
  O->SetMorphKf(1.5);
  EXPECT_EQ(O->MorphKf(), 1.0);
  O->SetMorphKf(-0.1);
  EXPECT_EQ(O->MorphKf(), 0.0);
  O->SetMorphKf(0.4);
  EXPECT_DOUBLE_EQ(O->MorphKf(), 0.4);
}

TEST_F(SkinObjectTest, DrawsTheLookOfItsState) {
  FS->PreviewMode = true;  // the frame counts as active
  TspActiveSkinObject* O = Make();
  EXPECT_EQ(DrawnColour(O, false), ObjTargetColour) << "the frame picture already shows the normal look";
  EXPECT_EQ(DrawnColour(O, true), ObjNormalColour);
  O->Active = true;
  EXPECT_EQ(DrawnColour(O, false), ObjActiveColour);

  Data->SkinRectInAPicture = true;
  Data->SkinRect = Rect(40, 0, 60, 10);
  TspActiveSkinObject* InPicture = Make();
  InPicture->ObjectRect = Rect(10, 10, 30, 20);
  EXPECT_EQ(DrawnColour(InPicture, false), ObjInPictureColour);
}

TEST_F(SkinObjectTest, AnInactiveFrameShowsTheInactiveLook) {
  Data->InActiveSkinRect = Rect(20, 0, 40, 10);
  TspActiveSkinObject* O = Make();
  O->Active = true;
  ASSERT_FALSE(FS->GetFormActive());
  EXPECT_EQ(DrawnColour(O, false), ObjInactiveColour);
  O->Enabled = false;
  EXPECT_EQ(DrawnColour(O, false), ObjActiveColour);
}

TEST_F(SkinObjectTest, DrawsNothingWithoutALoadedSkin) {
  FS->PreviewMode = true;
  TspActiveSkinObject* O = Make();
  Skin->Empty = true;
  EXPECT_EQ(DrawnColour(O, true), ObjTargetColour);
}

TEST_F(SkinObjectTest, AMorphingObjectBlendsItsTwoLooks) {
  FS->PreviewMode = true;
  Data->Morphing = true;
  TspActiveSkinObject* O = Make();
  O->Active = true;
  O->SetMorphKf(0.5);
  // Each channel is (1 - 0.5) * 20 + 0.5 * 60.
  EXPECT_EQ(DrawnColour(O, false), 0x282828);
  Skin->SetEnableSkinEffects(false);
  EXPECT_EQ(DrawnColour(O, false), ObjActiveColour) << "without skin effects the look switches at once";
}

TEST_F(SkinObjectTest, MorphsInFifthsOnTheFormsTimer) {
  FS->PreviewMode = true;
  Data->Morphing = true;
  TspActiveSkinObject* O = Make();
  Form->HandleNeeded();
  O->MouseEnter();
  EXPECT_TRUE(FS->MorphTimer->Enabled());
  S.Session.Advance(25);
  EXPECT_NEAR(O->MorphKf(), 0.2, 1e-9);
  S.Session.Advance(25);
  EXPECT_NEAR(O->MorphKf(), 0.4, 1e-9);
  O->MouseLeave();  // turns back from where it is
  S.Session.Advance(25);
  EXPECT_NEAR(O->MorphKf(), 0.2, 1e-9);
  O->MouseEnter();
  S.Session.Advance(25 * 10);
  EXPECT_EQ(O->MorphKf(), 1.0);
  EXPECT_FALSE(FS->MorphTimer->Enabled()) << "the timer stops once no object moves";
}

TEST_F(SkinObjectTest, EnteringWithoutAnActiveLookStartsNoMorphButTellsTheApplication) {
  Data->Morphing = true;
  Data->ActiveSkinRect = NullRect();
  std::vector<std::string> Log;
  FS->OnMouseEnterEvent = [&Log](const String& Name) { Log.push_back("enter " + Name); };
  TspActiveSkinObject* O = Make();
  O->MouseEnter();
  EXPECT_TRUE(O->Active);
  EXPECT_FALSE(FS->MorphTimer->Enabled());
  EXPECT_EQ(Log, std::vector<std::string>{"enter knob"});
}

TEST_F(SkinObjectTest, ReleaseAfterTheMouseLeftRaisesNoUpEvent) {
  std::vector<std::string> Log;
  FS->OnMouseUpEvent = [&Log](const String& Name, Integer, Integer, TRect, TMouseButton) {
    Log.push_back("up " + Name);
  };
  TspActiveSkinObject* O = Make();
  O->MouseEnter();
  O->MouseUp(15, 15, mbLeft);
  O->MouseLeave();
  O->MouseUp(15, 15, mbLeft);
  EXPECT_EQ(Log, std::vector<std::string>{"up knob"});
}

TEST_F(SkinObjectTest, AUserObjectLeavesItsPaintingToTheApplication) {
  FS->PreviewMode = true;
  std::vector<std::string> Log;
  TRect Where;
  FS->OnPaintEvent = [&](const String& Name, TCanvas* C, TRect R) {
    Log.push_back("paint " + Name);
    Where = R;
    C->Brush()->SetColor(clBlue);
    C->FillRect(R);
  };
  TspActiveSkinObject* O = Make();
  auto Target = FlatBitmap(100, 40, ObjTargetColour);
  O->Draw(Target->Canvas(), true);
  EXPECT_EQ(Log, std::vector<std::string>{"paint knob"});
  EXPECT_EQ(Where, Rect(10, 10, 30, 20));
  EXPECT_EQ(Target->Canvas()->Pixels(20, 15), clBlue);
}

}  // namespace

namespace {

TEST_F(SkinObjectTest, AGlowShowsBesideTheWindowWhileTheMouseIsOver) {
  // Picture 2 is the glow, picture 3 its mask; the glow starts 5 pixels left of and above
  // the object.
  Skin->FActivePictures.Add(FlatBitmap(30, 20, clYellow));
  Skin->FActivePictures.Add(FlatBitmap(30, 20, clWhite));
  Data->GlowLayerPictureIndex = 2;
  Data->GlowLayerMaskPictureIndex = 3;
  Data->GlowLayerOffsetX = 5;
  Data->GlowLayerOffsetY = 5;
  Data->GlowLayerAlphaBlendValue = 200;
  TspActiveSkinObject* O = Make();
  O->MouseEnter();
  ASSERT_TRUE(FS->FLayerManager->IsVisible);
  EXPECT_EQ(FS->FLayerManager->LayerWindow->BoundsRect(), Rect(100 + 10 - 5, 80 + 10 - 5, 100 + 10 - 5 + 30, 80 + 10 - 5 + 20));
  O->MouseLeave();
  EXPECT_FALSE(FS->FLayerManager->IsVisible);

  Skin->SetShowCaptionButtonGlowFrames(false);
  O->MouseEnter();
  EXPECT_FALSE(FS->FLayerManager->IsVisible);
}

}  // namespace
