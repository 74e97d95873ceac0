// The list view's mouse and keys: clicks select (Ctrl toggles, Shift selects a range
// from the anchor), arrows and page keys move the focus per style, typed characters
// gather for a second and find a row, and the parent hears NM_* and LVN_* of each.
#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListView_State.h"
#include "platform/win/NativeControl.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"

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
  if (GetFocus() != FWnd) SetFocus(FWnd);
  if (!IsWindow(FWnd)) return;
  UINT Flags = 0;
  int SubItem = 0;
  const int Hit = HitTest(P, Flags, &SubItem);
  const bool Shift = (Keys & MK_SHIFT) != 0, Ctrl = (Keys & MK_CONTROL) != 0;
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

}  // namespace vantrel::win
