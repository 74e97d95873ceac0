// The application's help calls: handed to the help responder, if any.
#include "platform/ui/Forms.h"

Boolean TApplication::HelpContext(Integer Context) { return HelpCommand(HELP_CONTEXT, Context); }

Boolean TApplication::HelpCommand(UINT Command, LONG_PTR Data) {
  if (!HelpResponder) return false;
  return HelpResponder(Command, Data, FHelpFile);
}
