// The caption of the skinned frame: the form's text written in the skin's caption font
// with its effects, over the caption picture or straight on the frame, fading or
// animating between the inactive and the active look; in client mode the handle by which
// the form is dragged.
#pragma once

#include "skin/forms/FormSkinObjects.h"

class TspDataSkinCaption;

class TspSkinCaptionObject : public TspActiveSkinObject {
  VANTREL_CLASS(TspSkinCaptionObject)
  // AData may be nil: then only the base's fields are set.
  TspSkinCaptionObject(TspFormSkin* AParent, TspDataSkinCaption* AData);

  // The object's own text; stores and redraws.
  void SetTextValue(const String& AValue);
  // Stores only (a skin change is in progress).
  void SimpleSetTextValue(const String& AValue) { FTextValue = AValue; }
  const String& TextValue() const { return FTextValue; }
  // The form has a non-empty skin with its effects on and the caption an animation strip.
  Boolean EnableAnimation() const;
  // Redraws the caption in place.
  void RepaintCaption();

  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  // The caption on the layered full border's image: quick buttons, the form's caption with
  // its effects whatever the activity, every pixel keeping the image's alpha.
  void DrawAlpha(TCanvas* Cnvs, TspBitmap* ABitMap) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseMove(Integer X, Integer Y) override;
  void MouseEnter() override;
  void MouseLeave() override;

  // The text the caption shows: the form's caption (with the maximized MDI child's in
  // brackets on an MDI main form), or in client mode the object's own text when it does
  // not show the form's.
  String CaptionText();
  // Where the object lies on the frame picture: 0 at its skin size, 1 top band, 2 bottom
  // band, 3 full height, 4 elsewhere.
  Integer Placement() const;
  // Rectangle R of Source made as large as the object: scaled, or with the frame's fixed
  // ends kept (horizontally for placements 0 to 2, vertically for 3 and 4).
  void MakeCaptionPicture(TBitmap* Dest, TBitmap* Source, const TRect& R);
  // The animation frame Index (1-based) of AnimateSkinRect.
  TRect AnimationFrameRect(Integer Index) const;
  // The text area relative to the object.
  TRect TextArea() const;
  // Writes the caption text on Cnvs; (X, Y) is where the object's top-left lies on it.
  void DrawCaptionText(TCanvas* Cnvs, Integer X, Integer Y, const TRect& Area, Boolean AActive,
                       TCanvas* PaintCanvas);

  // The form's quick buttons take part: a frame with its own non-client area, items in the
  // collection and an image list for them.
  Boolean QuickButtonsPresent() const;
  // The room at the text area's left that the quick buttons and the divider take.
  Integer QuickButtonsReserve() const;
  // Hover tracking of the quick buttons at (X, Y) in window coordinates.
  void TestActiveQuickButton(Integer X, Integer Y);
  // The divider and the row of quick buttons at their places on Cnvs (frame coordinates).
  void DrawQuickButtons(TCanvas* Cnvs);

  Integer ActiveQuickButton = -1;
  Integer OldActiveQuickButton = -1;
  String FTextValue;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor ShadowColor = 0;
  TColor ActiveShadowColor = 0;
  Boolean Shadow = false;
  TAlignment Alignment = taLeftJustify;
  TRect TextRct;
  Boolean DefaultCaption = false;
  TRect FrameRect;
  TRect ActiveFrameRect;
  Integer FrameLeftOffset = 0;
  Integer FrameRightOffset = 0;
  TRect FrameTextRect;
  TColor LightColor = 0;
  TColor ActiveLightColor = 0;
  Boolean Light = false;
  Boolean StretchEffect = false;
  Integer FIncTime = 0;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  Integer CurrentFrame = 0;
  Boolean InActiveAnimation = false;
  Boolean FullFrame = false;
  Boolean VistaGlowEffect = false;
  Boolean VistaGlowInActiveEffect = false;
  Boolean GlowEffect = false;
  Boolean GlowInActiveEffect = false;
  Integer GlowSize = 0;
  Integer GlowOffset = 0;
  TColor GlowColor = 0;
  TColor GlowActiveColor = 0;
  Boolean ReflectionEffect = false;
  TColor ReflectionColor = 0;
  TColor ReflectionActiveColor = 0;
  Integer ReflectionOffset = 0;
  TRect DividerRect;
  Boolean DividerTransparent = false;
  TColor DividerTransparentColor = 0;

 private:
  // The caption font on Cnvs in the colour of the look wanted.
  void SetCaptionFont(TCanvas* Cnvs, Boolean AActive);
  // A caption picture from R of Source with the text of the look wanted on it.
  TOwned<TBitmap> ComposedPicture(TBitmap* Source, const TRect& R, const TRect& Area, Boolean AActive,
                                  TCanvas* PaintCanvas);
  // Draws Image at the object's place, through the skin's inactive effect when asked.
  void PutPicture(TCanvas* Cnvs, TBitmap* Image, Boolean WithInActiveEffect);
  // The hot face of a quick button, from the skin's tool-button look; false without one.
  Boolean DrawQuickButtonFace(TCanvas* Cnvs, const TRect& R, Boolean Down);
  // The divider picture with its transparent colour; nil without one.
  TOwned<TBitmap> DividerPicture() const;
  // The divider and the quick buttons onto the layered border's image, keeping its alpha.
  void DrawAlphaQuickButtons(TspBitmap* ABitMap);
  // Press and release of the quick button under (X, Y); the release clicks it.
  void QuickButtonDown(Integer X, Integer Y, TMouseButton Button);
  void QuickButtonUp(Integer X, Integer Y);
};

class TspDataSkinButton;
class TspDataSkinStdButton;

// A push button in the frame: normal, hover, pressed and disabled looks, radio groups
// (one button of a group stays down) and an attached menu that drops down on a press.
class TspSkinButtonObject : public TspActiveSkinObject {
  VANTREL_CLASS(TspSkinButtonObject)
  // AData may be nil: a button without skin looks.
  TspSkinButtonObject(TspFormSkin* AParent, TspDataSkinButton* AData);

  Boolean Down() const { return FDown; }
  void SetDown(Boolean Value);
  // Drops the attached menu down from the button (the skinned menus fill this in).
  void TrackMenu();
  // Releases the first other pressed button of this button's group.
  void ReleaseGroup();

  TspLayerManager* GlowLayers() const override;
  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  Boolean CanMorphing() override;

  Boolean FDown = false;
  Boolean FPopupUp = false;
  TRect DownRect;
  TRect DisableSkinRect;
  Integer GroupIndex = -1;
  TMenuItem* MenuItem = nullptr;
};

// A caption button: close, maximize/restore, minimize, system menu, roll-up, minimize to
// tray or the application's own, with restore looks while its command's state is in
// force and a plain drawing for frames without a skin.
class TspSkinStdButtonObject : public TspSkinButtonObject {
  VANTREL_CLASS(TspSkinStdButtonObject)
  // AData nil: a button of the frame without a skin.
  TspSkinStdButtonObject(TspFormSkin* AParent, TspDataSkinStdButton* AData);
  ~TspSkinStdButtonObject() override;

  // The form is in the state the command leads to (maximized, minimized, rolled up).
  Boolean RestoreState() const;
  // The system-menu button of a skinned form that shows its icon instead.
  Boolean IsIconButton() const;
  // The plain look of a frame without a skin.
  void DefaultDraw(TCanvas* Cnvs);
  void DoCommand();
  void DoClose();
  void DoMax();
  void DoMin();
  void DoRollUp();
  void DoMinToTray();

  Boolean PointInMask(Integer X, Integer Y) override;
  void ShowLayer() override;
  void HideLayer() override;
  // The 32-bit looks for the layered full border, rebuilt from the active picture.
  void InitAlphaImages() override;
  // Draws the look of the moment with its alpha onto ABitMap (Cnvs is its canvas).
  void DrawAlpha(TCanvas* Cnvs, TspBitmap* ABitMap) override;
  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  void DblClick() override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  Boolean CanMorphing() override;

  Boolean FSkinSupport = false;
  TStdCommand Command = cmClose;
  TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
  String RestoreHint;
  String FTempHint;
  Integer AlphaMaskPictureIndex = -1;
  Integer AlphaMaskActivePictureIndex = -1;
  Integer AlphaMaskInActivePictureIndex = -1;
  TOwned<TspBitmap> FAlphaNormalImage, FAlphaActiveImage, FAlphaDownImage;
  TOwned<TspBitmap> FAlphaRestoreNormalImage, FAlphaRestoreActiveImage, FAlphaRestoreDownImage;
  TOwned<TspBitmap> FAlphaInActiveImage, FAlphaInActiveRestoreImage;

 private:
  // The 32-bit image of the look the button shows now; nil when it has none.
  TspBitmap* AlphaImageOfState() const;
  // The form's icon on the layered border.
  void DrawAlphaIcon(TCanvas* Cnvs);
  // The hover and pressed looks of a skinned button hide the inactive form's look.
  Boolean ShowsInActiveLook() const;
  void RedrawPlain();
};
