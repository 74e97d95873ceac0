// The speed buttons of the editing dialogs' players (play, pause, stop and the dialog's
// own), made in a row from one table per dialog.
#pragma once

#include "skin/controls/SkinCtrls.h"

namespace vantrel::app {

template <class TDialog>
struct TEditorButtonDef {
  TspSkinSpeedButton* TDialog::*Field;
  const char* Name;
  Integer Left;
  Integer ImageIndex;
  Integer GroupIndex;
  const char* Hint;
  void (TDialog::*Click)(TObject*);
};

// Makes each button of Defs on Dialog at (Left, Top), 25 x 25, with its picture, group,
// hint and click handler, and stores it in its field.
template <class TDialog, size_t N>
void MakeEditorButtons(TDialog* Dialog, const TEditorButtonDef<TDialog> (&Defs)[N], Integer Top) {
  for (const TEditorButtonDef<TDialog>& Def : Defs) {
    auto* B = ::Create<TspSkinSpeedButton>(Dialog);
    B->SetName(Def.Name);
    B->SetParent(Dialog);
    B->SetBounds(Def.Left, Top, 25, 25);
    B->SetImageIndex(Def.ImageIndex);
    B->SetGroupIndex(Def.GroupIndex);
    B->SetHint(Def.Hint);
    B->SetShowHint(true);
    B->OnClick = [Dialog, Click = Def.Click](TObject* S) { (Dialog->*Click)(S); };
    Dialog->*Def.Field = B;
  }
}

}  // namespace vantrel::app
