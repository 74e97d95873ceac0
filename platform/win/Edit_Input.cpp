// The edit control's input: editing and moving keys (Shift extends, Ctrl moves by words),
// typed characters with their control codes, the mouse (placing, extending, dragging
// with scrolling at the edges, double click selecting a word) and scroll requests.
#include <algorithm>

#include "platform/win/Capture.h"
#include "platform/win/Edit_State.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Scroll.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win::edit {

namespace {

bool EditKeyHeld(int Vk) { return GetKeyState(Vk) < 0; }

}  // namespace

void EditControl::KeyDown(WPARAM Key) {
  const bool Shift = EditKeyHeld(VK_SHIFT), Ctrl = EditKeyHeld(VK_CONTROL);
  const int N = Length();
  auto MoveTo = [&](int P) {
    // Without Shift a selection collapses to where the move leads.
    SetSelection(Shift ? Anchor : P, P);
  };
  auto IsBreakAt = [&](int P) { return P >= 0 && P + 1 < N && Text[static_cast<size_t>(P)] == U'\r' && Text[static_cast<size_t>(P) + 1] == U'\n'; };
  const int LI = LineOf(Caret);
  const LineRec& L = Lines[static_cast<size_t>(LI)];
  switch (Key) {
    case VK_LEFT: {
      if (!Shift && SelStart() != SelEnd() && !Ctrl) {
        MoveTo(SelStart());
        break;
      }
      int P = Caret;
      if (Ctrl)
        P = WordStart(P);
      else if (P > 0)
        P = IsBreakAt(P - 2) ? P - 2 : P - 1;
      MoveTo(P);
      break;
    }
    case VK_RIGHT: {
      if (!Shift && SelStart() != SelEnd() && !Ctrl) {
        MoveTo(SelEnd());
        break;
      }
      int P = Caret;
      if (Ctrl)
        P = IsBreakAt(P) ? P + 2 : WordEnd(P);
      else if (P < N)
        P = IsBreakAt(P) ? P + 2 : P + 1;
      MoveTo(P);
      break;
    }
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
      if (!Multi()) {
        // A single line takes Up and Down as Left and Right.
        if (Key == VK_UP) KeyDown(VK_LEFT);
        if (Key == VK_DOWN) KeyDown(VK_RIGHT);
        break;
      }
      const int Step = (Key == VK_UP || Key == VK_DOWN) ? 1 : VisibleLines();
      const int Dir = (Key == VK_UP || Key == VK_PRIOR) ? -1 : 1;
      const POINT At = PosToPoint(Caret);
      const int Target = std::clamp(LI + Dir * Step, 0, static_cast<int>(Lines.size()) - 1);
      if (Key == VK_PRIOR || Key == VK_NEXT) ScrollBy(Dir * Step, 0);
      const POINT Now = PosToPoint(Lines[static_cast<size_t>(Target)].Start);
      MoveTo(PointToPos(At.X, Now.Y));
      break;
    }
    case VK_HOME:
      MoveTo(Ctrl || !Multi() ? 0 : L.Start);
      break;
    case VK_END:
      MoveTo(Ctrl || !Multi() ? N : L.Start + L.Length);
      break;
    case VK_DELETE:
      if (Shift && !Ctrl) {
        SendMessage(Wnd, WM_CUT, 0, 0);
        break;
      }
      if (ReadOnly()) break;
      if (SelStart() == SelEnd()) {
        if (Caret >= N) break;
        Anchor = Caret;
        Caret = IsBreakAt(Caret) ? Caret + 2 : Caret + 1;
      }
      ReplaceSelection(std::u32string(), true);
      break;
    case VK_INSERT:
      if (Ctrl && !Shift) SendMessage(Wnd, WM_COPY, 0, 0);
      else if (Shift && !Ctrl) SendMessage(Wnd, WM_PASTE, 0, 0);
      break;
    default:
      break;
  }
}

void EditControl::Char(char32_t Ch) {
  switch (Ch) {
    // The clipboard keys go through their messages, so a subclass sees them.
    case 3: SendMessage(Wnd, WM_COPY, 0, 0); return;
    case 22: SendMessage(Wnd, WM_PASTE, 0, 0); return;
    case 24: SendMessage(Wnd, WM_CUT, 0, 0); return;
    case 26: SendMessage(Wnd, WM_UNDO, 0, 0); return;
    case 1: SetSelection(0, Length()); return;  // Ctrl+A selects the whole text
    case 8:
      if (ReadOnly()) return;
      if (SelStart() == SelEnd()) {
        if (Caret == 0) return;
        Anchor = Caret;
        Caret = (Caret >= 2 && Text[static_cast<size_t>(Caret) - 2] == U'\r' && Text[static_cast<size_t>(Caret) - 1] == U'\n') ? Caret - 2 : Caret - 1;
      }
      ReplaceSelection(std::u32string(), true);
      return;
    case 10:
    case 13:
      if (Multi()) ReplaceSelection(U"\r\n", true, true);
      return;
    case 9:
      if (Multi()) ReplaceSelection(U"\t", true, true);
      return;
    default:
      break;
  }
  if (Ch < 32 || Ch == 127) return;
  if (ReadOnly()) {
    MessageBeep(0);
    return;
  }
  ReplaceSelection(std::u32string(1, Ch), true, true);
}

void EditControl::MouseDown(int X, int Y, bool Shift, bool Double) {
  if (GetFocus() != Wnd) SetFocus(Wnd);
  if (!IsWindow(Wnd)) return;
  const int P = PointToPos(X, Y);
  if (Double) {
    int S = P, E = P;
    while (S > 0 && Text[static_cast<size_t>(S) - 1] > U' ') --S;
    while (E < Length() && Text[static_cast<size_t>(E)] > U' ') ++E;
    SetSelection(S, E);
    return;
  }
  SetSelection(Shift ? Anchor : P, P);
  Dragging = true;
  SetCapture(Wnd);
}

void EditControl::MouseMove(int X, int Y) {
  if (!Dragging) return;
  // Past an edge the text scrolls towards the pointer.
  int DLines = 0, DX = 0;
  if (Multi() && Y < Format.Top) DLines = -1;
  if (Multi() && Y >= Format.Bottom) DLines = 1;
  if (X < Format.Left) DX = -AveCharWidth;
  if (X >= Format.Right) DX = AveCharWidth;
  if (DLines || DX) ScrollBy(DLines, DX);
  SetSelection(Anchor, PointToPos(X, Y));
}

void EditControl::MouseUp() {
  if (!Dragging) return;
  Dragging = false;
  if (GetCapture() == Wnd) ReleaseCapture();
}

void EditControl::Scroll(bool Vertical, WORD Code, int Thumb) {
  if (!Multi()) return;
  const int Page = Vertical ? VisibleLines() : std::max(1, static_cast<int>(Format.Right - Format.Left) - AveCharWidth);
  const int Line = Vertical ? 1 : AveCharWidth;
  const int Cur = Vertical ? FirstLine : XOffset;
  int Delta = 0;
  switch (Code) {
    case SB_LINEUP: Delta = -Line; break;
    case SB_LINEDOWN: Delta = Line; break;
    case SB_PAGEUP: Delta = -Page; break;
    case SB_PAGEDOWN: Delta = Page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: Delta = Thumb - Cur; break;
    case SB_TOP: Delta = -Cur; break;
    case SB_BOTTOM: Delta = 1 << 28; break;
    default: return;
  }
  if (Vertical)
    ScrollBy(Delta, 0);
  else
    ScrollBy(0, Delta);
}

}  // namespace vantrel::win::edit
