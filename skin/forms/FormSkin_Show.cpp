// Showing the form, the alpha fade-in, keeping the frame in step with moving and sizing,
// and the MDI client window's procedure.
#include "skin/forms/FormSkin.h"

void TspFormSkin::MDIClientWindowProc(TMessage& Message) {
  const HWND Client = FForm->ClientHandle();
  Message.Result = CallWindowProc(FPrevClientProc, Client, Message.Msg, Message.WParam, Message.LParam);
}
void TspFormSkin::HookMDIClient() {}
