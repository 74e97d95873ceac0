// Panel, roll-up panel, scroll box and control bar descriptors.
#include "skin/core/data/SkinDescriptors.h"

using vantrel::skin::SkinKeyVisitor;

TspDataSkinPanelControl::TspDataSkinPanelControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinPanelControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Int("bgpictureindex", BGPictureIndex, -1, -1);
  V.Rect("captionrect", CaptionRect);
  V.Alignment("alignment", Alignment, taCenter);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 12);
  V.Rect("checkimagerect", CheckImageRect);
  V.Rect("uncheckimagerect", UnCheckImageRect);
  V.Rect("markframerect", MarkFrameRect);
  V.Rect("framerect", FrameRect);
  V.Rect("frametextrect", FrameTextRect);
  V.Int("frameleftoffset", FrameLeftOffset, 0, 0);
  V.Int("framerightoffset", FrameRightOffset, 0, 0);
  V.Rect("gripperrect", GripperRect);
  V.Bool("grippertransparent", GripperTransparent);
  V.Int("grippertransparentcolor", GripperTransparentColor, 0, clFuchsia);
}

TspDataSkinExPanelControl::TspDataSkinExPanelControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinExPanelControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Rect("rollhskinrect", RollHSkinRect);
  V.Rect("rollvskinrect", RollVSkinRect);
  V.Int("rollleftoffset", RollLeftOffset, 0, 0);
  V.Int("rollrightoffset", RollRightOffset, 0, 0);
  V.Int("rolltopoffset", RollTopOffset, 0, 0);
  V.Int("rollbottomoffset", RollBottomOffset, 0, 0);
  V.Rect("rollvcaptionrect", RollVCaptionRect);
  V.Rect("rollhcaptionrect", RollHCaptionRect);
  V.Rect("closebuttonrect", CloseButtonRect);
  V.Rect("closebuttonactiverect", CloseButtonActiveRect);
  V.Rect("closebuttondownrect", CloseButtonDownRect);
  V.Rect("hrollbuttonrect", HRollButtonRect);
  V.Rect("hrollbuttonactiverect", HRollButtonActiveRect);
  V.Rect("hrollbuttondownrect", HRollButtonDownRect);
  V.Rect("hrestorebuttonrect", HRestoreButtonRect);
  V.Rect("hrestorebuttonactiverect", HRestoreButtonActiveRect);
  V.Rect("hrestorebuttondownrect", HRestoreButtonDownRect);
  V.Rect("vrollbuttonrect", VRollButtonRect);
  V.Rect("vrollbuttonactiverect", VRollButtonActiveRect);
  V.Rect("vrollbuttondownrect", VRollButtonDownRect);
  V.Rect("vrestorebuttonrect", VRestoreButtonRect);
  V.Rect("vrestorebuttonactiverect", VRestoreButtonActiveRect);
  V.Rect("vrestorebuttondownrect", VRestoreButtonDownRect);
  V.Rect("captionrect", CaptionRect);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 12);
  V.Bool("buttonstransparent", ButtonsTransparent);
  V.Int("buttonstransparentcolor", ButtonsTransparentColor, 0, clFuchsia);
}

TspDataSkinScrollBoxControl::TspDataSkinScrollBoxControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinScrollBoxControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Int("bgpictureindex", BGPictureIndex, -1, -1);
}

TspDataSkinControlBar::TspDataSkinControlBar(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinControlBar::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Rect("itemrect", ItemRect);
  V.Int("bgpictureindex", BGPictureIndex, -1, -1);
  V.Rect("hgriprect", HGripRect);
  V.Rect("vgriprect", VGripRect);
  V.Int("gripoffset1", GripOffset1, 0, 0);
  V.Int("gripoffset2", GripOffset2, 0, 0);
  V.Int("itemoffset1", ItemOffset1, 3, 0);
  V.Int("itemoffset2", ItemOffset2, 3, 0);
  V.Bool("itemstretcheffect", ItemStretchEffect);
  V.Bool("itemtransparent", ItemTransparent);
  V.Int("itemtransparentcolor", ItemTransparentColor, 0, 0);
  V.Bool("griptransparent", GripTransparent);
  V.Int("griptransparentcolor", GripTransparentColor, 0, 0);
}
