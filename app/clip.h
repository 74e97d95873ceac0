// The window of the "Trim" dialog: the part of a file that is converted.
// Its controls come with the commands that use them.
#pragma once

#include "platform/ui/Forms.h"

class TspFormSkin;

namespace vantrel::app {

class TClipForm : public TForm {
  VANTREL_CLASS(TClipForm)
  explicit TClipForm(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
};

}  // namespace vantrel::app
