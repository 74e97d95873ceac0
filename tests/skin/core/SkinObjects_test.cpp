// Frame-object and window descriptors: every object kind keyword builds its class and is
// written back; creation, absent and round-trip values of every class; the fix-ups after a
// load (highlighted mark images, restore hints, commands, morphing off, the user object's
// short key set); the window descriptors' fixed sections.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "skin/core/data/SkinDescriptors.h"
#include "tests/skin/core/SkinDescriptors_TestKit.h"

using namespace vantrel::test;
using vantrel::skin::CreateSkinObject;
using vantrel::skin::SkinObjectKind;
using vantrel::skin::SkinObjectKindOf;
using vantrel::skin::SkinObjectKinds;

namespace {

const std::vector<std::pair<std::string, std::string>> ExpectedObjectKinds = {
    {"menuitem", "TspDataSkinMenuItem"},
    {"mainmenubaritem", "TspDataSkinMainMenuBarItem"},
    {"mainmenuitem", "TspDataSkinMainMenuItem"},
    {"mainmenubarbutton", "TspDataSkinMainMenuBarButton"},
    {"stdbutton", "TspDataSkinStdButton"},
    {"button", "TspDataSkinButton"},
    {"caption", "TspDataSkinCaption"},
    {"trackbar", "TspDataSkinTrackBar"},
    {"gauge", "TspDataSkinGauge"},
    {"framegauge", "TspDataSkinFrameGaugeObject"},
    {"frameregulator", "TspDataSkinFrameRegulatorObject"},
    {"label", "TspDataSkinLabel"},
    {"bitlabel", "TspDataSkinBitLabel"},
    {"switch", "TspDataSkinSwitch"},
    {"animate", "TspDataSkinAnimate"},
    {"userobject", "TspDataUserObject"},
};

TEST(SkinObjects, EveryObjectKindBuildsItsClassAndIsWrittenBack) {
  const auto Kinds = SkinObjectKinds();
  ASSERT_EQ(Kinds.size(), ExpectedObjectKinds.size());
  for (size_t i = 0; i < ExpectedObjectKinds.size(); ++i) {
    const auto& [Keyword, ClassName] = ExpectedObjectKinds[i];
    SCOPED_TRACE(Keyword);
    EXPECT_EQ(Kinds[i].Keyword, Keyword);
    auto D = CreateSkinObject(Keyword, "obj");
    ASSERT_TRUE(D);
    EXPECT_STREQ(D->ClassName(), ClassName.c_str());
    EXPECT_EQ(D->IDName, "obj");
    EXPECT_EQ(SkinObjectKindOf(*D), Keyword);
  }
  EXPECT_EQ(SkinObjectKindOf(*CreateOwned<TspDataSkinObject>("x")), "");
  for (const char* Kind : {"", "Button", "menuitem ", "slider", "edit"}) {
    SCOPED_TRACE(Kind);
    EXPECT_FALSE(CreateSkinObject(Kind, "x"));
  }
}

TEST(SkinObjects, EveryObjectClassHasItsCreationAndAbsentValuesAndReadsBackWhatItWrote) {
  auto Empty = IniFromText("[other]\nhint=x\n");
  for (const SkinObjectKind& K : SkinObjectKinds()) {
    SCOPED_TRACE(K.Keyword);
    auto D = CreateSkinObject(K.Keyword, "Sect");
    FieldCheck Created(true);
    D->VisitKeys(Created);

    FieldFill Fill;
    D->VisitKeys(Fill);
    D->LoadFromFile(Empty.get());
    FieldCheck Absent(false);
    D->VisitKeys(Absent);

    // Each flag on its own, so a flag written under the wrong key shows.
    auto Probe = CreateSkinObject(K.Keyword, "Sect");
    std::vector<std::string> Flags = {""};
    for (const std::string& F : ListKeys(*Probe).BoolKeys)
      if (F != "morphing") Flags.push_back(F);  // two kinds never morph after a load
    for (const std::string& Flag : Flags) {
      SCOPED_TRACE(Flag);
      auto W = CreateSkinObject(K.Keyword, "Sect");
      FieldFill Values(Flag);
      W->VisitKeys(Values);
      auto Ini = IniFromText("");
      W->SaveToFile(Ini.get());
      auto Back = CreateSkinObject(K.Keyword, "Sect");
      Back->LoadFromFile(Ini.get());
      EXPECT_EQ(Dump(*Back), Dump(*W));
      const KeyList Keys = ListKeys(*W);
      EXPECT_EQ(SectionKeys(*Ini, "Sect"), Keys.Keys);
      EXPECT_EQ(std::set<std::string>(Keys.Keys.begin(), Keys.Keys.end()).size(), Keys.Keys.size());
    }
  }
}

TEST(SkinObjects, ObjectSectionsSpellTheirKeysAsTheFormatDoes) {
  // Keys the format spells unusually, and the class that owns each.
  struct Case {
    const char* Kind;
    const char* Key;
  } Cases[] = {{"mainmenuitem", "unenabledfontColor"}, {"mainmenubaritem", "unenabledfontColor"},
               {"caption", "reflactioncolor"},         {"caption", "reflactionactivecolor"},
               {"button", "disableskinrsect"},         {"stdbutton", "disableskinrsect"},
               {"bitlabel", "symbolslinecount"}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Kind) + " " + C.Key);
    auto D = CreateSkinObject(C.Kind, "s");
    auto Ini = IniFromText("");
    D->SaveToFile(Ini.get());
    const auto Keys = SectionKeys(*Ini, "s");
    EXPECT_NE(std::find(Keys.begin(), Keys.end(), std::string(C.Key)), Keys.end());
  }
  // The caption's and the main menu item's own keys, in writing order, after the base's.
  auto Caption = CreateOwned<TspDataSkinCaption>("c");
  auto Ini = IniFromText("");
  Caption->SaveToFile(Ini.get());
  const auto Keys = SectionKeys(*Ini, "c");
  ASSERT_EQ(Keys.size(), 16u + 40u);
  EXPECT_EQ(Keys[16], "defaultcaption");
  EXPECT_EQ(Keys[24], "light");
  EXPECT_EQ(Keys[55], "dividertransparentcolor");
}

TEST(SkinObjects, MenuItemsUseTheNormalMarkImagesWhenTheHighlightedOnesAreEmpty) {
  auto Ini = IniFromText(
      "[item]\ncheckimagerect=1,2,11,12\n"
      "radioimagerect=3,4,13,14\nactiveradioimagerect=5,5,5,20\n"
      "arrowimagerect=6,7,16,17\nactivearrowimagerect=20,20,30,30\n");
  auto D = CreateOwned<TspDataSkinMenuItem>("item");
  D->LoadFromFile(Ini.get());
  EXPECT_EQ(RectText(D->ActiveCheckImageRect), "1,2,11,12");    // absent
  EXPECT_EQ(RectText(D->ActiveRadioImageRect), "3,4,13,14");    // zero width
  EXPECT_EQ(RectText(D->ActiveArrowImageRect), "20,20,30,30");  // given
  // The copy is what the writer writes.
  auto Out = IniFromText("");
  D->SaveToFile(Out.get());
  EXPECT_EQ(Out->ReadString("item", "activecheckimagerect", ""), "1,2,11,12");
}

TEST(SkinObjects, CaptionsDefaultToCentredTextWithAGlowOfThree) {
  auto Ini = IniFromText("[cap]\nfontheight=18\n");
  auto D = CreateOwned<TspDataSkinCaption>("cap");
  EXPECT_EQ(D->Alignment, taLeftJustify);
  EXPECT_EQ(D->GlowSize, 0);
  D->LoadFromFile(Ini.get());
  EXPECT_EQ(D->Alignment, taCenter);
  EXPECT_EQ(D->GlowSize, 3);
  EXPECT_EQ(D->FontName, "Arial");
  EXPECT_EQ(D->FontHeight, 18);
}

TEST(SkinObjects, CaptionButtonsReadTheirCommandAndGetTheStandardRestoreHint) {
  struct Case {
    const char* Section;
    TStdCommand Command;
    const char* RestoreHint;
  } Cases[] = {
      {"hint=Maximize\ncommand=cmmaximize", cmMaximize, "Restore"},
      {"hint=maximize\ncommand=cmmaximize", cmMaximize, ""},  // the hint's case matters
      {"hint=Minimize\ncommand=cmminimize", cmMinimize, "Restore"},
      {"hint=Maximize\ncommand=cmminimize", cmMinimize, ""},
      {"hint=RollUp\ncommand=cmrollup", cmRollUp, "Restore"},
      {"hint=Roll Up\ncommand=cmrollup", cmRollUp, "Restore"},
      {"hint=Maximize\ncommand=cmmaximize\nrestorehint=Back", cmMaximize, "Back"},
      {"hint=Close\ncommand=cmclose", cmClose, ""},
      {"command=cmsysmenu", cmSysMenu, ""},
      {"command=cmminimizetotray", cmMinimizeToTray, ""},
      {"command=CMCLOSE", cmMinimizeToTray, ""},  // any other word
      {"command=cmtray", cmMinimizeToTray, ""},
      {"hint=Maximize", cmDefault, ""},  // no command key
  };
  for (const char* Kind : {"stdbutton", "mainmenubarbutton", "animate"}) {
    for (const Case& C : Cases) {
      SCOPED_TRACE(std::string(Kind) + ": " + C.Section);
      auto Ini = IniFromText(std::string("[b]\n") + C.Section + "\n");
      auto D = CreateSkinObject(Kind, "b");
      D->LoadFromFile(Ini.get());
      if (auto* S = dynamic_cast<TspDataSkinStdButton*>(D.get())) {
        EXPECT_EQ(S->Command, C.Command);
        EXPECT_EQ(S->RestoreHint, C.RestoreHint);
      } else {
        auto* A = dynamic_cast<TspDataSkinAnimate*>(D.get());
        ASSERT_TRUE(A);
        EXPECT_EQ(A->Command, C.Command);
        EXPECT_EQ(A->RestoreHint, C.RestoreHint);
      }
    }
  }
  // The writer gives the seventh command its own word, which reads back by the fallback.
  auto B = CreateOwned<TspDataSkinStdButton>("b");
  EXPECT_EQ(B->Command, cmClose);
  B->Command = cmMinimizeToTray;
  auto Ini = IniFromText("");
  B->SaveToFile(Ini.get());
  EXPECT_EQ(Ini->ReadString("b", "command", ""), "cmminimizetotray");
}

TEST(SkinObjects, AnimationsAndTrackBarsNeverMorphAfterALoad) {
  auto Ini = IniFromText("[o]\nmorphing=1\nmorphkind=mkpush\n");
  for (const char* Kind : {"animate", "trackbar", "button"}) {
    SCOPED_TRACE(Kind);
    auto D = CreateSkinObject(Kind, "o");
    D->LoadFromFile(Ini.get());
    EXPECT_EQ(D->Morphing, std::string(Kind) == "button");
    EXPECT_EQ(D->MorphKind, mkPush);
    // The key is still written.
    auto Out = IniFromText("");
    D->SaveToFile(Out.get());
    EXPECT_TRUE(Out->ValueExists("o", "morphing"));
  }
}

TEST(SkinObjects, UserObjectsReadAndWriteOnlyTheirThreeKeys) {
  auto Ini = IniFromText(
      "[u]\nrollup=1\nskinrect=1,2,3,4\ncursorindex=7\nhint=Hello\nactivepictureindex=3\n"
      "glowlayeralphablendvalue=9\n");
  auto U = CreateOwned<TspDataUserObject>("u");
  U->LoadFromFile(Ini.get());
  EXPECT_TRUE(U->RollUp);
  EXPECT_EQ(RectText(U->SkinRect), "1,2,3,4");
  EXPECT_EQ(U->CursorIndex, 7);
  EXPECT_EQ(U->Hint, "");
  EXPECT_EQ(U->ActivePictureIndex, -1);
  EXPECT_EQ(U->GlowLayerAlphaBlendValue, 255);
  U->SaveToFile(Ini.get());
  EXPECT_EQ(SectionKeys(*Ini, "u"),
            (std::vector<std::string>{"rollup", "skinrect", "cursorindex"}));
}

TEST(SkinObjects, FrameStripObjectsAndBitLabelsKeepTheirOwnDefaults) {
  auto Ini = IniFromText(
      "[g]\nminvalue=1\n[r]\nkind=rkhorizontal\nframesplacement=FPHORIZONTAL\n"
      "[k]\nkind=vertical\n[l]\nsymbolslinecount=2\nsymbolsline0=ABC\nsymbolsline1=DEF\n");
  auto G = CreateOwned<TspDataSkinFrameGaugeObject>("g");
  G->LoadFromFile(Ini.get());
  EXPECT_EQ(G->CountFrames, 0);  // no lower bound, unlike the frame-strip controls
  EXPECT_EQ(G->FramesPlacement, fpHorizontal);
  auto R = CreateOwned<TspDataSkinFrameRegulatorObject>("r");
  R->LoadFromFile(Ini.get());
  EXPECT_EQ(R->Kind, rkHorizontal);
  EXPECT_EQ(R->FramesPlacement, fpVertical);  // any word but "fphorizontal"
  EXPECT_EQ(SkinObjectKindOf(*R), "frameregulator");
  auto K = CreateOwned<TspDataSkinGauge>("k");
  K->LoadFromFile(Ini.get());
  EXPECT_EQ(K->Kind, gkVertical);
  auto L = CreateOwned<TspDataSkinBitLabel>("l");
  EXPECT_EQ(L->TransparentColor, 0xFF00FF);
  L->LoadFromFile(Ini.get());
  EXPECT_EQ(L->TransparentColor, 0xFF00FF);
  EXPECT_EQ(L->Symbols->Text(), "ABC\nDEF\n");
}

// ---- Window descriptors ------------------------------------------------------------------

template <class D>
void ExpectWindowDescriptor(const char* Section, const std::vector<std::string>& FirstKeys) {
  auto W = CreateOwned<D>();
  FieldCheck Created(true);
  W->VisitKeys(Created);
  // A skin without the section reads the absent values.
  FieldFill Fill;
  W->VisitKeys(Fill);
  auto Empty = IniFromText("[other]\npictureindex=4\n");
  W->LoadFromFile(Empty.get());
  FieldCheck Absent(false);
  W->VisitKeys(Absent);
  // Writing replaces the whole section; reading it back gives every field.
  for (const std::string& Flag : ListKeys(*W).BoolKeys) {
    SCOPED_TRACE(Flag);
    auto Ini = IniFromText(std::string("[") + Section + "]\nstale=1\n");
    FieldFill Values(Flag);
    W->VisitKeys(Values);
    W->SaveToFile(Ini.get());
    EXPECT_FALSE(Ini->ValueExists(Section, "stale"));
    EXPECT_EQ(SectionKeys(*Ini, Section), ListKeys(*W).Keys);
    auto Back = CreateOwned<D>();
    Back->LoadFromFile(Ini.get());
    EXPECT_EQ(Dump(*Back), Dump(*W));
  }
  const auto Keys = ListKeys(*W).Keys;
  EXPECT_EQ(std::vector<std::string>(Keys.begin(), Keys.begin() + FirstKeys.size()), FirstKeys);
}

TEST(SkinObjects, WindowDescriptorsReadAndReplaceTheirFixedSections) {
  {
    SCOPED_TRACE("LAYERFRAME");
    ExpectWindowDescriptor<TspDataSkinLayerFrame>(
        "LAYERFRAME",
        {"pictureindex", "maskpictureindex", "inactivepictureindex", "inactivemaskpictureindex"});
  }
  {
    SCOPED_TRACE("POPUPWINDOW");
    ExpectWindowDescriptor<TspDataSkinPopupWindow>(
        "POPUPWINDOW", {"windowpictureindex", "maskpictureindex", "lefttoppoint"});
  }
  {
    SCOPED_TRACE("HINTWINDOW");
    ExpectWindowDescriptor<TspDataSkinHintWindow>(
        "HINTWINDOW", {"windowpictureindex", "maskpictureindex", "lefttoppoint"});
  }
}

TEST(SkinObjects, WindowDescriptorDefaultsWithoutTheirSections) {
  auto Ini = IniFromText("[VERSION]\nver=2\n[layerframe]\ninactivealphablendvalue=100\n");
  auto L = CreateOwned<TspDataSkinLayerFrame>();
  L->LoadFromFile(Ini.get());
  EXPECT_EQ(L->PictureIndex, -1);
  EXPECT_EQ(L->AlphaBlendValue, 255);
  EXPECT_EQ(L->InActiveAlphaBlendValue, 100);  // section names ignore case
  auto H = CreateOwned<TspDataSkinHintWindow>();
  EXPECT_EQ(H->FontName, "Arial");
  EXPECT_EQ(H->FontHeight, 12);
  H->LoadFromFile(Ini.get());
  EXPECT_EQ(H->FontHeight, 14);
  auto P = CreateOwned<TspDataSkinPopupWindow>();
  P->LoadFromFile(Ini.get());
  EXPECT_EQ(P->WindowPictureIndex, -1);
  EXPECT_EQ(P->CursorIndex, -1);
}

}  // namespace
