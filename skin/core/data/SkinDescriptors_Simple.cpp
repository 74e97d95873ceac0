// Control descriptors without 9-part geometry: bevel, slider, the three views, the plain
// label, the main menu bar and the frame-strip family.
#include "skin/core/data/SkinDescriptors.h"

using vantrel::skin::SkinKeyVisitor;

namespace {

// Tree view, list view and rich edit share their keys. The constructors give a white
// background while a missing key gives black.
template <class T>
void ViewKeys(SkinKeyVisitor& V, T& D) {
  V.Font(D.FontName, D.FontHeight, D.FontStyle, D.FontColor, "Arial", 14);
  V.Int("bgcolor", D.BGColor, 0, clWhite);
}

}  // namespace

TspDataSkinBevel::TspDataSkinBevel(const String& AIDName) : TspDataSkinControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinBevel::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinControl::VisitKeys(V);
  V.Int("lightcolor", LightColor, 0, 0);
  V.Int("darkcolor", DarkColor, 0, 0);
}

TspDataSkinSlider::TspDataSkinSlider(const String& AIDName) : TspDataSkinControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinSlider::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinControl::VisitKeys(V);
  V.Int("bgcolor", BGColor, 0, 0);
  V.Rect("hrulerrect", HRulerRect);
  V.Rect("hthumbrect", HThumbRect);
  V.Rect("vrulerrect", VRulerRect);
  V.Rect("vthumbrect", VThumbRect);
  V.Int("edgesize", EdgeSize, 0, 0);
  V.Int("pointscolor", PointsColor, 0, 0);
}

TspDataSkinTreeView::TspDataSkinTreeView(const String& AIDName) : TspDataSkinControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinTreeView::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinControl::VisitKeys(V);
  ViewKeys(V, *this);
}

TspDataSkinListView::TspDataSkinListView(const String& AIDName) : TspDataSkinControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinListView::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinControl::VisitKeys(V);
  ViewKeys(V, *this);
}

TspDataSkinRichEdit::TspDataSkinRichEdit(const String& AIDName) : TspDataSkinControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinRichEdit::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinControl::VisitKeys(V);
  ViewKeys(V, *this);
}

TspDataSkinStdLabelControl::TspDataSkinStdLabelControl(const String& AIDName)
    : TspDataSkinControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinStdLabelControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinControl::VisitKeys(V);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 12);
  V.Int("activefontcolor", ActiveFontColor, clBlue, clBlue);
}

TspDataSkinMainMenuBar::TspDataSkinMainMenuBar(const String& AIDName)
    : TspDataSkinControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinMainMenuBar::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinControl::VisitKeys(V);
  V.Rect("itemsrect", ItemsRect);
  V.Str("menubaritem", MenuBarItem, "", "");
  V.Str("closebutton", CloseButton, "", "");
  V.Str("minbutton", MinButton, "", "");
  V.Str("maxbutton", MaxButton, "", "");
  V.Str("sysmenubutton", SysMenuButton, "", "");
  V.Int("trackmarkcolor", TrackMarkColor, 0, 0);
  V.Int("trackmarkactivecolor", TrackMarkActiveColor, 0, 0);
  V.Bool("stretcheffect", StretchEffect);
  V.Bool("itemtransparent", ItemTransparent);
}

TspDataSkinFrameControl::TspDataSkinFrameControl(const String& AIDName)
    : TspDataSkinControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinFrameControl::LoadFromFile(TCustomIniFile* IniFile) {
  TspDataSkinControl::LoadFromFile(IniFile);
  if (FramesCount < 1) FramesCount = 1;
}

void TspDataSkinFrameControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinControl::VisitKeys(V);
  V.Int("framescount", FramesCount, 1, 1);
  V.Keyword("framesplacement", FramesPlacement, {"fphorizontal", "fpvertical"}, fpVertical,
            fpHorizontal, fpHorizontal);
}

TspDataSkinFrameRegulator::TspDataSkinFrameRegulator(const String& AIDName)
    : TspDataSkinFrameControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinFrameRegulator::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinFrameControl::VisitKeys(V);
  V.Keyword("kind", Kind, {"rkround", "rkhorizontal", "rkvertical"}, rkVertical, rkRound, rkRound);
}
