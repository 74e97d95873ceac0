// Skin descriptors as a whole: every kind keyword builds its class and the writer gives it
// back (derived kinds first); every class starts with its creation values, reads a missing
// key as its absent value, and survives a write and read unchanged; sections hold exactly
// the chain's keys, base first.
#include "skin/core/data/SkinDescriptors.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/skin/core/SkinDescriptors_TestKit.h"
#include "tests/support/TempDir.h"

using namespace vantrel::test;
using vantrel::skin::CreateSkinControl;
using vantrel::skin::SkinControlKind;
using vantrel::skin::SkinControlKindOf;
using vantrel::skin::SkinControlKinds;

namespace {

// Every control kind in the writer's order, with the class it must build.
const std::vector<std::pair<std::string, std::string>> ExpectedKinds = {
    {"slider", "TspDataSkinSlider"},
    {"bevel", "TspDataSkinBevel"},
    {"panel", "TspDataSkinPanelControl"},
    {"expanel", "TspDataSkinExPanelControl"},
    {"menubutton", "TspDataSkinMenuButtonControl"},
    {"button", "TspDataSkinButtonControl"},
    {"checkradio", "TspDataSkinCheckRadioControl"},
    {"gauge", "TspDataSkinGaugeControl"},
    {"splitter", "TspDataSkinSplitterControl"},
    {"trackbar", "TspDataSkinTrackBarControl"},
    {"label", "TspDataSkinLabelControl"},
    {"stdlabel", "TspDataSkinStdLabelControl"},
    {"bitlabel", "TspDataSkinBitLabelControl"},
    {"frameregulator", "TspDataSkinFrameRegulator"},
    {"framegauge", "TspDataSkinFrameGauge"},
    {"animate", "TspDataSkinAnimateControl"},
    {"updown", "TspDataSkinUpDownControl"},
    {"switch", "TspDataSkinSwitchControl"},
    {"grid", "TspDataSkinGridControl"},
    {"tab", "TspDataSkinTabControl"},
    {"mainmenubar", "TspDataSkinMainMenuBar"},
    {"controlbar", "TspDataSkinControlBar"},
    {"memo", "TspDataSkinMemoControl"},
    {"edit", "TspDataSkinEditControl"},
    {"checklistbox", "TspDataSkinCheckListBox"},
    {"listbox", "TspDataSkinListBox"},
    {"combobox", "TspDataSkinComboBox"},
    {"scrollbar", "TspDataSkinScrollBarControl"},
    {"spinedit", "TspDataSkinSpinEditControl"},
    {"scrollbox", "TspDataSkinScrollBoxControl"},
    {"treeview", "TspDataSkinTreeView"},
    {"listview", "TspDataSkinListView"},
    {"richedit", "TspDataSkinRichEdit"},
};

using ControlMaker = std::function<TOwned<TspDataSkinControl>(const String& Name)>;

// Makers of every control class, the three bases first, then each kind.
std::vector<ControlMaker> AllControlMakers() {
  std::vector<ControlMaker> R = {
      [](const String& N) -> TOwned<TspDataSkinControl> {
        return CreateOwned<TspDataSkinControl>(N);
      },
      [](const String& N) -> TOwned<TspDataSkinControl> {
        return CreateOwned<TspDataSkinCustomControl>(N);
      },
      [](const String& N) -> TOwned<TspDataSkinControl> {
        return CreateOwned<TspDataSkinFrameControl>(N);
      },
  };
  for (const SkinControlKind& K : SkinControlKinds()) {
    const std::string Kind = K.Keyword;
    R.push_back([Kind](const String& N) { return CreateSkinControl(Kind, N); });
  }
  return R;
}

// Every control class, fresh from its constructor.
std::vector<TOwned<TspDataSkinControl>> AllControlClasses(const String& Name) {
  std::vector<TOwned<TspDataSkinControl>> R;
  for (const ControlMaker& Make : AllControlMakers()) R.push_back(Make(Name));
  return R;
}

TEST(SkinDescriptors, EveryKindKeywordBuildsItsClassAndIsWrittenBack) {
  const auto Kinds = SkinControlKinds();
  ASSERT_EQ(Kinds.size(), ExpectedKinds.size());
  for (size_t i = 0; i < ExpectedKinds.size(); ++i) {
    const auto& [Keyword, ClassName] = ExpectedKinds[i];
    SCOPED_TRACE(Keyword);
    EXPECT_EQ(Kinds[i].Keyword, Keyword);  // the writer's order
    auto D = CreateSkinControl(Keyword, "name");
    ASSERT_TRUE(D);
    EXPECT_STREQ(D->ClassName(), ClassName.c_str());
    EXPECT_EQ(D->IDName, "name");
    EXPECT_EQ(SkinControlKindOf(*D), Keyword);
  }
}

TEST(SkinDescriptors, UnknownKindsBuildNothingAndBasesHaveNoKind) {
  for (const char* Kind : {"", "Button", "button ", "buttons", "menuitem", "userobject"}) {
    SCOPED_TRACE(Kind);
    EXPECT_FALSE(CreateSkinControl(Kind, "x"));
  }
  EXPECT_EQ(SkinControlKindOf(*CreateOwned<TspDataSkinControl>("x")), "");
  EXPECT_EQ(SkinControlKindOf(*CreateOwned<TspDataSkinCustomControl>("x")), "");
  EXPECT_EQ(SkinControlKindOf(*CreateOwned<TspDataSkinFrameControl>("x")), "");
}

TEST(SkinDescriptors, DerivedKindsAreWrittenBeforeTheirBases) {
  // Each derived class also matches its base's row, so the order of the rows decides.
  struct Case {
    const char* Derived;
    const char* Base;
  } Cases[] = {{"menubutton", "button"}, {"memo", "edit"}, {"checklistbox", "listbox"}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Derived);
    auto D = CreateSkinControl(C.Derived, "x");
    bool MatchesBase = false;
    for (const SkinControlKind& K : SkinControlKinds())
      if (std::string(K.Keyword) == C.Base) MatchesBase = K.Matches(*D);
    EXPECT_TRUE(MatchesBase);
    EXPECT_EQ(SkinControlKindOf(*D), C.Derived);
  }
}

TEST(SkinDescriptors, ConstructorsSetTheCreationValuesOfTheWholeChain) {
  for (auto& D : AllControlClasses("x")) {
    SCOPED_TRACE(D->ClassName());
    FieldCheck Check(true);
    D->VisitKeys(Check);
  }
  auto O = CreateOwned<TspDataSkinObject>("x");
  FieldCheck Check(true);
  O->VisitKeys(Check);
}

TEST(SkinDescriptors, AMissingSectionReadsAsTheAbsentValues) {
  auto Ini = IniFromText("[other]\npictureindex=5\n");
  for (auto& D : AllControlClasses("x")) {
    SCOPED_TRACE(D->ClassName());
    FieldFill Fill;  // so every field visibly changes
    D->VisitKeys(Fill);
    D->LoadFromFile(Ini.get());
    FieldCheck Check(false);
    D->VisitKeys(Check);
  }
  auto O = CreateOwned<TspDataSkinObject>("x");
  FieldFill Fill;
  O->VisitKeys(Fill);
  O->LoadFromFile(Ini.get());
  FieldCheck Check(false);
  O->VisitKeys(Check);
}

// Writes D (filled with distinct values, only flag OnlyTrue set), reads the section into
// a new descriptor of the same class, and compares every field.
template <class Make>
void ExpectRoundTrip(Make MakeNew, const std::string& OnlyTrue) {
  auto D = MakeNew();
  FieldFill Fill(OnlyTrue);
  D->VisitKeys(Fill);
  auto Ini = IniFromText("");
  D->SaveToFile(Ini.get());
  auto Back = MakeNew();
  Back->LoadFromFile(Ini.get());
  EXPECT_EQ(Dump(*Back), Dump(*D));
}

TEST(SkinDescriptors, EveryClassReadsBackWhatItWrote) {
  // The up-down pair clears its geometry on the descriptor itself when it saves, so the
  // comparison holds after the save as well.
  for (const ControlMaker& Maker : AllControlMakers()) {
    auto Make = [&Maker] { return Maker("Sect"); };
    auto Probe = Make();
    SCOPED_TRACE(Probe->ClassName());
    ExpectRoundTrip(Make, "");
    for (const std::string& Flag : ListKeys(*Probe).BoolKeys) {
      SCOPED_TRACE(Flag);
      ExpectRoundTrip(Make, Flag);
    }
  }
  auto MakeObject = [] { return CreateOwned<TspDataSkinObject>("obj"); };
  ExpectRoundTrip(MakeObject, "");
  for (const std::string& Flag : ListKeys(*MakeObject()).BoolKeys)
    ExpectRoundTrip(MakeObject, Flag);
}

TEST(SkinDescriptors, EveryKindSurvivesAFileOnDisk) {
  // One skin.ini with a section per kind, written to disk and parsed again.
  TTempDir Dir;
  const std::string Name = Dir.File("skin.ini");
  std::vector<TOwned<TspDataSkinControl>> Written;
  {
    auto Ini = CreateOwned<TMemIniFile>(Name);
    for (const SkinControlKind& K : SkinControlKinds()) {
      auto D = CreateSkinControl(K.Keyword, std::string("Ctrl ") + K.Keyword);
      FieldFill Fill(K.Keyword == std::string("tab") ? "topstretch" : "stretcheffect");
      D->VisitKeys(Fill);
      D->SaveToFile(Ini.get());
      Written.push_back(std::move(D));
    }
    Ini->UpdateFile();
  }
  auto Ini = CreateOwned<TMemIniFile>(Name);
  for (auto& D : Written) {
    SCOPED_TRACE(D->IDName);
    auto Back = CreateSkinControl(SkinControlKindOf(*D), D->IDName);
    Back->LoadFromFile(Ini.get());
    EXPECT_EQ(Dump(*Back), Dump(*D));
  }
}

TEST(SkinDescriptors, ASectionHoldsExactlyTheChainKeysBaseFirst) {
  for (auto& D : AllControlClasses("MySect")) {
    SCOPED_TRACE(D->ClassName());
    FieldFill Fill;
    D->VisitKeys(Fill);
    auto Ini = IniFromText("[mysect]\nstale=1\n[next]\nkeep=2\n");
    D->SaveToFile(Ini.get());
    const KeyList Keys = ListKeys(*D);
    EXPECT_EQ(SectionKeys(*Ini, "MySect"), Keys.Keys);
    EXPECT_EQ(std::set<std::string>(Keys.Keys.begin(), Keys.Keys.end()).size(), Keys.Keys.size())
        << "a key appears twice";
    EXPECT_EQ(Ini->ReadString("next", "keep", ""), "2");
    // Base keys come first.
    const std::vector<std::string> Root = {"pictureindex", "maskpictureindex", "cursorindex",
                                           "skinrect"};
    EXPECT_EQ(std::vector<std::string>(Keys.Keys.begin(), Keys.Keys.begin() + 4), Root);
  }
}

TEST(SkinDescriptors, SectionsOfTheBasesUseTheirOwnKeyNames) {
  // Spelled out once here, so a misspelt key in a base shows in every class.
  auto Ini = IniFromText("");
  CreateOwned<TspDataSkinUpDownControl>("u")->SaveToFile(Ini.get());
  EXPECT_EQ(SectionKeys(*Ini, "u"),
            (std::vector<std::string>{
                "pictureindex",       "maskpictureindex", "cursorindex",     "skinrect",
                "lefttoppoint",       "righttoppoint",    "leftbottompoint", "rightbottompoint",
                "clientrect",         "stretcheffect",    "leftstretch",     "topstretch",
                "rightstretch",       "bottomstretch",    "stretchtype",     "upbuttonrect",
                "activeupbuttonrect", "downupbuttonrect", "downbuttonrect",  "activedownbuttonrect",
                "downdownbuttonrect"}));
  CreateOwned<TspDataSkinObject>("o")->SaveToFile(Ini.get());
  EXPECT_EQ(
      SectionKeys(*Ini, "o"),
      (std::vector<std::string>{
          "hint", "rollup", "activepictureindex", "activemaskpictureindex", "skinrectinapicture",
          "cursorindex", "skinrect", "activeskinrect", "inactiveskinrect", "morphing", "morphkind",
          "glowlayerpictureindex", "glowlayermaskpictureindex", "glowlayeroffsetx",
          "glowlayeroffsety", "glowlayeralphablendvalue"}));
}

TEST(SkinDescriptors, SectionAndKeyNamesMatchWithoutRegardToCase) {
  auto Ini = IniFromText(
      "[MyButton]\nFontHeight=20\nSKINRECT=1,2,3,4\nFontStyle=fsbold\nMorphKind=mkpush\n");
  auto D = CreateOwned<TspDataSkinButtonControl>("mybutton");
  D->LoadFromFile(Ini.get());
  EXPECT_EQ(D->FontHeight, 20);
  EXPECT_EQ(RectText(D->SkinRect), "1,2,3,4");
  EXPECT_TRUE(D->FontStyle.Contains(fsBold));
  EXPECT_EQ(D->MorphKind, mkPush);
}

TEST(SkinDescriptors, KeywordValuesAreCaseSensitiveAndFallBack) {
  auto Ini = IniFromText(
      "[b]\nmorphkind=MKPUSH\nstretchtype=STVERT\nfontstyle=FSBOLD\n"
      "[p]\nalignment=TaLeftJustify\n");
  auto B = CreateOwned<TspDataSkinButtonControl>("b");
  B->LoadFromFile(Ini.get());
  EXPECT_EQ(B->MorphKind, mkDefault);
  EXPECT_EQ(B->StretchType, spstHorz);
  EXPECT_TRUE(B->FontStyle.Empty());
  auto P = CreateOwned<TspDataSkinPanelControl>("p");
  P->LoadFromFile(Ini.get());
  EXPECT_EQ(P->Alignment, taRightJustify);
}

TEST(SkinDescriptors, NegativeCoordinatesComeBackWithoutTheirSign) {
  auto D = CreateOwned<TspDataSkinCustomControl>("c");
  D->SkinRect = Rect(-10, 5, -1, 20);
  D->LTPoint = Point(-3, -4);
  auto Ini = IniFromText("");
  D->SaveToFile(Ini.get());
  EXPECT_EQ(Ini->ReadString("c", "skinrect", ""), "-10,5,-1,20");
  auto Back = CreateOwned<TspDataSkinCustomControl>("c");
  Back->LoadFromFile(Ini.get());
  EXPECT_EQ(RectText(Back->SkinRect), "10,5,1,20");
  EXPECT_TRUE(Back->LTPoint == Point(3, 4));
}

TEST(SkinDescriptors, ARectangleWithoutDigitsFailsTheLoad) {
  auto Ini = IniFromText("[p]\nfontheight=20\nskinrect=1,2,3\n[q]\nlefttoppoint=\n");
  auto P = CreateOwned<TspDataSkinPanelControl>("p");
  EXPECT_THROW(P->LoadFromFile(Ini.get()), EConvertError);
  auto Q = CreateOwned<TspDataSkinButtonControl>("q");
  EXPECT_THROW(Q->LoadFromFile(Ini.get()), EConvertError);
  auto O = CreateOwned<TspDataSkinObject>("p");
  EXPECT_THROW(O->LoadFromFile(Ini.get()), EConvertError);
}

TEST(SkinDescriptors, MalformedNumbersGiveTheAbsentValuesAndHexIsRead) {
  auto Ini = IniFromText(
      "[g]\nfontheight=twelve\nbeginoffset=99999999999\nendoffset=0x10\nvertical=yes\n"
      "progresstransparentcolor=$FF00FF\nanimationcountframes=-2147483648\n");
  auto G = CreateOwned<TspDataSkinGaugeControl>("g");
  G->LoadFromFile(Ini.get());
  EXPECT_EQ(G->FontHeight, 14);
  EXPECT_EQ(G->BeginOffset, 0);
  EXPECT_EQ(G->EndOffset, 16);
  EXPECT_FALSE(G->Vertical);
  EXPECT_EQ(G->ProgressTransparentColor, 0xFF00FF);
  EXPECT_EQ(G->AnimationCountFrames, INT32_MIN);
}

TEST(SkinDescriptors, TwoDescriptorsOfOneNameShareTheSectionTheLaterWrote) {
  auto Ini = IniFromText("");
  auto A = CreateOwned<TspDataSkinButtonControl>("Same");
  A->FontName = "First";
  A->ShowFocus = true;
  auto B = CreateOwned<TspDataSkinLabelControl>("same");
  B->FontName = "Second";
  A->SaveToFile(Ini.get());
  B->SaveToFile(Ini.get());
  EXPECT_EQ(Ini->ReadString("SAME", "fontname", ""), "Second");
  EXPECT_FALSE(Ini->ValueExists("same", "showfocus"));  // the button's keys are gone
  auto C = CreateOwned<TspDataSkinLabelControl>("SAME");
  C->LoadFromFile(Ini.get());
  EXPECT_EQ(C->FontName, "Second");
}

TEST(SkinDescriptors, AreasHoldTheirNameAndRectangle) {
  TspDataSkinArea Area("caption", Rect(1, 2, 3, 4));
  EXPECT_EQ(Area.IDName, "caption");
  EXPECT_EQ(RectText(Area.AreaRect), "1,2,3,4");
}

}  // namespace
