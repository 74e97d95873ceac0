// The store's own sections of skin.ini as key lists: [VERSION], the picture names of
// [PICTURES], [FORMINFO] and [SKINCOLORS]. The folder reader, the writer and the
// compressed-skin loader all go through these lists, so a key is named in one place.
#include "skin/core/data/SkinData.h"

using vantrel::skin::SkinKeyVisitor;

std::array<TspSkinData::FramePicture, 5> TspSkinData::FramePictures() {
  using vantrel::skin::FramePictureKeys;
  return {{{FramePictureKeys[0], FPicture.get(), &FPictureName},
           {FramePictureKeys[1], FInActivePicture.get(), &FInActivePictureName},
           {FramePictureKeys[2], FMask.get(), &FMaskName},
           {FramePictureKeys[3], FRollUpPicture.get(), &FRollUpPictureName},
           {FramePictureKeys[4], FRollUpMask.get(), &FRollUpMaskName}}};
}

void TspSkinData::VisitVersionKeys(SkinKeyVisitor& V) {
  V.Str("skinname", SkinName, "", "");
  V.Str("skinauthor", SkinAuthor, "", "");
  V.Str("authoremail", AuthorEmail, "", "");
  V.Str("authorurl", AuthorURL, "", "");
  V.Str("skincomments", SkinComments, "", "");
}

void TspSkinData::VisitPictureNameKeys(SkinKeyVisitor& V) {
  for (const FramePicture& P : FramePictures()) V.Str(P.Key, *P.Name, "", "");
}

// In the writer's order. Reading needs no order of its own: the frame fix-ups run after
// every key has been read.
void TspSkinData::VisitFormInfoKeys(SkinKeyVisitor& V) {
  V.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
  V.Rect("clientrect", ClRect);
  V.Int("bgpictureindex", BGPictureIndex, -1, -1);
  V.Int("mdibgpictureindex", MDIBGPictureIndex, -1, -1);
  V.Rect("maskrectarea", MaskRectArea);
  V.Bool("leftstretch", LeftStretch);
  V.Bool("rightstretch", RightStretch);
  V.Bool("topstretch", TopStretch);
  V.Bool("bottomstretch", BottomStretch);
  V.Bool("stretcheffect", StretchEffect);
  V.StretchType("stretchtype", StretchType);
  V.Bool("mdibgstretcheffect", MDIBGStretchEffect);
  V.StretchType("mdibgstretchtype", MDIBGStretchType);
  V.Rect("buttonsrect", ButtonsRect);
  V.Rect("captionrect", CaptionRect);
  V.Int("buttonsoffset", ButtonsOffset, 0, 0);
  V.Bool("buttonsinleft", CapButtonsInLeft);
  V.Corners(HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint, "hittest");
  V.Point("rollupleftpoint", RollUpLeftPoint);
  V.Point("rolluprightpoint", RollUpRightPoint);
  V.Rect("mainmenurect", MainMenuRect);
  V.Rect("iconrect", IconRect);
  V.Bool("mainmenupopupup", MainMenuPopupUp);
  V.Int("borderwidth", BorderW, 0, 0);
  V.Int("cursorindex", CursorIndex, -1, -1);
  V.Bool("autorenderinginactiveimage", AutoRenderingInActiveImage);
  V.InActiveEffect("inactiveeffect", InActiveEffect, ieBrightness);
  V.Int("formminwidth", FormMinWidth, 0, 0);
  V.Int("formminheight", FormMinHeight, 0, 0);
  V.Rect("sizegriparea", SizeGripArea);
  V.Str("statusbarname", StatusBarName, "", "");
  V.Bool("mditabstransparent", MDITabsTransparent);
  V.Bool("mainmenubartransparent", MainMenuBarTransparent);
}

// ---- TspSkinColors --------------------------------------------------------------------------

void TspSkinColors::VisitKeys(SkinKeyVisitor& V) {
  V.Int("cbtnface", FcBtnFace, 0, 0);
  V.Int("cbtntext", FcBtnText, 0, 0);
  V.Int("cwindow", FcWindow, 0, 0);
  V.Int("cwindowtext", FcWindowText, 0, 0);
  V.Int("chighlight", FcHighLight, 0, 0);
  V.Int("chighlighttext", FcHighLightText, 0, 0);
  V.Int("cbtnhighlight", FcBtnHighLight, 0, 0);
  V.Int("cbtnshadow", FcBtnShadow, 0, 0);
  V.Int("c3dlight", Fc3DLight, 0, 0);
  V.Int("c3ddkshadow", Fc3DDkShadow, 0, 0);
}

void TspSkinColors::LoadFromFile(TCustomIniFile* IniFile) {
  vantrel::skin::ReadSectionKeys(IniFile, "SKINCOLORS", [this](SkinKeyVisitor& V) { VisitKeys(V); });
}

void TspSkinColors::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection("SKINCOLORS");
  vantrel::skin::WriteSectionKeys(IniFile, "SKINCOLORS", [this](SkinKeyVisitor& V) { VisitKeys(V); });
}
