// Keys on their way to a control. The application's loop first hands each key message to
// its control as CN_KEYDOWN/CN_CHAR/... (IsControlKeyMsg): menu shortcuts, then Tab,
// Enter, Esc and the arrows as dialog keys unless the control wants them, then
// accelerators. What is left is translated and dispatched as WM_KEYDOWN/WM_CHAR/..., where
// the top-level control's key preview and the control's key events see it.
#include "platform/ui/Controls.h"
#include "platform/ui/Controls_WinApi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"

Boolean IsControlKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND Wnd = GetCapture();
  if (Wnd) {
    if (!TWinControl::FindControl(Wnd)) return false;
  } else {
    // The nearest window of ours: other windows know nothing of CN_* messages.
    Wnd = Msg.hwnd;
    while (Wnd && !TWinControl::FindControl(Wnd)) Wnd = GetParent(Wnd);
    if (!Wnd) return false;
  }
  return SendMessage(Wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

// --- Key events ----------------------------------------------------------------------------

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

namespace {

// Runs Event on the key of Message; a handler that changed the key changes the message,
// one that cleared it consumes it.
template <class Fn>
bool RunKeyEvent(TWMKey& Message, Fn&& Event) {
  Word Key = Message.CharCode();
  Event(Key);
  Message.M.WParam = (Message.M.WParam & ~WPARAM{0xFFFF}) | Key;
  return Key == 0;
}

}  // namespace

Boolean TWinControl::DoKeyDown(TWMKey& Message) {
  TWinControl* Root = TopLevelControl(this);
  if (Root && Root != this && Root->FKeyPreview && Root->DoKeyDown(Message)) return true;
  if (ControlStyle.Contains(csNoStdEvents)) return false;
  const TShiftState Shift = KeyDataToShiftState(Message.KeyData());
  return RunKeyEvent(Message, [&](Word& Key) { KeyDown(Key, Shift); });
}

Boolean TWinControl::DoKeyUp(TWMKey& Message) {
  TWinControl* Root = TopLevelControl(this);
  if (Root && Root != this && Root->FKeyPreview && Root->DoKeyUp(Message)) return true;
  if (ControlStyle.Contains(csNoStdEvents)) return false;
  const TShiftState Shift = KeyDataToShiftState(Message.KeyData());
  return RunKeyEvent(Message, [&](Word& Key) { KeyUp(Key, Shift); });
}

Boolean TWinControl::DoKeyPress(TWMKey& Message) {
  TWinControl* Root = TopLevelControl(this);
  if (Root && Root != this && Root->FKeyPreview && Root->DoKeyPress(Message)) return true;
  if (ControlStyle.Contains(csNoStdEvents)) return false;
  // A character is a whole code point, not a 16-bit key code.
  char32_t Ch = static_cast<char32_t>(Message.M.WParam);
  KeyPress(Ch);
  Message.M.WParam = Ch;
  return Ch == 0;
}

void TWinControl::WMKeyDown(TWMKey& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message.M);
}

void TWinControl::WMKeyUp(TWMKey& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message.M);
}

void TWinControl::WMChar(TWMKey& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message.M);
}

void TWinControl::WMSysKeyDown(TWMKey& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message.M);
}

void TWinControl::WMSysKeyUp(TWMKey& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message.M);
}

void TWinControl::WMGetDlgCode(TWMNoParams& Message) { DefaultHandler(Message.M); }

// --- Pre-processing ------------------------------------------------------------------------

Boolean TWinControl::IsShortCut(TWMKey&) { return false; }

void TWinControl::CNKeyDown(TWMKey& Message) {
  Message.Result() = 1;
  TWinControl* Root = TopLevelControl(this);
  if (Root && Root->IsShortCut(Message)) return;
  const Word Key = Message.CharCode();
  if (Perform(CM_CHILDKEY, Key, reinterpret_cast<LPARAM>(this)) != 0) return;
  LRESULT Mask = 0;
  switch (Key) {
    case VK_TAB: Mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: Mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: Mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (Mask != 0 && Perform(CM_WANTSPECIALKEY, Key, Message.KeyData()) == 0 &&
      (Perform(WM_GETDLGCODE, 0, 0) & Mask) == 0 && Root &&
      Root->Perform(CM_DIALOGKEY, Key, Message.KeyData()) != 0)
    return;
  Message.Result() = 0;
}

void TWinControl::CNSysKeyDown(TWMKey& Message) {
  Message.Result() = 1;
  TWinControl* Root = TopLevelControl(this);
  if (Root && Root->IsShortCut(Message)) return;
  Message.Result() = 0;
}

void TWinControl::CNChar(TWMKey& Message) {
  Message.Result() = 1;
  TWinControl* Root = TopLevelControl(this);
  if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0 && Root &&
      Root->Perform(CM_DIALOGCHAR, Message.M.WParam, Message.KeyData()) != 0)
    return;
  Message.Result() = 0;
}

void TWinControl::CNSysChar(TWMKey& Message) {
  Message.Result() = 0;
  TWinControl* Root = TopLevelControl(this);
  if (Message.M.WParam != VK_SPACE && Root)
    Message.Result() = Root->Perform(CM_DIALOGCHAR, Message.M.WParam, Message.KeyData());
}

void TWinControl::CMWantSpecialKey(TCMWantSpecialKey& Message) { DefaultHandler(Message.M); }

void TWinControl::CMChildKey(TCMChildKey& Message) {
  if (FParent) FParent->WindowProc(Message.M);
}

void TWinControl::CMDialogKey(TCMDialogKey& Message) {
  // The top-level control moves the focus: Tab through the tab order, the arrows among
  // the active control's siblings.
  if (!FParent && GetKeyState(VK_MENU) >= 0) {
    switch (Message.CharCode()) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) < 0) break;
        SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
        Message.Result() = 1;
        return;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl && FActiveControl->FParent) {
          const Word Key = Message.CharCode();
          FActiveControl->FParent->SelectNext(FActiveControl, Key == VK_RIGHT || Key == VK_DOWN, false);
          Message.Result() = 1;
        }
        return;
      default: break;
    }
  }
  Broadcast(Message.M);
}

void TWinControl::CMDialogChar(TCMDialogChar& Message) { Broadcast(Message.M); }
