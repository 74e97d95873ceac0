// Closing the open drop-downs of the main form's combo boxes and edits before its menus
// close.
#include "skin/forms/FormSkin.h"

#include "platform/ui/ControlMessages.h"
#include "skin/controls/SkinBoxCtrls.h"

void TspFormSkin::CancelControlsDropDown() {
  if (!ComponentState().Empty() || !IsMDIMainForm() || !FForm->Visible()) return;
  for (Integer I = 0; I < FForm->ComponentCount(); ++I) {
    auto* C = dynamic_cast<TWinControl*>(FForm->Components(I));
    if (!C || (!dynamic_cast<TspSkinCustomComboBox*>(C) && !dynamic_cast<TspSkinCustomEdit*>(C))) continue;
    if (C->Visible() && C->Enabled()) C->Perform(CM_CANCELMODE, 0, 0);
  }
}
