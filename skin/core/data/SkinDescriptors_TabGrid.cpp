// Tab and grid descriptors: large control descriptors with geometry fields of their own.
#include "skin/core/data/SkinDescriptors.h"

using vantrel::skin::SkinKeyVisitor;

TspDataSkinTabControl::TspDataSkinTabControl(const String& AIDName) : TspDataSkinControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinTabControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinControl::VisitKeys(V);
  V.Rect("tabrect", TabRect);
  V.Rect("activetabrect", ActiveTabRect);
  V.Rect("focustabrect", FocusTabRect);
  V.Rect("mouseintabrect", MouseInTabRect);
  V.Rect("clientrect", ClRect);
  V.Int("bgpictureindex", BGPictureIndex, -1, -1);
  V.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
  V.Int("tableftoffset", TabLeftOffset, 0, 0);
  V.Int("tabrightoffset", TabRightOffset, 0, 0);
  V.Rect("tabsbgrect", TabsBGRect);
  V.Bool("tabstretcheffect", TabStretchEffect);
  V.Bool("leftstretch", LeftStretch);
  V.Bool("topstretch", TopStretch);
  V.Bool("rightstretch", RightStretch);
  V.Bool("bottomstretch", BottomStretch);
  V.Bool("stretcheffect", StretchEffect);
  V.StretchType("stretchtype", StretchType);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 14);
  V.Int("activefontcolor", ActiveFontColor, 0, 0);
  V.Int("focusfontcolor", FocusFontColor, 0, 0);
  V.Int("mouseinfontcolor", MouseInFontColor, 0, 0);
  V.Str("updown", UpDown, "", "");
  V.Bool("showfocus", ShowFocus);
  V.Int("focusoffsetx", FocusOffsetX, 0, 0);
  V.Int("focusoffsety", FocusOffsetY, 0, 0);
  V.Rect("closebuttonrect", CloseButtonRect);
  V.Rect("closebuttonactiverect", CloseButtonActiveRect);
  V.Rect("closebuttondownrect", CloseButtonDownRect);
  V.Bool("buttontransparent", ButtonTransparent);
  V.Int("buttontransparentcolor", ButtonTransparentColor, 0, clFuchsia);
}

TspDataSkinGridControl::TspDataSkinGridControl(const String& AIDName)
    : TspDataSkinControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinGridControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinControl::VisitKeys(V);
  V.Rect("fixedcellrect", FixedCellRect);
  V.Rect("selectcellrect", SelectCellRect);
  V.Rect("focuscellrect", FocusCellRect);
  V.Int("fixedcellleftoffset", FixedCellLeftOffset, 0, 0);
  V.Int("fixedcellrightoffset", FixedCellRightOffset, 0, 0);
  V.Rect("fixedcelltextrect", FixedCellTextRect);
  V.Int("cellleftoffset", CellLeftOffset, 0, 0);
  V.Int("cellrightoffset", CellRightOffset, 0, 0);
  V.Rect("celltextrect", CellTextRect);
  V.Int("linescolor", LinesColor, 0, 0);
  V.Int("bgcolor", BGColor, 0, 0);
  V.Int("bgpictureindex", BGPictureIndex, -1, -1);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 14);
  V.Int("selectfontcolor", SelectFontColor, 0, 0);
  V.Int("focusfontcolor", FocusFontColor, 0, 0);
  V.Font(FixedFontName, FixedFontHeight, FixedFontStyle, FixedFontColor, "Arial", 14,
         "fixed");
  V.Bool("cellstretcheffect", CellStretchEffect);
  V.Bool("fixedcellstretcheffect", FixedCellStretchEffect);
  V.Bool("showfocus", ShowFocus);
}
