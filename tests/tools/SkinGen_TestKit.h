// What the skingen tests share: the three generated skins loaded into stores, the keys of
// a descriptor as a visitor sees them, and where each image of a descriptor lies.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "skin/core/data/SkinData.h"
#include "tests/support/TestPaths.h"
#include "tools/skingen/SkinGenSpec.h"

namespace vantrel::test {

// One of the generated skins.
struct GeneratedSkin {
  const char* Label;
  std::string Folder;
  bool Test;
  bool Alt;
};

inline std::vector<GeneratedSkin> GeneratedSkins() {
  return {{"default", BinDir() + "/" + skingen::DefaultSkinFolder, false, false},
          {"test", TestSkinDir(skingen::TestSkinFolder), true, false},
          {"test-alt", TestSkinDir(skingen::TestSkinAltFolder), true, true}};
}

// The rectangle, point, integer and text keys of a descriptor, by key name.
class SkinKeyRecorder : public vantrel::skin::SkinKeyVisitor {
 public:
  std::vector<std::pair<std::string, TRect>> Rects;
  std::map<std::string, TPoint> Points;
  std::map<std::string, Integer> Ints;
  std::map<std::string, std::string> Strings;

  void Int(const char* Key, Integer& Field, Integer, Integer) override { Ints[Key] = Field; }
  void Str(const char* Key, String& Field, const char*, const char*) override {
    Strings[Key] = Field;
  }
  void Bool(const char*, bool&, bool) override {}
  void Rect(const char* Key, TRect& Field, TRect) override { Rects.emplace_back(Key, Field); }
  void Point(const char* Key, TPoint& Field, TPoint) override { Points[Key] = Field; }
  void FontStyle(const char*, TFontStyles&, TFontStyles) override {}
  void Alignment(const char*, TAlignment&, TAlignment) override {}
  void StretchType(const char*, TspStretchType&, TspStretchType) override {}
  void MorphKind(const char*, TMorphKind&, TMorphKind) override {}
  void InActiveEffect(const char*, TspInActiveEffect&, TspInActiveEffect) override {}
  void Lines(const char*, TStrings&) override {}
  void KeywordValue(const char*, Integer&, std::initializer_list<const char*>, Integer, Integer,
                    Integer) override {}

  TRect RectOf(const std::string& Key) const {
    for (const auto& [K, R] : Rects)
      if (K == Key) return R;
    return TRect{};
  }
};

template <class D>
SkinKeyRecorder KeysOf(D* Descriptor) {
  SkinKeyRecorder R;
  Descriptor->VisitKeys(R);
  return R;
}

inline bool EmptyRect(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

// Key of D places a piece rather than naming an image.
inline bool PlacesPiece(TspDataSkinControl* D, const std::string& Key) {
  // A combo box's button and a list box's caption buttons lie in the box's own picture.
  if (dynamic_cast<TspDataSkinComboBox*>(D) && Key == "buttonrect") return true;
  if (dynamic_cast<TspDataSkinListBox*>(D) &&
      (Key == "upbuttonrect" || Key == "downbuttonrect" || Key == "checkbuttonrect"))
    return true;
  if (dynamic_cast<TspDataSkinScrollBarControl*>(D)) return skingen::IsScrollBarPlacementKey(Key);
  if (dynamic_cast<TspDataSkinSpinEditControl*>(D)) return skingen::IsSpinEditPlacementKey(Key);
  if (dynamic_cast<TspDataSkinEditControl*>(D)) return skingen::IsEditPlacementKey(Key);
  if (dynamic_cast<TspDataSkinMenuButtonControl*>(D)) return skingen::IsMenuButtonPlacementKey(Key);
  return skingen::IsPlacementKey(Key);
}

// A loaded skin with the headless window system its load talks to.
class LoadedSkin {
 public:
  explicit LoadedSkin(const std::string& Folder)
      : FSession(std::make_unique<vantrel::display::HeadlessSession>()),
        Data(CreateOwned<TspSkinData>(nullptr)) {
    Data->LoadFromFile(Folder + "/" + skingen::SkinIniName);
  }
  std::unique_ptr<vantrel::display::HeadlessSession> FSession;
  TOwned<TspSkinData> Data;

  TBitmap* ListPicture(Integer Index) const {
    if (Index < 0 || Index >= Data->FActivePictures.Count()) return nullptr;
    return Data->FActivePictures[Index];
  }
};

// The picture image Key of an object lies in: the form (or roll-up) picture for the
// SkinRect of a frame object, the active picture for the rest.
inline TBitmap* ObjectPicture(const LoadedSkin& S, TspDataSkinObject* O, const std::string& Key) {
  const std::string Kind = vantrel::skin::SkinObjectKindOf(*O);
  const bool InList = O->SkinRectInAPicture || Kind == "menuitem" || Kind == "mainmenubaritem";
  if (Key == "skinrect" && !InList)
    return O->RollUp ? S.Data->FRollUpPicture.get() : S.Data->FPicture.get();
  return S.ListPicture(O->ActivePictureIndex);
}

inline skingen::Colour PixelOf(TBitmap* B, int X, int Y) { return B->Canvas()->Pixels(X, Y); }

inline TPoint CentreOf(const TRect& R) {
  return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
}

}  // namespace vantrel::test
