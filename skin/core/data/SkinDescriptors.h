// Skin descriptors: the per-element records of a skin (one section of skin.ini each, named by
// IDName) that skinned controls and frame objects find by name and copy their rectangles,
// colours, fonts and flags from. Each class lists its keys once, in VisitKeys, with the
// value a missing key gives and the value at creation; reading, writing and creation all
// walk that list, so a key's spelling lives in one place.
#pragma once

#include <functional>
#include <initializer_list>
#include <span>

#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Graphics.h"
#include "platform/win/SysColors.h"
#include "skin/core/data/SkinValues.h"

// How the frames of a frame strip lie in its image.
enum TFramesPlacement { fpHorizontal, fpVertical };
// How a frame regulator is turned or dragged.
enum TRegulatorKind { rkRound, rkHorizontal, rkVertical };
// Direction a frame gauge object grows in.
enum TGaugeKind { gkHorizontal, gkVertical };
// Fixed actions of caption buttons.
enum TStdCommand {
  cmClose,
  cmMaximize,
  cmMinimize,
  cmSysMenu,
  cmDefault,
  cmRollUp,
  cmMinimizeToTray
};

namespace vantrel::skin {

// Walks the keys of a descriptor. Each call names a key, the field it fills, and the
// field's value at creation; for integers, strings and keywords also the value a missing
// key gives (the other encodings have a fixed one: false, zeros, no style, and the default
// of their keyword list). Implemented by the section reader, the section writer and the
// creation values (and by tests, to list the keys).
class SkinKeyVisitor {
 public:
  virtual ~SkinKeyVisitor() = default;

  virtual void Int(const char* Key, Integer& Field, Integer Absent, Integer Create) = 0;
  virtual void Str(const char* Key, String& Field, const char* Absent, const char* Create) = 0;
  virtual void Bool(const char* Key, bool& Field, bool Create) = 0;
  virtual void Rect(const char* Key, TRect& Field, TRect Create) = 0;
  virtual void Point(const char* Key, TPoint& Field, TPoint Create) = 0;
  virtual void FontStyle(const char* Key, TFontStyles& Field, TFontStyles Create) = 0;
  virtual void Alignment(const char* Key, TAlignment& Field, TAlignment Create) = 0;
  virtual void StretchType(const char* Key, TspStretchType& Field, TspStretchType Create) = 0;
  virtual void MorphKind(const char* Key, TMorphKind& Field, TMorphKind Create) = 0;
  virtual void InActiveEffect(const char* Key, TspInActiveEffect& Field,
                              TspInActiveEffect Create) = 0;
  // A line list (count key Name+"linecount"); creation leaves the list as it is.
  virtual void Lines(const char* Name, TStrings& Field) = 0;
  // A keyword of a descriptor's own enumeration: Words in enumeration order; a text that
  // matches none reads as Fallback; a value outside Words is written as Fallback's word.
  virtual void KeywordValue(const char* Key, Integer& Field,
                            std::initializer_list<const char*> Words, Integer Fallback,
                            Integer Absent, Integer Create) = 0;

  // The common shapes of the tables.
  void Bool(const char* Key, bool& Field) { Bool(Key, Field, false); }
  void Rect(const char* Key, TRect& Field) { Rect(Key, Field, TRect{}); }
  void Point(const char* Key, TPoint& Field) { Point(Key, Field, TPoint{}); }
  void FontStyle(const char* Key, TFontStyles& Field) { FontStyle(Key, Field, TFontStyles{}); }
  void StretchType(const char* Key, TspStretchType& Field) { StretchType(Key, Field, spstFull); }
  void MorphKind(const char* Key, TMorphKind& Field) { MorphKind(Key, Field, mkDefault); }
  // The four keys of a text font: Prefix + "fontname", "fontheight", "fontstyle" and
  // "fontcolor". Absent keys read as Arial of height 14, no style, colour 0; a new
  // descriptor has CreateName and CreateHeight, no style and colour 0.
  void Font(String& Name, Integer& Height, TFontStyles& Style, Integer& Color,
            const char* CreateName, Integer CreateHeight, const char* Prefix = "");
  // The four corner points of a 9-part image, left-top, right-top, left-bottom and
  // right-bottom: Prefix + "lefttoppoint" ... "rightbottompoint", each (0, 0) when absent.
  void Corners(TPoint& LT, TPoint& RT, TPoint& LB, TPoint& RB, const char* Prefix = "");
  template <class E>
  void Keyword(const char* Key, E& Field, std::initializer_list<const char*> Words, E Fallback,
               E Absent, E Create) {
    Integer Value = Field;
    KeywordValue(Key, Value, Words, Fallback, Absent, Create);
    Field = static_cast<E>(Value);
  }
};

}  // namespace vantrel::skin

// ---------------------------------------------------------------------------------------
// Roots

// Root of the control descriptors.
class TspDataSkinControl : public TObject {
  VANTREL_CLASS(TspDataSkinControl)
  explicit TspDataSkinControl(const String& AIDName);

  // Reads section [IDName]; missing keys take their absent values.
  virtual void LoadFromFile(TCustomIniFile* IniFile);
  // Replaces section [IDName] by every key of the class chain, base keys first.
  virtual void SaveToFile(TCustomIniFile* IniFile);
  // Every key of the class chain, base keys first, each class's in writing order.
  virtual void VisitKeys(vantrel::skin::SkinKeyVisitor& V);

  String IDName;
  Integer PictureIndex = 0;
  Integer MaskPictureIndex = 0;
  TRect SkinRect;
  Integer CursorIndex = 0;

 protected:
  // Sets the creation values of every key. Called by each constructor: during its body the
  // object is of that constructor's class, so VisitKeys lists exactly that class chain.
  void SetCreateValues();
};

// Base of the resizable control descriptors (9-part image).
class TspDataSkinCustomControl : public TspDataSkinControl {
  VANTREL_CLASS(TspDataSkinCustomControl)
  explicit TspDataSkinCustomControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  TRect ClRect;
  bool StretchEffect = false;
  bool LeftStretch = false;
  bool TopStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  TspStretchType StretchType = spstFull;
};

// Root of the form-object descriptors (caption buttons, captions, labels, menu items ...).
class TspDataSkinObject : public TObject {
  VANTREL_CLASS(TspDataSkinObject)
  explicit TspDataSkinObject(const String& AIDName);

  virtual void LoadFromFile(TCustomIniFile* IniFile);
  virtual void SaveToFile(TCustomIniFile* IniFile);
  virtual void VisitKeys(vantrel::skin::SkinKeyVisitor& V);

  String IDName;
  String Hint;
  bool SkinRectInAPicture = false;
  TRect SkinRect;
  TRect ActiveSkinRect;
  TRect InActiveSkinRect;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  Integer ActivePictureIndex = 0;
  Integer ActiveMaskPictureIndex = 0;
  Integer CursorIndex = 0;
  bool RollUp = false;
  Integer GlowLayerPictureIndex = 0;
  Integer GlowLayerMaskPictureIndex = 0;
  Integer GlowLayerOffsetX = 0;
  Integer GlowLayerOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 0;

 protected:
  void SetCreateValues();
};

// A named rectangle of the form skin ([SKINAREAS]); no section of its own.
class TspDataSkinArea : public TObject {
  VANTREL_CLASS(TspDataSkinArea)
  TspDataSkinArea(const String& AIDName, const TRect& ARect) : IDName(AIDName), AreaRect(ARect) {}

  String IDName;
  TRect AreaRect;
};

// ---------------------------------------------------------------------------------------
// Simple control descriptors

class TspDataSkinBevel : public TspDataSkinControl {
  VANTREL_CLASS(TspDataSkinBevel)
  explicit TspDataSkinBevel(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TColor LightColor = 0;
  TColor DarkColor = 0;
};

class TspDataSkinSlider : public TspDataSkinControl {
  VANTREL_CLASS(TspDataSkinSlider)
  explicit TspDataSkinSlider(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TColor BGColor = 0;
  TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
  Integer EdgeSize = 0;
  TColor PointsColor = 0;
};

// Tree view, list view and rich edit: the same keys, three kinds.
class TspDataSkinTreeView : public TspDataSkinControl {
  VANTREL_CLASS(TspDataSkinTreeView)
  explicit TspDataSkinTreeView(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor BGColor = 0;
};

class TspDataSkinListView : public TspDataSkinControl {
  VANTREL_CLASS(TspDataSkinListView)
  explicit TspDataSkinListView(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor BGColor = 0;
};

class TspDataSkinRichEdit : public TspDataSkinControl {
  VANTREL_CLASS(TspDataSkinRichEdit)
  explicit TspDataSkinRichEdit(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor BGColor = 0;
};

class TspDataSkinStdLabelControl : public TspDataSkinControl {
  VANTREL_CLASS(TspDataSkinStdLabelControl)
  explicit TspDataSkinStdLabelControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
};

class TspDataSkinMainMenuBar : public TspDataSkinControl {
  VANTREL_CLASS(TspDataSkinMainMenuBar)
  explicit TspDataSkinMainMenuBar(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect ItemsRect;
  String MenuBarItem, CloseButton, MinButton, MaxButton, SysMenuButton;
  TColor TrackMarkColor = 0;
  TColor TrackMarkActiveColor = 0;
  bool StretchEffect = false;
  bool ItemTransparent = false;
};

// A strip of FramesCount equal frames in SkinRect (never fewer than one after a load).
class TspDataSkinFrameControl : public TspDataSkinControl {
  VANTREL_CLASS(TspDataSkinFrameControl)
  explicit TspDataSkinFrameControl(const String& AIDName);
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  Integer FramesCount = 0;
  TFramesPlacement FramesPlacement = fpHorizontal;
};

class TspDataSkinAnimateControl : public TspDataSkinFrameControl {
  VANTREL_CLASS(TspDataSkinAnimateControl)
  using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinSwitchControl : public TspDataSkinFrameControl {
  VANTREL_CLASS(TspDataSkinSwitchControl)
  using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinFrameGauge : public TspDataSkinFrameControl {
  VANTREL_CLASS(TspDataSkinFrameGauge)
  using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinFrameRegulator : public TspDataSkinFrameControl {
  VANTREL_CLASS(TspDataSkinFrameRegulator)
  explicit TspDataSkinFrameRegulator(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRegulatorKind Kind = rkRound;
};

// ---------------------------------------------------------------------------------------
// Tab and grid descriptors

class TspDataSkinTabControl : public TspDataSkinControl {
  VANTREL_CLASS(TspDataSkinTabControl)
  explicit TspDataSkinTabControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect;
  TRect ClRect;
  Integer BGPictureIndex = 0;
  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  Integer TabLeftOffset = 0;
  Integer TabRightOffset = 0;
  TRect TabsBGRect;
  bool TabStretchEffect = false;
  bool LeftStretch = false;
  bool TopStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TspStretchType StretchType = spstFull;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor FocusFontColor = 0;
  TColor MouseInFontColor = 0;
  String UpDown;
  bool ShowFocus = false;
  Integer FocusOffsetX = 0;
  Integer FocusOffsetY = 0;
  TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
};

class TspDataSkinGridControl : public TspDataSkinControl {
  VANTREL_CLASS(TspDataSkinGridControl)
  explicit TspDataSkinGridControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect FixedCellRect, SelectCellRect, FocusCellRect;
  Integer FixedCellLeftOffset = 0;
  Integer FixedCellRightOffset = 0;
  TRect FixedCellTextRect;
  Integer CellLeftOffset = 0;
  Integer CellRightOffset = 0;
  TRect CellTextRect;
  TColor LinesColor = 0;
  TColor BGColor = 0;
  Integer BGPictureIndex = 0;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor SelectFontColor = 0;
  TColor FocusFontColor = 0;
  String FixedFontName;
  Integer FixedFontHeight = 0;
  TFontStyles FixedFontStyle;
  TColor FixedFontColor = 0;
  bool CellStretchEffect = false;
  bool FixedCellStretchEffect = false;
  bool ShowFocus = false;
};

// ---------------------------------------------------------------------------------------
// Button, check box and label descriptors

class TspDataSkinButtonControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinButtonControl)
  explicit TspDataSkinButtonControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor DownFontColor = 0;
  TColor DisabledFontColor = 0;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect ActiveSkinRect, DownSkinRect, FocusedSkinRect, DisabledSkinRect;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool ShowFocus = false;
  TRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
  TColor MenuMarkerTransparentColor = 0;
  Integer GlowLayerPictureIndex = 0;
  Integer GlowLayerMaskPictureIndex = 0;
  Integer GlowLayerOffsetLeft = 0;
  Integer GlowLayerOffsetRight = 0;
  Integer GlowLayerOffsetTop = 0;
  Integer GlowLayerOffsetBottom = 0;
  Integer GlowLayerShowOffsetX = 0;
  Integer GlowLayerShowOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 0;
};

class TspDataSkinMenuButtonControl : public TspDataSkinButtonControl {
  VANTREL_CLASS(TspDataSkinMenuButtonControl)
  explicit TspDataSkinMenuButtonControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect TrackButtonRect;
};

class TspDataSkinCheckRadioControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinCheckRadioControl)
  explicit TspDataSkinCheckRadioControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor UnEnabledFontColor = 0;
  TColor FrameFontColor = 0;
  bool Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect ActiveSkinRect;
  TRect CheckImageArea, TextArea;
  TRect CheckImageRect, UnCheckImageRect;
  TRect ActiveCheckImageRect, ActiveUnCheckImageRect;
  TRect UnEnabledCheckImageRect, UnEnabledUnCheckImageRect;
  TRect GrayedCheckImageRect, ActiveGrayedCheckImageRect;
};

class TspDataSkinLabelControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinLabelControl)
  explicit TspDataSkinLabelControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
};

// A label drawn with a bitmap font: SkinTextRect holds cells of SymbolWidth x SymbolHeight,
// Symbols the characters of each row of cells.
class TspDataSkinBitLabelControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinBitLabelControl)
  explicit TspDataSkinBitLabelControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect SkinTextRect;
  Integer SymbolWidth = 0;
  Integer SymbolHeight = 0;
  TOwned<TStringList> Symbols;  // owned; loading appends to it
};

// ---------------------------------------------------------------------------------------
// Scroll bar, track bar, gauge, splitter, up-down and spin-edit descriptors

class TspDataSkinScrollBarControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinScrollBarControl)
  explicit TspDataSkinScrollBarControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect TrackArea;
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
  TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;
  TRect ThumbRect, ActiveThumbRect, DownThumbRect;
  Integer ThumbOffset1 = 0;
  Integer ThumbOffset2 = 0;
  bool ThumbTransparent = false;
  TColor ThumbTransparentColor = 0;
  bool ThumbStretchEffect = false;
  Integer ThumbMinSize = 0;
  Integer ThumbMinPageSize = 0;
  TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
  bool GlyphTransparent = false;
  TColor GlyphTransparentColor = 0;
};

class TspDataSkinTrackBarControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinTrackBarControl)
  explicit TspDataSkinTrackBarControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect ActiveSkinRect, TrackArea, ButtonRect, ActiveButtonRect;
  bool Vertical = false;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
};

class TspDataSkinGaugeControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinGaugeControl)
  explicit TspDataSkinGaugeControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect ProgressArea, ProgressRect;
  Integer BeginOffset = 0;
  Integer EndOffset = 0;
  bool Vertical = false;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  bool ProgressTransparent = false;
  TColor ProgressTransparentColor = 0;
  bool ProgressStretch = false;
  TRect AnimationSkinRect;
  Integer AnimationCountFrames = 0;
  Integer AnimationTimerInterval = 0;
  TRect ProgressAnimationSkinRect;
  Integer ProgressAnimationCountFrames = 0;
  Integer ProgressAnimationTimerInterval = 0;
  Integer AnimationBeginOffset = 0;
  Integer AnimationEndOffset = 0;
};

class TspDataSkinSplitterControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinSplitterControl)
  explicit TspDataSkinSplitterControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;
};

// An up-down arrow pair; it keeps no 9-part geometry: its corner points and client
// rectangle are zero after every load and save.
class TspDataSkinUpDownControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinUpDownControl)
  explicit TspDataSkinUpDownControl(const String& AIDName);
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
  TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;

 private:
  void ClearGeometry();
};

class TspDataSkinSpinEditControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinSpinEditControl)
  explicit TspDataSkinSpinEditControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect ActiveSkinRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor DisabledFontColor = 0;
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
  TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;
};

// ---------------------------------------------------------------------------------------
// Edit, memo, combo box and list box descriptors

class TspDataSkinEditControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinEditControl)
  explicit TspDataSkinEditControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect ActiveSkinRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor DisabledFontColor = 0;
  TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
};

class TspDataSkinMemoControl : public TspDataSkinEditControl {
  VANTREL_CLASS(TspDataSkinMemoControl)
  explicit TspDataSkinMemoControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TColor BGColor = 0;
  TColor ActiveBGColor = 0;
};

class TspDataSkinComboBox : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinComboBox)
  explicit TspDataSkinComboBox(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect ActiveSkinRect;
  TRect SItemRect, ActiveItemRect, FocusItemRect;
  Integer ItemLeftOffset = 0;
  Integer ItemRightOffset = 0;
  TRect ItemTextRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor FocusFontColor = 0;
  TColor ActiveFontColor = 0;
  TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
  String ListBoxName;
  bool ItemStretchEffect = false;
  bool FocusItemStretchEffect = false;
  bool ShowFocus = false;
};

class TspDataSkinListBox : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinListBox)
  explicit TspDataSkinListBox(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect SItemRect, ActiveItemRect, FocusItemRect;
  Integer ItemLeftOffset = 0;
  Integer ItemRightOffset = 0;
  TRect ItemTextRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor FocusFontColor = 0;
  TRect CaptionRect;
  String CaptionFontName;
  Integer CaptionFontHeight = 0;
  TFontStyles CaptionFontStyle;
  TColor CaptionFontColor = 0;
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
  TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;
  TRect CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
  String VScrollBarName, HScrollBarName, BothScrollBarName;
  bool ShowFocus = false;
  TRect DisabledButtonsRect;
  TRect ButtonsArea;
};

class TspDataSkinCheckListBox : public TspDataSkinListBox {
  VANTREL_CLASS(TspDataSkinCheckListBox)
  explicit TspDataSkinCheckListBox(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect ItemCheckRect, UnCheckImageRect, CheckImageRect;
};

// ---------------------------------------------------------------------------------------
// Panel, roll-up panel, scroll box and control bar descriptors

class TspDataSkinPanelControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinPanelControl)
  explicit TspDataSkinPanelControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  Integer BGPictureIndex = 0;
  TRect CaptionRect;
  TAlignment Alignment = taLeftJustify;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TRect CheckImageRect, UnCheckImageRect, MarkFrameRect;
  TRect FrameRect, FrameTextRect;
  Integer FrameLeftOffset = 0;
  Integer FrameRightOffset = 0;
  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;
};

class TspDataSkinExPanelControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinExPanelControl)
  explicit TspDataSkinExPanelControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect RollHSkinRect, RollVSkinRect;
  Integer RollLeftOffset = 0;
  Integer RollRightOffset = 0;
  Integer RollTopOffset = 0;
  Integer RollBottomOffset = 0;
  TRect RollVCaptionRect, RollHCaptionRect;
  TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
  TRect HRollButtonRect, HRollButtonActiveRect, HRollButtonDownRect;
  TRect HRestoreButtonRect, HRestoreButtonActiveRect, HRestoreButtonDownRect;
  TRect VRollButtonRect, VRollButtonActiveRect, VRollButtonDownRect;
  TRect VRestoreButtonRect, VRestoreButtonActiveRect, VRestoreButtonDownRect;
  TRect CaptionRect;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  bool ButtonsTransparent = false;
  TColor ButtonsTransparentColor = 0;
};

class TspDataSkinScrollBoxControl : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinScrollBoxControl)
  explicit TspDataSkinScrollBoxControl(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  Integer BGPictureIndex = 0;
};

class TspDataSkinControlBar : public TspDataSkinCustomControl {
  VANTREL_CLASS(TspDataSkinControlBar)
  explicit TspDataSkinControlBar(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect ItemRect;
  Integer BGPictureIndex = 0;
  TRect HGripRect, VGripRect;
  Integer GripOffset1 = 0;
  Integer GripOffset2 = 0;
  Integer ItemOffset1 = 0;
  Integer ItemOffset2 = 0;
  bool ItemStretchEffect = false;
  bool ItemTransparent = false;
  TColor ItemTransparentColor = 0;
  bool GripTransparent = false;
  TColor GripTransparentColor = 0;
};

// ---------------------------------------------------------------------------------------
// Menu item and caption object descriptors

// An item of a skinned popup menu; its images lie in the active picture.
class TspDataSkinMenuItem : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinMenuItem)
  explicit TspDataSkinMenuItem(const String& AIDName);
  // A highlighted mark image the skin leaves empty takes the normal one.
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  Integer ItemLO = 0;
  Integer ItemRO = 0;
  TRect DividerRect;
  Integer DividerLO = 0;
  Integer DividerRO = 0;
  TRect TextRct, ImageRct;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor UnEnabledFontColor = 0;
  bool StretchEffect = false;
  bool InActiveStretchEffect = false;
  bool DividerStretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool InActiveAnimation = false;
  bool UseImageColor = false;
  TColor ImageColor = 0;
  TColor ActiveImageColor = 0;
  bool InActiveTransparent = false;
  TRect CheckImageRect, ActiveCheckImageRect;
  TRect RadioImageRect, ActiveRadioImageRect;
  TRect ArrowImageRect, ActiveArrowImageRect;
};

// An item of the menu drawn in the form frame.
class TspDataSkinMainMenuItem : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinMainMenuItem)
  explicit TspDataSkinMainMenuItem(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  Integer ItemLO = 0;
  Integer ItemRO = 0;
  TRect DownRect, TextRct;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor DownFontColor = 0;
  TColor UnEnabledFontColor = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool InActiveAnimation = false;
};

// An item of the main menu bar; its images lie in the active picture.
class TspDataSkinMainMenuBarItem : public TspDataSkinMainMenuItem {
  VANTREL_CLASS(TspDataSkinMainMenuBarItem)
  using TspDataSkinMainMenuItem::TspDataSkinMainMenuItem;
};

// The caption text of the skinned form.
class TspDataSkinCaption : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinCaption)
  explicit TspDataSkinCaption(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  bool DefaultCaption = false;
  TRect TextRct;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TAlignment Alignment = taLeftJustify;
  bool Light = false;
  TColor LightColor = 0;
  TColor ActiveLightColor = 0;
  bool Shadow = false;
  TColor ShadowColor = 0;
  TColor ActiveShadowColor = 0;
  TRect FrameRect, ActiveFrameRect, FrameTextRect;
  Integer FrameLeftOffset = 0;
  Integer FrameRightOffset = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  bool InActiveAnimation = false;
  bool FullFrame = false;
  bool VistaGlowEffect = false;
  bool VistaGlowInActiveEffect = false;
  bool GlowEffect = false;
  bool GlowInActiveEffect = false;
  Integer GlowSize = 0;
  TColor GlowColor = 0;
  TColor GlowActiveColor = 0;
  Integer GlowOffset = 0;
  bool ReflectionEffect = false;
  TColor ReflectionColor = 0;
  TColor ReflectionActiveColor = 0;
  Integer ReflectionOffset = 0;
  TRect DividerRect;
  bool DividerTransparent = false;
  TColor DividerTransparentColor = 0;
};

// ---------------------------------------------------------------------------------------
// Button, label, gauge and other frame-object descriptors

class TspDataSkinButton : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinButton)
  explicit TspDataSkinButton(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect DownRect;
  TRect DisableSkinRect;
  Integer GroupIndex = -1;
  Integer AlphaMaskPictureIndex = -1;
  Integer AlphaMaskActivePictureIndex = -1;
  Integer AlphaMaskInActivePictureIndex = -1;
};

// A caption button with a fixed action; its Restore images stand in while the form is in
// the state the button undoes.
class TspDataSkinStdButton : public TspDataSkinButton {
  VANTREL_CLASS(TspDataSkinStdButton)
  explicit TspDataSkinStdButton(const String& AIDName);
  // Without a restore hint of its own, a maximize, minimize or roll-up button with the
  // standard hint gets "Restore".
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TStdCommand Command = cmClose;
  TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
  String RestoreHint;
};

// A button of a maximised MDI child in the main menu bar.
class TspDataSkinMainMenuBarButton : public TspDataSkinStdButton {
  VANTREL_CLASS(TspDataSkinMainMenuBarButton)
  using TspDataSkinStdButton::TspDataSkinStdButton;
};

// A strip of CountFrames frames played every TimerInterval ms; never morphs after a load.
class TspDataSkinAnimate : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinAnimate)
  explicit TspDataSkinAnimate(const String& AIDName);
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  Integer CountFrames = 0;
  bool Cycle = false;
  bool ButtonStyle = false;
  Integer TimerInterval = 0;
  TStdCommand Command = cmClose;
  TRect DownSkinRect;
  TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
  String RestoreHint;
};

class TspDataSkinLabel : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinLabel)
  explicit TspDataSkinLabel(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TAlignment Alignment = taLeftJustify;
  String TextValue;
};

// A text drawn with a bitmap font: cells of SymbolWidth x SymbolHeight in the object's
// image, Symbols the characters of each row of cells.
class TspDataSkinBitLabel : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinBitLabel)
  explicit TspDataSkinBitLabel(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  String TextValue;
  Integer SymbolWidth = 0;
  Integer SymbolHeight = 0;
  TOwned<TStringList> Symbols;  // owned; loading appends to it
  bool Transparent = false;
  TColor TransparentColor = 0xFF00FF;
};

// A two-state object; the keys are the base's.
class TspDataSkinSwitch : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinSwitch)
  using TspDataSkinObject::TspDataSkinObject;
};

class TspDataSkinGauge : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinGauge)
  explicit TspDataSkinGauge(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  Integer MinValue = 0;
  Integer MaxValue = 0;
  TGaugeKind Kind = gkHorizontal;
};

class TspDataSkinFrameGaugeObject : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinFrameGaugeObject)
  explicit TspDataSkinFrameGaugeObject(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  Integer MinValue = 0;
  Integer MaxValue = 0;
  Integer CountFrames = 0;
  TFramesPlacement FramesPlacement = fpHorizontal;
};

// Not derived from the frame gauge object: the writer would give it that kind.
class TspDataSkinFrameRegulatorObject : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinFrameRegulatorObject)
  explicit TspDataSkinFrameRegulatorObject(const String& AIDName);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  Integer MinValue = 0;
  Integer MaxValue = 0;
  Integer CountFrames = 0;
  TFramesPlacement FramesPlacement = fpHorizontal;
  TRegulatorKind Kind = rkRound;
};

// A track bar in the frame; never morphs after a load.
class TspDataSkinTrackBar : public TspDataSkinObject {
  VANTREL_CLASS(TspDataSkinTrackBar)
  explicit TspDataSkinTrackBar(const String& AIDName);
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;

  TRect ButtonRect, ActiveButtonRect;
  TPoint BeginPoint, EndPoint;
  Integer MinValue = 0;
  Integer MaxValue = 0;
  bool MouseDownChangeValue = false;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
};

// A place in the frame kept for the application: only "rollup", "skinrect" and
// "cursorindex" are read and written; the section holds nothing else after a write.
class TspDataUserObject : public TspDataSkinObject {
  VANTREL_CLASS(TspDataUserObject)
  using TspDataSkinObject::TspDataSkinObject;
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V) override;
};

// ---------------------------------------------------------------------------------------
// Window descriptors: one of each per skin, each in a section of fixed name.

// The layered border around a skinned form ([LAYERFRAME]); PictureIndex -1: none.
class TspDataSkinLayerFrame : public TObject {
  VANTREL_CLASS(TspDataSkinLayerFrame)
  TspDataSkinLayerFrame();
  void LoadFromFile(TCustomIniFile* IniFile);
  // Replaces the whole section.
  void SaveToFile(TCustomIniFile* IniFile);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V);

  Integer PictureIndex = -1;
  Integer MaskPictureIndex = -1;
  Integer InActivePictureIndex = -1;
  Integer InActiveMaskPictureIndex = -1;
  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  TRect ClRect;
  Integer AlphaBlendValue = 255;
  Integer InActiveAlphaBlendValue = 255;
  TRect BorderRect;
  bool HitTestEnable = false;
  bool FullBorder = false;
  Integer HitTestSize = 0;
  TRect CaptionRect;
  TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
  TRect ButtonsRect, SysMenuButtonRect;
  bool FullStretch = false;
  Integer RollUpFormHeight = 0;
  Integer ButtonsTopOffset = 0;
  Integer SysButtonTopOffset = 0;
  Integer BlurMaskPictureIndex = -1;
  TRect IntersectBlurMaskRect, ExcludeBlurMaskRect;
  Integer LeftOffset = 0;
  Integer TopOffset = 0;
  Integer WidthOffset = 0;
  Integer HeightOffset = 0;

  static constexpr const char* Section = "LAYERFRAME";
};

// The frame of skinned popup-menu windows ([POPUPWINDOW]); ItemsRect holds the items.
class TspDataSkinPopupWindow : public TObject {
  VANTREL_CLASS(TspDataSkinPopupWindow)
  TspDataSkinPopupWindow();
  void LoadFromFile(TCustomIniFile* IniFile);
  void SaveToFile(TCustomIniFile* IniFile);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V);

  Integer WindowPictureIndex = -1;
  Integer MaskPictureIndex = -1;
  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  TRect ItemsRect;
  Integer CursorIndex = -1;
  Integer ScrollMarkerColor = 0;
  Integer ScrollMarkerActiveColor = 0;
  bool TopStretch = false;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TspStretchType StretchType = spstFull;

  static constexpr const char* Section = "POPUPWINDOW";
};

// The frame and font of skinned hint windows ([HINTWINDOW]); ClRect is the text area.
class TspDataSkinHintWindow : public TObject {
  VANTREL_CLASS(TspDataSkinHintWindow)
  TspDataSkinHintWindow();
  void LoadFromFile(TCustomIniFile* IniFile);
  void SaveToFile(TCustomIniFile* IniFile);
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V);

  Integer WindowPictureIndex = -1;
  Integer MaskPictureIndex = -1;
  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  TRect ClRect;
  String FontName = "Arial";
  Integer FontHeight = 12;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  bool TopStretch = false;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TspStretchType StretchType = spstFull;

  static constexpr const char* Section = "HINTWINDOW";
};

// ---------------------------------------------------------------------------------------
// Kind keywords of [SKINCONTROLS]

namespace vantrel::skin {

struct SkinControlKind {
  const char* Keyword;
  // A new descriptor of the kind's class; the caller owns it.
  TspDataSkinControl* (*Create)(const String& AIDName);
  // The descriptor is of the kind's class or derives from it.
  bool (*Matches)(const TspDataSkinControl& Control);
};

// Every control kind, in the order the writer tests them (a class before its bases).
std::span<const SkinControlKind> SkinControlKinds();
// The descriptor for a kind keyword (exact match), nil for an unknown kind.
TOwned<TspDataSkinControl> CreateSkinControl(const String& Kind, const String& AIDName);
// The keyword the writer gives a descriptor: that of the first kind it matches; empty for
// the three base classes.
String SkinControlKindOf(const TspDataSkinControl& Control);

struct SkinObjectKind {
  const char* Keyword;
  TspDataSkinObject* (*Create)(const String& AIDName);
  bool (*Matches)(const TspDataSkinObject& Object);
};

// Every object kind of [SKINOBJECTS], in the order the writer tests them.
std::span<const SkinObjectKind> SkinObjectKinds();
// The descriptor for an object kind keyword (exact match), nil for an unknown kind.
TOwned<TspDataSkinObject> CreateSkinObject(const String& Kind, const String& AIDName);
// The keyword the writer gives an object descriptor; empty for TspDataSkinObject itself.
String SkinObjectKindOf(const TspDataSkinObject& Object);

// The key walkers of the descriptors, for records with a section of their own: Keys lists
// the keys (as VisitKeys does). The writer adds to the section without erasing it first.
using SkinKeyList = std::function<void(SkinKeyVisitor& V)>;
void ReadSectionKeys(TCustomIniFile* Ini, const String& Section, const SkinKeyList& Keys);
void WriteSectionKeys(TCustomIniFile* Ini, const String& Section, const SkinKeyList& Keys);
void SetCreationValues(const SkinKeyList& Keys);

}  // namespace vantrel::skin
