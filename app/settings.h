// The window of the "Profile Settings" dialog: the output settings of one catalogue format.
// Its controls come with the commands that use them.
#pragma once

#include "platform/ui/Forms.h"

class TspFormSkin;

namespace vantrel::app {

class Tsettingsform : public TForm {
  VANTREL_CLASS(Tsettingsform)
  explicit Tsettingsform(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
};

}  // namespace vantrel::app
