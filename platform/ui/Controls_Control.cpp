// TControl: geometry, state properties with their CM_* notifications, the message path
// and the mouse handlers every control shares.
#include <algorithm>
#include <cstring>
#include <cwctype>

#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Controls_WinApi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"

TShiftState KeysToShiftState(UINT Keys) {
  TShiftState Shift;
  if (Keys & MK_SHIFT) Shift.Include(ssShift);
  if (Keys & MK_CONTROL) Shift.Include(ssCtrl);
  if (Keys & MK_LBUTTON) Shift.Include(ssLeft);
  if (Keys & MK_RBUTTON) Shift.Include(ssRight);
  if (Keys & MK_MBUTTON) Shift.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) Shift.Include(ssAlt);
  return Shift;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState Shift;
  if (GetKeyState(VK_SHIFT) < 0) Shift.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) Shift.Include(ssCtrl);
  if (static_cast<uintptr_t>(KeyData) & (uintptr_t{KF_ALTDOWN} << 16)) Shift.Include(ssAlt);
  return Shift;
}

Boolean IsAccel(Word VK, const String& Str) {
  const std::u32string S = Utf8ToCodePoints(Str);
  for (size_t I = 0; I + 1 < S.size(); ++I) {
    if (S[I] != U'&') continue;
    if (S[I + 1] == U'&') {  // a plain "&"
      ++I;
      continue;
    }
    const auto Fold = [](char32_t C) { return static_cast<char32_t>(std::towlower(static_cast<wint_t>(C))); };
    return Fold(S[I + 1]) == Fold(VK);
  }
  return false;
}

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FFont(std::make_unique<TFont>()), FConstraints(std::make_unique<TSizeConstraints>(this)) {
  WindowProc = [this](TMessage& Message) { WndProc(Message); };
  ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
  FConstraints->OnChange = [this](TObject*) { ConstraintsChanged(); };
}

TControl::~TControl() {
  // Deleted without Free: still leave the parent and the mouse state.
  vantrel::ui::detail::ControlGone(this);
  if (FParent) FParent->RemoveControl(this);
}

void TControl::BeforeDestruction() {
  vantrel::ui::detail::ControlGone(this);
  if (FParent) SetParent(nullptr);
  TComponent::BeforeDestruction();
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  for (TControl* P = AParent; P; P = P->FParent)
    if (P == this) throw EInvalidOperation("A control cannot be placed inside itself");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
  UpdateAnchorRules();
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  InvalidateControl(FVisible, false);
  const bool Sized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (Sized) Resize();
}

TRect TControl::ClientRect() { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientSize(Integer AWidth, Integer AHeight) {
  const TRect C = ClientRect();
  SetBounds(FLeft, FTop, FWidth - C.Right + AWidth, FHeight - C.Bottom + AHeight);
}

TPoint TControl::ClientOrigin() {
  if (!FParent) throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  const TPoint P = FParent->ClientOrigin();
  return {P.X + FLeft, P.Y + FTop};
}

TPoint TControl::ClientToScreen(const TPoint& Point) {
  const TPoint O = ClientOrigin();
  return {Point.X + O.X, Point.Y + O.Y};
}

TPoint TControl::ScreenToClient(const TPoint& Point) {
  const TPoint O = ClientOrigin();
  return {Point.X - O.X, Point.Y - O.Y};
}

void TControl::SetVisible(Boolean Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  if (!Value) vantrel::ui::detail::ControlHidden(this);
  RequestAlign();
}

void TControl::SetEnabled(Boolean Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

String TControl::GetText() {
  const LRESULT Len = Perform(WM_GETTEXTLENGTH, 0, 0);
  if (Len <= 0) return {};
  // Lengths count code points; a code point takes up to four bytes.
  std::string Buffer(static_cast<size_t>(Len) * 4 + 1, '\0');
  Perform(WM_GETTEXT, Buffer.size(), reinterpret_cast<LPARAM>(Buffer.data()));
  Buffer.resize(std::strlen(Buffer.c_str()));
  return Buffer;
}

void TControl::SetText(const String& Value) {
  if (GetText() == Value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
  if (!FUpdatingFont) FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(Boolean Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (FParent && Value) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(Boolean Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (FParent && Value) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(Boolean Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(Boolean Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (FParent && Value) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenuComponent(TPopupMenu* Menu, TComponent* AsComponent) {
  if (FPopupMenuComponent) FPopupMenuComponent->RemoveFreeNotification(this);
  FPopupMenu = Menu;
  FPopupMenuComponent = AsComponent;
  if (AsComponent) AsComponent->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FPopupMenuComponent) {
    FPopupMenu = nullptr;
    FPopupMenuComponent = nullptr;
  }
  if (Operation == opRemove && FActionLink && AComponent == FActionLink->Action()) FActionLink.reset();
}

// --- Messages ------------------------------------------------------------------------------

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage Message{Msg, WParam, LParam, 0};
  WindowProc(Message);
  return Message.Result;
}

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A control that does not take double clicks sees a second press.
      if (Message.Msg == WM_LBUTTONDBLCLK && !ControlStyle.Contains(csDoubleClicks))
        Message.Msg = WM_LBUTTONDOWN;
      ControlState.Include(csLButtonDown);
      break;
    case WM_LBUTTONUP:
      ControlState.Exclude(csLButtonDown);
      break;
    case WM_RBUTTONDBLCLK:
      if (!ControlStyle.Contains(csDoubleClicks)) Message.Msg = WM_RBUTTONDOWN;
      break;
    case WM_MBUTTONDBLCLK:
      if (!ControlStyle.Contains(csDoubleClicks)) Message.Msg = WM_MBUTTONDOWN;
      break;
    default:
      break;
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: { TWMMouse M(Message); WMLButtonDown(M); return; }
    case WM_LBUTTONUP: { TWMMouse M(Message); WMLButtonUp(M); return; }
    case WM_LBUTTONDBLCLK: { TWMMouse M(Message); WMLButtonDblClk(M); return; }
    case WM_RBUTTONDOWN: { TWMMouse M(Message); WMRButtonDown(M); return; }
    case WM_RBUTTONUP: { TWMMouse M(Message); WMRButtonUp(M); return; }
    case WM_RBUTTONDBLCLK: { TWMMouse M(Message); WMRButtonDblClk(M); return; }
    case WM_MBUTTONDOWN: { TWMMouse M(Message); WMMButtonDown(M); return; }
    case WM_MBUTTONUP: { TWMMouse M(Message); WMMButtonUp(M); return; }
    case WM_MBUTTONDBLCLK: { TWMMouse M(Message); WMMButtonDblClk(M); return; }
    case WM_MOUSEMOVE: { TWMMouse M(Message); WMMouseMove(M); return; }
    case WM_MOUSEWHEEL: WMMouseWheel(Message); return;
    case WM_CANCELMODE: { TWMNoParams M(Message); WMCancelMode(M); return; }
    case CM_ENABLEDCHANGED: { TWMNoParams M(Message); CMEnabledChanged(M); return; }
    case CM_VISIBLECHANGED: { TWMNoParams M(Message); CMVisibleChanged(M); return; }
    case CM_TEXTCHANGED: { TWMNoParams M(Message); CMTextChanged(M); return; }
    case CM_FONTCHANGED: { TWMNoParams M(Message); CMFontChanged(M); return; }
    case CM_COLORCHANGED: { TWMNoParams M(Message); CMColorChanged(M); return; }
    case CM_PARENTFONTCHANGED: { TWMNoParams M(Message); CMParentFontChanged(M); return; }
    case CM_PARENTCOLORCHANGED: { TWMNoParams M(Message); CMParentColorChanged(M); return; }
    case CM_PARENTSHOWHINTCHANGED: { TWMNoParams M(Message); CMParentShowHintChanged(M); return; }
    case CM_MOUSEENTER: { TWMNoParams M(Message); CMMouseEnter(M); return; }
    case CM_MOUSELEAVE: { TWMNoParams M(Message); CMMouseLeave(M); return; }
    case CM_CANCELMODE: { TCMCancelMode M(Message); CMCancelMode(M); return; }
    case CM_DIALOGKEY: { TCMDialogKey M(Message); CMDialogKey(M); return; }
    case CM_DIALOGCHAR: { TCMDialogChar M(Message); CMDialogChar(M); return; }
    case CM_FOCUSCHANGED: { TCMFocusChanged M(Message); CMFocusChanged(M); return; }
    default: DefaultHandler(Message); return;
  }
}

// A windowless control keeps its text itself.
void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      auto* Buffer = reinterpret_cast<char*>(Message.LParam);
      const size_t Size = static_cast<size_t>(Message.WParam);
      if (!Buffer || Size == 0) {
        Message.Result = 0;
        return;
      }
      size_t N = std::min(FText.size(), Size - 1);
      while (N > 0 && N < FText.size() && (static_cast<unsigned char>(FText[N]) & 0xC0) == 0x80) --N;
      std::memcpy(Buffer, FText.data(), N);
      Buffer[N] = '\0';
      Message.Result = Utf8Length(FText.substr(0, N));
      return;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = Utf8Length(FText);
      return;
    case WM_SETTEXT:
      FText = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
      Message.Result = TRUE;
      return;
    default:
      return;
  }
}

// --- Painting ------------------------------------------------------------------------------

void TControl::InvalidateControl(Boolean IsVisible, Boolean IsOpaque) {
  if (!IsVisible || !FParent || !FParent->HandleAllocated()) return;
  const RECT R = BoundsRect();
  InvalidateRect(FParent->Handle(), &R, IsOpaque ? FALSE : TRUE);
}

void TControl::Invalidate() { InvalidateControl(FVisible, ControlStyle.Contains(csOpaque)); }

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::SetZOrder(Boolean TopMost) {
  if (!FParent) return;
  auto& List = FParent->FControls;
  const auto It = std::find(List.begin(), List.end(), this);
  if (It == List.end()) return;
  List.erase(It);
  if (TopMost)
    List.push_back(this);
  else
    List.insert(List.begin(), this);
  Invalidate();
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

// --- Mouse ---------------------------------------------------------------------------------

Boolean TControl::MouseCapture() { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(Boolean Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

void TControl::Click() {
  // A handler of the control's own wins over the action's OnExecute.
  if (OnClick)
    OnClick(this);
  else if (FActionLink && FActionLink->Action())
    FActionLink->Execute(this);
}

void TControl::Show() {
  if (FParent) FParent->ShowControl(this);
  SetVisible(true);
}

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* Value) {
  if (FActionLink && FActionLink->Action()) FActionLink->Action()->RemoveFreeNotification(this);
  if (!Value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) {
    FActionLink = std::make_unique<TControlActionLink>(this);
    FActionLink->OnChange = [this](TObject* Sender) { ActionChange(Sender); };
  }
  FActionLink->SetAction(Value);
  Value->FreeNotification(this);
}

void TControl::ActionChange(TObject*) {}

void TControl::Changed() {
  if (FParent) FParent->Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift) {
  if (ControlStyle.Contains(csNoStdEvents)) return;
  MouseDown(Button, KeysToShiftState(Message.Keys()) + Shift, Message.XPos(), Message.YPos());
}

void TControl::DoMouseUp(TWMMouse& Message, TMouseButton Button) {
  if (ControlStyle.Contains(csNoStdEvents)) return;
  MouseUp(Button, KeysToShiftState(Message.Keys()), Message.XPos(), Message.YPos());
}

void TControl::SendCancelMode(TControl* Sender) {
  TWinControl* Focus = TWinControl::FindControl(GetFocus());
  if (Focus && Focus != Sender) Focus->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

void TControl::WMLButtonDown(TWMMouse& Message) {
  SendCancelMode(this);
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (ControlStyle.Contains(csClickEvents)) ControlState.Include(csClicked);
  DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TWMMouse& Message) {
  SendCancelMode(this);
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (ControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TWMMouse& Message) {
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (ControlState.Contains(csClicked)) {
    ControlState.Exclude(csClicked);
    const TRect C = ClientRect();
    if (PtInRect(&C, Message.Pos())) Click();
  }
  DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TWMMouse& Message) { DoMouseDown(Message, mbRight, {}); }
// The default procedure turns a right-button release into WM_CONTEXTMENU.
void TControl::WMRButtonUp(TWMMouse& Message) {
  DefaultHandler(Message.M);
  DoMouseUp(Message, mbRight);
}
void TControl::WMRButtonDblClk(TWMMouse& Message) { DoMouseDown(Message, mbRight, {ssDouble}); }
void TControl::WMMButtonDown(TWMMouse& Message) { DoMouseDown(Message, mbMiddle, {}); }
void TControl::WMMButtonUp(TWMMouse& Message) { DoMouseUp(Message, mbMiddle); }
void TControl::WMMButtonDblClk(TWMMouse& Message) { DoMouseDown(Message, mbMiddle, {ssDouble}); }

void TControl::WMMouseMove(TWMMouse& Message) {
  if (ControlStyle.Contains(csNoStdEvents)) return;
  MouseMove(KeysToShiftState(Message.Keys()), Message.XPos(), Message.YPos());
}

void TControl::WMCancelMode(TWMNoParams&) {
  ControlState.Exclude(csClicked);
  ControlState.Exclude(csLButtonDown);
  if (MouseCapture()) SetMouseCapture(false);
}

// --- Notifications -------------------------------------------------------------------------

void TControl::CMEnabledChanged(TWMNoParams&) { Invalidate(); }

void TControl::CMVisibleChanged(TWMNoParams&) { InvalidateControl(true, FVisible && ControlStyle.Contains(csOpaque)); }

void TControl::CMTextChanged(TWMNoParams&) {}

void TControl::CMFontChanged(TWMNoParams&) { Invalidate(); }

void TControl::CMColorChanged(TWMNoParams&) { Invalidate(); }

void TControl::CMParentFontChanged(TWMNoParams&) {
  if (!FParentFont || !FParent) return;
  FUpdatingFont = true;
  try {
    FFont->Assign(FParent->Font());
  } catch (...) {
    FUpdatingFont = false;
    throw;
  }
  FUpdatingFont = false;
}

void TControl::CMParentColorChanged(TWMNoParams&) {
  if (!FParentColor || !FParent) return;
  SetColor(FParent->Color());
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TWMNoParams&) {
  if (!FParentShowHint || !FParent) return;
  SetShowHint(FParent->ShowHint());
  FParentShowHint = true;
}

void TControl::CMMouseEnter(TWMNoParams&) {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TControl::CMMouseLeave(TWMNoParams&) {
  if (OnMouseLeave) OnMouseLeave(this);
}
void TControl::CMCancelMode(TCMCancelMode&) {}
void TControl::CMDialogKey(TCMDialogKey& Message) { DefaultHandler(Message.M); }
void TControl::CMDialogChar(TCMDialogChar& Message) { DefaultHandler(Message.M); }
void TControl::CMFocusChanged(TCMFocusChanged& Message) { DefaultHandler(Message.M); }
