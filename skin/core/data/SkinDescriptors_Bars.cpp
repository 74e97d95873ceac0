// Scroll bar, track bar, gauge, splitter, up-down and spin-edit descriptors.
#include "skin/core/data/SkinDescriptors.h"

using vantrel::skin::SkinKeyVisitor;

namespace {

// The six arrow-button images: up (or left) and down (or right), each normal, active and
// pressed.
template <class T>
void ArrowButtonKeys(SkinKeyVisitor& V, T& D) {
  V.Rect("upbuttonrect", D.UpButtonRect);
  V.Rect("activeupbuttonrect", D.ActiveUpButtonRect);
  V.Rect("downupbuttonrect", D.DownUpButtonRect);
  V.Rect("downbuttonrect", D.DownButtonRect);
  V.Rect("activedownbuttonrect", D.ActiveDownButtonRect);
  V.Rect("downdownbuttonrect", D.DownDownButtonRect);
}

}  // namespace

TspDataSkinScrollBarControl::TspDataSkinScrollBarControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinScrollBarControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Rect("trackarea", TrackArea);
  ArrowButtonKeys(V, *this);
  V.Rect("thumbrect", ThumbRect);
  V.Rect("activethumbrect", ActiveThumbRect);
  V.Rect("downthumbrect", DownThumbRect);
  V.Int("thumboffset1", ThumbOffset1, 0, 0);
  V.Int("thumboffset2", ThumbOffset2, 0, 0);
  V.Bool("thumbtransparent", ThumbTransparent);
  V.Int("thumbtransparentcolor", ThumbTransparentColor, 0, clFuchsia);
  V.Bool("thumbstretcheffect", ThumbStretchEffect);
  V.Int("thumbminsize", ThumbMinSize, 0, 0);
  V.Int("thumbminpagesize", ThumbMinPageSize, 0, 0);
  V.Rect("glyphrect", GlyphRect);
  V.Rect("activeglyphrect", ActiveGlyphRect);
  V.Rect("downglyphrect", DownGlyphRect);
  V.Bool("glyphtransparent", GlyphTransparent);
  V.Int("glyphtransparentcolor", GlyphTransparentColor, 0, clFuchsia);
}

TspDataSkinTrackBarControl::TspDataSkinTrackBarControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinTrackBarControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Rect("activeskinrect", ActiveSkinRect);
  V.Rect("trackarea", TrackArea);
  V.Rect("buttonrect", ButtonRect);
  V.Rect("activebuttonrect", ActiveButtonRect);
  V.Bool("vertical", Vertical);
  V.Bool("buttontransparent", ButtonTransparent);
  V.Int("buttontransparentcolor", ButtonTransparentColor, 0, clFuchsia);
}

TspDataSkinGaugeControl::TspDataSkinGaugeControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinGaugeControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Rect("progressarea", ProgressArea);
  V.Rect("progressrect", ProgressRect);
  V.Int("beginoffset", BeginOffset, 0, 0);
  V.Int("endoffset", EndOffset, 0, 0);
  V.Bool("vertical", Vertical);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 14);
  V.Bool("progresstransparent", ProgressTransparent);
  V.Int("progresstransparentcolor", ProgressTransparentColor, 0, clFuchsia);
  V.Bool("progressstretch", ProgressStretch);
  V.Rect("animationskinrect", AnimationSkinRect);
  V.Int("animationcountframes", AnimationCountFrames, 0, 0);
  V.Int("animationtimerinterval", AnimationTimerInterval, 0, 0);
  V.Rect("progressanimationskinrect", ProgressAnimationSkinRect);
  V.Int("progressanimationcountframes", ProgressAnimationCountFrames, 0, 0);
  V.Int("progressanimationtimerinterval", ProgressAnimationTimerInterval, 0, 0);
  V.Int("animationbeginoffset", AnimationBeginOffset, 0, 0);
  V.Int("animationendoffset", AnimationEndOffset, 0, 0);
}

TspDataSkinSplitterControl::TspDataSkinSplitterControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinSplitterControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Rect("gripperrect", GripperRect);
  V.Bool("grippertransparent", GripperTransparent);
  V.Int("grippertransparentcolor", GripperTransparentColor, 0, clFuchsia);
}

TspDataSkinUpDownControl::TspDataSkinUpDownControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinUpDownControl::ClearGeometry() {
  LTPoint = TPoint{};
  RTPoint = TPoint{};
  LBPoint = TPoint{};
  RBPoint = TPoint{};
  ClRect = TRect{};
}

void TspDataSkinUpDownControl::LoadFromFile(TCustomIniFile* IniFile) {
  TspDataSkinCustomControl::LoadFromFile(IniFile);
  ClearGeometry();
}

void TspDataSkinUpDownControl::SaveToFile(TCustomIniFile* IniFile) {
  ClearGeometry();
  TspDataSkinCustomControl::SaveToFile(IniFile);
}

void TspDataSkinUpDownControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  ArrowButtonKeys(V, *this);
}

TspDataSkinSpinEditControl::TspDataSkinSpinEditControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinSpinEditControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Rect("activeskinrect", ActiveSkinRect);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 12);
  V.Int("activefontcolor", ActiveFontColor, 0, 0);
  V.Int("disabledfontcolor", DisabledFontColor, 0, 0);
  ArrowButtonKeys(V, *this);
}
