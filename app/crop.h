// The window of the "Edit" dialog: crop, aspect ratio and picture corrections with two previews.
// Its controls come with the commands that use them.
#pragma once

#include "platform/ui/Forms.h"

class TspFormSkin;

namespace vantrel::app {

class TCropForm : public TForm {
  VANTREL_CLASS(TCropForm)
  explicit TCropForm(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
};

}  // namespace vantrel::app
