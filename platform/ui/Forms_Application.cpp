// TApplication: form creation, the message loop (OnMessage first, then short cuts, then
// dispatch), idle work, hints on the application's own timers, exceptions, and the
// application's objects Application and Screen.
#include <algorithm>
#include <cstdio>

#include "platform/rtl/Format.h"
#include "platform/ui/Controls_WinApi.h"
#include "platform/ui/Forms.h"
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;
THintWindowClass TApplication::HintWindowClass = ComponentClassOf<THintWindow>();

namespace {

constexpr const char* AppWindowClassName = "TApplication";
constexpr UINT_PTR ShowHintTimer = 1;
constexpr UINT_PTR HideHintTimer = 2;
// On a virtual clock, a loop that has seen only timers for this long waits for nothing.
constexpr uint64_t StallAfterMs = 60 * 1000;

uint64_t ClockNow() {
  vantrel::win::WindowManager* M = vantrel::win::WindowManager::Instance();
  return M ? M->GetClock().Now() : 0;
}

}  // namespace

String GetShortHint(const String& Hint) {
  const size_t Bar = Hint.find('|');
  return Bar == String::npos ? Hint : Hint.substr(0, Bar);
}

String GetLongHint(const String& Hint) {
  const size_t Bar = Hint.find('|');
  return Bar == String::npos ? Hint : Hint.substr(Bar + 1);
}

// --- Life ------------------------------------------------------------------------------------

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), FIcon(std::make_unique<TIcon>()) {
  FIcon->OnChange = [this](TObject*) { IconChanged(); };
  FShowHint = false;
  SetShowHint(true);
  SetApplicationExceptionHandler([this](TObject* Sender, std::exception_ptr Error) { HandleException(Sender, Error); });
}

TApplication::~TApplication() {
  if (FHandle && IsWindow(FHandle)) {
    SetWindowLongPtr(FHandle, GWL_WNDPROC, WndProcToLong(MakeWndProc(&DefWindowProc)));
    DestroyWindow(FHandle);
  }
  try {
    FreeObjectInstance(FObjectInstance);
  } catch (...) {  // still installed: reported already
  }
}

void TApplication::BeforeDestruction() {
  SetApplicationExceptionHandler(nullptr);
  StopHintTimer();
  if (FHintControl) FHintControl->RemoveFreeNotification(this);
  FHintControl = nullptr;
  // The forms go (last made first) while the application is whole.
  TComponent::BeforeDestruction();
  if (FHandle && IsWindow(FHandle)) DestroyWindow(FHandle);
  FHandle = nullptr;
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHintWindow) FHintWindow = nullptr;
  if (AComponent == FHintControl) {
    FHintControl = nullptr;
    FHintActive = false;
    StopHintTimer();
  }
  if (AComponent == FMainForm) FMainForm = nullptr;
}

HWND TApplication::Handle() {
  if (FHandle) return FHandle;
  WNDCLASS Existing{};
  if (!GetClassInfo(nullptr, AppWindowClassName, &Existing)) {
    WNDCLASS Class{};
    Class.lpfnWndProc = MakeWndProc(&DefWindowProc);
    Class.lpszClassName = AppWindowClassName;
    RegisterClass(&Class);
  }
  FHandle = CreateWindowEx(WS_EX_TOOLWINDOW, AppWindowClassName, FTitle.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                           0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (!FHandle) throw EOutOfResources("Error creating window class TApplication");
  if (!FObjectInstance) FObjectInstance = MakeObjectInstance([this](TMessage& Message) { WndProc(Message); });
  SetWindowLongPtr(FHandle, GWL_WNDPROC, WndProcToLong(FObjectInstance));
  return FHandle;
}

void TApplication::WndProc(TMessage& Message) {
  try {
    switch (Message.Msg) {
      case WM_TIMER:
        HintTimerExpired(static_cast<UINT_PTR>(Message.WParam));
        return;
      case vantrel::ui::FormReleaseMessage: {
        // Only a form that still exists is freed.
        auto* Form = reinterpret_cast<TCustomForm*>(Message.LParam);
        if (Screen)
          for (Integer I = 0; I < Screen->CustomFormCount(); ++I)
            if (Screen->CustomForms(I) == Form) {
              // A form whose modal loop still runs goes when the loop has ended.
              if (Form->FFormState.Contains(fsModal))
                Form->FReleasePending = true;
              else
                Form->Free();
              break;
            }
        return;
      }
      case WM_CLOSE:
        if (FMainForm) FMainForm->Close();
        return;
      case WM_WINDOWPOSCHANGING:
        // Minimized or restored, the application window stays hidden: the forms show.
        reinterpret_cast<WINDOWPOS*>(Message.LParam)->flags &= ~SWP_SHOWWINDOW;
        Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
      case WM_SIZE:
        Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
        if (Message.WParam == SIZE_MINIMIZED && !FIconic) {
          FIconic = true;
          IconifyForms();
          if (OnMinimize) OnMinimize(this);
        } else if (Message.WParam == SIZE_RESTORED && FIconic) {
          FIconic = false;
          RestoreForms();
          if (OnRestore) OnRestore(this);
        }
        return;
      default:
        Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
    }
  } catch (...) {
    HandleException(this);
  }
}

void TApplication::SetTitle(const String& Value) {
  FTitle = Value;
  if (FHandle) SetWindowText(FHandle, Value.c_str());
}

void TApplication::IconChanged() {
  if (FHandle) SendMessage(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon->Handle()));
  if (!Screen) return;
  for (Integer I = 0; I < Screen->CustomFormCount(); ++I) {
    TCustomForm* F = Screen->CustomForms(I);
    if (F->Icon()->Empty()) F->IconChanged();
  }
}

void TApplication::CreateForm(TComponentClass InstanceClass, TReferenceSetter SetReference) {
  if (!InstanceClass) throw EInvalidOperation("CreateForm: no form class");
  FPendingReference = SetReference;
  FPendingClass = InstanceClass.ClassName ? InstanceClass.ClassName : "";
  TComponent* Instance = nullptr;
  try {
    Instance = InstanceClass.Create(this);
  } catch (...) {
    FPendingReference = nullptr;
    if (SetReference) SetReference(nullptr);
    throw;
  }
  // A class that is no form (or took no reference) still hands itself back.
  if (FPendingReference && SetReference) SetReference(Instance);
  FPendingReference = nullptr;
  if (!FMainForm)
    if (auto* Form = dynamic_cast<TForm*>(Instance)) {
      Form->HandleNeeded();
      FMainForm = Form;
      FMainForm->FreeNotification(this);
    }
}

// --- The loop --------------------------------------------------------------------------------

void TApplication::Run() {
  if (!FMainForm) return;
  FLastWork = ClockNow();
  if (FShowMainForm) {
    if (FMainForm->WindowState() == wsMinimized)
      Minimize();
    else
      FMainForm->SetVisible(true);
  }
  while (!FTerminated) {
    try {
      HandleMessage();
    } catch (const EMessageLoopStall&) {
      throw;
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::ModalStarted() {
  ++FModalLevel;
  FLastWork = ClockNow();
}

Boolean TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  if (Msg.message != WM_TIMER && Msg.message != WM_PAINT && Msg.message != WM_NCPAINT) FLastWork = ClockNow();
  try {
    Boolean Handled = false;
    // A copy: the handler may put another in its place while it runs.
    if (const TMessageEvent Hook = OnMessage) Hook(Msg, Handled);
    if (!Handled && !IsHintMsg(Msg) && !IsKeyMsg(Msg) && !IsControlKeyMsg(Msg)) {
      TranslateMessage(&Msg);
      DispatchMessage(&Msg);
    }
  } catch (const EMessageLoopStall&) {
    throw;
  } catch (...) {
    HandleException(this);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG Msg;
  while (ProcessMessage(Msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG Msg;
  if (!ProcessMessage(Msg)) Idle();
}

// Key-down messages as short cuts of the popup menus of the control and its parents; the
// form's own (OnShortCut, main menu) come through the control layer's key path.
Boolean TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN) return false;
  TWinControl* Target = nullptr;
  for (HWND W = Msg.hwnd; W && !Target; W = GetParent(W)) Target = TWinControl::FindControl(W);
  if (!Target) return false;
  TMessage M{Msg.message, Msg.wParam, Msg.lParam, 0};
  TWMKey Key(M);
  for (TControl* C = Target; C; C = C->Parent())
    if (C->PopupMenu() && C->PopupMenu()->IsShortCut(Key)) return true;
  return false;
}

// A press or a key ends a hint on show; the message goes on.
Boolean TApplication::IsHintMsg(MSG& Msg) {
  switch (Msg.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (FHintActive || (FHintWindow && FHintWindow->IsHintShowing())) CancelHint();
      break;
    default:
      break;
  }
  return false;
}

void TApplication::Idle() {
  if (DoApplicationIdle()) WaitForMessage();
}

Boolean TApplication::DoApplicationIdle() {
  Boolean Done = true;
  try {
    DoMouseIdle();
    HintIdle();
    if (OnIdle) OnIdle(this, Done);
    if (Done && Screen)
      for (Integer I = 0; I < Screen->CustomFormCount(); ++I) {
        TCustomForm* Form = Screen->CustomForms(I);
        if (Form->HandleAllocated() && IsWindowVisible(Form->FHandle) && IsWindowEnabled(Form->FHandle))
          Form->UpdateActions();
      }
  } catch (...) {
    HandleException(this);
  }
  return Done;
}

void TApplication::WaitForMessage() {
  vantrel::win::WindowManager* M = vantrel::win::WindowManager::Instance();
  if (!M) throw EMessageLoopStall("The message loop has no window system to wait on");
  if (M->GetClock().IsVirtual()) {
    MSG Probe;
    if (PeekMessage(&Probe, nullptr, 0, 0, PM_NOREMOVE)) return;
    const uint64_t Due = M->Timers().EarliestDue();
    if (Due == vantrel::win::NoDeadline)
      throw EMessageLoopStall("The message loop would wait for ever: nothing is queued and no timer is set");
    if (Due > FLastWork && Due - FLastWork > StallAfterMs)
      throw EMessageLoopStall("The message loop would wait for ever: only timers have run for a minute");
  }
  WaitMessage();
}

// --- Exceptions and messages -----------------------------------------------------------------

void TApplication::HandleException(TObject* Sender) { HandleException(Sender, std::current_exception()); }

void TApplication::HandleException(TObject* Sender, std::exception_ptr Error) {
  if (!Error) return;
  try {
    std::rethrow_exception(Error);
  } catch (const EAbort&) {
    // Silent by design.
  } catch (const Exception& E) {
    if (OnException)
      OnException(Sender, E);
    else
      ShowException(E);
  } catch (const std::exception& E) {
    const Exception Wrapped(E.what());
    if (OnException)
      OnException(Sender, Wrapped);
    else
      ShowException(Wrapped);
  } catch (...) {
    const Exception Wrapped("Unknown exception");
    if (OnException)
      OnException(Sender, Wrapped);
    else
      ShowException(Wrapped);
  }
}

void TApplication::ShowException(const Exception& E) {
  String Msg = E.Message();
  if (!Msg.empty() && static_cast<unsigned char>(Msg.back()) > '.') Msg += '.';
  MessageBox(Msg, FTitle, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
  HWND Owner = GetActiveWindow();
  if (!Owner && FMainForm && FMainForm->HandleAllocated()) Owner = FMainForm->Handle();
  return ::MessageBox(Owner ? Owner : Handle(), Text, Caption, Flags);
}

// --- Window states ---------------------------------------------------------------------------

void TApplication::Minimize() {
  if (!IsIconic(Handle())) ShowWindow(Handle(), SW_MINIMIZE);
}

void TApplication::Restore() {
  if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
}

void TApplication::IconifyForms() {
  FIconified.clear();
  if (!Screen) return;
  std::vector<TCustomForm*> Forms;
  for (Integer I = 0; I < Screen->CustomFormCount(); ++I) Forms.push_back(Screen->CustomForms(I));
  for (TCustomForm* Form : Forms)
    if (Form->HandleAllocated() && IsWindowVisible(Form->Handle()) && !IsIconic(Form->Handle())) {
      FIconified.emplace_back(Form, Form->WindowState());
      ShowWindow(Form->Handle(), SW_MINIMIZE);
    }
}

void TApplication::RestoreForms() {
  const auto Iconified = std::move(FIconified);
  FIconified.clear();
  if (!Screen) return;
  for (const auto& [Form, State] : Iconified) {
    bool Alive = false;
    for (Integer I = 0; I < Screen->CustomFormCount() && !Alive; ++I) Alive = Screen->CustomForms(I) == Form;
    if (Alive && Form->HandleAllocated() && IsIconic(Form->Handle()))
      ShowWindow(Form->Handle(), State == wsMaximized ? SW_SHOWMAXIMIZED : SW_RESTORE);
  }
}

void TApplication::BringToFront() {
  if (FMainForm) FMainForm->BringToFront();
}

void TApplication::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint) OnHint(this);
}

// --- Hints -----------------------------------------------------------------------------------

void TApplication::SetShowHint(Boolean Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (Value) {
    TComponent* Made = HintWindowClass.Create(this);
    FHintWindow = dynamic_cast<THintWindow*>(Made);
    if (!FHintWindow) {
      FreeObject(Made);
      throw EInvalidOperation("The hint window class makes no hint window");
    }
    FHintWindow->SetColor(FHintColor);
  } else {
    CancelHint();
    THintWindow* Old = FHintWindow;
    FHintWindow = nullptr;
    FreeObject(Old);
  }
}

void TApplication::StartHintTimer(Integer Value, UINT_PTR Id) {
  StopHintTimer();
  if (!vantrel::win::WindowManager::Instance()) return;
  if (SetTimer(Handle(), Id, static_cast<UINT>(std::max(Value, 1)), nullptr)) FHintTimer = Id;
}

void TApplication::StopHintTimer() {
  if (!FHintTimer) return;
  if (FHandle && IsWindow(FHandle)) KillTimer(FHandle, FHintTimer);
  FHintTimer = 0;
}

void TApplication::HintTimerExpired(UINT_PTR Id) {
  if (Id != FHintTimer) return;
  StopHintTimer();
  if (Id == ShowHintTimer) {
    POINT P{};
    GetCursorPos(&P);
    ActivateHint(P);
  } else if (Id == HideHintTimer) {
    HideHint();
  }
}

// The control that owns the hint under the pointer: the nearest with ShowHint.
void TApplication::HintIdle() {
  vantrel::win::WindowManager* M = vantrel::win::WindowManager::Instance();
  if (!M) return;
  POINT P{};
  GetCursorPos(&P);
  TControl* Under = FindDragTarget(P, false);
  SetHint(Under ? GetLongHint(Under->Hint()) : String());
  if (!FShowHint) return;
  TControl* Control = Under;
  while (Control && !Control->ShowHint()) Control = Control->Parent();
  if (!Control || Control->Hint().empty()) {
    if (FHintControl) CancelHint();
    return;
  }
  if (Control == FHintControl) return;
  const bool WasActive = FHintActive;
  HideHint();
  if (FHintControl) FHintControl->RemoveFreeNotification(this);
  FHintControl = Control;
  FHintControl->FreeNotification(this);
  // Moving from one hint to the next shows the next sooner.
  StartHintTimer(WasActive ? FHintShortPause : FHintPause, ShowHintTimer);
}

void TApplication::ActivateHint(const TPoint& CursorPos) {
  if (!FHintControl || !FShowHint || !FHintWindow) return;
  THintInfo Info;
  Info.HintControl = FHintControl;
  Info.HintWindowClass = HintWindowClass;
  Info.HintPos = Point(CursorPos.X, CursorPos.Y + GetSystemMetrics(SM_CYCURSOR));
  Info.HintMaxWidth = Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
  Info.HintColor = FHintColor;
  Info.CursorRect = FHintControl->ClientRect();
  Info.CursorPos = FHintControl->ScreenToClient(CursorPos);
  Info.HideTimeout = FHintHidePause;
  Info.HintStr = GetShortHint(FHintControl->Hint());
  Boolean CanShow = true;
  if (OnShowHint) OnShowHint(Info.HintStr, CanShow, Info);
  if (!FHintWindow || !FHintControl) return;  // the handler may have changed hints
  if (!CanShow || Info.HintStr.empty()) {
    HideHint();
    return;
  }
  FHintWindow->SetColor(Info.HintColor);
  TRect R = FHintWindow->CalcHintRect(Info.HintMaxWidth, Info.HintStr, Info.HintData);
  OffsetRect(&R, Info.HintPos.X, Info.HintPos.Y);
  FHintWindow->ActivateHintData(R, Info.HintStr, Info.HintData);
  FHintActive = true;
  if (Info.HideTimeout > 0) StartHintTimer(Info.HideTimeout, HideHintTimer);
}

void TApplication::HideHint() {
  StopHintTimer();
  if (FHintWindow && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()))
    ShowWindow(FHintWindow->Handle(), SW_HIDE);
}

void TApplication::CancelHint() {
  HideHint();
  if (FHintWindow) FHintWindow->ReleaseHandle();
  if (FHintControl) FHintControl->RemoveFreeNotification(this);
  FHintControl = nullptr;
  FHintActive = false;
}

// --- The application's objects ---------------------------------------------------------------

TApplicationInstance::TApplicationInstance() {
  if (Application || Screen) throw EInvalidOperation("The application exists already");
  Screen = ::Create<TScreen>(nullptr);
  try {
    Application = ::Create<TApplication>(nullptr);
  } catch (...) {
    FreeAndNil(Screen);
    throw;
  }
}

TApplicationInstance::~TApplicationInstance() {
  TApplication* App = Application;
  App->Free();
  Application = nullptr;
  FreeAndNil(Screen);
}
