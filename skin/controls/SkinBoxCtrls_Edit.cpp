// The edit base: its own read-only mode, the transparent mode, Enter and Esc routed to the
// form, one line only, and the context menu; then the numeric edit's key filter and its
// up and down notifications.
#include "platform/rtl/Utf8.h"
#include "platform/ui/Clipbrd.h"
#include "platform/win/Edit.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/forms/FormSkin.h"

namespace {

constexpr char32_t EditDecimalSeparator = U'.';
constexpr WORD EditLeftMargin = 2;

// The clipboard text up to its first line break.
String ClipboardFirstLine() {
  const String T = Clipboard()->AsText();
  const size_t Break = T.find_first_of("\r\n");
  return Break == String::npos ? T : T.substr(0, Break);
}

}  // namespace

TspCustomEdit::TspCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  ControlStyle.Include(csOpaque);
}

// A remaining context menu is owned and goes with the edit's components.
TspCustomEdit::~TspCustomEdit() = default;

void TspCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  // The menu is owned: it may go with the edit's components before the destructor runs.
  if (Operation == opRemove && AComponent == FSysPopupMenu) FSysPopupMenu = nullptr;
}

void TspCustomEdit::SetEditTransparent(Boolean Value) {
  FEditTransparent = Value;
  RecreateWnd();
}

void TspCustomEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style &= ~WS_BORDER;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  if (FEditTransparent) Params.ExStyle |= WS_EX_TRANSPARENT;
  if (PasswordChar() != 0)
    Params.Style |= ES_PASSWORD;
  else
    Params.Style |= ES_MULTILINE;
}

void TspCustomEdit::Invalidate() {
  if (!FEditTransparent) {
    TCustomMaskEdit::Invalidate();
    return;
  }
  if (!Parent() || !HandleAllocated() || !Parent()->HandleAllocated()) return;
  const TPoint A = Parent()->ScreenToClient(ClientToScreen(Point(0, 0)));
  const TPoint B = Parent()->ScreenToClient(ClientToScreen(Point(ClientWidth(), ClientHeight())));
  RECT R{A.X, A.Y, B.X, B.Y};
  InvalidateRect(Parent()->Handle(), &R, TRUE);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TspCustomEdit::RepaintTransparent() {
  if (FEditTransparent) Invalidate();
}

void TspCustomEdit::Change() {
  TCustomMaskEdit::Change();
  RepaintTransparent();
}

void TspCustomEdit::PasteFirstLine() {
  // A one-line edit takes what comes before the first line break.
  const String Line = ClipboardFirstLine();
  if (IsMasked() || Line == Clipboard()->AsText()) {
    TMessage M{WM_PASTE, 0, 0, 0};
    TCustomMaskEdit::Dispatch(M);
    return;
  }
  SendMessage(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Line.c_str()));
}

void TspCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CHAR: {
      const auto Key = static_cast<char32_t>(Message.WParam);
      if (Key == 27 || Key == 13) {
        char32_t Copy = Key;
        if (OnKeyPress) OnKeyPress(this, Copy);
        if (TCustomForm* F = GetParentForm(this)) F->Perform(CM_DIALOGKEY, Key, Message.LParam);
        return;
      }
      // Ctrl+Enter would start a second line.
      if (Key == 10 || FReadOnly) return;
      break;
    }
    case WM_KEYDOWN:
      if (Message.WParam == VK_DELETE && FReadOnly) return;
      TCustomMaskEdit::Dispatch(Message);
      RepaintTransparent();
      return;
    case WM_PASTE:
      if (FReadOnly) return;
      PasteFirstLine();
      RepaintTransparent();
      return;
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
      if (FReadOnly) return;
      TCustomMaskEdit::Dispatch(Message);
      RepaintTransparent();
      return;
    case WM_SETTEXT:
    case WM_MOVE:
    case WM_KILLFOCUS:
      TCustomMaskEdit::Dispatch(Message);
      RepaintTransparent();
      return;
    case WM_SETFOCUS:
      TCustomMaskEdit::Dispatch(Message);
      RepaintTransparent();
      if (AutoSelect()) SelectAll();
      return;
    case WM_LBUTTONDOWN:
      TCustomMaskEdit::Dispatch(Message);
      FDown = true;
      RepaintTransparent();
      return;
    case WM_LBUTTONUP:
      TCustomMaskEdit::Dispatch(Message);
      FDown = false;
      return;
    case WM_MOUSEMOVE:
      TCustomMaskEdit::Dispatch(Message);
      if (FDown) RepaintTransparent();
      return;
    case WM_SETFONT:
      TCustomMaskEdit::Dispatch(Message);
      // Text starts two pixels in from the left edge and runs to the right edge.
      SendMessage(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(EditLeftMargin, 0));
      return;
    case WM_ERASEBKGND:
      if (!FEditTransparent) break;
      Invalidate();
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
      if (!FEditTransparent) break;
      const HDC DC = reinterpret_cast<HDC>(Message.WParam);
      SetBkMode(DC, TRANSPARENT);
      SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
      Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return;
    }
    case CM_CANCELMODE:
      TCustomMaskEdit::Dispatch(Message);
      if (OnEditCancelMode) OnEditCancelMode(reinterpret_cast<TControl*>(Message.LParam));
      return;
    case WM_CONTEXTMENU:
      ShowContextMenu(Message);
      return;
    case WM_SKINMENU_COMMAND:
      delete FSysPopupMenu;
      FSysPopupMenu = nullptr;
      return;
    default:
      break;
  }
  TCustomMaskEdit::Dispatch(Message);
}

void TspCustomEdit::ShowContextMenu(TMessage& Message) {
  if (PopupMenu()) {
    TCustomMaskEdit::Dispatch(Message);
    return;
  }
  CreateSysPopupMenu();
  PopupEditSysMenu(FSysPopupMenu, this, Message.LParam);
}

void TspCustomEdit::CreateSysPopupMenu() {
  delete FSysPopupMenu;
  FSysPopupMenu = nullptr;
  TspResourceStrData* Strings = nullptr;
  if (TCustomForm* F = GetParentForm(this))
    if (TspFormSkin* FS = FindSkinFormComponent(F))
      if (TspSkinData* SD = FS->SkinData()) Strings = SD->ResourceStrData();
  DWORD Start = 0, End = 0;
  SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  TspEditMenuState S;
  S.CanUndo = CanUndo();
  S.HasSelection = Start < End;
  S.ReadOnly = FReadOnly;
  S.ClipboardHasText = !Clipboard()->AsText().empty();
  S.AllSelected = Start == 0 && static_cast<Integer>(End) == Utf8Length(Text());
  FSysPopupMenu = CreateEditSysMenu(this, Strings, S);
  FSysPopupMenu->FreeNotification(this);
}

// --- the numeric edit ----------------------------------------------------------------------

TspSkinNumEdit::TspSkinNumEdit(TComponent* AOwner) : TspCustomEdit(AOwner) {}

Boolean TspSkinNumEdit::IsValidChar(char32_t Key) {
  const Boolean Control = Key < 32 && Key != 13;
  Boolean Ok = Key == U'-' || (Key >= U'0' && Key <= U'9') || Control;
  if (Float) Ok = Ok || Key == EditDecimalSeparator;
  if (Key > 255) Ok = false;
  if (!FEditorEnabled && Ok && (Key >= 32 || Key == 8)) Ok = false;
  const String T = Text();
  if (Ok && Key == EditDecimalSeparator && T.find(static_cast<char>(EditDecimalSeparator)) != String::npos) Ok = false;
  if (Ok && Key == U'-' && T.find('-') != String::npos) Ok = false;
  return Ok;
}

void TspSkinNumEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_UP) {
    if (OnUpClick) OnUpClick(this);
    return;
  }
  if (Key == VK_DOWN) {
    if (OnDownClick) OnDownClick(this);
    return;
  }
  TspCustomEdit::KeyDown(Key, Shift);
}

void TspSkinNumEdit::KeyPress(char32_t& Key) {
  if (!IsValidChar(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  if (Key != 0) TspCustomEdit::KeyPress(Key);
}

void TspSkinNumEdit::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_MOUSEWHEEL) {
    if (static_cast<int32_t>(Message.WParam) > 0) {
      if (OnDownClick) OnDownClick(this);
    } else if (OnUpClick) {
      OnUpClick(this);
    }
    return;
  }
  TspCustomEdit::Dispatch(Message);
}

void TspSkinNumEdit::CMMouseEnter(TWMNoParams& Message) {
  TspCustomEdit::CMMouseEnter(Message);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TspSkinNumEdit::CMMouseLeave(TWMNoParams& Message) {
  TspCustomEdit::CMMouseLeave(Message);
  if (OnMouseLeave) OnMouseLeave(this);
}
