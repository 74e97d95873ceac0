// The skinned text editors: the edit base over the native EDIT window (own read-only and
// transparent modes, the edit context menu, Enter and Esc to the form), the numeric edit,
// the skinned edit with its frame and buttons, the memo with external scroll bars, the
// time edit and the spin edit; and the skinned lists: the owner-drawn native list that
// paints its rows from the skin, the skinned list box around it (frame, caption, caption
// buttons and the scroll bars it makes and removes as the content needs), and the combo box
// with its popup list.
#pragma once

#include <functional>
#include <memory>

#include "platform/ui/Edits.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/SkinMenus.h"

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
// A fresh skinned menu owned by Target with its eight items, opened through the frame of
// Target's form (of the main form for an MDI child); Strings (may be nil) gives the captions.
TspSkinPopupMenu* CreateEditSysMenu(TCustomEdit* Target, TspResourceStrData* Strings,
                                    const TspEditMenuState& State);
// Opens Menu for Target at the WM_CONTEXTMENU position in LParam, or at Target's centre for
// the keyboard's (-1, -1).
void PopupEditSysMenu(TspSkinPopupMenu* Menu, TControl* Target, LPARAM LParam);
// Adds the same eight items to Menu.
void FillEditSysMenu(TPopupMenu* Menu, TCustomEdit* Target, TspResourceStrData* Strings,
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
  TspSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }
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
  TspSkinPopupMenu* FSysPopupMenu = nullptr;
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
  TspSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }

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
  TspSkinPopupMenu* FSysPopupMenu = nullptr;
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

// ---------------------------------------------------------------------------------------
// The skinned lists.

using TspDrawSkinItemEvent = std::function<void(TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight,
                                                const TRect& TxtRect, TOwnerDrawState State)>;

class TspSkinCustomListBox;
class TspSkinCustomComboBox;

// The native list inside every skinned list box: no border and no non-client area, rows
// painted by one of three painters chosen by the container's skin state, and every event
// reported to the container first.
class TspListBox : public TListBox {
  VANTREL_CLASS(TspListBox)
  explicit TspListBox(TComponent* AOwner);

  TspSkinCustomListBox* SkinListBox = nullptr;  // the owning container; not owned

  // Horizontal offset of images and plain text, in pixels; never negative.
  Integer HorizontalExtentValue() const { return FHorizontalExtentValue; }
  void SetHorizontalExtentValue(Integer Value) { FHorizontalExtentValue = Value < 0 ? 0 : Value; }

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void PaintWindow(HDC DC) override;
  void Click() override;
  // [odSelected] for the current item (plus odFocused with the focus) and the selected
  // items of a multiple selection; [] otherwise.
  TOwnerDrawState GetItemDrawState(Integer Index);
  // The empty list's look: clWindow unskinned, the skin's client piece tiled skinned.
  void PaintBackground(HDC DC);
  // The item height the arithmetic divides by: at least 1.
  Integer SafeItemHeight();

 protected:
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void CMEnter(TWMNoParams& Message) override;
  void CMExit(TWMNoParams& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void CNDrawItem(TWMDrawItem& Message) override;

  void PaintItems(TCanvas* C);
  void PaintColumnItems(TCanvas* C);
  // The painter the container's skin state calls for.
  void PaintItem(TCanvas* C, Integer Index, TOwnerDrawState State, const TRect& R);
  void PaintDefaultItem(TCanvas* C, Integer Index, TOwnerDrawState State, const TRect& R);
  void PaintSkinItem(TCanvas* C, Integer Index, TOwnerDrawState State, const TRect& R);
  void PaintStretchedSkinItem(TCanvas* C, Integer Index, TOwnerDrawState State, const TRect& R);
  // Image and text of an item without OnDrawItem.
  void DrawItemContent(TCanvas* C, Integer Index, TRect TR);
  void DrawSkinClientTiles(TCanvas* C, Integer X, Integer Y, Integer W, Integer H);
  void DrawTabbedItemText(const String& Text, TStrings* TabWidths, Integer Offset, const TRect& TR, TCanvas* C);
  // The item font's character set: the skin's text table's, else the default font's.
  void SetItemCharset(TFont* F);

  Integer FHorizontalExtentValue = 0;
};

// A tab stop from a tab-width line: its number when it is digits only, else 0.
Integer TabWidthToInt(const String& S);

class TspSkinScrollBar;

// The skinned list box: frame, optional caption with glyph and caption buttons, the inner
// list and the skinned scroll bars that exist only while needed.
class TspSkinCustomListBox : public TspSkinCustomControl {
  VANTREL_CLASS(TspSkinCustomListBox)
  explicit TspSkinCustomListBox(TComponent* AOwner);
  ~TspSkinCustomListBox() override;

  // Copies of the descriptor, read by the inner list's painters and the layout.
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TRect SItemRect, ActiveItemRect, FocusItemRect;
  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect;
  TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
  TRect CaptionRect;
  String CaptionFontName;
  TFontStyles CaptionFontStyle;
  Integer CaptionFontHeight = 0;
  TColor CaptionFontColor = 0;
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
  TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;
  TRect CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
  String VScrollBarName, HScrollBarName, BothScrollBarName;
  Boolean ShowFocus = false;
  TRect ButtonsArea, DisabledButtonsRect;

  TspSkinScrollBar* ScrollBar = nullptr;   // vertical, or horizontal with columns
  TspSkinScrollBar* HScrollBar = nullptr;  // the horizontal extent's bar
  TspListBox* ListBox = nullptr;           // owned

  // Set while a skin change is applied: the horizontal bar is removed, not measured.
  Boolean FStopUpDateHScrollBar = false;

  // The height that shows AItemsCount rows.
  Integer CalcHeight(Integer AItemsCount);
  void Clear();
  Integer ItemAtPos(const TPoint& Pos, Boolean Existing) { return ListBox->ItemAtPos(Pos, Existing); }
  TRect ItemRect(Integer Item) { return ListBox->ItemRect(Item); }
  // Creates, ranges and removes the scroll bars as the content and size need.
  void UpDateScrollBar();

  Boolean ShowCaptionButtons() const { return FShowCaptionButtons; }
  void SetShowCaptionButtons(Boolean Value);
  TStrings* TabWidths() const { return FTabWidths.get(); }
  void SetTabWidths(TStrings* Value);
  Boolean UseSkinItemHeight() const { return FUseSkinItemHeight; }
  void SetUseSkinItemHeight(Boolean Value) { FUseSkinItemHeight = Value; }
  Boolean HorizontalExtent() const { return FHorizontalExtent; }
  void SetHorizontalExtent(Boolean Value);
  Integer Columns() const { return ListBox->Columns(); }
  void SetColumns(Integer Value);
  Integer RowCount() const { return FRowCount; }
  void SetRowCount(Integer Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TspSkinPanelNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TspSkinPanelNumGlyphs Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  Boolean CaptionMode() const { return FCaptionMode; }
  void SetCaptionMode(Boolean Value);
  Integer DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
  void SetDefaultCaptionHeight(Integer Value);
  TFont* DefaultCaptionFont() const { return FDefaultCaptionFont.get(); }
  void SetDefaultCaptionFont(TFont* Value) { FDefaultCaptionFont->Assign(Value); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  Integer DefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(Integer Value);
  TStrings* Items() const { return ListBox->Items(); }
  void SetItems(TStrings* Value);
  Integer ItemIndex() const { return ListBox->ItemIndex(); }
  void SetItemIndex(Integer Value) { ListBox->SetItemIndex(Value); }
  Boolean MultiSelect() const { return ListBox->MultiSelect(); }
  void SetMultiSelect(Boolean Value) { ListBox->SetMultiSelect(Value); }
  Boolean ExtandedSelect() const { return ListBox->ExtendedSelect(); }
  void SetExtandedSelect(Boolean Value) { ListBox->SetExtendedSelect(Value); }
  Boolean Sorted() const { return ListBox->Sorted(); }
  void SetSorted(Boolean Value);
  TFont* ListBoxFont() const { return ListBox->Font(); }
  void SetListBoxFont(TFont* Value) { ListBox->Font()->Assign(Value); }
  TTabOrder ListBoxTabOrder() const { return ListBox->TabOrder(); }
  void SetListBoxTabOrder(TTabOrder Value) { ListBox->SetTabOrder(Value); }
  Boolean ListBoxTabStop() const { return ListBox->TabStop(); }
  void SetListBoxTabStop(Boolean Value) { ListBox->SetTabStop(Value); }
  TPopupMenu* ListBoxPopupMenu() const { return ListBox->PopupMenu(); }
  template <class TMenu>
  void SetListBoxPopupMenu(TMenu* Value) {
    ListBox->SetPopupMenu(Value);
  }
  TCanvas* ListBoxCanvas() const { return ListBox->Canvas(); }
  Integer SelCount() const { return ListBox->SelCount(); }
  Boolean Selected(Integer Index) const { return ListBox->Selected(Index); }
  Integer TopIndex() const { return ListBox->TopIndex(); }
  void SetTopIndex(Integer Value) { ListBox->SetTopIndex(Value); }
  Boolean AutoComplete() const { return ListBox->AutoComplete(); }
  void SetAutoComplete(Boolean Value) { ListBox->SetAutoComplete(Value); }

  TspDrawSkinItemEvent OnDrawItem;
  TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnCheckButtonClick;
  TNotifyEvent OnListBoxClick, OnListBoxDblClick;
  TMouseEvent OnListBoxMouseDown, OnListBoxMouseUp;
  TMouseMoveEvent OnListBoxMouseMove;
  TKeyEvent OnListBoxKeyDown, OnListBoxKeyUp;
  TKeyPressEvent OnListBoxKeyPress;

  // What the inner list reports; the dialogs' file lists override some of them.
  virtual Integer GetItemTextWidth(Integer Index, TCanvas* Canvas);
  virtual void ListBoxMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxMouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxClick();
  virtual void ListBoxDblClick();
  virtual void ListBoxKeyDown(Word& Key, TShiftState Shift);
  virtual void ListBoxKeyUp(Word& Key, TShiftState Shift);
  virtual void ListBoxKeyPress(char32_t& Key);
  virtual void ListBoxEnter() {}
  virtual void ListBoxExit() {}
  virtual void ListBoxWindowProcHook(TMessage& Message, Boolean& CallDefault);
  virtual void ListBoxCreateWnd() {}

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  void DefaultFontChanged() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;

  void ArrangeParts();
  void CreateScrollBar();
  void CreateHScrollBar();
  void FreeScrollBar();
  void FreeHScrollBar();
  void ScrollBarChange(TObject* Sender);
  void HScrollBarChange(TObject* Sender);
  void CaptionFontChanged();
  // Caption buttons: geometry, hover, press, release, repeat and drawing.
  void CalcDefaultButtonRects();
  void CalcSkinButtonRects();
  void HitTestCaptionButtons(Integer X, Integer Y);
  void CaptionButtonUp(Integer I);
  void CaptionButtonStep(Integer I);
  void DrawCaptionButton(TCanvas* C, Integer I);
  void RedrawCaptionButton(Integer I);
  void DrawCaptionGlyph(TCanvas* C, Integer X, Integer Y);
  Integer CaptionGlyphWidth() const;
  void SetCaptionCharset(TFont* F);
  // The height of the horizontal bar when there is one.
  Integer HScrollBarHeight() const;

  Boolean FShowCaptionButtons = true;
  std::unique_ptr<TStringList> FTabWidths;
  Boolean FUseSkinItemHeight = true;
  Boolean FHorizontalExtent = false;
  Integer FRowCount = 0;
  std::unique_ptr<TBitmap> FGlyph;
  TspSkinPanelNumGlyphs FNumGlyphs = 1;
  Integer FSpacing = 2;
  TCustomImageList* FImages = nullptr;
  Integer FImageIndex = -1;
  Integer FDefaultItemHeight = 20;
  Integer FDefaultCaptionHeight = 20;
  std::unique_ptr<TFont> FDefaultCaptionFont;
  TRect ListRect;
  Boolean FCaptionMode = false;
  TAlignment FAlignment = taLeftJustify;
  TspCBButtonX Buttons[3];  // 0 up, 1 down, 2 check
  Integer OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
  TRect NewCaptionRect;
  Integer TimerMode = 0;  // caption-button repeat: 0 none, 1 up, 2 down
  Boolean WaitMode = false;

  friend class TspListBox;
};

class TspSkinListBox : public TspSkinCustomListBox {
  VANTREL_CLASS(TspSkinListBox)
  explicit TspSkinListBox(TComponent* AOwner) : TspSkinCustomListBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------
// The combo box.

enum TspSkinCustomComboBoxStyle { spcbEditStyle, spcbFixedStyle };

struct TspCBItem {
  TRect R;
  TOwnerDrawState State;
};

// The combo box's drop-down: a top-level tool window that never takes the activation.
class TspPopupListBox : public TspSkinCustomListBox {
  VANTREL_CLASS(TspPopupListBox)
  explicit TspPopupListBox(TComponent* AOwner);

  // Shows the list with its top-left corner at the screen point Origin (fading in when
  // the owning combo box asks for it).
  void Show(TPoint Origin);
  void Hide();
  void BeforeDestruction() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  // Raises the alpha to the combo box's value while messages keep flowing.
  void FadeIn(TspSkinCustomComboBox* Combo);

 private:
  Boolean FOldAlphaBlend = false;
  Byte FOldAlphaBlendValue = 0;
  // Cleared when the list goes away: a fade that processes messages checks it before it
  // touches the list again.
  std::shared_ptr<Boolean> FAlive = std::make_shared<Boolean>(true);
};

class TspSkinCustomComboBox : public TspSkinCustomControl {
  VANTREL_CLASS(TspSkinCustomComboBox)
  explicit TspSkinCustomComboBox(TComponent* AOwner);
  ~TspSkinCustomComboBox() override;
  void BeforeDestruction() override;

  // Copies of the "combobox" descriptor.
  TRect ActiveSkinRect;
  TColor ActiveFontColor = 0;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TRect SItemRect, FocusItemRect, ActiveItemRect;
  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect;
  TColor FontColor = 0, FocusFontColor = 0;
  TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
  String ListBoxName;
  Boolean ItemStretchEffect = false, FocusItemStretchEffect = false;
  Boolean ShowFocus = false;

  void DropDown();
  void CloseUp(Boolean AcceptValue);
  Boolean IsPopupVisible() const;
  Boolean CanCancelDropDown();
  TspPopupListBox* PopupList() const { return FListBox; }
  TspCustomEdit* Edit() const { return FEdit; }

  TspSkinCustomComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TspSkinCustomComboBoxStyle Value);
  Boolean ToolButtonStyle() const { return FToolButtonStyle; }
  void SetToolButtonStyle(Boolean Value);
  Boolean UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(Boolean Value) { FUseSkinSize = Value; }
  TStrings* Items() const { return FListBox->Items(); }
  void SetItems(TStrings* Value) { FListBox->SetItems(Value); }
  Integer ItemIndex() const { return FListBox->ItemIndex(); }
  void SetItemIndex(Integer Value);
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value);
  Boolean Sorted() const { return FListBox->Sorted(); }
  void SetSorted(Boolean Value) { FListBox->SetSorted(Value); }
  Boolean HorizontalExtent() const { return FListBox->HorizontalExtent(); }
  void SetHorizontalExtent(Boolean Value) { FListBox->SetHorizontalExtent(Value); }
  TCustomImageList* Images() const { return FListBox ? FListBox->Images() : nullptr; }
  void SetImages(TCustomImageList* Value);
  Integer ImageIndex() const { return FListBox->ImageIndex(); }
  void SetImageIndex(Integer Value);
  TStrings* TabWidths() const { return FListBox->TabWidths(); }
  void SetTabWidths(TStrings* Value) { FListBox->SetTabWidths(Value); }
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  Boolean HideSelection() const { return FHideSelection; }
  void SetHideSelection(Boolean Value) { FHideSelection = Value; }
  Boolean AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(Boolean Value) { FAutoComplete = Value; }
  Integer ListBoxWidth() const { return FListBoxWidth; }
  void SetListBoxWidth(Integer Value) { FListBoxWidth = Value; }
  Boolean ListBoxAlphaBlend() const { return FListBoxAlphaBlend; }
  void SetListBoxAlphaBlend(Boolean Value) { FListBoxAlphaBlend = Value; }
  Boolean ListBoxAlphaBlendAnimation() const { return FListBoxAlphaBlendAnimation; }
  void SetListBoxAlphaBlendAnimation(Boolean Value) { FListBoxAlphaBlendAnimation = Value; }
  Byte ListBoxAlphaBlendValue() const { return FListBoxAlphaBlendValue; }
  void SetListBoxAlphaBlendValue(Byte Value) { FListBoxAlphaBlendValue = Value; }
  Boolean ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
  void SetListBoxUseSkinFont(Boolean Value) { FListBox->SetUseSkinFont(Value); }
  Boolean ListBoxUseSkinItemHeight() const { return FListBox->UseSkinItemHeight(); }
  void SetListBoxUseSkinItemHeight(Boolean Value) { FListBox->SetUseSkinItemHeight(Value); }
  TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
  void SetListBoxDefaultFont(TFont* Value) { FListBox->SetDefaultFont(Value); }
  TFont* ListBoxDefaultCaptionFont() const { return FListBox->DefaultCaptionFont(); }
  void SetListBoxDefaultCaptionFont(TFont* Value) { FListBox->SetDefaultCaptionFont(Value); }
  Integer ListBoxDefaultItemHeight() const { return FListBox->DefaultItemHeight(); }
  void SetListBoxDefaultItemHeight(Integer Value) { FListBox->SetDefaultItemHeight(Value); }
  String ListBoxCaption() const { return FListBox->Caption(); }
  void SetListBoxCaption(const String& Value) { FListBox->SetCaption(Value); }
  Boolean ListBoxCaptionMode() const { return FListBox->CaptionMode(); }
  void SetListBoxCaptionMode(Boolean Value) { FListBox->SetCaptionMode(Value); }
  TAlignment ListBoxCaptionAlignment() const { return FListBox->Alignment(); }
  void SetListBoxCaptionAlignment(TAlignment Value) { FListBox->SetAlignment(Value); }
  const TspDrawSkinItemEvent& OnListBoxDrawItem() const { return FOnListBoxDrawItem; }
  // Also becomes the popup list's OnDrawItem.
  void SetOnListBoxDrawItem(TspDrawSkinItemEvent Value);
  // The inner edit's selection; 0 and ignored without an edit.
  Integer SelStart() const;
  void SetSelStart(Integer Value);
  Integer SelLength() const;
  void SetSelLength(Integer Value);

  TspDrawSkinItemEvent OnComboBoxDrawItem;
  TNotifyEvent OnChange, OnCloseUp, OnDropDown;  // OnClick is the control's

  // Run after OnClick whenever an item is taken, and after OnChange for typed text.
  virtual void Change() {}
  // The window procedure put on the inner edit.
  virtual void EditWindowProcHook(TMessage& Message);

  void Invalidate() override;
  void GetSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ChangeSkinData() override;
  void DefaultFontChanged() override;
  void CalcSize(Integer& AWidth, Integer& AHeight) override;
  void SetControlRegion() override;

  TspCBItem CBItem;
  TspCBButtonX Button;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;

  void CalcRects();
  // The inner list's window, made (with the hidden popup's) when there is none yet.
  HWND ListWindow();
  void ListBoxWindowProc(TMessage& Message);
  void ListBoxHotTrack(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void ListBoxCheckButtonClick(TObject* Sender);
  void TrackListBox();
  void StartTimer();
  void StopTimer();
  void StepUp(Boolean AChange);
  void StepDown(Boolean AChange);
  void PageUp(Boolean AChange);
  void PageDown(Boolean AChange);
  // Selects AIndex as the keys do: a change through ItemIndex, or the highlight only.
  void SelectFromKeys(Integer AIndex, Boolean AChange);
  void FindKeyItem(const String& Key);
  void EditStepUp(Boolean AChange);
  void EditStepDown(Boolean AChange);
  void AutoCompleteEdit();
  void EditChange(TObject* Sender);
  void EditCancelMode(TControl* Sender);
  void CreateEditControl();
  void FreeEditControl();
  void SetEditFontColor(TColor Color);
  TColor GetDisabledFontColor();
  Boolean EditFocused();
  Integer TextCharset();

  // Painting (the combo's looks).
  Boolean IsHot();
  Integer ShownIndex();
  void DrawButton(TCanvas* C);
  void DrawStretchButton(TCanvas* C);
  void DrawDefaultItem(TCanvas* C);
  void DrawSkinItem(TCanvas* C);
  void DrawStretchSkinItem(TCanvas* C);
  // Image, text (or OnComboBoxDrawItem) of the shown item on IB inside TR.
  void DrawItemContent(TCanvas* IC, TRect TR, Integer IW, Integer IH, Boolean Skinned, Boolean FocusFrame);
  void DrawDefaultToolButton(TCanvas* C);
  void DrawSkinToolButton(TCanvas* C);
  void DrawTabbedText(const String& S, TStrings* TabWidths, Integer Offset, const TRect& R, TCanvas* C);
  // The control bitmap being composed, for the items that copy what lies under them.
  TBitmap* FComposing = nullptr;

  Boolean FToolButtonStyle = false;
  Boolean FNumEdit = false;
  Boolean FDropDown = false;
  TEditCharCase FCharCase = ecNormal;
  TColor FDefaultColor = clWindow;
  Boolean FUseSkinSize = true;
  Boolean WasInLB = false;
  Integer TimerMode = 0;
  Boolean FHideSelection = true;
  Cardinal FLastTime = 0;
  String FFilter;
  Boolean FAutoComplete = true;
  Boolean FListBoxAlphaBlend = false, FListBoxAlphaBlendAnimation = false;
  Byte FListBoxAlphaBlendValue = 200;
  Integer FListBoxWidth = 0;
  TspSkinCustomComboBoxStyle FStyle = spcbFixedStyle;
  TspDrawSkinItemEvent FOnListBoxDrawItem;
  Boolean FMouseIn = false;
  Integer FOldItemIndex = -1;
  Integer FDropDownCount = 8;
  Boolean FLBDown = false;
  TWndMethod FListBoxWindowProc;
  TWndMethod FEditWindowProc;
  TspPopupListBox* FListBox = nullptr;  // owned (through the component owner)
  TspCustomEdit* FEdit = nullptr;       // owned
  Boolean FromEdit = false;
  // Esc closed the list from the inner edit: the character it sends after is not the form's.
  Boolean FEscClosedList = false;
  Boolean FDestroying = false;

  friend class TspPopupListBox;
};

class TspSkinComboBox : public TspSkinCustomComboBox {
  VANTREL_CLASS(TspSkinComboBox)
  explicit TspSkinComboBox(TComponent* AOwner) : TspSkinCustomComboBox(AOwner) {}
};
