// The application's help calls: handed to the help responder, if any, with the active
// form's help file (the application's when the form names none).
#include "platform/ui/Forms.h"

Boolean TApplication::HelpContext(Integer Context) { return HelpCommand(HELP_CONTEXT, Context); }

Boolean TApplication::HelpCommand(UINT Command, LONG_PTR Data) {
  if (!HelpResponder) return false;
  const TCustomForm* Form = Screen ? Screen->ActiveCustomForm() : nullptr;
  return HelpResponder(Command, Data, Form && !Form->HelpFile().empty() ? Form->HelpFile() : FHelpFile);
}
