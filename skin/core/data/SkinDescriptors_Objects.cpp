// Menu item, main menu item and caption object descriptors.
#include "skin/core/drawing/SPUtils.h"
#include "skin/core/data/SkinDescriptors.h"

using vantrel::skin::SkinKeyVisitor;

TspDataSkinMenuItem::TspDataSkinMenuItem(const String& AIDName) : TspDataSkinObject(AIDName) {
  SetCreateValues();
}

void TspDataSkinMenuItem::LoadFromFile(TCustomIniFile* IniFile) {
  TspDataSkinObject::LoadFromFile(IniFile);
  if (IsNullRect(ActiveCheckImageRect)) ActiveCheckImageRect = CheckImageRect;
  if (IsNullRect(ActiveRadioImageRect)) ActiveRadioImageRect = RadioImageRect;
  if (IsNullRect(ActiveArrowImageRect)) ActiveArrowImageRect = ArrowImageRect;
}

void TspDataSkinMenuItem::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinObject::VisitKeys(V);
  V.Int("itemleftoffset", ItemLO, 0, 0);
  V.Int("itemrightoffset", ItemRO, 0, 0);
  V.Rect("dividerrect", DividerRect);
  V.Int("dividerleftoffset", DividerLO, 0, 0);
  V.Int("dividerrightoffset", DividerRO, 0, 0);
  V.Rect("textrect", TextRct);
  V.Rect("imagerect", ImageRct);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "", 0);
  V.Int("activefontcolor", ActiveFontColor, 0, 0);
  V.Int("unenabledfontcolor", UnEnabledFontColor, 0, 0);
  V.Bool("stretcheffect", StretchEffect);
  V.Bool("inactivestretcheffect", InActiveStretchEffect);
  V.Bool("dividerstretcheffect", DividerStretchEffect);
  V.Rect("animateskinrect", AnimateSkinRect);
  V.Int("framecount", FrameCount, 0, 0);
  V.Int("animateinterval", AnimateInterval, 25, 0);
  V.Bool("inactiveanimation", InActiveAnimation);
  V.Bool("useimagecolor", UseImageColor);
  V.Int("imagecolor", ImageColor, 0, 0);
  V.Int("activeimagecolor", ActiveImageColor, 0, 0);
  V.Bool("inactivetransparent", InActiveTransparent);
  V.Rect("checkimagerect", CheckImageRect);
  V.Rect("activecheckimagerect", ActiveCheckImageRect);
  V.Rect("radioimagerect", RadioImageRect);
  V.Rect("activeradioimagerect", ActiveRadioImageRect);
  V.Rect("arrowimagerect", ArrowImageRect);
  V.Rect("activearrowimagerect", ActiveArrowImageRect);
}

TspDataSkinMainMenuItem::TspDataSkinMainMenuItem(const String& AIDName)
    : TspDataSkinObject(AIDName) {
  SetCreateValues();
}

void TspDataSkinMainMenuItem::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinObject::VisitKeys(V);
  V.Int("itemleftoffset", ItemLO, 0, 0);
  V.Int("itemrightoffset", ItemRO, 0, 0);
  V.Rect("downrect", DownRect);
  V.Rect("textrect", TextRct);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "", 0);
  V.Int("activefontcolor", ActiveFontColor, 0, 0);
  V.Int("downfontcolor", DownFontColor, 0, 0);
  V.Int("unenabledfontColor", UnEnabledFontColor, 0, 0);  // spelt so in the format
  V.Bool("stretcheffect", StretchEffect);
  V.Rect("animateskinrect", AnimateSkinRect);
  V.Int("framecount", FrameCount, 0, 0);
  V.Int("animateinterval", AnimateInterval, 25, 0);
  V.Bool("inactiveanimation", InActiveAnimation);
}

TspDataSkinCaption::TspDataSkinCaption(const String& AIDName) : TspDataSkinObject(AIDName) {
  SetCreateValues();
}

void TspDataSkinCaption::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinObject::VisitKeys(V);
  V.Bool("defaultcaption", DefaultCaption);
  V.Rect("textrect", TextRct);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "", 0);
  V.Int("activefontcolor", ActiveFontColor, 0, 0);
  V.Alignment("alignment", Alignment, taLeftJustify);
  V.Bool("light", Light);
  V.Int("lightcolor", LightColor, 0, 0);
  V.Int("activelightcolor", ActiveLightColor, 0, 0);
  V.Bool("shadow", Shadow);
  V.Int("shadowcolor", ShadowColor, 0, 0);
  V.Int("activeshadowcolor", ActiveShadowColor, 0, 0);
  V.Rect("framerect", FrameRect);
  V.Rect("activeframerect", ActiveFrameRect);
  V.Rect("frametextrect", FrameTextRect);
  V.Int("frameleftoffset", FrameLeftOffset, 0, 0);
  V.Int("framerightoffset", FrameRightOffset, 0, 0);
  V.Bool("stretcheffect", StretchEffect);
  V.Rect("animateskinrect", AnimateSkinRect);
  V.Int("framecount", FrameCount, 0, 0);
  V.Int("animateinterval", AnimateInterval, 25, 0);
  V.Bool("inactiveanimation", InActiveAnimation);
  V.Bool("fullframe", FullFrame);
  V.Bool("vistagloweffect", VistaGlowEffect);
  V.Bool("vistaglowinactiveeffect", VistaGlowInActiveEffect);
  V.Bool("gloweffect", GlowEffect);
  V.Bool("glowinactiveeffect", GlowInActiveEffect);
  V.Int("glowsize", GlowSize, 3, 0);
  V.Int("glowcolor", GlowColor, 0, 0);
  V.Int("glowactivecolor", GlowActiveColor, 0, 0);
  V.Int("glowoffset", GlowOffset, 0, 0);
  V.Bool("reflectioneffect", ReflectionEffect);
  V.Int("reflactioncolor", ReflectionColor, 0, 0);  // spelt so in the format
  V.Int("reflactionactivecolor", ReflectionActiveColor, 0, 0);
  V.Int("reflectionoffset", ReflectionOffset, 0, 0);
  V.Rect("dividerrect", DividerRect);
  V.Bool("dividertransparent", DividerTransparent);
  V.Int("dividertransparentcolor", DividerTransparentColor, 0, 0);
}
