// The editing menu of the edits and the memo: Undo, Cut, Copy, Paste, Delete and Select All
// with their separators, captioned from the skin's strings when it has them.
#include "skin/controls/SkinBoxCtrls.h"

namespace {

struct EditMenuEntry {
  const char* Key;  // nullptr: a separator
  const char* Text;
  Boolean (*Enabled)(const TspEditMenuState&);
  void (TCustomEdit::*Run)();
};

const EditMenuEntry EditMenuEntries[] = {
    {"EDIT_UNDO", "Undo", [](const TspEditMenuState& S) { return S.CanUndo; }, &TCustomEdit::Undo},
    {nullptr, nullptr, nullptr, nullptr},
    {"EDIT_CUT", "Cut", [](const TspEditMenuState& S) { return S.HasSelection && !S.ReadOnly; },
     &TCustomEdit::CutToClipboard},
    {"EDIT_COPY", "Copy", [](const TspEditMenuState& S) { return S.HasSelection; },
     &TCustomEdit::CopyToClipboard},
    {"EDIT_PASTE", "Paste", [](const TspEditMenuState& S) { return S.ClipboardHasText && !S.ReadOnly; },
     &TCustomEdit::PasteFromClipboard},
    {"EDIT_DELETE", "Delete", [](const TspEditMenuState& S) { return S.HasSelection && !S.ReadOnly; },
     &TCustomEdit::ClearSelection},
    {nullptr, nullptr, nullptr, nullptr},
    {"EDIT_SELECTALL", "Select All", [](const TspEditMenuState& S) { return !S.AllSelected; },
     &TCustomEdit::SelectAll},
};

}  // namespace

void FillEditSysMenu(TPopupMenu* Menu, TCustomEdit* Target, TspResourceStrData* Strings,
                     const TspEditMenuState& State) {
  for (const EditMenuEntry& E : EditMenuEntries) {
    auto* Item = new TMenuItem(Menu);
    if (!E.Key) {
      Item->SetCaption(cLineCaption);
    } else {
      Item->SetCaption(Strings ? Strings->GetResStr(E.Key) : String(E.Text));
      Item->SetEnabled(E.Enabled(State));
      const auto Run = E.Run;
      Item->OnClick = [Target, Run](TObject*) { (Target->*Run)(); };
    }
    Menu->Items()->Add(Item);
  }
}

TPopupMenu* CreateEditSysMenu(TCustomEdit* Target, TspResourceStrData* Strings,
                              const TspEditMenuState& State) {
  auto* Menu = new TPopupMenu(Target);
  FillEditSysMenu(Menu, Target, Strings, State);
  return Menu;
}
