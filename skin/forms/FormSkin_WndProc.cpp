// The form's window procedure while the frame component exists.
#include "skin/forms/FormSkin.h"

void TspFormSkin::FormWindowProc(TMessage& Message) {
  if (OldWindowProc) OldWindowProc(Message);
}
void TspFormSkin::CloseMenusOnMessage(TMessage&) {}
void TspFormSkin::UpdateActiveState(Boolean) {}
