// The class library's control bases on our window system: TControl (bounds, visibility,
// text, font, colour, mouse handling and the message path Perform -> WindowProc ->
// WndProc -> Dispatch -> handlers -> DefaultHandler), TWinControl (a lazily created
// window whose procedure is a thunk to WindowProc, children, painting, reflected
// notifications), TCustomControl (a window with a canvas and Paint) and TGraphicControl
// (no window: its parent paints it and routes mouse messages to it). Layout (Align,
// Anchors, Constraints, AutoSize), the focus within a top-level control (tab order,
// CM_ENTER/CM_EXIT, CM_FOCUSCHANGED) and the key path with its dialog keys live here too.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ControlMessages.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Messages.h"
#include "platform/win/WndProc.h"

class TWinControl;
class TPopupMenu;

// ---------------------------------------------------------------------------------------
// Enumerations, sets and events

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;
// The wheel turned towards (Down) or away from the user with the pointer at MousePos
// (screen coordinates); Handled keeps the message from going further.
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, Boolean& Handled)>;
// A context menu is asked for at MousePos (client coordinates; -1, -1 from the keyboard).
using TContextPopupEvent = std::function<void(TObject* Sender, const TPoint& MousePos, Boolean& Handled)>;

// Cursor identities; the shapes are the screen's.
using TCursor = SmallInt;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking,
  csRecreating
};
using TControlState = TSet<TControlStateItem>;

// The shift state of a mouse message's MK_* keys (Alt read from the key state).
TShiftState KeysToShiftState(UINT Keys);
// The shift state of a key message: Shift and Ctrl from the key state, Alt from KeyData.
TShiftState KeyDataToShiftState(LPARAM KeyData);

// Where a control goes inside its parent's client area when the parent aligns.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
// The parent's edges a control keeps its distance to when the parent resizes.
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
// The anchors an alignment implies (alNone and alCustom: left and top).
TAnchors AnchorAlign(TAlign Align);

using TTabOrder = Integer;
using TConstraintSize = Integer;

class TControl;

// Minimum and maximum width and height of a control; 0 means no limit. A minimum above
// the maximum raises the maximum (and the other way round), so the pair stays ordered.
class TSizeConstraints : public TPersistent {
  VANTREL_CLASS(TSizeConstraints)
  explicit TSizeConstraints(TControl* Control) : FControl(Control) {}

  void Assign(TPersistent* Source) override;

  TControl* Control() const { return FControl; }
  TConstraintSize MaxHeight() const { return FMaxHeight; }
  TConstraintSize MaxWidth() const { return FMaxWidth; }
  TConstraintSize MinHeight() const { return FMinHeight; }
  TConstraintSize MinWidth() const { return FMinWidth; }
  // A negative size raises ERangeError.
  void SetMaxHeight(TConstraintSize Value);
  void SetMaxWidth(TConstraintSize Value);
  void SetMinHeight(TConstraintSize Value);
  void SetMinWidth(TConstraintSize Value);

  TNotifyEvent OnChange;

 protected:
  virtual void Change();

 private:
  TControl* FControl;
  TConstraintSize FMaxHeight = 0;
  TConstraintSize FMaxWidth = 0;
  TConstraintSize FMinHeight = 0;
  TConstraintSize FMinWidth = 0;
};

// True when Str's accelerator ("&" before a character; "&&" is a plain "&") is the
// character VK, compared without letter case (ASCII letters; others by the C library's
// current locale).
Boolean IsAccel(Word VK, const String& Str);

// ---------------------------------------------------------------------------------------
// A canvas on a control: the window's DC for a windowed control, the parent's DC moved to
// the control's origin and clipped to it for a windowless one. While a control paints,
// the canvas carries the DC of the paint instead.
class TControlCanvas : public TCanvas {
  VANTREL_CLASS(TControlCanvas)
  TControlCanvas() = default;
  ~TControlCanvas() override;

  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  // Lets go of a DC the canvas made itself.
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;  // made here (GetDC), released by FreeHandle
  HWND FWindowHandle = nullptr;
};

// ---------------------------------------------------------------------------------------

class TControl : public TComponent {
  VANTREL_CLASS(TControl)
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  // Leaves the parent, lets go of the mouse, then the component's teardown.
  void BeforeDestruction() override;

  // Parent and geometry.
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  Integer Left() const { return FLeft; }
  Integer Top() const { return FTop; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  void SetLeft(Integer Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(Integer Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(Integer Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(Integer Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top); }
  virtual TRect ClientRect();
  Integer ClientWidth() { return ClientRect().Right; }
  Integer ClientHeight() { return ClientRect().Bottom; }
  void SetClientWidth(Integer Value) { SetClientSize(Value, ClientHeight()); }
  void SetClientHeight(Integer Value) { SetClientSize(ClientWidth(), Value); }
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(const TPoint& Point);
  TPoint ScreenToClient(const TPoint& Point);

  // State.
  Boolean Visible() const { return FVisible; }
  void SetVisible(Boolean Value);
  // Asks the parents to bring the control into view (a notebook selects its page), then
  // makes it visible.
  void Show();
  void Hide() { SetVisible(false); }
  Boolean Enabled() const { return FEnabled; }
  virtual void SetEnabled(Boolean Value);
  String Caption() { return GetText(); }
  void SetCaption(const String& Value) { SetText(Value); }
  String Text() { return GetText(); }
  void SetText(const String& Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  Boolean ParentFont() const { return FParentFont; }
  void SetParentFont(Boolean Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  Boolean ParentColor() const { return FParentColor; }
  void SetParentColor(Boolean Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  // The help topic of the control (0: none).
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer Value) { FHelpContext = Value; }
  Boolean ShowHint() const { return FShowHint; }
  void SetShowHint(Boolean Value);
  Boolean ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(Boolean Value);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  // A template so the menu's class need only be complete where the setter is used.
  template <class TMenu>
  void SetPopupMenu(TMenu* Value) {
    SetPopupMenuComponent(Value, Value);
  }
  TControlStyle ControlStyle;
  TControlState ControlState;

  // Layout. Setting Align also sets the anchors it implies and re-aligns the parent.
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* Constraints() const { return FConstraints.get(); }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }
  Boolean AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(Boolean Value);
  // The size the control would take by itself; false refuses the change.
  virtual Boolean CanAutoSize(Integer& NewWidth, Integer& NewHeight);
  virtual Boolean CanResize(Integer& NewWidth, Integer& NewHeight);
  // Applies AutoSize and the constraints to the current size.
  virtual void AdjustSize();

  // Messages. Perform hands the message to WindowProc and lets exceptions through.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
  // Replaceable (a hook saves it, installs its own and calls or restores the saved one);
  // starts as the control's WndProc.
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& Message);
  // Hands a message to the handler for its number, else to DefaultHandler.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // Painting.
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  // Z-order among the parent's controls of the same kind (windowless or windowed).
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }

  // The control holds the mouse capture (set by a press under csCaptureMouse).
  Boolean MouseCapture();
  void SetMouseCapture(Boolean Value);

  // Click runs OnClick when assigned, else executes the linked action.
  virtual void Click();
  virtual void DblClick();

  // The linked action: linking copies its caption, enabled state, hint and visibility,
  // and the control follows its changes through ActionChange. Nil unlinks.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TControlActionLink* ActionLink() const { return FActionLink.get(); }

  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Events.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  // The pointer came over the control / left it (CM_MOUSEENTER / CM_MOUSELEAVE).
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;

  // One notch of WM_MOUSEWHEEL: raise the event and say whether it was handled. A
  // control that moves with the wheel overrides them, running these first.
  virtual Boolean DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual Boolean DoMouseWheelUp(TShiftState Shift, TPoint MousePos);

 protected:
  virtual String GetText();
  virtual void SetClientSize(Integer AWidth, Integer AHeight);
  virtual void SetZOrder(Boolean TopMost);
  virtual void Resize();
  // Tells the parent that the control's value changed: CM_CHANGED with the control in
  // LParam; nothing without a parent.
  void Changed();
  // Asks the parent to align its controls, this one having changed.
  virtual void RequestAlign();
  // Records the distances to the parent's edges that the anchors keep.
  void UpdateAnchorRules();
  // The size a change to (NewWidth, NewHeight) really gives: AutoSize, then the
  // constraints. False when the control refuses to change.
  Boolean CheckNewSize(Integer& NewWidth, Integer& NewHeight);
  void DoConstrainedResize(Integer& NewWidth, Integer& NewHeight);
  virtual void ConstraintsChanged();
  // Invalidates the control's rectangle on its parent's window.
  void InvalidateControl(Boolean IsVisible, Boolean IsOpaque);
  // The linked action (Sender) changed or was linked.
  virtual void ActionChange(TObject* Sender);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  // Tells the control that holds the focus, when it is not Sender, to cancel its modes.
  void SendCancelMode(TControl* Sender);
  void SetPopupMenuComponent(TPopupMenu* Menu, TComponent* AsComponent);

  // Handlers (the Dispatch of this class reaches them; an override calls the base's as
  // its inherited handling).
  virtual void WMLButtonDown(TWMMouse& Message);
  virtual void WMLButtonUp(TWMMouse& Message);
  virtual void WMLButtonDblClk(TWMMouse& Message);
  virtual void WMRButtonDown(TWMMouse& Message);
  virtual void WMRButtonUp(TWMMouse& Message);
  virtual void WMRButtonDblClk(TWMMouse& Message);
  virtual void WMMButtonDown(TWMMouse& Message);
  virtual void WMMButtonUp(TWMMouse& Message);
  virtual void WMMButtonDblClk(TWMMouse& Message);
  virtual void WMMouseMove(TWMMouse& Message);
  // Unhandled, the wheel goes to the default handling (and so to the parent).
  virtual void WMMouseWheel(TMessage& Message);
  virtual void WMCancelMode(TWMNoParams& Message);
  virtual void CMEnabledChanged(TWMNoParams& Message);
  virtual void CMVisibleChanged(TWMNoParams& Message);
  virtual void CMTextChanged(TWMNoParams& Message);
  virtual void CMFontChanged(TWMNoParams& Message);
  virtual void CMColorChanged(TWMNoParams& Message);
  virtual void CMParentFontChanged(TWMNoParams& Message);
  virtual void CMParentColorChanged(TWMNoParams& Message);
  virtual void CMParentShowHintChanged(TWMNoParams& Message);
  virtual void CMMouseEnter(TWMNoParams& Message);
  virtual void CMMouseLeave(TWMNoParams& Message);
  virtual void CMCancelMode(TCMCancelMode& Message);
  // A windowless control has nothing to do with these; a windowed one passes them on to
  // its children.
  virtual void CMDialogKey(TCMDialogKey& Message);
  virtual void CMDialogChar(TCMDialogChar& Message);
  virtual void CMFocusChanged(TCMFocusChanged& Message);

  String FText;
  Integer FLeft = 0;
  Integer FTop = 0;
  Integer FWidth = 0;
  Integer FHeight = 0;

 private:
  friend class TWinControl;
  void DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TWMMouse& Message, TMouseButton Button);
  void FontChanged(TObject* Sender);

  TWinControl* FParent = nullptr;
  Boolean FVisible = true;
  Boolean FEnabled = true;
  std::unique_ptr<TFont> FFont;
  Boolean FParentFont = true;
  TColor FColor = clWindow;
  Boolean FParentColor = true;
  TCursor FCursor = crDefault;
  String FHint;
  Integer FHelpContext = 0;
  Boolean FShowHint = false;
  Boolean FParentShowHint = true;
  TPopupMenu* FPopupMenu = nullptr;
  TComponent* FPopupMenuComponent = nullptr;
  Boolean FUpdatingFont = false;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  // Width, left or middle (by the anchors) and the parent's client size when they were
  // recorded; a zero parent size means nothing to keep.
  TPoint FAnchorRules{0, 0};
  TPoint FOriginalParentSize{0, 0};
  Boolean FAnchorMove = false;  // the parent is placing the control
  Boolean FAutoSize = false;
  std::unique_ptr<TSizeConstraints> FConstraints;
  std::unique_ptr<TControlActionLink> FActionLink;
};

// ---------------------------------------------------------------------------------------
// What CreateWnd hands to CreateWindowEx; CreateParams fills it.
struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  Integer X = 0;
  Integer Y = 0;
  Integer Width = 0;
  Integer Height = 0;
  HWND WndParent = nullptr;
  LPVOID Param = nullptr;
  WNDCLASS WindowClass{};
  String WinClassName;
};

class TWinControl : public TControl {
  VANTREL_CLASS(TWinControl)
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  // Destroys the window (WM_DESTROY reaches the whole object and its children's), frees
  // the child controls, then TControl's teardown.
  void BeforeDestruction() override;

  // The window, created with its parent's when needed.
  HWND Handle();
  Boolean HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // Destroys the window (children first), keeping text, bounds and visibility.
  void DestroyHandle();
  // Destroys the window and makes it again with the same text, bounds and children.
  void RecreateWnd();
  // The owner window of a control without a parent control.
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);

  // Children: windowless first, then windowed, each in z-order (bottom first).
  Integer ControlCount() const;
  TControl* Controls(Integer Index) const;
  Integer WinControlCount() const { return static_cast<Integer>(FWinControls.size()); }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  Boolean ContainsControl(TControl* Control) const;
  // The topmost windowless child (windowed too with AllowWinControls) under Pos.
  TControl* ControlAtPos(const TPoint& Pos, Boolean AllowDisabled, Boolean AllowWinControls = false);
  // Sends Msg to every child control.
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);

  TBrush* Brush() const { return FBrush.get(); }
  TRect ClientRect() override;
  TPoint ClientOrigin() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;

  // Alignment of the children. Between DisableAlign and the matching EnableAlign requests
  // are only noted; the last EnableAlign aligns once.
  void DisableAlign();
  void EnableAlign();
  Boolean AlignDisabled() const { return FAlignLevel > 0; }
  void Realign();
  // Aligns (and moves by their anchors) the children inside Rect, the client rectangle.
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  // The part of the client rectangle the aligned children share.
  virtual void AdjustClientRect(TRect& Rect);
  // The extent of the visible children.
  Boolean CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;

  // A child asks to be brought into view: by default the parent asks its own parent.
  virtual void ShowControl(TControl* AControl);
  // Moves every child control by (DeltaX, DeltaY) and repaints: the content scrolls.
  void ScrollBy(Integer DeltaX, Integer DeltaY);

  // Focus. CanFocus: the control and its parents are visible and enabled.
  Boolean Focused();
  virtual Boolean CanFocus();
  // Focuses the control through its top-level control, which records it as its active
  // control; raises EInvalidOperation when it cannot take the focus.
  virtual void SetFocus();
  TTabOrder TabOrder() const;
  // Moves the control in its parent's tab order; out of range puts it last.
  void SetTabOrder(TTabOrder Value);
  Boolean TabStop() const { return FTabStop; }
  void SetTabStop(Boolean Value);
  // The windowed children in tab order, each followed by its own children's list.
  void GetTabOrderList(std::vector<TWinControl*>& List);
  // The control after (before) CurControl in the tab order list that can take the focus;
  // CheckTabStop asks for TabStop, CheckParent for a direct child.
  TWinControl* FindNextControl(TWinControl* CurControl, Boolean GoForward, Boolean CheckTabStop,
                               Boolean CheckParent);
  // Focuses that next control (siblings only unless CheckTabStop).
  void SelectNext(TWinControl* CurControl, Boolean GoForward, Boolean CheckTabStop);
  // Makes the first control in tab order (with TabStop, else any) the active control.
  void SelectFirst();

  // The focus of a top-level control (a form builds on this): the control inside it
  // that has or last had the focus; nil when the top-level control has it itself.
  TWinControl* ActiveControl() const { return FActiveControl; }
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" for a control
  // that cannot take the focus; focuses it at once when the top-level window is active.
  virtual void SetActiveControl(TWinControl* Control);
  // Makes Control the active control and gives it the focus.
  virtual void FocusControl(TWinControl* Control);
  // Told by a control that got the focus: CM_EXIT up from the old focused control to the
  // common parent, CM_ENTER down to the new one, then CM_FOCUSCHANGED to every control.
  // False when a handler moved the focus on meanwhile.
  virtual Boolean SetFocusedControl(TWinControl* Control);
  // Control (Removing: and its window) goes away: the focus bookkeeping lets go of it.
  virtual void DefocusControl(TWinControl* Control, Boolean Removing);
  // A top-level control sees its controls' keys first.
  Boolean KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(Boolean Value) { FKeyPreview = Value; }
  // A top-level control's menu shortcuts; true when the key ran one.
  virtual Boolean IsShortCut(TWMKey& Message);

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // Paints the background, the window's content and the windowless children into DC
  // (the DC of WM_PAINT when zero is passed); the handler of WM_PAINT.
  void PaintHandler(TWMPaint& Message);
  // Paints the window's own content into DC; public because CopyParentImage paints a
  // parent's content into a foreign DC.
  virtual void PaintWindow(HDC DC);
  // Paints the windowless children from First (all when nil) onto DC.
  void PaintControls(HDC DC, TControl* First);
  // Paints the control and its children into a foreign DC with its top-left corner at
  // (X, Y), under csPaintCopy.
  void PaintTo(HDC DC, Integer X, Integer Y);

  // The control of a window made by this class library (nil for any other window).
  static TWinControl* FindControl(HWND Handle);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

 protected:
  void SetZOrder(Boolean TopMost) override;
  void SetClientSize(Integer AWidth, Integer AHeight) override;
  virtual void CreateParams(TCreateParams& Params);
  // Makes Params a subclass of the registered window class ControlClassName (a native
  // control class): its procedure becomes the default handling.
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  virtual void CreateHandle();
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  // Creates the window when the control should be showing and has none yet.
  void UpdateControlState();
  // Hands a child's notification back to it as CN_*; true when Child is one of ours.
  Boolean DoControlMsg(HWND Child, TMessage& Message);
  // The aligned children (re)placed; for a container that follows them.
  virtual void ControlsAligned() {}
  // Aligns the children after AControl changed (nil: after the parent did).
  void AlignControl(TControl* AControl);

  // Keys: the key events; a handler that clears Key consumes it.
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  // The key reaches the top-level control first with KeyPreview, then KeyDown; true when
  // consumed.
  Boolean DoKeyDown(TWMKey& Message);
  Boolean DoKeyUp(TWMKey& Message);
  Boolean DoKeyPress(TWMKey& Message);
  virtual void DoEnter();
  virtual void DoExit();
  // Tells the top-level control that this control (Removing: and its window) goes.
  void RemoveFocus(Boolean Removing);

  virtual void WMKeyDown(TWMKey& Message);
  virtual void WMKeyUp(TWMKey& Message);
  virtual void WMChar(TWMKey& Message);
  virtual void WMSysKeyDown(TWMKey& Message);
  virtual void WMSysKeyUp(TWMKey& Message);
  virtual void WMGetDlgCode(TWMNoParams& Message);
  virtual void WMSetFocus(TWMSetFocus& Message);
  virtual void WMKillFocus(TWMKillFocus& Message);
  // The application's key pre-processing (IsControlKeyMsg): menu shortcuts, CM_CHILDKEY,
  // then the dialog keys; Result 1 consumes the key.
  virtual void CNKeyDown(TWMKey& Message);
  virtual void CNChar(TWMKey& Message);
  virtual void CNSysKeyDown(TWMKey& Message);
  virtual void CNSysChar(TWMKey& Message);
  virtual void CMEnter(TWMNoParams& Message);
  virtual void CMExit(TWMNoParams& Message);
  virtual void CMWantSpecialKey(TCMWantSpecialKey& Message);
  virtual void CMChildKey(TCMChildKey& Message);
  // A top-level control moves the focus on Tab and the arrows; any control then offers
  // the key to its children, the first to answer non-zero taking it.
  void CMDialogKey(TCMDialogKey& Message) override;
  void CMDialogChar(TCMDialogChar& Message) override;
  void CMFocusChanged(TCMFocusChanged& Message) override;

  virtual void WMPaint(TWMPaint& Message);
  virtual void WMEraseBkgnd(TWMEraseBkgnd& Message);
  virtual void WMWindowPosChanged(TWMWindowPosChanged& Message);
  // A size change of the window, from whatever source, passes AutoSize and the
  // constraints.
  virtual void WMWindowPosChanging(TWMWindowPosChanging& Message);
  virtual void WMCommand(TWMCommand& Message);
  virtual void WMNotify(TWMNotify& Message);
  virtual void WMDrawItem(TWMDrawItem& Message);
  virtual void WMCtlColor(TWMCtlColor& Message);
  virtual void WMScroll(TWMScroll& Message);
  virtual void WMDestroy(TWMNoParams& Message);
  virtual void WMNCDestroy(TWMNoParams& Message);
  virtual void WMSetText(TWMSetText& Message);
  // The default answer to a reflected WM_CTLCOLOR*: font colour, brush colour, brush.
  virtual void CNCtlColor(TWMCtlColor& Message);
  void CMEnabledChanged(TWMNoParams& Message) override;
  void CMVisibleChanged(TWMNoParams& Message) override;
  void CMFontChanged(TWMNoParams& Message) override;
  void CMColorChanged(TWMNoParams& Message) override;
  void CMShowHintChanged(TWMNoParams& Message);

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;  // the procedure behind DefaultHandler

 private:
  friend class TControl;
  friend LRESULT InitControlWndProc(HWND, UINT, WPARAM, LPARAM);
  void MainWndProc(TMessage& Message);
  Boolean IsControlMouseMsg(TWMMouse& Message);
  void UpdateBounds();
  void ReadWindowText();
  // Sends a focus message; false when the focus moved on meanwhile.
  Boolean SendFocusMessage(TWinControl* Control, UINT Msg, HWND FocusWnd);

  std::vector<TControl*> FControls;     // windowless children, bottom first
  std::vector<TControl*> FWinControls;  // windowed children, bottom first
  std::vector<TWinControl*> FTabList;   // windowed children in tab order
  Integer FAlignLevel = 0;
  Boolean FTabStop = false;
  Boolean FKeyPreview = false;
  TWinControl* FActiveControl = nullptr;   // of a top-level control
  TWinControl* FFocusedControl = nullptr;  // of a top-level control: the CM_ENTER chain's end
  std::unique_ptr<TBrush> FBrush;
  WNDPROC FObjectInstance = nullptr;    // MainWndProc as a window procedure
  HWND FParentWindow = nullptr;
};

// ---------------------------------------------------------------------------------------

class TCustomControl : public TWinControl {
  VANTREL_CLASS(TCustomControl)
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;

  TCanvas* Canvas() const { return FCanvas.get(); }
  void PaintWindow(HDC DC) override;

 protected:
  virtual void Paint() {}
  void WMPaint(TWMPaint& Message) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

class TGraphicControl : public TControl {
  VANTREL_CLASS(TGraphicControl)
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;

  TCanvas* Canvas() const { return FCanvas.get(); }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}
  // With a DC in WParam: Paint onto it.
  virtual void WMPaint(TWMPaint& Message);

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// ---------------------------------------------------------------------------------------
// Mouse capture and the control under the pointer.

// The control that receives the mouse: a windowless control whose parent holds the
// capture, or the control of the capturing window; nil when no control of ours has it.
TControl* GetCaptureControl();
// Gives the capture to Control (to its parent's window for a windowless control); nil
// releases it.
void SetCaptureControl(TControl* Control);
// The top-level windowed control Control sits in (itself when it has no parent); nil for
// a windowless control without a parent.
TWinControl* TopLevelControl(TControl* Control);

// The application's key pre-processing, run on every retrieved message before
// TranslateMessage: a key message goes to its window's control (the capturing one first)
// as CN_KEYDOWN, CN_CHAR, ...; true when that consumed it, then the loop neither
// translates nor dispatches it.
Boolean IsControlKeyMsg(MSG& Msg);

// The control under the pointer as the last mouse message or idle check saw it.
TControl* MouseControl();
// The application's idle check: brings the control under the pointer up to date
// (CM_MOUSELEAVE to the old one, then CM_MOUSEENTER to the new one).
void DoMouseIdle();
// The control under a screen point: the window there (or its nearest ancestor of ours),
// then its topmost windowless child at the point; nil outside our windows.
TControl* FindDragTarget(const TPoint& Pos, Boolean AllowDisabled);

// ---------------------------------------------------------------------------------------
// The exception boundary: the window procedure of every control catches what its
// handlers raise and hands it to the application's handler (Application.HandleException).

using TExceptionHandler = std::function<void(TObject* Sender, std::exception_ptr Error)>;
// Installs the handler (the application does); nil restores the default, which writes
// the exception's class and message to the standard error.
void SetApplicationExceptionHandler(TExceptionHandler Handler);
// Hands the exception being handled to the application's handler.
void ApplicationHandleException(TObject* Sender);
