// A flat skin for the frame's value and display objects: a frame picture of one colour
// and an active picture whose regions hold the other looks in colours of their own; the
// objects are made from descriptors built here, counted as they draw, and their events
// recorded.
#pragma once

#include <string>
#include <vector>

#include "skin/forms/FormSkinFrameObjects.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frameobjtest {

using frametest::FlatBitmap;

constexpr TColor FoNormal = 0x202020;    // frame picture
constexpr TColor FoActive = 0x00A000;    // filled / active looks (green)
constexpr TColor FoButton = 0x0000C0;    // track-bar button (red)
constexpr TColor FoPressed = 0xC00000;   // pressed pictures (blue)
constexpr TColor FoTarget = 0xFFFFFF;    // what a drawing lands on

// An object of kind T that counts its drawings.
template <class T>
class Counted : public T {
 public:
  using T::T;
  int Draws = 0;
  void Draw(TCanvas* Cnvs, Boolean UpDate) override {
    ++Draws;
    T::Draw(Cnvs, UpDate);
  }
};

class FrameObjectsFixture : public frametest::FrameFixture {
 protected:
  std::vector<std::string> Events;
  std::vector<TOwned<TspDataSkinObject>> Descriptors;

  void SetUp() override {
    FrameFixture::SetUp();
    Skin->FPicture = FlatBitmap(300, 120, FoNormal);
    // Active picture 0: green everywhere; a red button at (0, 100, 10, 110); a blue
    // pressed picture at (20, 100, 40, 110).
    auto Looks = FlatBitmap(600, 120, FoActive);
    Looks->Canvas()->Brush()->SetColor(FoButton);
    Looks->Canvas()->FillRect(Rect(0, 100, 10, 110));
    Looks->Canvas()->Brush()->SetColor(FoPressed);
    Looks->Canvas()->FillRect(Rect(20, 100, 40, 110));
    Skin->FActivePictures.Add(std::move(Looks));
    Skin->Empty = false;
    FS->FSD = Skin.get();
    FS->OnTrackBarChangeValueEvent = [this](const String& N, Integer V) {
      Events.push_back("track " + N + " " + std::to_string(V));
    };
    FS->OnFrameRegulatorChangeValueEvent = [this](const String& N, Integer V) {
      Events.push_back("regulator " + N + " " + std::to_string(V));
    };
    FS->OnSwitchChangeStateEvent = [this](const String& N, TSwitchState S) {
      Events.push_back("switch " + N + (S == swsOn ? " on" : " off"));
    };
    FS->OnMouseDownEvent = [this](const String& N, Integer, Integer, TRect, TMouseButton B) {
      Events.push_back("down " + N + (B == mbLeft ? " left" : " other"));
    };
    FS->OnMouseEnterEvent = [this](const String& N) { Events.push_back("enter " + N); };
    // Objects draw themselves on the window.
    (void)Form->Handle();
    // The plain frame's caption buttons go: the tests' objects are the only ones.
    FS->ClearObjects();
  }

  // A descriptor of kind D named Name at R, its looks in active picture 0.
  template <class D>
  D* Descriptor(const String& Name, const TRect& R) {
    auto Owned = CreateOwned<D>(Name);
    D* Result = Owned.get();
    Result->SkinRect = R;
    Result->ActivePictureIndex = 0;
    Result->ActiveMaskPictureIndex = -1;
    Result->GlowLayerPictureIndex = -1;
    Result->CursorIndex = -1;
    Descriptors.push_back(std::move(Owned));
    return Result;
  }

  // An object of kind T made from D and appended to the frame's list (which owns it).
  template <class T>
  Counted<T>* Add(TspDataSkinObject* D) {
    auto* O = new Counted<T>(FS, D);
    FS->ObjectList.push_back(O);
    return O;
  }

  // O drawn on a white canvas of the frame picture's size.
  TOwned<TBitmap> DrawOnTarget(TspActiveSkinObject* O, Boolean UpDate = true) {
    auto Target = FlatBitmap(300, 120, FoTarget);
    O->Draw(Target->Canvas(), UpDate);
    return Target;
  }
};

}  // namespace vantrel::frameobjtest
