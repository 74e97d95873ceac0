// The list view's mouse and keys: clicks select (Ctrl toggles, Shift selects a range
// from the anchor), arrows and page keys move the focus per style, typed characters
// gather for a second and find a row, and the parent hears NM_* and LVN_* of each.
// Captions are edited in place on an EDIT child, started by LVM_EDITLABEL or a slow
// second click on the focused row; Enter or the edit losing the focus ends it with the
// new text, Esc without one. The parent may refuse the start (LVN_BEGINLABELEDIT) and
// decides whether the new text is kept (LVN_ENDLABELEDIT).
#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/Edit.h"
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListView_State.h"
#include "platform/win/NativeControl.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/SysColors.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowDc.h"

namespace vantrel::win {

namespace {

constexpr uint64_t ListViewTypeAheadMs = 1000;

}  // namespace

void ListViewState::SelectRange(int From, int To, bool Clear) {
  if (Count() == 0) return;
  const int Lo = std::clamp(std::min(From, To), 0, Count() - 1), Hi = std::clamp(std::max(From, To), 0, Count() - 1);
  if (!OwnerData()) {
    for (int I = 0; I < Count(); ++I) {
      const bool Want = I >= Lo && I <= Hi;
      if (Want || Clear) SetState(I, Want ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    return;
  }
  // Owner data: one notice for the rows cleared, one for the range.
  FSelected.resize(static_cast<size_t>(Count()), false);
  bool Cleared = false;
  if (Clear)
    for (int I = 0; I < Count(); ++I)
      if ((I < Lo || I > Hi) && FSelected[static_cast<size_t>(I)]) {
        FSelected[static_cast<size_t>(I)] = false;
        Cleared = true;
      }
  if (Cleared) {
    NMLISTVIEW N = ItemRecord(-1);
    N.uOldState = LVIS_SELECTED;
    N.uChanged = LVIF_STATE;
    NotifyParent(FWnd, LVN_ITEMCHANGED, N);
  }
  for (int I = Lo; I <= Hi; ++I) FSelected[static_cast<size_t>(I)] = true;
  NMLVODSTATECHANGE R{};
  R.iFrom = Lo;
  R.iTo = Hi;
  R.uNewState = LVIS_SELECTED;
  NotifyParent(FWnd, LVN_ODSTATECHANGED, R);
  Invalidate();
}

void ListViewState::MoveFocus(int Index, bool Shift, bool Ctrl) {
  if (!Valid(Index)) return;
  const bool Single = (FStyle & LVS_SINGLESEL) != 0;
  if (Shift && !Single) {
    SelectRange(Valid(FAnchor) ? FAnchor : (Valid(FFocus) ? FFocus : Index), Index, !Ctrl);
  } else if (!Ctrl) {
    for (int I = 0; I < Count(); ++I)
      if (I != Index && (State(I) & LVIS_SELECTED)) SetState(I, 0, LVIS_SELECTED);
    SetState(Index, LVIS_SELECTED, LVIS_SELECTED);
    FAnchor = Index;
  }
  SetState(Index, LVIS_FOCUSED, LVIS_FOCUSED);
  EnsureVisible(Index);
}

void ListViewState::MouseDown(POINT P, WPARAM Keys, bool Right, bool Double) {
  DisarmSlowEdit();
  if (FEditWnd) EndEdit(false);
  const HWND Self = FWnd;
  const bool HadFocus = GetFocus() == Self;
  if (!HadFocus) SetFocus(Self);
  if (!IsWindow(Self)) return;
  UINT Flags = 0;
  int SubItem = 0;
  const int Hit = HitTest(P, Flags, &SubItem);
  const bool Shift = (Keys & MK_SHIFT) != 0, Ctrl = (Keys & MK_CONTROL) != 0;
  // A second, single click on the label of the focused, selected row edits it.
  const bool SlowEdit = !Right && !Double && !Shift && !Ctrl && HadFocus && (FStyle & LVS_EDITLABELS) && Hit >= 0 &&
                        Hit == FFocus && (State(Hit) & LVIS_SELECTED) && (Flags & LVHT_ONITEMLABEL);
  if (Right) {
    if (Hit >= 0 && !(State(Hit) & LVIS_SELECTED)) MoveFocus(Hit, false, false);
    return;
  }
  if (Hit < 0) {
    if (!Ctrl && !Shift) {
      if (OwnerData())
        SelectRange(0, -1, true);
      for (int I = 0; I < Count(); ++I)
        if (State(I) & LVIS_SELECTED) SetState(I, 0, LVIS_SELECTED);
    }
  } else if (Ctrl && !Shift && !(FStyle & LVS_SINGLESEL)) {
    SetState(Hit, (State(Hit) & LVIS_SELECTED) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
    SetState(Hit, LVIS_FOCUSED, LVIS_FOCUSED);
    FAnchor = Hit;
  } else {
    MoveFocus(Hit, Shift, Ctrl);
  }
  if (SlowEdit && IsWindow(Self) && Hit == FFocus) ArmSlowEdit(Hit);
  if (Double) {
    NMITEMACTIVATE N{};
    N.iItem = Hit;
    N.iSubItem = SubItem;
    N.ptAction = P;
    NotifyParent(FWnd, NM_DBLCLK, N);
  }
}

void ListViewState::MouseUp(POINT P, bool Right) {
  UINT Flags = 0;
  int SubItem = 0;
  NMITEMACTIVATE N{};
  N.iItem = HitTest(P, Flags, &SubItem);
  N.iSubItem = SubItem;
  N.ptAction = P;
  NotifyParent(FWnd, Right ? NM_RCLICK : NM_CLICK, N);
}

void ListViewState::KeyDown(WPARAM Vk) {
  DisarmSlowEdit();
  NMLVKEYDOWN K{};
  K.wVKey = static_cast<WORD>(Vk);
  NotifyParent(FWnd, LVN_KEYDOWN, K);
  if (!IsWindow(FWnd)) return;
  if (Vk == VK_RETURN) {
    NMHDR N{};
    NotifyParent(FWnd, NM_RETURN, N);
    return;
  }
  const int N = Count();
  if (N == 0) return;
  const bool Shift = GetKeyState(VK_SHIFT) < 0, Ctrl = GetKeyState(VK_CONTROL) < 0;
  const int From = Valid(FFocus) ? FFocus : 0;
  int Down = 1, Across = 0;  // steps for the vertical and horizontal arrows
  switch (ViewType()) {
    case LVS_REPORT: Across = 0; break;
    case LVS_LIST: Across = RowsPerColumn(); break;
    default: Down = PerRow(); Across = 1; break;
  }
  const int Page = std::max(1, CountPerPage());
  int To = From;
  switch (Vk) {
    case VK_UP: To = From - Down; break;
    case VK_DOWN: To = From + Down; break;
    case VK_LEFT: if (!Across) return; To = From - Across; break;
    case VK_RIGHT: if (!Across) return; To = From + Across; break;
    case VK_PRIOR: To = From - Page; break;
    case VK_NEXT: To = From + Page; break;
    case VK_HOME: To = 0; break;
    case VK_END: To = N - 1; break;
    case VK_SPACE:
      if (Ctrl && Valid(FFocus)) SetState(FFocus, (State(FFocus) & LVIS_SELECTED) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
      return;
    default: return;
  }
  MoveFocus(std::clamp(To, 0, N - 1), Shift, Ctrl);
}

void ListViewState::Char(char32_t C) {
  if (C < 0x20 || C == 0x7F || Count() == 0) return;
  const uint64_t Now = GetTickCount64();
  if (Now - FTypedAt >= ListViewTypeAheadMs) FTyped.clear();
  FTypedAt = Now;
  FTyped += CodePointToUtf8(C);
  // One character looks past the focused row; more go on from it.
  const int Begin = Utf8Length(FTyped) == 1 ? (Valid(FFocus) ? FFocus + 1 : 0) : std::max(0, FFocus);
  LVFINDINFO Find;
  Find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
  Find.psz = FTyped.c_str();
  const LRESULT Found = FindItem(Begin - 1, Find);
  if (Found >= 0) MoveFocus(static_cast<int>(Found), false, false);
}

void ListViewState::Wheel(int Delta) {
  if (FEditWnd) EndEdit(false);
  FWheelRest += Delta;
  const int Notches = FWheelRest / WHEEL_DELTA;
  FWheelRest %= WHEEL_DELTA;
  if (!Notches) return;
  UINT Lines = 3;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
  switch (ViewType()) {
    case LVS_REPORT: Scroll(0, -Notches * static_cast<int>(Lines) * RowHeight()); break;
    case LVS_LIST: Scroll(-Notches * ListColumnWidth(), 0); break;
    default: Scroll(0, -Notches * static_cast<int>(Lines) * RowHeight()); break;
  }
}

void ListViewState::FocusChanged(bool Focused) {
  FFocused = Focused;
  Invalidate();
  NMHDR N{};
  NotifyParent(FWnd, Focused ? NM_SETFOCUS : NM_KILLFOCUS, N);
}

// --- Caption editing ----------------------------------------------------------------


namespace {

// Room after the text in the caption editor, so the next character fits.
constexpr int ListViewEditorRoom = 16;

// The caption editor's own procedure in front of the EDIT class's: Enter and Esc end editing.
LRESULT ListViewEditorProc(HWND ListWnd, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  ListViewState* S = ListViewOf(ListWnd);
  const WNDPROC Old = S && S->EditWindow() == Wnd ? S->EditOldProc() : nullptr;
  if (!Old) return DefWindowProc(Wnd, Msg, WParam, LParam);
  switch (Msg) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | CallWindowProc(Old, Wnd, Msg, WParam, LParam);
    case WM_KEYDOWN:
      if (WParam == VK_RETURN || WParam == VK_ESCAPE) {
        S->EndEdit(WParam == VK_ESCAPE);
        return 0;
      }
      break;
    case WM_CHAR:
      if (WParam == '\r' || WParam == 0x1B) return 0;
      break;
    case WM_NCPAINT: {
      // Its thin frame sets it off from the rows around it.
      RECT R{};
      GetWindowRect(Wnd, &R);
      OffsetRect(&R, -R.Left, -R.Top);
      HDC Dc = GetWindowDC(Wnd);
      FrameRect(Dc, &R, GetSysColorBrush(COLOR_WINDOWFRAME));
      ReleaseDC(Wnd, Dc);
      return 0;
    }
    default: break;
  }
  return CallWindowProc(Old, Wnd, Msg, WParam, LParam);
}

}  // namespace

HWND ListViewState::EditLabel(int Index) {
  DisarmSlowEdit();
  if (FEditWnd) EndEdit(false);
  const HWND Self = FWnd;
  if (!IsWindow(Self) || !Valid(Index)) return nullptr;
  EnsureVisible(Index);
  std::string Text = CellText(Index, 0);
  NMLVDISPINFO Begin{};
  Begin.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
  Begin.item.iItem = Index;
  Begin.item.state = State(Index);
  Begin.item.pszText = Text.data();
  Begin.item.cchTextMax = static_cast<int>(Text.size()) + 1;
  if (!OwnerData()) Begin.item.lParam = FRows[static_cast<size_t>(Index)].Param;
  if (NotifyParent(Self, LVN_BEGINLABELEDIT, Begin) != 0) return nullptr;  // refused
  if (!IsWindow(Self) || !Valid(Index) || FEditWnd) return nullptr;
  // Over the label, at least as wide as the text and a little room to type.
  RECT Label = ItemRect(Index, LVIR_LABEL);
  const RECT Client = [&] {
    RECT C{};
    GetClientRect(Self, &C);
    return C;
  }();
  const int Wanted = std::max(StringWidth(Text) + ListViewEditorRoom, static_cast<int>(Label.Right - Label.Left));
  const int Height = ViewType() == LVS_ICON ? FLineHeight + 6 : RowHeight();
  int Left = Label.Left;
  int Width = std::max(40, Wanted);
  if (ViewType() == LVS_ICON) Left = Label.Left + (Label.Right - Label.Left - Width) / 2;
  if (Client.Right > 0) {
    Width = std::min(Width, static_cast<int>(Client.Right));
    Left = std::clamp(Left, 0, std::max(0, static_cast<int>(Client.Right) - Width));
  }
  HWND E = CreateWindowEx(0, "EDIT", Text.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, Left, Label.Top, Width,
                          Height, Self, nullptr, nullptr, nullptr);
  if (!E) return nullptr;
  FEditWnd = E;
  FEditItem = Index;
  SendMessage(E, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), 0);
  FEditProc = MakeWndProcInstance([Self](HWND W, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return ListViewEditorProc(Self, W, Msg, WParam, LParam);
  });
  FEditOldProc = LongToWndProc(SetWindowLongPtr(E, GWLP_WNDPROC, WndProcToLong(FEditProc)));
  SendMessage(E, EM_SETSEL, 0, -1);
  ShowWindow(E, SW_SHOW);
  SetFocus(E);
  return IsWindow(E) ? E : nullptr;
}

void ListViewState::EndEdit(bool Cancel, bool Notify) {
  if (!FEditWnd) return;
  const HWND E = FEditWnd, Self = FWnd;
  const int Index = FEditItem;
  // Read while the editor's procedure still passes the request on to the edit.
  const int Len = static_cast<int>(SendMessage(E, WM_GETTEXTLENGTH, 0, 0));
  std::string Buffer(static_cast<size_t>(std::max(0, Len)) * 4 + 1, '\0');
  SendMessage(E, WM_GETTEXT, Buffer.size(), reinterpret_cast<LPARAM>(Buffer.data()));
  std::string Text = Buffer.c_str();
  FEditWnd = nullptr;
  FEditItem = -1;
  const bool HadFocus = GetFocus() == E;
  // The edit goes first, so the focus it loses ends nothing a second time.
  if (FEditOldProc) SetWindowLongPtr(E, GWLP_WNDPROC, WndProcToLong(FEditOldProc));
  FEditOldProc = nullptr;
  DestroyWindow(E);
  FreeObjectInstance(FEditProc);
  FEditProc = nullptr;
  if (!Notify) return;
  if (HadFocus) SetFocus(Self);
  if (!IsWindow(Self) || !Valid(Index)) return;
  NMLVDISPINFO End{};
  End.item.mask = LVIF_TEXT | LVIF_PARAM;
  End.item.iItem = Index;
  End.item.pszText = Cancel ? nullptr : Text.data();
  End.item.cchTextMax = static_cast<int>(Text.size()) + 1;
  if (!OwnerData()) End.item.lParam = FRows[static_cast<size_t>(Index)].Param;
  const LRESULT Keep = NotifyParent(Self, LVN_ENDLABELEDIT, End);
  if (!IsWindow(Self)) return;
  // A row whose caption the parent keeps stays the parent's.
  if (!Cancel && Keep && Valid(Index) && !OwnerData() && !FRows[static_cast<size_t>(Index)].Callback)
    FRows[static_cast<size_t>(Index)].Text = Text;
  LabelChanged(Index);
  InvalidateItem(Index);
}

void ListViewState::FitEditor() {
  if (!FEditWnd) return;
  const int Len = static_cast<int>(SendMessage(FEditWnd, WM_GETTEXTLENGTH, 0, 0));
  std::string Buffer(static_cast<size_t>(std::max(0, Len)) * 4 + 1, '\0');
  SendMessage(FEditWnd, WM_GETTEXT, Buffer.size(), reinterpret_cast<LPARAM>(Buffer.data()));
  RECT Now{}, Client{};
  GetWindowRect(FEditWnd, &Now);
  GetClientRect(FWnd, &Client);
  POINT Corner{Now.Left, Now.Top};
  ScreenToClient(FWnd, &Corner);
  // It grows with the text, never past the view's right side, and never shrinks.
  const int Want = StringWidth(Buffer.c_str()) + ListViewEditorRoom;
  const int Width = std::min(std::max(Want, static_cast<int>(Now.Right - Now.Left)),
                             std::max(static_cast<int>(Now.Right - Now.Left), static_cast<int>(Client.Right - Corner.X)));
  if (Width != Now.Right - Now.Left)
    SetWindowPos(FEditWnd, nullptr, 0, 0, Width, Now.Bottom - Now.Top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ListViewState::ArmSlowEdit(int Index) {
  FSlowEditItem = Index;
  SetTimer(FWnd, ListViewSlowEditTimer, GetDoubleClickTime(), nullptr);
}

void ListViewState::DisarmSlowEdit() {
  if (FSlowEditItem < 0) return;
  FSlowEditItem = -1;
  KillTimer(FWnd, ListViewSlowEditTimer);
}

void ListViewState::SlowEditDue() {
  const int Index = FSlowEditItem;
  DisarmSlowEdit();
  KillTimer(FWnd, ListViewSlowEditTimer);
  // Only while the row is still the focused one and the view has the focus.
  if (Valid(Index) && Index == FFocus && GetFocus() == FWnd && (FStyle & LVS_EDITLABELS)) EditLabel(Index);
}

void ListViewState::RowsVanish(int Index) {
  const bool Gone = Index < 0 ? !Valid(FEditItem) : FEditItem == Index;
  if (FEditWnd && Gone) {
    const bool HadFocus = GetFocus() == FEditWnd;
    EndEdit(true, false);
    if (HadFocus) SetFocus(FWnd);
  } else if (FEditWnd && Index >= 0 && FEditItem > Index) --FEditItem;
  if (FSlowEditItem >= 0) DisarmSlowEdit();
}

}  // namespace vantrel::win
