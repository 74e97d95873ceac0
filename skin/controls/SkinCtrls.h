// The skinned controls: the bases that bind a control to a descriptor of the loaded skin
// by name, fit its size to the skin's geometry and compose its image off screen.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/StringList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Timers.h"
#include "platform/ui/TreeView.h"
#include "platform/ui/Forms.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/controls/SkinMessages.h"
#include "skin/core/data/SkinData.h"
#include "skin/core/drawing/SPUtils.h"

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
  // The whole image into DC, then the inner edit Edit (when shown) painting its text over
  // its own part of it.
  void PaintWholeImageWithEdit(HDC DC, TWinControl* Edit);
  // The control's image, skinned or plain, put together off screen; Draw takes it.
  void ComposeWholeImage(const std::function<void(TBitmap*)>& Draw);

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

 private:
  // The pixels the control's last image was put together on, kept for the next paint:
  // the pages of a fresh bitmap the size of a big control cost more than drawing into
  // them. Empty while a paint holds them.
  TOwned<TBitmap> FImagePixels;
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
// client rectangle they are centred in.
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
  // Puts the font the label draws with on its canvas, for callers that measure text to fit.
  void ApplyTextFont() {
    GetSkinData();
    ApplyLabelFont(Canvas(), Font());
  }

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
  void CMFontChanged(TWMNoParams& Message) override;
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
// The push button.

using TspNumGlyphs = Integer;  // 1..4: normal, disabled, pressed, active side by side
// Runs after the state image is composed, before glyph and caption; clearing DrawDefault
// leaves them out.
using TspButtonPaintEvent = std::function<void(TObject* Sender, TCanvas* Cnvs, TRect R, Boolean ADown,
                                               Boolean AMouseIn, Boolean& DrawDefault)>;
class TspSkinImagesMenu;

// The descriptor copies the push and speed buttons keep, public as the descriptor's.
class TspButtonSkinLook {
 public:
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
  TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, FocusedSkinRect;
  Boolean Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  Boolean ShowFocus = false;
  TRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
  TColor MenuMarkerTransparentColor = 0;
  Integer GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetBottom = 0;
  Integer GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 0;

 protected:
  // Fonts, state pictures (an empty active one falls back to the normal, an empty pressed
  // one to the active), animation strip, menu markers (active to normal, pressed to
  // active) and glow; a disabled colour equal to the normal one shows grey.
  void CopyButtonLook(const TspDataSkinButtonControl& D);
  // Frame N (1-based) of the animation strip: side by side when the strip is wider than
  // the normal picture, else stacked.
  TRect AnimationFrameRect(Integer N, const TRect& NormalRect) const;
  // The glyph picture for a state: 3 pressed, 4 active, 2 disabled, else 1 — each only
  // when the strip holds it.
  static Integer GlyphNumber(Integer NumGlyphs, Boolean ADown, Boolean AMouseIn, Boolean AEnabled);
  // The caption colour of a state: the default font's when the skin's colours are off.
  TColor StateFontColor(Boolean AEnabled, Boolean UseSkinColor, TColor DefaultColor, Boolean ADown,
                        Boolean AMouseIn) const;

  // The state image R of a button whose size is free of the skin's (UseSkinSize off):
  // stretched whole, stretched around the corners of ClRect or nothing, by the resize
  // mode; TextRect is the client part grown with the button.
  static void DrawFreeSizeImage(TBitmap* Picture, Integer ResizeMode, const TRect& ClRect, TBitmap* B,
                                const TRect& R, TRect& TextRect);
  // A glyph made from the linked action's image (fuchsia behind it) when Glyph is empty;
  // true when one was made.
  static Boolean GlyphFromAction(TObject* Action, TBitmap* Glyph);
  // A running timer of the button's calling Tick every Interval ms.
  static TOwned<TTimer> StartButtonTimer(Integer Interval, std::function<void()> Tick);
  // The repeat timer: waits 500 ms, then calls Click every RepeatInterval ms.
  static TOwned<TTimer> StartRepeatTimer(Integer RepeatInterval, std::function<void()> Click);
  // One morph step toward Target (0 or 1) by a fifth; false once the factor has been set
  // to the target exactly.
  static Boolean StepMorph(Double& Kf, Double Target);
  // One frame step of the animation; false once it has run out.
  static Boolean StepAnimation(Integer& Frame, Boolean Forward, Integer Count, Boolean& Changed);
  // The menu marker of a state (pressed, active, flat, else normal) from Picture, keyed
  // out by MenuMarkerTransparentColor and centred in R.
  void DrawMenuMarker(TBitmap* Picture, TCanvas* C, const TRect& R, Boolean AActive, Boolean ADown,
                      Boolean AFlat) const;
  // The pressed track part of a menu button (TrackRect of the pressed picture) over Dest.
  void PasteTrackPart(TBitmap* B, TBitmap* Picture, const TRect& TrackRect, const TRect& Dest) const;

  // One state image of a button drawn on a bitmap: the picture rectangle R, pressed, hot.
  using TspDrawStateImage = std::function<void(TBitmap* B, const TRect& R, Boolean ADown, Boolean AMouseIn)>;
  // The skinned button of Self on Target: while Morphing, the normal picture NormalRect
  // cross-faded toward the active one by MorphKf; else picture R in the state given.
  // With AlphaBlend the image is blended over what lies behind Self by AlphaValue.
  void PaintStates(TControl* Self, TCanvas* Target, const TspDrawStateImage& Draw, Boolean Morphing,
                   Double MorphKf, const TRect& NormalRect, const TRect& R, Boolean ADown, Boolean AMouseIn,
                   Boolean AlphaBlend, Byte AlphaValue) const;
  // The caption font of a state image on C: the skin's face (UseSkinFont) or Default, the
  // text table's character set and the colour of the state.
  void SetStateFont(TCanvas* C, TspSkinData* SD, TFont* Default, Boolean UseSkinFont, Boolean UseSkinFontColor,
                    Boolean AEnabled, Boolean ADown, Boolean AMouseIn) const;
  // The plain look's caption font on C: Default, the text table's character set, and the
  // shadow colour when disabled.
  static void SetPlainFont(TCanvas* C, TspSkinData* SD, TFont* Default, Boolean AEnabled);
  // The character set of the skin's text table, else Default's.
  static Integer ButtonCharset(TspSkinData* SD, TFont* Default);
};

class TspSkinButton : public TspSkinCustomControl, public TspButtonSkinLook {
  VANTREL_CLASS(TspSkinButton)
  explicit TspSkinButton(TComponent* AOwner);
  ~TspSkinButton() override;

  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Boolean AlwaysShowLayeredFrame() const { return FAlwaysShowGlowFrame; }
  void SetAlwaysShowLayeredFrame(Boolean Value) { FAlwaysShowGlowFrame = Value; }
  Boolean UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(Boolean Value) { FUseSkinSize = Value; }
  Boolean UseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(Boolean Value) { FUseSkinFontColor = Value; }
  Boolean RepeatMode() const { return FRepeatMode; }
  void SetRepeatMode(Boolean Value) { FRepeatMode = Value; }
  Integer RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(Integer Value) { FRepeatInterval = Value; }
  Boolean AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(Boolean Value) { FAllowAllUp = Value; }
  Boolean CanFocused() const { return FCanFocused; }
  void SetCanFocused(Boolean Value);
  Boolean Down() const { return FDown; }
  virtual void SetDown(Boolean Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TspNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TspNumGlyphs Value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  TspButtonLayout Layout() const { return FLayout; }
  void SetLayout(TspButtonLayout Value);
  Boolean Cancel() const { return FCancel; }
  void SetCancel(Boolean Value) { FCancel = Value; }
  Boolean Default() const { return FDefault; }
  void SetDefault(Boolean Value);
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // The button's own click event (the control's generic OnClick is not used).
  TNotifyEvent OnClick;
  TspButtonPaintEvent OnPaint;

  // Back to the resting look without a click.
  void RefreshButton();
  // Show and hide the glow frame around the button.
  void ShowLayer();
  void HideLayer();
  virtual void ButtonClick();
  virtual void DrawButtonImage(TBitmap* B, TRect R, Boolean ADown, Boolean AMouseIn);

  Double MorphFactor() const { return FMorphKf; }
  Boolean MouseIn() const { return FMouseIn; }
  Integer AnimationFrame() const { return CurrentFrame; }
  TspLayerManager* LayerManager() const { return FLayerManager; }

  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap*) override {}
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void CreateWnd() override;
  void Paint() override;
  void Click() override;
  void ActionChange(TObject* Sender) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;
  void CMDialogKey(TCMDialogKey& Message) override;
  void CMDialogChar(TCMDialogChar& Message) override;
  void CMFocusChanged(TCMFocusChanged& Message) override;
  void CMEnabledChanged(TWMNoParams& Message) override;
  void CMTextChanged(TWMNoParams& Message) override;

  Boolean SkinEffectsEnabled() const;  // EnableAnimation
  Boolean MorphingEnabled() const;     // EnableMorphing
  Boolean IsFocused();
  // Hover or focus changed: morph when the skin morphs, else repaint.
  void ReDraw();
  void StartMorph();
  void StopMorph();
  void DoMorphing();
  void StartAnimate(Boolean Forward);
  void StopAnimate();
  void DoAnimate();
  void StartRepeat();
  void StopRepeat();
  // The glyph picture for a state: pressed, active, disabled or normal.
  Integer GetGlyphNum(Boolean ADown, Boolean AMouseIn);
  // Canvas font and colour of a state image.
  void SetButtonFont(TCanvas* C, Boolean ADown, Boolean AMouseIn);
  // Glyph, image or images-menu picture and the caption inside R.
  // ImageShift and GlyphShift: the pressed offset of an image-list picture and of the glyph.
  void DrawButtonContent(TCanvas* C, const TRect& R, Boolean ADown, Boolean AMouseIn, Boolean ImageShift,
                         Boolean GlyphShift);
  // The whole button (skinned, morphing or plain) drawn on Target.
  void PaintButton(TCanvas* Target);
  // The glow picture and its mask at the button's size; false when the mode shows none.
  Boolean GlowPictures(TOwned<TBitmap>& G, TOwned<TBitmap>& M, TBitmap*& GP, TBitmap*& MP);
  Boolean GlowAllowed();

  Boolean FAlwaysShowGlowFrame = false;
  TspLayerManager* FLayerManager = nullptr;  // owned (as a component)
  TOwned<TTimer> AnimateTimer;
  Integer CurrentFrame = 0;
  Boolean AnimateInc = false;
  TspSkinImagesMenu* FSkinImagesMenu = nullptr;
  Boolean FUseImagesMenuImage = false;
  Boolean FUseImagesMenuCaption = false;
  Boolean FSpaceSupport = true;
  Boolean FUseSkinFontColor = true;
  Boolean FUseSkinSize = true;
  TOwned<TTimer> RepeatTimer;
  Boolean FRepeatMode = false;
  Integer FRepeatInterval = 100;
  Boolean FActive = false;
  Boolean FAllowAllUp = false;
  Boolean FAllowAllUpCheck = false;
  Boolean FDefault = false;
  Boolean FCancel = false;
  TModalResult FModalResult = mrNone;
  Boolean FClicksDisabled = false;
  Boolean FCanFocused = true;
  Double FMorphKf = 0;
  Boolean FDown = false;
  Boolean FMouseIn = false;
  Boolean FMouseDown = false;
  Integer FGroupIndex = 0;
  std::unique_ptr<TBitmap> FGlyph;
  TspNumGlyphs FNumGlyphs = 1;
  Integer FMargin = -1;
  Integer FSpacing = 1;
  TspButtonLayout FLayout = blGlyphLeft;
  TOwned<TTimer> MorphTimer;
  TCustomImageList* FImageList = nullptr;
  Integer FImageIndex = -1;
};

// ---------------------------------------------------------------------------------------
// The windowless tool button: the push button's looks without focus, keys or glow; a flat
// one shows only its glyph and caption while it rests.

class TspSkinSpeedButton : public TspGraphicSkinCustomControl, public TspButtonSkinLook {
  VANTREL_CLASS(TspSkinSpeedButton)
  explicit TspSkinSpeedButton(TComponent* AOwner);
  ~TspSkinSpeedButton() override;

  TCustomImageList* ImageList() const { return FButtonImages; }
  void SetImageList(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Boolean UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(Boolean Value) { FUseSkinSize = Value; }
  Boolean UseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(Boolean Value) { FUseSkinFontColor = Value; }
  Integer WidthWithCaption() const { return FWidthWithCaption; }
  void SetWidthWithCaption(Integer Value) { FWidthWithCaption = Value; }
  Integer WidthWithoutCaption() const { return FWidthWithoutCaption; }
  void SetWidthWithoutCaption(Integer Value) { FWidthWithoutCaption = Value; }
  Boolean RepeatMode() const { return FRepeatMode; }
  void SetRepeatMode(Boolean Value) { FRepeatMode = Value; }
  Integer RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(Integer Value) { FRepeatInterval = Value; }
  Boolean Flat() const { return FFlat; }
  void SetFlat(Boolean Value);
  Boolean AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(Boolean Value) { FAllowAllUp = Value; }
  Boolean Down() const { return FDown; }
  virtual void SetDown(Boolean Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value) { FGroupIndex = Value; }
  Boolean ShowCaption() const { return FShowCaption; }
  void SetShowCaption(Boolean Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TspNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TspNumGlyphs Value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  TspButtonLayout Layout() const { return FLayout; }
  void SetLayout(TspButtonLayout Value);
  TspButtonPaintEvent OnPaint;

  void RefreshButton();
  virtual void ButtonClick();
  virtual void DrawButtonImage(TBitmap* B, TRect R, Boolean ADown, Boolean AMouseIn);

  Double MorphFactor() const { return FMorphKf; }
  Boolean MouseIn() const { return FMouseIn; }
  Integer AnimationFrame() const { return CurrentFrame; }

  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap*) override {}
  void ChangeSkinData() override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void ActionChange(TObject* Sender) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;
  void CMDialogChar(TCMDialogChar& Message) override;
  void CMEnabledChanged(TWMNoParams& Message) override;
  void CMTextChanged(TWMNoParams& Message) override;

  Boolean SkinEffectsEnabled() const;
  Boolean MorphingEnabled() const;
  // Down in a way that shows the pressed look.
  Boolean ShowsPressed() const;
  void ReDraw();
  void StartMorph();
  void StopMorph();
  void DoMorphing();
  void StartAnimate(Boolean Forward);
  void StopAnimate();
  void DoAnimate();
  void StartRepeat();
  void StopRepeat();
  String CaptionToDraw() { return FShowCaption ? Caption() : String(); }
  void SetButtonFont(TCanvas* C, Boolean ADown, Boolean AMouseIn);
  // Glyph and caption from the first source that applies; ToolBarHot lets the tool bar's
  // hot pictures take part; Shift moves the image list's picture or the glyph and the
  // caption one pixel right and down, as pressed.
  void DrawButtonContent(TCanvas* C, const TRect& R, Boolean ADown, Boolean AMouseIn, Boolean ToolBarHot,
                         Boolean Shift = false);
  // The flat resting look: glyph and caption straight on the canvas.
  void PaintFlat(Boolean Skinned);
  // The state image of the current look (skinned or plain), not the flat resting one.
  void PaintStateImage();

  TOwned<TTimer> AnimateTimer;
  Integer CurrentFrame = 0;
  Boolean AnimateInc = false;
  TspSkinImagesMenu* FSkinImagesMenu = nullptr;
  Boolean FUseImagesMenuImage = false;
  Boolean FUseImagesMenuCaption = false;
  Boolean FDrawColorMarker = false;
  TColor FColorMarkerValue = 0;
  Boolean FUseSkinSize = true;
  Boolean FUseSkinFontColor = true;
  TCustomImageList* FButtonImages = nullptr;
  Integer FImageIndex = 0;
  TOwned<TTimer> RepeatTimer;
  Boolean FRepeatMode = false;
  Integer FRepeatInterval = 100;
  Boolean FFlat = false;
  Boolean FAllowAllUp = false;
  Boolean FAllowAllUpCheck = false;
  Double FMorphKf = 0;
  Boolean FDown = false;
  Boolean FMouseIn = false;
  Boolean FMouseDown = false;
  Integer FGroupIndex = 0;
  std::unique_ptr<TBitmap> FGlyph;
  TspNumGlyphs FNumGlyphs = 1;
  Integer FMargin = -1;
  Integer FSpacing = 1;
  TspButtonLayout FLayout = blGlyphLeft;
  TOwned<TTimer> MorphTimer;
  Integer FWidthWithCaption = 0;
  Integer FWidthWithoutCaption = 0;
  Boolean FShowCaption = true;
};

// ---------------------------------------------------------------------------------------
// The menu buttons: a press opens a skinned popup menu and/or an images menu under the
// button; in track-button mode only the 15-pixel track part opens it.

class TspSkinPopupMenu;
enum TspTrackPosition { sptpRight, sptpBottom };

// Width of the track part and of the drop-down marker strip.
constexpr Integer MenuButtonTrackSize = 15;
// How a menu button of this descriptor name composes itself: 1 the tool style (stretched
// parts: "toolbutton", "bigtoolbutton"), 2 the nine-part style ("resizebutton",
// "resizetoolbutton"), 0 from its own skin picture.
Integer MenuButtonPartsStyle(const String& SkinDataName);
// R contains the point, its four edges included.
inline Boolean PointOnOrInRect(const TRect& R, Integer X, Integer Y) {
  return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

// What the menu button and the menu speed button share, over the push button (Base
// TspSkinButton, Root TspSkinCustomControl) or the speed button (Base TspSkinSpeedButton,
// Root TspGraphicSkinCustomControl): the menus a press opens, the track part, the press
// that opens them and the pressed state until they report closing.
template <class Base, class Root>
class TspMenuTrackButton : public Base {
 public:
  explicit TspMenuTrackButton(TComponent* AOwner);
  ~TspMenuTrackButton() override;

  TspSkinImagesMenu* SkinImagesMenu() const { return this->FSkinImagesMenu; }
  void SetSkinImagesMenu(TspSkinImagesMenu* Value);
  Boolean UseImagesMenuImage() const { return this->FUseImagesMenuImage; }
  void SetUseImagesMenuImage(Boolean Value) { this->FUseImagesMenuImage = Value; }
  Boolean UseImagesMenuCaption() const { return this->FUseImagesMenuCaption; }
  void SetUseImagesMenuCaption(Boolean Value) { this->FUseImagesMenuCaption = Value; }
  TspSkinPopupMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
  void SetSkinPopupMenu(TspSkinPopupMenu* Value);
  Boolean TrackButtonMode() const { return FTrackButtonMode; }
  void SetTrackButtonMode(Boolean Value);
  Boolean MenuTracked() const { return FMenuTracked; }
  TNotifyEvent OnShowTrackMenu, OnHideTrackMenu;

  // The track part inside the skin rectangle, from the descriptor.
  TRect TrackButtonRect{};

  void PopupTrackMenu();
  Boolean IsTrackPoint(Integer X, Integer Y);
  TRect GetTrackPartRect() const;

  void GetSkinData() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;

  // The strip a track-button press must hit where the skin gives no track part.
  virtual TRect TrackStrip() const;
  // A left press is about to open the menu.
  virtual void TrackPressStarting() {}
  // A menu reported closing (ImagesMenu: the images menu): up again, OnHideTrackMenu and
  // the pointer state, then the new look.
  virtual void TrackMenuClosed(Boolean ImagesMenu) = 0;

  Boolean HasMenu() const { return FSkinPopupMenu || this->FSkinImagesMenu; }
  // While the menu of a track-button press is open and the skin has a track part: the
  // active image with the pressed track part over it. False when that look does not apply.
  Boolean DrawTrackedImage(TBitmap* B);
  // The unskinned look's background and font: the default font in the skin's charset,
  // grey when disabled. Returns B's canvas.
  TCanvas* BeginPlainImage(TBitmap* B);
  // The unskinned main and track parts of track-button mode (Hot: the active look at
  // rest); true when the pressed shift applies.
  Boolean DrawPlainTrackParts(TCanvas* C, Boolean Hot);
  // The two parts of track-button mode composed from the Main and Track state rectangles.
  void ComposeTrackParts(TBitmap* B, const TRect& Main, const TRect& Track, Boolean Stretch);
  // The drop-down marker's place in the right strip, moved in while pressed (Shifted).
  TRect MarkerRect(Boolean Shifted) const;

  Boolean FTrackButtonMode = false;
  Boolean FMenuTracked = false;
  TspSkinPopupMenu* FSkinPopupMenu = nullptr;
};

extern template class TspMenuTrackButton<TspSkinButton, TspSkinCustomControl>;
extern template class TspMenuTrackButton<TspSkinSpeedButton, TspGraphicSkinCustomControl>;

class TspSkinMenuButton : public TspMenuTrackButton<TspSkinButton, TspSkinCustomControl> {
  VANTREL_CLASS(TspSkinMenuButton)
  explicit TspSkinMenuButton(TComponent* AOwner);

  void DrawDefaultImage(TBitmap* B) override;
  void DrawButtonImage(TBitmap* B, TRect R, Boolean ADown, Boolean AMouseIn) override;

 protected:
  void WndProc(TMessage& Message) override;
  void CMDialogChar(TCMDialogChar& Message) override;
  void TrackPressStarting() override;
  void TrackMenuClosed(Boolean ImagesMenu) override;

 private:
  // The tool (Stretch) and nine-part styles, drawn from the button's own state.
  void DrawPartsStyle(TBitmap* B, Boolean Stretch);
  void DrawMarker(TCanvas* C, Boolean Skinned);
};

class TspSkinMenuSpeedButton : public TspMenuTrackButton<TspSkinSpeedButton, TspGraphicSkinCustomControl> {
  VANTREL_CLASS(TspSkinMenuSpeedButton)
  explicit TspSkinMenuSpeedButton(TComponent* AOwner);

  Boolean NewStyle() const { return FNewStyle; }
  void SetNewStyle(Boolean Value);
  TspTrackPosition TrackPosition() const { return FTrackPosition; }
  void SetTrackPosition(TspTrackPosition Value);

  // Draw an arrow (1 left, 2 right, 3 up, 4 down) in place of the menu marker.
  Boolean FDrawStandardArrow = false;
  Integer FArrowType = 0;

  void DrawDefaultImage(TBitmap* B) override;
  void DrawButtonImage(TBitmap* B, TRect R, Boolean ADown, Boolean AMouseIn) override;

 protected:
  void Paint() override;
  // The bottom strip in the new style with the track at the bottom, else the right one.
  TRect TrackStrip() const override;
  void TrackMenuClosed(Boolean ImagesMenu) override;

 private:
  // The button less its track strip: where glyph and caption go.
  TRect RestOfStrip() const;
  void DrawPartsStyle(TBitmap* B, Boolean Stretch, Boolean ADown, Boolean AMouseIn);
  void DrawNewStyle(TBitmap* B, Boolean ADown, Boolean AMouseIn);
  void PaintFlatMenu();

  Boolean FNewStyle = false;
  TspTrackPosition FTrackPosition = sptpRight;
};

// ---------------------------------------------------------------------------------------
// The tool bar: a panel that centres its children, hands its images, flat style and skin
// to its speed buttons and scrolls them with two arrows in its non-client area.

class TspSkinToolBar : public TspSkinPanel {
  VANTREL_CLASS(TspSkinToolBar)
  explicit TspSkinToolBar(TComponent* AOwner);
  ~TspSkinToolBar() override;

  Boolean AdjustControls = true;
  Boolean CanScroll = false;
  Boolean HotScroll = false;
  Boolean AutoShowHideCaptions = false;
  Integer WidthWithCaptions = 0;
  Integer WidthWithoutCaptions = 0;

  Integer ScrollOffset() const { return FScrollOffset; }
  void SetScrollOffset(Integer Value);
  Integer ScrollTimerInterval() const { return FScrollTimerInterval; }
  void SetScrollTimerInterval(Integer Value);
  Boolean ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(Boolean Value);
  Boolean Flat() const { return FFlat; }
  void SetFlat(Boolean Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* HotImages() const { return FHotImages; }
  void SetHotImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);

  // Vertically centres the children that do not centre themselves.
  void CenterControls();
  void UpdateScrollInfo();
  void ShowScrollButtons(Boolean Value);
  // One step left (-1) or right (+1).
  void ScrollStep(Integer Direction);
  Boolean ScrollButtonsVisible() const { return Buttons[0].Visible; }
  Integer ScrollPosition() const { return SPosition; }

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void AdjustClientRect(TRect& Rect) override;
  void GetSkinData() override;
  void SetSkinData(TspSkinData* Value) override;
  void SetSkinDataName(const String& Value) override;
  void DrawSkinImage(TBitmap* B) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  struct TArrowButton {
    TRect R;
    Boolean MouseIn = false;
    Boolean Down = false;
    Boolean Visible = false;
  };
  void StartScrollTimer();
  void StopScrollTimer();
  void ScrollButtonDown(Integer I);
  void ScrollButtonUp(Integer I);
  void DrawScrollButton(TCanvas* C, Integer I);
  void PaintScrollButtons();
  // Moves every child by DX (the arrows scroll the content).
  void MoveChildren(Integer DX);

  Integer FScrollOffset = 0;
  Integer FScrollTimerInterval = 50;
  Boolean FShowCaptions = false;
  Boolean FFlat = false;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FHotImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
  Integer SMax = 0, SPosition = 0, SPage = 0, SOldPosition = 0;
  Integer FHSizeOffset = 0;
  Integer TimerMode = 0;
  TArrowButton Buttons[2];
  TspDataSkinButtonControl* ButtonData = nullptr;
};

// ---------------------------------------------------------------------------------------
// The notebook: a stack of pages of which one fills it, named by the live list Pages,
// optionally with a page button per page above and below the current page.

class TspSkinNotebook;

class TspSkinPage : public TspSkinPanel {
  VANTREL_CLASS(TspSkinPage)
  explicit TspSkinPage(TComponent* AOwner);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value) { FImageIndex = Value; }

 protected:
  void Dispatch(TMessage& Message) override;
  Integer FImageIndex = -1;
};

// The notebook's pages seen as strings: the captions, with the pages as objects.
class TspPageAccess : public TStrings {
  VANTREL_CLASS(TspPageAccess)
  explicit TspPageAccess(TspSkinNotebook* ANotebook) : Notebook(ANotebook) {}

  Integer Count() const override;
  String Get(Integer Index) const override;
  TObject* GetObject(Integer Index) const override;
  void Put(Integer Index, const String& S) override;
  Integer Add(const String& S) override;
  void Insert(Integer Index, const String& S) override;
  void Delete(Integer Index) override;
  void Clear() override;
  // Exchanges the two pages (a swap, not a shift).
  void Move(Integer CurIndex, Integer NewIndex) override;

 protected:
  void SetUpdateState(bool) override {}

 private:
  TspSkinNotebook* Notebook;
};

class TspPageButton : public TspSkinSpeedButton {
  VANTREL_CLASS(TspPageButton)
  TspPageButton(TComponent* AOwner, Integer APageIndex, TspSkinNotebook* ANoteBook);
  Integer PageIndex() const { return FPageIndex; }
  void ButtonClick() override;

 protected:
  Integer FPageIndex;
  TspSkinNotebook* FNoteBook;
};

class TspSkinNotebook : public TspSkinPanel {
  VANTREL_CLASS(TspSkinNotebook)
  explicit TspSkinNotebook(TComponent* AOwner);
  ~TspSkinNotebook() override;

  std::vector<TspSkinPage*> FPageList;  // in page order; the pages are owned components

  TStrings* Pages() const { return FAccess.get(); }
  void SetPages(TStrings* Value);
  Integer PageIndex() const { return FPageIndex; }
  void SetPageIndex(Integer Value);
  String ActivePage() const;
  void SetActivePage(const String& Value);
  Boolean ButtonsMode() const { return FButtonsMode; }
  void SetButtonsMode(Boolean Value);
  const String& ButtonSkinDataName() const { return FButtonSkinDataName; }
  void SetButtonSkinDataName(const String& Value) { FButtonSkinDataName = Value; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TNotifyEvent OnPageChanged;
  Integer ButtonCount() const { return static_cast<Integer>(FButtons.size()); }
  TspPageButton* Buttons(Integer Index) const { return FButtons[Index]; }

  // Caption, images and image of every button of the page.
  void UpdateButton(Integer APageIndex, const String& ACaption);
  void ShowControl(TControl* AControl) override;

 protected:
  friend class TspPageAccess;
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  // Frees the page buttons and, in ButtonsMode, makes one per page.
  void RebuildButtons();
  void ShowPageAt(Integer Index);
  void FreeButtons();
  // Tells the form's designer that the form changed (nothing at run time).
  void PagesModified();

  std::unique_ptr<TspPageAccess> FAccess;
  Integer FPageIndex = -1;
  Boolean FButtonsMode = false;
  std::vector<TspPageButton*> FButtons;
  TCustomImageList* FImages = nullptr;
  String FButtonSkinDataName = "toolbutton";
};

// The range controls: track bar, scroll bar and the two up-down button pairs.

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TUDOrientation { udHorizontal, udVertical };

// A slider: a button moved along a track sets Value between MinValue and MaxValue.
class TspSkinTrackBar : public TspSkinCustomControl {
  VANTREL_CLASS(TspSkinTrackBar)
  explicit TspSkinTrackBar(TComponent* AOwner);

  // Copied from the descriptor.
  TRect ActiveSkinRect, TrackArea, NewTrackArea, ButtonRect, ActiveButtonRect;
  Boolean ButtonTransparent = false;
  TColor ButtonTransparentColor = clNone;

  Integer MinValue() const { return FMinValue; }
  void SetMinValue(Integer Value);
  Integer MaxValue() const { return FMaxValue; }
  void SetMaxValue(Integer Value);
  Integer Value() const { return FValue; }
  void SetValue(Integer AValue);
  Boolean Vertical() const { return FVertical; }
  void SetVertical(Boolean Value);
  Boolean CanFocused() const { return FCanFocused; }
  void SetCanFocused(Boolean Value);
  Boolean JumpWhenClick = false;
  Boolean MouseSupport = true;
  TNotifyEvent OnChange, OnLastChange, OnStartDragButton;

  // The button rectangle on track R; sets Offset1, Offset2 and BOffset.
  TRect CalcButtonRect(const TRect& R);
  // The value for a button-centre offset from its MinValue position.
  Integer CalcValue(Integer Offset) const;
  // Focused and allowed to be.
  Boolean IsFocused();

  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;

 protected:
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void DoLastChange();

  Integer Offset1 = 0, Offset2 = 0, BOffset = 0;
  TRect BR;
  Boolean FDown = false;
  Integer OMPos = 0, OldBOffset = 0;
  Boolean FClicksDisabled = false;
  Integer FMinValue = 0, FMaxValue = 100, FValue = 50;
  Boolean FVertical = false;
  Boolean FCanFocused = false;
};

// One self-drawn button inside a control: where it is, hot, pressed.
struct TspCBButtonX {
  TRect R;
  Boolean MouseIn = false;
  Boolean Down = false;
};

// The scroll bar: arrow buttons and a thumb on a track hold Position in [Min, Max]; with a
// page size the thumb shows the page and Position stops at Max - PageSize + 1. Hosts set
// the range with SetRange, follow the user through OnChange and move it silently with
// SimplySetPosition.
class TspSkinScrollBar : public TspSkinCustomControl {
  VANTREL_CLASS(TspSkinScrollBar)
  explicit TspSkinScrollBar(TComponent* AOwner);

  // Copied from the descriptor.
  TRect TrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect,
      ActiveDownButtonRect, DownDownButtonRect, ThumbRect, ActiveThumbRect, DownThumbRect;
  Integer ThumbOffset1 = 0, ThumbOffset2 = 0;
  Boolean ThumbTransparent = false;
  TColor ThumbTransparentColor = clNone;
  TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
  Boolean GlyphTransparent = false;
  TColor GlyphTransparentColor = clNone;
  Boolean ThumbStretchEffect = false;
  Integer ThumbMinSize = 0, ThumbMinPageSize = 0;

  // Thumb (0), up button (1, increases Position) and down button (2).
  static constexpr Integer ThumbButton = 0, UpButton = 1, DownButton = 2;
  TspCBButtonX Buttons[3];
  TRect NewTrackArea;
  // Hosts that place the bar in a corner beside another write this directly, before
  // they assign the skin data; the Both property also switches the skin name.
  Boolean FBoth = false;

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  Integer Min() const { return FMin; }
  void SetMin(Integer Value);
  Integer Max() const { return FMax; }
  void SetMax(Integer Value);
  Integer Position() const { return FPosition; }
  void SetPosition(Integer Value);
  Integer PageSize() const { return FPageSize; }
  void SetPageSize(Integer Value);
  Integer SmallChange() const { return FSmallChange; }
  void SetSmallChange(Integer Value);
  Integer LargeChange() const { return FLargeChange; }
  void SetLargeChange(Integer Value);
  Boolean Both() const { return FBoth; }
  void SetBoth(Boolean Value);
  Integer BothMarkerWidth() const { return FBothMarkerWidth; }
  void SetBothMarkerWidth(Integer Value);
  String BothSkinDataName = "bothhscrollbar";
  Boolean CanFocused() const { return FCanFocused; }
  void SetCanFocused(Boolean Value);
  TNotifyEvent OnChange, OnLastChange, OnUpButtonClick, OnDownButtonClick, OnPageUp, OnPageDown;

  // Range, page and position in one step: always repaints, never fires OnChange.
  void SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize);
  // Moves the position without OnChange; repaints when it changed.
  void SimplySetPosition(Integer AValue);
  // Lays out the buttons, the track and the thumb.
  void CalcRects();
  // The position for a thumb-centre offset from Offset1.
  Integer CalcPosition(Integer Offset);
  Boolean IsFocused();

  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;

 protected:
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  // Value kept inside [Min, Max - PageSize + 1] (or [Min, Max] without a page).
  Integer ClampPosition(Integer Value) const;
  void UpdateActiveButton(Integer X, Integer Y);
  void ButtonDown(Integer I, Integer X, Integer Y);
  void ButtonUp(Integer I);
  void ButtonEnter(Integer I);
  void ButtonLeave(Integer I);
  void StopTimer();
  void StartRepeatTimer();
  void StartWaitTimer();
  // One step of the held button or page, by TimerMode.
  void RepeatStep();
  void DrawButton(TCanvas* C, Integer I);
  void DrawSkinButton(TCanvas* C, Integer I);
  void DrawSkinThumb(TCanvas* C);
  Integer ThumbLength(Integer TrackLength);

  Integer ActiveButton = -1, OldActiveButton = -1, CaptureButton = -1;
  Integer Offset1 = 0, Offset2 = 0, BOffset = 0;
  Boolean FDown = false;
  Integer OMPos = 0, OldBOffset = 0;
  Integer TimerMode = 0;
  Boolean WaitMode = false;
  Boolean MouseD = false;
  Integer MX = 0, MY = 0;
  String FNormalSkinDataName;
  Boolean FClicksDisabled = false;
  TScrollBarKind FKind = sbHorizontal;
  Integer FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
  Integer FSmallChange = 1, FLargeChange = 1;
  Integer FBothMarkerWidth = 0;
  Boolean FCanFocused = false;
};

// The twin up-down controls: a pair of buttons that step Position by Increment within
// [Min, Max]; a held button repeats. The owner shows the number.
class TspSkinCustomUpDown : public TspSkinCustomControl {
  VANTREL_CLASS(TspSkinCustomUpDown)
  explicit TspSkinCustomUpDown(TComponent* AOwner);

  // Button 0 steps up, button 1 down.
  TspCBButtonX Buttons[2];
  // Copied from the up-down descriptor.
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
      DownDownButtonRect;

  Boolean UseSkinSize = true;
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);
  Integer Increment() const { return FIncrement; }
  void SetIncrement(Integer Value) { FIncrement = Value; }
  Integer Position() const { return FPosition; }
  // Ignored outside [Min, Max]; otherwise stored and OnChange fired, also when unchanged.
  void SetPosition(Integer Value);
  Integer Min() const { return FMin; }
  void SetMin(Integer Value);
  Integer Max() const { return FMax; }
  void SetMax(Integer Value);
  TNotifyEvent OnChange, OnUpButtonClick, OnDownButtonClick;

  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;

 protected:
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  virtual void CalcButtonRects();
  void HitTestButtons(Integer X, Integer Y);
  void ButtonEnter(Integer I);
  void ButtonLeave(Integer I);
  void ButtonRelease(Integer I);
  // A released button steps also when the pointer has left it.
  virtual Boolean StepsWhenAway() const = 0;
  // CM_MOUSELEAVE forgets the active button.
  virtual Boolean LeaveForgetsActive() const = 0;
  // One repeated step of the held button.
  virtual void RepeatStep();
  // One button composed from the button descriptor named SkinName (Fallback when the skin
  // lacks it; empty: none). Marked: the arrow takes the colour of the descriptor's marker
  // picture and is the small one; otherwise the font colour and the large arrow.
  void DrawToolButton(TCanvas* C, Integer I, const String& SkinName, const String& Fallback,
                      Boolean Marked);
  Integer ArrowDirection(Integer I) const;

  TUDOrientation FOrientation = udHorizontal;
  Integer OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
  Integer TimerMode = 0;
  Boolean WaitMode = false;
  Integer FIncrement = 1, FPosition = 0, FMin = 0, FMax = 100;
};

// Steps only when released over the button and tells of each repeated step; never takes
// the skin's size.
class TspSkinIntUpDown : public TspSkinCustomUpDown {
  VANTREL_CLASS(TspSkinIntUpDown)
  explicit TspSkinIntUpDown(TComponent* AOwner);

  // Not published: after each repeated step up or down.
  TNotifyEvent FOnUpChange, FOnDownChange;

  void DrawSkinImage(TBitmap* B) override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;
  void SetControlRegion() override;

 protected:
  Boolean StepsWhenAway() const override { return false; }
  Boolean LeaveForgetsActive() const override { return true; }
  void RepeatStep() override;
};

// Steps on every release; with UseSkinSize takes the skin's size, region and buttons.
class TspSkinUpDown : public TspSkinCustomUpDown {
  VANTREL_CLASS(TspSkinUpDown)
  explicit TspSkinUpDown(TComponent* AOwner);

  void DrawSkinImage(TBitmap* B) override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;
  void SetControlRegion() override;

 protected:
  void CalcButtonRects() override;
  Boolean StepsWhenAway() const override { return true; }
  Boolean LeaveForgetsActive() const override { return false; }
};

// The plain look of a pressable part: a one-pixel frame around R and its fill, for the
// normal, hot (or focused) and pressed states.
enum TspPlainFaceState { spfsNormal, spfsHot, spfsPressed };
void DrawPlainFace(TCanvas* C, const TRect& R, TspPlainFaceState State);

// Focus on click for the controls with CanFocused: a left press on an unfocused Control
// first focuses its window (ClicksDisabled meanwhile). True when Message is to be dropped:
// the press when the focus did not arrive, a CN_COMMAND while the focus moves.
Boolean DropClickWhileFocusing(TWinControl* Control, TMessage& Message, Boolean& ClicksDisabled);

// The arrow keys and the wheel of a focusable range control (track bar, scroll bar): Left
// steps by -1 and Right by +1; Up by UpStep and Down the other way; a wheel turn away from
// the user by WheelAwayStep and toward the user the other way.
struct TspArrowSteps {
  Integer UpStep = 1;
  Integer WheelAwayStep = 1;
};
// The step an arrow key asks for; 0 for any other key.
Integer ArrowKeyStep(Word Key, const TspArrowSteps& Steps);
// The messages the range controls share: while CanFocused the arrow keys are claimed and a
// focus change repaints Control; while Focused the wheel calls Step. Inherited is the
// control's inherited handler. False (nothing done) for any other message and for the
// wheel while not focused.
Boolean DispatchArrowSteps(TControl* Control, TMessage& Message, const TspArrowSteps& Steps, Boolean CanFocused,
                           Boolean Focused, const std::function<void(Integer)>& Step,
                           const std::function<void(TMessage&)>& Inherited);

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
  void ActionChange(TObject* Sender) override;
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

// ---------------------------------------------------------------------------------------
// The tree and list view wrappers: the skin's font and colours, no border and no native
// bars, the native scroll state mirrored into two outside skinned bars, and (list view)
// the column header painted with a skinned button look.

// The skin binding and the two outside skinned scroll bars that the tree and list view
// wrappers share: TView is the class library's view, TData the skin's descriptor of it.
// The view keeps no bars of its own; its native scroll state drives the outside ones.
template <class TView, class TData>
class TspSkinViewBase : public TView {
 public:
  TspSkinViewBase(TComponent* AOwner, const char* ASkinDataName);

  Integer FIndex = -1;  // -1 unskinned

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  void SetVScrollBar(TspSkinScrollBar* Value);
  TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
  void SetHScrollBar(TspSkinScrollBar* Value);

  virtual void ChangeSkinData() = 0;
  // Mirrors the native scroll state into the outside bars.
  virtual void UpDateScrollBars() = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  virtual void OnVScrollBarChange(TObject* Sender) = 0;
  virtual void OnHScrollBarChange(TObject* Sender) = 0;
  // FIndex from the skin, then the descriptor's font and background colour (the defaults
  // unskinned) and the skin's charset.
  void ApplySkinLook();
  // The bars' range after a skin change, and their places laid out again.
  void RefreshBars();

  Boolean FInCheckScrollBars = false;
  TspSkinData* FSD = nullptr;
  String FSkinDataName;
  std::unique_ptr<TFont> FDefaultFont;
  TColor FDefaultColor = clWindow;
  Boolean FUseSkinFont = true;
  TspSkinScrollBar* FVScrollBar = nullptr;
  TspSkinScrollBar* FHScrollBar = nullptr;
};

class TspSkinCustomTreeView : public TspSkinViewBase<TCustomTreeView, TspDataSkinTreeView> {
  VANTREL_CLASS(TspSkinCustomTreeView)
  explicit TspSkinCustomTreeView(TComponent* AOwner);

  void ChangeSkinData() override;
  void UpDateScrollBars() override;

 protected:
  void WndProc(TMessage& Message) override;
  void Change(TTreeNode* Node) override;
  void OnVScrollBarChange(TObject* Sender) override;
  void OnHScrollBarChange(TObject* Sender) override;
};

using TspDrawHeaderSectionEvent =
    std::function<void(TCanvas* Cnvs, TListColumn* Column, Boolean Pressed, const TRect& R)>;

class TspSkinCustomListView : public TspSkinViewBase<TCustomListView, TspDataSkinListView> {
  VANTREL_CLASS(TspSkinCustomListView)
  explicit TspSkinCustomListView(TComponent* AOwner);
  ~TspSkinCustomListView() override;
  void BeforeDestruction() override;

  Integer FHIndex = -1;  // the header's descriptor; -1 the plain header

  const String& HeaderSkinDataName() const { return FHeaderSkinDataName; }
  void SetHeaderSkinDataName(const String& Value) { FHeaderSkinDataName = Value; }
  // The subclassed column header; nil when there is none.
  HWND HeaderHandle() const { return FHeaderHandle; }

  TspDrawHeaderSectionEvent OnDrawHeaderSection;

  void ChangeSkinData() override;
  void UpDateScrollBars() override;

 protected:
  void WndProc(TMessage& Message) override;
  void Change(TListItem* Item, Integer AChange) override;
  void UpDateIconScrollBars();
  void UpDateListScrollBars();
  void UpDateReportScrollBars();
  // Places the bars' new visibility: the aligned bars are laid out again when it changed.
  void ShowBars(Boolean V, Boolean H);
  void OnVScrollBarChange(TObject* Sender) override;
  void OnHScrollBarChange(TObject* Sender) override;
  // Width and height of item 0's rectangle (0 without items).
  TSize FirstItemSize();
  void HeaderWndProc(TMessage& Message);
  void SubclassHeader(HWND Header);
  void UnsubclassHeader();
  TRect GetHeaderSectionRect(Integer Index);
  void GetHeaderSkinData();
  void PaintHeader(HDC DC);
  void DrawHeaderSection(TCanvas* Cnvs, TListColumn* Column, const TRect& R, Boolean Pressed);

  Boolean FDevDown = false;
  String FHeaderSkinDataName = "resizebutton";
  Boolean FromSB = false;
  Integer FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
  HWND FHeaderHandle = nullptr;
  WNDPROC FHeaderInstance = nullptr;
  WNDPROC FDefHeaderProc = nullptr;
  Integer FActiveSection = -1;
  Boolean FHeaderDown = false;
  TPoint HLTPt, HRTPt, HLBPt, HRBPt;
  TRect HSkinRect, HClRect;
  TBitmap* HPicture = nullptr;
  TColor HFontColor = 0, HActiveFontColor = 0, HDownFontColor = 0;
  TRect HActiveSkinRect, HDownSkinRect;
  Boolean HStretchEffect = false, HLeftStretch = false, HTopStretch = false, HRightStretch = false,
          HBottomStretch = false;
  TspStretchType HStretchType = spstFull;
};

class TspSkinListView : public TspSkinCustomListView {
  VANTREL_CLASS(TspSkinListView)
  explicit TspSkinListView(TComponent* AOwner) : TspSkinCustomListView(AOwner) {}
};
