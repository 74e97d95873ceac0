// Linking two shell views both ways (list, tree, look-in box): each follows the other's
// folder, and the view a link leaves behind forgets it.
#pragma once

#include "platform/rtl/Classes.h"

// Points AMine at AValue and AValue's back link (ABack) at ASelf; the view AMine pointed
// at before drops its back link when that was ASelf. The new view takes ARoot.
template <class TSelf, class TOther, class TRootText>
void LinkShellViews(TSelf* ASelf, TOther*& AMine, TOther* AValue, TSelf* TOther::*ABack, const TRootText& ARoot) {
  if (AValue == AMine) return;
  if (AMine) {
    AMine->RemoveFreeNotification(ASelf);
    if (AMine->*ABack == ASelf) AMine->*ABack = nullptr;
  }
  AMine = AValue;
  if (!AValue) return;
  AValue->FreeNotification(ASelf);
  AValue->SetRoot(ARoot);
  AValue->*ABack = ASelf;
}
