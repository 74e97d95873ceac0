// The control descriptors' own rules: values that differ between creation and a missing
// key, the frame-strip and regulator keywords, the up-down pair's cleared geometry, line
// lists of bit labels, and the key names that are easy to get wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "skin/core/data/SkinDescriptors.h"
#include "tests/skin/core/SkinDescriptors_TestKit.h"

using namespace vantrel::test;

namespace {

template <class T>
TOwned<T> Loaded(const std::string& IniText, const String& Name = "d") {
  auto Ini = IniFromText(IniText);
  auto D = CreateOwned<T>(Name);
  D->LoadFromFile(Ini.get());
  return D;
}

TEST(SkinControlDescriptors, CreationAndMissingKeysGiveDifferentValues) {
  // Each row: the value after the constructor, then after loading an empty section.
  auto Empty = "[d]\nhint=x\n";
  {
    SCOPED_TRACE("views: white background at creation, black when the key is missing");
    EXPECT_EQ(CreateOwned<TspDataSkinTreeView>("d")->BGColor, clWhite);
    EXPECT_EQ(Loaded<TspDataSkinTreeView>(Empty)->BGColor, 0);
    EXPECT_EQ(CreateOwned<TspDataSkinListView>("d")->BGColor, clWhite);
    EXPECT_EQ(Loaded<TspDataSkinRichEdit>(Empty)->BGColor, 0);
  }
  {
    SCOPED_TRACE("font heights 12 at creation, 14 when missing");
    EXPECT_EQ(CreateOwned<TspDataSkinButtonControl>("d")->FontHeight, 12);
    EXPECT_EQ(Loaded<TspDataSkinButtonControl>(Empty)->FontHeight, 14);
    EXPECT_EQ(CreateOwned<TspDataSkinCheckRadioControl>("d")->FontHeight, 12);
    EXPECT_EQ(Loaded<TspDataSkinCheckRadioControl>(Empty)->FontHeight, 14);
    EXPECT_EQ(CreateOwned<TspDataSkinStdLabelControl>("d")->FontHeight, 12);
    EXPECT_EQ(Loaded<TspDataSkinStdLabelControl>(Empty)->FontHeight, 14);
  }
  {
    SCOPED_TRACE("button animation interval");
    EXPECT_EQ(CreateOwned<TspDataSkinButtonControl>("d")->AnimateInterval, 0);
    EXPECT_EQ(Loaded<TspDataSkinButtonControl>(Empty)->AnimateInterval, 25);
  }
  {
    SCOPED_TRACE("magenta key colours at creation, black when missing");
    auto Tab = CreateOwned<TspDataSkinTabControl>("d");
    EXPECT_EQ(Tab->ButtonTransparentColor, clFuchsia);
    EXPECT_EQ(Loaded<TspDataSkinTabControl>(Empty)->ButtonTransparentColor, 0);
    auto Bar = CreateOwned<TspDataSkinScrollBarControl>("d");
    EXPECT_EQ(Bar->ThumbTransparentColor, clFuchsia);
    EXPECT_EQ(Bar->GlyphTransparentColor, clFuchsia);
    auto LoadedBar = Loaded<TspDataSkinScrollBarControl>(Empty);
    EXPECT_EQ(LoadedBar->ThumbTransparentColor, 0);
    EXPECT_EQ(LoadedBar->GlyphTransparentColor, 0);
    EXPECT_EQ(CreateOwned<TspDataSkinTrackBarControl>("d")->ButtonTransparentColor, clFuchsia);
    EXPECT_EQ(CreateOwned<TspDataSkinGaugeControl>("d")->ProgressTransparentColor, clFuchsia);
    EXPECT_EQ(CreateOwned<TspDataSkinSplitterControl>("d")->GripperTransparentColor, clFuchsia);
    EXPECT_EQ(Loaded<TspDataSkinSplitterControl>(Empty)->GripperTransparentColor, 0);
    EXPECT_EQ(CreateOwned<TspDataSkinPanelControl>("d")->GripperTransparentColor, clFuchsia);
    EXPECT_EQ(Loaded<TspDataSkinPanelControl>(Empty)->GripperTransparentColor, 0);
    // The control bar's key colours are black either way.
    EXPECT_EQ(CreateOwned<TspDataSkinControlBar>("d")->ItemTransparentColor, 0);
    EXPECT_EQ(CreateOwned<TspDataSkinControlBar>("d")->GripTransparentColor, 0);
  }
  {
    SCOPED_TRACE("control bar item offsets");
    EXPECT_EQ(CreateOwned<TspDataSkinControlBar>("d")->ItemOffset1, 0);
    auto Bar = Loaded<TspDataSkinControlBar>(Empty);
    EXPECT_EQ(Bar->ItemOffset1, 3);
    EXPECT_EQ(Bar->ItemOffset2, 3);
  }
  {
    SCOPED_TRACE("list box scroll-bar names");
    auto Created = CreateOwned<TspDataSkinCheckListBox>("d");
    EXPECT_EQ(Created->VScrollBarName, "");
    EXPECT_EQ(Created->BothScrollBarName, "");
    auto List = Loaded<TspDataSkinCheckListBox>(Empty);
    EXPECT_EQ(List->VScrollBarName, "vscrollbar");
    EXPECT_EQ(List->HScrollBarName, "hscrollbar");
    EXPECT_EQ(List->BothScrollBarName, "bothhscrollbar");
  }
}

TEST(SkinControlDescriptors, SameValuesAtCreationAndForMissingKeys) {
  auto Empty = "[d]\nhint=x\n";
  EXPECT_EQ(CreateOwned<TspDataSkinStdLabelControl>("d")->ActiveFontColor, clBlue);
  EXPECT_EQ(Loaded<TspDataSkinStdLabelControl>(Empty)->ActiveFontColor, clBlue);
  EXPECT_EQ(CreateOwned<TspDataSkinPanelControl>("d")->Alignment, taCenter);
  EXPECT_EQ(Loaded<TspDataSkinPanelControl>(Empty)->Alignment, taCenter);
  auto Grid = Loaded<TspDataSkinGridControl>(Empty);
  EXPECT_EQ(Grid->FontName, "Arial");
  EXPECT_EQ(Grid->FontHeight, 14);
  EXPECT_TRUE(Grid->FontStyle.Empty());
  EXPECT_EQ(Grid->FontColor, 0);
  EXPECT_EQ(Grid->FixedFontName, "Arial");
  EXPECT_EQ(Grid->FixedFontHeight, 14);
  EXPECT_TRUE(Grid->FixedFontStyle.Empty());
  EXPECT_EQ(Grid->FixedFontColor, 0);
  auto Gauge = Loaded<TspDataSkinGaugeControl>(Empty);
  EXPECT_EQ(Gauge->AnimationCountFrames, 0);
  EXPECT_EQ(Gauge->AnimationTimerInterval, 0);
  EXPECT_EQ(Gauge->ProgressAnimationCountFrames, 0);
  EXPECT_EQ(Gauge->ProgressAnimationTimerInterval, 0);
}

TEST(SkinControlDescriptors, FrameStripsHaveAtLeastOneFrame) {
  struct Case {
    const char* Count;
    Integer Expected;
  } Cases[] = {{"0", 1}, {"-5", 1}, {"junk", 1}, {"1", 1}, {"7", 7}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Count);
    const std::string Text = std::string("[d]\nframescount=") + C.Count + "\n";
    EXPECT_EQ(Loaded<TspDataSkinAnimateControl>(Text)->FramesCount, C.Expected);
    EXPECT_EQ(Loaded<TspDataSkinFrameRegulator>(Text)->FramesCount, C.Expected);
  }
  // Written back, the fixed count is stored.
  auto D = Loaded<TspDataSkinSwitchControl>("[d]\nframescount=0\n");
  auto Ini = IniFromText("");
  D->SaveToFile(Ini.get());
  EXPECT_EQ(Ini->ReadString("d", "framescount", ""), "1");
}

TEST(SkinControlDescriptors, FramePlacementAndRegulatorKindKeywords) {
  struct Case {
    const char* Text;  // null: key absent
    TFramesPlacement Placement;
    TRegulatorKind Kind;
  } Cases[] = {
      {nullptr, fpHorizontal, rkRound},
      {"", fpVertical, rkVertical},
      {"FPHORIZONTAL", fpVertical, rkVertical},  // the comparison is exact
      {"rkround", fpVertical, rkRound},
      {"rkhorizontal", fpVertical, rkHorizontal},
      {"rkvertical", fpVertical, rkVertical},
      {"rkrond", fpVertical, rkVertical},  // misspelt: vertical, not the default
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text ? C.Text : "(absent)");
    const std::string Text =
        C.Text ? std::string("[d]\nframesplacement=") + C.Text + "\nkind=" + C.Text : "[d]\nx=1";
    EXPECT_EQ(Loaded<TspDataSkinFrameGauge>(Text)->FramesPlacement, C.Placement);
    auto R = Loaded<TspDataSkinFrameRegulator>(Text);
    EXPECT_EQ(R->FramesPlacement, C.Placement);
    EXPECT_EQ(R->Kind, C.Kind);
  }
  EXPECT_EQ(Loaded<TspDataSkinFrameGauge>("[d]\nframesplacement=fphorizontal")->FramesPlacement,
            fpHorizontal);
  auto Ini = IniFromText("");
  auto R = CreateOwned<TspDataSkinFrameRegulator>("r");
  R->FramesPlacement = fpVertical;
  R->Kind = rkHorizontal;
  R->SaveToFile(Ini.get());
  EXPECT_EQ(Ini->ReadString("r", "framesplacement", ""), "fpvertical");
  EXPECT_EQ(Ini->ReadString("r", "kind", ""), "rkhorizontal");
}

TEST(SkinControlDescriptors, UpDownKeepsNoCornerPointsOrClientRectangle) {
  auto D = Loaded<TspDataSkinUpDownControl>(
      "[d]\nlefttoppoint=1,2\nrighttoppoint=3,4\nleftbottompoint=5,6\nrightbottompoint=7,8\n"
      "clientrect=1,1,9,9\nupbuttonrect=10,11,12,13\nstretcheffect=1\n");
  EXPECT_TRUE(D->LTPoint == Point(0, 0));
  EXPECT_TRUE(D->RTPoint == Point(0, 0));
  EXPECT_TRUE(D->LBPoint == Point(0, 0));
  EXPECT_TRUE(D->RBPoint == Point(0, 0));
  EXPECT_EQ(RectText(D->ClRect), "0,0,0,0");
  EXPECT_EQ(RectText(D->UpButtonRect), "10,11,12,13");
  EXPECT_TRUE(D->StretchEffect);  // other inherited keys are kept

  // Saving clears them on the descriptor and writes zeros.
  D->LTPoint = Point(4, 4);
  D->ClRect = Rect(2, 2, 8, 8);
  auto Ini = IniFromText("");
  D->SaveToFile(Ini.get());
  EXPECT_TRUE(D->LTPoint == Point(0, 0));
  EXPECT_EQ(RectText(D->ClRect), "0,0,0,0");
  EXPECT_EQ(Ini->ReadString("d", "lefttoppoint", ""), "0,0");
  EXPECT_EQ(Ini->ReadString("d", "clientrect", ""), "0,0,0,0");
}

TEST(SkinControlDescriptors, BitLabelSymbolsAreReadInOrderAndAppended) {
  EXPECT_EQ(Loaded<TspDataSkinBitLabelControl>("[d]\nsymbolwidth=8\n")->Symbols->Count(), 0);
  EXPECT_EQ(Loaded<TspDataSkinBitLabelControl>("[d]\nsymbolslinecount=0\nsymbolsline0=x\n")
                ->Symbols->Count(),
            0);
  auto Ini = IniFromText(
      "[d]\nsymbolsline2=789\nsymbolslinecount=3\nsymbolsline0=ABC\nsymbolsline1=DEF\n");
  auto D = CreateOwned<TspDataSkinBitLabelControl>("d");
  D->Symbols->Add("before");
  D->LoadFromFile(Ini.get());
  ASSERT_EQ(D->Symbols->Count(), 4);
  EXPECT_EQ(D->Symbols->Get(0), "before");
  EXPECT_EQ(D->Symbols->Get(1), "ABC");
  EXPECT_EQ(D->Symbols->Get(2), "DEF");
  EXPECT_EQ(D->Symbols->Get(3), "789");
}

TEST(SkinControlDescriptors, TabWritesEachEdgeFlagUnderItsOwnKey) {
  for (const char* Flag : {"topstretch", "rightstretch", "leftstretch", "bottomstretch"}) {
    SCOPED_TRACE(Flag);
    auto Ini = IniFromText(std::string("[t]\n") + Flag + "=1\n");
    auto Tab = CreateOwned<TspDataSkinTabControl>("t");
    Tab->LoadFromFile(Ini.get());
    auto Out = IniFromText("");
    Tab->SaveToFile(Out.get());
    for (const char* Other : {"topstretch", "rightstretch", "leftstretch", "bottomstretch"})
      EXPECT_EQ(Out->ReadString("t", Other, "?"), std::string(Other) == Flag ? "1" : "0") << Other;
  }
}

TEST(SkinControlDescriptors, KeyNamesThatAreEasyToGetWrong) {
  auto List = Loaded<TspDataSkinListBox>(
      "[d]\nbothhscrollbarname=both\nitemrect=1,2,3,4\nvscrollbarname=v\n");
  EXPECT_EQ(List->BothScrollBarName, "both");
  EXPECT_EQ(List->VScrollBarName, "v");
  EXPECT_EQ(RectText(List->SItemRect), "1,2,3,4");
  EXPECT_EQ(RectText(Loaded<TspDataSkinComboBox>("[d]\nitemrect=5,6,7,8")->SItemRect), "5,6,7,8");
  EXPECT_EQ(RectText(Loaded<TspDataSkinTabControl>("[d]\nclientrect=1,2,3,4")->ClRect), "1,2,3,4");

  // A memo section holds the edit keys and then its two colours.
  auto Memo = CreateOwned<TspDataSkinMemoControl>("m");
  auto Ini = IniFromText("");
  Memo->SaveToFile(Ini.get());
  const auto Keys = SectionKeys(*Ini, "m");
  ASSERT_GE(Keys.size(), 2u);
  EXPECT_EQ(Keys[Keys.size() - 2], "bgcolor");
  EXPECT_EQ(Keys.back(), "activebgcolor");
  EXPECT_EQ(Loaded<TspDataSkinMemoControl>("[d]\nfontcolor=5")->ActiveBGColor, 0);

  // A menu-button section holds the button keys and then the arrow part.
  auto MenuButton = CreateOwned<TspDataSkinMenuButtonControl>("mb");
  MenuButton->SaveToFile(Ini.get());
  EXPECT_EQ(SectionKeys(*Ini, "mb").back(), "trackbuttonrect");
  auto Button = CreateOwned<TspDataSkinButtonControl>("b");
  Button->ShowFocus = true;
  Button->SaveToFile(Ini.get());
  auto AsMenu = CreateOwned<TspDataSkinMenuButtonControl>("b");
  AsMenu->LoadFromFile(Ini.get());
  EXPECT_TRUE(AsMenu->ShowFocus);
  EXPECT_EQ(RectText(AsMenu->TrackButtonRect), "0,0,0,0");
}

TEST(SkinControlDescriptors, EveryKindStartsWithItsOwnCreationValues) {
  // Per kind, the keys a new descriptor holds other than zero, empty, false, the zero
  // rectangle or point, and the first word of a keyword; every control has pictureindex,
  // maskpictureindex and cursorindex -1. Colours are written as numbers (0x00BBGGRR).
  const std::vector<std::string> EveryControl = {"pictureindex=-1", "maskpictureindex=-1", "cursorindex=-1"};
  const std::vector<std::string> ZeroTexts = {
      "", "0", "0,0,0,0", "0,0", "mkdefault", "stfull", "taleftjustify", "fphorizontal", "rkround"};
  struct Row {
    const char* Kind;
    std::vector<std::string> Values;
  } Rows[] = {
      {"slider", {}},
      {"bevel", {}},
      {"panel",
       {"bgpictureindex=-1", "alignment=tacenter", "fontname=Arial", "fontheight=12",
        "grippertransparentcolor=16711935"}},
      {"expanel", {"fontname=Arial", "fontheight=12", "buttonstransparentcolor=16711935"}},
      {"menubutton",
       {"fontname=Arial", "fontheight=12", "glowlayerpictureindex=-1", "glowlayermaskpictureindex=-1",
        "glowlayeralphablendvalue=255"}},
      {"button",
       {"fontname=Arial", "fontheight=12", "glowlayerpictureindex=-1", "glowlayermaskpictureindex=-1",
        "glowlayeralphablendvalue=255"}},
      {"checkradio", {"fontname=Arial", "fontheight=12"}},
      {"gauge", {"fontname=Arial", "fontheight=14", "progresstransparentcolor=16711935"}},
      {"splitter", {"grippertransparentcolor=16711935"}},
      {"trackbar", {"buttontransparentcolor=16711935"}},
      {"label", {"fontname=Arial", "fontheight=12"}},
      {"stdlabel", {"fontname=Arial", "fontheight=12", "activefontcolor=16711680"}},
      {"bitlabel", {}},
      {"frameregulator", {"framescount=1"}},
      {"framegauge", {"framescount=1"}},
      {"animate", {"framescount=1"}},
      {"updown", {}},
      {"switch", {"framescount=1"}},
      {"grid",
       {"bgpictureindex=-1", "fontname=Arial", "fontheight=14", "fixedfontname=Arial", "fixedfontheight=14"}},
      {"tab", {"bgpictureindex=-1", "fontname=Arial", "fontheight=14", "buttontransparentcolor=16711935"}},
      {"mainmenubar", {}},
      {"controlbar", {"bgpictureindex=-1"}},
      {"memo", {"fontname=Arial", "fontheight=12"}},
      {"edit", {"fontname=Arial", "fontheight=12"}},
      {"checklistbox", {"fontname=Arial", "fontheight=14", "captionfontname=Arial", "captionfontheight=14"}},
      {"listbox", {"fontname=Arial", "fontheight=14", "captionfontname=Arial", "captionfontheight=14"}},
      {"combobox", {"fontname=Arial", "fontheight=14"}},
      {"scrollbar", {"thumbtransparentcolor=16711935", "glyphtransparentcolor=16711935"}},
      {"spinedit", {"fontname=Arial", "fontheight=12"}},
      {"scrollbox", {"bgpictureindex=-1"}},
      {"treeview", {"fontname=Arial", "fontheight=14", "bgcolor=16777215"}},
      {"listview", {"fontname=Arial", "fontheight=14", "bgcolor=16777215"}},
      {"richedit", {"fontname=Arial", "fontheight=14", "bgcolor=16777215"}},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Kind);
    TOwned<TspDataSkinControl> D = vantrel::skin::CreateSkinControl(R.Kind, "d");
    ASSERT_TRUE(D);
    auto Ini = IniFromText("");
    D->SaveToFile(Ini.get());
    std::vector<std::string> Expected = EveryControl;
    Expected.insert(Expected.end(), R.Values.begin(), R.Values.end());
    std::vector<std::string> Named;
    for (const std::string& KeyValue : Expected) {
      const std::string Key = KeyValue.substr(0, KeyValue.find('='));
      Named.push_back(Key);
      ASSERT_TRUE(Ini->ValueExists("d", Key)) << Key;
      EXPECT_EQ(KeyValue, Key + "=" + Ini->ReadString("d", Key, ""));
    }
    for (const std::string& Key : SectionKeys(*Ini, "d")) {
      if (std::find(Named.begin(), Named.end(), Key) != Named.end()) continue;
      const std::string Value = Ini->ReadString("d", Key, "");
      EXPECT_NE(std::find(ZeroTexts.begin(), ZeroTexts.end(), Value), ZeroTexts.end()) << Key << "=" << Value;
    }
  }
}

}  // namespace
