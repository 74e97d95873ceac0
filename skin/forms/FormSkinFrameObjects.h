// The value-holding and decorating objects a skin may lay on a frame (or on a client-mode
// window) besides its caption and caption buttons: track bars and switches, filmstrip
// gauges and regulators, animations and animated buttons, progress gauges, bitmap-font
// labels and text labels. The application reaches them by name through the frame
// component (FormSkin_ObjectAccess.cpp).
//
// Sources: FormSkinFrameObjects_Track.cpp (track bar, switch), FormSkinFrameObjects_Display.cpp
// (gauge, bitmap-font label, text label), FormSkinFrameObjects_Strip.cpp (filmstrip gauge
// and regulator), FormSkinFrameObjects_Animate.cpp (animation).
#pragma once

#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinObjects.h"

enum TTrackKind { tkHorizontal, tkVertical };

// A slider: a button moving along a straight track between BeginPoint and EndPoint, the
// part of the track on the minimum side drawn from the active picture.
class TspSkinTrackBarObject : public TspActiveSkinObject {
  VANTREL_CLASS(TspSkinTrackBarObject)
  TspSkinTrackBarObject(TspFormSkin* AParent, TspDataSkinObject* AData);

  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseMove(Integer X, Integer Y) override;

  Integer Value() const { return FValue; }
  // Clamps, places the button, redraws and reports; nothing when Value is the current one
  // (tested before clamping).
  void SetValue(Integer AValue);
  // The same without the equality test and without drawing (while a skin is applied).
  void SimplySetValue(Integer AValue);

  TPoint CalcButtonPos() const;
  Integer CalcValue() const;
  TRect CalcButtonRect(TPoint P) const;
  void SetButtonPos(TPoint P);
  // The track can map values and positions onto each other: a range and a length.
  Boolean CanMapTrack() const;

  TPoint FButtonPos{};
  TPoint FOldButtonPos{};
  Integer FValue = 0;
  Boolean MoveActive = false;
  TPoint FOldMPoint{};
  TTrackKind TrackKind = tkHorizontal;
  TRect ButtonRect{};
  TRect ActiveButtonRect{};
  TPoint BeginPoint{};
  TPoint EndPoint{};
  Integer MinValue = 0;
  Integer MaxValue = 0;
  Boolean MouseDownChangeValue = false;
  Boolean ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;

 private:
  void StoreValue(Integer AValue);
};

// A two-state switch: on is the base's active look.
class TspSkinSwitchObject : public TspActiveSkinObject {
  VANTREL_CLASS(TspSkinSwitchObject)
  using TspActiveSkinObject::TspActiveSkinObject;

  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  TSwitchState State() const { return FState; }
  // Stores, redraws and reports, also for the state it already has.
  void SetState(TSwitchState Value);
  // Stores without drawing or reporting; on shows at once without a fade.
  void SimpleSetState(TSwitchState Value);

  TSwitchState FState = swsOff;
};

// A progress bar: the empty picture (SkinRect) cut at the value's place, the full one
// (ActiveSkinRect) before it.
class TspSkinGaugeObject : public TspActiveSkinObject {
  VANTREL_CLASS(TspSkinGaugeObject)
  TspSkinGaugeObject(TspFormSkin* AParent, TspDataSkinObject* AData);

  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  void MouseEnter() override;
  void MouseLeave() override;

  Integer Value() const { return FValue; }
  void SetValue(Integer AValue);
  void SimplySetValue(Integer AValue);
  TPoint CalcProgressPos() const;

  TPoint FProgressPos{};
  TPoint FOldProgressPos{};
  Integer FValue = 0;
  Integer MinValue = 0;
  Integer MaxValue = 0;
  TGaugeKind Kind = gkHorizontal;
};

// A text written with a bitmap font: each character a cell of the sheet in ActivePicture.
class TspSkinBitLabelObject : public TspActiveSkinObject {
  VANTREL_CLASS(TspSkinBitLabelObject)
  TspSkinBitLabelObject(TspFormSkin* AParent, TspDataSkinObject* AData);

  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  void SetTextValue(const String& AValue, Boolean AUpDate);
  const String& TextValue() const { return FTextValue; }

  String FTextValue;
  Integer SymbolWidth = 0;
  Integer SymbolHeight = 0;
  TStrings* Symbols = nullptr;  // the descriptor's list, shared
  Boolean Transparent = false;
  TColor TransparentColor = 0;
};

// A text written with a font on a skin background, with a hover colour.
class TspSkinLabelObject : public TspActiveSkinObject {
  VANTREL_CLASS(TspSkinLabelObject)
  TspSkinLabelObject(TspFormSkin* AParent, TspDataSkinObject* AData);

  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void SetTextValue(const String& AValue, Boolean AUpDate);
  const String& TextValue() const { return FTextValue; }

  String FTextValue;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TAlignment Alignment = taLeftJustify;

 private:
  // The label's image: background R of Source with the text in the normal or hot colour.
  TOwned<TBitmap> LabelImage(TBitmap* Source, const TRect& R, Boolean Hot);
};

// ---------------------------------------------------------------------------------------
// Filmstrips: the strip is ActiveSkinRect of ActivePicture, CountFrames equal frames.

class TspSkinFrameObject : public TspActiveSkinObject {
  VANTREL_CLASS(TspSkinFrameObject)
  using TspActiveSkinObject::TspActiveSkinObject;

  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  Integer Frame() const { return FFrame; }
  // Takes Value when it is not above CountFrames; redraws in every case.
  void SetFrame(Integer Value);

  Integer FFrame = 1;
  Integer FrameW = 0;
  Integer FrameH = 0;
  Integer CountFrames = 0;
  TFramesPlacement FramesPlacement = fpHorizontal;

 protected:
  // Frame size from the strip and the frame count.
  void CalcFrameSize();
  // The frame of a value: one per step of the range, the last frame past its end.
  Integer FrameOfValue(Integer AValue, Integer AMin, Integer AMax) const;
};

class TspSkinFrameGaugeObject : public TspSkinFrameObject {
  VANTREL_CLASS(TspSkinFrameGaugeObject)
  TspSkinFrameGaugeObject(TspFormSkin* AParent, TspDataSkinObject* AData);

  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  void MouseEnter() override;
  void MouseLeave() override;

  Integer Value() const { return FValue; }
  // Values outside the range or equal to the current one are ignored.
  void SetValue(Integer AValue);
  void SimplySetValue(Integer AValue);
  Integer CalcFrame() const;

  Integer FValue = 0;
  Integer MinValue = 0;
  Integer MaxValue = 0;
};

// A knob (rkRound) or a linear slider the user drags; the value changes in steps.
class TspSkinFrameRegulatorObject : public TspSkinFrameObject {
  VANTREL_CLASS(TspSkinFrameRegulatorObject)
  TspSkinFrameRegulatorObject(TspFormSkin* AParent, TspDataSkinObject* AData);

  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseMove(Integer X, Integer Y) override;

  Integer Value() const { return FValue; }
  // Values outside the range or equal to the current one are ignored; else stored,
  // redrawn and reported.
  void SetValue(Integer AValue);
  // The same without drawing (while a skin is applied).
  void SimplySetValue(Integer AValue);
  Integer CalcFrame() const;
  // The knob angle of (X, Y), relative to the object: 0 straight down, clockwise.
  Integer CalcAngle(Integer X, Integer Y);
  void CalcLinearValue();
  void CalcRoundValue();

  Integer FPixInc = 0;
  Integer FValInc = 0;
  Boolean FDown = false;
  Integer StartV = 0;
  Integer CurV = 0;
  Integer TempValue = 0;
  Integer OldCurV = 0;
  Integer FValue = 0;
  Integer MinValue = 0;
  Integer MaxValue = 0;
  TRegulatorKind Kind = rkRound;

 private:
  // The mouse coordinate the kind follows: the angle, x, or -y.
  Integer TrackedCoordinate(Integer X, Integer Y);
  void StepTempValue(Boolean Upward);
  Integer FLastAngle = 0;
};

// A filmstrip played on the frame's animate timer: a free animation, or an animated
// button that plays forward on hover and back on leaving and performs a caption command.
class TspSkinAnimateObject : public TspActiveSkinObject {
  VANTREL_CLASS(TspSkinAnimateObject)
  TspSkinAnimateObject(TspFormSkin* AParent, TspDataSkinObject* AData);

  void ShowLayer() override;
  void HideLayer() override;
  void Draw(TCanvas* Cnvs, Boolean UpDate) override;
  void DblClick() override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  void Start();
  void Stop();
  // One tick of the frame's animate timer.
  void ChangeFrame();
  Integer Frame() const { return FFrame; }
  // Wraps past either end of the strip by the run's direction, then redraws.
  void SetFrame(Integer Value);
  void DoCommand();
  void DoClose();
  void DoMax();
  void DoMin();
  void DoRollUp();
  void DoMinToTray();
  // Opens the linked menu; menus come with the skinned menus.
  void TrackMenu();
  // The restore pictures apply: the command undoes the form's state.
  Boolean UseRestore() const;

  Boolean FMenuTracking = false;
  Integer FFrame = 1;
  Integer FInc = 25;
  Integer TimerInterval = 25;
  TMenuItem* MenuItem = nullptr;
  Boolean FDown = false;
  Boolean FPopupUp = false;
  Integer CountFrames = 0;
  Boolean Cycle = false;
  Boolean ButtonStyle = false;
  Boolean Increment = true;
  TStdCommand Command = cmClose;
  TRect DownSkinRect{};
  TRect RestoreRect{}, RestoreActiveRect{}, RestoreInActiveRect{}, RestoreDownRect{};
  String RestoreHint;
  String FTempHint;

 private:
  Boolean HeldDown() const;
  TPoint LayerOrigin() const;
};
