// The skinned controls: the bases that bind a control to a descriptor of the loaded skin
// by name, fit its size to the skin's geometry and compose its image off screen.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/StringList.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/controls/SkinMessages.h"
#include "skin/core/data/SkinData.h"

class TspSkinControl : public TCustomControl {
  VANTREL_CLASS(TspSkinControl)
  explicit TspSkinControl(TComponent* AOwner);

  Integer FIndex = -1;  // index of the descriptor in the skin's control list; -1 unskinned

  TspSkinData* SkinData() const { return FSD; }
  const String& SkinDataName() const { return FSkinDataName; }
  const String& AreaName() const { return FAreaName; }
  void SetAreaName(const String& Value) { FAreaName = Value; }
  Boolean DrawDefault() const { return FDrawDefault; }
  void SetDrawDefault(Boolean Value) { FDrawDefault = Value; }
  Boolean AlphaBlend() const { return FAlphaBlend; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  Boolean UseSkinCursor() const { return FUseSkinCursor; }
  void SetUseSkinCursor(Boolean Value) { FUseSkinCursor = Value; }
  const String& HintTitle() const { return FHintTitle; }
  void SetHintTitle(const String& Value) { FHintTitle = Value; }
  Integer HintImageIndex() const { return FHintImageIndex; }
  void SetHintImageIndex(Integer Value) { FHintImageIndex = Value; }
  TCustomImageList* HintImageList() const { return FHintImageList; }
  void SetHintImageList(TCustomImageList* Value);
  TNotifyEvent OnMouseEnter, OnMouseLeave;

  // Sends the "background changed" message to every child: windowed ones through their
  // window, windowless ones directly.
  void CheckControlsBackground();

  virtual void SetAlphaBlend(Boolean Value);
  virtual void SetAlphaBlendValue(Byte Value);
  virtual void GetSkinData();
  virtual void SetSkinData(TspSkinData* Value);
  virtual void SetSkinDataName(const String& Value);
  virtual void DrawDefaultImage(TBitmap* B);
  virtual void DrawSkinImage(TBitmap* B);
  virtual void ChangeSkinData();
  virtual void BeforeChangeSkinData();
  virtual void CheckParentBackground();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void WMPaint(TWMPaint& Message) override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;
  // The cursor of the descriptor, when the skin's cursors are in use.
  void ApplySkinCursor();
  // The whole composed image (skinned or plain) drawn into a device context.
  void PaintWholeImageTo(HDC DC);

  Boolean FromWMPaint = false;
  TspSkinData* FSD = nullptr;
  String FAreaName;
  String FSkinDataName;
  HRGN FRgn = nullptr;
  Boolean FDrawDefault = true;
  Integer CursorIndex = -1;
  Boolean FAlphaBlend = false;
  Byte FAlphaBlendValue = 200;
  Boolean FUseSkinCursor = false;
  String FHintTitle;
  Integer FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
};

class TspSkinCustomControl : public TspSkinControl, public TspSkinGeometry {
  VANTREL_CLASS(TspSkinCustomControl)
  explicit TspSkinCustomControl(TComponent* AOwner);
  ~TspSkinCustomControl() override;

  Boolean ForcebackGround() const { return FForceBackground; }
  void SetForcebackGround(Boolean Value) { FForceBackground = Value; }
  Boolean DrawbackGround() const { return FDrawbackground; }
  void SetDrawbackGround(Boolean Value) { FDrawbackground = Value; }
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);

  TRect RealClientRect() const { return NewClRect; }
  Integer RealClientWidth() const { return NewClRect.Right - NewClRect.Left; }
  Integer RealClientHeight() const { return NewClRect.Bottom - NewClRect.Top; }
  Integer RealClientLeft() const { return NewClRect.Left; }
  Integer RealClientTop() const { return NewClRect.Top; }
  Integer GetResizeMode() const { return ResizeMode; }
  HRGN Region() const { return FRgn; }

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  virtual void DefaultFontChanged();
  virtual void CalcSize(Integer& AWidth, Integer& AHeight);
  virtual void SetControlRegion();

  // Draws rectangle R of SkinPicture into B at the control's size, by the resize mode.
  void CreateSkinControlImage(TBitmap* B, TBitmap* SkinPicture, const TRect& R);
  Integer CalcResizeMode() const;
  // Maps a rectangle of the skin rectangle to the control's current size.
  void CalcNewRect(const TRect& R, TRect& NewR) const;

 protected:
  void Paint() override;
  // The direct painting of a large framed control: border strips and client tiles.
  void PaintFramedFast();

  Boolean FForceBackground = false;
  Boolean FDrawbackground = true;
  Boolean FUseSkinFont = true;
  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 0;
  std::unique_ptr<TFont> FDefaultFont;
  TBitmap* MaskPicture = nullptr;
};

// Whether Parent is a skinned tool bar that centres its controls vertically, and the
// client rectangle they are centred in. No such tool bar exists yet: always false.
Boolean SkinToolBarCentring(TWinControl* Parent, TRect& ClientRect);

// The windowless twins: no children, no window region, no mask.
class TspGraphicSkinControl : public TGraphicControl {
  VANTREL_CLASS(TspGraphicSkinControl)
  explicit TspGraphicSkinControl(TComponent* AOwner);

  Integer FIndex = -1;

  TspSkinData* SkinData() const { return FSD; }
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  const String& AreaName() const { return FAreaName; }
  void SetAreaName(const String& Value) { FAreaName = Value; }
  Boolean DrawDefault() const { return FDrawDefault; }
  void SetDrawDefault(Boolean Value) { FDrawDefault = Value; }
  Boolean AlphaBlend() const { return FAlphaBlend; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  Boolean UseSkinCursor() const { return FUseSkinCursor; }
  void SetUseSkinCursor(Boolean Value) { FUseSkinCursor = Value; }
  const String& HintTitle() const { return FHintTitle; }
  void SetHintTitle(const String& Value) { FHintTitle = Value; }
  Integer HintImageIndex() const { return FHintImageIndex; }
  void SetHintImageIndex(Integer Value) { FHintImageIndex = Value; }
  TCustomImageList* HintImageList() const { return FHintImageList; }
  void SetHintImageList(TCustomImageList* Value);
  TNotifyEvent OnMouseEnter, OnMouseLeave;

  virtual void SetAlphaBlend(Boolean Value);
  virtual void SetAlphaBlendValue(Byte Value);
  virtual void GetSkinData();
  virtual void SetSkinData(TspSkinData* Value);
  virtual void DrawDefaultImage(TBitmap* B);
  virtual void DrawSkinImage(TBitmap* B);
  virtual void ChangeSkinData();
  virtual void BeforeChangeSkinData();

  void Dispatch(TMessage& Message) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;
  void ApplySkinCursor();

  TspSkinData* FSD = nullptr;
  String FAreaName;
  String FSkinDataName;
  Boolean FDrawDefault = true;
  Integer CursorIndex = -1;
  Boolean FAlphaBlend = false;
  Byte FAlphaBlendValue = 200;
  Boolean FUseSkinCursor = false;
  String FHintTitle;
  Integer FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
};

class TspGraphicSkinCustomControl : public TspGraphicSkinControl, public TspSkinGeometry {
  VANTREL_CLASS(TspGraphicSkinCustomControl)
  explicit TspGraphicSkinCustomControl(TComponent* AOwner);

  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);

  TRect RealClientRect() const { return NewClRect; }
  Integer RealClientWidth() const { return NewClRect.Right - NewClRect.Left; }
  Integer RealClientHeight() const { return NewClRect.Bottom - NewClRect.Top; }
  Integer RealClientLeft() const { return NewClRect.Left; }
  Integer RealClientTop() const { return NewClRect.Top; }
  Integer GetResizeMode() const { return ResizeMode; }

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  virtual void DefaultFontChanged();
  virtual void CalcSize(Integer& AWidth, Integer& AHeight);

  void CreateSkinControlImage(TBitmap* B, TBitmap* SkinPicture, const TRect& R);

 protected:
  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 0;
  std::unique_ptr<TFont> FDefaultFont;
  Boolean FUseSkinFont = true;
};

// ---------------------------------------------------------------------------------------
// The panel family.

enum TspImagePosition { spipDefault, spipLeft };
enum TspSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
using TspSkinPanelNumGlyphs = Integer;  // 1..2
using TspPaintPanelEvent = std::function<void(TCanvas* Cnvs, TRect R)>;

class TspSkinPanel : public TspSkinCustomControl {
  VANTREL_CLASS(TspSkinPanel)
  explicit TspSkinPanel(TComponent* AOwner);

  // Skin caption font and layout, copied from the descriptor.
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0;
  TAlignment Alignment = taLeftJustify;
  TRect CaptionRect, NewCaptionRect;
  Integer BGPictureIndex = -1;
  TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect;
  Integer FrameLeftOffset = 0, FrameRightOffset = 0;
  TRect FrameTextRect;

  Boolean RibbonStyle() const { return FRibbonStyle; }
  void SetRibbonStyle(Boolean Value);
  TspImagePosition ImagePosition() const { return FImagePosition; }
  void SetImagePosition(TspImagePosition Value);
  Boolean TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(Boolean Value);
  TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
  void SetCaptionImageList(TCustomImageList* Value);
  Integer CaptionImageIndex() const { return FCaptionImageIndex; }
  void SetCaptionImageIndex(Integer Value);
  Integer RealHeight() const { return FRealHeight; }
  void SetRealHeight(Integer Value) { FRealHeight = Value; }
  Boolean AutoEnabledControls() const { return FAutoEnabledControls; }
  void SetAutoEnabledControls(Boolean Value) { FAutoEnabledControls = Value; }
  Boolean CheckedMode() const { return FCheckedMode; }
  void SetCheckedMode(Boolean Value);
  Boolean Checked() const { return FChecked; }
  void SetChecked(Boolean Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TspSkinPanelNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TspSkinPanelNumGlyphs Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  TAlignment DefaultAlignment() const { return FDefaultAlignment; }
  void SetDefaultAlignment(TAlignment Value);
  Integer DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
  TspSkinBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TspSkinBorderStyle Value);
  Boolean CaptionMode() const { return FCaptionMode; }
  Boolean RollUpMode() const { return FRollUpMode; }
  void SetRollUpMode(Boolean Value);
  Boolean RollUpState() const { return FRollUpState; }
  void SetRollUpState(Boolean Value);
  TNotifyEvent OnChecked, OnChangeRollUpState;

  // The area inside frame, caption and grip.
  void GetSkinClientRect(TRect& R);
  // Collapses the panel to its caption, or restores it, leaving RollUpState alone.
  void DoRollUp(Boolean ARollUp);

  Boolean CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void AdjustClientRect(TRect& Rect) override;
  void SetAlphaBlend(Boolean Value) override;
  void SetAlphaBlendValue(Byte Value) override;
  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  virtual void SetDefaultCaptionHeight(Integer Value);
  virtual void SetCaptionMode(Boolean Value);
  virtual void PaintClientArea(TCanvas* Cnvs);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  // The caption font: the skin's when skinned and UseSkinFont, else DefaultFont.
  void SetCaptionFont(TCanvas* C);
  // The width of image and text together; the image size and which picture of the glyph.
  Integer CaptionContentWidth(TCanvas* C);
  Boolean HasListImage() const;
  void DrawCaptionImage(TCanvas* C, Integer X, Integer Y);
  Integer CaptionImageWidth() const;
  Integer CaptionImageHeight() const;
  // The transparent look: what lies behind, a frame line and, with a caption, the group
  // frame around it.
  void PaintTransparent(Boolean GroupFrame);
  void DrawGroupFrame(TCanvas* C);
  // Fills the whole panel with the skin's client tile (borderless panels).
  void PaintClientTile(TCanvas* C, Boolean Direct);
  void PaintBackgroundPicture(TCanvas* C);

  Boolean FRibbonStyle = false;
  Boolean FInChangingRollUp = false;
  TspImagePosition FImagePosition = spipDefault;
  Boolean FTransparentMode = false;
  Integer FCMaxWidth = 0, FCMinWidth = 0, FCMaxHeight = 0, FCMinHeight = 0;
  Boolean FCheckedMode = false;
  Boolean FChecked = false;
  Boolean FAutoEnabledControls = true;
  std::unique_ptr<TBitmap> FGlyph;
  TspSkinPanelNumGlyphs FNumGlyphs = 1;
  Integer FSpacing = 2;
  Integer FRealHeight = -1;
  Boolean FRollUpState = false;
  Boolean FRollUpMode = false;
  Boolean FCaptionMode = false;
  TspSkinBorderStyle FBorderStyle = bvFrame;
  Integer FDefaultCaptionHeight = 22;
  TAlignment FDefaultAlignment = taLeftJustify;
  TCustomImageList* FCaptionImageList = nullptr;
  Integer FCaptionImageIndex = -1;
};

// A panel whose OnPanelPaint paints on the composed image before it is shown.
class TspSkinPaintPanel : public TspSkinPanel {
  VANTREL_CLASS(TspSkinPaintPanel)
  explicit TspSkinPaintPanel(TComponent* AOwner);
  TspPaintPanelEvent OnPanelPaint;

  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void PaintClientArea(TCanvas* Cnvs) override;

 protected:
  void Dispatch(TMessage& Message) override;
};

class TspSkinGroupBox : public TspSkinPanel {
  VANTREL_CLASS(TspSkinGroupBox)
  explicit TspSkinGroupBox(TComponent* AOwner);
  void GetSkinData() override;
};

class TspSkinStatusBar : public TspSkinPanel {
  VANTREL_CLASS(TspSkinStatusBar)
  explicit TspSkinStatusBar(TComponent* AOwner);

  TRect GripperRect;
  Boolean GripperTransparent = false;
  TColor GripperTransparentColor = 0;

  Boolean SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(Boolean Value);
  Boolean ShowGrip() const { return FShowGrip; }
  void SetShowGrip(Boolean Value);
  // The grip's rectangle in client coordinates.
  TRect GripRect();

  void AdjustClientRect(TRect& Rect) override;
  void GetSkinData() override;
  void SetSkinData(TspSkinData* Value) override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;

 protected:
  void Dispatch(TMessage& Message) override;
  void DrawGripLines(TCanvas* C, const TRect& G, TColor Dark, TColor Light);

  Boolean FSizeGrip = false;
  Boolean FShowGrip = true;
};

// ---------------------------------------------------------------------------------------
// A bevel whose edge colours come from the skin; it can also be a thin centred divider.
class TspSkinBevel : public TBevel {
  VANTREL_CLASS(TspSkinBevel)
  explicit TspSkinBevel(TComponent* AOwner);

  TColor LightColor = clBtnHighlight;
  TColor DarkColor = clBtnShadow;
  Integer FIndex = -1;

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  Boolean DividerMode() const { return FDividerMode; }
  void SetDividerMode(Boolean Value);

  // Looks the descriptor up again and takes its colours.
  void ChangeSkinData();
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;

  TspSkinData* FSD = nullptr;
  String FSkinDataName = "bevel";
  Boolean FDividerMode = false;
};

// ---------------------------------------------------------------------------------------
// The labels.

enum TspEllipsType { spetNone, spetEndEllips, spetPathEllips };
enum TspEllipsType2 { spetNoneEllips, spetEllips };

// The skin font of the windowless labels: descriptor lookup and the embossed text.
class TspLabelSkinFont {
 public:
  Integer FIndex = -1;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;

 protected:
  // FIndex and the font copy from the descriptor named FSkinDataName.
  void LookUpLabelFont();
  // The canvas font by skin state, UseSkinFont and UseSkinColor; Font is the label's own.
  void ApplyLabelFont(TCanvas* C, TFont* Font);
  // Text in R with Flags; a disabled label draws it embossed.
  void DrawLabelText(TCanvas* C, const String& Text, TRect& R, UINT Flags, Boolean Enabled, Boolean Ellipsis);

  TspSkinData* FSD = nullptr;
  String FSkinDataName = "stdlabel";
  std::unique_ptr<TFont> FDefaultFont = std::make_unique<TFont>();
  Boolean FUseSkinFont = true;
  Boolean FUseSkinColor = true;
};

class TspSkinStdLabel : public TCustomLabel, public TspLabelSkinFont {
  VANTREL_CLASS(TspSkinStdLabel)
  explicit TspSkinStdLabel(TComponent* AOwner);

  TspEllipsType EllipsType() const { return FEllipsType; }
  void SetEllipsType(TspEllipsType Value);
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  Boolean UseSkinColor() const { return FUseSkinColor; }
  void SetUseSkinColor(Boolean Value) { FUseSkinColor = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }

  void GetSkinData() { LookUpLabelFont(); }
  void ChangeSkinData();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DoDrawText(TRect& Rect, Integer Flags) override;

  TspEllipsType FEllipsType = spetNone;
};

class TspSkinTextLabel : public TGraphicControl, public TspLabelSkinFont {
  VANTREL_CLASS(TspSkinTextLabel)
  explicit TspSkinTextLabel(TComponent* AOwner);

  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  Boolean UseSkinColor() const { return FUseSkinColor; }
  void SetUseSkinColor(Boolean Value) { FUseSkinColor = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  TStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  Boolean WordWrap() const { return FWordWrap; }
  void SetWordWrap(Boolean Value);

  Boolean AutoSize() const { return FAutoSize; }
  void GetSkinData() { LookUpLabelFont(); }
  void ChangeSkinData();
  virtual void GetLabelText(String& S);
  void SetAutoSize(Boolean Value) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void Loaded() override;
  void DoDrawText(TCanvas* C, TRect& R, UINT Flags);
  // Sizes the label to its lines (AutoSize), keeping the right edge of a right-aligned one.
  void AdjustBounds();

  std::unique_ptr<TStringList> FLines;
  Boolean FAutoSize = true;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  Boolean FWordWrap = false;
};

class TspSkinLabel : public TspSkinCustomControl {
  VANTREL_CLASS(TspSkinLabel)
  explicit TspSkinLabel(TComponent* AOwner);

  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0;

  Boolean ShadowEffect() const { return FShadowEffect; }
  void SetShadowEffect(Boolean Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  Integer ShadowOffset() const { return FShadowOffset; }
  void SetShadowOffset(Integer Value);
  Integer ShadowSize() const { return FShadowSize; }
  void SetShadowSize(Integer Value);
  Boolean ReflectionEffect() const { return FReflectionEffect; }
  void SetReflectionEffect(Boolean Value);
  Integer ReflectionOffset() const { return FReflectionOffset; }
  void SetReflectionOffset(Integer Value);
  TspEllipsType2 EllipsType() const { return FEllipsType; }
  void SetEllipsType(TspEllipsType2 Value);
  Boolean UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(Boolean Value) { FUseSkinSize = Value; }
  Boolean UseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(Boolean Value) { FUseSkinFontColor = Value; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  Boolean AutoSize() const { return FAutoSize; }
  void SetAutoSize(Boolean Value) override;
  TspSkinBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TspSkinBorderStyle Value);

  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;
  void SetControlRegion() override;
  virtual Integer GetAutoSizeDelta();

 protected:
  void Dispatch(TMessage& Message) override;
  void DrawLabelCaption(TCanvas* C, TRect R);
  void AdjustWidthToText();

  Boolean FShadowEffect = false;
  Integer FShadowOffset = 0;
  Integer FShadowSize = 3;
  TColor FShadowColor = clBlack;
  Boolean FReflectionEffect = false;
  Integer FReflectionOffset = -5;
  TspEllipsType2 FEllipsType = spetNoneEllips;
  Boolean FUseSkinSize = true;
  TAlignment FAlignment = taLeftJustify;
  Boolean FAutoSize = false;
  TspSkinBorderStyle FBorderStyle = bvFrame;
  Boolean FUseSkinFontColor = true;
};

// ---------------------------------------------------------------------------------------
// Check box and radio button, radio group and gauge.

class TTimer;

// A check box, or with Radio a radio button: checked, unchecked or grayed; checking it
// unchecks the boxes of its parent that share its non-zero GroupIndex. Flat boxes draw
// over their parent's image, framed ones on the skin picture.
class TspSkinCheckRadioBox : public TspSkinCustomControl {
  VANTREL_CLASS(TspSkinCheckRadioBox)
  explicit TspSkinCheckRadioBox(TComponent* AOwner);
  void BeforeDestruction() override;

  // Copied from the descriptor.
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0, FrameFontColor = 0, UnEnabledFontColor = 0;
  TRect ActiveSkinRect, CheckImageArea, TextArea;
  TRect CheckImageRect, UnCheckImageRect, ActiveCheckImageRect, ActiveUnCheckImageRect;
  TRect UnEnabledCheckImageRect, UnEnabledUnCheckImageRect;
  TRect GrayedCheckImageRect, ActiveGrayedCheckImageRect;
  Boolean Morphing = false;
  TMorphKind MorphKind = mkDefault;
  // Where the check picture goes in the framed skinned look, and the text area at the
  // control's width.
  TRect CIRect, NewTextArea;

  Boolean Checked() const { return FChecked; }
  void SetChecked(Boolean Value);
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  Boolean AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(Boolean Value);
  Boolean Radio() const { return FRadio; }
  void SetRadio(Boolean Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value) { FGroupIndex = Value; }
  Boolean Flat() const { return FFlat; }
  void SetFlat(Boolean Value);
  Boolean WordWrap() const { return FWordWrap; }
  void SetWordWrap(Boolean Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Boolean UseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(Boolean Value) { FUseSkinFontColor = Value; }
  Boolean CanFocused() const { return FCanFocused; }
  void SetCanFocused(Boolean Value);
  // The box's own click event (the check state changed, or the user clicked it).
  TNotifyEvent OnClick;

  // The click action: a check box flips, a radio button only checks.
  virtual void Toggle();
  Boolean IsFocused();
  Boolean EnableMorphing() const;
  // Starts the morph toward the current look, or repaints.
  void ReDraw();
  void StartMorph();
  void StopMorph();
  // 0: the normal look, 1: the active look.
  Double MorphFactor() const { return FMorphKf; }
  void UncheckGroupSiblings();
  // Rectangle R of the skin picture at (X, Y), its bottom-left pixel's colour left out.
  void DrawTransparentImage(Integer X, Integer Y, TCanvas* Cnvs, const TRect& R);
  // The grayed mark: the skin's grayed picture, else BaseRect lightened halfway to white.
  void DrawGrayedImage(Integer X, Integer Y, TCanvas* Cnvs, const TRect& BaseRect);
  // The framed skinned look of picture rectangle R into B (AActive: the hot text colour).
  void DrawSkinnedBox(TBitmap* B, const TRect& R, Boolean AActive);

  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void ChangeSkinData() override;
  void CheckParentBackground() override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;
  void CMEnabledChanged(TWMNoParams& Message) override;
  void CMTextChanged(TWMNoParams& Message) override;
  void CMDialogChar(TCMDialogChar& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;
  void DoMorphing();
  // The check picture of the current state (skinned looks).
  void DrawCheckPicture(TCanvas* Cnvs, Integer X, Integer Y);
  // The box and mark of the plain looks.
  void DrawPlainMark(TCanvas* Cnvs);
  // The text font of the flat and framed looks: skin font or DefaultFont, with the
  // charset of the skin's texts when there are any.
  void SetTextFont(TCanvas* Cnvs);
  void PaintFlat(Boolean Skinned);
  void PaintSkinnedFramed();

  Boolean FChecked = false;
  TCheckBoxState FState = cbUnchecked;
  Boolean FAllowGrayed = false;
  Boolean FRadio = false;
  Integer FGroupIndex = 0;
  Boolean FFlat = true;
  Boolean FWordWrap = false;
  TCustomImageList* FImages = nullptr;
  Integer FImageIndex = 0;
  Boolean FUseSkinFontColor = true;
  Boolean FCanFocused = true;
  Boolean FMouseIn = false;
  Boolean FDown = false;
  Boolean FClicksDisabled = false;
  TTimer* MorphTimer = nullptr;  // owned; lives while a morph runs
  Double FMorphKf = 0;
};

class TspSkinCustomRadioGroup;

// A flat radio button made and owned by a radio group; never streamed.
class TspGroupButton : public TspSkinCheckRadioBox {
  VANTREL_CLASS(TspGroupButton)
  explicit TspGroupButton(TspSkinCustomRadioGroup* RadioGroup);
  void BeforeDestruction() override;

 protected:
  void KeyPress(char32_t& Key) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Dispatch(TMessage& Message) override;

  TspSkinCustomRadioGroup* FGroup;
  Boolean FInClick = false;
};

// A skinned group box with one radio button per line of Items in Columns columns;
// ItemIndex is the checked one.
class TspSkinCustomRadioGroup : public TspSkinGroupBox {
  VANTREL_CLASS(TspSkinCustomRadioGroup)
  explicit TspSkinCustomRadioGroup(TComponent* AOwner);
  void BeforeDestruction() override;

  TStrings* Items() const;
  void SetItems(TStrings* Value);
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value);
  Integer Columns() const { return FColumns; }
  void SetColumns(Integer Value);
  const String& ButtonSkinDataName() const { return FButtonSkinDataName; }
  void SetButtonSkinDataName(const String& Value);
  TFont* ButtonDefaultFont() const { return FButtonDefaultFont.get(); }
  void SetButtonDefaultFont(TFont* Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);

  // Asked before a button may change the selection.
  virtual Boolean CanModify();
  void UpdateButtonsFont();
  void SetSkinData(TspSkinData* Value) override;
  void ChangeSkinData() override;

 protected:
  friend class TspGroupButton;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void ButtonClick(TObject* Sender);
  void SetButtonCount(Integer Value);
  void UpdateButtons();
  void ItemsChange();
  void ArrangeButtons();

  std::vector<TspGroupButton*> FButtons;  // in item order; owned by the group
  std::unique_ptr<TStringList> FItems;
  Integer FItemIndex = -1;
  Integer FColumns = 1;
  Boolean FReading = false;
  Boolean FUpdating = false;
  TCustomImageList* FImages = nullptr;
  String FButtonSkinDataName = "radiobox";
  std::unique_ptr<TFont> FButtonDefaultFont;
};

class TspSkinRadioGroup : public TspSkinCustomRadioGroup {
  VANTREL_CLASS(TspSkinRadioGroup)
  explicit TspSkinRadioGroup(TComponent* AOwner) : TspSkinCustomRadioGroup(AOwner) {}
};

// Replaces the gauge's own drawing of the filled part and the text: the canvas of the
// composed image, the whole area the progress may fill and the filled part.
using TspGaugePaintEvent = std::function<void(TCanvas* Cnvs, const TRect& AProgressArea, const TRect& AProgressRect)>;

// The skinned progress bar: Value between MinValue and MaxValue as a filled part, with an
// optional centred text and a looping progress animation from the skin.
class TspSkinGauge : public TspSkinCustomControl {
  VANTREL_CLASS(TspSkinGauge)
  explicit TspSkinGauge(TComponent* AOwner);
  void BeforeDestruction() override;

  // Copied from the descriptor.
  TRect ProgressArea, NewProgressArea, ProgressRect;
  Integer BeginOffset = 0, EndOffset = 0;
  Boolean ProgressTransparent = false;
  TColor ProgressTransparentColor = 0;
  Boolean ProgressStretch = false;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0;
  TRect ProgressAnimationSkinRect;
  Integer ProgressAnimationCountFrames = 0;
  Integer ProgressAnimationTimerInterval = 0;

  Integer MinValue() const { return FMinValue; }
  void SetMinValue(Integer Value);
  Integer MaxValue() const { return FMaxValue; }
  void SetMaxValue(Integer Value);
  Integer Value() const { return FValue; }
  void SetValue(Integer AValue);
  Boolean Vertical() const { return FVertical; }
  void SetVertical(Boolean Value);
  const String& ProgressText() const { return FProgressText; }
  void SetProgressText(const String& Value);
  Boolean ShowProgressText() const { return FShowProgressText; }
  void SetShowProgressText(Boolean Value);
  Boolean ShowPercent() const { return FShowPercent; }
  void SetShowPercent(Boolean Value);
  Boolean TextAlphaBlend() const { return FTextAlphaBlend; }
  void SetTextAlphaBlend(Boolean Value);
  Byte TextAlphaBlendValue() const { return FTextAlphaBlendValue; }
  void SetTextAlphaBlendValue(Byte Value);
  Boolean UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(Boolean Value) { FUseSkinSize = Value; }
  Integer ProgressAnimationPause() const { return FProgressAnimationPause; }
  void SetProgressAnimationPause(Integer Value);
  TspGaugePaintEvent OnGaugePaint;

  // The filled part of R for the current value (truncated; a vertical bar grows upward).
  TRect CalcProgressRect(TRect R, Boolean AVertical);
  void StartProgressAnimation();
  void StopProgressAnimation();
  void StartInternalAnimation();
  void StopInternalAnimation();
  // The frame shown (0: none).
  Integer AnimationFrame() const { return FAnimationFrame; }
  void DrawGaugeText(TCanvas* Cnvs);
  TRect GetAnimationFrameRect();

  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void OnAnimationPauseTimer(TObject* Sender);
  void OnAnimationTimer(TObject* Sender);
  // The gauge's text: ProgressText and the percentage as ShowProgressText and
  // ShowPercent say.
  String GaugeText();
  // The filled part PR drawn onto B from the skin picture; false when the skin's middle
  // strip is empty and nothing more may be drawn.
  Boolean DrawSkinProgress(TBitmap* B, const TRect& PR);
  Boolean FrameTimerRunning() const;

  Integer FMinValue = 0;
  Integer FMaxValue = 100;
  Integer FValue = 50;
  Boolean FVertical = false;
  String FProgressText;
  Boolean FShowProgressText = false;
  Boolean FShowPercent = false;
  Boolean FTextAlphaBlend = false;
  Byte FTextAlphaBlendValue = 200;
  Boolean FUseSkinSize = true;
  Integer FProgressAnimationPause = 1000;
  Integer FAnimationFrame = 0;
  TTimer* FAnimationPauseTimer = nullptr;  // owned
  TTimer* FAnimationTimer = nullptr;       // owned
  Integer FRequestedWidth = 0, FRequestedHeight = 0;
};
