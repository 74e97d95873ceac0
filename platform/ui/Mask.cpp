// TCustomMaskEdit: the mask applied in the key handlers and the clipboard and text
// messages; every change goes to the native window as a replacement of the selection.
#include "platform/ui/Mask.h"

#include "platform/rtl/Utf8.h"
#include "platform/ui/Clipbrd.h"
#include "platform/win/Edit.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"

namespace {

constexpr const char* kMaskEditError = "Invalid input value.  Use escape key to abandon changes";

}  // namespace

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

TCustomMaskEdit::~TCustomMaskEdit() = default;

void TCustomMaskEdit::SetEditMask(const String& Value) {
  if (FEditMask == Value) return;
  const String Old = Text();
  FEditMask = Value;
  FMask = ParseEditMask(Value);
  SetMaxLength(FMask.IsMasked() ? FMask.Count() : 0);
  if (FMask.IsMasked())
    SetEditText(MaskFormat(FMask, Old));
  else
    SetEditText(Old);
}

String TCustomMaskEdit::EditText() { return TControl::GetText(); }

void TCustomMaskEdit::SetEditText(const String& Value) {
  FSettingRaw = true;
  struct Restore {
    Boolean& Flag;
    ~Restore() { Flag = false; }
  } Guard{FSettingRaw};
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

String TCustomMaskEdit::GetText() {
  const String Shown = TControl::GetText();
  return IsMasked() ? MaskEditTextToText(FMask, Shown) : Shown;
}

void TCustomMaskEdit::Reset() {
  if (!Modified()) return;
  SetEditText(FOldValue);
  SetModified(false);
}

Boolean TCustomMaskEdit::Validate(const String& Value, Integer& Pos) { return MaskValidate(FMask, Value, Pos); }

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked() || !Modified()) return;
  Integer Pos = 0;
  if (Validate(EditText(), Pos)) return;
  FReEnter = true;
  SetFocus();
  SetSel(Pos, Pos);
  MessageBeep(0);
  throw EDBEditError(kMaskEditError);
}

std::pair<Integer, Integer> TCustomMaskEdit::GetSel() {
  DWORD Start = 0, End = 0;
  SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  return {static_cast<Integer>(Start), static_cast<Integer>(End)};
}

void TCustomMaskEdit::SetSel(Integer Start, Integer End) {
  SendMessage(Handle(), EM_SETSEL, static_cast<WPARAM>(Start), End);
}

std::u32string TCustomMaskEdit::EmptyRange(Integer Start, Integer End) const {
  std::u32string Out;
  for (Integer P = Start; P < End; ++P) Out += MaskEmptyChar(FMask, P);
  return Out;
}

void TCustomMaskEdit::ReplaceRange(Integer Start, Integer End, const std::u32string& With) {
  SetSel(Start, End);
  const String U = CodePointsToUtf8(With);
  SendMessage(Handle(), EM_REPLACESEL, 1, reinterpret_cast<LPARAM>(U.c_str()));
}

void TCustomMaskEdit::BlankSelection() {
  auto [Start, End] = GetSel();
  End = std::min(End, FMask.Count());
  if (Start >= End) return;
  ReplaceRange(Start, End, EmptyRange(Start, End));
  SetSel(Start, Start);
}

void TCustomMaskEdit::CharKey(char32_t Key) {
  if (Key == 27) {
    Reset();
    return;
  }
  if (Key < 32 || !EditCanModify() || ReadOnly()) return;
  auto [Start, End] = GetSel();
  if (End - Start > 1) {
    BlankSelection();
    End = Start;
  }
  // The literal under the caret typed as itself steps over it.
  if (MaskIsLiteral(FMask, Start) && Start < FMask.Count() && FMask.Positions[static_cast<size_t>(Start)].Literal == Key) {
    SetSel(Start + 1, Start + 1);
    return;
  }
  const Integer Pos = MaskNextInput(FMask, Start);
  if (Pos >= FMask.Count() || !MaskCharFits(FMask, Pos, Key)) {
    MessageBeep(0);
    return;
  }
  ReplaceRange(Pos, Pos + 1, std::u32string(1, MaskApplyCase(FMask, Pos, Key)));
  const Integer Next = MaskNextInput(FMask, Pos + 1);
  SetSel(Next, Next);
}

void TCustomMaskEdit::DeleteKey(Word Key) {
  if (!EditCanModify() || ReadOnly()) return;
  const auto [Start, End] = GetSel();
  if (End > Start) {
    BlankSelection();
    return;
  }
  if (Key == VK_BACK) {
    const Integer Pos = MaskPrevInput(FMask, Start - 1);
    if (Pos < 0) return;
    ReplaceRange(Pos, Pos + 1, EmptyRange(Pos, Pos + 1));
    SetSel(Pos, Pos);
  } else {
    const Integer Pos = MaskNextInput(FMask, Start);
    if (Pos >= FMask.Count()) return;
    ReplaceRange(Pos, Pos + 1, EmptyRange(Pos, Pos + 1));
    SetSel(Start, Start);
  }
}

void TCustomMaskEdit::PasteText() {
  if (!EditCanModify() || ReadOnly()) return;
  const std::u32string Clip = Utf8ToCodePoints(Clipboard()->AsText());
  if (Clip.empty()) return;
  BlankSelection();
  const Integer Start = GetSel().first;
  std::u32string Shown = Utf8ToCodePoints(EditText());
  Shown.resize(static_cast<size_t>(FMask.Count()), U' ');
  // Only positions that take a character change; literals stay where they are.
  Integer Pos = Start;
  for (const char32_t C : Clip) {
    if (Pos < FMask.Count() && MaskIsLiteral(FMask, Pos) && FMask.Positions[static_cast<size_t>(Pos)].Literal == C) {
      ++Pos;
      continue;
    }
    Pos = MaskNextInput(FMask, Pos);
    if (Pos >= FMask.Count() || !MaskCharFits(FMask, Pos, C)) break;
    Shown[static_cast<size_t>(Pos)] = MaskApplyCase(FMask, Pos, C);
    ++Pos;
  }
  if (Pos > Start) ReplaceRange(Start, Pos, Shown.substr(static_cast<size_t>(Start), static_cast<size_t>(Pos - Start)));
  const Integer Next = MaskNextInput(FMask, Pos);
  SetSel(Next, Next);
}

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (!IsMasked() || Key == 0 || Shift.Contains(ssAlt)) return;
  const bool Plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_LEFT:
    case VK_RIGHT: {
      if (!Plain) return;
      const auto [Start, End] = GetSel();
      Integer Pos;
      if (Key == VK_LEFT) {
        Pos = End > Start ? Start : MaskPrevInput(FMask, Start - 1);
        if (Pos < 0) Pos = Start;
      } else {
        Pos = End > Start ? End : std::min(FMask.Count(), MaskNextInput(FMask, Start + 1));
      }
      SetSel(Pos, Pos);
      Key = 0;
      return;
    }
    case VK_UP:
    case VK_DOWN:
      Key = 0;
      return;
    case VK_HOME:
    case VK_END: {
      if (Shift.Contains(ssShift)) return;
      const Integer Pos = Key == VK_HOME ? MaskNextInput(FMask, 0) : FMask.Count();
      SetSel(Pos, Pos);
      Key = 0;
      return;
    }
    case VK_BACK:
      DeleteKey(Key);
      Key = 0;
      return;
    case VK_DELETE:
      if (!Plain) return;
      DeleteKey(Key);
      Key = 0;
      return;
    default:
      return;
  }
}

void TCustomMaskEdit::KeyPress(char32_t& Key) {
  TCustomEdit::KeyPress(Key);
  // Ctrl+A (select all) and the clipboard keys are the edit's own.
  if (!IsMasked() || Key == 0 || Key == 1 || Key == 3 || Key == 22 || Key == 24) return;
  CharKey(Key);
  Key = 0;
}

void TCustomMaskEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT: {
      if (!IsMasked() || FSettingRaw) break;
      // A text written to a masked edit takes the mask's shape.
      const String Shaped = MaskFormat(FMask, Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "");
      const LPARAM Given = Message.LParam;
      Message.LParam = reinterpret_cast<LPARAM>(Shaped.c_str());
      TCustomEdit::Dispatch(Message);
      Message.LParam = Given;
      return;
    }
    case WM_CUT:
      if (!EditCanModify() || ReadOnly()) return;
      if (!IsMasked()) break;
      SendMessage(Handle(), WM_COPY, 0, 0);
      BlankSelection();
      return;
    case WM_PASTE:
      if (!EditCanModify() || ReadOnly()) return;
      if (!IsMasked()) break;
      PasteText();
      return;
    case WM_CLEAR:
      if (!EditCanModify() || ReadOnly()) return;
      if (!IsMasked()) break;
      BlankSelection();
      return;
    case WM_UNDO:
      if (!EditCanModify() || ReadOnly()) return;
      break;
    default:
      break;
  }
  TCustomEdit::Dispatch(Message);
}

void TCustomMaskEdit::CMEnter(TWMNoParams& Message) {
  if (IsMasked() && !FReEnter) FOldValue = EditText();
  FReEnter = false;
  TCustomEdit::CMEnter(Message);
}

void TCustomMaskEdit::CMExit(TWMNoParams& Message) {
  if (IsMasked()) ValidateEdit();
  TCustomEdit::CMExit(Message);
}

void TCustomMaskEdit::CMWantSpecialKey(TCMWantSpecialKey& Message) {
  TCustomEdit::CMWantSpecialKey(Message);
  // Esc undoes the changes of a masked edit rather than closing the dialog.
  if (Message.CharCode() == VK_ESCAPE && IsMasked() && Modified()) Message.Result() = 1;
}
