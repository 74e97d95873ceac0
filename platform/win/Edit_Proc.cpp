// The edit control's window procedure: creation and teardown of its state, focus and
// caret, painting, input, and the WM_* text and clipboard messages and EM_* requests.
#include <algorithm>
#include <cstring>

#include "platform/rtl/Utf8.h"
#include "platform/win/Edit_State.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Paint.h"
#include "platform/win/Scroll.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowManager.h"

using vantrel::win::Window;
using vantrel::win::WindowManager;
using vantrel::win::edit::ControlOf;
using vantrel::win::edit::EditControl;

namespace {

// Copies UTF-8 into a buffer of Size bytes, never splitting a code point; Terminate adds
// a NUL within Size. Returns the code points copied.
LRESULT EditCopyOut(const std::string& Text, char* Buffer, size_t Size, bool Terminate) {
  if (!Buffer || Size == 0) return 0;
  size_t N = std::min(Text.size(), Terminate ? Size - 1 : Size);
  while (N > 0 && N < Text.size() && (static_cast<unsigned char>(Text[N]) & 0xC0) == 0x80) --N;
  std::memcpy(Buffer, Text.data(), N);
  if (Terminate) Buffer[N] = '\0';
  return Utf8Length(Text.substr(0, N));
}

int EditArgInt(uintptr_t V) { return static_cast<int>(static_cast<int32_t>(static_cast<uint32_t>(V))); }

LRESULT EditPoint(POINT P) { return MAKELRESULT(static_cast<WORD>(static_cast<SHORT>(P.X)), static_cast<WORD>(static_cast<SHORT>(P.Y))); }

// Destroys the caret when this window owns it.
void EditDropCaret(HWND Wnd) {
  WindowManager* M = WindowManager::Instance();
  if (M && M->Input().Caret().Owner == Wnd) DestroyCaret();
}

void EditFocusGained(EditControl& E) {
  E.Focused = true;
  CreateCaret(E.Wnd, nullptr, 1, E.LineHeight);
  E.PlaceCaret();
  ShowCaret(E.Wnd);
  if (!(E.Style() & ES_NOHIDESEL)) E.Refresh();
  E.Notify(EN_SETFOCUS);
}

void EditFocusLost(EditControl& E) {
  E.Focused = false;
  E.MouseUp();
  EditDropCaret(E.Wnd);
  if (!(E.Style() & ES_NOHIDESEL)) E.Refresh();
  E.Notify(EN_KILLFOCUS);
}

void EditChangeStyle(HWND Wnd, DWORD Set, DWORD Clear) {
  const LONG_PTR Old = GetWindowLongPtr(Wnd, GWL_STYLE);
  SetWindowLongPtr(Wnd, GWL_STYLE, (Old & ~static_cast<LONG_PTR>(Clear)) | static_cast<LONG_PTR>(Set));
}

LRESULT EditMessage(EditControl& E, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const HWND Wnd = E.Wnd;
  switch (Msg) {
    case WM_CREATE:
      E.Relayout();
      E.UpdateScrollInfo();
      return 0;
    case WM_SIZE:
      // A new size brings the standard text rectangle back.
      E.FormatSet = false;
      E.Relayout();
      E.ScrollToCaret();
      E.PlaceCaret();
      E.UpdateScrollInfo();
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_SETFONT:
      E.Font = reinterpret_cast<HFONT>(WParam);
      E.Relayout();
      E.ScrollToCaret();
      if (E.Focused) {
        CreateCaret(Wnd, nullptr, 1, E.LineHeight);
        E.PlaceCaret();
        ShowCaret(Wnd);
      }
      E.UpdateScrollInfo();
      if (LOWORD(static_cast<uintptr_t>(LParam))) InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(E.Font);
    case WM_SETTEXT: {
      const char* T = LParam ? reinterpret_cast<const char*>(LParam) : "";
      E.SetText(Utf8ToCodePoints(T));
      if (IsWindow(Wnd)) DefWindowProc(Wnd, Msg, 0, reinterpret_cast<LPARAM>(CodePointsToUtf8(E.Text).c_str()));
      return TRUE;
    }
    case WM_GETTEXT:
      return EditCopyOut(CodePointsToUtf8(E.Text), reinterpret_cast<char*>(LParam), static_cast<size_t>(WParam), true);
    case WM_GETTEXTLENGTH:
      return E.Length();
    case WM_CUT: E.Cut(); return 0;
    case WM_COPY: E.Copy(); return 0;
    case WM_PASTE: E.Paste(); return 0;
    case WM_CLEAR: E.Clear(); return 0;
    case WM_UNDO:
    case EM_UNDO:
      return E.UndoNow() ? TRUE : FALSE;
    case WM_SETFOCUS: EditFocusGained(E); return 0;
    case WM_KILLFOCUS: EditFocusLost(E); return 0;
    case WM_ENABLE:
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_PAINT: {
      if (WParam) {
        E.Paint(reinterpret_cast<HDC>(WParam));
        return 0;
      }
      PAINTSTRUCT Ps{};
      HDC Dc = BeginPaint(Wnd, &Ps);
      if (Dc) E.Paint(Dc);
      EndPaint(Wnd, &Ps);
      return 0;
    }
    case WM_GETDLGCODE: {
      LRESULT Code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      if (E.Multi()) Code |= DLGC_WANTALLKEYS;
      return Code;
    }
    case WM_KEYDOWN: E.KeyDown(WParam); return 0;
    case WM_CHAR: E.Char(static_cast<char32_t>(WParam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      E.MouseDown(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam), (WParam & MK_SHIFT) != 0, Msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE: E.MouseMove(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)); return 0;
    case WM_LBUTTONUP: E.MouseUp(); return 0;
    case WM_CAPTURECHANGED:
      E.Dragging = false;
      return 0;
    case WM_MOUSEWHEEL: {
      if (!E.Multi()) break;
      UINT Lines = 3;
      SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
      const int Delta = GET_WHEEL_DELTA_WPARAM(WParam);
      E.ScrollBy(-Delta * static_cast<int>(Lines) / 120, 0);
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      E.Scroll(Msg == WM_VSCROLL, LOWORD(WParam), static_cast<SHORT>(HIWORD(WParam)));
      return 0;
    case EM_GETSEL: {
      if (WParam) *reinterpret_cast<DWORD*>(WParam) = static_cast<DWORD>(E.SelStart());
      if (LParam) *reinterpret_cast<DWORD*>(LParam) = static_cast<DWORD>(E.SelEnd());
      return MAKELRESULT(static_cast<WORD>(std::min(E.SelStart(), 0xFFFF)), static_cast<WORD>(std::min(E.SelEnd(), 0xFFFF)));
    }
    case EM_SETSEL: {
      const int Start = EditArgInt(WParam), End = EditArgInt(static_cast<uintptr_t>(LParam));
      if (Start == -1) {
        E.SetSelection(E.Caret, E.Caret);
        return 0;
      }
      E.SetSelection(std::max(0, Start), End < 0 ? E.Length() : End);
      return 0;
    }
    case EM_REPLACESEL: {
      const char* T = LParam ? reinterpret_cast<const char*>(LParam) : "";
      E.ReplaceSelection(Utf8ToCodePoints(T), false);
      if (!WParam) E.UndoValid = false;
      return 0;
    }
    case EM_GETRECT:
      if (LParam) *reinterpret_cast<RECT*>(LParam) = E.Format;
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP: {
      // Only a multi-line control takes a text rectangle of its own.
      if (!E.Multi()) return 0;
      if (LParam) {
        E.Format = *reinterpret_cast<const RECT*>(LParam);
        E.FormatSet = true;
      } else {
        E.FormatSet = false;
      }
      E.Relayout();
      E.PlaceCaret();
      E.UpdateScrollInfo();
      if (Msg == EM_SETRECT) InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    }
    case EM_SETMARGINS: {
      if (WParam == EC_USEFONTINFO) {
        E.LeftMargin = E.RightMargin = E.AveCharWidth / 3;
      } else {
        if (WParam & EC_LEFTMARGIN) E.LeftMargin = LOWORD(static_cast<uintptr_t>(LParam));
        if (WParam & EC_RIGHTMARGIN) E.RightMargin = HIWORD(static_cast<uintptr_t>(LParam));
      }
      E.Relayout();
      E.ScrollToCaret();
      E.PlaceCaret();
      E.UpdateScrollInfo();
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    }
    case EM_GETMARGINS:
      return MAKELRESULT(static_cast<WORD>(E.LeftMargin), static_cast<WORD>(E.RightMargin));
    case EM_GETMODIFY: return E.Modified ? TRUE : FALSE;
    case EM_SETMODIFY: E.Modified = WParam != 0; return 0;
    case EM_CANUNDO: return E.UndoValid ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      E.UndoValid = false;
      E.TypingRunEnd = -1;
      return 0;
    case EM_LIMITTEXT:
      E.Limit = WParam == 0 || WParam > 0x7FFFFFFE ? 0x7FFFFFFEu : static_cast<unsigned>(WParam);
      return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(E.Limit);
    case EM_SETREADONLY:
      EditChangeStyle(Wnd, WParam ? ES_READONLY : 0, WParam ? 0 : ES_READONLY);
      InvalidateRect(Wnd, nullptr, TRUE);
      return TRUE;
    case EM_SETPASSWORDCHAR:
      if (E.Multi()) return 0;
      E.PasswordChar = static_cast<char32_t>(WParam);
      EditChangeStyle(Wnd, WParam ? ES_PASSWORD : 0, WParam ? 0 : ES_PASSWORD);
      E.Relayout();
      E.ScrollToCaret();
      E.PlaceCaret();
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case EM_GETPASSWORDCHAR:
      return (E.Style() & ES_PASSWORD) ? static_cast<LRESULT>(E.PasswordChar) : 0;
    case EM_GETLINECOUNT: return static_cast<LRESULT>(E.Lines.size());
    case EM_LINEINDEX: {
      const int L = EditArgInt(WParam) < 0 ? E.LineOf(E.Caret) : EditArgInt(WParam);
      return L < static_cast<int>(E.Lines.size()) ? E.Lines[static_cast<size_t>(L)].Start : -1;
    }
    case EM_LINELENGTH: {
      if (!E.Multi()) return E.Length();
      const int P = EditArgInt(WParam) < 0 ? E.Caret : EditArgInt(WParam);
      if (P > E.Length()) return 0;
      return E.Lines[static_cast<size_t>(E.LineOf(P))].Length;
    }
    case EM_LINEFROMCHAR: {
      const int P = EditArgInt(WParam) < 0 ? E.SelStart() : std::min(EditArgInt(WParam), E.Length());
      return E.LineOf(P);
    }
    case EM_GETLINE: {
      char* Buffer = reinterpret_cast<char*>(LParam);
      if (!Buffer) return 0;
      WORD Size = 0;
      std::memcpy(&Size, Buffer, sizeof Size);
      const int L = E.Multi() ? EditArgInt(WParam) : 0;
      if (L < 0 || L >= static_cast<int>(E.Lines.size())) return 0;
      const vantrel::win::edit::LineRec& R = E.Lines[static_cast<size_t>(L)];
      const std::string Line = CodePointsToUtf8(E.Text.substr(static_cast<size_t>(R.Start), static_cast<size_t>(R.Length)));
      return EditCopyOut(Line, Buffer, Size, false);
    }
    case EM_GETFIRSTVISIBLELINE: {
      if (E.Multi()) return E.FirstLine;
      const auto& X = E.Lines.front().X;
      int C = 0;
      while (C < static_cast<int>(X.size()) - 1 && X[static_cast<size_t>(C)] < E.XOffset) ++C;
      return C;
    }
    case EM_LINESCROLL:
      if (!E.Multi()) return FALSE;
      E.ScrollBy(EditArgInt(static_cast<uintptr_t>(LParam)), EditArgInt(WParam) * E.AveCharWidth);
      return TRUE;
    case EM_SCROLL: {
      if (!E.Multi()) return FALSE;
      const int Before = E.FirstLine;
      E.Scroll(true, static_cast<WORD>(WParam), 0);
      return MAKELRESULT(static_cast<WORD>(static_cast<SHORT>(E.FirstLine - Before)), TRUE);
    }
    case EM_SCROLLCARET:
      if (E.ScrollToCaret()) {
        E.Refresh();
        E.UpdateScrollInfo();
      }
      E.PlaceCaret();
      return TRUE;
    case EM_POSFROMCHAR: {
      const int P = EditArgInt(WParam);
      if (P < 0 || P > E.Length()) return -1;
      return EditPoint(E.PosToPoint(P));
    }
    case EM_CHARFROMPOS: {
      const int P = E.PointToPos(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam));
      return MAKELRESULT(static_cast<WORD>(std::min(P, 0xFFFF)), static_cast<WORD>(E.LineOf(P)));
    }
    default:
      break;
  }
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

}  // namespace

LRESULT EditWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    WindowManager* M = WindowManager::Instance();
    Window* W = M ? M->Find(Wnd) : nullptr;
    if (!W) return FALSE;
    auto E = std::make_shared<EditControl>(Wnd);
    const auto* CS = reinterpret_cast<const CREATESTRUCT*>(LParam);
    if (CS && CS->lpszName) E->Text = E->Normalize(Utf8ToCodePoints(CS->lpszName));
    if (CS && (CS->style & ES_MULTILINE)) E->Limit = 0x7FFFFFFE;
    W->ClassData = E;
    return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
  // Held for the call, so a handler that destroys the window leaves the state alive.
  const std::shared_ptr<EditControl> E = ControlOf(Wnd);
  if (!E) return DefWindowProc(Wnd, Msg, WParam, LParam);
  if (Msg == WM_DESTROY && E->Focused) {
    E->Focused = false;
    EditDropCaret(Wnd);
  }
  return EditMessage(*E, Msg, WParam, LParam);
}
