// The window of the profile and format chooser: a borderless pop-up above the main window's
// profile field (its height is set before each showing).
// Its controls come with the commands that use them.
#pragma once

#include "platform/ui/Forms.h"

class TspFormSkin;

namespace vantrel::app {

class Tproform : public TForm {
  VANTREL_CLASS(Tproform)
  explicit Tproform(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
};

}  // namespace vantrel::app
