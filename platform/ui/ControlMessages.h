// The class library's own messages (CM_*, sent between controls) and the reflected
// notifications (CN_*, a parent hands a child's WM_COMMAND, WM_DRAWITEM, WM_CTLCOLOR*...
// back to that child), and the typed views that read a TMessage's fields by name.
#pragma once

#include "platform/win/Messages.h"
#include "platform/win/WndProc.h"

class TControl;

// --- Control messages -------------------------------------------------------------------
constexpr UINT CM_BASE = 0xB000;  // 45056
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
// LParam: the control that caused the cancel (may be nil).
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
// LParam: the control that now has the focus.
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
// WParam: the key; LParam: the control the key is for. A parent may claim it.
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
// A control's value changed (TControl::Changed); LParam: that control.
constexpr UINT CM_CHANGED = CM_BASE + 55;

// --- Reflected notifications: CN_x = CN_BASE + WM_x ------------------------------------
constexpr UINT CN_BASE = 0xBC00;  // 48128
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;  // 48401
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;

// --- Typed views: accessors over a TMessage's fields, named as the handlers read them ---

struct TWMNoParams {
  TMessage& M;
  explicit TWMNoParams(TMessage& Message) : M(Message) {}
  UINT Msg() const { return M.Msg; }
  LRESULT& Result() { return M.Result; }
};

// Client coordinates in the low and high words of LParam, MK_* keys in WParam.
struct TWMMouse : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  UINT Keys() const { return static_cast<UINT>(M.WParam); }
  int XPos() const { return GET_X_LPARAM(M.LParam); }
  int YPos() const { return GET_Y_LPARAM(M.LParam); }
  POINT Pos() const { return {XPos(), YPos()}; }
};
using TWMLButtonDown = TWMMouse;
using TWMLButtonUp = TWMMouse;
using TWMLButtonDblClk = TWMMouse;
using TWMRButtonDown = TWMMouse;
using TWMRButtonUp = TWMMouse;
using TWMMouseMove = TWMMouse;

struct TWMKey : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  Word CharCode() const { return static_cast<Word>(M.WParam); }
  // Replaces the key in the low word (a handler's "Key := 0").
  void SetCharCode(Word Value) { M.WParam = (M.WParam & ~WPARAM{0xFFFF}) | Value; }
  LPARAM KeyData() const { return M.LParam; }
};

// Key and character messages, CM_DIALOGKEY, CM_DIALOGCHAR and CM_WANTSPECIALKEY.
using TWMKeyDown = TWMKey;
using TWMKeyUp = TWMKey;
using TWMChar = TWMKey;
using TCMDialogKey = TWMKey;
using TCMDialogChar = TWMKey;
using TCMWantSpecialKey = TWMKey;

// CM_CHILDKEY: the key and the control it is for.
struct TCMChildKey : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  Word CharCode() const { return static_cast<Word>(M.WParam); }
  void SetCharCode(Word Value) { M.WParam = (M.WParam & ~WPARAM{0xFFFF}) | Value; }
  TControl* Sender() const { return reinterpret_cast<TControl*>(M.LParam); }
};

// WM_SETFOCUS / WM_KILLFOCUS: the window losing or gaining the focus.
struct TWMFocus : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  HWND FocusedWnd() const { return reinterpret_cast<HWND>(M.WParam); }
};
using TWMSetFocus = TWMFocus;
using TWMKillFocus = TWMFocus;

struct TWMPaint : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  HDC DC() const { return reinterpret_cast<HDC>(M.WParam); }
};
using TWMEraseBkgnd = TWMPaint;

struct TWMCommand : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  WORD ItemID() const { return LOWORD(M.WParam); }
  WORD NotifyCode() const { return HIWORD(M.WParam); }
  HWND Ctl() const { return reinterpret_cast<HWND>(M.LParam); }
};

struct TWMDrawItem : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  UINT Ctl() const { return static_cast<UINT>(M.WParam); }
  DRAWITEMSTRUCT* DrawItemStruct() const { return reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam); }
};

struct TWMCtlColor : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  HDC ChildDC() const { return reinterpret_cast<HDC>(M.WParam); }
  HWND ChildWnd() const { return reinterpret_cast<HWND>(M.LParam); }
};

struct TWMNotify : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  int IDCtrl() const { return static_cast<int>(M.WParam); }
  NMHDR* NMHdr() const { return reinterpret_cast<NMHDR*>(M.LParam); }
};

struct TWMScroll : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  int ScrollCode() const { return static_cast<SHORT>(LOWORD(M.WParam)); }
  int Pos() const { return static_cast<SHORT>(HIWORD(M.WParam)); }
  HWND ScrollBar() const { return reinterpret_cast<HWND>(M.LParam); }
};

struct TWMNCHitTest : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  int XPos() const { return GET_X_LPARAM(M.LParam); }
  int YPos() const { return GET_Y_LPARAM(M.LParam); }
  POINT Pos() const { return {XPos(), YPos()}; }
};

struct TWMSize : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  WPARAM SizeType() const { return M.WParam; }
  int Width() const { return LOWORD(static_cast<uintptr_t>(M.LParam)); }
  int Height() const { return HIWORD(static_cast<uintptr_t>(M.LParam)); }
};

struct TWMMove : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  int XPos() const { return GET_X_LPARAM(M.LParam); }
  int YPos() const { return GET_Y_LPARAM(M.LParam); }
};

struct TWMWindowPosMsg : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  WINDOWPOS* WindowPos() const { return reinterpret_cast<WINDOWPOS*>(M.LParam); }
};
using TWMWindowPosChanged = TWMWindowPosMsg;
using TWMWindowPosChanging = TWMWindowPosMsg;

struct TWMSetText : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  const char* Text() const { return reinterpret_cast<const char*>(M.LParam); }
};

// CM_* messages whose LParam names a control (CM_CANCELMODE, CM_FOCUSCHANGED ...).
struct TCMControlMessage : TWMNoParams {
  using TWMNoParams::TWMNoParams;
  TControl* Sender() const { return reinterpret_cast<TControl*>(M.LParam); }
};
using TCMCancelMode = TCMControlMessage;
using TCMFocusChanged = TCMControlMessage;
