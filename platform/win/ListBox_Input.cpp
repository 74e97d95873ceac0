// The list box's mouse and keyboard: a press selects (toggles with multiple selection,
// extends with Shift or Ctrl in an extended one), dragging selects under capture, arrows
// and page keys move the caret and the selection, a typed character selects the next row
// that starts with it, and the wheel scrolls.
#include <algorithm>

#include "platform/win/Capture.h"
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListBox_State.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowManager.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::win {

void ListBoxState::MouseDown(POINT P, WPARAM Keys, bool Double) {
  if (GetFocus() != FWnd) SetFocus(FWnd);
  if (!IsWindow(FWnd)) return;
  bool Outside = false;
  const int Index = ItemFromPoint(P, Outside);
  if (Outside || Index < 0) return;
  if (NoSel()) {
    if (Double) Notify(LBN_DBLCLK);
    return;
  }
  FPressSelection = SelectionSnapshot();
  const bool Shift = (Keys & MK_SHIFT) != 0, Ctrl = (Keys & MK_CONTROL) != 0;
  if (!MultiSel()) {
    SetCurrent(Index);
  } else if (!Extended()) {
    Item(Index).Selected = !Item(Index).Selected;
    InvalidateItem(Index);
    SetCaret(Index);
    FAnchor = Index;
  } else {
    FTrackBase.assign(static_cast<size_t>(Count()), false);
    for (int I = 0; I < Count(); ++I) FTrackBase[static_cast<size_t>(I)] = Item(I).Selected;
    if (Shift && Valid(FAnchor)) {
      if (!Ctrl) FTrackBase.assign(FTrackBase.size(), false);
      FTrackSelect = true;
      TrackTo(Index);
    } else if (Ctrl) {
      FAnchor = Index;
      FTrackSelect = !Item(Index).Selected;
      TrackTo(Index);
    } else {
      FTrackBase.assign(FTrackBase.size(), false);
      FAnchor = Index;
      FTrackSelect = true;
      TrackTo(Index);
    }
  }
  SetCaret(Index);
  MakeVisible(Index);
  FTracking = true;
  SetCapture(FWnd);
  if (Double) Notify(LBN_DBLCLK);
}

void ListBoxState::TrackTo(int Index) {
  if (!Valid(Index)) return;
  if (!MultiSel()) {
    SetCurrent(Index);
  } else if (Extended()) {
    if (!Valid(FAnchor)) FAnchor = Index;
    const int Lo = std::min(FAnchor, Index), Hi = std::max(FAnchor, Index);
    for (int I = 0; I < Count(); ++I) {
      const bool Base = static_cast<size_t>(I) < FTrackBase.size() && FTrackBase[static_cast<size_t>(I)];
      const bool Want = (I >= Lo && I <= Hi) ? FTrackSelect : Base;
      if (Item(I).Selected != Want) {
        Item(I).Selected = Want;
        InvalidateItem(I);
      }
    }
  }
  SetCaret(Index);
  MakeVisible(Index);
}

void ListBoxState::MouseMove(POINT P) {
  if (!FTracking || Count() == 0) return;
  bool Outside = false;
  int Index = ItemFromPoint(P, Outside);
  if (!MultiColumn()) {
    // Beyond the edges the list scrolls one row per move.
    const int Last = std::min(Count() - 1, FTop + WholeRows() - 1);
    if (P.Y < 0)
      Index = std::max(0, FTop - 1);
    else if (Index > Last)
      Index = std::min(Count() - 1, Last + 1);
  }
  if (!MultiSel() || Extended()) TrackTo(Index);
}

void ListBoxState::MouseUp() {
  if (!FTracking) return;
  FTracking = false;
  if (GetCapture() == FWnd) ReleaseCapture();
  if (SelectionSnapshot() != FPressSelection) Notify(LBN_SELCHANGE);
}

void ListBoxState::CaptureLost() {
  if (!FTracking) return;
  FTracking = false;
  if (SelectionSnapshot() != FPressSelection) Notify(LBN_SELCHANGE);
}

void ListBoxState::MoveCaretTo(int Index, bool Shift, bool Ctrl) {
  if (!Valid(Index)) return;
  const std::vector<int> Before = SelectionSnapshot();
  if (NoSel()) {
    SetCaret(Index);
  } else if (!MultiSel()) {
    SetCurrent(Index);
  } else if (!Extended()) {
    SetCaret(Index);
  } else if (Shift) {
    if (!Valid(FAnchor)) FAnchor = FCaret;
    FTrackBase.assign(static_cast<size_t>(Count()), false);
    if (Ctrl)
      for (int I = 0; I < Count(); ++I) FTrackBase[static_cast<size_t>(I)] = Item(I).Selected;
    FTrackSelect = true;
    TrackTo(Index);
  } else if (Ctrl) {
    SetCaret(Index);
  } else {
    SelectOnly(Index);
    FAnchor = Index;
    SetCaret(Index);
  }
  MakeVisible(Index);
  if (SelectionSnapshot() != Before) Notify(LBN_SELCHANGE);
}

void ListBoxState::KeyDown(WPARAM Vk) {
  if (Count() == 0) return;
  const bool Shift = GetKeyState(VK_SHIFT) < 0, Ctrl = GetKeyState(VK_CONTROL) < 0;
  const int From = (!MultiSel() && FCurrent >= 0) ? FCurrent : FCaret;
  const int Rows = RowsPerColumn();
  const int Page = MultiColumn() ? Rows * WholeColumns() : WholeRows();
  int To = From;
  switch (Vk) {
    case VK_UP: To = From - 1; break;
    case VK_DOWN: To = From + 1; break;
    case VK_LEFT: To = MultiColumn() ? From - Rows : From - 1; break;
    case VK_RIGHT: To = MultiColumn() ? From + Rows : From + 1; break;
    case VK_PRIOR: To = From - Page; break;
    case VK_NEXT: To = From + Page; break;
    case VK_HOME: To = 0; break;
    case VK_END: To = Count() - 1; break;
    case VK_SPACE:
      if (MultiSel() && !NoSel() && (!Extended() || Ctrl) && Valid(FCaret)) {
        Item(FCaret).Selected = !Item(FCaret).Selected;
        FAnchor = FCaret;
        InvalidateItem(FCaret);
        Notify(LBN_SELCHANGE);
      }
      return;
    default: return;
  }
  To = std::clamp(To, 0, Count() - 1);
  if (!MultiSel() && FCurrent < 0) To = std::clamp(To, 0, Count() - 1);
  MoveCaretTo(To, Shift, Ctrl);
}

void ListBoxState::Char(char32_t C) {
  if (C < 0x20 || C == 0x7F || Count() == 0) return;
  if (C == U' ' && MultiSel()) return;  // toggled on the key press
  const int From = (!MultiSel() && FCurrent < 0) ? -1 : FCaret;
  const LRESULT Found = Find(From, CodePointToUtf8(C), false);
  if (Found != LB_ERR) MoveCaretTo(static_cast<int>(Found), false, false);
}

void ListBoxState::Wheel(int Delta) {
  FWheelRest += Delta;
  const int Notches = FWheelRest / WHEEL_DELTA;
  FWheelRest %= WHEEL_DELTA;
  if (Notches == 0) return;
  if (MultiColumn()) {
    SetTop((FTop / RowsPerColumn() - Notches) * RowsPerColumn());
    return;
  }
  UINT Lines = 3;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
  SetTop(FTop - Notches * static_cast<int>(Lines));
}

void ListBoxState::FocusChanged(bool Focused) {
  FFocused = Focused;
  if (Count() == 0)
    InvalidateAll();
  else
    InvalidateItem(FCaret);
  Notify(Focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
}

}  // namespace vantrel::win
