// The skinned text editors: the edit base over the native EDIT window (own read-only and
// transparent modes, the edit context menu, Enter and Esc to the form), the numeric edit,
// the skinned edit with its frame and buttons, the memo with external scroll bars, the
// time edit and the spin edit.
#pragma once

#include <memory>

#include "platform/ui/Edits.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "skin/controls/SkinCtrls.h"

using TspOnEditCancelMode = std::function<void(TControl* C)>;

// The menu an edit or memo opens on a right click or the context-menu key. The items are
// the editing commands of Target, enabled for its state.
struct TspEditMenuState {
  Boolean CanUndo = false;
  Boolean HasSelection = false;
  Boolean ReadOnly = false;
  Boolean ClipboardHasText = false;
  Boolean AllSelected = false;
};
// A fresh menu owned by Target with its eight items; Strings (may be nil) gives the captions.
TPopupMenu* CreateEditSysMenu(TCustomEdit* Target, TspResourceStrData* Strings,
                              const TspEditMenuState& State);

// The skin's edit button composed onto R of C, pressed or hot; ArrowDirection (DrawArrow's
// 1 to 4) adds an arrow, 0 none. Nothing when the skin has no such button.
void DrawSkinEditButton(TCanvas* C, TspSkinData* SD, const TRect& R, Boolean Pressed, Boolean Hot,
                        Integer ArrowDirection);

class TspCustomEdit : public TCustomMaskEdit {
  VANTREL_CLASS(TspCustomEdit)
  explicit TspCustomEdit(TComponent* AOwner);
  ~TspCustomEdit() override;

  Boolean ReadOnly() const { return FReadOnly; }
  void SetReadOnly(Boolean Value) { FReadOnly = Value; }
  Boolean EditTransparent() const { return FEditTransparent; }
  void SetEditTransparent(Boolean Value);
  TspOnEditCancelMode OnEditCancelMode;

  // The current context menu; nil when none is open or pending.
  TPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }
  // Replaces the context menu by a fresh one for the current state.
  void CreateSysPopupMenu();

  void Invalidate() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void Change() override;
  // Invalidate in transparent mode, nothing otherwise.
  void RepaintTransparent();
  void ShowContextMenu(TMessage& Message);
  void PasteFirstLine();

  Boolean FDown = false;
  Boolean FReadOnly = false;
  Boolean FEditTransparent = false;
  TPopupMenu* FSysPopupMenu = nullptr;
};

// The numeric edit: digits, a minus sign and (with Float) one decimal separator; Up, Down
// and the wheel become OnUpClick and OnDownClick.
class TspSkinNumEdit : public TspCustomEdit {
  VANTREL_CLASS(TspSkinNumEdit)
  explicit TspSkinNumEdit(TComponent* AOwner);

  TNotifyEvent OnUpClick, OnDownClick, OnMouseEnter, OnMouseLeave;
  Boolean EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(Boolean Value) { FEditorEnabled = Value; }
  Boolean Float = false;

  Boolean IsValidChar(char32_t Key);

 protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void Dispatch(TMessage& Message) override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;

  Boolean FEditorEnabled = true;
};

// ---------------------------------------------------------------------------------------
// The skinned edit: a frame of its own around the native text.

class TspSkinCustomEdit : public TspCustomEdit {
  VANTREL_CLASS(TspSkinCustomEdit)
  explicit TspSkinCustomEdit(TComponent* AOwner);
  ~TspSkinCustomEdit() override;

  // Non-client hit codes of the frame's parts.
  static constexpr LRESULT HitLeftImage = 104, HitRightImage = 105, HitEditButton = HTHSCROLL,
                           HitFrame = HTVSCROLL;

  TspCBButtonX LeftButton, RightButton;
  // Copied from the descriptor.
  Integer LOffset = 0, ROffset = 0;
  TRect ClRect, SkinRect, ActiveSkinRect;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = clBlack, DisabledFontColor = clGrayText, ActiveFontColor = clBlack;
  TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
  Boolean StretchEffect = false;
  TBitmap* Picture = nullptr;
  Integer FIndex = -1;

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  Boolean ButtonMode() const { return FButtonMode; }
  void SetButtonMode(Boolean Value);
  Boolean AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(Boolean Value);
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer LeftImageIndex() const { return FLeftImageIndex; }
  void SetLeftImageIndex(Integer Value);
  Integer RightImageIndex() const { return FRightImageIndex; }
  void SetRightImageIndex(Integer Value);
  Integer LeftImageHotIndex = -1, LeftImageDownIndex = -1;
  Integer RightImageHotIndex = -1, RightImageDownIndex = -1;
  TNotifyEvent OnButtonClick, OnLeftButtonClick, OnRightButtonClick, OnMouseEnter, OnMouseLeave;

  // The text area and the edit button in window coordinates.
  TRect EditRect() const { return FEditRect; }
  TRect EditButtonRect() const { return FButtonRect; }
  Boolean MouseIn() const { return FMouseIn; }

  virtual void ChangeSkinData();
  void GetSkinData();
  void SetParentImage();
  void Invalidate() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  Integer GetEditHeight();
  void AdjustHeight();
  void CalcEditRect();
  void CalcImageButtons(Boolean SetTextRect);
  void RePaintNC();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;
  void CMEnabledChanged(TWMNoParams& Message) override;
  void CMFontChanged(TWMNoParams& Message) override;

  Boolean Skinned() const { return FIndex != -1; }
  void DefaultFontChanged(TObject* Sender);
  // The text colour for the enabled state, the focus and the pointer.
  TColor StateFontColor();
  LRESULT HitTest(TPoint ScreenPoint);
  void NCButtonDown(LRESULT Hit, Boolean Double);
  void NCButtonUp(LRESULT Hit, TMessage& Message);

  // Painting (SkinBoxCtrls_SkinEditPaint.cpp).
  void DrawEditBackground(HDC DC);
  void DrawImageButtons(HDC DC);
  void PaintFrame(HDC DC, Boolean ExcludeText);
  void DrawFrame(TCanvas* C);
  void DrawStretchFrame(TCanvas* C);
  void DrawEditButton(TCanvas* C, const TRect& R);
  void PaintDisabledText(HDC DC);
  // B cross-faded toward the part of ParentImage under At, when blending.
  void BlendWithParent(TBitmap* B, const TRect& At);
  void HandlePaint(TMessage& Message);
  void HandleEraseBackground(TMessage& Message);

  Boolean FStopDraw = false;
  TColor FDefaultColor = clWindow;
  TRect FButtonRect;
  Boolean FButtonMode = false;
  Boolean FButtonDown = false, FButtonActive = false;
  TRect FEditRect;
  std::unique_ptr<TBitmap> ParentImage;
  Boolean FMouseIn = false;
  TspSkinData* FSD = nullptr;
  String FSkinDataName = "edit";
  Boolean FAlphaBlend = false;
  Byte FAlphaBlendValue = 0;
  std::unique_ptr<TFont> FDefaultFont;
  Boolean FUseSkinFont = true;
  Integer FDefaultWidth = 0, FDefaultHeight = 0;
  TAlignment FAlignment = taLeftJustify;
  TCustomImageList* FImages = nullptr;
  Integer FLeftImageIndex = -1, FRightImageIndex = -1;
};

class TspSkinEdit : public TspSkinCustomEdit {
  VANTREL_CLASS(TspSkinEdit)
  explicit TspSkinEdit(TComponent* AOwner) : TspSkinCustomEdit(AOwner) {}
};

class TspSkinMaskEdit : public TspSkinEdit {
  VANTREL_CLASS(TspSkinMaskEdit)
  explicit TspSkinMaskEdit(TComponent* AOwner) : TspSkinEdit(AOwner) {}
};

// ---------------------------------------------------------------------------------------
// The memo: frame and background painted in the client area, scroll state shown by
// external skinned scroll bars.

class TspSkinMemo : public TMemo {
  VANTREL_CLASS(TspSkinMemo)
  explicit TspSkinMemo(TComponent* AOwner);
  ~TspSkinMemo() override;

  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  TRect ClRect, SkinRect, ActiveSkinRect;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = clBlack, ActiveFontColor = clBlack, BGColor = clWindow, ActiveBGColor = clWindow;
  Boolean LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
  Boolean StretchEffect = false;
  TspStretchType StretchType = spstFull;
  TBitmap* Picture = nullptr;
  Integer FIndex = -1;

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  Boolean UseSkinFont = true, UseSkinFontColor = true;
  Boolean BitMapBG() const { return FBitMapBG; }
  void SetBitMapBG(Boolean Value);
  Boolean Transparent() const { return FAlphaBlend; }
  void SetTransparent(Boolean Value);
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);
  TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  void SetVScrollBar(TspSkinScrollBar* Value);
  TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
  void SetHScrollBar(TspSkinScrollBar* Value);
  Boolean ReadOnly() const { return FReadOnly; }
  void SetReadOnly(Boolean Value) { FReadOnly = Value; }
  TNotifyEvent OnMouseEnter, OnMouseLeave;
  TRect TextArea() const { return FTextArea; }
  TPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }

  void ChangeSkinData();
  void GetSkinData();
  void UpDateScrollRange();
  void SetParentImage();
  void CreateSysPopupMenu();
  void Invalidate() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void Change() override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;

  Boolean Skinned() const { return FIndex != -1; }
  void Refresh();
  void SetTextArea();
  void DrawFrame(TCanvas* C);
  void PaintBackground(HDC DC);
  void PaintDisabledLines(HDC DC);
  void HotChanged(Boolean Hot);
  void DefaultFontChanged(TObject* Sender);
  void BarChanged(TObject* Sender);

  Boolean FStopDraw = false;
  TRect FTextArea;
  Boolean FBitMapBG = true;
  Boolean FReadOnly = false;
  Boolean FMouseIn = false;
  std::unique_ptr<TBitmap> ParentImage;
  TspSkinData* FSD = nullptr;
  String FSkinDataName = "memo";
  Boolean FAlphaBlend = false;
  Byte FAlphaBlendValue = 0;
  TspSkinScrollBar* FVScrollBar = nullptr;
  TspSkinScrollBar* FHScrollBar = nullptr;
  Boolean FDown = false;
  std::unique_ptr<TFont> FDefaultFont;
  TPopupMenu* FSysPopupMenu = nullptr;
};

// ---------------------------------------------------------------------------------------
// The time edit: hours, minutes and optional seconds and milliseconds under a mask.

class TspSkinTimeEdit : public TspSkinMaskEdit {
  VANTREL_CLASS(TspSkinTimeEdit)
  explicit TspSkinTimeEdit(TComponent* AOwner);
  ~TspSkinTimeEdit() override;

  String Time() { return Text(); }
  void SetTime(const String& Value);
  Integer Milliseconds();
  void SetMilliseconds(Integer Value);
  Boolean ShowSec() const { return FShowSec; }
  void SetShowSec(Boolean Value);
  Boolean ShowMSec() const { return FShowMSec; }
  void SetShowMSec(Boolean Value);
  Boolean ShowUpDown() const { return FShowUpDown; }
  void SetShowUpDown(Boolean Value);
  TspSkinIntUpDown* UpDown() const { return FUpDown; }

  void DecodeTime(Word& Hour, Word& Min, Word& Sec, Word& MSec);
  void EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
  static Boolean IsValidTime(Word Hour, Word Min, Word Sec, Word MSec);
  // 0 hours, 1 minutes, 2 seconds, 3 milliseconds: the field at the caret.
  Integer GetTimePart();
  void IncTimePart();
  void DecTimePart();

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void ValidateEdit() override;
  void ChangeSkinData() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void TimeKeyPress(TObject* Sender, char32_t& Key);
  void StepTimePart(Integer Delta);
  void SetMaskAndText(const String& Mask, const String& Text);
  // The reset text for the current flags.
  String ResetText() const;
  void ShowUpDownButton();
  void HideUpDownButton();
  void AdjustUpDown();

  TspSkinIntUpDown* FUpDown = nullptr;
  Boolean FShowMSec = false;
  Boolean FShowSec = true;
  Boolean FShowUpDown = false;
};

// ---------------------------------------------------------------------------------------
// The spin edit: a numeric edit with two stepping buttons.

enum TspValueType { vtInteger, vtFloat };

class TspSkinSpinEdit : public TspSkinCustomControl {
  VANTREL_CLASS(TspSkinSpinEdit)
  explicit TspSkinSpinEdit(TComponent* AOwner);
  ~TspSkinSpinEdit() override;

  TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnChange;
  TKeyEvent OnEditKeyDown, OnEditKeyUp;
  TKeyPressEvent OnEditKeyPress;
  TNotifyEvent OnEditEnter, OnEditExit;

  // Button 0 steps up, button 1 down.
  TspCBButtonX Buttons[2];
  TRect ActiveSkinRect;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = clBlack, DisabledFontColor = clGrayText, ActiveFontColor = clBlack;
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
      DownDownButtonRect;
  Integer LOffset = 0, ROffset = 0;
  TspSkinNumEdit* FEdit = nullptr;

  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  Boolean UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(Boolean Value) { FUseSkinSize = Value; }
  TspValueType ValueType() const { return FValueType; }
  void SetValueType(TspValueType Value);
  Byte Decimal() const { return FDecimal; }
  void SetDecimal(Byte Value) { FDecimal = Value; }
  Double MinValue() const { return FMinValue; }
  void SetMinValue(Double Value);
  Double MaxValue() const { return FMaxValue; }
  void SetMaxValue(Double Value);
  Double Value() const { return FValue; }
  void SetValue(Double Value);
  Double Increment() const { return FIncrement; }
  void SetIncrement(Double Value) { FIncrement = Value; }
  Boolean EditorEnabled() const { return FEdit->EditorEnabled(); }
  void SetEditorEnabled(Boolean Value) { FEdit->SetEditorEnabled(Value); }
  Integer MaxLength() const { return FEdit->MaxLength(); }
  void SetMaxLength(Integer Value) { FEdit->SetMaxLength(Value); }

  Boolean IsNumText(const String& AText);
  void SimpleSetValue(Double AValue);
  // The text Value shows as, by the value type.
  String ValueText(Double V);

  void Invalidate() override;
  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  void DefaultFontChanged() override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;
  void SetControlRegion() override;

 protected:
  virtual void EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  virtual void EditKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
  virtual void EditKeyPress(TObject* Sender, char32_t& Key);
  virtual void EditEnter(TObject* Sender);
  virtual void EditExit(TObject* Sender);
  virtual void Change();

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;
  void CMEnabledChanged(TWMNoParams& Message) override;
  void CMTextChanged(TWMNoParams& Message) override;
  void CMFocusChanged(TCMFocusChanged& Message) override;

  Boolean Skinned() const { return FIndex != -1; }
  Double CheckValue(Double X) const;
  void EditChange(TObject* Sender);
  void EditUpClick(TObject* Sender);
  void EditDownClick(TObject* Sender);
  void EditMouseEnter(TObject* Sender);
  void EditMouseLeave(TObject* Sender);
  void SetEditFontColor(TColor C);
  void AdjustEditHeight();
  void ArrangeParts();
  void HitTestButtons(Integer X, Integer Y);
  void ButtonRelease(Integer I);
  void DrawSpinButton(TCanvas* C, Integer I);

  TColor FDefaultColor = clWindow;
  Boolean FUseSkinSize = true;
  Boolean FMouseIn = false;
  Boolean FEditFocused = false;
  Boolean StopCheck = false;
  Byte FDecimal = 2;
  Double FMinValue = 0, FMaxValue = 0, FIncrement = 1;
  Boolean FromEdit = false;
  TspValueType FValueType = vtInteger;
  Double FValue = 0;
  Integer OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
  Integer TimerMode = 0;
  Boolean WaitMode = false;
  Boolean FInPaint = false;
};
