// Forms, the application and the screen. A form is a top-level window built in code,
// shown modeless (Show) or modal (ShowModal, a nested message loop with the other
// windows disabled). The application object creates the forms in order (the first is
// the main form), runs the message loop, routes exceptions to HandleException, drives
// hints and idle work. The screen lists the forms and knows the active one, the cursors
// and the monitor's work area. `Application` and `Screen` live while a
// TApplicationInstance does.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/ActnList.h"
#include "platform/ui/Controls.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/Menus.h"
#include "platform/win/MessageBox.h"

class TCustomForm;
class TForm;
class TApplication;
class TScreen;

// --- Enumerations and events -----------------------------------------------------------------

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TModalResult = Integer;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;
constexpr TModalResult mrClose = 11;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, Boolean& CanClose)>;
using TShortCutEvent = std::function<void(TWMKey& Msg, Boolean& Handled)>;
using TMessageEvent = std::function<void(MSG& Msg, Boolean& Handled)>;
using TIdleEvent = std::function<void(TObject* Sender, Boolean& Done)>;
using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TShowHintEvent = std::function<void(String& HintStr, Boolean& CanShow, THintInfo& HintInfo)>;

// A message loop of the application would wait for ever: the GUI thread's clock is
// virtual (tests) and nothing is queued, no timer is set, or only timers have run for a
// long stretch of virtual time. Message loops let it pass instead of handling it.
VANTREL_EXCEPTION(EMessageLoopStall, Exception);

// --- Forms -----------------------------------------------------------------------------------

class TCustomForm : public TWinControl {
  VANTREL_CLASS(TCustomForm)
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  // Runs OnCreate; an exception there goes to Application.HandleException and the form
  // is made all the same.
  void AfterConstruction() override;
  // OnDestroy, then leaves the screen, then the control's teardown.
  void BeforeDestruction() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TFormState FormState() const { return FFormState; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // The help file of the form's topics; empty: the application's.
  const String& HelpFile() const { return FHelpFile; }
  void SetHelpFile(const String& Value) { FHelpFile = Value; }
  // The form's own icon; while it is empty the window shows the application's.
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value) { FIcon->Assign(Value); }
  // The icon the window shows: its own, else the application's; nullptr: none.
  HICON GetIconHandle() const;
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  Boolean Active() const { return FActive; }
  // The focus bookkeeping of the control layer, and the screen's active control with it.
  Boolean SetFocusedControl(TWinControl* Control) override;

  void Show();
  void Hide() { SetVisible(false); }
  // OnCloseQuery, then OnClose with caHide (the main form: Application.Terminate); a
  // modal form only sets ModalResult to mrCancel.
  void Close();
  virtual Boolean CloseQuery();
  // Shows the form modally and returns its ModalResult once something set it.
  // EInvalidOperation "Cannot make a visible window modal" when it is already visible,
  // disabled or modal.
  virtual TModalResult ShowModal();
  // Frees the form once the messages pending for it are handled.
  void Release();
  void BringToFront();
  // Key message as a short cut: OnShortCut, then the main menu.
  Boolean IsShortCut(TWMKey& Message) override;
  // Runs OnUpdate of the action lists the form owns.
  void UpdateActions();

  // MDI: the client window of an fsMDIForm (its procedure may be replaced with
  // SetWindowLongPtr), the children in the order they were made, the active one, and
  // the menu that lists them.
  HWND ClientHandle() const { return FClientHandle; }
  Integer MDIChildCount() const;
  TForm* MDIChildren(Integer Index) const;
  TForm* ActiveMDIChild() const;
  TMenuItem* WindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TMenuItem* Value);

  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void WndProc(TMessage& Message) override;
  // An MDI form's client window takes the room its aligned controls leave.
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void CMVisibleChanged(TWMNoParams& Message) override;
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();

 private:
  friend class TApplication;
  friend class TScreen;
  void CloseModal();
  // Gives the window the icon it shows (on creation and whenever an icon changes).
  void IconChanged();
  void PlaceOnShow();
  void WMActivate(TMessage& Message);
  void WMClose(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void WMSysCommand(TMessage& Message);
  Boolean WMSetCursor(TMessage& Message);
  void RefreshStyles();
  static LRESULT ClientWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TFormStyle FFormStyle = fsNormal;
  TWindowState FWindowState = wsNormal;
  TPosition FPosition = poDesigned;
  TFormState FFormState;
  TModalResult FModalResult = mrNone;
  String FHelpFile;
  std::unique_ptr<TIcon> FIcon;
  TMainMenu* FMenu = nullptr;
  TMenuItem* FWindowMenu = nullptr;
  Boolean FActive = false;
  Boolean FPlaced = false;  // the Position rule ran (once, on the first show)
  Boolean FReleasePending = false;  // Release came while the modal loop ran
  HWND FClientHandle = nullptr;
};

class TForm : public TCustomForm {
  VANTREL_CLASS(TForm)
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The form a control sits on (nil when it is on none).
TCustomForm* GetParentForm(TControl* Control);
// A hint text "short|long": the part before the first "|" (all of it without one), and
// the part after it (all of it without one).
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);

namespace vantrel::ui {
// Posted to the application's window by TCustomForm::Release, the form in LParam.
constexpr UINT FormReleaseMessage = CM_BASE + 33;
}  // namespace vantrel::ui

// --- Screen ----------------------------------------------------------------------------------

class TScreen : public TComponent {
  VANTREL_CLASS(TScreen)
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  // Forms in the order they were made.
  Integer FormCount() const;
  TForm* Forms(Integer Index) const;
  Integer CustomFormCount() const { return static_cast<Integer>(FCustomForms.size()); }
  TCustomForm* CustomForms(Integer Index) const;
  TForm* ActiveForm() const;
  TCustomForm* ActiveCustomForm() const { return FActiveCustomForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }

  // Cursor shapes: the standard crXXX ones, and writable slots (skins put theirs from
  // StartCursorIndex on). A slot never set gives the arrow.
  HCURSOR Cursors(TCursor Index) const;
  void SetCursors(TCursor Index, HCURSOR Handle);
  static constexpr TCursor StartCursorIndex = 1;
  // The application-wide cursor (crDefault: each control's own).
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);

  Integer Width() const;
  Integer Height() const;
  TRect WorkAreaRect() const;
  Integer WorkAreaWidth() const;
  Integer WorkAreaHeight() const;
  HMONITOR MonitorFromWindow(HWND Handle) const;

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

 private:
  friend class TCustomForm;
  friend class TApplication;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetActiveForm(TCustomForm* Form);
  void SetFocusedControl(TWinControl* Control);

  std::vector<TCustomForm*> FCustomForms;
  TCustomForm* FActiveCustomForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  std::vector<std::pair<TCursor, HCURSOR>> FCursorSlots;
  TCursor FCursor = crDefault;
};

// --- Application -----------------------------------------------------------------------------

// Help commands (HelpCommand's Command).
constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_QUIT = 0x0002;
constexpr UINT HELP_CONTENTS = 0x0003;
constexpr UINT HELP_FINDER = 0x000B;
// Shows help: the command, its data and the help file; true when help was shown.
using THelpResponder = std::function<Boolean(UINT Command, LONG_PTR Data, const String& HelpFile)>;

class TApplication : public TComponent {
  VANTREL_CLASS(TApplication)
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;
  void BeforeDestruction() override;

  void Initialize() {}
  // Creates a form of the class with the application as owner; SetReference gets the
  // form before its OnCreate runs (nil when the constructor fails). The first TForm made
  // becomes MainForm.
  using TReferenceSetter = std::function<void(TComponent* Instance)>;
  void CreateForm(TComponentClass InstanceClass, TReferenceSetter SetReference);
  template <class T>
  void CreateForm(T*& Reference) {
    CreateForm(ComponentClassOf<T>(), [&Reference](TComponent* Instance) { Reference = dynamic_cast<T*>(Instance); });
  }
  // Shows the main form and runs the message loop until Terminate (closing the main form).
  void Run();
  void Terminate();
  Boolean Terminated() const { return FTerminated; }
  // Handles every message queued now and returns (never waits).
  void ProcessMessages();
  // Handles one message, or runs the idle work and waits for one.
  void HandleMessage();
  // The idle work: the control under the pointer, hints, OnIdle and the actions of the
  // visible forms; false when OnIdle asked to be called again at once. Message loops run
  // it when the queue is empty; tests call it from the headless session's OnIdle.
  Boolean DoApplicationIdle();

  TForm* MainForm() const { return FMainForm; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value);
  // The hidden window that owns the forms.
  HWND Handle();
  // The program's icon: the windows of forms without an icon of their own show it.
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value) { FIcon->Assign(Value); }
  Boolean MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
  void SetMainFormOnTaskBar(Boolean Value) { FMainFormOnTaskBar = Value; }
  Boolean ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(Boolean Value) { FShowMainForm = Value; }
  // Minimizes the application window (its procedure gets WM_SIZE SIZE_MINIMIZED) and
  // with it every visible form; Restore brings them back as they were. ShowWindow of
  // Handle with SW_MINIMIZE / SW_RESTORE does the same; the application window itself
  // never shows.
  void Minimize();
  void Restore();
  void BringToFront();
  // Depth of the ShowModal loops running now.
  Integer ModalLevel() const { return FModalLevel; }
  // The hint shown in the status area (the long part of the control under the pointer).
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);

  // Shows the exception (OnException, else a message box with its text; EAbort is
  // silent). Without an argument: the exception being handled now.
  void HandleException(TObject* Sender);
  void HandleException(TObject* Sender, std::exception_ptr Error);
  void ShowException(const Exception& E);
  // The window layer's message box (or its responder, Shell.h), owned by the active window.
  int MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);

  // Help goes to the responder; without one (there is no help viewer on this system)
  // nothing is shown and the calls answer False. Forms_Help.cpp.
  Boolean HelpContext(Integer Context);
  Boolean HelpCommand(UINT Command, LONG_PTR Data);
  const String& HelpFile() const { return FHelpFile; }
  void SetHelpFile(const String& Value) { FHelpFile = Value; }
  THelpResponder HelpResponder;

  // Hints.
  Boolean ShowHint() const { return FShowHint; }
  // Switching hints off frees the hint window; on again makes a new one of HintWindowClass.
  void SetShowHint(Boolean Value);
  Integer HintPause() const { return FHintPause; }
  void SetHintPause(Integer Value) { FHintPause = Value; }
  Integer HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(Integer Value) { FHintShortPause = Value; }
  Integer HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(Integer Value) { FHintHidePause = Value; }
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  THintWindow* HintWindow() const { return FHintWindow; }
  void ActivateHint(const TPoint& CursorPos);
  void CancelHint();
  void HideHint();
  // The class the hint window is made of (THintWindow by default).
  static THintWindowClass HintWindowClass;

  TMessageEvent OnMessage;
  TIdleEvent OnIdle;
  TExceptionEvent OnException;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnHint;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TCustomForm;
  Boolean ProcessMessage(MSG& Msg);
  Boolean IsKeyMsg(MSG& Msg);
  Boolean IsHintMsg(MSG& Msg);
  void Idle();
  void WaitForMessage();
  void WndProc(TMessage& Message);
  void HintTimerExpired(UINT_PTR Id);
  void StartHintTimer(Integer Value, UINT_PTR Id);
  void StopHintTimer();
  void HintIdle();
  void ModalStarted();
  void ModalFinished() { --FModalLevel; }
  void IconifyForms();
  void RestoreForms();

  void IconChanged();

  TForm* FMainForm = nullptr;
  String FTitle;
  std::unique_ptr<TIcon> FIcon;
  HWND FHandle = nullptr;
  WNDPROC FObjectInstance = nullptr;
  Boolean FMainFormOnTaskBar = false;
  Boolean FShowMainForm = true;
  Boolean FTerminated = false;
  Integer FModalLevel = 0;
  String FHint;
  uint64_t FLastWork = 0;  // clock time of the last message that was not a timer's
  TReferenceSetter FPendingReference;  // of the form CreateForm is making
  String FHelpFile;
  Boolean FIconic = false;  // the application window is minimized
  std::vector<std::pair<TCustomForm*, TWindowState>> FIconified;  // forms minimized with it
  String FPendingClass;

  Boolean FShowHint = true;
  Boolean FHintActive = false;
  Integer FHintPause = 500;
  Integer FHintShortPause = 50;
  Integer FHintHidePause = 2500;
  TColor FHintColor = clInfoBk;
  THintWindow* FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  TRect FHintCursorRect{};  // screen coordinates
  UINT_PTR FHintTimer = 0;  // running timer id on Handle, 0: none
};

// The application's objects: created by TApplicationInstance, nil outside its life.
extern TApplication* Application;
extern TScreen* Screen;

// Makes Screen and Application (in that order) and frees them in reverse; the window
// system must exist for the whole of its life. One at a time.
class TApplicationInstance {
 public:
  TApplicationInstance();
  ~TApplicationInstance();
  TApplicationInstance(const TApplicationInstance&) = delete;
  TApplicationInstance& operator=(const TApplicationInstance&) = delete;
};
