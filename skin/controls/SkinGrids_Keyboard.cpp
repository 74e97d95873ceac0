// The grid at the keyboard: moving the current cell and the view, the keys and characters
// it claims from its form's dialog navigation, focus changes, and switching editing on
// and off.
#include <algorithm>

#include "platform/win/Edit.h"
#include "platform/win/Keyboard.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinGrids.h"

void TspSkinCustomGrid::KeyDown(Word& Key, TShiftState Shift) {
  TspSkinControl::KeyDown(Key, Shift);
  if (!CanGridAcceptKey(Key, Shift)) {
    Key = 0;
    return;
  }
  TGridCoord NewCurrent = FCurrent;
  TGridCoord NewTopLeft = FTopLeft;
  // No right-to-left mode: the horizontal factor is always 1.
  constexpr Integer F = 1;
  TGridLayout L;
  CalcLayout(L);
  const Integer PageWidth = std::max(1, L.Horz.LastFullVisibleCell - FTopLeft.X);
  const Integer PageHeight = std::max(1, L.Vert.LastFullVisibleCell - FTopLeft.Y);
  const Boolean RowSelect = FOptions.Contains(goRowSelect);
  if (Shift.Contains(ssCtrl)) {
    switch (Key) {
      case VK_PRIOR: NewCurrent.Y = FTopLeft.Y; break;
      case VK_NEXT: NewCurrent.Y = L.Vert.LastFullVisibleCell; break;
      case VK_END: NewCurrent = {FColCount - 1, FRowCount - 1}; break;
      case VK_HOME: NewCurrent = {FFixedCols, FFixedRows}; break;
      case VK_LEFT:
        if (!RowSelect) {
          NewCurrent.X -= PageWidth * F;
          NewTopLeft.X -= PageWidth * F;
        }
        break;
      case VK_RIGHT:
        if (!RowSelect) {
          NewCurrent.X += PageWidth * F;
          NewTopLeft.X += PageWidth * F;
        }
        break;
      case VK_UP: --NewTopLeft.Y; break;
      case VK_DOWN: ++NewTopLeft.Y; break;
      default: break;
    }
  } else {
    switch (Key) {
      case VK_TAB:
        if (Shift.Contains(ssAlt)) break;
        do {
          if (!Shift.Contains(ssShift)) {
            if (++NewCurrent.X >= FColCount) {
              NewCurrent.X = FFixedCols;
              if (++NewCurrent.Y >= FRowCount) NewCurrent.Y = FFixedRows;
            }
          } else if (--NewCurrent.X < FFixedCols) {
            NewCurrent.X = FColCount - 1;
            if (--NewCurrent.Y < FFixedRows) NewCurrent.Y = FRowCount - 1;
          }
        } while (!GetTabStops(NewCurrent.X) && NewCurrent.X != FCurrent.X);
        // A backward Tab moves the cell; it does not extend the selection.
        Shift.Exclude(ssShift);
        break;
      case VK_PRIOR:
        NewCurrent.Y -= PageHeight;
        NewTopLeft.Y -= PageHeight;
        break;
      case VK_NEXT:
        NewCurrent.Y += PageHeight;
        NewTopLeft.Y += PageHeight;
        break;
      case VK_END:
        if (RowSelect)
          NewCurrent.Y = FRowCount - 1;
        else
          NewCurrent.X = FColCount - 1;
        break;
      case VK_HOME:
        if (RowSelect)
          NewCurrent.Y = FFixedRows;
        else
          NewCurrent.X = FFixedCols;
        break;
      case VK_LEFT:
        if (RowSelect)
          NewCurrent.Y -= F;
        else
          NewCurrent.X -= F;
        break;
      case VK_RIGHT:
        if (RowSelect)
          NewCurrent.Y += F;
        else
          NewCurrent.X += F;
        break;
      case VK_UP: --NewCurrent.Y; break;
      case VK_DOWN: ++NewCurrent.Y; break;
      case VK_F2: SetEditorMode(true); break;
      default: break;
    }
  }
  const TGridCoord Max = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, L);
  NewTopLeft.X = std::clamp(NewTopLeft.X, FFixedCols, std::max(FFixedCols, Max.X));
  NewTopLeft.Y = std::clamp(NewTopLeft.Y, FFixedRows, std::max(FFixedRows, Max.Y));
  if (!(NewTopLeft == FTopLeft)) MoveTopLeft(NewTopLeft.X, NewTopLeft.Y);
  NewCurrent.X = std::clamp(NewCurrent.X, FFixedCols, FColCount - 1);
  NewCurrent.Y = std::clamp(NewCurrent.Y, FFixedRows, FRowCount - 1);
  if (!(NewCurrent == FCurrent)) FocusCell(NewCurrent.X, NewCurrent.Y, !Shift.Contains(ssShift));
}

void TspSkinCustomGrid::KeyPress(char32_t& Key) {
  TspSkinControl::KeyPress(Key);
  if (FOptions.Contains(goAlwaysShowEditor) || Key != 13) return;
  if (FEditorMode)
    HideEditor();
  else
    ShowEditor();
  Key = 0;
}

void TspSkinCustomGrid::DoExit() {
  TspSkinControl::DoExit();
  if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
}

Boolean TspSkinCustomGrid::CanEditShow() {
  return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode &&
         !ComponentState().Contains(csDesigning) && HandleAllocated() &&
         (FOptions.Contains(goAlwaysShowEditor) || IsActiveControl());
}

void TspSkinCustomGrid::SetEditorMode(Boolean Value) {
  if (!Value) {
    HideEditor();
    return;
  }
  // The caret goes after the text with nothing selected: typing adds to the cell.
  ShowEditor();
  if (FInplaceEdit) FInplaceEdit->Deselect();
}

void TspSkinCustomGrid::ShowEditor() {
  FEditorMode = true;
  UpdateEdit();
}

void TspSkinCustomGrid::HideEditor() {
  FEditorMode = false;
  HideEdit();
}


Boolean TspSkinCustomGrid::KeyboardMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CHAR: {
      const auto Ch = static_cast<char32_t>(Message.WParam);
      if (FOptions.Contains(goEditing) && (Ch == 8 || Ch >= 32)) {
        ShowEditorChar(Ch);
        return true;
      }
      return false;
    }
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      if (!FOptions.Contains(goRowSelect)) {
        if (FOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
        if (FOptions.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
      }
      return true;
    case CM_WANTSPECIALKEY:
      TspSkinControl::Dispatch(Message);
      if (FOptions.Contains(goEditing) && static_cast<Word>(Message.WParam) == VK_RETURN) Message.Result = 1;
      return true;
    case WM_SETFOCUS: {
      const auto From = reinterpret_cast<HWND>(Message.WParam);
      TspSkinControl::Dispatch(Message);
      // Coming back from its own editor changes nothing the grid shows.
      if (FInplaceEdit && FInplaceEdit->HandleAllocated() && From == FInplaceEdit->Handle()) return true;
      InvalidateGridRect(Selection());
      if (IsWindowVisible(Handle())) UpdateEdit();
      return true;
    }
    case WM_KILLFOCUS: {
      const auto To = reinterpret_cast<HWND>(Message.WParam);
      TspSkinControl::Dispatch(Message);
      InvalidateGridRect(Selection());
      if (FInplaceEdit && (!FInplaceEdit->HandleAllocated() || To != FInplaceEdit->Handle())) HideEdit();
      return true;
    }
    case WM_COMMAND:
      // Only the editor's change notice counts: its text goes to the cell at once.
      if (HIWORD(Message.WParam) == EN_CHANGE) UpdateText();
      Message.Result = 0;
      return true;
    case CM_FONTCHANGED:
      if (FInplaceEdit) FInplaceEdit->Font()->Assign(Font());
      TspSkinControl::Dispatch(Message);
      return true;
    default:
      return false;
  }
}
