// Edit, memo, combo box, list box and check-list box descriptors.
#include "skin/core/data/SkinDescriptors.h"

using vantrel::skin::SkinKeyVisitor;

TspDataSkinEditControl::TspDataSkinEditControl(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinEditControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Rect("activeskinrect", ActiveSkinRect);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 12);
  V.Int("activefontcolor", ActiveFontColor, 0, 0);
  V.Int("disabledfontcolor", DisabledFontColor, 0, 0);
  V.Rect("buttonrect", ButtonRect);
  V.Rect("activebuttonrect", ActiveButtonRect);
  V.Rect("downbuttonrect", DownButtonRect);
  V.Rect("unenabledbuttonrect", UnEnabledButtonRect);
}

TspDataSkinMemoControl::TspDataSkinMemoControl(const String& AIDName)
    : TspDataSkinEditControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinMemoControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinEditControl::VisitKeys(V);
  V.Int("bgcolor", BGColor, 0, 0);
  V.Int("activebgcolor", ActiveBGColor, 0, 0);
}

TspDataSkinComboBox::TspDataSkinComboBox(const String& AIDName)
    : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinComboBox::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Rect("activeskinrect", ActiveSkinRect);
  V.Rect("itemrect", SItemRect);
  V.Rect("activeitemrect", ActiveItemRect);
  V.Rect("focusitemrect", FocusItemRect);
  V.Int("itemleftoffset", ItemLeftOffset, 0, 0);
  V.Int("itemrightoffset", ItemRightOffset, 0, 0);
  V.Rect("itemtextrect", ItemTextRect);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 14);
  V.Int("focusfontcolor", FocusFontColor, 0, 0);
  V.Int("activefontcolor", ActiveFontColor, 0, 0);
  V.Rect("buttonrect", ButtonRect);
  V.Rect("activebuttonrect", ActiveButtonRect);
  V.Rect("downbuttonrect", DownButtonRect);
  V.Rect("unenabledbuttonrect", UnEnabledButtonRect);
  V.Str("listboxname", ListBoxName, "", "");
  V.Bool("itemstretcheffect", ItemStretchEffect);
  V.Bool("focusitemstretcheffect", FocusItemStretchEffect);
  V.Bool("showfocus", ShowFocus);
}

TspDataSkinListBox::TspDataSkinListBox(const String& AIDName) : TspDataSkinCustomControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinListBox::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinCustomControl::VisitKeys(V);
  V.Rect("itemrect", SItemRect);
  V.Rect("activeitemrect", ActiveItemRect);
  V.Rect("focusitemrect", FocusItemRect);
  V.Int("itemleftoffset", ItemLeftOffset, 0, 0);
  V.Int("itemrightoffset", ItemRightOffset, 0, 0);
  V.Rect("itemtextrect", ItemTextRect);
  V.Font(FontName, FontHeight, FontStyle, FontColor, "Arial", 14);
  V.Int("activefontcolor", ActiveFontColor, 0, 0);
  V.Int("focusfontcolor", FocusFontColor, 0, 0);
  V.Rect("captionrect", CaptionRect);
  V.Font(CaptionFontName, CaptionFontHeight, CaptionFontStyle, CaptionFontColor, "Arial", 14,
         "caption");
  V.Rect("upbuttonrect", UpButtonRect);
  V.Rect("activeupbuttonrect", ActiveUpButtonRect);
  V.Rect("downupbuttonrect", DownUpButtonRect);
  V.Rect("downbuttonrect", DownButtonRect);
  V.Rect("activedownbuttonrect", ActiveDownButtonRect);
  V.Rect("downdownbuttonrect", DownDownButtonRect);
  V.Rect("checkbuttonrect", CheckButtonRect);
  V.Rect("activecheckbuttonrect", ActiveCheckButtonRect);
  V.Rect("downcheckbuttonrect", DownCheckButtonRect);
  // A missing name selects the skin's standard scroll bars; the third key is spelled with
  // a doubled "h" in the format.
  V.Str("vscrollbarname", VScrollBarName, "vscrollbar", "");
  V.Str("hscrollbarname", HScrollBarName, "hscrollbar", "");
  V.Str("bothhscrollbarname", BothScrollBarName, "bothhscrollbar", "");
  V.Bool("showfocus", ShowFocus);
  V.Rect("disabledbuttonsrect", DisabledButtonsRect);
  V.Rect("buttonsarea", ButtonsArea);
}

TspDataSkinCheckListBox::TspDataSkinCheckListBox(const String& AIDName)
    : TspDataSkinListBox(AIDName) {
  SetCreateValues();
}

void TspDataSkinCheckListBox::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinListBox::VisitKeys(V);
  V.Rect("itemcheckrect", ItemCheckRect);
  V.Rect("uncheckimagerect", UnCheckImageRect);
  V.Rect("checkimagerect", CheckImageRect);
}
