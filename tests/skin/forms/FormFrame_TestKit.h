// A headless form with a frame component, and skin stores for the frame's tests: the
// generated test skin, or a small store filled in code with flat pictures whose colours
// tell which look was drawn.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/ui/Forms.h"
#include "skin/core/data/SkinData.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinObjects.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"
#include "tools/skingen/SkinGenSpec.h"

namespace vantrel::frametest {

// A flat 24-bit bitmap of one colour.
inline TOwned<TBitmap> FlatBitmap(Integer W, Integer H, TColor Colour) {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(Colour);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  return B;
}

// Colour (0x00BBGGRR) of a surface pixel (0xAARRGGBB); -1 outside the surface.
inline TColor SurfaceColour(const win::Surface& S, int X, int Y) {
  if (!S.Contains(X, Y)) return static_cast<TColor>(-1);
  const uint32_t P = S.Row(Y)[X];
  return static_cast<TColor>(((P >> 16) & 0xFF) | (P & 0xFF00) | ((P & 0xFF) << 16));
}

class FrameFixture : public ::testing::Test {
 protected:
  uitest::FormsSession S;
  TOwned<TForm> Form = CreateOwned<TForm>(nullptr);
  TspFormSkin* FS = nullptr;
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);

  void SetUp() override {
    Form->SetBounds(100, 80, 400, 300);
    Form->SetCaption("Frame");
    FS = Create<TspFormSkin>(Form.get());
  }

  void TearDown() override {
    // Objects a test put into the list itself are freed here, whichever way the
    // component clears its list.
    if (FS) {
      for (TspActiveSkinObject* O : FS->ObjectList) delete O;
      FS->ObjectList.clear();
    }
  }

  // The generated test skin, bound to the component without applying it.
  void UseTestSkin(const char* Folder = skingen::TestSkinFolder) {
    Skin->LoadFromFile(test::TestSkinDir(Folder) + "/" + skingen::SkinIniName);
    ASSERT_FALSE(Skin->Empty);
    // The plain caption buttons of the frame without a skin go, as a skin application
    // would rebuild the list.
    FS->ClearObjects();
    FS->FSD = Skin.get();
    FS->FSkinSupport = true;
  }

  // The frame geometry of a form exactly as large as the skin's frame picture (every
  // rectangle stays where the skin has it), with the mask cut into its strips.
  void MapFrameAtPictureSize() {
    TspSkinData& D = *Skin;
    FS->FFormWidth = D.FPicture->Width();
    FS->FFormHeight = D.FPicture->Height();
    FS->NewLTPoint = D.LTPoint;
    FS->NewRTPoint = D.RTPoint;
    FS->NewLBPoint = D.LBPoint;
    FS->NewRBPoint = D.RBPoint;
    FS->NewClRect = D.ClRect;
    FS->NewMaskRectArea = D.MaskRectArea;
    FS->NewHitTestLTPoint = D.HitTestLTPoint;
    FS->NewHitTestRTPoint = D.HitTestRTPoint;
    FS->NewHitTestLBPoint = D.HitTestLBPoint;
    FS->NewHitTestRBPoint = D.HitTestRBPoint;
    FS->NewCaptionRect = D.CaptionRect;
    FS->NewMainMenuRect = D.MainMenuRect;
    FS->FSizeGripArea = D.SizeGripArea;
    if (!D.FMask->Empty())
      CreateSkinMaskStrips(D.LTPoint, D.RTPoint, D.LBPoint, D.RBPoint, D.MaskRectArea, D.LTPoint, D.RTPoint,
                           D.LBPoint, D.RBPoint, D.MaskRectArea, D.FMask.get(), FS->RMTop.get(),
                           FS->RMLeft.get(), FS->RMRight.get(), FS->RMBottom.get(), FS->FFormWidth,
                           FS->FFormHeight);
  }

  // A user object of the frame at R (frame coordinates), appended to the list.
  TspUserObject* AddUserObject(const String& Name, const TRect& R, Integer MaskIndex = -1) {
    auto D = CreateOwned<TspDataUserObject>(Name);
    D->SkinRect = R;
    D->ActivePictureIndex = -1;
    D->ActiveMaskPictureIndex = MaskIndex;
    D->GlowLayerPictureIndex = -1;
    D->CursorIndex = -1;
    auto* O = new TspUserObject(FS, D.get());  // the list owns it
    FS->ObjectList.push_back(O);
    return O;
  }

  void ShowForm() {
    Form->Show();
    S.Session.PumpUntilIdle();
  }

  void SaveCapture(const win::Surface& Shot, const std::string& Name) {
    display::SavePng(Shot, ::testing::TempDir() + Name);
  }
};

}  // namespace vantrel::frametest
