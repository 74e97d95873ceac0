// Button, menu button, check box / radio button, label and bitmap-font label descriptors.
#include "skin/core/data/SkinDescriptors.h"

using vantrel::skin::SkinKeyVisitor;

TspDataSkinButtonControl::TspDataSkinButtonControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinButtonControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 12);
  V.Int("activefontcolor", ActiveFontColor, 0, 0);
  V.Int("downfontcolor", DownFontColor, 0, 0);
  V.Int("disabledfontcolor", DisabledFontColor, 0, 0);
  V.Bool("morphing", Morphing);
  V.MorphKind("morphkind", MorphKind);
  V.Rect("activeskinrect", ActiveSkinRect);
  V.Rect("downskinrect", DownSkinRect);
  V.Rect("focusedskinrect", FocusedSkinRect);
  V.Rect("disabledskinrect", DisabledSkinRect);
  V.Rect("animateskinrect", AnimateSkinRect);
  V.Int("framecount", FrameCount, 0, 0);
  V.Int("animateinterval", AnimateInterval, 25, 0);
  V.Bool("showfocus", ShowFocus);
  V.Rect("menumarkerflatrect", MenuMarkerFlatRect);
  V.Rect("menumarkerrect", MenuMarkerRect);
  V.Rect("menumarkeractiverect", MenuMarkerActiveRect);
  V.Rect("menumarkerdownrect", MenuMarkerDownRect);
  V.Int("menumarkertransparentcolor", MenuMarkerTransparentColor, 0, 0);
  V.Int("glowlayerpictureindex", GlowLayerPictureIndex, -1, -1);
  V.Int("glowlayermaskpictureindex", GlowLayerMaskPictureIndex, -1, -1);
  V.Int("glowlayeroffsetleft", GlowLayerOffsetLeft, 0, 0);
  V.Int("glowlayeroffsetright", GlowLayerOffsetRight, 0, 0);
  V.Int("glowlayeroffsettop", GlowLayerOffsetTop, 0, 0);
  V.Int("glowlayeroffsetbottom", GlowLayerOffsetBottom, 0, 0);
  V.Int("glowlayershowoffsetx", GlowLayerShowOffsetX, 0, 0);
  V.Int("glowlayershowoffsety", GlowLayerShowOffsetY, 0, 0);
  V.Int("glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255, 255);
}

TspDataSkinMenuButtonControl::TspDataSkinMenuButtonControl(const String& AIDName)
    : TspDataSkinButtonControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinMenuButtonControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinButtonControl::VisitKeys(V);
  V.Rect("trackbuttonrect", TrackButtonRect);
}

TspDataSkinCheckRadioControl::TspDataSkinCheckRadioControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinCheckRadioControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 12);
  V.Int("activefontcolor", ActiveFontColor, 0, 0);
  V.Int("unenabledfontcolor", UnEnabledFontColor, 0, 0);
  V.Int("framefontcolor", FrameFontColor, 0, 0);
  V.Bool("morphing", Morphing);
  V.MorphKind("morphkind", MorphKind);
  V.Rect("activeskinrect", ActiveSkinRect);
  V.Rect("checkimagearea", CheckImageArea);
  V.Rect("textarea", TextArea);
  V.Rect("checkimagerect", CheckImageRect);
  V.Rect("uncheckimagerect", UnCheckImageRect);
  V.Rect("activecheckimagerect", ActiveCheckImageRect);
  V.Rect("activeuncheckimagerect", ActiveUnCheckImageRect);
  V.Rect("unenabledcheckimagerect", UnEnabledCheckImageRect);
  V.Rect("unenableduncheckimagerect", UnEnabledUnCheckImageRect);
  V.Rect("grayedcheckimagerect", GrayedCheckImageRect);
  V.Rect("activegrayedcheckimagerect", ActiveGrayedCheckImageRect);
}

TspDataSkinLabelControl::TspDataSkinLabelControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinLabelControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 12);
}

TspDataSkinBitLabelControl::TspDataSkinBitLabelControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName), Symbols(CreateOwned<TStringList>()) {
  SetCreateValues();
}

void TspDataSkinBitLabelControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Rect("skintextrect", SkinTextRect);
  V.Int("symbolwidth", SymbolWidth, 0, 0);
  V.Int("symbolheight", SymbolHeight, 0, 0);
  V.Lines("symbols", *Symbols);
}
