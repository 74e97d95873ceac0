// The grid's in-place editor: a borderless masked edit over the current cell. It hands
// navigation keys to the grid, asks the grid before every change of the text, turns a
// click that follows the grid's own within the double-click time into a double click and
// opens the skinned editing menu on a right click.
#include "platform/rtl/Utf8.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/win/Edit.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinGrids.h"
#include "skin/controls/SkinMessages.h"
#include "skin/forms/SkinMenus.h"

namespace {

// The clipboard's text before its first line break: a cell holds one line.
String InplaceClipboardLine() {
  const String T = Clipboard()->AsText();
  const size_t Break = T.find_first_of("\r\n");
  return Break == String::npos ? T : T.substr(0, Break);
}

}  // namespace

TspSkinInplaceEdit::TspSkinInplaceEdit(TComponent* AOwner) : TspSkinTransparentMaskEdit(AOwner) {
  SetCtl3D(false);
  SetTabStop(false);
  SetBorderStyle(bsNone);
}

TspSkinInplaceEdit::~TspSkinInplaceEdit() {
  delete FSysPopupMenu;
  FSysPopupMenu = nullptr;
}

void TspSkinInplaceEdit::CreateParams(TCreateParams& Params) {
  TspSkinTransparentMaskEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
}

void TspSkinInplaceEdit::UpdateContents() {
  SetText(String());
  SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
  SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
  FEditLimit = FGrid->GetEditLimit();
  SetMaxLength(FEditLimit);
}

void TspSkinInplaceEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinTransparentMaskEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSysPopupMenu) FSysPopupMenu = nullptr;
}

void TspSkinInplaceEdit::BoundsChanged() {
  RECT R{2, 2, Width() - 2, Height()};
  SendMessage(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
  SendMessage(Handle(), EM_SCROLLCARET, 0, 0);
}

Boolean TspSkinInplaceEdit::EditCanModify() { return FGrid->CanEditModify(); }

void TspSkinInplaceEdit::Deselect() { SendMessage(Handle(), EM_SETSEL, 0x7FFFFFFF, static_cast<LPARAM>(-1)); }

void TspSkinInplaceEdit::Invalidate() {
  if (FTransparent) {
    TspSkinTransparentMaskEdit::Invalidate();
    return;
  }
  if (!HandleAllocated()) return;
  ValidateRect(Handle(), nullptr);
  InvalidateRect(Handle(), nullptr, true);
  RECT R;
  GetClientRect(Handle(), &R);
  MapWindowRect(Handle(), FGrid->Handle(), &R);
  ValidateRect(FGrid->Handle(), &R);
  InvalidateRect(FGrid->Handle(), &R, false);
}

void TspSkinInplaceEdit::Hide() {
  if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
  Invalidate();
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE);
  if (Focused()) ::SetFocus(FGrid->Handle());
}

Boolean TspSkinInplaceEdit::PosEqual(const TRect& Rect) {
  if (!HandleAllocated()) return false;
  RECT R;
  GetWindowRect(Handle(), &R);
  MapWindowRect(HWND_DESKTOP, FGrid->Handle(), &R);
  return R == Rect;
}

Boolean TspSkinInplaceEdit::Visible() { return HandleAllocated() && IsWindowVisible(Handle()); }

void TspSkinInplaceEdit::SetFocus() {
  if (Visible()) ::SetFocus(Handle());
}

void TspSkinInplaceEdit::InternalMove(const TRect& Loc, Boolean Redraw) {
  if (Loc.Right <= Loc.Left || Loc.Bottom <= Loc.Top) {
    Hide();
    return;
  }
  HandleNeeded();
  Redraw = Redraw || !IsWindowVisible(Handle());
  Invalidate();
  SetWindowPos(Handle(), HWND_TOP, Loc.Left, Loc.Top, Loc.Right - Loc.Left, Loc.Bottom - Loc.Top,
               SWP_SHOWWINDOW | SWP_NOREDRAW);
  BoundsChanged();
  if (Redraw) Invalidate();
  if (FGrid->Focused()) ::SetFocus(Handle());
}

void TspSkinInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  const auto SendToGrid = [&] {
    FGrid->KeyDown(Key, Shift);
    Key = 0;
  };
  const auto ParentEvent = [&] {
    if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
  };
  const Boolean Forward = FGrid->Options().Contains(goAlwaysShowEditor);
  DWORD Start = 0, End = 0;
  SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  const auto Length = static_cast<DWORD>(Utf8Length(Text()));
  const Boolean LeftSide = Start == 0 && (End == 0 || End == Length);
  const Boolean RightSide = (Start == 0 || Start == End) && End == Length;
  const Boolean Ctrl = Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE: SendToGrid(); break;
    case VK_TAB:
      if (!Shift.Contains(ssAlt)) SendToGrid();
      break;
    case VK_LEFT:
    case VK_HOME:
      if (Forward && (Ctrl || LeftSide)) SendToGrid();
      break;
    case VK_RIGHT:
    case VK_END:
      if (Forward && (Ctrl || RightSide)) SendToGrid();
      break;
    case VK_INSERT:
      if (Shift.Empty())
        SendToGrid();
      else if (Shift == TShiftState{ssShift} && !FGrid->CanEditModify())
        Key = 0;
      break;
    case VK_F2:
      ParentEvent();
      if (Key == VK_F2) {
        Deselect();
        return;
      }
      break;
    default: break;
  }
  if (Key == VK_DELETE && !FGrid->CanEditModify()) Key = 0;
  if (Key == 0) return;
  ParentEvent();
  TspSkinTransparentMaskEdit::KeyDown(Key, Shift);
}

void TspSkinInplaceEdit::KeyPress(char32_t& Key) {
  FGrid->KeyPress(Key);
  // Every printable character is checked, beyond Latin-1 too: a cell that takes no "a"
  // takes no "€" either.
  if (Key >= 0x20 && !FGrid->CanEditAcceptKey(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  switch (Key) {
    case 8:
    case 0x16:
    case 0x18:
      if (!FGrid->CanEditModify()) Key = 0;
      break;
    case 9:
    case 0x1B: Key = 0; break;
    case 13: {
      DWORD Start = 0, End = 0;
      SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
      if (Start == 0 && End == static_cast<DWORD>(Utf8Length(Text())))
        Deselect();
      else
        SelectAll();
      Key = 0;
      break;
    }
    default:
      if (Key >= 0x20 && !FGrid->CanEditModify()) Key = 0;
      break;
  }
  if (Key != 0) TspSkinTransparentMaskEdit::KeyPress(Key);
}

void TspSkinInplaceEdit::KeyUp(Word& Key, TShiftState Shift) { FGrid->KeyUp(Key, Shift); }

void TspSkinInplaceEdit::DblClick() { FGrid->DblClick(); }

void TspSkinInplaceEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (TCustomForm* F = GetParentForm(this))
        if (!F->SetFocusedControl(FGrid)) return;
      Dispatch(Message);
      return;
    case WM_LBUTTONDOWN:
      if (static_cast<UINT>(GetMessageTime() - FClickTime) < GetDoubleClickTime())
        Message.Msg = WM_LBUTTONDBLCLK;
      FClickTime = 0;
      break;
    default: break;
  }
  TspSkinTransparentMaskEdit::WndProc(Message);
}

void TspSkinInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TspSkinTransparentMaskEdit::Dispatch(Message);
      if (FGrid->Options().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
      return;
    case WM_CHAR:
      // Ctrl+Return would start a second line.
      if (Message.WParam == 10) return;
      break;
    case WM_PASTE: {
      if (!EditCanModify()) return;
      const String Line = InplaceClipboardLine();
      if (IsMasked() || Line == Clipboard()->AsText()) break;
      SendMessage(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Line.c_str()));
      if (FTransparent) Invalidate();
      return;
    }
    case WM_CLEAR:
    case WM_CUT:
      if (!EditCanModify()) return;
      break;
    case WM_ERASEBKGND:
      if (FTransparent) return;
      break;
    case CM_SHOWINGCHANGED: return;
    case WM_CONTEXTMENU: ShowContextMenu(Message); return;
    case WM_SKINMENU_COMMAND:
      delete FSysPopupMenu;
      FSysPopupMenu = nullptr;
      return;
    default: break;
  }
  TspSkinTransparentMaskEdit::Dispatch(Message);
}

void TspSkinInplaceEdit::ShowContextMenu(TMessage& Message) {
  if (PopupMenu()) {
    TspSkinTransparentMaskEdit::Dispatch(Message);
    return;
  }
  CreateSysPopupMenu();
  Integer X = static_cast<int16_t>(LOWORD(Message.LParam));
  Integer Y = static_cast<int16_t>(HIWORD(Message.LParam));
  if (X < 0 || Y < 0) {
    const TPoint P = ClientToScreen(Point(0, 0));
    X = P.X + Width() / 2;
    Y = P.Y + Height() / 2;
  }
  if (FSysPopupMenu) FSysPopupMenu->Popup2(this, X, Y);
}

void TspSkinInplaceEdit::CreateSysPopupMenu() {
  delete FSysPopupMenu;
  FSysPopupMenu = nullptr;
  FSysPopupMenu = new TspSkinPopupMenu(this);
  FSysPopupMenu->SetComponentForm(dynamic_cast<TForm*>(GetParentForm(this)));
  TspSkinData* SD = FGrid->SkinData();
  TspResourceStrData* Strings = SD ? SD->ResourceStrData() : nullptr;
  DWORD Start = 0, End = 0;
  SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  TspEditMenuState S;
  S.CanUndo = CanUndo();
  S.HasSelection = Start < End;
  S.ReadOnly = !EditCanModify();
  S.ClipboardHasText = !Clipboard()->AsText().empty();
  S.AllSelected = Start == 0 && static_cast<Integer>(End) == Utf8Length(Text());
  FillEditSysMenu(FSysPopupMenu, this, Strings, S);
}
