// A headless form that owns a skin store loaded with a generated test skin, for the tests
// of the skinned controls; pixels are read from the form's window as the display shows it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Forms.h"
#include "skin/core/data/SkinData.h"
#include "tests/support/TestPaths.h"
#include "tools/skingen/SkinGenSpec.h"

namespace vantrel::uitest {

class SkinFormFixture : public ::testing::Test {
 protected:
  display::HeadlessSession Session;
  TApplicationInstance App;
  TOwned<TForm> Form = CreateOwned<TForm>(nullptr);
  TspSkinData* Skin = nullptr;

  void SetUp() override {
    Session.OnIdle = [] { Application->DoApplicationIdle(); };
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(10, 10, 400, 400);
    Form->SetColor(clWhite);
    Skin = Create<TspSkinData>(Form.get());
    LoadSkin(skingen::TestSkinFolder);
  }

  void LoadSkin(const std::string& Folder) {
    const std::string Dir = Folder == skingen::DefaultSkinFolder ? test::BinDir() + "/" + Folder
                                                                 : test::TestSkinDir(Folder);
    Skin->LoadFromFile(Dir + "/" + skingen::SkinIniName);
  }

  void ShowForm() {
    Form->Show();
    Session.PumpUntilIdle();
  }

  // One capture of the screen, read in a control's client coordinates: for tests that
  // read many pixels of one picture.
  struct TControlShot {
    win::Surface Screen;
    TPoint Origin;
    // The colour (0x00BBGGRR) at a point of the control's client area.
    skingen::Colour At(int X, int Y) const {
      return static_cast<skingen::Colour>(SurfacePixel(Screen, Origin.X + X, Origin.Y + Y));
    }
  };
  TControlShot ShotOf(TControl* Control) {
    return TControlShot{Session.CaptureScreen(), Control->ClientToScreen(Point(0, 0))};
  }

  // The colour (0x00BBGGRR) at a point of Control's client area as the screen shows it.
  skingen::Colour PixelAt(TControl* Control, int X, int Y) { return ShotOf(Control).At(X, Y); }

  // A surface pixel (0xAARRGGBB) as a colour value; -1 outside the surface.
  static uint32_t SurfacePixel(const win::Surface& S, int X, int Y) {
    if (!S.Contains(X, Y)) return 0xFFFFFFFFu;
    const uint32_t P = S.Row(Y)[X];
    return ((P >> 16) & 0xFF) | (P & 0xFF00) | ((P & 0xFF) << 16);
  }
};

}  // namespace vantrel::uitest
