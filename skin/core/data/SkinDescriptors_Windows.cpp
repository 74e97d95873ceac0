// The three window descriptors of a skin: layered border, popup-menu window, hint window.
// Each reads and writes one section of fixed name, with no fix-ups.
#include "skin/core/data/SkinDescriptors.h"

using vantrel::skin::SkinKeyVisitor;

namespace {

// Reads or writes a window descriptor's section through its key list.
template <class D>
void LoadWindow(D& Descriptor, TCustomIniFile* IniFile) {
  vantrel::skin::ReadSectionKeys(IniFile, D::Section,
                                 [&Descriptor](SkinKeyVisitor& V) { Descriptor.VisitKeys(V); });
}

template <class D>
void SaveWindow(D& Descriptor, TCustomIniFile* IniFile) {
  IniFile->EraseSection(D::Section);
  vantrel::skin::WriteSectionKeys(IniFile, D::Section,
                                  [&Descriptor](SkinKeyVisitor& V) { Descriptor.VisitKeys(V); });
}

template <class D>
void SetCreateValuesOf(D& Descriptor) {
  vantrel::skin::SetCreationValues([&Descriptor](SkinKeyVisitor& V) { Descriptor.VisitKeys(V); });
}

}  // namespace

// ---- TspDataSkinLayerFrame ----------------------------------------------------------------

TspDataSkinLayerFrame::TspDataSkinLayerFrame() { SetCreateValuesOf(*this); }
void TspDataSkinLayerFrame::LoadFromFile(TCustomIniFile* IniFile) { LoadWindow(*this, IniFile); }
void TspDataSkinLayerFrame::SaveToFile(TCustomIniFile* IniFile) { SaveWindow(*this, IniFile); }

void TspDataSkinLayerFrame::VisitKeys(SkinKeyVisitor& V) {
  V.Int("pictureindex", PictureIndex, -1, -1);
  V.Int("maskpictureindex", MaskPictureIndex, -1, -1);
  V.Int("inactivepictureindex", InActivePictureIndex, -1, -1);
  V.Int("inactivemaskpictureindex", InActiveMaskPictureIndex, -1, -1);
  V.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
  V.Rect("clientrect", ClRect);
  V.Int("alphablendvalue", AlphaBlendValue, 255, 255);
  V.Int("inactivealphablendvalue", InActiveAlphaBlendValue, 255, 255);
  V.Rect("borderrect", BorderRect);
  V.Bool("hittestenable", HitTestEnable);
  V.Bool("fullborder", FullBorder);
  V.Int("hittestsize", HitTestSize, 0, 0);
  V.Rect("captionrect", CaptionRect);
  V.Corners(HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint, "hittest");
  V.Rect("buttonsrect", ButtonsRect);
  V.Rect("sysmenubuttonrect", SysMenuButtonRect);
  V.Bool("fullstretch", FullStretch);
  V.Int("rollupformheight", RollUpFormHeight, 0, 0);
  V.Int("buttonstopoffset", ButtonsTopOffset, 0, 0);
  V.Int("sysbuttontopoffset", SysButtonTopOffset, 0, 0);
  V.Int("blurmaskpictureindex", BlurMaskPictureIndex, -1, -1);
  V.Rect("intersectblurmaskrect", IntersectBlurMaskRect);
  V.Rect("excludeblurmaskrect", ExcludeBlurMaskRect);
  V.Int("leftoffset", LeftOffset, 0, 0);
  V.Int("topoffset", TopOffset, 0, 0);
  V.Int("widthoffset", WidthOffset, 0, 0);
  V.Int("heightoffset", HeightOffset, 0, 0);
}

// ---- TspDataSkinPopupWindow ---------------------------------------------------------------

TspDataSkinPopupWindow::TspDataSkinPopupWindow() { SetCreateValuesOf(*this); }
void TspDataSkinPopupWindow::LoadFromFile(TCustomIniFile* IniFile) { LoadWindow(*this, IniFile); }
void TspDataSkinPopupWindow::SaveToFile(TCustomIniFile* IniFile) { SaveWindow(*this, IniFile); }

void TspDataSkinPopupWindow::VisitKeys(SkinKeyVisitor& V) {
  V.Int("windowpictureindex", WindowPictureIndex, -1, -1);
  V.Int("maskpictureindex", MaskPictureIndex, -1, -1);
  V.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
  V.Rect("itemsrect", ItemsRect);
  V.Int("cursorindex", CursorIndex, -1, -1);
  V.Int("scrollmarkercolor", ScrollMarkerColor, 0, 0);
  V.Int("scrollmarkeractivecolor", ScrollMarkerActiveColor, 0, 0);
  V.Bool("leftstretch", LeftStretch);
  V.Bool("rightstretch", RightStretch);
  V.Bool("topstretch", TopStretch);
  V.Bool("bottomstretch", BottomStretch);
  V.Bool("stretcheffect", StretchEffect);
  V.StretchType("stretchtype", StretchType);
}

// ---- TspDataSkinHintWindow ----------------------------------------------------------------

TspDataSkinHintWindow::TspDataSkinHintWindow() { SetCreateValuesOf(*this); }
void TspDataSkinHintWindow::LoadFromFile(TCustomIniFile* IniFile) { LoadWindow(*this, IniFile); }
void TspDataSkinHintWindow::SaveToFile(TCustomIniFile* IniFile) { SaveWindow(*this, IniFile); }

void TspDataSkinHintWindow::VisitKeys(SkinKeyVisitor& V) {
  V.Int("windowpictureindex", WindowPictureIndex, -1, -1);
  V.Int("maskpictureindex", MaskPictureIndex, -1, -1);
  V.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
  V.Rect("clientrect", ClRect);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 12);
  V.Bool("leftstretch", LeftStretch);
  V.Bool("rightstretch", RightStretch);
  V.Bool("topstretch", TopStretch);
  V.Bool("bottomstretch", BottomStretch);
  V.Bool("stretcheffect", StretchEffect);
  V.StretchType("stretchtype", StretchType);
}
