// The edit control's state behind one EDIT window and the operations its message
// handlers share: the text model (replace, undo, limit), the layout of lines, caret and
// scroll position, painting and notifications. Only the Edit_*.cpp units see it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win/Edit.h"
#include "platform/win/Gdi.h"

namespace vantrel::win::edit {

// One displayed line: Length code points from Start, then BreakLength code points of a
// line break (2 for CR LF; 0 for a wrapped line or the last one). X holds the offset of
// each code point's left edge and, last, the line's width.
struct LineRec {
  int Start = 0;
  int Length = 0;
  int BreakLength = 0;
  std::vector<int> X;
  int Width() const { return X.empty() ? 0 : X.back(); }
};

class EditControl {
 public:
  explicit EditControl(HWND AWnd);

  HWND Wnd;
  std::u32string Text;
  int Anchor = 0;  // the selection runs between Anchor and Caret
  int Caret = 0;
  bool Modified = false;
  bool UndoValid = false;
  std::u32string UndoText;
  int UndoAnchor = 0;
  int UndoCaret = 0;
  int TypingRunEnd = -1;  // where the caret stood after the last typed character of a run
  unsigned Limit = 30000;
  char32_t PasswordChar = U'*';
  HFONT Font = nullptr;
  RECT Format{};        // the text rectangle (client coordinates)
  bool FormatSet = false;
  int LeftMargin = 0;
  int RightMargin = 0;
  int FirstLine = 0;    // multi-line: first line shown
  int XOffset = 0;      // pixels scrolled sideways
  bool Focused = false;
  bool Dragging = false;
  std::vector<LineRec> Lines;
  int LineHeight = 16;
  int AveCharWidth = 7;

  DWORD Style() const;
  bool Multi() const { return (Style() & ES_MULTILINE) != 0; }
  bool Password() const { return !Multi() && (Style() & ES_PASSWORD) != 0 && PasswordChar != 0; }
  bool ReadOnly() const { return (Style() & ES_READONLY) != 0; }
  int Length() const { return static_cast<int>(Text.size()); }
  int SelStart() const { return Anchor < Caret ? Anchor : Caret; }
  int SelEnd() const { return Anchor < Caret ? Caret : Anchor; }

  // --- Layout (Edit_Layout.cpp) ---
  // The text rectangle a window of this size starts with.
  RECT DefaultFormat() const;
  // Re-measures the font and re-breaks the lines; then keeps the scroll position valid.
  void Relayout();
  int LineOf(int Pos) const;
  int VisibleLines() const;  // whole lines in the text rectangle (at least 1)
  // Client coordinates of the position's left edge on its line (top of the line).
  POINT PosToPoint(int Pos) const;
  // The position nearest to a client point.
  int PointToPos(int X, int Y) const;
  // Scrolls so the caret shows; true when the view moved.
  bool ScrollToCaret();
  // Keeps FirstLine and XOffset within the text; true when they changed.
  bool ClampScroll();
  // Puts the caret (when the window has it) at the caret position.
  void PlaceCaret() const;
  // Multi-line: the scroll state of the bars the window's styles ask for.
  void UpdateScrollInfo() const;
  // Scrolls by lines (vertical) and pixels (sideways); true when the view moved.
  bool ScrollBy(int DLines, int DX);

  // --- Text (Edit_Text.cpp) ---
  // Replaces the selection with Insert (cut to the limit; User: typing or a clipboard
  // command, refused when read-only); false when nothing changed.
  bool ReplaceSelection(std::u32string Insert, bool User, bool Typing = false);
  void SetText(const std::u32string& Value);
  void SetSelection(int NewAnchor, int NewCaret);
  void SaveUndo();
  bool UndoNow();
  void Copy() const;
  bool Cut();
  bool Paste();
  bool Clear();
  // The text as the window shows it (password characters in place of a password).
  std::u32string Shown() const;
  // Multi-line text takes every line break as CR LF; a single line keeps what it is given.
  std::u32string Normalize(const std::u32string& Value) const;
  void Notify(WORD Code) const;
  // After a change: layout, view, caret, repaint, then EN_UPDATE and EN_CHANGE.
  void Changed(bool Notification);
  void Refresh() const;  // repaint the text rectangle
  int WordStart(int Pos) const;
  int WordEnd(int Pos) const;

  // --- Input (Edit_Input.cpp) ---
  void KeyDown(WPARAM Key);
  void Char(char32_t Ch);
  void MouseDown(int X, int Y, bool Shift, bool Double);
  void MouseMove(int X, int Y);
  void MouseUp();
  void Scroll(bool Vertical, WORD Code, int Thumb);

  // --- Painting (Edit_Paint.cpp) ---
  void Paint(HDC Dc);
};

// The control of a live EDIT window (nullptr for others).
std::shared_ptr<EditControl> ControlOf(HWND Wnd);

}  // namespace vantrel::win::edit
