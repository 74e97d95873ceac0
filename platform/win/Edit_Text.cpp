// The edit control's text model: replacing the selection within the length limit, the
// one-level undo (undoing an undo redoes), the clipboard commands and the notifications
// a change sends to the parent.
#include <algorithm>
#include <cstring>

#include "platform/rtl/Utf8.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Edit_State.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win::edit {

namespace {

// The clipboard's text, or empty.
std::u32string EditClipboardText(HWND Wnd) {
  std::u32string Out;
  if (!OpenClipboard(Wnd)) return Out;
  if (HANDLE H = GetClipboardData(CF_UNICODETEXT)) {
    if (const char* P = static_cast<const char*>(GlobalLock(H))) {
      Out = Utf8ToCodePoints(P);
      GlobalUnlock(H);
    }
  }
  CloseClipboard();
  return Out;
}

void EditSetClipboardText(HWND Wnd, const std::u32string& Text) {
  const std::string U = CodePointsToUtf8(Text);
  if (!OpenClipboard(Wnd)) return;
  EmptyClipboard();
  if (HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE, U.size() + 1)) {
    if (char* P = static_cast<char*>(GlobalLock(H))) {
      std::memcpy(P, U.c_str(), U.size() + 1);
      GlobalUnlock(H);
      if (!SetClipboardData(CF_UNICODETEXT, H)) GlobalFree(H);
    } else {
      GlobalFree(H);
    }
  }
  CloseClipboard();
}

// What the user puts in takes the case the style asks for.
void EditApplyCase(std::u32string& S, DWORD Style) {
  if (!(Style & (ES_UPPERCASE | ES_LOWERCASE))) return;
  for (char32_t& C : S) C = (Style & ES_UPPERCASE) ? UpperCaseChar(C) : LowerCaseChar(C);
}

bool EditIsSpace(char32_t C) { return C == U' ' || C == U'\t' || C == U'\r' || C == U'\n'; }

}  // namespace

std::u32string EditControl::Shown() const {
  if (Password()) return std::u32string(Text.size(), PasswordChar);
  return Text;
}

std::u32string EditControl::Normalize(const std::u32string& Value) const {
  if (!Multi()) return Value;
  std::u32string Out;
  Out.reserve(Value.size());
  for (size_t I = 0; I < Value.size(); ++I) {
    const char32_t C = Value[I];
    if (C == U'\r') {
      Out += U"\r\n";
      if (I + 1 < Value.size() && Value[I + 1] == U'\n') ++I;
    } else if (C == U'\n') {
      Out += U"\r\n";
    } else {
      Out += C;
    }
  }
  return Out;
}

void EditControl::Notify(WORD Code) const {
  const HWND Parent = GetParent(Wnd);
  if (!Parent) return;
  const WORD Id = static_cast<WORD>(GetWindowLongPtr(Wnd, GWL_ID));
  SendMessage(Parent, WM_COMMAND, MAKEWPARAM(Id, Code), reinterpret_cast<LPARAM>(Wnd));
}

void EditControl::Refresh() const { InvalidateRect(Wnd, &Format, TRUE); }

void EditControl::Changed(bool Notification) {
  Relayout();
  ScrollToCaret();
  Refresh();
  PlaceCaret();
  UpdateScrollInfo();
  if (!Notification) return;
  const HWND Self = Wnd;
  Notify(EN_UPDATE);
  if (IsWindow(Self)) Notify(EN_CHANGE);
}

void EditControl::SaveUndo() {
  UndoText = Text;
  UndoAnchor = Anchor;
  UndoCaret = Caret;
  UndoValid = true;
  TypingRunEnd = -1;
}

bool EditControl::ReplaceSelection(std::u32string Insert, bool User, bool Typing) {
  if (User && ReadOnly()) return false;
  Insert = Normalize(Insert);
  if (User) EditApplyCase(Insert, Style());
  const int Start = SelStart(), End = SelEnd();
  const long long Room = static_cast<long long>(Limit) - (Length() - (End - Start));
  bool Over = false;
  if (static_cast<long long>(Insert.size()) > std::max(0LL, Room)) {
    Insert.resize(static_cast<size_t>(std::max(0LL, Room)));
    // Never split a line break.
    if (!Insert.empty() && Insert.back() == U'\r') Insert.pop_back();
    Over = true;
  }
  if (Insert.empty() && Start == End) {
    if (Over) {
      MessageBeep(0);
      Notify(EN_MAXTEXT);
    }
    return false;
  }
  // Consecutive typing is undone as one step.
  if (!(Typing && TypingRunEnd == Start && Start == End && UndoValid)) SaveUndo();
  Text.replace(static_cast<size_t>(Start), static_cast<size_t>(End - Start), Insert);
  Caret = Anchor = Start + static_cast<int>(Insert.size());
  TypingRunEnd = Typing ? Caret : -1;
  Modified = true;
  const HWND Self = Wnd;
  Changed(true);
  if (Over && IsWindow(Self)) Notify(EN_MAXTEXT);
  return true;
}

void EditControl::SetText(const std::u32string& Value) {
  Text = Normalize(Value);
  Anchor = Caret = 0;
  FirstLine = XOffset = 0;
  UndoValid = false;
  TypingRunEnd = -1;
  Modified = false;
  // A single line tells its parent; a multi-line control does not.
  Changed(!Multi());
}

void EditControl::SetSelection(int NewAnchor, int NewCaret) {
  const auto Fix = [this](int P) {
    P = std::clamp(P, 0, Length());
    // Never between the two halves of a line break.
    if (P > 0 && P < Length() && Text[static_cast<size_t>(P) - 1] == U'\r' && Text[static_cast<size_t>(P)] == U'\n') --P;
    return P;
  };
  NewAnchor = Fix(NewAnchor);
  NewCaret = Fix(NewCaret);
  if (NewAnchor == Anchor && NewCaret == Caret) return;
  Anchor = NewAnchor;
  Caret = NewCaret;
  TypingRunEnd = -1;
  ScrollToCaret();
  Refresh();
  PlaceCaret();
  UpdateScrollInfo();
}

bool EditControl::UndoNow() {
  if (!UndoValid) return false;
  std::swap(Text, UndoText);
  const int A = UndoAnchor, C = UndoCaret;
  UndoAnchor = Anchor;
  UndoCaret = Caret;
  Anchor = std::min(A, Length());
  Caret = std::min(C, Length());
  TypingRunEnd = -1;
  Modified = true;
  Changed(true);
  return true;
}

void EditControl::Copy() const {
  if (Password() || SelStart() == SelEnd()) return;
  EditSetClipboardText(Wnd, Text.substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelEnd() - SelStart())));
}

bool EditControl::Cut() {
  if (Password() || ReadOnly() || SelStart() == SelEnd()) return false;
  Copy();
  return ReplaceSelection(std::u32string(), true);
}

bool EditControl::Paste() {
  if (ReadOnly()) return false;
  std::u32string T = EditClipboardText(Wnd);
  if (!Multi()) {
    const size_t Break = T.find_first_of(U"\r\n");
    if (Break != std::u32string::npos) T.resize(Break);
  }
  if (T.empty()) return false;
  return ReplaceSelection(T, true);
}

bool EditControl::Clear() {
  if (ReadOnly() || SelStart() == SelEnd()) return false;
  return ReplaceSelection(std::u32string(), true);
}

int EditControl::WordStart(int Pos) const {
  while (Pos > 0 && EditIsSpace(Text[static_cast<size_t>(Pos) - 1])) --Pos;
  while (Pos > 0 && !EditIsSpace(Text[static_cast<size_t>(Pos) - 1])) --Pos;
  return Pos;
}

int EditControl::WordEnd(int Pos) const {
  const int N = Length();
  while (Pos < N && !EditIsSpace(Text[static_cast<size_t>(Pos)])) ++Pos;
  while (Pos < N && EditIsSpace(Text[static_cast<size_t>(Pos)]) && Text[static_cast<size_t>(Pos)] != U'\r') ++Pos;
  return Pos;
}

}  // namespace vantrel::win::edit
