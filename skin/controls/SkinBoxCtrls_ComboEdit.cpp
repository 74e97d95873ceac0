// The combo box's edit style: an inner edit in the item area whose keys step and page the
// list, whose typing moves the list along and completes a typed prefix, and whose text
// stays the combo box's text.
#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListBox.h"
#include "platform/win/Timers.h"
#include "platform/win/MessageQueue.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

constexpr Cardinal ComboCompleteMs = 200;
// Character sets whose input method sends composed text: every key-up completes.
constexpr Integer ComboShiftJisCharset = 128;
constexpr Integer ComboGb2312Charset = 134;
constexpr Integer ComboBig5Charset = 136;
// From the digit keys upwards a key-up may have typed a character.
constexpr WPARAM ComboFirstTypingKey = 47;

}  // namespace

void TspSkinCustomComboBox::SetStyle(TspSkinCustomComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (Value == spcbEditStyle) {
    CreateEditControl();
    if (TabStop()) {
      SetTabStop(false);
      FEdit->SetTabStop(true);
    } else {
      FEdit->SetTabStop(false);
    }
    FEdit->SetText(Text());
    if (Focused()) FEdit->SetFocus();
  } else {
    FreeEditControl();
  }
  CalcRects();
  if (HandleAllocated()) RecreateWnd();
  Repaint();
}

void TspSkinCustomComboBox::CreateEditControl() {
  if (FEdit) return;
  if (FNumEdit)
    FEdit = ::Create<TspSkinNumEdit>(this);
  else
    FEdit = ::Create<TspCustomEdit>(this);
  FEdit->SetParent(this);
  FEdit->SetColor(FDefaultColor);
  FEdit->SetAutoSize(false);
  FEdit->SetBorderStyle(bsNone);
  FEdit->SetHideSelection(FHideSelection);
  FEdit->SetVisible(true);
  FEdit->SetEditTransparent(false);
  FEditWindowProc = FEdit->WindowProc;
  FEdit->WindowProc = [this](TMessage& Message) { EditWindowProcHook(Message); };
  FEdit->OnEditCancelMode = [this](TControl* Sender) { EditCancelMode(Sender); };
  FEdit->OnChange = [this](TObject* Sender) { EditChange(Sender); };
  FEdit->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
  };
  FEdit->OnKeyPress = [this](TObject*, char32_t& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
  };
  FEdit->OnKeyUp = [this](TObject*, Word& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
  };
  FEdit->SetCharCase(FCharCase);
  TFont* F = FEdit->Font();
  if (FIndex == -1) {
    F->SetName(Font()->Name());
    F->SetStyle(Font()->Style());
    F->SetColor(Font()->Color());
    F->SetHeight(Font()->Height());
  } else {
    F->SetStyle(FontStyle);
    F->SetColor(FontColor);
    F->SetHeight(FontHeight);
    F->SetName(FontName);
  }
  FEdit->SetEditTransparent(FIndex != -1);
  CalcRects();
}

void TspSkinCustomComboBox::FreeEditControl() {
  if (!FEdit) return;
  TspCustomEdit* E = FEdit;
  E->WindowProc = FEditWindowProc;
  E->SetVisible(false);
  FEdit = nullptr;
  E->Free();
}

void TspSkinCustomComboBox::EditWindowProcHook(TMessage& Message) {
  const bool Open = IsPopupVisible();
  const bool ActiveLook = FIndex != -1 && !IsNullRect(ActiveSkinRect);
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (ActiveLook) {
        SetEditFontColor(ActiveFontColor);
        FEdit->Invalidate();
      }
      break;
    case WM_KILLFOCUS:
      if (Open) CloseUp(false);
      if (ActiveLook) {
        SetEditFontColor(FontColor);
        FEdit->Invalidate();
      }
      break;
    case CM_WANTSPECIALKEY:
      // Esc closes an open list (below); the form and its Cancel button get it only while
      // the list is closed.
      if (Open && static_cast<Word>(Message.WParam) == VK_ESCAPE) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_CHAR:
      if (FEscClosedList && Message.WParam == static_cast<WPARAM>(VK_ESCAPE)) {
        FEscClosedList = false;
        return;
      }
      break;
    case WM_KEYDOWN:
      FEscClosedList = false;
      switch (static_cast<Word>(Message.WParam)) {
        case VK_RETURN:
          if (Open) CloseUp(true);
          break;
        case VK_ESCAPE:
          if (Open) {
            CloseUp(false);
            FEscClosedList = true;
          }
          break;
        case VK_PRIOR:
          if (Open) FListBox->ListBox->SetItemIndex(std::max(0, ItemIndex() - FDropDownCount - 1));
          break;
        case VK_NEXT:
          if (Open)
            FListBox->ListBox->SetItemIndex(std::min(Items()->Count() - 1, ItemIndex() + FDropDownCount - 1));
          break;
        case VK_UP:
          EditStepUp(true);
          return;
        case VK_DOWN:
          EditStepDown(true);
          return;
        default:
          break;
      }
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      const Integer Charset = TextCharset();
      if (Charset == ComboShiftJisCharset || Charset == ComboGb2312Charset || Charset == ComboBig5Charset) {
        if (Message.WParam != static_cast<WPARAM>(VK_DELETE) && Message.WParam != static_cast<WPARAM>(VK_BACK)) {
          FEdit->SetSelLength(0);
          FEditWindowProc(Message);
          if (FAutoComplete) AutoCompleteEdit();
          return;
        }
      } else if (Message.Msg == WM_KEYUP && Message.WParam > ComboFirstTypingKey) {
        FEditWindowProc(Message);
        if (FAutoComplete) AutoCompleteEdit();
        return;
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (Open) CloseUp(false);
      break;
    case WM_MOUSEWHEEL:
      if (static_cast<int16_t>(HIWORD(Message.WParam)) > 0)
        EditStepUp(!Open);
      else
        EditStepDown(!Open);
      break;
    default:
      break;
  }
  if (FEdit && FEditWindowProc) FEditWindowProc(Message);
}

void TspSkinCustomComboBox::EditStepUp(Boolean AChange) {
  TspListBox* L = FListBox->ListBox;
  if (L->ItemIndex() <= 0) return;
  L->SetItemIndex(L->ItemIndex() - 1);
  if (!AChange) return;
  SetText(Items()->Get(L->ItemIndex()));
  FEdit->SelectAll();
  if (OnClick) OnClick(this);
}

void TspSkinCustomComboBox::EditStepDown(Boolean AChange) {
  TspListBox* L = FListBox->ListBox;
  if (L->ItemIndex() >= Items()->Count() - 1) return;
  L->SetItemIndex(L->ItemIndex() + 1);
  if (!AChange) return;
  SetText(Items()->Get(L->ItemIndex()));
  FEdit->SelectAll();
  if (OnClick) OnClick(this);
}

void TspSkinCustomComboBox::AutoCompleteEdit() {
  const Cardinal Now = GetTickCount();
  if (Now - FLastTime <= ComboCompleteMs) return;
  FLastTime = Now;
  const String T = Text();
  const WPARAM From = Utf8Length(T) == 1 ? static_cast<WPARAM>(ItemIndex()) : static_cast<WPARAM>(-1);
  const LRESULT Found =
      SendMessage(ListWindow(), LB_FINDSTRING, From, reinterpret_cast<LPARAM>(T.c_str()));
  if (Found < 0) return;
  SetItemIndex(static_cast<Integer>(Found));
  // The completed tail stays selected, so typing goes on over it.
  SetSelStart(Utf8Length(T));
  SetSelLength(Utf8Length(Text()) - Utf8Length(T));
}

void TspSkinCustomComboBox::EditChange(TObject*) {
  FromEdit = true;
  const String T = FEdit->Text();
  const HWND List = ListWindow();
  const LRESULT Found =
      T.empty() ? LB_ERR : SendMessage(List, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(T.c_str()));
  if (Found >= 0) {
    if (FAutoComplete)
      SendMessage(List, LB_SETCURSEL, static_cast<WPARAM>(Found), 0);
    else
      SendMessage(List, LB_SETTOPINDEX, static_cast<WPARAM>(Found), 0);
  }
  SetText(T);
  FromEdit = false;
}
