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

TspSkinPopupMenu* CreateEditSysMenu(TCustomEdit* Target, TspResourceStrData* Strings,
                                    const TspEditMenuState& State) {
  auto* Menu = new TspSkinPopupMenu(Target);
  auto* Form = dynamic_cast<TForm*>(GetParentForm(Target));
  if (Form && Form->FormStyle() == fsMDIChild) Form = Application->MainForm();
  Menu->SetComponentForm(Form);
  FillEditSysMenu(Menu, Target, Strings, State);
  return Menu;
}

void PopupEditSysMenu(TspSkinPopupMenu* Menu, TControl* Target, LPARAM LParam) {
  Integer X = static_cast<int16_t>(LOWORD(LParam));
  Integer Y = static_cast<int16_t>(HIWORD(LParam));
  if (X < 0 || Y < 0) {
    const TPoint P = Target->ClientToScreen(Point(0, 0));
    X = P.X + Target->Width() / 2;
    Y = P.Y + Target->Height() / 2;
  }
  Menu->SetPopupComponent(Target);
  Menu->Popup2(Target, X, Y);
}
