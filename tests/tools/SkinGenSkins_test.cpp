// The generated skins as a store reads them: each loads, holds every name with its kind,
// names only pictures it has, keeps its rectangles inside their pictures, and writes back
// to the same bytes; a second run of skingen writes the same files again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "tests/support/TempDir.h"
#include "tests/tools/SkinGen_TestKit.h"

using namespace vantrel::test;
namespace sg = vantrel::skingen;
namespace fs = std::filesystem;

namespace {

struct ExpectedName {
  std::string Name;
  std::string Kind;
  bool Control;
};

std::vector<ExpectedName> ExpectedNames(const GeneratedSkin& G) {
  std::vector<ExpectedName> R;
  for (const sg::SkinName& N : sg::CompleteSkinNames) {
    if (G.Alt && std::any_of(sg::AltMissingNames.begin(), sg::AltMissingNames.end(),
                             [&](const char* M) { return std::string(M) == N.Name; }))
      continue;
    const bool Other = G.Alt && std::string(N.Name) == sg::AltOtherKind.Name;
    R.push_back({N.Name, Other ? sg::AltOtherKind.Kind : N.Kind, N.Control});
  }
  if (G.Test)
    for (const sg::SkinName& N : sg::TestExtraNames) R.push_back({N.Name, N.Kind, N.Control});
  return R;
}

class GeneratedSkinTest : public ::testing::TestWithParam<GeneratedSkin> {};

TEST_P(GeneratedSkinTest, LoadsAsANonEmptySkin) {
  LoadedSkin S(GetParam().Folder);
  EXPECT_FALSE(S.Data->Empty);
  EXPECT_FALSE(S.Data->FPicture->Empty());
  EXPECT_FALSE(S.Data->FInActivePicture->Empty());
  EXPECT_FALSE(S.Data->FMask->Empty());
  EXPECT_FALSE(S.Data->FRollUpPicture->Empty());
  EXPECT_FALSE(S.Data->FRollUpMask->Empty());
  EXPECT_EQ(S.Data->AreaList.Count(), 0);
  EXPECT_EQ(S.Data->LayerFrame->PictureIndex, -1);
  EXPECT_EQ(S.Data->StatusBarName, "statusbar");
}

TEST_P(GeneratedSkinTest, HoldsEveryNameWithItsKind) {
  LoadedSkin S(GetParam().Folder);
  const std::vector<ExpectedName> Names = ExpectedNames(GetParam());
  for (const ExpectedName& N : Names) {
    SCOPED_TRACE(N.Name);
    if (N.Control) {
      const Integer I = S.Data->GetControlIndex(N.Name);
      ASSERT_GE(I, 0);
      EXPECT_EQ(vantrel::skin::SkinControlKindOf(*S.Data->CtrlList[I]), N.Kind);
    } else {
      const Integer I = S.Data->GetIndex(N.Name);
      ASSERT_GE(I, 0);
      EXPECT_EQ(vantrel::skin::SkinObjectKindOf(*S.Data->ObjectList[I]), N.Kind);
    }
  }
  EXPECT_EQ(static_cast<size_t>(S.Data->CtrlList.Count() + S.Data->ObjectList.Count()),
            Names.size());
  if (GetParam().Alt) {
    for (const char* Missing : sg::AltMissingNames) EXPECT_EQ(S.Data->GetControlIndex(Missing), -1);
  }
}

TEST_P(GeneratedSkinTest, NamedDescriptorsPointAtEachOther) {
  LoadedSkin S(GetParam().Folder);
  auto* Bar = dynamic_cast<TspDataSkinMainMenuBar*>(
      S.Data->CtrlList[S.Data->GetControlIndex("mainmenubar")]);
  ASSERT_NE(Bar, nullptr);
  EXPECT_EQ(
      vantrel::skin::SkinObjectKindOf(*S.Data->ObjectList[S.Data->GetIndex(Bar->MenuBarItem)]),
      "mainmenubaritem");
  for (const String& B : {Bar->CloseButton, Bar->MinButton, Bar->MaxButton, Bar->SysMenuButton})
    EXPECT_EQ(vantrel::skin::SkinObjectKindOf(*S.Data->ObjectList[S.Data->GetIndex(B)]),
              "mainmenubarbutton");
  auto* Combo =
      dynamic_cast<TspDataSkinComboBox*>(S.Data->CtrlList[S.Data->GetControlIndex("combobox")]);
  ASSERT_NE(Combo, nullptr);
  EXPECT_EQ(Combo->ListBoxName, "listbox");
  auto* List =
      dynamic_cast<TspDataSkinListBox*>(S.Data->CtrlList[S.Data->GetControlIndex("listbox")]);
  ASSERT_NE(List, nullptr);
  for (const String& Bar2 : {List->VScrollBarName, List->HScrollBarName, List->BothScrollBarName})
    EXPECT_EQ(vantrel::skin::SkinControlKindOf(*S.Data->CtrlList[S.Data->GetControlIndex(Bar2)]),
              "scrollbar");
  for (const char* Caption : {"closebutton", "maxbutton", "minbutton", "sysmenubutton"}) {
    auto* B = dynamic_cast<TspDataSkinStdButton*>(S.Data->ObjectList[S.Data->GetIndex(Caption)]);
    ASSERT_NE(B, nullptr) << Caption;
  }
  EXPECT_EQ(dynamic_cast<TspDataSkinStdButton*>(S.Data->ObjectList[S.Data->GetIndex("closebutton")])
                ->Command,
            cmClose);
  EXPECT_EQ(dynamic_cast<TspDataSkinStdButton*>(S.Data->ObjectList[S.Data->GetIndex("maxbutton")])
                ->Command,
            cmMaximize);
  EXPECT_EQ(dynamic_cast<TspDataSkinStdButton*>(S.Data->ObjectList[S.Data->GetIndex("minbutton")])
                ->Command,
            cmMinimize);
  EXPECT_EQ(
      dynamic_cast<TspDataSkinStdButton*>(S.Data->ObjectList[S.Data->GetIndex("sysmenubutton")])
          ->Command,
      cmSysMenu);
}

// Every key naming a picture of the list holds -1 or the index of a non-empty picture.
TEST_P(GeneratedSkinTest, PictureIndexesNameNonEmptyPictures) {
  LoadedSkin S(GetParam().Folder);
  auto Check = [&](const std::string& Owner, const SkinKeyRecorder& K) {
    for (const auto& [Key, Value] : K.Ints) {
      if (Key.find("pictureindex") == std::string::npos) continue;
      SCOPED_TRACE(Owner + "." + Key);
      if (Value == -1) continue;
      TBitmap* B = S.ListPicture(Value);
      ASSERT_NE(B, nullptr);
      EXPECT_FALSE(B->Empty());
    }
  };
  for (TspDataSkinControl* D : S.Data->CtrlList) Check(D->IDName, KeysOf(D));
  for (TspDataSkinObject* O : S.Data->ObjectList) Check(O->IDName, KeysOf(O));
  Check("POPUPWINDOW", KeysOf(S.Data->PopupWindow.get()));
  Check("HINTWINDOW", KeysOf(S.Data->HintWindow.get()));
  Check("LAYERFRAME", KeysOf(S.Data->LayerFrame.get()));
  EXPECT_EQ(S.Data->BGPictureIndex, -1);
  EXPECT_EQ(S.Data->MDIBGPictureIndex, -1);
  for (Integer I = 0; I < S.Data->FActivePictures.Count(); ++I)
    EXPECT_FALSE(S.Data->FActivePictures[I]->Empty());
}

bool Inside(const TRect& R, TBitmap* B) {
  return R.Left >= 0 && R.Top >= 0 && R.Right <= B->Width() && R.Bottom <= B->Height();
}

TEST_P(GeneratedSkinTest, ImagesLieInsideTheirPicturesAndCornersInsideTheSkinRect) {
  LoadedSkin S(GetParam().Folder);
  for (TspDataSkinControl* D : S.Data->CtrlList) {
    const SkinKeyRecorder K = KeysOf(D);
    TBitmap* B = S.ListPicture(D->PictureIndex);
    for (const auto& [Key, R] : K.Rects) {
      if (EmptyRect(R) || PlacesPiece(D, Key)) continue;
      SCOPED_TRACE(D->IDName + "." + Key);
      ASSERT_NE(B, nullptr);
      EXPECT_TRUE(Inside(R, B));
    }
    const TRect Sr = D->SkinRect;
    const TRect Local{0, 0, Sr.Right - Sr.Left, Sr.Bottom - Sr.Top};
    for (const char* P : {"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint"}) {
      if (!K.Points.count(P)) continue;
      SCOPED_TRACE(D->IDName + "." + P);
      const TPoint Pt = K.Points.at(P);
      EXPECT_TRUE(Pt.X >= Local.Left && Pt.X <= Local.Right && Pt.Y >= Local.Top &&
                  Pt.Y <= Local.Bottom);
    }
    // A menu button's track part is a place inside its own skin rectangle.
    if (auto* Menu = dynamic_cast<TspDataSkinMenuButtonControl*>(D)) {
      const TRect T = Menu->TrackButtonRect;
      EXPECT_TRUE(!EmptyRect(T) && T.Left >= 0 && T.Top >= 0 && T.Right <= Local.Right && T.Bottom <= Local.Bottom)
          << D->IDName;
    }
    if (K.Rects.size() && !EmptyRect(K.RectOf("clientrect"))) {
      const TRect C = K.RectOf("clientrect");
      EXPECT_TRUE(C.Left >= 0 && C.Top >= 0 && C.Right <= Local.Right && C.Bottom <= Local.Bottom)
          << D->IDName;
    }
  }
  for (TspDataSkinObject* O : S.Data->ObjectList) {
    for (const auto& [Key, R] : KeysOf(O).Rects) {
      if (EmptyRect(R) || sg::IsPlacementKey(Key)) continue;
      SCOPED_TRACE(O->IDName + "." + Key);
      TBitmap* B = ObjectPicture(S, O, Key);
      ASSERT_NE(B, nullptr);
      EXPECT_TRUE(Inside(R, B));
    }
  }
  // The frame: corner points inside the client rectangle, which lies in the picture.
  const TspSkinData& D = *S.Data;
  const TRect Frame{0, 0, D.FPicture->Width(), D.FPicture->Height()};
  EXPECT_TRUE(D.ClRect.Left >= 0 && D.ClRect.Top >= 0 && D.ClRect.Right <= Frame.Right &&
              D.ClRect.Bottom <= Frame.Bottom);
  for (const TPoint& P : {D.LTPoint, D.RTPoint, D.LBPoint, D.RBPoint})
    EXPECT_TRUE(P.X >= D.ClRect.Left && P.X <= D.ClRect.Right && P.Y >= D.ClRect.Top &&
                P.Y <= D.ClRect.Bottom);
  for (const TRect& R : {D.CaptionRect, D.ButtonsRect, D.IconRect, D.MainMenuRect, D.SizeGripArea})
    EXPECT_TRUE(!EmptyRect(R) && R.Left >= 0 && R.Top >= 0 && R.Right <= Frame.Right &&
                R.Bottom <= Frame.Bottom);
  EXPECT_EQ(D.FRollUpPicture->Width(), Frame.Right);
  EXPECT_EQ(D.FMask->Width(), Frame.Right);
  EXPECT_EQ(D.FMask->Height(), Frame.Bottom);
}

// The frame mask rounds the top corners: the corner pixel is outside (white), the
// middle of the caption inside (black).
TEST_P(GeneratedSkinTest, FrameMaskRoundsTheTopCorners) {
  LoadedSkin S(GetParam().Folder);
  for (TBitmap* Mask : {S.Data->FMask.get(), S.Data->FRollUpMask.get()}) {
    const int W = Mask->Width(), H = Mask->Height();
    EXPECT_EQ(PixelOf(Mask, 0, 0), sg::Rgb(255, 255, 255));
    EXPECT_EQ(PixelOf(Mask, W - 1, 0), sg::Rgb(255, 255, 255));
    EXPECT_EQ(PixelOf(Mask, W / 2, 0), sg::Rgb(0, 0, 0));
    EXPECT_EQ(PixelOf(Mask, 0, H - 1), sg::Rgb(0, 0, 0));
    EXPECT_EQ(PixelOf(Mask, W - 1, H - 1), sg::Rgb(0, 0, 0));
  }
}

std::set<std::string> FilesIn(const std::string& Folder) {
  std::set<std::string> R;
  for (const auto& E : fs::directory_iterator(Folder)) R.insert(E.path().filename().string());
  return R;
}

TEST_P(GeneratedSkinTest, StoringTheLoadedSkinGivesTheSameBytes) {
  LoadedSkin S(GetParam().Folder);
  TTempDir Out;
  S.Data->StoreToDisk(Out.Path() + "/");
  const std::set<std::string> Written = FilesIn(Out.Path());
  EXPECT_TRUE(Written.count(sg::SkinIniName));
  std::set<std::string> Named{sg::SkinIniName};
  for (const String* N : {&S.Data->FPictureName, &S.Data->FInActivePictureName, &S.Data->FMaskName,
                          &S.Data->FRollUpPictureName, &S.Data->FRollUpMaskName})
    Named.insert(*N);
  for (Integer I = 0; I < S.Data->FActivePicturesNames->Count(); ++I)
    Named.insert(S.Data->FActivePicturesNames->Get(I));
  EXPECT_EQ(Written, Named);
  for (const std::string& Name : Written) {
    SCOPED_TRACE(Name);
    const std::string Mine = ReadFileBytes(Out.File(Name));
    EXPECT_FALSE(Mine.empty());
    EXPECT_TRUE(Mine == ReadFileBytes(GetParam().Folder + "/" + Name));
  }
}

INSTANTIATE_TEST_SUITE_P(Skins, GeneratedSkinTest, ::testing::ValuesIn(GeneratedSkins()),
                         [](const auto& Info) {
                           std::string N = Info.param.Label;
                           std::replace(N.begin(), N.end(), '-', '_');
                           return N;
                         });

TEST(SkinGenRun, ASecondRunWritesTheSameFiles) {
  TTempDir Out;
  const std::string Default = Out.File(sg::DefaultSkinFolder);
  const std::string Command = "'" + BinDir() + "/skingen' '" + Default + "' '" + Out.Path() + "'";
  ASSERT_EQ(std::system(Command.c_str()), 0);
  struct Pair {
    std::string Mine;
    std::string Build;
  };
  for (const Pair& P :
       {Pair{Default, BinDir() + "/" + sg::DefaultSkinFolder},
        Pair{Out.File(sg::TestSkinFolder), TestSkinDir(sg::TestSkinFolder)},
        Pair{Out.File(sg::TestSkinAltFolder), TestSkinDir(sg::TestSkinAltFolder)}}) {
    const std::set<std::string> Files = FilesIn(P.Mine);
    EXPECT_EQ(Files, FilesIn(P.Build));
    for (const std::string& Name : Files) {
      SCOPED_TRACE(P.Mine + "/" + Name);
      EXPECT_TRUE(ReadFileBytes(P.Mine + "/" + Name) == ReadFileBytes(P.Build + "/" + Name));
    }
  }
}

TEST(SkinGenRun, WithoutItsTwoFoldersItStopsWithUsage) {
  const std::string Command = "'" + BinDir() + "/skingen' > /dev/null 2>&1";
  EXPECT_NE(std::system(Command.c_str()), 0);
}

}  // namespace
